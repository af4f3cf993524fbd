#pragma once
// The looks of the button control that the sheet shows: every style and shape in every state,
// pictures and icons at every size, the design-time looks and the program's Apply button.
// The sheet tool draws them for people to look at; the look test compares their pixels with
// the approved ones, so that what was looked at is what stays.
#include "butt.h"

#include <cstdint>
#include <string>
#include <vector>

namespace looks {

inline constexpr int kWidth = 100; // every control of the sheet
inline constexpr int kHeight = 30;

struct Row {
    std::string name;
    std::vector<bool> shown; // per state: whether this row has that state
};

const std::vector<std::string>& StateNames();
const std::vector<Row>& Rows();

// A 32-bit top-down canvas of pixels 0x00RRGGBB that a control can be printed into.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF back);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint32_t* pixels() const; // after GdiFlush
    // The canvas as a bottom-up 32-bit BMP file.
    bool SaveBmp(const char* path) const;

  private:
    int width_;
    int height_;
    HBITMAP bitmap_;
    std::uint32_t* bits_ = nullptr;
    HDC dc_;
    HGDIOBJ previous_;
};

// The colour behind every control of the sheet (its host's ambient colour).
inline constexpr COLORREF kBack = 0x00D8D8D8;

// Makes row `row` in state `state` on `parent` and prints it into `canvas` at (x, y), clipped
// to its outline as a host shows it. False when the control could not be made.
bool PaintCell(HWND parent, std::size_t row, std::size_t state, Canvas& canvas, int x, int y);

// FNV-1a over the pixels of one row's cells painted side by side: the fingerprint that the
// look test compares.
std::uint64_t RowFingerprint(HWND parent, std::size_t row);

} // namespace looks
