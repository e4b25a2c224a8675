// Currency text in the user's locale, without the C library's printf/strtod (which would
// follow the global locale in ways we do not control).
#include "platform/ole/NumberLocale.h"

#include <clocale>
#include <limits>

namespace ole {
namespace {

using Wide = __int128;

bool startsWith(std::string_view text, std::string_view prefix)
{
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix)
{
    return !suffix.empty() && text.size() >= suffix.size() &&
           text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string digitsOf(unsigned long long value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

}  // namespace

NumberLocale::NumberLocale(std::string decimalSeparator, std::string groupSeparator,
                           std::string currencySymbol, bool symbolPrecedes)
    : m_decimal(std::move(decimalSeparator)),
      m_group(std::move(groupSeparator)),
      m_symbol(std::move(currencySymbol)),
      m_symbolPrecedes(symbolPrecedes)
{
    if (m_decimal.empty())
        m_decimal = ".";
}

NumberLocale NumberLocale::user()
{
    const std::lconv* conventions = std::localeconv();
    std::string decimal = conventions->decimal_point ? conventions->decimal_point : ".";
    std::string group = conventions->thousands_sep ? conventions->thousands_sep : "";
    std::string symbol = conventions->currency_symbol && *conventions->currency_symbol
                             ? conventions->currency_symbol
                             : "$";
    const bool precedes = conventions->p_cs_precedes != 0;
    return NumberLocale(decimal, group, symbol, precedes);
}

std::string NumberLocale::formatCurrency(const Currency& value, bool withSymbol) const
{
    if (!value.isValid())
        return {};
    const Wide raw = value.raw();
    const Wide cents = (raw + (raw >= 0 ? 50 : -50)) / 100;  // half away from zero
    const unsigned long long magnitude =
        static_cast<unsigned long long>(cents < 0 ? -cents : cents);
    std::string amount = cents < 0 ? "-" : "";
    if (withSymbol && m_symbolPrecedes)
        amount += m_symbol;
    amount += digitsOf(magnitude / 100);
    amount += m_decimal;
    amount += static_cast<char>('0' + magnitude / 10 % 10);
    amount += static_cast<char>('0' + magnitude % 10);
    if (withSymbol && !m_symbolPrecedes)
        amount += " " + m_symbol;
    return amount;
}

Currency NumberLocale::parseCurrency(std::string_view text) const
{
    text = trim(text);
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = trim(text.substr(1, text.size() - 2));
    }
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        if (negative)
            return Currency::invalid();
        negative = text.front() == '-';
        text = trim(text.substr(1));
    }
    if (startsWith(text, m_symbol))
        text = trim(text.substr(m_symbol.size()));
    else if (endsWith(text, m_symbol))
        text = trim(text.substr(0, text.size() - m_symbol.size()));

    // Group separators are accepted only between whole groups of three digits, so "12.5" in a
    // locale that groups with '.' is refused rather than read as 125.
    Wide units = 0;
    int digitCount = 0;
    int groupDigits = -1;  // digits since the last group separator; -1 before the first one
    bool previousWasDigit = false;
    while (!text.empty() && !startsWith(text, m_decimal)) {
        const char c = text.front();
        if (c >= '0' && c <= '9') {
            units = units * 10 + (c - '0');
            if (units > std::numeric_limits<std::int64_t>::max())
                return Currency::invalid();
            ++digitCount;
            if (groupDigits >= 0 && ++groupDigits > 3)
                return Currency::invalid();
            previousWasDigit = true;
            text.remove_prefix(1);
        } else if (previousWasDigit && startsWith(text, m_group) && (groupDigits < 0 || groupDigits == 3)) {
            text.remove_prefix(m_group.size());
            groupDigits = 0;
            previousWasDigit = false;
        } else {
            return Currency::invalid();
        }
    }
    if (groupDigits >= 0 && groupDigits != 3)
        return Currency::invalid();  // an unfinished group, or a trailing separator

    Wide fraction = 0;  // in units of 1/10,000
    if (startsWith(text, m_decimal)) {
        text.remove_prefix(m_decimal.size());
        Wide scale = Currency::kScale / 10;
        bool roundUp = false;
        bool first = true;
        for (const char c : text) {
            if (c < '0' || c > '9')
                return Currency::invalid();
            ++digitCount;
            if (scale > 0) {
                fraction += (c - '0') * scale;
                scale /= 10;
            } else if (first) {
                roundUp = c >= '5';  // the fifth decimal decides the rounding
                first = false;
            }
        }
        if (roundUp)
            ++fraction;
    } else if (!text.empty()) {
        return Currency::invalid();
    }
    if (digitCount == 0)
        return Currency::invalid();

    Wide raw = units * Currency::kScale + fraction;
    if (negative)
        raw = -raw;
    if (raw > std::numeric_limits<std::int64_t>::max() ||
        raw < std::numeric_limits<std::int64_t>::min())
        return Currency::invalid();
    return Currency(static_cast<std::int64_t>(raw));
}

}  // namespace ole
