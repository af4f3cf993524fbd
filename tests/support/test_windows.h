#pragma once
// Windows for tests: a window class registered once, and what a window paints read back.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace tv::test {

// Registers a window class of this name and procedure the first time it is asked for, and
// returns the name for CreateWindowExW.
const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC procedure = DefWindowProcW);

// What the window paints into a DC (WM_PRINTCLIENT), read back from a 32-bit DIB section of
// width x height: pixels 0x00RRGGBB (tv::ColorFromDib turns one into a colour), rows from the
// top. Pixels the window leaves alone keep `fill`.
std::vector<std::uint32_t> PrintClient(HWND window, int width, int height, std::uint32_t fill = 0);

} // namespace tv::test
