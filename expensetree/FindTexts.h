// FindTexts: what Find searches in every expense, folded once and kept in memory by row id while
// the find bar is open, so a keystroke compares bytes instead of reading and folding each row.
// Texts live in one arena; a changed row's new text is appended and the old bytes wait for the
// next Clear.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "expensetree/ExpenseFilter.h"

class FindTexts {
public:
    bool IsEmpty() const { return m_entries.empty(); }
    void Clear();
    void Reserve(std::size_t rows);
    // Takes (or replaces) the row's texts; the row needs ExpenseFilter::kColumns.
    void Put(std::int64_t rowId, const ExpenseRow& row);
    std::optional<ExpenseFilter::SearchText> Get(std::int64_t rowId) const;

private:
    struct Entry {
        std::size_t offset;      // into m_arena
        std::uint32_t amountAt;  // the amount's start, from offset
        std::uint32_t size;      // texts and amount
    };
    std::string m_arena;
    std::unordered_map<std::int64_t, Entry> m_entries;
};
