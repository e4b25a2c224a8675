// The handheld tool: what init, add-expense and dump write and print, and what they refuse.
#include <gtest/gtest.h>

#include <sstream>

#include "conduit/handheld/ExpFilterEntry.h"
#include "conduit/handheld/HHExpense.h"
#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/ReadHandheldVersion.h"
#include "platform/palm/HotSyncHost.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/PalmDatabaseFile.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/TestHandheld.h"
#include "tools/handheld/HandheldTool.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result run(std::vector<std::string> arguments)
{
    std::ostringstream out, err;
    const int status = HandheldTool(out, err).run(arguments);
    return {status, out.str(), err.str()};
}

palm::PalmDatabaseFile load(const std::string& path)
{
    palm::PalmDatabaseFile db;
    std::string error;
    EXPECT_TRUE(palm::PalmDatabaseFile::Load(path, db, error)) << path << ": " << error;
    return db;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Connects a directory for the test's scope.
struct Connected {
    explicit Connected(const std::string& dir) { EXPECT_EQ(HotSyncConnect(dir.c_str()), 0); }
    ~Connected() { HotSyncDisconnect(); }
};

}  // namespace

TEST(HandheldTool, InitMakesAHandheldTheConduitAccepts)
{
    TempDir dir;
    const std::string hh = dir.file("palm");
    const Result init = run({"init", hh, "--version", "3", "--user", "Zo\u00eb"});
    ASSERT_EQ(init.status, 0) << init.err;
    EXPECT_EQ(init.out, "Handheld " + hh + ": Quillmar version \"1.0,3\", user \"Zo\u00eb\"\n");

    const palm::PalmDatabaseFile app = load(hh + "/Quillmar.prc");
    EXPECT_EQ(app.m_header.creator, palm::FourCC("Qlmr"));
    ASSERT_NE(app.FindResource(palm::FourCC("tver"), 1), nullptr);
    EXPECT_EQ(app.FindResource(palm::FourCC("tver"), 1)->data, textBytes(std::string("1.0,3") + '\0'));
    EXPECT_EQ(load(hh + "/Saved Preferences.prc").m_header.type, palm::FourCC("sprf"));

    Connected connected(hh);
    EXPECT_EQ(hh::ReadHandheldVersion(), 3);
    char name[16];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(HotSyncGetUserName(name, &size), 0);
    EXPECT_STREQ(name, "Zo\xeb") << "kept in the handheld's Windows-1252";

    ASSERT_EQ(run({"init", hh}).status, 0) << "init again sets the default version 1";
    EXPECT_EQ(hh::ReadHandheldVersion(), 1);

    // The HotSync ID a first HotSync gave the handheld survives a new user name.
    std::uint32_t id = 0, kept = 0;
    ASSERT_EQ(HotSyncGetUserID(&id), 0);
    ASSERT_EQ(run({"init", hh, "--user", "Zed"}).status, 0);
    ASSERT_EQ(HotSyncGetUserID(&kept), 0);
    EXPECT_EQ(kept, id);
    ASSERT_EQ(HotSyncGetUserName(name, &size), 0);
    EXPECT_STREQ(name, "Zed");
}

TEST(HandheldTool, AddExpenseAppendsRecordsTheConduitReads)
{
    TempDir dir;
    const std::string hh = dir.file("palm");
    ASSERT_EQ(run({"init", hh}).status, 0);
    const Result first = run({"add-expense", hh, "--type", "300", "--date", "20041225", "--amount", "1234",
                              "--item", "Gas", "--category", "Fuel", "--vendor", "Caf\u00e9", "--account", "CASH",
                              "--check", "101", "--detail", "\u20ac5 \u0416"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Added expense 0 to Qlmr-Expenses (unique ID 0x004001, 44 bytes)\n");
    ASSERT_EQ(run({"add-expense", hh, "--type", "11", "--date", "0", "--amount", "4294967295", "--comp", "2",
                   "--reimbursed", "--project", "1234567"}).status, 0);

    const palm::PalmDatabaseFile db = load(hh + "/Qlmr-Expenses.pdb");
    EXPECT_EQ(db.m_header.type, palm::FourCC("DATA"));
    ASSERT_EQ(db.m_records.size(), 2u);
    EXPECT_NE(db.m_records[0].uniqueID, db.m_records[1].uniqueID);
    EXPECT_EQ(std::vector<std::uint8_t>(db.m_records[0].data.begin(), db.m_records[0].data.begin() + 16),
              hexBytes("01 2C 01 31 CE 09 00 00 04 D2 00 00 00 00 01 00"));
    EXPECT_EQ(std::string(db.m_records[0].data.begin() + 16, db.m_records[0].data.end()),
              std::string("Gas\0Fuel\0Caf\xe9\0CASH\0" "101\0\x80" "5 ?\0", 28))
        << "Windows-1252 on the handheld";
    hh::HHExpense e;
    hh::UnpackExpense(db.m_records[0].data, e);
    EXPECT_EQ(e.vendor, "Caf\u00e9");
    EXPECT_EQ(e.detail, "\u20ac" "5 ?");
    hh::UnpackExpense(db.m_records[1].data, e);
    EXPECT_EQ(db.m_records[1].data.size(), 22u);
    EXPECT_EQ(e.dwAmount, 4294967295u);
    EXPECT_EQ(e.dwProjectID, 1234567u);
    EXPECT_EQ(e.bExpComp, 2);
    EXPECT_EQ(e.bReimburse, 1);
}

TEST(HandheldTool, RefusesWhatItCannotRecord)
{
    TempDir dir;
    const std::string hh = dir.file("palm");
    ASSERT_EQ(run({"init", hh}).status, 0);
    const std::vector<std::string> base = {"add-expense", hh, "--type", "1", "--date", "20240101", "--amount", "5"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return run(arguments);
    };
    EXPECT_EQ(run({"add-expense", hh, "--type", "1", "--date", "20240101"}).status, 2);
    EXPECT_EQ(with({"--comp", "256"}).status, 2);
    EXPECT_EQ(with({"--project", "-1"}).status, 2);
    EXPECT_EQ(with({"--colour", "red"}).status, 2);
    EXPECT_EQ(with({"--item"}).status, 2);
    EXPECT_EQ(run({"add-expense", hh, "--type", "65536", "--date", "1", "--amount", "5"}).status, 2);
    const Result tooLong = with({"--detail", std::string(300, 'x')});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_TRUE(contains(tooLong.err, "256 bytes")) << tooLong.err;
    EXPECT_FALSE(fileExists(hh + "/Qlmr-Expenses.pdb")) << "nothing was recorded";
    EXPECT_EQ(run({"add-expense", dir.file("none"), "--type", "1", "--date", "1", "--amount", "5"}).status, 1);
    EXPECT_EQ(run({"init", hh, "--version", "x"}).status, 2);
    EXPECT_EQ(run({"init"}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({}).status, 2);

    writeFile(hh + "/Qlmr-Expenses.pdb", "broken");
    const Result broken = with({});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(readFile(hh + "/Qlmr-Expenses.pdb"), "broken") << "a broken file is not replaced";
}

TEST(HandheldTool, DumpDecodesEveryQuillmarDatabase)
{
    TempDir dir;
    const std::string hh = dir.file("palm");
    ASSERT_EQ(run({"init", hh, "--version", "2"}).status, 0);
    ASSERT_EQ(run({"add-expense", hh, "--type", "300", "--date", "20041225", "--amount", "1234", "--item", "Gas",
                   "--vendor", "Caf\u00e9"}).status, 0);
    auto lookup = [&](const char* name, std::vector<std::vector<std::uint8_t>> records) {
        auto db = palm::PalmDatabaseFile::Create(name, palm::FourCC("DATA"), palm::FourCC("Qlmr"), 0);
        for (auto& record : records)
            db.AppendRecord(0, record);
        std::string error;
        ASSERT_TRUE(db.Save(hh + "/" + name + ".pdb", error)) << error;
    };
    lookup("Qlmr-Accounts", {recordBytes("", "CASH")});
    lookup("Qlmr-ExpTypes", {recordBytes("012C 01", "Fuel")});
    lookup("Qlmr-Categories", {recordBytes("012C", "Diesel")});
    lookup("Qlmr-Projects", {recordBytes("0012D687", "X")});
    lookup("Qlmr-ExpFilter", {recordBytes("0000 00000000", "TaxDed"), recordBytes("FFFE 0012D687", "X")});
    lookup("Other", {hexBytes("CAFE")});
    {
        Connected connected(hh);
        std::uint8_t block[12] = {3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
        SyncPreferenceInfo info{};
        info.dwCreator = palm::FourCC("Qlmr");
        info.pBytes = block;
        info.wSize = 12;
        info.bSaved = 1;
        ASSERT_EQ(SyncWriteAppPreference(&info), 0);
    }

    const Result dump = run({"dump", hh});
    ASSERT_EQ(dump.status, 0) << dump.err;
    for (const char* line : {
             "Qlmr-Accounts.pdb:\n",
             "  record database \"Qlmr-Accounts\", type DATA, creator Qlmr, attributes 0x0000 (none), version 0\n",
             "  unique ID seed 0x004001, 1 records\n",
             "  record 0 (ID 0x004001, attributes 0x00, category 0, 5 bytes): account \"CASH\"\n",
             "bytes): expense type 300, ExpComp 1, label \"Fuel\"\n",
             "bytes): category of type 300: \"Diesel\"\n",
             "bytes): project 1234567: \"X\"\n",
             "bytes): filter: expense type 0 (id 0), label \"TaxDed\"\n",
             "bytes): filter: project 1234567, label \"X\"\n",
             "(ID 0x004001, attributes 0x40, category 0, 29 bytes): expense type 300, date 20041225, amount 12.34, "
             "project 0, TypeComp 1, not reimbursed\n"
             "      item \"Gas\", category \"\", vendor \"Caf\u00e9\", account \"\", cheque \"\", detail \"\"\n",
             "bytes): ca fe\n",
             "  resource database \"Quillmar\", type appl, creator Qlmr, attributes 0x0009 (ResDB|Backup), version 0\n",
             "  resource tver 1 (6 bytes): \"1.0,2\"\n",
             "  resource Qlmr 0 (14 bytes): preference Qlmr 0, version 0: 03 00 00 00 01 00 00 00 00 00 00 00\n"
             "      conduit: PalmUpdt last sent 3; handheld data 0, 1, 0\n"})
        EXPECT_TRUE(contains(dump.out, line)) << line << "\nin:\n" << dump.out;
    EXPECT_LT(dump.out.find("Other.pdb"), dump.out.find("Qlmr-Accounts.pdb")) << "files in name order";

    writeFile(hh + "/Broken.pdb", std::string(90, 'x'));
    const Result broken = run({"dump", hh});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(contains(broken.err, "Broken.pdb is no sound Palm database: the name has no NUL")) << broken.err;
    EXPECT_TRUE(contains(broken.out, "Quillmar.prc:")) << "the other files are still shown";
    EXPECT_EQ(run({"dump", dir.file("none")}).status, 1);
}

TEST(HandheldTool, EveryCommandHasHelp)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"init", "--help"}, {"add-expense", "--help"}, {"dump", "--help"}}) {
        const Result help = run(arguments);
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(contains(help.out, "Usage: handheld")) << help.out;
        EXPECT_TRUE(help.err.empty());
    }
}
