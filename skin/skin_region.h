#pragma once
// The outline of a skin bitmap: every pixel that is not the key colour belongs to the window.
// Built from one pass over the bitmap's pixels, read in place when the bitmap is a DIB
// section, and rows of equal runs merged into taller rectangles (region_rects.h): the same
// region as the per-pixel reference in skin_region_reference.h.
#include "handles.h"
#include "region_rects.h"

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
};

// The rectangles of the pixels that are not `key` over an area of width x height: the runs of
// each row, left to right, with a run that continues one of the row above (same left and
// right) made taller instead of repeated. Pixels of the area outside the image count as
// opaque, like any colour that is not exactly the key.
std::vector<RECT> OpaqueRects(const PixelImage& image, int width, int height, COLORREF key);

// The region of the bitmap's opaque pixels over width x height (the bitmap's own size when
// either is 0 or less). Empty owner when no pixel is opaque or the bitmap cannot be read.
UniqueRegion RegionFromBitmap(BorrowedBitmap bitmap, COLORREF key, int width = 0, int height = 0);

} // namespace tv
