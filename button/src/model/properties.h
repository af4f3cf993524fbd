#pragma once
// The values of the control's properties, as the setters leave them and the painters read
// them. Plain data: which values a property takes and how it is stored is its description's.
#include "butt_stored.h"
#include "kinds.h"

#include <memory>
#include <string>

namespace butt {

class Picture; // butt.h: a bitmap, icon or cursor, shared by reference
using PicturePtr = std::shared_ptr<Picture>;

struct Properties {
    std::string caption; // UTF-8, with its "&" markers and "||" line breaks
    long captionAlign = 0;
    long captionStyle = 0;
    Style buttonStyle = Style::Classic;
    Shape buttonShape = Shape::Rectangle;
    bool showFocusRect = false;
    Color hoverBackColor = 0;
    Color hoverForeColor = 0;
    long hoverColorLocks = 0;
    long gradientMode = 0;
    Color gradientColor = 0;
    Mode mode = Mode::Command;
    bool value = false;
    long customClick = 0;
    PicturePtr picture;
    long pictureAlign = 0;
    long PictureSizePixels = 0; // 16, 24, 32, 40 or 48; 0 counts as 16
    Color backColor = 0;
    // What a form host keeps for its controls.
    bool enabled = true;
    Color foreColor = kButtonText;
    FontDesc font;
    long mousePointer = 0;
    PicturePtr mouseIcon;
};

// A host's stored extent (0.01 mm) in pixels at 96 dots per inch, and back; rounded to the
// nearest whole number, halves to even.
int ExtentToPixels(int hundredthsOfMillimetre);
int PixelsToExtent(int pixels);
// The largest width or height of a control, in pixels: the largest whose stored extent a bag
// takes back (100,000, a metre). No screen of today shows a larger button whole, and outlines
// and back buffers stay within what the program can make quickly.
inline constexpr int kLargestSide = 3779;

} // namespace butt
