// The synchronisation engine: import of the handheld's expenses and the send of the lookup tables.
#include "conduit/sync/CSyncContext.h"

#include <cstdio>
#include <optional>

#include "conduit/handheld/CHHExpensesDB.h"
#include "conduit/handheld/HHExpense.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/ReadHandheldVersion.h"
#include "conduit/sync/ImportLedger.h"
#include "conduit/sync/SendLookups.h"
#include "conduit/sync/SyncLog.h"
#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"
#include "database/QlVersion.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"
#include "platform/palm/HotSyncHost.h"

namespace {

namespace col = schema::expenses;

// Rolls the desktop transaction back when the import leaves without committing, whatever the
// path (an unexpected exception included).
class TransactionGuard {
public:
    explicit TransactionGuard(CADODataBase& db) : m_db(db) {}
    ~TransactionGuard()
    {
        // Never throws. Its failure adds nothing to the one being reported, and closing the
        // connection after the sync rolls back whatever is left.
        if (m_bActive)
            (void)m_db.RollbackTrans();
    }
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

private:
    CADODataBase& m_db;     // the connection whose transaction this is
    bool m_bActive = true;  // begun and neither committed nor rolled back
};

std::string RecordText(std::uint16_t index, std::uint32_t recordID)
{
    char id[16];
    std::snprintf(id, sizeof id, "0x%06X", static_cast<unsigned>(recordID));
    return "Handheld expense record " + std::to_string(index) + " (unique ID " + id + ")";
}

void LogDamagedRecord(std::uint16_t index, const CHHExpensesDB& expenses)
{
    SyncLog::Line("--> Quillmar - " + RecordText(index, expenses.m_dwRecordID) + " is damaged: " + expenses.m_strDamage +
                  ". Nothing was imported; delete that expense on the handheld and HotSync again.");
}

// The handheld's HotSync user name, under which older import lists were kept.
std::string HandheldUserName()
{
    char name[128] = {};
    std::uint32_t size = sizeof name;
    return HotSyncGetUserName(name, &size) == hh::kSyncOk ? std::string(name) : std::string();
}

// The ExpID of the row the record set stands on (its bookmark is the row's key).
std::int32_t CurrentExpID(const CAdoRecordset& rows)
{
    const ole::Variant bookmark = rows.GetBookmark();
    const auto* mark = bookmark.get<ole::Bookmark>();
    return mark ? static_cast<std::int32_t>(mark->id) : 0;
}

// The desktop row of a handheld expense: the date YYYYMMDD at midnight, the amount in exact
// hundredths, Status 1 for a reimbursed expense of a reimbursable type (else the column's
// default). ExpenseRow derives ExpYear, and ProjectID (the date's year unless the type is
// reimbursable), from them. Every field is set, so one row serves the whole import and its
// strings keep their storage from record to record.
void FillDesktopRow(const hh::HHExpense& expense, ExpenseRow& row)
{
    row.m_nExpType = static_cast<std::int16_t>(expense.wExpType);
    row.m_dtDate = ole::DateTime(static_cast<int>(expense.dwDate / 10000), static_cast<int>(expense.dwDate / 100 % 100),
                                 static_cast<int>(expense.dwDate % 100), 0, 0, 0);
    row.m_cyAmount = ole::Currency::fromCents(expense.dwAmount);
    row.m_lProjectID = static_cast<std::int32_t>(expense.dwProjectID);
    row.m_nTypeComp = expense.bExpComp;
    row.m_bReimburse = expense.bReimburse != 0;
    row.m_nStatus.reset();
    if (row.IsReimbursableType() && row.m_bReimburse)
        row.m_nStatus = schema::billing::kIncurred;
    row.m_strItem = expense.item;
    row.m_strExpCat = expense.category;
    row.m_strVendor = expense.vendor;
    row.m_strAcctCode = expense.account;
    row.m_strChkNbr = expense.checkNumber;
    row.m_strDetail = expense.detail;
}

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

    CHHExpensesDB expenses;  // closed by its destructor, after the transaction has ended
    if (!expenses.Open())
        return expenses.m_lResult == hh::kSyncNotFound ? hh::kSyncOk : expenses.m_lResult;
    std::uint32_t handheldID = 0;
    if (const std::int32_t result = HotSyncGetUserID(&handheldID); result != hh::kSyncOk) {
        SyncLog::Line("--> Quillmar - the handheld has no HotSync ID and none could be saved on it, so its expenses "
                      "could not be told from another handheld's; nothing was imported");
        return result;
    }
    if (!m_db.BeginTrans())
        return kBeginFailed;
    ImportLedger ledger(m_db, handheldID, HandheldUserName(), expenses.m_dwCreateDate);
    std::vector<std::string> committedNotes;  // log lines true only once the import commits
    {
        TransactionGuard transaction(m_db);  // rolls back on every path that does not commit
        if (!ledger.Open()) {
            SyncLog::Line("--> Quillmar - HotSyncImports Open failed");
            return kTableOpenFailed;
        }
        if (const std::int32_t result = ImportRows(expenses, ledger, committedNotes); result != hh::kSyncOk)
            return result;
        if (!ledger.Save())
            return kStoreFailed;
        if (!transaction.Commit())
            return kCommitFailed;
    }
    for (const std::string& note : committedNotes)
        SyncLog::Line(note);
    // The expenses are stored, and so is which records they came from: if emptying the handheld
    // fails now, the next sync skips those records and empties it then.
    if (m_fnAfterCommit)
        m_fnAfterCommit();
    std::int32_t emptied = expenses.RemoveAll();
    if (emptied == hh::kSyncOk)
        emptied = expenses.Close();
    if (emptied != hh::kSyncOk) {
        SyncLog::Line(std::string("--> Quillmar - ") + hh::kExpensesDB +
                      " could not be emptied on the handheld. Its expenses are on the desktop already; the next "
                      "HotSync removes them from the handheld without importing them again");
        return emptied;
    }
    (void)ledger.ForgetHandheld();  // a failure leaves rows that the next import drops
    return hh::kSyncOk;
}

std::int32_t CSyncContext::ImportRows(CHHExpensesDB& expenses, ImportLedger& ledger, std::vector<std::string>& notes)
{
    CAdoRecordset rows(&m_db);  // closed before the transaction ends
    // The import only adds rows: none of those already stored is read.
    rows.m_strFilter = "0=1";
    if (!rows.OpenTable(col::kTable)) {
        SyncLog::Line("--> Quillmar - expense Open failed");
        return kTableOpenFailed;
    }
    ExpenseRow row;
    for (std::uint16_t index = 0; index < expenses.m_wRecordCount; ++index) {
        switch (expenses.ReadRecord(index)) {
        case CHHExpensesDB::Record::Failed: return kReadFailed;
        case CHHExpensesDB::Record::Skipped: continue;  // deleted or busy on the handheld
        case CHHExpensesDB::Record::Damaged: LogDamagedRecord(index, expenses); return kDamagedRecord;
        case CHHExpensesDB::Record::Expense: break;
        }
        const ImportLedger::Match before = ledger.Find(expenses.m_dwRecordID, expenses.m_dwDigest);
        if (before.found == ImportLedger::Found::Stored)
            continue;  // stored by a sync that stopped before it emptied the handheld
        FillDesktopRow(expenses.m_Expense, row);
        if (before.found == ImportLedger::Found::Changed) {
            // Changed on the handheld after a sync stored it: one record stays one row.
            const Replacement replaced = ReplaceRow(before.row, row);
            if (replaced == Replacement::Failed)
                return kStoreFailed;
            // Said once the import is committed: a rolled-back replacement is none.
            notes.push_back("--> Quillmar - " + RecordText(index, expenses.m_dwRecordID) +
                            " was changed on the handheld after a HotSync had stored it; " +
                            (replaced == Replacement::Replaced
                                 ? "its desktop expense was replaced"
                                 : "its desktop expense had been deleted since, so it was stored again"));
            if (replaced == Replacement::Replaced) {
                ledger.Note(expenses.m_dwRecordID, expenses.m_dwDigest, before.row);
                continue;
            }
        }
        // Started apart from the store, so a row that cannot even be begun keeps its own code.
        if (!rows.AddNew())
            return kAddNewFailed;
        if (!row.StoreOver(rows))
            return kStoreFailed;  // a refused value or store: the row is dropped, the rest rolls back
        ledger.Note(expenses.m_dwRecordID, expenses.m_dwDigest, CurrentExpID(rows));
    }
    return hh::kSyncOk;
}

CSyncContext::Replacement CSyncContext::ReplaceRow(std::int32_t expID, ExpenseRow& row)
{
    CAdoRecordset stored(&m_db);
    stored.m_strFilter = std::string(col::kExpID) + "=" + std::to_string(expID);
    if (!stored.OpenTable(col::kTable))
        return Replacement::Failed;
    if (stored.IsEOF())
        return Replacement::Gone;
    // A billing status set on the desktop since stays while the expense is still reimbursed.
    if (row.m_nStatus)
        if (const std::int16_t status = stored.GetDF_Short(col::kStatus); status > schema::billing::kNone)
            row.m_nStatus = status;
    return row.StoreOver(stored) ? Replacement::Replaced : Replacement::Failed;
}

bool CSyncContext::CheckDesktopVersion()
{
    m_bLookupsChanged = false;
    QlVersion version(m_db);
    if (version.CheckFormat() != QlVersion::Format::Accepted)
        return false;
    // Without a lookup-version row the flag stays clear and the lookup tables are never sent.
    if (const std::optional<std::uint16_t> lookups = version.LookupVersion()) {
        m_wPalmUpdt = *lookups;
        m_bLookupsChanged = m_wPalmUpdt != m_Prefs.wPalmUpdt;
    }
    return true;
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
    // The desktop's mark comes first: marked but not in the preference, the next synchronisation
    // sends again; in the preference but not marked, the desktop would never count a later change
    // of its tables, so they would never reach the handheld.
    if (!MarkHandheldUpdated())
        return kMarkFailed;
    m_Prefs.wPalmUpdt = m_wPalmUpdt;
    if (const std::int32_t written = hh::WritePrefs(m_Prefs); written != hh::kSyncOk) {
        SyncLog::Line("--> Quillmar - the conduit's preference could not be saved on the handheld");
        return written;
    }
    return result;
}

bool CSyncContext::MarkHandheldUpdated()
{
    return QlVersion(m_db).MarkDelivered();
}
