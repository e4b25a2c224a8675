// Accepting and answering desktop channel requests.
#include "platform/ipc/DesktopServer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>
#include <unistd.h>

#include "platform/ipc/PeerCheck.h"

namespace ipc {

DesktopServer::DesktopServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &DesktopServer::Accept);
}

DesktopServer::~DesktopServer() { Close(); }

bool DesktopServer::Listen()
{
    const std::string socketPath = DesktopChannel::SocketPath();
    if (socketPath.empty())
        return false;  // no private folder: never listen where others could too
    const QString path = QString::fromStdString(socketPath);
    QLocalServer::removeServer(path);  // only the lock holder listens, so any old socket is stale
    return m_server->listen(path);
}

void DesktopServer::Close()
{
    if (m_server->isListening())
        m_server->close();
}

void DesktopServer::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!PeerIsUser(static_cast<int>(socket->socketDescriptor()), ::geteuid())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        if (socket->bytesAvailable() > 0)
            Read(socket);
    }
}

void DesktopServer::Read(QLocalSocket* socket)
{
    while (socket->bytesAvailable() >= DesktopChannel::kRequestBytes) {
        char request[DesktopChannel::kRequestBytes];
        socket->peek(request, DesktopChannel::kRequestBytes);
        const auto kind = static_cast<RequestKind>(qFromLittleEndian<std::int32_t>(request));
        const std::int32_t argument = qFromLittleEndian<std::int32_t>(request + 4);
        const std::int32_t payloadBytes = kind == RequestKind::OpenDatabase ? argument : 0;
        if (payloadBytes < 0 || payloadBytes > DesktopChannel::kMaxPathBytes) {
            socket->abort();  // not a request this program sends
            return;
        }
        if (socket->bytesAvailable() < DesktopChannel::kRequestBytes + payloadBytes)
            return;  // the rest of the path is still on its way
        socket->read(request, DesktopChannel::kRequestBytes);
        const std::string payload = socket->read(payloadBytes).toStdString();
        m_requestingProcess = PeerProcess(static_cast<int>(socket->socketDescriptor()));
        const std::int32_t answer = m_handler ? m_handler(kind, argument, payload) : 0;
        m_requestingProcess = 0;
        char reply[DesktopChannel::kReplyBytes];
        qToLittleEndian<std::int32_t>(answer, reply);
        socket->write(reply, DesktopChannel::kReplyBytes);
        socket->flush();
    }
}

}  // namespace ipc
