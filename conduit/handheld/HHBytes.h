// Numbers at the record boundary. Handheld records are big-endian: every 16- and 32-bit field is
// converted with the Sync Manager's SyncHostToHH... / SyncHH...ToHost calls and copied byte by
// byte, never by laying a struct over the record. The preference block is the one exception: it
// travels in the conduit's own (little-endian) layout, read and written here with shifts so the
// bytes are the same on any host.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/palm/SyncMgr.h"

namespace hh {

inline void PutHHWord(std::uint8_t* p, std::uint16_t value)
{
    const std::uint16_t handheld = SyncHostToHHWord(value);
    std::memcpy(p, &handheld, sizeof handheld);
}

inline void PutHHDWord(std::uint8_t* p, std::uint32_t value)
{
    const std::uint32_t handheld = SyncHostToHHDWord(value);
    std::memcpy(p, &handheld, sizeof handheld);
}

inline std::uint16_t GetHHWord(const std::uint8_t* p)
{
    std::uint16_t handheld;
    std::memcpy(&handheld, p, sizeof handheld);
    return SyncHHToHostWord(handheld);
}

inline std::uint32_t GetHHDWord(const std::uint8_t* p)
{
    std::uint32_t handheld;
    std::memcpy(&handheld, p, sizeof handheld);
    return SyncHHToHostDWord(handheld);
}

inline void PutLEWord(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLEDWord(std::uint8_t* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint16_t GetLEWord(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t GetLEDWord(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

}  // namespace hh
