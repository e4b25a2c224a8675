// Padding for the tree's fixed-width lines. Widths count characters, not bytes, so texts with
// accented letters still line up in the fixed-pitch font; longer texts are never cut.
#pragma once

#include <string>
#include <string_view>

namespace fixedwidth {

std::size_t Characters(std::string_view utf8);
std::string Left(std::string_view text, std::size_t width);   // "%-Ns": pad on the right
std::string Right(std::string_view text, std::size_t width);  // "%Ns": pad on the left
// The same, appended to out without temporaries (for building long lines).
void AppendLeft(std::string& out, std::string_view text, std::size_t width);
void AppendRight(std::string& out, std::string_view text, std::size_t width);

}  // namespace fixedwidth
