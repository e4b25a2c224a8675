// The channel through which other programs reach a running desktop program: a local socket named
// "Qlmr_Quillmar_WNDCLASS" in the user's private runtime folder (RuntimeFolder). Both ends check
// that the other runs as the same user.
//
// Wire format, all little-endian:
//   request  OFFSET SIZE  DESCRIPTION
//            0      4     kind: 1 = restore and raise the window, 2 = database request
//            4      4     argument: for a database request 10 (close) or 20 (re-open); for an
//                         open request the byte length of the path that follows
//            8      n     open request only: the database path, UTF-8 (at most kMaxPathBytes)
//   reply    0      4     the desktop's answer (0 when handled)
// The client blocks until the reply arrives, like a synchronous window message.
#pragma once

#include <cstdint>
#include <string>

namespace ipc {

enum class RequestKind : std::int32_t {
    Activate = 1,         // a second copy asks the first to come to the front
    DatabaseRequest = 2,  // the handheld conduit asks to close (10) or re-open (20) the database
    OpenDatabase = 3,     // a second copy started with a path asks the first to open it
};

inline constexpr int kCloseDatabase = 10;
inline constexpr int kReopenDatabase = 20;

class DesktopChannel {
public:
    static constexpr const char* kName = "Qlmr_Quillmar_WNDCLASS";
    static constexpr int kRequestBytes = 8;
    static constexpr int kReplyBytes = 4;
    static constexpr int kMaxPathBytes = 64 * 1024;

    static constexpr const char* kLockSuffix = ".lock";  // kName + this: the lock file of the running copy

    // Full path of the socket in the user's private runtime folder; empty when there is none
    // (this only looks: the program that serves the channel makes the folder).
    static std::string SocketPath();

    // How a request went: answered; not sent, because no desktop program of this user runs (or
    // there is no private runtime folder); or sent to one that did not answer within the time.
    enum class Delivery { Answered, NoDesktop, NotAnswered };

    // Sends one request and waits for the reply.
    [[nodiscard]] static Delivery Deliver(RequestKind kind, std::int32_t argument, std::int32_t* reply = nullptr,
                                          int timeoutMs = 60000, const std::string& payload = {});
    // True when the request was answered.
    static bool Send(RequestKind kind, std::int32_t argument, std::int32_t* reply = nullptr, int timeoutMs = 60000,
                     const std::string& payload = {})
    {
        return Deliver(kind, argument, reply, timeoutMs, payload) == Delivery::Answered;
    }

    // A second copy's path for the running copy to open (and come to the front).
    static bool OpenDatabase(const std::string& path, int timeoutMs = 5000)
    {
        return Send(RequestKind::OpenDatabase, static_cast<std::int32_t>(path.size()), nullptr, timeoutMs, path);
    }

    // The conduit's notification: a database request, when a desktop program runs.
    static bool NotifyDesktop(int code) { return Notify(code) == Delivery::Answered; }
    [[nodiscard]] static Delivery Notify(int code, int timeoutMs = 60000)
    {
        return Deliver(RequestKind::DatabaseRequest, code, nullptr, timeoutMs);
    }
};

}  // namespace ipc
