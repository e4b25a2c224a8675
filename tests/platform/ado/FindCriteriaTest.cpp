// Find criteria: the comparisons, literals and AND / OR joins the callers use, and the criteria
// that cannot be read.
#include <gtest/gtest.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"
#include "platform/ado/Recordset.h"
#include "tests/support/TestDatabase.h"

namespace {

class FindCriteriaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES "
                "(12, 'FUEL', 'Gas'), (12, 'O''NEIL', 'Pub'), (13, 'FUEL', 'Diesel'), (14, 'MEALS', NULL)");
        db.exec("INSERT INTO Expenses (ExpType, ExpDate, Item, Amount, Reimburse) VALUES "
                "(12, '2004-12-25 00:00:00', 'Gas', 123400, 1), (13, '2005-01-02 10:00:00', 'Oil', 50000, 0)");
        connection.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db.path(), "", "", -1);
    }

    // The CatDesc of every row the criterion finds, in order.
    std::vector<std::string> findAll(const std::string& criteria)
    {
        ado::Recordset rs;
        rs.setSort("CategoryID");
        rs.open("lkpExpCategories", &connection, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdTable);
        std::vector<std::string> found;
        rs.moveFirst();
        for (rs.find(criteria, 0, true); !rs.isEOF(); rs.find(criteria, 1, true)) {
            const ole::Variant description = rs.value("CatDesc");
            found.push_back(description.isNull() ? "<null>" : *description.get<std::string>());
        }
        return found;
    }

    std::int32_t refusal(const std::string& criteria)
    {
        try {
            findAll(criteria);
        } catch (const ado::Error& error) {
            return error.code();
        }
        return 0;
    }

    TestDatabase db;
    ado::Connection connection;
};

using Found = std::vector<std::string>;

}  // namespace

TEST_F(FindCriteriaTest, NumbersAndTexts)
{
    EXPECT_EQ(findAll("ExpType=12"), (Found{"Gas", "Pub"}));
    EXPECT_EQ(findAll("ExpType > 12"), (Found{"Diesel", "<null>"}));
    EXPECT_EQ(findAll("ExpType<>12"), (Found{"General deductible expense", "Federal estimated tax", "Diesel", "<null>"}));
    EXPECT_EQ(findAll("ExpType >= 13"), (Found{"Diesel", "<null>"}));
    EXPECT_EQ(findAll("ExpCat='FUEL'"), (Found{"Gas", "Diesel"}));
    EXPECT_EQ(findAll("ExpCat='fuel'"), (Found{"Gas", "Diesel"})) << "texts compare without letter case";
    EXPECT_EQ(findAll("ExpCat='O''NEIL'"), (Found{"Pub"})) << "a doubled quote stands for one";
    EXPECT_EQ(findAll("ExpCat LIKE 'M*'"), (Found{"<null>"}));
    EXPECT_EQ(findAll("CatDesc LIKE 'd%'"), (Found{"Diesel"}));
    EXPECT_EQ(findAll("CatDesc LIKE '*est?mated*'"), (Found{"Federal estimated tax"}));
    EXPECT_EQ(findAll("CatDesc IS NULL"), (Found{"<null>"}));
    EXPECT_EQ(findAll("CatDesc = NULL"), (Found{"<null>"}));
    EXPECT_EQ(findAll("ExpType=99"), Found{});
}

TEST_F(FindCriteriaTest, CompoundCriteriaAreEvaluated)
{
    EXPECT_EQ(findAll("ExpType=13 AND ExpCat='FUEL'"), (Found{"Diesel"}));
    EXPECT_EQ(findAll("ExpType=12 AND ExpCat='MEALS'"), Found{});
    EXPECT_EQ(findAll("ExpCat='MEALS' OR ExpType=12"), (Found{"Gas", "Pub", "<null>"}));
    // AND binds tighter than OR; parentheses override.
    EXPECT_EQ(findAll("ExpType=14 OR ExpType=12 AND ExpCat='FUEL'"), (Found{"Gas", "<null>"}));
    EXPECT_EQ(findAll("(ExpType=14 OR ExpType=12) AND ExpCat='FUEL'"), (Found{"Gas"}));
}

TEST_F(FindCriteriaTest, BooleansDatesAndCurrency)
{
    ado::Recordset rs;
    rs.open("Expenses", &connection, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdTable);
    const auto first = [&](const std::string& criteria) {
        rs.moveFirst();
        rs.find(criteria, 0, true);
        return rs.isEOF() ? std::string("<none>") : *rs.value("Item").get<std::string>();
    };
    EXPECT_EQ(first("Reimburse=TRUE"), "Gas");
    EXPECT_EQ(first("Reimburse = FALSE"), "Oil");
    EXPECT_EQ(first("ExpDate > #2005-01-01#"), "Oil");
    EXPECT_EQ(first("ExpDate = #12/25/2004#"), "Gas");
    EXPECT_EQ(first("ExpDate < '2004-12-26'"), "Gas");
    EXPECT_EQ(first("Amount = 5"), "Oil");
    EXPECT_EQ(first("Amount > 10.5 AND Amount < 12.35"), "Gas");
}

TEST_F(FindCriteriaTest, UnreadableCriteriaAreRefused)
{
    for (const char* bad : {"", "ExpType", "ExpType =", "ExpType = 'x", "= 12", "ExpType == 12", "ExpType=12 AND",
                            "(ExpType=12", "ExpType=12)", "ExpCat=12", "ExpType='12'", "ExpType LIKE 'x'",
                            "ExpType = #2004-13-01#", "ExpType=12 XOR ExpType=13", "ExpType < NULL"})
        EXPECT_EQ(refusal(bad), ado::kInvalidArgument) << '"' << bad << '"';
    EXPECT_EQ(refusal("Nope=1"), ado::kItemNotFound);
}
