// New database files from a script, written through the safe-replace helper.
#include "platform/ado/DatabaseCreator.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"
#include "platform/fs/SafeReplace.h"

namespace ado {
namespace {

constexpr const char* kSource = "Creation";

[[noreturn]] void fail(const std::string& what)
{
    throw Error(kUnspecifiedError, kSource, what);
}

}  // namespace

void DatabaseCreator::checkTarget(const std::string& target, bool overwrite)
{
    if (target.empty())
        fail("No database file was named.");
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode))
        fail("'" + target + "' is a folder, not a database file.");
    if (!overwrite)
        fail("'" + target + "' already exists.");
}

void DatabaseCreator::createDatabase(const std::string& targetConnection, const std::string& script, bool overwrite,
                                     const Fill& fill)
{
    const std::string target = Connection::dataSource(targetConnection);
    checkTarget(target, overwrite);
    std::string error;
    bool replaced = false;
    try {
        replaced = files::SafeReplace::replace(target, [&](const files::TemporaryFile& file) {
            SqliteHandle db = openSqlite(file.path(), SQLITE_OPEN_READWRITE, kSource);
            // Nothing reads the file before it is flushed whole and renamed into place.
            executeSql(db.get(), "PRAGMA synchronous = OFF");
            executeSql(db.get(), script);
            if (fill)
                fill(db.get());
            closeSqlite(db, kSource);
        }, error, files::SafeReplace::Mode::New);
    } catch (const Error& failure) {
        throw Error(failure.code(), failure.source(),
                    "The database '" + target + "' could not be written: " + failure.description());
    }
    if (!replaced)
        fail("Could not write '" + target + "': " + error + ".");
}

}  // namespace ado
