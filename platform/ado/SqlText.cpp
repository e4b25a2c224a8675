// Quoting, case folding and trimming for SQL texts and names.
#include "platform/ado/SqlText.h"

#include <algorithm>
#include <cctype>

namespace ado {
namespace {

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string quoted(std::string_view text, char quote)
{
    std::string out(1, quote);
    for (const char c : text) {
        out += c;
        if (c == quote)
            out += quote;
    }
    return out + quote;
}

}  // namespace

std::string quoteIdentifier(std::string_view name)
{
    return quoted(name, '"');
}

std::string quoteText(std::string_view text)
{
    return quoted(text, '\'');
}

bool equalsFolded(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

std::string trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

}  // namespace ado
