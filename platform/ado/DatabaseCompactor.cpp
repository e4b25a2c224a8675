// Compaction by VACUUM INTO a file that then replaces the target.
#include "platform/ado/DatabaseCompactor.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "platform/ado/Connection.h"
#include "platform/ado/DatabaseCheck.h"
#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"
#include "platform/ado/Statement.h"
#include "platform/fs/SafeReplace.h"

namespace ado {
namespace {

[[noreturn]] void fail(const std::string& what)
{
    throw Error(kUnspecifiedError, "Compaction", what);
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat x {}, y {};
    if (::stat(a.c_str(), &x) != 0 || ::stat(b.c_str(), &y) != 0)
        return false;
    return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

}  // namespace

void DatabaseCompactor::compactDatabase(const std::string& sourceConnection, const std::string& targetConnection)
{
    const std::string source = Connection::dataSource(sourceConnection);
    const std::string target = Connection::dataSource(targetConnection);
    Connection::checkDatabaseFile(source);
    if (target.empty())
        fail("No target file was named.");
    if (sameFile(source, target))
        fail("The copy cannot replace the database it is made from ('" + target + "').");

    const SqliteHandle db = openSqlite(source, SQLITE_OPEN_READONLY, "Compaction");
    // VACUUM INTO copies many damaged files without a word, and the copy carries the damage.
    checkDatabase(db.get(), source, "Compaction", "No copy was made, so nothing was written to '" + target + "'.");
    std::string error;
    bool replaced = false;
    try {
        // VACUUM INTO fills the empty temporary file it is given.
        replaced = files::SafeReplace::replace(target, [&](const files::TemporaryFile& file) {
            Statement vacuum(db.get(), "VACUUM INTO ?");
            vacuum.bind(1, ole::Variant(file.path()));
            vacuum.step();
        }, error, files::SafeReplace::Mode::New);  // a backup is a new file, even over an older one
    } catch (const Error& failure) {
        throw Error(failure.code(), failure.source(), "Compaction of '" + source + "' failed: " + failure.description());
    }
    if (!replaced)
        fail("Could not write '" + target + "': " + error + ".");
}

}  // namespace ado
