// SyncErrorText: the host's words for the Sync Manager's result codes (SYNCERR_ in
// platform/palm/SyncMgr.h), shown beside the number when a HotSync fails with one. A conduit's
// own codes are the conduit's to explain, in its log lines.
#pragma once

#include <cstdint>
#include <string>

// The reason for a Sync Manager code; empty for any other code. file, when known, names the file
// behind SYNCERR_FILE_CORRUPT (damaged) or SYNCERR_FILE_IO (could not be saved).
std::string SyncErrorText(std::int32_t code, const std::string& file = {});
