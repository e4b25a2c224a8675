// Tree items on their own: labels, sums by status, the matching and ordering of top-level groups,
// amounts in another locale, and padding that counts characters.
#include <gtest/gtest.h>

#include "expensetree/CExpTreeItem.h"
#include "expensetree/FixedWidthText.h"
#include "platform/ole/FormatAmount.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "database/ExpenseRow.h"
#include "tests/support/TestDatabase.h"

namespace {

class CExpTreeItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAmountLocale(ole::NumberLocale(".", ","));
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (12, 'TRVL', 'Travel', 2), (20, 'OFFC', 'Office', 1)");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (7, 'Acme')");
        db.exec("INSERT INTO Expenses (ExpID, ExpType, ExpCat, ExpDate, Item, Amount, Reimburse, Status, ProjectID, TypeComp) VALUES "
                "(1, 12, 'FUEL', '2004-12-25 00:00:00', 'Gas', 123400, 1, 1, 7, 2),"
                "(2, 12, 'FUEL', '2004-12-26 00:00:00', 'Gas', 50000, 1, 2, 7, 2),"
                "(3, 12, 'FUEL', '2004-12-27 00:00:00', 'Gas', 10000, 1, 0, 7, 2),"
                "(4, 12, 'FUEL', '2004-12-28 00:00:00', 'Gas', 20000, 0, 3, 7, 2),"
                "(5, 20, 'INK', '2005-01-02 00:00:00', 'Ink', 5000, 0, 0, 2005, 1),"
                "(6, 12, 'FUEL', '2004-12-29 00:00:00', 'Gas', 7000, 1, 3, 99, 2),"
                "(7, 44, 'X', NULL, 'Odd', 100, 0, 0, 3, 1)");
        ASSERT_TRUE(connection.Open(db.path()));
        ASSERT_TRUE(expenses.OpenTable("Expenses"));
        ASSERT_TRUE(types.OpenTable("lkpExpTypes"));
        ASSERT_TRUE(projects.OpenTable("Projects"));
        statuses.m_strSort = "Status ASC";
        ASSERT_TRUE(statuses.OpenTable("lkpExpBillStatus"));
    }

    void TearDown() override { SetAmountLocale(ole::NumberLocale::user()); }

    ExpenseRow row(int id)
    {
        EXPECT_TRUE(expenses.MoveTo(id - 1));
        return ExpenseRow::Read(expenses);
    }

    std::unique_ptr<CExpTreeItem> group(std::uint32_t kind, int id)
    {
        return std::make_unique<CExpTreeItem>(kind, row(id), types, projects);
    }

    std::unique_ptr<CExpTreeItem> line(int id, SortMode sortMode = SortMode::ByDate)
    {
        const ExpenseRow read = row(id);
        return std::make_unique<CExpTreeItem>(read, statuses, std::make_unique<ole::Variant>(expenses.GetBookmark()), sortMode);
    }

    TestDatabase db;
    CADODataBase connection;
    CAdoRecordset expenses{&connection}, types{&connection}, projects{&connection}, statuses{&connection};
};

}  // namespace

TEST_F(CExpTreeItemTest, RecordSumsCountOnlyReimbursedRowsWithStatusOneToThree)
{
    auto acme = group(CExpTreeItem::TypeGroup, 1);
    for (int id = 1; id <= 4; ++id) {
        acme->AddRecord(row(id));
    }
    EXPECT_EQ(acme->FormatText(SortMode::ByDate), "Acme =    20.34,  IN=12.34,  SU=5.00,  PD=0.00");
    acme->SubtractRecord(row(2));
    EXPECT_EQ(acme->FormatText(SortMode::ByDate), "Acme =    15.34,  IN=12.34,  SU=0.00,  PD=0.00");
}

TEST_F(CExpTreeItemTest, ChildSumsFollowTheShownStatusCode)
{
    auto category = group(CExpTreeItem::CategoryGroup, 1);
    auto in = line(1), su = line(2), na = line(3), notReimbursed = line(4);
    EXPECT_EQ(in->m_strStatusCode, "IN");
    EXPECT_EQ(na->m_strStatusCode, "NA");
    EXPECT_EQ(notReimbursed->m_strStatusCode, "--");
    for (auto* child : {in.get(), su.get(), na.get(), notReimbursed.get()})
        category->AddChild(*child);
    EXPECT_EQ(category->FormatText(SortMode::ByCategory), "FUEL     =    20.34, IN=12.34,   SU=5.00,    PD=0.00    ");

    auto top = group(CExpTreeItem::TypeGroup, 1);
    top->AddChild(*category);
    top->SubtractChild(*su);
    EXPECT_EQ(top->FormatText(SortMode::ByDate), "Acme =    15.34,  IN=12.34,  SU=0.00,  PD=0.00");
    top->ResetSums();
    EXPECT_EQ(top->FormatText(SortMode::ByDate), "Acme =     0.00,  IN=0.00,  SU=0.00,  PD=0.00");
}

TEST_F(CExpTreeItemTest, LabelsAndMissingLookups)
{
    EXPECT_EQ(group(CExpTreeItem::TypeGroup, 5)->m_strLabel, "OFFC: 2005");
    EXPECT_EQ(group(CExpTreeItem::TypeGroup, 6)->m_strLabel, "<error>") << "project 99 is missing";
    auto unknownType = group(CExpTreeItem::TypeGroup, 7);
    EXPECT_EQ(unknownType->m_strLabel, "<error>");
    EXPECT_FALSE(unknownType->m_bReimbursable);
    auto odd = line(7);
    EXPECT_EQ(odd->m_nYearKey, -1) << "a null date has year -1";
    EXPECT_EQ(odd->m_strDateText, "Invalid DateTime");
}

TEST_F(CExpTreeItemTest, InPlaceUpdateShowsTwoSpacesForANoLongerReimbursedLine)
{
    auto gas = line(1);
    row(1);
    ASSERT_TRUE(expenses.PutDF_Boolean("Reimburse", false));
    ASSERT_TRUE(expenses.PutDF_Currency("Amount", ole::Currency::fromCents(999)));
    ASSERT_TRUE(expenses.Update());
    gas->UpdateFromRecord(ExpenseRow::Read(expenses), statuses);
    EXPECT_EQ(gas->m_strStatusCode, "  ");
    EXPECT_EQ(gas->FormatText(SortMode::ByCategory).substr(0, 17), "12/25        9.99");
}

TEST_F(CExpTreeItemTest, GroupMatchingAndOrdering)
{
    auto acme = group(CExpTreeItem::TypeGroup, 1);
    auto office = group(CExpTreeItem::TypeGroup, 5);
    EXPECT_TRUE(acme->MatchesLine(*line(2)));
    EXPECT_FALSE(acme->MatchesLine(*line(6))) << "another project";
    EXPECT_FALSE(acme->MatchesLine(*line(5))) << "another type";
    EXPECT_TRUE(office->SortsAfter(*acme));
    EXPECT_FALSE(acme->SortsAfter(*office));
    EXPECT_TRUE(group(CExpTreeItem::TypeGroup, 6)->SortsAfter(*acme)) << "project 99 after project 7";
    EXPECT_FALSE(acme->SortsAfter(*acme));
}

TEST(FormatAmount, FollowsTheInjectedDecimalSeparator)
{
    SetAmountLocale(ole::NumberLocale(",", "."));
    EXPECT_EQ(FormatAmount(ole::Currency::fromCents(123450)), "1234,50");
    EXPECT_EQ(FormatAmount(ole::Currency::fromCents(-300)), "-3,00");
    SetAmountLocale(ole::NumberLocale(".", ","));
    EXPECT_EQ(FormatAmount(ole::Currency::fromCents(123450)), "1234.50");
    EXPECT_EQ(FormatAmount(ole::Currency::fromCents(50)), "0.50");
    SetAmountLocale(ole::NumberLocale::user());
}

TEST(FixedWidthText, PadsByCharactersAndNeverCuts)
{
    EXPECT_EQ(fixedwidth::Left("Café", 6), "Café  ");
    EXPECT_EQ(fixedwidth::Right("1.00", 8), "    1.00");
    EXPECT_EQ(fixedwidth::Right("123456789.00", 8), "123456789.00");
    EXPECT_EQ(fixedwidth::Characters("Zürich €"), 8u);
}
