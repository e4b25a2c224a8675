// Fuzzes the Windows-1252 conversions and the version text reading with arbitrary bytes: a text
// sent to the handheld never holds more characters than asked for nor a NUL, and a handheld text
// brought to the desktop and back is the same bytes (the five undefined ones become '?').
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "conduit/handheld/HandheldText.h"
#include "conduit/handheld/ReadHandheldVersion.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool Undefined(unsigned char c)
{
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t limit = size ? data[0] % 40 : 0;
    const std::string handheld = hh::ToHandheldText(input, limit);
    Require(handheld.size() <= limit && handheld.size() <= size);
    Require(handheld.find('\0') == std::string::npos);
    char fixed[40];
    Require(hh::ToHandheldText(input, fixed, limit) == handheld.size());
    Require(std::string_view(fixed, handheld.size()) == handheld);

    std::string expected = input.substr(0, input.find('\0'));
    for (char& c : expected)
        if (Undefined(static_cast<unsigned char>(c)))
            c = '?';
    Require(hh::ToHandheldText(hh::FromHandheldText(expected)) == expected);

    (void)hh::VersionFromText(input);
    return 0;
}
