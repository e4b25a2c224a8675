// A new, empty file beside a target that is to be replaced: created under a fresh random name in
// the target's folder with the mode any new file gets there (0666 less the umask), and removed
// again (with any "-journal" the database engine left beside it) unless it has been renamed over
// the target. While it is being written it holds an advisory lock (flock), so a file of that
// form without one is a leftover of a writer that was killed, and RemoveLeftovers may take it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <sys/types.h>

namespace files {

class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates ".<target's name>.XXXXXX" in the target's folder as a new file. False with the
    // reason in error when it cannot be made.
    [[nodiscard]] bool create(const std::string& target, std::string& error);

    // Gives the file the permission bits of the regular file at path, when there is one. False
    // with the reason in error when path cannot be examined or the mode not set.
    [[nodiscard]] bool copyModeOf(const std::string& path, std::string& error) const;

    // For a file name of the form ".<target's name>.XXXXXX" that a writer killed before its rename
    // left behind, the target's name; else an empty text.
    static std::string TargetOfLeftover(const std::string& fileName);
    // Removes from folder the temporary files (and their "-journal") of the targets ours accepts
    // that no writer holds any more; one still being written stays. Answers how many went.
    static int RemoveLeftovers(const std::string& folder,
                               const std::function<bool(const std::string& target)>& ours);

    const std::string& path() const { return m_path; }
    int descriptor() const { return m_fd; }

    // Appends bytes at the file's current offset; throws std::system_error when they cannot all
    // be written.
    void write(std::span<const std::uint8_t> bytes) const;

    // Flushes the file to disk, closes it and renames it over target. False with the reason in
    // error when any step fails; the file is then removed when this object goes.
    [[nodiscard]] bool moveOver(const std::string& target, std::string& error);

private:
    void discard() noexcept;

    std::string m_path;     // the file's name; empty before create()
    int m_fd = -1;          // open descriptor of the file, -1 once closed
    bool m_moved = false;   // renamed over the target: nothing left to remove
};

// The folder that holds path ("." for a bare name).
std::string folderOf(const std::string& path);

}  // namespace files
