// CHHAccountsDB: its database and its record layout byte for byte; desktop texts become handheld
// text, cut to the 32-byte work buffer.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHAccountsDB.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestHandheld.h"

TEST(CHHAccountsDB, WritesItsRecordsByteForByte)
{
    TestHandheld hh;
    {
        CHHAccountsDB db;
        ASSERT_TRUE(db.Open());
        EXPECT_TRUE(db.WriteAccount("CASH"));
        EXPECT_TRUE(db.WriteAccount("Caf\u00e9 \u0416"));
        EXPECT_TRUE(db.WriteAccount(std::string(40, 'a')));
    }
    const palm::PalmDatabaseFile file = hh.load("Qlmr-Accounts");
    EXPECT_EQ(file.m_header.type, palm::FourCC("DATA"));
    EXPECT_EQ(file.m_header.creator, palm::FourCC("Qlmr"));
    const std::vector<std::vector<std::uint8_t>> expected = {
        hexBytes("43 41 53 48 00"),
        hexBytes("43 61 66 E9 20 3F 00"),
        recordBytes("", std::string(31, 'a'))};
    EXPECT_EQ(hh.records("Qlmr-Accounts"), expected);
    EXPECT_EQ(expected.back().size(), 32u) << "a long text fills the work buffer exactly";
}
