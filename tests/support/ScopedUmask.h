// Sets the process's umask for the life of the object, for tests of the modes new files get.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : m_previous(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_previous); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_previous;  // the umask before
};

// The permission bits of the file at path (0 when it cannot be examined).
inline mode_t fileMode(const char* path)
{
    struct stat info {};
    return ::stat(path, &info) == 0 ? info.st_mode & 07777 : 0;
}
