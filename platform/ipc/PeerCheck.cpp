// The peer's credentials of a local socket.
#include "platform/ipc/PeerCheck.h"

#include <cerrno>
#include <csignal>
#include <optional>
#include <sys/socket.h>

namespace ipc {

namespace {

std::optional<ucred> PeerCredentials(int socketDescriptor)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (socketDescriptor < 0 || getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return std::nullopt;
    return credentials;
}

}  // namespace

bool PeerIsUser(int socketDescriptor, uid_t user)
{
    const std::optional<ucred> credentials = PeerCredentials(socketDescriptor);
    return credentials && credentials->uid == user;
}

pid_t PeerProcess(int socketDescriptor)
{
    const std::optional<ucred> credentials = PeerCredentials(socketDescriptor);
    return credentials ? credentials->pid : 0;
}

bool ProcessRuns(pid_t process)
{
    // EPERM: it runs, as someone this program may not signal.
    return process > 0 && (::kill(process, 0) == 0 || errno == EPERM);
}

}  // namespace ipc
