// DatePicker: a date field the user can type into freely. The text is the date in the locale's
// short form (DateText); what is typed stays as typed until the field is left, when a readable
// date is shown in that form again, so a typed date is exactly the date kept. Entering the field
// by Tab or by a click selects its text, so a whole date can be typed over it. Up and Down step
// the day, month or year under the cursor; Alt+Down, F4 or the button at its end opens a
// calendar. The time of day given with setDateTime() is kept and given back unchanged.
#pragma once

#include <QDateTime>
#include <QLineEdit>

#include "platform/ui/DateText.h"

class QCalendarWidget;

namespace ui {

class DatePicker : public QLineEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // What the text reads as (DateText::Read).
    DateText::Result Reading() const;
    // The date the text reads as; invalid when it reads as none in the years allowed.
    QDate date() const;
    void setDate(const QDate& date);
    // date() with the kept time of day.
    QDateTime dateTime() const;
    void setDateTime(const QDateTime& value);

    const DateText& Dates() const { return m_dates; }
    // The calendar, shown below the field; null until first opened.
    QCalendarWidget* Calendar() const { return m_pCalendar; }
    void ShowCalendar();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Step(int nDelta);
    void Tidy();

    DateText m_dates;                        // the locale's short date
    QTime m_time;                            // time of day kept with the date
    bool m_bSelectOnRelease = false;         // focus came by a click: select when it ends
    QCalendarWidget* m_pCalendar = nullptr;  // the drop-down calendar (a child popup)
};

}  // namespace ui
