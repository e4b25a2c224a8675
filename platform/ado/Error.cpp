// Error codes, their message texts and the mapping from SQLite results.
#include "platform/ado/Error.h"

#include <cstdio>
#include <sqlite3.h>

namespace ado {

Error::Error(std::int32_t code, std::string source, std::string description)
    : std::runtime_error(description),
      m_code(code),
      m_source(std::move(source)),
      m_description(std::move(description))
{
}

Error Error::fromSqlite(int sqliteCode, const std::string& message)
{
    switch (sqliteCode & 0xFF) {
    case SQLITE_CONSTRAINT: return Error(kIntegrityViolation, "SQLite", message);
    case SQLITE_NOMEM: return Error(kOutOfMemory, "SQLite", message);
    case SQLITE_CORRUPT: return Error(kDatabaseDamaged, "SQLite", message);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Error(kDatabaseLocked, "SQLite", message);
    case SQLITE_ERROR:
        if (message.rfind("no such table", 0) == 0)
            return Error(kNoSuchTable, "SQLite", message);
        return Error(kErrorsInCommand, "SQLite", message);
    default: return Error(kUnspecifiedError, "SQLite", message);
    }
}

std::string Error::codeMeaning(std::int32_t code)
{
    const auto unsignedCode = static_cast<std::uint32_t>(code);
    switch (unsignedCode) {
    case 0x80004005u: return "Unspecified error";
    case 0x8007000Eu: return "Not enough storage is available to complete this operation.";
    case 0x80070057u: return "The parameter is incorrect.";
    default: break;
    }
    char text[64];
    const std::uint32_t facility = (unsignedCode >> 16) & 0x1FFF;
    const std::uint32_t low = unsignedCode & 0xFFFF;
    if (facility == 4 && low >= 0x200)  // interface-defined codes carry no system text
        std::snprintf(text, sizeof text, "IDispatch error #%u", low - 0x200);
    else
        std::snprintf(text, sizeof text, "Unknown error 0x%08X", unsignedCode);
    return text;
}

}  // namespace ado
