// What a new database holds, and the column defaults and key rules the programs rely on.
#include <gtest/gtest.h>

#include "database/CDatabaseCreator.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "tests/support/TestDatabase.h"

TEST(Schema, NewDatabaseHoldsTheRowsTheProgramsNeed)
{
    TestDatabase db;
    EXPECT_EQ(db.scalar("SELECT group_concat(AppCode || Major || Minor, ',') FROM QlVersion"), "Quillmar10,PalmUpdt10");
    EXPECT_EQ(db.scalar("SELECT group_concat(Status || StatusCode, ',') FROM lkpExpBillStatus ORDER BY Status"),
              "0NA,1IN,2SU,3PD");
    EXPECT_EQ(db.scalar("SELECT group_concat(ExpType || ExpLabel || ExpComp, ',') FROM lkpExpTypes"), "0TAX0,1EST0");
    EXPECT_EQ(db.count("lkpExpCategories", "ExpType=0"), 1);
    EXPECT_EQ(db.count("lkpExpCategories", "ExpType=1"), 1);
    EXPECT_EQ(db.count("lkpAccounts"), 1);
    EXPECT_EQ(db.count("Expenses"), 0);
    EXPECT_EQ(db.count("Projects"), 0);
}

TEST(Schema, DefaultsAndUniqueKeys)
{
    TestDatabase db;
    db.exec("INSERT INTO Expenses (Item) VALUES ('x')");
    EXPECT_EQ(db.scalar("SELECT Reimburse || '/' || Status FROM Expenses"), "0/0");
    db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (1, 'P')");
    EXPECT_EQ(db.scalar("SELECT Active FROM Projects"), "1");
    EXPECT_THROW(db.exec("INSERT INTO Projects (ProjectID) VALUES (1)"), std::runtime_error);
    EXPECT_THROW(db.exec("INSERT INTO lkpAccounts (AcctCode) VALUES ('Cash')"), std::runtime_error);
    EXPECT_THROW(db.exec("INSERT INTO lkpExpTypes (ExpType) VALUES (0)"), std::runtime_error);
    EXPECT_THROW(db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES (0, 'general')"), std::runtime_error);
    EXPECT_NO_THROW(db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES (1, 'GENERAL')"));
}

TEST(Schema, ColumnsReadBackInTheirFamilies)
{
    TestDatabase db;
    db.exec("INSERT INTO Expenses (ExpType, ExpYear, TypeComp, ProjectID, Amount, Reimburse, ExpDate) "
            "VALUES (300, 2004, 2, 1234567, 123456, 1, '2004-12-25 00:00:00')");
    CADODataBase connection;
    ASSERT_TRUE(connection.Open(db.path()));
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(rs.OpenTable("Expenses"));
    EXPECT_EQ(rs.GetDF_Short("ExpType"), 300);
    EXPECT_EQ(rs.GetDF_Short("ExpYear"), 2004);
    EXPECT_EQ(rs.GetDF_Byte("TypeComp"), 2);
    EXPECT_EQ(rs.GetDF_Long("ProjectID"), 1234567);
    EXPECT_EQ(rs.GetDF_Currency("Amount").raw(), 123456);
    EXPECT_TRUE(rs.GetDF_Boolean("Reimburse"));
    EXPECT_EQ(rs.GetDF_DateTime("ExpDate"), ole::DateTime(2004, 12, 25));
}

TEST(CDatabaseCreator, RefusesToReplaceUnlessTold)
{
    TempDir dir;
    const std::string path = dir.file("mine.mdb");
    writeFile(path, "precious");
    EXPECT_THROW(CDatabaseCreator::CreateEmpty(path, false), std::runtime_error);
    EXPECT_EQ(readFile(path), "precious");
    EXPECT_THROW(CDatabaseCreator::CreateEmpty(dir.path(), true), std::runtime_error);
    EXPECT_THROW(CDatabaseCreator::CreateEmpty(dir.file("missing/new.mdb"), true), std::runtime_error);
    CDatabaseCreator::CreateEmpty(path, true);
    EXPECT_EQ(TestDatabase::scalarAt(path, "SELECT count(*) FROM QlVersion"), "2");
}
