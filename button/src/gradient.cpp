// The two-colour gradient: bands of one pixel, or two on controls wider (or taller) than a
// quarter of the screen, painted over the whole back buffer. Whatever clip region the buffer
// holds limits what changes, which is how the rings of round outlines are made.
#include "butt_impl.h"

namespace butt {

void Butt::Impl::GradientFill(Color first, Color second) {
    if (!BackBufferDC)
        return;
    const int width = Round(ScaleWidth());
    const int height = Round(ScaleHeight());
    // A control without area has no bands to paint.
    if (width <= 0 || height <= 0)
        return;

    const bool acrossX = gradientMode < 3;
    if (screenPixels.cx <= 0 || screenPixels.cy <= 0)
        screenPixels = SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int screen = acrossX ? screenPixels.cx : screenPixels.cy;
    const int length = acrossX ? width : height;
    const int step = screen / length < 4 ? 2 : 1;
    const int count = step == 2 ? length / 2 : length;
    if (count <= 0)
        return;

    const std::vector<Color> colors =
        GradientColors(static_cast<std::size_t>(count), first, second);
    const bool firstAtStart = (gradientMode % 2) != 0;
    for (int i = 0; i < count; ++i) {
        const Color color = colors[static_cast<std::size_t>(firstAtStart ? i : count - 1 - i)];
        const int from = i * step;
        // Two-pixel bands over an odd length leave one line over: the last band takes it, so
        // no stale pixels of an earlier paint survive at the far edge.
        const int to = i == count - 1 ? length : from + step;
        if (acrossX)
            DrawRect(BackBufferDC.get(), from, 0, to, height, color, -1, 0, 0);
        else
            DrawRect(BackBufferDC.get(), 0, from, width, to, color, -1, 0, 0);
    }
}

} // namespace butt
