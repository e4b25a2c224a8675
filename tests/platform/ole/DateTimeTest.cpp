// Date-time values: the day count, calendar parts, validity and text forms.
#include <gtest/gtest.h>

#include <clocale>

#include "platform/ole/DateTime.h"

using ole::DateTime;
using ole::ValueStatus;

TEST(DateTime, DayCountsMatchTheOrigin)
{
    EXPECT_DOUBLE_EQ(DateTime(1899, 12, 30).days(), 0.0);
    EXPECT_DOUBLE_EQ(DateTime(1900, 1, 1).days(), 2.0);
    EXPECT_DOUBLE_EQ(DateTime(2004, 12, 25).days(), 38346.0);
    EXPECT_DOUBLE_EQ(DateTime(2000, 2, 29, 18, 0, 0).days(), 36585.75);
    // Before the origin the time still counts forward from midnight.
    EXPECT_DOUBLE_EQ(DateTime(1899, 12, 29, 6, 0, 0).days(), -1.25);
}

TEST(DateTime, PartsRoundTripAcrossTheRange)
{
    const int samples[][6] = {{100, 1, 1, 0, 0, 0},    {1899, 12, 29, 6, 0, 0}, {1900, 2, 28, 23, 59, 59},
                              {2000, 2, 29, 12, 30, 15}, {2024, 12, 31, 0, 0, 1}, {9999, 12, 31, 23, 59, 59}};
    for (const auto& s : samples) {
        const DateTime value(s[0], s[1], s[2], s[3], s[4], s[5]);
        ASSERT_TRUE(value.isValid());
        const auto parts = DateTime(value.days()).parts();
        ASSERT_TRUE(parts);
        EXPECT_EQ(parts->year, s[0]);
        EXPECT_EQ(parts->month, s[1]);
        EXPECT_EQ(parts->day, s[2]);
        EXPECT_EQ(parts->hour, s[3]);
        EXPECT_EQ(parts->minute, s[4]);
        EXPECT_EQ(parts->second, s[5]);
    }
}

TEST(DateTime, ImpossibleDatesAreInvalidAndHaveYearMinusOne)
{
    EXPECT_EQ(DateTime(0, 0, 0, 0, 0, 0).status(), ValueStatus::Invalid);
    EXPECT_FALSE(DateTime(2023, 2, 29).isValid());
    EXPECT_FALSE(DateTime(2024, 13, 1).isValid());
    EXPECT_FALSE(DateTime(99, 12, 31).isValid());
    EXPECT_FALSE(DateTime(2024, 1, 1, 24, 0, 0).isValid());
    EXPECT_FALSE(DateTime(3e7).isValid());
    EXPECT_EQ(DateTime::invalid().year(), -1);
    EXPECT_EQ(DateTime::null().year(), -1);
    EXPECT_EQ(DateTime(2004, 12, 25).year(), 2004);
}

TEST(DateTime, FormatsWithStrftimePatterns)
{
    std::setlocale(LC_TIME, "C");
    const DateTime date(2004, 12, 5, 9, 7, 3);
    EXPECT_EQ(date.format("%m/%d"), "12/05");
    EXPECT_EQ(date.format("%Y/%m/%d"), "2004/12/05");
    EXPECT_EQ(date.format("%d %B %Y"), "05 December 2004");
    EXPECT_EQ(date.format("%A"), "Sunday");
    EXPECT_EQ(DateTime::invalid().format("%Y/%m/%d"), "Invalid DateTime");
    EXPECT_EQ(DateTime::null().format("%Y/%m/%d"), "");
}

TEST(DateTime, IsoTextIsReadStrictly)
{
    EXPECT_EQ(DateTime::fromIsoText("2004-12-25 13:45:10"), DateTime(2004, 12, 25, 13, 45, 10));
    EXPECT_EQ(DateTime::fromIsoText("2004-12-25T13:45:10"), DateTime(2004, 12, 25, 13, 45, 10));
    EXPECT_EQ(DateTime::fromIsoText("2004-12-25"), DateTime(2004, 12, 25));
    EXPECT_EQ(DateTime(2004, 12, 25, 13, 45, 10).isoText(), "2004-12-25 13:45:10");
    for (const char* bad : {"", "2004-12-32", "2004-2-5", " 2004-12-25", "2004-12-25 1:00:00", "2004/12/25", "yesterday"})
        EXPECT_FALSE(DateTime::fromIsoText(bad).isValid()) << bad;
}
