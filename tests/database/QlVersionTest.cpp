// The version rows: which files the format check accepts, and the lookup-version counter: when
// it moves, when it waits, how it wraps, its delivery mark, and that it never creates rows.
#include <gtest/gtest.h>

#include "database/QlVersion.h"
#include "dbaccess/CADODataBase.h"
#include "tests/support/TestDatabase.h"

namespace {

std::string palmUpdt(const TestDatabase& db)
{
    return db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode='PalmUpdt'");
}

}  // namespace

TEST(QlVersionBump, StartsANewVersionOnlyAfterTheLastWasSent)
{
    TestDatabase db;
    db.exec("UPDATE QlVersion SET Major=5, Minor=1 WHERE AppCode='PalmUpdt'");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));

    EXPECT_TRUE(QlVersion(connection).Bump());
    EXPECT_EQ(palmUpdt(db), "6/0");
    EXPECT_TRUE(QlVersion(connection).Bump());  // version 6 still waits for the handheld
    EXPECT_EQ(palmUpdt(db), "6/0");

    db.exec("UPDATE QlVersion SET Minor=1 WHERE AppCode='PalmUpdt'");  // the sync delivered it
    EXPECT_TRUE(QlVersion(connection).Bump());
    EXPECT_EQ(palmUpdt(db), "7/0");
    EXPECT_EQ(db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode='Quillmar'"), "1/0");
}

TEST(QlVersionBump, WrapsFrom10000ToOne)
{
    TestDatabase db;
    db.exec("UPDATE QlVersion SET Major=10000, Minor=1 WHERE AppCode='PalmUpdt'");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    EXPECT_TRUE(QlVersion(connection).Bump());
    EXPECT_EQ(palmUpdt(db), "1/0");
}

TEST(QlVersionBump, MissingRowOrTableIsLeftAlone)
{
    TestDatabase db;
    db.exec("DELETE FROM QlVersion WHERE AppCode='PalmUpdt'");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    EXPECT_FALSE(QlVersion(connection).Bump());
    EXPECT_EQ(db.count("QlVersion"), 1);

    db.exec("DROP TABLE QlVersion");
    ASSERT_TRUE(connection.Open(db.path()));
    EXPECT_FALSE(QlVersion(connection).Bump());  // silent
    CADODataBase closed;
    EXPECT_FALSE(QlVersion(closed).Bump());
}

TEST(QlVersion, FormatCheckAcceptsMajorOneOrMoreWhateverTheMinor)
{
    const struct {
        const char* arrange;
        QlVersion::Format expected;
    } cases[] = {
        {"", QlVersion::Format::Accepted},
        {"UPDATE QlVersion SET Major=3, Minor=77 WHERE AppCode='Quillmar'", QlVersion::Format::Accepted},
        {"UPDATE QlVersion SET Major=0 WHERE AppCode='Quillmar'", QlVersion::Format::Refused},
        {"UPDATE QlVersion SET Major=-1 WHERE AppCode='Quillmar'", QlVersion::Format::Refused},
        {"DELETE FROM QlVersion WHERE AppCode='Quillmar'", QlVersion::Format::Refused},
        {"DROP TABLE QlVersion", QlVersion::Format::Unreadable},
    };
    for (const auto& c : cases) {
        TestDatabase db;
        if (*c.arrange)
            db.exec(c.arrange);
        CADODataBase connection;
        ASSERT_TRUE(connection.Open(db.path()));
        EXPECT_EQ(QlVersion(connection).CheckFormat(), c.expected) << c.arrange;
    }
}

TEST(QlVersion, DeliveryMarkAndTheVersionTheSyncReads)
{
    TestDatabase db;
    db.exec("UPDATE QlVersion SET Major=42, Minor=0 WHERE AppCode='PalmUpdt'");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    QlVersion version(connection);
    EXPECT_EQ(version.LookupVersion(), std::optional<std::uint16_t>(42));
    EXPECT_TRUE(version.MarkDelivered());
    EXPECT_EQ(palmUpdt(db), "42/1");

    db.exec("DELETE FROM QlVersion WHERE AppCode='PalmUpdt'");
    QlVersion withoutRow(connection);
    EXPECT_EQ(withoutRow.LookupVersion(), std::nullopt);
    EXPECT_FALSE(withoutRow.MarkDelivered());
    EXPECT_FALSE(withoutRow.Bump());
}
