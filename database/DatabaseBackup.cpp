// Naming, placing and writing the backup copy.
#include "database/DatabaseBackup.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <utility>

#include "dbaccess/CADODataBase.h"
#include "platform/fs/TemporaryFile.h"

namespace fs = std::filesystem;

std::string DatabaseBackup::ProposedName(int year, int month, int day) const
{
    char date[16];
    std::snprintf(date, sizeof date, "%02d%02d%02d", year % 100, month, day);
    // The extension of the file name only: a '.' in a folder name is none. Blanks that end the
    // database's name would end the backup's too, unseen in the box: they are left off.
    std::string extension = fs::path(m_strCurrDB).extension().string();
    while (!extension.empty() && std::isspace(static_cast<unsigned char>(extension.back())))
        extension.pop_back();
    return "Exp" + std::string(date) + extension;
}

std::string DatabaseBackup::ProposedName() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ProposedName(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string DatabaseBackup::Target(const std::string& strEntered) const
{
    const fs::path entered(strEntered);
    if (entered.is_absolute())
        return strEntered;
    return (fs::path(m_strCurrDB).parent_path() / entered).string();
}

bool DatabaseBackup::IsCurrentDatabase(const std::string& strTarget) const
{
    if (strTarget == m_strCurrDB)
        return true;
    std::error_code error;
    return fs::equivalent(strTarget, m_strCurrDB, error);  // false when either does not exist
}

namespace {

// The file's identity; a copy renamed into place is a new file even where an old one stood.
std::optional<std::pair<dev_t, ino_t>> FileIdentity(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return std::make_pair(info.st_dev, info.st_ino);
}

}  // namespace

int DatabaseBackup::RemoveLeftovers() const
{
    const std::string extension = fs::path(m_strCurrDB).extension().string();
    return files::TemporaryFile::RemoveLeftovers(files::folderOf(m_strCurrDB), [&extension](const std::string& target) {
        return fs::path(target).extension().string() == extension;
    });
}

bool DatabaseBackup::Write(CADODataBase& db, const std::string& strTarget, std::string& error) const
{
    // Copies of this target a killed backup left; one that another backup still writes stays.
    const std::string name = fs::path(strTarget).filename().string();
    files::TemporaryFile::RemoveLeftovers(files::folderOf(strTarget),
                                          [&name](const std::string& target) { return target == name; });
    // The connection answers with its re-open when it was open, so whether a copy was made is
    // read from the target itself.
    const auto before = FileIdentity(strTarget);
    (void)db.CompactDatabase(m_strCurrDB, strTarget);
    const auto after = FileIdentity(strTarget);
    if (after && after != before)
        return true;
    error = db.LastFailure().description;
    return false;
}
