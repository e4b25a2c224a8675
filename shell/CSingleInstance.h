// CSingleInstance: the one-copy rule of the desktop program under the name
// "Qlmr_Quillmar_WNDCLASS". The first copy holds the lock and serves the channel on which the
// handheld sync and later copies reach it; a second copy asks the first to restore and raise its
// window, then ends quietly.
#pragma once

#include <memory>
#include <string>

#include "platform/ipc/InstanceGuard.h"

class CSingleInstance {
public:
    CSingleInstance();
    ~CSingleInstance();  // releases the lock and the channel

    // True when this is the first copy. A failure to serve the channel, or the want of a private
    // runtime folder, is reported to the user and leaves Failed() set.
    // A second copy hands strOpenPath (when given) to the first, which opens it.
    bool Check(const std::string& strName, const std::string& strOpenPath = {});
    bool Failed() const { return m_bFailed; }
    void Release();

    ipc::DesktopServer& Server() { return m_guard.Server(); }

private:
    std::string m_strName;        // the channel / class name
    bool m_bRegistered = false;   // this copy serves the channel
    bool m_bFailed = false;       // the last check failed (rather than finding another copy)
    ipc::InstanceGuard m_guard;   // lock file and server
};
