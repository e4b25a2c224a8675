// Windows-1252 <-> UTF-8.
#include "conduit/handheld/HandheldText.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/ole/Utf8.h"

namespace hh {

namespace {

constexpr char kUnmappable = '?';

// Characters of the bytes 0x80..0x9F; 0 where Windows-1252 defines none. 0xA0..0xFF are
// U+00A0..U+00FF.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char HandheldChar(char32_t c)
{
    if (c == 0)
        return kUnmappable;  // a NUL would end the handheld text early
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return kUnmappable;
}

// Decodes one character at text[i]; advances i. An invalid sequence gives U+FFFD and consumes
// one byte.
char32_t NextChar(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const std::uint8_t next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<std::size_t>(length);
    return c;
}


}  // namespace

std::size_t ToHandheldText(std::string_view utf8, char* out, std::size_t maxChars)
{
    std::size_t written = 0;
    for (std::size_t i = 0; i < utf8.size() && written < maxChars;)
        out[written++] = HandheldChar(NextChar(utf8, i));
    return written;
}

std::string ToHandheldText(std::string_view utf8, std::size_t maxChars)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size() && out.size() < maxChars;)
        out += HandheldChar(NextChar(utf8, i));
    return out;
}

std::string FromHandheldText(std::string_view handheld)
{
    std::string out;
    AssignFromHandheldText(out, handheld);
    return out;
}

void AssignFromHandheldText(std::string& out, std::string_view handheld)
{
    // Most handheld text is ASCII, the same bytes in UTF-8: copied whole up to the first byte
    // that is not.
    const auto ascii = std::find_if(handheld.begin(), handheld.end(),
                                    [](char byte) { return static_cast<std::uint8_t>(byte) >= 0x80; });
    out.assign(handheld.begin(), ascii);
    for (const char byte : std::string_view(ascii, handheld.end())) {
        const auto b = static_cast<std::uint8_t>(byte);
        if (b < 0x80 || b >= 0xA0)
            ole::AppendUtf8(out, b);
        else if (kHigh[b - 0x80] != 0)
            ole::AppendUtf8(out, kHigh[b - 0x80]);
        else
            out += kUnmappable;
    }
}

}  // namespace hh
