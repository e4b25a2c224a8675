// The HotSync host: the actions it keeps for the conduit, its command line, a whole sync through
// the real host program, the real conduit library and a real desktop program running beside it,
// which gives up its database during the sync and shows the imported rows after it, and the exit
// status and closing line of a sync that failed or found its handheld held by another HotSync.
#include <QtTest>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <filesystem>
#include <unistd.h>

#include "mainform/CQuillmarView.h"
#include "platform/ole/FormatAmount.h"
#include "shell/CMainFrame.h"
#include "shell/CQuillmarApp.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"
#include "platform/palm/HotSyncHost.h"
#include "platform/palm/SyncMgr.h"
#include "tools/hotsync/HandheldFolder.h"
#include "tools/hotsync/HotSyncManager.h"

namespace {

struct Output {
    int status = -1;
    QString out, err;
};

// Runs a program while this thread keeps serving (the desktop program lives here).
Output runServing(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// A handheld in the profile's folder with the Quillmar application and one expense on it.
QString handheldWithAnExpense(const IsolatedProfile& profile)
{
    const QString handheld = QString::fromStdString(profile.dir().file("handheld"));
    if (runServing(HANDHELD_BINARY, {"init", handheld}).status != 0 ||
        runServing(HANDHELD_BINARY, {"add-expense", handheld, "--type", "0", "--date", "20041225", "--amount", "1234",
                                     "--item", "Gift"}).status != 0)
        qFatal("cannot make the handheld %s", qPrintable(handheld));
    return handheld;
}

// Every line of the main tree, depth first.
QStringList treeTexts(CQuillmarView& view)
{
    QStringList texts;
    ExpenseTreeModel& model = view.Model();
    std::function<void(ExpenseTreeModel::Item)> walk = [&](ExpenseTreeModel::Item item) {
        for (; item; item = model.GetNextSiblingItem(item)) {
            texts << QString::fromStdString(model.Text(item));
            walk(model.GetChildItem(item));
        }
    };
    walk(model.GetRootItem());
    return texts;
}

}  // namespace

class HotSyncTest : public QObject {
    Q_OBJECT
private slots:
    void actionsForTheNextHotSyncAreUsedOnce()
    {
        IsolatedProfile profile;
        QCOMPARE(HotSyncManager::DefaultAction(), palm::HotSyncAction::Synchronize);
        QVERIFY(!HotSyncManager::NextAction());
        HotSyncManager::StoreAction(palm::HotSyncAction::HandheldToDesktop, 2);
        QCOMPARE(HotSyncManager::TakeAction(), palm::HotSyncAction::HandheldToDesktop);
        QCOMPARE(HotSyncManager::TakeAction(), palm::HotSyncAction::Synchronize);
        HotSyncManager::StoreAction(palm::HotSyncAction::DoNothing, 2);
        HotSyncManager::StoreAction(palm::HotSyncAction::HandheldToDesktop, 1);  // a new default drops it
        QCOMPARE(HotSyncManager::TakeAction(), palm::HotSyncAction::HandheldToDesktop);
        QVERIFY(!HotSyncManager::NextAction());
    }

    void actionsKeepTheirNumbersInTheSettings()
    {
        IsolatedProfile profile;
        HotSyncManager::StoreAction(palm::HotSyncAction::HandheldToDesktop, 1);
        HotSyncManager::StoreAction(palm::HotSyncAction::DoNothing, 2);
        QSettings stored(QSettings::IniFormat, QSettings::UserScope, "Corvander", "HotSync");
        QCOMPARE(stored.value("Quillsync/DefaultAction").toString(), QString("2"));
        QCOMPARE(stored.value("Quillsync/NextAction").toString(), QString("6"));
        // A number that is no action is handed on as it is, for the conduit to refuse.
        stored.setValue("Quillsync/NextAction", 3);
        stored.sync();
        QCOMPARE(palm::StoredValue(HotSyncManager::TakeAction()), 3);
    }

    void logLinesShowTheirOutcome()
    {
        QCOMPARE(HotSyncManager::FormatLogLine({"Quillmar", 20}), std::string("OK Quillmar"));
        QCOMPARE(HotSyncManager::FormatLogLine({"Quillmar", 21}), std::string("FAILED Quillmar"));
        QCOMPARE(HotSyncManager::FormatLogLine({"--> Quillmar - Remote version mismatch", -1}),
                 std::string("--> Quillmar - Remote version mismatch"));
        QCOMPARE(HotSyncManager::FormatLogLine({"", 19}), std::string());
        QCOMPARE(HotSyncManager::ClosingLine(SYNCERR_FILE_IO, "/palm/Qlmr-Expenses.pdb", "Quillsync"),
                 std::string("HotSync failed (result 16389: the handheld database file /palm/Qlmr-Expenses.pdb could not be "
                             "saved)"));
        QCOMPARE(HotSyncManager::ClosingLine(SYNCERR_FILE_IO, "", "Quillsync"),
                 std::string("HotSync failed (result 16389: a handheld file could not be read, written or replaced)"));
    }

    void commandLineErrors()
    {
        IsolatedProfile profile;
        QCOMPARE(runServing(HOTSYNC_BINARY, {}).status, 2);
        QCOMPARE(runServing(HOTSYNC_BINARY, {"--handheld"}).status, 2);
        QCOMPARE(runServing(HOTSYNC_BINARY, {"--handheld", "x", "--action", "sometimes"}).status, 2);
        const Output missing = runServing(HOTSYNC_BINARY, {"--handheld", QString::fromStdString(profile.dir().file("none"))});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains("is not a handheld directory"));
        const Output noConduit = runServing(HOTSYNC_BINARY, {"--handheld", ".", "--conduit", "/nonexistent/libX.so"});
        QCOMPARE(noConduit.status, 1);
        QVERIFY(noConduit.err.contains("cannot load the conduit"));
        QCOMPARE(runServing(HOTSYNC_BINARY, {"--help"}).status, 0);
    }

    void aWholeSyncWithTheDesktopRunning()
    {
        IsolatedProfile profile;
        SetAmountLocale(ole::NumberLocale(".", ","));
        TestDatabase db;
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID, TypeComp) "
                "VALUES (0, 'GENERAL', '2004-03-15 00:00:00', 'Donation', 1000000, 2004, 0)");
        profile.writeDefaultDatabase(db.path());
        const QString handheld = QString::fromStdString(profile.dir().file("handheld"));
        QCOMPARE(runServing(HANDHELD_BINARY, {"init", handheld, "--user", "Ann"}).status, 0);
        QCOMPARE(runServing(HANDHELD_BINARY, {"add-expense", handheld, "--type", "0", "--date", "20041225", "--amount", "1234",
                                              "--item", "Gift", "--category", "GENERAL", "--account", "CASH"}).status, 0);
        QCOMPARE(runServing(HANDHELD_BINARY, {"add-expense", handheld, "--type", "1", "--date", "20050115", "--amount", "50000",
                                              "--project", "2005", "--item", "Q4 payment", "--category", "FEDERAL"}).status, 0);

        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar"}));
        QCoreApplication::processEvents();
        QVERIFY(app.m_db.IsOpen());
        QCOMPARE(app.MainFrame().View().Model().ItemCount(), std::size_t(2));

        const QString log = QString::fromStdString(profile.dir().file("HotSync.log"));
        const Output sync = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", log});
        QCOMPARE(sync.status, 0);
        QVERIFY2(sync.out.contains("\nOK Quillmar\n"), qPrintable(sync.out + sync.err));
        QVERIFY(QFile(log).exists());

        // The desktop re-opened its database and rebuilt its tree with the imported rows.
        QVERIFY(app.m_db.IsOpen());
        QCOMPARE(db.count("Expenses"), 3);
        QStringList groups;
        ExpenseTreeModel& model = app.MainFrame().View().Model();
        for (auto item = model.GetRootItem(); item; item = model.GetNextSiblingItem(item))
            groups << QString::fromStdString(model.GetItemData(item)->m_strText);
        QCOMPARE(groups.join("|"), QString("Tax YR: 2004 =   112.34|EST TAX: 2005 =   500.00"));
        QCOMPARE(model.ItemCount(), std::size_t(5));
        const Output dump = runServing(HANDHELD_BINARY, {"dump", handheld});
        QVERIFY(dump.out.contains("Qlmr-Accounts"));

        // A second sync without desktop changes sends nothing and imports nothing more.
        const Output again = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", log});
        QCOMPARE(again.status, 0);
        QCOMPARE(db.count("Expenses"), 3);
        QCOMPARE(QFile(log).size() > 0, true);
    }

    void aHotSyncWhileAnEntryDialogIsOpenKeepsWhatWasTyped()
    {
        // The user opens Add New or Edit Expense, types, a HotSync runs, and Save stores what was
        // typed into the re-opened database beside the synced row.
        for (const bool edit : {false, true}) {
            IsolatedProfile profile;
            MessageLog messages;
            SetAmountLocale(ole::NumberLocale(".", ","));
            TestDatabase db;
            db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Detail, Amount, ProjectID, TypeComp) "
                    "VALUES (0, 'GENERAL', '2004-03-15 00:00:00', 2004, 'Donation', 'Red Cross', 1000000, 2004, 0)");
            profile.writeDefaultDatabase(db.path());
            const QString handheld = handheldWithAnExpense(profile);
            CQuillmarApp app;
            QVERIFY(app.InitInstance({"Quillmar"}));
            QCoreApplication::processEvents();
            CQuillmarView& view = app.MainFrame().View();
            QVERIFY(app.m_db.IsOpen());

            Output sync;
            whenModal<QDialog>([&](QDialog* dialog) {
                const auto type = [dialog](const char* name, const char* text) {
                    dialog->findChild<QLineEdit*>(name)->setText(text);
                };
                if (!edit) {
                    dialog->findChild<QComboBox*>("accountCombo")->setCurrentIndex(0);
                    type("itemEdit", "Stamps");
                    type("detailEdit", "Post office");
                }
                type("amountEdit", "12.50");
                sync = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", QString::fromStdString(profile.dir().file("HotSync.log"))});
                dialog->findChild<QPushButton*>("saveButton")->click();
                if (dialog->isVisible())
                    dialog->reject();
            });
            if (edit) {
                ExpenseTreeModel& model = view.Model();
                view.SelectItem(model.GetChildItem(model.GetRootItem()));  // the Donation line
                view.OnDoubleClick(view.SelectedItem());
            } else {
                view.OnAddNew();
            }
            QVERIFY2(sync.status == 0, qPrintable(sync.out + sync.err));
            QVERIFY2(messages.shown().empty(), qPrintable(messages.texts().join('|')));
            QCOMPARE(db.count("Expenses"), edit ? 2 : 3);
            QCOMPARE(db.scalar(edit ? "SELECT Amount FROM Expenses WHERE Item='Donation'"
                                    : "SELECT Amount FROM Expenses WHERE Item='Stamps'"),
                     std::string("125000"));
            QCOMPARE(db.count("Expenses", "Item='Gift'"), 1);  // the handheld's, once
            const QStringList shown = treeTexts(view);
            view.RefreshTree();
            QCOMPARE(shown, treeTexts(view));
            QCOMPARE(app.MainFrame().statusBar()->currentMessage(), QString("HotSync: 1 expense received."));
        }
    }

    void theHandheldFolderMustBeTheUsersAloneAfterItsLinks()
    {
        // The rule, for any owner and mode.
        const uid_t me = ::geteuid();
        const struct {
            uid_t owner;
            mode_t mode;
            const char* refusal;  // its start; empty: used
        } rules[] = {
            {me, 0700, ""},
            {me, 0755, ""},
            {me, 0775, "The handheld folder F can be written by other users (mode 0775)"},
            {me, 0757, "The handheld folder F can be written by other users (mode 0757)"},
            {me, 01777, "The handheld folder F can be written by other users (mode 1777)"},
            {me + 1, 0700, "The handheld folder F belongs to "},
        };
        for (const auto& rule : rules) {
            const std::string refusal = HandheldFolder::Refusal("F", rule.owner, rule.mode, me);
            QVERIFY2(*rule.refusal ? refusal.starts_with(rule.refusal) : refusal.empty(), refusal.c_str());
        }

        // A link to a folder that others can write: refused, naming both, and nothing read or written.
        IsolatedProfile profile;
        TestDatabase db;
        profile.writeDefaultDatabase(db.path());
        const QString handheld = handheldWithAnExpense(profile);
        const QString link = QString::fromStdString(profile.dir().file("link"));
        QVERIFY(QFile::link(handheld, link));
        QVERIFY(QFile::setPermissions(handheld, QFileDevice::Permissions(0x7777)));
        const QStringList before = QDir(handheld).entryList(QDir::Files);
        const Output refused = runServing(HOTSYNC_BINARY, {"--handheld", link, "--log", QString::fromStdString(profile.dir().file("log"))});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.out.contains("The handheld folder " + link + " (" + handheld + ") can be written by other users (mode 0777)"),
                 qPrintable(refused.out));
        QCOMPARE(db.count("Expenses"), 0);
        QCOMPARE(QDir(handheld).entryList(QDir::Files), before);
        QVERIFY(QFile::setPermissions(handheld, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        QCOMPARE(runServing(HOTSYNC_BINARY, {"--handheld", link, "--log", QString::fromStdString(profile.dir().file("log"))}).status, 0);
        QCOMPARE(db.count("Expenses"), 1);

        // Another user's folder (only root can make one here).
        if (::geteuid() != 0)
            QSKIP("another user's folder needs root to make; the rule above covers its check");
        const QString theirs = handheldWithAnExpense(profile) + "-theirs";
        QVERIFY(QDir().rename(handheld, theirs));
        QCOMPARE(::chown(theirs.toUtf8().constData(), 65534, 65534), 0);
        const Output foreign = runServing(HOTSYNC_BINARY, {"--handheld", theirs, "--log", QString::fromStdString(profile.dir().file("log"))});
        QCOMPARE(foreign.status, 1);
        QVERIFY2(foreign.out.contains("The handheld folder " + theirs + " belongs to "), qPrintable(foreign.out));
        QVERIFY2(foreign.out.contains("(uid 65534), not to you"), qPrintable(foreign.out));
        QCOMPARE(db.count("Expenses"), 1);
    }

    void aDatabasePathThatIsNotUTF8IsUsedAsItsBytes()
    {
        // caf\xe9.mdb and, as a decoy, the file its name would become if decoded: caf\ufffd.mdb.
        for (const bool typedIntoTheFile : {false, true}) {
            IsolatedProfile profile;
            TestDatabase db;
            const std::string path = profile.dir().file("caf\xe9.mdb");
            const std::string decoy = profile.dir().file("caf\xef\xbf\xbd.mdb");
            std::filesystem::copy_file(db.path(), path);
            std::filesystem::copy_file(db.path(), decoy);
            if (typedIntoTheFile) {
                std::filesystem::create_directories(profile.dir().file("config/Corvander"));
                writeFile(profile.dir().file("config/Corvander/Quillmar.ini"), "[Settings]\nCurrDBName=" + path + "\n");
            } else {
                profile.writeDefaultDatabase(path);
            }
            const QString handheld = handheldWithAnExpense(profile);
            const Output sync = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", QString::fromStdString(profile.dir().file("log"))});
            QVERIFY2(sync.status == 0, qPrintable(sync.out + sync.err));
            QCOMPARE(TestDatabase::scalarAt(path, "SELECT count(*) FROM Expenses"), std::string("1"));
            QCOMPARE(TestDatabase::scalarAt(decoy, "SELECT count(*) FROM Expenses"), std::string("0"));
        }

        // The desktop program opens it from its command line; the title shows what it can.
        IsolatedProfile profile;
        TestDatabase db;
        const std::string path = profile.dir().file("caf\xe9.mdb");
        std::filesystem::copy_file(db.path(), path);
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", path}));
        QVERIFY(app.m_db.IsOpen());
        QCOMPARE(app.m_strCurrDB, path);
        QVERIFY(app.MainFrame().windowTitle().endsWith(QString("caf") + QChar::ReplacementCharacter + ".mdb"));
    }

    void aFailureSetsTheExitStatusAndSaysWhy()
    {
        static constexpr const char* kDesktop = "the desktop database";
        struct Case {
            const char* what;
            bool rememberDatabase;  // Quillmar has a default database
            const char* damaged;    // a handheld file made unreadable, kDesktop for the desktop database
            QStringList lines;      // lines of the printed log, in order, the last one last (%1: the
                                    //   handheld)
        };
        const Case cases[] = {
            {"no remembered database", false, nullptr,
             {"FAILED Quillmar - No Target database - ",
              "--> Quillmar - no desktop database is remembered: open one in Quillmar and tick \"Set as Default "
              "database\"",
              "HotSync failed (Quillsync reported a failure above)"}},
            {"a damaged Quillmar.prc", true, "Quillmar.prc",
             {"FAILED Quillmar", "--> Quillmar - Remote version mismatch",
              "--> Quillmar - the Quillmar application's database on the handheld is damaged",
              "HotSync failed (Quillsync reported a failure above)"}},
            {"a damaged Saved Preferences", true, "Saved Preferences.prc",
             {"FAILED Quillmar",
              "HotSync failed (result 16388: the handheld database file %1/Saved Preferences.prc is damaged)"}},
            {"a desktop database that cannot be opened", true, kDesktop,
             {"--> Quillmar - the desktop database could not be opened",
              "HotSync failed (result 4353: Quillsync's own code, its reason is above)"}},
        };
        for (const Case& c : cases) {
            IsolatedProfile profile;
            TestDatabase db;
            if (c.rememberDatabase)
                profile.writeDefaultDatabase(db.path());
            const QString handheld = handheldWithAnExpense(profile);
            const bool desktopDamaged = c.damaged == kDesktop;
            if (c.damaged)
                writeFile(desktopDamaged ? db.path() : handheld.toStdString() + "/" + c.damaged, "damaged");
            const QString log = QString::fromStdString(profile.dir().file("HotSync.log"));
            const Output sync = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", log});
            QVERIFY2(sync.status == 1, c.what);
            // The expected lines in their order (others may come between), the closing one last.
            const QStringList printed = sync.out.trimmed().split('\n');
            qsizetype at = 0;
            bool inOrder = true;
            for (const QString& line : c.lines) {
                const qsizetype found = printed.indexOf(QString(line).replace("%1", handheld), at);
                inOrder = inOrder && found >= 0;
                at = found + 1;
            }
            QVERIFY2(inOrder && at == printed.size(), qPrintable(QString(c.what) + ":\n" + sync.out));
            QVERIFY2(QString::fromStdString(readFile(log.toStdString())) == sync.out, c.what);
            if (!desktopDamaged)
                QVERIFY2(db.count("Expenses") == 0, c.what);
        }
    }

    void aHandheldThatAnotherHotSyncHoldsIsRefused()
    {
        IsolatedProfile profile;
        TestDatabase db;
        profile.writeDefaultDatabase(db.path());
        const QString handheld = handheldWithAnExpense(profile);
        // This process is the other HotSync: it has the handheld connected while the host starts.
        QCOMPARE(HotSyncConnect(handheld.toUtf8().constData()), 0);
        const QString log = QString::fromStdString(profile.dir().file("HotSync.log"));
        const Output refused = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", log});
        HotSyncDisconnect();
        QCOMPARE(refused.status, 1);
        const QString expected = "The handheld in " + handheld +
                                 " is being synchronised by another HotSync; try again when it has finished.\n"
                                 "HotSync failed (result 16400: another HotSync holds the handheld)\n";
        QVERIFY2(refused.out.endsWith(expected), qPrintable(refused.out));
        QVERIFY(QString::fromStdString(readFile(log.toStdString())).endsWith(expected));
        QCOMPARE(db.count("Expenses"), 0);

        const Output after = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", log});
        QCOMPARE(after.status, 0);
        QCOMPARE(db.count("Expenses"), 1);
    }

    void aLogThatCannotBeKeptIsAFailure()
    {
        IsolatedProfile profile;
        TestDatabase db;
        profile.writeDefaultDatabase(db.path());
        const QString handheld = QString::fromStdString(profile.dir().file("handheld"));
        QCOMPARE(runServing(HANDHELD_BINARY, {"init", handheld}).status, 0);
        const QString folder = QString::fromStdString(profile.dir().file("folder"));
        QVERIFY(QDir().mkpath(folder));
        const Output sync = runServing(HOTSYNC_BINARY, {"--handheld", handheld, "--log", folder});
        QCOMPARE(sync.status, 1);
        QVERIFY2(sync.err.contains("cannot write the log file"), qPrintable(sync.err));
    }
};

QTEST_MAIN(HotSyncTest)
#include "HotSyncTest.moc"
