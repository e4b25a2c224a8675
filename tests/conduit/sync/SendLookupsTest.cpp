// The send of the lookup tables end to end on a schema-built desktop database and a handheld
// directory: the lookup-version counter shared with QlVersion::Bump, what each send leaves on
// the handheld, where it stops, how it meets a damaged or unsavable handheld database, and that a
// send it cannot record fails.
#include <gtest/gtest.h>

#include <functional>

#include "conduit/sync/CSyncContext.h"
#include "database/QlVersion.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/SyncMgr.h"
#include "tests/conduit/sync/SyncContextFixture.h"
#include "tests/support/ReadOnlyFolder.h"

namespace {

const Records kAccounts = {recordBytes("", "CASH"), recordBytes("", "VISA")};
const Records kExpTypes = {recordBytes("0000 00", "TaxDed"), recordBytes("000A 01", "Car"),
                           recordBytes("000B 02", "Meal")};
const Records kCategories = {recordBytes("0000", "GENERAL"), recordBytes("000A", "Fuel"),
                             recordBytes("000A", "Parking"), recordBytes("000B", "Lunch")};
const Records kProjects = {recordBytes("00000005", "Gamma"), recordBytes("0012D687", "Alpha")};
const Records kFilter = {recordBytes("0000 00000000", "TaxDed"), recordBytes("000A 00000000", "Car"),
                         recordBytes("FFFE 00000005", "Gamma"), recordBytes("FFFE 0012D687", "Alpha")};


}  // namespace

// ---- the lookup-version counter -----------------------------------------------------------------

TEST_F(CSyncContextTest, FirstSyncSendsTheLookupsAndRecordsTheVersionOnBothSides)
{
    db.exec("UPDATE QlVersion SET Major=3, Minor=0 WHERE AppCode='PalmUpdt'");
    bool sent = false;
    ASSERT_EQ(sync(&sent), 0);
    EXPECT_TRUE(sent);
    EXPECT_EQ(preference(), hexBytes("0300 0000 01000000 00000000"));
    EXPECT_EQ(palmUpdt(), "3/1");
    EXPECT_EQ(hh.records("Qlmr-Accounts"), Records{recordBytes("", "CASH")});

    std::remove(hh.file("Qlmr-Accounts.pdb").c_str());
    ASSERT_EQ(sync(&sent), 0);
    EXPECT_FALSE(sent) << "nothing changed on the desktop";
    EXPECT_FALSE(hh.has("Qlmr-Accounts"));
}

TEST_F(CSyncContextTest, FollowsTheLookupVersion)
{
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(palmUpdt(), "1/1");
    CADODataBase desktop;
    ASSERT_TRUE(desktop.Open(db.path()));
    EXPECT_TRUE(QlVersion(desktop).Bump());  // an editor changed a table
    EXPECT_TRUE(QlVersion(desktop).Bump());  // and another, before the next synchronisation
    desktop.Close();
    EXPECT_EQ(palmUpdt(), "2/0");

    bool sent = false;
    ASSERT_EQ(sync(&sent), 0);
    EXPECT_TRUE(sent);
    EXPECT_EQ(palmUpdt(), "2/1");
    EXPECT_EQ(preference()[0], 2);

    ASSERT_TRUE(desktop.Open(db.path()));
    EXPECT_TRUE(QlVersion(desktop).Bump());
    desktop.Close();
    EXPECT_EQ(palmUpdt(), "3/0");
    ASSERT_EQ(sync(&sent), 0);
    EXPECT_TRUE(sent);
    EXPECT_EQ(preference()[0], 3);
}

TEST_F(CSyncContextTest, WithoutAPalmUpdtRowNothingIsSent)
{
    db.exec("DELETE FROM QlVersion WHERE AppCode='PalmUpdt'");
    bool sent = true;
    ASSERT_EQ(sync(&sent), 0);
    EXPECT_FALSE(sent);
    EXPECT_TRUE(preference().empty());
}

TEST_F(CSyncContextTest, TheHandheldsPreferenceBytesAreKept)
{
    auto prefs = palm::PalmDatabaseFile::Create("Saved Preferences", palm::FourCC("sprf"), palm::FourCC("psys"),
                                                palm::kAttrResDB | palm::kAttrBackup);
    prefs.PutResource(palm::FourCC("Qlmr"), 0, hexBytes("0004 0700 1234 56789ABC DEF01122"));
    hh.put(prefs);
    ASSERT_EQ(sync(), 0);
    const auto stored = hh.load("Saved Preferences").FindResource(palm::FourCC("Qlmr"), 0)->data;
    EXPECT_EQ(stored, hexBytes("0004 0100 1234 56789ABC DEF01122")) << "only the first word changed";
}

// ---- what a send leaves on the handheld ---------------------------------------------------------

TEST_F(CSyncContextTest, SendsEveryLookupDatabaseInItsOrder)
{
    addLookups();
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(hh.records("Qlmr-Accounts"), kAccounts);
    EXPECT_EQ(hh.records("Qlmr-ExpTypes"), kExpTypes) << "Gift has no category and is not sent";
    EXPECT_EQ(hh.records("Qlmr-Categories"), kCategories);
    EXPECT_EQ(hh.records("Qlmr-Projects"), kProjects) << "active projects only, by ProjectID";
    EXPECT_EQ(hh.records("Qlmr-ExpFilter"), kFilter)
        << "built-in entry, non-reimbursable types, then the active projects";
    EXPECT_TRUE(hh.m_log.empty());
}

TEST_F(CSyncContextTest, ResendingReplacesRatherThanAppends)
{
    addLookups();
    ASSERT_EQ(sync(), 0);
    db.exec("DELETE FROM lkpAccounts WHERE AcctCode='VISA'; UPDATE QlVersion SET Minor=0, Major=2 WHERE AppCode='PalmUpdt'");
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(hh.records("Qlmr-Accounts"), Records{recordBytes("", "CASH")});
    EXPECT_EQ(hh.records("Qlmr-Categories"), kCategories);
    EXPECT_EQ(hh.records("Qlmr-ExpFilter"), kFilter);
}

TEST_F(CSyncContextTest, WithoutAnActiveProjectTheReimbursableTypeAndProjectsGo)
{
    addLookups();
    ASSERT_EQ(sync(), 0);
    ASSERT_TRUE(hh.has("Qlmr-Projects"));
    db.exec("UPDATE Projects SET Active=FALSE; UPDATE QlVersion SET Minor=0, Major=2 WHERE AppCode='PalmUpdt'");
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(hh.records("Qlmr-ExpTypes"), Records(kExpTypes.begin(), kExpTypes.end() - 1));
    EXPECT_EQ(hh.records("Qlmr-Categories"), Records(kCategories.begin(), kCategories.end() - 1));
    EXPECT_FALSE(hh.has("Qlmr-Projects"));
    EXPECT_EQ(hh.records("Qlmr-ExpFilter"), Records(kFilter.begin(), kFilter.begin() + 2));
    EXPECT_EQ(palmUpdt(), "2/1");
}

TEST_F(CSyncContextTest, LongAndForeignTextsAreCutAndConverted)
{
    db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpComp) VALUES (10, 'Caf\u00e9\u0416', 1);"
            "INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES (10, 'Category name of forty characters long!!');"
            "INSERT INTO Projects (ProjectID, ProjectName) VALUES (7, 'A project name far longer than sixteen');"
            "INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpComp) VALUES (11, 'R', 2);"
            "INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES (11, 'X');");
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(hh.records("Qlmr-ExpTypes")[1], recordBytes("000A 01", "Caf\xe9?"));
    EXPECT_EQ(hh.records("Qlmr-Categories")[1], recordBytes("000A", "Category name of forty charac"));
    EXPECT_EQ(hh.records("Qlmr-Projects")[0], recordBytes("00000007", "A project name far longer t"));
    EXPECT_EQ(hh.records("Qlmr-ExpFilter")[2], recordBytes("FFFE 00000007", "A project name far "))
        << "a filter label holds 19 characters";
}

// ---- where the send stops -----------------------------------------------------------------------

TEST_F(CSyncContextTest, NoAccountsStopsBeforeAnyHandheldDatabaseIsTouched)
{
    db.exec("DELETE FROM lkpAccounts");
    EXPECT_EQ(sync(), CSyncContext::kNoRows);
    for (const char* name : {"Qlmr-Accounts", "Qlmr-ExpTypes", "Qlmr-Categories", "Qlmr-Projects", "Qlmr-ExpFilter"})
        EXPECT_FALSE(hh.has(name)) << name;
    EXPECT_EQ(palmUpdt(), "1/0") << "Minor stays, so the next synchronisation sends again";
    EXPECT_TRUE(preference().empty());
}

TEST_F(CSyncContextTest, NoBuiltInCategoryStopsAfterTheAccounts)
{
    addLookups();
    db.exec("DELETE FROM lkpExpCategories WHERE ExpType=0");
    EXPECT_EQ(sync(), CSyncContext::kNoBuiltInCategory);
    EXPECT_EQ(hh.records("Qlmr-Accounts"), kAccounts);
    EXPECT_FALSE(hh.has("Qlmr-ExpTypes"));
    EXPECT_EQ(palmUpdt(), "1/0");
}

TEST_F(CSyncContextTest, NoActiveProjectForASentReimbursableTypeCannotHappenButEmptyProjectsStop)
{
    // A reimbursable type is sent only with an active project, so PushProjects never meets an
    // empty list through it; a project table that becomes unreadable in between is the case left.
    addLookups();
    db.exec("DROP TABLE Projects");
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(hh.records("Qlmr-ExpTypes"), Records(kExpTypes.begin(), kExpTypes.end() - 1))
        << "an unreadable Projects table counts as no active project";
    EXPECT_FALSE(hh.has("Qlmr-Projects"));
}

TEST_F(CSyncContextTest, TablesThatCannotBeOpenedAreLoggedByName)
{
    struct Case {
        const char* sql;
        const char* line;
    };
    const Case cases[] = {{"DROP TABLE lkpAccounts", "--> Quillmar - lkpExpAccounts Open failed"},
                          {"DROP TABLE lkpExpTypes", "--> Quillmar - lkpExpTypes Open failed"},
                          {"DROP TABLE lkpExpCategories", "--> Quillmar - lkpExpCategories Open failed"}};
    for (const Case& c : cases) {
        TestDatabase broken;
        broken.exec(c.sql);
        hh.m_log.clear();
        CSyncContext context;
        context.m_strDBPath = broken.path();
        ASSERT_EQ(context.ImportExpenses(), 0);
        EXPECT_EQ(context.PushLookups(), CSyncContext::kTableOpenFailed) << c.sql;
        EXPECT_EQ(hh.m_log, (std::vector<LogLine>{{c.line, -1}})) << c.sql;
        EXPECT_EQ(broken.scalar("SELECT Minor FROM QlVersion WHERE AppCode='PalmUpdt'"), "0");
    }
}

TEST_F(CSyncContextTest, HandheldFailuresMapToTheirCodes)
{
    // An accounts database that cannot be opened (here: already open) leaves no handle: emptying
    // it fails (4113).
    hh.put(palm::PalmDatabaseFile::Create("Qlmr-Accounts", palm::FourCC("DATA"), palm::FourCC("Qlmr"), 0));
    std::uint8_t held = 0;
    ASSERT_EQ(SyncOpenDB("Qlmr-Accounts", 0, &held, SYNC_MODE_READ), 0);
    EXPECT_EQ(sync(), CSyncContext::kRemoveFailed);
    SyncCloseDB(held);

    // The same for the filter database is passed on as the Sync Manager's code.
    hh.put(palm::PalmDatabaseFile::Create("Qlmr-ExpFilter", palm::FourCC("DATA"), palm::FourCC("Qlmr"), 0));
    ASSERT_EQ(SyncOpenDB("Qlmr-ExpFilter", 0, &held, SYNC_MODE_READ), 0);
    EXPECT_EQ(sync(), SYNCERR_BAD_HANDLE);
    SyncCloseDB(held);

    // A projects database that cannot be deleted is passed on too.
    hh.put(palm::PalmDatabaseFile::Create("Qlmr-Projects", palm::FourCC("DATA"), palm::FourCC("Qlmr"), 0));
    writeFile(hh.file("Qlmr-Projects.prc"), readFile(hh.file("Qlmr-Projects.pdb")));
    EXPECT_EQ(sync(), SYNCERR_FILE_CORRUPT);
    std::remove(hh.file("Qlmr-Projects.prc").c_str());

    // A lookup database that cannot be created (every handle in use) gives 4100.
    std::vector<std::uint8_t> handles;
    for (int i = 0; i < 16; ++i) {
        SyncCreateDBInfo info{};
        const std::string name = "Busy" + std::to_string(i);
        info.pszName = name.c_str();
        ASSERT_EQ(SyncCreateDB(&info), 0);
        handles.push_back(info.hDB);
    }
    std::remove(hh.file("Qlmr-Accounts.pdb").c_str());
    CSyncContext context;
    context.m_strDBPath = db.path();
    context.m_wPalmUpdt = 1;
    ASSERT_TRUE(context.m_db.Open(db.path()));
    EXPECT_EQ(context.PushLookups(), CSyncContext::kCreateFailed);
    for (const std::uint8_t handle : handles)
        SyncCloseDB(handle);

    EXPECT_EQ(palmUpdt(), "1/0") << "no failed send was recorded";
    EXPECT_TRUE(preference().empty());
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(palmUpdt(), "1/1");
}

TEST_F(CSyncContextTest, ADamagedLookupDatabaseIsReplacedAndSaysSo)
{
    addLookups();
    const std::pair<const char*, const Records*> cases[] = {{"Qlmr-Accounts", &kAccounts},
                                                            {"Qlmr-ExpTypes", &kExpTypes},
                                                            {"Qlmr-Categories", &kCategories},
                                                            {"Qlmr-Projects", &kProjects},
                                                            {"Qlmr-ExpFilter", &kFilter}};
    for (const auto& [name, expected] : cases) {
        writeFile(hh.file(std::string(name) + ".pdb"), "damaged");
        db.exec("UPDATE QlVersion SET Major=Major+1, Minor=0 WHERE AppCode='PalmUpdt'");
        hh.m_log.clear();
        EXPECT_EQ(sync(), 0) << name;
        EXPECT_EQ(hh.records(name), *expected) << name;
        const std::string replaced = "--> Quillmar - " + std::string(name) + " on the handheld was damaged and has been"
                                     " replaced";
        EXPECT_EQ(hh.m_log, (std::vector<LogLine>{{replaced, -1}})) << name;
    }
    EXPECT_EQ(palmUpdt(), "6/1");
}

TEST_F(CSyncContextTest, ALookupDatabaseThatCannotBeSavedFailsTheSend)
{
    CSyncContext context;
    context.m_strDBPath = db.path();
    ASSERT_EQ(context.ImportExpenses(), 0);
    ASSERT_TRUE(context.m_bLookupsChanged);
    {
        ReadOnlyFolder readOnly(hh.path());
        EXPECT_EQ(context.PushLookups(), SYNCERR_FILE_IO);
    }
    context.m_db.Close();
    const std::string unsaved = "--> Quillmar - Qlmr-Accounts could not be saved on the handheld";
    EXPECT_EQ(hh.m_log, (std::vector<LogLine>{{unsaved, -1}}));
    EXPECT_FALSE(hh.has("Qlmr-Accounts"));
    EXPECT_EQ(palmUpdt(), "1/0") << "not recorded as sent";
    EXPECT_TRUE(preference().empty());
}

TEST_F(CSyncContextTest, AFailedRecordOfTheSendFailsTheSyncAndTheNextOneSendsAgain)
{
    struct Case {
        const char* what;
        std::function<void()> refuse;  // after the import, makes recording the send fail
        std::function<void()> accept;  // undoes it
        std::int32_t result;           // what PushLookups then answers
        std::vector<LogLine> log;      // and logs
        const char* palmUpdt;          // PalmUpdt Major/Minor afterwards
    };
    const Case cases[] = {
        {"the desktop refuses the delivery mark",
         [&] { db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON QlVersion BEGIN SELECT RAISE(ABORT, 'refused'); END"); },
         [&] { db.exec("DROP TRIGGER refuse"); }, CSyncContext::kMarkFailed, {}, "1/0"},
        {"the handheld's preference cannot be written",
         [&] { writeFile(hh.file("Saved Preferences.prc"), "damaged"); },
         [&] { std::remove(hh.file("Saved Preferences.prc").c_str()); }, SYNCERR_FILE_CORRUPT,
         {{"--> Quillmar - the conduit's preference could not be saved on the handheld", -1}}, "1/1"},
    };
    for (const Case& c : cases) {
        db.exec("UPDATE QlVersion SET Minor=0 WHERE AppCode='PalmUpdt'");
        std::remove(hh.file("Saved Preferences.prc").c_str());
        hh.m_log.clear();
        CSyncContext context;
        context.m_strDBPath = db.path();
        ASSERT_EQ(context.ImportExpenses(), 0) << c.what;
        c.refuse();
        EXPECT_EQ(context.PushLookups(), c.result) << c.what;
        context.m_db.Close();
        c.accept();
        EXPECT_EQ(hh.m_log, c.log) << c.what;
        EXPECT_TRUE(preference().empty()) << c.what;
        EXPECT_EQ(palmUpdt(), c.palmUpdt) << c.what;

        bool sent = false;
        EXPECT_EQ(sync(&sent), 0) << c.what;
        EXPECT_TRUE(sent) << c.what << ": the next synchronisation sends again";
        EXPECT_EQ(preference()[0], 1) << c.what;
        EXPECT_EQ(palmUpdt(), "1/1") << c.what;
    }
}

