// Texts crossing to and from the handheld: Windows-1252 both ways, '?' for what it lacks, cuts
// that count characters, and UTF-8 that is not valid.
#include <gtest/gtest.h>

#include "conduit/handheld/HandheldText.h"

using hh::FromHandheldText;
using hh::ToHandheldText;

TEST(HandheldText, MapsWindows1252BothWays)
{
    EXPECT_EQ(ToHandheldText("Fuel"), "Fuel");
    EXPECT_EQ(ToHandheldText("Caf\u00e9 \u20ac5 \u201cok\u201d \u0178"), "Caf\xe9 \x80" "5 \x93ok\x94 \x9f");
    EXPECT_EQ(FromHandheldText("Caf\xe9 \x80" "5 \x93ok\x94 \x9f"), "Caf\u00e9 \u20ac5 \u201cok\u201d \u0178");
    for (int byte = 1; byte < 256; ++byte) {
        const std::string handheld(1, static_cast<char>(byte));
        const std::string desktop = FromHandheldText(handheld);
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            EXPECT_EQ(desktop, "?") << "undefined byte " << byte;
        else
            EXPECT_EQ(ToHandheldText(desktop), handheld) << "byte " << byte << " survives the round trip";
    }
}

TEST(HandheldText, WritesAQuestionMarkForWhatTheHandheldLacks)
{
    EXPECT_EQ(ToHandheldText("\u0416ar \u4e2d \U0001F600!"), "?ar ? ?!");
    EXPECT_EQ(ToHandheldText(std::string("a\0b", 3)), "a?b") << "a NUL would end the text early";
    EXPECT_EQ(ToHandheldText("\u0081"), "?") << "C1 controls are no Windows-1252 characters";
    EXPECT_EQ(ToHandheldText("x\xff" "y\xc3"), "x?y?") << "bytes that are no UTF-8";
    EXPECT_EQ(ToHandheldText("\xc0\xaf"), "??") << "overlong form";
    EXPECT_EQ(ToHandheldText("\xed\xa0\x80"), "???") << "surrogate";
}

TEST(HandheldText, CutsOnACharacterBoundary)
{
    EXPECT_EQ(ToHandheldText("\u00e9\u00e9\u00e9\u00e9", 3), "\xe9\xe9\xe9") << "3 characters, not 3 UTF-8 bytes";
    char out[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(ToHandheldText("\u20ac\u20acabc", out, 3), 3u);
    EXPECT_EQ(std::string(out, 4), "\x80\x80" "a#") << "nothing written past maxChars";
    EXPECT_EQ(ToHandheldText("", out, 3), 0u);
}
