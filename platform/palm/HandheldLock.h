// HandheldLock: the exclusive hold a HotSync host keeps on a handheld directory for as long as it
// is connected, so that two hosts never synchronise one handheld at once (both would read the
// expenses before either empties them). It is an flock on the directory's own descriptor: taken
// without waiting, released on Release or destruction, and dropped by the kernel when the holding
// process ends, so a host that crashed leaves no stale lock behind. Internal to the library.
#pragma once

#include <string>

namespace palm {

class HandheldLock {
public:
    enum class Result {
        Held,      // the directory is ours until Release
        Busy,      // another connection holds it
        Failed     // the directory could not be opened or locked
    };

    HandheldLock() = default;
    ~HandheldLock() { Release(); }
    HandheldLock(const HandheldLock&) = delete;
    HandheldLock& operator=(const HandheldLock&) = delete;

    // Locks directory, releasing whatever this object held before.
    Result Acquire(const std::string& directory);
    void Release() noexcept;

private:
    int m_fd = -1;  // open descriptor of the locked directory; -1 when nothing is held
};

}  // namespace palm
