// Converting the expense tables of an Access file, through the reading interface with rows made
// here (no Jet writer exists): the exact copy, the lookup version moved on, each refusal with its
// table, row and value and nothing written, the same rows skipped and listed on request.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "database/JetConversion.h"
#include "platform/jet/JetSource.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestDatabase.h"

namespace {

using jet::Value;
using Row = std::vector<Value>;

struct TableData {
    std::vector<std::string> columns;
    std::vector<Row> rows;
};

class MemorySource : public jet::Source {
public:
    std::map<std::string, TableData> tables;

    std::vector<std::string> TableNames() const override
    {
        std::vector<std::string> names;
        for (const auto& [name, table] : tables)
            names.push_back(name);
        return names;
    }

    std::unique_ptr<jet::TableReader> OpenTable(const std::string& name) override
    {
        class Reader : public jet::TableReader {
        public:
            explicit Reader(const TableData& data) : m_data(data)
            {
                for (const auto& column : data.columns)
                    m_columns.push_back({column, jet::ColumnType::Other});
            }
            const std::vector<jet::Column>& Columns() const override { return m_columns; }
            bool Next(Row& row) override
            {
                if (m_next == m_data.rows.size())
                    return false;
                row = m_data.rows[m_next++];
                return true;
            }

        private:
            const TableData& m_data;
            std::vector<jet::Column> m_columns;
            std::size_t m_next = 0;
        };
        return std::make_unique<Reader>(tables.at(name));
    }
};

Value T(const char* text) { return Value::Text(text); }
Value I(std::int64_t value) { return Value::Integer(value); }
Value Null() { return {}; }

// A small expense database as an Access file would hold it.
MemorySource SoundSource()
{
    MemorySource source;
    source.tables["QlVersion"] = {{"AppCode", "Major", "Minor"}, {{T("Quillmar"), I(1), I(0)}, {T("PalmUpdt"), I(7), I(1)}}};
    source.tables["lkpExpBillStatus"] = {{"Status", "StatusCode", "StatDesc"},
                                         {{I(0), T("NA"), T("Not reimbursable")}, {I(1), T("IN"), T("Incurred")},
                                          {I(2), T("SU"), T("Submitted")}, {I(3), T("PD"), T("Paid")}}};
    source.tables["lkpExpTypes"] = {{"ExpType", "ExpLabel", "ExpDesc", "ExpComp"},
                                    {{I(0), T("TAX"), T("Tax Deductible"), I(0)}, {I(1), T("EST"), T("Estimated Tax"), I(0)},
                                     {I(10), T("TRVL"), T("Travel"), I(2)}}};
    source.tables["lkpExpCategories"] = {{"ExpType", "ExpCat", "CatDesc"},
                                         {{I(0), T("GENERAL"), Null()}, {I(1), T("FEDERAL"), Null()}, {I(10), T("TAXI"), T("Cabs")}}};
    source.tables["lkpAccounts"] = {{"AcctCode", "AcctDesc"}, {{T("CASH"), T("Cash")}, {T("VISA"), T("Visa card")}}};
    source.tables["Projects"] = {{"ProjectID", "ProjectName", "ProjectDesc", "Active"},
                                 {{I(42), T("Acme"), T("Acme rollout"), Value::Boolean(true)}}};
    source.tables["Expenses"] = {
        {"ExpType", "ExpCat", "ExpDate", "ExpYear", "Item", "Detail", "Vendor", "ChkNbr", "AcctCode", "Amount", "Reimburse",
         "Status", "ProjectID", "TypeComp"},
        {{I(10), T("TAXI"), Value::DateTime(44532), I(2021), T("Café"), T("Line one\r\nline two"), T("Yellow Cab"), Null(),
          T("VISA"), Value::Currency(123456), Value::Boolean(true), I(1), I(42), I(2)},
         {I(0), T("GENERAL"), Value::DateTime(-363.5), I(1899), T("Ledger"), Null(), Null(), T("1001"), T("CASH"),
          Value::Currency(-5), Value::Boolean(false), I(0), I(1899), I(0)},
         {I(1), T("FEDERAL"), Null(), I(-1), T("ééééééééééééééééééé€"), Null(), Null(), Null(), T("CASH"), Value::Currency(0),
          Value::Boolean(false), Null(), I(-1), I(0)}}};
    return source;
}

std::string Scalar(const std::string& path, const std::string& sql) { return TestDatabase::scalarAt(path, sql); }

}  // namespace

TEST(JetConversion, CopiesEveryRowColumnByColumn)
{
    TempDir dir;
    MemorySource source = SoundSource();
    const std::string target = dir.file("new.mdb");
    const JetConversion::Result result = JetConversion::Convert(source, "old.mdb", target, {});
    EXPECT_EQ(result.Summary(), "Converted 3 expenses, 2 accounts, 3 expense types, 3 categories, 1 projects.");
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(Scalar(target, "SELECT SUM(Amount) FROM Expenses"), "123451");  // exact to the ten-thousandth
    EXPECT_EQ(Scalar(target, "SELECT ExpDate || '|' || Detail FROM Expenses WHERE Item = 'Café'"),
              "2021-12-02 00:00:00|Line one\r\nline two");
    EXPECT_EQ(Scalar(target, "SELECT ExpDate FROM Expenses WHERE Item = 'Ledger'"), "1899-01-01 12:00:00");
    EXPECT_EQ(Scalar(target, "SELECT count(*) FROM Expenses WHERE ExpDate IS NULL AND Status IS NULL"), "1");
    EXPECT_EQ(Scalar(target, "SELECT group_concat(AcctCode) FROM lkpAccounts"), "CASH,VISA");
    EXPECT_EQ(Scalar(target, "SELECT count(*) FROM lkpExpBillStatus"), "4");
    EXPECT_EQ(Scalar(target, "SELECT Active FROM Projects WHERE ProjectID = 42"), "1");
}

TEST(JetConversion, TheNextHotSyncSendsTheLookups)
{
    const struct {
        std::vector<Row> versionRows;
        const char* palmUpdt;  // Major|Minor after the conversion
    } cases[] = {
        {{{T("Quillmar"), I(1), I(0)}, {T("PalmUpdt"), I(7), I(1)}}, "8|0"},      // delivered: a new version
        {{{T("Quillmar"), I(1), I(0)}, {T("PalmUpdt"), I(3), I(0)}}, "4|0"},      // waiting: still a new one
        {{{T("Quillmar"), I(2), I(5)}, {T("PalmUpdt"), I(10000), I(1)}}, "1|0"},  // the counter turns over
        {{{T("Quillmar"), I(1), I(0)}}, "1|0"},                                  // no row: one is made
    };
    for (const auto& c : cases) {
        TempDir dir;
        MemorySource source = SoundSource();
        source.tables["QlVersion"].rows = c.versionRows;
        (void)JetConversion::Convert(source, "old.mdb", dir.file("new.mdb"), {});
        EXPECT_EQ(Scalar(dir.file("new.mdb"), "SELECT Major || '|' || Minor FROM QlVersion WHERE AppCode = 'PalmUpdt'"), c.palmUpdt);
    }
}

TEST(JetConversion, RefusesWithTheTableRowAndValueAndWritesNothing)
{
    const struct {
        const char* what;
        std::function<void(MemorySource&)> spoil;
        const char* said;
        bool rowLevel;  // --skip-bad-rows leaves the row out and converts the rest
    } cases[] = {
        {"repeated type", [](MemorySource& s) { s.tables["lkpExpTypes"].rows.push_back({I(10), T("TRV2"), Null(), I(1)}); },
         "Table lkpExpTypes, row 4: repeats the key of an earlier row", true},
        {"category in another case",
         [](MemorySource& s) { s.tables["lkpExpCategories"].rows.push_back({I(10), T("taxi"), Null()}); },
         "Table lkpExpCategories, row 4: repeats the key", true},
        {"account too long", [](MemorySource& s) { s.tables["lkpAccounts"].rows[1][0] = T("VISA1"); },
         "Table lkpAccounts, row 2: AcctCode 'VISA1' is longer than 4 characters", true},
        {"item of 21 characters", [](MemorySource& s) { s.tables["Expenses"].rows[2][4] = T("ééééééééééééééééééé€x"); },
         "Table Expenses, row 3: Item 'ééééééééééééééééééé€x' is longer than 20 characters", true},
        {"date out of range", [](MemorySource& s) { s.tables["Expenses"].rows[0][2] = Value::DateTime(3e6); },
         "Table Expenses, row 1: ExpDate day 3e+06 cannot be a date", true},
        {"short out of range", [](MemorySource& s) { s.tables["Expenses"].rows[1][0] = I(40000); },
         "Table Expenses, row 2: ExpType 40000 is out of range", true},
        {"key left empty", [](MemorySource& s) { s.tables["Projects"].rows[0][0] = Null(); },
         "Table Projects, row 1: ProjectID (empty) is empty", true},
        {"no expenses", [](MemorySource& s) { s.tables.erase("Expenses"); },
         "old.mdb is an Access database but not an expense database: it has no table Expenses.", false},
        {"no column", [](MemorySource& s) { s.tables["Expenses"].columns[6] = "Seller"; },
         "its table Expenses has no column Vendor.", false},
        {"no format row", [](MemorySource& s) { s.tables["QlVersion"].rows.erase(s.tables["QlVersion"].rows.begin()); },
         "its QlVersion table has no row 'Quillmar'", false},
    };
    for (const auto& c : cases) {
        for (const bool skip : {false, true}) {
            TempDir dir;
            MemorySource source = SoundSource();
            c.spoil(source);
            const std::string target = dir.file("new.mdb");
            try {
                const JetConversion::Result result = JetConversion::Convert(source, "old.mdb", target, {false, skip});
                EXPECT_TRUE(skip && c.rowLevel) << c.what << " was converted";
                ASSERT_EQ(result.skipped.size(), 1u) << c.what;
                EXPECT_NE(result.skipped[0].find(c.said), std::string::npos) << result.skipped[0];
                EXPECT_TRUE(fileExists(target));
            } catch (const std::runtime_error& error) {
                EXPECT_FALSE(skip && c.rowLevel) << c.what << ": " << error.what();
                EXPECT_NE(std::string(error.what()).find(c.said), std::string::npos) << error.what();
                EXPECT_EQ(folderContents(dir.path()).size(), 0u) << c.what;  // nothing, not even a temporary file
            }
        }
    }
}

TEST(JetConversion, TheStatusTableMayHaveItsShortName)
{
    TempDir dir;
    MemorySource source = SoundSource();
    source.tables["lkpStatus"] = source.tables["lkpExpBillStatus"];
    source.tables.erase("lkpExpBillStatus");
    (void)JetConversion::Convert(source, "old.mdb", dir.file("new.mdb"), {});
    EXPECT_EQ(Scalar(dir.file("new.mdb"), "SELECT StatusCode FROM lkpExpBillStatus WHERE Status = 3"), "PD");
}

TEST(JetConversion, TargetRules)
{
    TempDir dir;
    MemorySource source = SoundSource();
    writeFile(dir.file("taken.mdb"), "keep me");
    writeFile(dir.file(".new.mdb.a1B2c3"), "what a killed conversion left");
    (void)JetConversion::Convert(source, "old.mdb", dir.file("new.mdb"), {});
    EXPECT_FALSE(fileExists(dir.file(".new.mdb.a1B2c3")));
    EXPECT_THROW(JetConversion::Convert(source, "old.mdb", dir.file("taken.mdb"), {}), std::runtime_error);
    EXPECT_EQ(readFile(dir.file("taken.mdb")), "keep me");
    EXPECT_NO_THROW(JetConversion::Convert(source, "old.mdb", dir.file("taken.mdb"), {true, false}));
    try {
        (void)JetConversion::Convert(source, "old.mdb", dir.file("no/such/new.mdb"), {});
        ADD_FAILURE() << "a missing folder was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("does not exist"), std::string::npos) << error.what();
    }
}
