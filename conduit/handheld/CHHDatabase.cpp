// Opening, emptying, writing and closing a handheld database.
#include "conduit/handheld/CHHDatabase.h"

#include "conduit/handheld/HandheldConstants.h"

CHHDatabase::~CHHDatabase()
{
    Close();
}

bool CHHDatabase::OpenOrCreate(const char* pszName, std::uint8_t mode, std::uint32_t type)
{
    std::uint8_t handle = 0;
    const std::int32_t opened = SyncOpenDB(pszName, hh::kCardNumber, &handle, mode);
    if (opened == hh::kSyncOk) {
        m_hDB = handle;
        return true;
    }
    if (opened != hh::kSyncNotFound)
        return true;  // the handle stays 0: the next operation reports the failure
    SyncCreateDBInfo info{};
    info.dwCreator = hh::kCreator;
    info.dwType = type;
    info.pszName = pszName;
    if (SyncCreateDB(&info) != hh::kSyncOk)
        return false;
    m_hDB = info.hDB;
    return true;
}

std::int32_t CHHDatabase::RemoveAll()
{
    return SyncPurgeAllRecs(m_hDB);
}

std::int32_t CHHDatabase::WriteRecord(std::uint8_t* pBytes, std::uint32_t count)
{
    if (m_hDB == 0)
        return hh::kSyncNoHandle;
    SyncRecordInfo info{};
    info.hDB = m_hDB;
    info.dwRecordID = 0;  // a new record
    info.bAttributes = 0;
    info.bCategory = 0;
    info.pBytes = pBytes;
    info.dwSize = count;
    return SyncWriteRec(&info);
}

void CHHDatabase::Close()
{
    if (m_hDB == 0)
        return;
    SyncCloseDB(m_hDB);
    m_hDB = 0;
}
