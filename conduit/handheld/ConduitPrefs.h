// ConduitPrefs: the conduit's 12-byte application preference on the handheld (creator 'Qlmr',
// id 0, in "Saved Preferences"), and ReadPrefs / WritePrefs. The block travels as raw bytes in
// the conduit's own layout, little-endian, unconverted: the conduit writes back exactly the bytes
// it read (or the defaults), with only the first word replaced.
//
//   OFFSET  SIZE  DESCRIPTION
//        0     2  PalmUpdt Major at the last complete send of the lookup tables
//        2     2  handheld application data, not interpreted; default 0
//        4     4  handheld application data, not interpreted; default 1
//        8     4  handheld application data, not interpreted; default 0
#pragma once

#include <cstddef>
#include <cstdint>

namespace hh {

inline constexpr std::size_t kConduitPrefsSize = 12;   // the block's bytes
inline constexpr std::uint16_t kConduitPrefsID = 0;    // preference id
inline constexpr std::int32_t kSavedPreference = 1;     // the flag of both calls: backed-up store

struct ConduitPrefs {
    std::uint16_t wPalmUpdt = 0;    // PalmUpdt Major last sent
    std::uint16_t wAppData = 0;     // handheld application's, kept as read
    std::uint32_t dwAppData1 = 1;   // handheld application's, kept as read
    std::uint32_t dwAppData2 = 0;   // handheld application's, kept as read
    std::uint16_t wVersion = 0;     // the preference's version as stored (not part of the block),
                                    //   written back unchanged
};

void PackConduitPrefs(const ConduitPrefs& prefs, std::uint8_t (&block)[kConduitPrefsSize]);
void UnpackConduitPrefs(const std::uint8_t (&block)[kConduitPrefsSize], ConduitPrefs& prefs);

// Reads the preference. No preference yet (0x4003): prefs gets the defaults and the result is 0.
// Any other failure, a preference of another size among them, is returned unchanged.
[[nodiscard]] std::int32_t ReadPrefs(ConduitPrefs& prefs);
// Writes the preference; the Sync Manager's result.
[[nodiscard]] std::int32_t WritePrefs(const ConduitPrefs& prefs);

}  // namespace hh
