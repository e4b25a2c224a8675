// Moving values between dialog controls and dialog members, with the toolkit's standard
// refusals: a text longer than its limit ("Please enter no more than %1 characters.") and an
// amount that is no currency ("Please enter a currency."). A refusal shows its message, puts the
// focus (and the selection) in the control, and answers false so the dialog stays open.
#pragma once

#include <string>

#include <QString>

#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"

class QLineEdit;
class QWidget;
namespace ole {
class NumberLocale;
}

namespace ui {

class DatePicker;

class DataExchange {
public:
    // Loading: the edit takes the value and blocks typing beyond maxChars.
    static void LoadText(QLineEdit* edit, const std::string& value, int maxChars);
    static void LoadCurrency(QLineEdit* edit, const ole::Currency& value, const ole::NumberLocale& locale);

    // A date picker shows a date-time value (today when the value is not a valid date).
    static void LoadDateTime(DatePicker* picker, const ole::DateTime& value);

    // An edit that turns what is typed into upper case.
    static void UpperCase(QLineEdit* edit);
    // An edit that takes digits only, as a number field does.
    static void LoadInteger(QLineEdit* edit, long long value);

    // Saving: the member takes the edit's value, or the refusal is shown.
    static bool SaveText(QLineEdit* edit, std::string& value, int maxChars);
    // "Please enter an integer." when the edit holds no number; "Please enter an integer between
    // %1 and %2." when it lies outside min..max.
    static bool SaveInteger(QLineEdit* edit, long long& value, long long min, long long max);
    static bool SaveCurrency(QLineEdit* edit, ole::Currency& value, const ole::NumberLocale& locale);
    // The date the picker's text reads as, with its kept time. Refusals name the field by its
    // label (field): "Please enter a valid date in the %1 field, for example %2." for text that
    // is no whole, real date; "Please enter a year between 1900 and 2099 in the %1 field."
    static bool SaveDateTime(DatePicker* picker, ole::DateTime& value, const QString& field);

    // Shows a validation message (OK button) and moves the focus to the control.
    static void Refuse(QWidget* control, const QString& text, const QString& caption = {});
};

}  // namespace ui
