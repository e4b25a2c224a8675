// A whole file's bytes, read in blocks (a pipe reads as well as a file), or nothing: a read that
// fails half-way answers false, never a part of the file.
#pragma once

#include <string>

namespace files {

[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace files
