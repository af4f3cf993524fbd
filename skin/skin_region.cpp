#include "skin_region.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

namespace tv {
namespace {

// Rows of pixels of 3 (blue, green, red) or 4 bytes; `stride` is negative for bottom-up rows.
struct Rows {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    int bytes = 4;
    int width = 0; // of the image
    int height = 0;
};

template <int Bytes>
void ScanRow(const std::uint8_t* row, int inImage, int width, std::uint32_t keyPixel,
             RectBuilder& rects) {
    const auto blue = static_cast<std::uint8_t>(keyPixel),
               green = static_cast<std::uint8_t>(keyPixel >> 8),
               red = static_cast<std::uint8_t>(keyPixel >> 16);
    const auto isKey = [&](int x) {
        const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * Bytes;
        return p[1] == green && p[0] == blue && p[2] == red;
    };
    int x = 0;
    while (x < width) {
        // Skip the key, then take everything up to the next key pixel or the edge.
        while (x < inImage && isKey(x))
            ++x;
        if (x == width)
            break;
        const int start = x;
        while (x < inImage && !isKey(x))
            ++x;
        if (x >= inImage)
            x = width; // beyond the image everything is opaque
        rects.Run(start, x);
    }
}

std::vector<RECT> Scan(const Rows& rows, int width, int height, COLORREF key) {
    const std::uint32_t keyPixel = (static_cast<std::uint32_t>(GetRValue(key)) << 16) |
                                   (static_cast<std::uint32_t>(GetGValue(key)) << 8) |
                                   GetBValue(key);
    RectBuilder rects;
    for (int y = 0; y < height; ++y) {
        // Only the part of a row inside the image can be key.
        const int inImage = y < rows.height ? std::min(width, rows.width) : 0;
        const std::uint8_t* row = rows.top + y * rows.stride;
        if (inImage == 0)
            rects.Run(0, width);
        else if (rows.bytes == 3)
            ScanRow<3>(row, inImage, width, keyPixel, rects);
        else
            ScanRow<4>(row, inImage, width, keyPixel, rects);
        rects.EndRow(y);
    }
    return rects.Take();
}

// Whether a DIB section keeps its top row first in memory. Its header cannot tell (the
// system reports every height as positive), so the first row that differs from its mirror
// row is read once through GetDIBits and compared; a bitmap whose rows all equal their
// mirrors reads the same either way.
bool TopRowFirst(BorrowedBitmap bitmap, const BITMAP& info, int bytes) {
    const auto* bits = static_cast<const std::uint8_t*>(info.bmBits);
    const std::size_t used = static_cast<std::size_t>(info.bmWidth) * bytes;
    for (int r = 0; r < info.bmHeight / 2; ++r) {
        const std::uint8_t* first = bits + static_cast<std::ptrdiff_t>(r) * info.bmWidthBytes;
        const std::uint8_t* mirror =
            bits + static_cast<std::ptrdiff_t>(info.bmHeight - 1 - r) * info.bmWidthBytes;
        if (std::memcmp(first, mirror, used) == 0)
            continue;
        BITMAPINFO request{};
        request.bmiHeader.biSize = sizeof request.bmiHeader;
        request.bmiHeader.biWidth = info.bmWidth;
        request.bmiHeader.biHeight = info.bmHeight; // bottom-up: scan line 0 is the last row
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = static_cast<WORD>(bytes * 8);
        request.bmiHeader.biCompression = BI_RGB;
        std::vector<std::uint8_t> row(static_cast<std::size_t>(info.bmWidthBytes));
        const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        GetDIBits(dc.get(), bitmap, static_cast<UINT>(info.bmHeight - 1 - r), 1, row.data(),
                  &request, DIB_RGB_COLORS);
        return std::memcmp(row.data(), first, used) == 0;
    }
    return true;
}

} // namespace

std::vector<RECT> OpaqueRects(const PixelImage& image, int width, int height, COLORREF key) {
    const bool complete = image.width > 0 && image.height > 0 &&
                          image.pixels.size() >= static_cast<size_t>(image.width) * image.height;
    Rows rows;
    if (complete)
        rows = Rows{reinterpret_cast<const std::uint8_t*>(image.pixels.data()),
                    static_cast<std::ptrdiff_t>(image.width) * 4, 4, image.width, image.height};
    return Scan(rows, width, height, key);
}

UniqueRegion RegionFromBitmap(BorrowedBitmap bitmap, COLORREF key, int width, int height) {
    DIBSECTION dib{};
    const int size = bitmap ? GetObjectW(bitmap, sizeof dib, &dib) : 0;
    const BITMAP& info = dib.dsBm;
    if (size < static_cast<int>(sizeof(BITMAP)) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return UniqueRegion();
    if (width <= 0 || height <= 0) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
    Rows rows{nullptr, 0, 0, info.bmWidth, info.bmHeight};
    std::unique_ptr<std::uint8_t[]> copy;
    if (size == sizeof dib && info.bmBits && (info.bmBitsPixel == 24 || info.bmBitsPixel == 32) &&
        dib.dsBmih.biCompression == BI_RGB) {
        // A DIB section: its pixels are read where they are, no copy and no DC.
        rows.bytes = info.bmBitsPixel / 8;
        const auto* bits = static_cast<const std::uint8_t*>(info.bmBits);
        const bool bottomUp = !TopRowFirst(bitmap, info, rows.bytes);
        rows.stride =
            bottomUp ? -static_cast<std::ptrdiff_t>(info.bmWidthBytes) : info.bmWidthBytes;
        rows.top = bottomUp
                       ? bits + static_cast<std::ptrdiff_t>(info.bmHeight - 1) * info.bmWidthBytes
                       : bits;
    } else {
        // Any other bitmap is read once, converted to 32 bits, top row first.
        BITMAPINFO request{};
        request.bmiHeader.biSize = sizeof request.bmiHeader;
        request.bmiHeader.biWidth = info.bmWidth;
        request.bmiHeader.biHeight = -info.bmHeight;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 32;
        request.bmiHeader.biCompression = BI_RGB;
        rows.bytes = 4;
        rows.stride = static_cast<std::ptrdiff_t>(info.bmWidth) * 4;
        copy.reset(new std::uint8_t[static_cast<size_t>(rows.stride) * info.bmHeight]);
        const WindowDc screen(nullptr);
        if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), copy.get(),
                      &request, DIB_RGB_COLORS) != info.bmHeight)
            return UniqueRegion();
        rows.top = copy.get();
    }
    return RegionFromRects(Scan(rows, width, height, key));
}

} // namespace tv
