// One copy at a time.
#include "shell/CSingleInstance.h"

#include "platform/ui/MessageBox.h"

CSingleInstance::CSingleInstance() = default;

CSingleInstance::~CSingleInstance() { Release(); }

bool CSingleInstance::Check(const std::string& strName, const std::string& strOpenPath)
{
    m_strName = strName;
    m_bRegistered = false;
    m_bFailed = false;
    switch (m_guard.Acquire(strOpenPath)) {
    case ipc::InstanceGuard::Outcome::AnotherCopyRuns:
        return false;  // the running copy comes to the front; this one ends quietly
    case ipc::InstanceGuard::Outcome::ChannelFailed:
        ui::MessageBox::Show(nullptr, "Failed to register window class!", {}, ui::MessageBox::Buttons::Ok,
                             ui::MessageBox::Icon::Stop);
        m_bFailed = true;
        return false;
    case ipc::InstanceGuard::Outcome::NoPrivateFolder:
        // Without a folder of its own Quillmar could neither tell a second copy apart from
        // another user's stale lock nor keep the sync's requests from another user's listener.
        ui::MessageBox::Show(nullptr,
                             QString::fromStdString(m_guard.Problem()) +
                                 "\nQuillmar keeps its lock file and its channel to HotSync only in a folder that "
                                 "no other user can use. Set XDG_RUNTIME_DIR to a folder of yours with mode 0700.",
                             {}, ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        m_bFailed = true;
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
