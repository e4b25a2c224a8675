// CADODataBase: the connection string, the exact failure report, and what stays open or closed
// after each kind of failure.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ado/SqliteHandle.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr std::int32_t kUnspecified = static_cast<std::int32_t>(0x80004005);

bool otherProcessCanWrite(const std::string& path)
{
    const ado::SqliteHandle db = ado::openSqlite(path, SQLITE_OPEN_READWRITE, "test");
    sqlite3_busy_timeout(db.get(), 0);  // a held lock answers at once
    return sqlite3_exec(db.get(), "INSERT INTO lkpAccounts (AcctCode) VALUES ('W')", nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

TEST(CADODataBase, ConnectionStringInsertsThePathUnchanged)
{
    EXPECT_EQ(CADODataBase::ConnectionString("/home/a b/Travel;1.mdb"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/home/a b/Travel;1.mdb");
    TestDatabase db;
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    EXPECT_EQ(connection.m_strConnection, CADODataBase::ConnectionString(db.path()));
    EXPECT_EQ(connection.m_hrLastError, 0);
    EXPECT_EQ(connection.m_strLastError, "");
}

TEST(CADODataBase, FailedOpenRecordsTheExactReport)
{
    TempDir dir;
    const std::string missing = dir.file("Travel.mdb");
    CADODataBase connection;
    EXPECT_FALSE(connection.Open(missing));
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.m_strConnection, "");
    EXPECT_EQ(connection.m_hrLastError, kUnspecified);
    EXPECT_EQ(connection.m_strLastError,
              "Connection String = Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + missing + "\n"
              "CADODataBase Error\n\tCode = 80004005\n\tCode meaning = Unspecified error\n"
              "\tSource = Connection\n\tDescription = Could not find file '" + missing + "'.\n");
    EXPECT_EQ(connection.LastFailure().description, "Could not find file '" + missing + "'.");
    EXPECT_EQ(connection.LastFailure().context, CADODataBase::ConnectionString(missing));
    EXPECT_FALSE(fileExists(missing));

    // A success does not clear the report.
    TestDatabase db;
    const std::string report = connection.m_strLastError;
    EXPECT_TRUE(connection.Open(db.path()));
    EXPECT_EQ(connection.m_strLastError, report);
}

TEST(CADODataBase, DamagedFileIsToldApartByItsCode)
{
    DamagedDatabase db(damages().front());
    CADODataBase connection;
    EXPECT_FALSE(connection.Open(db.path()));
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.LastFailure().code, static_cast<std::int32_t>(0x800A0BE9));
    EXPECT_EQ(connection.LastFailure().description.rfind("'" + db.path() + "' is damaged (SQLite reports: ", 0), 0u)
        << connection.LastFailure().description;
    EXPECT_NE(connection.m_strLastError.find("\tCode = 800a0be9\n"), std::string::npos) << connection.m_strLastError;
}

TEST(CADODataBase, EmptyPathChangesNothing)
{
    TestDatabase db;
    CADODataBase connection;
    EXPECT_FALSE(connection.Open(""));
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.m_hrLastError, 0);
    ASSERT_TRUE(connection.Open(db.path()));
    EXPECT_FALSE(connection.Open(""));
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(connection.m_strConnection, CADODataBase::ConnectionString(db.path()));
}

TEST(CADODataBase, OpeningASecondFileClosesTheFirstEvenWhenItFails)
{
    TestDatabase first;
    TempDir dir;
    writeFile(dir.file("junk.mdb"), std::string(4096, 'j'));
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(first.path()));
    ASSERT_TRUE(connection.BeginTrans());
    ASSERT_FALSE(otherProcessCanWrite(first.path())) << "the transaction holds the first file's lock";
    EXPECT_FALSE(connection.Open(dir.file("junk.mdb")));
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_NE(connection.m_strLastError.find("Data Source=" + dir.file("junk.mdb")), std::string::npos);
    EXPECT_TRUE(otherProcessCanWrite(first.path())) << "the first file was closed (and its lock released)";
}

TEST(CADODataBase, CompactWhileOpenAnswersTheReopen)
{
    TestDatabase db;
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenTable("lkpAccounts"));

    EXPECT_TRUE(connection.CompactDatabase(db.path(), db.dir().file("copy.mdb")));
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_FALSE(rs.IsOpen()) << "record sets must be re-opened by their owners";
    EXPECT_EQ(TestDatabase::scalarAt(db.dir().file("copy.mdb"), "SELECT AcctCode FROM lkpAccounts"), "CASH");

    // The compaction fails, the re-open succeeds: the answer is the re-open's.
    EXPECT_TRUE(connection.CompactDatabase(db.path(), db.dir().file("no/folder/copy.mdb")));
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(connection.m_strLastError.rfind("Connection String = " + CADODataBase::ConnectionString(db.path()) + "\n", 0), 0u);
}

TEST(CADODataBase, CompactWhileClosedAnswersTheCompactionAndStaysClosed)
{
    TestDatabase db;
    CADODataBase connection;
    EXPECT_TRUE(connection.CompactDatabase(db.path(), db.dir().file("copy.mdb")));
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_FALSE(connection.CompactDatabase(db.dir().file("missing.mdb"), db.dir().file("copy2.mdb")));
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.m_hrLastError, kUnspecified);
    EXPECT_FALSE(fileExists(db.dir().file("copy2.mdb")));
}

TEST(CADODataBase, CreateDatabaseWritesTheScriptAndRecordsARefusal)
{
    TempDir dir;
    const std::string path = dir.file("new.mdb");
    CADODataBase db;
    ASSERT_TRUE(db.CreateDatabase(path, "CREATE TABLE T (N INTEGER); INSERT INTO T VALUES (7);", false)) << db.m_strLastError;
    EXPECT_EQ(TestDatabase::scalarAt(path, "SELECT N FROM T"), "7");
    EXPECT_EQ(db.m_hrLastError, 0);
    EXPECT_FALSE(db.IsOpen()) << "creating opens no connection";

    EXPECT_FALSE(db.CreateDatabase(path, "CREATE TABLE U (N INTEGER);", false));
    EXPECT_EQ(db.m_hrLastError, kUnspecified);
    EXPECT_EQ(db.m_strLastError,
              "Connection String = \nCADODataBase Error\n\tCode = 80004005\n\tCode meaning = Unspecified error\n"
              "\tSource = Creation\n\tDescription = '" + path + "' already exists.\n");
    EXPECT_EQ(TestDatabase::scalarAt(path, "SELECT N FROM T"), "7") << "the existing file is kept";
}

TEST(CADODataBase, TransactionsNeedAnOpenConnection)
{
    TestDatabase db;
    CADODataBase connection;
    EXPECT_FALSE(connection.BeginTrans());
    EXPECT_FALSE(connection.CommitTrans());
    EXPECT_FALSE(connection.RollbackTrans());
    EXPECT_EQ(connection.m_hrLastError, 0) << "nothing was tried, nothing is reported";

    ASSERT_TRUE(connection.Open(db.path()));
    EXPECT_FALSE(connection.CommitTrans());
    EXPECT_EQ(connection.m_hrLastError, static_cast<std::int32_t>(0x8004D00E));
    EXPECT_TRUE(connection.BeginTrans());
    EXPECT_TRUE(connection.RollbackTrans());
}

TEST(CADODataBase, DestroyingWhileOpenClosesTheConnection)
{
    TestDatabase db;
    {
        CADODataBase connection;
        ASSERT_TRUE(connection.Open(db.path()));
        ASSERT_TRUE(connection.BeginTrans());
        EXPECT_FALSE(otherProcessCanWrite(db.path())) << "the open transaction holds the lock";
    }
    EXPECT_TRUE(otherProcessCanWrite(db.path()));
}

TEST(CADODataBase, ClosedReasonSaysWhyUntilTheNextOpen)
{
    TestDatabase db;
    TempDir dir;
    CADODataBase connection;
    EXPECT_EQ(connection.ClosedReason(), "The database is not open.");
    ASSERT_TRUE(connection.Open(db.path()));
    EXPECT_EQ(connection.ClosedReason(), "");
    connection.Close("A HotSync is using the database.");
    EXPECT_EQ(connection.ClosedReason(), "A HotSync is using the database.");
    EXPECT_FALSE(connection.Open(dir.file("gone.mdb")));
    EXPECT_EQ(connection.ClosedReason(), "Could not find file '" + dir.file("gone.mdb") + "'.");
    ASSERT_TRUE(connection.Open(db.path()));
    connection.Close();
    EXPECT_EQ(connection.ClosedReason(), "The database is not open.");
}
