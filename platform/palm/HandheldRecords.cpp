// The Sync Manager's database and record calls of the connection state: opening, creating,
// closing and deleting databases, and reading and writing their records and resources.
#include "platform/palm/HandheldSession.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

#include "platform/palm/PalmBytes.h"

namespace palm {

std::int32_t HandheldSession::OpenDB(const char* pszName, std::int32_t iCardNum, std::uint8_t* pHandle,
                                     std::uint8_t openMode)
{
    std::lock_guard lock(m_lock);
    if (!pHandle)
        return SYNCERR_BAD_ARGUMENT;
    if (const std::int32_t result = CheckName(pszName, iCardNum); result != SYNCERR_NONE)
        return result;
    if ((openMode & (SYNC_MODE_READ | SYNC_MODE_WRITE)) == 0)
        return SYNCERR_BAD_ARGUMENT;
    const std::string name(pszName);
    std::string path;
    if (const std::int32_t result = FindFile(name, path); result != SYNCERR_NONE)
        return result;
    if (IsOpen(name))
        return SYNCERR_DB_OPEN;
    const std::uint8_t handle = FreeHandle();
    if (handle == 0)
        return SYNCERR_TOO_MANY_OPEN;
    OpenDatabase db;
    if (const std::int32_t result = LoadFile(name, path, db.file); result != SYNCERR_NONE)
        return result;
    db.name = name;
    db.path = path;
    db.mode = openMode;
    m_open.emplace(handle, std::move(db));
    *pHandle = handle;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::CreateDB(SyncCreateDBInfo* pInfo)
{
    std::lock_guard lock(m_lock);
    if (!pInfo)
        return SYNCERR_BAD_ARGUMENT;
    if (const std::int32_t result = CheckName(pInfo->pszName, pInfo->iCardNum); result != SYNCERR_NONE)
        return result;
    const std::string name(pInfo->pszName);
    std::string existing;
    if (FindFile(name, existing) != SYNCERR_NOT_FOUND || IsOpen(name))
        return SYNCERR_ALREADY_EXISTS;
    const std::uint8_t handle = FreeHandle();
    if (handle == 0)
        return SYNCERR_TOO_MANY_OPEN;
    OpenDatabase db;
    db.file = PalmDatabaseFile::Create(name, pInfo->dwType, pInfo->dwCreator, pInfo->wAttributes);
    db.file.m_header.version = pInfo->wVersion;
    db.name = name;
    db.path = PathOf(name, db.file.IsResourceDatabase());
    db.mode = SYNC_MODE_READ | SYNC_MODE_WRITE;
    db.changed = true;  // closing writes the new file even when it stays empty
    m_open.emplace(handle, std::move(db));
    pInfo->hDB = handle;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::CloseDB(std::uint8_t hDB)
{
    std::lock_guard lock(m_lock);
    return SaveAndForget(hDB);
}

std::int32_t HandheldSession::DeleteDB(const char* pszName, std::int32_t iCardNum)
{
    std::lock_guard lock(m_lock);
    if (const std::int32_t result = CheckName(pszName, iCardNum); result != SYNCERR_NONE)
        return result;
    const std::string name(pszName);
    if (IsOpen(name))
        return SYNCERR_DB_OPEN;
    std::string path;
    if (const std::int32_t result = FindFile(name, path); result != SYNCERR_NONE)
        return result;
    return ::unlink(path.c_str()) == 0 ? SYNCERR_NONE : SYNCERR_FILE_IO;
}

std::int32_t HandheldSession::WriteRec(SyncRecordInfo* pInfo)
{
    std::lock_guard lock(m_lock);
    if (!pInfo || (!pInfo->pBytes && pInfo->dwSize != 0) || pInfo->bCategory > kRecCategoryMask)
        return SYNCERR_BAD_ARGUMENT;
    OpenDatabase* db = nullptr;
    if (const std::int32_t refused = LookupRecords(pInfo->hDB, SYNC_MODE_WRITE, db); refused != SYNCERR_NONE)
        return refused;
    if (pInfo->dwSize > kMaxRecordSize)
        return SYNCERR_TOO_LARGE;
    const std::uint8_t attributes = static_cast<std::uint8_t>((pInfo->bAttributes & ~kRecCategoryMask) | pInfo->bCategory);
    std::vector<std::uint8_t> data(pInfo->pBytes, pInfo->pBytes + pInfo->dwSize);
    if (pInfo->dwRecordID != 0) {
        for (auto& record : db->file.m_records) {
            if (record.uniqueID == pInfo->dwRecordID) {
                record.attributes = attributes;
                record.data = std::move(data);
                db->changed = true;
                return SYNCERR_NONE;
            }
        }
        return SYNCERR_NOT_FOUND;
    }
    std::uint32_t id = 0;
    if (!db->file.AppendRecord(attributes, std::move(data), &id))
        return SYNCERR_TOO_LARGE;
    db->changed = true;
    pInfo->dwRecordID = id;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::ReadRecordByIndex(SyncRecordInfo* pInfo)
{
    std::lock_guard lock(m_lock);
    if (!pInfo || (!pInfo->pBytes && pInfo->dwSize != 0))
        return SYNCERR_BAD_ARGUMENT;
    OpenDatabase* db = nullptr;
    if (const std::int32_t refused = LookupRecords(pInfo->hDB, SYNC_MODE_READ, db); refused != SYNCERR_NONE)
        return refused;
    if (pInfo->wIndex >= db->file.m_records.size())
        return SYNCERR_NOT_FOUND;
    const PalmRecord& record = db->file.m_records[pInfo->wIndex];
    pInfo->dwRecordID = record.uniqueID;
    pInfo->bAttributes = static_cast<std::uint8_t>(record.attributes & ~kRecCategoryMask);
    pInfo->bCategory = static_cast<std::uint8_t>(record.attributes & kRecCategoryMask);
    pInfo->dwRecordSize = static_cast<std::uint32_t>(record.data.size());
    if (record.data.size() > pInfo->dwSize)
        return SYNCERR_BUFFER_TOO_SMALL;
    std::copy(record.data.begin(), record.data.end(), pInfo->pBytes);
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::PurgeAllRecs(std::uint8_t hDB)
{
    std::lock_guard lock(m_lock);
    OpenDatabase* db = nullptr;
    if (const std::int32_t refused = LookupRecords(hDB, SYNC_MODE_WRITE, db); refused != SYNCERR_NONE)
        return refused;
    if (!db->file.m_records.empty()) {
        db->file.m_records.clear();  // the seed stays: removed IDs are never issued again
        db->changed = true;
    }
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::LookupReadable(std::uint8_t hDB, const void* pOut, OpenDatabase*& db)
{
    if (!pOut)
        return SYNCERR_BAD_ARGUMENT;
    db = Lookup(hDB);
    if (!db)
        return SYNCERR_BAD_HANDLE;
    return (db->mode & SYNC_MODE_READ) == 0 ? SYNCERR_WRONG_MODE : SYNCERR_NONE;
}

std::int32_t HandheldSession::LookupRecords(std::uint8_t hDB, std::uint8_t modeBit, OpenDatabase*& db)
{
    db = Lookup(hDB);
    if (!db)
        return SYNCERR_BAD_HANDLE;
    if ((db->mode & modeBit) == 0)
        return SYNCERR_WRONG_MODE;
    return db->file.IsResourceDatabase() ? SYNCERR_WRONG_KIND : SYNCERR_NONE;
}

std::int32_t HandheldSession::GetDBRecordCount(std::uint8_t hDB, std::uint16_t* pCount)
{
    std::lock_guard lock(m_lock);
    OpenDatabase* db = nullptr;
    if (const std::int32_t refused = LookupReadable(hDB, pCount, db); refused != SYNCERR_NONE)
        return refused;
    *pCount = static_cast<std::uint16_t>(db->file.EntryCount());
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::ReadOpenDbInfo(std::uint8_t hDB, SyncDbInfo* pInfo)
{
    std::lock_guard lock(m_lock);
    OpenDatabase* db = nullptr;
    if (const std::int32_t refused = LookupReadable(hDB, pInfo, db); refused != SYNCERR_NONE)
        return refused;
    pInfo->dwCreateDate = db->file.m_header.creationDate;
    pInfo->dwModNumber = db->file.m_header.modificationNumber;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::ReadResRecordByIndex(SyncResourceInfo* pInfo, bool readData)
{
    std::lock_guard lock(m_lock);
    if (!pInfo || (readData && !pInfo->pBytes && pInfo->dwSize != 0))
        return SYNCERR_BAD_ARGUMENT;
    OpenDatabase* db = Lookup(pInfo->hDB);
    if (!db)
        return SYNCERR_BAD_HANDLE;
    if ((db->mode & SYNC_MODE_READ) == 0)
        return SYNCERR_WRONG_MODE;
    if (!db->file.IsResourceDatabase())
        return SYNCERR_WRONG_KIND;
    if (pInfo->wIndex >= db->file.m_resources.size())
        return SYNCERR_NOT_FOUND;
    const PalmResource& resource = db->file.m_resources[pInfo->wIndex];
    pInfo->dwType = resource.type;
    pInfo->wID = resource.id;
    pInfo->dwResourceSize = static_cast<std::uint32_t>(resource.data.size());
    if (!readData)
        return SYNCERR_NONE;
    if (resource.data.size() > pInfo->dwSize)
        return SYNCERR_BUFFER_TOO_SMALL;
    std::copy(resource.data.begin(), resource.data.end(), pInfo->pBytes);
    return SYNCERR_NONE;
}

}  // namespace palm
