// Holding the engine's log lines until the conduit's closing line.
#include "conduit/sync/SyncLog.h"

#include <vector>

#include "platform/palm/HSLog.h"

namespace {

struct Held {
    bool holding = false;
    std::vector<std::string> lines;
};

Held& held()
{
    static Held instance;  // one synchronisation at a time in a process
    return instance;
}

}  // namespace

void SyncLog::Line(const std::string& text)
{
    if (held().holding)
        held().lines.push_back(text);
    else
        LogAddEntry(text.c_str(), HSLOG_TEXT, 0);
}

void SyncLog::Hold() { held().holding = true; }

void SyncLog::Release()
{
    Held& state = held();
    state.holding = false;
    for (const std::string& line : state.lines)
        LogAddEntry(line.c_str(), HSLOG_TEXT, 0);
    state.lines.clear();
}
