// The synchronisation engine end to end on a schema-built desktop database and a handheld
// directory: its order of work, every result code it can be driven to, the rollback of a failed
// import, the lookup-version counter shared with BumpLookupVersion, what each lookup send
// leaves on the handheld, and how it meets a damaged or unsavable handheld database.
#include <gtest/gtest.h>

#include <functional>

#include "conduit/handheld/HHExpense.h"
#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/sync/CSyncContext.h"
#include "database/QlVersion.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestHandheld.h"

namespace {

using Records = std::vector<std::vector<std::uint8_t>>;

struct Expense {
    std::uint16_t type = 10;
    std::uint32_t date = 20041225;
    std::uint32_t amount = 1234;
    std::uint32_t project = 0;
    std::uint8_t comp = 1;
    std::uint8_t reimburse = 0;
    std::string item = "Gas", category = "Fuel", vendor = "Shell", account = "CASH", check = "101", detail = "Trip";
};

std::vector<std::uint8_t> pack(const Expense& in)
{
    hh::HHExpense e;
    e.wExpType = in.type;
    e.dwDate = in.date;
    e.dwAmount = in.amount;
    e.dwProjectID = in.project;
    e.bExpComp = in.comp;
    e.bReimburse = in.reimburse;
    e.item = in.item;
    e.category = in.category;
    e.vendor = in.vendor;
    e.account = in.account;
    e.checkNumber = in.check;
    e.detail = in.detail;
    std::uint8_t buffer[hh::kExpenseBufferSize];
    const std::size_t length = hh::PackExpense(e, buffer);
    EXPECT_NE(length, 0u);
    return std::vector<std::uint8_t>(buffer, buffer + length);
}

Expense withItem(const std::string& item)
{
    Expense e;
    e.item = item;
    return e;
}

class CSyncContextTest : public ::testing::Test {
protected:
    void SetUp() override { hh.putApplication({"1.0,1"}); }

    // One synchronisation as the entry point runs it for sync type 0.
    std::int32_t sync(bool* pSent = nullptr)
    {
        CSyncContext context;
        context.m_strDBPath = db.path();
        std::int32_t result = context.ImportExpenses();
        const bool send = result == 0 && context.m_bLookupsChanged;
        if (send)
            result = context.PushLookups();
        if (pSent)
            *pSent = send;
        context.m_db.Close();
        return result;
    }

    std::string palmUpdt() const
    {
        return db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode='PalmUpdt'");
    }

    // The 12-byte block of the conduit's preference (empty when there is none).
    std::vector<std::uint8_t> preference() const
    {
        if (!hh.has("Saved Preferences"))
            return {};
        const auto prefs = hh.load("Saved Preferences");
        const palm::PalmResource* resource = prefs.FindResource(palm::FourCC("Qlmr"), 0);
        if (!resource || resource->data.size() < 2)
            return {};
        return std::vector<std::uint8_t>(resource->data.begin() + 2, resource->data.end());
    }

    // Accounts, three user expense types (one reimbursable, one without categories) and three
    // projects, one of them inactive.
    void addLookups() const
    {
        db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Card');"
                "INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES"
                "  (11, 'Meal', 'Meals', 2), (10, 'Car', 'Car costs', 1), (12, 'Gift', 'Gifts', 1);"
                "INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES"
                "  (11, 'Lunch'), (10, 'Parking'), (10, 'Fuel');"
                "INSERT INTO Projects (ProjectID, ProjectName, Active) VALUES"
                "  (1234567, 'Alpha', TRUE), (20, 'Beta', FALSE), (5, 'Gamma', TRUE);");
    }

    TestDatabase db;
    TestHandheld hh;
};

const Records kAccounts = {recordBytes("", "CASH"), recordBytes("", "VISA")};
const Records kExpTypes = {recordBytes("0000 00", "TaxDed"), recordBytes("000A 01", "Car"),
                           recordBytes("000B 02", "Meal")};
const Records kCategories = {recordBytes("0000", "GENERAL"), recordBytes("000A", "Fuel"),
                             recordBytes("000A", "Parking"), recordBytes("000B", "Lunch")};
const Records kProjects = {recordBytes("00000005", "Gamma"), recordBytes("0012D687", "Alpha")};
const Records kFilter = {recordBytes("0000 00000000", "TaxDed"), recordBytes("000A 00000000", "Car"),
                         recordBytes("FFFE 00000005", "Gamma"), recordBytes("FFFE 0012D687", "Alpha")};

}  // namespace

// ---- the version checks and the import ----------------------------------------------------------

TEST_F(CSyncContextTest, ImportsEveryFieldAndEmptiesTheHandheld)
{
    Expense reimbursed;
    reimbursed.type = 11;
    reimbursed.comp = 2;
    reimbursed.reimburse = 1;
    reimbursed.project = 1234567;
    reimbursed.item = "Caf\u00e9";
    reimbursed.vendor = "";
    reimbursed.detail = "\u20ac" "5 tip";
    Expense unpaid = reimbursed;
    unpaid.item = "Unpaid";
    unpaid.reimburse = 0;
    Expense undated = withItem("Undated");
    undated.date = 0;
    hh.putExpenses({pack(withItem("Gas")), pack(reimbursed), pack(unpaid), pack(undated)});

    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT ExpType || '|' || ExpDate || '|' || ExpYear || '|' || Amount || '|' || ProjectID"
                        " || '|' || TypeComp || '|' || Reimburse || '|' || Status || '|' || Item || '|' || ExpCat"
                        " || '|' || Vendor || '|' || AcctCode || '|' || ChkNbr || '|' || Detail"
                        " FROM Expenses WHERE Item='Gas'"),
              "10|2004-12-25 00:00:00|2004|123400|2004|1|0|0|Gas|Fuel|Shell|CASH|101|Trip");
    EXPECT_EQ(db.scalar("SELECT Reimburse || '|' || Status || '|' || ProjectID || '|' || Detail"
                        " FROM Expenses WHERE Item='Caf\u00e9'"),
              "1|1|1234567|\u20ac5 tip");
    EXPECT_EQ(db.scalar("SELECT Vendor FROM Expenses WHERE Item='Caf\u00e9'"), "NULL") << "empty text stored as NULL";
    EXPECT_EQ(db.scalar("SELECT Reimburse || '|' || Status FROM Expenses WHERE Item='Unpaid'"), "0|0")
        << "an empty Status takes the column's default";
    EXPECT_EQ(db.scalar("SELECT ExpDate FROM Expenses WHERE Item='Undated'"), "NULL");
    EXPECT_EQ(db.scalar("SELECT ExpYear FROM Expenses WHERE Item='Undated'"), "-1");
    EXPECT_EQ(db.count("Expenses"), 4);
    EXPECT_TRUE(hh.records("Qlmr-Expenses").empty());
}

TEST_F(CSyncContextTest, InvalidCalendarDatesAreNotStored)
{
    Expense february30 = withItem("Feb30");
    february30.date = 20230230;
    Expense year99 = withItem("Year99");
    year99.date = 991231;
    Expense leap = withItem("Leap");
    leap.date = 20240229;
    hh.putExpenses({pack(february30), pack(year99), pack(leap)});
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT ExpDate || '/' || ExpYear FROM Expenses WHERE Item='Leap'"), "2024-02-29 00:00:00/2024");
    EXPECT_EQ(db.scalar("SELECT ExpYear FROM Expenses WHERE Item='Feb30' AND ExpDate IS NULL"), "-1");
    EXPECT_EQ(db.scalar("SELECT ExpYear FROM Expenses WHERE Item='Year99' AND ExpDate IS NULL"), "-1");
}

TEST_F(CSyncContextTest, ARecordWithoutItsFinalNulIsReadToTheBufferEnd)
{
    std::vector<std::uint8_t> record = pack(withItem("Long"));
    record.resize(record.size() - 1);  // drop the detail's NUL ...
    record.resize(256, 'D');           // ... and fill the rest of the 256 bytes
    hh.putExpenses({record});
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT length(Detail) FROM Expenses WHERE Item='Long'"), std::to_string(256 - 41)) << "the detail starts at 41";
}

TEST_F(CSyncContextTest, ProjectIDIsTheDatesYearUnlessTheTypeIsReimbursable)
{
    // The desktop groups the other types by year: a handheld's project id there (often 0) would
    // show as a group of its own.
    struct Case {
        const char* item;
        std::uint16_t type;
        std::uint8_t comp;
        std::uint32_t project;
        std::uint32_t date;
        const char* stored;  // ProjectID as stored
    };
    const Case cases[] = {{"tax", 0, 0, 0, 20041225, "2004"},
                          {"plain", 10, 1, 77, 20061231, "2006"},
                          {"undated", 10, 1, 77, 0, "-1"},
                          {"charged", 11, 2, 1234567, 20041225, "1234567"},
                          {"unassigned", 11, 2, 0, 20041225, "0"}};
    Records records;
    for (const Case& c : cases) {
        Expense e = withItem(c.item);
        e.type = c.type;
        e.comp = c.comp;
        e.project = c.project;
        e.date = c.date;
        records.push_back(pack(e));
    }
    hh.putExpenses(records);
    ASSERT_EQ(sync(), 0);
    for (const Case& c : cases)
        EXPECT_EQ(db.scalar(std::string("SELECT ProjectID FROM Expenses WHERE Item='") + c.item + "'"), c.stored)
            << c.item;
}

TEST_F(CSyncContextTest, ARefusedValueOrStoreRollsBackEveryRowAndKeepsTheHandheldRecords)
{
    struct Case {
        const char* what;
        const char* refuse;   // SQL that makes the desktop refuse the second expense
        const char* accept;   // SQL that undoes it
        Expense second;       // that expense
    };
    Expense lettered = withItem("second");
    lettered.check = "A-7";
    const Case cases[] = {
        {"a store the database refuses",
         "CREATE TRIGGER refuse BEFORE INSERT ON Expenses WHEN NEW.Item = 'second'"
         " BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         "DROP TRIGGER refuse", withItem("second")},
        {"a value its column refuses (a cheque number that is no number)",
         "ALTER TABLE Expenses DROP COLUMN ChkNbr; ALTER TABLE Expenses ADD COLUMN ChkNbr SMALLINT;",
         "ALTER TABLE Expenses DROP COLUMN ChkNbr; ALTER TABLE Expenses ADD COLUMN ChkNbr VARCHAR(6);", lettered}};
    for (const Case& c : cases) {
        std::remove(hh.file("Qlmr-Expenses.pdb").c_str());
        db.exec("DELETE FROM Expenses");
        db.exec(c.refuse);
        hh.putExpenses({pack(withItem("first")), pack(c.second), pack(withItem("third"))});
        const std::string before = readFile(hh.file("Qlmr-Expenses.pdb"));
        const std::string version = palmUpdt();

        EXPECT_EQ(sync(), CSyncContext::kStoreFailed) << c.what;
        EXPECT_EQ(db.count("Expenses"), 0) << c.what << ": the first row went with the rollback";
        EXPECT_EQ(hh.records("Qlmr-Expenses").size(), 3u) << c.what;
        EXPECT_EQ(readFile(hh.file("Qlmr-Expenses.pdb")), before) << c.what;
        EXPECT_EQ(palmUpdt(), version) << c.what << ": no lookups were sent";

        db.exec(c.accept);
        EXPECT_EQ(sync(), 0) << c.what << ": the next synchronisation imports them again";
        EXPECT_EQ(db.count("Expenses"), 3) << c.what;
    }
}

TEST_F(CSyncContextTest, AnUnreadableRecordRollsBackToo)
{
    hh.putExpenses({pack(withItem("first")), std::vector<std::uint8_t>(300, 'x')});
    EXPECT_EQ(sync(), CSyncContext::kReadFailed);
    EXPECT_EQ(db.count("Expenses"), 0);
    EXPECT_EQ(hh.records("Qlmr-Expenses").size(), 2u);
}

TEST_F(CSyncContextTest, NoExpenseDatabaseIsNothingToImport)
{
    bool sent = false;
    ASSERT_EQ(sync(&sent), 0);
    EXPECT_TRUE(sent) << "lookup tables can still be sent";
    EXPECT_FALSE(hh.has("Qlmr-Expenses"));
    EXPECT_EQ(db.count("Expenses"), 0);
}

TEST_F(CSyncContextTest, ChecksInOrderHandheldVersionPreferenceDatabaseVersionRow)
{
    hh.putExpenses({pack(withItem("kept"))});
    auto prefs = palm::PalmDatabaseFile::Create("Saved Preferences", palm::FourCC("sprf"), palm::FourCC("psys"),
                                                palm::kAttrResDB | palm::kAttrBackup);
    prefs.PutResource(palm::FourCC("Qlmr"), 0, hexBytes("0000 0100"));  // 2 bytes, not 12
    hh.put(prefs);
    hh.putApplication({"1.0,0"});
    CSyncContext context;
    context.m_strDBPath = db.dir().file("missing.mdb");
    EXPECT_EQ(context.ImportExpenses(), CSyncContext::kHandheldTooOld) << "the version comes first";
    EXPECT_FALSE(context.m_db.IsOpen());

    hh.putApplication({"1.0,1"});
    EXPECT_EQ(context.ImportExpenses(), SYNCERR_PREF_SIZE) << "then the preference, passed on";
    EXPECT_FALSE(context.m_db.IsOpen());

    std::remove(hh.file("Saved Preferences.prc").c_str());
    EXPECT_EQ(context.ImportExpenses(), CSyncContext::kDatabaseOpenFailed) << "then the desktop database";

    context.m_strDBPath = db.path();
    db.exec("UPDATE QlVersion SET Major=0 WHERE AppCode='Quillmar'");
    EXPECT_EQ(context.ImportExpenses(), CSyncContext::kVersionCheckFailed);
    db.exec("DELETE FROM QlVersion WHERE AppCode='Quillmar'");
    EXPECT_EQ(context.ImportExpenses(), CSyncContext::kVersionCheckFailed);
    context.m_db.Close();
    db.exec("DROP TABLE QlVersion");
    EXPECT_EQ(context.ImportExpenses(), CSyncContext::kVersionCheckFailed);
    context.m_db.Close();

    EXPECT_EQ(hh.records("Qlmr-Expenses").size(), 1u) << "nothing was imported";
    EXPECT_EQ(db.count("Expenses"), 0);
}

TEST_F(CSyncContextTest, WithoutTheApplicationNothingHappens)
{
    std::remove(hh.file("Quillmar.prc").c_str());
    hh.putExpenses({pack(withItem("kept"))});
    EXPECT_EQ(sync(), CSyncContext::kHandheldTooOld);
    EXPECT_EQ(db.count("Expenses"), 0);
}

TEST_F(CSyncContextTest, ABrokenExpenseDatabaseIsPassedOn)
{
    writeFile(hh.file("Qlmr-Expenses.pdb"), "broken");
    EXPECT_EQ(sync(), SYNCERR_FILE_CORRUPT);
    EXPECT_EQ(db.count("Expenses"), 0);
    EXPECT_EQ(palmUpdt(), "1/0");
}

TEST_F(CSyncContextTest, AnExpensesTableThatCannotBeOpenedIsLogged)
{
    hh.putExpenses({pack(withItem("kept"))});
    db.exec("DROP TABLE Expenses");
    EXPECT_EQ(sync(), CSyncContext::kTableOpenFailed);
    EXPECT_EQ(hh.m_log, (std::vector<LogLine>{{"--> Quillmar - expense Open failed", -1}}));
    EXPECT_EQ(hh.records("Qlmr-Expenses").size(), 1u);
}

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

TEST_F(CSyncContextTest, FollowsBumpLookupVersion)
{
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(palmUpdt(), "1/1");
    CADODataBase desktop;
    ASSERT_TRUE(desktop.Open(db.path()));
    BumpLookupVersion(desktop);  // an editor changed a table
    BumpLookupVersion(desktop);  // and another, before the next synchronisation
    desktop.Close();
    EXPECT_EQ(palmUpdt(), "2/0");

    bool sent = false;
    ASSERT_EQ(sync(&sent), 0);
    EXPECT_TRUE(sent);
    EXPECT_EQ(palmUpdt(), "2/1");
    EXPECT_EQ(preference()[0], 2);

    ASSERT_TRUE(desktop.Open(db.path()));
    BumpLookupVersion(desktop);
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
