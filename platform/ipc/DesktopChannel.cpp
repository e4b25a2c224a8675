// Client side of the desktop channel, usable without an event loop (blocking socket calls).
#include "platform/ipc/DesktopChannel.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

namespace ipc {

std::string DesktopChannel::SocketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return (folder + '/' + kName).toStdString();
}

std::string DesktopChannel::LockPath() { return SocketPath() + ".lock"; }

bool DesktopChannel::Send(RequestKind kind, std::int32_t argument, std::int32_t* reply, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(SocketPath()));
    if (!socket.waitForConnected(2000))
        return false;
    char request[kRequestBytes];
    qToLittleEndian<std::int32_t>(static_cast<std::int32_t>(kind), request);
    qToLittleEndian<std::int32_t>(argument, request + 4);
    if (socket.write(request, kRequestBytes) != kRequestBytes || !socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() < kReplyBytes) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char answer[kReplyBytes];
    socket.read(answer, kReplyBytes);
    if (reply)
        *reply = qFromLittleEndian<std::int32_t>(answer);
    socket.disconnectFromServer();
    return true;
}

}  // namespace ipc
