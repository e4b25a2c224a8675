// CHHExpensesDB: the reader of "Qlmr-Expenses", the expenses entered on the handheld. Opens it
// with its record count, reads each record into a fixed 256-byte buffer and unpacks it into
// m_Expense, its texts decoded to desktop text, and empties the database once the desktop has
// committed what was read. The destructor closes it on every path. m_Expense's strings are
// reused from record to record.
#pragma once

#include <cstdint>

#include "conduit/handheld/HHExpense.h"

class CHHExpensesDB {
public:
    CHHExpensesDB() = default;
    ~CHHExpensesDB();
    CHHExpensesDB(const CHHExpensesDB&) = delete;
    CHHExpensesDB& operator=(const CHHExpensesDB&) = delete;

    // Opens "Qlmr-Expenses" (mode 0xD0) and reads its record count; a failed count closes it
    // again. True only when both succeeded; m_lResult tells a missing database (0x4003) from
    // other failures.
    bool Open();
    // Reads the record at index into the zero-filled buffer and unpacks it into m_Expense. A
    // record larger than the buffer is a failure.
    bool ReadRecord(std::uint16_t index);
    // The Sync Manager's result of removing every record.
    std::int32_t RemoveAll();
    // Closes the database when open; a second call does nothing.
    void Close();

    hh::HHExpense m_Expense;                         // the record last read, unpacked
    std::uint16_t m_wRecordCount = 0;                // records in the database
    std::int32_t m_lResult = 0;                      // result of the last Sync Manager call
    std::uint8_t m_hDB = 0;                          // the one-byte handle; 0 when not open
    std::uint8_t m_Buffer[hh::kExpenseBufferSize];   // the record last read
};
