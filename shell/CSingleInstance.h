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

    // True when this is the first copy. A failure to serve the channel is reported to the user.
    bool Check(const std::string& strName);
    void Release();

    ipc::DesktopServer& Server() { return m_guard.Server(); }

private:
    std::string m_strName;        // the channel / class name
    bool m_bRegistered = false;   // this copy serves the channel
    ipc::InstanceGuard m_guard;   // lock file and server
};
