// The handheld application's version, from the 'tver' resources of its resource database
// "Quillmar". A version text reads like "1.0,3": its second comma-separated field starts with
// the version number. The conduit synchronises only with version 1 or later.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hh {

// The version in one 'tver' text: the decimal integer at the start of its second field (the
// text between the first and second comma); nothing when the text has no comma. A second field
// that does not start with digits gives 0, "12abc" gives 12, and a number beyond the 32-bit range
// is held at its limit.
std::optional<std::int32_t> VersionFromText(std::string_view text);

// Opens "Quillmar" (mode 0x90) and reads every resource; each 'tver' resource whose text has a
// second field sets the version, a later one overriding an earlier. 0 when the database cannot
// be opened or no 'tver' resource has a second field. A resource that cannot be read (one larger
// than the 2048-byte buffer) is passed over. pOpenResult, when given, receives the Sync Manager's
// answer to the open, which tells a missing application (0x4003) from a damaged one (0x4004).
[[nodiscard]] std::int32_t ReadHandheldVersion(std::int32_t* pOpenResult = nullptr);

}  // namespace hh
