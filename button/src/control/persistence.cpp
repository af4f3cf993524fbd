// The control's two beginnings (a new control placed on a form, a control loaded from stored
// properties) and its saving; the keys, their order and their defaults are the property
// rows'. Loading reads straight into the fields (no setter runs, but those of the mouse
// pointer and icon) with the drawing held back until the end.
#include "control_record.h"
#include "stored_properties.h"

#include "text.h"

#include <cmath>

namespace butt {
namespace {

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
    for (const Prop changed : {Prop::Caption, Prop::CaptionAlign, Prop::ShowFocusRect,
                               Prop::HoverForeColor, Prop::HoverBackColor, Prop::Font})
        Notify(changed);
}

void Butt::Impl::ReadProperties(const PropertyBag& bag) {
    ContainerWindow = hWnd() ? GetParent(hWnd()) : nullptr;
    canvas.look.ContainerBackColor = TranslateColor(host.AmbientBackColor());
    canvas.delayDrawing = true;

    properties.backColor = host.AmbientBackColor(); // unless the bag has its own
    ReadStoredProperties(bag, properties);
    if (hWnd())
        EnableWindow(hWnd(), properties.enabled ? TRUE : FALSE);
    // The mouse icon and pointer are the host's: they arrive through their setters, the
    // pointer last, since an icon makes it "custom".
    PicturePtr icon = std::exchange(properties.mouseIcon, nullptr);
    const long pointer = std::exchange(properties.mousePointer, 0);
    SetMouseIcon(std::move(icon));
    SetMousePointer(pointer);

    canvas.MeasurePicture();
    canvas.RefreshColors();
    SetCaption(properties.caption); // the access key and the layout; drawing is still held back
    if (properties.mode == Mode::Option)
        OptionToggle(GroupAction::Join);
    ClearDelay();
    OnResize();
}

void Butt::Impl::WriteProperties(PropertyBag& bag) const {
    WriteStoredProperties(properties, bag);
}

} // namespace butt
