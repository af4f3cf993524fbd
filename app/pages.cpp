// What the window shows over its skin and how it answers the mouse: the labels and arrow
// pictures drawn from their records, hit-testing in the window's z-order, the hover hints, the
// links, and the pages that the menu entries switch.
#include "main_window.h"

#include "misc.h"

namespace tv {
namespace {

void Blit(BorrowedDc target, BorrowedDc source, BorrowedBitmap bitmap, int left, int top, int width,
          int height) {
    if (!bitmap)
        return;
    ScopedSelect select(source, bitmap);
    BitBlt(target, left, top, width, height, source, 0, 0, SRCCOPY);
}

} // namespace

void MainWindow::Render(BorrowedDc dc) const {
    const RECT client{0, 0, kClientWidth, kClientHeight};
    FillRect(dc, &client, windowBrush_.get());
    const MemoryDc source(dc);
    if (backgroundPicture_) {
        BITMAP info{};
        GetObjectW(backgroundPicture_, sizeof info, &info);
        Blit(dc, source.get(), backgroundPicture_, 0, 0, info.bmWidth, info.bmHeight);
    }
    Blit(dc, source.get(), skinComplete_.picture, skinComplete_.left, skinComplete_.top,
         skinComplete_.width, skinComplete_.height);
    Blit(dc, source.get(), framesBitmap_.get(), skinFrames_.left, skinFrames_.top,
         skinFrames_.right - skinFrames_.left, skinFrames_.bottom - skinFrames_.top);
    for (const Arrow& arrow : arrows_)
        if (arrow.visible)
            Blit(dc, source.get(), arrow.lit ? arrowOnBitmap_.get() : arrowOffBitmap_.get(),
                 arrow.position.x, arrow.position.y, kArrowWidth, kArrowHeight);

    // Bottom of the z-order first, so that the labels that take the mouse first are on top.
    for (auto id = std::rbegin(kHitOrder); id != std::rend(kHitOrder); ++id) {
        const Label& item = labels_[static_cast<size_t>(*id)];
        if (!item.visible)
            continue;
        ScopedSelect font(dc, fonts_[static_cast<size_t>(item.font)].get());
        RECT rect = item.rect;
        if (item.opaque) {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        }
        SetBkMode(dc, item.opaque ? OPAQUE : TRANSPARENT);
        SetTextColor(dc, item.color);
        const MenuEntry* entry = MenuEntryOf(*id);
        const std::wstring text = entry ? WithAccessMarker(item.text, entry->key) : item.text;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | (entry ? 0 : DT_NOPREFIX));
    }
}

HitTarget MainWindow::HitTest(POINT point) const {
    for (const LabelId id : kHitOrder) {
        const Label& item = labels_[static_cast<size_t>(id)];
        if (item.visible && PtInRect(&item.rect, point))
            return HitTarget{HitTarget::Kind::Label, static_cast<size_t>(id)};
    }
    for (size_t i = 0; i < arrows_.size(); ++i) {
        const RECT rect = ArrowRect(arrows_[i]);
        if (arrows_[i].visible && PtInRect(&rect, point))
            return HitTarget{HitTarget::Kind::Arrow, i};
    }
    if (PtInRect(&skinFrames_, point))
        return HitTarget{HitTarget::Kind::Frame, 0};
    const RECT skin =
        Box(skinComplete_.left, skinComplete_.top, skinComplete_.width, skinComplete_.height);
    if (PtInRect(&skin, point))
        return HitTarget{HitTarget::Kind::Skin, 0};
    return HitTarget{};
}

void MainWindow::OnMouseMove(POINT point) {
    // While a button is held after a press, the moves belong to what was pressed.
    MouseMoveOn(pressed_.kind != HitTarget::Kind::None ? pressed_ : HitTest(point));
}

void MainWindow::OnLeftButtonDown(POINT point) {
    pressed_ = HitTest(point);
    SetCapture(hWnd());
}

void MainWindow::OnLeftButtonUp(POINT point) {
    const HitTarget pressed = pressed_;
    if (GetCapture() == hWnd())
        ReleaseCapture();
    pressed_ = HitTarget{};
    if (pressed.kind != HitTarget::Kind::None && HitTest(point) == pressed)
        ClickOn(pressed);
}

void MainWindow::MouseMoveOn(const HitTarget& target) {
    switch (target.kind) {
    case HitTarget::Kind::Frame:
        skin_.Drag_Form(1, hWnd());
        for (size_t i = 0; i < arrows_.size(); ++i)
            SetArrowLit(static_cast<ArrowId>(i), false);
        SetText(LabelId::feature, kHintWelcome);
        return;
    case HitTarget::Kind::Skin:
        skin_.Drag_Form(1, hWnd());
        return;
    case HitTarget::Kind::Label:
        break;
    default:
        return;
    }
    if (const MenuEntry* entry = MenuEntryOf(static_cast<LabelId>(target.index))) {
        SetArrowLit(entry->arrow, true);
        SetText(LabelId::feature, entry->hint);
        return;
    }
    switch (static_cast<LabelId>(target.index)) {
    case LabelId::Email:
        SetArrowLit(ArrowId::menuX1Email, true);
        break;
    case LabelId::Website:
        SetArrowLit(ArrowId::menuX2Website, true);
        break;
    case LabelId::Forum:
        SetArrowLit(ArrowId::menuX3Forum, true);
        break;
    case LabelId::Label1:
    case LabelId::Label2:
    case LabelId::Label3:
    case LabelId::Title:
    case LabelId::statusbar:
        skin_.Drag_Form(1, hWnd());
        break;
    default:
        break; // feature, about_lbl and buff have no handler
    }
}

void MainWindow::ClickOn(const HitTarget& target) {
    if (target.kind != HitTarget::Kind::Label)
        return;
    switch (static_cast<LabelId>(target.index)) {
    case LabelId::menu1:
        ClearForeColor();
        SetColor(LabelId::menu1, kMenuSelected);
        SetVisible(LabelId::feature, true);
        break;
    case LabelId::menu2:
        ClearForeColor();
        SetColor(LabelId::menu2, kMenuSelected);
        SetVisible(LabelId::about_lbl, true);
        SetVisible(LabelId::feature, false);
        SetText(LabelId::about_lbl, aboutText_);
        OpenInfoFile();
        break;
    case LabelId::menu3:
        ClearForeColor();
        SetColor(LabelId::menu3, kMenuSelected);
        SetArrowVisible(ArrowId::menuX1Email, true);
        SetArrowVisible(ArrowId::menuX2Website, true);
        SetArrowVisible(ArrowId::menuX3Forum, true);
        SetVisible(LabelId::feature, false);
        SetVisible(LabelId::Email, true);
        SetVisible(LabelId::Website, true);
        SetVisible(LabelId::Forum, true);
        break;
    case LabelId::menu4:
        ClearForeColor();
        SetColor(LabelId::menu4, kMenuSelected);
        UpdateWindow(hWnd());
        CloseSequence();
        break;
    case LabelId::Email:
        Shell_Open(kEmailTarget, hWnd(), options_.programFolder);
        break;
    case LabelId::Website:
        Shell_Link(kWebsiteTarget, hWnd());
        break;
    case LabelId::Forum:
        Shell_Link(kForumTarget, hWnd());
        break;
    default:
        break;
    }
}

void MainWindow::ClearForeColor() {
    for (const LabelId id : {LabelId::menu1, LabelId::menu2, LabelId::menu3, LabelId::menu4})
        SetColor(id, kMenuNormal);
    SetVisible(LabelId::about_lbl, false);
    SetArrowVisible(ArrowId::menuX1Email, false);
    SetArrowVisible(ArrowId::menuX2Website, false);
    SetArrowVisible(ArrowId::menuX3Forum, false);
    SetVisible(LabelId::feature, true);
    SetVisible(LabelId::Email, false);
    SetVisible(LabelId::Website, false);
    SetVisible(LabelId::Forum, false);
}

void MainWindow::SetText(LabelId id, const std::wstring& text) {
    Label& item = labels_[static_cast<size_t>(id)];
    if (item.text == text)
        return;
    item.text = text;
    if (item.visible)
        Invalidate(item.rect);
    if (hWnd() && (id == LabelId::feature || id == LabelId::about_lbl))
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hWnd(), OBJID_CLIENT, CHILDID_SELF);
}

void MainWindow::SetColor(LabelId id, COLORREF color) {
    Label& item = labels_[static_cast<size_t>(id)];
    if (item.color == color)
        return;
    item.color = color;
    if (item.visible)
        Invalidate(item.rect);
    // A menu entry's colour is its selected state: the page shown changed.
    if (const MenuEntry* entry = MenuEntryOf(id); entry && hWnd())
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hWnd(), OBJID_CLIENT,
                       static_cast<LONG>(entry - kMenuEntries) + 1);
}

void MainWindow::SetVisible(LabelId id, bool visible) {
    Label& item = labels_[static_cast<size_t>(id)];
    if (item.visible == visible)
        return;
    item.visible = visible;
    Invalidate(item.rect);
}

void MainWindow::SetArrowLit(ArrowId id, bool lit) {
    Arrow& item = arrows_[static_cast<size_t>(id)];
    if (item.lit == lit)
        return;
    item.lit = lit;
    if (item.visible)
        Invalidate(ArrowRect(item));
}

void MainWindow::SetArrowVisible(ArrowId id, bool visible) {
    Arrow& item = arrows_[static_cast<size_t>(id)];
    if (item.visible == visible)
        return;
    item.visible = visible;
    Invalidate(ArrowRect(item));
}

void MainWindow::Invalidate(const RECT& rect) const {
    if (hWnd())
        InvalidateRect(hWnd(), &rect, FALSE);
}

} // namespace tv
