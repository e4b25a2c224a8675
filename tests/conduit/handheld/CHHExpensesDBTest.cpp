// CHHExpensesDB: opening with the record count, reading into the fixed buffer, what it refuses,
// and emptying.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHExpensesDB.h"
#include "conduit/handheld/HHExpense.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/TestHandheld.h"

namespace {

std::vector<std::uint8_t> expense(std::uint16_t type, std::uint32_t amount, const std::string& item)
{
    hh::HHExpense e;
    e.wExpType = type;
    e.dwDate = 20041225;
    e.dwAmount = amount;
    e.item = item;
    std::uint8_t buffer[hh::kExpenseBufferSize];
    return std::vector<std::uint8_t>(buffer, buffer + hh::PackExpense(e, buffer));
}

}  // namespace

TEST(CHHExpensesDB, ReadsEachRecordAndEmptiesTheDatabase)
{
    TestHandheld hh;
    hh.putExpenses({expense(300, 1234, "Gas"), expense(12, 5, "Lunch")});
    {
        CHHExpensesDB db;
        ASSERT_TRUE(db.Open());
        EXPECT_EQ(db.m_lResult, 0);
        EXPECT_EQ(db.m_wRecordCount, 2);
        ASSERT_TRUE(db.ReadRecord(1));
        EXPECT_EQ(db.m_Expense.wExpType, 12);
        EXPECT_EQ(db.m_Expense.item, "Lunch");
        ASSERT_TRUE(db.ReadRecord(0));
        EXPECT_EQ(db.m_Expense.dwAmount, 1234u);
        EXPECT_EQ(db.m_Expense.item, "Gas");
        EXPECT_EQ(db.m_Buffer[24], 0) << "the buffer was cleared before the shorter read";
        EXPECT_FALSE(db.ReadRecord(2));
        EXPECT_EQ(db.m_lResult, SYNCERR_NOT_FOUND);
        EXPECT_EQ(db.RemoveAll(), 0);
    }
    EXPECT_TRUE(hh.records("Qlmr-Expenses").empty());
}

TEST(CHHExpensesDB, TellsAMissingDatabaseFromABrokenOne)
{
    TestHandheld hh;
    CHHExpensesDB db;
    EXPECT_FALSE(db.Open());
    EXPECT_EQ(db.m_lResult, 0x4003);
    EXPECT_EQ(db.m_hDB, 0);
    writeFile(hh.file("Qlmr-Expenses.pdb"), std::string(100, '\x01'));
    EXPECT_FALSE(db.Open());
    EXPECT_EQ(db.m_lResult, SYNCERR_FILE_CORRUPT);
}

TEST(CHHExpensesDB, ARecordLargerThanTheBufferIsAFailure)
{
    TestHandheld hh;
    hh.putExpenses({std::vector<std::uint8_t>(257, 'x'), std::vector<std::uint8_t>(256, 'y')});
    CHHExpensesDB db;
    ASSERT_TRUE(db.Open());
    EXPECT_FALSE(db.ReadRecord(0));
    EXPECT_EQ(db.m_lResult, SYNCERR_BUFFER_TOO_SMALL);
    ASSERT_TRUE(db.ReadRecord(1));
    EXPECT_EQ(db.m_Expense.item.size(), 240u) << "a text without NUL ends with the 256-byte buffer";
    db.Close();
    db.Close();
    EXPECT_FALSE(db.ReadRecord(0)) << "closed";
    EXPECT_EQ(db.m_lResult, SYNCERR_BAD_HANDLE);
}
