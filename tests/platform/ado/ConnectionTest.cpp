// The connection: what it refuses to open (and never creates), transactions, waiting for
// another process's lock, and closing its record sets.
#include <gtest/gtest.h>

#include <chrono>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqliteHandle.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/TestDatabase.h"

using ado::Connection;

namespace {

std::string connectionString(const std::string& path)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path;
}

// How a file is opened: checked whole first, or checked beside the first reads and settled.
enum class Opening { Checked, CheckedBeside };

// Opening beside: the reads go on at once, a write before the answer is refused, and the answer
// comes from settleCheck.
void openAs(Connection& connection, const std::string& path, Opening opening)
{
    if (opening == Opening::Checked) {
        connection.open(connectionString(path), "", "", -1);
        return;
    }
    connection.openCheckingBeside(connectionString(path));
    EXPECT_TRUE(connection.checkPending());
    EXPECT_THROW(ado::executeSql(connection.handle(), "DELETE FROM lkpAccounts"), ado::Error);
    connection.settleCheck();
    EXPECT_FALSE(connection.checkPending());
}

ado::Error openFailure(const std::string& path, Opening opening = Opening::Checked)
{
    Connection connection;
    try {
        openAs(connection, path, opening);
    } catch (const ado::Error& error) {
        EXPECT_FALSE(connection.isOpen());
        return error;
    }
    ADD_FAILURE() << "opening " << path << " succeeded";
    return ado::Error(0, "", "");
}

}  // namespace

TEST(Connection, DataSourceIsTheRestOfTheString)
{
    EXPECT_EQ(Connection::dataSource("Provider=X;Data Source=/a/b c.mdb"), "/a/b c.mdb");
    EXPECT_EQ(Connection::dataSource("Provider=X;Data Source=/odd;name.mdb"), "/odd;name.mdb");
    EXPECT_EQ(Connection::dataSource("Provider=X"), "");
}

TEST(Connection, RefusesWhatIsNoDatabaseAndChangesNothing)
{
    TempDir dir;
    const std::string missing = dir.file("missing.mdb");
    EXPECT_NE(openFailure(missing).description().find("Could not find file"), std::string::npos);
    EXPECT_FALSE(fileExists(missing)) << "a missing file must never be created";

    EXPECT_NE(openFailure(dir.path()).description().find("folder"), std::string::npos);

    const std::string empty = dir.file("empty.mdb");
    writeFile(empty, "");
    EXPECT_NE(openFailure(empty).description().find("empty"), std::string::npos);

    const std::string text = dir.file("notes.mdb");
    const std::string notes(5000, 'x');
    writeFile(text, notes);
    const ado::Error notDb = openFailure(text);
    EXPECT_EQ(notDb.code(), ado::kUnspecifiedError);
    EXPECT_NE(notDb.description().find("not a database"), std::string::npos) << notDb.description();
    EXPECT_EQ(readFile(text), notes);

    EXPECT_EQ(openFailure("").code(), ado::kUnspecifiedError);
}

TEST(Connection, TruncatedDatabaseIsRefusedAsDamaged)
{
    TestDatabase db;
    fillExpenses(db);
    const std::string bytes = readFile(db.path());
    for (const std::size_t kept : {std::size_t(100), std::size_t(8192)}) {  // the header; the schema page
        SCOPED_TRACE(kept);
        writeFile(db.path(), bytes.substr(0, kept));
        EXPECT_EQ(openFailure(db.path()).code(), ado::kDatabaseDamaged);
        EXPECT_EQ(readFile(db.path()), bytes.substr(0, kept));
    }
}

TEST(Connection, DamagedFilesAreRefusedBeforeAnythingIsWritten)
{
    for (const Opening opening : {Opening::Checked, Opening::CheckedBeside}) {
        SCOPED_TRACE(opening == Opening::Checked ? "checked" : "checked beside");
        TestDatabase sound;
        fillExpenses(sound);
        Connection connection;
        EXPECT_NO_THROW(openAs(connection, sound.path(), opening)) << "a sound file opens";
        EXPECT_NO_THROW(ado::executeSql(connection.handle(), "DELETE FROM lkpAccounts")) << "and takes writes";
    }
    for (const auto& [damage, opening] : [] {
             std::vector<std::pair<Damage, Opening>> cases;
             for (const Damage& damage : damages())
                 for (const Opening opening : {Opening::Checked, Opening::CheckedBeside})
                     cases.emplace_back(damage, opening);
             return cases;
         }()) {
        SCOPED_TRACE(damage.name);
        SCOPED_TRACE(opening == Opening::Checked ? "checked" : "checked beside");
        DamagedDatabase db(damage);
        const std::string before = readFile(db.path());

        const ado::Error error = openFailure(db.path(), opening);
        EXPECT_EQ(error.code(), ado::kDatabaseDamaged);
        EXPECT_EQ(error.source(), "Connection");
        const std::string& text = error.description();
        EXPECT_EQ(text.rfind("'" + db.path() + "' is damaged (SQLite reports: ", 0), 0u) << text;
        EXPECT_NE(text.find(damage.report), std::string::npos) << text;
        EXPECT_NE(text.find("). It was not opened, so nothing was written to it."), std::string::npos) << text;
        EXPECT_EQ(readFile(db.path()), before);
    }
}

// Closing does not wait for a check nobody needs: it stops it, and the file opens again.
TEST(Connection, ClosingStopsACheckThatIsStillRunning)
{
    TestDatabase db;
    fillExpenses(db);
    const std::string before = readFile(db.path());
    for (int round = 0; round < 20; ++round) {
        Connection connection;
        connection.openCheckingBeside(connectionString(db.path()));
        connection.close();
        EXPECT_FALSE(connection.isOpen());
        EXPECT_FALSE(connection.checkPending());
        EXPECT_NO_THROW(connection.settleCheck()) << "nothing left to settle";
    }
    Connection connection;
    EXPECT_NO_THROW(openAs(connection, db.path(), Opening::CheckedBeside));
    EXPECT_EQ(readFile(db.path()), before);
}

TEST(Connection, RollbackDiscardsAndCommitKeeps)
{
    TestDatabase db;
    Connection connection;
    connection.open(connectionString(db.path()), "", "", -1);
    ado::Recordset rs;
    rs.open("lkpAccounts", &connection, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdTable);

    connection.beginTrans();
    EXPECT_THROW(connection.beginTrans(), ado::Error);
    rs.addNew();
    rs.setValue("AcctCode", ole::Variant("TMP"));
    rs.update();
    connection.rollbackTrans();
    EXPECT_EQ(db.count("lkpAccounts", "AcctCode='TMP'"), 0);

    // The engine rolled back by itself (as after an I/O error): the rollback has nothing to undo
    // and must not replace that error with a complaint of its own.
    connection.beginTrans();
    ado::executeSql(connection.handle(), "ROLLBACK");
    EXPECT_NO_THROW(connection.rollbackTrans());

    connection.beginTrans();
    rs.addNew();
    rs.setValue("AcctCode", ole::Variant("KEEP"));
    rs.update();
    connection.commitTrans();
    EXPECT_EQ(db.count("lkpAccounts", "AcctCode='KEEP'"), 1);

    try {
        connection.commitTrans();
        ADD_FAILURE() << "commit without a transaction succeeded";
    } catch (const ado::Error& error) {
        EXPECT_EQ(error.code(), ado::kNoTransaction);
    }
}

TEST(Connection, WaitsForAnotherWritersLock)
{
    TestDatabase db;
    const ado::SqliteHandle handle = ado::openSqlite(db.path(), SQLITE_OPEN_READWRITE, "test");
    sqlite3* other = handle.get();
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread releaser([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });

    Connection connection;
    connection.open(connectionString(db.path()), "", "", -1);
    EXPECT_NO_THROW(connection.beginTrans());  // waits instead of failing with "database is locked"
    EXPECT_NO_THROW(connection.commitTrans());
    releaser.join();
}

TEST(Connection, ClosingClosesItsRecordsets)
{
    TestDatabase db;
    Connection connection;
    connection.open(connectionString(db.path()), "", "", -1);
    ado::Recordset first, second;
    first.open("QlVersion", &connection, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdTable);
    second.open("SELECT * FROM lkpExpBillStatus", &connection, ado::adOpenStatic, ado::adLockOptimistic, ado::adCmdText);
    second.close();
    connection.close();
    EXPECT_FALSE(first.isOpen());
    EXPECT_FALSE(connection.isOpen());
    EXPECT_THROW(first.moveFirst(), ado::Error);
}
