// New database files from the schema, through CADODataBase.
#include "database/CDatabaseCreator.h"

#include <sys/stat.h>

#include "dbaccess/CADODataBase.h"

namespace {

// The description line of an access-layer failure report, or the whole report without one.
std::string DescriptionOf(const std::string& report)
{
    static const std::string kLabel = "\tDescription = ";
    const std::size_t at = report.find(kLabel);
    if (at == std::string::npos)
        return report;
    const std::size_t start = at + kLabel.size();
    const std::size_t end = report.find('\n', start);
    return report.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

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
        throw std::runtime_error(DescriptionOf(db.m_strLastError));  // the description names the file
}
