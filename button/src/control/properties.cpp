// The property setters: each checks its value against its row, stores it, does what only it
// does, and then brings the control up to date as its row says (layout, colours, redraw)
// before it tells the host that stored data changed. Cases a form designer should hear about
// are told through the host, only while designing.
#include "behaviour.h"
#include "control_record.h"
#include "texts.h"

#include "text.h"

namespace butt {
namespace {

bool HasIconOrNothing(const PicturePtr& picture) {
    return !picture || picture->kind() != Picture::Kind::Bitmap;
}

bool Takes(Prop id, long value) {
    return RowOf(id).Takes(value);
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

void Butt::Impl::Update(Prop id) {
    for (const Step step : RowOf(id).then) {
        switch (step) {
        case Step::None:
            return;
        case Step::Layout:
            canvas.LayoutContent(false);
            break;
        case Step::LayoutPicture:
            canvas.LayoutContent(true);
            break;
        case Step::Colors:
            canvas.RefreshColors();
            break;
        case Step::Font:
            canvas.RefreshFont();
            break;
        case Step::Resize:
            OnResize();
            break;
        case Step::Refresh:
            Refresh();
            break;
        case Step::EndDelay:
            DelayDrawing(false);
            break;
        case Step::Draw:
            DrawButton();
            break;
        case Step::Notify:
            Notify(id);
            break;
        }
    }
}

void Butt::Impl::Notify(Prop id) {
    host.PropertyChanged(RowOf(id).key);
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
    if (!Takes(Prop::ButtonStyle, v))
        return;
    const Style old = properties.buttonStyle;
    const Style style = static_cast<Style>(v);
    properties.buttonStyle = style;
    // Corner cuts follow the style for the straight outlines; style 5 changes the ring of
    // the ellipses.
    const bool hotTrack = old == Style::HotTrack || style == Style::HotTrack;
    const Shape shape = properties.buttonShape;
    if (shape < Shape::Ellipse || (hotTrack && shape < Shape::PictureFramed))
        canvas.CreateShapeRegion();
    Update(Prop::ButtonStyle);
}

void Butt::Impl::SetMode(long v) {
    if (!Takes(Prop::Mode, v))
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
    Update(Prop::Mode);
}

void Butt::Impl::SetCaption(const std::string& v) {
    UpdateAccessKey(v);
    properties.caption = v;
    Update(Prop::Caption);
}

void Butt::Impl::SetCaptionAlign(long v) {
    if (!Takes(Prop::CaptionAlign, v))
        return;
    const bool noPicture = canvas.PictureWidth + canvas.PictureHeight < 1;
    if (!(v == 2 || properties.pictureAlign < 4 || noPicture)) {
        DesignMessage(1);
        return;
    }
    properties.captionAlign = v;
    Update(Prop::CaptionAlign);
}

void Butt::Impl::SetCaptionStyle(long v) {
    if (!Takes(Prop::CaptionStyle, v))
        return;
    properties.captionStyle = v;
    Update(Prop::CaptionStyle);
    if (!properties.caption.empty()) {
        canvas.LayoutContent(false);
        DrawButton();
    }
}

void Butt::Impl::SetCustomClick(long v) {
    if (!Takes(Prop::CustomClick, v))
        return;
    if (v >= 1 && properties.buttonShape < Shape::PictureFramed)
        DesignMessage(2); // stored all the same
    properties.customClick = v;
    Update(Prop::CustomClick);
}

void Butt::Impl::SetButtonShape(long v) {
    if (!Takes(Prop::ButtonShape, v))
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
    Update(Prop::ButtonShape);
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
    Update(Prop::Picture);
}

void Butt::Impl::SetPictureAlign(long v) {
    if (!Takes(Prop::PictureAlign, v))
        return;
    properties.pictureAlign = v;
    if (v >= 4)
        SetCaptionAlign(2);
    Update(Prop::PictureAlign);
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
    Update(Prop::Enabled);
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
    Update(Prop::ShowFocusRect);
}

void Butt::Impl::SetValue(bool v) {
    if (v && properties.mode == Mode::Command) {
        DesignMessage(6);
        return;
    }
    properties.value = v;
    if (v && properties.mode == Mode::Option)
        OptionToggle(GroupAction::Selected);
    Update(Prop::Value);
}

long Butt::Impl::PictureSize() {
    if (properties.PictureSizePixels == 0)
        properties.PictureSizePixels = 16;
    const long code = properties.PictureSizePixels / 8 - 2;
    return code < 0 ? 0 : code > 4 ? 4 : code;
}

void Butt::Impl::SetPictureSize(long v) {
    const PropertyRow& row = RowOf(Prop::PictureSize);
    if (!row.Takes(v))
        return;
    if (IsPictureOutline(properties.buttonShape)) {
        DesignMessage(7);
        return;
    }
    properties.PictureSizePixels = StoredForm(row, v);
    Update(Prop::PictureSize);
}

void Butt::Impl::SetMousePointer(long v) {
    properties.mousePointer = static_cast<short>(v); // the host keeps 16 bits
    Update(Prop::MousePointer);
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
    Update(Prop::MouseIcon);
}

void Butt::Impl::SetFont(const FontDesc& v) {
    properties.font = v;
    Update(Prop::Font);
}

long Butt::Impl::FontStyle() const {
    const bool bold = properties.font.weight >= FW_SEMIBOLD;
    return (bold ? 2 : 0) + (properties.font.italic ? 4 : 0) + (properties.font.underline ? 8 : 0);
}

void Butt::Impl::SetFontStyle(long v) {
    properties.font.weight = (v & 2) ? FW_BOLD : FW_NORMAL;
    properties.font.italic = (v & 4) != 0;
    properties.font.underline = (v & 8) != 0;
    Update(Prop::FontStyle);
}

void Butt::Impl::SetForeColor(Color v) {
    if (v != properties.foreColor) {
        properties.foreColor = v;
        if (properties.hoverColorLocks == 0 || properties.hoverColorLocks == 1)
            SetHoverForeColor(v);
    }
    Update(Prop::ForeColor);
}

void Butt::Impl::SetBackColor(Color v) {
    properties.backColor = v;
    if (properties.hoverColorLocks == 0 || properties.hoverColorLocks == 2)
        SetHoverBackColor(properties.gradientMode != 0 ? properties.gradientColor : v);
    Update(Prop::BackColor);
}

void Butt::Impl::SetGradientColor(Color v) {
    if ((properties.hoverColorLocks == 0 || properties.hoverColorLocks == 2) &&
        properties.gradientMode > 0)
        properties.hoverBackColor = v; // a locked hover colour follows the gradient's colour
    properties.gradientColor = v;
    canvas.RefreshColors();
    if (properties.gradientMode != 0)
        DrawButton();
    Update(Prop::GradientColor);
}

void Butt::Impl::SetGradientMode(long v) {
    if (!Takes(Prop::GradientMode, v))
        return;
    properties.gradientMode = v;
    if (properties.hoverColorLocks == 0 || properties.hoverColorLocks == 2) {
        properties.hoverBackColor = v == 0 ? properties.backColor : properties.gradientColor;
        canvas.RefreshColors();
    }
    Update(Prop::GradientMode);
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
    Notify(Prop::GradientColor);
    Notify(Prop::BackColor);
}

void Butt::Impl::SetHoverColorLocks(long v) {
    properties.hoverColorLocks = v;
    if (v == 0 || v == 2) {
        properties.hoverBackColor =
            properties.gradientMode != 0 ? properties.gradientColor : properties.backColor;
        Notify(Prop::HoverBackColor);
    }
    if (v == 0 || v == 1) {
        properties.hoverForeColor = properties.foreColor;
        Notify(Prop::HoverForeColor);
    }
    Update(Prop::HoverColorLocks);
}

void Butt::Impl::SetHoverForeColor(Color v) {
    if (v == properties.hoverForeColor)
        return;
    properties.hoverForeColor = v;
    Notify(Prop::HoverForeColor);
    if (v != properties.foreColor) {
        if (properties.hoverColorLocks == 0)
            properties.hoverColorLocks = 2;
        else if (properties.hoverColorLocks == 1)
            properties.hoverColorLocks = 3;
    }
    Update(Prop::HoverForeColor);
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
    Update(Prop::HoverBackColor);
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
