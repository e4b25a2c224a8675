// CHHCategoriesDB: the handheld database "Qlmr-Categories", rewritten from lkpExpCategories
// at each send.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/handheld/CHHDatabase.h"

class CHHCategoriesDB : public CHHDatabase {
public:
    // Opens or creates "Qlmr-Categories" (mode 0xC0, type 'DATA').
    [[nodiscard]] bool Open();
    // Writes one category record; category is desktop text, cut to 29 handheld characters.
    [[nodiscard]] bool WriteCategory(std::uint16_t type, const std::string& category);
};
