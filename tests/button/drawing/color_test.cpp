// Colour arithmetic: the shifter every shade is made with, gradient band colours, rounding.
#include "color.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace butt {
namespace {

int Red(Color c) {
    return c & 0xFF;
}
int Green(Color c) {
    return (c >> 8) & 0xFF;
}
int Blue(Color c) {
    return (c >> 16) & 0xFF;
}

TEST(ShiftColor, ShiftsClampsAndScalesBlue) {
    EXPECT_EQ(ShiftColor(0x808080, 12), 0x8C8C8C);
    EXPECT_EQ(ShiftColor(0xFFFFFF, -32), 0xDFDFDF);
    // Blue moves by amount x blue / 192, truncated: 128 + trunc(-25 x 128 / 192) = 112.
    EXPECT_EQ(ShiftColor(0x808080, -25, true), 0x706767);
    // Channels stop at 0 and 255 on their own.
    EXPECT_EQ(ShiftColor(0x00F010, 32), 0x20FF30);
    EXPECT_EQ(ShiftColor(0x1020F0, -32), 0x0000D0);
    // Style 2's derived colours of the Apply button (back colour 0x400000).
    EXPECT_EQ(ShiftColor(0x400000, 48, true), 0x503030);
}

TEST(ShiftColor, InvertsAfterClamping) {
    short amount = 16;
    EXPECT_EQ(ShiftColor(0x102030, amount, false, false, true), 0xDFCFBF);
    amount = 0;
    EXPECT_EQ(ShiftColor(0x000000, amount, false, false, true), 0xFFFFFF);
}

TEST(ShiftColor, AvoidsPureBlackAndWhiteAndTellsTheCaller) {
    short amount = -32;
    EXPECT_EQ(ShiftColor(0, amount, false, true, false), 0x202020);
    EXPECT_EQ(amount, 32);

    amount = 0; // no amount: shifted by 64 instead
    EXPECT_EQ(ShiftColor(0, amount, false, true, false), 0x404040);
    EXPECT_EQ(amount, 64);

    amount = 0; // white plus 64 is still white: turned once more
    EXPECT_EQ(ShiftColor(0xFFFFFF, amount, false, true, false), 0xBFBFBF);
    EXPECT_EQ(amount, -64);

    // Without the flag the extremes stay.
    amount = -32;
    EXPECT_EQ(ShiftColor(0, amount, false, false, false), 0);
    EXPECT_EQ(amount, -32);
}

TEST(ShiftColor, AnAmountThatReachesBothExtremesEnds) {
    short amount = 300;
    const Color result = ShiftColor(0x808080, amount, false, true, false);
    EXPECT_TRUE(result == 0 || result == 0xFFFFFF) << std::hex << result;
    EXPECT_EQ(std::abs(amount), 300);
}

TEST(GradientColors, RunFromFirstToNearlySecond) {
    const std::vector<Color> bands = GradientColors(100, 0x000000, 0xFFFFFF);
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[0], 0);
    for (const int channel : {Red(bands[99]), Green(bands[99]), Blue(bands[99])})
        EXPECT_GE(channel, 254);
    EXPECT_NEAR(Red(bands[50]), 128, 1);
    for (std::size_t i = 1; i < bands.size(); ++i)
        EXPECT_GE(Red(bands[i]), Red(bands[i - 1]));

    // Each channel on its own, downward too.
    const std::vector<Color> mixed = GradientColors(3, 0x0000FF, 0xFF0000);
    EXPECT_EQ(mixed[0], 0x0000FF);
    EXPECT_EQ(Red(mixed[1]), 127);
    EXPECT_EQ(Blue(mixed[1]), 127);
    EXPECT_NEAR(Red(mixed[2]), 0, 1);
    EXPECT_NEAR(Blue(mixed[2]), 255, 1);
}

TEST(GradientColors, OneBandIsTheFirstColour) {
    EXPECT_EQ(GradientColors(1, 0x123456, 0xFFFFFF), std::vector<Color>{0x123456});
    EXPECT_TRUE(GradientColors(0, 0, 0xFFFFFF).empty());
    const std::vector<Color> two = GradientColors(2, 0x000010, 0x102030);
    EXPECT_EQ(two[0], 0x000010);
    EXPECT_EQ(two[1], 0x102030);
}

TEST(Round, HalvesGoToEven) {
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(1.49), 1);
    EXPECT_EQ(Round(-1.51), -2);
    EXPECT_EQ(Round(1e12), 2147483647);
}

TEST(TranslateColor, SystemColoursBecomePlain) {
    EXPECT_EQ(TranslateColor(0x00123456), 0x00123456);
    EXPECT_EQ(TranslateColor(kButtonFace), static_cast<Color>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(TranslateColor(kButtonText), static_cast<Color>(GetSysColor(COLOR_BTNTEXT)));
}

} // namespace
} // namespace butt
