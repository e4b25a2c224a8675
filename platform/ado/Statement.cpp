// Prepared statements over the SQLite C API.
#include "platform/ado/Statement.h"

#include <sqlite3.h>

#include "platform/ado/Error.h"

namespace ado {

void Statement::Finalizer::operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }

void Statement::raise(sqlite3* db, int rc)
{
    throw Error::fromSqlite(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db)
{
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    m_statement.reset(statement);
    if (rc != SQLITE_OK)
        raise(db, rc);
    if (!statement)  // blank or comment-only SQL
        throw Error(kErrorsInCommand, "SQLite", "The command text holds no statement.");
}

void Statement::bind(int index, const ole::Variant& value)
{
    using ole::VarType;
    sqlite3_stmt* s = m_statement.get();
    int rc = SQLITE_OK;
    switch (value.type()) {
    case VarType::Empty:
    case VarType::Null: rc = sqlite3_bind_null(s, index); break;
    case VarType::Text: {
        const std::string& text = *value.get<std::string>();
        rc = sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case VarType::Bool: rc = sqlite3_bind_int(s, index, *value.get<bool>() ? 1 : 0); break;
    case VarType::Double: rc = sqlite3_bind_double(s, index, *value.get<double>()); break;
    case VarType::Date: {
        const std::string text = value.get<ole::DateTime>()->isoText();
        rc = sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    default: rc = sqlite3_bind_int64(s, index, value.rawWord()); break;
    }
    if (rc != SQLITE_OK)
        raise(m_db, rc);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    Error error = Error::fromSqlite(rc, m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
    sqlite3_reset(m_statement.get());
    throw error;
}

void Statement::reset()
{
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
}

}  // namespace ado
