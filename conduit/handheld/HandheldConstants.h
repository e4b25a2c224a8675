// The handheld side of the conduit at a glance: the names, codes and open modes of the databases
// the handheld application keeps, and the log texts and result codes of the synchronisation.
#pragma once

#include <cstdint>

#include "platform/palm/PalmBytes.h"
#include "platform/palm/SyncMgr.h"

namespace hh {

inline constexpr std::uint32_t kCreator = palm::FourCC("Qlmr");        // every Quillmar database
inline constexpr std::uint32_t kDataType = palm::FourCC("DATA");       // every record database
inline constexpr std::uint32_t kVersionResource = palm::FourCC("tver"); // the application's version text
inline constexpr std::int32_t kCardNumber = 0;                          // the one memory card

inline constexpr const char* kAccountsDB = "Qlmr-Accounts";
inline constexpr const char* kExpTypesDB = "Qlmr-ExpTypes";
inline constexpr const char* kCategoriesDB = "Qlmr-Categories";
inline constexpr const char* kProjectsDB = "Qlmr-Projects";
inline constexpr const char* kExpFilterDB = "Qlmr-ExpFilter";
inline constexpr const char* kExpensesDB = "Qlmr-Expenses";
inline constexpr const char* kApplicationDB = "Quillmar";

// Open modes: read and write for the lookup databases; read, write and private records for the
// expenses; read and private records for the application's resources.
inline constexpr std::uint8_t kModeLookups = 0xC0;
inline constexpr std::uint8_t kModeExpenses = 0xD0;
inline constexpr std::uint8_t kModeApplication = 0x90;
static_assert(kModeLookups == (SYNC_MODE_READ | SYNC_MODE_WRITE));
static_assert(kModeExpenses == (SYNC_MODE_READ | SYNC_MODE_WRITE | SYNC_MODE_SECRET));
static_assert(kModeApplication == (SYNC_MODE_READ | SYNC_MODE_SECRET));

// The Sync Manager's answers the conduit tells apart.
inline constexpr std::int32_t kSyncOk = SYNCERR_NONE;
inline constexpr std::int32_t kSyncNotFound = 0x4003;   // no such database or preference
inline constexpr std::int32_t kSyncDamaged = 0x4004;    // the database file is damaged
inline constexpr std::int32_t kSyncNoHandle = 0x400D;   // a write with no open database
static_assert(kSyncNotFound == SYNCERR_NOT_FOUND && kSyncNoHandle == SYNCERR_BAD_HANDLE);
static_assert(kSyncDamaged == SYNCERR_FILE_CORRUPT);

}  // namespace hh
