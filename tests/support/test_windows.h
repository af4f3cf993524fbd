#pragma once
// Windows for tests: a window class registered once, what a window paints read back pixel by
// pixel, the rectangles of a region, and message pumps that wait for what they need.
#include "handles.h"

#include <windows.h>

#include <oleacc.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tv::test {

// Registers a window class of this name and procedure the first time it is asked for, and
// returns the name for CreateWindowExW.
const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC procedure = DefWindowProcW);

// Pixels of a 32-bit top-down DIB, read as colour values 0x00BBGGRR.
class Pixels {
  public:
    Pixels(int width, int height, std::vector<std::uint32_t> dib)
        : width_(width), height_(height), dib_(std::move(dib)) {}
    // CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle have exactly this colour.
    int Count(const RECT& area, COLORREF color) const;
    // FNV-1a over every pixel's red, green and blue: one value that any changed pixel changes.
    std::uint64_t Fingerprint() const;
    bool operator==(const Pixels&) const = default;

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> dib_;
};

// An approved-fingerprints file: each line "<16 hex digits> <name>", as name -> fingerprint.
// Empty when the file cannot be read.
std::map<std::string, std::string> ReadApproved(const char* path);

// What the window paints into a DC (WM_PRINTCLIENT) of width x height; pixels the window
// leaves alone keep `fill`.
Pixels PrintClient(HWND window, int width, int height, COLORREF fill = 0);

// The rectangles of a region as GetRegionData lists them, and as text for messages.
std::vector<RECT> RegionRects(HRGN region);
std::string Describe(const std::vector<RECT>& rects);
// The window's region, or no rectangles when it has none.
std::vector<RECT> WindowRegionRects(HWND window);

// What a screen reader reads of one element (`child`, or CHILDID_SELF) as one line:
// "role R state 0xS name [shortcut action] = value | description\n", the focused bit left out.
std::string ReadAccessible(IAccessible& node, long child = CHILDID_SELF);

// A picture file read on its own, not through the program's loaders, and its pixels.
class PictureFile {
  public:
    explicit PictureFile(const std::wstring& path);
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
    HBITMAP get() const { return bitmap_.get(); }

  private:
    tv::UniqueBitmap bitmap_;
    tv::UniqueMemoryDc dc_;
    tv::ScopedSelect select_;
};

// Dispatches this thread's messages for about `ms` milliseconds.
void Pump(DWORD ms);
// Dispatches messages until `done` holds; gives up after `limitMs`, a guard against hangs
// rather than a measure of time. Returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 5000);

} // namespace tv::test
