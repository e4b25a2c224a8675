// New database files from the schema, through CADODataBase.
#include "database/CDatabaseCreator.h"

#include <sys/stat.h>

#include "dbaccess/CADODataBase.h"

void CDatabaseCreator::CheckTarget(const std::string& path, bool overwrite)
{
    if (path.empty())
        throw std::runtime_error("no database path given");
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode))
        throw std::runtime_error("'" + path + "' is a folder");
    if (!overwrite)
        throw std::runtime_error("'" + path + "' already exists (use --force to replace it)");
}

void CDatabaseCreator::CreateEmpty(const std::string& path, bool overwrite)
{
    CheckTarget(path, overwrite);
    CADODataBase db;
    if (!db.CreateDatabase(path, SchemaSql(), overwrite))
        throw std::runtime_error(db.LastFailure().description);  // the description names the file
}
