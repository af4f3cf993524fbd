#pragma once
// The control's properties: their values (Properties), and one description of each (a row
// of Rows()) from which the setters take their ranges and what a change brings up to date,
// the stored bag its keys, kinds, checks and defaults, and a form editor its help texts.
#include "butt_stored.h"
#include "kinds.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

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

// Every property, in the order the control stores them, then those stored under no key of
// their own, then the host's keys that the control reads.
enum class Prop {
    Caption,
    CaptionAlign,
    ButtonStyle,
    ButtonShape,
    Font,
    ForeColor,
    HoverForeColor,
    HoverBackColor,
    ShowFocusRect,
    HoverColorLocks,
    GradientColor,
    GradientMode,
    CaptionStyle,
    Mode,
    Value,
    CustomClick,
    PictureAlign,
    Picture,
    PictureSize,
    Enabled,
    BackColor,
    MousePointer,
    MouseIcon,
    FontStyle,
    ResetDefaultColors,
    ExtentX,
    ExtentY,
};

// What a stored value is. PictureSize is a whole number of pixels, (value + 2) x 8, or 0 for
// 16; None is not stored under a key of its own.
enum class Kind { None, Text, Whole, Colour, Truth, Font, Picture, Icon, PictureSize };

// How a value is written, and what an absent key gives when it is read.
enum class Stored {
    UnlessDefault,   // written unless it equals the default; absent: the default
    Always,          // always written; absent: the default
    AlwaysKeep,      // always written; absent: the value the control has (Font, and BackColor,
                     // which starts as the form's colour)
    UnlessBackColor, // written unless it equals BackColor; absent: BackColor
    BySetter,        // as UnlessDefault, but read through its setter after the rest
    Host,            // the host's: checked, and read and written by the host's own steps
};

// What follows an accepted change, in the order the control does it: the outline, the
// layout (with the picture's working copy made again), the style's colours, the caption
// font, the resize handling, a redraw that ends a delay (Refresh), the end of a delay and its
// refresh (DelayDrawing false), a plain redraw, and the host's notice under the row's key.
enum class Step {
    None,
    Layout,
    LayoutPicture,
    Colors,
    Font,
    Resize,
    Refresh,
    EndDelay,
    Draw,
    Notify,
};

// Where a property's value lives in Properties.
using Field =
    std::variant<std::monostate, std::string Properties::*, long Properties::*, Color Properties::*,
                 bool Properties::*, FontDesc Properties::*, PicturePtr Properties::*,
                 Style Properties::*, Shape Properties::*, Mode Properties::*>;

struct PropertyRow {
    Prop id;
    const char* name; // as a form editor names it; nullptr for the host's keys
    const char* key;  // the bag key, under which a change is reported too
    Kind kind;
    long low = 0;  // the range that the setter and the stored bag take
    long high = 0; // (none when low == high), in the setter's terms
    Stored stored = Stored::UnlessDefault;
    std::int32_t fallback = 0; // the stored default: a number, a colour, a truth as 1 or 0;
                               // texts and pictures are empty
    Field field{};
    const char* help = "";
    std::array<Step, 4> then{}; // after an accepted change, once the setter's own logic ran

    bool Takes(long value) const { return low == high || (value >= low && value <= high); }
};

// The rows, in Prop's order.
std::span<const PropertyRow> Rows();
const PropertyRow& RowOf(Prop id);
// The row stored under `key` (any case), or nullptr; only rows of a kind are stored.
const PropertyRow* StoredRow(std::string_view key);
// The row of a public name (any case), or nullptr.
const PropertyRow* RowNamed(std::string_view name);
// A setter's value in its stored form (the picture size's pixels; every other the same).
long StoredForm(const PropertyRow& row, long value);

// A host's stored extent (0.01 mm) in pixels at 96 dots per inch, and back; rounded to the
// nearest whole number, halves to even.
int ExtentToPixels(int hundredthsOfMillimetre);
int PixelsToExtent(int pixels);
// The largest width or height of a control, in pixels: the largest whose stored extent a bag
// takes back (100,000, a metre). No screen of today shows a larger button whole, and outlines
// and back buffers stay within what the program can make quickly.
inline constexpr int kLargestSide = 3779;

} // namespace butt
