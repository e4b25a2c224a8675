// CHHExpTypesDB: the handheld database "Qlmr-ExpTypes", rewritten from lkpExpTypes at each send.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/handheld/CHHDatabase.h"

class CHHExpTypesDB : public CHHDatabase {
public:
    // Opens or creates "Qlmr-ExpTypes" (mode 0xC0, type 'DATA').
    [[nodiscard]] bool Open();
    // Writes one expense-type record; label is desktop text, cut to 28 handheld characters.
    [[nodiscard]] bool WriteExpType(std::uint16_t type, std::uint8_t comp, const std::string& label);
};
