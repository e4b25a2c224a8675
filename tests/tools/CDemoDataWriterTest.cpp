// The demo database: shaped like real data, within the editors' limits, and reproducible.
#include <gtest/gtest.h>

#include "tests/support/TestDatabase.h"
#include "tools/quillmar-db/CDemoDataWriter.h"

namespace {

void makeDemo(const std::string& path, long expenses, std::uint32_t seed)
{
    CDemoDataWriter::Options options;
    options.expenses = expenses;
    options.seed = seed;
    options.lastYear = 2025;
    CDemoDataWriter::Create(path, options, false);
}

}  // namespace

TEST(CDemoDataWriter, LooksLikeRealData)
{
    TempDir dir;
    const std::string path = dir.file("demo.mdb");
    makeDemo(path, 4000, 7);
    const auto q = [&](const std::string& sql) { return TestDatabase::scalarAt(path, sql); };

    EXPECT_EQ(q("SELECT count(*) FROM Expenses"), "4000");
    EXPECT_EQ(q("SELECT count(*) FROM lkpExpTypes"), "30");
    EXPECT_EQ(q("SELECT count(DISTINCT ExpComp) FROM lkpExpTypes"), "3");
    EXPECT_EQ(q("SELECT count(*) FROM lkpExpTypes t WHERE NOT EXISTS (SELECT 1 FROM lkpExpCategories c WHERE c.ExpType=t.ExpType)"), "0");
    EXPECT_EQ(q("SELECT count(DISTINCT Active) FROM Projects"), "2");
    EXPECT_EQ(q("SELECT min(ExpYear) || '-' || max(ExpYear) FROM Expenses"), "2016-2025");
    EXPECT_EQ(q("SELECT count(DISTINCT Status) FROM Expenses WHERE Reimburse"), "4") << "reimbursed rows in every status";
    EXPECT_EQ(q("SELECT count(*) FROM Expenses WHERE TypeComp<>2 AND (Reimburse OR Status<>0)"), "0");
    EXPECT_EQ(q("SELECT count(*) FROM Expenses WHERE TypeComp<>2 AND ProjectID<>ExpYear"), "0");
    EXPECT_EQ(q("SELECT count(*) FROM Expenses e JOIN lkpExpTypes t USING (ExpType) WHERE e.TypeComp<>t.ExpComp"), "0");
    EXPECT_EQ(q("SELECT count(*) FROM Expenses WHERE TypeComp=2 AND ProjectID NOT IN (SELECT ProjectID FROM Projects)"), "0");
    EXPECT_EQ(q("SELECT count(*) FROM Expenses e WHERE NOT EXISTS (SELECT 1 FROM lkpExpCategories c WHERE c.ExpType=e.ExpType AND c.ExpCat=e.ExpCat)"), "0");
    // Within the editors' character limits.
    EXPECT_EQ(q("SELECT count(*) FROM Expenses WHERE length(Item)>20 OR length(Vendor)>20 OR length(Detail)>80 "
                "OR length(ChkNbr)>6 OR length(ExpCat)>8 OR length(AcctCode)>4"), "0");
    EXPECT_EQ(q("SELECT count(*) FROM lkpExpTypes WHERE length(ExpLabel)>4 OR length(ExpDesc)>32"), "0");
    EXPECT_EQ(q("SELECT count(*) FROM Projects WHERE length(ProjectName)>16 OR length(ProjectDesc)>50"), "0");
}

TEST(CDemoDataWriter, SameSeedSameData)
{
    TempDir dir;
    makeDemo(dir.file("a.mdb"), 300, 42);
    makeDemo(dir.file("b.mdb"), 300, 42);
    makeDemo(dir.file("c.mdb"), 300, 43);
    const std::string digest = "SELECT group_concat(ExpType || ExpCat || ExpDate || Amount || Status, ';') FROM Expenses";
    EXPECT_EQ(TestDatabase::scalarAt(dir.file("a.mdb"), digest), TestDatabase::scalarAt(dir.file("b.mdb"), digest));
    EXPECT_NE(TestDatabase::scalarAt(dir.file("a.mdb"), digest), TestDatabase::scalarAt(dir.file("c.mdb"), digest));
}
