// Short dates in digits: the locale's order and separators, and a forgiving but exact reading.
#include "platform/ui/DateText.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

// Marks that only steer right-to-left display; they are not typed.
QString WithoutDirectionMarks(QString text)
{
    for (const QChar mark : {QChar(0x200E), QChar(0x200F), QChar(0x061C)})
        text.remove(mark);
    return text;
}

}  // namespace

DateText::DateText(const QLocale& locale) { UseLocale(locale); }

void DateText::UseLocale(const QLocale& locale)
{
    // Anything but three numeric fields with separators between them keeps month/day/year.
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    std::vector<Part> parts;
    std::vector<QString> separators;
    QString literal;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == '\'') {  // quoted words ("г." and the like) are not typed
            const qsizetype close = format.indexOf('\'', i + 1);
            i = close < 0 ? format.size() : close + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        if (c == 'd' || c == 'M' || c == 'y') {
            if (c != 'y' && run > 2)
                return;  // a day or month name
            if (!parts.empty())
                separators.push_back(WithoutDirectionMarks(literal));
            literal.clear();
            parts.push_back({c == 'd' ? Field::Day : c == 'M' ? Field::Month : Field::Year, c != 'y' && run == 2});
        } else if (c.isLetter()) {
            return;  // an era, a weekday or another field that is not typed as a number
        } else {
            literal += format.mid(i, run);
        }
        i += run;
    }
    if (parts.size() != 3 || parts[0].field == parts[1].field || parts[1].field == parts[2].field ||
        parts[0].field == parts[2].field || separators[0].trimmed().isEmpty() || separators[1].trimmed().isEmpty())
        return;
    for (std::size_t i = 0; i < 3; ++i)
        m_parts[i] = parts[i];
    m_separators = {separators[0], separators[1]};
}

QString DateText::Text(const QDate& date) const
{
    if (!date.isValid())
        return {};
    QString text;
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        if (i > 0)
            text += m_separators[i - 1];
        const Part& part = m_parts[i];
        const int value = part.field == Field::Day ? date.day() : part.field == Field::Month ? date.month() : date.year();
        const int width = part.field == Field::Year ? 4 : part.padded ? 2 : 1;
        text += QString("%1").arg(value, width, 10, QChar('0'));
    }
    return text;
}

DateText::Result DateText::Read(const QString& text, const QDate& today) const
{
    struct Number {
        int value = 0;
        int digits = 0;
    };
    std::vector<Number> numbers;
    Number current;
    for (const QChar c : text) {
        if (c.isLetter())
            return {};  // words pasted in are not a date, whatever digits they hold
        if (c.isDigit()) {
            if (current.digits < 9)  // more digits than that make no date anyway
                current.value = current.value * 10 + c.digitValue();
            ++current.digits;
        } else if (current.digits > 0) {
            numbers.push_back(current);
            current = {};
        }
    }
    if (current.digits > 0)
        numbers.push_back(current);
    if (numbers.size() != 3)
        return {};

    Number day, month, year;
    for (std::size_t i = 0; i < 3; ++i)
        (m_parts[i].field == Field::Day ? day : m_parts[i].field == Field::Month ? month : year) = numbers[i];
    if (day.digits > 2 || month.digits > 2)
        return {};
    int fullYear = year.value;
    if (year.digits == 2) {
        fullYear += 2000;
        if (fullYear > today.year() + 20)
            fullYear -= 100;
    }
    if (month.value < 1 || month.value > 12)
        return {};
    // A year with no calendar of its own (0) is checked against any leap year's months.
    const int calendarYear = fullYear >= 1 && fullYear <= 9999 ? fullYear : 2000;
    if (day.value < 1 || day.value > QDate(calendarYear, month.value, 1).daysInMonth())
        return {};
    const QDate date(fullYear, month.value, day.value);
    if (fullYear < kFirstYear || fullYear > kLastYear)
        return {Reading::OutOfRange, date};
    return {Reading::Date, date};
}

DateText::Field DateText::FieldAt(const QString& text, int position) const
{
    const auto startsNumber = [&text](qsizetype i) { return text[i].isDigit() && (i == 0 || !text[i - 1].isDigit()); };
    int index = -1;
    for (qsizetype i = 0; i < std::min<qsizetype>(position, text.size()); ++i)
        if (startsNumber(i))
            ++index;
    if (position >= 0 && position < text.size() && startsNumber(position))
        ++index;  // the cursor stands just before a number: that one
    return m_parts[static_cast<std::size_t>(std::clamp(index, 0, 2))].field;
}

}  // namespace ui
