// SendLookups: the send of the desktop's lookup tables to the handheld, run by
// CSyncContext::PushLookups. Five steps in a fixed order (accounts, expense types, categories,
// projects, the combined filter list) each rewrite one handheld database from one desktop table,
// the filter list from what the steps before it collected. The first step that fails stops the
// send; the handheld databases written before it stay as written.
#pragma once

#include <cstdint>

class CADODataBase;

// 0 when every step succeeded; else the failing step's result: one of CSyncContext's codes
// (4098, 4100, 4101, 4104, 4113, 4384) or a Sync Manager code passed on, that of a handheld
// database that could not be saved among them. A desktop table that cannot be opened, a handheld
// database that cannot be saved, and a damaged one replaced (or not) are named in the HotSync log.
[[nodiscard]] std::int32_t SendLookups(CADODataBase& db);
