#include "skin_region.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

namespace tv {
namespace {

// A DIB pixel (0x00RRGGBB) and a colour reference (0x00BBGGRR) name channels in opposite
// orders; the top byte (alpha of 32-bit bitmaps) is not part of the colour.
constexpr std::uint32_t PixelOfColor(COLORREF color) {
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

// The colour of pixel x of a row of 24-bit (blue, green, red) or 32-bit DIB pixels.
template <int Bytes> std::uint32_t PixelAt(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + static_cast<ptrdiff_t>(x) * Bytes;
    return (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
           p[0];
}

// The spans of rows of DIB pixels; `stride` is negative for bottom-up bitmaps.
template <int Bytes>
void ScanSpans(const std::uint8_t* topRow, ptrdiff_t stride, int imageWidth, int imageHeight,
               int width, int height, COLORREF key, std::vector<RECT>& spans) {
    const std::uint32_t keyPixel = PixelOfColor(key);
    for (int y = 0; y < height; ++y) {
        // Pixels outside the image are opaque: only the part of a row inside it can be key.
        const int inImage = y < imageHeight ? std::min(width, imageWidth) : 0;
        const std::uint8_t* row = topRow + y * stride;
        auto isKey = [&](int x) { return x < inImage && PixelAt<Bytes>(row, x) == keyPixel; };
        int x = 0;
        while (x < width) {
            // Skip the key, then take everything up to the next key pixel or the edge.
            while (x < width && isKey(x))
                ++x;
            if (x == width)
                break;
            const int start = x;
            while (x < width && !isKey(x))
                ++x;
            spans.push_back(RECT{start, y, x, y + 1});
        }
    }
}

} // namespace

std::vector<RECT> OpaqueSpans(const PixelImage& image, int width, int height, COLORREF key) {
    std::vector<RECT> spans;
    const auto* top = reinterpret_cast<const std::uint8_t*>(image.pixels.data());
    const bool complete = image.pixels.size() >= static_cast<size_t>(std::max(image.width, 0)) *
                                                     static_cast<size_t>(std::max(image.height, 0));
    ScanSpans<4>(top, static_cast<ptrdiff_t>(image.width) * 4, complete ? image.width : 0,
                 complete ? image.height : 0, width, height, key, spans);
    return spans;
}

UniqueRegion RegionFromSpans(const std::vector<RECT>& spans) {
    if (spans.empty())
        return UniqueRegion();
    RECT bounds = spans.front();
    for (const RECT& span : spans) {
        bounds.left = std::min(bounds.left, span.left);
        bounds.top = std::min(bounds.top, span.top);
        bounds.right = std::max(bounds.right, span.right);
        bounds.bottom = std::max(bounds.bottom, span.bottom);
    }
    const size_t rectBytes = spans.size() * sizeof(RECT);
    // RGNDATA ends in a buffer of rectangles; allocate in RECT-sized units for alignment.
    std::vector<RECT> storage((sizeof(RGNDATAHEADER) + rectBytes + sizeof(RECT) - 1) /
                              sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(storage.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(spans.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rectBytes);
    data->rdh.rcBound = bounds;
    std::memcpy(data->Buffer, spans.data(), rectBytes);
    return UniqueRegion(
        ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + rectBytes), data));
}

UniqueRegion RegionFromBitmap(HBITMAP bitmap, COLORREF key, int width, int height) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return UniqueRegion();
    if (width <= 0 || height <= 0) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
    // One read of every pixel in the bitmap's own depth when it is 24-bit (a plain copy),
    // else converted to 32 bits. Asked for top-down, so that the row order is known.
    const int bytes = info.bmBitsPixel == 24 ? 3 : 4;
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = static_cast<WORD>(bytes * 8);
    request.bmiHeader.biCompression = BI_RGB;
    const ptrdiff_t stride = (static_cast<ptrdiff_t>(info.bmWidth) * bytes + 3) & ~ptrdiff_t{3};
    // Left uninitialised: GetDIBits writes every byte.
    const std::unique_ptr<std::uint8_t[]> pixels(
        new std::uint8_t[static_cast<size_t>(stride) * static_cast<size_t>(info.bmHeight)]);
    const WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.get(), &request,
                  DIB_RGB_COLORS) != info.bmHeight)
        return UniqueRegion();

    std::vector<RECT> spans;
    if (bytes == 3)
        ScanSpans<3>(pixels.get(), stride, info.bmWidth, info.bmHeight, width, height, key, spans);
    else
        ScanSpans<4>(pixels.get(), stride, info.bmWidth, info.bmHeight, width, height, key, spans);
    return RegionFromSpans(spans);
}

} // namespace tv
