// CHHExpFilterDB: its database and its record layout byte for byte; the label is handheld text
// already, and a longer one is cut to the 32-byte work buffer.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHExpFilterDB.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestHandheld.h"

TEST(CHHExpFilterDB, WritesItsRecordsByteForByte)
{
    TestHandheld hh;
    {
        CHHExpFilterDB db;
        ASSERT_TRUE(db.Open());
        EXPECT_TRUE(db.WriteFilterEntry(0, 0, "TaxDed"));
        EXPECT_TRUE(db.WriteFilterEntry(0xFFFE, 1234567, "Alpha"));
        EXPECT_TRUE(db.WriteFilterEntry(12, 0, std::string(40, 'a').c_str()));
    }
    const palm::PalmDatabaseFile file = hh.load("Qlmr-ExpFilter");
    EXPECT_EQ(file.m_header.type, palm::FourCC("DATA"));
    EXPECT_EQ(file.m_header.creator, palm::FourCC("Qlmr"));
    const std::vector<std::vector<std::uint8_t>> expected = {
        hexBytes("00 00 00 00 00 00 54 61 78 44 65 64 00"),
        hexBytes("FF FE 00 12 D6 87 41 6C 70 68 61 00"),
        recordBytes("00 0C 00 00 00 00", std::string(25, 'a'))};
    EXPECT_EQ(hh.records("Qlmr-ExpFilter"), expected);
    EXPECT_EQ(expected.back().size(), 32u) << "a long text fills the work buffer exactly";
}
