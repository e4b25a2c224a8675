// Reading the handheld application's version.
#include "conduit/handheld/ReadHandheldVersion.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "conduit/handheld/HandheldConstants.h"

namespace hh {

namespace {

constexpr std::size_t kResourceBufferSize = 2048;  // bytes read of each resource; one more stays NUL

}  // namespace

std::optional<std::int32_t> VersionFromText(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    std::string_view field = text.substr(comma + 1);
    field = field.substr(0, field.find(','));
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])); ++i)
        value = std::min<std::int64_t>(value * 10 + (field[i] - '0'), kLimit + 1);
    if (negative)
        return static_cast<std::int32_t>(std::max<std::int64_t>(-value, std::numeric_limits<std::int32_t>::min()));
    return static_cast<std::int32_t>(std::min(value, kLimit));
}

std::int32_t ReadHandheldVersion(std::int32_t* pOpenResult)
{
    std::uint8_t hDB = 0;
    const std::int32_t opened = SyncOpenDB(kApplicationDB, kCardNumber, &hDB, kModeApplication);
    if (pOpenResult)
        *pOpenResult = opened;
    if (opened != kSyncOk)
        return 0;
    std::uint16_t count = 0;
    if (SyncGetDBRecordCount(hDB, &count) != kSyncOk)
        count = 0;
    std::int32_t version = 0;
    for (std::uint16_t index = 0; index < count; ++index) {
        char buffer[kResourceBufferSize + 1];
        std::memset(buffer, 0, sizeof buffer);
        SyncResourceInfo info{};
        info.hDB = hDB;
        info.wIndex = index;
        info.pBytes = reinterpret_cast<std::uint8_t*>(buffer);
        info.dwSize = kResourceBufferSize;
        if (SyncReadResRecordByIndex(&info, 1) != kSyncOk || info.dwType != kVersionResource)
            continue;
        if (const auto found = VersionFromText(std::string_view(buffer)))
            version = *found;
    }
    SyncCloseDB(hDB);
    return version;
}

}  // namespace hh
