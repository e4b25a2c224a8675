// The lookup record layouts: the golden byte strings, cuts to the 32-byte work buffer, guard
// bytes around it, and reading records back.
#include <gtest/gtest.h>

#include <cstring>

#include "conduit/handheld/HHRecordFormats.h"
#include "tests/support/TestHandheld.h"

namespace {

// The work buffer between two guards that no pack may touch.
struct Guarded {
    std::uint8_t before[8];
    hh::RecordBuffer buffer;
    std::uint8_t after[8];

    Guarded()
    {
        std::memset(this, 0xAA, sizeof *this);
    }
    std::vector<std::uint8_t> record(std::size_t count) const { return {buffer, buffer + count}; }
    bool guardsIntact() const
    {
        for (int i = 0; i < 8; ++i)
            if (before[i] != 0xAA || after[i] != 0xAA)
                return false;
        return true;
    }
};

}  // namespace

TEST(HHRecordFormats, GoldenRecords)
{
    Guarded g;
    EXPECT_EQ(g.record(hh::PackCategoryRecord(g.buffer, 300, "Fuel")), hexBytes("01 2C 46 75 65 6C 00"));
    EXPECT_EQ(g.record(hh::PackFilterRecord(g.buffer, 0, 0, "TaxDed")),
              hexBytes("00 00 00 00 00 00 54 61 78 44 65 64 00"));
    EXPECT_EQ(g.record(hh::PackProjectRecord(g.buffer, 1234567, "X")), hexBytes("00 12 D6 87 58 00"));
    EXPECT_EQ(g.record(hh::PackAccountRecord(g.buffer, "CASH")), hexBytes("43 41 53 48 00"));
    EXPECT_EQ(g.record(hh::PackExpTypeRecord(g.buffer, 300, 2, "Car")), hexBytes("01 2C 02 43 61 72 00"));
    EXPECT_EQ(g.record(hh::PackFilterRecord(g.buffer, 0xFFFE, 7, "P")),
              hexBytes("FF FE 00 00 00 07 50 00"));
    EXPECT_TRUE(g.guardsIntact());
}

TEST(HHRecordFormats, TextsAreCutToTheWorkBuffer)
{
    const std::string longText(60, 'z');
    struct Case {
        std::size_t count;
        std::size_t header;
    };
    Guarded g;
    const Case cases[] = {{hh::PackAccountRecord(g.buffer, longText), 0},
                          {hh::PackExpTypeRecord(g.buffer, 1, 1, longText), 3},
                          {hh::PackCategoryRecord(g.buffer, 1, longText), 2},
                          {hh::PackProjectRecord(g.buffer, 1, longText), 4},
                          {hh::PackFilterRecord(g.buffer, 1, 1, longText), 6}};
    for (const Case& c : cases)
        EXPECT_EQ(c.count, 32u) << "header " << c.header << ": the record fills the work buffer";
    EXPECT_EQ(g.buffer[31], 0) << "and still ends with its NUL";
    EXPECT_EQ(hh::kMaxExpTypeLabelChars, 28u);
    EXPECT_EQ(hh::kMaxCategoryChars, 29u);
    EXPECT_EQ(hh::kMaxProjectNameChars, 27u);
    EXPECT_EQ(hh::kMaxFilterLabelChars, 25u);
    EXPECT_TRUE(g.guardsIntact());

    // A short record after a long one leaves no stale bytes behind it.
    EXPECT_EQ(hh::PackAccountRecord(g.buffer, "A"), 2u);
    EXPECT_EQ(g.buffer[2], 0);
    EXPECT_EQ(hh::PackAccountRecord(g.buffer, std::string_view("AB\0CD", 5)), 3u) << "a text ends at its NUL";
}

TEST(HHRecordFormats, UnpacksWhatWasPackedAndRefusesShortRecords)
{
    hh::RecordBuffer buffer;
    hh::HHExpTypeRecord type;
    ASSERT_TRUE(hh::UnpackExpTypeRecord({buffer, hh::PackExpTypeRecord(buffer, 65535, 2, "Trip")}, type));
    EXPECT_EQ(type.type, 65535);
    EXPECT_EQ(type.comp, 2);
    EXPECT_EQ(type.label, "Trip");
    hh::HHFilterRecord filter;
    ASSERT_TRUE(hh::UnpackFilterRecord({buffer, hh::PackFilterRecord(buffer, 0xFFFE, 0xDEADBEEF, "P")}, filter));
    EXPECT_EQ(filter.kind, 0xFFFE);
    EXPECT_EQ(filter.id, 0xDEADBEEFu);
    EXPECT_EQ(filter.label, "P");
    hh::HHProjectRecord project;
    ASSERT_TRUE(hh::UnpackProjectRecord({buffer, hh::PackProjectRecord(buffer, 42, "Alpha")}, project));
    EXPECT_EQ(project.id, 42u);
    EXPECT_EQ(project.name, "Alpha");
    hh::HHCategoryRecord category;
    ASSERT_TRUE(hh::UnpackCategoryRecord({buffer, hh::PackCategoryRecord(buffer, 12, "Fuel")}, category));
    EXPECT_EQ(category.type, 12);
    EXPECT_EQ(category.category, "Fuel");

    const std::vector<std::uint8_t> noNul = hexBytes("0001 4142");
    ASSERT_TRUE(hh::UnpackCategoryRecord(noNul, category));
    EXPECT_EQ(category.category, "AB") << "a text without NUL ends with the record";
    EXPECT_FALSE(hh::UnpackCategoryRecord(hexBytes("00"), category));
    EXPECT_FALSE(hh::UnpackExpTypeRecord(hexBytes("0001"), type));
    EXPECT_FALSE(hh::UnpackProjectRecord(hexBytes("000000"), project));
    EXPECT_FALSE(hh::UnpackFilterRecord(hexBytes("0000000000"), filter));
}
