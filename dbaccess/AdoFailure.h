// AdoFailure: the last engine failure an access-layer object caught, as a value. The text report
// (m_strLastError) is kept for people; code that decides what to do or say reads this instead.
#pragma once

#include <cstdint>
#include <string>

struct AdoFailure {
    std::int32_t code = 0;      // HRESULT-style failure code; 0 until the first failure
    std::string source;         // who raised it: "Connection", "Recordset", "SQLite", ...
    std::string description;    // what went wrong, in words
    std::string context;        // the operation or query it happened in

    [[nodiscard]] bool IsEmpty() const { return code == 0 && description.empty(); }
    [[nodiscard]] bool IsDamagedFile() const;     // the database file is damaged
    [[nodiscard]] bool IsLockedByAnother() const; // another program held the database locked too long
};
