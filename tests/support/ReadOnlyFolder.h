// A folder made read-only for the current thread's file calls while this object lives, so that
// writing a file into it fails as it does for an ordinary user, also when the tests run as the
// superuser: the folder loses its write permission and the thread's file-system user becomes
// "nobody", which drops the capabilities that override permissions.
#pragma once

#include <string>
#include <sys/fsuid.h>
#include <sys/stat.h>

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : m_folder(std::move(folder))
    {
        struct stat info {};
        ::stat(m_folder.c_str(), &info);
        m_mode = info.st_mode & 07777;
        ::chmod(m_folder.c_str(), 0555);
        m_previousUser = ::setfsuid(kNobody);
    }
    ~ReadOnlyFolder()
    {
        ::setfsuid(m_previousUser);
        ::chmod(m_folder.c_str(), m_mode);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    static constexpr uid_t kNobody = 65534;

    std::string m_folder;       // the folder made read-only
    mode_t m_mode = 0;          // its mode before
    int m_previousUser = 0;     // the thread's file-system user before
};
