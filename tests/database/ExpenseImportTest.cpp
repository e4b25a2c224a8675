// Importing expenses from CSV: the round trip through File > Export into a database with the
// same lookups and no expenses, the encodings, each refusal with its line, the duplicates, and
// the all-or-none store.
#include <gtest/gtest.h>

#include <memory>

#include "database/CsvExport.h"
#include "database/CsvReader.h"
#include "database/ExpenseImport.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ole/FormatAmount.h"
#include "tests/support/OfxSample.h"
#include "tests/support/TestDatabase.h"

namespace {

void AddLookups(const TestDatabase& db)
{
    db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (10, 'TRVL', 'Travel', 2), (11, 'OFFC', 'Office', 1)");
    db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (42, 'Acme, \"Inc\"')");
    db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Visa')");
}

// Every stored column of every expense, in key order, for comparing two databases.
std::string AllExpenses(const std::string& path)
{
    return TestDatabase::scalarAt(path, "SELECT group_concat(r, '|') FROM (SELECT ExpType || ';' || ExpCat || ';' || "
                                        "IFNULL(ExpDate, '') || ';' || ExpYear || ';' || IFNULL(Item, '') || ';' || "
                                        "IFNULL(Detail, '') || ';' || IFNULL(Vendor, '') || ';' || IFNULL(ChkNbr, '') || ';' || "
                                        "IFNULL(AcctCode, '') || ';' || Amount || ';' || Reimburse || ';' || Status || ';' || "
                                        "ProjectID || ';' || TypeComp AS r FROM Expenses ORDER BY ExpID)");
}

std::string Export(const std::string& path)
{
    CADODataBase db;
    EXPECT_TRUE(db.Open(path));
    CAdoRecordset expenses(&db), types(&db), projects(&db), statuses(&db);
    expenses.m_strSort = "ExpID";
    EXPECT_TRUE(expenses.OpenTable("Expenses") && types.OpenTable("lkpExpTypes") && projects.OpenTable("Projects") &&
                statuses.OpenTable("lkpExpBillStatus"));
    std::string error;
    const std::string file = path + ".csv";
    EXPECT_TRUE(CsvExport(types, projects, statuses).Write(expenses, file, error)) << error;
    return readFile(file);
}

struct Imported {
    std::vector<ExpenseImport::Row> rows;
    long stored = 0;
    std::string error;  // a refusal's text
};

Imported Import(const std::string& path, const std::string& bytes, bool store = true)
{
    Imported result;
    CADODataBase db;
    EXPECT_TRUE(db.Open(path));
    ExpenseImport import(db);
    try {
        const std::string text = csv::Decode(bytes);
        const auto records = csv::Parse(text, csv::DetectSeparator(text));
        EXPECT_TRUE(import.ReadLookups(result.error));
        result.rows = import.FromQuillmarCsv(records);
        EXPECT_TRUE(import.MarkDuplicates(result.rows, result.error));
        if (store && !import.Store(result.rows, result.stored, result.error))
            return result;
    } catch (const csv::Error& refusal) {
        result.error = refusal.what();
    }
    return result;
}

const char* const kLine = "2025/01/02,TAX,GENERAL,\"Stamps\",1.00,,,,Post Office,CASH,,\"\"\r\n";

// An import on a fresh test database, its lookups read.
struct Importer {
    TestDatabase db;
    CADODataBase connection;
    std::unique_ptr<ExpenseImport> import;
    Importer()
    {
        EXPECT_TRUE(connection.Open(db.path()));
        import = std::make_unique<ExpenseImport>(connection);
        std::string error;
        EXPECT_TRUE(import->ReadLookups(error)) << error;
    }
};

// kLine with one of its texts changed.
std::string LineWith(const std::string& from, const std::string& to)
{
    std::string line = kLine;
    return line.replace(line.find(from), from.size(), to);
}

}  // namespace

TEST(ExpenseImport, ARoundTripThroughTheExportGivesTheSameExpenses)
{
    for (const char* decimal : {".", ","}) {
        SetAmountLocale(ole::NumberLocale(decimal, decimal[0] == '.' ? "," : "."));
        TestDatabase source, target;
        AddLookups(source);
        AddLookups(target);
        source.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Detail, Vendor, ChkNbr, AcctCode, Amount, "
                    "Reimburse, Status, ProjectID, TypeComp) VALUES "
                    "(10, 'TAXI', '2025-03-04 00:00:00', 2025, 'Cab \"airport\"', 'Line one\r\nline, two', 'Café Noël', NULL, "
                    "'VISA', 123400, 1, 2, 42, 2), "
                    "(11, 'PAPER', '2024-12-31 00:00:00', 2024, 'Party 🎉', NULL, NULL, '1001', 'CASH', -500, 0, 0, 2024, 1), "
                    "(0, 'GENERAL', NULL, -1, 'No date', NULL, NULL, NULL, 'CASH', 10000, 0, 0, -1, 0)");
        const Imported result = Import(target.path(), Export(source.path()));
        EXPECT_EQ(result.error, "") << decimal;
        EXPECT_EQ(result.stored, 3);
        EXPECT_EQ(AllExpenses(target.path()), AllExpenses(source.path())) << decimal;
    }
    SetAmountLocale(ole::NumberLocale(".", ","));
}

TEST(ExpenseImport, EncodingsAreRead)
{
    const struct {
        std::string bytes;
        const char* vendor;
    } cases[] = {
        {"\xEF\xBB\xBF" "2025/01/02,TAX,GENERAL,\"Stamps\",1.00,,,,Caf\xC3\xA9,CASH,,\"\"\r\n", "Café"},  // UTF-8 with a BOM
        {"2025/01/02,TAX,GENERAL,\"Stamps\",1.00,,,,Caf\xE9 \x80,CASH,,\"\"\r\n", "Café €"},             // Windows-1252
        {std::string("\xFF\xFE", 2) + [] {  // UTF-16LE with a BOM
             std::string wide;
             for (const char c : std::string("2025/01/02,TAX,GENERAL,\"Stamps\",1.00,,,,Caf\xE9,CASH,,\"\"\r\n")) {
                 wide += c;
                 wide += '\0';
             }
             return wide;
         }(),
         "Café"},
    };
    for (const auto& c : cases) {
        TestDatabase db;
        const Imported result = Import(db.path(), c.bytes);
        ASSERT_EQ(result.error, "");
        EXPECT_EQ(db.scalar("SELECT Vendor FROM Expenses"), c.vendor);
    }
}

TEST(ExpenseImport, EachBadInputIsRefusedWithItsLineAndNothingIsStored)
{
    const struct {
        std::string bytes;
        const char* said;
    } cases[] = {
        {std::string(kLine) + "2025/01/03,TAX\r\n", "line 2: it has 2 fields, not the 12 of Quillmar's export"},
        {std::string(kLine) + "2025/01/03,TAX,GENERAL,\"Open,1.00\r\n", "line 2: a quoted field is not closed"},
        {std::string(kLine) + LineWith("1.00", "1.2x"), "line 2: the amount '1.2x' is not a number"},
        {"1899/12/31,TAX,GENERAL,\"Old\",1.00,,,,,CASH,,\"\"\r\n", "line 1: the date 1899/12/31 is outside the years 1900 to 2099"},
        {"2025/13/01,TAX,GENERAL,\"Old\",1.00,,,,,CASH,,\"\"\r\n", "line 1: '2025/13/01' is not a date"},
        {"2025/01/02 10:30,TAX,GENERAL,\"Old\",1.00,,,,,CASH,,\"\"\r\n", "line 1: '2025/01/02 10:30' is not a date"},
        {"2025/01/02,XXXX,GENERAL,\"Old\",1.00,,,,,CASH,,\"\"\r\n", "line 1: the expense type 'XXXX' is not in this database"},
        {std::string(kLine) + "2025/01/02,TAX,GENERAL,\"\x81\",1.00,,,,,CASH,,\"\"\r\n", "line 2: the text is neither UTF-8 nor Windows-1252"},
        {"2025/01/02,TAX,GENERAL,\"An item that is far too long\",1.00,,,,,CASH,,\"\"\r\n", "is longer than 20 characters"},
    };
    for (const auto& c : cases) {
        TestDatabase db;
        const Imported result = Import(db.path(), c.bytes);
        EXPECT_NE(result.error.find(c.said), std::string::npos) << c.said << " / " << result.error;
        EXPECT_EQ(db.count("Expenses"), 0);
    }
}

TEST(ExpenseImport, DuplicatesAreMarkedAndLeftOut)
{
    TestDatabase db;
    const std::string noVendor = LineWith("Post Office", "");
    const std::string file = std::string(kLine) + kLine + LineWith("1.00", "2.00") + LineWith("Post Office", "POST OFFICE") +
                             LineWith("2025/01/02", "2025/01/03") + noVendor + noVendor +
                             noVendor.substr(0, noVendor.find("Stamps")) + "Labels" + noVendor.substr(noVendor.find("Stamps") + 6);
    const Imported first = Import(db.path(), file);
    ASSERT_EQ(first.rows.size(), 8u);
    // Told by the same date, amount and vendor (case aside) as an earlier line, or with no vendor
    // by the same item.
    const bool duplicates[] = {false, true, false, true, false, false, true, false};
    for (std::size_t i = 0; i < std::size(duplicates); ++i) {
        EXPECT_EQ(first.rows[i].duplicate, duplicates[i]) << "line " << i + 1;
        EXPECT_EQ(first.rows[i].ticked, !duplicates[i]) << "line " << i + 1;
    }
    EXPECT_EQ(first.stored, 5);
    const Imported again = Import(db.path(), file);
    EXPECT_EQ(again.stored, 0);
    EXPECT_EQ(db.count("Expenses"), 5);
}

TEST(ExpenseImport, ARefusedWriteStoresNothing)
{
    TestDatabase db;
    db.exec("CREATE TRIGGER refuse BEFORE INSERT ON Expenses WHEN NEW.Vendor = 'Refused' BEGIN SELECT RAISE(ABORT, 'no'); END");
    std::string file;
    for (const char* vendor : {"One", "Two", "Refused", "Four"})
        file += LineWith("Post Office", vendor);
    const Imported result = Import(db.path(), file);
    EXPECT_NE(result.error.find("line 3 could not be stored"), std::string::npos) << result.error;
    EXPECT_EQ(result.stored, 0);
    EXPECT_EQ(db.count("Expenses"), 0);
}

TEST(ExpenseImport, BankCsvInEachSignConventionAndDateFormat)
{
    const struct {
        const char* format;
        bool debitsNegative;
        const char* file;  // a header, two payments and one credit, in the bank's own form
    } cases[] = {
        {"YYYY-MM-DD", true,
         "Date,Text,Amount\r\n2025-03-04,COFFEE HOUSE DOWNTOWN CARD 1234,-4.50\r\n2025-03-05,Salary,\"1,200.00\"\r\n"
         "2025-03-06,Books,\"-1,234.56\"\r\n"},
        {"DD.MM.YYYY", true,
         "Datum;Text;Betrag\r\n04.03.2025;COFFEE HOUSE DOWNTOWN CARD 1234;-4,50\r\n05.03.2025;Salary;1.200,00\r\n"
         "06.03.2025;Books;-1.234,56\r\n"},
        {"MM/DD/YYYY", false,
         "Date,Text,Amount\r\n03/04/2025,COFFEE HOUSE DOWNTOWN CARD 1234,$4.50\r\n03/05/2025,Salary,(1200.00)\r\n"
         "03/06/2025,Books,\"$1,234.56\"\r\n"},
    };
    for (const auto& c : cases) {
        Importer f;
        ExpenseImport& import = *f.import;
        std::string error;
        const std::string text = c.file;
        ExpenseImport::BankLayout layout;
        layout.dateColumn = 0;
        layout.descriptionColumn = 1;
        layout.amountColumn = 2;
        layout.dateFormat = c.format;
        layout.debitsNegative = c.debitsNegative;
        long credits = 0;
        const auto rows = import.FromBankCsv(csv::Parse(text, csv::DetectSeparator(text)), layout, {"TAX", "GENERAL", "CASH", ""}, credits);
        ASSERT_EQ(rows.size(), 2u) << c.format;
        EXPECT_EQ(credits, 1);
        EXPECT_EQ(rows[0].expense.m_dtDate.format("%Y-%m-%d"), "2025-03-04") << c.format;
        EXPECT_EQ(rows[0].expense.m_cyAmount, ole::Currency::fromCents(450)) << c.format;
        EXPECT_EQ(rows[0].expense.m_strItem, "COFFEE HOUSE DOWNTOW");  // cut to the item's 20 characters
        EXPECT_EQ(rows[0].expense.m_strDetail, "COFFEE HOUSE DOWNTOWN CARD 1234");
        EXPECT_EQ(rows[1].expense.m_cyAmount, ole::Currency::fromCents(123456)) << c.format;
        EXPECT_EQ(rows[1].line, 4);
        long stored = 0;
        ASSERT_TRUE(f.connection.Execute("PRAGMA cache_size = -1234"));
        ASSERT_TRUE(import.Store(rows, stored, error)) << error;
        EXPECT_EQ(f.db.scalar("SELECT group_concat(ExpCat || ' ' || AcctCode || ' ' || ExpYear) FROM Expenses"),
                  "GENERAL CASH 2025,GENERAL CASH 2025");
        CAdoRecordset cache(&f.connection);  // the store's larger page cache is given back
        ASSERT_TRUE(cache.OpenQuery("PRAGMA cache_size"));
        EXPECT_EQ(cache.GetDF_Long("cache_size"), -1234);
    }
}

TEST(ExpenseImport, BankCsvRefusals)
{
    Importer f;
    ExpenseImport& import = *f.import;
    ExpenseImport::BankLayout layout;
    layout.dateColumn = 0;
    layout.descriptionColumn = 1;
    layout.amountColumn = 2;
    const struct {
        const char* file;
        const char* type;
        const char* said;
    } cases[] = {
        {"Date,Text,Amount\n2025-03-04,Coffee,-4.50\n2025/03/05,Tea,-2.00\n", "TAX", "line 3: '2025/03/05' is not a date in the form YYYY-MM-DD"},
        {"Date,Text,Amount\n2025-03-04,Coffee\n", "TAX", "line 2: it has 2 fields; column 3 is needed"},
        {"Date,Text,Amount\n2025-03-04,Coffee,four\n", "TAX", "line 2: the amount 'four' is not a number"},
        {"Date,Text,Amount\n2125-03-04,Coffee,-1\n", "TAX", "line 2: the date 2125-03-04 is outside the years 1900 to 2099"},
        {"Date,Text,Amount\n", "NONE", "line 1: the expense type 'NONE' is not in this database"},
    };
    for (const auto& c : cases) {
        long credits = 0;
        try {
            (void)import.FromBankCsv(csv::Parse(c.file, ','), layout, {c.type, "GENERAL", "CASH", ""}, credits);
            ADD_FAILURE() << c.said;
        } catch (const csv::Error& refusal) {
            EXPECT_NE(std::string(refusal.what()).find(c.said), std::string::npos) << refusal.what();
        }
    }
}

TEST(ExpenseImport, OfxPaymentsBecomeExpensesAndCreditsAreCounted)
{
    TempDir dir;
    writeFile(dir.file("statement.ofx"),
              OfxStatement("<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250304120000<TRNAMT>-4.50<FITID>1"
                           "<NAME>Coffee House Downtown Store<MEMO>Card 1234</STMTTRN>"
                           "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20250305120000<TRNAMT>1200.00<FITID>2<NAME>Salary</STMTTRN>"
                           "<STMTTRN><TRNTYPE>CHECK<DTPOSTED>20250306120000<TRNAMT>-80.00<FITID>3<CHECKNUM>1042"
                           "<NAME>Plumber</STMTTRN>"));
    EXPECT_TRUE(ofx::LooksLikeOfx(readFile(dir.file("statement.ofx"))));
    const std::vector<ofx::Transaction> transactions = ofx::ReadStatement(dir.file("statement.ofx"));
    ASSERT_EQ(transactions.size(), 3u);
    Importer f;
    ExpenseImport& import = *f.import;
    long credits = 0;
    const auto rows = import.FromOfx(transactions, {"TAX", "GENERAL", "CASH", ""}, credits);
    EXPECT_EQ(credits, 1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].expense.m_dtDate.format("%Y-%m-%d"), "2025-03-04");
    EXPECT_EQ(rows[0].expense.m_cyAmount, ole::Currency::fromCents(450));
    EXPECT_EQ(rows[0].expense.m_strVendor, "Coffee House Downtow");  // the vendor's 20 characters
    EXPECT_EQ(rows[0].expense.m_strDetail, "Card 1234");
    EXPECT_EQ(rows[1].expense.m_strChkNbr, "1042");
    EXPECT_EQ(rows[1].line, 3);  // the transaction's number

    writeFile(dir.file("broken.ofx"), "OFXHEADER:100\r\nthis is not a statement");
    // libofx refuses it, or finds nothing in it: either way nothing is imported.
    EXPECT_THROW((void)import.FromOfx(ofx::ReadStatement(dir.file("broken.ofx")), {"TAX", "GENERAL", "CASH", ""}, credits),
                 std::runtime_error);
}
