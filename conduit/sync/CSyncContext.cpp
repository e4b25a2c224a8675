// The synchronisation engine: import of the handheld's expenses and the send of the lookup tables.
#include "conduit/sync/CSyncContext.h"

#include "conduit/handheld/CHHAccountsDB.h"
#include "conduit/handheld/CHHCategoriesDB.h"
#include "conduit/handheld/CHHExpFilterDB.h"
#include "conduit/handheld/CHHExpTypesDB.h"
#include "conduit/handheld/CHHExpensesDB.h"
#include "conduit/handheld/CHHProjectsDB.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/HandheldText.h"
#include "conduit/handheld/ReadHandheldVersion.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"
#include "platform/palm/HSLog.h"

namespace {

constexpr std::uint8_t kReimbursableComp = 2;   // ExpComp of a reimbursable expense type
constexpr std::int16_t kStatusIncurred = 1;     // Status of an imported reimbursed expense
constexpr const char* kBuiltInLabel = "TaxDed"; // the handheld's name for expense type 0

void LogText(const char* text)
{
    LogAddEntry(text, HSLOG_TEXT, 0);
}

std::string TypeCriterion(std::int16_t type)
{
    return "ExpType=" + std::to_string(static_cast<long>(type));
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
    rows.PutDF_Text("Item", hh::FromHandheldText(expense.item));
    rows.PutDF_Text("ExpCat", hh::FromHandheldText(expense.category));
    rows.PutDF_Text("Vendor", hh::FromHandheldText(expense.vendor));
    rows.PutDF_Text("AcctCode", hh::FromHandheldText(expense.account));
    rows.PutDF_Text("ChkNbr", hh::FromHandheldText(expense.checkNumber));
    rows.PutDF_Text("Detail", hh::FromHandheldText(expense.detail));
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
        m_SentTypes.clear();
        m_FilterEntries.clear();
        return kWriteFailed;  // the handheld databases written so far stay; nothing is recorded
    }
}

std::int32_t CSyncContext::RunPush()
{
    m_bReimbursableSent = false;
    m_SentTypes.clear();
    m_FilterEntries.clear();

    std::int32_t result = PushAccounts();
    if (result == hh::kSyncOk)
        result = PushExpTypes();
    if (result == hh::kSyncOk)
        result = PushCategories();
    if (result == hh::kSyncOk)
        result = PushProjects();
    if (result == hh::kSyncOk)
        result = PushExpFilter();
    if (result == hh::kSyncOk) {
        m_Prefs.wPalmUpdt = m_wPalmUpdt;
        hh::WritePrefs(m_Prefs);
        MarkHandheldUpdated();
    }
    m_SentTypes.clear();
    m_FilterEntries.clear();
    return result;
}

std::int32_t CSyncContext::PushAccounts()
{
    CAdoRecordset accounts(&m_db);
    accounts.m_strSort = "AcctCode";
    if (!accounts.OpenTable("lkpAccounts")) {
        LogText("--> Quillmar - lkpExpAccounts Open failed");
        return kTableOpenFailed;
    }
    const long count = accounts.GetRecordCount();
    if (count <= 0) {
        accounts.Close();
        return kNoRows;
    }
    CHHAccountsDB handheld;
    if (!handheld.Open())
        return kCreateFailed;
    if (handheld.RemoveAll() != hh::kSyncOk)
        return kRemoveFailed;

    std::int32_t result = hh::kSyncOk;
    accounts.MoveFirst();
    for (long row = 0; row < count; ++row) {
        if (!handheld.WriteAccount(accounts.GetDF_Text("AcctCode"))) {
            result = kWriteFailed;
            break;
        }
        accounts.MoveNext();
    }
    handheld.Close();
    accounts.Close();
    return result;
}

bool CSyncContext::HasActiveProject()
{
    CAdoRecordset projects(&m_db);
    projects.m_strFilter = "Active=TRUE";
    projects.m_strSort = "ProjectID";
    if (!projects.OpenTable("Projects"))
        return false;
    const bool active = !projects.IsBOF();
    projects.Close();
    return active;
}

std::int32_t CSyncContext::PushExpTypes()
{
    const bool activeProject = HasActiveProject();

    CAdoRecordset types(&m_db);
    types.m_strFilter = "ExpType > 9";
    types.m_strSort = "ExpType ASC";
    if (!types.OpenTable("lkpExpTypes")) {
        LogText("--> Quillmar - lkpExpTypes Open failed");
        return kTableOpenFailed;
    }
    const long typeCount = types.GetRecordCount();
    CAdoRecordset categories(&m_db);
    categories.m_strSort = "ExpType ASC, ExpCat ASC";
    if (!categories.OpenTable("lkpExpCategories")) {
        LogText("--> Quillmar - lkpExpCategories Open failed");
        return kTableOpenFailed;
    }
    categories.m_strFind = TypeCriterion(0);
    if (!categories.FindFirst())
        return kNoBuiltInCategory;

    CHHExpTypesDB handheld;
    if (!handheld.Open())
        return kCreateFailed;
    if (handheld.RemoveAll() != hh::kSyncOk)
        return kRemoveFailed;
    if (!handheld.WriteExpType(0, 0, kBuiltInLabel))
        return kWriteFailed;
    m_SentTypes.push_back(0);
    m_FilterEntries.push_back(hh::ExpFilterEntry::Make(0, 0, kBuiltInLabel));

    std::int32_t result = hh::kSyncOk;
    types.MoveFirst();
    for (long row = 0; row < typeCount; ++row, types.MoveNext()) {
        const std::int16_t type = types.GetDF_Short("ExpType");
        categories.m_strFind = TypeCriterion(type);
        if (!categories.FindFirst())
            continue;  // a type without categories is not sent
        const std::string label = types.GetDF_Text("ExpLabel");
        const std::uint8_t comp = types.GetDF_Byte("ExpComp");
        const auto handheldType = static_cast<std::uint16_t>(type);
        if (comp == kReimbursableComp) {
            if (!activeProject)
                continue;  // nothing to charge it to on the handheld
            m_bReimbursableSent = true;
        } else {
            m_FilterEntries.push_back(hh::ExpFilterEntry::Make(handheldType, 0, label));
        }
        if (!handheld.WriteExpType(handheldType, comp, label)) {
            result = kWriteFailed;
            break;
        }
        m_SentTypes.push_back(handheldType);
    }
    handheld.Close();
    types.Close();
    categories.Close();
    return result;
}

std::int32_t CSyncContext::PushCategories()
{
    CAdoRecordset categories(&m_db);
    categories.m_strSort = "ExpType ASC, ExpCat ASC";
    if (!categories.OpenTable("lkpExpCategories")) {
        LogText("--> Quillmar - lkpExpCategories Open2 failed");
        return kTableOpenFailed;
    }
    CHHCategoriesDB handheld;
    if (!handheld.Open())
        return kCreateFailed;
    if (handheld.RemoveAll() != hh::kSyncOk)
        return kRemoveFailed;

    std::int32_t result = hh::kSyncOk;
    for (const std::uint16_t sent : m_SentTypes) {
        const auto type = static_cast<std::int16_t>(sent);
        categories.m_strFind = TypeCriterion(type);
        if (!categories.FindFirst() || categories.IsEOF())
            continue;
        while (categories.GetDF_Short("ExpType") == type) {
            if (!handheld.WriteCategory(sent, categories.GetDF_Text("ExpCat"))) {
                result = kWriteFailed;
                break;
            }
            categories.MoveNext();
            if (categories.IsEOF())
                break;
        }
        if (result != hh::kSyncOk)
            break;
    }
    handheld.Close();
    categories.Close();
    m_SentTypes.clear();
    return result;
}

std::int32_t CSyncContext::PushProjects()
{
    if (!m_bReimbursableSent) {
        const std::int32_t deleted = SyncDeleteDB(hh::kProjectsDB, hh::kCardNumber);
        return deleted == hh::kSyncNotFound ? hh::kSyncOk : deleted;
    }
    CAdoRecordset projects(&m_db);
    projects.m_strFilter = "Active=TRUE";
    projects.m_strSort = "ProjectID";
    if (!projects.OpenTable("Projects")) {
        LogText("--> Quillmar - Projects Open failed");
        return kTableOpenFailed;
    }
    const long count = projects.GetRecordCount();
    if (count <= 0) {
        projects.Close();
        return kNoRows;
    }
    CHHProjectsDB handheld;
    if (!handheld.Open())
        return kCreateFailed;
    if (handheld.RemoveAll() != hh::kSyncOk)
        return kRemoveFailed;

    std::int32_t result = hh::kSyncOk;
    projects.MoveFirst();
    for (long row = 0; row < count; ++row) {
        const std::string name = projects.GetDF_Text("ProjectName");
        const auto id = static_cast<std::uint32_t>(projects.GetDF_Long("ProjectID"));
        if (!handheld.WriteProject(id, name)) {
            result = kWriteFailed;
            break;
        }
        m_FilterEntries.push_back(hh::ExpFilterEntry::Make(hh::kFilterKindProject, id, name));
        projects.MoveNext();
    }
    handheld.Close();
    projects.Close();
    return result;
}

std::int32_t CSyncContext::PushExpFilter()
{
    if (m_FilterEntries.empty())
        return hh::kSyncOk;
    CHHExpFilterDB handheld;
    if (!handheld.Open())
        return kCreateFailed;
    if (const std::int32_t removed = handheld.RemoveAll(); removed != hh::kSyncOk)
        return removed;  // passed on unchanged

    std::int32_t result = hh::kSyncOk;
    for (const hh::ExpFilterEntry& entry : m_FilterEntries) {
        if (!handheld.WriteFilterEntry(entry.wKind, entry.dwID, entry.szLabel)) {
            result = kWriteFailed;
            break;
        }
    }
    handheld.Close();
    m_FilterEntries.clear();
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
