// The control's two beginnings (a new control placed on a form, a control loaded from stored
// properties) and its saving, with the keys, their order and their defaults. Loading reads
// straight into the fields (no setter runs) with the drawing held back until the end.
#include "behaviour.h"
#include "butt_impl.h"
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
    desc.name = Narrow(log.lfFaceName);
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

int ExtentToPixels(int hundredthsOfMillimetre) {
    return static_cast<int>(std::nearbyint(hundredthsOfMillimetre * 96.0 / 2540.0));
}

int PixelsToExtent(int pixels) {
    return static_cast<int>(std::nearbyint(pixels * 2540.0 / 96.0));
}

void Butt::Impl::InitProperties() {
    ContainerWindow = hwnd ? GetParent(hwnd) : nullptr;
    caption = host.DisplayName();
    UpdateAccessKey(caption);
    captionAlign = 2;
    showFocusRect = true;
    hoverForeColor = kButtonText;
    hoverBackColor = kButtonFace;
    if (const auto formFont = FormFont(ContainerWindow))
        font = *formFont;
    ContainerBackColor = TranslateColor(host.AmbientBackColor());
    backColor = kButtonFace;
    RefreshProperty("BackColor");
    for (const char* key : {"Caption", "CapAlign", "Focus", "cFHover", "cBHover", "Font"})
        Notify(key);
}

void Butt::Impl::ReadProperties(const PropertyBag& bag) {
    ContainerWindow = hwnd ? GetParent(hwnd) : nullptr;
    ContainerBackColor = TranslateColor(host.AmbientBackColor());
    delayDrawing = true;

    caption = Text(bag, "Caption", "");
    captionAlign = Whole(bag, "CapAlign", 2);
    buttonStyle = static_cast<Style>(Whole(bag, "BackStyle", 0));
    buttonShape = static_cast<Shape>(Whole(bag, "Shape", 0));
    gradientMode = Whole(bag, "Gradient", 0);
    gradientColor = Whole(bag, "cGradient", kButtonFace);
    foreColor = Whole(bag, "cFore", kButtonText);
    if (const auto* stored = bag.Find("Font"))
        font = std::get<FontDesc>(*stored);
    showFocusRect = Truth(bag, "Focus", true);
    mode = static_cast<Mode>(Whole(bag, "Mode", 0));
    value = Truth(bag, "Value", false);
    customClick = Whole(bag, "CustomClick", 0);
    picture = PictureOf(bag, "Image");
    PictureSizePixels = Whole(bag, "ImgSize", 16);
    pictureAlign = Whole(bag, "ImgAlign", 0);
    hoverForeColor = Whole(bag, "cFHover", kButtonText);
    enabled = Truth(bag, "Enabled", true);
    if (hwnd)
        EnableWindow(hwnd, enabled ? TRUE : FALSE);
    backColor = Whole(bag, "cBack", host.AmbientBackColor());
    hoverBackColor = Whole(bag, "cBHover", backColor);
    hoverColorLocks = Whole(bag, "LockHover", 0);
    captionStyle = Whole(bag, "CapStyle", 0);
    SetMouseIcon(PictureOf(bag, "mIcon"));
    SetMousePointer(Whole(bag, "mPointer", 0));

    RefreshProperty("Picture");
    RefreshProperty("BackColor");
    SetCaption(caption); // the access key and the layout; drawing is still held back
    if (mode == Mode::Option)
        OptionToggle(GroupAction::Join);
    ClearDelay();
    OnResize();
}

void Butt::Impl::WriteProperties(PropertyBag& bag) const {
    Write(bag, "Caption", caption, std::string());
    Write<std::int32_t>(bag, "CapAlign", captionAlign, 2);
    Write<std::int32_t>(bag, "BackStyle", static_cast<std::int32_t>(buttonStyle), 0);
    Write<std::int32_t>(bag, "Shape", static_cast<std::int32_t>(buttonShape), 0);
    bag.Set("Font", font);
    Write<std::int32_t>(bag, "cFore", foreColor, kButtonText);
    Write<std::int32_t>(bag, "cFHover", hoverForeColor, kButtonText);
    Write<std::int32_t>(bag, "cBhover", hoverBackColor, backColor);
    Write(bag, "Focus", showFocusRect, true);
    Write<std::int32_t>(bag, "LockHover", hoverColorLocks, 0);
    Write<std::int32_t>(bag, "cGradient", gradientColor, kButtonFace);
    Write<std::int32_t>(bag, "Gradient", gradientMode, 0);
    Write<std::int32_t>(bag, "CapStyle", captionStyle, 0);
    bag.Set("Mode", static_cast<std::int32_t>(mode));
    bag.Set("Value", value);
    Write<std::int32_t>(bag, "CustomClick", customClick, 0);
    Write<std::int32_t>(bag, "ImgAlign", pictureAlign, 0);
    Write(bag, "Image", picture, PicturePtr());
    Write<std::int32_t>(bag, "ImgSize", PictureSizePixels, 16);
    Write(bag, "Enabled", enabled, true);
    bag.Set("cBack", backColor);
    Write<std::int32_t>(bag, "mPointer", mousePointer, 0);
    Write(bag, "mIcon", mouseIcon, PicturePtr());
}

} // namespace butt
