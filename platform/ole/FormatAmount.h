// Amounts as the desktop shows them: two decimals, a leading zero, no digit grouping and a minus
// sign, with the user's decimal separator. Shared by the tree, the edit dialog, the export and
// the reports.
#pragma once

#include <string>

#include "platform/ole/Currency.h"
#include "platform/ole/NumberLocale.h"

// The plain form ("1234.50"); with bCurrency the locale's currency symbol is added. An invalid
// value gives an empty text.
std::string FormatAmount(const ole::Currency& value, bool bCurrency = false);

// The number conventions FormatAmount uses: the user's locale, read once. Tests replace them.
const ole::NumberLocale& AmountLocale();
void SetAmountLocale(const ole::NumberLocale& locale);
