// The write path of a record set opened on a whole table: the values assigned to the row being
// edited or added, and storing them (INSERT for a new row, UPDATE by rowid for an edited one,
// DELETE by rowid) through prepared statements kept per set of assigned columns. The snapshot
// follows every write: a new row is appended to it, an edited row takes its new values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ado/RowStore.h"
#include "platform/ado/Statement.h"
#include "platform/ole/Variant.h"

struct sqlite3;

namespace ado {

class RowWriter {
public:
    // At most this many columns: the statement caches key on a 64-bit column mask.
    static constexpr std::size_t kMaxColumns = 64;

    // Writes the rows of table on db into store (neither owned; both outlive the writer).
    RowWriter(sqlite3* db, std::string table, RowStore& store);
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // The value assigned to a column since the last store or clear, if any.
    const std::optional<ole::Variant>& pending(std::size_t column) const { return m_pending[column]; }
    // Assigns a value already coerced to the column's family.
    void assign(std::size_t column, ole::Variant value) { m_pending[column] = std::move(value); }
    void clear();

    // INSERTs the assigned values; columns left unassigned or given the empty value take their
    // defaults. Returns the slot of the new row in the snapshot.
    std::uint32_t storeNewRow();
    // UPDATEs the assigned columns of the slot's row; throws when the row is gone from the file.
    void storeEditedRow(std::uint32_t slot);
    // DELETEs the slot's row (one another program deleted already is gone as asked).
    void deleteRow(std::uint32_t slot);

private:
    std::uint64_t assignedMask(bool skipEmpty) const;
    void bindAssigned(Statement& statement, std::uint64_t mask) const;
    Statement& insertStatement(std::uint64_t mask);
    Statement& updateStatement(std::uint64_t mask);
    std::uint32_t appendInsertedRow(std::int64_t rowId);
    std::uint32_t appendStoredRow(std::int64_t rowId);
    void learnInsertDefaults();

    sqlite3* m_db;                                       // the connection's handle
    std::string m_table;                                 // the table written
    RowStore& m_store;                                   // the snapshot that follows the writes
    std::vector<std::optional<ole::Variant>> m_pending;  // assigned values per column

    std::unordered_map<std::uint64_t, Statement> m_insertStatements;  // by assigned-column mask
    std::unordered_map<std::uint64_t, Statement> m_updateStatements;  // by assigned-column mask
    Statement m_rereadStatement;                         // SELECT of one row by rowid
    Statement m_deleteStatement;                         // DELETE of one row by rowid
    // How a stored new row looks without reading it back: each column's literal default, and
    // which column is the row id. Empty when some default is an expression (then it is read).
    std::vector<ole::Variant> m_insertDefaults;
    int m_rowIdColumn = -1;                              // the INTEGER PRIMARY KEY column, if any
};

}  // namespace ado
