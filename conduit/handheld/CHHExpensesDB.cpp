// Reading and emptying the handheld's expenses.
#include "conduit/handheld/CHHExpensesDB.h"

#include <cstring>
#include <span>

#include "conduit/handheld/HandheldConstants.h"
#include "platform/palm/RecordAttributes.h"

namespace {

constexpr std::uint8_t kDeletedOrBusy = palm::kRecAttrDelete | palm::kRecAttrBusy;  // not a live record

// FNV-1a over the record's bytes: tells a record from another that reuses its unique ID.
std::uint32_t DigestOf(std::span<const std::uint8_t> bytes)
{
    std::uint32_t digest = 2166136261u;
    for (const std::uint8_t byte : bytes)
        digest = (digest ^ byte) * 16777619u;
    return digest;
}

}  // namespace

CHHExpensesDB::~CHHExpensesDB()
{
    (void)Close();  // only reached open on a path that has already failed: its result adds nothing
}

bool CHHExpensesDB::Open()
{
    std::uint8_t handle = 0;
    m_lResult = SyncOpenDB(hh::kExpensesDB, hh::kCardNumber, &handle, hh::kModeExpenses);
    if (m_lResult != hh::kSyncOk)
        return false;
    m_hDB = handle;
    m_lResult = SyncGetDBRecordCount(m_hDB, &m_wRecordCount);
    SyncDbInfo info{};
    if (m_lResult == hh::kSyncOk)
        m_lResult = SyncReadOpenDbInfo(m_hDB, &info);
    m_dwCreateDate = info.dwCreateDate;
    if (m_lResult != hh::kSyncOk) {
        (void)Close();  // m_lResult keeps the failure that counts
        return false;
    }
    return true;
}

CHHExpensesDB::Record CHHExpensesDB::ReadRecord(std::uint16_t index)
{
    std::memset(m_Buffer, 0, sizeof m_Buffer);
    SyncRecordInfo info{};
    info.hDB = m_hDB;
    info.wIndex = index;
    info.pBytes = m_Buffer;
    info.dwSize = sizeof m_Buffer;
    m_lResult = SyncReadRecordByIndex(&info);
    m_dwRecordID = info.dwRecordID;
    m_strDamage.clear();
    const bool tooLong = m_lResult == SYNCERR_BUFFER_TOO_SMALL;
    if (m_lResult != hh::kSyncOk && !tooLong)
        return Record::Failed;
    if (info.bAttributes & kDeletedOrBusy)
        return Record::Skipped;  // left for the emptying
    const std::span<const std::uint8_t> record(m_Buffer, tooLong ? 0 : info.dwRecordSize);
    m_strDamage = hh::CheckExpenseRecord(info.dwRecordSize, record);
    if (!m_strDamage.empty())
        return Record::Damaged;
    m_dwDigest = DigestOf(record);
    hh::UnpackExpense(record, m_Expense);
    return Record::Expense;
}

std::int32_t CHHExpensesDB::RemoveAll()
{
    m_lResult = SyncPurgeAllRecs(m_hDB);
    return m_lResult;
}

std::int32_t CHHExpensesDB::Close()
{
    if (m_hDB == 0)
        return hh::kSyncOk;
    const std::int32_t closed = SyncCloseDB(m_hDB);
    m_hDB = 0;
    return closed;
}
