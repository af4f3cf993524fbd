// The control's two beginnings (a new control placed on a form, a control loaded from stored
// properties) and its saving, with the keys, their order and their defaults. Loading reads
// straight into the fields (no setter runs) with the drawing held back until the end.
#include "behaviour.h"
#include "control.h"
#include "property_bag.h"
#include "text.h"

#include <cmath>

namespace butt {
namespace {

// Truth values are True/False; a whole number is taken as a form host stores it (0 false).
bool AsTruth(const PropertyBag::Value& value) {
    if (const auto* b = std::get_if<bool>(&value))
        return *b;
    return std::get<std::int32_t>(value) != 0;
}

std::string Text(const PropertyBag& bag, const char* key, const std::string& fallback) {
    const auto* value = bag.Find(key);
    return value ? std::get<std::string>(*value) : fallback;
}

std::int32_t Whole(const PropertyBag& bag, const char* key, std::int32_t fallback) {
    const auto* value = bag.Find(key);
    return value ? std::get<std::int32_t>(*value) : fallback;
}

bool Truth(const PropertyBag& bag, const char* key, bool fallback) {
    const auto* value = bag.Find(key);
    return value ? AsTruth(*value) : fallback;
}

PicturePtr PictureOf(const PropertyBag& bag, const char* key) {
    const auto* value = bag.Find(key);
    const auto* picture = value ? std::get_if<PicturePtr>(value) : nullptr;
    return picture ? *picture : nullptr;
}

// Writes `value` unless it equals its write default, in which case the key goes.
template <typename T>
void Write(PropertyBag& bag, const char* key, const T& value, const T& writeDefault) {
    if (value == writeDefault)
        bag.Remove(key);
    else
        bag.Set(key, value);
}

// The font of the form that holds a new control, when it has one.
std::optional<FontDesc> FormFont(HWND form) {
    if (!form)
        return std::nullopt;
    // An MDI parent form gives its controls no font.
    if (FindWindowExA(form, nullptr, "MDIClient", nullptr))
        return std::nullopt;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(form, WM_GETFONT, 0, 0));
    LOGFONTW log{};
    if (!font || GetObjectW(font, sizeof log, &log) != sizeof log)
        return std::nullopt;
    FontDesc desc;
    desc.name = tv::Narrow(log.lfFaceName);
    const tv::WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    const double points = std::abs(static_cast<double>(log.lfHeight)) * 72.0 / (dpi > 0 ? dpi : 96);
    desc.size = static_cast<float>(std::round(points * 100.0) / 100.0);
    desc.weight = log.lfWeight;
    desc.italic = log.lfItalic != 0;
    desc.underline = log.lfUnderline != 0;
    desc.strikethrough = log.lfStrikeOut != 0;
    desc.charset = log.lfCharSet;
    return desc;
}

} // namespace

void Butt::Impl::InitProperties() {
    ContainerWindow = hWnd() ? GetParent(hWnd()) : nullptr;
    properties.caption = host.DisplayName();
    UpdateAccessKey(properties.caption);
    properties.captionAlign = 2;
    properties.showFocusRect = true;
    properties.hoverForeColor = kButtonText;
    properties.hoverBackColor = kButtonFace;
    if (const auto formFont = FormFont(ContainerWindow))
        properties.font = *formFont;
    canvas.look.ContainerBackColor = TranslateColor(host.AmbientBackColor());
    properties.backColor = kButtonFace;
    canvas.RefreshColors();
    for (const char* key : {"Caption", "CapAlign", "Focus", "cFHover", "cBHover", "Font"})
        Notify(key);
}

void Butt::Impl::ReadProperties(const PropertyBag& bag) {
    ContainerWindow = hWnd() ? GetParent(hWnd()) : nullptr;
    canvas.look.ContainerBackColor = TranslateColor(host.AmbientBackColor());
    canvas.delayDrawing = true;

    properties.caption = Text(bag, "Caption", "");
    properties.captionAlign = Whole(bag, "CapAlign", 2);
    properties.buttonStyle = static_cast<Style>(Whole(bag, "BackStyle", 0));
    properties.buttonShape = static_cast<Shape>(Whole(bag, "Shape", 0));
    properties.gradientMode = Whole(bag, "Gradient", 0);
    properties.gradientColor = Whole(bag, "cGradient", kButtonFace);
    properties.foreColor = Whole(bag, "cFore", kButtonText);
    if (const auto* stored = bag.Find("Font"))
        properties.font = std::get<FontDesc>(*stored);
    properties.showFocusRect = Truth(bag, "Focus", true);
    properties.mode = static_cast<Mode>(Whole(bag, "Mode", 0));
    properties.value = Truth(bag, "Value", false);
    properties.customClick = Whole(bag, "CustomClick", 0);
    properties.picture = PictureOf(bag, "Image");
    properties.PictureSizePixels = Whole(bag, "ImgSize", 16);
    properties.pictureAlign = Whole(bag, "ImgAlign", 0);
    properties.hoverForeColor = Whole(bag, "cFHover", kButtonText);
    properties.enabled = Truth(bag, "Enabled", true);
    if (hWnd())
        EnableWindow(hWnd(), properties.enabled ? TRUE : FALSE);
    properties.backColor = Whole(bag, "cBack", host.AmbientBackColor());
    properties.hoverBackColor = Whole(bag, "cBHover", properties.backColor);
    properties.hoverColorLocks = Whole(bag, "LockHover", 0);
    properties.captionStyle = Whole(bag, "CapStyle", 0);
    SetMouseIcon(PictureOf(bag, "mIcon"));
    SetMousePointer(Whole(bag, "mPointer", 0));

    canvas.MeasurePicture();
    canvas.RefreshColors();
    SetCaption(properties.caption); // the access key and the layout; drawing is still held back
    if (properties.mode == Mode::Option)
        OptionToggle(GroupAction::Join);
    ClearDelay();
    OnResize();
}

void Butt::Impl::WriteProperties(PropertyBag& bag) const {
    Write(bag, "Caption", properties.caption, std::string());
    Write<std::int32_t>(bag, "CapAlign", properties.captionAlign, 2);
    Write<std::int32_t>(bag, "BackStyle", static_cast<std::int32_t>(properties.buttonStyle), 0);
    Write<std::int32_t>(bag, "Shape", static_cast<std::int32_t>(properties.buttonShape), 0);
    bag.Set("Font", properties.font);
    Write<std::int32_t>(bag, "cFore", properties.foreColor, kButtonText);
    Write<std::int32_t>(bag, "cFHover", properties.hoverForeColor, kButtonText);
    Write<std::int32_t>(bag, "cBhover", properties.hoverBackColor, properties.backColor);
    Write(bag, "Focus", properties.showFocusRect, true);
    Write<std::int32_t>(bag, "LockHover", properties.hoverColorLocks, 0);
    Write<std::int32_t>(bag, "cGradient", properties.gradientColor, kButtonFace);
    Write<std::int32_t>(bag, "Gradient", properties.gradientMode, 0);
    Write<std::int32_t>(bag, "CapStyle", properties.captionStyle, 0);
    bag.Set("Mode", static_cast<std::int32_t>(properties.mode));
    bag.Set("Value", properties.value);
    Write<std::int32_t>(bag, "CustomClick", properties.customClick, 0);
    Write<std::int32_t>(bag, "ImgAlign", properties.pictureAlign, 0);
    Write(bag, "Image", properties.picture, PicturePtr());
    Write<std::int32_t>(bag, "ImgSize", properties.PictureSizePixels, 16);
    Write(bag, "Enabled", properties.enabled, true);
    bag.Set("cBack", properties.backColor);
    Write<std::int32_t>(bag, "mPointer", properties.mousePointer, 0);
    Write(bag, "mIcon", properties.mouseIcon, PicturePtr());
}

} // namespace butt
