// Filter entries take desktop labels into 19 handheld characters.
#include <gtest/gtest.h>

#include "conduit/handheld/ExpFilterEntry.h"

TEST(ExpFilterEntry, LabelIsHandheldTextOfAtMost19Characters)
{
    const hh::ExpFilterEntry entry = hh::ExpFilterEntry::Make(hh::kFilterKindProject, 1234567, "Caf\u00e9 \u0416");
    EXPECT_EQ(entry.wKind, 0xFFFE);
    EXPECT_EQ(entry.dwID, 1234567u);
    EXPECT_EQ(entry.Label(), "Caf\xe9 ?");

    const hh::ExpFilterEntry longer = hh::ExpFilterEntry::Make(12, 0, "\u00e9123456789012345678901234");
    EXPECT_EQ(longer.Label(), "\xe9" "123456789012345678");
    EXPECT_EQ(longer.Label().size(), 19u);
    EXPECT_EQ(longer.szLabel[19], '\0');
    EXPECT_EQ(hh::ExpFilterEntry::Make(0, 0, "").Label(), "");
}
