// Opening, closing and running scripts on raw SQLite handles.
#include "platform/ado/SqliteHandle.h"

#include <sqlite3.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"

namespace ado {

void SqliteCloser::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }

SqliteHandle openSqlite(const std::string& path, int flags, const std::string& source)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    SqliteHandle db(raw);
    if (rc != SQLITE_OK) {
        const std::string message = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
        throw Error(kUnspecifiedError, source, "Could not open '" + path + "': " + message + ".");
    }
    sqlite3_busy_timeout(raw, Connection::kBusyTimeoutMs);
    sqlite3_extended_result_codes(raw, 1);
    return db;
}

void closeSqlite(SqliteHandle& handle, const std::string& source)
{
    if (!handle)
        return;
    const int rc = sqlite3_close(handle.get());
    if (rc == SQLITE_OK) {
        (void)handle.release();  // already closed
        return;
    }
    const std::string message = sqlite3_errmsg(handle.get());
    handle.reset();  // the deleter finishes the close once nothing holds the handle
    throw Error(kUnspecifiedError, source, "Could not close the database: " + message + ".");
}

void executeSql(sqlite3* db, const std::string& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        return;
    const std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    throw Error::fromSqlite(rc, text);
}

}  // namespace ado
