// What the programs rely on in a new database, checked through the access layer they use: the
// version rows both programs accept, the lookup rows the dialogs offer, the defaults a new row
// takes, the unique keys that refuse a duplicate, empty texts stored as NULL, and each column
// read back in its family.
#include <gtest/gtest.h>

#include <functional>

#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ado/Error.h"
#include "tests/support/TestDatabase.h"

namespace {

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(connection.Open(db.path())); }

    // Finds the first row of table matching criterion in a fresh record set (read from the file).
    bool find(CAdoRecordset& rs, const std::string& table, const std::string& criterion)
    {
        if (!rs.OpenTable(table))
            return false;
        rs.m_strFind = criterion;
        return rs.FindFirst();
    }

    // Adds one row through CAdoRecordset, giving it only the values set; answers Update's result.
    bool addRow(const std::string& table, const std::function<void(CAdoRecordset&)>& set, std::int32_t* pCode = nullptr)
    {
        CAdoRecordset rs(&connection);
        if (!rs.OpenTable(table) || !rs.AddNew())
            return false;
        set(rs);
        const bool stored = rs.Update();
        if (pCode)
            *pCode = rs.m_hrLastError;
        return stored;
    }

    TestDatabase db;
    CADODataBase connection;
};

}  // namespace

TEST_F(SchemaTest, VersionRowsAreAcceptedByBothPrograms)
{
    // The desktop and the conduit accept a database whose "Quillmar" row has Major 1 or more.
    CAdoRecordset version(&connection);
    ASSERT_TRUE(find(version, "QlVersion", "AppCode='Quillmar'"));
    EXPECT_GE(version.GetDF_Short("Major"), 1);
    // The lookup-version counter runs 1..10000; Minor 0 says no new version waits for the handheld.
    version.m_strFind = "AppCode='PalmUpdt'";
    ASSERT_TRUE(version.FindFirst());
    EXPECT_GE(version.GetDF_Short("Major"), 1);
    EXPECT_LE(version.GetDF_Short("Major"), 10000);
    EXPECT_EQ(version.GetDF_Short("Minor"), 0);
}

TEST_F(SchemaTest, LookupsTheDialogsOfferExistFromTheStart)
{
    // Every billing status a reimbursable expense can take has its code, and each built-in tax
    // type is a yearly type (composition 0) with a category to choose.
    for (int status = 0; status <= 3; ++status) {
        SCOPED_TRACE(status);
        CAdoRecordset rs(&connection);
        ASSERT_TRUE(find(rs, "lkpExpBillStatus", "Status=" + std::to_string(status)));
        EXPECT_NE(rs.GetDF_Text("StatusCode"), "");
    }
    for (int type = 0; type <= 1; ++type) {
        SCOPED_TRACE(type);
        CAdoRecordset types(&connection), categories(&connection);
        ASSERT_TRUE(find(types, "lkpExpTypes", "ExpType=" + std::to_string(type)));
        EXPECT_EQ(types.GetDF_Byte("ExpComp"), 0);
        EXPECT_TRUE(find(categories, "lkpExpCategories", "ExpType=" + std::to_string(type)));
    }
    CAdoRecordset accounts(&connection);
    ASSERT_TRUE(accounts.OpenTable("lkpAccounts"));
    EXPECT_GE(accounts.GetRecordCount(), 1) << "an expense always has an account to pick";
}

TEST_F(SchemaTest, NewRowsTakeTheColumnDefaults)
{
    struct Default {
        const char* table;                               // where the row is added
        std::function<void(CAdoRecordset&)> required;    // the values a row must have
        const char* criterion;                           // finds the row again
        std::function<bool(CAdoRecordset&)> holds;       // the default, read back from the file
    };
    const std::vector<Default> defaults = {
        {"Expenses", [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Text("Item", "Taxi")); }, "Item='Taxi'",
         [](CAdoRecordset& rs) { return !rs.GetDF_Boolean("Reimburse") && rs.GetDF_Short("Status") == 0; }},
        {"Projects", [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Long("ProjectID", 42)); }, "ProjectID=42",
         [](CAdoRecordset& rs) { return rs.GetDF_Boolean("Active"); }},
        {"lkpExpTypes", [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Short("ExpType", 40)); }, "ExpType=40",
         [](CAdoRecordset& rs) { return rs.GetDF_Byte("ExpComp") == 1; }},
    };
    for (const Default& d : defaults) {
        SCOPED_TRACE(d.table);
        ASSERT_TRUE(addRow(d.table, d.required));
        CAdoRecordset rs(&connection);
        ASSERT_TRUE(find(rs, d.table, d.criterion));
        EXPECT_TRUE(d.holds(rs));
    }
}

TEST_F(SchemaTest, UniqueKeysRefuseDuplicates)
{
    struct Row {
        const char* what;                              // the row tried
        const char* table;                             // where it is added
        std::function<void(CAdoRecordset&)> set;       // its values
        bool stored;                                   // whether the keys let it in
    };
    ASSERT_TRUE(addRow("Projects", [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Long("ProjectID", 1)); }));
    const std::vector<Row> rows = {
        {"a second project 1", "Projects", [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Long("ProjectID", 1)); }, false},
        {"account 'Cash' beside 'CASH'", "lkpAccounts", [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Text("AcctCode", "Cash")); }, false},
        {"a second type 0", "lkpExpTypes", [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Short("ExpType", 0)); }, false},
        {"category 'general' of type 0 beside 'GENERAL'", "lkpExpCategories",
         [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Short("ExpType", 0)); EXPECT_TRUE(rs.PutDF_Text("ExpCat", "general")); }, false},
        {"category 'GENERAL' of type 1", "lkpExpCategories",
         [](CAdoRecordset& rs) { EXPECT_TRUE(rs.PutDF_Short("ExpType", 1)); EXPECT_TRUE(rs.PutDF_Text("ExpCat", "GENERAL")); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::int32_t code = 0;
        EXPECT_EQ(addRow(row.table, row.set, &code), row.stored);
        EXPECT_EQ(code, row.stored ? 0 : ado::kIntegrityViolation);
    }
}

TEST_F(SchemaTest, EmptyTextIsStoredAsNull)
{
    ASSERT_TRUE(addRow("Expenses", [](CAdoRecordset& rs) {
        EXPECT_TRUE(rs.PutDF_Text("Item", "Bus"));
        EXPECT_TRUE(rs.PutDF_Text("Vendor", ""));
    }));
    EXPECT_EQ(db.scalar("SELECT Vendor IS NULL FROM Expenses WHERE Item='Bus'"), "1");
    CAdoRecordset rs(&connection);
    ASSERT_TRUE(find(rs, "Expenses", "Item='Bus'"));
    EXPECT_EQ(rs.GetDF_Text("Vendor"), "");
}

TEST_F(SchemaTest, ColumnsReadBackInTheirFamilies)
{
    db.exec("INSERT INTO Expenses (ExpType, ExpYear, TypeComp, ProjectID, Amount, Reimburse, ExpDate) "
            "VALUES (300, 2004, 2, 1234567, 123456, 1, '2004-12-25 00:00:00')");
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
