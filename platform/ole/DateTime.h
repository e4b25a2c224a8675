// Date-time value: a double counting days since 30 December 1899 (the fraction is the time of
// day), with a valid / invalid / null status. Years 100 to 9999 are representable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ole/Currency.h"

namespace ole {

struct DateParts {
    int year = 0;    // 100..9999
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
    int dayOfWeek = 0;  // 0 = Sunday
    int dayOfYear = 0;  // 1..366
};

class DateTime {
public:
    static constexpr double kMinDays = -657434.0;           // 1 January 100
    static constexpr double kMaxDays = 2958465.999988426;   // 31 December 9999 23:59:59

    DateTime() = default;  // 0.0 = 30 December 1899 00:00:00, valid
    explicit DateTime(double days);
    // Builds from calendar parts; out-of-range parts give an invalid value (as year 0 does).
    DateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    static DateTime invalid();
    static DateTime null();
    static DateTime currentLocal();
    // Reads "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (also with a 'T'); anything else is invalid.
    static DateTime fromIsoText(std::string_view text);

    double days() const { return m_days; }
    ValueStatus status() const { return m_status; }
    bool isValid() const { return m_status == ValueStatus::Valid; }

    std::optional<DateParts> parts() const;  // empty unless valid
    int year() const;    // -1 unless valid
    int month() const;   // -1 unless valid
    int day() const;     // -1 unless valid

    // strftime-style formatting ("%m/%d", "%Y/%m/%d", "%d %B %Y") in the C library's current
    // time locale. An invalid value gives "Invalid DateTime", a null one an empty text.
    std::string format(const char* pattern) const;
    // "YYYY-MM-DD HH:MM:SS", the form the database stores; empty unless valid.
    std::string isoText() const;

    friend bool operator==(const DateTime&, const DateTime&) = default;

private:
    double m_days = 0.0;                        // days since 1899-12-30, fraction = time of day
    ValueStatus m_status = ValueStatus::Valid;  // whether m_days means anything
};

}  // namespace ole
