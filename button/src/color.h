#pragma once
// Colour arithmetic of the control: pure functions, no window needed.
#include "butt.h"

#include <vector>

namespace butt {

// System colours (top bit set) to their plain value; plain values unchanged.
Color TranslateColor(Color color);

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

} // namespace butt
