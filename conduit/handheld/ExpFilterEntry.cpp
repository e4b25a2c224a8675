// Filter entries from desktop labels.
#include "conduit/handheld/ExpFilterEntry.h"

#include "conduit/handheld/HandheldText.h"

namespace hh {

ExpFilterEntry ExpFilterEntry::Make(std::uint16_t kind, std::uint32_t id, std::string_view desktopLabel)
{
    ExpFilterEntry entry;
    entry.wKind = kind;
    entry.dwID = id;
    const std::size_t length = ToHandheldText(desktopLabel, entry.szLabel, kMaxFilterEntryChars);
    entry.szLabel[length] = '\0';
    return entry;
}

}  // namespace hh
