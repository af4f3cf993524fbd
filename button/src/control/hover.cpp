// Hover tracking. A control gets no message when the pointer leaves it, so from the hover
// start a 50 ms timer (id 237) asks where the pointer is, and stops at the hover end. The
// callback finds its control through the window properties "bt_ClassID" and "bt_TimerID",
// and acts only when that window still belongs to that live control.
#include "raise.h"

namespace butt {

void CALLBACK Butt::Impl::HoverTimerProc(HWND window, UINT, UINT_PTR timerId, DWORD) {
    Impl* impl = FromStoredAddress(GetPropA(window, "bt_ClassID"));
    const auto stored = reinterpret_cast<UINT_PTR>(GetPropA(window, "bt_TimerID"));
    if (!impl || impl->hWnd() != window || impl->terminated) {
        KillTimer(window, timerId); // nobody to report to
        return;
    }
    const Entry entry(*impl); // the leave event's handler may delete the control
    impl->HoverCheck(stored ? stored : timerId);
}

void Butt::Impl::HoverCheck(UINT_PTR timerId) {
    if (PointerOverControl())
        return;
    if (hWnd())
        KillTimer(hWnd(), timerId);
    canvas.look.StateFlags &= ~kPointerInside;
    canvas.look.IsHovering = false;
    ClearDelay();
    bool onButton = false;
    if (!Raise(*this, events.MouseOnButton, onButton))
        return;
    canvas.look.IsPressed = false;
    DrawButton();
}

} // namespace butt
