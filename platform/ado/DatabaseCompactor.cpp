// Compaction by VACUUM INTO and an atomic rename.
#include "platform/ado/DatabaseCompactor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"
#include "platform/ado/Statement.h"

namespace ado {
namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void syncPath(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

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

    SqliteHandle db = openSqlite(source, SQLITE_OPEN_READONLY, "Compaction");

    std::string temporary = folderOf(target) + "/.quillmar-compact-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        fail("Could not create a file in '" + folderOf(target) + "': " + std::strerror(errno) + ".");
    ::close(fd);
    ::unlink(temporary.c_str());  // VACUUM INTO wants to create the file itself

    try {
        Statement vacuum(db.get(), "VACUUM INTO ?");
        vacuum.bind(1, ole::Variant(temporary));
        vacuum.step();
    } catch (const Error& error) {
        ::unlink(temporary.c_str());
        throw Error(error.code(), error.source(), "Compaction of '" + source + "' failed: " + error.description());
    }
    db.reset();

    syncPath(temporary, O_RDONLY);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temporary.c_str());
        fail("Could not write '" + target + "': " + reason + ".");
    }
    syncPath(folderOf(target), O_RDONLY | O_DIRECTORY);
}

}  // namespace ado
