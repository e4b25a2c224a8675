// Temporary files beside a target: creation, writing, and the rename that publishes them.
#include "platform/fs/TemporaryFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "platform/fs/FolderListing.h"

namespace files {
namespace {

bool fail(std::string& error, const std::string& what, int code)
{
    error = what + ": " + std::strerror(code);
    return false;
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string TemporaryFile::TargetOfLeftover(const std::string& fileName)
{
    constexpr std::size_t kRandomPart = 6;  // mkostemp's XXXXXX
    if (fileName.size() < 1 + 1 + 1 + kRandomPart || fileName.front() != '.')
        return {};
    const std::size_t dot = fileName.size() - kRandomPart - 1;
    if (fileName[dot] != '.')
        return {};
    const bool random = std::all_of(fileName.begin() + static_cast<long>(dot) + 1, fileName.end(),
                                    [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    return random ? fileName.substr(1, dot - 1) : std::string();
}

int TemporaryFile::RemoveLeftovers(const std::string& folder,
                                   const std::function<bool(const std::string& target)>& ours)
{
    std::vector<std::string> names;
    std::string unread;
    if (!ListRegularFiles(folder, names, unread))
        return 0;  // left for the next time: a leftover is clutter, never harm
    constexpr std::string_view kJournal = "-journal";
    int removed = 0;
    for (const std::string& name : names) {
        const bool journal = name.ends_with(kJournal);
        const std::string file = journal ? name.substr(0, name.size() - kJournal.size()) : name;
        const std::string target = TargetOfLeftover(file);
        if (target.empty() || !ours(target))
            continue;
        const std::string path = folder + "/" + file;
        if (journal) {
            // A journal whose file is gone; one beside its file goes with the file.
            if (::access(path.c_str(), F_OK) != 0 && errno == ENOENT && ::unlink((path + kJournal.data()).c_str()) == 0)
                ++removed;
            continue;
        }
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0) {  // its writer is gone
            ::unlink((path + kJournal.data()).c_str());
            ++removed;
        }
        ::close(fd);
    }
    return removed;
}

TemporaryFile::~TemporaryFile() { discard(); }

void TemporaryFile::discard() noexcept
{
    if (m_fd >= 0)
        ::close(m_fd);  // the file is thrown away; a failing close loses nothing
    m_fd = -1;
    if (m_path.empty() || m_moved)
        return;
    ::unlink(m_path.c_str());
    ::unlink((m_path + "-journal").c_str());
}

bool TemporaryFile::create(const std::string& target, std::string& error)
{
    discard();
    const std::string folder = folderOf(target);
    // Not mkostemp: it makes every file 0600, and the kernel applies the umask (and a folder's
    // default ACL) only to the mode that open() is given.
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    constexpr int kAttempts = 100;
    int code = EEXIST;
    for (int attempt = 0; attempt < kAttempts && code == EEXIST; ++attempt) {
        std::string name = folder + "/." + nameOf(target) + ".";
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);  // new, so no one else holds it: marks it as being written
            m_path = name;
            m_fd = fd;
            m_moved = false;
            return true;
        }
        code = errno;
    }
    return fail(error, "cannot create a temporary file in '" + folder + "'", code);
}

bool TemporaryFile::copyModeOf(const std::string& path, std::string& error) const
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? true : fail(error, "cannot examine '" + path + "'", errno);
    if (!S_ISREG(info.st_mode))
        return true;  // nothing to keep; the rename refuses to replace it anyway
    if (::fchmod(m_fd, info.st_mode & 07777) != 0)
        return fail(error, "cannot set the mode of '" + m_path + "'", errno);
    return true;
}

void TemporaryFile::write(std::span<const std::uint8_t> bytes) const
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw std::system_error(errno, std::generic_category(), "cannot write '" + m_path + "'");
        if (written == 0)
            throw std::system_error(ENOSPC, std::generic_category(), "cannot write '" + m_path + "'");
        done += static_cast<std::size_t>(written);
    }
}

bool TemporaryFile::moveOver(const std::string& target, std::string& error)
{
    if (::fsync(m_fd) != 0)
        return fail(error, "cannot flush '" + m_path + "' to disk", errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(error, "cannot close '" + m_path + "'", errno);
    if (::rename(m_path.c_str(), target.c_str()) != 0)
        return fail(error, "cannot replace '" + target + "'", errno);
    m_moved = true;
    return true;
}

}  // namespace files
