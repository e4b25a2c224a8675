// The view commands through the real dialogs: Add New, Delete (line, category, group), edit and
// re-state by double-click. After each, the tree must read as a rebuild of the database would,
// except where the commands deliberately differ until the next rebuild.
#include <QtTest>

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

#include "browser/CQuillmarView.h"
#include "platform/ole/FormatAmount.h"
#include "dbaccess/CADODataBase.h"
#include "dialogs/CCodeDescCombo.h"
#include "dialogs/CExpEditDlg.h"
#include "dialogs/CExpenseDlg.h"
#include "dialogs/CStatusDlg.h"
#include "tests/browser/TreeFixture.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

using Item = ExpenseTreeModel::Item;

struct Fixture {
    TestDatabase db;
    CADODataBase connection;
    MessageLog messages;
    std::unique_ptr<CQuillmarView> view;

    explicit Fixture(int sortMode = 0)
    {
        SetAmountLocale(ole::NumberLocale(".", ","));
        fillTreeFixture(db);
        if (!connection.Open(db.path()))
            qFatal("cannot open the test database");
        view = std::make_unique<CQuillmarView>(connection);
        view->OnInitialUpdate();
        view->TabControl()->setCurrentIndex(sortMode);
    }

    ExpenseTreeModel& model() { return view->Model(); }

    // The item whose text starts with the given text (trailing blanks ignored), depth first.
    Item find(const QString& start, Item from = nullptr)
    {
        for (Item item = from ? model().GetChildItem(from) : model().GetRootItem(); item; item = model().GetNextSiblingItem(item)) {
            if (QString::fromStdString(model().GetItemData(item)->m_strText).startsWith(start))
                return item;
            if (Item found = find(start, item))
                return found;
        }
        return nullptr;
    }

    QStringList rebuilt()
    {
        view->RefreshTree();
        return dump(*view);
    }
};

template <typename T>
T* child(QWidget* dialog, const char* name) { return dialog->findChild<T*>(name); }

void selectCode(CCodeDescCombo* combo, const char* code) { combo->setCurrentIndex(combo->FindPrefix(code)); }

// Fills the new expense dialog and saves it.
void enterExpense(const char* type, const char* project, const char* category, const QDate& date, const char* amount,
                  bool reimbursed = true)
{
    whenModal<CExpenseDlg>([=](CExpenseDlg* dialog) {
        selectCode(dialog->TypeCombo(), type);
        if (project) {
            auto* projects = child<QComboBox>(dialog, "projectCombo");
            projects->setCurrentIndex(projects->findText(project));
        }
        child<QCheckBox>(dialog, "reimbursableCheckBox")->setChecked(reimbursed);
        selectCode(dialog->CategoryCombo(), category);
        selectCode(dialog->AccountCombo(), "VISA");
        child<QDateTimeEdit>(dialog, "datePicker")->setDateTime(QDateTime(date, QTime(0, 0)));
        child<QLineEdit>(dialog, "itemEdit")->setText("New item");
        child<QLineEdit>(dialog, "detailEdit")->setText("Entered in a test");
        child<QLineEdit>(dialog, "amountEdit")->setText(amount);
        child<QPushButton>(dialog, "saveButton")->click();
    });
}

}  // namespace

class ViewCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void addNewJoinsItsGroupAndUpdatesTheSums()
    {
        Fixture f;
        enterExpense("TRVL", "Acme", "FUEL", QDate(2006, 1, 2), "10.00");
        f.view->OnAddNew();
        QCOMPARE(f.db.count("Expenses"), 12);
        const Item acme = f.find("Acme");
        QCOMPARE(QString::fromStdString(f.model().GetItemData(acme)->m_strText), QString("Acme =    87.34,  IN=22.34,  SU=45.00,  PD=0.00"));
        const Item added = f.view->SelectedItem();
        QVERIFY(added);
        QCOMPARE(f.model().GetParentItem(added), acme);
        QVERIFY(QString::fromStdString(f.model().GetItemData(added)->m_strText).startsWith("01/02 IN FUEL        10.00  New item"));
        const QStringList shown = dump(*f.view);
        QCOMPARE(shown, f.rebuilt());
    }

    void addNewOfATaxYearWithoutGroupMakesATypeGroupInOrder()
    {
        Fixture f;
        enterExpense("TAX", nullptr, "GENERAL", QDate(2003, 7, 1), "12.50");
        f.view->OnAddNew();
        const Item first = f.model().GetRootItem();
        // Until the next rebuild the new group keeps the "%s = %8s" form.
        QCOMPARE(QString::fromStdString(f.model().GetItemData(first)->m_strText), QString("TAX YR 2003 =    12.50"));
        QCOMPARE(f.db.scalar("SELECT ProjectID || '/' || ExpYear || '/' || TypeComp FROM Expenses WHERE Item='New item'"), std::string("2003/2003/0"));
        QCOMPARE(f.rebuilt().first(), QString("Tax YR: 2003 =    12.50"));
    }

    void addNewByCategoryAppendsANewCategoryGroup()
    {
        Fixture f(1);
        enterExpense("TRVL", "Acme", "HOTEL", QDate(2006, 1, 2), "99.99", false);
        f.view->OnAddNew();
        const Item acme = f.find("Acme");
        Item last = f.model().GetChildItem(acme);
        while (f.model().GetNextSiblingItem(last))
            last = f.model().GetNextSiblingItem(last);
        QCOMPARE(QString::fromStdString(f.model().GetItemData(last)->m_strCategory), std::string("HOTEL").c_str());
        QVERIFY(QString::fromStdString(f.model().GetItemData(acme)->m_strText).startsWith("Acme =   177.33,"));
        // A rebuild sorts the category in, with the same sums.
        const QStringList rebuilt = f.rebuilt();
        QVERIFY(rebuilt.contains("  HOTEL    =    99.99, IN=0.00,    SU=0.00,    PD=0.00"));
    }

    void cancelledDialogChangesNothing()
    {
        Fixture f;
        const QStringList before = dump(*f.view);
        whenModal<CExpenseDlg>([](CExpenseDlg* dialog) { dialog->reject(); });
        f.view->OnAddNew();
        QCOMPARE(dump(*f.view), before);
        QCOMPARE(f.db.count("Expenses"), 11);
    }

    void deletingTheOnlyLineOfTheOnlyCategoryRemovesItsGroups()
    {
        Fixture f(1);
        const Item estLine = f.find("04/15");
        QVERIFY(estLine);
        f.view->SelectItem(estLine);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete the selected expense item?"}));
        QCOMPARE(f.messages.shown().front().caption, QString("Confirm Delete"));
        QCOMPARE(f.messages.shown().front().buttons, ui::MessageBox::Buttons::YesNo);
        QCOMPARE(f.messages.shown().front().icon, ui::MessageBox::Icon::Question);
        QVERIFY(!f.find("EST TAX"));
        QVERIFY(!f.find("FEDERAL  ="));
        QCOMPARE(f.db.count("Expenses", "ExpType=1"), 0);
        QCOMPARE(dump(*f.view), f.rebuilt());
    }

    void deletingALineUpdatesItsGroupsAndNoKeepsIt()
    {
        Fixture f(1);
        const Item lunch = f.find("12/24 SU");
        f.view->SelectItem(lunch);
        f.view->OnDelete();  // answered No
        QCOMPARE(f.db.count("Expenses"), 11);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.db.count("Expenses"), 10);
        QVERIFY(f.find("Acme =    32.34,  IN=12.34,  SU=0.00,  PD=0.00"));
        QCOMPARE(dump(*f.view), f.rebuilt());
    }

    void deletingACategorySubtractsItAtOnce()
    {
        Fixture f(1);
        const Item fuel = f.find("FUEL     =");
        f.view->SelectItem(fuel);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete all the expense items in the FUEL Category?"}));
        QVERIFY(f.find("Acme =    45.00,  IN=0.00,  SU=45.00,  PD=0.00"));
        QCOMPARE(f.db.count("Expenses", "ExpCat='FUEL'"), 0);
        QCOMPARE(dump(*f.view), f.rebuilt());
    }

    void deletingAGroupDeletesEveryRowUnderIt()
    {
        for (const int mode : {0, 1}) {
            Fixture f(mode);
            f.view->SelectItem(f.find("Birch"));
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            f.view->OnDelete();
            QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete all the expense items in the Birch Group?"}));
            QCOMPARE(f.db.count("Expenses", "ProjectID=8"), 0);
            QCOMPARE(f.db.count("Expenses"), 9);
            QCOMPARE(dump(*f.view), f.rebuilt());
        }
        Fixture f;
        f.view->SelectItem(f.find("OFFC: 2004"));
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete all the expense items in the OFFC: 2004 Group?"}));
    }

    void editingALineKeepsEveryTotalRight()
    {
        Fixture f;
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        f.view->TreeView()->expandAll();
        f.view->SelectItem(f.find("12/24 SU"));
        QTest::qWait(20);  // lets the view lay out the expanded lines
        whenModal<CExpEditDlg>([](CExpEditDlg* dialog) {
            QCOMPARE(dialog->findChild<QLineEdit*>("groupEdit")->text(), QString("Acme"));
            dialog->findChild<QLineEdit*>("amountEdit")->setText("50.00");
            dialog->findChild<QPushButton*>("saveButton")->click();
        });
        const QPoint at = f.view->TreeView()->visualRect(f.model().IndexOf(f.find("12/24 SU"))).center();
        QTest::mouseClick(f.view->TreeView()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(f.view->TreeView()->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(f.find("Acme =    82.34,  IN=12.34,  SU=50.00,  PD=0.00"));
        QVERIFY(f.find("12/24 SU MEALS       50.00"));
        QCOMPARE(dump(*f.view), f.rebuilt());
    }

    void editingTheCategoryMovesTheLine()
    {
        Fixture f(1);
        f.view->SelectItem(f.find("12/24 SU"));  // the only MEALS line of Acme
        whenModal<CExpEditDlg>([](CExpEditDlg* dialog) {
            auto* categories = dialog->findChild<CCodeDescCombo*>("categoryCombo");
            categories->setCurrentIndex(categories->FindPrefix("HOTEL"));
            dialog->findChild<QPushButton*>("saveButton")->click();
        });
        f.view->OnDoubleClick(f.view->SelectedItem());
        const Item acme = f.find("Acme");
        QStringList categories;
        for (Item c = f.model().GetChildItem(acme); c; c = f.model().GetNextSiblingItem(c))
            categories << QString::fromStdString(f.model().GetItemData(c)->m_strCategory);
        QCOMPARE(categories, QStringList({"FUEL", "HOTEL"}));  // MEALS emptied and went; HOTEL made at the end
        QVERIFY(f.find("Acme =    77.34,  IN=12.34,  SU=45.00,  PD=0.00"));
        QCOMPARE(f.db.scalar("SELECT ExpCat FROM Expenses WHERE Item='Lunch'"), std::string("HOTEL"));
        QCOMPARE(dump(*f.view), f.rebuilt());
    }

    void restatingAProjectMovesItsSums()
    {
        for (const int mode : {0, 1}) {
            Fixture f(mode);
            f.db.exec("UPDATE Expenses SET Status=1 WHERE Item='Lunch'");  // Acme: IN 12.34 + 45.00
            f.view->RefreshTree();
            f.view->SelectItem(f.find("Acme"));
            whenModal<CStatusDlg>([](CStatusDlg* dialog) {
                selectCode(dialog->FromCombo(), "IN");
                selectCode(dialog->ToCombo(), "SU");
                dialog->findChild<QPushButton*>("okButton")->click();
            });
            f.view->OnDoubleClick(f.view->SelectedItem());
            QVERIFY2(f.find("Acme =    77.34,  IN=0.00,  SU=57.34,  PD=0.00"), qPrintable(dump(*f.view).join('\n')));
            QCOMPARE(f.db.scalar("SELECT group_concat(Item || Status, ',') FROM Expenses WHERE ProjectID=7 ORDER BY ExpID"),
                     std::string("Gas2,Lunch2,Gas0"));  // the status-0 line kept its status
            QCOMPARE(dump(*f.view), f.rebuilt());
        }
    }

    void restatingACategory()
    {
        Fixture f(1);
        f.view->SelectItem(f.find("HOTEL    ="));
        whenModal<CStatusDlg>([](CStatusDlg* dialog) {
            selectCode(dialog->FromCombo(), "PD");
            selectCode(dialog->ToCombo(), "IN");
            dialog->findChild<QPushButton*>("okButton")->click();
        });
        f.view->OnDoubleClick(f.view->SelectedItem());
        QVERIFY(f.find("Birch =   297.00,  IN=300.00,  SU=0.00,  PD=0.00"));
        QCOMPARE(dump(*f.view), f.rebuilt());
    }

    void doubleClickOnAnOrdinaryGroupOrNothingDoesNothing()
    {
        Fixture f;
        bool dialogSeen = false;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                dialogSeen = true;
                modal->close();
            }
        });
        guard.start(10);
        f.view->SelectItem(f.find("OFFC: 2004"));
        f.view->OnDoubleClick(f.view->SelectedItem());
        f.view->OnDoubleClick(nullptr);
        f.view->SelectItem(nullptr);
        f.view->OnDelete();
        QTest::qWait(50);
        QVERIFY(!dialogSeen);
        QVERIFY(f.messages.shown().empty());
    }

    void aSyncWhileAnEditDialogIsOpenWaitsForTheCommand()
    {
        Fixture f;
        f.view->SelectItem(f.find("12/24 SU"));
        whenModal<CExpEditDlg>([&f](CExpEditDlg* dialog) {
            // The handheld sync closes and re-opens the database while the dialog is up.
            f.connection.Close();
            f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID, TypeComp) "
                      "VALUES (0, 'GENERAL', '2006-01-01 00:00:00', 'From the handheld', 10000, 2006, 0)");
            QVERIFY(f.connection.Open(f.db.path()));
            f.view->OnUpdate(CQuillmarView::kHintReload);
            dialog->findChild<QLineEdit*>("amountEdit")->setText("50.00");
            dialog->findChild<QPushButton*>("saveButton")->click();
        });
        f.view->OnDoubleClick(f.view->SelectedItem());
        // The change could not be stored in the closed record set, and the user was told.
        QCOMPARE(f.messages.shown().size(), std::size_t(1));
        QVERIFY(f.messages.texts().first().startsWith("The expense could not be saved."));
        QCOMPARE(f.db.scalar("SELECT Amount FROM Expenses WHERE Item='Lunch'"), std::string("450000"));
        // The reload that arrived meanwhile ran once the command was done.
        QVERIFY(f.find("Tax YR: 2006 ="));
        QCOMPARE(dump(*f.view), f.rebuilt());
    }

    void deletingARowAnotherProgramDeletedKeepsTheTreeWhole()
    {
        Fixture f;
        f.db.exec("DELETE FROM Expenses WHERE Item='Dinner'");
        f.view->SelectItem(f.find("01/06 NA"));
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(dump(*f.view), f.rebuilt());
    }
};

QTEST_MAIN(ViewCommandsTest)
#include "ViewCommandsTest.moc"
