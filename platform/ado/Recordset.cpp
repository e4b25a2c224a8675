// Snapshot cursor over SQLite: open, navigation, find, sort and writes.
#include "platform/ado/Recordset.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <sqlite3.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"

namespace ado {
namespace {

std::string quoteIdentifier(std::string_view name)
{
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsFolded(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

std::string trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

[[noreturn]] void noCurrentRecord()
{
    throw Error(kNoCurrentRecord, "Recordset",
                "Either BOF or EOF is True, or the current record has been deleted. Requested "
                "operation requires a current record.");
}

}  // namespace

Recordset::~Recordset()
{
    if (isOpen())
        close();
}

void Recordset::requireOpen() const
{
    if (!isOpen())
        throw Error(kObjectClosed, "Recordset", "Operation is not allowed when the object is closed.");
}

void Recordset::open(const std::string& source, Connection* connection, int, int lockType, int options)
{
    if (isOpen())
        throw Error(kIllegalOperation, "Recordset", "Operation is not allowed when the object is open.");
    if (!connection || !connection->isOpen())
        throw Error(kObjectClosed, "Recordset", "The connection cannot be used to perform this operation. "
                                               "It is either closed or invalid in this context.");
    sqlite3* db = connection->handle();

    Statement statement;
    std::string table;
    if (options == adCmdTable) {
        std::string sql = "SELECT rowid, * FROM " + quoteIdentifier(source);
        if (!trimmed(m_filter).empty())
            sql += " WHERE " + m_filter;
        if (!trimmed(m_sort).empty())
            sql += " ORDER BY " + m_sort;
        statement = Statement(db, sql);
        if (lockType != adLockReadOnly)
            table = source;
    } else {
        statement = Statement(db, source);
    }

    const bool hasRowId = options == adCmdTable;  // read-only table opens keep their rowids too
    const int columnCount = sqlite3_column_count(statement.get());
    std::vector<FieldInfo> fields;
    for (int i = hasRowId ? 1 : 0; i < columnCount; ++i) {
        const char* name = sqlite3_column_name(statement.get(), i);
        fields.emplace_back(name ? name : "", FieldInfo::familyOf(sqlite3_column_decltype(statement.get(), i)));
    }
    if (fields.size() > 64)
        table.clear();  // statement caches key on a 64-bit column mask; wider tables are read-only

    // A table's rows carry their rowid in column 0; other sources number their rows from 1.
    auto store = std::make_unique<RowStore>(std::move(fields));
    const int firstColumn = hasRowId ? 1 : 0;
    while (statement.step()) {
        const std::int64_t rowId = hasRowId ? sqlite3_column_int64(statement.get(), 0) : store->size() + 1;
        store->appendFromStatement(statement.get(), firstColumn, rowId);
    }

    m_store = std::move(store);
    m_order.resize(m_store->size());
    std::iota(m_order.begin(), m_order.end(), 0u);
    m_liveCount = static_cast<long>(m_order.size());
    m_position = 0;
    m_table = table;
    m_idsAreSlots = !hasRowId;
    if (!m_table.empty())
        learnInsertDefaults(db);
    m_pending.assign(m_store->fields().size(), std::nullopt);
    m_editMode = EditMode::None;
    m_connection = connection;
    m_connection->attach(this);
}

void Recordset::releaseSnapshot()
{
    m_insertStatements.clear();
    m_updateStatements.clear();
    m_rereadStatement = Statement();
    m_insertDefaults.clear();
    m_rowIdColumn = -1;
    m_store.reset();
    m_order.clear();
    m_order.shrink_to_fit();
    m_slotById.clear();
    m_slotById.shrink_to_fit();
    m_positionBySlot.clear();
    m_positionBySlot.shrink_to_fit();
    m_pending.clear();
    m_criteria.reset();
    m_criteriaText.clear();
    m_editMode = EditMode::None;
    m_liveCount = 0;
    m_position = 0;
    m_table.clear();
    m_connection = nullptr;
}

void Recordset::close()
{
    requireOpen();
    if (m_connection)
        m_connection->detach(this);
    releaseSnapshot();  // a pending edit is dropped, as cancelUpdate would
}

void Recordset::connectionClosing()
{
    releaseSnapshot();
}

// ---- navigation ----

long Recordset::nextLive(long from, int step) const
{
    const long size = static_cast<long>(m_order.size());
    long p = from;
    while (p >= 0 && p < size && m_store->isDeleted(m_order[static_cast<std::size_t>(p)]))
        p += step;
    return std::clamp(p, -1L, size);
}

bool Recordset::isBOF() const
{
    requireOpen();
    if (m_editMode == EditMode::Add)
        return false;
    return m_liveCount == 0 || m_position < 0;
}

bool Recordset::isEOF() const
{
    requireOpen();
    if (m_editMode == EditMode::Add)
        return false;
    return m_liveCount == 0 || m_position >= static_cast<long>(m_order.size());
}

void Recordset::moveFirst()
{
    requireOpen();
    flushPending();
    m_position = nextLive(0, +1);
}

void Recordset::moveLast()
{
    requireOpen();
    flushPending();
    m_position = m_liveCount == 0 ? static_cast<long>(m_order.size()) : nextLive(static_cast<long>(m_order.size()) - 1, -1);
}

void Recordset::moveNext()
{
    requireOpen();
    flushPending();
    if (isEOF())
        noCurrentRecord();
    m_position = nextLive(m_position + 1, +1);
}

void Recordset::movePrevious()
{
    requireOpen();
    flushPending();
    if (isBOF())
        noCurrentRecord();
    m_position = nextLive(m_position - 1, -1);
}

void Recordset::move(long rows)
{
    requireOpen();
    flushPending();
    if (rows == 0)
        return;
    if ((rows > 0 && isEOF()) || (rows < 0 && isBOF()))
        noCurrentRecord();
    const int step = rows > 0 ? 1 : -1;
    for (long moved = 0; moved != rows; moved += step) {
        m_position = nextLive(m_position + step, step);
        if (m_position < 0 || m_position >= static_cast<long>(m_order.size()))
            return;
    }
}

long Recordset::recordCount() const
{
    requireOpen();
    return m_liveCount;
}

std::uint32_t Recordset::currentSlot() const
{
    requireOpen();
    if (m_editMode == EditMode::Add || m_position < 0 || m_position >= static_cast<long>(m_order.size()))
        noCurrentRecord();
    const std::uint32_t slot = m_order[static_cast<std::size_t>(m_position)];
    if (m_store->isDeleted(slot))
        noCurrentRecord();
    return slot;
}

// ---- bookmarks ----

ole::Bookmark Recordset::bookmark() const
{
    return ole::Bookmark{m_store->rowId(currentSlot())};
}

std::uint32_t Recordset::slotOfRowId(std::int64_t rowId) const
{
    const std::uint32_t size = m_store->size();
    if (m_idsAreSlots)
        return rowId >= 1 && rowId <= size ? static_cast<std::uint32_t>(rowId - 1) : size;
    if (m_slotById.size() != size) {
        m_slotById.clear();
        m_slotById.reserve(size);
        for (std::uint32_t slot = 0; slot < size; ++slot)
            m_slotById.emplace_back(m_store->rowId(slot), slot);
        std::sort(m_slotById.begin(), m_slotById.end());
    }
    const auto it = std::lower_bound(m_slotById.begin(), m_slotById.end(), std::make_pair(rowId, 0u));
    return it != m_slotById.end() && it->first == rowId ? it->second : size;
}

long Recordset::positionOfSlot(std::uint32_t slot) const
{
    if (m_positionBySlot.size() != m_store->size()) {
        m_positionBySlot.assign(m_store->size(), -1);
        for (std::size_t p = 0; p < m_order.size(); ++p)
            m_positionBySlot[m_order[p]] = static_cast<long>(p);
    }
    return m_positionBySlot[slot];
}

void Recordset::setBookmark(const ole::Variant& bookmark)
{
    requireOpen();
    const auto* mark = bookmark.get<ole::Bookmark>();
    if (!mark)
        throw Error(kInvalidArgument, "Recordset", "The value given is not a bookmark.");
    flushPending();
    const std::uint32_t slot = slotOfRowId(mark->id);
    const long position = slot < m_store->size() ? positionOfSlot(slot) : -1;
    if (position < 0 || m_store->isDeleted(slot))
        throw Error(kInvalidArgument, "Recordset", "The bookmark does not name a row of this record set "
                                                   "(the row may have been deleted).");
    m_position = position;
}

// ---- find and sort ----

void Recordset::find(const std::string& criteria, long skipRows, bool forward)
{
    requireOpen();
    if (!m_criteria || m_criteriaText != criteria) {
        m_criteria = Criteria::parse(criteria, m_store->fields());
        m_criteriaText = criteria;
    }
    flushPending();
    const int step = forward ? 1 : -1;
    const long size = static_cast<long>(m_order.size());
    long p = m_position;
    if (forward && p < 0)
        p = 0;
    if (!forward && p >= size)
        p = size - 1;
    for (long skipped = 0; skipped < skipRows && p >= 0 && p < size; ++skipped)
        p = nextLive(p + step, step);
    for (p = nextLive(p, step); p >= 0 && p < size; p = nextLive(p + step, step)) {
        if (m_criteria->matches(*m_store, m_order[static_cast<std::size_t>(p)])) {
            m_position = p;
            return;
        }
    }
    m_position = forward ? size : -1;
}

void Recordset::setSort(const std::string& sort)
{
    if (!isOpen()) {
        m_sort = sort;
        return;
    }
    // Read the keys first, so a sort that cannot be read changes nothing.
    std::vector<std::pair<std::size_t, bool>> keys;  // column, descending
    std::string_view rest = sort;
    while (!trimmed(rest).empty()) {
        const std::size_t comma = rest.find(',');
        std::string item = trimmed(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        bool descending = false;
        const std::size_t blank = item.find_last_of(" \t");
        if (blank != std::string::npos) {
            const std::string direction = item.substr(blank + 1);
            if (equalsFolded(direction, "DESC"))
                descending = true;
            else if (!equalsFolded(direction, "ASC"))
                throw Error(kInvalidArgument, "Recordset", "The sort \"" + sort + "\" cannot be read.");
            item = trimmed(item.substr(0, blank));
        }
        if (item.size() >= 2 && item.front() == '[' && item.back() == ']')
            item = item.substr(1, item.size() - 2);
        keys.emplace_back(columnIndex(item), descending);
    }
    flushPending();
    m_sort = sort;

    std::vector<std::uint32_t> order;
    order.reserve(static_cast<std::size_t>(m_liveCount));
    for (const std::uint32_t slot : m_order)
        if (!m_store->isDeleted(slot))
            order.push_back(slot);
    if (keys.empty()) {
        std::sort(order.begin(), order.end());
    } else {
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            for (const auto& [column, descending] : keys) {
                const int c = m_store->compare(a, b, column);
                if (c != 0)
                    return descending ? c > 0 : c < 0;
            }
            return false;
        });
    }
    m_order = std::move(order);
    m_positionBySlot.clear();
    m_position = 0;
}

// ---- fields ----

const std::vector<FieldInfo>& Recordset::fields() const
{
    requireOpen();
    return m_store->fields();
}

std::size_t Recordset::columnIndex(std::string_view field) const
{
    // Callers name columns as the schema spells them, so an exact match is tried first.
    const auto& fields = m_store->fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name() == field)
            return i;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (equalsFolded(fields[i].name(), field))
            return i;
    throw Error(kItemNotFound, "Recordset",
                "Item cannot be found in the collection corresponding to the requested name or "
                "ordinal. (Column '" + std::string(field) + "')");
}

ole::Variant Recordset::value(std::string_view field) const
{
    requireOpen();
    const std::size_t column = columnIndex(field);
    if (m_editMode != EditMode::None && m_pending[column])
        return *m_pending[column];
    if (m_editMode == EditMode::Add)
        return ole::Variant::null();
    return m_store->value(currentSlot(), column);
}

void Recordset::setValue(std::string_view field, const ole::Variant& value)
{
    requireOpen();
    const std::size_t column = columnIndex(field);
    if (m_table.empty())
        throw Error(kNotUpdatable, "Recordset", "Current Recordset does not support updating. This may "
                                                "be a limitation of the provider, or of the selected locktype.");
    ole::Variant coerced = m_store->fields()[column].coerce(value);
    if (m_editMode == EditMode::None) {
        currentSlot();  // throws without a current row
        m_editMode = EditMode::InProgress;
    }
    m_pending[column] = std::move(coerced);
}

// ---- writes ----

void Recordset::addNew()
{
    requireOpen();
    if (m_table.empty())
        throw Error(kNotUpdatable, "Recordset", "Current Recordset does not support updating. This may "
                                                "be a limitation of the provider, or of the selected locktype.");
    flushPending();
    m_positionBeforeAdd = m_position;
    m_editMode = EditMode::Add;
    std::fill(m_pending.begin(), m_pending.end(), std::nullopt);
}

void Recordset::cancelUpdate()
{
    requireOpen();
    if (m_editMode == EditMode::Add)
        m_position = m_positionBeforeAdd;
    m_editMode = EditMode::None;
    std::fill(m_pending.begin(), m_pending.end(), std::nullopt);
}

void Recordset::update()
{
    requireOpen();
    flushPending();
}

void Recordset::flushPending()
{
    if (m_editMode == EditMode::Add)
        storeNewRow();
    else if (m_editMode == EditMode::InProgress)
        storeEditedRow();
    m_editMode = EditMode::None;
    std::fill(m_pending.begin(), m_pending.end(), std::nullopt);
}

void Recordset::storeNewRow()
{
    sqlite3* db = m_connection->handle();
    const auto& fields = m_store->fields();
    // Unassigned columns, and columns given the empty value, are left out so they take the
    // column's default.
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (m_pending[i] && !m_pending[i]->isEmpty())
            mask |= std::uint64_t(1) << i;

    Statement& insert = m_insertStatements[mask];
    if (!insert) {
        std::string names, marks;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!(mask & (std::uint64_t(1) << i)))
                continue;
            names += (names.empty() ? "" : ", ") + quoteIdentifier(fields[i].name());
            marks += marks.empty() ? "?" : ", ?";
        }
        const std::string sql = mask == 0
            ? "INSERT INTO " + quoteIdentifier(m_table) + " DEFAULT VALUES"
            : "INSERT INTO " + quoteIdentifier(m_table) + " (" + names + ") VALUES (" + marks + ")";
        insert = Statement(db, sql);
    }
    insert.reset();
    int index = 1;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (mask & (std::uint64_t(1) << i))
            insert.bind(index++, *m_pending[i]);
    insert.step();
    insert.reset();
    const std::int64_t rowId = sqlite3_last_insert_rowid(db);

    const std::uint32_t slot = m_insertDefaults.empty() ? appendStoredRow(db, rowId) : appendInsertedRow(rowId);
    m_order.push_back(slot);
    ++m_liveCount;
    m_position = static_cast<long>(m_order.size()) - 1;
    if (!m_positionBySlot.empty())
        m_positionBySlot.push_back(m_position);
    if (!m_slotById.empty() && m_slotById.size() == slot) {
        const auto entry = std::make_pair(rowId, slot);
        m_slotById.insert(std::upper_bound(m_slotById.begin(), m_slotById.end(), entry), entry);
    }
}

std::uint32_t Recordset::appendStoredRow(sqlite3* db, std::int64_t rowId)
{
    if (!m_rereadStatement)
        m_rereadStatement = Statement(db, "SELECT rowid, * FROM " + quoteIdentifier(m_table) + " WHERE rowid = ?");
    m_rereadStatement.reset();
    m_rereadStatement.bind(1, ole::Variant(rowId));
    if (!m_rereadStatement.step())
        throw Error(kUnspecifiedError, "Recordset", "The new row could not be read back.");
    const std::uint32_t slot = m_store->appendFromStatement(m_rereadStatement.get(), 1, rowId);
    m_rereadStatement.reset();
    return slot;
}

std::uint32_t Recordset::appendInsertedRow(std::int64_t rowId)
{
    // The values were coerced to their columns' families before they were bound, so the row as
    // stored is the assigned values plus the defaults.
    const std::uint32_t slot = m_store->appendNulls(rowId);
    for (std::size_t i = 0; i < m_insertDefaults.size(); ++i) {
        if (static_cast<int>(i) == m_rowIdColumn)
            m_store->setValue(slot, i, m_store->fields()[i].coerce(ole::Variant(rowId)));
        else if (m_pending[i] && !m_pending[i]->isEmpty())
            m_store->setValue(slot, i, *m_pending[i]);
        else
            m_store->setValue(slot, i, m_insertDefaults[i]);
    }
    return slot;
}

void Recordset::learnInsertDefaults(sqlite3* db)
{
    // PRAGMA table_info: cid, name, type, notnull, dflt_value, pk.
    const auto& fields = m_store->fields();
    std::vector<ole::Variant> defaults(fields.size(), ole::Variant::null());
    int rowIdColumn = -1, keyColumns = 0;
    try {
        Statement info(db, "PRAGMA table_info(" + quoteIdentifier(m_table) + ")");
        while (info.step()) {
            const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1));
            const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2));
            const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 4));
            const int column = static_cast<int>(columnIndex(name ? name : ""));
            if (sqlite3_column_int(info.get(), 5) > 0) {
                ++keyColumns;
                if (type && equalsFolded(type, "INTEGER"))
                    rowIdColumn = column;
            }
            if (!value)
                continue;
            const std::string literal = trimmed(value);
            ole::Variant parsed;
            if (equalsFolded(literal, "NULL"))
                parsed = ole::Variant::null();
            else if (equalsFolded(literal, "TRUE") || equalsFolded(literal, "FALSE"))
                parsed = ole::Variant(equalsFolded(literal, "TRUE"));
            else if (literal.size() >= 2 && literal.front() == '\'' && literal.back() == '\'' &&
                     literal.find('\'', 1) == literal.size() - 1)
                parsed = ole::Variant(literal.substr(1, literal.size() - 2));
            else if (!literal.empty() && literal.find_first_not_of("+-0123456789") == std::string::npos)
                parsed = ole::Variant(static_cast<std::int64_t>(std::stoll(literal)));
            else
                return;  // an expression: new rows are read back instead
            defaults[static_cast<std::size_t>(column)] = fields[static_cast<std::size_t>(column)].coerce(parsed);
        }
    } catch (const std::exception&) {
        return;  // anything unexpected: read new rows back
    }
    m_insertDefaults = std::move(defaults);
    m_rowIdColumn = keyColumns == 1 ? rowIdColumn : -1;
}

void Recordset::storeEditedRow()
{
    const std::uint32_t slot = currentSlot();
    const auto& fields = m_store->fields();
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (m_pending[i])
            mask |= std::uint64_t(1) << i;
    if (mask == 0)
        return;

    sqlite3* db = m_connection->handle();
    Statement& change = m_updateStatements[mask];
    if (!change) {
        std::string assignments;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (mask & (std::uint64_t(1) << i))
                assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(fields[i].name()) + " = ?";
        change = Statement(db, "UPDATE " + quoteIdentifier(m_table) + " SET " + assignments + " WHERE rowid = ?");
    }
    change.reset();
    int index = 1;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (mask & (std::uint64_t(1) << i))
            change.bind(index++, *m_pending[i]);
    change.bind(index, ole::Variant(m_store->rowId(slot)));
    change.step();
    change.reset();
    if (sqlite3_changes(db) == 0)
        throw Error(kUnspecifiedError, "Recordset",
                    "Row cannot be located for updating. Some values may have been changed since it "
                    "was last read (another program may have deleted it).");
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (m_pending[i])
            m_store->setValue(slot, i, *m_pending[i]);
}

void Recordset::deleteCurrent()
{
    requireOpen();
    if (m_table.empty())
        throw Error(kNotUpdatable, "Recordset", "Current Recordset does not support updating. This may "
                                                "be a limitation of the provider, or of the selected locktype.");
    const std::uint32_t slot = currentSlot();
    sqlite3* db = m_connection->handle();
    Statement remove(db, "DELETE FROM " + quoteIdentifier(m_table) + " WHERE rowid = ?");
    remove.bind(1, ole::Variant(m_store->rowId(slot)));
    remove.step();
    const bool found = sqlite3_changes(db) != 0;
    m_store->markDeleted(slot);  // gone from the file either way
    --m_liveCount;
    if (!found)
        throw Error(kUnspecifiedError, "Recordset",
                    "Row cannot be located for deleting (another program may have deleted it).");
}

std::size_t Recordset::bytesUsed() const
{
    if (!m_store)
        return 0;
    return m_store->bytesUsed() + m_order.capacity() * sizeof(std::uint32_t) +
           m_slotById.capacity() * sizeof(m_slotById[0]) + m_positionBySlot.capacity() * sizeof(long);
}

}  // namespace ado
