// The desktop channel: a request reaches the handler and the client waits for its answer; no
// running program means nothing is sent; a second guard finds the first; another user's process
// cannot get a request through, nor receive one; and the lock and the socket live only in a
// runtime folder that no other user can use.
#include <QtTest>

#include <atomic>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/ipc/DesktopChannel.h"
#include "platform/ipc/DesktopServer.h"
#include "platform/ipc/InstanceGuard.h"
#include "platform/ipc/PeerCheck.h"
#include "tests/support/QtTestSupport.h"

using namespace ipc;

namespace {

constexpr uid_t kNobody = 65534;  // another user, for the tests run as root

// Sets (or, with nullptr, unsets) an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;  // the variable
    bool m_had;          // it was set before
    QByteArray m_old;    // its value before
};

void makeFolder(const std::string& path, mode_t mode, uid_t owner)
{
    QVERIFY(::mkdir(path.c_str(), 0700) == 0);
    QVERIFY(::chmod(path.c_str(), mode) == 0);
    QVERIFY(::chown(path.c_str(), owner, owner) == 0);
}

std::string fallbackName() { return "quillmar-" + std::to_string(::geteuid()); }

}  // namespace

using Arrange = std::function<void(const std::string& root)>;
Q_DECLARE_METATYPE(Arrange)


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
        pid_t requester = 0;
        server.SetHandler([&](RequestKind kind, std::int32_t argument, const std::string&) {
            received.emplace_back(kind, argument);
            handled = true;
            requester = server.RequestingProcess();
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
        QCOMPARE(requester, ::getpid());  // the client's process, as the kernel names it
        QCOMPARE(server.RequestingProcess(), pid_t(0));  // only while a request is answered
    }

    void aDesktopThatDoesNotAnswerIsToldFromNone()
    {
        IsolatedProfile profile;
        using Delivery = DesktopChannel::Delivery;
        QCOMPARE(DesktopChannel::Notify(kCloseDatabase, 300), Delivery::NoDesktop);
        DesktopServer server;
        QVERIFY(server.Listen());
        // The server's event loop does not run here, so the request waits unread.
        QCOMPARE(DesktopChannel::Notify(kCloseDatabase, 300), Delivery::NotAnswered);
        QCOMPARE(whileServing([] { return DesktopChannel::Notify(kReopenDatabase); }), Delivery::Answered);
    }

    void aProcessThatEndedNoLongerRuns()
    {
        QVERIFY(ProcessRuns(::getpid()));
        QVERIFY(!ProcessRuns(0));
        QProcess child;
        child.start("sleep", {"0.1"});
        QVERIFY(child.waitForStarted());
        const auto pid = static_cast<pid_t>(child.processId());
        QVERIFY(ProcessRuns(pid));
        QVERIFY(child.waitForFinished());
        QVERIFY(!ProcessRuns(pid));
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
        std::vector<std::string> opened;
        first.Server().SetHandler([&](RequestKind kind, std::int32_t, const std::string& path) {
            activations += kind == RequestKind::Activate;
            if (kind == RequestKind::OpenDatabase)
                opened.push_back(path);
            return 0;
        });
        const auto outcome = whileServing([] {
            InstanceGuard second;
            return second.Acquire();
        });
        QCOMPARE(outcome, InstanceGuard::Outcome::AnotherCopyRuns);
        QCOMPARE(activations, 1);
        // A second copy started with a database hands its path over instead, whole.
        const std::string path = "/home/u/My Expenses/Caf\xc3\xa9 " + std::string(3000, 'x') + ".mdb";
        const auto handedOver = whileServing([&path] {
            InstanceGuard second;
            return second.Acquire(path);
        });
        QCOMPARE(handedOver, InstanceGuard::Outcome::AnotherCopyRuns);
        QCOMPARE(opened, std::vector<std::string>{path});
        QCOMPARE(activations, 1);

        first.Release();
        InstanceGuard third;
        QCOMPARE(third.Acquire(), InstanceGuard::Outcome::Acquired);
    }

    // Each row prepares a test folder (root), with XDG_RUNTIME_DIR at root/run and TMPDIR at
    // root/tmp unless it says otherwise.
    void runtimeFolderMustBeOurOwn_data()
    {
        QTest::addColumn<Arrange>("arrange");
        QTest::addColumn<bool>("xdgSet");         // XDG_RUNTIME_DIR is root/run, else unset
        QTest::addColumn<bool>("needsRoot");      // the row hands a folder to another user
        QTest::addColumn<QString>("problem");     // expected refusal, with ROOT for the folder; empty: accepted
        QTest::addColumn<QString>("folder");      // where the lock and socket go when accepted

        const auto tmp = [](const std::string& root) { makeFolder(root + "/tmp", 01777, ::geteuid()); };
        QTest::newRow("XDG_RUNTIME_DIR of another user")
            << Arrange([](const std::string& root) { makeFolder(root + "/run", 0700, kNobody); }) << true << true
            << "The runtime folder 'ROOT/run' belongs to another user (uid 65534)." << "";
        QTest::newRow("XDG_RUNTIME_DIR open to others")
            << Arrange([](const std::string& root) { makeFolder(root + "/run", 0777, ::geteuid()); }) << true << false
            << "The runtime folder 'ROOT/run' is open to other users (mode 0777)." << "";
        QTest::newRow("XDG_RUNTIME_DIR names a file")
            << Arrange([](const std::string& root) { writeFile(root + "/run", "x"); }) << true << false
            << "The runtime folder 'ROOT/run' is not a folder." << "";
        QTest::newRow("XDG_RUNTIME_DIR that is private")
            << Arrange([](const std::string& root) { makeFolder(root + "/run", 0700, ::geteuid()); }) << true << false
            << "" << "ROOT/run";
        QTest::newRow("no XDG_RUNTIME_DIR, our folder in the temporary folder made by another user")
            << Arrange([tmp](const std::string& root) {
                   tmp(root);
                   makeFolder(root + "/tmp/" + fallbackName(), 0700, kNobody);
               })
            << false << true << QString::fromStdString("The runtime folder 'ROOT/tmp/" + fallbackName() +
                                                       "' belongs to another user (uid 65534).")
            << "";
        QTest::newRow("no XDG_RUNTIME_DIR, our folder's name is a link")
            << Arrange([tmp](const std::string& root) {
                   tmp(root);
                   makeFolder(root + "/private", 0700, ::geteuid());
                   QVERIFY(::symlink((root + "/private").c_str(), (root + "/tmp/" + fallbackName()).c_str()) == 0);
               })
            << false << false
            << QString::fromStdString("The runtime folder 'ROOT/tmp/" + fallbackName() + "' is not a folder.") << "";
        QTest::newRow("no XDG_RUNTIME_DIR, the shared places taken by another user")
            << Arrange([tmp](const std::string& root) {
                   tmp(root);
                   // Where Qt would put its runtime folder, and the shared folder it fell back to.
                   makeFolder(root + "/tmp/runtime-" + ::getpwuid(::geteuid())->pw_name, 0700, kNobody);
                   writeFile(root + "/tmp/Qlmr_Quillmar_WNDCLASS.lock", "1\nQuillmar\nelsewhere\n");
                   QVERIFY(::chown((root + "/tmp/Qlmr_Quillmar_WNDCLASS.lock").c_str(), kNobody, kNobody) == 0);
               })
            << false << true << "" << QString::fromStdString("ROOT/tmp/" + fallbackName());
        QTest::newRow("no XDG_RUNTIME_DIR, nothing there yet")
            << Arrange(tmp) << false << false << "" << QString::fromStdString("ROOT/tmp/" + fallbackName());
    }

    void runtimeFolderMustBeOurOwn()
    {
        QFETCH(Arrange, arrange);
        QFETCH(bool, xdgSet);
        QFETCH(bool, needsRoot);
        QFETCH(QString, problem);
        QFETCH(QString, folder);
        if (needsRoot && ::geteuid() != 0)
            QSKIP("needs root to hand a folder to another user");
        IsolatedProfile profile;
        TempDir dir;
        const std::string root = dir.path();
        arrange(root);
        const std::string run = root + "/run", tmp = root + "/tmp";
        ScopedEnvironment xdg("XDG_RUNTIME_DIR", xdgSet ? run.c_str() : nullptr);
        ScopedEnvironment tmpdir("TMPDIR", tmp.c_str());
        problem.replace("ROOT", QString::fromStdString(root));
        folder.replace("ROOT", QString::fromStdString(root));
        const auto before = folderContents(root);
        QVERIFY2(!DesktopChannel::NotifyDesktop(kCloseDatabase), "nothing runs yet");
        QVERIFY2(folderContents(root) == before, "a client makes nothing");

        InstanceGuard guard;
        const InstanceGuard::Outcome outcome = guard.Acquire();
        if (!problem.isEmpty()) {
            QCOMPARE(outcome, InstanceGuard::Outcome::NoPrivateFolder);
            QCOMPARE(QString::fromStdString(guard.Problem()), problem);
            QVERIFY2(!DesktopChannel::NotifyDesktop(kCloseDatabase), "the sync sends nothing");
            QCOMPARE(DesktopChannel::SocketPath(), std::string());
            QVERIFY2(folderContents(root) == before, "no lock file or socket was made anywhere");
            return;
        }
        QCOMPARE(outcome, InstanceGuard::Outcome::Acquired);
        QVERIFY(guard.Problem().empty());
        QCOMPARE(QString::fromStdString(DesktopChannel::SocketPath()), folder + "/Qlmr_Quillmar_WNDCLASS");
        QVERIFY(fileExists(folder.toStdString() + "/Qlmr_Quillmar_WNDCLASS.lock"));
        struct stat info {};
        QVERIFY(::lstat(folder.toLocal8Bit().constData(), &info) == 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QCOMPARE(info.st_uid, ::geteuid());
        for (const auto& [name, bytes] : before) {  // what others keep there is left alone
            if (!QString::fromStdString(root + "/" + name).startsWith(folder))
                QCOMPARE(readFile(root + "/" + name), bytes);
        }
        guard.Release();
    }

    void peerCheckTellsUsersApart()
    {
        int pair[2];
        QVERIFY(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) == 0);
        QVERIFY(PeerIsUser(pair[0], ::geteuid()));
        QVERIFY(!PeerIsUser(pair[0], ::geteuid() + 1));
        ::close(pair[0]);
        ::close(pair[1]);
        QVERIFY2(!PeerIsUser(-1, ::geteuid()), "no socket, no answer");
    }

    void anotherUsersServerGetsNothing()
    {
        if (getuid() != 0)
            QSKIP("needs root to run a server as another user");
        IsolatedProfile profile;
        const std::string path = DesktopChannel::SocketPath();
        QVERIFY(!path.empty());
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t child = fork();
        if (child == 0) {
            // The socket is made in our folder, then listens as another user: the kernel records
            // that user as the server's credentials.
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || setgid(kNobody) != 0 ||
                setuid(kNobody) != 0 || ::listen(fd, 4) != 0)
                _exit(3);
            if (::write(ready[1], "r", 1) != 1)
                _exit(3);
            const int client = ::accept(fd, nullptr, nullptr);
            char request[8];
            const ssize_t got = ::read(client, request, sizeof request);
            _exit(got > 0 ? 1 : 0);  // 1: a request reached another user's server
        }
        char byte = 0;
        QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
        QVERIFY(!DesktopChannel::NotifyDesktop(kCloseDatabase));
        // Should the client not have connected at all, this connection lets the server finish.
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::close(fd);
        int status = -1;
        QCOMPARE(waitpid(child, &status, 0), child);
        ::close(ready[0]);
        ::close(ready[1]);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void anotherUserCannotReachTheProgram()
    {
        if (getuid() != 0)
            QSKIP("needs root to run a client as another user");
        IsolatedProfile profile;
        DesktopServer server;
        QVERIFY(server.Listen());
        bool handled = false;
        server.SetHandler([&](RequestKind, std::int32_t, const std::string&) {
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
