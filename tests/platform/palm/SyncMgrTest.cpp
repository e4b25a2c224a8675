// The Sync Manager calls on a connected handheld directory: creating, writing, reading, purging
// and deleting databases, resources and preferences, what each refuses, and that nothing reaches
// a file before its database is closed.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/palm/HotSyncHost.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/TestHandheld.h"

using palm::FourCC;

namespace {

constexpr std::uint8_t kReadWrite = SYNC_MODE_READ | SYNC_MODE_WRITE;

std::uint8_t create(const char* name, std::uint16_t attributes = 0)
{
    SyncCreateDBInfo info{};
    info.dwCreator = FourCC("Qlmr");
    info.dwType = FourCC("DATA");
    info.pszName = name;
    info.wAttributes = attributes;
    EXPECT_EQ(SyncCreateDB(&info), SYNCERR_NONE);
    return info.hDB;
}

std::int32_t write(std::uint8_t db, std::vector<std::uint8_t> bytes, std::uint32_t* pID = nullptr)
{
    SyncRecordInfo info{};
    info.hDB = db;
    info.pBytes = bytes.data();
    info.dwSize = static_cast<std::uint32_t>(bytes.size());
    const std::int32_t result = SyncWriteRec(&info);
    if (pID)
        *pID = info.dwRecordID;
    return result;
}

std::uint8_t open(const char* name, std::uint8_t mode = kReadWrite)
{
    std::uint8_t db = 0;
    EXPECT_EQ(SyncOpenDB(name, 0, &db, mode), SYNCERR_NONE) << name;
    return db;
}

std::int32_t readPreference(std::uint8_t* block, std::uint16_t size, std::uint16_t* pVersion = nullptr,
                            std::int32_t saved = 1, std::uint16_t* pStored = nullptr)
{
    SyncPreferenceInfo info{};
    info.dwCreator = FourCC("Qlmr");
    info.pBytes = block;
    info.wSize = size;
    info.bSaved = saved;
    const std::int32_t result = SyncReadAppPreference(&info);
    if (pVersion)
        *pVersion = info.wVersion;
    if (pStored)
        *pStored = info.wStoredSize;
    return result;
}

std::int32_t writePreference(std::vector<std::uint8_t> block, std::uint16_t version, std::int32_t saved = 1)
{
    SyncPreferenceInfo info{};
    info.dwCreator = FourCC("Qlmr");
    info.wVersion = version;
    info.pBytes = block.data();
    info.wSize = static_cast<std::uint16_t>(block.size());
    info.bSaved = saved;
    return SyncWriteAppPreference(&info);
}

}  // namespace

TEST(SyncMgr, CreatedDatabaseReachesItsFileOnlyWhenClosed)
{
    TestHandheld hh;
    const std::uint8_t db = create("Qlmr-Accounts");
    ASSERT_NE(db, 0);
    std::uint32_t first = 0, second = 0;
    EXPECT_EQ(write(db, textBytes(std::string("CASH") + '\0'), &first), SYNCERR_NONE);
    EXPECT_EQ(write(db, textBytes(std::string("VISA") + '\0'), &second), SYNCERR_NONE);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    EXPECT_FALSE(hh.has("Qlmr-Accounts")) << "nothing is written before the close";
    EXPECT_EQ(SyncCloseDB(db), SYNCERR_NONE);
    EXPECT_EQ(SyncCloseDB(db), SYNCERR_BAD_HANDLE);

    const palm::PalmDatabaseFile file = hh.load("Qlmr-Accounts");
    EXPECT_EQ(file.m_header.name, "Qlmr-Accounts");
    EXPECT_EQ(file.m_header.type, FourCC("DATA"));
    EXPECT_EQ(file.m_header.creator, FourCC("Qlmr"));
    EXPECT_EQ(file.m_header.attributes, 0);
    EXPECT_GT(file.m_header.creationDate, 0x80000000u) << "dated in the 1904 epoch";
    ASSERT_EQ(file.m_records.size(), 2u);
    EXPECT_EQ(file.m_records[0].uniqueID, first);
    EXPECT_EQ(file.m_records[0].attributes, 0);
    EXPECT_EQ(file.m_records[1].data, hexBytes("56495341 00"));
    EXPECT_GE(file.m_header.uniqueIDSeed, second);
}

TEST(SyncMgr, ReadsCountsPurgesAndKeepsIDsFresh)
{
    TestHandheld hh;
    hh.putExpenses({hexBytes("0102"), std::vector<std::uint8_t>(300, 0x41)});
    const std::uint32_t seed = hh.load("Qlmr-Expenses").m_header.uniqueIDSeed;
    const std::uint8_t db = open("Qlmr-Expenses", kReadWrite | SYNC_MODE_SECRET);
    std::uint16_t count = 0;
    EXPECT_EQ(SyncGetDBRecordCount(db, &count), SYNCERR_NONE);
    EXPECT_EQ(count, 2);

    std::uint8_t buffer[260];
    std::memset(buffer, 0xEE, sizeof buffer);
    SyncRecordInfo info{};
    info.hDB = db;
    info.pBytes = buffer;
    info.dwSize = 256;
    EXPECT_EQ(SyncReadRecordByIndex(&info), SYNCERR_NONE);
    EXPECT_EQ(info.dwRecordSize, 2u);
    EXPECT_EQ(buffer[1], 0x02);
    EXPECT_EQ(buffer[2], 0xEE) << "only the record's bytes are copied";

    info.wIndex = 1;
    EXPECT_EQ(SyncReadRecordByIndex(&info), SYNCERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(info.dwRecordSize, 300u);
    EXPECT_EQ(buffer[0], 0x01) << "a record larger than the buffer is not copied at all";
    EXPECT_EQ(buffer[256], 0xEE);
    info.wIndex = 2;
    EXPECT_EQ(SyncReadRecordByIndex(&info), SYNCERR_NOT_FOUND);

    EXPECT_EQ(SyncPurgeAllRecs(db), SYNCERR_NONE);
    EXPECT_EQ(SyncGetDBRecordCount(db, &count), SYNCERR_NONE);
    EXPECT_EQ(count, 0);
    std::uint32_t id = 0;
    EXPECT_EQ(write(db, {7}, &id), SYNCERR_NONE);
    EXPECT_GT(id, seed) << "IDs of purged records are not issued again";
    EXPECT_EQ(SyncCloseDB(db), SYNCERR_NONE);
    EXPECT_EQ(hh.records("Qlmr-Expenses"), std::vector<std::vector<std::uint8_t>>{{7}});
    EXPECT_EQ(hh.load("Qlmr-Expenses").m_header.modificationNumber, 1u);
}

TEST(SyncMgr, RefusesBadNamesHandlesModesAndKinds)
{
    TestHandheld hh;
    std::uint8_t db = 0;
    EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 0, &db, kReadWrite), SYNCERR_NOT_FOUND);
    hh.putExpenses({{1}});
    EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 1, &db, kReadWrite), SYNCERR_NOT_FOUND) << "only card 0";
    for (const char* name : {"", "..", "a/b", "0123456789012345678901234567890123", "tab\there"})
        EXPECT_EQ(SyncOpenDB(name, 0, &db, kReadWrite), SYNCERR_BAD_ARGUMENT) << name;
    EXPECT_EQ(SyncOpenDB(nullptr, 0, &db, kReadWrite), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 0, nullptr, kReadWrite), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 0, &db, SYNC_MODE_SECRET), SYNCERR_BAD_ARGUMENT);

    const std::uint8_t readOnly = open("Qlmr-Expenses", SYNC_MODE_READ);
    EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 0, &db, kReadWrite), SYNCERR_DB_OPEN);
    EXPECT_EQ(write(readOnly, {1}), SYNCERR_WRONG_MODE);
    EXPECT_EQ(SyncPurgeAllRecs(readOnly), SYNCERR_WRONG_MODE);
    EXPECT_EQ(SyncDeleteDB("Qlmr-Expenses", 0), SYNCERR_DB_OPEN);
    SyncCreateDBInfo again{};
    again.pszName = "Qlmr-Expenses";
    EXPECT_EQ(SyncCreateDB(&again), SYNCERR_ALREADY_EXISTS);
    EXPECT_EQ(SyncCloseDB(readOnly), SYNCERR_NONE);

    const std::uint8_t writeOnly = open("Qlmr-Expenses", SYNC_MODE_WRITE);
    std::uint16_t count = 0;
    EXPECT_EQ(SyncGetDBRecordCount(writeOnly, &count), SYNCERR_WRONG_MODE);
    EXPECT_EQ(write(writeOnly, std::vector<std::uint8_t>(70000)), SYNCERR_TOO_LARGE);
    SyncRecordInfo badCategory{};
    badCategory.hDB = writeOnly;
    badCategory.bCategory = 16;
    EXPECT_EQ(SyncWriteRec(&badCategory), SYNCERR_BAD_ARGUMENT);
    SyncResourceInfo resource{};
    resource.hDB = writeOnly;
    EXPECT_EQ(SyncReadResRecordByIndex(&resource, 0), SYNCERR_WRONG_MODE);
    EXPECT_EQ(SyncCloseDB(writeOnly), SYNCERR_NONE);

    hh.putApplication({"1.0,3"});
    const std::uint8_t app = open("Quillmar", SYNC_MODE_READ);
    EXPECT_EQ(write(app, {1}), SYNCERR_WRONG_MODE);
    std::uint8_t buffer[8];
    SyncRecordInfo record{};
    record.hDB = app;
    record.pBytes = buffer;
    record.dwSize = sizeof buffer;
    EXPECT_EQ(SyncReadRecordByIndex(&record), SYNCERR_WRONG_KIND);
    EXPECT_EQ(SyncCloseDB(app), SYNCERR_NONE);

    EXPECT_EQ(SyncCloseDB(0), SYNCERR_BAD_HANDLE);
    EXPECT_EQ(SyncPurgeAllRecs(99), SYNCERR_BAD_HANDLE);
    EXPECT_EQ(write(0, {1}), SYNCERR_BAD_HANDLE);
}

TEST(SyncMgr, UnsoundFilesAreRefusedNotRead)
{
    TestHandheld hh;
    std::uint8_t db = 0;
    writeFile(hh.file("Short.pdb"), std::string(40, 'x'));
    EXPECT_EQ(SyncOpenDB("Short", 0, &db, kReadWrite), SYNCERR_FILE_CORRUPT);

    const auto misnamed = palm::PalmDatabaseFile::Create("Other", FourCC("DATA"), FourCC("Qlmr"), 0).Serialize();
    writeFile(hh.file("Misnamed.pdb"), std::string(misnamed.begin(), misnamed.end()));
    EXPECT_EQ(SyncOpenDB("Misnamed", 0, &db, kReadWrite), SYNCERR_FILE_CORRUPT) << "name differs from file";

    auto resources = palm::PalmDatabaseFile::Create("Kind", FourCC("DATA"), FourCC("Qlmr"), palm::kAttrResDB);
    const auto bytes = resources.Serialize();
    writeFile(hh.file("Kind.pdb"), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(SyncOpenDB("Kind", 0, &db, kReadWrite), SYNCERR_FILE_CORRUPT) << "a resource database in a .pdb";

    hh.putExpenses({{1}});
    writeFile(hh.file("Qlmr-Expenses.prc"), readFile(hh.file("Qlmr-Expenses.pdb")));
    EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 0, &db, kReadWrite), SYNCERR_FILE_CORRUPT) << "two files, one name";
    EXPECT_EQ(SyncDeleteDB("Qlmr-Expenses", 0), SYNCERR_FILE_CORRUPT);
}

TEST(SyncMgr, TooManyOpenDatabases)
{
    TestHandheld hh;
    std::vector<std::uint8_t> handles;
    for (int i = 0; i < 16; ++i)
        handles.push_back(create(("Db" + std::to_string(i)).c_str()));
    SyncCreateDBInfo info{};
    info.pszName = "OneTooMany";
    EXPECT_EQ(SyncCreateDB(&info), SYNCERR_TOO_MANY_OPEN);
    for (const std::uint8_t handle : handles)
        EXPECT_EQ(SyncCloseDB(handle), SYNCERR_NONE);
    EXPECT_TRUE(hh.has("Db15"));
    EXPECT_EQ(hh.load("Db15").m_records.size(), 0u) << "a created database is written even when empty";
}

TEST(SyncMgr, DeletesDatabases)
{
    TestHandheld hh;
    hh.putExpenses({{1}});
    EXPECT_EQ(SyncDeleteDB("Qlmr-Expenses", 0), SYNCERR_NONE);
    EXPECT_FALSE(hh.has("Qlmr-Expenses"));
    EXPECT_EQ(SyncDeleteDB("Qlmr-Expenses", 0), SYNCERR_NOT_FOUND);
}

TEST(SyncMgr, ReadsResources)
{
    TestHandheld hh;
    hh.putApplication({"1.0,3", std::string(3000, 'v')});
    const std::uint8_t app = open("Quillmar", SYNC_MODE_READ | SYNC_MODE_SECRET);
    std::uint16_t count = 0;
    EXPECT_EQ(SyncGetDBRecordCount(app, &count), SYNCERR_NONE);
    EXPECT_EQ(count, 2);

    std::uint8_t buffer[2048] = {};
    SyncResourceInfo info{};
    info.hDB = app;
    info.pBytes = buffer;
    info.dwSize = sizeof buffer;
    EXPECT_EQ(SyncReadResRecordByIndex(&info, 1), SYNCERR_NONE);
    EXPECT_EQ(info.dwType, FourCC("tver"));
    EXPECT_EQ(info.wID, 1000);
    EXPECT_EQ(info.dwResourceSize, 6u);
    EXPECT_STREQ(reinterpret_cast<char*>(buffer), "1.0,3");

    info.wIndex = 1;
    EXPECT_EQ(SyncReadResRecordByIndex(&info, 1), SYNCERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(info.dwResourceSize, 3001u);
    EXPECT_EQ(SyncReadResRecordByIndex(&info, 0), SYNCERR_NONE) << "type and size only";
    info.wIndex = 2;
    EXPECT_EQ(SyncReadResRecordByIndex(&info, 1), SYNCERR_NOT_FOUND);
    EXPECT_EQ(SyncCloseDB(app), SYNCERR_NONE);
}

TEST(SyncMgr, PreferencesLiveInSavedPreferences)
{
    TestHandheld hh;
    std::uint8_t block[2] = {};
    EXPECT_EQ(readPreference(block, 2), SYNCERR_NOT_FOUND);
    EXPECT_EQ(writePreference({0x01, 0x02}, 3), SYNCERR_NONE);

    const palm::PalmDatabaseFile prefs = hh.load("Saved Preferences");
    EXPECT_TRUE(prefs.IsResourceDatabase());
    EXPECT_EQ(prefs.m_header.attributes, palm::kAttrResDB | palm::kAttrBackup);
    EXPECT_EQ(prefs.m_header.type, FourCC("sprf"));
    EXPECT_EQ(prefs.m_header.creator, FourCC("psys"));
    ASSERT_EQ(prefs.m_resources.size(), 1u);
    EXPECT_EQ(prefs.m_resources[0].type, FourCC("Qlmr"));
    EXPECT_EQ(prefs.m_resources[0].id, 0);
    EXPECT_EQ(prefs.m_resources[0].data, hexBytes("0003 0102"));

    std::uint16_t version = 0, stored = 0;
    EXPECT_EQ(readPreference(block, 2, &version), SYNCERR_NONE);
    EXPECT_EQ(version, 3);
    EXPECT_EQ(block[1], 0x02);
    std::uint8_t larger[12] = {};
    EXPECT_EQ(readPreference(larger, 12, nullptr, 1, &stored), SYNCERR_PREF_SIZE);
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(larger[0], 0) << "a preference of another size is not copied";
    EXPECT_EQ(readPreference(block, 2, nullptr, 0), SYNCERR_NOT_FOUND) << "unsaved preferences are apart";

    EXPECT_EQ(writePreference({0x0A, 0x0B}, 4), SYNCERR_NONE);
    EXPECT_EQ(hh.load("Saved Preferences").m_resources.size(), 1u) << "replaced, not added";
    EXPECT_EQ(writePreference({0x05}, 1, 0), SYNCERR_NONE);
    EXPECT_EQ(hh.load("Unsaved Preferences").m_header.type, FourCC("pref"));
    EXPECT_EQ(hh.load("Unsaved Preferences").m_header.attributes, palm::kAttrResDB);

    auto broken = hh.load("Saved Preferences");
    broken.PutResource(FourCC("Qlmr"), 0, {0x00});  // no room for the version
    hh.put(broken);
    EXPECT_EQ(readPreference(block, 2), SYNCERR_FILE_CORRUPT);
}

TEST(SyncMgr, DisconnectDropsChangesAndUnregisterSavesThem)
{
    {
        TestHandheld hh;
        hh.putExpenses({{1}, {2}});
        const std::string before = readFile(hh.file("Qlmr-Expenses.pdb"));
        const std::uint8_t db = open("Qlmr-Expenses");
        EXPECT_EQ(SyncPurgeAllRecs(db), SYNCERR_NONE);
        create("Qlmr-Projects");
        HotSyncDisconnect();  // the cable is pulled
        EXPECT_EQ(readFile(hh.file("Qlmr-Expenses.pdb")), before);
        EXPECT_FALSE(hh.has("Qlmr-Projects"));
        EXPECT_EQ(SyncCloseDB(db), SYNCERR_BAD_HANDLE);
        EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 0, nullptr, kReadWrite), SYNCERR_BAD_ARGUMENT);
        std::uint8_t handle = 0;
        EXPECT_EQ(SyncOpenDB("Qlmr-Expenses", 0, &handle, kReadWrite), SYNCERR_NOT_CONNECTED);
    }
    TestHandheld hh;
    std::uint32_t conduit = 0;
    ASSERT_EQ(SyncRegisterConduit(&conduit), SYNCERR_NONE);
    write(create("Qlmr-Projects"), {1, 2, 3});
    EXPECT_EQ(SyncUnRegisterConduit(conduit), SYNCERR_NONE);
    EXPECT_EQ(hh.records("Qlmr-Projects").size(), 1u);
}

TEST(SyncMgr, ASaveThatFailsIsReportedByCloseAndByUnregister)
{
    // A non-empty folder where the file belongs: renaming the new file over it fails, even for
    // the superuser.
    struct Case {
        const char* how;
        std::int32_t (*close)(std::uint8_t db, std::uint32_t conduit);
    };
    const Case cases[] = {
        {"SyncCloseDB", [](std::uint8_t db, std::uint32_t) { return SyncCloseDB(db); }},
        {"SyncUnRegisterConduit with the database left open",
         [](std::uint8_t, std::uint32_t conduit) { return SyncUnRegisterConduit(conduit); }},
    };
    for (const Case& c : cases) {
        TestHandheld hh;
        std::uint32_t conduit = 0;
        ASSERT_EQ(SyncRegisterConduit(&conduit), SYNCERR_NONE);
        const std::uint8_t db = create("Qlmr-Accounts");
        ASSERT_EQ(write(db, {'A', 0}), SYNCERR_NONE);
        ASSERT_EQ(write(create("Qlmr-Projects"), {1}), SYNCERR_NONE);  // saves fine
        std::filesystem::create_directory(hh.file("Qlmr-Accounts.pdb"));
        writeFile(hh.file("Qlmr-Accounts.pdb/kept"), "kept");

        EXPECT_EQ(c.close(db, conduit), SYNCERR_FILE_IO) << c.how;
        EXPECT_EQ(SyncCloseDB(db), SYNCERR_BAD_HANDLE) << c.how << ": closed all the same";
        EXPECT_EQ(readFile(hh.file("Qlmr-Accounts.pdb/kept")), "kept") << c.how;
        SyncUnRegisterConduit(conduit);
        EXPECT_TRUE(hh.has("Qlmr-Projects")) << c.how << ": the other database was saved";
        EXPECT_EQ(folderContents(hh.path()).size(), 3u) << c.how << ": no temporary file left";
    }
}

TEST(SyncMgr, ConvertsToAndFromHandheldByteOrder)
{
    const std::uint16_t word = SyncHostToHHWord(0x012C);
    const std::uint32_t dword = SyncHostToHHDWord(0x0131CE09);
    std::uint8_t bytes[6];
    std::memcpy(bytes, &word, 2);
    std::memcpy(bytes + 2, &dword, 4);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 6), hexBytes("012C 0131CE09"));
    EXPECT_EQ(SyncHHToHostWord(word), 0x012C);
    EXPECT_EQ(SyncHHToHostDWord(dword), 0x0131CE09u);
}
