// CHHExpTypesDB: its database and its record layout byte for byte; desktop texts become handheld
// text, cut to the 32-byte work buffer.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHExpTypesDB.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestHandheld.h"

TEST(CHHExpTypesDB, WritesItsRecordsByteForByte)
{
    TestHandheld hh;
    {
        CHHExpTypesDB db;
        ASSERT_TRUE(db.Open());
        EXPECT_TRUE(db.WriteExpType(300, 1, "Fuel"));
        EXPECT_TRUE(db.WriteExpType(0, 0, "TaxDed"));
        EXPECT_TRUE(db.WriteExpType(12, 2, std::string(40, 'a')));
    }
    const palm::PalmDatabaseFile file = hh.load("Qlmr-ExpTypes");
    EXPECT_EQ(file.m_header.type, palm::FourCC("DATA"));
    EXPECT_EQ(file.m_header.creator, palm::FourCC("Qlmr"));
    const std::vector<std::vector<std::uint8_t>> expected = {
        hexBytes("01 2C 01 46 75 65 6C 00"),
        hexBytes("00 00 00 54 61 78 44 65 64 00"),
        recordBytes("00 0C 02", std::string(28, 'a'))};
    EXPECT_EQ(hh.records("Qlmr-ExpTypes"), expected);
    EXPECT_EQ(expected.back().size(), 32u) << "a long text fills the work buffer exactly";
}
