// The date field: free typing, stepping with the arrow keys, and the calendar pop-up.
#include "platform/ui/DatePicker.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <utility>

namespace ui {

namespace {

// The arrow a drop-down list shows, so the field reads as one that opens.
QIcon DropArrow(const QWidget& field)
{
    QPixmap arrow(12, 12);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    QStyleOption option;
    option.initFrom(&field);
    option.rect = arrow.rect();
    field.style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, &field);
    return QIcon(arrow);
}

}  // namespace

DatePicker::DatePicker(QWidget* parent) : QLineEdit(parent), m_time(0, 0)
{
    QAction* drop = addAction(DropArrow(*this), QLineEdit::TrailingPosition);
    drop->setObjectName("calendarAction");
    drop->setToolTip("Calendar (Alt+Down)");
    connect(drop, &QAction::triggered, this, &DatePicker::ShowCalendar);
}

DateText::Result DatePicker::Reading() const { return m_dates.Read(text()); }

QDate DatePicker::date() const
{
    const DateText::Result result = Reading();
    return result.reading == DateText::Reading::Date ? result.date : QDate();
}

void DatePicker::setDate(const QDate& date) { setText(m_dates.Text(date)); }

QDateTime DatePicker::dateTime() const { return QDateTime(date(), m_time); }

void DatePicker::setDateTime(const QDateTime& value)
{
    m_time = value.time();
    setDate(value.date());
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F4 || (event->key() == Qt::Key_Down && modifiers == Qt::AltModifier)) {
        ShowCalendar();
        return;
    }
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && modifiers == Qt::NoModifier) {
        Step(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DatePicker::Step(int nDelta)
{
    const DateText::Result read = Reading();
    const QDate from = read.date.isValid() ? read.date : QDate::currentDate();
    const int cursor = cursorPosition();
    QDate to;
    switch (m_dates.FieldAt(text(), cursor)) {
    case DateText::Field::Day: to = from.addDays(nDelta); break;
    case DateText::Field::Month: to = from.addMonths(nDelta); break;
    case DateText::Field::Year: to = from.addYears(nDelta); break;
    }
    to = std::clamp(to, DateText::FirstDate(), DateText::LastDate());
    setDate(to);
    setCursorPosition(std::min<int>(cursor, static_cast<int>(text().size())));
}

void DatePicker::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);  // Tab selects the whole text
    // A click would place the cursor where it lands; the first one selects instead, like Tab.
    m_bSelectOnRelease = event->reason() == Qt::MouseFocusReason;
}

void DatePicker::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (std::exchange(m_bSelectOnRelease, false) && !hasSelectedText())
        selectAll();
}

void DatePicker::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    m_bSelectOnRelease = false;
    if (event->reason() != Qt::PopupFocusReason)
        Tidy();
}

void DatePicker::Tidy()
{
    // A date read as typed ("03/05/26") is shown as the field writes it; anything else stays for
    // Save to refuse, so the user sees what was wrong.
    const QDate read = date();
    if (read.isValid() && m_dates.Text(read) != text())
        setDate(read);
}

void DatePicker::ShowCalendar()
{
    if (!m_pCalendar) {
        m_pCalendar = new QCalendarWidget(this);
        m_pCalendar->setWindowFlags(Qt::Popup);
        m_pCalendar->setObjectName("calendar");
        m_pCalendar->setDateRange(DateText::FirstDate(), DateText::LastDate());
        const auto take = [this](const QDate& chosen) {
            setDate(chosen);
            m_pCalendar->hide();
            setFocus(Qt::PopupFocusReason);
        };
        connect(m_pCalendar, &QCalendarWidget::clicked, this, take);
        connect(m_pCalendar, &QCalendarWidget::activated, this, take);
    }
    const QDate shown = Reading().date;
    m_pCalendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    m_pCalendar->adjustSize();
    QPoint at = mapToGlobal(QPoint(width() - m_pCalendar->width(), height()));
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - m_pCalendar->width())));
        if (at.y() + m_pCalendar->height() > room.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - m_pCalendar->height());
    }
    m_pCalendar->move(at);
    m_pCalendar->show();
    m_pCalendar->setFocus(Qt::PopupFocusReason);
}

}  // namespace ui
