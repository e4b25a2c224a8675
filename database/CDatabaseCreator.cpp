// New database files from the schema, written beside the target and renamed into place.
#include "database/CDatabaseCreator.h"

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string CDatabaseCreator::PrepareTemporary(const std::string& path, bool overwrite)
{
    if (path.empty())
        throw std::runtime_error("no database path given");
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            throw std::runtime_error("'" + path + "' is a folder");
        if (!overwrite)
            throw std::runtime_error("'" + path + "' already exists (use --force to replace it)");
    }
    std::string temporary = folderOf(path) + "/.quillmar-new-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw std::runtime_error("cannot create a file in '" + folderOf(path) + "': " + std::strerror(errno));
    ::close(fd);
    ::chmod(temporary.c_str(), 0644);

    try {
        ado::SqliteHandle db = ado::openSqlite(temporary, SQLITE_OPEN_READWRITE, "CDatabaseCreator");
        ado::executeSql(db.get(), SchemaSql());
        ado::closeSqlite(db, "CDatabaseCreator");
    } catch (const ado::Error& error) {
        Discard(temporary);
        throw std::runtime_error("cannot write the schema: " + error.description());
    }
    return temporary;
}

void CDatabaseCreator::Publish(const std::string& temporary, const std::string& path)
{
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        Discard(temporary);
        throw std::runtime_error("cannot write '" + path + "': " + reason);
    }
}

void CDatabaseCreator::Discard(const std::string& temporary)
{
    ::unlink(temporary.c_str());
    ::unlink((temporary + "-journal").c_str());
}

void CDatabaseCreator::CreateEmpty(const std::string& path, bool overwrite)
{
    CreateWith(path, overwrite, [](const std::string&) {});
}
