// Times the conversion of an Access file's expenses at scale. No Jet file with 100,000 expenses
// exists here (and no Jet writer), so the largest table of a public Jet file, read through libmdb
// REPEATS times, stands in for Expenses: each of its rows becomes an expense (its order, product
// and unit price in the expense's columns), with small lookup tables beside it. Everything else is
// the real conversion: the reading, the checks of every value, the new file, its integrity check
// and the comparison of its rows and amounts with what was read.
// Usage: jet_convert JET.mdb TABLE REPEATS NEW.mdb
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <map>

#include "database/JetConversion.h"
#include "platform/jet/MdbSource.h"

namespace {

using jet::Value;

class Rows : public jet::TableReader {
public:
    Rows(std::vector<std::string> names, std::vector<std::vector<Value>> rows) : m_rows(std::move(rows))
    {
        for (auto& name : names)
            m_columns.push_back({std::move(name), jet::ColumnType::Other});
    }
    const std::vector<jet::Column>& Columns() const override { return m_columns; }
    bool Next(std::vector<Value>& row) override
    {
        if (m_next == m_rows.size())
            return false;
        row = m_rows[m_next++];
        return true;
    }

private:
    std::vector<jet::Column> m_columns;
    std::vector<std::vector<Value>> m_rows;
    std::size_t m_next = 0;
};

// The file's table, REPEATS times over, as Expenses rows.
class RepeatedExpenses : public jet::TableReader {
public:
    RepeatedExpenses(jet::MdbSource& file, std::string table, int repeats)
        : m_file(file), m_table(std::move(table)), m_repeats(repeats)
    {
        for (const char* name : {"ExpType", "ExpCat", "ExpDate", "ExpYear", "Item", "Detail", "Vendor", "ChkNbr", "AcctCode",
                                 "Amount", "Reimburse", "Status", "ProjectID", "TypeComp"})
            m_columns.push_back({name, jet::ColumnType::Other});
    }
    const std::vector<jet::Column>& Columns() const override { return m_columns; }
    bool Next(std::vector<Value>& row) override
    {
        while (!m_reader || !m_reader->Next(m_source)) {
            if (m_done++ == m_repeats)
                return false;
            m_reader = m_file.OpenTable(m_table);
            m_amount = Column(jet::ColumnType::Currency);
        }
        const std::int64_t key = m_source[0].integer, other = m_source[1].integer;
        row = {Value::Integer(10 + other % 20), Value::Text("ORDER"), Value::DateTime(34654.0 + key % 700),
               Value::Integer(1994), Value::Text("Order " + std::to_string(key)), Value::Text("Product " + std::to_string(other)),
               {}, {}, Value::Text("CASH"), m_source[m_amount], Value::Boolean(false), Value::Integer(0),
               Value::Integer(1994), Value::Integer(1)};
        return true;
    }

private:
    std::size_t Column(jet::ColumnType type) const
    {
        const auto& columns = m_reader->Columns();
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].type == type)
                return i;
        return 0;
    }

    jet::MdbSource& m_file;
    std::string m_table;
    int m_repeats;
    int m_done = 0;
    std::unique_ptr<jet::TableReader> m_reader;
    std::vector<Value> m_source;
    std::size_t m_amount = 0;
    std::vector<jet::Column> m_columns;
};

class BenchSource : public jet::Source {
public:
    BenchSource(jet::MdbSource& file, std::string table, int repeats) : m_file(file), m_table(std::move(table)), m_repeats(repeats) {}
    std::vector<std::string> TableNames() const override
    {
        return {"QlVersion", "lkpExpBillStatus", "lkpExpTypes", "lkpExpCategories", "lkpAccounts", "Projects", "Expenses"};
    }
    std::unique_ptr<jet::TableReader> OpenTable(const std::string& name) override
    {
        const auto T = [](const char* text) { return Value::Text(text); };
        const auto I = [](std::int64_t value) { return Value::Integer(value); };
        if (name == "Expenses")
            return std::make_unique<RepeatedExpenses>(m_file, m_table, m_repeats);
        if (name == "QlVersion")
            return std::make_unique<Rows>(std::vector<std::string>{"AppCode", "Major", "Minor"},
                                          std::vector<std::vector<Value>>{{T("Quillmar"), I(1), I(0)}, {T("PalmUpdt"), I(1), I(1)}});
        if (name == "lkpExpBillStatus")
            return std::make_unique<Rows>(std::vector<std::string>{"Status", "StatusCode", "StatDesc"},
                                          std::vector<std::vector<Value>>{{I(0), T("NA"), {}}, {I(1), T("IN"), {}}});
        if (name == "lkpExpTypes") {
            std::vector<std::vector<Value>> types;
            for (int type = 10; type < 30; ++type)
                types.push_back({I(type), T("ORD"), T("Orders"), I(1)});
            return std::make_unique<Rows>(std::vector<std::string>{"ExpType", "ExpLabel", "ExpDesc", "ExpComp"}, types);
        }
        if (name == "lkpExpCategories")
            return std::make_unique<Rows>(std::vector<std::string>{"ExpType", "ExpCat", "CatDesc"},
                                          std::vector<std::vector<Value>>{{I(10), T("ORDER"), {}}});
        if (name == "lkpAccounts")
            return std::make_unique<Rows>(std::vector<std::string>{"AcctCode", "AcctDesc"},
                                          std::vector<std::vector<Value>>{{T("CASH"), T("Cash")}});
        return std::make_unique<Rows>(std::vector<std::string>{"ProjectID", "ProjectName", "ProjectDesc", "Active"},
                                      std::vector<std::vector<Value>>{});
    }

private:
    jet::MdbSource& m_file;
    std::string m_table;
    int m_repeats;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: jet_convert JET.mdb TABLE REPEATS NEW.mdb\n");
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        jet::MdbSource file(argv[1]);
        BenchSource source(file, argv[2], std::atoi(argv[3]));
        const JetConversion::Result result = JetConversion::Convert(source, argv[1], argv[4], {true, false});
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("expenses %ld seconds %.3f rows_per_s %.0f\n", result.expenses, seconds, result.expenses / seconds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
