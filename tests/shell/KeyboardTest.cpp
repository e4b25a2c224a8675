// The keyboard: within each menu of the main window and each dialog of the program no two
// entries share a mnemonic and every label's mnemonic leads to a field; the main window's keys
// Insert, Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+P and Ctrl+Q do their commands.
#include <QtTest>

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <functional>
#include <map>
#include <memory>

#include "conduit/entry/CQuillCfgMinDlg.h"
#include "conduit/entry/CQuillConfigDlg.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/CAccountsDlg.h"
#include "dialogs/CAcctEditDlg.h"
#include "dialogs/CCategoriesDlg.h"
#include "dialogs/CCodeDescCombo.h"
#include "dialogs/CExpCatDlg.h"
#include "dialogs/CExpEditDlg.h"
#include "dialogs/CExpTypeDlg.h"
#include "dialogs/CExpenseDlg.h"
#include "dialogs/CNewProjDlg.h"
#include "dialogs/CProjectsDlg.h"
#include "dialogs/CStatusDlg.h"
#include "document/CBackupDlg.h"
#include "mainform/CQuillmarView.h"
#include "platform/ipc/DesktopChannel.h"
#include "platform/ole/FormatAmount.h"
#include "reports/CReportOpts.h"
#include "shell/CAboutDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CQuillmarApp.h"
#include "shell/HelpWindow.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

// The letter after a single '&' ("&&" is an ampersand), upper-cased; null without a mnemonic.
QChar mnemonicOf(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1].isSpace() ? QChar() : text[i + 1].toUpper();
    }
    return {};
}

// Collects the texts that answer Alt+letter in one place (a menu, a dialog) and what is wrong
// with them: a letter used twice, a label whose letter leads nowhere.
class MnemonicCheck {
public:
    explicit MnemonicCheck(QString where) : m_where(std::move(where)) {}

    void Add(const QString& text)
    {
        const QChar letter = mnemonicOf(text);
        if (letter.isNull())
            return;
        const auto [it, added] = m_owners.emplace(letter, text);
        if (!added)
            m_faults << QString("%1: \"%2\" and \"%3\" share %4").arg(m_where, it->second, text, letter);
    }

    // The window's own texts: buttons, labels, group boxes and tabs that would be shown with it,
    // and the titles of its menu bar.
    void AddWindow(const QWidget* window)
    {
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (button->isVisibleTo(window))
                Add(button->text());
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(window) || mnemonicOf(label->text()).isNull())
                continue;
            if (!label->buddy())
                m_faults << QString("%1: label \"%2\" has no buddy").arg(m_where, label->text());
            Add(label->text());
        }
        for (const QGroupBox* box : window->findChildren<QGroupBox*>())
            if (box->isVisibleTo(window))
                Add(box->title());
        for (const QTabWidget* tabs : window->findChildren<QTabWidget*>())
            for (int i = 0; tabs->isVisibleTo(window) && i < tabs->count(); ++i)
                Add(tabs->tabText(i));
        for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
            AddActions(bar->actions());
    }

    void AddActions(const QList<QAction*>& actions)
    {
        for (const QAction* action : actions)
            if (action->isVisible() && !action->isSeparator())
                Add(action->text());
    }

    const QStringList& Faults() const { return m_faults; }

private:
    QString m_where;                     // the menu or dialog, for the messages
    std::map<QChar, QString> m_owners;   // each letter with the first text that took it
    QStringList m_faults;                // what is wrong, one line each
};

QStringList windowFaults(const QString& where, const QWidget* window)
{
    MnemonicCheck check(where);
    check.AddWindow(window);
    return check.Faults();
}

// The main window's menus, each on its own.
QStringList menuFaults(const QMainWindow& frame)
{
    QStringList faults;
    for (const QAction* title : frame.menuBar()->actions()) {
        MnemonicCheck check("menu " + title->text());
        check.AddActions(title->menu()->actions());
        faults << check.Faults();
    }
    return faults;
}

// A database with a type of each kind, categories, accounts, projects and one expense, open on
// the record sets the dialogs are given.
struct Fixture {
    TestDatabase db;
    CADODataBase connection;
    CAdoRecordset expenses{&connection}, types{&connection}, projects{&connection}, statuses{&connection};
    ReportSettings reportSettings;
    MessageLog messages;

    Fixture()
    {
        SetAmountLocale(ole::NumberLocale(".", ","));
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES "
                "(12, 'TRVL', 'Travel', 2), (20, 'OFFC', 'Office', 1)");
        db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES (12, 'FUEL', 'Gas'), (20, 'SUPPLIES', 'Supplies')");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName, Active) VALUES (7, 'Zed', 1)");
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Amount, Reimburse, Status, ProjectID, TypeComp, AcctCode) "
                "VALUES (20, 'SUPPLIES', '2004-06-01 00:00:00', 2004, 'Ink', 123456, 0, 5, 2004, 1, 'CASH')");
        if (!connection.Open(db.path()) || !expenses.OpenTable("Expenses") || !types.OpenTable("lkpExpTypes") ||
            !projects.OpenTable("Projects") || !statuses.OpenTable("lkpExpBillStatus"))
            qFatal("cannot open the test database");
    }
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Types key in the main window's tree, the window active again after any dialog.
bool press(CMainFrame& frame, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&frame))
        return false;
    frame.View().TreeView()->setFocus();
    QTest::keyClick(frame.View().TreeView(), static_cast<Qt::Key>(key), modifiers);
    return true;
}

// How many Dialogs type opened (each is cancelled once shown); -1 when a key could not be typed.
template <typename Dialog>
int dialogsOpenedBy(const std::function<bool()>& type)
{
    int opened = 0;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            ++opened;
            dialog->reject();
        }
    });
    closer.start();
    const bool typed = type();
    QTest::qWait(50);
    return typed ? opened : -1;
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void checkFindsSharedLettersAndLabelsWithoutBuddy()
    {
        QDialog dialog;
        auto* edit = new QLineEdit(&dialog);
        auto* withBuddy = new QLabel("&Name:", &dialog);
        withBuddy->setBuddy(edit);
        new QLabel("&Detail:", &dialog);  // no buddy
        new QPushButton("&Delete", &dialog);
        new QPushButton("Save && &Close", &dialog);
        auto* hidden = new QPushButton("&Next", &dialog);
        hidden->hide();
        QCOMPARE(windowFaults("test", &dialog),
                 QStringList({"test: label \"&Detail:\" has no buddy",
                              "test: \"&Delete\" and \"&Detail:\" share D"}));
        QCOMPARE(mnemonicOf("Save && &Close"), QChar('C'));
        QCOMPARE(mnemonicOf("PC & Handheld"), QChar());
    }

    void everyMenuAndDialogHasUniqueMnemonics()
    {
        IsolatedProfile profile;
        FileDialogScript fileDialogs;
        Fixture f;
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", f.db.path()}));
        settle();
        QStringList faults = menuFaults(app.MainFrame());
        faults << windowFaults("main window", &app.MainFrame());

        const std::vector<std::pair<QString, std::function<std::unique_ptr<QWidget>()>>> dialogs = {
            {"CExpEditDlg", [&] { return std::make_unique<CExpEditDlg>(f.connection, f.expenses, f.statuses, "OFFC: 2004", "SUPPLIES"); }},
            {"CStatusDlg", [] { return std::make_unique<CStatusDlg>(); }},
            {"CAccountsDlg", [&] { return std::make_unique<CAccountsDlg>(f.connection); }},
            {"CAcctEditDlg", [] { return std::make_unique<CAcctEditDlg>(); }},
            {"CCategoriesDlg", [&] { return std::make_unique<CCategoriesDlg>(f.types); }},
            {"CExpCatDlg", [] { return std::make_unique<CExpCatDlg>(); }},
            {"CExpTypeDlg", [] { return std::make_unique<CExpTypeDlg>(); }},
            {"CNewProjDlg", [] { return std::make_unique<CNewProjDlg>(); }},
            {"CProjectsDlg", [&] { return std::make_unique<CProjectsDlg>(f.projects); }},
            {"CBackupDlg", [&] { return std::make_unique<CBackupDlg>(f.connection, f.db.path()); }},
            {"CReportOpts", [&] { return std::make_unique<CReportOpts>(f.connection, f.types, f.projects, f.statuses, f.reportSettings); }},
            {"CAboutDlg", [] { return std::make_unique<CAboutDlg>(); }},
            {"HelpWindow", [] { return std::make_unique<HelpWindow>(QUrl()); }},
            {"CQuillCfgMinDlg", [] { return std::make_unique<CQuillCfgMinDlg>(); }},
            {"CQuillConfigDlg", [] { return std::make_unique<CQuillConfigDlg>(); }},
        };
        for (const auto& [name, make] : dialogs)
            faults << windowFaults(name, make().get());

        // The new expense dialog renames a label with the type: each type's texts are checked.
        CExpenseDlg expense(f.connection);
        for (int i = 0; i < expense.TypeCombo()->count(); ++i) {
            expense.TypeCombo()->setCurrentIndex(i);
            faults << windowFaults("CExpenseDlg, type " + expense.TypeCombo()->itemText(i), &expense);
        }
        QVERIFY2(expense.TypeCombo()->count() >= 3, "the types of each kind");
        faults.removeDuplicates();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    void keysOfTheMainWindow()
    {
        IsolatedProfile profile;
        FileDialogScript fileDialogs;
        Fixture f;
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", f.db.path()}));
        CMainFrame& frame = app.MainFrame();
        settle();

        QCOMPARE(frame.View().CurrentSortMode(), SortMode::ByDate);
        QVERIFY(press(frame, Qt::Key_Tab, Qt::ControlModifier));
        QCOMPARE(frame.View().CurrentSortMode(), SortMode::ByCategory);
        QVERIFY(press(frame, Qt::Key_Tab, Qt::ControlModifier));  // round to the first
        QCOMPARE(frame.View().CurrentSortMode(), SortMode::ByDate);
        QVERIFY(press(frame, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(frame.View().CurrentSortMode(), SortMode::ByCategory);
        QVERIFY(press(frame, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(frame.View().CurrentSortMode(), SortMode::ByDate);

        QCOMPARE(dialogsOpenedBy<CExpenseDlg>([&] { return press(frame, Qt::Key_Insert); }), 1);
        QCOMPARE(dialogsOpenedBy<CReportOpts>([&] { return press(frame, Qt::Key_P, Qt::ControlModifier); }), 1);

        // Insert is the button: nothing while it is disabled. Ctrl+P opens nothing while a HotSync
        // has the database closed, even before a menu was opened to update the entry.
        app.Document().OnDatabaseRequest(ipc::kCloseDatabase);
        frame.View().AddNewButton()->setEnabled(false);
        QCOMPARE(dialogsOpenedBy<CExpenseDlg>([&] { return press(frame, Qt::Key_Insert); }), 0);
        QCOMPARE(dialogsOpenedBy<CReportOpts>([&] { return press(frame, Qt::Key_P, Qt::ControlModifier); }), 0);
        QVERIFY(!frame.Action(CMainFrame::ID_FILE_REPORTS)->isEnabled());

        QVERIFY(frame.isVisible());
        QVERIFY(press(frame, Qt::Key_Q, Qt::ControlModifier));
        QVERIFY(!frame.isVisible());
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
