// Compact row storage for record-set snapshots.
#include "platform/ado/RowStore.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <sqlite3.h>

namespace ado {
namespace {

using ole::VarType;

constexpr std::int64_t kLargeChunk = 0xFFFFFF;   // chunk index that marks a large text
constexpr std::uint8_t kDeletedFlag = 1;

std::int64_t readWord(const std::byte* row, std::size_t column)
{
    std::int64_t word;
    std::memcpy(&word, row + 8 + column * 8, sizeof word);
    return word;
}

bool isInteger(VarType type)
{
    return type == VarType::Bool || type == VarType::Byte || type == VarType::Short ||
           type == VarType::Long || type == VarType::BigInt;
}

}  // namespace

RowStore::RowStore(std::vector<FieldInfo> fields) : m_fields(std::move(fields))
{
    // Layout of a slot: row id, one word per column, one tag per column, one flag byte.
    m_tagOffset = 8 + m_fields.size() * 8;
    m_flagOffset = m_tagOffset + m_fields.size();
    m_stride = (m_flagOffset + 1 + 7) / 8 * 8;
}

std::byte* RowStore::rowAt(std::uint32_t slot) const
{
    return m_blocks[slot / kRowsPerBlock].get() + (slot % kRowsPerBlock) * m_stride;
}

std::uint32_t RowStore::appendSlot()
{
    // The first block starts small and doubles, so a snapshot of a small lookup table stays
    // small; later blocks are allocated whole and never move.
    if (m_rowCount < kRowsPerBlock) {
        if (m_rowCount == m_firstBlockRows) {
            const std::uint32_t rows = m_firstBlockRows == 0 ? 16 : m_firstBlockRows * 2;
            auto grown = std::make_unique_for_overwrite<std::byte[]>(rows * m_stride);
            if (!m_blocks.empty())
                std::memcpy(grown.get(), m_blocks[0].get(), m_firstBlockRows * m_stride);
            if (m_blocks.empty())
                m_blocks.push_back(std::move(grown));
            else
                m_blocks[0] = std::move(grown);
            m_firstBlockRows = rows;
        }
    } else if (m_rowCount % kRowsPerBlock == 0) {
        m_blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(kRowsPerBlock * m_stride));
    }
    return m_rowCount++;
}

void RowStore::setCell(std::byte* row, std::size_t column, VarType type, std::int64_t word)
{
    std::memcpy(row + 8 + column * 8, &word, sizeof word);
    row[m_tagOffset + column] = static_cast<std::byte>(type);
}

std::int64_t RowStore::storeText(std::string_view text)
{
    if (text.size() >= kChunkBytes) {
        m_largeTexts.emplace_back(text);
        return (kLargeChunk << 40) | static_cast<std::int64_t>(m_largeTexts.size() - 1);
    }
    if (m_chunks.empty() || m_chunkUsed + text.size() > m_chunkCapacity) {
        // Chunks grow from 4 KiB to 1 MiB; texts never straddle two chunks.
        m_chunkCapacity = std::max(text.size(), std::min(kChunkBytes, std::max<std::size_t>(4096, m_chunkCapacity * 2)));
        m_chunks.push_back(std::make_unique_for_overwrite<char[]>(m_chunkCapacity));
        m_chunkUsed = 0;
        m_arenaBytes += m_chunkCapacity;
    }
    const auto chunk = static_cast<std::int64_t>(m_chunks.size() - 1);
    const auto offset = static_cast<std::int64_t>(m_chunkUsed);
    std::memcpy(m_chunks.back().get() + m_chunkUsed, text.data(), text.size());
    m_chunkUsed += text.size();
    return (chunk << 40) | (offset << 20) | static_cast<std::int64_t>(text.size());
}

std::string_view RowStore::textAt(std::int64_t reference) const
{
    const std::int64_t chunk = (reference >> 40) & 0xFFFFFF;
    if (chunk == kLargeChunk)
        return m_largeTexts[static_cast<std::size_t>(reference & 0xFFFFFFFFFF)];
    const auto offset = static_cast<std::size_t>((reference >> 20) & 0xFFFFF);
    const auto length = static_cast<std::size_t>(reference & 0xFFFFF);
    return std::string_view(m_chunks[static_cast<std::size_t>(chunk)].get() + offset, length);
}

void RowStore::readColumn(std::byte* row, std::size_t column, sqlite3_stmt* statement, int index)
{
    const FieldFamily family = m_fields[column].family();
    if (family == FieldFamily::Text) {
        // The most common family, read in two calls: the engine gives no text for a null.
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
        if (!bytes)
            setCell(row, column, VarType::Null, 0);
        else
            setCell(row, column, VarType::Text,
                    storeText(std::string_view(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement, index)))));
        return;
    }
    const int storage = sqlite3_column_type(statement, index);
    if (storage == SQLITE_NULL) {
        setCell(row, column, VarType::Null, 0);
        return;
    }
    const auto text = [&]() {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
        return std::string_view(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, index)));
    };
    switch (family) {
    case FieldFamily::Text: return;  // read above
    case FieldFamily::Bool:
        setCell(row, column, VarType::Bool, sqlite3_column_int64(statement, index) != 0);
        return;
    case FieldFamily::Byte:
    case FieldFamily::Short:
    case FieldFamily::Long:
    case FieldFamily::BigInt:
        setCell(row, column, m_fields[column].varType(), sqlite3_column_int64(statement, index));
        return;
    case FieldFamily::Double:
        setCell(row, column, VarType::Double,
                std::bit_cast<std::int64_t>(sqlite3_column_double(statement, index)));
        return;
    case FieldFamily::Currency:
        if (storage == SQLITE_INTEGER) {
            setCell(row, column, VarType::Currency, sqlite3_column_int64(statement, index));
        } else {
            // A value written by another tool: keep it as it came and let readers convert.
            const ole::Variant coerced = m_fields[column].coerce(ole::Variant(std::string(text())));
            setCell(row, column, VarType::Currency, coerced.get<ole::Currency>()->raw());
        }
        return;
    case FieldFamily::Date:
        if (storage == SQLITE_TEXT) {
            const ole::DateTime date = ole::DateTime::fromIsoText(text());
            if (date.isValid())
                setCell(row, column, VarType::Date, std::bit_cast<std::int64_t>(date.days()));
            else  // unreadable date text stays text; reading it as a date gives an invalid date
                setCell(row, column, VarType::Text, storeText(text()));
        } else {
            const ole::DateTime date(sqlite3_column_double(statement, index));
            setCell(row, column, date.isValid() ? VarType::Date : VarType::Null,
                    std::bit_cast<std::int64_t>(date.days()));
        }
        return;
    case FieldFamily::Dynamic:
        if (storage == SQLITE_INTEGER) {
            const std::int64_t value = sqlite3_column_int64(statement, index);
            const bool fitsLong = value >= INT32_MIN && value <= INT32_MAX;
            setCell(row, column, fitsLong ? VarType::Long : VarType::BigInt, value);
        } else if (storage == SQLITE_FLOAT) {
            setCell(row, column, VarType::Double,
                    std::bit_cast<std::int64_t>(sqlite3_column_double(statement, index)));
        } else {
            setCell(row, column, VarType::Text, storeText(text()));
        }
        return;
    }
}

std::uint32_t RowStore::appendFromStatement(sqlite3_stmt* statement, int firstColumn, std::int64_t rowId)
{
    const std::uint32_t slot = appendSlot();
    std::byte* row = rowAt(slot);
    std::memset(row, 0, m_stride);
    std::memcpy(row, &rowId, sizeof rowId);
    for (std::size_t column = 0; column < m_fields.size(); ++column)
        readColumn(row, column, statement, firstColumn + static_cast<int>(column));
    return slot;
}

std::uint32_t RowStore::appendNulls(std::int64_t rowId)
{
    const std::uint32_t slot = appendSlot();
    std::byte* row = rowAt(slot);
    std::memset(row, 0, m_stride);
    std::memcpy(row, &rowId, sizeof rowId);
    for (std::size_t column = 0; column < m_fields.size(); ++column)
        setCell(row, column, VarType::Null, 0);
    return slot;
}

std::int64_t RowStore::rowId(std::uint32_t slot) const
{
    std::int64_t id;
    std::memcpy(&id, rowAt(slot), sizeof id);
    return id;
}

bool RowStore::isDeleted(std::uint32_t slot) const
{
    return (static_cast<std::uint8_t>(rowAt(slot)[m_flagOffset]) & kDeletedFlag) != 0;
}

void RowStore::markDeleted(std::uint32_t slot)
{
    std::byte* flags = rowAt(slot) + m_flagOffset;
    *flags = static_cast<std::byte>(static_cast<std::uint8_t>(*flags) | kDeletedFlag);
}

RowStore::Cell RowStore::cell(std::uint32_t slot, std::size_t column) const
{
    const std::byte* row = rowAt(slot);
    Cell result;
    result.type = static_cast<VarType>(row[m_tagOffset + column]);
    result.word = readWord(row, column);
    if (result.type == VarType::Text)
        result.text = textAt(result.word);
    return result;
}

ole::Variant RowStore::value(std::uint32_t slot, std::size_t column) const
{
    const Cell c = cell(slot, column);
    switch (c.type) {
    case VarType::Null: return ole::Variant::null();
    case VarType::Bool: return ole::Variant(c.word != 0);
    case VarType::Byte: return ole::Variant(static_cast<std::uint8_t>(c.word));
    case VarType::Short: return ole::Variant(static_cast<std::int16_t>(c.word));
    case VarType::Long: return ole::Variant(static_cast<std::int32_t>(c.word));
    case VarType::BigInt: return ole::Variant(c.word);
    case VarType::Double: return ole::Variant(std::bit_cast<double>(c.word));
    case VarType::Currency: return ole::Variant(ole::Currency(c.word));
    case VarType::Date: return ole::Variant(ole::DateTime(std::bit_cast<double>(c.word)));
    case VarType::Text: return ole::Variant(std::string(c.text));
    default: return ole::Variant();
    }
}

void RowStore::setValue(std::uint32_t slot, std::size_t column, const ole::Variant& value)
{
    std::byte* row = rowAt(slot);
    switch (value.type()) {
    case VarType::Empty:
    case VarType::Null: setCell(row, column, VarType::Null, 0); return;
    case VarType::Double:
        setCell(row, column, VarType::Double, std::bit_cast<std::int64_t>(*value.get<double>()));
        return;
    case VarType::Date:
        setCell(row, column, VarType::Date,
                std::bit_cast<std::int64_t>(value.get<ole::DateTime>()->days()));
        return;
    case VarType::Text: setCell(row, column, VarType::Text, storeText(*value.get<std::string>())); return;
    case VarType::Bool: setCell(row, column, VarType::Bool, *value.get<bool>() ? 1 : 0); return;
    default: setCell(row, column, value.type(), value.rawWord()); return;
    }
}

int RowStore::compare(std::uint32_t a, std::uint32_t b, std::size_t column) const
{
    return compareCells(cell(a, column), cell(b, column));
}

int RowStore::compareCells(const Cell& x, const Cell& y)
{
    const bool xNull = x.type == VarType::Null;
    const bool yNull = y.type == VarType::Null;
    if (xNull || yNull)
        return xNull == yNull ? 0 : (xNull ? -1 : 1);
    if (x.type == VarType::Text || y.type == VarType::Text) {
        if (x.type != y.type)  // numbers sort before texts, as in SQL
            return x.type == VarType::Text ? 1 : -1;
        const int order = x.text.compare(y.text);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    if (x.type == y.type && (isInteger(x.type) || x.type == VarType::Currency))
        return x.word < y.word ? -1 : (x.word > y.word ? 1 : 0);
    if (x.type == y.type && (x.type == VarType::Double || x.type == VarType::Date)) {
        const double p = std::bit_cast<double>(x.word);
        const double q = std::bit_cast<double>(y.word);
        return p < q ? -1 : (p > q ? 1 : 0);
    }
    const auto numeric = [](const Cell& c) -> long double {
        if (c.type == VarType::Double || c.type == VarType::Date)
            return std::bit_cast<double>(c.word);
        if (c.type == VarType::Currency)
            return static_cast<long double>(c.word) / ole::Currency::kScale;
        return static_cast<long double>(c.word);
    };
    const long double p = numeric(x);
    const long double q = numeric(y);
    return p < q ? -1 : (p > q ? 1 : 0);
}

void RowStore::permute(const std::vector<std::uint32_t>& order)
{
    // Rows read in the order they are walked keep a scan in step with memory. In place, one
    // cycle at a time through a row of scratch: a second copy of the slots would double the
    // memory of a large snapshot for a moment.
    std::vector<bool> placed(order.size());
    const auto scratch = std::make_unique_for_overwrite<std::byte[]>(m_stride);
    for (std::uint32_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        std::memcpy(scratch.get(), rowAt(start), m_stride);
        std::uint32_t at = start;
        for (; order[at] != start; at = order[at]) {
            std::memcpy(rowAt(at), rowAt(order[at]), m_stride);
            placed[at] = true;
        }
        std::memcpy(rowAt(at), scratch.get(), m_stride);
        placed[at] = true;
    }
}

std::size_t RowStore::bytesUsed() const
{
    const std::size_t blockRows =
        m_blocks.size() <= 1 ? m_firstBlockRows : (m_blocks.size() - 1) * kRowsPerBlock + kRowsPerBlock;
    std::size_t bytes = blockRows * m_stride + m_arenaBytes;
    for (const auto& text : m_largeTexts)
        bytes += text.capacity();
    return bytes;
}

}  // namespace ado
