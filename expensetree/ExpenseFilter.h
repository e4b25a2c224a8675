// ExpenseFilter: the text Find narrows the tree with. An expense matches when its item, detail,
// vendor, category code, account code, check number or amount (as the line shows it) contains
// the text, ignoring case; accents are compared as typed. An empty text matches every expense.
// A row is searched through its SearchText: its texts case-folded once, so a keystroke over
// texts kept in memory compares bytes only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class ExpenseRow;

class ExpenseFilter {
public:
    // What Find searches in one row: the folded texts, each ended by a NUL (a typed text never
    // holds one, so no match spans two columns), and the amount as shown.
    struct SearchText {
        std::string_view texts;
        std::string_view amount;
    };

    ExpenseFilter() = default;
    explicit ExpenseFilter(const std::string& text);

    // The columns a row needs for Matches.
    static const std::uint32_t kColumns;
    // A row's searched texts, folded and NUL-ended, then its amount as shown: the bytes behind
    // a SearchText, split at amountAt.
    static std::string SearchBytes(const ExpenseRow& row, std::size_t& amountAt);

    bool IsEmpty() const { return m_text.empty(); }
    const std::string& Text() const { return m_text; }
    bool Matches(const ExpenseRow& row) const;
    bool Matches(SearchText searched) const;

private:
    std::string m_text;          // as typed (UTF-8)
    std::string m_folded;        // the text case-folded, up to any NUL
    bool m_bMayBeAmount = false; // the text has a digit: only then are amounts searched
};
