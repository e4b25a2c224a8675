// Copying the expense tables of a Jet file into a new database, with the checks after the copy.
#include "database/JetConversion.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <set>
#include <sqlite3.h>

#include "database/CDatabaseCreator.h"
#include "database/ExpenseSchema.h"
#include "database/JetTableMap.h"
#include "dbaccess/CADODataBase.h"
#include "platform/ado/DatabaseCreator.h"
#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"
#include "platform/ado/Statement.h"
#include "platform/fs/TemporaryFile.h"
#include "platform/jet/JetSource.h"

namespace {

using Failure = std::runtime_error;

std::string Folded(std::string text)
{
    // The lookup keys compare as SQLite's NOCASE does: ASCII letters only.
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool SameName(const std::string& a, const char* b) { return b && Folded(a) == Folded(b); }

// What one table's copy read and wrote, for the checks after it.
struct Copied {
    long rows = 0;
    std::int64_t amountTotal = 0;  // Expenses only: the amounts read, x 10,000
};

class Copier {
public:
    Copier(jet::Source& source, std::string sourceName, bool skipBadRows)
        : m_source(source), m_sourceName(std::move(sourceName)), m_bSkipBadRows(skipBadRows) {}

    void Run(sqlite3* db, JetConversion::Result& result);

private:
    std::string SourceTable(const jetmap::TableRule& table) const;
    Copied CopyTable(sqlite3* db, const jetmap::TableRule& table);
    std::optional<std::string> DuplicateKey(const jetmap::TableRule& table, const std::vector<ole::Variant>& values);
    void MoveLookupVersionOn(sqlite3* db, long& versionRows) const;
    void CheckCopy(sqlite3* db, const jetmap::TableRule& table, const Copied& copied) const;
    [[noreturn]] void NotAnExpenseDatabase(const std::string& why) const
    {
        throw Failure(m_sourceName + " is an Access database but not an expense database: " + why + ".");
    }

    jet::Source& m_source;
    std::string m_sourceName;
    bool m_bSkipBadRows;
    std::set<std::string> m_keys;  // the lookup keys of the table being copied
    std::vector<std::string> m_skipped;
};

std::string Copier::SourceTable(const jetmap::TableRule& table) const
{
    const std::vector<std::string> names = m_source.TableNames();
    for (const char* wanted : {table.name, table.otherSourceName})
        for (const std::string& name : names)
            if (SameName(name, wanted))
                return name;
    NotAnExpenseDatabase(std::string("it has no table ") + table.name);
}

std::optional<std::string> Copier::DuplicateKey(const jetmap::TableRule& table, const std::vector<ole::Variant>& values)
{
    const auto text = [&values](std::size_t i) {
        const auto* value = values[i].get<std::string>();
        return value ? Folded(*value) : std::string();
    };
    const auto number = [&values](std::size_t i) {
        if (const auto* value = values[i].get<std::int16_t>())
            return std::to_string(*value);
        const auto* value = values[i].get<std::int32_t>();
        return value ? std::to_string(*value) : std::string();
    };
    std::string key;
    switch (table.key) {
    case jetmap::Key::None: return std::nullopt;
    case jetmap::Key::Type:
    case jetmap::Key::Project: key = number(0); break;
    case jetmap::Key::TypeAndCategory: key = number(0) + '\n' + text(1); break;
    case jetmap::Key::Account:
    case jetmap::Key::AppCode: key = text(0); break;
    }
    if (m_keys.insert(key).second)
        return std::nullopt;
    return "repeats the key of an earlier row";
}

Copied Copier::CopyTable(sqlite3* db, const jetmap::TableRule& table)
{
    const std::string sourceTable = SourceTable(table);
    const std::unique_ptr<jet::TableReader> reader = m_source.OpenTable(sourceTable);
    std::vector<std::size_t> sourceColumn;
    std::string columns, marks;
    for (const jetmap::ColumnRule& rule : table.columns) {
        const auto& found = reader->Columns();
        const auto at = std::find_if(found.begin(), found.end(), [&rule](const jet::Column& c) { return SameName(c.name, rule.name); });
        if (at == found.end())
            NotAnExpenseDatabase("its table " + sourceTable + " has no column " + rule.name);
        sourceColumn.push_back(static_cast<std::size_t>(at - found.begin()));
        columns += (columns.empty() ? "" : ", ") + std::string(rule.name);
        marks += marks.empty() ? "?" : ", ?";
    }
    ado::Statement insert(db, "INSERT INTO " + std::string(table.name) + " (" + columns + ") VALUES (" + marks + ")");
    m_keys.clear();
    Copied copied;
    std::vector<jet::Value> row;
    std::vector<ole::Variant> values(table.columns.size());
    for (long number = 1; reader->Next(row); ++number) {
        std::optional<std::string> refusal;
        for (std::size_t i = 0; i < table.columns.size() && !refusal; ++i) {
            const jet::Value& value = row[sourceColumn[i]];
            jetmap::Converted converted = jetmap::Convert(value, table.columns[i]);
            if (converted.refusal)
                refusal = std::string(table.columns[i].name) + " " + jetmap::Describe(value) + " " + *converted.refusal;
            values[i] = std::move(converted.value);
        }
        if (!refusal)
            refusal = DuplicateKey(table, values);
        if (refusal) {
            const std::string where = "Table " + sourceTable + ", row " + std::to_string(number) + ": " + *refusal;
            if (!m_bSkipBadRows)
                throw Failure(where + ". Nothing was converted.");
            m_skipped.push_back(where);
            continue;
        }
        insert.reset();
        for (std::size_t i = 0; i < values.size(); ++i)
            insert.bind(static_cast<int>(i) + 1, values[i]);
        insert.step();
        ++copied.rows;
        for (const ole::Variant& value : values)
            if (const auto* amount = value.get<ole::Currency>())  // only Expenses has an amount
                if (__builtin_add_overflow(copied.amountTotal, amount->raw(), &copied.amountTotal))
                    throw Failure("The amounts of table " + sourceTable + " add up to more than an amount can hold.");
    }
    return copied;
}

void Copier::MoveLookupVersionOn(sqlite3* db, long& versionRows) const
{
    namespace ve = schema::version;
    ado::Statement format(db, "SELECT Major FROM QlVersion WHERE AppCode = 'Quillmar' AND Major >= 1");
    if (!format.step())
        NotAnExpenseDatabase("its QlVersion table has no row 'Quillmar' of version 1 or later");
    // A new version (1 to 10000, as the lookup editors count) that no handheld has yet.
    ado::executeSql(db, "UPDATE QlVersion SET Major = CASE WHEN COALESCE(Major, 0) >= 10000 OR Major < 0 THEN 1 "
                        "ELSE COALESCE(Major, 0) + 1 END, Minor = 0 WHERE AppCode = 'PalmUpdt'");
    if (sqlite3_changes(db) == 0) {
        ado::executeSql(db, "INSERT INTO QlVersion (AppCode, Major, Minor) VALUES ('PalmUpdt', 1, 0)");
        ++versionRows;
    }
}

void Copier::CheckCopy(sqlite3* db, const jetmap::TableRule& table, const Copied& copied) const
{
    ado::Statement count(db, "SELECT COUNT(*), " +
                                 std::string(table.name == std::string(schema::expenses::kTable) ? "COALESCE(SUM(Amount), 0)" : "0") +
                                 " FROM " + table.name);
    (void)count.step();  // an aggregate always answers one row
    const std::int64_t rows = sqlite3_column_int64(count.get(), 0);
    const std::int64_t total = sqlite3_column_int64(count.get(), 1);
    if (rows != copied.rows || total != copied.amountTotal)
        throw Failure("The new database does not hold what was read from " + m_sourceName + ": table " + table.name + " has " +
                      std::to_string(rows) + " rows (" + std::to_string(copied.rows) + " read) and an amount total of " +
                      std::to_string(total) + " (" + std::to_string(copied.amountTotal) + " read, in ten-thousandths).");
}

void Copier::Run(sqlite3* db, JetConversion::Result& result)
{
    // Expenses named first: a file without it is no expense database at all.
    for (auto table = jetmap::Tables().rbegin(); table != jetmap::Tables().rend(); ++table)
        (void)SourceTable(*table);  // throws for a missing table
    ado::executeSql(db, "BEGIN");
    for (const jetmap::TableRule& table : jetmap::Tables())
        ado::executeSql(db, "DELETE FROM " + std::string(table.name));  // the new file's own first rows
    std::vector<Copied> copied;
    for (const jetmap::TableRule& table : jetmap::Tables())
        copied.push_back(CopyTable(db, table));
    MoveLookupVersionOn(db, copied.front().rows);
    ado::executeSql(db, "COMMIT");
    for (std::size_t i = 0; i < copied.size(); ++i)
        CheckCopy(db, jetmap::Tables()[i], copied[i]);
    ado::Statement integrity(db, "PRAGMA integrity_check");
    if (!integrity.step() || std::string(reinterpret_cast<const char*>(sqlite3_column_text(integrity.get(), 0))) != "ok")
        throw Failure("The new database does not pass SQLite's integrity check.");
    const auto rowsOf = [&copied](const char* name) {
        for (std::size_t i = 0; i < copied.size(); ++i)
            if (jetmap::Tables()[i].name == std::string(name))
                return copied[i].rows;
        return 0L;
    };
    result.expenses = rowsOf(schema::expenses::kTable);
    result.accounts = rowsOf(schema::accounts::kTable);
    result.types = rowsOf(schema::types::kTable);
    result.categories = rowsOf(schema::categories::kTable);
    result.projects = rowsOf(schema::projects::kTable);
    result.skipped = m_skipped;
}

}  // namespace

std::string JetConversion::Result::Summary() const
{
    return "Converted " + std::to_string(expenses) + " expenses, " + std::to_string(accounts) + " accounts, " +
           std::to_string(types) + " expense types, " + std::to_string(categories) + " categories, " +
           std::to_string(projects) + " projects.";
}

JetConversion::Result JetConversion::Convert(jet::Source& source, const std::string& sourceName, const std::string& target,
                                             const Options& options)
{
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::absolute(target, ignored).parent_path();
    if (!std::filesystem::is_directory(folder, ignored))
        throw Failure("The folder " + folder.string() + " does not exist.");
    if (std::filesystem::equivalent(sourceName, target, ignored))
        throw Failure("The new database cannot take the place of " + sourceName + ".");
    CDatabaseCreator::CheckTarget(target, options.overwrite);
    // A conversion killed half-way (a crash of the reader, a time limit) left its unfinished file.
    const std::string name = std::filesystem::path(target).filename().string();
    (void)files::TemporaryFile::RemoveLeftovers(folder.string(), [&name](const std::string& of) { return of == name; });
    Result result;
    Copier copier(source, sourceName, options.skipBadRows);
    try {
        ado::DatabaseCreator::createDatabase(CADODataBase::ConnectionString(target), CDatabaseCreator::SchemaSql(),
                                             options.overwrite, [&](sqlite3* db) { copier.Run(db, result); });
    } catch (const ado::Error& error) {
        throw Failure(error.description());
    } catch (const jet::Error& error) {
        throw Failure(sourceName + " cannot be read: " + error.what() + ".");
    }
    return result;
}
