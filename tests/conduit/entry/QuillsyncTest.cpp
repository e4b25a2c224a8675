// The conduit library as the HotSync host sees it: loaded with dlopen, its six entry points and
// nothing else exported, their argument checks and result codes, the two action dialogs, and
// one synchronisation with its log lines (the reasons of a failure among them) and the desktop
// notified before and after.
#include <QtTest>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <atomic>
#include <dlfcn.h>
#include <functional>
#include <sqlite3.h>
#include <thread>

#include "conduit/entry/CQuillConfigDlg.h"
#include "conduit/entry/Quillsync.h"
#include "conduit/entry/ShowHotSyncHelp.h"
#include "conduit/handheld/HHExpense.h"
#include "platform/ipc/DesktopServer.h"
#include "platform/palm/SyncMgr.h"
#include "platform/ui/HelpPages.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestHandheld.h"

namespace {

struct Library {
    void* handle = dlopen(QUILLSYNC_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ~Library()
    {
        if (handle)
            dlclose(handle);
    }
    template <typename F> F* get(const char* name) const { return reinterpret_cast<F*>(dlsym(handle, name)); }
};

std::int32_t le(const std::uint8_t* block, int offset)
{
    std::int32_t value;
    std::memcpy(&value, block + offset, 4);
    return value;
}

void setLE(std::uint8_t* block, int offset, std::int32_t value) { std::memcpy(block + offset, &value, 4); }

std::vector<std::uint8_t> expense(std::uint16_t type, std::uint32_t date, std::uint32_t cents, std::uint32_t project,
                                  std::uint8_t comp, std::uint8_t reimbursed, const char* item)
{
    hh::HHExpense e;
    e.wExpType = type;
    e.dwDate = date;
    e.dwAmount = cents;
    e.dwProjectID = project;
    e.bExpComp = comp;
    e.bReimburse = reimbursed;
    e.item = item;
    e.category = "FUEL";
    e.account = "CASH";
    std::vector<std::uint8_t> buffer(hh::kExpenseBufferSize);
    buffer.resize(hh::PackExpense(e, buffer));
    return buffer;
}

// Runs OpenConduit on another thread while this one serves a desktop channel that records the
// requests it gets, as a running Quillmar would answer them.
struct SyncRun {
    std::int32_t result = 0;
    std::vector<int> requests;
};

SyncRun openConduitServed(const Library& lib, std::int32_t syncType, bool desktopRuns = true)
{
    SyncRun run;
    ipc::DesktopServer server;
    if (desktopRuns) {
        server.Listen();
        server.SetHandler([&](ipc::RequestKind, std::int32_t code, const std::string&) {
            run.requests.push_back(code);
            return 0;
        });
    }
    auto* open = lib.get<int32_t(void*, void*)>("OpenConduit");
    std::uint8_t props[8] = {};
    setLE(props, 0, syncType);
    int callback = 0;
    run.result = whileServing([&] { return open(&callback, props); });
    return run;
}

// What a synchronisation needs: a private profile that remembers a fresh desktop database, and a
// connected handheld.
struct SyncSetup {
    SyncSetup() { profile.writeDefaultDatabase(db.path()); }

    IsolatedProfile profile;  // the profile and runtime folder of the test
    TestDatabase db;          // the remembered desktop database
    TestHandheld handheld;    // the handheld, connected
};

}  // namespace

class QuillsyncTest : public QObject {
    Q_OBJECT
private slots:
    void onlyTheSixEntryPointsAreExported()
    {
        Library lib;
        QVERIFY2(lib.handle, dlerror());
        for (const char* name : {"GetConduitName", "GetConduitVersion", "GetConduitInfo", "ConfigureConduit", "OpenConduit", "CfgConduit"})
            QVERIFY2(dlsym(lib.handle, name), name);
        QVERIFY(!dlsym(lib.handle, "_ZN12CSyncContext14ImportExpensesEv"));
        QVERIFY(!dlsym(lib.handle, "_Z16ShowHotSyncHelpP7QWidget"));
    }

    void conduitNameAndInfo()
    {
        Library lib;
        auto* name = lib.get<int32_t(char*, uint16_t)>("GetConduitName");
        char buffer[24];
        std::memset(buffer, 'x', sizeof buffer);
        QCOMPARE(name(buffer, 5), 0);
        QCOMPARE(QByteArray(buffer, 6), QByteArray("Quil\0x", 6));
        std::memset(buffer, 'x', sizeof buffer);
        QCOMPARE(name(buffer, 20), 0);
        QCOMPARE(QByteArray(buffer, 21), QByteArray("Quillsync\0\0\0\0\0\0\0\0\0\0\0x", 21));
        std::memset(buffer, 'x', sizeof buffer);
        QCOMPARE(name(buffer, 0), 0);
        QCOMPARE(buffer[0], 'x');  // no room even for the NUL: nothing written

        QCOMPARE(lib.get<int32_t()>("GetConduitVersion")(), 0x101);

        auto* info = lib.get<int32_t(int32_t, int32_t*, void*, uint32_t*)>("GetConduitInfo");
        std::int32_t args[2] = {1, 80};
        std::uint32_t size = 4;
        std::int32_t out = 77;
        QCOMPARE(info(1, args, nullptr, &size), 4209);
        QCOMPARE(info(1, args, &out, nullptr), 4215);
        QCOMPARE(info(0, nullptr, buffer, &size), 4212);
        args[1] = 81;
        QCOMPARE(info(0, args, buffer, &size), 4213);
        args[1] = 80;
        std::uint32_t nameSize = sizeof buffer;
        QCOMPARE(info(0, args, buffer, &nameSize), 0);
        QCOMPARE(QString(buffer), QString("Quillsync"));
        size = 2;
        QCOMPARE(info(1, args, &out, &size), 4211);
        QCOMPARE(out, 77);  // unchanged
        size = 4;
        QCOMPARE(info(1, args, &out, &size), 0);
        QCOMPARE(out, 0x0710);
        QCOMPARE(info(2, args, &out, &size), 0);
        QCOMPARE(out, 0);
        QCOMPARE(info(3, args, &out, &size), 4208);
    }

    void cfgConduitChecksItsArgumentsAndShowsTheUsersSettings()
    {
        Library lib;
        auto* cfg = lib.get<int32_t(int32_t, void*, uint32_t*)>("CfgConduit");
        std::uint8_t block[kCfgBlockSize] = {};
        std::uint32_t size = kCfgBlockSize;
        QCOMPARE(cfg(0, nullptr, &size), 4212);
        QCOMPARE(cfg(0, block, nullptr), 4216);
        size = 351;
        QCOMPARE(cfg(0, block, &size), 4218);
        size = kCfgBlockSize;
        QCOMPARE(cfg(1, block, &size), 4217);
        QCOMPARE(cfg(0, block, &size), 4219);  // block kind 0

        setLE(block, kCfgKindOffset, 1);
        std::strcpy(reinterpret_cast<char*>(block + kCfgUserNameOffset), "Ann & Bo");
        setLE(block, kCfgDefaultTypeOffset, 7);  // unknown: shown as no text
        setLE(block, kCfgNextTypeOffset, 2);
        whenModal<QDialog>([](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Change HotSync Action"));
            QCOMPARE(dialog->findChild<QGroupBox*>("settingsGroupBox")->title(), QString("Ann && Bo's Current Settings:"));  // "&" shown, not a mnemonic
            QCOMPARE(dialog->findChild<QLabel*>("nextActionText")->text(), QString("Handheld writes to Desktop."));
            QCOMPARE(dialog->findChild<QLabel*>("defaultActionText")->text(), QString());
            QVERIFY(dialog->findChild<QRadioButton*>("handheldRadio")->isChecked());
            dialog->findChild<QRadioButton*>("nothingRadio")->setChecked(true);
            dialog->findChild<QCheckBox*>("setDefaultCheckBox")->setChecked(true);
            dialog->findChild<QPushButton*>("okButton")->click();
        });
        QCOMPARE(cfg(0, block, &size), 0);
        QCOMPARE(le(block, kCfgChosenTypeOffset), 6);
        QCOMPARE(le(block, kCfgScopeOffset), 1);

        whenModal<QDialog>([](QDialog* dialog) { dialog->findChild<QPushButton*>("cancelButton")->click(); });
        QCOMPARE(cfg(0, block, &size), -1);
    }

    void configureConduitShowsAnUnknownTypeAsDoNothing()
    {
        Library lib;
        auto* configure = lib.get<int32_t(void*)>("ConfigureConduit");
        std::uint8_t block[kConfigureBlockSize] = {};
        setLE(block, kConfigureScopeOffset, 99);
        setLE(block, kConfigureSyncTypeOffset, 1);
        whenModal<QDialog>([](QDialog* dialog) {
            QVERIFY(dialog->findChild<QRadioButton*>("nothingRadio")->isChecked());
            QCOMPARE(dialog->findChild<QGroupBox*>("actionGroupBox")->title(), QString("HotSync action for Quillmar"));
            dialog->findChild<QPushButton*>("okButton")->click();
        });
        QCOMPARE(configure(block), 0);
        QCOMPARE(le(block, kConfigureSyncTypeOffset), 6);
        QCOMPARE(le(block, kConfigureScopeOffset), 2);  // "Set as default" left clear

        setLE(block, kConfigureSyncTypeOffset, 0);
        whenModal<QDialog>([](QDialog* dialog) {
            QVERIFY(dialog->findChild<QRadioButton*>("syncRadio")->isChecked());
            dialog->reject();
        });
        QCOMPARE(configure(block), -1);
        QCOMPARE(le(block, kConfigureSyncTypeOffset), 0);
        QCOMPARE(le(block, kConfigureScopeOffset), 0);
    }

    void dialogTexts()
    {
        // The number in a request block, the radio button a dialog opens with, the number OK on
        // that button writes back, and the text the full dialog shows for the number.
        const struct {
            std::int32_t stored;
            int radio;
            std::int32_t written;
            const char* text;
        } actions[] = {
            {0, 0, 0, "Synchronize the PC && Handheld."},
            {2, 1, 2, "Handheld writes to Desktop."},
            {6, 2, 6, "Do Nothing"},
            {1, 2, 6, ""},  // numbers that are no action show as "Do nothing", without a text
            {3, 2, 6, ""},
            {-1, 2, 6, ""},
        };
        for (const auto& a : actions) {
            const palm::HotSyncAction action = palm::HotSyncActionOf(a.stored);
            QCOMPARE(palm::StoredValue(action), a.stored);
            QCOMPARE(CSyncActionDlg::RadioIndexOf(action), a.radio);
            QCOMPARE(palm::StoredValue(CSyncActionDlg::SyncTypeOf(a.radio)), a.written);
            QCOMPARE(CSyncActionDlg::SyncTypeText(action), std::string(a.text));
        }
        QCOMPARE(CSyncActionDlg::SyncTypeOf(3), palm::HotSyncAction::DoNothing);  // no such radio button
    }

    void helpFindsTheGuidesHotSyncPageOrSaysItIsMissing()
    {
        TempDir data;
        const QByteArray oldHome = qgetenv("XDG_DATA_HOME"), oldDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.path() + "/home"));
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(data.path() + "/system"));

        // Nothing installed: the source tree's guide.
        const auto source = HotSyncHelpPath();
        QVERIFY(source && source->ends_with("/help/hotsync.html") && fileExists(*source));

        // An installed guide comes first.
        QVERIFY(QDir().mkpath(QString::fromStdString(data.path() + "/system/quillmar/help")));
        writeFile(data.path() + "/system/quillmar/help/hotsync.html", "<html></html>");
        QCOMPARE(HotSyncHelpPath(), std::optional<std::string>(data.path() + "/system/quillmar/help/hotsync.html"));

        // Neither: the button says so and where it looked.
        QVERIFY(QFile::remove(QString::fromStdString(data.path() + "/system/quillmar/help/hotsync.html")));
        const QString sourceFolder = ui::help::SetSourceFolder({});
        QCOMPARE(HotSyncHelpPath(), std::optional<std::string>());
        MessageLog messages;
        ShowHotSyncHelp(nullptr);
        ui::help::SetSourceFolder(sourceFolder);
        qputenv("XDG_DATA_HOME", oldHome);
        qputenv("XDG_DATA_DIRS", oldDirs);
        QCOMPARE(messages.shown().size(), std::size_t(1));
        QVERIFY(messages.texts()[0].startsWith("The user guide is not installed."));
        QVERIFY(messages.texts()[0].contains(QString::fromStdString(data.path() + "/home/quillmar/help")));
    }

    void syncTypesThatDoNoWork()
    {
        IsolatedProfile profile;
        TestHandheld handheld;
        Library lib;
        auto* open = lib.get<int32_t(void*, void*)>("OpenConduit");
        std::uint8_t props[8] = {};
        int callback = 0;
        QCOMPARE(open(nullptr, props), -1);
        QVERIFY(handheld.m_log.empty());

        setLE(props, 0, 6);
        QCOMPARE(open(&callback, props), 0);
        setLE(props, 0, 3);
        QCOMPARE(open(&callback, props), 4217);
        QCOMPARE(handheld.m_log, (std::vector<LogLine>{{"Quillmar - sync configured to Do Nothing.", -1},
                                                       {"Quillmar - Invalid sync operation.", 21}}));

        handheld.m_log.clear();
        const SyncRun run = openConduitServed(lib, 0);  // no default database remembered
        QCOMPARE(run.result, 0);
        QCOMPARE(handheld.m_log,
                 (std::vector<LogLine>{{"Quillmar - No Target database - ", 21},
                                       {"--> Quillmar - no desktop database is remembered: open one in Quillmar and "
                                        "tick \"Set as Default database\"",
                                        -1}}));
        QVERIFY(run.requests.empty());
    }

    void registrationRefused()
    {
        SyncSetup setup;
        auto& [profile, db, handheld] = setup;
        std::uint32_t other = 0;
        QCOMPARE(SyncRegisterConduit(&other), 0);
        Library lib;
        const SyncRun run = openConduitServed(lib, 0);
        QVERIFY(run.result != 0);
        QCOMPARE(handheld.m_log, (std::vector<LogLine>{{"Quillmar - Unable to register conduit.", 21}}));
        QVERIFY(run.requests.empty());
        SyncUnRegisterConduit(other);
    }

    void aSynchronisationImportsAndTellsTheDesktop()
    {
        SyncSetup setup;
        auto& [profile, db, handheld] = setup;
        handheld.putApplication({"1.0,1"});
        handheld.putExpenses({expense(0, 20041225, 1234, 0, 0, 0, "Donation"), expense(12, 20041226, 500, 7, 2, 1, "Taxi")});
        Library lib;
        const SyncRun run = openConduitServed(lib, 0);
        QCOMPARE(run.result, 0);
        QCOMPARE(run.requests, (std::vector<int>{10, 20}));
        QCOMPARE(handheld.m_log, (std::vector<LogLine>{{"", 19}, {"Quillmar", 20}}));
        QCOMPARE(db.scalar("SELECT group_concat(Item || '/' || Amount || '/' || Status, ',') FROM Expenses"),
                 std::string("Donation/123400/0,Taxi/50000/1"));
        QVERIFY(handheld.records("Qlmr-Expenses").empty());
        QVERIFY(handheld.has("Qlmr-Accounts"));  // the lookup tables were new to the handheld
        QCOMPARE(db.scalar("SELECT Minor FROM QlVersion WHERE AppCode='PalmUpdt'"), std::string("1"));
    }

    void handheldToDesktopNeverSendsLookups()
    {
        SyncSetup setup;
        auto& [profile, db, handheld] = setup;
        handheld.putApplication({"1.0,1"});
        handheld.putExpenses({expense(0, 20041225, 1234, 0, 0, 0, "Donation")});
        Library lib;
        const SyncRun run = openConduitServed(lib, 2, false);  // no desktop running: not notified
        QCOMPARE(run.result, 0);
        QCOMPARE(db.count("Expenses"), 1);
        QVERIFY(!handheld.has("Qlmr-Accounts"));
    }

    void aHandheldApplicationThatDoesNotPassSaysWhy()
    {
        struct Case {
            const char* what;
            std::function<void(TestHandheld&)> arrange;  // the application as the handheld has it
            const char* reason;                          // the line after the version mismatch
        };
        const Case cases[] = {
            {"missing", [](TestHandheld&) {},
             "--> Quillmar - the Quillmar application is not installed on the handheld"},
            {"damaged", [](TestHandheld& h) { writeFile(h.file("Quillmar.prc"), "damaged"); },
             "--> Quillmar - the Quillmar application's database on the handheld is damaged"},
            {"too old", [](TestHandheld& h) { h.putApplication({"1.0,0"}); },
             "--> Quillmar - the Quillmar application on the handheld is version 0; version 1 or later is needed"},
        };
        for (const Case& c : cases) {
            SyncSetup setup;
            auto& [profile, db, handheld] = setup;
            c.arrange(handheld);
            handheld.putExpenses({expense(0, 20041225, 1234, 0, 0, 0, "Donation")});
            Library lib;
            const SyncRun run = openConduitServed(lib, 0);
            QCOMPARE(run.result, 0);
            QCOMPARE(run.requests, (std::vector<int>{10, 20}));
            QCOMPARE(handheld.m_log, (std::vector<LogLine>{{"", 19},
                                                           {"Quillmar", 21},
                                                           {"--> Quillmar - Remote version mismatch", -1},
                                                           {c.reason, -1}}));
            QCOMPARE(db.count("Expenses"), 0);
            QCOMPARE(handheld.records("Qlmr-Expenses").size(), std::size_t(1));
        }
    }

    void failuresOfTheEngineSayWhy()
    {
        SyncSetup setup;
        auto& [profile, db, handheld] = setup;
        handheld.putApplication({"1.0,1"});
        db.exec("DELETE FROM lkpAccounts");
        Library lib;
        QCOMPARE(openConduitServed(lib, 0).result, 4384);
        QCOMPARE(handheld.m_log,
                 (std::vector<LogLine>{{"", 19},
                                       {"Quillmar", 21},
                                       {"--> Quillmar - the desktop has no accounts, or no active projects, to send to "
                                        "the handheld",
                                        -1}}));

        // A line the engine logs while it works comes under the line it explains.
        handheld.m_log.clear();
        db.exec("CREATE VIEW HotSyncImports AS SELECT 1 AS Other");
        handheld.putExpenses({expense(0, 20041225, 1234, 0, 0, 0, "Donation")});
        QCOMPARE(openConduitServed(lib, 0).result, 4101);
        QVERIFY(handheld.m_log.size() >= 3);
        QCOMPARE(handheld.m_log[1], (LogLine{"Quillmar", 21}));
        QCOMPARE(handheld.m_log[2], (LogLine{"--> Quillmar - HotSyncImports Open failed", -1}));
        db.exec("DROP VIEW HotSyncImports");

        handheld.m_log.clear();
        profile.writeDefaultDatabase(db.dir().file("missing.mdb"));
        QCOMPARE(openConduitServed(lib, 0).result, 4353);
        QCOMPARE(handheld.m_log, (std::vector<LogLine>{{"", 19},
                                                       {"Quillmar", 21},
                                                       {"--> Quillmar - the desktop database could not be opened", -1},
                                                       {"--> Quillmar - Could not find file '" +
                                                            db.dir().file("missing.mdb") + "'.",
                                                        -1}}));
    }

    void aDesktopDatabaseLockedByAnotherProgramIsNamed()
    {
        // Another program holds the write lock beyond the engine's busy timeout (ten seconds).
        SyncSetup setup;
        auto& [profile, db, handheld] = setup;
        handheld.putApplication({"1.0,1"});
        handheld.putExpenses({expense(0, 20041225, 1234, 0, 0, 0, "Donation")});
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(db.path().c_str(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        Library lib;
        const SyncRun run = openConduitServed(lib, 0);
        sqlite3_close(other);
        QCOMPARE(run.result, 4353);
        QCOMPARE(handheld.m_log.size(), std::size_t(4));
        QCOMPARE(handheld.m_log[2].text, std::string("--> Quillmar - the desktop database could not be opened"));
        const std::string& locked = handheld.m_log[3].text;
        QVERIFY2(locked.starts_with("--> Quillmar - the desktop database is in use by another program; try again "
                                    "when it has finished ("),
                 locked.c_str());
        QVERIFY2(locked.find("database is locked") != std::string::npos, locked.c_str());
        QCOMPARE(handheld.records("Qlmr-Expenses").size(), std::size_t(1));
    }
};

QTEST_MAIN(QuillsyncTest)
#include "QuillsyncTest.moc"
