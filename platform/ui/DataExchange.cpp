// Dialog data exchange with the standard refusals.
#include "platform/ui/DataExchange.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "platform/ole/NumberLocale.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/MessageBox.h"

namespace ui {

void DataExchange::Refuse(QWidget* control, const QString& text, const QString& caption)
{
    MessageBox::Show(control ? control->window() : nullptr, text, caption, MessageBox::Buttons::Ok,
                     caption.isEmpty() ? MessageBox::Icon::Warning : MessageBox::Icon::None);
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

void DataExchange::LoadText(QLineEdit* edit, const std::string& value, int maxChars)
{
    edit->setMaxLength(maxChars);
    edit->setText(QString::fromStdString(value));
}

void DataExchange::LoadCurrency(QLineEdit* edit, const ole::Currency& value, const ole::NumberLocale& locale)
{
    edit->setText(QString::fromStdString(locale.formatCurrency(value)));
}

void DataExchange::LoadDateTime(DatePicker* picker, const ole::DateTime& value)
{
    const auto parts = value.parts();
    if (!parts) {
        picker->setDateTime(QDateTime::currentDateTime());
        return;
    }
    picker->setDateTime(QDateTime(QDate(parts->year, parts->month, parts->day), QTime(parts->hour, parts->minute, parts->second)));
}

bool DataExchange::SaveDateTime(DatePicker* picker, ole::DateTime& value, const QString& field)
{
    const DateText::Result read = picker->Reading();
    if (read.reading == DateText::Reading::OutOfRange) {
        Refuse(picker, QString("Please enter a year between %1 and %2 in the %3 field.")
                           .arg(DateText::kFirstYear)
                           .arg(DateText::kLastYear)
                           .arg(field));
        return false;
    }
    if (read.reading != DateText::Reading::Date) {
        // An example whose day cannot be taken for a month shows the order of the fields.
        const QString example = picker->Dates().Text(QDate(QDate::currentDate().year(), 12, 31));
        Refuse(picker, QString("Please enter a valid date in the %1 field, for example %2.").arg(field, example));
        return false;
    }
    const QDateTime chosen = picker->dateTime();
    value = ole::DateTime(chosen.date().year(), chosen.date().month(), chosen.date().day(), chosen.time().hour(),
                          chosen.time().minute(), chosen.time().second());
    return true;
}

bool DataExchange::SaveText(QLineEdit* edit, std::string& value, int maxChars)
{
    const QString text = edit->text();
    // Characters as a person counts them: code points, not UTF-16 units.
    if (text.toUcs4().size() > maxChars) {
        Refuse(edit, QString("Please enter no more than %1 characters.").arg(maxChars));
        return false;
    }
    value = text.toStdString();
    return true;
}

void DataExchange::UpperCase(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

void DataExchange::LoadInteger(QLineEdit* edit, long long value)
{
    if (!edit->validator())
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    edit->setText(QString::number(value));
}

bool DataExchange::SaveInteger(QLineEdit* edit, long long& value, long long min, long long max)
{
    bool ok = false;
    const long long number = edit->text().trimmed().toLongLong(&ok);
    if (!ok) {
        Refuse(edit, "Please enter an integer.");
        return false;
    }
    if (number < min || number > max) {
        Refuse(edit, QString("Please enter an integer between %1 and %2.").arg(min).arg(max));
        return false;
    }
    value = number;
    return true;
}

bool DataExchange::SaveCurrency(QLineEdit* edit, ole::Currency& value, const ole::NumberLocale& locale)
{
    const ole::Currency parsed = locale.parseCurrency(edit->text().toStdString());
    if (!parsed.isValid()) {
        Refuse(edit, "Please enter a currency.");
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace ui
