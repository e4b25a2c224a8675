// The Find text against one expense row: each searched column, case, accents as typed, the
// amount as the line shows it, and the columns Find does not search.
#include <gtest/gtest.h>

#include "database/ExpenseRow.h"
#include "expensetree/ExpenseFilter.h"
#include "platform/ole/FormatAmount.h"

namespace {

ExpenseRow SampleRow()
{
    ExpenseRow row;
    row.m_strItem = "Gas";
    row.m_strDetail = "Café order";
    row.m_strVendor = "Shell Oil";
    row.m_strExpCat = "FUEL";
    row.m_strAcctCode = "VISA";
    row.m_strChkNbr = "1042";
    row.m_cyAmount = ole::Currency::fromCents(1234);
    row.m_nExpType = 12;
    return row;
}

struct FilterCase {
    const char* text;
    bool matches;
};

class ExpenseFilterTest : public ::testing::TestWithParam<FilterCase> {
protected:
    void SetUp() override { SetAmountLocale(ole::NumberLocale(".", ",")); }
};

TEST_P(ExpenseFilterTest, MatchesTheShownColumns)
{
    const FilterCase c = GetParam();
    EXPECT_EQ(ExpenseFilter(c.text).Matches(SampleRow()), c.matches) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ExpenseFilterTest,
                         ::testing::Values(FilterCase{"", true},          // no text: every row
                                           FilterCase{"gas", true},       // item, any case
                                           FilterCase{"ORDER", true},     // detail
                                           FilterCase{"shell o", true},   // vendor, with its blank
                                           FilterCase{"fue", true},       // category code
                                           FilterCase{"visa", true},      // account code
                                           FilterCase{"104", true},       // check number
                                           FilterCase{"12.34", true},     // the amount as shown
                                           FilterCase{"CAFÉ", true},      // accents fold case too
                                           FilterCase{"cafe", false},     // but are not dropped
                                           FilterCase{"12", true},
                                           FilterCase{"12.340", false},   // not the stored four decimals
                                           FilterCase{"Travel", false},   // the type is not searched
                                           FilterCase{"xyzzy", false}));

TEST(ExpenseFilter, AmountsUseTheUsersDecimalSeparator)
{
    SetAmountLocale(ole::NumberLocale(",", "."));
    EXPECT_TRUE(ExpenseFilter("12,34").Matches(SampleRow()));
    EXPECT_FALSE(ExpenseFilter("12.34").Matches(SampleRow()));
    SetAmountLocale(ole::NumberLocale(".", ","));
}

}  // namespace
