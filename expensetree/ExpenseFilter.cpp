// Matching an expense row against the Find text.
#include "expensetree/ExpenseFilter.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "database/ExpenseRow.h"
#include "platform/ole/FormatAmount.h"

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const std::uint32_t ExpenseFilter::kColumns = ExpenseRow::Item | ExpenseRow::Detail | ExpenseRow::Vendor |
                                              ExpenseRow::ExpCat | ExpenseRow::AcctCode | ExpenseRow::ChkNbr |
                                              ExpenseRow::Amount;

ExpenseFilter::ExpenseFilter(const std::string& text) : m_text(text)
{
    m_bAscii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
    m_bMayBeAmount = std::any_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (m_bAscii)
        std::transform(text.begin(), text.end(), std::back_inserter(m_asciiLower), LowerAscii);
    else
        m_wide = QString::fromStdString(text);
}

bool ExpenseFilter::Contains(const std::string& field) const
{
    if (!m_bAscii)
        return QString::fromStdString(field).contains(m_wide, Qt::CaseInsensitive);
    // An ASCII text never matches inside a multi-byte UTF-8 character, so bytes compare safely.
    const auto equal = [](char a, char b) { return LowerAscii(a) == b; };
    return std::search(field.begin(), field.end(), m_asciiLower.begin(), m_asciiLower.end(), equal) != field.end();
}

bool ExpenseFilter::Matches(const ExpenseRow& row) const
{
    if (IsEmpty())
        return true;
    for (const std::string* field : {&row.m_strItem, &row.m_strDetail, &row.m_strVendor, &row.m_strExpCat,
                                     &row.m_strAcctCode, &row.m_strChkNbr})
        if (Contains(*field))
            return true;
    return m_bMayBeAmount && Contains(FormatAmount(row.m_cyAmount));
}
