// The five send steps as one table and the one routine that runs a step: open the step's desktop
// table, open (replacing it when damaged) and empty its handheld database, turn each row into a
// record, and close it, which saves it. Record sets, and handheld databases on a failure, close
// when the step's scope ends.
#include "conduit/sync/SendLookups.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "conduit/handheld/CHHAccountsDB.h"
#include "conduit/handheld/CHHCategoriesDB.h"
#include "conduit/handheld/CHHExpFilterDB.h"
#include "conduit/handheld/CHHExpTypesDB.h"
#include "conduit/handheld/CHHProjectsDB.h"
#include "conduit/handheld/ExpFilterEntry.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/sync/CSyncContext.h"
#include "conduit/sync/SyncLog.h"
#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"

namespace {

namespace accounts = schema::accounts;
namespace types = schema::types;
namespace categories = schema::categories;
namespace projects = schema::projects;

constexpr const char* kTypeSort = "ExpType ASC";
constexpr const char* kCategorySort = "ExpType ASC, ExpCat ASC";
constexpr const char* kBuiltInLabel = "TaxDed";  // the handheld's name for expense type 0

// What the steps learn and hand on to the steps after them. It lives for one send.
struct SendState {
    bool activeProject = false;                     // a project is active (read by the types step)
    std::set<std::int16_t> categorisedTypes;        // types with a category (read by the types step)
    std::vector<std::uint16_t> sentTypes;           // written to "Qlmr-ExpTypes"; their categories go
    bool reimbursableSent = false;                  // a type with ExpComp 2 went; so projects go too
    std::vector<hh::ExpFilterEntry> filterEntries;  // from the types and projects steps, in order
};

struct LookupStep;

// Hooks of a step. Before: may end the step (with its result) before anything is opened.
// Prepare: runs once the desktop table is open and before the handheld is touched; nonzero ends
// the step. Rewrite: opens and empties the handheld database and writes the step's records.
using BeforeHook = std::optional<std::int32_t> (*)(CADODataBase& db, SendState& state);
using PrepareHook = std::int32_t (*)(CADODataBase& db, SendState& state);
using RewriteHook = std::int32_t (*)(const LookupStep& step, CAdoRecordset& rows, long count, SendState& state);

struct LookupStep {
    const char* table;               // desktop table whose rows are sent; nullptr: none
    const char* filter;              // which rows ("" for all)
    const char* sort;                // in which order
    const char* openFailedLog;       // HotSync log line when the table cannot be opened
    bool rowsRequired;               // an empty table stops the send with 4384
    bool removeFailurePassedOn;      // emptying the handheld database fails with the Sync
                                     //   Manager's code rather than 4113
    BeforeHook before;               // or nullptr
    PrepareHook prepare;             // or nullptr
    RewriteHook rewrite;             // the handheld database and how a row becomes a record
};

// A log line about one handheld database: its name and what happened to it.
void LogDatabase(const CHHDatabase& handheld, const char* what)
{
    SyncLog::Line(("--> Quillmar - " + handheld.Name() + " " + what).c_str());
}

// Records a step writes before (or, for the filter list, instead of) the desktop rows; and how
// one desktop row becomes records. Both answer false when a write failed.
template <class HandheldDB>
using LeadingWriter = bool (*)(SendState& state, HandheldDB& handheld);
template <class HandheldDB>
using RowWriter = bool (*)(CAdoRecordset& row, SendState& state, HandheldDB& handheld);

// A lookup database holds nothing but what the send rewrites, so a damaged one is replaced rather
// than failing every send; the log says so.
std::int32_t ReplaceIfDamaged(CHHDatabase& handheld)
{
    if (!handheld.IsDamaged())
        return hh::kSyncOk;
    if (handheld.ReplaceDamaged() != hh::kSyncOk) {
        LogDatabase(handheld, "on the handheld is damaged and could not be replaced");
        return CSyncContext::kCreateFailed;
    }
    LogDatabase(handheld, "on the handheld was damaged and has been replaced");
    return hh::kSyncOk;
}

template <class HandheldDB, LeadingWriter<HandheldDB> WriteLeading, RowWriter<HandheldDB> WriteRow>
std::int32_t Rewrite(const LookupStep& step, CAdoRecordset& rows, long count, SendState& state)
{
    HandheldDB handheld;  // on a failure its destructor closes it, before the step's record set
    if (!handheld.Open())
        return CSyncContext::kCreateFailed;
    if (const std::int32_t replaced = ReplaceIfDamaged(handheld); replaced != hh::kSyncOk)
        return replaced;
    if (const std::int32_t removed = handheld.RemoveAll(); removed != hh::kSyncOk)
        return step.removeFailurePassedOn ? removed : CSyncContext::kRemoveFailed;
    if constexpr (WriteLeading != nullptr) {
        if (!WriteLeading(state, handheld))
            return CSyncContext::kWriteFailed;
    }
    if constexpr (WriteRow != nullptr) {
        if (count > 0)
            rows.MoveFirst();
        for (long row = 0; row < count; ++row, rows.MoveNext())
            if (!WriteRow(rows, state, handheld))
                return CSyncContext::kWriteFailed;
    }
    // Closing is what saves the records: a save that fails fails the step with its own code.
    const std::int32_t closed = handheld.Close();
    if (closed != hh::kSyncOk)
        LogDatabase(handheld, "could not be saved on the handheld");
    return closed;
}

// ---- accounts -----------------------------------------------------------------------------------

bool SendAccount(CAdoRecordset& row, SendState&, CHHAccountsDB& handheld)
{
    return handheld.WriteAccount(row.GetDF_Text(accounts::kAcctCode));
}

// ---- expense types ------------------------------------------------------------------------------

// A reimbursable type is sent only while a project is active to charge it to; a failed open
// counts as no active project.
std::optional<std::int32_t> NoteActiveProject(CADODataBase& db, SendState& state)
{
    CAdoRecordset active(&db);
    active.m_strFilter = projects::kActiveFilter;
    active.m_strSort = projects::kProjectID;
    state.activeProject = active.OpenTable(projects::kTable) && !active.IsBOF();
    return std::nullopt;
}

// A type without categories is not sent, and the handheld needs a category of type 0.
std::int32_t NoteCategorisedTypes(CADODataBase& db, SendState& state)
{
    CAdoRecordset rows(&db);
    rows.m_strSort = kCategorySort;
    if (!rows.OpenTable(categories::kTable)) {
        SyncLog::Line("--> Quillmar - lkpExpCategories Open failed");
        return CSyncContext::kTableOpenFailed;
    }
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext())
        state.categorisedTypes.insert(rows.GetDF_Short(categories::kExpType));
    if (!state.categorisedTypes.contains(schema::typerange::kTax))
        return CSyncContext::kNoBuiltInCategory;
    return hh::kSyncOk;
}

bool SendBuiltInType(SendState& state, CHHExpTypesDB& handheld)
{
    constexpr std::uint16_t kTax = schema::typerange::kTax;
    if (!handheld.WriteExpType(kTax, schema::comp::kSystem, kBuiltInLabel))
        return false;
    state.sentTypes.push_back(kTax);
    state.filterEntries.push_back(hh::ExpFilterEntry::Make(kTax, 0, kBuiltInLabel));
    return true;
}

bool SendType(CAdoRecordset& row, SendState& state, CHHExpTypesDB& handheld)
{
    const std::int16_t type = row.GetDF_Short(types::kExpType);
    if (!state.categorisedTypes.contains(type))
        return true;
    const std::uint8_t comp = row.GetDF_Byte(types::kExpComp);
    const bool reimbursable = comp == schema::comp::kReimbursable;
    if (reimbursable && !state.activeProject)
        return true;  // nothing to charge it to on the handheld
    const std::string label = row.GetDF_Text(types::kExpLabel);
    const auto handheldType = static_cast<std::uint16_t>(type);
    if (!handheld.WriteExpType(handheldType, comp, label))
        return false;
    state.sentTypes.push_back(handheldType);
    if (reimbursable)
        state.reimbursableSent = true;  // its expenses are filtered by project, not by type
    else
        state.filterEntries.push_back(hh::ExpFilterEntry::Make(handheldType, 0, label));
    return true;
}

// ---- categories ---------------------------------------------------------------------------------

// The sent types and the categories are both in ascending type order, so walking the categories
// writes them type by type in the order the types were sent.
bool SendCategory(CAdoRecordset& row, SendState& state, CHHCategoriesDB& handheld)
{
    const auto type = static_cast<std::uint16_t>(row.GetDF_Short(categories::kExpType));
    if (std::find(state.sentTypes.begin(), state.sentTypes.end(), type) == state.sentTypes.end())
        return true;
    return handheld.WriteCategory(type, row.GetDF_Text(categories::kExpCat));
}

// ---- projects -----------------------------------------------------------------------------------

// Without a reimbursable type the handheld has no use for projects: their database goes.
std::optional<std::int32_t> DeleteProjectsUnlessCharged(CADODataBase&, SendState& state)
{
    if (state.reimbursableSent)
        return std::nullopt;
    const std::int32_t deleted = SyncDeleteDB(hh::kProjectsDB, hh::kCardNumber);
    return deleted == hh::kSyncNotFound ? hh::kSyncOk : deleted;
}

bool SendProject(CAdoRecordset& row, SendState& state, CHHProjectsDB& handheld)
{
    const std::string name = row.GetDF_Text(projects::kProjectName);
    const auto id = static_cast<std::uint32_t>(row.GetDF_Long(projects::kProjectID));
    if (!handheld.WriteProject(id, name))
        return false;
    state.filterEntries.push_back(hh::ExpFilterEntry::Make(hh::kFilterKindProject, id, name));
    return true;
}

// ---- the combined filter list -------------------------------------------------------------------

// With nothing collected, "Qlmr-ExpFilter" stays as it is.
std::optional<std::int32_t> KeepFilterUnlessCollected(CADODataBase&, SendState& state)
{
    if (state.filterEntries.empty())
        return hh::kSyncOk;
    return std::nullopt;
}

bool SendFilterEntries(SendState& state, CHHExpFilterDB& handheld)
{
    for (const hh::ExpFilterEntry& entry : state.filterEntries)
        if (!handheld.WriteFilterEntry(entry.wKind, entry.dwID, entry.szLabel))
            return false;
    return true;
}

// ---- the steps ----------------------------------------------------------------------------------

const LookupStep kSteps[] = {
    {.table = accounts::kTable,
     .filter = "",
     .sort = accounts::kAcctCode,
     .openFailedLog = "--> Quillmar - lkpExpAccounts Open failed",
     .rowsRequired = true,
     .removeFailurePassedOn = false,
     .before = nullptr,
     .prepare = nullptr,
     .rewrite = Rewrite<CHHAccountsDB, nullptr, SendAccount>},
    {.table = types::kTable,
     .filter = schema::typerange::kUserTypesFilter,
     .sort = kTypeSort,
     .openFailedLog = "--> Quillmar - lkpExpTypes Open failed",
     .rowsRequired = false,
     .removeFailurePassedOn = false,
     .before = NoteActiveProject,
     .prepare = NoteCategorisedTypes,
     .rewrite = Rewrite<CHHExpTypesDB, SendBuiltInType, SendType>},
    {.table = categories::kTable,
     .filter = "",
     .sort = kCategorySort,
     .openFailedLog = "--> Quillmar - lkpExpCategories Open2 failed",
     .rowsRequired = false,
     .removeFailurePassedOn = false,
     .before = nullptr,
     .prepare = nullptr,
     .rewrite = Rewrite<CHHCategoriesDB, nullptr, SendCategory>},
    {.table = projects::kTable,
     .filter = projects::kActiveFilter,
     .sort = projects::kProjectID,
     .openFailedLog = "--> Quillmar - Projects Open failed",
     .rowsRequired = true,
     .removeFailurePassedOn = false,
     .before = DeleteProjectsUnlessCharged,
     .prepare = nullptr,
     .rewrite = Rewrite<CHHProjectsDB, nullptr, SendProject>},
    {.table = nullptr,
     .filter = "",
     .sort = "",
     .openFailedLog = nullptr,
     .rowsRequired = false,
     .removeFailurePassedOn = true,
     .before = KeepFilterUnlessCollected,
     .prepare = nullptr,
     .rewrite = Rewrite<CHHExpFilterDB, SendFilterEntries, nullptr>},
};

std::int32_t RunStep(const LookupStep& step, CADODataBase& db, SendState& state)
{
    if (step.before)
        if (const std::optional<std::int32_t> ended = step.before(db, state))
            return *ended;
    CAdoRecordset rows(&db);  // closed when the step ends
    long count = 0;
    if (step.table) {
        rows.m_strFilter = step.filter;
        rows.m_strSort = step.sort;
        if (!rows.OpenTable(step.table)) {
            SyncLog::Line(step.openFailedLog);
            return CSyncContext::kTableOpenFailed;
        }
        count = rows.GetRecordCount();
        if (step.rowsRequired && count <= 0)
            return CSyncContext::kNoRows;
    }
    if (step.prepare)
        if (const std::int32_t prepared = step.prepare(db, state); prepared != hh::kSyncOk)
            return prepared;
    return step.rewrite(step, rows, count, state);
}

}  // namespace

std::int32_t SendLookups(CADODataBase& db)
{
    SendState state;
    for (const LookupStep& step : kSteps)
        if (const std::int32_t result = RunStep(step, db, state); result != hh::kSyncOk)
            return result;
    return hh::kSyncOk;
}
