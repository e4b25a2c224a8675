// Currency arithmetic: exact sums and overflow that turns invalid instead of wrapping.
#include <gtest/gtest.h>

#include <limits>

#include "platform/ole/Currency.h"

using ole::Currency;
using ole::ValueStatus;

TEST(Currency, SumsAreExactInTenThousandths)
{
    Currency total;
    for (int i = 0; i < 10; ++i)
        total += Currency::fromRaw(1000);  // 0.10 ten times
    EXPECT_EQ(total, Currency::fromCents(100));
    EXPECT_EQ((Currency::fromCents(250) - Currency::fromCents(1000)).raw(), -75000);
}

TEST(Currency, OverflowAndInvalidOperandsGiveInvalid)
{
    Currency big = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
    big += Currency::fromRaw(1);
    EXPECT_EQ(big.status(), ValueStatus::Invalid);

    Currency small = Currency::fromRaw(std::numeric_limits<std::int64_t>::min());
    small -= Currency::fromRaw(1);
    EXPECT_EQ(small.status(), ValueStatus::Invalid);

    EXPECT_FALSE((Currency::fromCents(5) + Currency::invalid()).isValid());
    EXPECT_FALSE((Currency::null() - Currency::fromCents(5)).isValid());
}
