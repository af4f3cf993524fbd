#include "skin_region.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tv {
namespace {

// A DIB pixel (0x00RRGGBB) and a colour reference (0x00BBGGRR) name channels in opposite
// orders; the top byte (alpha of 32-bit bitmaps) is not part of the colour.
constexpr std::uint32_t PixelOfColor(COLORREF color) {
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

} // namespace

PixelImage ReadPixels(HBITMAP bitmap) {
    PixelImage image;
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return image;

    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight; // top row first
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;

    std::vector<std::uint32_t> pixels(static_cast<size_t>(info.bmWidth) *
                                      static_cast<size_t>(info.bmHeight));
    const WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(),
                  &request, DIB_RGB_COLORS) != info.bmHeight)
        return image;
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    image.pixels = std::move(pixels);
    return image;
}

std::vector<RECT> OpaqueSpans(const PixelImage& image, int width, int height, COLORREF key) {
    std::vector<RECT> spans;
    const std::uint32_t keyPixel = PixelOfColor(key);
    for (int y = 0; y < height; ++y) {
        const bool rowInImage = y < image.height;
        const std::uint32_t* row =
            rowInImage ? image.pixels.data() + static_cast<size_t>(y) * image.width : nullptr;
        int x = 0;
        while (x < width) {
            // Skip the key, then take everything up to the next key pixel or the edge.
            while (x < width && rowInImage && x < image.width && (row[x] & 0xFFFFFF) == keyPixel)
                ++x;
            if (x == width)
                break;
            const int start = x;
            while (x < width && !(rowInImage && x < image.width && (row[x] & 0xFFFFFF) == keyPixel))
                ++x;
            spans.push_back(RECT{start, y, x, y + 1});
        }
    }
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
    const PixelImage image = ReadPixels(bitmap);
    if (image.empty())
        return UniqueRegion();
    if (width <= 0 || height <= 0) {
        width = image.width;
        height = image.height;
    }
    return RegionFromSpans(OpaqueSpans(image, width, height, key));
}

} // namespace tv
