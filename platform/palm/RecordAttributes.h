// The attribute byte of a Palm database record: four flag bits in the high nibble and the record's
// category in the low nibble. The database file keeps the byte in its record index entry; the
// Sync Manager hands the flags to a conduit in SyncRecordInfo.bAttributes and the category
// apart. Both sides, and the conduit, name the bits from here.
#pragma once

#include <cstdint>

namespace palm {

inline constexpr std::uint8_t kRecAttrDelete = 0x80;    // deleted on the handheld, kept until the next sync
inline constexpr std::uint8_t kRecAttrDirty = 0x40;     // changed since the last sync
inline constexpr std::uint8_t kRecAttrBusy = 0x20;      // locked by an application on the handheld
inline constexpr std::uint8_t kRecAttrSecret = 0x10;    // private
inline constexpr std::uint8_t kRecCategoryMask = 0x0F;  // the category, 0 to 15

}  // namespace palm
