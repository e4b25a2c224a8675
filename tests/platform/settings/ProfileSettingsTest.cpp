// The shared profile: where it lives (the conduit reads the same file), default values, and the
// recent-file list's order, length and persistence.
#include <gtest/gtest.h>

#include <QSettings>

#include "platform/settings/ProfileSettings.h"
#include "platform/settings/RecentFileList.h"
#include "tests/support/QtTestSupport.h"

using settings::ProfileSettings;
using settings::RecentFileList;

TEST(ProfileSettings, ValuesLiveInTheUsersQuillmarProfile)
{
    IsolatedProfile profile;
    EXPECT_EQ(ProfileSettings::GetProfileString("Settings", "CurrDBName"), "");
    EXPECT_EQ(ProfileSettings::GetProfileString("Settings", "CurrDBName", "fallback"), "fallback");
    EXPECT_TRUE(ProfileSettings::WriteProfileString("Settings", "CurrDBName", "/data/My Expenses.mdb"));
    EXPECT_EQ(ProfileSettings::GetProfileString("Settings", "CurrDBName"), "/data/My Expenses.mdb");
    EXPECT_EQ(ProfileSettings::FilePath(), profile.dir().file("config/Corvander/Quillmar.ini"));
    const std::string ini = readFile(ProfileSettings::FilePath());
    EXPECT_NE(ini.find("[Settings]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("CurrDBName=/data/My Expenses.mdb"), std::string::npos) << ini;
}

TEST(ProfileSettings, APathKeepsItsBytesWhetherOrNotTheyAreUTF8)
{
    IsolatedProfile profile;
    const std::string latin1 = "/data/caf\xe9.mdb";           // not UTF-8
    const std::string replacement = "/data/caf\xef\xbf\xbd.mdb";  // U+FFFD itself, spelled in UTF-8
    for (const std::string& path : {latin1, replacement, std::string("/data/caf\xc3\xa9.mdb")}) {
        ASSERT_TRUE(ProfileSettings::WriteProfileString("Settings", "CurrDBName", path));
        EXPECT_EQ(ProfileSettings::GetProfileString("Settings", "CurrDBName"), path);
    }
    // Bytes typed into the file by hand (printf, an editor) are read as they stand.
    writeFile(ProfileSettings::FilePath(), "[Settings]\r\nCurrDBName=" + latin1 + "\r\nOther=x\n");
    EXPECT_EQ(ProfileSettings::GetProfileString("Settings", "CurrDBName"), latin1);
    EXPECT_EQ(ProfileSettings::GetProfileString("Settings", "Other"), "x");
}

TEST(RecentFileList, NewestFirstWithoutDuplicatesAndAtMostFour)
{
    IsolatedProfile profile;
    RecentFileList list(4);
    for (const char* path : {"/a.mdb", "/b.mdb", "/c.mdb", "/d.mdb", "/e.mdb"})
        list.Add(path);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/e.mdb", "/d.mdb", "/c.mdb", "/b.mdb"}));
    list.Add("/c.mdb");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/c.mdb", "/e.mdb", "/d.mdb", "/b.mdb"}));
    list.Remove(1);
    list.Remove(9);
    list.WriteList();

    RecentFileList reread(4);
    reread.ReadList();
    EXPECT_EQ(reread.Entries(), (std::vector<std::string>{"/c.mdb", "/d.mdb", "/b.mdb"}));
    EXPECT_EQ(ProfileSettings::GetProfileString(RecentFileList::kSection, "File1"), "/c.mdb");
}
