#pragma once
// Colour arithmetic of the control: pure functions, no window needed. Colours here are plain
// (0x00BBGGRR); system colours are made plain where the control draws.
#include "butt_stored.h"
#include "kinds.h"

#include <cstddef>
#include <vector>

namespace butt {

inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kGrey = 0x808080;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kNone = -1; // not drawn

// Shifts every channel by `amount` (blue scaled by its own size when scaleBlue), clamps to
// 0..255, optionally inverts. With avoidExtremes, a result of pure black or white is shifted
// the other way (or by 64 when amount is 0), and `amount` is changed for the caller.
Color ShiftColor(Color color, short& amount, bool scaleBlue = false, bool avoidExtremes = false,
                 bool invert = false);
inline Color ShiftColor(Color color, int amount, bool scaleBlue = false) {
    short a = static_cast<short>(amount);
    return ShiftColor(color, a, scaleBlue, false, false);
}

// The n band colours of a two-colour gradient, from `first` (entry 0) toward `second`.
std::vector<Color> GradientColors(std::size_t n, Color first, Color second);

// Nearest whole number, halves to even.
int Round(double value);

// The colours each style paints with, derived from the plain back and hover back colours.
struct StyleColors {
    Color face = 0;      // the face at rest
    Color shade = 0;     // the face of a pressed command button
    Color hoverFace = 0; // the face under the pointer
    Color downFace = 0;  // the face of a check or option button that is on
};
StyleColors DerivedColors(Style style, Color back, Color hoverBack);

} // namespace butt
