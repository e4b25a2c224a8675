// Conversions between the day-count representation and calendar parts.
#include "platform/ole/DateTime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace ole {
namespace {

constexpr long kSecondsPerDay = 86400;

// Days from 1970-01-01 to the civil date (proleptic Gregorian), after H. Hinnant's algorithm.
long daysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long yy = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2 ? 1 : 0));
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

const long kEpochOffset = daysFromCivil(1899, 12, 30);  // the day-count origin, from 1970

}  // namespace

DateTime::DateTime(double days) : m_days(days)
{
    if (!std::isfinite(days) || days < kMinDays || days > kMaxDays)
        m_status = ValueStatus::Invalid;
}

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second)
{
    const bool valid = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                       day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 &&
                       minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
    if (!valid) {
        m_status = ValueStatus::Invalid;
        return;
    }
    const long wholeDays = daysFromCivil(year, static_cast<unsigned>(month),
                                         static_cast<unsigned>(day)) - kEpochOffset;
    const double fraction = (hour * 3600 + minute * 60 + second) / double(kSecondsPerDay);
    // Before the origin the time of day still counts forward: -1.25 is 29 Dec 1899 06:00.
    m_days = wholeDays >= 0 ? wholeDays + fraction : wholeDays - fraction;
}

DateTime DateTime::invalid()
{
    DateTime value;
    value.m_status = ValueStatus::Invalid;
    return value;
}

DateTime DateTime::null()
{
    DateTime value;
    value.m_status = ValueStatus::Null;
    return value;
}

DateTime DateTime::currentLocal()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec);
}

DateTime DateTime::fromIsoText(std::string_view text)
{
    // Fixed positions only: "YYYY-MM-DD" optionally followed by " HH:MM:SS" or "THH:MM:SS".
    const auto number = [&text](size_t at, size_t width, int& out) {
        out = 0;
        for (size_t i = at; i < at + width; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            out = out * 10 + (text[i] - '0');
        }
        return true;
    };
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (text.size() != 10 && text.size() != 19)
        return invalid();
    if (!number(0, 4, y) || text[4] != '-' || !number(5, 2, mo) || text[7] != '-' ||
        !number(8, 2, d))
        return invalid();
    if (text.size() == 10)
        return DateTime(y, mo, d);
    if ((text[10] != ' ' && text[10] != 'T') || !number(11, 2, h) || text[13] != ':' ||
        !number(14, 2, mi) || text[16] != ':' || !number(17, 2, s))
        return invalid();
    return DateTime(y, mo, d, h, mi, s);
}

std::optional<DateParts> DateTime::parts() const
{
    if (!isValid())
        return std::nullopt;
    double whole = std::trunc(m_days);
    long seconds = std::lround(std::fabs(m_days - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {  // rounding reached the next midnight
        seconds -= kSecondsPerDay;
        whole += 1;
    }
    DateParts p;
    const long civil = static_cast<long>(whole) + kEpochOffset;
    civilFromDays(civil, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    p.dayOfWeek = static_cast<int>(((civil % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    p.dayOfYear = static_cast<int>(civil - daysFromCivil(p.year, 1, 1) + 1);
    return p;
}

int DateTime::year() const
{
    const auto p = parts();
    return p ? p->year : -1;
}

int DateTime::month() const
{
    const auto p = parts();
    return p ? p->month : -1;
}

int DateTime::day() const
{
    const auto p = parts();
    return p ? p->day : -1;
}

std::string DateTime::format(const char* pattern) const
{
    if (m_status == ValueStatus::Null)
        return {};
    const auto p = parts();
    if (!p)
        return "Invalid DateTime";
    std::tm tm{};
    tm.tm_year = p->year - 1900;
    tm.tm_mon = p->month - 1;
    tm.tm_mday = p->day;
    tm.tm_hour = p->hour;
    tm.tm_min = p->minute;
    tm.tm_sec = p->second;
    tm.tm_wday = p->dayOfWeek;
    tm.tm_yday = p->dayOfYear - 1;
    char buffer[256];
    const size_t length = std::strftime(buffer, sizeof buffer, pattern, &tm);
    return std::string(buffer, length);
}

std::string DateTime::isoText() const
{
    const auto p = parts();
    if (!p)
        return {};
    // Written digit by digit: every stored date passes through here, and the fields are in range.
    std::string text = "0000-00-00 00:00:00";
    const auto put = [&text](std::size_t at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    };
    put(0, p->year, 4);
    put(5, p->month, 2);
    put(8, p->day, 2);
    put(11, p->hour, 2);
    put(14, p->minute, 2);
    put(17, p->second, 2);
    return text;
}

}  // namespace ole
