// The handlers of the window messages whose meaning the control decides itself: which press
// and release make the host's click, what the focus shows, when a held button lets go, and
// which cursor the pointer takes. Input and states proper are input.cpp's.
#include "control_record.h"

namespace butt {
namespace {

// The system cursor of a MousePointer value (0 and unknown values: the class cursor).
LPCWSTR SystemCursor(long pointer) {
    switch (pointer) {
    case 1:
    case 4:
        return MAKEINTRESOURCEW(32512); // arrow
    case 2:
        return MAKEINTRESOURCEW(32515); // cross
    case 3:
        return MAKEINTRESOURCEW(32513); // I-beam
    case 5:
    case 15:
        return MAKEINTRESOURCEW(32646); // size all
    case 6:
        return MAKEINTRESOURCEW(32643); // size NE-SW
    case 7:
        return MAKEINTRESOURCEW(32645); // size N-S
    case 8:
        return MAKEINTRESOURCEW(32642); // size NW-SE
    case 9:
        return MAKEINTRESOURCEW(32644); // size W-E
    case 10:
        return MAKEINTRESOURCEW(32516); // up arrow
    case 11:
        return MAKEINTRESOURCEW(32514); // hourglass
    case 12:
        return MAKEINTRESOURCEW(32648); // no
    case 13:
        return MAKEINTRESOURCEW(32650); // arrow and hourglass
    case 14:
        return MAKEINTRESOURCEW(32651); // arrow and question mark
    default:
        return nullptr;
    }
}

} // namespace

void Butt::Impl::OnCreateWindow() {
    canvas.window = hWnd(); // the window it paints, from its first message to its end
}

void Butt::Impl::OnButtonDown(short button, short shift, float x, float y) {
    const std::shared_ptr<bool> living = alive;
    if (button == 1 && GetFocus() != hWnd()) {
        focusFromMouse = true;
        SetFocus(hWnd()); // may raise events (got focus) that end the control
        if (!*living)
            return;
        focusFromMouse = false;
    }
    pressedHere |= button;
    afterDoubleClick = false;
    OnMouseDown(button, shift, x, y);
}

void Butt::Impl::OnButtonUp(short button, short shift, float x, float y, POINT at) {
    const std::shared_ptr<bool> living = alive;
    // The host's click: a press and a release on the control, but not the release that ends
    // a double click, nor one after the press was cancelled.
    const bool click = (pressedHere & button) && !afterDoubleClick && InsideControl(at);
    pressedHere &= ~button;
    afterDoubleClick = false;
    const bool valueBefore = properties.value;
    OnMouseUp(button, shift, x, y);
    if (click && *living)
        OnClick();
    // Check and option buttons leave their redraw to the click's change of Value. When none
    // came (released away, the release of a double click, an option button already
    // selected) the released look is drawn here, so the button never stays down.
    if (*living && button == 1 && properties.mode != Mode::Command &&
        properties.value == valueBefore)
        DrawButton();
}

void Butt::Impl::OnButtonDoubleClick(short button) {
    const std::shared_ptr<bool> living = alive;
    if (button == 1 && GetFocus() != hWnd()) {
        focusFromMouse = true;
        SetFocus(hWnd());
        if (!*living)
            return;
        focusFromMouse = false;
    }
    pressedHere |= button;
    afterDoubleClick = true;
    OnDoubleClick();
}

void Butt::Impl::OnSetFocus() {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hWnd(), OBJID_CLIENT, CHILDID_SELF);
    ShowKeyboardFocus(!focusFromMouse);
    OnGotFocus();
}

void Butt::Impl::OnKillFocus() {
    ShowKeyboardFocus(false);
    // A button that loses the focus while held (space bar or mouse) lets go, as the system's
    // buttons do.
    if (canvas.look.StateFlags & kButtonHeld) {
        const std::shared_ptr<bool> living = alive;
        if (GetCapture() == hWnd())
            ReleaseCapture();
        if (*living)
            OnCaptureLost();
    }
}

void Butt::Impl::OnCaptureChanged(HWND taker) {
    if (taker != hWnd())
        OnCaptureLost();
}

void Butt::Impl::OnCancelMode() {
    const std::shared_ptr<bool> living = alive;
    if (GetCapture() == hWnd())
        ReleaseCapture();
    if (*living)
        OnCaptureLost();
}

void Butt::Impl::OnPaintMessage() {
    const HWND window = hWnd();
    PAINTSTRUCT paint{};
    BeginPaint(window, &paint);
    OnPaint();
    EndPaint(window, &paint);
}

bool Butt::Impl::OnSetCursor(HWND window, UINT hitTest) {
    if (hitTest != HTCLIENT || window != hWnd())
        return false;
    if (properties.mousePointer == 99 && properties.mouseIcon) {
        SetCursor(static_cast<HCURSOR>(properties.mouseIcon->handle()));
        return true;
    }
    if (const LPCWSTR cursor = SystemCursor(properties.mousePointer)) {
        SetCursor(LoadCursorW(nullptr, cursor));
        return true;
    }
    return false;
}

} // namespace butt
