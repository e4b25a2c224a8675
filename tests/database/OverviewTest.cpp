// The overview's two tables against sums computed here from the rows themselves, over a table of
// databases with the edge cases: no expenses, undated expenses, a type or project without its
// lookup row, refunds, and statuses that are not owed.
#include <gtest/gtest.h>

#include <map>

#include "database/Overview.h"
#include "dbaccess/CADODataBase.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Expense {
    int type;
    const char* date;  // null: no date
    long cents;
    bool reimbursed = false;
    int status = 0;
    int project = 0;
    int comp = 1;
};

void Insert(const TestDatabase& db, const std::vector<Expense>& expenses)
{
    db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpComp) VALUES (10, 'TRVL', 2), (11, 'OFFC', 1)");
    db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (42, 'Acme')");
    for (const Expense& e : expenses)
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Amount, Reimburse, Status, ProjectID, TypeComp) VALUES (" +
                std::to_string(e.type) + ", 'X', " + (e.date ? "'" + std::string(e.date) + " 00:00:00'" : "NULL") + ", " +
                (e.date ? std::string(e.date, 4) : "-1") + ", " +
                std::to_string(e.cents * 100) + ", " + (e.reimbursed ? "1" : "0") + ", " + std::to_string(e.status) + ", " +
                std::to_string(e.project) + ", " + std::to_string(e.comp) + ")");
}

const std::vector<std::vector<Expense>> kDatabases = {
    {},
    {{0, "2024-03-01", 1000}, {0, "2024-12-31", 250}, {0, "2025-01-01", -75}, {11, "2024-06-06", 999}, {1, nullptr, 500}},
    {{10, "2025-02-01", 12345, true, 1, 42, 2}, {10, "2025-05-01", 100, true, 2, 42, 2}, {10, "2024-11-30", 700, true, 3, 42, 2},
     {10, "2025-03-03", 50, false, 1, 42, 2}, {10, "2023-07-07", 880, true, 1, 77, 2}, {10, nullptr, 60, true, 2, 78, 2},
     {40, "2025-08-08", -1999}},
};

}  // namespace

TEST(Overview, ByYearEqualsTheRowsSummedByYearAndType)
{
    for (const auto& expenses : kDatabases) {
        TestDatabase file;
        Insert(file, expenses);
        std::map<int, std::map<int, long>> expected;  // year -> type -> cents
        long undated = 0;
        for (const Expense& e : expenses)
            e.date ? void(expected[std::stoi(std::string(e.date, 4))][e.type] += e.cents) : void(++undated);
        CADODataBase db;
        ASSERT_TRUE(db.Open(file.path()));
        overview::ByYear table;
        std::string error;
        ASSERT_TRUE(overview::ReadByYear(db, table, error)) << error;
        EXPECT_EQ(table.undated, undated);
        ASSERT_EQ(table.years.size(), expected.size());
        long grand = 0;
        for (std::size_t y = 0; y < table.years.size(); ++y) {
            long yearTotal = 0;
            for (std::size_t t = 0; t < table.types.size(); ++t) {
                const long cents = expected[table.years[y]][table.types[t].type];
                EXPECT_EQ(table.cells[y][t], ole::Currency::fromCents(cents)) << table.years[y] << " " << table.types[t].label;
                yearTotal += cents;
            }
            EXPECT_EQ(table.yearTotals[y], ole::Currency::fromCents(yearTotal));
            grand += yearTotal;
        }
        EXPECT_EQ(table.total, ole::Currency::fromCents(grand));
        for (const overview::TypeColumn& column : table.types)  // the lookup's label, else the number
            EXPECT_EQ(column.label, column.type == 11 ? "OFFC" : column.type == 10 ? "TRVL" : column.type == 40 ? "40"
                                    : column.type == 0 ? "TAX" : "EST");
        const auto lines = overview::ByYearLines(table);
        EXPECT_EQ(lines.front().back(), "Total");
        EXPECT_EQ(lines.back().front(), "Total");
    }
}

TEST(Overview, OwedListsEachProjectsInAndSuOldestFirst)
{
    TestDatabase file;
    Insert(file, kDatabases[2]);
    CADODataBase db;
    ASSERT_TRUE(db.Open(file.path()));
    overview::Owed owed;
    std::string error;
    ASSERT_TRUE(overview::ReadOwed(db, ole::DateTime(2025, 6, 1), owed, error)) << error;
    ASSERT_EQ(owed.rows.size(), 3u);
    // Project 77 (no Projects row) is the oldest; Acme's paid and unreimbursed lines do not count.
    EXPECT_EQ(owed.rows[0].project, "Project 77");
    EXPECT_EQ(owed.rows[0].in, ole::Currency::fromCents(880));
    EXPECT_EQ(owed.rows[0].ageDays, 695);
    EXPECT_EQ(owed.rows[1].project, "Acme");
    EXPECT_EQ(owed.rows[1].typeLabel, "TRVL");
    EXPECT_EQ(owed.rows[1].in, ole::Currency::fromCents(12345));
    EXPECT_EQ(owed.rows[1].su, ole::Currency::fromCents(100));
    EXPECT_EQ(owed.rows[1].oldest.format("%Y-%m-%d"), "2025-02-01");
    EXPECT_EQ(owed.rows[1].ageDays, 120);
    EXPECT_EQ(owed.rows[2].project, "Project 78");  // no date: last, without an age
    EXPECT_EQ(owed.rows[2].ageDays, -1);
    EXPECT_EQ(owed.in, ole::Currency::fromCents(13225));
    EXPECT_EQ(owed.su, ole::Currency::fromCents(160));
    EXPECT_EQ(owed.expenses, 7);
    EXPECT_EQ(overview::OwedLines(owed)[2], (std::vector<std::string>{"Acme", "TRVL", "123.45", "1.00", "2025-02-01", "120"}));
}

TEST(Overview, ACsvReadsBackLineByLine)
{
    TempDir dir;
    const std::vector<std::vector<std::string>> lines = {{"Project", "Type"}, {"Smith, \"Jr\"", "TRVL"}};
    std::string error;
    ASSERT_TRUE(overview::WriteCsv(lines, dir.file("owed.csv"), error)) << error;
    EXPECT_EQ(readFile(dir.file("owed.csv")), "Project,Type\r\n\"Smith, \"\"Jr\"\"\",TRVL\r\n");
}
