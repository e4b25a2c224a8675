// Locale-aware currency text: the desktop shows amounts with exactly two decimals, a leading
// zero, no digit grouping and a minus sign, using the user's decimal separator, and reads back
// what the user types in the same locale. The separators are injectable so tests never depend
// on the machine's locale.
#pragma once

#include <string>
#include <string_view>

#include "platform/ole/Currency.h"

namespace ole {

class NumberLocale {
public:
    NumberLocale() = default;  // C conventions: '.' decimals, no grouping, "$" symbol
    NumberLocale(std::string decimalSeparator, std::string groupSeparator,
                 std::string currencySymbol = "$", bool symbolPrecedes = true);

    // The C library's current numeric and monetary locale (set by setlocale).
    static NumberLocale user();

    const std::string& decimalSeparator() const { return m_decimal; }

    // "1234.50", "-3.00", "0.50"; with the symbol "$1234.50". Rounds half away from zero to
    // cents. An invalid value gives an empty text.
    std::string formatCurrency(const Currency& value, bool withSymbol = false) const;

    // Accepts optional blanks, a sign or parentheses, the currency symbol, digits with group
    // separators, the decimal separator and up to any number of decimals (rounded to four).
    // Anything else, or a value outside the currency range, gives an invalid currency.
    Currency parseCurrency(std::string_view text) const;

private:
    std::string m_decimal = ".";      // separator between units and decimals
    std::string m_group;              // digit group separator accepted on input; may be empty
    std::string m_symbol = "$";       // currency symbol for the symbol mode
    bool m_symbolPrecedes = true;     // symbol written before the amount
};

}  // namespace ole
