// Colour arithmetic: the one colour shifter every shade and tint is made with, the colours
// each style derives from its back colours, the band colours of a gradient, and the rounding
// every size goes through.
#include "colors.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace butt {
namespace {

int ClampChannel(int value) {
    return std::clamp(value, 0, 255);
}

// One pass of the shifter with a fixed amount.
Color ShiftOnce(Color color, int amount, bool scaleBlue, bool invert) {
    const std::uint32_t c = static_cast<std::uint32_t>(color);
    int red = static_cast<int>(c & 0xFF) + amount;
    int green = static_cast<int>((c & 0xFF00) / 256) + amount;
    const int blue0 = static_cast<int>((c & 0xFF0000) / 65536);
    // Blue moves in proportion to its own size when scaled, which keeps dark blues blue.
    int blue = scaleBlue ? blue0 + (amount * blue0) / 192 : blue0 + amount;
    red = ClampChannel(red);
    green = ClampChannel(green);
    blue = ClampChannel(blue);
    if (invert) {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    }
    return green * 256 + red + blue * 65536;
}

} // namespace

Color ShiftColor(Color color, short& amount, bool scaleBlue, bool avoidExtremes, bool invert) {
    Color result = ShiftOnce(color, amount, scaleBlue, invert);
    // Pure black or white is turned the other way. A large amount can hit an extreme in both
    // directions, so the turning stops after the second turn instead of going on forever.
    for (int turns = 0; avoidExtremes && turns < 2 && (result == 0 || result == 0xFFFFFF);
         ++turns) {
        amount = amount != 0 ? static_cast<short>(-amount) : static_cast<short>(64);
        result = ShiftOnce(color, amount, scaleBlue, invert);
    }
    return result;
}

StyleColors DerivedColors(Style style, Color back, Color hoverBack) {
    StyleColors colors{back, back, hoverBack, ShiftColor(kWhite, -32)};
    switch (style) {
    case Style::Themed:
        colors.face = ShiftColor(back, 48, true);
        colors.hoverFace = ShiftColor(hoverBack, 48, true);
        colors.shade = ShiftColor(colors.face, -32, true);
        colors.downFace = ShiftColor(kWhite, -32, true);
        break;
    case Style::Flat:
        colors.shade = ShiftColor(kGrey, 12);
        colors.downFace = ShiftColor(colors.shade, 31);
        break;
    case Style::Rounded:
        colors.face = ShiftColor(back, 31);
        colors.hoverFace = ShiftColor(hoverBack, 31);
        colors.shade = ShiftColor(kGrey, -16);
        colors.downFace = ShiftColor(kGrey, 16, true);
        break;
    default:
        break;
    }
    return colors;
}

std::vector<Color> GradientColors(std::size_t n, Color first, Color second) {
    std::vector<Color> colors(n);
    if (n == 0)
        return colors;
    const auto channel = [](Color c, int shift) {
        return static_cast<float>((static_cast<std::uint32_t>(c) >> shift) & 0xFF);
    };
    float red = channel(first, 0);
    float green = channel(first, 8);
    float blue = channel(first, 16);
    colors[0] = first;
    if (n == 1)
        return colors;
    const float steps = static_cast<float>(n - 1);
    const float redStep = (channel(second, 0) - red) / steps;
    const float greenStep = (channel(second, 8) - green) / steps;
    const float blueStep = (channel(second, 16) - blue) / steps;
    for (std::size_t i = 1; i < n; ++i) {
        // Running single-precision sums: the last entry lands on or next to the second colour.
        red = std::clamp(red + redStep, 0.0f, 255.0f);
        green = std::clamp(green + greenStep, 0.0f, 255.0f);
        blue = std::clamp(blue + blueStep, 0.0f, 255.0f);
        colors[i] = static_cast<int>(std::floor(red)) + 256 * static_cast<int>(std::floor(green)) +
                    65536 * static_cast<int>(std::floor(blue));
    }
    return colors;
}

int Round(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    long long result = static_cast<long long>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2) != 0))
        ++result;
    return static_cast<int>(std::clamp<long long>(result, INT_MIN, INT_MAX));
}

} // namespace butt
