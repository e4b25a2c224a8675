// DateText: a date as the user reads and types it: the locale's short date in digits, with a
// four-digit year (month/day/year where the locale has no numeric short date, as in C). Reading
// is forgiving about how it is typed (leading zeros or not, any separators, a two-digit year)
// and strict about what it means: three numbers that make a real date in 1900 to 2099, nothing
// less, nothing else.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <array>

namespace ui {

class DateText {
public:
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2099;
    static QDate FirstDate() { return {kFirstYear, 1, 1}; }
    static QDate LastDate() { return {kLastYear, 12, 31}; }

    enum class Field { Day, Month, Year };
    enum class Reading {
        Date,        // a date in the years allowed
        Invalid,     // incomplete, impossible, or not a date at all
        OutOfRange,  // a real date outside kFirstYear..kLastYear
    };
    struct Result {
        Reading reading = Reading::Invalid;
        QDate date;  // the date read (also for OutOfRange)
    };

    explicit DateText(const QLocale& locale = QLocale());

    QString Text(const QDate& date) const;
    // today places a two-digit year: in this century unless that is more than 20 years ahead.
    Result Read(const QString& text, const QDate& today = QDate::currentDate()) const;
    // The field whose digits are at (or just before) a cursor position in text.
    Field FieldAt(const QString& text, int position) const;

private:
    struct Part {
        Field field;
        bool padded;  // day or month with a leading zero
    };
    void UseLocale(const QLocale& locale);

    std::array<Part, 3> m_parts{{{Field::Month, false}, {Field::Day, false}, {Field::Year, false}}};
    std::array<QString, 2> m_separators{{"/", "/"}};
};

}  // namespace ui
