// The one owner of an open SQLite database handle: a unique_ptr whose deleter closes it, and the
// calls that open and close one with the engine's message in the ado::Error they throw.
#pragma once

#include <memory>
#include <string>

struct sqlite3;

namespace ado {

struct SqliteCloser {
    void operator()(sqlite3* db) const noexcept;  // closes, finishing once statements are gone
};

using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;

// Opens path with the SQLite open flags given and the engine's busy timeout. Throws ado::Error
// (source as given) "Could not open 'PATH': <engine message>." when it cannot.
SqliteHandle openSqlite(const std::string& path, int flags, const std::string& source);

// Closes the handle now and throws ado::Error when the engine reports a failure, for writers
// that must know their file was finished.
void closeSqlite(SqliteHandle& handle, const std::string& source);

// Runs one or more SQL statements with no results; throws ado::Error with the engine's message.
void executeSql(sqlite3* db, const std::string& sql);

}  // namespace ado
