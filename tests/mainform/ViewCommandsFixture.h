// What the view command tests share: a view on the tree fixture database, finding lines,
// comparing the tree with a rebuild, and filling the entry and status dialogs.
#pragma once

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

inline void selectCode(CCodeDescCombo* combo, const char* code) { combo->setCurrentIndex(combo->FindPrefix(code)); }

// Fills the new expense dialog.
inline void fillExpense(CExpenseDlg* dialog, const char* type, const char* project, const char* category, const QDate& date,
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
inline void enterExpense(const char* type, const char* project, const char* category, const QDate& date, const char* amount,
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
inline bool pressAcrossASync(Fixture& f, QDialog* dialog, const char* button)
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
inline void restateFromTo(const char* from, const char* to)
{
    whenModal<CStatusDlg>([=](CStatusDlg* dialog) {
        selectCode(dialog->FromCombo(), from);
        selectCode(dialog->ToCombo(), to);
        dialog->findChild<QPushButton*>("okButton")->click();
    });
}
