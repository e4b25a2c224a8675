// Texts at the record boundary. The desktop keeps UTF-8; the handheld keeps Windows-1252, one
// byte per character. Converting to the handheld writes '?' for a character Windows-1252 lacks
// (and for a NUL or a byte that is no valid UTF-8), and can cut the text to a number of
// characters: since every handheld character is one byte, the cut always falls on a character
// boundary. Converting back maps each byte to its character; the five bytes Windows-1252 leaves
// undefined become '?'.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hh {

// Writes at most maxChars handheld characters (no NUL) into out; returns how many.
std::size_t ToHandheldText(std::string_view utf8, char* out, std::size_t maxChars);
// The whole text (or its first maxChars characters) in handheld form.
std::string ToHandheldText(std::string_view utf8, std::size_t maxChars = std::string::npos);
// A handheld text as UTF-8.
std::string FromHandheldText(std::string_view handheld);
// The same into out, replacing what it held; its storage is reused, so a reader that keeps its
// strings allocates nothing per record once they have grown.
void AssignFromHandheldText(std::string& out, std::string_view handheld);

}  // namespace hh
