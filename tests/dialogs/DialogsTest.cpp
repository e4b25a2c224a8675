// The expense dialogs, the status dialog and the two-column lookup list, driven as a user would:
// what they show, how they follow the chosen type, the order and texts of their refusals, and
// the row they write.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ole/FormatAmount.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/CCodeDescCombo.h"
#include "dialogs/CExpEditDlg.h"
#include "dialogs/CExpenseDlg.h"
#include "dialogs/CStatusDlg.h"
#include "platform/ui/DatePicker.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Fixture {
    TestDatabase db;
    CADODataBase connection;
    MessageLog messages;

    Fixture()
    {
        SetAmountLocale(ole::NumberLocale(".", ","));
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES "
                "(12, 'TRVL', 'Travel', 2), (20, 'OFFC', 'Office', 1), (21, 'UTIL', 'Utilities', 1)");
        db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES "
                "(12, 'FUEL', 'Gas and oil'), (12, 'MEALS', 'Meals'), (20, 'SUPPLIES', 'Supplies'), (1, 'STATE', 'State')");
        db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Visa card'), ('amex', 'American Express')");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName, Active) VALUES (7, 'Zed', 1), (8, 'Birch', 0), (9, 'Acme', 1)");
        if (!connection.Open(db.path()))
            qFatal("cannot open the test database");
    }
};

template <typename T>
T* child(QWidget* dialog, const char* name)
{
    T* widget = dialog->findChild<T*>(name);
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void selectCode(CCodeDescCombo* combo, const char* code) { combo->setCurrentIndex(combo->FindPrefix(code)); }

QStringList itemsOf(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void codeDescComboKeepsRecordsAndMeasuresItsColumns()
    {
        CCodeDescCombo combo;
        combo.SetSorted(true);
        QCOMPARE(combo.AddItem("VISA", "Visa card", 3), 0);
        QCOMPARE(combo.AddItem("amex", "American Express", 1), 0);
        QCOMPARE(combo.AddItem("CASH", "Cash", 2), 1);
        QCOMPARE(itemsOf(&combo), QStringList({"amex", "CASH", "VISA"}));
        QCOMPARE(combo.SelectedValue(), -1);
        QCOMPARE(combo.SelectedCode(), std::string());
        QCOMPARE(combo.FindValue(3), 2);
        QCOMPARE(combo.FindValue(9), -1);
        QCOMPARE(combo.SelectPrefix("ca"), 1);
        QCOMPARE(combo.SelectedCode(), std::string("CASH"));
        QCOMPARE(combo.SelectedValue(), 2);
        QCOMPARE(combo.SelectPrefix("X"), -1);
        QCOMPARE(combo.currentIndex(), -1);

        combo.AdjustWidths();
        const QFontMetrics metrics(combo.font());
        QCOMPARE(combo.Spacing(), metrics.horizontalAdvance('W'));
        QVERIFY(combo.CodeColumnWidth() >= metrics.horizontalAdvance("VISA") + combo.Spacing());
        QVERIFY(combo.DescriptionColumnWidth() > metrics.horizontalAdvance("American Express") + combo.Spacing());
        QCOMPARE(combo.MaxCodeLength(), 4);
        QCOMPARE(combo.DividerPen().width(), 1);

        CCodeDescCombo unsorted;
        unsorted.AddItem("B", "", 0);
        unsorted.AddItem("A", "", 0);
        QCOMPARE(itemsOf(&unsorted), QStringList({"B", "A"}));
    }

    void expenseDialogOpensOnTheLowestType()
    {
        Fixture f;
        CExpenseDlg dialog(f.connection);
        QCOMPARE(dialog.windowTitle(), QString("Expense"));
        QCOMPARE(dialog.TypeCombo()->SelectedCode(), std::string("TAX"));
        QCOMPARE(itemsOf(dialog.TypeCombo()), QStringList({"TAX", "EST", "TRVL", "OFFC", "UTIL"}));
        QCOMPARE(itemsOf(dialog.CategoryCombo()), QStringList({"GENERAL"}));
        QCOMPARE(dialog.CategoryCombo()->SelectedCode(), std::string("GENERAL"));  // the only one
        QCOMPARE(itemsOf(dialog.AccountCombo()), QStringList({"amex", "CASH", "VISA"}));
        QVERIFY(!child<QCheckBox>(&dialog, "reimbursableCheckBox")->isEnabled());
        QVERIFY(!child<QComboBox>(&dialog, "projectCombo")->isEnabled());
        QCOMPARE(child<QLineEdit>(&dialog, "amountEdit")->text(), QString("0.00"));
        QCOMPARE(child<ui::DatePicker>(&dialog, "datePicker")->date(), QDate::currentDate());
    }

    void expenseDialogFollowsTheType()
    {
        Fixture f;
        CExpenseDlg dialog(f.connection);
        auto* check = child<QCheckBox>(&dialog, "reimbursableCheckBox");
        auto* projects = child<QComboBox>(&dialog, "projectCombo");
        auto* projectLabel = child<QLabel>(&dialog, "projectLabel");
        const int year = QDate::currentDate().year();

        selectCode(dialog.TypeCombo(), "EST");
        QCOMPARE(projectLabel->text(), QString("Tax &Year:"));
        QCOMPARE(itemsOf(projects), QStringList({QString::number(year - 1), QString::number(year)}));
        QCOMPARE(projects->currentText(), QString::number(year));
        QVERIFY(!check->isEnabled());

        selectCode(dialog.TypeCombo(), "TRVL");
        QCOMPARE(projectLabel->text(), QString("&Project:"));
        QVERIFY(check->isEnabled() && check->isChecked());
        QCOMPARE(itemsOf(projects), QStringList({"Acme", "Zed"}));  // active ones, by name
        QCOMPARE(projects->currentIndex(), -1);
        QCOMPARE(itemsOf(dialog.CategoryCombo()), QStringList({"FUEL", "MEALS"}));
        QCOMPARE(dialog.CategoryCombo()->currentIndex(), -1);

        selectCode(dialog.TypeCombo(), "OFFC");
        QVERIFY(!check->isEnabled() && !check->isChecked());
        QCOMPARE(projectLabel->text(), QString("Tax &Year:"));
        QVERIFY(projects->isEnabled());
        QCOMPARE(dialog.CategoryCombo()->SelectedCode(), std::string("SUPPLIES"));

        selectCode(dialog.TypeCombo(), "TAX");
        QVERIFY(!projects->isEnabled());
        QCOMPARE(projects->currentIndex(), -1);
    }

    void expenseDialogChecksInItsOrder()
    {
        Fixture f;
        CExpenseDlg dialog(f.connection);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* save = child<QPushButton>(&dialog, "saveButton");
        auto* item = child<QLineEdit>(&dialog, "itemEdit");
        auto* detail = child<QLineEdit>(&dialog, "detailEdit");
        auto* amount = child<QLineEdit>(&dialog, "amountEdit");
        auto* projects = child<QComboBox>(&dialog, "projectCombo");
        selectCode(dialog.TypeCombo(), "TRVL");

        const auto expectRefusal = [&](const QString& text, const QString& caption, QWidget* focused) {
            f.messages.clear();
            save->click();
            QCOMPARE(f.messages.texts(), QStringList({text}));
            QCOMPARE(f.messages.shown().front().caption, caption);
            QVERIFY(dialog.isVisible());
            QVERIFY2(focused->hasFocus(), qPrintable(text));
        };
        amount->setText("twelve");
        expectRefusal("Please enter a currency.", "Quillmar", amount);
        amount->setText("0");
        expectRefusal("Please select Project.", "Required field missing.", projects);
        projects->setCurrentIndex(0);
        expectRefusal("Please select Category.", "Required field missing.", dialog.CategoryCombo());
        selectCode(dialog.CategoryCombo(), "FUEL");
        expectRefusal("Please select How Paid (Account).", "Required field missing.", dialog.AccountCombo());
        selectCode(dialog.AccountCombo(), "VISA");
        expectRefusal("Please enter expense Item.", "Required field missing.", item);
        item->setText("Gas");
        expectRefusal("Please enter Detail for item.", "Required field missing.", detail);
        detail->setText("Trip");
        expectRefusal("Please enter expense Amount.", "Required field missing.", amount);
        amount->setText("-12.50");
        f.messages.clear();
        save->click();
        QVERIFY(f.messages.shown().empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_cyAmount, ole::Currency::fromCents(-1250));
        QCOMPARE(dialog.m_lProjectID, 9);  // Acme
    }

    void noTypeSelectedIsRefusedFirst()
    {
        Fixture f;
        CExpenseDlg dialog(f.connection);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.TypeCombo()->setCurrentIndex(-1);
        child<QPushButton>(&dialog, "saveButton")->click();
        QCOMPARE(f.messages.texts(), QStringList({"Please select Expense Type."}));
        QCOMPARE(f.messages.shown().front().caption, QString("Required field invalid/missing."));
        QCOMPARE(dialog.TypeCombo()->currentIndex(), 0);
        QVERIFY(dialog.TypeCombo()->hasFocus());
    }

    void textLimitsBlockTyping()
    {
        Fixture f;
        CExpenseDlg dialog(f.connection);
        auto* item = child<QLineEdit>(&dialog, "itemEdit");
        QTest::keyClicks(item, "123456789012345678901");
        QCOMPARE(item->text(), QString("12345678901234567890"));
        auto* check = child<QLineEdit>(&dialog, "checkNumberEdit");
        QTest::keyClicks(check, "12345678");
        QCOMPARE(check->text(), QString("123456"));
        QCOMPARE(child<QLineEdit>(&dialog, "vendorEdit")->maxLength(), 20);
        QCOMPARE(child<QLineEdit>(&dialog, "detailEdit")->maxLength(), 80);
    }

    void storedRowFollowsTheComposition_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("reimbursed");
        QTest::addColumn<QString>("expected");  // ExpType/TypeComp/Reimburse/Status/ProjectID
        const QString year = QString::number(QDate::currentDate().year());
        QTest::newRow("reimbursable, ticked") << "TRVL" << true << "12/2/1/1/9";
        QTest::newRow("reimbursable, unticked") << "TRVL" << false << "12/2/0/0/9";
        QTest::newRow("by year") << "OFFC" << false << "20/1/0/0/" + year;
        QTest::newRow("estimated tax") << "EST" << false << "1/0/0/0/" + year;
        QTest::newRow("tax deductible") << "TAX" << false << "0/0/0/0/" + year;
    }

    void storedRowFollowsTheComposition()
    {
        QFETCH(QString, type);
        QFETCH(bool, reimbursed);
        QFETCH(QString, expected);
        Fixture f;
        f.db.exec("CREATE TRIGGER statusUntouched BEFORE INSERT ON Expenses WHEN NEW.Status IS NULL "
                  "BEGIN SELECT RAISE(ABORT, 'status left null'); END");
        CExpenseDlg dialog(f.connection);
        selectCode(dialog.TypeCombo(), type.toLatin1().constData());
        dialog.CategoryCombo()->setCurrentIndex(0);
        child<QCheckBox>(&dialog, "reimbursableCheckBox")->setChecked(reimbursed);
        auto* projects = child<QComboBox>(&dialog, "projectCombo");
        projects->setCurrentIndex(0);  // Acme, or last year: the date's year is stored all the same
        selectCode(dialog.AccountCombo(), "amex");
        child<QLineEdit>(&dialog, "itemEdit")->setText("Café \"Zum\", Ltd");
        child<QLineEdit>(&dialog, "detailEdit")->setText("O'Neil's, 2 × lunch");
        child<QLineEdit>(&dialog, "amountEdit")->setText("1,234.56");
        child<QPushButton>(&dialog, "saveButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        CAdoRecordset rs(&f.connection);
        QVERIFY(rs.OpenTable("Expenses"));
        QVERIFY2(dialog.Row().StoreNew(rs), rs.m_strLastError.c_str());
        QCOMPARE(QString::fromStdString(f.db.scalar("SELECT ExpType || '/' || TypeComp || '/' || Reimburse || '/' || Status || '/' || ProjectID FROM Expenses")),
                 expected);
        QCOMPARE(f.db.scalar("SELECT Item || '|' || Detail || '|' || Amount || '|' || AcctCode || '|' || (ExpYear = CAST(strftime('%Y', ExpDate) AS INTEGER)) FROM Expenses"),
                 std::string("Café \"Zum\", Ltd|O'Neil's, 2 × lunch|12345600|amex|1"));
        QCOMPARE(f.db.scalar("SELECT quote(Vendor) || quote(ChkNbr) FROM Expenses"), std::string("NULLNULL"));
    }

    void unreadableLookupLeavesItsListEmpty()
    {
        Fixture f;
        f.db.exec("DROP TABLE lkpAccounts");
        CExpenseDlg dialog(f.connection);
        QCOMPARE(dialog.AccountCombo()->count(), 0);
        child<QLineEdit>(&dialog, "amountEdit")->setText("5");
        child<QPushButton>(&dialog, "saveButton")->click();
        QCOMPARE(f.messages.texts(), QStringList({"Please select How Paid (Account)."}));
    }

    void editDialogOfAnOrdinaryRow()
    {
        Fixture f;
        f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Detail, Amount, Reimburse, Status, ProjectID, TypeComp, AcctCode) "
                  "VALUES (20, 'SUPPLIES', '2004-06-01 00:00:00', 2004, 'Ink', 'Printer', 123456, 0, 5, 2004, 1, 'CASH')");
        CAdoRecordset rs(&f.connection), statuses(&f.connection);
        QVERIFY(rs.OpenTable("Expenses"));
        statuses.m_strSort = "Status ASC";
        QVERIFY(statuses.OpenTable("lkpExpBillStatus"));
        CExpEditDlg dialog(f.connection, rs, statuses, "OFFC: 2004", "SUPPLIES");
        QCOMPARE(dialog.windowTitle(), QString("Edit Expense"));
        QCOMPARE(child<QLineEdit>(&dialog, "groupEdit")->text(), QString("OFFC: 2004"));
        QVERIFY(child<QLineEdit>(&dialog, "groupEdit")->isReadOnly());
        QCOMPARE(child<QLineEdit>(&dialog, "amountEdit")->text(), QString("12.35"));
        QVERIFY(!child<QCheckBox>(&dialog, "reimbursableCheckBox")->isEnabled());
        QVERIFY(!child<QWidget>(&dialog, "statusCombo")->isEnabled());
        QCOMPARE(child<CCodeDescCombo>(&dialog, "accountCombo")->SelectedCode(), std::string("CASH"));
        QCOMPARE(child<CCodeDescCombo>(&dialog, "categoryCombo")->SelectedCode(), std::string("SUPPLIES"));

        // Only the date changes: the row follows it into 2005 (its year, and the year it is filed
        // under), and the status of a type that is not reimbursable is left alone.
        child<ui::DatePicker>(&dialog, "datePicker")->setDate(QDate(2005, 3, 4));
        child<QPushButton>(&dialog, "saveButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.db.scalar("SELECT date(ExpDate) || '/' || ExpYear || '/' || ProjectID || '/' || Reimburse || '/' || Status || '/' || Amount FROM Expenses"),
                 std::string("2005-03-04/2005/2005/0/5/123500"));
    }

    void editDialogReimbursementAndStatus()
    {
        Fixture f;
        f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Detail, Amount, Reimburse, Status, ProjectID, TypeComp, AcctCode) VALUES "
                  "(12, 'FUEL', '2004-12-25 00:00:00', 'Gas', 'Trip', 123400, 1, 2, 7, 2, 'VISA'),"
                  "(12, 'MEALS', '2004-12-26 00:00:00', 'Lunch', 'Bob', 50000, 1, 0, 7, 2, 'GONE'),"
                  "(12, 'OLDCAT', '2004-12-27 00:00:00', 'Taxi', 'Ride', 70000, 0, 0, 7, 2, 'VISA')");
        CAdoRecordset rs(&f.connection), statuses(&f.connection);
        rs.m_strSort = "ExpID";
        QVERIFY(rs.OpenTable("Expenses"));
        statuses.m_strSort = "Status ASC";
        QVERIFY(statuses.OpenTable("lkpExpBillStatus"));

        {   // reimbursed with SU: the status is selected; status 0 is never listed
            CExpEditDlg dialog(f.connection, rs, statuses, "Zed", "FUEL");
            auto* status = child<CCodeDescCombo>(&dialog, "statusCombo");
            QVERIFY(status->isEnabled());
            QCOMPARE(itemsOf(status), QStringList({"IN", "SU", "PD"}));
            QCOMPARE(status->SelectedCode(), std::string("SU"));
            child<QCheckBox>(&dialog, "reimbursableCheckBox")->click();  // unticked
            QCOMPARE(status->currentIndex(), -1);
            QVERIFY(status->isEnabled());
            child<QPushButton>(&dialog, "saveButton")->click();
            QCOMPARE(f.db.scalar("SELECT Reimburse || '/' || Status FROM Expenses WHERE Item='Gas'"), std::string("0/-1"));
        }
        rs.MoveNext();
        {   // reimbursed with status 0: nothing selected; an unknown account keeps its code
            CExpEditDlg dialog(f.connection, rs, statuses, "Zed", "MEALS");
            QCOMPARE(child<CCodeDescCombo>(&dialog, "statusCombo")->currentIndex(), -1);
            QCOMPARE(child<CCodeDescCombo>(&dialog, "accountCombo")->currentIndex(), -1);
            child<QPushButton>(&dialog, "saveButton")->click();
            QCOMPARE(f.db.scalar("SELECT AcctCode || '/' || Status FROM Expenses WHERE Item='Lunch'"), std::string("GONE/-1"));
        }
        rs.MoveNext();
        {   // ticking the box on a row without status selects IN; a category the list lacks is kept
            CExpEditDlg dialog(f.connection, rs, statuses, "Zed", "OLDCAT");
            auto* status = child<CCodeDescCombo>(&dialog, "statusCombo");
            auto* reimbursed = child<QCheckBox>(&dialog, "reimbursableCheckBox");
            QVERIFY(!status->isEnabled());
            reimbursed->click();
            QCOMPARE(status->SelectedCode(), std::string("IN"));
            QCOMPARE(dialog.m_strStatusCode, std::string("IN"));
            // A status the user chose comes back when the box is unticked and ticked again.
            status->setCurrentIndex(status->FindPrefix("PD"));
            reimbursed->click();
            QCOMPARE(status->currentIndex(), -1);
            reimbursed->click();
            QCOMPARE(status->SelectedCode(), std::string("PD"));
            status->setCurrentIndex(status->FindPrefix("IN"));
            child<QPushButton>(&dialog, "saveButton")->click();
            QCOMPARE(f.db.scalar("SELECT Reimburse || '/' || Status || '/' || ExpCat FROM Expenses WHERE Item='Taxi'"), std::string("1/1/OLDCAT"));
        }
    }

    void aTypedDateIsTheDateSavedOrIsRefusedNamingItsField()
    {
        const int year = QDate::currentDate().year();
        const QString invalid = "Please enter a valid date in the %1 field, for example 12/31/" + QString::number(year) + ".";
        const QString range = "Please enter a year between 1900 and 2099 in the %1 field.";
        struct Case {
            const char* locale;
            const char* typed;
            QDate saved;      // none: refused with message
            QString message;  // %1: the field's name
        };
        const Case cases[] = {
            {"C", "3/15/2026", {2026, 3, 15}, {}},
            {"C", "09/07/2025", {2025, 9, 7}, {}},
            {"de_DE", "15.3.2026", {2026, 3, 15}, {}},
            {"de_DE", "3/15/2026", {}, "Please enter a valid date in the %1 field, for example 31.12." + QString::number(year) + "."},
            {"C", "2/30/2026", {}, invalid},
            {"C", "13/1/2026", {}, invalid},
            {"C", "0/0/0", {}, invalid},
            {"C", "3", {}, invalid},
            {"C", "3/15/2026 noon", {}, invalid},
            {"C", "3/15/3152", {}, range},
            {"C", "9/8/7202", {}, range},
        };
        for (const Case& c : cases) {
            for (const bool edit : {false, true}) {
                QLocale::setDefault(QLocale(c.locale));
                Fixture f;
                f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Detail, Amount, ProjectID, TypeComp) "
                          "VALUES (20, 'SUPPLIES', '2004-06-01 10:20:30', 2004, 'Ink', 'Printer', 10000, 2004, 1)");
                CAdoRecordset rs(&f.connection), statuses(&f.connection);
                QVERIFY(rs.OpenTable("Expenses"));
                std::optional<ExpenseRow> added;
                std::unique_ptr<QDialog> dialog;
                if (edit) {
                    dialog = std::make_unique<CExpEditDlg>(f.connection, rs, statuses, "OFFC: 2004", "SUPPLIES");
                } else {
                    auto entry = std::make_unique<CExpenseDlg>(f.connection);
                    entry->SetStore([&added](const ExpenseRow& row, std::string&) { added = row; return true; });
                    selectCode(entry->AccountCombo(), "VISA");
                    child<QLineEdit>(entry.get(), "itemEdit")->setText("Stamps");
                    child<QLineEdit>(entry.get(), "detailEdit")->setText("Post office");
                    child<QLineEdit>(entry.get(), "amountEdit")->setText("1.00");
                    dialog = std::move(entry);
                }
                dialog->show();
                QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
                auto* picker = child<ui::DatePicker>(dialog.get(), "datePicker");
                picker->setFocus(Qt::TabFocusReason);
                QTest::keyClicks(picker, c.typed);
                child<QPushButton>(dialog.get(), "saveButton")->click();
                const QString what = QString("%1 %2 '%3'").arg(edit ? "edit" : "new", c.locale, c.typed);
                if (c.saved.isValid()) {
                    QVERIFY2(f.messages.shown().empty(), qPrintable(what + ": " + f.messages.texts().join('|')));
                    const std::string stored = c.saved.toString(Qt::ISODate).toStdString();
                    if (edit)
                        QCOMPARE(f.db.scalar("SELECT ExpDate FROM Expenses"), stored + " 10:20:30");  // its time kept
                    else
                        QVERIFY2(added && added->m_dtDate.isoText().substr(0, 10) == stored, qPrintable(what));
                } else {
                    QCOMPARE(f.messages.texts(), QStringList({c.message.arg(edit ? "Exp Date" : "Date")}));
                    QVERIFY2(picker->hasFocus() && dialog->isVisible() && !added, qPrintable(what));
                    QCOMPARE(f.db.scalar("SELECT ExpDate FROM Expenses"), std::string("2004-06-01 10:20:30"));
                }
            }
        }
        QLocale::setDefault(QLocale::c());
    }

    void editDialogRefusals()
    {
        Fixture f;
        f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, Item, Detail, Amount, TypeComp) VALUES (20, 'SUPPLIES', 'Ink', 'Printer', 10000, 1)");
        CAdoRecordset rs(&f.connection), statuses(&f.connection);
        QVERIFY(rs.OpenTable("Expenses"));
        CExpEditDlg dialog(f.connection, rs, statuses, "OFFC: 2004", "SUPPLIES");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* save = child<QPushButton>(&dialog, "saveButton");
        const auto refusal = [&](const char* text, const char* control) {
            f.messages.clear();
            save->click();
            QCOMPARE(f.messages.texts(), QStringList({text}));
            QCOMPARE(f.messages.shown().front().caption, QString("Required field missing."));
            QVERIFY(child<QWidget>(&dialog, control)->hasFocus());
        };
        child<QLineEdit>(&dialog, "itemEdit")->clear();
        child<QLineEdit>(&dialog, "detailEdit")->clear();
        refusal("Please enter Item name.", "itemEdit");
        child<QLineEdit>(&dialog, "itemEdit")->setText("Ink");
        refusal("Please enter Item description.", "detailEdit");
        child<QLineEdit>(&dialog, "detailEdit")->setText("Printer");
        child<QLineEdit>(&dialog, "amountEdit")->setText("0.00");
        refusal("Please enter expense Amount.", "amountEdit");
        child<QLineEdit>(&dialog, "amountEdit")->setText("lots");
        refusal("Please enter expense Amount.", "amountEdit");
        QCOMPARE(f.db.scalar("SELECT Amount FROM Expenses"), std::string("10000"));  // nothing written
    }

    void editOfARowDeletedElsewhereIsRefusedPlainly()
    {
        Fixture f;
        f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, Item, Detail, Amount, TypeComp) VALUES (20, 'SUPPLIES', 'Ink', 'Printer', 10000, 1)");
        CAdoRecordset rs(&f.connection), statuses(&f.connection);
        QVERIFY(rs.OpenTable("Expenses"));
        CExpEditDlg dialog(f.connection, rs, statuses, "OFFC: 2004", "SUPPLIES");
        dialog.show();
        f.db.exec("DELETE FROM Expenses");
        child<QLineEdit>(&dialog, "itemEdit")->setText("Toner");
        child<QPushButton>(&dialog, "saveButton")->click();
        // The dialog stays open with what was typed, for the user to copy or cancel.
        QVERIFY(dialog.isVisible());
        QCOMPARE(child<QLineEdit>(&dialog, "itemEdit")->text(), QString("Toner"));
        QCOMPARE(f.messages.shown().size(), std::size_t(1));
        QVERIFY(f.messages.texts().first().startsWith("The expense could not be saved."));
        QCOMPARE(f.db.count("Expenses"), 0);
    }

    void statusDialogOffersEveryStatus()
    {
        Fixture f;
        CAdoRecordset statuses(&f.connection);
        statuses.m_strSort = "Status ASC";
        QVERIFY(statuses.OpenTable("lkpExpBillStatus"));
        CStatusDlg dialog;
        dialog.SetStatusRecordset(&statuses);
        dialog.SetCategoryFlag(true);
        QTimer::singleShot(0, &dialog, [&] {
            QCOMPARE(dialog.windowTitle(), QString("Update Status"));
            QCOMPARE(child<QLabel>(&dialog, "promptLabel")->text(),
                     QString("Change the reimbursement status of all expense items in Category ..."));
            QCOMPARE(itemsOf(dialog.FromCombo()), QStringList({"NA", "IN", "SU", "PD"}));
            QCOMPARE(dialog.FromCombo()->SelectedCode(), std::string("NA"));
            QCOMPARE(dialog.ToCombo()->SelectedCode(), std::string("IN"));
            selectCode(dialog.ToCombo(), "NA");
            child<QPushButton>(&dialog, "okButton")->click();
            QCOMPARE(f.messages.texts(), QStringList({"Please select different From/To."}));
            QCOMPARE(f.messages.shown().front().caption, QString("Invalid selection."));
            QVERIFY(dialog.isVisible());
            selectCode(dialog.FromCombo(), "IN");
            selectCode(dialog.ToCombo(), "SU");
            child<QPushButton>(&dialog, "okButton")->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nFromStatus, std::int16_t(1));
        QCOMPARE(dialog.m_nToStatus, std::int16_t(2));

        CStatusDlg project;
        project.SetStatusRecordset(&statuses);
        QTimer::singleShot(0, &project, [&] {
            QVERIFY(child<QLabel>(&project, "promptLabel")->text().endsWith("in Project ..."));
            project.reject();
        });
        QCOMPARE(project.exec(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
