// The document: which database becomes current, the refusal messages, the default and the
// recent files, and the close / re-open requests of the handheld sync.
#include <QtTest>

#include <QFile>

#include "document/CQuillmarDoc.h"
#include "document/JetConverter.h"
#include "dbaccess/CADODataBase.h"
#include "platform/settings/RecentFileList.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

const QString kOfferNewDatabase = "Quillmar has no expense database yet.\n\nDo you want to create a new, empty one? "
                                  "Choose No to open an existing database.";

class FakeFrame : public CQuillmarDoc::Frame {
public:
    void UpdateTitle() override { ++titleUpdates; }
    void PostExit() override { exitPosted = true; }
    QWidget* Window() override { return nullptr; }
    int titleUpdates = 0;
    bool exitPosted = false;
};

// A document with everything it needs, in an isolated profile.
struct Fixture {
    IsolatedProfile profile;
    MessageLog messages;
    FileDialogScript dialogs;
    CADODataBase db;
    std::string currentDb;
    settings::RecentFileList recent{4};
    FakeFrame frame;
    CQuillmarDoc doc{db, currentDb, recent};
    std::vector<UpdateHint> hints;

    Fixture()
    {
        doc.SetFrame(&frame);
        QObject::connect(&doc, &CQuillmarDoc::UpdateAllViews, [this](UpdateHint hint) { hints.push_back(hint); });
    }
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A stand-in converter: a shell script run as quillmar-db would be ("convert JET NEW --force").
std::string FakeConverter(const TempDir& dir, const std::string& body)
{
    const std::string path = dir.file("fake-converter");
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(Q(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

enum class JetRun { Declined, Converted, Refused, RealConverterRefuses, Crashed, Hung };

// The reason line the engine gives for a damaged file, checked for its beginning, its report and its end.
void checkDamageReason(const QString& line, const std::string& path, const Damage& damage)
{
    QVERIFY2(line.startsWith("'" + Q(path) + "' is damaged (SQLite reports: "), qPrintable(line));
    QVERIFY2(line.contains(damage.report), qPrintable(line));
    QVERIFY2(line.endsWith("). It was not opened, so nothing was written to it."), qPrintable(line));
}

}  // namespace

Q_DECLARE_METATYPE(JetRun)

class CQuillmarDocTest : public QObject {
    Q_OBJECT
private slots:
    void jetFilesAreConvertedInAChildProcess_data()
    {
        QTest::addColumn<JetRun>("run");
        QTest::addColumn<QString>("said");  // the last message
        QTest::newRow("declined") << JetRun::Declined << "";
        QTest::newRow("converted") << JetRun::Converted << "Converted 0 expenses, 1 accounts, 2 expense types, 2 categories, 0 projects.";
        QTest::newRow("refused") << JetRun::Refused << "The file could not be converted: it has no table Expenses.";
        QTest::newRow("the real converter") << JetRun::RealConverterRefuses
                                            << "The file could not be converted: %1 is an Access database but not an expense "
                                               "database: it has no table Expenses.";
        QTest::newRow("crash") << JetRun::Crashed
                               << "The file could not be converted: the converter stopped unexpectedly on this file (the "
                                  "file may be damaged)";
        QTest::newRow("hang") << JetRun::Hung
                              << "The file could not be converted: the conversion did not finish within 1 seconds and was stopped";
    }
    void jetFilesAreConvertedInAChildProcess()
    {
        QFETCH(JetRun, run);
        QFETCH(QString, said);
        Fixture f;
        TestDatabase current;
        QVERIFY(f.doc.OpenDatabase(current.path(), true));
        const std::string jetFile = current.dir().file("old books.mdb");
        writeFile(jetFile, readFile(JET_SAMPLES "/nwind.mdb"));
        const std::string target = current.dir().file("old books-quillmar.mdb");
        const char* const scripts[] = {
            "", QUILLMAR_DB_TOOL " create \"$3\" --force >/dev/null && echo 'Converted 0 expenses, 1 accounts, 2 expense "
                "types, 2 categories, 0 projects.'",
            "echo 'quillmar-db: it has no table Expenses.' >&2; exit 1", "", "kill -SEGV $$", "sleep 20"};
        const char* script = scripts[static_cast<int>(run)];
        JetConverter::SetProgram(*script ? FakeConverter(current.dir(), script) : std::string());
        JetConverter::SetTimeLimit(run == JetRun::Hung ? 1000 : 60000);
        f.messages.queueAnswer(run == JetRun::Declined ? ui::MessageBox::Answer::No : ui::MessageBox::Answer::Yes);
        f.dialogs.choose(target, false);
        f.hints.clear();
        const bool opened = f.doc.OnOpenDocument(jetFile);
        JetConverter::SetProgram({});
        JetConverter::SetTimeLimit(600000);

        QVERIFY(f.messages.texts().first().endsWith("is an Access (Jet) database. Quillmar can copy its expenses and lookup "
                                                    "tables into a new Quillmar database and leave this file unchanged. Convert it?"));
        if (!said.isEmpty())
            QCOMPARE(f.messages.texts().last(), said.contains("%1") ? said.arg(Q(jetFile)) : said);
        QCOMPARE(readFile(jetFile), readFile(JET_SAMPLES "/nwind.mdb"));  // never written
        QVERIFY(f.db.IsOpen());
        QCOMPARE(f.currentDb, run == JetRun::Converted ? target : current.path());
        QCOMPARE(f.profile.defaultDatabase(), current.path());  // opened as the command line does
        QCOMPARE(opened, true);  // the new file, or the current one again
        if (run != JetRun::Declined)
            QCOMPARE(f.dialogs.requests().at(0).initialName, Q(target));
        QCOMPARE(fileExists(target), run == JetRun::Converted);
        for (const auto& [name, bytes] : folderContents(current.dir().path()))
            QVERIFY2(name.front() != '.', name.c_str());  // no unfinished file left behind
    }

    void acceptedDatabaseBecomesCurrent()
    {
        Fixture f;
        TestDatabase db;
        QVERIFY(f.doc.OpenDatabase(db.path(), true));
        QVERIFY(f.db.IsOpen());
        QCOMPARE(f.currentDb, db.path());
        QCOMPARE(f.profile.defaultDatabase(), db.path());
        QCOMPARE(f.recent.Entries(), std::vector<std::string>{db.path()});
        QCOMPARE(f.hints, std::vector<UpdateHint>{UpdateHint::DatabaseOpened});
        QCOMPARE(f.frame.titleUpdates, 1);
        QVERIFY(f.messages.shown().empty());
    }

    void untickedBoxKeepsTheOldDefault()
    {
        Fixture f;
        TestDatabase db;
        f.profile.writeDefaultDatabase("/old/default.mdb");
        QVERIFY(f.doc.OpenDatabase(db.path(), false));
        QCOMPARE(f.profile.defaultDatabase(), std::string("/old/default.mdb"));
    }

    void refusalsAreNamedAndLeaveNoTrace()
    {
        Fixture f;
        TestDatabase noVersion, majorZero, good;
        noVersion.exec("DROP TABLE QlVersion");
        majorZero.exec("UPDATE QlVersion SET Major=0, Minor=5 WHERE AppCode='Quillmar'");
        const std::string missing = good.dir().file("gone.mdb");

        QVERIFY(!f.doc.OpenDatabase(missing, true));
        QVERIFY(!f.doc.OpenDatabase(noVersion.path(), true));
        QVERIFY(!f.doc.OpenDatabase(majorZero.path(), true));
        QCOMPARE(f.messages.texts(), QStringList({"Unable to open: " + Q(missing) + "\nCould not find file '" + Q(missing) + "'.",
                                                  Q(noVersion.path()) + "\nDatabase is corrupt or invalid version.",
                                                  Q(majorZero.path()) + "\nInvalid Database version."}));
        for (const auto& shown : f.messages.shown()) {
            QCOMPARE(shown.caption, QString("Quillmar"));
            QCOMPARE(shown.buttons, ui::MessageBox::Buttons::Ok);
        }
        QVERIFY(!f.db.IsOpen());
        QVERIFY(f.currentDb.empty());
        QVERIFY(f.profile.defaultDatabase().empty());
        QVERIFY(f.recent.Entries().empty());
        QVERIFY(f.hints.empty());

        majorZero.exec("UPDATE QlVersion SET Major=1, Minor=-7 WHERE AppCode='Quillmar'");
        QVERIFY2(f.doc.OpenDatabase(majorZero.path(), false), "any Minor is accepted");
    }

    void damagedFilesAreRefusedOnEveryPath()
    {
        for (const Damage& damage : damages()) {
            Fixture f;
            TestDatabase current;
            DamagedDatabase damaged(damage);
            const std::string bytes = readFile(damaged.path());
            QVERIFY(f.doc.OpenDatabase(current.path(), false));
            f.hints.clear();

            // The open dialog, then a recent file or the command line: refused, the current one re-opened.
            QVERIFY(!f.doc.OpenDatabase(damaged.path(), true));
            QVERIFY(!f.db.IsOpen());
            QVERIFY(f.doc.OnOpenDocument(damaged.path()));
            QCOMPARE(f.messages.texts().size(), 2);
            for (const QString& text : f.messages.texts()) {
                QCOMPARE(text.section('\n', 0, 0), "Unable to open: " + Q(damaged.path()));
                checkDamageReason(text.section('\n', 1), damaged.path(), damage);
            }
            QCOMPARE(f.currentDb, current.path());
            QCOMPARE(f.recent.Entries(), std::vector<std::string>{current.path()});
            QVERIFY(f.profile.defaultDatabase().empty());

            // The current file found damaged at a re-open after a sync: closed, and the user told
            // once the sync has its answer.
            f.messages.clear();
            f.db.Close();
            f.currentDb = damaged.path();
            QCOMPARE(f.doc.OnDatabaseRequest(20), 0);
            QVERIFY(!f.db.IsOpen());
            QVERIFY2(f.messages.shown().empty(), "no box while the sync waits for the answer");
            QCoreApplication::processEvents();
            QCOMPARE(f.messages.texts().size(), 1);
            QCOMPARE(f.messages.texts()[0].section('\n', 0, 0), QString("Unable to re-open Quillmar Database."));
            checkDamageReason(f.messages.texts()[0].section('\n', 1), damaged.path(), damage);

            // And at the re-open of the document itself.
            f.messages.clear();
            QVERIFY(!f.doc.ReopenDatabase());
            QCOMPARE(f.messages.texts().size(), 1);
            QCOMPARE(f.messages.texts()[0].section('\n', 0, 0), QString("Unable to re-open Quillmar Database."));
            checkDamageReason(f.messages.texts()[0].section('\n', 1), damaged.path(), damage);
            QVERIFY(f.currentDb.empty());
            QVERIFY(!f.db.IsOpen());
            QCOMPARE(readFile(damaged.path()), bytes);
        }
    }

    void firstRunAsksAndCancelEndsTheProgram()
    {
        Fixture f;
        f.dialogs.cancel();
        f.doc.SelectDatabase();
        QCOMPARE(f.dialogs.requests().size(), std::size_t(1));
        const auto& request = f.dialogs.requests().front();
        QCOMPARE(request.title, QString("Select Database for Quillmar"));
        QCOMPARE(request.filter, QString("Quillmar Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||"));
        QCOMPARE(request.defaultExtension, QString("mdb"));
        QVERIFY(request.mustExist);
        QCOMPARE(request.checkBoxText, QString("Set as Default database"));
        QVERIFY(request.checkBoxChecked);
        QVERIFY(f.frame.exitPosted);
        QCOMPARE(f.messages.texts(), QStringList({kOfferNewDatabase}));  // answered No
    }

    void firstRunCanCreateANewDatabase()
    {
        Fixture f;
        TestDatabase elsewhere;
        const std::string path = elsewhere.dir().file("My Expenses.mdb");
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.dialogs.choose(path);
        f.doc.SelectDatabase();
        QCOMPARE(f.dialogs.requests().size(), std::size_t(1));
        QVERIFY(f.dialogs.requests().front().save && f.dialogs.requests().front().confirmOverwrite);
        QCOMPARE(f.currentDb, path);
        QVERIFY(f.db.IsOpen());
        QCOMPARE(f.profile.defaultDatabase(), path);
        QCOMPARE(TestDatabase::scalarAt(path, "SELECT count(*) FROM QlVersion"), std::string("2"));
        QVERIFY(!f.frame.exitPosted);

        // A folder that cannot take it: the reason is shown and the open dialog follows.
        Fixture g;
        g.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        g.dialogs.choose(elsewhere.dir().file("missing/New.mdb"));
        g.dialogs.cancel();
        g.doc.SelectDatabase();
        QCOMPARE(g.messages.texts().size(), 2);
        QVERIFY(g.messages.texts()[1].startsWith("Unable to create: "));
        QCOMPARE(g.dialogs.requests().size(), std::size_t(2));
        QVERIFY(g.frame.exitPosted);
    }

    void deletedDefaultIsForgottenAndTheDialogFollows()
    {
        Fixture f;
        TestDatabase good;
        f.currentDb = good.dir().file("deleted.mdb");  // as read from the profile at start-up
        f.dialogs.cancel();
        f.doc.SelectDatabase();
        const QString deleted = Q(good.dir().file("deleted.mdb"));
        QCOMPARE(f.messages.texts(),
                 QStringList({"Unable to open: " + deleted + "\nCould not find file '" + deleted + "'.", kOfferNewDatabase}));
        QCOMPARE(f.dialogs.requests().size(), std::size_t(1));
        QVERIFY(f.currentDb.empty());
        QVERIFY(f.frame.exitPosted);
    }

    void refusedChoiceBringsTheDialogBack()
    {
        Fixture f;
        TestDatabase noVersion, good;
        noVersion.exec("DROP TABLE QlVersion");
        f.dialogs.choose(noVersion.path());
        f.dialogs.choose(good.path(), false);
        f.doc.SelectDatabase();
        QCOMPARE(f.dialogs.requests().size(), std::size_t(2));
        QCOMPARE(f.messages.texts(),
                 QStringList({kOfferNewDatabase, Q(noVersion.path()) + "\nDatabase is corrupt or invalid version."}));
        QCOMPARE(f.currentDb, good.path());
        QVERIFY2(f.profile.defaultDatabase().empty(), "the box was unticked");
        QVERIFY(!f.frame.exitPosted);
    }

    void rememberedDefaultOpensSilently()
    {
        Fixture f;
        TestDatabase good;
        f.currentDb = good.path();
        f.doc.SelectDatabase();
        QVERIFY(f.db.IsOpen());
        QVERIFY(f.dialogs.requests().empty());
        QVERIFY2(f.profile.defaultDatabase().empty(), "opening the default does not rewrite it");
    }

    void cancelledFileOpenReopensTheCurrentDatabase()
    {
        Fixture f;
        TestDatabase current, junk;
        QVERIFY(f.doc.OpenDatabase(current.path(), false));
        writeFile(junk.path(), "not a database at all, just some text that is long enough");
        f.hints.clear();
        f.dialogs.choose(junk.path());
        f.dialogs.cancel();
        f.doc.SelectDatabase();  // File > Open while a database is open
        QCOMPARE(f.messages.texts(), QStringList({"Unable to open: " + Q(junk.path()) + "\n'" + Q(junk.path()) +
                                                  "' is not a database file that can be read (file is not a database)."}));
        QVERIFY(f.db.IsOpen());
        QCOMPARE(f.currentDb, current.path());
        // "the same database is re-opened and reloaded"
        QCOMPARE(f.hints, std::vector<UpdateHint>{UpdateHint::DatabaseOpened});
        QVERIFY(!f.frame.exitPosted);
    }

    void failedReopenForgetsTheDatabase()
    {
        Fixture f;
        TestDatabase current;
        QVERIFY(f.doc.OpenDatabase(current.path(), false));
        f.db.Close();
        current.exec("UPDATE QlVersion SET Major=0 WHERE AppCode='Quillmar'");
        f.messages.clear();
        QVERIFY(!f.doc.ReopenDatabase());
        QCOMPARE(f.messages.texts().last(), QString("Unable to re-open Quillmar Database."));
        QVERIFY(f.currentDb.empty());
        QVERIFY(!f.db.IsOpen());
    }

    void openDocumentFallsBackToTheCurrentDatabase()
    {
        Fixture f;
        TestDatabase current;
        QVERIFY(f.doc.OpenDatabase(current.path(), false));
        QVERIFY(f.doc.OnOpenDocument(current.dir().file("missing.mdb")));  // re-opened instead
        QCOMPARE(f.currentDb, current.path());
        QVERIFY(f.db.IsOpen());
        QCOMPARE(f.recent.Entries(), std::vector<std::string>{current.path()});
    }

    void syncRequestsCloseAndReopen()
    {
        Fixture f;
        TestDatabase current;
        QVERIFY(f.doc.OpenDatabase(current.path(), false));
        f.hints.clear();
        QStringList statusTexts;
        QObject::connect(&f.doc, &CQuillmarDoc::StatusMessage, [&statusTexts](const QString& text) { statusTexts << text; });
        const auto sync = [&](int added) {
            QCOMPARE(f.doc.OnDatabaseRequest(10), 0);
            QVERIFY(!f.db.IsOpen());
            QCOMPARE(f.db.ClosedReason(), std::string(CQuillmarDoc::kClosedForHotSync));
            QCOMPARE(f.currentDb, current.path());  // the path stays while the sync works
            for (int i = 0; i < added; ++i)
                current.exec("INSERT INTO Expenses (ExpType, ExpCat, Item, Amount) VALUES (0, 'GENERAL', 'Synced', 10000)");
            QCOMPARE(f.doc.OnDatabaseRequest(20), 0);
            QVERIFY(f.db.IsOpen());
        };
        sync(0);
        sync(1);
        sync(3);
        QCOMPARE(f.hints, std::vector<UpdateHint>(3, UpdateHint::DatabaseOpened));
        QCOMPARE(statusTexts, QStringList({"HotSync: nothing new.", "HotSync: 1 expense received.", "HotSync: 3 expenses received."}));
        QCOMPARE(f.doc.OnDatabaseRequest(15), 0);
        QVERIFY(f.db.IsOpen());

        QCOMPARE(f.doc.OnDatabaseRequest(10), 0);
        std::remove(current.path().c_str());
        QCOMPARE(f.doc.OnDatabaseRequest(20), 0);
        QVERIFY2(!f.db.IsOpen(), "a deleted file simply stays closed");
        QVERIFY(f.messages.shown().empty());
        QCOMPARE(statusTexts.last(), QString("HotSync: the database could not be opened again."));
        QVERIFY(f.db.ClosedReason().starts_with("The database could not be opened again after the HotSync.\n"));
    }

    void aSyncThatEndsWithoutAskingForTheReopenIsFollowedByOne()
    {
        Fixture f;
        TestDatabase current;
        QVERIFY(f.doc.OpenDatabase(current.path(), false));
        QStringList statusTexts;
        QObject::connect(&f.doc, &CQuillmarDoc::StatusMessage, [&statusTexts](const QString& text) { statusTexts << text; });
        QProcess sync;  // stands in for a HotSync that is killed after its close request
        sync.start("sleep", {"1.5"});
        QVERIFY(sync.waitForStarted());
        QCOMPARE(f.doc.OnDatabaseRequest(10, static_cast<pid_t>(sync.processId())), 0);
        current.exec("INSERT INTO Expenses (ExpType, ExpCat, Item, Amount) VALUES (0, 'GENERAL', 'Synced', 10000)");
        QTest::qWait(1100);  // the watch has looked once
        QVERIFY2(!f.db.IsOpen(), "closed while the sync runs");
        QVERIFY(sync.waitForFinished());
        QTRY_VERIFY_WITH_TIMEOUT(f.db.IsOpen(), 3000);
        QCOMPARE(statusTexts, QStringList({"HotSync stopped before it finished: 1 expense received."}));
        QVERIFY(f.messages.shown().empty());
    }
};

QTEST_MAIN(CQuillmarDocTest)
#include "CQuillmarDocTest.moc"
