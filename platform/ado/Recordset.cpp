// Snapshot cursor over SQLite: open, navigation, bookmarks, find, sort, and the edit states
// around the row writer.
#include "platform/ado/Recordset.h"

#include <algorithm>
#include <numeric>
#include <sqlite3.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"
#include "platform/ado/SnapshotSort.h"
#include "platform/ado/SqlText.h"

namespace ado {
namespace {

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

void Recordset::requireWritable() const
{
    if (!m_writer)
        throw Error(kNotUpdatable, "Recordset", "Current Recordset does not support updating. This may "
                                                "be a limitation of the provider, or of the selected locktype.");
}

Statement Recordset::prepareSource(sqlite3* db, const std::string& source, bool isTable, bool sorted) const
{
    if (!isTable)
        return Statement(db, source);
    std::string sql = "SELECT rowid, * FROM " + quoteIdentifier(source);
    if (!trimmed(m_filter).empty())
        sql += " WHERE " + m_filter;
    if (sorted && !trimmed(m_sort).empty())
        sql += " ORDER BY " + m_sort;
    return Statement(db, sql);
}

std::unique_ptr<RowStore> Recordset::readSnapshot(Statement& statement, bool hasRowId)
{
    // A table's rows carry their rowid in column 0; other sources number their rows from 1.
    const int firstColumn = hasRowId ? 1 : 0;
    const int columnCount = sqlite3_column_count(statement.get());
    std::vector<FieldInfo> fields;
    for (int i = firstColumn; i < columnCount; ++i) {
        const char* name = sqlite3_column_name(statement.get(), i);
        fields.emplace_back(name ? name : "", FieldInfo::familyOf(sqlite3_column_decltype(statement.get(), i)));
    }
    auto store = std::make_unique<RowStore>(std::move(fields));
    while (statement.step()) {
        const std::int64_t rowId = hasRowId ? sqlite3_column_int64(statement.get(), 0) : store->size() + 1;
        store->appendFromStatement(statement.get(), firstColumn, rowId);
    }
    return store;
}

void Recordset::open(const std::string& source, Connection* connection, int, int lockType, int options)
{
    if (isOpen())
        throw Error(kIllegalOperation, "Recordset", "Operation is not allowed when the object is open.");
    if (!connection || !connection->isOpen())
        throw Error(kObjectClosed, "Recordset", "The connection cannot be used to perform this operation. "
                                               "It is either closed or invalid in this context.");
    sqlite3* db = connection->handle();
    const bool isTable = options == adCmdTable;  // read-only table opens keep their rowids too
    // A sort by plain columns is done on the snapshot: much cheaper than the engine's sorter,
    // which copies every whole row. Anything else is left to the engine.
    const std::optional<std::vector<SortKey>> keys = isTable ? parseSort(m_sort) : std::nullopt;
    Statement statement = prepareSource(db, source, isTable, !keys);
    std::unique_ptr<RowStore> store = readSnapshot(statement, isTable);
    std::vector<std::uint32_t> order(store->size());
    std::iota(order.begin(), order.end(), 0u);
    if (keys) {
        if (const auto columns = resolveSort(*store, *keys)) {
            sortSlots(*store, order, *columns);
            store->permute(order);
            std::iota(order.begin(), order.end(), 0u);
        } else {
            Statement engineSorted = prepareSource(db, source, isTable, true);  // fails as the engine would
            store = readSnapshot(engineSorted, isTable);
            order.resize(store->size());
            std::iota(order.begin(), order.end(), 0u);
        }
    }
    // Wider tables than the writer can key are read-only.
    const bool writable = isTable && lockType != adLockReadOnly && store->fields().size() <= RowWriter::kMaxColumns;

    m_store = std::move(store);
    m_order = std::move(order);
    m_liveCount = static_cast<long>(m_order.size());
    m_position = 0;
    m_idsAreSlots = !isTable;
    if (writable)
        m_writer = std::make_unique<RowWriter>(db, source, *m_store);
    m_editMode = EditMode::None;
    m_connection = connection;
    m_connection->attach(this);
}

void Recordset::releaseSnapshot()
{
    m_writer.reset();  // before the store it writes into
    m_store.reset();
    m_order.clear();
    m_order.shrink_to_fit();
    m_slotById.clear();
    m_slotById.shrink_to_fit();
    m_positionBySlot.clear();
    m_positionBySlot.shrink_to_fit();
    m_criteria.reset();
    m_criteriaText.clear();
    m_peekSlot.reset();
    m_editMode = EditMode::None;
    m_liveCount = 0;
    m_position = 0;
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

std::optional<std::vector<Recordset::SortKey>> Recordset::parseSort(std::string_view sort)
{
    std::vector<SortKey> keys;
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
                return std::nullopt;
            item = trimmed(item.substr(0, blank));
        }
        if (item.size() >= 2 && item.front() == '[' && item.back() == ']')
            item = item.substr(1, item.size() - 2);
        keys.push_back({std::move(item), descending});
    }
    return keys;
}

std::optional<SortColumns> Recordset::resolveSort(const RowStore& store, const std::vector<SortKey>& keys)
{
    SortColumns columns;
    for (const SortKey& key : keys) {
        const std::optional<std::size_t> column = FieldInfo::find(store.fields(), key.column);
        if (!column)
            return std::nullopt;
        columns.emplace_back(*column, key.descending);
    }
    return columns;
}

void Recordset::setSort(const std::string& sort)
{
    if (!isOpen()) {
        m_sort = sort;
        return;
    }
    // Read the keys first, so a sort that cannot be read changes nothing.
    const std::optional<std::vector<SortKey>> keys = parseSort(sort);
    if (!keys)
        throw Error(kInvalidArgument, "Recordset", "The sort \"" + sort + "\" cannot be read.");
    for (const SortKey& key : *keys)
        columnIndex(key.column);  // throws for a column the record set lacks
    flushPending();
    m_sort = sort;
    std::vector<std::uint32_t> order;
    order.reserve(static_cast<std::size_t>(m_liveCount));
    for (const std::uint32_t slot : m_order)
        if (!m_store->isDeleted(slot))
            order.push_back(slot);
    sortSlots(*m_store, order, *resolveSort(*m_store, *keys));
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
    const auto& fields = m_store->fields();
    NamedColumn& named = m_namedColumns[(reinterpret_cast<std::uintptr_t>(field.data()) >> 3) % m_namedColumns.size()];
    if (named.name == field.data() && named.column < fields.size() && fields[named.column].name() == field)
        return named.column;
    if (const std::optional<std::size_t> column = FieldInfo::find(fields, field)) {
        named = {field.data(), *column};
        return *column;
    }
    throw Error(kItemNotFound, "Recordset",
                "Item cannot be found in the collection corresponding to the requested name or "
                "ordinal. (Column '" + std::string(field) + "')");
}

bool Recordset::peek(const ole::Variant& bookmark)
{
    requireOpen();
    const auto* mark = bookmark.get<ole::Bookmark>();
    const std::uint32_t slot = mark ? slotOfRowId(mark->id) : m_store->size();
    if (slot >= m_store->size() || m_store->isDeleted(slot))
        return false;
    m_peekSlot = slot;
    return true;
}

ole::Variant Recordset::value(std::string_view field) const
{
    requireOpen();
    const std::size_t column = columnIndex(field);
    if (m_peekSlot)
        return m_store->value(*m_peekSlot, column);
    if (m_editMode != EditMode::None && m_writer->pending(column))
        return *m_writer->pending(column);
    if (m_editMode == EditMode::Add)
        return ole::Variant::null();
    return m_store->value(currentSlot(), column);
}

void Recordset::setValue(std::string_view field, const ole::Variant& value)
{
    requireOpen();
    const std::size_t column = columnIndex(field);
    requireWritable();
    ole::Variant coerced = m_store->fields()[column].coerce(value);
    if (m_editMode == EditMode::None) {
        currentSlot();  // throws without a current row
        m_editMode = EditMode::InProgress;
    }
    m_writer->assign(column, std::move(coerced));
}

// ---- writes ----

void Recordset::addNew()
{
    requireOpen();
    requireWritable();
    flushPending();
    m_positionBeforeAdd = m_position;
    m_editMode = EditMode::Add;
    m_writer->clear();
}

void Recordset::cancelUpdate()
{
    requireOpen();
    if (m_editMode == EditMode::Add)
        m_position = m_positionBeforeAdd;
    m_editMode = EditMode::None;
    if (m_writer)
        m_writer->clear();
}

void Recordset::update()
{
    requireOpen();
    flushPending();
}

void Recordset::flushPending()
{
    // A store that fails keeps the edit pending, so the caller can still cancel it.
    if (m_editMode == EditMode::Add)
        storeNewRow();
    else if (m_editMode == EditMode::InProgress)
        m_writer->storeEditedRow(currentSlot());
    else
        return;
    m_editMode = EditMode::None;
    m_writer->clear();
}

void Recordset::storeNewRow()
{
    const std::uint32_t slot = m_writer->storeNewRow();
    m_order.push_back(slot);
    ++m_liveCount;
    m_position = static_cast<long>(m_order.size()) - 1;
    if (!m_positionBySlot.empty())
        m_positionBySlot.push_back(m_position);
    if (!m_slotById.empty() && m_slotById.size() == slot) {
        const auto entry = std::make_pair(m_store->rowId(slot), slot);
        m_slotById.insert(std::upper_bound(m_slotById.begin(), m_slotById.end(), entry), entry);
    }
}

void Recordset::deleteCurrent()
{
    requireOpen();
    requireWritable();
    const std::uint32_t slot = currentSlot();
    m_writer->deleteRow(slot);
    m_store->markDeleted(slot);
    --m_liveCount;
}

std::size_t Recordset::bytesUsed() const
{
    if (!m_store)
        return 0;
    return m_store->bytesUsed() + m_order.capacity() * sizeof(std::uint32_t) +
           m_slotById.capacity() * sizeof(m_slotById[0]) + m_positionBySlot.capacity() * sizeof(long);
}

}  // namespace ado
