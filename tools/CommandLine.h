// What the command-line tools share when they read their arguments.
#pragma once

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace cli {

// Whether --help or -h is among the arguments.
inline bool WantsHelp(const std::vector<std::string>& arguments)
{
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

// The whole text as a number of type T; false for anything else (empty, trailing text, range).
template <typename T>
bool ParseNumber(const std::string& text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace cli
