// HotSyncAction: what one HotSync does with a conduit's data (the sync type of the Conduit
// Development Kit). The HotSync host keeps it in its settings and passes it in the conduit's
// request blocks as a 32-bit number; these are those numbers. HotSyncActionOf and StoredValue
// are the one place a number becomes an action and back. A number that names no action is kept
// as it is, so the conduit can refuse it and the host can name it.
#pragma once

#include <cstdint>

namespace palm {

enum class HotSyncAction : std::int32_t {
    Synchronize = 0,        // the handheld's data comes in, then what changed on the desktop goes out
    HandheldToDesktop = 2,  // the handheld's data comes in; nothing goes out
    DoNothing = 6,          // the conduit leaves both sides as they are
};

constexpr HotSyncAction HotSyncActionOf(std::int32_t value) { return static_cast<HotSyncAction>(value); }
constexpr std::int32_t StoredValue(HotSyncAction action) { return static_cast<std::int32_t>(action); }

}  // namespace palm
