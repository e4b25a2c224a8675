// The date field: what typed text reads as in the locale's short form and in C, how dates are
// shown, and typing, stepping and the calendar in the real widget.
#include <QtTest>

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>

#include "platform/ui/DatePicker.h"
#include "platform/ui/DateText.h"

using ui::DatePicker;
using ui::DateText;
using Reading = DateText::Reading;

namespace {

const QDate kToday(2026, 12, 8);

// A window with the date field between two edits, so Tab can enter and leave it.
struct Form {
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    DatePicker* picker = new DatePicker(&window);
    QLineEdit* after = new QLineEdit(&window);

    Form()
    {
        auto* row = new QHBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(before), static_cast<QWidget*>(picker), static_cast<QWidget*>(after)})
            row->addWidget(w);
        picker->setDate(kToday);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
    }
};

}  // namespace

class DateFieldTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void typedTextReadsAsExactlyThatDate()
    {
        struct Case {
            const char* locale;
            const char* typed;
            Reading reading;
            QDate date;  // for Date and OutOfRange
        };
        const Case cases[] = {
            {"C", "3/15/2026", Reading::Date, {2026, 3, 15}},
            {"C", "9/7/2025", Reading::Date, {2025, 9, 7}},
            {"C", "03/05/2026", Reading::Date, {2026, 3, 5}},
            {"C", " 3-15-2026 ", Reading::Date, {2026, 3, 15}},
            {"C", "2/29/2024", Reading::Date, {2024, 2, 29}},
            {"C", "1/1/1900", Reading::Date, {1900, 1, 1}},
            {"C", "12/31/2099", Reading::Date, {2099, 12, 31}},
            // Two-digit years fall in this century unless that is over 20 years ahead.
            {"C", "3/15/26", Reading::Date, {2026, 3, 15}},
            {"C", "3/15/46", Reading::Date, {2046, 3, 15}},
            {"C", "3/15/47", Reading::Date, {1947, 3, 15}},
            {"C", "2/30/2026", Reading::Invalid, {}},
            {"C", "2/29/2025", Reading::Invalid, {}},
            {"C", "13/1/2026", Reading::Invalid, {}},
            {"C", "0/0/0", Reading::Invalid, {}},
            {"C", "3", Reading::Invalid, {}},
            {"C", "3/15", Reading::Invalid, {}},
            {"C", "3/15/2026/1", Reading::Invalid, {}},
            {"C", "003/15/2026", Reading::Invalid, {}},
            {"C", "March 15, 2026", Reading::Invalid, {}},
            {"C", "3/15/2O26", Reading::Invalid, {}},
            {"C", "", Reading::Invalid, {}},
            {"C", "3/15/3152", Reading::OutOfRange, {3152, 3, 15}},
            {"C", "9/8/7202", Reading::OutOfRange, {7202, 9, 8}},
            {"C", "12/31/1899", Reading::OutOfRange, {1899, 12, 31}},
            {"C", "1/1/2100", Reading::OutOfRange, {2100, 1, 1}},
            {"C", "3/15/202", Reading::OutOfRange, {202, 3, 15}},
            {"en_US", "3/15/2026", Reading::Date, {2026, 3, 15}},
            {"de_DE", "15.3.2026", Reading::Date, {2026, 3, 15}},
            {"de_DE", "15.03.26", Reading::Date, {2026, 3, 15}},
            {"de_DE", "3/15/2026", Reading::Invalid, {}},
            {"de_DE", "29.02.2100", Reading::Invalid, {}},
            {"sv_SE", "2026-3-15", Reading::Date, {2026, 3, 15}},
            {"ja_JP", "2026/03/15", Reading::Date, {2026, 3, 15}},
        };
        for (const Case& c : cases) {
            const DateText dates{QLocale(c.locale)};
            const DateText::Result read = dates.Read(c.typed, kToday);
            const QString what = QString("%1 '%2'").arg(c.locale, c.typed);
            QVERIFY2(read.reading == c.reading, qPrintable(what));
            if (c.reading != Reading::Invalid)
                QVERIFY2(read.date == c.date, qPrintable(what + " read as " + read.date.toString(Qt::ISODate)));
        }
    }

    void datesAreShownInTheLocalesDigitsWithAFourDigitYear()
    {
        const QDate date(2026, 3, 5);
        const std::pair<const char*, const char*> cases[] = {
            {"C", "3/5/2026"},          // the locale has no numeric short date: month/day/year
            {"en_US", "3/5/2026"},      // "M/d/yy", the year widened
            {"de_DE", "05.03.2026"},    {"en_GB", "05/03/2026"}, {"sv_SE", "2026-03-05"},
            {"ko_KR", "2026. 3. 5"},    // the separators as the locale writes them
            {"bg_BG", "5.03.2026"},     // its quoted word left out
            {"ar_EG", "5/3/2026"},      // direction marks left out, digits as typed
        };
        for (const auto& [locale, shown] : cases) {
            const DateText dates{QLocale(locale)};
            QCOMPARE(dates.Text(date), QString(shown));
            QCOMPARE(dates.Read(shown, kToday).date, date);  // and it reads back
        }
    }

    void theFieldUnderTheCursor()
    {
        const DateText dates{QLocale::c()};
        using F = DateText::Field;
        const std::pair<int, F> cases[] = {{0, F::Month}, {1, F::Month}, {2, F::Day}, {4, F::Day}, {5, F::Year}, {9, F::Year}};
        for (const auto& [position, field] : cases)
            QVERIFY2(dates.FieldAt("3/15/2026", position) == field, qPrintable(QString::number(position)));
    }

    void aDateTypedAfterTabOrAClickIsTheDateKept()
    {
        for (const char* locale : {"C", "de_DE"}) {
            QLocale::setDefault(QLocale(locale));
            const bool german = QString(locale) == "de_DE";
            const QString typed = german ? "15.3.2026" : "3/15/2026";
            const QString shown = german ? "15.03.2026" : "3/15/2026";
            {
                Form f;
                QTest::keyClick(f.before, Qt::Key_Tab);
                QVERIFY(f.picker->hasFocus());
                QTest::keyClicks(f.picker, typed);
                QTest::keyClick(f.picker, Qt::Key_Tab);
                QCOMPARE(f.picker->text(), shown);
                QCOMPARE(f.picker->date(), QDate(2026, 3, 15));
            }
            {
                Form f;
                QTest::mouseClick(f.picker, Qt::LeftButton, {}, QPoint(5, f.picker->height() / 2));
                QVERIFY(f.picker->hasFocus());
                QTest::keyClicks(f.picker, german ? "7.9.25" : "9/7/25");
                QCOMPARE(f.picker->date(), QDate(2025, 9, 7));
                // A second click places the cursor; typing over a selection replaces it.
                QTest::mouseClick(f.picker, Qt::LeftButton, {}, QPoint(5, f.picker->height() / 2));
                QVERIFY(!f.picker->hasSelectedText());
                f.picker->selectAll();
                QTest::keyClicks(f.picker, typed);
                QCOMPARE(f.picker->date(), QDate(2026, 3, 15));
            }
        }
    }

    void leavingTheFieldShowsAReadableDateInItsFormAndKeepsAnythingElse()
    {
        Form f;
        f.picker->setFocus();
        f.picker->setText("03/05/26");
        QTest::keyClick(f.picker, Qt::Key_Tab);
        QCOMPARE(f.picker->text(), QString("3/5/2026"));
        f.picker->setFocus();
        f.picker->setText("2/30/2026");
        QTest::keyClick(f.picker, Qt::Key_Tab);
        QCOMPARE(f.picker->text(), QString("2/30/2026"));
        QVERIFY(!f.picker->date().isValid());
        QCOMPARE(f.picker->Reading().reading, Reading::Invalid);
    }

    void arrowKeysStepTheFieldUnderTheCursor()
    {
        Form f;
        f.picker->setFocus();
        f.picker->setDate(QDate(2026, 1, 31));  // "1/31/2026"
        f.picker->setCursorPosition(0);
        QTest::keyClick(f.picker, Qt::Key_Up);
        QCOMPARE(f.picker->date(), QDate(2026, 2, 28));
        f.picker->setCursorPosition(3);  // in the day
        QTest::keyClick(f.picker, Qt::Key_Up);
        QCOMPARE(f.picker->date(), QDate(2026, 3, 1));
        f.picker->setCursorPosition(f.picker->text().size());  // in the year
        QTest::keyClick(f.picker, Qt::Key_Down);
        QCOMPARE(f.picker->date(), QDate(2025, 3, 1));
        f.picker->setDate(QDate(2099, 12, 31));
        QTest::keyClick(f.picker, Qt::Key_Up);
        QCOMPARE(f.picker->date(), QDate(2099, 12, 31));  // no further than the last year allowed
    }

    void theCalendarSetsTheDateAndKeepsTheTime()
    {
        Form f;
        f.picker->setDateTime(QDateTime(QDate(2026, 3, 15), QTime(14, 30)));
        f.picker->setFocus();
        QTest::keyClick(f.picker, Qt::Key_Down, Qt::AltModifier);
        QCalendarWidget* calendar = f.picker->Calendar();
        QVERIFY(calendar && calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 15));
        calendar->setSelectedDate(QDate(2026, 4, 2));
        emit calendar->activated(calendar->selectedDate());
        QVERIFY(!calendar->isVisible());
        QCOMPARE(f.picker->text(), QString("4/2/2026"));
        QCOMPARE(f.picker->dateTime(), QDateTime(QDate(2026, 4, 2), QTime(14, 30)));
    }
};

QTEST_MAIN(DateFieldTest)
#include "DateFieldTest.moc"
