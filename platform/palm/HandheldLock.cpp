// Locking a handheld directory with flock.
#include "platform/palm/HandheldLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace palm {

HandheldLock::Result HandheldLock::Acquire(const std::string& directory)
{
    Release();
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Result::Failed;
    int locked;
    do
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::Busy : Result::Failed;
    }
    m_fd = fd;
    return Result::Held;
}

void HandheldLock::Release() noexcept
{
    if (m_fd < 0)
        return;
    ::close(m_fd);  // closing the only descriptor of the open file drops its flock
    m_fd = -1;
}

}  // namespace palm
