// CHHProjectsDB: its database and its record layout byte for byte; desktop texts become handheld
// text, cut to the 32-byte work buffer.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHProjectsDB.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestHandheld.h"

TEST(CHHProjectsDB, WritesItsRecordsByteForByte)
{
    TestHandheld hh;
    {
        CHHProjectsDB db;
        ASSERT_TRUE(db.Open());
        EXPECT_TRUE(db.WriteProject(1234567, "X"));
        EXPECT_TRUE(db.WriteProject(0xFFFFFFFF, ""));
        EXPECT_TRUE(db.WriteProject(7, std::string(40, 'a')));
    }
    const palm::PalmDatabaseFile file = hh.load("Qlmr-Projects");
    EXPECT_EQ(file.m_header.type, palm::FourCC("DATA"));
    EXPECT_EQ(file.m_header.creator, palm::FourCC("Qlmr"));
    const std::vector<std::vector<std::uint8_t>> expected = {
        hexBytes("00 12 D6 87 58 00"),
        hexBytes("FF FF FF FF 00"),
        recordBytes("00 00 00 07", std::string(27, 'a'))};
    EXPECT_EQ(hh.records("Qlmr-Projects"), expected);
    EXPECT_EQ(expected.back().size(), 32u) << "a long text fills the work buffer exactly";
}
