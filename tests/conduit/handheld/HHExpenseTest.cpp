// Expense records: the golden header, Windows-1252 texts decoded and encoded at the record,
// empty texts, texts without their NUL, short records, and packing within its buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "conduit/handheld/HHExpense.h"
#include "tests/support/TestHandheld.h"

namespace {

std::vector<std::uint8_t> withTexts(std::vector<std::uint8_t> header, const std::string& texts)
{
    header.insert(header.end(), texts.begin(), texts.end());
    return header;
}

const std::vector<std::uint8_t> kGoldenHeader = hexBytes("01 2C 01 31 CE 09 00 00 04 D2 00 00 00 00 01 00");

}  // namespace

TEST(HHExpense, UnpacksTheGoldenHeader)
{
    const std::vector<std::uint8_t> record = withTexts(kGoldenHeader, std::string("Gas\0Fuel\0Shell\0CASH\0" "101\0Trip", 29) + '\0');
    hh::HHExpense e;
    hh::UnpackExpense(record, e);
    EXPECT_EQ(e.wExpType, 300);
    EXPECT_EQ(e.dwDate, 20041225u);
    EXPECT_EQ(e.dwAmount, 1234u);
    EXPECT_EQ(e.dwProjectID, 0u);
    EXPECT_EQ(e.bExpComp, 1);
    EXPECT_EQ(e.bReimburse, 0);
    EXPECT_EQ(e.item, "Gas");
    EXPECT_EQ(e.category, "Fuel");
    EXPECT_EQ(e.vendor, "Shell");
    EXPECT_EQ(e.account, "CASH");
    EXPECT_EQ(e.checkNumber, "101");
    EXPECT_EQ(e.detail, "Trip");
}

TEST(HHExpense, TextsAreDesktopTextOnThisSideAndWindows1252InTheRecord)
{
    const std::string handheld = std::string("Caf\xe9\0\x80" "5\0\x81\0\0\0\0", 12);
    hh::HHExpense e;
    hh::UnpackExpense(withTexts(kGoldenHeader, handheld), e);
    EXPECT_EQ(e.item, "Caf\u00e9");
    EXPECT_EQ(e.category, "\u20ac" "5");
    EXPECT_EQ(e.vendor, "?") << "a byte Windows-1252 leaves undefined";

    e.vendor = "\u0416";
    e.account = std::string("x\xff", 2);
    std::uint8_t buffer[hh::kExpenseBufferSize];
    const std::size_t length = hh::PackExpense(e, buffer);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + length),
              withTexts(kGoldenHeader, std::string("Caf\xe9\0\x80" "5\0?\0x?\0\0\0", 15)))
        << "one byte a character; '?' for what the handheld lacks and for bytes that are no UTF-8";
}

TEST(HHExpense, SixEmptyTextsMakeA22ByteRecord)
{
    const std::vector<std::uint8_t> record = withTexts(kGoldenHeader, std::string(6, '\0'));
    ASSERT_EQ(record.size(), 22u);
    hh::HHExpense e;
    e.item = "stale";
    hh::UnpackExpense(record, e);
    for (const std::string* text : {&e.item, &e.category, &e.vendor, &e.account, &e.checkNumber, &e.detail})
        EXPECT_TRUE(text->empty());

    hh::HHExpense empty;
    empty.wExpType = 300;
    std::uint8_t buffer[32];
    EXPECT_EQ(hh::PackExpense(empty, buffer), 22u);
}

TEST(HHExpense, ATextWithoutItsNulEndsAtTheBuffer)
{
    // 256 bytes: the detail runs to the end without a NUL.
    std::string texts = std::string("i\0c\0v\0a\0n\0", 10);
    texts += std::string(256 - 16 - texts.size(), 'D');
    const std::vector<std::uint8_t> record = withTexts(kGoldenHeader, texts);
    ASSERT_EQ(record.size(), 256u);
    hh::HHExpense e;
    hh::UnpackExpense(record, e);
    EXPECT_EQ(e.checkNumber, "n");
    EXPECT_EQ(e.detail, std::string(230, 'D')) << "the detail runs to the record's end";

    // A record that ends inside its texts: those begun run to the end, the rest are empty.
    const std::vector<std::uint8_t> cut = withTexts(kGoldenHeader, std::string("Gas\0Fu", 6));
    hh::UnpackExpense(cut, e);
    EXPECT_EQ(e.item, "Gas");
    EXPECT_EQ(e.category, "Fu");
    EXPECT_TRUE(e.vendor.empty() && e.detail.empty());

    // Shorter than the header: the missing numbers read as 0.
    hh::UnpackExpense(std::vector<std::uint8_t>(kGoldenHeader.begin(), kGoldenHeader.begin() + 4), e);
    EXPECT_EQ(e.wExpType, 300);
    EXPECT_EQ(e.dwDate, 0x01310000u);
    EXPECT_EQ(e.dwAmount, 0u);
    EXPECT_TRUE(e.item.empty());
    hh::UnpackExpense({}, e);
    EXPECT_EQ(e.wExpType, 0);
}

TEST(HHExpense, PacksWithinItsBufferOrNotAtAll)
{
    hh::HHExpense e;
    e.wExpType = 300;
    e.dwDate = 20041225;
    e.dwAmount = 1234;
    e.bExpComp = 1;
    e.item = "Gas";
    e.detail = "Trip";
    struct {
        std::uint8_t before[8];
        std::uint8_t buffer[hh::kExpenseBufferSize];
        std::uint8_t after[8];
    } g;
    std::memset(&g, 0xAA, sizeof g);
    const std::size_t length = hh::PackExpense(e, g.buffer);
    ASSERT_EQ(length, 16u + 4 + 1 + 1 + 1 + 1 + 5);
    EXPECT_EQ(std::vector<std::uint8_t>(g.buffer, g.buffer + 16), kGoldenHeader);
    hh::HHExpense back;
    hh::UnpackExpense({g.buffer, length}, back);
    EXPECT_EQ(back.item, "Gas");
    EXPECT_EQ(back.detail, "Trip");
    EXPECT_EQ(g.buffer[length], 0xAA) << "nothing written past the record";
    EXPECT_EQ(g.before[7], 0xAA);

    e.detail = std::string(232, 'x');  // 16 + "Gas" + 4 empty texts + 232 + 6 NULs = 257
    EXPECT_EQ(hh::PackExpense(e, g.buffer), 0u) << "257 bytes do not fit";
    e.detail.clear();
    for (int i = 0; i < 231; ++i)
        e.detail += "\u00e9";  // two UTF-8 bytes, one byte on the handheld
    EXPECT_EQ(hh::PackExpense(e, g.buffer), 256u) << "characters count, not UTF-8 bytes";
    EXPECT_EQ(g.after[0], 0xAA);
    std::uint8_t small[20];
    std::memset(small, 0xAA, sizeof small);
    EXPECT_EQ(hh::PackExpense(hh::HHExpense{}, small), 0u);
    EXPECT_EQ(small[0], 0xAA) << "nothing written when it does not fit";
    e.detail = std::string("a\0b", 3);
    EXPECT_EQ(hh::PackExpense(e, g.buffer), 0u) << "a NUL inside a text would shift the fields";
}
