#pragma once
// Colours as the system draws them: the pure arithmetic (colors.h) and the translation of
// system colours, which asks the system.
#include "colors.h"

namespace butt {

// System colours (top bit set) to their plain value; plain values unchanged.
Color TranslateColor(Color color);

} // namespace butt
