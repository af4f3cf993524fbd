#pragma once
// Small pure computations of the control's behaviour, apart from the code that talks to
// windows.
#include "kinds.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace butt {

// The key data posted with a re-posted arrow key: scan code in bits 16 to 23, repeat count 1.
// 0 for keys that are not arrows.
LPARAM ArrowKeyData(int keyCode);

// The access key a caption marks: "&&" is a literal ampersand, "&" marks the next character,
// and the last marked character wins. 0 when the caption marks none.
wchar_t AccessKeyOf(const std::string& caption);

// Names of properties and ambient values compare without regard to case.
bool SameNameIgnoringCase(const std::string& a, const char* b);

// A host's stored extent (0.01 mm) in pixels at 96 dots per inch, and back; rounded to the
// nearest whole number, halves to even.
int ExtentToPixels(int hundredthsOfMillimetre);
int PixelsToExtent(int pixels);
// The largest width or height of a control, in pixels: the largest whose stored extent a bag
// takes back (100,000, a metre). No screen of today shows a larger button whole, and outlines
// and back buffers stay within what the program can make quickly.
inline constexpr int kLargestSide = 3779;

// What assistive technology reads of a control (accessible.cpp): the caption without its
// "&" markers ("||" reads as a space), the MSAA role by Mode, and the default action's name.
std::wstring AccessibleName(const std::string& caption);
long AccessibleRole(Mode mode);
std::wstring DefaultActionName(Mode mode, bool value);

// The outlines of a picture-shaped button from `keyed`, one byte per pixel of width x height,
// rows top first, non-zero where the pixel counts as the key colour; `keyedBeyond` says
// whether the column and the row just beyond the picture count as key too. `opaque` holds the
// pixels that are not key; `outer` and `inner` those more than one and more than two pixels
// away from every key pixel (diagonals count as one step): the outline eroded by one and two.
struct PictureOutline {
    std::vector<RECT> opaque, outer, inner;
};
PictureOutline OutlineOfKeyed(std::vector<std::uint8_t> keyed, int width, int height,
                              bool keyedBeyond);

} // namespace butt
