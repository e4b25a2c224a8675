// Client side of the desktop channel, usable without an event loop (blocking socket calls).
#include "platform/ipc/DesktopChannel.h"

#include <QLocalSocket>
#include <QtEndian>
#include <unistd.h>

#include "platform/ipc/PeerCheck.h"
#include "platform/ipc/RuntimeFolder.h"

namespace ipc {

std::string DesktopChannel::SocketPath()
{
    std::string folder, error;
    if (!RuntimeFolder::Locate(folder, error, false))
        return {};
    return folder + '/' + kName;
}

DesktopChannel::Delivery DesktopChannel::Deliver(RequestKind kind, std::int32_t argument, std::int32_t* reply,
                                                 int timeoutMs, const std::string& payload)
{
    if (payload.size() > static_cast<std::size_t>(kMaxPathBytes))
        return Delivery::NoDesktop;
    const std::string path = SocketPath();
    if (path.empty())
        return Delivery::NoDesktop;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (!socket.waitForConnected(2000))
        return Delivery::NoDesktop;
    if (!PeerIsUser(static_cast<int>(socket.socketDescriptor()), ::geteuid())) {
        socket.abort();  // another user's program: it gets nothing and is not waited for
        return Delivery::NoDesktop;
    }
    char request[kRequestBytes];
    qToLittleEndian<std::int32_t>(static_cast<std::int32_t>(kind), request);
    qToLittleEndian<std::int32_t>(argument, request + 4);
    if (socket.write(request, kRequestBytes) != kRequestBytes ||
        socket.write(payload.data(), static_cast<qint64>(payload.size())) != static_cast<qint64>(payload.size()) ||
        !socket.waitForBytesWritten(timeoutMs))
        return Delivery::NotAnswered;
    while (socket.bytesAvailable() < kReplyBytes) {
        if (!socket.waitForReadyRead(timeoutMs))
            return Delivery::NotAnswered;
    }
    char answer[kReplyBytes];
    socket.read(answer, kReplyBytes);
    if (reply)
        *reply = qFromLittleEndian<std::int32_t>(answer);
    socket.disconnectFromServer();
    return Delivery::Answered;
}

}  // namespace ipc
