#include "dib.h"

namespace tv {

BITMAPINFO TopDownDibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

DibSection MakeDibSection(int width, int height) {
    DibSection dib;
    if (width <= 0 || height <= 0)
        return dib;
    const BITMAPINFO info = TopDownDibInfo(width, height);
    void* bits = nullptr;
    dib.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.bitmap || !bits)
        return DibSection{};
    dib.bits = static_cast<std::uint32_t*>(bits);
    return dib;
}

} // namespace tv
