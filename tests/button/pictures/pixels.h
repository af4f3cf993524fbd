#pragma once
// Pictures made in memory for the picture tests: 32-bit DIB sections from pixel rows, BMP files,
// and JPEG/PNG files written by the system's own imaging encoder.
#include "dib.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace butt::test {

// Colours as 0x00BBGGRR, row by row from the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF& at(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

PixelImage FilledImage(int width, int height, COLORREF colour);

// A top-down 32-bit DIB section with the image's pixels (the caller owns it).
HBITMAP MakeDib(const PixelImage& image);
// The bytes of a 24-bit BMP file of the image.
std::string BmpFileBytes(const PixelImage& image);
// Writes the image with WIC's encoder of the given container (GUID_ContainerFormatJpeg or
// GUID_ContainerFormatPng); false when the system has no such encoder.
bool WriteWithWic(const PixelImage& image, const std::wstring& path, const GUID& container);

// A 32-bit DIB section that a DC can draw into, and its pixels read back.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_.get(); }
    COLORREF Pixel(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_;
    int height_;
    tv::DibSection dib_;
    tv::UniqueMemoryDc dc_;
    HGDIOBJ previous_ = nullptr;
};

} // namespace butt::test
