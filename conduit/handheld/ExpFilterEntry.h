// ExpFilterEntry: one line of the handheld's combined filter list ("Qlmr-ExpFilter"), collected
// while the expense types and projects are sent and written once they all are. The label is
// already handheld text, cut to 19 characters, so an entry is a fixed 20-byte block plus its
// numbers and the list never holds a desktop text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace hh {

inline constexpr std::uint16_t kFilterKindProject = 0xFFFE;   // the entry is a project (-2)
inline constexpr std::size_t kFilterLabelSize = 20;            // label buffer, NUL included
inline constexpr std::size_t kMaxFilterEntryChars = kFilterLabelSize - 1;

struct ExpFilterEntry {
    std::uint16_t wKind = 0;                // expense type number, or kFilterKindProject
    std::uint32_t dwID = 0;                 // 0 for a type, the ProjectID for a project
    char szLabel[kFilterLabelSize] = {};    // handheld text, at most 19 characters, NUL-ended

    // An entry from a desktop (UTF-8) label, converted and cut to 19 characters.
    static ExpFilterEntry Make(std::uint16_t kind, std::uint32_t id, std::string_view desktopLabel);
    std::string_view Label() const { return std::string_view(szLabel); }
};

}  // namespace hh
