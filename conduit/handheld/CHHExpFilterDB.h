// CHHExpFilterDB: the handheld database "Qlmr-ExpFilter", the combined filter list of expense
// types and active projects, rewritten at each send.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/handheld/CHHDatabase.h"

class CHHExpFilterDB : public CHHDatabase {
public:
    // Opens or creates "Qlmr-ExpFilter" (mode 0xC0, type 'DATA').
    [[nodiscard]] bool Open();
    // Writes one filter record. label is already handheld text (an ExpFilterEntry's, at most
    // 19 characters); a longer one would be cut to 25.
    [[nodiscard]] bool WriteFilterEntry(std::uint16_t kind, std::uint32_t id, const char* label);
};
