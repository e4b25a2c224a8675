// DatabaseBackup: a compacted copy of the current expense database under a dated name. It
// proposes the name ("Exp" + today's "%y%m%d" + the database's extension), places what the user
// entered (a full path as it is, a bare name in the database's folder), refuses the database's
// own file (also when named another way), and writes the copy. The desktop's backup dialog and
// `quillmar-db backup` share it.
#pragma once

#include <string>

class CADODataBase;

class DatabaseBackup {
public:
    explicit DatabaseBackup(std::string strCurrDB) : m_strCurrDB(std::move(strCurrDB)) {}

    // "Exp041215.mdb" for Travel.mdb on 15 December 2004; no extension when the file name has none.
    std::string ProposedName(int year, int month, int day) const;
    std::string ProposedName() const;  // for today (local time)
    // Where the copy goes for what the user entered.
    std::string Target(const std::string& strEntered) const;
    // The target is the database's own file (same path, or the same file by another path).
    [[nodiscard]] bool IsCurrentDatabase(const std::string& strTarget) const;
    // Writes the compacted copy over strTarget through db (whose connection, when open, is
    // closed for the copy and opened again), removing first what killed copies to it left.
    // False with the reason in error.
    [[nodiscard]] bool Write(CADODataBase& db, const std::string& strTarget, std::string& error) const;
    // Removes the temporary copies killed backups (or other writes of files with the database's
    // extension) left in the database's folder, except those still being written. How many went.
    int RemoveLeftovers() const;

private:
    std::string m_strCurrDB;  // the current database's path
};
