// CHHDatabase: open or create, replace when damaged, empty, write, and close exactly once with
// the save's result.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "conduit/handheld/CHHDatabase.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/TestHandheld.h"

namespace {

constexpr std::uint32_t kData = palm::FourCC("DATA");

}  // namespace

TEST(CHHDatabase, CreatesAMissingDatabaseWithOnlyCreatorTypeAndName)
{
    TestHandheld hh;
    {
        CHHDatabase db;
        ASSERT_TRUE(db.OpenOrCreate("Qlmr-Accounts", 0xC0, kData));
        EXPECT_NE(db.Handle(), 0);
        std::uint8_t bytes[] = {'A', 0};
        EXPECT_EQ(db.WriteRecord(bytes, 2), 0);
    }  // the destructor closes (and so saves) it
    const palm::PalmDatabaseFile file = hh.load("Qlmr-Accounts");
    EXPECT_EQ(file.m_header.creator, palm::FourCC("Qlmr"));
    EXPECT_EQ(file.m_header.type, kData);
    EXPECT_EQ(file.m_header.attributes, 0);
    EXPECT_EQ(file.m_header.version, 0);
    ASSERT_EQ(file.m_records.size(), 1u);
    EXPECT_EQ(file.m_records[0].attributes, 0) << "attributes 0, category 0";
    EXPECT_EQ(file.m_records[0].data, hexBytes("4100"));
}

TEST(CHHDatabase, OpensAnExistingDatabaseAndEmptiesIt)
{
    TestHandheld hh;
    auto existing = palm::PalmDatabaseFile::Create("Qlmr-Accounts", kData, palm::FourCC("Qlmr"), palm::kAttrBackup);
    existing.AppendRecord(0, {'O', 0});
    hh.put(existing);
    CHHDatabase db;
    ASSERT_TRUE(db.OpenOrCreate("Qlmr-Accounts", 0xC0, kData));
    EXPECT_EQ(db.RemoveAll(), 0);
    std::uint8_t bytes[] = {'N', 0};
    EXPECT_EQ(db.WriteRecord(bytes, 2), 0);
    EXPECT_EQ(db.Close(), 0);
    EXPECT_EQ(hh.records("Qlmr-Accounts"), (std::vector<std::vector<std::uint8_t>>{{'N', 0}}));
    EXPECT_EQ(hh.load("Qlmr-Accounts").m_header.attributes, palm::kAttrBackup) << "an existing header is kept";
}

TEST(CHHDatabase, AnOpenFailureOtherThanMissingLeavesNoHandle)
{
    TestHandheld hh;
    writeFile(hh.file("Qlmr-Accounts.pdb"), "not a database");
    CHHDatabase db;
    EXPECT_TRUE(db.OpenOrCreate("Qlmr-Accounts", 0xC0, kData));
    EXPECT_EQ(db.Handle(), 0);
    EXPECT_EQ(db.RemoveAll(), SYNCERR_BAD_HANDLE);
    std::uint8_t bytes[] = {0};
    EXPECT_EQ(db.WriteRecord(bytes, 1), 0x400D);
    EXPECT_EQ(readFile(hh.file("Qlmr-Accounts.pdb")), "not a database");
}

TEST(CHHDatabase, AFailedCreationAnswersFalse)
{
    TestHandheld hh;
    std::vector<std::unique_ptr<CHHDatabase>> busy;  // every handle in use
    for (int i = 0; i < 16; ++i) {
        busy.push_back(std::make_unique<CHHDatabase>());
        ASSERT_TRUE(busy.back()->OpenOrCreate(("Busy" + std::to_string(i)).c_str(), 0xC0, kData));
    }
    CHHDatabase db;
    EXPECT_FALSE(db.OpenOrCreate("Qlmr-Accounts", 0xC0, kData));
    EXPECT_EQ(db.Handle(), 0);

    CHHDatabase invalid;  // an open refused for another reason than a missing database
    EXPECT_TRUE(invalid.OpenOrCreate("bad/name", 0xC0, kData));
    EXPECT_EQ(invalid.Handle(), 0);
}

TEST(CHHDatabase, ClosingTwiceClosesOnce)
{
    TestHandheld hh;
    CHHDatabase first;
    ASSERT_TRUE(first.OpenOrCreate("First", 0xC0, kData));
    const std::uint8_t handle = first.Handle();
    EXPECT_EQ(first.Close(), 0);
    EXPECT_EQ(first.Handle(), 0);

    CHHDatabase second;  // gets the handle the first one gave back
    ASSERT_TRUE(second.OpenOrCreate("Second", 0xC0, kData));
    ASSERT_EQ(second.Handle(), handle);
    EXPECT_EQ(first.Close(), 0);  // must not reach the Sync Manager, or it would close the second database
    std::uint8_t bytes[] = {1};
    EXPECT_EQ(second.WriteRecord(bytes, 1), 0);
}

TEST(CHHDatabase, CloseReportsASaveThatFailed)
{
    TestHandheld hh;
    CHHDatabase db;
    ASSERT_TRUE(db.OpenOrCreate("Qlmr-Accounts", 0xC0, kData));
    std::uint8_t bytes[] = {'A', 0};
    ASSERT_EQ(db.WriteRecord(bytes, 2), 0);
    // A folder where the file belongs: the new file cannot be renamed over it, even by root.
    std::filesystem::create_directory(hh.file("Qlmr-Accounts.pdb"));
    writeFile(hh.file("Qlmr-Accounts.pdb/kept"), "kept");
    EXPECT_EQ(db.Close(), SYNCERR_FILE_IO);
    EXPECT_EQ(db.Handle(), 0);
    EXPECT_EQ(db.Close(), 0) << "nothing left to close";
}

TEST(CHHDatabase, ADamagedDatabaseIsReplacedByAnEmptyOne)
{
    TestHandheld hh;
    writeFile(hh.file("Qlmr-Accounts.pdb"), "not a database");
    CHHDatabase db;
    ASSERT_TRUE(db.OpenOrCreate("Qlmr-Accounts", 0xC0, kData));
    ASSERT_TRUE(db.IsDamaged());
    EXPECT_EQ(db.ReplaceDamaged(), 0);
    EXPECT_NE(db.Handle(), 0);
    std::uint8_t bytes[] = {'N', 0};
    EXPECT_EQ(db.WriteRecord(bytes, 2), 0);
    EXPECT_EQ(db.Close(), 0);
    EXPECT_EQ(hh.records("Qlmr-Accounts"), (std::vector<std::vector<std::uint8_t>>{{'N', 0}}));
    EXPECT_EQ(hh.load("Qlmr-Accounts").m_header.creator, palm::FourCC("Qlmr"));

    // Both a record and a resource file of the name: the damage cannot be deleted away.
    hh.put(palm::PalmDatabaseFile::Create("Twice", kData, palm::FourCC("Qlmr"), 0));
    writeFile(hh.file("Twice.prc"), readFile(hh.file("Twice.pdb")));
    CHHDatabase twice;
    ASSERT_TRUE(twice.OpenOrCreate("Twice", 0xC0, kData));
    EXPECT_EQ(twice.ReplaceDamaged(), SYNCERR_FILE_CORRUPT);
    EXPECT_EQ(twice.Handle(), 0);
}
