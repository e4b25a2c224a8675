// CHHCategoriesDB: its database and its record layout byte for byte; desktop texts become handheld
// text, cut to the 32-byte work buffer.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHCategoriesDB.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestHandheld.h"

TEST(CHHCategoriesDB, WritesItsRecordsByteForByte)
{
    TestHandheld hh;
    {
        CHHCategoriesDB db;
        ASSERT_TRUE(db.Open());
        EXPECT_TRUE(db.WriteCategory(300, "Fuel"));
        EXPECT_TRUE(db.WriteCategory(12, "\u20ac\u00fc"));
        EXPECT_TRUE(db.WriteCategory(12, std::string(40, 'a')));
    }
    const palm::PalmDatabaseFile file = hh.load("Qlmr-Categories");
    EXPECT_EQ(file.m_header.type, palm::FourCC("DATA"));
    EXPECT_EQ(file.m_header.creator, palm::FourCC("Qlmr"));
    const std::vector<std::vector<std::uint8_t>> expected = {
        hexBytes("01 2C 46 75 65 6C 00"),
        hexBytes("00 0C 80 FC 00"),
        recordBytes("00 0C", std::string(29, 'a'))};
    EXPECT_EQ(hh.records("Qlmr-Categories"), expected);
    EXPECT_EQ(expected.back().size(), 32u) << "a long text fills the work buffer exactly";
}
