// ExpenseFilter: the text Find narrows the tree with. An expense matches when its item, detail,
// vendor, category code, account code, check number or amount (as the line shows it) contains
// the text, ignoring case; accents are compared as typed. An empty text matches every expense.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

class ExpenseRow;

class ExpenseFilter {
public:
    ExpenseFilter() = default;
    explicit ExpenseFilter(const std::string& text);

    // The columns a row needs for Matches.
    static const std::uint32_t kColumns;

    bool IsEmpty() const { return m_text.empty(); }
    const std::string& Text() const { return m_text; }
    bool Matches(const ExpenseRow& row) const;

private:
    bool Contains(const std::string& field) const;

    std::string m_text;          // as typed (UTF-8)
    std::string m_asciiLower;    // the text in lower case, when it is plain ASCII
    QString m_wide;              // the text, when it is not: compared by Qt's case folding
    bool m_bAscii = true;        // the text has no byte above 127
    bool m_bMayBeAmount = false; // the text has a digit: amounts are formatted only then
};
