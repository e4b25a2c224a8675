// Matching an expense row against the Find text.
#include "expensetree/ExpenseFilter.h"

#include <QString>
#include <algorithm>
#include <cctype>

#include "database/ExpenseRow.h"
#include "platform/ole/FormatAmount.h"

namespace {

// Unicode simple case folding; plain ASCII, the common case, without Qt. Folding both sides
// character by character keeps UTF-8 byte search equal to a case-insensitive compare.
void AppendFolded(std::string& out, std::string_view text)
{
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 128; })) {
        for (const char c : text)
            out.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
        return;
    }
    out += QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded().toStdString();
}

}  // namespace

const std::uint32_t ExpenseFilter::kColumns = ExpenseRow::Item | ExpenseRow::Detail | ExpenseRow::Vendor |
                                              ExpenseRow::ExpCat | ExpenseRow::AcctCode | ExpenseRow::ChkNbr |
                                              ExpenseRow::Amount;

ExpenseFilter::ExpenseFilter(const std::string& text) : m_text(text)
{
    AppendFolded(m_folded, std::string_view(text.c_str()));  // a NUL would never match: cut there
    m_bMayBeAmount = std::any_of(m_folded.begin(), m_folded.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::string ExpenseFilter::SearchBytes(const ExpenseRow& row, std::size_t& amountAt)
{
    std::string bytes;
    for (const std::string* field : {&row.m_strItem, &row.m_strDetail, &row.m_strVendor, &row.m_strExpCat,
                                     &row.m_strAcctCode, &row.m_strChkNbr}) {
        AppendFolded(bytes, *field);
        bytes.push_back('\0');
    }
    amountAt = bytes.size();
    bytes += FormatAmount(row.m_cyAmount);
    return bytes;
}

bool ExpenseFilter::Matches(SearchText searched) const
{
    if (m_folded.empty())
        return IsEmpty();
    return searched.texts.find(m_folded) != std::string_view::npos ||
           (m_bMayBeAmount && searched.amount.find(m_folded) != std::string_view::npos);
}

bool ExpenseFilter::Matches(const ExpenseRow& row) const
{
    if (IsEmpty())
        return true;
    std::size_t amountAt = 0;
    const std::string bytes = SearchBytes(row, amountAt);
    const std::string_view all(bytes);
    return Matches(SearchText{all.substr(0, amountAt), all.substr(amountAt)});
}
