// The desktop program from start-up: which database it opens or asks for, the title, the
// second copy, a runtime folder that is not private, the sync's close / re-open requests from a
// real client, the menus and the frame (its size and place: MainWindowTest).
#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTreeView>
#include <atomic>
#include <sstream>
#include <sys/stat.h>
#include <thread>

#include "mainform/CQuillmarView.h"
#include "platform/ole/FormatAmount.h"
#include "document/CQuillmarDoc.h"
#include "platform/ipc/DesktopChannel.h"
#include "shell/CAboutDlg.h"
#include "shell/CMainFrame.h"
#include "platform/ipc/InstanceGuard.h"
#include "shell/CQuillmarApp.h"
#include "shell/CommandLine.h"
#include "shell/HelpWindow.h"
#include "platform/ui/HelpPages.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void addExpense(const TestDatabase& db)
{
    db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID, TypeComp) "
            "VALUES (0, 'GENERAL', '2004-03-15 00:00:00', 'Donation', 1000000, 2004, 0)");
}

bool sendFromAnotherThread(int code)
{
    return whileServing([code] { return ipc::DesktopChannel::NotifyDesktop(code); });
}

// Points the data folders (where an installed guide would be) at an empty temporary folder.
class NoInstalledGuide {
public:
    NoInstalledGuide() : m_oldHome(qgetenv("XDG_DATA_HOME")), m_oldDirs(qgetenv("XDG_DATA_DIRS"))
    {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_dir.path() + "/home"));
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(m_dir.path() + "/system"));
    }
    ~NoInstalledGuide()
    {
        qputenv("XDG_DATA_HOME", m_oldHome);
        qputenv("XDG_DATA_DIRS", m_oldDirs);
    }

private:
    TempDir m_dir;
    QByteArray m_oldHome, m_oldDirs;
};

// Clicks the first link of the page shown whose target is href.
bool clickLink(QTextBrowser* browser, const QString& href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor() || fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + 1);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    return false;
}

}  // namespace

class CQuillmarAppTest : public QObject {
    Q_OBJECT
private slots:
    void init() { SetAmountLocale(ole::NumberLocale(".", ",")); }

    void firstRunAsksAtOnceAndCancelEndsTheProgram()
    {
        IsolatedProfile profile;
        MessageLog messages;
        FileDialogScript dialogs;
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar"}));
        QCOMPARE(app.MainFrame().windowTitle(), QString("Quillmar - "));
        QVERIFY(app.MainFrame().isVisible());
        settle();
        QCOMPARE(dialogs.requests().size(), std::size_t(1));
        QCOMPARE(dialogs.requests().front().title, QString("Select Database for Quillmar"));
        QVERIFY(!app.MainFrame().isVisible());  // the posted exit closed the window
        QCOMPARE(messages.shown().size(), std::size_t(1));  // the offer of a new database, answered No
    }

    void rememberedDatabaseOpensWithItsTree()
    {
        IsolatedProfile profile;
        FileDialogScript dialogs;
        TestDatabase db;
        addExpense(db);
        profile.writeDefaultDatabase(db.path());
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar"}));
        settle();
        QVERIFY(dialogs.requests().empty());
        QVERIFY(app.m_db.IsOpen());
        QCOMPARE(app.MainFrame().windowTitle(), QString::fromStdString("Quillmar - " + db.path()));
        QCOMPARE(app.MainFrame().View().Model().ItemCount(), std::size_t(2));
        QCOMPARE(app.MainFrame().View().CurrentSortMode(), SortMode::ByDate);
    }

    void commandLineDatabaseOpensFirstAndTheDialogStillFollows()
    {
        IsolatedProfile profile;
        FileDialogScript dialogs;
        TestDatabase db;
        dialogs.cancel();
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", db.path()}));
        settle();
        QCOMPARE(dialogs.requests().size(), std::size_t(1));
        QVERIFY(app.MainFrame().isVisible());  // Cancel keeps the database
        QVERIFY(app.m_db.IsOpen());
        QCOMPARE(app.m_strCurrDB, db.path());
        QVERIFY(profile.defaultDatabase().empty());
        QAction* recent = app.MainFrame().findChild<QAction*>("command57616");
        QVERIFY(recent);
        QCOMPARE(recent->text(), QString::fromStdString("&1 " + db.path()));
        QCOMPARE(recent->statusTip(), QString("Open this database"));
    }

    void unusableCommandLineDatabaseEndsTheProgram()
    {
        IsolatedProfile profile;
        MessageLog messages;
        TempDir dir;
        CQuillmarApp app;
        QVERIFY(!app.InitInstance({"Quillmar", dir.file("nothing.mdb")}));
        QCOMPARE(app.ExitCode(), 1);
        const std::string nothing = dir.file("nothing.mdb");
        QCOMPARE(messages.texts(),
                 QStringList({QString::fromStdString("Unable to open: " + nothing + "\nCould not find file '" + nothing + "'.")}));
    }

    void runtimeFolderOpenToOthersIsRefusedWithAMessage()
    {
        IsolatedProfile profile;
        MessageLog messages;
        const std::string runtime = profile.dir().file("runtime");
        QVERIFY(::chmod(runtime.c_str(), 0777) == 0);
        CQuillmarApp app;
        QVERIFY(!app.InitInstance({"Quillmar"}));
        QCOMPARE(app.ExitCode(), 1);
        QCOMPARE(messages.texts(),
                 QStringList({QString::fromStdString("The runtime folder '" + runtime +
                                                     "' is open to other users (mode 0777).\nQuillmar keeps its lock "
                                                     "file and its channel to HotSync only in a folder that no other "
                                                     "user can use. Set XDG_RUNTIME_DIR to a folder of yours with "
                                                     "mode 0700.")}));
        QCOMPARE(messages.shown().front().icon, ui::MessageBox::Icon::Stop);
        QVERIFY2(!fileExists(runtime + "/Qlmr_Quillmar_WNDCLASS.lock"), "nothing is made in a folder others can use");
    }

    void syncRequestsFromARealClientCloseAndReopen()
    {
        IsolatedProfile profile;
        TestDatabase db;
        addExpense(db);
        profile.writeDefaultDatabase(db.path());
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar"}));
        settle();
        QVERIFY(app.m_db.IsOpen());

        QVERIFY(sendFromAnotherThread(ipc::kCloseDatabase));
        QVERIFY(!app.m_db.IsOpen());  // closed before the client got its answer
        QVERIFY(!app.MainFrame().View().Expenses().IsOpen());
        addExpense(db);               // the sync adds a row meanwhile
        QVERIFY(sendFromAnotherThread(ipc::kReopenDatabase));
        QVERIFY(app.m_db.IsOpen());
        QCOMPARE(app.MainFrame().View().Model().ItemCount(), std::size_t(3));
        QCOMPARE(app.MainFrame().statusBar()->currentMessage(), QString("HotSync: 1 expense received."));
    }

    void withoutAReachableDisplayItSaysSoAndEnds()
    {
        const struct {
            const char* display;  // nullptr: DISPLAY unset
            const char* says;
        } cases[] = {
            {nullptr, "quillmar: no display found (DISPLAY and WAYLAND_DISPLAY are not set)"},
            {":987", "quillmar: cannot connect to the display :987 (DISPLAY)."},
        };
        for (const auto& c : cases) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
                environment.remove(name);
            if (c.display)
                environment.insert("DISPLAY", c.display);
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QUILLMAR_BINARY, {});
            QVERIFY(program.waitForFinished(20000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 1);
            const QString err = QString::fromUtf8(program.readAllStandardError());
            QVERIFY2(err.startsWith(c.says), qPrintable(err));
        }
    }

    void secondCopyRaisesTheFirstAndEnds()
    {
        IsolatedProfile profile;
        TestDatabase db;
        profile.writeDefaultDatabase(db.path());
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar"}));
        settle();
        app.MainFrame().showMinimized();
        settle();

        QProcess second;
        second.start(QUILLMAR_BINARY, {});
        QElapsedTimer timer;
        timer.start();
        while (second.state() != QProcess::NotRunning && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!app.MainFrame().isMinimized());
    }

    void statusBarToggleResizesTheFrameNotTheForm()
    {
        IsolatedProfile profile;
        FileDialogScript dialogs;
        dialogs.cancel();
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar"}));
        CMainFrame& frame = app.MainFrame();
        const QSize form = frame.View().size();
        const int withBar = frame.height();
        const int barHeight = frame.statusBar()->sizeHint().height();
        frame.Action(CMainFrame::ID_VIEW_STATUS_BAR)->trigger();
        QCOMPARE(frame.height(), withBar - barHeight);
        QCOMPARE(frame.View().size(), form);
        frame.Action(CMainFrame::ID_VIEW_STATUS_BAR)->trigger();
        QCOMPARE(frame.height(), withBar);
    }

    void menusFollowTheirEnableRules()
    {
        IsolatedProfile profile;
        MessageLog messages;
        FileDialogScript dialogs;
        TestDatabase db;
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", db.path()}));
        CMainFrame& frame = app.MainFrame();
        QCOMPARE(frame.Action(CMainFrame::ID_FILE_OPEN)->text(), QString("&Open Database..."));
        QCOMPARE(frame.Action(CMainFrame::ID_FILE_OPEN)->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(frame.Action(CMainFrame::ID_FILE_OPEN)->statusTip(), QString("Open an existing database."));
        QCOMPARE(frame.Action(CMainFrame::ID_FILE_OPEN)->toolTip(), QString("Open"));
        QCOMPARE(frame.Action(CMainFrame::ID_APP_ABOUT)->statusTip(),
                 QString("Display program information, version number and copyright."));

        frame.UpdateCommandStates();  // open, but no expense rows
        QVERIFY(frame.Action(CMainFrame::ID_FILE_BACKUP)->isEnabled());
        QVERIFY(frame.Action(CMainFrame::ID_CONFIG_ACCOUNTS)->isEnabled());
        QVERIFY(!frame.Action(CMainFrame::ID_FILE_EXPORT)->isEnabled());
        QVERIFY(!frame.Action(CMainFrame::ID_FILE_REPORTS)->isEnabled());

        addExpense(db);
        frame.View().RefreshTree();
        frame.UpdateCommandStates();
        QVERIFY(frame.Action(CMainFrame::ID_FILE_EXPORT)->isEnabled());
        QVERIFY(frame.Action(CMainFrame::ID_FILE_REPORTS)->isEnabled());

        app.Document().OnDatabaseRequest(ipc::kCloseDatabase);
        frame.UpdateCommandStates();
        for (const auto command : {CMainFrame::ID_FILE_BACKUP, CMainFrame::ID_FILE_EXPORT, CMainFrame::ID_FILE_REPORTS,
                                   CMainFrame::ID_CONFIG_ACCOUNTS, CMainFrame::ID_CONFIG_CATEGORIES, CMainFrame::ID_CONFIG_PROJECTS})
            QVERIFY(!frame.Action(command)->isEnabled());
        QVERIFY(frame.Action(CMainFrame::ID_FILE_OPEN)->isEnabled());
        QVERIFY(frame.Action(CMainFrame::ID_APP_EXIT)->isEnabled());

        QStringList menus;
        for (QAction* menu : frame.menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"&File", "&Edit", "&Configure", "&View", "&Help"}));
        QCOMPARE(frame.Action(CMainFrame::ID_EDIT_FIND)->shortcut(), QKeySequence(QKeySequence::Find));
        frame.Action(CMainFrame::ID_EDIT_FIND)->trigger();
        QVERIFY(!frame.findChild<CQuillmarView*>()->FindBar()->isHidden());
        QCOMPARE(frame.findChild<QLabel*>("indicatorCAP") != nullptr, true);
    }

    void helpTopicsShowsTheGuideFromTheSourceTree()
    {
        IsolatedProfile profile;
        NoInstalledGuide noInstall;
        MessageLog messages;
        TestDatabase db;
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", db.path()}));
        CMainFrame& frame = app.MainFrame();
        QCOMPARE(frame.Action(CMainFrame::ID_HELP_FINDER)->shortcut(), QKeySequence(QKeySequence::HelpContents));
        frame.Action(CMainFrame::ID_HELP_FINDER)->trigger();
        auto* help = frame.findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->windowTitle(), QString("Quillmar Help"));
        QTextBrowser* browser = help->Browser();
        QVERIFY(browser->source().toLocalFile().endsWith("/help/index.html"));
        QCOMPARE(browser->documentTitle(), QString("Quillmar Help: Contents"));

        QVERIFY(clickLink(browser, "hotsync.html"));
        QTRY_VERIFY(browser->source().toLocalFile().endsWith("/help/hotsync.html"));
        QCOMPARE(browser->documentTitle(), QString("Quillmar Help: HotSync"));
        help->findChild<QPushButton*>("backButton")->click();
        QCOMPARE(browser->documentTitle(), QString("Quillmar Help: Contents"));
        QVERIFY(messages.shown().empty());

        frame.Action(CMainFrame::ID_HELP_FINDER)->trigger();  // again: the same window
        QCOMPARE(frame.findChildren<HelpWindow*>().size(), 1);
    }

    void helpTopicsWithoutAGuideSaysWhereItLooked()
    {
        IsolatedProfile profile;
        NoInstalledGuide noInstall;
        MessageLog messages;
        TestDatabase db;
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", db.path()}));
        const QString sourceFolder = ui::help::SetSourceFolder(QString::fromStdString(profile.dir().path() + "/nohelp"));
        app.MainFrame().Action(CMainFrame::ID_HELP_FINDER)->trigger();
        ui::help::SetSourceFolder(sourceFolder);
        QCOMPARE(app.MainFrame().findChild<HelpWindow*>(), nullptr);
        QCOMPARE(messages.shown().size(), std::size_t(1));
        QVERIFY(messages.texts()[0].startsWith("The user guide is not installed."));
        QVERIFY(messages.texts()[0].contains(QString::fromStdString(profile.dir().path() + "/nohelp")));
    }

    void aboutBoxShowsTheVersionTexts()
    {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QString("About Quillmar"));
        QCOMPARE(about.findChild<QLabel*>("versionLabel")->text(), QString("Version 1.0.0.1"));
        QCOMPARE(about.findChild<QLabel*>("productNameLabel")->text(), QString("Quillmar"));
        QVERIFY(about.findChild<QLabel*>("productNameLabel")->font().bold());
        QVERIFY(about.findChild<QLabel*>("copyrightLabel")->text().startsWith("Copyright"));

        CAboutDlg bare(nullptr, VersionResource(std::map<std::string, std::string>{}));
        QCOMPARE(bare.findChild<QLabel*>("versionLabel")->text(), QString("Version <no version info found>"));
        QCOMPARE(bare.findChild<QLabel*>("productNameLabel")->text(), QString("<no version info found>"));
        QCOMPARE(bare.findChild<QLabel*>("copyrightLabel")->text(), QString("<no version info found>"));
    }

    void commandLineOptionsInTheUsualForm()
    {
        const struct {
            std::vector<std::string> arguments;
            bool run;
            int exitCode;
            const char* out;  // the start of what goes to standard output
            const char* err;  // a part of what goes to standard error
        } cases[] = {
            {{"Quillmar", "--version"}, false, 0, "quillmar 1.0.0", ""},
            {{"Quillmar", "--help"}, false, 0, "Usage: quillmar [options] [DATABASE]", ""},
            {{"Quillmar", "--bogus"}, false, 2, "", "Unknown option 'bogus'"},
            {{"Quillmar", "-x", "a.mdb"}, false, 2, "", "Usage: quillmar"},
            {{"Quillmar", "a.mdb", "b.mdb"}, false, 2, "", "one database at a time"},
            {{"Quillmar", "rel/a.mdb"}, true, 0, "", ""},
            {{"Quillmar"}, true, 0, "", ""},
        };
        for (const auto& c : cases) {
            std::ostringstream out, err;
            const CommandLine::Result result = CommandLine::Parse(c.arguments, out, err);
            QCOMPARE(result.bRun, c.run);
            QCOMPARE(result.nExitCode, c.exitCode);
            QVERIFY2(out.str().rfind(c.out, 0) == 0, out.str().c_str());
            QVERIFY2(err.str().find(c.err) != std::string::npos, err.str().c_str());
        }
        std::ostringstream out, err;
        QCOMPARE(CommandLine::Parse({"Quillmar", "rel/a.mdb"}, out, err).strDatabase,
                 QDir::current().absoluteFilePath("rel/a.mdb").toStdString());
        // A file name that is not UTF-8 keeps its bytes.
        QCOMPARE(CommandLine::Parse({"Quillmar", "--", "/tmp/caf\xe9.mdb"}, out, err).strDatabase, std::string("/tmp/caf\xe9.mdb"));
    }

    void aSecondCopysDatabaseOpensInTheFirst()
    {
        IsolatedProfile profile;
        MessageLog messages;
        FileDialogScript dialogs;
        TestDatabase first, second;
        profile.writeDefaultDatabase(first.path());
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar"}));
        settle();
        const auto handOver = [](const std::string& path) {
            return whileServing([path] {
                ipc::InstanceGuard guard;
                return guard.Acquire(path) == ipc::InstanceGuard::Outcome::AnotherCopyRuns;
            });
        };
        QVERIFY(handOver(second.path()));
        settle();
        QCOMPARE(app.m_strCurrDB, second.path());
        QCOMPARE(app.MainFrame().windowTitle(), QString::fromStdString("Quillmar - " + second.path()));
        // A path that is no database: the running copy says so and keeps its database.
        QVERIFY(handOver(second.dir().path()));
        settle();
        QCOMPARE(app.m_strCurrDB, second.path());
        QVERIFY(app.m_db.IsOpen());
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().first().startsWith(QString::fromStdString("Unable to open: " + second.dir().path())));
    }
};

QTEST_MAIN(CQuillmarAppTest)
#include "CQuillmarAppTest.moc"
