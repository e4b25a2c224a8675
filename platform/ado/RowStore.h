// The rows of one record-set snapshot, kept compactly: fixed-width row slots in blocks (one
// 64-bit word and one type tag per column) and texts in a chunked arena. Once the snapshot is
// in use a slot never moves, so slot numbers stay valid while rows are added, changed, deleted
// or re-sorted; only its reader may permute the slots, before handing any out.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/FieldInfo.h"

struct sqlite3_stmt;

namespace ado {

class RowStore {
public:
    // A cheap read-only view of one stored value; text points into the arena.
    struct Cell {
        ole::VarType type = ole::VarType::Null;  // what the word holds
        std::int64_t word = 0;                   // integer, scaled currency, or double bits
        std::string_view text;                   // the text, for VarType::Text
    };

    explicit RowStore(std::vector<FieldInfo> fields);
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    const std::vector<FieldInfo>& fields() const { return m_fields; }
    std::uint32_t size() const { return m_rowCount; }

    // Appends the current row of a stepped statement under the given id, reading this store's
    // fields from its columns firstColumn, firstColumn + 1, ...: the one decoder of stored values.
    std::uint32_t appendFromStatement(sqlite3_stmt* statement, int firstColumn, std::int64_t rowId);
    // Appends a row of nulls with the given id.
    std::uint32_t appendNulls(std::int64_t rowId);

    std::int64_t rowId(std::uint32_t slot) const;
    bool isDeleted(std::uint32_t slot) const;
    void markDeleted(std::uint32_t slot);

    Cell cell(std::uint32_t slot, std::size_t column) const;
    ole::Variant value(std::uint32_t slot, std::size_t column) const;
    // Stores a value already coerced to the column's family (or null).
    void setValue(std::uint32_t slot, std::size_t column, const ole::Variant& value);

    // Orders two rows by one column: nulls first, numbers by value, texts byte-wise.
    int compare(std::uint32_t a, std::uint32_t b, std::size_t column) const;
    static int compareCells(const Cell& x, const Cell& y);
    // Moves the rows so that slot i holds what slot order[i] held (order: every slot once).
    void permute(const std::vector<std::uint32_t>& order);

    std::size_t bytesUsed() const;

private:
    static constexpr std::uint32_t kRowsPerBlock = 4096;
    static constexpr std::size_t kChunkBytes = std::size_t(1) << 20;

    std::byte* rowAt(std::uint32_t slot) const;
    std::uint32_t appendSlot();
    void setCell(std::byte* row, std::size_t column, ole::VarType type, std::int64_t word);
    std::int64_t storeText(std::string_view text);
    std::string_view textAt(std::int64_t reference) const;
    void readColumn(std::byte* row, std::size_t column, sqlite3_stmt* statement, int index);

    std::vector<FieldInfo> m_fields;                    // column names and families
    std::size_t m_tagOffset = 0;                        // byte offset of the tags within a row
    std::size_t m_flagOffset = 0;                       // byte offset of the row flags
    std::size_t m_stride = 0;                           // bytes per row slot
    std::uint32_t m_rowCount = 0;                       // slots in use
    std::vector<std::unique_ptr<std::byte[]>> m_blocks; // kRowsPerBlock slots each
    std::vector<std::unique_ptr<char[]>> m_chunks;      // text arena, up to kChunkBytes each
    std::uint32_t m_firstBlockRows = 0;                 // capacity of block 0 while it grows
    std::size_t m_chunkCapacity = 0;                    // size of the last text chunk
    std::size_t m_chunkUsed = 0;                        // bytes used in the last text chunk
    std::size_t m_arenaBytes = 0;                       // bytes of all text chunks
    std::vector<std::string> m_largeTexts;              // texts too long for a chunk
};

}  // namespace ado
