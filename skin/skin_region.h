#pragma once
// The outline of a skin bitmap: every pixel that is not the key colour belongs to the window.
// Built from one read of the bitmap's pixels and one region call, made of the same
// one-pixel-high spans as the per-pixel reference in skin_region_reference.h.
#include "handles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tv {

// The key colour as a colour reference: red + 256 * green + 65536 * blue.
constexpr COLORREF KeyColor(BYTE red, BYTE green, BYTE blue) {
    return RGB(red, green, blue);
}

// Pixels, top row first, each 0x00RRGGBB (the byte order of a 32-bit DIB).
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool empty() const { return width <= 0 || height <= 0; }
};

// The runs of pixels that are not `key`, row by row from the top and left to right within a
// row, each one pixel high, over an area of width x height. Pixels of the area that lie
// outside the image count as opaque, like any colour that is not exactly the key.
std::vector<RECT> OpaqueSpans(const PixelImage& image, int width, int height, COLORREF key);

// The region of the spans, made in one ExtCreateRegion call. Empty owner for no spans.
UniqueRegion RegionFromSpans(const std::vector<RECT>& spans);

// The region of the bitmap's opaque pixels over width x height (the bitmap's own size when
// either is 0 or less), from one GetDIBits read of its pixels. Empty owner when no pixel is
// opaque or the bitmap cannot be read.
UniqueRegion RegionFromBitmap(HBITMAP bitmap, COLORREF key, int width = 0, int height = 0);

} // namespace tv
