// The peer's credentials of a local socket.
#include "platform/ipc/PeerCheck.h"

#include <sys/socket.h>

namespace ipc {

bool PeerIsUser(int socketDescriptor, uid_t user)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (socketDescriptor < 0 || getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return false;
    return credentials.uid == user;
}

}  // namespace ipc
