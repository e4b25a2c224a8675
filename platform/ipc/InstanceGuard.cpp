// Lock file plus channel server, both in the private runtime folder.
#include "platform/ipc/InstanceGuard.h"

#include <QLockFile>

#include "platform/ipc/RuntimeFolder.h"

namespace ipc {

InstanceGuard::InstanceGuard() : m_server(std::make_unique<DesktopServer>()) {}

InstanceGuard::~InstanceGuard() { Release(); }

InstanceGuard::Outcome InstanceGuard::Acquire(const std::string& openPath)
{
    std::string folder;
    m_problem.clear();
    if (!RuntimeFolder::Locate(folder, m_problem, true))
        return Outcome::NoPrivateFolder;
    m_lock = std::make_unique<QLockFile>(
        QString::fromStdString(folder + '/' + DesktopChannel::kName + DesktopChannel::kLockSuffix));
    m_lock->setStaleLockTime(0);  // a lock is stale only when its process is gone
    if (!m_lock->tryLock(0)) {
        if (openPath.empty())
            DesktopChannel::Send(RequestKind::Activate, 0, nullptr, 5000);
        else
            DesktopChannel::OpenDatabase(openPath);
        return Outcome::AnotherCopyRuns;
    }
    if (!m_server->Listen()) {
        m_lock->unlock();
        return Outcome::ChannelFailed;
    }
    return Outcome::Acquired;
}

void InstanceGuard::Release()
{
    m_server->Close();
    if (m_lock && m_lock->isLocked())
        m_lock->unlock();
}

}  // namespace ipc
