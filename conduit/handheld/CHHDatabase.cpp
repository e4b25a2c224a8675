// Opening, replacing, emptying, writing and closing a handheld database.
#include "conduit/handheld/CHHDatabase.h"

#include "conduit/handheld/HandheldConstants.h"

CHHDatabase::~CHHDatabase()
{
    (void)Close();  // only reached open on a path that has already failed: its result adds nothing
}

bool CHHDatabase::OpenOrCreate(const char* pszName, std::uint8_t mode, std::uint32_t type)
{
    m_strName = pszName ? pszName : "";
    m_dwType = type;
    std::uint8_t handle = 0;
    m_lOpenResult = SyncOpenDB(pszName, hh::kCardNumber, &handle, mode);
    if (m_lOpenResult == hh::kSyncOk) {
        m_hDB = handle;
        return true;
    }
    if (m_lOpenResult != hh::kSyncNotFound)
        return true;  // the handle stays 0: the next operation reports the failure
    return Create() == hh::kSyncOk;
}

std::int32_t CHHDatabase::Create()
{
    SyncCreateDBInfo info{};
    info.dwCreator = hh::kCreator;
    info.dwType = m_dwType;
    info.pszName = m_strName.c_str();
    m_lOpenResult = SyncCreateDB(&info);
    if (m_lOpenResult == hh::kSyncOk)
        m_hDB = info.hDB;
    return m_lOpenResult;
}

bool CHHDatabase::IsDamaged() const
{
    return m_lOpenResult == hh::kSyncDamaged;
}

std::int32_t CHHDatabase::ReplaceDamaged()
{
    if (!IsDamaged())
        return hh::kSyncOk;
    if (const std::int32_t deleted = SyncDeleteDB(m_strName.c_str(), hh::kCardNumber); deleted != hh::kSyncOk)
        return deleted;
    return Create();
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

std::int32_t CHHDatabase::Close()
{
    if (m_hDB == 0)
        return hh::kSyncOk;
    const std::int32_t closed = SyncCloseDB(m_hDB);
    m_hDB = 0;  // the Sync Manager has let the handle go, saved or not
    return closed;
}
