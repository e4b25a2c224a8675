// The desktop channel: a request reaches the handler and the client waits for its answer; no
// running program means nothing is sent; a second guard finds the first; another user's process
// cannot get a request through.
#include <QtTest>

#include <atomic>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/ipc/DesktopChannel.h"
#include "platform/ipc/DesktopServer.h"
#include "platform/ipc/InstanceGuard.h"
#include "tests/support/QtTestSupport.h"

using namespace ipc;


class DesktopChannelTest : public QObject {
    Q_OBJECT
private slots:
    void requestWaitsForTheHandlersAnswer()
    {
        IsolatedProfile profile;
        DesktopServer server;
        QVERIFY(server.Listen());
        std::vector<std::pair<RequestKind, int>> received;
        bool handled = false;
        server.SetHandler([&](RequestKind kind, std::int32_t argument) {
            received.emplace_back(kind, argument);
            handled = true;
            return argument == 20 ? 0 : 7;
        });
        const auto reply = whileServing([&] {
            std::int32_t answer = -1;
            const bool sent = DesktopChannel::Send(RequestKind::DatabaseRequest, 10, &answer);
            // The answer can only exist once the handler has run.
            return std::make_pair(sent && handled, answer);
        });
        QVERIFY(reply.first);
        QCOMPARE(reply.second, 7);
        QVERIFY(whileServing([] { return DesktopChannel::NotifyDesktop(kReopenDatabase); }));
        QCOMPARE(received.size(), std::size_t(2));
        QCOMPARE(received[0].first, RequestKind::DatabaseRequest);
        QCOMPARE(received[0].second, 10);
        QCOMPARE(received[1].second, 20);
    }

    void nothingIsSentWithoutARunningProgram()
    {
        IsolatedProfile profile;
        QVERIFY(!DesktopChannel::NotifyDesktop(kCloseDatabase));
        QVERIFY(QString::fromStdString(DesktopChannel::SocketPath()).startsWith(QString::fromStdString(profile.dir().path())));
        QVERIFY(QString::fromStdString(DesktopChannel::SocketPath()).endsWith("/Qlmr_Quillmar_WNDCLASS"));
    }

    void secondGuardActivatesTheFirst()
    {
        IsolatedProfile profile;
        InstanceGuard first;
        QCOMPARE(first.Acquire(), InstanceGuard::Outcome::Acquired);
        int activations = 0;
        first.Server().SetHandler([&](RequestKind kind, std::int32_t) {
            activations += kind == RequestKind::Activate;
            return 0;
        });
        const auto outcome = whileServing([] {
            InstanceGuard second;
            return second.Acquire();
        });
        QCOMPARE(outcome, InstanceGuard::Outcome::AnotherCopyRuns);
        QCOMPARE(activations, 1);

        first.Release();
        InstanceGuard third;
        QCOMPARE(third.Acquire(), InstanceGuard::Outcome::Acquired);
    }

    void anotherUserCannotReachTheProgram()
    {
        if (getuid() != 0)
            QSKIP("needs root to run a client as another user");
        IsolatedProfile profile;
        DesktopServer server;
        QVERIFY(server.Listen());
        bool handled = false;
        server.SetHandler([&](RequestKind, std::int32_t) {
            handled = true;
            return 0;
        });
        // Open the folder and the socket to everyone, so only the server's own check is left.
        const std::string path = DesktopChannel::SocketPath();
        ::chmod(profile.dir().path().c_str(), 0755);
        ::chmod(profile.dir().file("runtime").c_str(), 0755);
        ::chmod(path.c_str(), 0777);

        const pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(3);
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                _exit(0);  // refused outright
            const char request[8] = {2, 0, 0, 0, 10, 0, 0, 0};
            if (write(fd, request, sizeof request) != sizeof request)
                _exit(0);
            pollfd wait{fd, POLLIN, 0};
            char reply[4];
            const bool answered = poll(&wait, 1, 3000) > 0 && read(fd, reply, sizeof reply) == sizeof reply;
            _exit(answered ? 1 : 0);
        }
        int status = -1;
        QElapsedTimer timer;
        timer.start();
        while (waitpid(child, &status, WNOHANG) == 0 && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(!handled);
    }
};

QTEST_GUILESS_MAIN(DesktopChannelTest)
#include "DesktopChannelTest.moc"
