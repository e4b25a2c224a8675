// Vetting a handheld folder before a HotSync uses it.
#include "tools/hotsync/HandheldFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string UserName(uid_t user)
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(user, &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        return std::string(found->pw_name) + " (uid " + std::to_string(user) + ")";
    return "uid " + std::to_string(user);
}

}  // namespace

std::string HandheldFolder::Refusal(const std::string& shown, uid_t owner, mode_t mode, uid_t user)
{
    if (owner != user)
        return "The handheld folder " + shown + " belongs to " + UserName(owner) +
               ", not to you; a HotSync uses only a folder of your own.";
    if ((mode & (S_IWGRP | S_IWOTH)) != 0) {
        char bits[8];
        std::snprintf(bits, sizeof bits, "%04o", static_cast<unsigned>(mode & 07777));
        return "The handheld folder " + shown + " can be written by other users (mode " + bits +
               "); make it yours alone (chmod go-w) and HotSync again.";
    }
    return {};
}

bool HandheldFolder::Vet(const std::string& folder, std::string& resolved, std::string& error)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr), &std::free);
    if (!real) {
        error = "The handheld folder " + folder + " cannot be examined: " + std::strerror(errno) + ".";
        return false;
    }
    resolved = real.get();
    struct stat info {};
    if (::stat(resolved.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "The handheld folder " + folder + " is not a folder.";
        return false;
    }
    const std::string shown = resolved == folder ? folder : folder + " (" + resolved + ")";
    error = Refusal(shown, info.st_uid, info.st_mode, ::geteuid());
    return error.empty();
}

