#pragma once
// A live control on a hidden parent window, and ways to look at what it painted: the window
// region's pixels, and the control's paint copied through WM_PRINTCLIENT into a DIB section.
#include "butt_impl.h"
#include "dib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <ostream>
#include <vector>

// Rectangles compare and print by their four values (found by argument lookup).
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace butt::test {

class RecordingHost : public ButtHost {
  public:
    int ShowMessage(const std::string& text, const std::string&, UINT) override {
        messages.push_back(text);
        return IDOK;
    }
    std::vector<std::string> messages;
};

// A colour as the control stores it, 0x00BBGGRR.
inline Color Rgb(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

// What the control painted, read back pixel by pixel.
class Painted {
  public:
    Painted(int width, int height, std::vector<std::uint32_t> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)) {}
    // 0x00BBGGRR, or -1 outside.
    Color At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return -1;
        return static_cast<Color>(
            tv::ColorFromDib(pixels_[static_cast<std::size_t>(y) * width_ + x]));
    }
    int width() const { return width_; }
    int height() const { return height_; }
    // How many pixels of the rectangle have exactly this colour.
    int Count(const RECT& area, Color color) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == color ? 1 : 0;
        return n;
    }

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

// The rectangles of a region, as GetRegionData gives them.
class RegionPixels {
  public:
    explicit RegionPixels(HRGN region);
    bool Contains(int x, int y) const;
    long Area() const;
    RECT Box() const;
    // The first and one-past-last x of row y (0, 0 when the row is empty).
    std::pair<int, int> Row(int y) const;
    const std::vector<RECT>& rects() const { return rects_; }

  private:
    std::vector<RECT> rects_;
};

RegionPixels WindowRegionOf(HWND window);

class DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new control (the host's initialisation) of width x height pixels.
    Butt& Make(int width, int height, const std::string& caption = "");
    Butt::Impl& impl() { return control_->impl(); }
    Butt& control() { return *control_; }
    // Sets the state fields the input code keeps, then redraws.
    void Show(int stateFlags, bool hovering = false, bool pressed = false);
    // What the control paints into any DC (WM_PRINTCLIENT).
    Painted Print();
    void Resize(int width, int height);

    HWND parent_ = nullptr;
    RecordingHost host_;
    std::unique_ptr<Butt> control_;
};

// A bitmap picture painted by `paint`(x, y) -> colour (0x00BBGGRR).
template <typename Paint> PicturePtr MakePicture(int width, int height, Paint paint) {
    tv::DibSection dib = tv::MakeDibSection(width, height);
    if (!dib.bitmap)
        return nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dib.bits[y * width + x] = tv::DibFromColor(static_cast<COLORREF>(paint(x, y)));
    return Picture::FromBitmap(dib.bitmap.release());
}

} // namespace butt::test
