// Small text helpers the engine shares when it writes SQL or reads names and literals: quoting
// an identifier, comparing names without ASCII letter case, trimming blanks.
#pragma once

#include <string>
#include <string_view>

namespace ado {

// "name" with any double quote doubled, safe to put into SQL.
std::string quoteIdentifier(std::string_view name);

// 'text' with any single quote doubled: a text literal for SQL or a find criterion.
std::string quoteText(std::string_view text);

// Equal when ASCII letters are folded to one case (SQL keywords, column names).
bool equalsFolded(std::string_view a, std::string_view b);

// The text without leading and trailing white space.
std::string trimmed(std::string_view text);

}  // namespace ado
