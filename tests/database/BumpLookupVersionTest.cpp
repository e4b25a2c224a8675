// The lookup-version counter: when it moves, when it waits, how it wraps, and that it never
// creates rows or complains.
#include <gtest/gtest.h>

#include "database/BumpLookupVersion.h"
#include "dbaccess/CADODataBase.h"
#include "tests/support/TestDatabase.h"

namespace {

std::string palmUpdt(const TestDatabase& db)
{
    return db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode='PalmUpdt'");
}

}  // namespace

TEST(BumpLookupVersion, StartsANewVersionOnlyAfterTheLastWasSent)
{
    TestDatabase db;
    db.exec("UPDATE QlVersion SET Major=5, Minor=1 WHERE AppCode='PalmUpdt'");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));

    BumpLookupVersion(connection);
    EXPECT_EQ(palmUpdt(db), "6/0");
    BumpLookupVersion(connection);  // version 6 still waits for the handheld
    EXPECT_EQ(palmUpdt(db), "6/0");

    db.exec("UPDATE QlVersion SET Minor=1 WHERE AppCode='PalmUpdt'");  // the sync delivered it
    BumpLookupVersion(connection);
    EXPECT_EQ(palmUpdt(db), "7/0");
    EXPECT_EQ(db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode='Quillmar'"), "1/0");
}

TEST(BumpLookupVersion, WrapsFrom10000ToOne)
{
    TestDatabase db;
    db.exec("UPDATE QlVersion SET Major=10000, Minor=1 WHERE AppCode='PalmUpdt'");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    BumpLookupVersion(connection);
    EXPECT_EQ(palmUpdt(db), "1/0");
}

TEST(BumpLookupVersion, MissingRowOrTableIsLeftAlone)
{
    TestDatabase db;
    db.exec("DELETE FROM QlVersion WHERE AppCode='PalmUpdt'");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    BumpLookupVersion(connection);
    EXPECT_EQ(db.count("QlVersion"), 1);

    db.exec("DROP TABLE QlVersion");
    ASSERT_TRUE(connection.Open(db.path()));
    BumpLookupVersion(connection);  // silent
    CADODataBase closed;
    BumpLookupVersion(closed);
    SUCCEED();
}
