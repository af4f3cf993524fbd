// Input and states: the mouse, the keyboard and the focus turn into the control's looks
// (StateFlags, IsPressed) and its events, and the host's own notifications (show, resize,
// paint, ambient changes, termination) reach the control here.
#include "behaviour.h"
#include "raise.h"

#include <algorithm>

namespace butt {
LPARAM ArrowKeyData(int keyCode) {
    switch (keyCode) {
    case VK_RIGHT:
        return 0x004D0001;
    case VK_DOWN:
        return 0x00500001;
    case VK_LEFT:
        return 0x004B0001;
    case VK_UP:
        return 0x00480001;
    default:
        return 0;
    }
}

void Butt::Impl::OnMouseDown(short button, short shift, float x, float y) {
    LastMouseButton = button;
    if (button == 1) {
        StateFlags |= kButtonHeld;
        IsPressed = true;
        ClearDelay();
        DrawButton();
        if (hwnd)
            SetCapture(hwnd);
    }
    if (!Raise(*this, events.MouseDown, button, shift, x, y))
        return;
    // The handler may have shown a modal box, taken the mouse or disabled the control: a
    // press that no longer holds the mouse is over, and must not stay drawn down.
    if (button == 1 && (StateFlags & kButtonHeld) && hwnd && GetCapture() != hwnd)
        DropPress();
}

void Butt::Impl::DropPress() {
    pressedHere &= ~1;
    if (!(StateFlags & kButtonHeld) && !IsPressed)
        return;
    StateFlags &= ~kButtonHeld;
    IsPressed = false;
    if (hwnd && GetCapture() == hwnd) {
        releasingCapture = true;
        ReleaseCapture();
        releasingCapture = false;
    }
    ClearDelay();
    DrawButton();
}

void Butt::Impl::OnMouseUp(short button, short shift, float x, float y) {
    IsPressed = false;
    if (button == 1) {
        if (hwnd && GetCapture() == hwnd) {
            releasingCapture = true;
            ReleaseCapture();
            releasingCapture = false;
        }
        StateFlags &= ~kButtonHeld;
        ClearDelay();
        // Check and option buttons are redrawn by the click that follows.
        if (mode == Mode::Command)
            DrawButton();
    }
    if (!Raise(*this, events.MouseUp, button, shift, x, y))
        return;
    LastMouseButton = button;
}

void Butt::Impl::OnMouseMove(short button, short shift, float x, float y) {
    if (!IsHovering && PointerOverControl()) {
        StateFlags |= kPointerInside;
        bool onButton = true;
        if (!Raise(*this, events.MouseOnButton, onButton))
            return;
        if (hwnd) {
            SetPropA(hwnd, "bt_ClassID", static_cast<HANDLE>(this));
            SetPropA(hwnd, "bt_TimerID", reinterpret_cast<HANDLE>(kHoverTimerId));
            SetTimer(hwnd, kHoverTimerId, kHoverTimerMs, HoverTimerProc);
        }
        IsHovering = true;
        ClearDelay();
        if (button & 1)
            IsPressed = true;
        DrawButton();
    }
    Raise(*this, events.MouseMove, button, shift, x, y);
}

void Butt::Impl::OnClick() {
    if (LastMouseButton != 1)
        return;
    if (mode == Mode::Command) {
        Raise(*this, events.Click);
        return;
    }
    if (mode == Mode::Option && value)
        return; // a selected option button stays selected, silently
    const std::shared_ptr<bool> living = alive;
    SetValue(!value); // an option button clears the rest of its group
    if (*living)
        Raise(*this, events.Click);
}

void Butt::Impl::OnDoubleClick() {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (hwnd)
        ScreenToClient(hwnd, &cursor);
    auto x = static_cast<float>(cursor.x);
    auto y = static_cast<float>(cursor.y);
    short button = LastMouseButton;
    if (!Raise(*this, events.DoubleClick, button))
        return;
    LastMouseButton = button;
    if (LastMouseButton == 1) {
        // The second press of a double click looks and reports like a press.
        const std::shared_ptr<bool> living = alive;
        OnMouseDown(1, 0, x, y);
        if (*living)
            LastMouseButton = -1;
    } else {
        short left = 1;
        short shift = 0;
        Raise(*this, events.MouseDown, left, shift, x, y);
    }
}

void Butt::Impl::OnKeyDown(short keyCode, short shift) {
    switch (keyCode) {
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP:
        // Arrows belong to the container (moving between buttons), after this handler.
        if (ContainerWindow && IsWindow(ContainerWindow))
            PostMessageA(ContainerWindow, WM_KEYDOWN, static_cast<WPARAM>(keyCode),
                         ArrowKeyData(keyCode));
        keyCode = 0;
        break;
    case VK_SPACE:
        if (!(StateFlags & kButtonHeld)) {
            StateFlags |= kPointerInside | kButtonHeld;
            IsPressed = true;
            DrawButton(); // the space bar always shows the pressed look once
            if (!IsHovering)
                StateFlags &= ~kPointerInside;
        }
        break;
    default:
        break;
    }
    if (keyCode != 0)
        Raise(*this, events.KeyDown, keyCode, shift);
}

void Butt::Impl::OnKeyUp(short keyCode, short shift) {
    IsPressed = false;
    const std::shared_ptr<bool> living = alive;
    switch (keyCode) {
    case VK_SPACE:
        if (StateFlags & kButtonHeld) {
            LastMouseButton = 1;
            StateFlags &= ~kButtonHeld;
            const bool valueBefore = value;
            if (mode == Mode::Command) {
                DrawButton();
            } else {
                if (!Raise(*this, events.KeyUp, keyCode, shift))
                    return;
                keyCode = 0;
            }
            OnClick();
            if (!*living)
                return;
            // As after a mouse click: a check or option button whose Value did not change
            // (an option button already selected) is drawn released here.
            if (mode != Mode::Command && value == valueBefore)
                DrawButton();
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP:
        keyCode = 0;
        if (mode == Mode::Option && !value) {
            LastMouseButton = 1; // an option button reached by an arrow becomes selected
            OnClick();
            if (!*living)
                return;
        }
        break;
    case VK_SHIFT:
        keyCode = 0;
        break;
    default:
        break;
    }
    if (keyCode != 0)
        Raise(*this, events.KeyUp, keyCode, shift);
}

void Butt::Impl::OnKeyPress(short keyAscii) {
    Raise(*this, events.KeyPress, keyAscii);
}

void Butt::Impl::OnAccessKeyPress(int key) {
    // Enter and Escape only click command buttons.
    if ((key == VK_RETURN || key == VK_ESCAPE) && mode != Mode::Command)
        return;
    if (!(StateFlags & kShowsFocus))
        DrawButton();
    LastMouseButton = 1;
    OnClick();
}

void Butt::Impl::OnGotFocus() {
    // The option button that gets the focus in a group without a selection is selected.
    if (mode == Mode::Option && !value && !OptionToggle(GroupAction::AnySelected)) {
        LastMouseButton = 1;
        OnClick();
    }
}

void Butt::Impl::OnShow() {
    if (host.UserMode())
        return;
    if (host.DisplayAsDefault() && showFocusRect) {
        StateFlags |= kShowsFocus;
        DrawButton();
    }
}

void Butt::Impl::OnAmbientChanged(const std::string& name) {
    if (SameNameIgnoringCase(name, "DisplayAsDefault")) {
        const bool shows = host.DisplayAsDefault() && (showFocusRect || !host.UserMode());
        if (shows)
            StateFlags |= kShowsFocus;
        else
            StateFlags &= ~kShowsFocus;
        if ((buttonShape == Shape::PictureFramed || buttonShape == Shape::PictureRinged) &&
            !host.UserMode()) {
            // Picture-shaped buttons show the default mark with their hover frame.
            IsHovering = shows;
            DrawButton();
            IsHovering = false;
        } else {
            DrawButton();
        }
    } else if (SameNameIgnoringCase(name, "BackColor")) {
        ContainerBackColor = TranslateColor(host.AmbientBackColor());
        if (buttonShape >= Shape::Ellipse || buttonStyle == Style::HotTrack)
            DrawButton(); // only these show the container's colour outside the outline
    }
}

void Butt::Impl::OnResize() {
    if (backBuffer)
        backBuffer->PutBackBitmap();
    if (terminated)
        return;
    UseBackBuffer(true);
    if (!delayDrawing) {
        CreateShapeRegion();
        LayoutContent(false);
        DrawButton();
    }
}

void Butt::Impl::OnPaint() {
    ClearDelay();
    DrawButton();
}

void Butt::Impl::OnEnable(bool enable) {
    // A host may enable or disable the window itself: the control looks and behaves the same
    // as when Enabled is set.
    if (enable != enabled)
        SetEnabled(enable);
}

bool Butt::Impl::OnSysChar(int key) {
    // Alt+Enter and Alt+Escape are not Enter and Escape: no default or cancel button takes them.
    if (key == VK_RETURN || key == VK_ESCAPE)
        return false;
    return RouteAccessKey(hwnd ? GetParent(hwnd) : nullptr, key);
}

void Butt::Impl::LimitSize(WINDOWPOS& position) {
    // The control has no frame: its window's size is its client size.
    if (!(position.flags & SWP_NOSIZE)) {
        position.cx = std::min(position.cx, kLargestSide);
        position.cy = std::min(position.cy, kLargestSide);
    }
}

void Butt::Impl::OnCaptureLost() {
    if (releasingCapture)
        return;
    // The press is cancelled: its release, wherever it comes, clicks nothing.
    DropPress();
}

void Butt::Impl::Terminate() {
    if (terminated)
        return;
    // Leave the group first, so that no group ever lists an ended control.
    if (mode == Mode::Option)
        OptionToggle(GroupAction::Leave);
    terminated = true;
    delayDrawing = true; // nothing draws after the end
    if (hwnd) {
        if (IsHovering)
            KillTimer(hwnd, kHoverTimerId);
        RemovePropA(hwnd, "bt_ClassID");
        RemovePropA(hwnd, "bt_TimerID");
        if (GetCapture() == hwnd) {
            releasingCapture = true;
            ReleaseCapture();
            releasingCapture = false;
        }
    }
    IsHovering = false;
    pressedHere = 0;

    OuterRegion.reset();
    InnerRegion.reset();
    backBuffer.reset(); // puts back what it holds before deleting it
    ShapeBitmap.reset();
}

} // namespace butt
