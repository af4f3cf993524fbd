// Input and states: the mouse, the keyboard and the focus turn into the control's looks
// (StateFlags, IsPressed) and its events, and the host's own notifications (show, ambient
// changes, termination) reach the control here.
#include "behaviour.h"
#include "raise.h"
#include "texts.h"

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
        canvas.look.StateFlags |= kButtonHeld;
        canvas.look.IsPressed = true;
        ClearDelay();
        DrawButton();
        if (hWnd())
            SetCapture(hWnd());
    }
    if (!Raise(*this, events.MouseDown, button, shift, x, y))
        return;
    // The handler may have shown a modal box, taken the mouse or disabled the control: a
    // press that no longer holds the mouse is over, and must not stay drawn down.
    if (button == 1 && (canvas.look.StateFlags & kButtonHeld) && hWnd() && GetCapture() != hWnd())
        DropPress();
}

void Butt::Impl::DropPress() {
    pressedHere &= ~1;
    if (!(canvas.look.StateFlags & kButtonHeld) && !canvas.look.IsPressed)
        return;
    canvas.look.StateFlags &= ~kButtonHeld;
    canvas.look.IsPressed = false;
    if (hWnd() && GetCapture() == hWnd()) {
        releasingCapture = true;
        ReleaseCapture();
        releasingCapture = false;
    }
    ClearDelay();
    DrawButton();
}

void Butt::Impl::OnMouseUp(short button, short shift, float x, float y) {
    canvas.look.IsPressed = false;
    if (button == 1) {
        if (hWnd() && GetCapture() == hWnd()) {
            releasingCapture = true;
            ReleaseCapture();
            releasingCapture = false;
        }
        canvas.look.StateFlags &= ~kButtonHeld;
        ClearDelay();
        // Check and option buttons are redrawn by the click that follows.
        if (properties.mode == Mode::Command)
            DrawButton();
    }
    if (!Raise(*this, events.MouseUp, button, shift, x, y))
        return;
    LastMouseButton = button;
}

void Butt::Impl::OnMouseMove(short button, short shift, float x, float y) {
    if (!canvas.look.IsHovering && PointerOverControl()) {
        canvas.look.StateFlags |= kPointerInside;
        bool onButton = true;
        if (!Raise(*this, events.MouseOnButton, onButton))
            return;
        if (hWnd()) {
            SetPropA(hWnd(), "bt_ClassID", static_cast<HANDLE>(this));
            SetPropA(hWnd(), "bt_TimerID", reinterpret_cast<HANDLE>(kHoverTimerId));
            SetTimer(hWnd(), kHoverTimerId, kHoverTimerMs, HoverTimerProc);
        }
        canvas.look.IsHovering = true;
        ClearDelay();
        if (button & 1)
            canvas.look.IsPressed = true;
        DrawButton();
    }
    Raise(*this, events.MouseMove, button, shift, x, y);
}

void Butt::Impl::OnClick() {
    if (LastMouseButton != 1)
        return;
    if (properties.mode == Mode::Command) {
        Raise(*this, events.Click);
        return;
    }
    if (properties.mode == Mode::Option && properties.value)
        return; // a selected option button stays selected, silently
    const std::shared_ptr<bool> living = alive;
    SetValue(!properties.value); // an option button clears the rest of its group
    if (*living)
        Raise(*this, events.Click);
}

void Butt::Impl::OnDoubleClick() {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (hWnd())
        ScreenToClient(hWnd(), &cursor);
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
        if (!(canvas.look.StateFlags & kButtonHeld)) {
            canvas.look.StateFlags |= kPointerInside | kButtonHeld;
            canvas.look.IsPressed = true;
            DrawButton(); // the space bar always shows the pressed look once
            if (!canvas.look.IsHovering)
                canvas.look.StateFlags &= ~kPointerInside;
        }
        break;
    default:
        break;
    }
    if (keyCode != 0)
        Raise(*this, events.KeyDown, keyCode, shift);
}

void Butt::Impl::OnKeyUp(short keyCode, short shift) {
    canvas.look.IsPressed = false;
    const std::shared_ptr<bool> living = alive;
    switch (keyCode) {
    case VK_SPACE:
        if (canvas.look.StateFlags & kButtonHeld) {
            LastMouseButton = 1;
            canvas.look.StateFlags &= ~kButtonHeld;
            const bool valueBefore = properties.value;
            if (properties.mode == Mode::Command) {
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
            if (properties.mode != Mode::Command && properties.value == valueBefore)
                DrawButton();
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP:
        keyCode = 0;
        if (properties.mode == Mode::Option && !properties.value) {
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
    if ((key == VK_RETURN || key == VK_ESCAPE) && properties.mode != Mode::Command)
        return;
    if (!(canvas.look.StateFlags & kShowsFocus))
        DrawButton();
    LastMouseButton = 1;
    OnClick();
}

void Butt::Impl::OnGotFocus() {
    // The option button that gets the focus in a group without a selection is selected.
    if (properties.mode == Mode::Option && !properties.value &&
        !OptionToggle(GroupAction::AnySelected)) {
        LastMouseButton = 1;
        OnClick();
    }
}

void Butt::Impl::OnShow(bool shown) {
    if (!shown || host.UserMode())
        return;
    if (host.DisplayAsDefault() && properties.showFocusRect) {
        canvas.look.StateFlags |= kShowsFocus;
        DrawButton();
    }
}

void Butt::Impl::OnAmbientChanged(const std::string& name) {
    if (SameWord(name, "DisplayAsDefault")) {
        const bool shows =
            host.DisplayAsDefault() && (properties.showFocusRect || !host.UserMode());
        if (shows)
            canvas.look.StateFlags |= kShowsFocus;
        else
            canvas.look.StateFlags &= ~kShowsFocus;
        if ((properties.buttonShape == Shape::PictureFramed ||
             properties.buttonShape == Shape::PictureRinged) &&
            !host.UserMode()) {
            // Picture-shaped buttons show the default mark with their hover frame.
            canvas.look.IsHovering = shows;
            DrawButton();
            canvas.look.IsHovering = false;
        } else {
            DrawButton();
        }
    } else if (SameWord(name, "BackColor")) {
        canvas.look.ContainerBackColor = TranslateColor(host.AmbientBackColor());
        if (properties.buttonShape >= Shape::Ellipse || properties.buttonStyle == Style::HotTrack)
            DrawButton(); // only these show the container's colour outside the outline
    }
}

void Butt::Impl::OnEnable(bool enable) {
    // A host may enable or disable the window itself: the control looks and behaves the same
    // as when Enabled is set.
    if (enable != properties.enabled)
        SetEnabled(enable);
}

bool Butt::Impl::OnSysChar(int key) {
    // Alt+Enter and Alt+Escape are not Enter and Escape: no default or cancel button takes them.
    if (key == VK_RETURN || key == VK_ESCAPE)
        return false;
    return RouteAccessKey(hWnd() ? GetParent(hWnd()) : nullptr, key);
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
    if (properties.mode == Mode::Option)
        OptionToggle(GroupAction::Leave);
    terminated = true;
    if (hWnd()) {
        if (canvas.look.IsHovering)
            KillTimer(hWnd(), kHoverTimerId);
        RemovePropA(hWnd(), "bt_ClassID");
        RemovePropA(hWnd(), "bt_TimerID");
        if (GetCapture() == hWnd()) {
            releasingCapture = true;
            ReleaseCapture();
            releasingCapture = false;
        }
    }
    canvas.look.IsHovering = false;
    pressedHere = 0;

    canvas.End();
}

} // namespace butt
