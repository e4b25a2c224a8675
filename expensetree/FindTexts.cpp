// The searched texts of every expense, by row id.
#include "expensetree/FindTexts.h"

void FindTexts::Clear()
{
    std::string().swap(m_arena);  // the memory goes with the find bar
    std::unordered_map<std::int64_t, Entry>().swap(m_entries);
}

void FindTexts::Reserve(std::size_t rows)
{
    m_entries.reserve(rows);
    m_arena.reserve(rows * 48);  // a typical row's texts and amount
}

void FindTexts::Put(std::int64_t rowId, const ExpenseRow& row)
{
    std::size_t amountAt = 0;
    const std::string bytes = ExpenseFilter::SearchBytes(row, amountAt);
    m_entries[rowId] = Entry{m_arena.size(), static_cast<std::uint32_t>(amountAt), static_cast<std::uint32_t>(bytes.size())};
    m_arena += bytes;
}

std::optional<ExpenseFilter::SearchText> FindTexts::Get(std::int64_t rowId) const
{
    const auto found = m_entries.find(rowId);
    if (found == m_entries.end())
        return std::nullopt;
    const std::string_view bytes = std::string_view(m_arena).substr(found->second.offset, found->second.size);
    return ExpenseFilter::SearchText{bytes.substr(0, found->second.amountAt), bytes.substr(found->second.amountAt)};
}
