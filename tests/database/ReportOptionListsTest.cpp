// The report options' lists: each value once, in the order the options dialog shows it, named
// through the view's lookup record sets, with the values that have nothing to show left out.
#include <gtest/gtest.h>

#include "database/ReportOptionLists.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "tests/support/TestDatabase.h"

namespace {

class ReportOptionListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES "
                "(20, 'OFFC', 'Office', 1), (12, 'TRVL', 'Travel', 2), (5, 'ODD', 'Five', 2)");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (7, 'Birch'), (3, 'Acme'), (9, NULL)");
        db.exec("INSERT INTO Expenses (ExpType, ExpYear, Status, ProjectID, TypeComp) VALUES "
                "(20, 2026, 0, 2026, 1), (20, -1, 0, -1, 1), (20, 2025, 0, 2025, 1), (20, 2026, 0, 2026, 1), "
                "(1, 2024, 0, 2024, 0), (25, 2026, 0, 2026, 1), "
                "(12, 2026, 3, 7, 2), (12, 2026, 1, 7, 2), (12, 2026, 3, 7, 2), (12, 2026, 0, 7, 2), "
                "(12, 2026, 8, 7, 2), "
                "(12, 2026, 2, 3, 2), (12, 2026, 0, 0, 2), (12, 2026, 0, 44, 2), (12, 2026, 0, 9, 2)");
        ASSERT_TRUE(connection.Open(db.path()));
        ASSERT_TRUE(types.OpenTable("lkpExpTypes") && projects.OpenTable("Projects") &&
                    statuses.OpenTable("lkpExpBillStatus"));
    }

    static std::string Keys(const std::vector<ReportOptionLists::Key>& keys)
    {
        std::string text;
        for (const auto& key : keys)
            text += std::to_string(key.key) + "=" + key.text + ";";
        return text;
    }

    TestDatabase db;
    CADODataBase connection;
    CAdoRecordset types{&connection}, projects{&connection}, statuses{&connection};
    ReportOptionLists lists{connection, types, projects, statuses};
};

}  // namespace

TEST_F(ReportOptionListsTest, TypesWithExpensesByNumber)
{
    std::string offered;
    for (const auto& type : lists.TypesWithExpenses())
        offered += std::to_string(type.number) + " " + type.label + " " + type.description + ";";
    // Type 25 has expenses but no row; 0 and 5 have rows but no expenses.
    EXPECT_EQ(offered, "1 EST Estimated Tax;12 TRVL Travel;20 OFFC Office;");
}

TEST_F(ReportOptionListsTest, YearsAndProjectsOfAType)
{
    const struct {
        const char* what;
        std::vector<ReportOptionLists::Key> keys;
        const char* expected;
    } cases[] = {
        {"years, each once, by text", lists.YearsOf(20), "-1=-1;2025=2025;2026=2026;"},
        {"the years of one type only", lists.YearsOf(1), "2024=2024;"},
        {"projects by name; no ID, no row or no name left out", lists.ProjectsOf(12), "3=Acme;7=Birch;"},
        {"a type without expenses", lists.YearsOf(5), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Keys(c.keys), c.expected) << c.what;
}

TEST_F(ReportOptionListsTest, StatusesOfAProjectInTheOrderTheExpensesShowThem)
{
    const auto listed = [&](std::int16_t type, std::int32_t project) {
        std::string text;
        for (const auto& status : lists.StatusesOf(type, project))
            text += std::to_string(status.status) + ":" + status.code + ":" + status.description + ";";
        return text;
    };
    // A status without a row has neither code nor description.
    EXPECT_EQ(listed(12, 7), "3:PD:Paid;1:IN:Incurred;0:NA:Not reimbursable;8::;");
    EXPECT_EQ(listed(12, 3), "2:SU:Submitted;");
    EXPECT_EQ(listed(20, 7), "");
}

TEST_F(ReportOptionListsTest, ListsThatCannotBeReadAreEmpty)
{
    db.exec("DROP TABLE Expenses");
    EXPECT_TRUE(lists.TypesWithExpenses().empty());
    EXPECT_TRUE(lists.YearsOf(20).empty());
    EXPECT_TRUE(lists.ProjectsOf(12).empty());
    EXPECT_TRUE(lists.StatusesOf(12, 7).empty());
}
