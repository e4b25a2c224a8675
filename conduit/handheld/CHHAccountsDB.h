// CHHAccountsDB: the handheld database "Qlmr-Accounts", rewritten from lkpAccounts at each send.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/handheld/CHHDatabase.h"

class CHHAccountsDB : public CHHDatabase {
public:
    // Opens or creates "Qlmr-Accounts" (mode 0xC0, type 'DATA').
    [[nodiscard]] bool Open();
    // Writes one account record; code is desktop text, cut to 31 handheld characters.
    [[nodiscard]] bool WriteAccount(const std::string& code);
};
