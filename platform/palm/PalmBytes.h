// Byte helpers for Palm database files: big-endian fields of 2, 3 and 4 bytes, four-character
// codes, and the Palm OS date (seconds since 1904). Every multi-byte field of a PDB/PRC file is
// read and written through these, never by laying a struct over the bytes, so the files are the
// same whatever the host's byte order.
#pragma once

#include <cstdint>
#include <string>

namespace palm {

inline std::uint16_t Get2(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t Get3(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
}

inline std::uint32_t Get4(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

inline void Put2(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}

inline void Put3(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 16);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v);
}

inline void Put4(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

// A four-character code as the 32-bit value Palm OS compares: FourCC("DATA") == 0x44415441.
constexpr std::uint32_t FourCC(const char (&code)[5])
{
    return (std::uint32_t(std::uint8_t(code[0])) << 24) | (std::uint32_t(std::uint8_t(code[1])) << 16) |
           (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

// The four characters of a code; bytes outside printable ASCII are shown as '.'.
std::string FourCCText(std::uint32_t code);

// Seconds between 1904-01-01 (the Palm OS epoch) and 1970-01-01 (the Unix epoch).
inline constexpr std::int64_t kPalmEpochOffset = 2082844800;

// Unix seconds as a Palm OS date. Dates before 1904 become 0 and dates after the 32-bit range
// runs out (2040-02-06 06:28:15 UTC) stay at its last second.
std::uint32_t PalmTimeFromUnix(std::int64_t unixSeconds);

// A header date as Unix seconds. Desktop tools once wrote signed 1970-based seconds: a value
// with the high bit clear (other than 0) is read that way, anything else as 1904-based.
std::int64_t UnixFromPalmTime(std::uint32_t palmSeconds);

// The current time as a Palm OS date.
std::uint32_t PalmTimeNow();

}  // namespace palm
