// The one-copy rule: a lock file marks the running copy, which also serves the desktop channel.
// A second copy finds the lock held, asks the first to come to the front, and gives up. Both live
// in the user's private runtime folder; without one nothing is locked or served.
#pragma once

#include <memory>
#include <string>

#include "platform/ipc/DesktopServer.h"

class QLockFile;

namespace ipc {

class InstanceGuard {
public:
    InstanceGuard();
    ~InstanceGuard();

    enum class Outcome {
        Acquired,          // this process is now the one running copy and serves the channel
        AnotherCopyRuns,   // it was asked to restore and raise its window
        ChannelFailed,     // the lock was free but the channel could not be served
        NoPrivateFolder,   // no runtime folder that only this user can use (Problem() says why)
    };
    // When another copy runs it is asked to open openPath (when given) or only to come to the front.
    Outcome Acquire(const std::string& openPath = {});
    void Release();
    // Why the last Acquire found no private folder, in a sentence; empty otherwise.
    const std::string& Problem() const { return m_problem; }

    DesktopServer& Server() { return *m_server; }

private:
    std::unique_ptr<QLockFile> m_lock;       // held while this copy runs; made by Acquire
    std::unique_ptr<DesktopServer> m_server; // the channel, while held
    std::string m_problem;                   // why there is no private runtime folder
};

}  // namespace ipc
