// PalmDatabaseFile: the byte layout against a file checked with two independent readers, every
// refusal a careful reader makes, unique IDs and the seed, dates, saving by rename, and the
// mode of a saved file.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/palm/PalmBytes.h"
#include "platform/palm/PalmDatabaseFile.h"
#include "tests/support/ScopedUmask.h"
#include "tests/support/TestHandheld.h"

using palm::PalmDatabaseFile;

namespace {

constexpr std::uint32_t kNov2023 = 0xE179A180;  // 2023-11-14T22:13:20Z in the 1904 epoch

// Qlmr-Expenses with three records, as read identically by Palm::PDB and palm-pdb.
const std::vector<std::uint8_t> kWorkedExample = hexBytes(
    "516c 6d72 2d45 7870 656e 7365 7300 0000"
    "0000 0000 0000 0000 0000 0000 0000 0000"
    "0008 0000 e179 a180 e179 a180 0000 0000"
    "0000 0000 0000 0000 0000 0000 4441 5441"
    "516c 6d72 0000 4002 0000 0000 0003 0000"
    "0068 0000 0001 0000 006d 4200 4001 0000"
    "0075 5000 4002 0000 4865 6c6c 6f00 1122"
    "3344 5566 77ca fe");

PalmDatabaseFile workedExample()
{
    PalmDatabaseFile db;
    db.m_header.name = "Qlmr-Expenses";
    db.m_header.attributes = palm::kAttrBackup;
    db.m_header.creationDate = db.m_header.modificationDate = kNov2023;
    db.m_header.type = palm::FourCC("DATA");
    db.m_header.creator = palm::FourCC("Qlmr");
    db.m_header.uniqueIDSeed = 0x4002;
    db.m_records = {{0x00, 0x000001, hexBytes("48656c6c6f")},
                    {0x42, 0x004001, hexBytes("0011223344556677")},
                    {0x50, 0x004002, hexBytes("cafe")}};
    return db;
}

std::string parseError(const std::vector<std::uint8_t>& bytes)
{
    PalmDatabaseFile db;
    std::string error;
    if (PalmDatabaseFile::Parse(bytes, db, error))
        return "(parsed)";
    return error;
}

void put4(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    palm::Put4(bytes.data() + offset, value);
}

}  // namespace

TEST(PalmDatabaseFile, WritesAndReadsTheWorkedExample)
{
    EXPECT_EQ(workedExample().Serialize(), kWorkedExample);

    PalmDatabaseFile db;
    std::string error;
    ASSERT_TRUE(PalmDatabaseFile::Parse(kWorkedExample, db, error)) << error;
    EXPECT_EQ(db.m_header.name, "Qlmr-Expenses");
    EXPECT_EQ(db.m_header.attributes, palm::kAttrBackup);
    EXPECT_EQ(db.m_header.creationDate, kNov2023);
    EXPECT_EQ(db.m_header.lastBackupDate, 0u);
    EXPECT_EQ(palm::FourCCText(db.m_header.type), "DATA");
    EXPECT_EQ(palm::FourCCText(db.m_header.creator), "Qlmr");
    EXPECT_EQ(db.m_header.uniqueIDSeed, 0x4002u);
    ASSERT_EQ(db.m_records.size(), 3u);
    EXPECT_EQ(db.m_records[0].data, textBytes("Hello"));
    EXPECT_EQ(db.m_records[1].attributes, 0x42);
    EXPECT_EQ(db.m_records[1].uniqueID, 0x004001u);
    EXPECT_EQ(db.m_records[2].data, hexBytes("cafe"));
    EXPECT_EQ(db.Serialize(), kWorkedExample) << "a sound file survives a round trip unchanged";
}

TEST(PalmDatabaseFile, EmptyDatabaseAndPreferenceFileLayouts)
{
    PalmDatabaseFile empty = workedExample();
    empty.m_records.clear();
    const std::vector<std::uint8_t> bytes = empty.Serialize();
    ASSERT_EQ(bytes.size(), 80u) << "header and gap only";
    EXPECT_EQ(palm::Get2(bytes.data() + 76), 0);
    EXPECT_EQ(parseError(bytes), "(parsed)");

    // "Saved Preferences" holding the preference Qlmr/0, version 3, bytes 01 02.
    PalmDatabaseFile prefs;
    prefs.m_header.name = "Saved Preferences";
    prefs.m_header.attributes = palm::kAttrResDB | palm::kAttrBackup;
    prefs.m_header.type = palm::FourCC("sprf");
    prefs.m_header.creator = palm::FourCC("psys");
    ASSERT_TRUE(prefs.PutResource(palm::FourCC("Qlmr"), 0, hexBytes("00 03 01 02")));
    const std::vector<std::uint8_t> prc = prefs.Serialize();
    ASSERT_EQ(prc.size(), 78u + 10 + 2 + 4);
    EXPECT_EQ(std::vector<std::uint8_t>(prc.begin() + 32, prc.begin() + 34), hexBytes("0009"));
    EXPECT_EQ(std::vector<std::uint8_t>(prc.begin() + 60, prc.begin() + 68), textBytes("sprfpsys"));
    EXPECT_EQ(std::vector<std::uint8_t>(prc.begin() + 78, prc.end()),
              hexBytes("516c6d72 0000 0000005a 0000 00030102"));
    PalmDatabaseFile back;
    std::string error;
    ASSERT_TRUE(PalmDatabaseFile::Parse(prc, back, error)) << error;
    ASSERT_NE(back.FindResource(palm::FourCC("Qlmr"), 0), nullptr);
    EXPECT_EQ(back.FindResource(palm::FourCC("Qlmr"), 0)->data, hexBytes("00030102"));
}

TEST(PalmDatabaseFile, RefusesWhatACarefulReaderRefuses)
{
    auto bad = [](auto change) {
        std::vector<std::uint8_t> bytes = kWorkedExample;
        change(bytes);
        return parseError(bytes);
    };
    EXPECT_EQ(bad([](auto& b) { b.resize(77); }), "shorter than the 78-byte header");
    EXPECT_EQ(bad([](auto& b) { std::fill(b.begin(), b.begin() + 32, 'A'); }), "the name has no NUL");
    EXPECT_EQ(bad([](auto& b) { b[0] = 0; }), "the name is empty");
    EXPECT_EQ(bad([](auto& b) { put4(b, 72, 0x100); }), "the next record list ID is not 0");
    EXPECT_EQ(bad([](auto& b) { palm::Put2(b.data() + 76, 200); }), "the index runs past the end of the file");
    EXPECT_EQ(bad([](auto& b) { palm::Put2(b.data() + 76, 5); b.resize(78 + 40 + 1); }),
              "the 2-byte gap after the index is missing");
    EXPECT_EQ(bad([](auto& b) { put4(b, 52, 40); }), "AppInfo offset points inside the header or index");
    EXPECT_EQ(bad([](auto& b) { put4(b, 56, 0x200); }), "SortInfo offset points past the end of the file");
    EXPECT_EQ(bad([](auto& b) { put4(b, 52, 0x6a); put4(b, 56, 0x68); }), "SortInfo block lies before the AppInfo block");
    EXPECT_EQ(bad([](auto& b) { put4(b, 78, 0x60); }), "entry 0 points inside the header or index");
    EXPECT_EQ(bad([](auto& b) { put4(b, 78 + 8, 0x78); }), "entry 1 points past the end of the file");
    EXPECT_EQ(bad([](auto& b) { put4(b, 78 + 16, 0x6c); }), "entry 2 lies before the block in front of it");
    EXPECT_EQ(bad([](auto& b) { put4(b, 52, 0x70); }), "entry 0 lies before the block in front of it");
    EXPECT_EQ(bad([](auto& b) { palm::Put3(b.data() + 78 + 5, 0); }), "record 0 has unique ID 0");
    EXPECT_EQ(bad([](auto& b) { palm::Put3(b.data() + 78 + 13, 0x004002); }), "a record unique ID occurs twice");

    PalmDatabaseFile twice;
    twice.m_header.name = "R";
    twice.m_header.attributes = palm::kAttrResDB;
    twice.m_resources = {{palm::FourCC("tver"), 1, {0}}, {palm::FourCC("tver"), 1, {0}}};
    EXPECT_EQ(parseError(twice.Serialize()), "a resource type and id occur twice");
}

TEST(PalmDatabaseFile, EveryTruncationIsRefusedOrReadWithinTheFile)
{
    // The last record starts at 0x75: any shorter file loses a record's start or the index.
    for (std::size_t size = 0; size <= kWorkedExample.size(); ++size) {
        const std::vector<std::uint8_t> prefix(kWorkedExample.begin(), kWorkedExample.begin() + size);
        PalmDatabaseFile db;
        std::string error;
        const bool parsed = PalmDatabaseFile::Parse(prefix, db, error);
        EXPECT_EQ(parsed, size >= 0x75) << "size " << size << ": " << error;
        if (parsed) {
            EXPECT_EQ(db.m_records[2].data.size(), size - 0x75);
        }
    }
}

TEST(PalmDatabaseFile, IssuesUniqueIDsAboveTheSeedAndNeverReusesThem)
{
    PalmDatabaseFile db = PalmDatabaseFile::Create("Ids", palm::FourCC("DATA"), palm::FourCC("Qlmr"), 0);
    std::uint32_t id = 0;
    ASSERT_TRUE(db.AppendRecord(0, {1}, &id));
    EXPECT_EQ(id, 0x004001u);
    ASSERT_TRUE(db.AppendRecord(0, {2}, &id));
    EXPECT_EQ(id, 0x004002u);
    EXPECT_EQ(db.m_header.uniqueIDSeed, 0x004002u);
    db.m_records.clear();  // as a purge does
    ASSERT_TRUE(db.AppendRecord(0, {3}, &id));
    EXPECT_EQ(id, 0x004003u);

    // A file whose seed lags behind its IDs (or lies in the reserved range) still gets fresh IDs.
    PalmDatabaseFile lagging = workedExample();
    lagging.m_header.uniqueIDSeed = 1;
    ASSERT_TRUE(lagging.AppendRecord(0, {}, &id));
    EXPECT_EQ(id, 0x004003u);
    EXPECT_EQ(lagging.m_header.uniqueIDSeed, 0x004003u);

    // At the top of the 24-bit range the lowest free ID above the reserved range is taken.
    PalmDatabaseFile full = workedExample();
    full.m_records.push_back({0, palm::kMaxUniqueID, {}});
    full.m_records.push_back({0, 0x002000, {}});
    ASSERT_TRUE(full.AppendRecord(0, {}, &id));
    EXPECT_EQ(id, 0x002001u);
    EXPECT_EQ(full.m_header.uniqueIDSeed, palm::kMaxUniqueID);

    EXPECT_FALSE(db.AppendRecord(0, std::vector<std::uint8_t>(palm::kMaxRecordSize + 1)));
    EXPECT_TRUE(db.AppendRecord(0, std::vector<std::uint8_t>(palm::kMaxRecordSize)));
}

TEST(PalmDatabaseFile, DatesUseThe1904EpochAndRecogniseOld1970Values)
{
    EXPECT_EQ(palm::PalmTimeFromUnix(1700000000), kNov2023);
    EXPECT_EQ(palm::UnixFromPalmTime(kNov2023), 1700000000);
    EXPECT_EQ(palm::UnixFromPalmTime(0x6553F100), 1700000000) << "high bit clear: seconds since 1970";
    EXPECT_EQ(palm::UnixFromPalmTime(0), -palm::kPalmEpochOffset);
    EXPECT_EQ(palm::PalmTimeFromUnix(-palm::kPalmEpochOffset - 1), 0u);
    EXPECT_EQ(palm::PalmTimeFromUnix(4294967296LL), 0xFFFFFFFFu) << "after 2040 the count stays at its end";
    EXPECT_GE(palm::PalmTimeNow(), kNov2023);
}

TEST(PalmDatabaseFile, SavesByRenameAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.file("Qlmr-Expenses.pdb");
    PalmDatabaseFile db = workedExample();
    std::string error;
    ASSERT_TRUE(db.Save(path, error)) << error;
    EXPECT_EQ(textBytes(readFile(path)), kWorkedExample);

    db.m_records.pop_back();
    db.m_header.attributes |= palm::kAttrOpen;
    ASSERT_TRUE(db.Save(path, error)) << error;
    PalmDatabaseFile back;
    ASSERT_TRUE(PalmDatabaseFile::Load(path, back, error)) << error;
    EXPECT_EQ(back.m_records.size(), 2u);
    EXPECT_EQ(back.m_header.attributes, palm::kAttrBackup) << "the Open bit is never written";

    std::filesystem::create_directory(dir.file("Busy.pdb"));
    EXPECT_FALSE(db.Save(dir.file("Busy.pdb"), error)) << "a directory cannot be replaced";
    EXPECT_FALSE(db.Save(dir.file("missing/X.pdb"), error));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 2u) << "only Qlmr-Expenses.pdb and Busy.pdb; no temporary file is left";
    EXPECT_TRUE(PalmDatabaseFile::Load(path, back, error)) << "the saved file is intact";

    bool readFailed = false;
    EXPECT_FALSE(PalmDatabaseFile::Load(dir.file("none.pdb"), back, error, &readFailed));
    EXPECT_TRUE(readFailed);
    writeFile(dir.file("short.pdb"), "too short");
    EXPECT_FALSE(PalmDatabaseFile::Load(dir.file("short.pdb"), back, error, &readFailed));
    EXPECT_FALSE(readFailed);
    EXPECT_EQ(error, "shorter than the 78-byte header");
}

TEST(PalmDatabaseFile, RewrittenFilesKeepTheirModeAndNewOnesFollowTheUmask)
{
    struct ModeCase {
        mode_t umask;      // the process's umask while saving
        mode_t existing;   // mode of the file saved over; 0 for a new file
        mode_t expected;   // mode of the saved file
    };
    const ModeCase cases[] = {{022, 0600, 0600}, {077, 0644, 0644}, {022, 0, 0644}, {077, 0, 0600}};
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << c.umask << ", existing " << c.existing);
        TempDir dir;
        const std::string path = dir.file("Qlmr-Expenses.pdb");
        std::string error;
        if (c.existing != 0) {
            ASSERT_TRUE(workedExample().Save(path, error)) << error;
            ASSERT_EQ(::chmod(path.c_str(), c.existing), 0);
        }
        const ScopedUmask umask(c.umask);
        PalmDatabaseFile db = workedExample();
        db.m_records.pop_back();
        ASSERT_TRUE(db.Save(path, error)) << error;
        EXPECT_EQ(fileMode(path.c_str()), c.expected);
    }
}
