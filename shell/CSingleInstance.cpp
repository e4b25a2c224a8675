// One copy at a time.
#include "shell/CSingleInstance.h"

#include "platform/ui/MessageBox.h"

CSingleInstance::CSingleInstance() = default;

CSingleInstance::~CSingleInstance() { Release(); }

bool CSingleInstance::Check(const std::string& strName)
{
    m_strName = strName;
    m_bRegistered = false;
    switch (m_guard.Acquire()) {
    case ipc::InstanceGuard::Outcome::AnotherCopyRuns:
        return false;  // the running copy comes to the front; this one ends quietly
    case ipc::InstanceGuard::Outcome::ChannelFailed:
        ui::MessageBox::Show(nullptr, "Failed to register window class!", {}, ui::MessageBox::Buttons::Ok,
                             ui::MessageBox::Icon::Stop);
        return false;
    case ipc::InstanceGuard::Outcome::Acquired:
        break;
    }
    m_bRegistered = true;
    return true;
}

void CSingleInstance::Release()
{
    if (m_bRegistered)
        m_guard.Release();
    m_bRegistered = false;
}
