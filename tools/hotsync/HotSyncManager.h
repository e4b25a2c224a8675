// The HotSync host: loads the conduit library, connects a handheld directory (refusing one that
// another HotSync holds), runs the conduit's synchronisation with the chosen HotSync action,
// shows the HotSync log and keeps it, and stores the action the conduit's configuration dialog
// returns (a default, or for the next HotSync only), as HotSync Manager does. A HotSync succeeds
// (exit status 0) only when the conduit returned 0 and logged no failure.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/palm/HotSyncAction.h"

class HotSyncManager {
public:
    static constexpr std::int32_t kActivityFailed = 21;  // a conduit's line that reports a failure

    struct LogLine {
        std::string text;       // as the conduit logged it
        std::int32_t activity;  // its activity code
    };

    HotSyncManager(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    // Runs one command line (without the program name); the exit status.
    int Run(const std::vector<std::string>& arguments, const std::string& programPath);

    // The stored actions: the default (synchronise when none is stored) and the one for the
    // next HotSync only (none when none is stored).
    static palm::HotSyncAction DefaultAction();
    static std::optional<palm::HotSyncAction> NextAction();
    // Stores what the configuration dialog returned: scope 1 makes it the default (and drops a
    // pending next action), scope 2 sets it for the next HotSync only.
    static void StoreAction(palm::HotSyncAction action, std::int32_t scope);
    // The action of the HotSync about to run; a next-HotSync action is used up by it.
    static palm::HotSyncAction TakeAction();

    static std::string DefaultLogPath();
    static std::string FormatLogLine(const LogLine& line);
    // The last line of a failed HotSync: the result's reason beside its number (a Sync Manager
    // code, with the damaged or unsaved file when one is known), or a pointer to the conduit's
    // own lines.
    static std::string ClosingLine(std::int32_t result, const std::string& file, const std::string& conduit);

private:
    int Synchronize(const std::string& handheld, palm::HotSyncAction action, const std::string& conduitPath,
                    const std::string& logPath, const std::string& programPath);
    int Configure(const std::string& handheld, const std::string& userName, const std::string& conduitPath);
    int UsageError(const std::string& message);
    // Shows the lines and appends them to the log file; false when the file could not be written.
    bool KeepLog(const std::vector<std::string>& text, const std::string& logPath);

    std::ostream& m_out;   // the log as it happens, and results
    std::ostream& m_err;   // errors
};
