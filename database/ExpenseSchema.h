// The rules of the expense database that both programs share: table and column names, the text
// lengths the editors enforce, the type compositions, the billing statuses and the ranges of
// expense type numbers. Everything that reads or writes these tables takes them from here.
#pragma once

#include <cstdint>

namespace schema {

// Expenses: one row per expense item.
namespace expenses {
inline constexpr const char* kTable = "Expenses";
inline constexpr const char* kExpID = "ExpID";          // the row's key
inline constexpr const char* kExpType = "ExpType";      // expense type, a key of lkpExpTypes
inline constexpr const char* kExpCat = "ExpCat";        // category within the type
inline constexpr const char* kExpDate = "ExpDate";      // date of the expense
inline constexpr const char* kExpYear = "ExpYear";      // calendar year of ExpDate, -1 without one
inline constexpr const char* kItem = "Item";
inline constexpr const char* kDetail = "Detail";
inline constexpr const char* kVendor = "Vendor";
inline constexpr const char* kChkNbr = "ChkNbr";        // check number
inline constexpr const char* kAcctCode = "AcctCode";    // account it was paid with
inline constexpr const char* kAmount = "Amount";
inline constexpr const char* kReimburse = "Reimburse";  // reimbursed (reimbursable types only)
inline constexpr const char* kStatus = "Status";        // billing status, a key of lkpExpBillStatus
inline constexpr const char* kProjectID = "ProjectID";  // project, or the year for other types
inline constexpr const char* kTypeComp = "TypeComp";    // the type's ExpComp when written

// The two orders the tree shows (and an export writes) the rows in.
inline constexpr const char* kSortByDate = "ExpType ASC, ProjectID ASC, ExpDate ASC, ExpCat ASC";
inline constexpr const char* kSortByCategory = "ExpType ASC, ProjectID ASC, ExpCat ASC, ExpDate ASC";

inline constexpr int kItemChars = 20;
inline constexpr int kDetailChars = 80;
inline constexpr int kVendorChars = 20;
inline constexpr int kCheckNumberChars = 6;
}  // namespace expenses

// lkpExpTypes: expense types; the type number is also the sort order.
namespace types {
inline constexpr const char* kTable = "lkpExpTypes";
inline constexpr const char* kExpType = "ExpType";
inline constexpr const char* kExpLabel = "ExpLabel";
inline constexpr const char* kExpDesc = "ExpDesc";
inline constexpr const char* kExpComp = "ExpComp";

inline constexpr int kLabelChars = 4;
inline constexpr int kDescriptionChars = 32;
}  // namespace types

// lkpExpCategories: categories of a type, unique per (ExpType, ExpCat).
namespace categories {
inline constexpr const char* kTable = "lkpExpCategories";
inline constexpr const char* kExpType = "ExpType";
inline constexpr const char* kExpCat = "ExpCat";
inline constexpr const char* kCatDesc = "CatDesc";

inline constexpr int kCategoryChars = 8;
inline constexpr int kDescriptionChars = 32;
}  // namespace categories

// lkpAccounts: the accounts ("How Paid"), unique by code.
namespace accounts {
inline constexpr const char* kTable = "lkpAccounts";
inline constexpr const char* kAcctCode = "AcctCode";
inline constexpr const char* kAcctDesc = "AcctDesc";

inline constexpr int kCodeChars = 4;
inline constexpr int kDescriptionChars = 32;
}  // namespace accounts

// Projects: charged by reimbursable types; only active ones are offered and sent.
namespace projects {
inline constexpr const char* kTable = "Projects";
inline constexpr const char* kProjectID = "ProjectID";
inline constexpr const char* kProjectName = "ProjectName";
inline constexpr const char* kProjectDesc = "ProjectDesc";
inline constexpr const char* kActive = "Active";
inline constexpr const char* kActiveFilter = "Active=TRUE";

inline constexpr int kNameChars = 16;
inline constexpr int kDescriptionChars = 50;
}  // namespace projects

// lkpExpBillStatus: the billing status codes (read only).
namespace statuses {
inline constexpr const char* kTable = "lkpExpBillStatus";
inline constexpr const char* kStatus = "Status";
inline constexpr const char* kStatusCode = "StatusCode";
inline constexpr const char* kStatDesc = "StatDesc";
}  // namespace statuses

// QlVersion: the database format row and the handheld's lookup-table version row.
namespace version {
inline constexpr const char* kTable = "QlVersion";
inline constexpr const char* kAppCode = "AppCode";
inline constexpr const char* kMajor = "Major";
inline constexpr const char* kMinor = "Minor";
inline constexpr const char* kFormatRow = "AppCode='Quillmar'";
inline constexpr const char* kLookupRow = "AppCode='PalmUpdt'";
}  // namespace version

// How a type's expenses are grouped (ExpComp of lkpExpTypes, copied to TypeComp of Expenses).
namespace comp {
inline constexpr std::uint8_t kSystem = 0;        // the built-in types below 10, grouped by year
inline constexpr std::uint8_t kPlain = 1;         // a user type grouped by year
inline constexpr std::uint8_t kReimbursable = 2;  // a user type charged to projects
}  // namespace comp

// Billing statuses the system itself relies on (Status of Expenses and lkpExpBillStatus).
namespace billing {
inline constexpr std::int16_t kNone = 0;        // not reimbursed
inline constexpr std::int16_t kIncurred = 1;    // "IN"
inline constexpr std::int16_t kSubmitted = 2;   // "SU"
inline constexpr std::int16_t kPaid = 3;        // "PD"
inline constexpr const char* kIncurredCode = "IN";
inline constexpr const char* kSubmittedCode = "SU";
inline constexpr const char* kPaidCode = "PD";
}  // namespace billing

// Expense type numbers: 0 and 1 are the tax types, up to 9 system types that cannot be deleted,
// from 10 the user's own types (the only ones the handheld receives besides type 0).
namespace typerange {
inline constexpr std::int16_t kTax = 0;
inline constexpr std::int16_t kEstimatedTax = 1;
inline constexpr std::int16_t kLastSystem = 9;
inline constexpr std::int16_t kFirstUser = 10;
inline constexpr const char* kUserTypesFilter = "ExpType > 9";

[[nodiscard]] inline constexpr bool IsSystem(int type) { return type <= kLastSystem; }
}  // namespace typerange

}  // namespace schema
