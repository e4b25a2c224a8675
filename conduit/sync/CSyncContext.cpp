// The synchronisation engine: import of the handheld's expenses and the send of the lookup tables.
#include "conduit/sync/CSyncContext.h"

#include "conduit/handheld/CHHExpensesDB.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/ReadHandheldVersion.h"
#include "conduit/sync/SendLookups.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"
#include "platform/palm/HSLog.h"

namespace {

constexpr std::uint8_t kReimbursableComp = 2;   // ExpComp of a reimbursable expense type
constexpr std::int16_t kStatusIncurred = 1;     // Status of an imported reimbursed expense

void LogText(const char* text)
{
    LogAddEntry(text, HSLOG_TEXT, 0);
}

// Rolls the desktop transaction back when the import leaves without committing, whatever the
// path (an unexpected exception included).
class TransactionGuard {
public:
    explicit TransactionGuard(CADODataBase& db) : m_db(db) {}
    ~TransactionGuard() { Rollback(); }
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    // A commit that fails leaves the transaction to be rolled back like any other failure.
    bool Commit()
    {
        if (!m_db.CommitTrans())
            return false;
        m_bActive = false;
        return true;
    }
    void Rollback()
    {
        if (m_bActive)
            m_db.RollbackTrans();
        m_bActive = false;
    }

private:
    CADODataBase& m_db;     // the connection whose transaction this is
    bool m_bActive = true;  // begun and neither committed nor rolled back
};

}  // namespace

// ---- import -----------------------------------------------------------------------------------

std::int32_t CSyncContext::ImportExpenses()
{
    try {
        return RunImport();
    } catch (...) {
        return kStoreFailed;  // the transaction guard has rolled back; the handheld is untouched
    }
}

std::int32_t CSyncContext::RunImport()
{
    if (hh::ReadHandheldVersion() < 1)
        return kHandheldTooOld;
    if (const std::int32_t result = hh::ReadPrefs(m_Prefs); result != hh::kSyncOk)
        return result;
    if (!m_db.Open(m_strDBPath))
        return kDatabaseOpenFailed;
    if (!CheckDesktopVersion())
        return kVersionCheckFailed;

    CHHExpensesDB expenses;
    if (!expenses.Open()) {
        expenses.Close();
        return expenses.m_lResult == hh::kSyncNotFound ? hh::kSyncOk : expenses.m_lResult;
    }
    if (!m_db.BeginTrans()) {
        expenses.Close();
        return kBeginFailed;
    }
    TransactionGuard transaction(m_db);
    CAdoRecordset rows(&m_db);
    if (!rows.OpenTable("Expenses")) {
        transaction.Rollback();
        expenses.Close();
        LogText("--> Quillmar - expense Open failed");
        return kTableOpenFailed;
    }
    std::int32_t result = ImportRows(expenses, rows);
    rows.Close();
    if (result == hh::kSyncOk)
        result = transaction.Commit() ? expenses.RemoveAll() : kCommitFailed;
    transaction.Rollback();  // after any failure; nothing to do once committed
    expenses.Close();
    return result;
}

std::int32_t CSyncContext::ImportRows(CHHExpensesDB& expenses, CAdoRecordset& rows)
{
    for (std::uint16_t index = 0; index < expenses.m_wRecordCount; ++index) {
        if (!expenses.ReadRecord(index))
            return kReadFailed;
        if (!rows.AddNew())
            return kAddNewFailed;
        PutExpense(rows, expenses.m_Expense);
        if (!rows.Update())
            return kStoreFailed;
    }
    return hh::kSyncOk;
}

void CSyncContext::PutExpense(CAdoRecordset& rows, const hh::HHExpense& expense)
{
    rows.PutDF_Short("ExpType", static_cast<std::int16_t>(expense.wExpType));

    const int year = static_cast<int>(expense.dwDate / 10000);
    const int month = static_cast<int>(expense.dwDate / 100 % 100);
    const int day = static_cast<int>(expense.dwDate % 100);
    const ole::DateTime date(year, month, day, 0, 0, 0);
    if (date.isValid())
        rows.PutDF_DateTime("ExpDate", date);
    rows.PutDF_Short("ExpYear", date.isValid() ? static_cast<std::int16_t>(year) : std::int16_t(-1));

    rows.PutDF_Currency("Amount", ole::Currency::fromCents(expense.dwAmount));
    rows.PutDF_Long("ProjectID", static_cast<std::int32_t>(expense.dwProjectID));
    rows.PutDF_Byte("TypeComp", expense.bExpComp);
    if (expense.bExpComp == kReimbursableComp) {
        const bool reimbursed = expense.bReimburse != 0;
        rows.PutDF_Boolean("Reimburse", reimbursed);
        if (reimbursed)
            rows.PutDF_Short("Status", kStatusIncurred);
        else
            rows.PutDF_Empty("Status");
    } else {
        rows.PutDF_Boolean("Reimburse", false);
    }
    rows.PutDF_Text("Item", expense.item);
    rows.PutDF_Text("ExpCat", expense.category);
    rows.PutDF_Text("Vendor", expense.vendor);
    rows.PutDF_Text("AcctCode", expense.account);
    rows.PutDF_Text("ChkNbr", expense.checkNumber);
    rows.PutDF_Text("Detail", expense.detail);
}

bool CSyncContext::CheckDesktopVersion()
{
    m_bLookupsChanged = false;
    CAdoRecordset version(&m_db);
    if (!version.OpenTable("QlVersion"))
        return false;
    version.m_strFind = "AppCode='Quillmar'";
    const bool accepted = version.FindFirst() && version.GetDF_Short("Major") >= 1;
    version.m_strFind = "AppCode='PalmUpdt'";
    if (version.FindFirst()) {
        m_wPalmUpdt = static_cast<std::uint16_t>(version.GetDF_Short("Major"));
        m_bLookupsChanged = m_wPalmUpdt != m_Prefs.wPalmUpdt;
    }
    version.Close();
    return accepted;
}

// ---- send of the lookup tables ----------------------------------------------------------------

std::int32_t CSyncContext::PushLookups()
{
    try {
        return RunPush();
    } catch (...) {
        return kWriteFailed;  // the handheld databases written so far stay; nothing is recorded
    }
}

std::int32_t CSyncContext::RunPush()
{
    const std::int32_t result = SendLookups(m_db);
    if (result != hh::kSyncOk)
        return result;  // nothing recorded: the next synchronisation sends everything again
    m_Prefs.wPalmUpdt = m_wPalmUpdt;
    hh::WritePrefs(m_Prefs);
    MarkHandheldUpdated();
    return result;
}

void CSyncContext::MarkHandheldUpdated()
{
    CAdoRecordset version(&m_db);
    if (!version.OpenTable("QlVersion"))
        return;
    version.m_strFind = "AppCode='PalmUpdt'";
    if (version.FindFirst()) {
        version.PutDF_Short("Minor", 1);
        version.Update();
    }
    version.Close();
}
