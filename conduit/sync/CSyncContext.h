// CSyncContext: the work of one synchronisation. ImportExpenses decides whether the handheld
// application and the desktop database may be synchronised, brings the handheld's expenses into
// the desktop table Expenses inside one transaction and then empties the handheld's expense
// database. PushLookups, run only after a clean import when the desktop's lookup tables changed
// since they were last sent, rewrites the five handheld lookup databases (SendLookups) and
// records the sent version on both sides; a record that cannot be stored fails it. The desktop is reached through its domain core
// (ExpenseRow, QlVersion) and CAdoRecordset, the handheld only through the CHH... classes;
// results are the codes below or a Sync Manager code passed on. No exception leaves either call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "conduit/handheld/ConduitPrefs.h"
#include "dbaccess/CADODataBase.h"

class CHHExpensesDB;
class ExpenseRow;
class ImportLedger;

class CSyncContext {
public:
    // Results besides 0 (success) and the Sync Manager codes passed on unchanged.
    static constexpr std::int32_t kHandheldTooOld = -1;        // handheld application below version 1
    static constexpr std::int32_t kNoBuiltInCategory = 4098;   // no category of expense type 0
    static constexpr std::int32_t kCreateFailed = 4100;        // a handheld lookup database could not be created
    static constexpr std::int32_t kTableOpenFailed = 4101;     // a desktop table could not be opened (logged)
    static constexpr std::int32_t kWriteFailed = 4104;         // writing a handheld record failed
    static constexpr std::int32_t kRemoveFailed = 4113;        // emptying a handheld lookup database failed
    static constexpr std::int32_t kMarkFailed = 4114;          // the desktop could not record a complete send
    static constexpr std::int32_t kDatabaseOpenFailed = 4353;  // the desktop database could not be opened
    static constexpr std::int32_t kVersionCheckFailed = 4354;  // the desktop database failed the version check
    static constexpr std::int32_t kReadFailed = 4355;          // a handheld expense record could not be read
    static constexpr std::int32_t kDamagedRecord = 4356;       // a handheld expense record is damaged (logged)
    static constexpr std::int32_t kAddNewFailed = 4358;        // a new desktop expense row could not be started
    static constexpr std::int32_t kStoreFailed = 4359;         // a new desktop expense row could not be stored
    static constexpr std::int32_t kBeginFailed = 4368;         // the desktop transaction could not be started
    static constexpr std::int32_t kCommitFailed = 4369;        // the desktop transaction could not be committed
    static constexpr std::int32_t kNoRows = 4384;              // lkpAccounts, or the active Projects, is empty

    CSyncContext() = default;
    CSyncContext(const CSyncContext&) = delete;
    CSyncContext& operator=(const CSyncContext&) = delete;

    // Always called first.
    [[nodiscard]] std::int32_t ImportExpenses();
    // Called only when ImportExpenses returned 0, the sync type is 0 and m_bLookupsChanged is set.
    [[nodiscard]] std::int32_t PushLookups();

    std::string m_strDBPath;                          // the desktop database (CurrDBName)
    bool m_bLookupsChanged = false;                   // PalmUpdt Major differs from the one last sent
    CADODataBase m_db;                                // opened by ImportExpenses; closed by the owner
    hh::ConduitPrefs m_Prefs;                         // read at the start of ImportExpenses
    std::uint16_t m_wPalmUpdt = 0;                    // Major of the desktop's PalmUpdt row
    std::function<void()> m_fnAfterCommit;            // tests: runs after the import's commit,
                                                      //   before the handheld is emptied

private:
    enum class Replacement { Replaced, Gone, Failed };

    [[nodiscard]] std::int32_t RunImport();
    // notes receives the log lines that hold only once the import has committed.
    [[nodiscard]] std::int32_t ImportRows(CHHExpensesDB& expenses, ImportLedger& ledger,
                                          std::vector<std::string>& notes);
    // Stores row over the row ExpID expID; Gone when that row was deleted meanwhile.
    Replacement ReplaceRow(std::int32_t expID, ExpenseRow& row);
    [[nodiscard]] std::int32_t RunPush();

    [[nodiscard]] bool CheckDesktopVersion();
    [[nodiscard]] bool MarkHandheldUpdated();
};
