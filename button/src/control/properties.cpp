// The property setters: each checks its value, stores it and brings the control up to date
// (derived state, outline, layout, redraw) before it tells the host that stored data changed.
// Cases a form designer should hear about are told through the host, only while designing.
#include "behaviour.h"
#include "control.h"
#include "text.h"

namespace butt {
namespace {

bool InRange(long value, long low, long high) {
    return value >= low && value <= high;
}

const char* DesignText(int n) {
    switch (n) {
    case 1:
        return "When button images are aligned top/bottom center, \r\n"
               "button captions can only be center aligned";
    case 2:
        return "This property has no effect unless the Button Shape is a custom shape.";
    case 3:
        return "The Picture Property must be assigned first and must be a bitmap or JPEG.";
    case 4:
        return "Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\r\n"
               "Button was changed to Rectangular shaped.";
    case 5:
        return "The focus rectangle may appear on default buttons ONLY while in design mode, "
               "\r\nbut will not appear when the form is running.";
    case 6:
        return "This property is not applicable for command button modes.";
    case 7:
        return "The picture size cannot be changed for Shaped buttons";
    default:
        return "";
    }
}

// What a form host says when MouseIcon is given something other than an icon or cursor.
constexpr char kInvalidMouseIcon[] = "Invalid picture";
constexpr char kMouseIconTitle[] = "Select .ico Or .cur Files Only";

bool HasIconOrNothing(const PicturePtr& picture) {
    return !picture || picture->kind() != Picture::Kind::Bitmap;
}

} // namespace

wchar_t AccessKeyOf(const std::string& caption) {
    // The caption is UTF-8: the key is the character after "&", which may be any letter.
    const std::wstring text = tv::Widen(caption);
    wchar_t marked = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&' || i + 1 >= text.size())
            continue;
        // A character outside the basic plane has no key of its own.
        if (text[i + 1] != L'&' &&
            !IS_SURROGATE_PAIR(text[i + 1], i + 2 < text.size() ? text[i + 2] : 0))
            marked = text[i + 1];
        ++i; // "&&" is one literal ampersand; "&x" marks x
    }
    return marked;
}

void Butt::Impl::Notify(const char* key) {
    host.PropertyChanged(key);
    NotifyAccessibleChanges(); // a setter called by the host changes what a reader sees
}

void Butt::Impl::ClearDelay() {
    if (!terminated)
        canvas.delayDrawing = false;
}

void Butt::Impl::DesignMessage(int n) {
    if (host.UserMode())
        return;
    host.ShowMessage(DesignText(n), host.ApplicationTitle(), MB_ICONINFORMATION | MB_OK);
}

void Butt::Impl::UpdateAccessKey(const std::string& text) {
    if (const wchar_t key = AccessKeyOf(text))
        accessKey = key;
}

void Butt::Impl::SetButtonStyle(long v) {
    if (!InRange(v, 0, 7))
        return;
    const Style old = properties.buttonStyle;
    const Style style = static_cast<Style>(v);
    properties.buttonStyle = style;
    // Corner cuts follow the style for the straight outlines; style 5 changes the ring of
    // the ellipses.
    const bool hotTrack = old == Style::HotTrack || style == Style::HotTrack;
    if (properties.buttonShape < Shape::Ellipse ||
        (hotTrack && properties.buttonShape < Shape::PictureFramed))
        canvas.CreateShapeRegion();
    canvas.LayoutContent(false);
    canvas.RefreshColors();
    DrawButton();
    Notify("BackStyle");
}

void Butt::Impl::SetMode(long v) {
    if (!InRange(v, 0, 2))
        return;
    const Mode old = properties.mode;
    const Mode to = static_cast<Mode>(v);
    if (old == Mode::Option && to != Mode::Option)
        OptionToggle(GroupAction::Leave);
    else if (old != Mode::Option && to == Mode::Option)
        OptionToggle(GroupAction::Join);
    if (to == Mode::Command && old != Mode::Command)
        SetValue(false);
    properties.mode = to;
    DrawButton();
    Notify("Mode");
}

void Butt::Impl::SetCaption(const std::string& v) {
    UpdateAccessKey(v);
    properties.caption = v;
    canvas.LayoutContent(false);
    DrawButton();
    Notify("Caption");
}

void Butt::Impl::SetCaptionAlign(long v) {
    if (!InRange(v, 0, 2))
        return;
    const bool noPicture = canvas.PictureWidth + canvas.PictureHeight < 1;
    if (!(v == 2 || properties.pictureAlign < 4 || noPicture)) {
        DesignMessage(1);
        return;
    }
    properties.captionAlign = v;
    canvas.LayoutContent(false);
    DrawButton();
    Notify("CapAlign");
}

void Butt::Impl::SetCaptionStyle(long v) {
    if (!InRange(v, 0, 2))
        return;
    properties.captionStyle = v;
    Notify("CapStyle");
    if (!properties.caption.empty()) {
        canvas.LayoutContent(false);
        DrawButton();
    }
}

void Butt::Impl::SetCustomClick(long v) {
    if (!InRange(v, 0, 8))
        return;
    if (v >= 1 && properties.buttonShape < Shape::PictureFramed)
        DesignMessage(2); // stored all the same
    properties.customClick = v;
    Notify("CustomClick");
}

void Butt::Impl::SetButtonShape(long v) {
    if (!InRange(v, 0, 8))
        return;
    const Shape shape = static_cast<Shape>(v);
    if (IsPictureOutline(shape)) {
        if (HasIconOrNothing(properties.picture)) {
            DesignMessage(3);
            return;
        }
        if (PictureSize() != 4) {
            DelayDrawing(true);
            SetPictureSize(4);
            ClearDelay();
        }
    }
    properties.buttonShape = shape;
    properties.captionAlign = 2;
    OnResize();
    DelayDrawing(false);
    Notify("Shape");
}

void Butt::Impl::SetPicture(PicturePtr v) {
    properties.picture = std::move(v);
    if (properties.PictureSizePixels == 0)
        properties.PictureSizePixels = 16;
    canvas.MeasurePicture();
    if (properties.buttonShape < Shape::PictureFramed) {
        canvas.LayoutContent(true);
        DrawButton();
    } else {
        if (!properties.picture) {
            SetButtonShape(0);
        } else if (properties.picture->kind() != Picture::Kind::Bitmap) {
            properties.buttonShape = Shape::Rectangle;
            DesignMessage(4);
        }
        OnResize();
    }
    Notify("Image");
}

void Butt::Impl::SetPictureAlign(long v) {
    if (!InRange(v, 0, 5))
        return;
    properties.pictureAlign = v;
    if (v >= 4)
        SetCaptionAlign(2);
    canvas.LayoutContent(false);
    DrawButton();
    Notify("ImgAlign");
}

void Butt::Impl::SetEnabled(bool v) {
    // A control disabled while held (from its own MouseDown, say) lets go of the press.
    if (!v)
        DropPress();
    if (v != properties.enabled) {
        properties.enabled = v;
        if (hWnd())
            EnableWindow(hWnd(), v ? TRUE : FALSE); // a disabled control gets no input
    }
    if (properties.buttonStyle == Style::Flat && properties.mode == Mode::Command &&
        properties.buttonShape < Shape::Ellipse) {
        // Style 3 cuts its corners differently while disabled.
        DelayDrawing(true);
        canvas.CreateShapeRegion();
        canvas.LayoutContent(false);
        DelayDrawing(false);
    } else {
        DrawButton();
    }
    Notify("Enabled");
}

void Butt::Impl::SetShowFocusRect(bool v) {
    properties.showFocusRect = v;
    if (canvas.look.StateFlags & kShowsFocus) {
        if (host.UserMode()) {
            canvas.look.StateFlags &= ~kShowsFocus;
            DrawButton();
        } else {
            DesignMessage(5);
        }
    } else {
        DrawButton();
    }
    Notify("Focus");
}

void Butt::Impl::SetValue(bool v) {
    if (v && properties.mode == Mode::Command) {
        DesignMessage(6);
        return;
    }
    properties.value = v;
    if (v && properties.mode == Mode::Option)
        OptionToggle(GroupAction::Selected);
    DrawButton();
    Notify("Value");
}

long Butt::Impl::PictureSize() {
    if (properties.PictureSizePixels == 0)
        properties.PictureSizePixels = 16;
    const long code = properties.PictureSizePixels / 8 - 2;
    return code < 0 ? 0 : code > 4 ? 4 : code;
}

void Butt::Impl::SetPictureSize(long v) {
    if (!InRange(v, 0, 4))
        return;
    if (properties.buttonShape == Shape::PictureFramed ||
        properties.buttonShape == Shape::PictureRinged) {
        DesignMessage(7);
        return;
    }
    properties.PictureSizePixels = static_cast<int>((v + 2) * 8);
    canvas.LayoutContent(true);
    DrawButton();
    Notify("ImgSize");
}

void Butt::Impl::SetMousePointer(long v) {
    properties.mousePointer = static_cast<short>(v);
    Notify("mPointer");
}

void Butt::Impl::SetMouseIcon(PicturePtr v) {
    if (v && v->kind() == Picture::Kind::Bitmap) {
        // The host takes only icons and cursors; the designer hears its refusal.
        if (!host.UserMode())
            host.ShowMessage(kInvalidMouseIcon, kMouseIconTitle, MB_ICONINFORMATION | MB_OK);
        return;
    }
    properties.mouseIcon = std::move(v);
    if (properties.mouseIcon)
        SetMousePointer(99);
    Notify("mIcon");
}

void Butt::Impl::SetFont(const FontDesc& v) {
    properties.font = v;
    canvas.RefreshFont();
    canvas.LayoutContent(false);
    DrawButton();
    Notify("Font");
}

long Butt::Impl::FontStyle() const {
    const bool bold = properties.font.weight >= FW_SEMIBOLD;
    return (bold ? 2 : 0) + (properties.font.italic ? 4 : 0) + (properties.font.underline ? 8 : 0);
}

void Butt::Impl::SetFontStyle(long v) {
    properties.font.weight = (v & 2) ? FW_BOLD : FW_NORMAL;
    properties.font.italic = (v & 4) != 0;
    properties.font.underline = (v & 8) != 0;
    canvas.RefreshFont();
    canvas.LayoutContent(false);
    Notify("Font");
    DrawButton();
}

void Butt::Impl::SetForeColor(Color v) {
    if (v != properties.foreColor) {
        properties.foreColor = v;
        if (properties.hoverColorLocks == 0 || properties.hoverColorLocks == 1)
            SetHoverForeColor(v);
    }
    ClearDelay();
    DrawButton();
    Notify("cFore");
}

void Butt::Impl::SetBackColor(Color v) {
    properties.backColor = v;
    if (properties.hoverColorLocks == 0 || properties.hoverColorLocks == 2)
        SetHoverBackColor(properties.gradientMode != 0 ? properties.gradientColor : v);
    canvas.RefreshColors();
    DrawButton();
    Notify("cBack");
}

void Butt::Impl::SetGradientColor(Color v) {
    if ((properties.hoverColorLocks == 0 || properties.hoverColorLocks == 2) &&
        properties.gradientMode > 0)
        properties.hoverBackColor = v; // a locked hover colour follows the gradient's colour
    properties.gradientColor = v;
    canvas.RefreshColors();
    if (properties.gradientMode != 0)
        DrawButton();
    Notify("cGradient");
}

void Butt::Impl::SetGradientMode(long v) {
    if (!InRange(v, 0, 4))
        return;
    properties.gradientMode = v;
    if (properties.hoverColorLocks == 0 || properties.hoverColorLocks == 2) {
        properties.hoverBackColor = v == 0 ? properties.backColor : properties.gradientColor;
        canvas.RefreshColors();
    }
    DrawButton();
    Notify("Gradient");
}

void Butt::Impl::SetResetDefaultColors(bool v) {
    if (!v || host.UserMode())
        return;
    DelayDrawing(true);
    properties.backColor = kButtonFace;
    SetForeColor(kButtonText);
    SetGradientColor(kButtonFace);
    SetGradientMode(0);
    SetHoverColorLocks(0);
    canvas.RefreshColors();
    DelayDrawing(false);
    Notify("cGradient");
    Notify("cBack");
}

void Butt::Impl::SetHoverColorLocks(long v) {
    properties.hoverColorLocks = v;
    if (v == 0 || v == 2) {
        properties.hoverBackColor =
            properties.gradientMode != 0 ? properties.gradientColor : properties.backColor;
        Notify("cBHover");
    }
    if (v == 0 || v == 1) {
        properties.hoverForeColor = properties.foreColor;
        Notify("cFHover");
    }
    canvas.RefreshColors();
    Notify("LockHover");
}

void Butt::Impl::SetHoverForeColor(Color v) {
    if (v == properties.hoverForeColor)
        return;
    properties.hoverForeColor = v;
    Notify("cFHover");
    if (v != properties.foreColor) {
        if (properties.hoverColorLocks == 0)
            properties.hoverColorLocks = 2;
        else if (properties.hoverColorLocks == 1)
            properties.hoverColorLocks = 3;
    }
    Notify("cFHover");
}

void Butt::Impl::SetHoverBackColor(Color v) {
    if (v == properties.hoverBackColor)
        return;
    properties.hoverBackColor = v;
    // Free only when it leaves the colour it follows: the gradient's colour while a
    // gradient is on, else the back colour.
    const Color followed =
        properties.gradientMode != 0 ? properties.gradientColor : properties.backColor;
    if (v != followed) {
        if (properties.hoverColorLocks == 0)
            properties.hoverColorLocks = 1;
        else if (properties.hoverColorLocks == 2)
            properties.hoverColorLocks = 3;
    }
    canvas.RefreshColors();
    Notify("cBHover");
}

void Butt::Impl::Refresh() {
    ClearDelay();
    DrawButton();
}

void Butt::Impl::DelayDrawing(bool bDelay) {
    canvas.delayDrawing = bDelay || terminated;
    if (!bDelay)
        Refresh();
}

} // namespace butt
