// One row per property. The row's order is the order in which the control writes its
// properties to a bag.
#include "properties.h"

#include "texts.h"

#include <cmath>

namespace butt {
namespace {

using enum Step;
using P = Properties;

// Each row: the property, its public name and bag key, its kind and range, how it is stored
// and its stored default, its field, its help text, and what a change brings up to date.
// clang-format off
constexpr PropertyRow kRows[] = {
    {Prop::Caption, "Caption", "Caption", Kind::Text, 0, 0, Stored::UnlessDefault, 0,
     &P::caption, "The caption of the button. Double pipe (||) is a line break.",
     {Layout, Draw, Notify}},
    {Prop::CaptionAlign, "CaptionAlign", "CapAlign", Kind::Whole, 0, 2, Stored::UnlessDefault, 2,
     &P::captionAlign, "Horizontal alignment of caption on the button.",
     {Layout, Draw, Notify}},
    {Prop::ButtonStyle, "ButtonStyle", "BackStyle", Kind::Whole, 0, 7, Stored::UnlessDefault, 0,
     &P::buttonStyle, "Various operating system button styles",
     {Layout, Colors, Draw, Notify}},
    {Prop::ButtonShape, "ButtonShape", "Shape", Kind::Whole, 0, 8, Stored::UnlessDefault, 0,
     &P::buttonShape, "Rectangular or various diagonal shapes",
     {Resize, EndDelay, Notify}},
    {Prop::Font, "Font", "Font", Kind::Font, 0, 0, Stored::AlwaysKeep, 0,
     &P::font, "Font used to display the caption.",
     {Step::Font, Layout, Draw, Notify}},
    {Prop::ForeColor, "ForeColor", "cFore", Kind::Colour, 0, 0, Stored::UnlessDefault, kButtonText,
     &P::foreColor, "The color of the caption's font .",
     {Refresh, Notify}},
    {Prop::HoverForeColor, "HoverForeColor", "cFHover", Kind::Colour, 0, 0, Stored::UnlessDefault,
     kButtonText, &P::hoverForeColor, "Color of button caption's text when mouse is hovering over "
     "it. Affects the HoverLockColors property.",
     {Notify}},
    {Prop::HoverBackColor, "HoverBackColor", "cBHover", Kind::Colour, 0, 0, Stored::UnlessBackColor,
     0, &P::hoverBackColor, "Color of button background when mouse is hovering over it. Affects "
     "the HoverLockColors property.",
     {Colors, Notify}},
    {Prop::ShowFocusRect, "ShowFocusRect", "Focus", Kind::Truth, 0, 0, Stored::UnlessDefault, 1,
     &P::showFocusRect, "Allows or prevents a focus rectangle from being displayed. In design "
     "mode, this may always be displayed for button set as Default.",
     {Notify}},
    {Prop::HoverColorLocks, "HoverColorLocks", "LockHover", Kind::Whole, 0, 0,
     Stored::UnlessDefault, 0, &P::hoverColorLocks, "Can ensure the hover colors match the "
     "caption and back colors. Click for more options.",
     {Colors, Notify}},
    {Prop::GradientColor, "GradientColor", "cGradient", Kind::Colour, 0, 0, Stored::UnlessDefault,
     kButtonFace, &P::gradientColor, "Secondary color used for gradient shades. The BackColor "
     "property is the primary color.",
     {Notify}},
    {Prop::GradientMode, "GradientMode", "Gradient", Kind::Whole, 0, 4, Stored::UnlessDefault, 0,
     &P::gradientMode, "Various directions to draw the gradient shading.",
     {Draw, Notify}},
    {Prop::CaptionStyle, "CaptionStyle", "CapStyle", Kind::Whole, 0, 2, Stored::UnlessDefault, 0,
     &P::captionStyle, "Flat, Embossed or Engraved effects",
     {Notify}},
    {Prop::Mode, "Mode", "Mode", Kind::Whole, 0, 2, Stored::Always, 0,
     &P::mode, "Command button, check box or option button mode",
     {Draw, Notify}},
    {Prop::Value, "Value", "Value", Kind::Truth, 0, 0, Stored::Always, 0,
     &P::value, "Applicable to only check box or option button modes: True or False",
     {Draw, Notify}},
    {Prop::CustomClick, "CustomClick", "CustomClick", Kind::Whole, 0, 8, Stored::UnlessDefault, 0,
     &P::customClick, "Custom shaped buttons only. Moves the button vs the traditional click "
     "effect.",
     {Notify}},
    {Prop::PictureAlign, "PictureAlign", "ImgAlign", Kind::Whole, 0, 5, Stored::UnlessDefault, 0,
     &P::pictureAlign, "Alignment of the button image in relation to the caption and/or button.",
     {Layout, Draw, Notify}},
    {Prop::Picture, "Picture", "Image", Kind::Picture, 0, 0, Stored::UnlessDefault, 0,
     &P::picture, "The image used to display on the button.",
     {Notify}},
    {Prop::PictureSize, "PictureSize", "ImgSize", Kind::PictureSize, 0, 4, Stored::UnlessDefault,
     16, &P::PictureSizePixels, "Various sizes for images used on buttons. Last 2 options center "
     "image automatically.",
     {LayoutPicture, Draw, Notify}},
    {Prop::Enabled, "Enabled", "Enabled", Kind::Truth, 0, 0, Stored::UnlessDefault, 1,
     &P::enabled, "Determines if events are fired for this button.",
     {Notify}},
    {Prop::BackColor, "BackColor", "cBack", Kind::Colour, 0, 0, Stored::AlwaysKeep, 0,
     &P::backColor, "Button back color. See also ResetDefaultColors",
     {Colors, Draw, Notify}},
    {Prop::MousePointer, "MousePointer", "mPointer", Kind::Whole, -32768, 32767, Stored::BySetter,
     0, &P::mousePointer, "Various optional mouse pointers to use when mouse is over the button",
     {Notify}},
    {Prop::MouseIcon, "MouseIcon", "mIcon", Kind::Icon, 0, 0, Stored::BySetter, 0,
     &P::mouseIcon, "Icon or cursor used to display when mouse is over the button. MousePointer "
     "must be set to Custom.",
     {Notify}},
    // Changes of FontStyle are reported as changes of Font, which holds what it sets.
    {Prop::FontStyle, "FontStyle", "Font", Kind::None, 0, 0, Stored::UnlessDefault, 0,
     {}, "Various font attributes that can be changed directly.",
     {Step::Font, Layout, Notify, Draw}},
    {Prop::ResetDefaultColors, "ResetDefaultColors", nullptr, Kind::None, 0, 0,
     Stored::UnlessDefault, 0, {}, "Resets button's back color and text color to Window's "
     "standard. The hover properties are also reset.",
     {}},
    // The host's width and height in 0.01 mm, which Butt::Load and Butt::Save read and write.
    {Prop::ExtentX, nullptr, "_extentx", Kind::Whole, 0, 100000, Stored::Host},
    {Prop::ExtentY, nullptr, "_extenty", Kind::Whole, 0, 100000, Stored::Host},
};
// clang-format on

constexpr bool InPropOrder() {
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (static_cast<std::size_t>(kRows[i].id) != i)
            return false;
    return true;
}
static_assert(InPropOrder(), "a row stands at its property's place");

} // namespace

std::span<const PropertyRow> Rows() {
    return kRows;
}

const PropertyRow& RowOf(Prop id) {
    return kRows[static_cast<std::size_t>(id)];
}

const PropertyRow* StoredRow(std::string_view key) {
    for (const PropertyRow& row : kRows)
        if (row.kind != Kind::None && SameWord(key, row.key))
            return &row;
    return nullptr;
}

const PropertyRow* RowNamed(std::string_view name) {
    for (const PropertyRow& row : kRows)
        if (row.name && SameWord(name, row.name))
            return &row;
    return nullptr;
}

long StoredForm(const PropertyRow& row, long value) {
    return row.kind == Kind::PictureSize ? (value + 2) * 8 : value;
}

int ExtentToPixels(int hundredthsOfMillimetre) {
    return static_cast<int>(std::nearbyint(hundredthsOfMillimetre * 96.0 / 2540.0));
}

int PixelsToExtent(int pixels) {
    return static_cast<int>(std::nearbyint(pixels * 2540.0 / 96.0));
}

} // namespace butt
