// Writes a new database file: a script of SQL statements (and, for a tool, rows of its own) run
// into a temporary file in the target's folder, which replaces the target only once it is
// complete and on disk. An existing file is replaced only when the caller says so.
#pragma once

#include <functional>
#include <string>

struct sqlite3;

namespace ado {

class DatabaseCreator {
public:
    // Adds rows to the new database after the script; throws to abandon it.
    using Fill = std::function<void(sqlite3* db)>;

    // target is a connection string ("...;Data Source=PATH"). A folder is refused, and so is an
    // existing file unless overwrite is set; any failure leaves the target as it was. Throws
    // ado::Error.
    static void createDatabase(const std::string& targetConnection, const std::string& script, bool overwrite,
                               const Fill& fill = {});

private:
    static void checkTarget(const std::string& target, bool overwrite);
};

}  // namespace ado
