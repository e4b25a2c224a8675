// Lock file plus channel server.
#include "platform/ipc/InstanceGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace ipc {

InstanceGuard::InstanceGuard()
    : m_lock(std::make_unique<QLockFile>(QString::fromStdString(DesktopChannel::LockPath()))),
      m_server(std::make_unique<DesktopServer>())
{
    m_lock->setStaleLockTime(0);  // a lock is stale only when its process is gone
}

InstanceGuard::~InstanceGuard() { Release(); }

InstanceGuard::Outcome InstanceGuard::Acquire()
{
    QDir().mkpath(QFileInfo(QString::fromStdString(DesktopChannel::LockPath())).absolutePath());
    if (!m_lock->tryLock(0)) {
        DesktopChannel::Send(RequestKind::Activate, 0, nullptr, 5000);
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
    if (m_lock->isLocked())
        m_lock->unlock();
}

}  // namespace ipc
