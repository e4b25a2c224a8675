// Finding, creating and vetting the private runtime folder.
#include "platform/ipc/RuntimeFolder.h"

#include <QDir>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace ipc {

bool RuntimeFolder::MakeOrFind(const std::string& folder, bool create, std::string& error)
{
    // Whatever is there already is vetted by the caller like any other folder.
    if (!create) {
        if (::access(folder.c_str(), F_OK) == 0 || errno != ENOENT)
            return true;
        error = "The runtime folder '" + folder + "' does not exist.";
        return false;
    }
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST)
        return true;
    error = "The runtime folder '" + folder + "' cannot be created: " + std::strerror(errno) + ".";
    return false;
}

bool RuntimeFolder::IsPrivate(const std::string& folder, bool followLink, std::string& error)
{
    struct stat info {};
    const int rc = followLink ? ::stat(folder.c_str(), &info) : ::lstat(folder.c_str(), &info);
    if (rc != 0) {
        error = "The runtime folder '" + folder + "' cannot be examined: " + std::strerror(errno) + ".";
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = "The runtime folder '" + folder + "' is not a folder.";
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        error = "The runtime folder '" + folder + "' belongs to another user (uid " + std::to_string(info.st_uid) + ").";
        return false;
    }
    if ((info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        error = "The runtime folder '" + folder + "' is open to other users (mode " + mode + ").";
        return false;
    }
    return true;
}

bool RuntimeFolder::Locate(std::string& folder, std::string& error, bool create)
{
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && *xdg) {
        folder = xdg;
        return MakeOrFind(folder, create, error) && IsPrivate(folder, true, error);
    }
    // In the shared temporary folder anyone may have made the name first, a link included.
    folder = QDir::tempPath().toStdString() + "/quillmar-" + std::to_string(::geteuid());
    return MakeOrFind(folder, create, error) && IsPrivate(folder, false, error);
}

}  // namespace ipc
