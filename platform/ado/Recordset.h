// The record set of the database engine stand-in: a client-side static cursor. Opening runs the
// SQL once and keeps the rows in a compact snapshot; navigation, counting, bookmarks, Find and
// Sort work on that snapshot. A table opened whole can be written: writing a field starts an
// edit, update() stores it through the RowWriter (INSERT for a new row, UPDATE by rowid for an
// edited one) and the snapshot follows. Moving away from a pending edit stores it first.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/Criteria.h"
#include "platform/ado/FieldInfo.h"
#include "platform/ado/RowStore.h"
#include "platform/ado/RowWriter.h"
#include "platform/ado/SnapshotSort.h"
#include "platform/ado/Statement.h"
#include "platform/ole/Variant.h"

struct sqlite3;

namespace ado {

class Connection;

enum CursorType : int { adOpenKeyset = 1, adOpenStatic = 3 };
enum LockType : int { adLockReadOnly = 1, adLockOptimistic = 3 };
enum CommandType : int { adCmdText = 1, adCmdTable = 2 };
enum CursorLocation : int { adUseClient = 3 };

class Recordset {
public:
    enum class EditMode { None, InProgress, Add };

    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void setCursorLocation(int location) { m_cursorLocation = location; }
    void setFilter(std::string filter) { m_filter = std::move(filter); }
    // Before opening: the ORDER BY of a table open. On an open record set: re-sorts the snapshot
    // ("col [ASC|DESC], ..."; an empty text restores the order the rows were read in).
    void setSort(const std::string& sort);

    void open(const std::string& source, Connection* connection, int cursorType, int lockType, int options);
    void close();
    bool isOpen() const { return m_store != nullptr; }

    bool isBOF() const;
    bool isEOF() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(long rows);  // from the current row; past either end stops at BOF / EOF
    long recordCount() const;

    ole::Bookmark bookmark() const;
    void setBookmark(const ole::Variant& bookmark);

    // Searches from the current row after skipping skipRows rows; stops on the first match or
    // at EOF (BOF when searching backward).
    void find(const std::string& criteria, long skipRows, bool forward);

    // While a peek lasts, value() answers for the live row the bookmark names; the position
    // and any pending edit stay as they were. False (and no peek) when it names no live row.
    bool peek(const ole::Variant& bookmark);
    void endPeek() { m_peekSlot.reset(); }

    const std::vector<FieldInfo>& fields() const;
    ole::Variant value(std::string_view field) const;
    void setValue(std::string_view field, const ole::Variant& value);

    void addNew();
    void update();
    void cancelUpdate();
    void deleteCurrent();
    EditMode editMode() const { return m_editMode; }

    std::size_t bytesUsed() const;

    void connectionClosing();  // called by the connection when it closes

private:
    void requireOpen() const;
    void requireWritable() const;
    struct SortKey {
        std::string column;
        bool descending = false;
    };
    // "col [ASC|DESC], ..." as keys; none when the text is not such a list.
    static std::optional<std::vector<SortKey>> parseSort(std::string_view sort);
    // The keys' columns in a snapshot; none when one is not a column of it.
    static std::optional<SortColumns> resolveSort(const RowStore& store, const std::vector<SortKey>& keys);
    Statement prepareSource(sqlite3* db, const std::string& source, bool isTable, bool sorted) const;
    static std::unique_ptr<RowStore> readSnapshot(Statement& statement, bool hasRowId);
    std::size_t columnIndex(std::string_view field) const;
    std::uint32_t currentSlot() const;
    long nextLive(long from, int step) const;
    void flushPending();
    void storeNewRow();
    std::uint32_t slotOfRowId(std::int64_t rowId) const;
    long positionOfSlot(std::uint32_t slot) const;
    void releaseSnapshot();

    Connection* m_connection = nullptr;          // not owned; null when closed
    int m_cursorLocation = adUseClient;          // kept for callers; always a client cursor
    std::string m_filter;                        // WHERE condition of a table open
    std::string m_sort;                          // ORDER BY list / in-memory sort
    bool m_idsAreSlots = false;                  // row ids are slot + 1 (SQL text sources)

    std::unique_ptr<RowStore> m_store;           // the snapshot; null when closed
    std::unique_ptr<RowWriter> m_writer;         // writes the table's rows; null when read-only
    std::vector<std::uint32_t> m_order;          // position -> slot
    long m_position = 0;                         // -1 = BOF, m_order.size() = EOF
    long m_liveCount = 0;                        // rows not deleted

    EditMode m_editMode = EditMode::None;        // pending change, if any
    long m_positionBeforeAdd = 0;                // where cancelUpdate returns after addNew
    std::optional<std::uint32_t> m_peekSlot;     // the row value() reads during a peek

    mutable std::vector<std::pair<std::int64_t, std::uint32_t>> m_slotById;  // sorted, lazily built
    mutable std::vector<long> m_positionBySlot;                              // lazily built
    mutable std::string m_criteriaText;          // last find criterion read
    mutable std::optional<Criteria> m_criteria;  // ... and its parsed form

    // Column names callers passed lately, by where their text lives (callers name columns with
    // the same literals row after row), with the column each named; checked before use.
    struct NamedColumn {
        const char* name = nullptr;  // the caller's text
        std::size_t column = 0;      // its column
    };
    mutable std::array<NamedColumn, 32> m_namedColumns{};
};

}  // namespace ado
