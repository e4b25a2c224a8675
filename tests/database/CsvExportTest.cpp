// The CSV export: the lookups and marks of each field, RFC 4180 quoting (what a spreadsheet or
// Python's csv module reads back, field for field, whatever the texts hold), lines that need no
// quoting exactly as before, and a failed write that leaves the old file as it was.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

#include "database/CsvExport.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ole/FormatAmount.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Export {
    TestDatabase db;
    CADODataBase connection;
    CAdoRecordset expenses{&connection}, types{&connection}, projects{&connection}, statuses{&connection};

    // rows: VALUES of (ExpType, ExpCat, ExpDate, Item, Amount, Reimburse, ProjectID, Status,
    // Vendor, AcctCode, ChkNbr, Detail), written out in that order.
    explicit Export(const std::string& rows)
    {
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (12, 'TRVL', 'Travel', 2), "
                "(13, 'A,B', 'Comma', 2)");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (7, 'Acme, Inc.'), (8, 'Birch')");
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, Reimburse, ProjectID, Status, Vendor, "
                "AcctCode, ChkNbr, Detail) VALUES " + rows);
        expenses.m_strSort = "ExpID";
        if (!connection.Open(db.path()) || !expenses.OpenTable("Expenses") || !types.OpenTable("lkpExpTypes") ||
            !projects.OpenTable("Projects") || !statuses.OpenTable("lkpExpBillStatus"))
            throw std::runtime_error("cannot open the test database");
    }
    std::string write()
    {
        const std::string path = db.dir().file("out.csv");
        std::string error;
        EXPECT_TRUE(CsvExport(types, projects, statuses).Write(expenses, path, error)) << error;
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

const char* const kAwkward =
    "(12, 'A\"B', '2026-03-01 00:00:00', 'Dinner \"on us\", twice', 125000, 1, 7, 3, 'Smith, Jones & Co', 'VISA', "
    "'', 'Line one' || char(13) || char(10) || 'line two, \"quoted\"'), "
    "(13, 'FUEL', '2026-03-02 00:00:00', 'Caf\xc3\xa9 cr\xc3\xa8me', 999, 0, 8, 1, 'Bj\xc3\xb6rk', 'AMEX', '1042', "
    "'Snack \xf0\x9f\x8d\xa9 and ' || char(10) || 'coffee')";

}  // namespace

TEST(CsvExport, FieldsFollowTheLookupsAndTheMarks)
{
    SetAmountLocale(ole::NumberLocale(".", ","));
    Export f("(12, 'FUEL', '2026-03-01 00:00:00', 'Gas', 400000, 1, 8, 2, 'Shell', 'VISA', '101', 'Trip'), "
             "(12, 'MEALS', '2026-03-02 00:00:00', 'Lunch', 120000, 0, 8, 2, 'Deli', 'CASH', '', 'Client'), "
             "(1, 'STATE', '2026-04-15 00:00:00', 'Q1', 5000000, 0, 2026, 0, '', '', '', 'Estimate'), "
             "(99, 'X', NULL, 'No type', 100, 1, 42, 9, '', '', '', 'Orphan'), "
             "(12, 'FUEL', 'not a date', 'Bad date', 100, 0, 8, 1, '', '', '', 'x')");
    EXPECT_EQ(f.write(),
              "2026/03/01,TRVL,FUEL,\"Gas\",40.00,R,Birch,SU,Shell,VISA,101,\"Trip\"\r\n"  // reimbursed, status 2
              "2026/03/02,TRVL,MEALS,\"Lunch\",12.00,,Birch,,Deli,CASH,,\"Client\"\r\n"    // not reimbursed
              "2026/04/15,EST,STATE,\"Q1\",500.00,,,,,,,\"Estimate\"\r\n"                  // a year, not a project
              ",,X,\"No type\",0.01,R,,,,,,\"Orphan\"\r\n"                                  // no lookup rows, no date
              "Invalid DateTime,TRVL,FUEL,\"Bad date\",0.01,,Birch,,,,,\"x\"\r\n");
}

TEST(CsvExport, AwkwardTextsAreQuotedAsRfc4180Says)
{
    SetAmountLocale(ole::NumberLocale(",", "."));  // a decimal comma
    Export f(kAwkward);
    EXPECT_EQ(f.write(),
              "2026/03/01,TRVL,\"A\"\"B\",\"Dinner \"\"on us\"\", twice\",\"12,50\",R,\"Acme, Inc.\",PD,"
              "\"Smith, Jones & Co\",VISA,,\"Line one\r\nline two, \"\"quoted\"\"\"\r\n"
              "2026/03/02,\"A,B\",FUEL,\"Caf\xc3\xa9 cr\xc3\xa8me\",\"0,10\",,Birch,,Bj\xc3\xb6rk,AMEX,1042,"
              "\"Snack \xf0\x9f\x8d\xa9 and \ncoffee\"\r\n");
    SetAmountLocale(ole::NumberLocale(".", ","));
}

TEST(CsvExport, PythonsCsvModuleReadsBackEveryField)
{
    if (std::system("python3 -c pass 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 is not installed";
    SetAmountLocale(ole::NumberLocale(",", "."));
    Export f(kAwkward);
    f.write();
    SetAmountLocale(ole::NumberLocale(".", ","));
    // Python prints each field's code points as hex, fields joined by '|', a line per record.
    const std::string script =
        "import csv, sys\n"
        "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
        "    for r in csv.reader(f):\n"
        "        print('|'.join(' '.join('%x' % ord(c) for c in field) for field in r))\n";
    const std::string scriptPath = f.db.dir().file("read.py"), outPath = f.db.dir().file("read.txt");
    std::ofstream(scriptPath) << script;
    ASSERT_EQ(std::system(("python3 " + scriptPath + " " + f.db.dir().file("out.csv") + " > " + outPath).c_str()), 0);
    std::ifstream in(outPath);
    std::vector<std::vector<std::u32string>> records;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::u32string> fields(1);
        std::istringstream parts(line);
        for (std::string token; parts >> token;) {
            for (std::size_t bar; (bar = token.find('|')) != std::string::npos; token.erase(0, bar + 1)) {
                if (bar > 0)
                    fields.back() += static_cast<char32_t>(std::stoul(token.substr(0, bar), nullptr, 16));
                fields.emplace_back();
            }
            if (!token.empty())
                fields.back() += static_cast<char32_t>(std::stoul(token, nullptr, 16));
        }
        records.push_back(fields);
    }
    const std::vector<std::vector<std::u32string>> expected = {
        {U"2026/03/01", U"TRVL", U"A\"B", U"Dinner \"on us\", twice", U"12,50", U"R", U"Acme, Inc.", U"PD",
         U"Smith, Jones & Co", U"VISA", U"", U"Line one\r\nline two, \"quoted\""},
        {U"2026/03/02", U"A,B", U"FUEL", U"Caf\u00e9 cr\u00e8me", U"0,10", U"", U"Birch", U"", U"Bj\u00f6rk", U"AMEX",
         U"1042", U"Snack \U0001F369 and \ncoffee"},
    };
    EXPECT_EQ(records, expected);
}

TEST(CsvExport, AFailedWriteLeavesTheOldFileAndSaysWhy)
{
    Export f("(12, 'FUEL', '2026-03-01 00:00:00', 'Gas', 400000, 0, 8, 1, '', '', '', 'Trip')");
    for (int i = 0; i < 12; ++i)
        f.db.exec("INSERT INTO Expenses (ExpType, Item, Detail) SELECT ExpType, Item, Detail || Detail || Detail FROM Expenses");
    ASSERT_TRUE(f.expenses.OpenTable("Expenses"));
    const std::string path = f.db.dir().file("out.csv");
    std::ofstream(path) << "the old export\n";
    std::string error;
    EXPECT_FALSE(CsvExport(f.types, f.projects, f.statuses).Write(f.expenses, f.db.dir().file("missing/out.csv"), error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    // A file-size limit stands in for a full disk.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{64 * 1024, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = CsvExport(f.types, f.projects, f.statuses).Write(f.expenses, path, error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the old export\n");
    EXPECT_EQ(std::system(("test -z \"$(ls -A " + f.db.dir().path() + " | grep '^\\.')\"").c_str()), 0)
        << "no temporary file is left";
}
