// Four-character codes as text and the Palm OS date conversions.
#include "platform/palm/PalmBytes.h"

#include <ctime>

namespace palm {

std::string FourCCText(std::uint32_t code)
{
    std::string text(4, '.');
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(code >> (24 - 8 * i));
        if (c >= 0x20 && c < 0x7F)
            text[static_cast<std::size_t>(i)] = static_cast<char>(c);
    }
    return text;
}

std::uint32_t PalmTimeFromUnix(std::int64_t unixSeconds)
{
    const std::int64_t palm = unixSeconds + kPalmEpochOffset;
    if (palm < 0)
        return 0;
    if (palm > 0xFFFFFFFFLL)
        return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(palm);
}

std::int64_t UnixFromPalmTime(std::uint32_t palmSeconds)
{
    if (palmSeconds != 0 && (palmSeconds & 0x80000000u) == 0)
        return static_cast<std::int32_t>(palmSeconds);  // signed seconds since 1970
    return static_cast<std::int64_t>(palmSeconds) - kPalmEpochOffset;
}

std::uint32_t PalmTimeNow()
{
    return PalmTimeFromUnix(static_cast<std::int64_t>(std::time(nullptr)));
}

}  // namespace palm
