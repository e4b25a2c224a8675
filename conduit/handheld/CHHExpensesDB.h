// CHHExpensesDB: the reader of "Qlmr-Expenses", the expenses entered on the handheld. Opens it
// with its record count, reads each record into a fixed 256-byte buffer, tells a live expense from
// a record the handheld has marked deleted or busy and from a damaged one, unpacks a live expense
// into m_Expense (its texts decoded to desktop text), and empties the database once the desktop
// has committed what was read. The destructor closes it on every path; Close reports whether the
// emptied database was saved. m_Expense's strings are reused from record to record.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/handheld/HHExpense.h"

class CHHExpensesDB {
public:
    // What ReadRecord found at an index.
    enum class Record {
        Expense,  // a live expense, unpacked into m_Expense
        Skipped,  // marked deleted or busy on the handheld: not an expense to import
        Damaged,  // cannot be an expense (m_strDamage says why)
        Failed,   // the Sync Manager could not read it (m_lResult)
    };

    CHHExpensesDB() = default;
    ~CHHExpensesDB();
    CHHExpensesDB(const CHHExpensesDB&) = delete;
    CHHExpensesDB& operator=(const CHHExpensesDB&) = delete;

    // Opens "Qlmr-Expenses" (mode 0xD0) and reads its record count and creation date; a failed
    // read closes it again. True only when all succeeded; m_lResult tells a missing database
    // (0x4003) from other failures.
    [[nodiscard]] bool Open();
    // Reads the record at index; m_dwRecordID and m_dwDigest describe it afterwards.
    Record ReadRecord(std::uint16_t index);
    // The Sync Manager's result of removing every record.
    [[nodiscard]] std::int32_t RemoveAll();
    // Closes the database when open (saving a change) and answers the Sync Manager's result;
    // a second call does nothing and answers 0.
    [[nodiscard]] std::int32_t Close();

    hh::HHExpense m_Expense;                         // the record last read, unpacked
    std::uint16_t m_wRecordCount = 0;                // records in the database
    std::uint32_t m_dwCreateDate = 0;                // when it was created: its unique IDs are
                                                     //   its own, not those of one made before
    std::int32_t m_lResult = 0;                      // result of the last Sync Manager call
    std::uint8_t m_hDB = 0;                          // the one-byte handle; 0 when not open
    std::uint32_t m_dwRecordID = 0;                  // unique ID of the record last read
    std::uint32_t m_dwDigest = 0;                    // a digest of its bytes
    std::string m_strDamage;                         // why the record last read is damaged
    std::uint8_t m_Buffer[hh::kExpenseBufferSize];   // the record last read
};
