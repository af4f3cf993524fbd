// The two-colour gradient: bands of one pixel, or two on controls wider (or taller) than a
// quarter of the screen, painted over the whole back buffer. Whatever clip region the buffer
// holds limits what changes, which is how the rings of round outlines are made.
#include "canvas.h"
#include "dib.h"

#include <algorithm>

namespace butt {

void Canvas::GradientFill(Color first, Color second, long mode) {
    if (!backBuffer)
        return;
    const int width = Round(ScaleWidth());
    const int height = Round(ScaleHeight());
    // A control without area has no bands to paint.
    if (width <= 0 || height <= 0)
        return;

    const bool acrossX = mode < 3;
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
    const bool firstAtStart = (mode % 2) != 0;
    // One line of the bands, stretched over the other side in one call: a band is a thin
    // strip, and painting strips one by one costs many times the pixels they cover.
    std::vector<std::uint32_t> line(static_cast<std::size_t>(length));
    for (int i = 0; i < count; ++i) {
        const std::uint32_t pixel = tv::DibFromColor(static_cast<COLORREF>(
            colors[static_cast<std::size_t>(firstAtStart ? i : count - 1 - i)]));
        // Two-pixel bands over an odd length leave one line over: the last band takes it, so
        // no stale pixels of an earlier paint survive at the far edge.
        const int to = i == count - 1 ? length : (i + 1) * step;
        std::fill(line.begin() + i * step, line.begin() + to, pixel);
    }
    const BITMAPINFO info = tv::TopDownDibInfo(acrossX ? length : 1, acrossX ? 1 : length);
    HDC buffer = BufferDc();
    const int oldMode = SetStretchBltMode(buffer, COLORONCOLOR);
    StretchDIBits(buffer, 0, 0, width, height, 0, 0, acrossX ? length : 1, acrossX ? 1 : length,
                  line.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(buffer, oldMode);
}

} // namespace butt
