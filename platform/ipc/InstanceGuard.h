// The one-copy rule: a lock file marks the running copy, which also serves the desktop channel.
// A second copy finds the lock held, asks the first to come to the front, and gives up.
#pragma once

#include <memory>

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
    };
    Outcome Acquire();
    void Release();

    DesktopServer& Server() { return *m_server; }

private:
    std::unique_ptr<QLockFile> m_lock;       // held while this copy runs
    std::unique_ptr<DesktopServer> m_server; // the channel, while held
};

}  // namespace ipc
