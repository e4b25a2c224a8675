// CHHExpensesDB: opening with the record count, reading into the fixed buffer, which records are
// expenses, skipped or damaged, and emptying.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHExpensesDB.h"
#include "conduit/handheld/HHExpense.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/TestHandheld.h"

namespace {

// A literal's bytes, its NULs included, without the one that ends it.
template <std::size_t N>
std::string_view Bytes(const char (&text)[N])
{
    return {text, N - 1};
}

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
        ASSERT_EQ(db.ReadRecord(1), CHHExpensesDB::Record::Expense);
        EXPECT_EQ(db.m_Expense.wExpType, 12);
        EXPECT_EQ(db.m_Expense.item, "Lunch");
        const std::uint32_t lunchDigest = db.m_dwDigest;
        ASSERT_EQ(db.ReadRecord(0), CHHExpensesDB::Record::Expense);
        EXPECT_EQ(db.m_Expense.dwAmount, 1234u);
        EXPECT_EQ(db.m_Expense.item, "Gas");
        EXPECT_NE(db.m_dwDigest, lunchDigest);
        EXPECT_EQ(db.m_Buffer[24], 0) << "the buffer was cleared before the shorter read";
        EXPECT_EQ(db.ReadRecord(2), CHHExpensesDB::Record::Failed);
        EXPECT_EQ(db.m_lResult, SYNCERR_NOT_FOUND);
        EXPECT_EQ(db.RemoveAll(), 0);
        EXPECT_EQ(db.Close(), 0);
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

TEST(CHHExpensesDB, TellsExpensesFromSkippedAndDamagedRecords)
{
    using Record = CHHExpensesDB::Record;
    std::vector<std::uint8_t> sixthTextWithoutNul = expense(12, 5, "");
    sixthTextWithoutNul.pop_back();
    // A record that fills its 256 bytes may end its detail without a NUL.
    std::vector<std::uint8_t> header = expense(12, 5, "");
    header.resize(hh::kExpenseHeaderSize);
    std::vector<std::uint8_t> fullWithoutNul = header;
    for (const char c : Bytes("Gas\0FUEL\0Shell\0VISA\0\0"))
        fullWithoutNul.push_back(static_cast<std::uint8_t>(c));
    fullWithoutNul.resize(hh::kExpenseBufferSize, 'd');
    const auto withTexts = [&header](std::string_view texts) {
        std::vector<std::uint8_t> bytes = header;
        bytes.insert(bytes.end(), texts.begin(), texts.end());
        return bytes;
    };
    std::vector<std::uint8_t> threeTexts = expense(12, 5, "Gas");
    threeTexts.resize(hh::kExpenseHeaderSize + 4 + 3);  // "Gas", two empty texts
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::uint8_t attributes;
        Record expected;
        const char* damage;
    } cases[] = {
        {"a live expense", expense(12, 5, "Gas"), 0, Record::Expense, ""},
        {"256 bytes, the last text without its NUL", fullWithoutNul, 0, Record::Expense, ""},
        {"shorter, the last text without its NUL", sixthTextWithoutNul, 0, Record::Damaged, "its six texts are not all there"},
        // Five texts: the detail would be read from the check number, or be missing.
        {"five texts", withTexts(Bytes("Taxi\0TAXI\0Cab Co\0VISA\x04\0G2\0")), 0, Record::Damaged,
         "its six texts are not all there"},
        {"five texts, the last empty", withTexts(Bytes("Taxi\0TAXI\0Cab Co\0VISA\0\0")), 0,
         Record::Damaged, "its six texts are not all there"},
        {"marked deleted", expense(12, 5, "Gas"), 0x80, Record::Skipped, ""},
        {"busy", expense(12, 5, "Gas"), 0x20, Record::Skipped, ""},
        {"deleted and too long", std::vector<std::uint8_t>(300, 'x'), 0x80, Record::Skipped, ""},
        {"empty", {}, 0, Record::Damaged, "0 bytes, shorter than the 16-byte header of an expense"},
        {"half a header", std::vector<std::uint8_t>(10, 1), 0, Record::Damaged,
         "10 bytes, shorter than the 16-byte header of an expense"},
        {"a header alone", std::vector<std::uint8_t>(16, 1), 0, Record::Damaged, "its six texts are not all there"},
        {"three texts", threeTexts, 0, Record::Damaged, "its six texts are not all there"},
        {"no NUL at all", std::vector<std::uint8_t>(256, 'y'), 0, Record::Damaged, "its six texts are not all there"},
        {"too long", std::vector<std::uint8_t>(257, 'x'), 0, Record::Damaged,
         "257 bytes, longer than an expense record can be (256)"},
    };
    for (const auto& c : cases) {
        TestHandheld hh;
        hh.putExpenses({c.bytes}, c.attributes);
        CHHExpensesDB db;
        ASSERT_TRUE(db.Open());
        EXPECT_EQ(db.ReadRecord(0), c.expected) << c.what;
        EXPECT_EQ(db.m_strDamage, c.damage) << c.what;
        EXPECT_EQ(db.m_dwRecordID, hh.load("Qlmr-Expenses").m_records[0].uniqueID) << c.what;
    }
}

TEST(CHHExpensesDB, ClosedItReadsNothing)
{
    TestHandheld hh;
    hh.putExpenses({expense(12, 5, "Gas")});
    CHHExpensesDB db;
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.Close(), 0);
    EXPECT_EQ(db.Close(), 0);
    EXPECT_EQ(db.ReadRecord(0), CHHExpensesDB::Record::Failed) << "closed";
    EXPECT_EQ(db.m_lResult, SYNCERR_BAD_HANDLE);
}
