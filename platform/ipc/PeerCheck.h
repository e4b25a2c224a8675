// Who is at the other end of a connected local socket, as the kernel recorded it (SO_PEERCRED):
// the desktop program serves only its own user, and its clients talk only to a program of their
// own user.
#pragma once

#include <sys/types.h>

namespace ipc {

// True when the peer of the connected local socket runs as user; false when it runs as another
// user or the kernel cannot say.
bool PeerIsUser(int socketDescriptor, uid_t user);

// The process at the other end of the connected local socket; 0 when the kernel cannot say.
pid_t PeerProcess(int socketDescriptor);

// Whether a process of that number still runs (0 never does).
bool ProcessRuns(pid_t process);

}  // namespace ipc
