// The names of a folder's entries, read to the end or not at all: a folder that cannot be read
// whole (an I/O error half-way) answers false with the reason, never a partial list or a throw.
#pragma once

#include <string>
#include <vector>

namespace files {

// The names (not paths) of the regular files in folder, in no particular order.
[[nodiscard]] bool ListRegularFiles(const std::string& folder, std::vector<std::string>& names, std::string& error);

}  // namespace files
