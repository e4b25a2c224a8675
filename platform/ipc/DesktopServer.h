// Server side of the desktop channel: listens on the channel's socket, accepts only clients of
// the same user, and hands each complete request to a handler on the event-loop thread, then
// sends the handler's answer back.
#pragma once

#include <QObject>
#include <sys/types.h>
#include <functional>
#include <string>

#include "platform/ipc/DesktopChannel.h"

class QLocalServer;
class QLocalSocket;

namespace ipc {

class DesktopServer : public QObject {
    Q_OBJECT
public:
    // payload: the path of an open request; empty for the others.
    using Handler = std::function<std::int32_t(RequestKind kind, std::int32_t argument, const std::string& payload)>;

    explicit DesktopServer(QObject* parent = nullptr);
    ~DesktopServer() override;

    // Replaces any stale socket and starts listening; false when that fails or there is no
    // private runtime folder.
    bool Listen();
    void Close();
    void SetHandler(Handler handler) { m_handler = std::move(handler); }
    // While the handler runs: the process whose request it answers (0 when unknown).
    pid_t RequestingProcess() const { return m_requestingProcess; }

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QLocalServer* m_server;   // the listening socket (child object)
    Handler m_handler;        // answers requests; unset answers 0
    pid_t m_requestingProcess = 0;  // the client of the request being answered
};

}  // namespace ipc
