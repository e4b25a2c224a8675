// The write-flush-rename sequence behind every file this system replaces.
#include "platform/fs/SafeReplace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace files {

bool SafeReplace::replace(const std::string& target, const Writer& write, std::string& error, Mode mode)
{
    TemporaryFile file;
    if (!file.create(target, error))
        return false;
    if (mode == Mode::KeepReplaced && !file.copyModeOf(target, error))
        return false;
    write(file);  // a throw leaves through the file's destructor, which removes it
    if (!file.moveOver(target, error))
        return false;
    return syncFolder(folderOf(target), error);
}

bool SafeReplace::syncFolder(const std::string& folder, std::string& error)
{
    // The rename is only durable once the folder's entry is on disk.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open the folder '" + folder + "' to flush it: " + std::strerror(errno);
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (synced && closed)
        return true;
    error = "the new file is in place, but the folder '" + folder + "' could not be flushed to disk: " +
            std::strerror(synced ? errno : syncErrno);
    return false;
}

}  // namespace files
