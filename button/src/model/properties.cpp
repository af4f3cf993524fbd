#include "properties.h"

#include <cmath>

namespace butt {

int ExtentToPixels(int hundredthsOfMillimetre) {
    return static_cast<int>(std::nearbyint(hundredthsOfMillimetre * 96.0 / 2540.0));
}

int PixelsToExtent(int pixels) {
    return static_cast<int>(std::nearbyint(pixels * 2540.0 / 96.0));
}

} // namespace butt
