// The view commands through the real dialogs: Add New, Delete (line, category, group), edit and
// re-state by double-click. After each, the tree must read as a rebuild of the database would,
// except where the commands deliberately differ until the next rebuild.
#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

#include "mainform/CQuillmarView.h"
#include "platform/ole/FormatAmount.h"
#include "dbaccess/CADODataBase.h"
#include <QTreeWidget>

#include "document/CBackupDlg.h"
#include "document/CQuillmarDoc.h"
#include "database/CsvExport.h"
#include "database/DatabaseBackup.h"
#include "database/ExpenseSchema.h"
#include "dialogs/CCategoriesDlg.h"
#include "dialogs/CCodeDescCombo.h"
#include "dialogs/CExpTypeDlg.h"
#include "dialogs/CLookupList.h"
#include "dialogs/CNewProjDlg.h"
#include "dialogs/CProjectsDlg.h"
#include "dialogs/CExpEditDlg.h"
#include "dialogs/CExpenseDlg.h"
#include "dialogs/CStatusDlg.h"
#include "platform/ui/DatePicker.h"
#include "tests/mainform/TreeFixture.h"
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
    QStringList statusTexts;  // what the view put in the status bar

    explicit Fixture(int sortMode = 0)
    {
        SetAmountLocale(ole::NumberLocale(".", ","));
        fillTreeFixture(db);
        if (!connection.Open(db.path()))
            qFatal("cannot open the test database");
        view = std::make_unique<CQuillmarView>(connection);
        QObject::connect(view.get(), &CQuillmarView::StatusMessage, [this](const QString& text) { statusTexts << text; });
        view->OnInitialUpdate();
        view->TabControl()->setCurrentIndex(sortMode);
    }

    ExpenseTreeModel& model() { return view->Model(); }

    // The item whose text starts with the given text (trailing blanks ignored), depth first.
    Item find(const QString& start, Item from = nullptr)
    {
        for (Item item = from ? model().GetChildItem(from) : model().GetRootItem(); item; item = model().GetNextSiblingItem(item)) {
            if (QString::fromStdString(model().Text(item)).startsWith(start))
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

    // The tree after a change to the other tab (which re-sorts the rows it holds), and that
    // tab rebuilt from the database.
    std::pair<QStringList, QStringList> switchedAndRebuilt()
    {
        view->TabControl()->setCurrentIndex(1 - view->TabControl()->currentIndex());
        QStringList switched = dump(*view);
        return {switched, rebuilt()};
    }
};

// The tree as the commands left it must read as a rebuild of the same database, and so must a
// change of tab from it and back. (Each taken before its rebuild: the two sides of one QCOMPARE
// are evaluated in no fixed order.)
#define EXPECT_TREE_AS_REBUILT(f)                                    \
    do {                                                             \
        const QStringList shown = dump(*(f).view);                   \
        const auto [switched, switchedRebuilt] = (f).switchedAndRebuilt(); \
        QCOMPARE(switched, switchedRebuilt);                         \
        const auto [back, backRebuilt] = (f).switchedAndRebuilt();   \
        QCOMPARE(back, backRebuilt);                                 \
        QCOMPARE(shown, backRebuilt);                                \
    } while (false)

template <typename T>
T* child(QWidget* dialog, const char* name) { return dialog->findChild<T*>(name); }

void selectCode(CCodeDescCombo* combo, const char* code) { combo->setCurrentIndex(combo->FindPrefix(code)); }

// Fills the new expense dialog.
void fillExpense(CExpenseDlg* dialog, const char* type, const char* project, const char* category, const QDate& date,
                 const char* amount, bool reimbursed = true)
{
    selectCode(dialog->TypeCombo(), type);
    if (project) {
        auto* projects = child<QComboBox>(dialog, "projectCombo");
        projects->setCurrentIndex(projects->findText(project));
    }
    child<QCheckBox>(dialog, "reimbursableCheckBox")->setChecked(reimbursed);
    selectCode(dialog->CategoryCombo(), category);
    selectCode(dialog->AccountCombo(), "VISA");
    child<ui::DatePicker>(dialog, "datePicker")->setDate(date);
    child<QLineEdit>(dialog, "itemEdit")->setText("New item");
    child<QLineEdit>(dialog, "detailEdit")->setText("Entered in a test");
    child<QLineEdit>(dialog, "amountEdit")->setText(amount);
}

// Fills the new expense dialog and saves it; a refusal that keeps it open cancels it.
void enterExpense(const char* type, const char* project, const char* category, const QDate& date, const char* amount,
                  bool reimbursed = true)
{
    whenModal<CExpenseDlg>([=](CExpenseDlg* dialog) {
        fillExpense(dialog, type, project, category, date, amount, reimbursed);
        child<QPushButton>(dialog, "saveButton")->click();
        if (dialog->isVisible())
            dialog->reject();
    });
}

// Presses a dialog's button while the sync has the database closed, then, once the sync has
// added a row and re-opened it, again. Answers whether the first press left the dialog open; a
// dialog the second press leaves open is cancelled.
bool pressAcrossASync(Fixture& f, QDialog* dialog, const char* button)
{
    f.connection.Close(CQuillmarDoc::kClosedForHotSync);
    dialog->findChild<QPushButton*>(button)->click();
    const bool stayedOpen = dialog->isVisible();
    f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID, TypeComp) "
              "VALUES (0, 'GENERAL', '2006-01-01 00:00:00', 'From the handheld', 10000, 2006, 0)");
    if (f.connection.Open(f.db.path())) {
        f.view->OnUpdate(UpdateHint::DatabaseOpened);
        dialog->findChild<QPushButton*>(button)->click();
    }
    if (dialog->isVisible())
        dialog->reject();
    return stayedOpen;
}

// Answers the next "Update Status" with the two status codes.
void restateFromTo(const char* from, const char* to)
{
    whenModal<CStatusDlg>([=](CStatusDlg* dialog) {
        selectCode(dialog->FromCombo(), from);
        selectCode(dialog->ToCombo(), to);
        dialog->findChild<QPushButton*>("okButton")->click();
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
        QCOMPARE(QString::fromStdString(f.model().Text(acme)), QString("Acme =    87.34,  IN=22.34,  SU=45.00,  PD=0.00"));
        const Item added = f.view->SelectedItem();
        QVERIFY(added);
        QCOMPARE(f.model().GetParentItem(added), acme);
        QVERIFY(QString::fromStdString(f.model().Text(added)).startsWith("01/02 IN FUEL        10.00  New item"));
        EXPECT_TREE_AS_REBUILT(f);
    }

    void addNewOfATaxYearWithoutGroupMakesATypeGroupInOrder()
    {
        Fixture f;
        enterExpense("TAX", nullptr, "GENERAL", QDate(2003, 7, 1), "12.50");
        f.view->OnAddNew();
        const Item first = f.model().GetRootItem();
        // Until the next rebuild the new group keeps the "%s = %8s" form.
        QCOMPARE(QString::fromStdString(f.model().Text(first)), QString("TAX YR 2003 =    12.50"));
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
        QVERIFY(QString::fromStdString(f.model().Text(acme)).startsWith("Acme =   177.33,"));
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
        EXPECT_TREE_AS_REBUILT(f);
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
        EXPECT_TREE_AS_REBUILT(f);
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
        EXPECT_TREE_AS_REBUILT(f);
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
            EXPECT_TREE_AS_REBUILT(f);
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
        EXPECT_TREE_AS_REBUILT(f);
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
        EXPECT_TREE_AS_REBUILT(f);
    }

    void restatingAProjectMovesItsSums()
    {
        for (const int mode : {0, 1}) {
            Fixture f(mode);
            f.db.exec("UPDATE Expenses SET Status=1 WHERE Item='Lunch'");  // Acme: IN 12.34 + 45.00
            f.view->RefreshTree();
            f.view->SelectItem(f.find("Acme"));
            restateFromTo("IN", "SU");
            f.view->OnDoubleClick(f.view->SelectedItem());
            QVERIFY2(f.find("Acme =    77.34,  IN=0.00,  SU=57.34,  PD=0.00"), qPrintable(dump(*f.view).join('\n')));
            QCOMPARE(f.db.scalar("SELECT group_concat(Item || Status, ',') FROM Expenses WHERE ProjectID=7 ORDER BY ExpID"),
                     std::string("Gas2,Lunch2,Gas0"));  // the status-0 line kept its status
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void restatingACategory()
    {
        Fixture f(1);
        f.view->SelectItem(f.find("HOTEL    ="));
        restateFromTo("PD", "IN");
        f.view->OnDoubleClick(f.view->SelectedItem());
        QVERIFY(f.find("Birch =   297.00,  IN=300.00,  SU=0.00,  PD=0.00"));
        EXPECT_TREE_AS_REBUILT(f);
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

    void anEntryDialogOpenDuringASyncStoresIntoTheReopenedDatabase()
    {
        // Save is pressed once while the sync has the database closed (refused: the dialog stays
        // open with what was typed) and once after the sync re-opened it (stored there).
        const QString inSync = CQuillmarDoc::kClosedForHotSync;
        for (const bool edit : {false, true}) {
            Fixture f;
            bool openAfterRefusal = false;
            const auto saveAcrossASync = [&](QDialog* dialog) {
                dialog->findChild<QLineEdit*>("amountEdit")->setText("50.00");
                openAfterRefusal = pressAcrossASync(f, dialog, "saveButton");
            };
            if (edit) {
                f.view->SelectItem(f.find("12/24 SU"));
                whenModal<CExpEditDlg>(saveAcrossASync);
                f.view->OnDoubleClick(f.view->SelectedItem());
                QCOMPARE(f.db.scalar("SELECT Amount FROM Expenses WHERE Item='Lunch'"), std::string("500000"));
            } else {
                whenModal<CExpenseDlg>([&](CExpenseDlg* dialog) {
                    fillExpense(dialog, "TRVL", "Acme", "FUEL", QDate(2004, 12, 26), "1.00");
                    saveAcrossASync(dialog);
                });
                f.view->OnAddNew();
                QCOMPARE(f.db.scalar("SELECT Amount || ' ' || date(ExpDate) FROM Expenses WHERE Item='New item'"),
                         std::string("500000 2004-12-26"));
            }
            QVERIFY(openAfterRefusal);
            QCOMPARE(f.messages.texts(), QStringList({"The expense could not be saved.\n" + inSync}));
            QCOMPARE(f.db.count("Expenses"), edit ? 12 : 13);
            // The reload that arrived meanwhile ran once the command was done.
            QVERIFY(f.find("Tax YR: 2006 ="));
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void dialogsWaitOutASyncAndActOnTheReopenedDatabase()
    {
        // OK is pressed while the sync has the database closed (refused with the reason, the
        // dialog stays open with the user's choice) and again once the sync re-opened it.
        const QString inSync = CQuillmarDoc::kClosedForHotSync;
        struct Case {
            const char* what;
            std::function<void(Fixture&)> start;        // runs the command
            std::function<void(QDialog*)> choose;       // the user's choice in its dialog
            const char* okButton;
            QString refusal;                            // its first line
            std::function<void(Fixture&)> check;        // what the second OK did
        };
        const Case cases[] = {
            {"Update Status",
             [](Fixture& f) {
                 f.view->SelectItem(f.find("Acme"));
                 f.view->OnDoubleClick(f.view->SelectedItem());
             },
             [](QDialog* d) {
                 selectCode(d->findChild<CCodeDescCombo*>("fromCombo"), "IN");
                 selectCode(d->findChild<CCodeDescCombo*>("toCombo"), "PD");
             },
             "okButton", "The status could not be changed.",
             [](Fixture& f) { QCOMPARE(f.db.count("Expenses", "ProjectID=7 AND Status=3"), 1); }},
            {"Create Backup", [](Fixture& f) { f.view->OnFileBackup(f.db.path()); },
             [](QDialog* d) { d->findChild<QLineEdit*>("nameEdit")->setText("copy.mdb"); }, "okButton",
             "The backup could not be written.",
             [](Fixture& f) {
                 QCOMPARE(TestDatabase::scalarAt(f.db.dir().file("copy.mdb"), "SELECT count(*) FROM Expenses"), std::string("12"));
             }},
            {"Report Options",
             [](Fixture& f) {
                 f.db.exec("UPDATE Expenses SET ExpYear = CAST(strftime('%Y', ExpDate) AS INTEGER) WHERE ExpDate IS NOT NULL");
                 f.view->OnFileReports();
             },
             [](QDialog*) {
                 // The preview that follows the second OK.
                 whenModal<QPrintPreviewDialog>([](QPrintPreviewDialog* preview) { preview->reject(); });
             },
             "previewButton", "The report could not be made.",
             [](Fixture& f) { QCOMPARE(f.view->Reports().m_nYear, std::int16_t(2004)); }},
        };
        for (const Case& c : cases) {
            Fixture f;
            bool openAfterRefusal = false;
            whenModal<QDialog>([&](QDialog* dialog) {
                c.choose(dialog);
                openAfterRefusal = pressAcrossASync(f, dialog, c.okButton);
            });
            c.start(f);
            QVERIFY2(openAfterRefusal, c.what);
            QVERIFY2(f.messages.texts() == QStringList({c.refusal + "\n" + inSync}),
                     qPrintable(QString(c.what) + ": " + f.messages.texts().join(" // ")));
            c.check(f);
            QVERIFY2(f.find("Tax YR: 2006 ="), c.what);
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void deletingARowAnotherProgramDeletedKeepsTheTreeWhole()
    {
        Fixture f;
        f.db.exec("DELETE FROM Expenses WHERE Item='Dinner'");
        f.view->SelectItem(f.find("01/06 NA"));
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        EXPECT_TREE_AS_REBUILT(f);
    }

    void aRefusedDeleteLeavesTheTreeAsItWasAndSaysWhy()
    {
        // The database refuses one row (a rule of another program); whatever is selected, the
        // rows before it go, that row and its line stay, and the sums are those of what is stored.
        const struct {
            const char* select;
            int mode;
            long long rowsLeft;
        } cases[] = {{"12/24 SU", 0, 11}, {"MEALS    =", 1, 11}, {"Acme", 0, 10}, {"Acme", 1, 11}};
        for (const auto& c : cases) {
            Fixture f(c.mode);
            f.db.exec("CREATE TRIGGER keep BEFORE DELETE ON Expenses WHEN OLD.Item = 'Lunch' "
                      "BEGIN SELECT RAISE(ABORT, 'kept by the auditor'); END");
            const QStringList before = dump(*f.view);
            f.view->SelectItem(f.find(c.select));
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            f.view->OnDelete();
            QCOMPARE(f.db.count("Expenses"), c.rowsLeft);
            QCOMPARE(f.messages.shown().size(), std::size_t(2));
            QCOMPARE(f.messages.texts().last(), QString("The expense could not be deleted.\nkept by the auditor"));
            QCOMPARE(f.messages.shown().back().icon, ui::MessageBox::Icon::Stop);
            QVERIFY(f.find("12/24 SU"));
            if (c.rowsLeft == 11)
                QCOMPARE(dump(*f.view), before);
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void afterALineTheNextLineIsSelectedAndGroupsDefaultToNo()
    {
        Fixture f;
        f.view->SelectItem(f.find("11/02 --"));  // the first of Acme's three lines
        for (const char* expected : {"12/24 SU", "12/25 IN"}) {
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            f.view->OnDelete();
            QVERIFY(f.view->SelectedItem());
            QVERIFY(QString::fromStdString(f.model().Text(f.view->SelectedItem())).startsWith(expected));
            QVERIFY(f.view->DeleteButton()->isEnabled());
        }
        f.view->SelectItem(f.find("01/06 NA"));  // the last line of Birch: the one before it follows
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QVERIFY(QString::fromStdString(f.model().Text(f.view->SelectedItem())).startsWith("01/05 PD"));
        for (const auto& shown : f.messages.shown())
            QCOMPARE(shown.defaultAnswer, ui::MessageBox::Answer::Yes);

        f.messages.clear();
        f.view->SelectItem(f.find("Birch"));
        f.view->OnDelete();  // not answered: the default
        Fixture byCategory(1);
        byCategory.view->SelectItem(byCategory.find("HOTEL    ="));
        byCategory.view->OnDelete();
        QCOMPARE(f.messages.shown().front().defaultAnswer, ui::MessageBox::Answer::No);
        QCOMPARE(byCategory.messages.shown().front().defaultAnswer, ui::MessageBox::Answer::No);
        QCOMPARE(f.db.count("Expenses"), 8);
        QCOMPARE(byCategory.db.count("Expenses"), 11);
    }

    void theKeyboardDoesWhatTheMouseDoes()
    {
        Fixture f;
        f.view->SelectItem(f.find("11/02 --"));
        bool edited = false;
        whenModal<CExpEditDlg>([&edited](CExpEditDlg* dialog) {
            edited = true;
            dialog->reject();
        });
        QTest::keyClick(f.view->TreeView(), Qt::Key_Return);  // Enter edits the line
        QVERIFY(edited);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        QTest::keyClick(f.view->TreeView(), Qt::Key_Delete);  // Delete deletes it
        QCOMPARE(f.db.count("Expenses"), 10);
        EXPECT_TREE_AS_REBUILT(f);
    }

    void aDateInAnotherYearMovesTheLineAtOnce()
    {
        const struct {
            const char* line;
            const char* date;
            int mode;
            const char* group;
            const char* stored;  // ExpYear/ProjectID
            bool asRebuilt;      // a group made for the line reads as a rebuild makes it
        } cases[] = {
            {"06/01  SUPPLIES", "2005-02-03", 0, "OFFC: 2005 =     0.50", "2005/2005", true},
            {"06/01", "2005-02-03", 1, "OFFC: 2005 =     0.50", "2005/2005", true},
            {"04/15  FEDERAL", "2005-04-15", 0, "EST TAX 2005 =   500.00", "2005/2005", false},
            {"03/15  GENERAL", "2005-03-15", 0, "Tax YR: 2005 =   150.00", "2005/2005", true},
            // A project's expense stays in its project's group, in place.
            {"12/24 SU", "2006-12-24", 0, "Acme =    77.34,  IN=12.34,  SU=45.00,  PD=0.00", "2006/7", false},
        };
        for (const auto& c : cases) {
            Fixture f(c.mode);
            const Item line = f.find(c.line);
            QVERIFY2(line, c.line);
            const std::string item = f.view->Tree().Line(line)->m_strItem;
            f.view->SelectItem(line);
            const QDate date = QDate::fromString(c.date, Qt::ISODate);
            whenModal<CExpEditDlg>([date](CExpEditDlg* dialog) {
                dialog->findChild<ui::DatePicker*>("datePicker")->setDate(date);
                dialog->findChild<QPushButton*>("saveButton")->click();
            });
            f.view->OnDoubleClick(f.view->SelectedItem());
            QCOMPARE(f.db.scalar("SELECT ExpYear || '/' || ProjectID FROM Expenses WHERE Item='" + item + "'"),
                     std::string(c.stored));
            const Item group = f.find(c.group);
            QVERIFY2(group, qPrintable(dump(*f.view).join('\n')));
            const Item moved = f.view->SelectedItem();
            QVERIFY(moved);
            QCOMPARE(f.view->Tree().TopLevelOf(moved), group);
            QCOMPARE(f.view->Tree().Line(moved)->m_strItem, item);
            QVERIFY(f.messages.shown().empty());
            if (c.asRebuilt)
                EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void aRefusedRestateStopsAndTheSumsFollowWhatIsStored()
    {
        Fixture f;
        f.db.exec("UPDATE Expenses SET Status=1 WHERE Item='Lunch'");  // Acme: Gas IN, Lunch IN
        f.db.exec("CREATE TRIGGER frozen BEFORE UPDATE OF Status ON Expenses WHEN OLD.Item = 'Lunch' "
                  "BEGIN SELECT RAISE(ABORT, 'the invoice is closed'); END");
        f.view->RefreshTree();
        f.view->SelectItem(f.find("Acme"));
        restateFromTo("IN", "SU");
        f.view->OnDoubleClick(f.view->SelectedItem());
        QCOMPARE(f.messages.texts(), QStringList({"The status could not be changed.\nthe invoice is closed"}));
        QCOMPARE(f.db.scalar("SELECT group_concat(Item || Status, ',') FROM Expenses WHERE ProjectID=7 ORDER BY ExpID"),
                 std::string("Gas1,Lunch1,Gas0"));  // the lines run by date: Lunch came first and stopped it
        EXPECT_TREE_AS_REBUILT(f);
    }

    void aRefusedNewExpenseIsReportedAndLeavesNothing()
    {
        Fixture f;
        f.db.exec("CREATE TRIGGER closed BEFORE INSERT ON Expenses BEGIN SELECT RAISE(ABORT, 'the books are closed'); END");
        const QStringList before = dump(*f.view);
        enterExpense("TRVL", "Acme", "FUEL", QDate(2006, 1, 2), "10.00");
        f.view->OnAddNew();
        QCOMPARE(f.messages.texts(), QStringList({"The expense could not be saved.\nthe books are closed"}));
        QCOMPARE(f.db.count("Expenses"), 11);
        QCOMPARE(dump(*f.view), before);
    }

    void theConfigureEditorsLeaveTheTreeShowingWhatIsStored()
    {
        Fixture f;
        const std::int64_t office = f.db.count("Expenses", "ExpType = 20");
        whenModal<CProjectsDlg>([](CProjectsDlg* projects) {
            whenModal<CNewProjDlg>([](CNewProjDlg* detail) {
                child<QLineEdit>(detail, "nameEdit")->setText("Apex");
                child<QLineEdit>(detail, "descEdit")->setText("Apex audit");  // required
                child<QPushButton>(detail, "saveButton")->click();
            });
            emit projects->List()->EditRequested(0);  // 7, Acme
            projects->accept();
        });
        f.view->OnConfigProjects();
        QVERIFY(f.find("Apex") && !f.find("Acme"));

        whenModal<CCategoriesDlg>([](CCategoriesDlg* editor) {
            whenModal<CExpTypeDlg>([](CExpTypeDlg* type) {
                child<QLineEdit>(type, "typeEdit")->setText("25");
                child<QPushButton>(type, "saveButton")->click();
            });
            QTreeWidget* types = editor->Tree();
            for (int i = 0; i < types->topLevelItemCount(); ++i)
                if (types->topLevelItem(i)->data(0, CCategoriesDlg::CodeRole).toInt() == 20)
                    emit types->itemDoubleClicked(types->topLevelItem(i), 0);
            editor->reject();  // the close box
        });
        f.view->OnConfigCategories();
        QCOMPARE(f.db.count("Expenses", "ExpType = 25"), office);
        QCOMPARE(f.db.count("Expenses", "ExpType = 20"), 0);
        EXPECT_TREE_AS_REBUILT(f);
        QVERIFY(f.messages.texts().isEmpty());
    }

    void exportWritesTheTreesOrderOrSaysWhyNot()
    {
        Fixture f(1);  // sorted by category
        FileDialogScript files;
        const std::string path = f.db.dir().file("expenses.csv");
        files.choose(path);
        f.view->OnFileExport();
        const ui::FileDialog::Request& asked = files.requests().front();
        QCOMPARE(asked.initialName, QString("expenses.csv"));
        QCOMPARE(asked.filter, QString("Text Files (*.csv; *.txt)|*.csv;*.txt|All Files (*.*)|*.*||"));
        QVERIFY(asked.save && asked.confirmOverwrite);

        // The same file as an export of the rows read afresh in the category order.
        CAdoRecordset expenses(&f.connection), types(&f.connection), projects(&f.connection), statuses(&f.connection);
        expenses.m_strSort = schema::expenses::kSortByCategory;
        QVERIFY(expenses.OpenTable("Expenses") && types.OpenTable("lkpExpTypes") && projects.OpenTable("Projects") &&
                statuses.OpenTable("lkpExpBillStatus"));
        std::string error;
        QVERIFY(CsvExport(types, projects, statuses).Write(expenses, f.db.dir().file("expected.csv"), error));
        const auto read = [](const std::string& file) {
            QFile in(QString::fromStdString(file));
            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        };
        QCOMPARE(read(path), read(f.db.dir().file("expected.csv")));
        QCOMPARE(read(path).count("\r\n"), qsizetype(f.db.count("Expenses")));
        QCOMPARE(f.statusTexts, QStringList({"Exported 11 expenses to " + QString::fromStdString(path) + "."}));

        files.choose(f.db.dir().file("missing/expenses.csv"));
        f.view->OnFileExport();
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY(f.messages.texts().first().startsWith("Unable to create export file\n"));
        QCOMPARE(f.statusTexts.size(), 1);  // a failure is not reported as done
    }

    void backupMakesADatedCopyAndTheTreeStaysTheSame()
    {
        Fixture f;
        const QStringList before = dump(*f.view);
        const std::string copy = f.db.dir().file("copy.mdb");
        const auto backUp = [&](const std::function<void(CBackupDlg*)>& steps) {
            whenModal<CBackupDlg>([&](CBackupDlg* dialog) {
                steps(dialog);
                if (dialog->isVisible())
                    dialog->reject();
            });
            f.view->OnFileBackup(f.db.path());
        };
        const auto enter = [](CBackupDlg* dialog, const char* name) {
            child<QLineEdit>(dialog, "nameEdit")->setText(name);
            child<QPushButton>(dialog, "okButton")->click();
        };
        backUp([&](CBackupDlg* dialog) {
            QCOMPARE(child<QLineEdit>(dialog, "nameEdit")->text().toStdString(), DatabaseBackup(f.db.path()).ProposedName());
            enter(dialog, "expenses.mdb");  // the database itself
            QVERIFY(dialog->isVisible());
            enter(dialog, "copy.mdb");
        });
        QCOMPARE(f.messages.texts(), QStringList({"Cannot over-write current Expense database."}));
        QCOMPARE(f.messages.shown().front().caption, QString("Invalid target filename"));
        QCOMPARE(TestDatabase::scalarAt(copy, "SELECT count(*) FROM Expenses"), f.db.scalar("SELECT count(*) FROM Expenses"));
        QCOMPARE(dump(*f.view), before);
        QCOMPARE(f.statusTexts, QStringList({"Backup written to " + QString::fromStdString(copy) + "."}));

        // Enter takes the proposed name.
        backUp([](CBackupDlg* dialog) { QTest::keyClick(child<QLineEdit>(dialog, "nameEdit"), Qt::Key_Return); });
        const std::string proposed = f.db.dir().file(DatabaseBackup(f.db.path()).ProposedName());
        QCOMPARE(TestDatabase::scalarAt(proposed, "SELECT count(*) FROM Expenses"), f.db.scalar("SELECT count(*) FROM Expenses"));
        QCOMPARE(f.statusTexts.last(), "Backup written to " + QString::fromStdString(proposed) + ".");

        f.messages.clear();
        f.db.exec("DELETE FROM Expenses WHERE Item = 'Lunch'");
        backUp([&](CBackupDlg* dialog) {
            f.messages.queueAnswer(ui::MessageBox::Answer::No);
            enter(dialog, "copy.mdb");
            QVERIFY(dialog->isVisible());
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            enter(dialog, "copy.mdb");
        });
        QCOMPARE(f.messages.texts(), QStringList(2, "copy.mdb already exists.\nDo you want to replace it?"));
        QCOMPARE(TestDatabase::scalarAt(copy, "SELECT count(*) FROM Expenses WHERE Item = 'Lunch'"), std::string("0"));
        EXPECT_TREE_AS_REBUILT(f);

        f.messages.clear();
        const qsizetype said = f.statusTexts.size();
        backUp([&](CBackupDlg* dialog) { enter(dialog, "no/such/folder/copy.mdb"); });
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY(f.messages.texts().first().startsWith("The backup could not be written to "));
        QVERIFY(f.connection.IsOpen());
        QCOMPARE(f.statusTexts.size(), said);

        CBackupDlg none(f.connection, "");
        QVERIFY(!child<QPushButton>(&none, "okButton")->isEnabled() && !child<QPushButton>(&none, "browseButton")->isEnabled());
    }
};

QTEST_MAIN(ViewCommandsTest)
#include "ViewCommandsTest.moc"
