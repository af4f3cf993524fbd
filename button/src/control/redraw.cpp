// The redraw as the control asks for it: nothing while drawing is delayed, the press shift
// of CustomClick before the painter (the canvas, paint/) runs, and a new buffer, outline and
// layout for every new size.
#include "control_record.h"

namespace butt {

void Butt::Impl::DrawButton() {
    if (canvas.delayDrawing)
        return;
    if (!canvas.backBuffer || !canvas.backBuffer->bitmap())
        canvas.UseBackBuffer(true);
    if (!canvas.backBuffer || !canvas.HasPainter())
        return;
    if (ApplyCustomClick())
        return;
    canvas.look.designing = !host.UserMode();
    canvas.Paint();
}

bool Butt::Impl::ApplyCustomClick() {
    if (properties.customClick == 0 || properties.mode != Mode::Command || !hWnd())
        return false;
    // Press shifts (dx, dy) by CustomClick 1 to 8: up, up-right, up-left, down-right,
    // down-left, right, down, left.
    static constexpr POINT kShift[9] = {{0, 0},  {0, -1}, {1, -1}, {-1, -1}, {1, 1},
                                        {-1, 1}, {1, 0},  {0, 1},  {-1, 0}};
    const POINT shift = properties.customClick >= 1 && properties.customClick <= 8
                            ? kShift[properties.customClick]
                            : POINT{0, 0};
    RECT bounds{};
    GetWindowRect(hWnd(), &bounds);
    // Child windows are placed in their parent's client coordinates.
    HWND container = GetParent(hWnd());
    if (!container)
        container = ContainerWindow;
    POINT topLeft{bounds.left, bounds.top};
    MapWindowPoints(nullptr, container, &topLeft, 1);
    const bool pressed = canvas.LooksPressed();
    if (pressed && !PressShifted) {
        SetWindowPos(hWnd(), nullptr, topLeft.x + shift.x, topLeft.y + shift.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PressShifted = true;
        canvas.UseBackBuffer(false);
        DrawButton(); // the pressed look at the new place: the paint that asked has nothing to do
        return true;
    }
    if (PressShifted && !pressed) {
        SetWindowPos(hWnd(), nullptr, topLeft.x - shift.x, topLeft.y - shift.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PressShifted = false;
    }
    return false;
}

void Butt::Impl::OnResize() {
    if (canvas.backBuffer)
        canvas.backBuffer->PutBackBitmap();
    if (terminated)
        return;
    canvas.UseBackBuffer(true);
    if (!canvas.delayDrawing) {
        canvas.CreateShapeRegion();
        canvas.LayoutContent(false);
        DrawButton();
    }
}

void Butt::Impl::OnPaint() {
    ClearDelay();
    DrawButton();
}

} // namespace butt
