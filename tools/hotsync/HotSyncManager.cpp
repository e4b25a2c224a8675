// The HotSync host's commands.
#include "tools/hotsync/HotSyncManager.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>

#include "conduit/entry/Quillsync.h"
#include "platform/palm/HotSyncHost.h"
#include "platform/palm/SyncMgr.h"
#include "tools/hotsync/HandheldFolder.h"
#include "tools/hotsync/SyncErrorText.h"

// QUILLSYNC_INSTALLED_LIBRARY: where an installed conduit lies, from the installed program's
// folder. QUILLSYNC_LIBRARY: the conduit in the build tree, for the program run from there.
#ifndef QUILLSYNC_LIBRARY
#define QUILLSYNC_LIBRARY "libQuillsync.so"
#endif

namespace {

std::string DefaultConduit(const std::string& programPath)
{
#ifdef QUILLSYNC_INSTALLED_LIBRARY
    const QFileInfo installed(QFileInfo(QString::fromStdString(programPath)).dir(), QStringLiteral(QUILLSYNC_INSTALLED_LIBRARY));
    if (installed.isFile())
        return installed.absoluteFilePath().toStdString();
#else
    (void)programPath;
#endif
    return QUILLSYNC_LIBRARY;
}

const char* const kHelp =
    "Usage: hotsync --handheld DIR [--action synchronize|handheld-to-desktop|nothing]\n"
    "               [--conduit LIBRARY] [--log FILE]\n"
    "       hotsync --configure [--handheld DIR] [--user NAME] [--conduit LIBRARY]\n"
    "\n"
    "Runs a HotSync of the handheld directory DIR with the Quillmar conduit: the handheld's\n"
    "expenses go into the desktop database Quillmar has as its default, and with the synchronize\n"
    "action changed lookup tables go to the handheld. A running Quillmar closes its database\n"
    "during the sync and re-opens it afterwards. The HotSync log is printed and appended to\n"
    "the log file.\n"
    "\n"
    "  --handheld DIR   the handheld: a directory of Palm database files (see 'handheld')\n"
    "  --action A       the action of this HotSync; otherwise the one chosen with --configure\n"
    "                   (a 'next HotSync only' choice first, then the default, synchronize)\n"
    "  --conduit LIB    the conduit library (default: the one installed with this program,\n"
    "                   or the one built with it)\n"
    "  --log FILE       where the log is kept (default: ~/.local/share/Corvander/HotSync.log)\n"
    "  --configure      shows the conduit's \"Change HotSync Action\" dialog and keeps the choice\n"
    "  --user NAME      the HotSync user shown by --configure (default: the handheld's user)\n"
    "\n"
    "Exit status: 0 when the HotSync completed, 1 when it failed (the log says why, also when\n"
    "another HotSync holds the handheld), 2 for a command line it cannot use.\n";

QSettings actions() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "Corvander", "HotSync"); }

// The conduit library, loaded for one command.
class Conduit {
public:
    bool Load(const std::string& path, std::string& error)
    {
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) {
            error = dlerror();
            return false;
        }
        const auto find = [&](const char* name) {
            void* symbol = dlsym(m_handle, name);
            if (!symbol)
                error += std::string(error.empty() ? "" : ", ") + "no entry point " + name;
            return symbol;
        };
        getName = reinterpret_cast<decltype(getName)>(find("GetConduitName"));
        getVersion = reinterpret_cast<decltype(getVersion)>(find("GetConduitVersion"));
        getInfo = reinterpret_cast<decltype(getInfo)>(find("GetConduitInfo"));
        configure = reinterpret_cast<decltype(configure)>(find("ConfigureConduit"));
        open = reinterpret_cast<decltype(open)>(find("OpenConduit"));
        cfg = reinterpret_cast<decltype(cfg)>(find("CfgConduit"));
        return error.empty();
    }
    ~Conduit()
    {
        if (m_handle)
            dlclose(m_handle);
    }

    int32_t (*getName)(char*, uint16_t) = nullptr;
    int32_t (*getVersion)() = nullptr;
    int32_t (*getInfo)(int32_t, int32_t*, void*, uint32_t*) = nullptr;
    int32_t (*configure)(void*) = nullptr;
    int32_t (*open)(void*, void*) = nullptr;
    int32_t (*cfg)(int32_t, void*, uint32_t*) = nullptr;

private:
    void* m_handle = nullptr;  // from dlopen
};

void putLE(std::uint8_t* block, int offset, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        block[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

std::int32_t getLE(const std::uint8_t* block, int offset)
{
    return static_cast<std::int32_t>(std::uint32_t(block[offset]) | (std::uint32_t(block[offset + 1]) << 8) |
                                     (std::uint32_t(block[offset + 2]) << 16) | (std::uint32_t(block[offset + 3]) << 24));
}

void collectLine(void* context, const char* text, std::int32_t activity, std::int32_t)
{
    auto* lines = static_cast<std::vector<HotSyncManager::LogLine>*>(context);
    lines->push_back({text ? text : "", activity});
}

// The file behind a result, to name beside it: the one libpalmsync last refused as damaged
// (SYNCERR_FILE_CORRUPT) or could not save (SYNCERR_FILE_IO); empty when none.
std::string FileBehind(std::int32_t result)
{
    char path[4096] = {};
    std::uint32_t size = sizeof path;
    const std::int32_t found = result == SYNCERR_FILE_CORRUPT ? HotSyncGetDamagedFile(path, &size)
                               : result == SYNCERR_FILE_IO    ? HotSyncGetUnsavedFile(path, &size)
                                                              : SYNCERR_NOT_FOUND;
    return found == 0 ? std::string(path) : std::string();
}

// OpenConduit only tests its callback for null; the host passes this one.
void progressCallback() {}

std::string actionName(palm::HotSyncAction action)
{
    switch (action) {
    case palm::HotSyncAction::Synchronize: return "Synchronize PC & Handheld";
    case palm::HotSyncAction::HandheldToDesktop: return "Handheld writes to Desktop";
    case palm::HotSyncAction::DoNothing: return "Do nothing";
    }
    return "action " + std::to_string(palm::StoredValue(action));
}

}  // namespace

palm::HotSyncAction HotSyncManager::DefaultAction()
{
    const std::int32_t stored = palm::StoredValue(palm::HotSyncAction::Synchronize);
    return palm::HotSyncActionOf(actions().value("Quillsync/DefaultAction", stored).toInt());
}

std::optional<palm::HotSyncAction> HotSyncManager::NextAction()
{
    const std::int32_t stored = actions().value("Quillsync/NextAction", -1).toInt();
    if (stored < 0)
        return std::nullopt;
    return palm::HotSyncActionOf(stored);
}

void HotSyncManager::StoreAction(palm::HotSyncAction action, std::int32_t scope)
{
    QSettings settings = actions();
    if (scope == 1) {
        settings.setValue("Quillsync/DefaultAction", palm::StoredValue(action));
        settings.remove("Quillsync/NextAction");
    } else if (scope == 2) {
        settings.setValue("Quillsync/NextAction", palm::StoredValue(action));
    }
}

palm::HotSyncAction HotSyncManager::TakeAction()
{
    const std::optional<palm::HotSyncAction> next = NextAction();
    if (!next)
        return DefaultAction();
    actions().remove("Quillsync/NextAction");
    return *next;
}

std::string HotSyncManager::DefaultLogPath()
{
    return (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Corvander/HotSync.log").toStdString();
}

std::string HotSyncManager::FormatLogLine(const LogLine& line)
{
    switch (line.activity) {
    case 19: return line.text;
    case 20: return "OK " + line.text;
    case kActivityFailed: return "FAILED " + line.text;
    default: return line.text;
    }
}

std::string HotSyncManager::ClosingLine(std::int32_t result, const std::string& file, const std::string& conduit)
{
    if (result == 0)
        return "HotSync failed (" + conduit + " reported a failure above)";
    const std::string reason = SyncErrorText(result, file);
    return "HotSync failed (result " + std::to_string(result) + ": " +
           (reason.empty() ? conduit + "'s own code, its reason is above" : reason) + ")";
}

int HotSyncManager::UsageError(const std::string& message)
{
    m_err << "hotsync: " << message << "\n\n" << kHelp;
    return 2;
}

int HotSyncManager::Run(const std::vector<std::string>& arguments, const std::string& programPath)
{
    std::string handheld, conduit = DefaultConduit(programPath), logPath, userName;
    bool configure = false;
    std::optional<palm::HotSyncAction> action;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            m_out << kHelp;
            return 0;
        }
        if (argument == "--configure") {
            configure = true;
            continue;
        }
        if (argument != "--handheld" && argument != "--action" && argument != "--conduit" && argument != "--log" &&
            argument != "--user")
            return UsageError("unknown argument '" + argument + "'");
        if (i + 1 >= arguments.size())
            return UsageError(argument + " needs a value");
        const std::string& value = arguments[++i];
        if (argument == "--handheld")
            handheld = value;
        else if (argument == "--conduit")
            conduit = value;
        else if (argument == "--log")
            logPath = value;
        else if (argument == "--user")
            userName = value;
        else if (value == "synchronize")
            action = palm::HotSyncAction::Synchronize;
        else if (value == "handheld-to-desktop")
            action = palm::HotSyncAction::HandheldToDesktop;
        else if (value == "nothing")
            action = palm::HotSyncAction::DoNothing;
        else
            return UsageError("unknown action '" + value + "'");
    }
    if (configure)
        return Configure(handheld, userName, conduit);
    if (handheld.empty())
        return UsageError("no handheld directory given (--handheld DIR)");
    // TakeAction uses up a next-HotSync action, so it runs only when no action was given.
    return Synchronize(handheld, action ? *action : TakeAction(), conduit,
                       logPath.empty() ? DefaultLogPath() : logPath, programPath);
}

int HotSyncManager::Synchronize(const std::string& handheld, palm::HotSyncAction action, const std::string& conduitPath,
                                const std::string& logPath, const std::string& programPath)
{
    Conduit conduit;
    std::string error;
    if (!conduit.Load(conduitPath, error)) {
        m_err << "hotsync: cannot load the conduit " << conduitPath << ": " << error << "\n";
        return 1;
    }
    char name[64] = {};
    conduit.getName(name, sizeof name);
    const QString started = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss");
    std::vector<std::string> text;
    text.push_back("HotSync started " + started.toStdString() + " (" + name + ", " + actionName(action) + ")");

    // Another user's folder, or one others can write, would feed their expenses into this user's
    // database and receive this user's lists: refused before anything is read.
    std::string folder, refusal;
    if (!HandheldFolder::Vet(handheld, folder, refusal)) {
        std::error_code ec;
        if (!std::filesystem::exists(handheld, ec)) {
            m_err << "hotsync: " << handheld << " is not a handheld directory\n";
            return 1;
        }
        text.push_back(refusal);
        text.push_back("HotSync failed (the handheld folder was refused)");
        KeepLog(text, logPath);
        return 1;
    }
    const std::int32_t connected = HotSyncConnect(folder.c_str());
    if (connected == SYNCERR_HANDHELD_BUSY) {
        text.push_back("The handheld in " + handheld +
                       " is being synchronised by another HotSync; try again when it has finished.");
        text.push_back(ClosingLine(connected, {}, name));
        KeepLog(text, logPath);
        return 1;
    }
    if (connected == SYNCERR_NOT_FOUND || connected == SYNCERR_BAD_ARGUMENT) {
        m_err << "hotsync: " << handheld << " is not a handheld directory\n";
        return 1;
    }
    if (connected != 0) {
        m_err << "hotsync: cannot connect the handheld " << handheld << ": " << SyncErrorText(connected) << "\n";
        return 1;
    }
    std::vector<LogLine> lines;
    HotSyncSetLogSink(collectLine, &lines);
    HotSyncSetProgramPath(programPath.c_str());

    std::uint8_t props[16] = {};
    putLE(props, 0, palm::StoredValue(action));
    const std::int32_t result = conduit.open(reinterpret_cast<void*>(&progressCallback), props);
    HotSyncSetLogSink(nullptr, nullptr);
    const std::string file = FileBehind(result);
    HotSyncDisconnect();

    // The result alone can say 0 while the conduit logged a failure (no desktop database, a
    // handheld application it cannot use): any failure line fails the HotSync.
    bool failed = result != 0;
    for (const LogLine& line : lines) {
        text.push_back(FormatLogLine(line));
        failed = failed || line.activity == kActivityFailed;
    }
    text.push_back(failed ? ClosingLine(result, file, name) : "HotSync completed");
    const bool kept = KeepLog(text, logPath);
    return failed || !kept ? 1 : 0;
}

bool HotSyncManager::KeepLog(const std::vector<std::string>& text, const std::string& logPath)
{
    for (const std::string& line : text)
        m_out << line << "\n";
    QDir().mkpath(QFileInfo(QString::fromStdString(logPath)).absolutePath());
    std::ofstream log(logPath, std::ios::app);
    for (const std::string& line : text)
        log << line << "\n";
    log.close();
    if (!log) {
        m_err << "hotsync: cannot write the log file " << logPath << "\n";
        return false;
    }
    return true;
}

int HotSyncManager::Configure(const std::string& handheld, const std::string& userName, const std::string& conduitPath)
{
    Conduit conduit;
    std::string error;
    if (!conduit.Load(conduitPath, error)) {
        m_err << "hotsync: cannot load the conduit " << conduitPath << ": " << error << "\n";
        return 1;
    }
    std::string user = userName;
    if (user.empty() && !handheld.empty() && HotSyncConnect(handheld.c_str()) == 0) {
        char buffer[128] = {};
        std::uint32_t size = sizeof buffer;
        if (HotSyncGetUserName(buffer, &size) == 0)
            user = buffer;
        HotSyncDisconnect();
    }
    if (user.empty())
        user = qEnvironmentVariable("USER", "HotSync user").toStdString();

    std::uint8_t block[kCfgBlockSize] = {};
    putLE(block, kCfgKindOffset, 1);
    user.copy(reinterpret_cast<char*>(block + kCfgUserNameOffset), kCfgDefaultTypeOffset - kCfgUserNameOffset - 1);
    const std::optional<palm::HotSyncAction> next = NextAction();
    putLE(block, kCfgDefaultTypeOffset, palm::StoredValue(DefaultAction()));
    putLE(block, kCfgNextTypeOffset, palm::StoredValue(next ? *next : DefaultAction()));
    std::uint32_t size = kCfgBlockSize;
    const std::int32_t result = conduit.cfg(0, block, &size);
    if (result != 0) {
        m_out << "No change: the dialog was cancelled\n";
        return 0;
    }
    const palm::HotSyncAction chosen = palm::HotSyncActionOf(getLE(block, kCfgChosenTypeOffset));
    const std::int32_t scope = getLE(block, kCfgScopeOffset);
    StoreAction(chosen, scope);
    m_out << (scope == 1 ? "Default" : "Next HotSync") << " action: " << actionName(chosen) << "\n";
    return 0;
}
