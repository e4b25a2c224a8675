// The conduit's preference: its 12 bytes, the defaults when the handheld has none, and that the
// handheld application's part comes back exactly as it was read.
#include <gtest/gtest.h>

#include "conduit/handheld/ConduitPrefs.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/TestHandheld.h"

namespace {

void putPreference(const TestHandheld& hh, const std::vector<std::uint8_t>& data)
{
    auto prefs = palm::PalmDatabaseFile::Create("Saved Preferences", palm::FourCC("sprf"), palm::FourCC("psys"),
                                                palm::kAttrResDB | palm::kAttrBackup);
    prefs.PutResource(palm::FourCC("psys"), 1, {0, 1, 0xAB});  // the system's own, left alone
    prefs.PutResource(palm::FourCC("Qlmr"), 0, data);
    hh.put(prefs);
}

std::vector<std::uint8_t> storedPreference(const TestHandheld& hh)
{
    const auto prefs = hh.load("Saved Preferences");
    const palm::PalmResource* resource = prefs.FindResource(palm::FourCC("Qlmr"), 0);
    return resource ? resource->data : std::vector<std::uint8_t>();
}

}  // namespace

TEST(ConduitPrefs, PacksInTheConduitsOwnLittleEndianLayout)
{
    hh::ConduitPrefs prefs;
    std::uint8_t block[hh::kConduitPrefsSize];
    hh::PackConduitPrefs(prefs, block);
    EXPECT_EQ(std::vector<std::uint8_t>(block, block + 12), hexBytes("0000 0000 01000000 00000000"));
    prefs.wPalmUpdt = 0x0102;
    prefs.dwAppData2 = 0x0A0B0C0D;
    hh::PackConduitPrefs(prefs, block);
    EXPECT_EQ(std::vector<std::uint8_t>(block, block + 12), hexBytes("0201 0000 01000000 0D0C0B0A"));
    hh::ConduitPrefs back;
    hh::UnpackConduitPrefs(block, back);
    EXPECT_EQ(back.wPalmUpdt, 0x0102);
    EXPECT_EQ(back.dwAppData1, 1u);
    EXPECT_EQ(back.dwAppData2, 0x0A0B0C0Du);
}

TEST(ConduitPrefs, NoPreferenceGivesTheDefaultsWrittenBackWithOnlyTheFirstWordChanged)
{
    TestHandheld hh;
    hh::ConduitPrefs prefs;
    prefs.wPalmUpdt = 77;
    prefs.dwAppData1 = 5;
    ASSERT_EQ(hh::ReadPrefs(prefs), 0);
    EXPECT_EQ(prefs.wPalmUpdt, 0);
    EXPECT_EQ(prefs.wAppData, 0);
    EXPECT_EQ(prefs.dwAppData1, 1u);
    EXPECT_EQ(prefs.dwAppData2, 0u);
    prefs.wPalmUpdt = 3;
    ASSERT_EQ(hh::WritePrefs(prefs), 0);
    EXPECT_EQ(storedPreference(hh), hexBytes("0000 0300 0000 01000000 00000000"));
}

TEST(ConduitPrefs, TheHandheldsBytesTravelUnchanged)
{
    TestHandheld hh;
    putPreference(hh, hexBytes("0007 0500 FEDC BA987654 3210FFEE"));
    hh::ConduitPrefs prefs;
    ASSERT_EQ(hh::ReadPrefs(prefs), 0);
    EXPECT_EQ(prefs.wPalmUpdt, 5);
    EXPECT_EQ(prefs.wVersion, 7);
    prefs.wPalmUpdt = 6;
    ASSERT_EQ(hh::WritePrefs(prefs), 0);
    EXPECT_EQ(storedPreference(hh), hexBytes("0007 0600 FEDC BA987654 3210FFEE"));
    EXPECT_NE(hh.load("Saved Preferences").FindResource(palm::FourCC("psys"), 1), nullptr);
}

TEST(ConduitPrefs, APreferenceOfAnotherSizeIsAnError)
{
    TestHandheld hh;
    putPreference(hh, hexBytes("0001 0300 0000 0100 0000"));  // 8 bytes after the version
    hh::ConduitPrefs prefs;
    prefs.wPalmUpdt = 9;
    EXPECT_EQ(hh::ReadPrefs(prefs), SYNCERR_PREF_SIZE);
    EXPECT_EQ(prefs.wPalmUpdt, 9) << "nothing taken from it";
    putPreference(hh, hexBytes("00"));
    EXPECT_EQ(hh::ReadPrefs(prefs), SYNCERR_FILE_CORRUPT);
}
