// The Find text against one expense row: each searched column, case, accents as typed, the
// amount as the line shows it, and the columns Find does not search.
#include <gtest/gtest.h>

#include "database/ExpenseRow.h"
#include "expensetree/ExpenseFilter.h"
#include "expensetree/FindTexts.h"
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
    const ExpenseFilter filter(c.text);
    EXPECT_EQ(filter.Matches(SampleRow()), c.matches) << c.text;
    // The texts kept for keystrokes answer the same, before and after the row changes.
    FindTexts kept;
    kept.Put(7, ExpenseRow());
    kept.Put(7, SampleRow());
    EXPECT_EQ(filter.Matches(*kept.Get(7)), c.matches) << c.text;
    EXPECT_FALSE(kept.Get(8).has_value());
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
                                           FilterCase{"gascafé", false},  // no match across two columns
                                           FilterCase{".", false},        // amounts only for a digit
                                           FilterCase{"xyzzy", false}));

TEST(ExpenseFilter, AmountsUseTheUsersDecimalSeparator)
{
    SetAmountLocale(ole::NumberLocale(",", "."));
    EXPECT_TRUE(ExpenseFilter("12,34").Matches(SampleRow()));
    EXPECT_FALSE(ExpenseFilter("12.34").Matches(SampleRow()));
    SetAmountLocale(ole::NumberLocale(".", ","));
}

}  // namespace
