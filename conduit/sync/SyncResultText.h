// SyncResultText: the words for how a synchronisation failed, as the conduit logs them after its
// closing line. The engine's own result codes get their reason here, once; the Sync Manager's
// codes it passes on are the HotSync host's to explain. A desktop database failure is told from
// the engine's own report, so a database locked by another program says so.
#pragma once

#include <cstdint>
#include <string>

struct AdoFailure;

// The reason for one of CSyncContext's result codes; nullptr for any other code.
const char* SyncResultText(std::int32_t code);

// What the desktop database's last failure tells the user: that another program holds it (with
// the engine's description), or the description itself; empty when nothing failed.
std::string DesktopFailureText(const AdoFailure& failure);
