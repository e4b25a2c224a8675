// Character-counted padding.
#include "expensetree/FixedWidthText.h"

namespace fixedwidth {

std::size_t Characters(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)  // continuation bytes do not start a character
            ++count;
    return count;
}

void AppendLeft(std::string& out, std::string_view text, std::size_t width)
{
    out += text;
    const std::size_t length = Characters(text);
    if (length < width)
        out.append(width - length, ' ');
}

void AppendRight(std::string& out, std::string_view text, std::size_t width)
{
    const std::size_t length = Characters(text);
    if (length < width)
        out.append(width - length, ' ');
    out += text;
}

std::string Left(std::string_view text, std::size_t width)
{
    std::string result;
    AppendLeft(result, text, width);
    return result;
}

std::string Right(std::string_view text, std::size_t width)
{
    std::string result;
    AppendRight(result, text, width);
    return result;
}

}  // namespace fixedwidth
