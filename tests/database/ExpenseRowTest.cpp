// The expense row: what a store derives (the year, the project of other types, the reimbursement
// columns), that it reads back what it stored, and that a refused value or store leaves nothing
// behind.
#include <gtest/gtest.h>

#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Stored {
    TestDatabase db;
    CADODataBase connection;
    CAdoRecordset expenses{&connection};

    Stored()
    {
        if (!connection.Open(db.path()) || !expenses.OpenTable(schema::expenses::kTable))
            throw std::runtime_error("cannot open the test database");
    }
    std::string columns(const char* list) const
    {
        return db.scalar(std::string("SELECT ") + list + " FROM Expenses ORDER BY ExpID DESC LIMIT 1");
    }
};

ExpenseRow sample(std::uint8_t comp, const ole::DateTime& date)
{
    ExpenseRow row;
    row.m_nExpType = comp == schema::comp::kSystem ? 0 : 12;
    row.m_strExpCat = "FUEL";
    row.m_dtDate = date;
    row.m_strItem = "Gas";
    row.m_strDetail = "Trip";
    row.m_strAcctCode = "VISA";
    row.m_cyAmount = ole::Currency::fromCents(1234);
    row.m_bReimburse = true;
    row.m_nStatus = schema::billing::kSubmitted;
    row.m_lProjectID = 105;
    row.m_nTypeComp = comp;
    return row;
}

}  // namespace

TEST(ExpenseRow, StoreDerivesYearProjectAndReimbursement)
{
    const ole::DateTime date(2026, 3, 14, 0, 0, 0);
    const struct {
        std::uint8_t comp;
        ole::DateTime date;
        const char* expected;  // ExpYear/ProjectID/Reimburse/Status/ExpDate
    } cases[] = {
        {schema::comp::kReimbursable, date, "2026/105/1/2/2026-03-14 00:00:00"},
        {schema::comp::kPlain, date, "2026/2026/0/0/2026-03-14 00:00:00"},  // Status left to its default
        {schema::comp::kSystem, date, "2026/2026/0/0/2026-03-14 00:00:00"},
        {schema::comp::kPlain, ole::DateTime::invalid(), "-1/-1/0/0/NULL"},
    };
    for (const auto& c : cases) {
        Stored stored;
        ASSERT_TRUE(sample(c.comp, c.date).StoreNew(stored.expenses)) << stored.expenses.m_strLastError;
        EXPECT_EQ(stored.columns("ExpYear || '/' || ProjectID || '/' || Reimburse || '/' || Status || '/' || "
                                 "ifnull(ExpDate, 'NULL')"),
                  c.expected)
            << "composition " << int(c.comp);
    }
}

TEST(ExpenseRow, ReadsBackWhatItStored)
{
    Stored stored;
    ExpenseRow row = sample(schema::comp::kReimbursable, ole::DateTime(2025, 12, 31, 0, 0, 0));
    row.m_strVendor = "Shell";
    row.m_strChkNbr = "1001";
    ASSERT_TRUE(row.StoreNew(stored.expenses));

    const ExpenseRow back = ExpenseRow::Read(stored.expenses);
    EXPECT_EQ(back.m_nExpType, 12);
    EXPECT_EQ(back.m_strExpCat, "FUEL");
    EXPECT_EQ(back.m_dtDate.isoText(), "2025-12-31 00:00:00");
    EXPECT_EQ(back.m_nExpYear, 2025);
    EXPECT_EQ(back.m_strItem, "Gas");
    EXPECT_EQ(back.m_strDetail, "Trip");
    EXPECT_EQ(back.m_strVendor, "Shell");
    EXPECT_EQ(back.m_strChkNbr, "1001");
    EXPECT_EQ(back.m_strAcctCode, "VISA");
    EXPECT_EQ(back.m_cyAmount.raw(), 123400);
    EXPECT_TRUE(back.m_bReimburse);
    EXPECT_EQ(back.m_nStatus, std::optional<std::int16_t>(2));
    EXPECT_EQ(back.m_lProjectID, 105);
    EXPECT_EQ(back.m_nTypeComp, 2);

    const ExpenseRow some = ExpenseRow::Read(stored.expenses, ExpenseRow::Amount | ExpenseRow::Item);
    EXPECT_EQ(some.m_strItem, "Gas");
    EXPECT_EQ(some.m_strDetail, "") << "columns not asked for keep their defaults";
    EXPECT_FALSE(some.m_nStatus.has_value());
}

TEST(ExpenseRow, ARefusedValueOrStoreLeavesNothingBehind)
{
    Stored stored;
    ExpenseRow bad = sample(schema::comp::kPlain, ole::DateTime(2026, 1, 2, 0, 0, 0));
    bad.m_cyAmount = ole::Currency::invalid();
    EXPECT_FALSE(bad.StoreNew(stored.expenses)) << "an amount that cannot be written";
    EXPECT_EQ(stored.db.count("Expenses"), 0);

    stored.db.exec("CREATE TRIGGER refuse BEFORE INSERT ON Expenses WHEN NEW.Item = 'Refused' "
                   "BEGIN SELECT RAISE(ABORT, 'refused by a rule'); END");
    ExpenseRow refused = sample(schema::comp::kPlain, ole::DateTime(2026, 1, 2, 0, 0, 0));
    refused.m_strItem = "Refused";
    EXPECT_FALSE(refused.StoreNew(stored.expenses));
    EXPECT_NE(stored.expenses.LastFailure().description.find("refused by a rule"), std::string::npos);
    EXPECT_EQ(stored.db.count("Expenses"), 0);

    // The record set stays usable, and a later good row is stored once.
    ASSERT_TRUE(sample(schema::comp::kPlain, ole::DateTime(2026, 1, 2, 0, 0, 0)).StoreNew(stored.expenses));
    EXPECT_EQ(stored.db.count("Expenses"), 1);

    // A change that cannot be written leaves the stored row as it was.
    ExpenseRow change = ExpenseRow::Read(stored.expenses);
    change.m_strItem = "Changed";
    change.m_cyAmount = ole::Currency::invalid();
    EXPECT_FALSE(change.StoreOver(stored.expenses));
    EXPECT_EQ(stored.columns("Item || '/' || Amount"), "Gas/123400");
    EXPECT_EQ(ExpenseRow::Read(stored.expenses).m_strItem, "Gas") << "nothing pending remains";
}
