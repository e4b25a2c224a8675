// The error object of the database engine stand-in: an HRESULT-style 32-bit code, the source
// that raised it and a description. Every failure of Connection and Recordset is thrown as one;
// the access layer above catches and records it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ado {

// Codes that the layers above rely on or show.
inline constexpr std::int32_t kUnspecifiedError = static_cast<std::int32_t>(0x80004005);   // E_FAIL
inline constexpr std::int32_t kOutOfMemory = static_cast<std::int32_t>(0x8007000E);        // E_OUTOFMEMORY
inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x800A0BB9);    // bad argument / criterion
inline constexpr std::int32_t kNoCurrentRecord = static_cast<std::int32_t>(0x800A0BCD);    // BOF or EOF, or row deleted
inline constexpr std::int32_t kIllegalOperation = static_cast<std::int32_t>(0x800A0C93);   // not allowed in this context
inline constexpr std::int32_t kNotUpdatable = static_cast<std::int32_t>(0x800A0CB3);       // record set cannot be written
inline constexpr std::int32_t kItemNotFound = static_cast<std::int32_t>(0x800A0CC1);       // no such column
inline constexpr std::int32_t kObjectClosed = static_cast<std::int32_t>(0x800A0E78);       // object is closed
inline constexpr std::int32_t kErrorsInCommand = static_cast<std::int32_t>(0x80040E14);    // SQL cannot be read
inline constexpr std::int32_t kErrorsOccurred = static_cast<std::int32_t>(0x80040E21);     // value cannot be stored
inline constexpr std::int32_t kIntegrityViolation = static_cast<std::int32_t>(0x80040E2F); // constraint failed
inline constexpr std::int32_t kNoSuchTable = static_cast<std::int32_t>(0x80040E37);        // table does not exist
inline constexpr std::int32_t kNoTransaction = static_cast<std::int32_t>(0x8004D00E);      // commit without begin
inline constexpr std::int32_t kDatabaseDamaged = static_cast<std::int32_t>(0x800A0BE9);    // Jet's 3049: file is damaged
inline constexpr std::int32_t kDatabaseLocked = static_cast<std::int32_t>(0x800A0BEA);     // Jet's 3050: another holds a lock

class Error : public std::runtime_error {
public:
    Error(std::int32_t code, std::string source, std::string description);

    // Maps an SQLite result code and message onto the code family above.
    static Error fromSqlite(int sqliteCode, const std::string& message);

    std::int32_t code() const { return m_code; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }

    // The system's message text for a code, as the error report shows it.
    static std::string codeMeaning(std::int32_t code);

private:
    std::int32_t m_code;        // HRESULT-style failure code
    std::string m_source;       // who raised it: "Connection", "Recordset" or "SQLite"
    std::string m_description;  // what went wrong, in words
};

}  // namespace ado
