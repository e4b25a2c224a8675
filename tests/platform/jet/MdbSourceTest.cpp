// Reading Jet 3 and Jet 4 files through libmdb: the kinds of file, every column type the expense
// tables use with the stored values decoded exactly, texts from a code page and from UCS-2, and
// the refusals of what is not a readable Jet file.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/jet/JetFile.h"
#include "platform/jet/MdbSource.h"
#include "platform/ole/DateTime.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kNwind = JET_SAMPLES "/nwind.mdb";
const std::string kDateTest = JET_SAMPLES "/DateTestDatabase.mdb";

using Rows = std::vector<std::vector<jet::Value>>;

struct Table {
    std::vector<jet::Column> columns;
    Rows rows;
    std::size_t Column(const std::string& name) const
    {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].name == name)
                return i;
        ADD_FAILURE() << "no column " << name;
        return 0;
    }
};

Table ReadAll(const std::string& path, const std::string& name)
{
    jet::MdbSource source(path);
    auto reader = source.OpenTable(name);
    Table table{reader->Columns(), {}};
    std::vector<jet::Value> row;
    while (reader->Next(row))
        table.rows.push_back(row);
    return table;
}

std::string IsoDate(const jet::Value& value)
{
    EXPECT_EQ(value.kind, jet::Value::Kind::DateTime);
    return ole::DateTime(value.real).format("%Y-%m-%d");
}

}  // namespace

TEST(JetFile, KindsFromTheHeader)
{
    TempDir dir;
    const std::string header = std::string("\x00\x01\x00\x00", 4);
    const struct {
        std::string bytes;
        jet::FileKind kind;
    } cases[] = {
        {header + std::string("Standard ACE DB\0", 16) + '\x02', jet::FileKind::Ace},
        {header + std::string("Standard Jet DB\0", 16) + '\x03', jet::FileKind::Ace},
        {header + std::string("Standard Jet DB\0", 16), jet::FileKind::NotAccess},  // too short
        {"SQLite format 3" + std::string(6, '\0'), jet::FileKind::NotAccess},
    };
    for (const auto& c : cases) {
        writeFile(dir.file("x.mdb"), c.bytes);
        EXPECT_EQ(jet::KindOfFile(dir.file("x.mdb")), c.kind) << c.bytes.size();
    }
    EXPECT_EQ(jet::KindOfFile(kNwind), jet::FileKind::Jet3);
    EXPECT_EQ(jet::KindOfFile(kDateTest), jet::FileKind::Jet4);
    EXPECT_EQ(jet::KindOfFile(dir.file("missing.mdb")), jet::FileKind::NotAccess);
}

TEST(MdbSource, Jet3TablesWithCodePageNamesAndRowCounts)
{
    jet::MdbSource source(kNwind);
    const auto names = source.TableNames();
    for (const char* name : {"Orders", "Products", "Employees", "Umsätze"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    const struct {
        const char* table;
        std::size_t rows;
    } counts[] = {{"Orders", 830}, {"Order Details", 2155}, {"Customers", 91}, {"Umsätze", 830}};
    for (const auto& c : counts)
        EXPECT_EQ(ReadAll(kNwind, c.table).rows.size(), c.rows) << c.table;
}

TEST(MdbSource, CurrencyExactlyAndDatesFromTheStoredDays)
{
    const Table orders = ReadAll(kNwind, "Orders");
    const std::size_t freight = orders.Column("Freight"), id = orders.Column("OrderID"), date = orders.Column("OrderDate");
    EXPECT_EQ(orders.columns[freight].type, jet::ColumnType::Currency);
    std::int64_t total = 0;
    for (const auto& row : orders.rows) {
        total += row[freight].integer;
        if (row[id].integer == 10330) {
            EXPECT_EQ(row[freight].integer, 127500);  // 12.75
            EXPECT_EQ(IsoDate(row[date]), "1994-11-16");
        }
    }
    EXPECT_EQ(total, 649426900);  // 64942.69, to the ten-thousandth

    const Table employees = ReadAll(kNwind, "Employees");
    EXPECT_EQ(IsoDate(employees.rows[0][employees.Column("BirthDate")]), "1948-12-08");
    const jet::Value& notes = employees.rows[0][employees.Column("Notes")];  // a memo
    EXPECT_EQ(notes.kind, jet::Value::Kind::Text);
    EXPECT_GT(notes.text.size(), 50u);
}

TEST(MdbSource, IntegersAndYesNo)
{
    const Table products = ReadAll(kNwind, "Products");
    const std::size_t stock = products.Column("UnitsInStock"), discontinued = products.Column("Discontinued");
    EXPECT_EQ(products.columns[stock].type, jet::ColumnType::Integer);
    EXPECT_EQ(products.columns[discontinued].type, jet::ColumnType::Boolean);
    EXPECT_EQ(products.rows[0][stock].integer, 39);  // Chai
    std::size_t yes = 0;
    for (const auto& row : products.rows) {
        EXPECT_EQ(row[discontinued].kind, jet::Value::Kind::Boolean);
        yes += row[discontinued].integer;
    }
    EXPECT_GT(yes, 0u);
    EXPECT_LT(yes, products.rows.size());
}

TEST(MdbSource, Jet4DatesFarOutAndTextsWithLineEnds)
{
    const Table dates = ReadAll(kDateTest, "DateTest");
    ASSERT_EQ(dates.rows.size(), 6u);
    const std::size_t when = dates.Column("DateTimeCol"), memo = dates.Column("LongTextCol");
    const std::vector<int> years = {2021, 9999, 1898, 632, 2021, 2021};
    for (std::size_t i = 0; i < years.size(); ++i)
        EXPECT_EQ(ole::DateTime(dates.rows[i][when].real).year(), years[i]) << i;
    EXPECT_EQ(dates.rows[5][memo].text, "New line\r\nin field");
    EXPECT_EQ(dates.rows[0][dates.Column("ShortTextCol")].text, "Hello");
}

TEST(MdbSource, RefusesWhatIsNotAReadableJetFile)
{
    TempDir dir;
    const std::string header = std::string("\x00\x01\x00\x00", 4);
    const struct {
        const char* name;
        std::string bytes;  // empty: no file at all
        const char* said;
    } cases[] = {
        {"missing.mdb", "", "cannot be read"},
        {"new.accdb", header + std::string("Standard ACE DB\0", 16) + '\x03' + std::string(4096, '\0'), "Access 2007 or later"},
        {"sqlite.mdb", "SQLite format 3" + std::string(100, '\0'), "is not an Access (Jet) database"},
        {"header-only.mdb", header + std::string("Standard Jet DB\0", 16) + '\x01', "damaged"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        if (!c.bytes.empty())
            writeFile(path, c.bytes);
        try {
            jet::MdbSource source(path);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const jet::Error& error) {
            EXPECT_NE(std::string(error.what()).find(c.said), std::string::npos) << error.what();
        }
    }
}
