// The synchronisation engine's import end to end on a schema-built desktop database and a
// handheld directory: its order of checks, every result code it can be driven to, and the
// rollback of a failed import. The send of the lookup tables is in SendLookupsTest.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "conduit/handheld/HHExpense.h"
#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/sync/CSyncContext.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/HotSyncHost.h"
#include "platform/palm/SyncMgr.h"
#include "tests/conduit/sync/SyncContextFixture.h"

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

TEST_F(CSyncContextTest, ADamagedRecordIsNamedAndNothingIsImported)
{
    hh.putExpenses({pack(withItem("first")), std::vector<std::uint8_t>(10, 'x'), pack(withItem("third"))});
    const std::uint32_t id = hh.load("Qlmr-Expenses").m_records[1].uniqueID;
    EXPECT_EQ(sync(), CSyncContext::kDamagedRecord);
    EXPECT_EQ(db.count("Expenses"), 0);
    EXPECT_EQ(hh.records("Qlmr-Expenses").size(), 3u);
    char named[80];
    std::snprintf(named, sizeof named, "record 1 (unique ID 0x%06X) is damaged: 10 bytes,", id);
    ASSERT_FALSE(hh.m_log.empty());
    EXPECT_NE(hh.m_log.back().text.find(named), std::string::npos) << hh.m_log.back().text;
}

TEST_F(CSyncContextTest, RecordsMarkedDeletedOrBusyAreLeftForTheEmptying)
{
    hh.putExpenses({pack(withItem("live"))});
    hh.putExpenses({pack(withItem("deleted")), std::vector<std::uint8_t>(3, 'x')}, 0x80);
    hh.putExpenses({pack(withItem("busy"))}, 0x20);
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT group_concat(Item) FROM Expenses"), "live");
    EXPECT_TRUE(hh.records("Qlmr-Expenses").empty());
}

TEST_F(CSyncContextTest, ASyncThatStoppedAfterItsCommitImportsNothingTwice)
{
    hh.putExpenses({pack(withItem("one")), pack(withItem("two"))});
    {   // dies between committing the desktop and emptying the handheld
        CSyncContext context;
        context.m_strDBPath = db.path();
        context.m_fnAfterCommit = [] { throw std::runtime_error("killed"); };
        EXPECT_NE(context.ImportExpenses(), 0);
    }
    EXPECT_EQ(db.count("Expenses"), 2);
    EXPECT_EQ(hh.records("Qlmr-Expenses").size(), 2u);

    hh.putExpenses({pack(withItem("three"))});  // entered on the handheld meanwhile
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT group_concat(Item) FROM (SELECT Item FROM Expenses ORDER BY ExpID)"), "one,two,three");
    EXPECT_TRUE(hh.records("Qlmr-Expenses").empty());
    EXPECT_EQ(db.count("HotSyncImports"), 0) << "a completed sync forgets what it imported";
}

TEST_F(CSyncContextTest, AHandheldThatCannotBeEmptiedAfterTheCommitIsNamed)
{
    hh.putExpenses({pack(withItem("one")), pack(withItem("two"))});
    {
        CSyncContext context;
        context.m_strDBPath = db.path();
        // A folder where the emptied database is to be renamed: its save fails.
        context.m_fnAfterCommit = [this] {
            std::filesystem::remove(hh.file("Qlmr-Expenses.pdb"));
            std::filesystem::create_directory(hh.file("Qlmr-Expenses.pdb"));
        };
        EXPECT_EQ(context.ImportExpenses(), SYNCERR_FILE_IO);
    }
    ASSERT_FALSE(hh.m_log.empty());
    EXPECT_EQ(hh.m_log.back().text, "--> Quillmar - Qlmr-Expenses could not be emptied on the handheld. Its expenses are "
                                     "on the desktop already; the next HotSync removes them from the handheld without "
                                     "importing them again");
    char unsaved[512];
    std::uint32_t size = sizeof unsaved;
    ASSERT_EQ(HotSyncGetUnsavedFile(unsaved, &size), 0);
    EXPECT_EQ(std::string(unsaved), hh.file("Qlmr-Expenses.pdb"));
    EXPECT_EQ(db.count("Expenses"), 2);
}

TEST_F(CSyncContextTest, ARecordThatReusesAnImportedRecordsIDIsANewExpense)
{
    hh.putExpenses({pack(withItem("one")), pack(withItem("two"))});
    {
        CSyncContext context;
        context.m_strDBPath = db.path();
        context.m_fnAfterCommit = [] { throw std::runtime_error("killed"); };
        EXPECT_NE(context.ImportExpenses(), 0);
    }
    // The handheld's database was made anew meanwhile and its first record has "one"'s ID.
    auto remade = hh.load("Qlmr-Expenses");
    remade.m_records[0].data = pack(withItem("new"));
    remade.m_records.pop_back();
    remade.m_header.creationDate += 3600;
    hh.put(remade);
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT group_concat(Item) FROM (SELECT Item FROM Expenses ORDER BY ExpID)"), "one,two,new");
}

TEST_F(CSyncContextTest, AnExpenseChangedOnTheHandheldAfterAFailedEmptyingReplacesItsRow)
{
    struct Case {
        const char* what;
        const char* desktopMeanwhile;  // SQL run on the desktop between the two syncs
        const char* rows;              // Item/Amount/Status of every row afterwards, by ExpID
        const char* logged;            // the end of the log line about the changed record
    };
    const Case cases[] = {
        {"replaced", "", "one/12.34/0,two/56.78/1,three/12.34/0", "its desktop expense was replaced"},
        {"its billing status kept", "UPDATE Expenses SET Status = 2 WHERE Item = 'two'",
         "one/12.34/0,two/56.78/2,three/12.34/0", "its desktop expense was replaced"},
        {"its row deleted on the desktop", "DELETE FROM Expenses WHERE Item = 'two'", "one/12.34/0,three/12.34/0,two/56.78/1",
         "its desktop expense had been deleted since, so it was stored again"},
    };
    for (const Case& c : cases) {
        TestDatabase desktop;
        TestHandheld handheld;
        handheld.putApplication({"1.0,1"});
        Expense two = withItem("two");
        two.type = 11;  // reimbursable, reimbursed: stored as incurred
        two.comp = 2;
        two.reimburse = 1;
        two.project = 7;
        handheld.putExpenses({pack(withItem("one")), pack(two), pack(withItem("three"))});
        {   // the emptying fails after the commit
            CSyncContext context;
            context.m_strDBPath = desktop.path();
            context.m_fnAfterCommit = [] { throw std::runtime_error("cannot empty"); };
            EXPECT_NE(context.ImportExpenses(), 0) << c.what;
        }
        if (*c.desktopMeanwhile)
            desktop.exec(c.desktopMeanwhile);
        auto changed = handheld.load("Qlmr-Expenses");  // the user corrects "two" on the handheld
        two.amount = 5678;
        changed.m_records[1].data = pack(two);
        handheld.put(changed);
        CSyncContext context;
        context.m_strDBPath = desktop.path();
        EXPECT_EQ(context.ImportExpenses(), 0) << c.what;
        context.m_db.Close();
        EXPECT_EQ(desktop.scalar("SELECT group_concat(Item || '/' || printf('%.2f', Amount / 10000.0) || '/' || Status) "
                                 "FROM (SELECT * FROM Expenses ORDER BY ExpID)"),
                  c.rows)
            << c.what;
        const auto line = std::find_if(handheld.m_log.begin(), handheld.m_log.end(),
                                       [](const LogLine& l) { return l.text.find("was changed on the handheld") != std::string::npos; });
        ASSERT_NE(line, handheld.m_log.end()) << c.what;
        EXPECT_TRUE(line->text.starts_with("--> Quillmar - Handheld expense record 1 (unique ID ")) << line->text;
        EXPECT_TRUE(line->text.ends_with(c.logged)) << line->text;
        EXPECT_TRUE(handheld.records("Qlmr-Expenses").empty()) << c.what;
    }
}

TEST_F(CSyncContextTest, HandheldsWithOneUserNameKeepTheirOwnLists)
{
    // A's import is stored but A cannot be emptied; then B, of the same user name and with the
    // same first expense, is synchronised; then A again.
    hh.putUser("Ann");
    hh.putExpenses({pack(withItem("same")), pack(withItem("A only"))});
    {
        CSyncContext context;
        context.m_strDBPath = db.path();
        context.m_fnAfterCommit = [] { throw std::runtime_error("cannot empty"); };
        EXPECT_NE(context.ImportExpenses(), 0);
    }
    TestHandheld b;
    b.putApplication({"1.0,1"});
    b.putUser("Ann");
    b.putExpenses({pack(withItem("same")), pack(withItem("B only"))});
    ASSERT_EQ(sync(), 0);
    EXPECT_TRUE(b.records("Qlmr-Expenses").empty());
    hh.connect();
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT group_concat(Item) FROM (SELECT Item FROM Expenses ORDER BY ExpID)"),
              "same,A only,same,B only");
    EXPECT_EQ(db.count("HotSyncImports"), 0);
}

TEST_F(CSyncContextTest, AListKeptUnderTheUserNameIsTakenOverRecordByRecord)
{
    // Kept before handhelds had IDs: "kept" is this handheld's, 0x00FFFF another's of that name.
    hh.putUser("Ann");
    hh.putExpenses({pack(withItem("kept")), pack(withItem("new"))});
    const auto records = hh.load("Qlmr-Expenses").m_records;
    std::uint32_t digest = 2166136261u;  // FNV-1a of the record, as the ledger lists it
    for (const std::uint8_t byte : records[0].data)
        digest = (digest ^ byte) * 16777619u;
    char list[64];
    std::snprintf(list, sizeof list, "%06X%08X00FFFF12345678", static_cast<unsigned>(records[0].uniqueID),
                  static_cast<unsigned>(digest));
    db.exec("CREATE TABLE HotSyncImports (ImportKey INTEGER PRIMARY KEY, Handheld VARCHAR(64) NOT NULL, Records TEXT NOT NULL);"
            "INSERT INTO HotSyncImports (Handheld, Records) VALUES ('Ann', '" + std::string(list) + "')");
    ASSERT_EQ(sync(), 0);
    EXPECT_EQ(db.scalar("SELECT group_concat(Item) FROM Expenses"), "new");
    EXPECT_EQ(db.scalar("SELECT Handheld || ':' || Records FROM HotSyncImports"), "Ann:00FFFF12345678");
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

