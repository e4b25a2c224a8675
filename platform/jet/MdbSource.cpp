// Reading a Jet file's tables through libmdb. Fixed-width numbers come from the texts libmdb
// binds; currency and dates from the stored bytes, so nothing is rounded through a format.
#include "platform/jet/MdbSource.h"

// glib first: mdbtools.h includes it inside extern "C", which its C++ templates cannot take.
#include <glib.h>
#include <mdbtools.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/jet/JetFile.h"

namespace jet {

struct MdbSource::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

namespace {

ColumnType TypeOf(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL: return ColumnType::Boolean;
    case MDB_BYTE: return ColumnType::Byte;
    case MDB_INT: return ColumnType::Integer;
    case MDB_LONGINT: return ColumnType::LongInteger;
    case MDB_MONEY: return ColumnType::Currency;
    case MDB_FLOAT: return ColumnType::Single;
    case MDB_DOUBLE: return ColumnType::Double;
    case MDB_DATETIME: return ColumnType::DateTime;
    case MDB_TEXT: return ColumnType::Text;
    case MDB_MEMO: return ColumnType::Memo;
    default: return ColumnType::Other;
    }
}

template <typename T>
T StoredBytes(const MdbHandle* mdb, const MdbColumn* column)
{
    T value{};
    if (column->cur_value_len != static_cast<int>(sizeof value) || column->cur_value_start < 0 ||
        column->cur_value_start + static_cast<int>(sizeof value) > static_cast<int>(MDB_PGSIZE))
        throw Error(std::string("column ") + column->name + " holds a value of the wrong size");
    std::memcpy(&value, mdb->pg_buf + column->cur_value_start, sizeof value);  // little-endian, as stored
    return value;
}

class MdbTable : public TableReader {
public:
    MdbTable(MdbHandle* mdb, MdbTableDef* table) : m_mdb(mdb), m_table(table)
    {
        if (!mdb_read_columns(m_table))
            throw Error(std::string("the columns of table ") + m_table->name + " cannot be read");
        m_buffers.resize(m_table->num_cols);
        m_lengths.resize(m_table->num_cols);
        for (unsigned i = 0; i < m_table->num_cols; ++i) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, i));
            m_columns.push_back({column->name, TypeOf(column->col_type)});
            m_buffers[i].assign(m_mdb->bind_size + 1, '\0');
            mdb_bind_column(m_table, static_cast<int>(i) + 1, m_buffers[i].data(), &m_lengths[i]);
        }
        mdb_rewind_table(m_table);
    }
    ~MdbTable() override { mdb_free_tabledef(m_table); }
    MdbTable(const MdbTable&) = delete;
    MdbTable& operator=(const MdbTable&) = delete;

    const std::vector<Column>& Columns() const override { return m_columns; }

    bool Next(std::vector<Value>& row) override
    {
        if (!mdb_fetch_row(m_table)) {
            // libmdb ends a table early, without a word, at a page it cannot read.
            if (m_rowsRead != m_table->num_rows)
                throw Error("table " + std::string(m_table->name) + ": only " + std::to_string(m_rowsRead) + " of its " +
                            std::to_string(m_table->num_rows) + " rows could be read; the file is damaged");
            return false;
        }
        ++m_rowsRead;
        row.resize(m_columns.size());
        for (std::size_t i = 0; i < m_columns.size(); ++i)
            row[i] = ValueOf(i);
        return true;
    }

private:
    Value ValueOf(std::size_t i) const
    {
        const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(m_table->columns, i));
        const std::string_view bound(m_buffers[i].data(), static_cast<std::size_t>(std::max(m_lengths[i], 0)));
        const ColumnType type = m_columns[i].type;
        if (type == ColumnType::Boolean)
            return Value::Boolean(bound == "1");  // a yes/no lives in the null mask: never null
        if (column->cur_value_len == 0)
            return {};
        switch (type) {
        case ColumnType::Byte:
        case ColumnType::Integer:
        case ColumnType::LongInteger: {
            std::int64_t value = 0;
            const auto [end, error] = std::from_chars(bound.data(), bound.data() + bound.size(), value);
            if (error != std::errc() || end != bound.data() + bound.size())
                throw Error(std::string("column ") + column->name + " holds an unreadable number");
            return Value::Integer(value);
        }
        case ColumnType::Currency: return Value::Currency(StoredBytes<std::int64_t>(m_mdb, column));
        case ColumnType::DateTime: return Value::DateTime(StoredBytes<double>(m_mdb, column));
        case ColumnType::Single:
        case ColumnType::Double: return Value::Real(std::strtod(std::string(bound).c_str(), nullptr));
        case ColumnType::Text:
        case ColumnType::Memo: return Value::Text(std::string(bound));
        default: return {Value::Kind::Other, 0, 0, {}};
        }
    }

    MdbHandle* m_mdb;
    MdbTableDef* m_table;
    std::vector<Column> m_columns;
    std::vector<std::vector<char>> m_buffers;
    std::vector<int> m_lengths;
    unsigned m_rowsRead = 0;
};

}  // namespace

MdbSource::MdbSource(const std::string& path) : m_handle(std::make_unique<Handle>())
{
    if (std::FILE* file = std::fopen(path.c_str(), "rb"))
        std::fclose(file);
    else
        throw Error(path + " cannot be read: " + std::strerror(errno));
    switch (KindOfFile(path)) {
    case FileKind::Jet3:
    case FileKind::Jet4: break;
    case FileKind::Ace:
        throw Error(path + " is an Access 2007 or later (ACE) database; only Jet 3 and Jet 4 (.mdb) files can be converted. "
                           "Access can save it in the 2002-2003 format");
    case FileKind::NotAccess: throw Error(path + " is not an Access (Jet) database");
    }
    m_handle->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);  // read-only: the file is never written
    if (!m_handle->mdb)
        throw Error(path + " cannot be read as an Access database; the file is damaged");
    if (!mdb_read_catalog(m_handle->mdb, MDB_TABLE))
        throw Error("the table list of " + path + " cannot be read; the file is damaged");
}

MdbSource::~MdbSource() = default;

std::vector<std::string> MdbSource::TableNames() const
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < m_handle->mdb->num_catalog; ++i) {
        const auto* entry = static_cast<const MdbCatalogEntry*>(g_ptr_array_index(m_handle->mdb->catalog, i));
        if (entry->object_type == MDB_TABLE)
            names.emplace_back(entry->object_name);
    }
    return names;
}

std::unique_ptr<TableReader> MdbSource::OpenTable(const std::string& name)
{
    std::string copy = name;  // libmdb takes a non-const name
    MdbTableDef* table = mdb_read_table_by_name(m_handle->mdb, copy.data(), MDB_TABLE);
    if (!table)
        throw Error("table " + name + " cannot be read; the file is damaged");
    return std::make_unique<MdbTable>(m_handle->mdb, table);
}

}  // namespace jet
