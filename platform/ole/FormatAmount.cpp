// Amount text in the user's locale.
#include "platform/ole/FormatAmount.h"

#include <optional>

namespace {

std::optional<ole::NumberLocale>& amountLocale()
{
    static std::optional<ole::NumberLocale> locale;
    return locale;
}

}  // namespace

const ole::NumberLocale& AmountLocale()
{
    auto& locale = amountLocale();
    if (!locale)
        locale = ole::NumberLocale::user();
    return *locale;
}

void SetAmountLocale(const ole::NumberLocale& locale) { amountLocale() = locale; }

std::string FormatAmount(const ole::Currency& value, bool bCurrency)
{
    return AmountLocale().formatCurrency(value, bCurrency);
}
