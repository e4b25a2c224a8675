// Reading and emptying the handheld's expenses.
#include "conduit/handheld/CHHExpensesDB.h"

#include <cstring>

#include "conduit/handheld/HandheldConstants.h"

CHHExpensesDB::~CHHExpensesDB()
{
    Close();
}

bool CHHExpensesDB::Open()
{
    std::uint8_t handle = 0;
    m_lResult = SyncOpenDB(hh::kExpensesDB, hh::kCardNumber, &handle, hh::kModeExpenses);
    if (m_lResult != hh::kSyncOk)
        return false;
    m_hDB = handle;
    m_lResult = SyncGetDBRecordCount(m_hDB, &m_wRecordCount);
    if (m_lResult != hh::kSyncOk) {
        Close();
        return false;
    }
    return true;
}

bool CHHExpensesDB::ReadRecord(std::uint16_t index)
{
    std::memset(m_Buffer, 0, sizeof m_Buffer);
    SyncRecordInfo info{};
    info.hDB = m_hDB;
    info.wIndex = index;
    info.pBytes = m_Buffer;
    info.dwSize = sizeof m_Buffer;
    m_lResult = SyncReadRecordByIndex(&info);
    if (m_lResult != hh::kSyncOk)
        return false;
    // The whole zero-filled buffer is unpacked: a text without its NUL ends at the buffer's end.
    hh::UnpackExpense(m_Buffer, m_Expense);
    return true;
}

std::int32_t CHHExpensesDB::RemoveAll()
{
    m_lResult = SyncPurgeAllRecs(m_hDB);
    return m_lResult;
}

void CHHExpensesDB::Close()
{
    if (m_hDB == 0)
        return;
    SyncCloseDB(m_hDB);
    m_hDB = 0;
}
