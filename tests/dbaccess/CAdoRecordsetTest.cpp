// CAdoRecordset: the null rules of the typed getters and setters, the exact failure reports and
// their context texts, searching, and the edit operations.
#include <gtest/gtest.h>

#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ado/Error.h"
#include "tests/support/TestDatabase.h"

using ole::Currency;
using ole::DateTime;
using ole::ValueStatus;

namespace {

class CAdoRecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES "
                "(7, 'SEV', 'Seven', 1), (12, 'TRVL', 'Travel', 2), (13, 'MEAL', 'Meals', 2)");
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, Item, ProjectID, Amount) VALUES "
                "(12, 'FUEL', NULL, 70000, 25000), (12, 'MEALS', 'Lunch', 7, NULL)");
        ASSERT_TRUE(connection.Open(db.path()));
    }

    TestDatabase db;
    CADODataBase connection;
};

// A record set whose default SQL stands in for an empty query text.
class CVersionRecordset : public CAdoRecordset {
public:
    using CAdoRecordset::CAdoRecordset;
    std::string GetDefaultSQL() override { return "SELECT * FROM QlVersion"; }
};

std::string report(const std::string& context, const std::string& code, const std::string& meaning,
                   const std::string& source, const std::string& description)
{
    return "Query = " + context + "\nCAdoRecordset Error\n\nCode = " + code + "\nCode meaning = " + meaning +
           "\nSource = " + source + "\nDescription:\n  " + description;
}

}  // namespace

TEST_F(CAdoRecordsetTest, OpensNothingOnAClosedDatabase)
{
    CADODataBase closed;
    CAdoRecordset rs(&closed);
    EXPECT_FALSE(rs.OpenTable("Expenses"));
    EXPECT_FALSE(rs.OpenQuery("SELECT * FROM Expenses"));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(rs.m_hrLastError, 0);
    CAdoRecordset orphan(nullptr);
    EXPECT_FALSE(orphan.OpenTable("Expenses"));
}

TEST_F(CAdoRecordsetTest, ClosedReasonNamesTheConnectionOrTheFailedOpen)
{
    CAdoRecordset rs(&connection);
    EXPECT_EQ(rs.ClosedReason(), "The table is not open.");
    EXPECT_FALSE(rs.OpenTable("NoSuchTable"));
    EXPECT_EQ(rs.ClosedReason(), "no such table: NoSuchTable");
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    EXPECT_EQ(rs.ClosedReason(), "");
    connection.Close("A HotSync is using the database.");
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(rs.ClosedReason(), "A HotSync is using the database.");
}

TEST_F(CAdoRecordsetTest, BuildQueryJoinsFilterAndSortWithNothingElse)
{
    CAdoRecordset rs(&connection);
    EXPECT_EQ(rs.BuildQuery("SELECT * FROM Expenses"), "SELECT * FROM Expenses");
    rs.m_strFilter = "ExpType=12";
    rs.m_strSort = "ExpCat ASC";
    EXPECT_EQ(rs.BuildQuery("SELECT * FROM Expenses"), "SELECT * FROM Expenses WHERE ExpType=12 ORDER BY ExpCat ASC");
    EXPECT_FALSE(rs.OpenQuery("")) << "no SQL and no default SQL";
    EXPECT_TRUE(rs.OpenQuery("SELECT * FROM Expenses"));
    EXPECT_EQ(rs.GetRecordCount(), 2);

    CVersionRecordset version(&connection);
    version.m_strFilter = "AppCode='PalmUpdt'";
    ASSERT_TRUE(version.OpenQuery(""));
    EXPECT_EQ(version.GetRecordCount(), 1);
}

TEST_F(CAdoRecordsetTest, OpenFailuresRecordTheirContext)
{
    CAdoRecordset rs(&connection);
    EXPECT_FALSE(rs.OpenTable("NoSuchTable"));
    EXPECT_EQ(rs.m_hrLastError, ado::kNoSuchTable);
    EXPECT_EQ(rs.m_strLastError, report("NoSuchTable", "80040e37", "IDispatch error #3127", "SQLite",
                                        "no such table: NoSuchTable"));
    // The same failure as a value, for callers that act on it.
    EXPECT_EQ(rs.LastFailure().code, ado::kNoSuchTable);
    EXPECT_EQ(rs.LastFailure().source, "SQLite");
    EXPECT_EQ(rs.LastFailure().description, "no such table: NoSuchTable");
    EXPECT_EQ(rs.LastFailure().context, "NoSuchTable");

    rs.m_strFilter = "ExpType >";
    EXPECT_FALSE(rs.OpenQuery("SELECT * FROM Expenses"));
    EXPECT_EQ(rs.m_strLastError.rfind("Query = SELECT * FROM Expenses WHERE ExpType >\nCAdoRecordset Error\n\nCode = 80040e14\n", 0), 0u)
        << rs.m_strLastError;
}

TEST_F(CAdoRecordsetTest, GetterFailuresGiveTheirFailureValueAndLabel)
{
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    const std::string description = "Item cannot be found in the collection corresponding to the requested name or ordinal. (Column 'Nope')";
    const auto expectReport = [&](const char* label) {
        EXPECT_EQ(rs.m_strLastError, report(label, "800a0cc1", "Unknown error 0x800A0CC1", "Recordset", description));
        EXPECT_EQ(rs.m_hrLastError, ado::kItemNotFound);
    };
    EXPECT_EQ(rs.GetDF_Text("Nope"), "");
    expectReport("GetDF_Text failed.");
    EXPECT_FALSE(rs.GetDF_Boolean("Nope"));
    expectReport("GetDF_Boolean failed.");
    EXPECT_EQ(rs.GetDF_Byte("Nope"), 0);
    expectReport("GetDF_Byte failed.");
    EXPECT_EQ(rs.GetDF_Short("Nope"), 0);
    expectReport("GetDF_Short failed.");
    EXPECT_EQ(rs.GetDF_Long("Nope"), 0);
    expectReport("GetDF_Long failed.");
    EXPECT_EQ(rs.GetDF_Currency("Nope"), Currency());
    expectReport("GetDF_Currency failed.");
    EXPECT_EQ(rs.GetDF_DateTime("Nope").status(), ValueStatus::Invalid);
    expectReport("GetDF_DateTime failed.");
    EXPECT_FALSE(rs.PutDF_Short("Nope", 1));
    expectReport("PutFieldValue");
    EXPECT_TRUE(rs.IsOpen()) << "the record set stays usable";
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 12);
}

TEST_F(CAdoRecordsetTest, NullRulesOfTheTypedGetters)
{
    CAdoRecordset rs(&connection);
    rs.m_strSort = "ExpID";
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    EXPECT_EQ(rs.GetDF_Text("Item"), "");
    EXPECT_EQ(rs.GetDF_Short("Status"), 0);       // default 0
    EXPECT_EQ(rs.GetDF_Short("ExpYear"), 0);      // null
    EXPECT_EQ(rs.GetDF_Long("ExpYear"), 0);
    EXPECT_EQ(rs.GetDF_Byte("TypeComp"), 0);
    EXPECT_FALSE(rs.GetDF_Boolean("Reimburse"));
    EXPECT_EQ(rs.GetDF_DateTime("ExpDate").status(), ValueStatus::Invalid);
    // The 16-bit getter reads the stored word without conversion.
    EXPECT_EQ(rs.GetDF_Short("ProjectID"), static_cast<std::int16_t>(70000));
    EXPECT_EQ(rs.GetDF_Currency("Amount"), Currency::fromCents(250));
    rs.MoveNext();
    EXPECT_EQ(rs.GetDF_Currency("Amount"), Currency()) << "a null currency reads as 0, valid";
    EXPECT_EQ(rs.GetDF_Text("Item"), "Lunch");
    EXPECT_EQ(rs.m_hrLastError, 0);
}

TEST_F(CAdoRecordsetTest, QueryReadsCurrencyAsTheTableDoes)
{
    db.exec("UPDATE Expenses SET Amount = 123400 WHERE ExpCat = 'MEALS'");  // 12.34, stored x 10,000
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenQuery("SELECT e.Amount, t.ExpDesc FROM Expenses e JOIN lkpExpTypes t ON t.ExpType = e.ExpType "
                             "WHERE e.ExpCat = 'MEALS'"));
    EXPECT_EQ(rs.GetDF_Currency("Amount"), Currency::fromCents(1234));
    EXPECT_EQ(rs.GetDF_Text("ExpDesc"), "Travel");
}

TEST_F(CAdoRecordsetTest, SettersFollowTheirNullRules)
{
    CAdoRecordset rs(&connection);
    rs.m_strSort = "ExpID";
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    EXPECT_TRUE(rs.PutDF_Text("Item", ""));
    EXPECT_FALSE(rs.PutDF_DateTime("ExpDate", DateTime::invalid()));
    EXPECT_FALSE(rs.PutDF_Currency("Amount", Currency::invalid()));
    EXPECT_TRUE(rs.PutDF_Boolean("Reimburse", true));
    EXPECT_TRUE(rs.PutDF_Byte("TypeComp", 2));
    EXPECT_TRUE(rs.PutDF_Long("ProjectID", -5));
    EXPECT_TRUE(rs.Update());
    EXPECT_EQ(db.scalar("SELECT quote(Item) || (ExpDate IS NULL) || Amount || Reimburse || TypeComp || ProjectID FROM Expenses WHERE ExpID=1"),
              "NULL12500012-5");
    EXPECT_EQ(rs.GetDF_Text("Item"), "") << "the empty text round trip is stable";
    EXPECT_TRUE(rs.PutDF_DateTime("ExpDate", DateTime(2004, 12, 25, 8, 30, 0)));
    EXPECT_TRUE(rs.PutDF_Currency("Amount", Currency::fromCents(-1250)));
    EXPECT_TRUE(rs.Update());
    EXPECT_EQ(db.scalar("SELECT ExpDate || ' ' || Amount FROM Expenses WHERE ExpID=1"), "2004-12-25 08:30:00 -125000");
    EXPECT_EQ(rs.GetDF_DateTime("ExpDate"), DateTime(2004, 12, 25, 8, 30, 0));
}

TEST_F(CAdoRecordsetTest, FindFirstAndFindNext)
{
    CAdoRecordset rs(&connection);
    rs.m_strSort = "ExpType";
    ASSERT_TRUE(rs.OpenTable("lkpExpTypes"));
    ASSERT_TRUE(rs.MoveTo(2));
    EXPECT_FALSE(rs.FindFirst()) << "an empty criterion";
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 7) << "and the row did not move";

    rs.m_strFind = "ExpComp=2";
    ASSERT_TRUE(rs.FindFirst());
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 12);
    ASSERT_TRUE(rs.FindNext());
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 13);
    EXPECT_FALSE(rs.FindNext());
    EXPECT_FALSE(rs.FindNext()) << "at the end it stays false";

    rs.m_strFind = "ExpComp=";
    EXPECT_FALSE(rs.FindFirst());
    EXPECT_EQ(rs.m_hrLastError, 0) << "a criterion it cannot use is not recorded";
    rs.m_strFind = "Nope=1";
    EXPECT_FALSE(rs.FindFirst());
    EXPECT_EQ(rs.m_strLastError.rfind("Query = FindFirst Procedure\n", 0), 0u);

    CAdoRecordset empty(&connection);
    empty.m_strFilter = "ExpType=99";
    ASSERT_TRUE(empty.OpenTable("lkpExpTypes"));
    empty.m_strFind = "ExpType=99";
    EXPECT_FALSE(empty.FindFirst());
}

TEST_F(CAdoRecordsetTest, LookupTextLeavesItsCriterion)
{
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenTable("lkpExpTypes"));
    EXPECT_EQ(rs.LookupText("ExpType", 7, "ExpLabel"), "SEV");
    EXPECT_EQ(rs.m_strFind, "ExpType=7");
    EXPECT_EQ(rs.LookupText("ExpType", -3, "ExpLabel"), "");
    EXPECT_EQ(rs.m_strFind, "ExpType=-3");
}

TEST_F(CAdoRecordsetTest, DeleteWithAPendingNewRowDeletesNothing)
{
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    ASSERT_TRUE(rs.AddNew());
    EXPECT_TRUE(rs.PutDF_Text("Item", "Never stored"));
    EXPECT_TRUE(rs.Delete());
    EXPECT_EQ(db.count("Expenses"), 2);
    EXPECT_EQ(rs.GetRecordCount(), 2);

    rs.MoveFirst();
    EXPECT_TRUE(rs.Delete());
    EXPECT_EQ(db.count("Expenses"), 1);
    EXPECT_EQ(rs.GetRecordCount(), 1);
}

TEST_F(CAdoRecordsetTest, FailedUpdateCancelsThePendingRow)
{
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenTable("lkpAccounts"));
    ASSERT_TRUE(rs.AddNew());
    EXPECT_TRUE(rs.PutDF_Text("AcctCode", "cash"));  // the code is unique whatever its case
    EXPECT_FALSE(rs.Update());
    EXPECT_EQ(rs.m_hrLastError, ado::kIntegrityViolation);
    EXPECT_EQ(rs.m_strLastError.rfind("Query = Update operation failed.\n", 0), 0u);
    EXPECT_TRUE(rs.Update()) << "nothing is pending any more";
    EXPECT_EQ(db.count("lkpAccounts"), 1);
}

TEST_F(CAdoRecordsetTest, EmptyValueLeavesTheColumnDefault)
{
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    ASSERT_TRUE(rs.AddNew());
    EXPECT_TRUE(rs.PutDF_Short("ExpType", 12));
    EXPECT_TRUE(rs.PutDF_Short("Status", 3));
    EXPECT_TRUE(rs.PutDF_Empty("Status"));
    ASSERT_TRUE(rs.Update());
    EXPECT_EQ(rs.GetDF_Short("Status"), 0);
    EXPECT_EQ(db.scalar("SELECT Status FROM Expenses ORDER BY ExpID DESC LIMIT 1"), "0");
}

TEST_F(CAdoRecordsetTest, BookmarksAndMoves)
{
    CAdoRecordset rs(&connection);
    rs.m_strSort = "ExpType";
    ASSERT_TRUE(rs.OpenTable("lkpExpTypes"));
    EXPECT_TRUE(rs.MoveTo(3));
    const ole::Variant twelve = rs.GetBookmark();
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 12);
    rs.MoveFirst();
    EXPECT_FALSE(rs.SetBookmark(ole::Variant()));
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 0) << "an empty bookmark does nothing";
    EXPECT_TRUE(rs.SetBookmark(twelve));
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 12);
    EXPECT_FALSE(rs.SetBookmark(ole::Variant(ole::Bookmark{12345})));
    EXPECT_EQ(rs.m_strLastError.rfind("Query = Bookmark operation failed.\n", 0), 0u);

    EXPECT_TRUE(rs.SetSort("ExpType DESC", false));
    EXPECT_EQ(rs.m_strSort, "ExpType");
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 13);
    EXPECT_FALSE(rs.SetSort("Nope", true));
    EXPECT_EQ(rs.m_strLastError.rfind("Query = SetSort\n", 0), 0u);

    EXPECT_TRUE(rs.MoveTo(5));  // five types: 0, 1, 7, 12, 13
    EXPECT_TRUE(rs.IsEOF());
    rs.MoveNext();
    EXPECT_EQ(rs.m_strLastError.rfind("Query = MoveNext\n", 0), 0u);
}

TEST_F(CAdoRecordsetTest, UncaughtOperationsPassFailuresOn)
{
    CAdoRecordset rs(&connection);
    EXPECT_THROW((void)rs.IsEOF(), ado::Error);
    EXPECT_THROW(rs.GetRecordCount(), ado::Error);
    EXPECT_FALSE(rs.AddNew()) << "no row can be started on a closed record set";
    EXPECT_EQ(rs.LastFailure().code, ado::kObjectClosed);
    EXPECT_EQ(rs.LastFailure().context, "AddNew");
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    ASSERT_TRUE(rs.MoveTo(2));
    EXPECT_THROW(rs.GetBookmark(), ado::Error);
}
