// quillmar-db on the command line: each command's output, help, and errors with their exit
// statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "database/DatabaseBackup.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/ScopedUmask.h"
#include "tests/support/TestDatabase.h"
#include "tools/quillmar-db/DatabaseTool.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result run(std::vector<std::string> arguments)
{
    std::ostringstream out, err;
    const int status = DatabaseTool(out, err).run(arguments);
    return {status, out.str(), err.str()};
}

}  // namespace

TEST(DatabaseTool, CreateRefusesAnExistingFileUnlessForced)
{
    TempDir dir;
    const std::string path = dir.file("new.mdb");
    EXPECT_EQ(run({"create", path}).status, 0);
    EXPECT_EQ(TestDatabase::scalarAt(path, "SELECT count(*) FROM Expenses"), "0");

    const Result again = run({"create", path});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos);
    EXPECT_EQ(run({"create", path, "--force"}).status, 0);
}

TEST(DatabaseTool, CreatedDatabasesFollowTheUmask)
{
    struct ModeCase {
        mode_t umask;      // the process's umask while creating
        bool overExisting; // --force over an existing 0644 file
        mode_t expected;   // mode of the new database
    };
    for (const ModeCase& c : {ModeCase{022, false, 0644}, ModeCase{077, false, 0600}, ModeCase{077, true, 0600}}) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << c.umask << (c.overExisting ? ", over a file" : ""));
        TempDir dir;
        const std::string path = dir.file("new.mdb");
        if (c.overExisting) {
            writeFile(path, "old");
            ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
        }
        const ScopedUmask umask(c.umask);
        const Result created = run({"create", path, "--force"});
        ASSERT_EQ(created.status, 0) << created.err;
        EXPECT_EQ(fileMode(path.c_str()), c.expected);
    }
}

TEST(DatabaseTool, DemoAndInfo)
{
    TempDir dir;
    const std::string path = dir.file("demo.mdb");
    EXPECT_EQ(run({"demo", path, "--expenses", "250", "--seed", "3"}).status, 0);
    const Result info = run({"info", path});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Expenses            250\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("lkpExpTypes         30\n"), std::string::npos);
    EXPECT_NE(info.out.find("Quillmar    1       0\n"), std::string::npos);
    EXPECT_NE(info.out.find("PalmUpdt    1       0\n"), std::string::npos);
    EXPECT_EQ(run({"demo", path}).status, 1) << "the demo file exists";
}

TEST(DatabaseTool, InfoOnWhatIsNoExpenseDatabase)
{
    TempDir dir;
    const Result missing = run({"info", dir.file("missing.mdb")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Could not find file"), std::string::npos);
    EXPECT_FALSE(fileExists(dir.file("missing.mdb")));

    TestDatabase db;
    db.exec("DROP TABLE QlVersion");
    const Result partial = run({"info", db.path()});
    EXPECT_EQ(partial.status, 1);
    EXPECT_NE(partial.out.find("QlVersion           (cannot be read)"), std::string::npos);
    EXPECT_NE(partial.err.find("cannot read: QlVersion"), std::string::npos);
}

TEST(DatabaseTool, InfoRefusesADamagedDatabaseAndSaysWhy)
{
    for (const Damage& damage : damages()) {
        SCOPED_TRACE(damage.name);
        DamagedDatabase db(damage);
        const std::string before = readFile(db.path());
        const Result info = run({"info", db.path()});
        EXPECT_EQ(info.status, 1);
        EXPECT_EQ(info.out, "");
        EXPECT_EQ(info.err.rfind("quillmar-db: cannot open " + db.path() + ": '" + db.path() +
                                     "' is damaged (SQLite reports: ", 0),
                  0u) << info.err;
        EXPECT_NE(info.err.find(damage.report), std::string::npos) << info.err;
        EXPECT_EQ(readFile(db.path()), before);
    }
}

TEST(DatabaseTool, HelpAndUsageErrors)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--help"}, {"create", "--help"}, {"demo", "--help"}, {"info", "--help"},
                                                                     {"export", "--help"}, {"backup", "--help"}}) {
        const Result help = run(arguments);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: quillmar-db", 0), 0u);
    }
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"create"}).status, 2);
    EXPECT_EQ(run({"demo", "x.mdb", "--expenses", "many"}).status, 2);
    EXPECT_EQ(run({"demo", "x.mdb", "--expenses"}).status, 2);
    EXPECT_EQ(run({"info", "a", "b"}).status, 2);
    EXPECT_EQ(run({"create", "a.mdb", "--bogus"}).status, 2);
    EXPECT_EQ(run({"export", "a.mdb"}).status, 2);
    EXPECT_EQ(run({"export", "a.mdb", "b.csv", "--by-type"}).status, 2);
    EXPECT_EQ(run({"backup", "a.mdb", "--to"}).status, 2);
}

TEST(DatabaseTool, ExportAndBackupFromTheShell)
{
    TempDir dir;
    const std::string db = dir.file("Travel.mdb");
    ASSERT_EQ(run({"demo", db, "--expenses", "50"}).status, 0);
    const auto lines = [](const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::string> all;
        for (std::string line; std::getline(in, line);)
            all.push_back(line);
        return all;
    };
    ASSERT_EQ(run({"export", db, dir.file("date.csv")}).status, 0);
    ASSERT_EQ(run({"export", db, dir.file("category.csv"), "--by-category"}).status, 0);
    auto byDate = lines(dir.file("date.csv")), byCategory = lines(dir.file("category.csv"));
    EXPECT_EQ(byDate.size(), 50u);
    EXPECT_EQ(byDate.front().back(), '\r');
    EXPECT_NE(byDate, byCategory);  // the same lines in the other order
    std::sort(byDate.begin(), byDate.end());
    std::sort(byCategory.begin(), byCategory.end());
    EXPECT_EQ(byDate, byCategory);
    EXPECT_EQ(run({"export", db, dir.path()}).status, 1);  // a folder is no file to write

    const Result backup = run({"backup", db});
    ASSERT_EQ(backup.status, 0) << backup.err;
    const std::string dated = dir.file(DatabaseBackup(db).ProposedName());
    EXPECT_EQ(TestDatabase::scalarAt(dated, "SELECT count(*) FROM Expenses"), "50");
    const Result again = run({"backup", db});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos);
    EXPECT_EQ(run({"backup", db, "--force"}).status, 0);
    const Result own = run({"backup", db, "--to", "Travel.mdb", "--force"});
    EXPECT_EQ(own.status, 1);
    EXPECT_NE(own.err.find("Cannot over-write current Expense database."), std::string::npos);
    EXPECT_EQ(run({"backup", db, "--to", dir.file("copies/Copy.mdb")}).status, 1);
}

TEST(DatabaseTool, ConvertRefusesWhatItCannotConvertAndLeavesTheSourceAlone)
{
    TempDir dir;
    const std::string nwind = JET_SAMPLES "/nwind.mdb";
    const std::string before = readFile(nwind);
    writeFile(dir.file("taken.mdb"), "x");
    writeFile(dir.file("new.accdb"), std::string("\x00\x01\x00\x00Standard ACE DB\0\x02", 21) + std::string(4096, '\0'));
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* said;
    } cases[] = {
        {{"convert", nwind, dir.file("a.mdb")}, 1,
         "is an Access database but not an expense database: it has no table Expenses."},
        {{"convert", dir.file("none.mdb"), dir.file("b.mdb")}, 1, "cannot be read"},
        {{"convert", dir.file("new.accdb"), dir.file("c.mdb")}, 1, "Access 2007 or later"},
        {{"convert", nwind, dir.file("taken.mdb")}, 1, "already exists"},
        {{"convert", nwind, dir.file("no/such/d.mdb")}, 1, "does not exist"},
        {{"convert", nwind}, 2, "convert takes an Access database and the path of the new database"},
        {{"convert", nwind, dir.file("e.mdb"), "--quick"}, 2, "unknown option '--quick'"},
    };
    for (const auto& c : cases) {
        const Result result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile(nwind), before);
    EXPECT_EQ(readFile(dir.file("taken.mdb")), "x");
    EXPECT_EQ(folderContents(dir.path()).size(), 2u);  // nothing written but the two files made here
}

TEST(DatabaseTool, OverviewPrintsOrWritesTheTables)
{
    TempDir dir;
    const std::string empty = dir.file("empty.mdb"), demo = dir.file("demo.mdb");
    ASSERT_EQ(run({"create", empty}).status, 0);
    ASSERT_EQ(run({"demo", demo, "--expenses", "200"}).status, 0);
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* said;  // in the output, or in the errors for a failure
    } cases[] = {
        {{"overview", empty}, 0, "By year\nNo expenses yet\n\nOwed to me\nNo expenses yet\n"},
        {{"overview", demo, "--by-year"}, 0, "Year  "},
        {{"overview", demo, "--owed"}, 0, "Project"},
        {{"overview", demo, "--by-year", "--csv", dir.file("year.csv")}, 0, "Wrote By year to "},
        {{"overview", demo, "--csv", dir.file("both.csv")}, 2, "--csv writes one table: give --by-year or --owed"},
        {{"overview", dir.file("none.mdb")}, 1, "cannot open"},
    };
    for (const auto& c : cases) {
        const Result result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE((c.status == 0 ? result.out : result.err).find(c.said), std::string::npos) << result.out << result.err;
    }
    const std::string csv = readFile(dir.file("year.csv"));
    EXPECT_EQ(csv.rfind("Year,", 0), 0u) << csv;
    EXPECT_NE(csv.find("\r\nTotal,"), std::string::npos);
    EXPECT_FALSE(fileExists(dir.file("both.csv")));
}

TEST(DatabaseTool, ImportAddsAnExportOnceAndChecksFirst)
{
    TempDir dir;
    const std::string source = dir.file("source.mdb"), target = dir.file("target.mdb"), csv = dir.file("out.csv");
    ASSERT_EQ(run({"demo", source, "--expenses", "150"}).status, 0);
    ASSERT_EQ(run({"export", source, csv}).status, 0);
    ASSERT_EQ(run({"demo", target, "--expenses", "0"}).status, 0);  // the same lookups, no expenses
    writeFile(dir.file("bad.csv"), readFile(csv) + "2025/01/01,TAX\r\n");
    writeFile(dir.file("bank.csv"), "Date;Text;Amount\n04.03.2025;Coffee;-4,50\n05.03.2025;Salary;1.200,00\n");
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* said;
    } cases[] = {
        {{"import", target, csv, "--dry-run"}, 0, "Would import "},
        {{"import", target, dir.file("bad.csv")}, 1, ": it has 2 fields, not the 12 of Quillmar's export. Nothing was imported."},
        {{"import", target, csv}, 0, "Imported "},
        {{"import", target, csv}, 0, "Imported 0 expenses"},
        {{"import", target}, 2, "import takes a database path and a CSV file"},
        {{"import", target, dir.file("bank.csv"), "--type", "TAX", "--category", "GENERAL", "--account", "CASH", "--date-column",
          "Date", "--amount-column", "3", "--description-column", "Text", "--date-format", "DD.MM.YYYY"},
         0, "1 credit left out.\nImported 1 expenses"},
        {{"import", target, dir.file("bank.csv")}, 1, "for a bank's file give --type"},
        {{"import", target, dir.file("bank.csv"), "--date-format", "D/M"}, 2, "'D/M' is not a date format"},
    };
    for (const auto& c : cases) {
        const Result result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE((c.status == 0 ? result.out : result.err).find(c.said), std::string::npos) << result.out << result.err;
    }
    EXPECT_EQ(TestDatabase::scalarAt(target, "SELECT count(*) - 1 FROM Expenses"),  // the coffee besides
              TestDatabase::scalarAt(source, "SELECT count(*) FROM Expenses"));
}
