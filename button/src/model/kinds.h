#pragma once
// The control's codes by name. The public interface and stored bags keep them as the numbers
// they have always been (butt.h's `long` properties), so each enum has those numbers as its
// values; inside the library only the names are used, and comparisons such as "below the
// ellipses" read as comparisons of names.
#include <cstddef>

namespace butt {

// ButtonStyle: one drawing style each.
enum class Style : long {
    Classic,  // the system's three-ring bevel
    Raised,   // white up and left, grey down and right, a black outer ring
    Themed,   // a shaded face, blue focus ring, orange hot ring, rounded corners
    Flat,     // grey caption, a flat face that never moves its content
    Thin,     // one thin raised ring
    HotTrack, // flat until the pointer comes, with outlines while designing
    Soft,     // two soft rings
    Rounded,  // a light top edge and corners rounded pixel by pixel
};
inline constexpr std::size_t kStyleCount = 8;

// ButtonShape: four families of outline.
enum class Shape : long {
    Rectangle,
    SlantedLeft,
    SlantedRight,
    Parallelogram,
    Ellipse,            // with a gradient ring
    EllipseCaptionDown, // as Ellipse, its caption shown only while down
    EllipseFramed,      // with a one-pixel black frame
    PictureFramed,      // the picture's outline, framed in the back colour
    PictureRinged,      // the picture's outline with a gradient ring
};

// Mode: how the control behaves when clicked.
enum class Mode : long { Command, CheckBox, Option };

// What an option button asks of its group.
enum class GroupAction {
    Leave = -1,      // leaves the list (Mode no longer 2, or the control ends)
    Selected = 0,    // it was selected: the others are cleared
    Join = 1,        // joins the list (clearing the others when it is selected)
    AnySelected = 2, // asks whether a member is selected; changes nobody
};

// What SetDrawingTool prepares in the back buffer.
enum class Tool {
    Brush,     // a solid brush, with a pen of the same colour when asked
    Pen,       // a pen
    TextColor, // the text colour of the given device context
};

constexpr bool IsSlanted(Shape shape) {
    return shape >= Shape::SlantedLeft && shape <= Shape::Parallelogram;
}
constexpr bool IsEllipse(Shape shape) {
    return shape >= Shape::Ellipse && shape <= Shape::EllipseFramed;
}
constexpr bool IsPictureOutline(Shape shape) {
    return shape == Shape::PictureFramed || shape == Shape::PictureRinged;
}

} // namespace butt
