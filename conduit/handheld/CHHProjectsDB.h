// CHHProjectsDB: the handheld database "Qlmr-Projects", rewritten from the active Projects at
// each send (and deleted when no reimbursable expense type is sent).
#pragma once

#include <cstdint>
#include <string>

#include "conduit/handheld/CHHDatabase.h"

class CHHProjectsDB : public CHHDatabase {
public:
    // Opens or creates "Qlmr-Projects" (mode 0xC0, type 'DATA').
    [[nodiscard]] bool Open();
    // Writes one project record; name is desktop text, cut to 27 handheld characters.
    [[nodiscard]] bool WriteProject(std::uint32_t id, const std::string& name);
};
