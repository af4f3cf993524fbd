#pragma once
// 32-bit DIB sections with top-down rows: the one pixel layout that the program and its tests
// read and write directly. A pixel is 0x00RRGGBB in memory, the reverse of a colour value.
#include "handles.h"

#include <windows.h>

#include <cstdint>

namespace tv {

// The header of width x height pixels of 32 bits, first row at the top; CreateDIBSection,
// GetDIBits and SetDIBits all take it (BI_RGB needs no colour table).
BITMAPINFO TopDownDibInfo(int width, int height);

// A DIB section and its pixels, which stay valid as long as the bitmap lives. Call GdiFlush
// before reading what GDI has drawn into it.
struct DibSection {
    UniqueBitmap bitmap;
    std::uint32_t* bits = nullptr;
};
// Empty (no bitmap, no bits) when the system cannot make it.
DibSection MakeDibSection(int width, int height);

// A DIB pixel to a colour value (0x00BBGGRR) and back.
constexpr COLORREF ColorFromDib(std::uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}
constexpr std::uint32_t DibFromColor(COLORREF color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

} // namespace tv
