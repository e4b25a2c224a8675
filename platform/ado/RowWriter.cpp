// INSERT, UPDATE and DELETE of snapshot rows, and the literal defaults of new rows.
#include "platform/ado/RowWriter.h"

#include <algorithm>
#include <bit>
#include <sqlite3.h>

#include "platform/ado/Error.h"
#include "platform/ado/SqlText.h"

namespace ado {
namespace {

bool inMask(std::uint64_t mask, std::size_t column) { return (mask & (std::uint64_t(1) << column)) != 0; }

// A column default as PRAGMA table_info spells it, when it is a plain literal.
std::optional<ole::Variant> literalDefault(const std::string& literal)
{
    if (equalsFolded(literal, "NULL"))
        return ole::Variant::null();
    if (equalsFolded(literal, "TRUE") || equalsFolded(literal, "FALSE"))
        return ole::Variant(equalsFolded(literal, "TRUE"));
    if (literal.size() >= 2 && literal.front() == '\'' && literal.back() == '\'' &&
        literal.find('\'', 1) == literal.size() - 1)
        return ole::Variant(literal.substr(1, literal.size() - 2));
    if (!literal.empty() && literal.find_first_not_of("+-0123456789") == std::string::npos)
        return ole::Variant(static_cast<std::int64_t>(std::stoll(literal)));
    return std::nullopt;  // an expression
}

}  // namespace

RowWriter::RowWriter(sqlite3* db, std::string table, RowStore& store)
    : m_db(db), m_table(std::move(table)), m_store(store), m_pending(store.fields().size())
{
    learnInsertDefaults();
}

void RowWriter::clear()
{
    std::fill(m_pending.begin(), m_pending.end(), std::nullopt);
}

std::uint64_t RowWriter::assignedMask(bool skipEmpty) const
{
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < m_pending.size(); ++i)
        if (m_pending[i] && !(skipEmpty && m_pending[i]->isEmpty()))
            mask |= std::uint64_t(1) << i;
    return mask;
}

void RowWriter::bindAssigned(Statement& statement, std::uint64_t mask) const
{
    int index = 1;
    for (std::size_t i = 0; i < m_pending.size(); ++i)
        if (inMask(mask, i))
            statement.bind(index++, *m_pending[i]);
}

Statement& RowWriter::insertStatement(std::uint64_t mask)
{
    Statement& insert = m_insertStatements[mask];
    if (insert)
        return insert;
    std::string names, marks;
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (!inMask(mask, i))
            continue;
        names += (names.empty() ? "" : ", ") + quoteIdentifier(m_store.fields()[i].name());
        marks += marks.empty() ? "?" : ", ?";
    }
    const std::string sql = mask == 0
        ? "INSERT INTO " + quoteIdentifier(m_table) + " DEFAULT VALUES"
        : "INSERT INTO " + quoteIdentifier(m_table) + " (" + names + ") VALUES (" + marks + ")";
    insert = Statement(m_db, sql);
    return insert;
}

Statement& RowWriter::updateStatement(std::uint64_t mask)
{
    Statement& change = m_updateStatements[mask];
    if (change)
        return change;
    std::string assignments;
    for (std::size_t i = 0; i < m_pending.size(); ++i)
        if (inMask(mask, i))
            assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(m_store.fields()[i].name()) + " = ?";
    change = Statement(m_db, "UPDATE " + quoteIdentifier(m_table) + " SET " + assignments + " WHERE rowid = ?");
    return change;
}

std::uint32_t RowWriter::storeNewRow()
{
    // Unassigned columns, and columns given the empty value, are left out so they take the
    // column's default.
    const std::uint64_t mask = assignedMask(true);
    Statement& insert = insertStatement(mask);
    insert.reset();
    bindAssigned(insert, mask);
    insert.step();
    insert.reset();
    const std::int64_t rowId = sqlite3_last_insert_rowid(m_db);
    return m_insertDefaults.empty() ? appendStoredRow(rowId) : appendInsertedRow(rowId);
}

std::uint32_t RowWriter::appendStoredRow(std::int64_t rowId)
{
    if (!m_rereadStatement)
        m_rereadStatement = Statement(m_db, "SELECT rowid, * FROM " + quoteIdentifier(m_table) + " WHERE rowid = ?");
    m_rereadStatement.reset();
    m_rereadStatement.bind(1, ole::Variant(rowId));
    if (!m_rereadStatement.step())
        throw Error(kUnspecifiedError, "Recordset", "The new row could not be read back.");
    const std::uint32_t slot = m_store.appendFromStatement(m_rereadStatement.get(), 1, rowId);
    m_rereadStatement.reset();
    return slot;
}

std::uint32_t RowWriter::appendInsertedRow(std::int64_t rowId)
{
    // The values were coerced to their columns' families before they were bound, so the row as
    // stored is the assigned values plus the defaults.
    const std::uint32_t slot = m_store.appendNulls(rowId);
    for (std::size_t i = 0; i < m_insertDefaults.size(); ++i) {
        if (static_cast<int>(i) == m_rowIdColumn)
            m_store.setValue(slot, i, m_store.fields()[i].coerce(ole::Variant(rowId)));
        else if (m_pending[i] && !m_pending[i]->isEmpty())
            m_store.setValue(slot, i, *m_pending[i]);
        else
            m_store.setValue(slot, i, m_insertDefaults[i]);
    }
    return slot;
}

void RowWriter::learnInsertDefaults()
{
    // PRAGMA table_info: cid, name, type, notnull, dflt_value, pk.
    const auto& fields = m_store.fields();
    std::vector<ole::Variant> defaults(fields.size(), ole::Variant::null());
    int rowIdColumn = -1, keyColumns = 0;
    try {
        Statement info(m_db, "PRAGMA table_info(" + quoteIdentifier(m_table) + ")");
        while (info.step()) {
            const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1));
            const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2));
            const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 4));
            const std::optional<std::size_t> column = FieldInfo::find(fields, name ? name : "");
            if (!column)
                return;  // a column the snapshot does not have: read new rows back
            if (sqlite3_column_int(info.get(), 5) > 0) {
                ++keyColumns;
                if (type && equalsFolded(type, "INTEGER"))
                    rowIdColumn = static_cast<int>(*column);
            }
            if (!value)
                continue;
            const std::optional<ole::Variant> parsed = literalDefault(trimmed(value));
            if (!parsed)
                return;  // an expression: new rows are read back instead
            defaults[*column] = fields[*column].coerce(*parsed);
        }
    } catch (const std::exception&) {
        return;  // anything unexpected: read new rows back
    }
    m_insertDefaults = std::move(defaults);
    m_rowIdColumn = keyColumns == 1 ? rowIdColumn : -1;
}

void RowWriter::storeEditedRow(std::uint32_t slot)
{
    const std::uint64_t mask = assignedMask(false);
    if (mask == 0)
        return;
    Statement& change = updateStatement(mask);
    change.reset();
    bindAssigned(change, mask);
    change.bind(static_cast<int>(std::popcount(mask)) + 1, ole::Variant(m_store.rowId(slot)));
    change.step();
    change.reset();
    if (sqlite3_changes(m_db) == 0)
        throw Error(kUnspecifiedError, "Recordset",
                    "Row cannot be located for updating. Some values may have been changed since it "
                    "was last read (another program may have deleted it).");
    for (std::size_t i = 0; i < m_pending.size(); ++i)
        if (m_pending[i])
            m_store.setValue(slot, i, *m_pending[i]);
}

void RowWriter::deleteRow(std::uint32_t slot)
{
    if (!m_deleteStatement)
        m_deleteStatement = Statement(m_db, "DELETE FROM " + quoteIdentifier(m_table) + " WHERE rowid = ?");
    m_deleteStatement.reset();
    m_deleteStatement.bind(1, ole::Variant(m_store.rowId(slot)));
    m_deleteStatement.step();
    m_deleteStatement.reset();
}

}  // namespace ado
