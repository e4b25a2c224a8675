// The backup: the proposed dated name, where an entered name goes, the refusal of the database's
// own file under any of its names, and a copy that holds the same rows or a failure that says why.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <sys/resource.h>

#include "database/DatabaseBackup.h"
#include "dbaccess/CADODataBase.h"
#include "platform/fs/TemporaryFile.h"
#include "tests/support/TestDatabase.h"

TEST(DatabaseBackup, ProposedNameAndTarget)
{
    const struct {
        const char* database;
        const char* name;
    } names[] = {
        {"/data/Travel.mdb", "Exp041215.mdb"},
        {"/data/my.docs/Travel", "Exp041215"},  // a '.' in a folder is no extension
        {"/data/Travel.2004.db", "Exp041215.db"},
        {"Travel.mdb", "Exp041215.mdb"},
        {"/data/Travel.mdb ", "Exp041215.mdb"},  // blanks that end the name are not kept
    };
    for (const auto& n : names)
        EXPECT_EQ(DatabaseBackup(n.database).ProposedName(2004, 12, 15), n.name) << n.database;
    EXPECT_EQ(DatabaseBackup("/data/Travel.mdb").ProposedName(2010, 1, 2), "Exp100102.mdb");

    const DatabaseBackup backup("/data/Travel.mdb");
    EXPECT_EQ(backup.Target("Exp041215.mdb"), "/data/Exp041215.mdb");
    EXPECT_EQ(backup.Target("old/Copy.mdb"), "/data/old/Copy.mdb");
    EXPECT_EQ(backup.Target("/elsewhere/Copy.mdb"), "/elsewhere/Copy.mdb");  // a full path stays as it is
}

TEST(DatabaseBackup, TheDatabasesOwnFileIsRefusedUnderAnyName)
{
    TestDatabase db;
    const DatabaseBackup backup(db.path());
    EXPECT_TRUE(backup.IsCurrentDatabase(db.path()));
    EXPECT_TRUE(backup.IsCurrentDatabase(backup.Target("expenses.mdb")));
    EXPECT_TRUE(backup.IsCurrentDatabase(db.dir().path() + "/./expenses.mdb"));
    std::filesystem::create_symlink(db.path(), db.dir().file("link.mdb"));
    EXPECT_TRUE(backup.IsCurrentDatabase(db.dir().file("link.mdb")));
    EXPECT_FALSE(backup.IsCurrentDatabase(db.dir().file("Exp041215.mdb")));
}

TEST(DatabaseBackup, WritesACompactedCopyOrSaysWhyNot)
{
    TestDatabase db;
    db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Visa card')");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    const DatabaseBackup backup(db.path());
    std::string error;
    const std::string target = db.dir().file("Exp041215.mdb");
    std::filesystem::copy_file(db.path(), target);  // an older backup, replaced
    db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('AMEX', 'Amex')");
    ASSERT_TRUE(backup.Write(connection, target, error)) << error;
    EXPECT_EQ(TestDatabase::scalarAt(target, "SELECT group_concat(AcctCode) FROM lkpAccounts ORDER BY AcctCode"),
              db.scalar("SELECT group_concat(AcctCode) FROM lkpAccounts ORDER BY AcctCode"));
    EXPECT_TRUE(connection.IsOpen());

    EXPECT_FALSE(backup.Write(connection, db.dir().file("missing/Copy.mdb"), error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_TRUE(connection.IsOpen());  // the connection is open again all the same

    // A file-size limit stands in for a full disk: the old backup stays as it was.
    const std::string before = TestDatabase::scalarAt(target, "SELECT count(*) FROM lkpAccounts");
    db.exec("CREATE TABLE Filler (x TEXT); INSERT INTO Filler VALUES (hex(randomblob(200000)))");
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{128 * 1024, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = backup.Write(connection, target, error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(TestDatabase::scalarAt(target, "SELECT count(*) FROM lkpAccounts"), before);
    EXPECT_EQ(TestDatabase::scalarAt(target, "SELECT count(*) FROM sqlite_master WHERE name = 'Filler'"), "0");
}

TEST(DatabaseBackup, WhatKilledBackupsLeftIsRemovedButNotARunningOnesCopy)
{
    TestDatabase db;
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    const DatabaseBackup backup(db.path());
    const std::string target = db.dir().file("bk.mdb");
    // Left by killed backups: copies, a journal beside one, a journal whose copy is gone.
    for (const char* name : {".bk.mdb.Ab12Cd", ".bk.mdb.Ab12Cd-journal", ".bk.mdb.Zz99Yy", ".bk.mdb.Qq11Ww-journal",
                             ".Exp041215.mdb.Xy34Zw"})
        writeFile(db.dir().file(name), "partial");
    files::TemporaryFile running;  // another backup, still writing
    std::string error;
    ASSERT_TRUE(running.create(target, error)) << error;
    writeFile(db.dir().file("notes.txt"), "mine");

    ASSERT_TRUE(backup.Write(connection, target, error)) << error;
    const auto names = [&db] {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(db.dir().path()))
            found.insert(entry.path().filename().string());
        return found;
    };
    const std::string runningName = std::filesystem::path(running.path()).filename().string();
    EXPECT_EQ(names(), (std::set<std::string>{"expenses.mdb", "bk.mdb", "notes.txt", ".Exp041215.mdb.Xy34Zw", runningName}))
        << "only this target's leftovers go with its backup";
    // Opening the backup dialog sweeps every leftover of the database's kind in its folder.
    EXPECT_EQ(backup.RemoveLeftovers(), 1);
    EXPECT_EQ(names(), (std::set<std::string>{"expenses.mdb", "bk.mdb", "notes.txt", runningName}));
}
