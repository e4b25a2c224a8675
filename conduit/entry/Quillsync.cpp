// The conduit's entry points: naming and describing the conduit, the two HotSync action dialogs,
// and one synchronisation with the log lines that say how it ended and why.
#include "conduit/entry/Quillsync.h"

#include <QApplication>
#include <algorithm>
#include <cstring>
#include <string>

#include "conduit/entry/CQuillCfgMinDlg.h"
#include "conduit/entry/CQuillConfigDlg.h"
#include "conduit/handheld/ReadHandheldVersion.h"
#include "conduit/sync/CSyncContext.h"
#include "conduit/sync/SyncLog.h"
#include "conduit/sync/SyncResultText.h"
#include "platform/ipc/DesktopChannel.h"
#include "platform/palm/HSLog.h"
#include "platform/palm/HotSyncAction.h"
#include "platform/palm/SyncMgr.h"
#include "platform/settings/ProfileSettings.h"

namespace {

constexpr const char* kConduitName = "Quillsync";
constexpr std::int32_t kVersion = 0x101;
constexpr std::int32_t kInfoVersion = 0x0710;

// Result codes of the entry points' argument checks.
constexpr std::int32_t kUnknownInfo = 4208;
constexpr std::int32_t kNoOutput = 4209;
constexpr std::int32_t kBadSize = 4211;
constexpr std::int32_t kNoArgument = 4212;
constexpr std::int32_t kBadArgument = 4213;
constexpr std::int32_t kNoSizeArgument = 4215;
constexpr std::int32_t kNoBlockSize = 4216;
constexpr std::int32_t kBadOperation = 4217;  // also: a sync type the conduit does not run
constexpr std::int32_t kBadBlockSize = 4218;
constexpr std::int32_t kBadBlockKind = 4219;

std::int32_t readLE(const void* block, int offset)
{
    const auto* p = static_cast<const std::uint8_t*>(block) + offset;
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                                     (std::uint32_t(p[3]) << 24));
}

void writeLE(void* block, int offset, std::int32_t value)
{
    auto* p = static_cast<std::uint8_t*>(block) + offset;
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

// The sync type fields of the request blocks.
palm::HotSyncAction readAction(const void* block, int offset) { return palm::HotSyncActionOf(readLE(block, offset)); }

void writeAction(void* block, int offset, palm::HotSyncAction action)
{
    writeLE(block, offset, palm::StoredValue(action));
}

void log(const char* text, std::int32_t activity) { LogAddEntry(text, activity, 0); }

// A line that tells the user more about a failure, below the closing line.
void logReason(const std::string& reason) { log(("--> Quillmar - " + reason).c_str(), HSLOG_TEXT); }

// Tells a running desktop program to close (10) or re-open (20) its database; nothing when none
// runs. Blocks until the desktop has done it. False when a desktop runs but did not answer.
bool NotifyDesktop(int code)
{
    return ipc::DesktopChannel::Notify(code) != ipc::DesktopChannel::Delivery::NotAnswered;
}

QWidget* activeWindow() { return qApp ? QApplication::activeWindow() : nullptr; }

// Why the handheld application did not pass: the version mismatch alone does not say whether it is
// missing, damaged or too old, and each asks something else of the user.
std::string handheldApplicationProblem()
{
    std::int32_t opened = 0;
    const std::int32_t version = hh::ReadHandheldVersion(&opened);
    switch (opened) {
    case SYNCERR_NONE:
        return "the Quillmar application on the handheld is version " + std::to_string(version) +
               "; version 1 or later is needed";
    case SYNCERR_NOT_FOUND: return "the Quillmar application is not installed on the handheld";
    case SYNCERR_FILE_CORRUPT: return "the Quillmar application's database on the handheld is damaged";
    default:
        return "the Quillmar application's database on the handheld could not be read (result " +
               std::to_string(opened) + ")";
    }
}

// The closing line and, for a failure, the lines that say why. The engine's own codes are
// explained here; the Sync Manager's codes passed on are the host's to explain.
void logOutcome(std::int32_t result, const CSyncContext& context)
{
    log("Quillmar", result == 0 ? HSLOG_SYNC_FINISHED : HSLOG_SYNC_ABORTED);
    SyncLog::Release();  // the engine's lines, under the line they explain
    if (result == 0)
        return;
    if (result == CSyncContext::kHandheldTooOld) {
        logReason("Remote version mismatch");
        logReason(handheldApplicationProblem());
        return;
    }
    if (const char* reason = SyncResultText(result))
        logReason(reason);
    if (const std::string desktop = DesktopFailureText(context.m_db.LastFailure()); !desktop.empty())
        logReason(desktop);
}

std::int32_t synchronise(palm::HotSyncAction action, const std::string& database)
{
    std::uint32_t registration = 0;
    const std::int32_t registered = SyncRegisterConduit(&registration);
    if (registered != 0) {
        log("Quillmar - Unable to register conduit.", HSLOG_SYNC_ABORTED);
        return registered;
    }
    log("", HSLOG_SYNC_STARTED);
    // The sync goes on either way: the database engine keeps the two writers apart.
    if (!NotifyDesktop(ipc::kCloseDatabase))
        logReason("the desktop program did not answer the request to close the database");
    SyncLog::Hold();
    const struct ReleaseOnExit {
        ~ReleaseOnExit() { SyncLog::Release(); }  // also when an exception leaves
    } release;
    std::int32_t result = 0;
    {
        CSyncContext context;
        context.m_strDBPath = database;
        result = context.ImportExpenses();
        if (result == 0 && action == palm::HotSyncAction::Synchronize && context.m_bLookupsChanged)
            result = context.PushLookups();
        context.m_db.Close();
        const bool reopened = NotifyDesktop(ipc::kReopenDatabase);
        logOutcome(result, context);
        if (!reopened)
            logReason("the desktop program did not answer the request to re-open the database");
        if (result == CSyncContext::kHandheldTooOld)
            result = 0;  // reported in the log, not as a failure code
    }
    // Unregistering saves any database still open; the engine closes its own, so a failure here
    // is one nothing else has reported.
    const std::int32_t unregistered = SyncUnRegisterConduit(registration);
    if (unregistered != 0) {
        log("--> Quillmar - a handheld database left open could not be saved", HSLOG_SYNC_ABORTED);
        if (result == 0)
            result = unregistered;
    }
    return result;
}

}  // namespace

extern "C" {

int32_t GetConduitName(char* pszName, uint16_t wSize)
{
    if (!pszName || wSize == 0)
        return 0;  // no room even for the terminating NUL: nothing is written
    std::memset(pszName, 0, wSize);
    std::strncpy(pszName, kConduitName, static_cast<std::size_t>(wSize - 1));
    return 0;
}

int32_t GetConduitVersion(void) { return kVersion; }

int32_t GetConduitInfo(int32_t infoType, int32_t* pArg, void* pOut, uint32_t* pdwSize)
{
    if (!pOut)
        return kNoOutput;
    if (!pdwSize)
        return kNoSizeArgument;
    switch (infoType) {
    case 0:
        if (!pArg)
            return kNoArgument;
        if (pArg[0] != 1 || pArg[1] != 80)
            return kBadArgument;
        GetConduitName(static_cast<char*>(pOut), static_cast<uint16_t>(*pdwSize & 0xFFFF));
        return 0;
    case 1:
    case 2:
        if (*pdwSize != 4)
            return kBadSize;
        writeLE(pOut, 0, infoType == 1 ? kInfoVersion : 0);
        return 0;
    default:
        return kUnknownInfo;
    }
}

int32_t ConfigureConduit(void* pBlock)
{
    if (!pBlock)
        return kNoArgument;
    writeLE(pBlock, kConfigureScopeOffset, 0);
    CQuillCfgMinDlg dialog(activeWindow());
    dialog.m_nRadioIndex = CSyncActionDlg::RadioIndexOf(readAction(pBlock, kConfigureSyncTypeOffset));
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    writeAction(pBlock, kConfigureSyncTypeOffset, CSyncActionDlg::SyncTypeOf(dialog.m_nRadioIndex));
    writeLE(pBlock, kConfigureScopeOffset, dialog.m_nSetDefault ? 1 : 2);
    return 0;
}

int32_t CfgConduit(int32_t operation, void* pBlock, uint32_t* pdwSize)
{
    if (!pBlock)
        return kNoArgument;
    if (!pdwSize)
        return kNoBlockSize;
    if (*pdwSize != kCfgBlockSize)
        return kBadBlockSize;
    if (operation != 0)
        return kBadOperation;
    if (readLE(pBlock, kCfgKindOffset) != 1)
        return kBadBlockKind;
    const char* name = static_cast<const char*>(pBlock) + kCfgUserNameOffset;
    CQuillConfigDlg dialog(activeWindow());
    dialog.m_strUserName.assign(name, strnlen(name, kCfgDefaultTypeOffset - kCfgUserNameOffset));
    dialog.m_defaultAction = readAction(pBlock, kCfgDefaultTypeOffset);
    dialog.m_nextAction = readAction(pBlock, kCfgNextTypeOffset);
    dialog.m_nRadioIndex = CSyncActionDlg::RadioIndexOf(dialog.m_nextAction);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    writeAction(pBlock, kCfgChosenTypeOffset, CSyncActionDlg::SyncTypeOf(dialog.m_nRadioIndex));
    writeLE(pBlock, kCfgScopeOffset, dialog.m_nSetDefault ? 1 : 2);
    return 0;
}

int32_t OpenConduit(void* pCallback, void* pProps)
{
    if (!pCallback || !pProps)
        return -1;
    const palm::HotSyncAction action = readAction(pProps, 0);
    if (action == palm::HotSyncAction::DoNothing) {
        log("Quillmar - sync configured to Do Nothing.", HSLOG_TEXT);
        return 0;
    }
    if (action != palm::HotSyncAction::Synchronize && action != palm::HotSyncAction::HandheldToDesktop) {
        log("Quillmar - Invalid sync operation.", HSLOG_SYNC_ABORTED);
        return kBadOperation;
    }
    const std::string database = settings::ProfileSettings::GetProfileString(
        settings::ProfileSettings::kSettingsSection, settings::ProfileSettings::kCurrentDatabaseEntry);
    if (database.empty()) {
        log("Quillmar - No Target database - ", HSLOG_SYNC_ABORTED);
        logReason("no desktop database is remembered: open one in Quillmar and tick \"Set as Default database\"");
        return 0;
    }
    try {
        return synchronise(action, database);
    } catch (const std::exception& error) {
        // Nothing may escape into the host; the engine itself never throws.
        log((std::string("--> Quillmar - ") + error.what()).c_str(), HSLOG_TEXT);
        log("Quillmar", HSLOG_SYNC_ABORTED);
        return CSyncContext::kTableOpenFailed;
    }
}

}  // extern "C"
