// ExpenseRow: one row of Expenses as a value, read from and written to a CAdoRecordset. It holds
// the rules of a stored expense in one place: ExpYear is the calendar year of ExpDate; ProjectID
// is that year for every type that is not reimbursable; Reimburse and Status are kept only for
// reimbursable types. A store writes every column with the typed setters and stores the row only
// when every value was taken, so no partial row is ever stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"

class CAdoRecordset;

class ExpenseRow {
public:
    // Columns, as a mask for reading only some of them.
    enum Column : std::uint32_t {
        ExpType = 1u << 0,
        ExpCat = 1u << 1,
        ExpDate = 1u << 2,
        ExpYear = 1u << 3,
        Item = 1u << 4,
        Detail = 1u << 5,
        Vendor = 1u << 6,
        ChkNbr = 1u << 7,
        AcctCode = 1u << 8,
        Amount = 1u << 9,
        Reimburse = 1u << 10,
        Status = 1u << 11,
        ProjectID = 1u << 12,
        TypeComp = 1u << 13,
    };
    static constexpr std::uint32_t kAllColumns = (1u << 14) - 1;

    // The asked columns of the row the record set stands on; the others keep their defaults.
    static ExpenseRow Read(CAdoRecordset& rs, std::uint32_t columns = kAllColumns);

    // Stores the expense as a new row (AddNew, every column, Update). On any refused value or
    // store the row is dropped and false returned; the record set keeps the failure.
    [[nodiscard]] bool StoreNew(CAdoRecordset& rs) const;
    // Stores the expense over the row the record set stands on, with the same guarantee.
    [[nodiscard]] bool StoreOver(CAdoRecordset& rs) const;

    [[nodiscard]] bool IsReimbursableType() const;
    std::int16_t Year() const;              // calendar year of the date, -1 without a valid one
    [[nodiscard]] std::int32_t StoredProjectID() const;   // the project of a reimbursable type, else the year

    std::int16_t m_nExpType = 0;             // expense type
    std::string m_strExpCat;                 // category
    ole::DateTime m_dtDate = ole::DateTime::invalid();  // date; an invalid one is not written
    std::int16_t m_nExpYear = -1;            // as read; a store writes Year()
    std::string m_strItem;                   // item
    std::string m_strDetail;                 // description
    std::string m_strVendor;                 // vendor
    std::string m_strChkNbr;                 // check number
    std::string m_strAcctCode;               // account it was paid with
    ole::Currency m_cyAmount;                // amount
    bool m_bReimburse = false;               // reimbursed (kept for reimbursable types only)
    std::optional<std::int16_t> m_nStatus;   // billing status; none leaves the column's default
    std::int32_t m_lProjectID = 0;           // project (reimbursable types); a store derives the rest
    std::uint8_t m_nTypeComp = 0;            // the type's composition when written

private:
    [[nodiscard]] bool WriteColumns(CAdoRecordset& rs) const;
};
