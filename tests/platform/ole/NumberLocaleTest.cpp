// Currency text in an injected locale: two decimals, leading zero, no grouping, minus sign, and
// reading back what a user types.
#include <gtest/gtest.h>

#include <limits>

#include "platform/ole/NumberLocale.h"

using ole::Currency;
using ole::NumberLocale;

namespace {
const NumberLocale kDot(".", ",");
const NumberLocale kComma(",", ".", "€", false);
}

TEST(NumberLocale, FormatsTwoDecimalsWithoutGrouping)
{
    EXPECT_EQ(kDot.formatCurrency(Currency::fromCents(123450)), "1234.50");
    EXPECT_EQ(kDot.formatCurrency(Currency::fromCents(-300)), "-3.00");
    EXPECT_EQ(kDot.formatCurrency(Currency::fromCents(50)), "0.50");
    EXPECT_EQ(kDot.formatCurrency(Currency::fromCents(0)), "0.00");
    EXPECT_EQ(kDot.formatCurrency(Currency::fromCents(123456789012)), "1234567890.12");
    EXPECT_EQ(kComma.formatCurrency(Currency::fromCents(123450)), "1234,50");
    EXPECT_EQ(kComma.formatCurrency(Currency::fromCents(-5)), "-0,05");
}

TEST(NumberLocale, RoundsHalfAwayFromZeroToCents)
{
    EXPECT_EQ(kDot.formatCurrency(Currency::fromRaw(12345)), "1.23");   // 1.2345
    EXPECT_EQ(kDot.formatCurrency(Currency::fromRaw(12350)), "1.24");   // 1.2350
    EXPECT_EQ(kDot.formatCurrency(Currency::fromRaw(-12350)), "-1.24");
    EXPECT_EQ(kDot.formatCurrency(Currency::fromRaw(-40)), "0.00");     // no "-0.00"
    EXPECT_EQ(kDot.formatCurrency(Currency::fromRaw(std::numeric_limits<std::int64_t>::max())),
              "922337203685477.58");
    EXPECT_EQ(kDot.formatCurrency(Currency::invalid()), "");
}

TEST(NumberLocale, SymbolModePlacesTheLocaleSymbol)
{
    EXPECT_EQ(kDot.formatCurrency(Currency::fromCents(1999), true), "$19.99");
    EXPECT_EQ(kComma.formatCurrency(Currency::fromCents(1999), true), "19,99 €");
}

TEST(NumberLocale, ParsesWhatUsersType)
{
    EXPECT_EQ(kDot.parseCurrency("12.50"), Currency::fromCents(1250));
    EXPECT_EQ(kDot.parseCurrency(" -12.5 "), Currency::fromCents(-1250));
    EXPECT_EQ(kDot.parseCurrency("+7"), Currency::fromCents(700));
    EXPECT_EQ(kDot.parseCurrency(".5"), Currency::fromCents(50));
    EXPECT_EQ(kDot.parseCurrency("1,234.56"), Currency::fromCents(123456));
    EXPECT_EQ(kDot.parseCurrency("$19.99"), Currency::fromCents(1999));
    EXPECT_EQ(kDot.parseCurrency("(3.00)"), Currency::fromCents(-300));
    EXPECT_EQ(kDot.parseCurrency("0.00005"), Currency::fromRaw(1));      // fifth decimal rounds
    EXPECT_EQ(kDot.parseCurrency("0.00004"), Currency::fromRaw(0));
    EXPECT_EQ(kComma.parseCurrency("1.234,56"), Currency::fromCents(123456));
    EXPECT_EQ(kComma.parseCurrency("-12,5 €"), Currency::fromCents(-1250));
    EXPECT_EQ(kDot.parseCurrency("922337203685477.5807"), Currency::fromRaw(std::numeric_limits<std::int64_t>::max()));
}

TEST(NumberLocale, RefusesWhatIsNoCurrency)
{
    const char* refused[] = {"", "   ", "abc", "12.5x", "1.2.3", "--5", "(-5)", "12,", ",12", "1,,234", "1,23", "1,2345",
                             "922337203685477.5808", "99999999999999999999", "$", "-", "1e5"};
    for (const char* text : refused)
        EXPECT_FALSE(kDot.parseCurrency(text).isValid()) << '"' << text << '"';
    // In a comma locale the full stop groups thousands: "12.5" is refused, not read as 125.
    EXPECT_FALSE(kComma.parseCurrency("12.5").isValid());
    EXPECT_EQ(kComma.parseCurrency("12.500"), Currency::fromCents(1250000));
    EXPECT_EQ(kComma.parseCurrency("12,5"), Currency::fromCents(1250));
}
