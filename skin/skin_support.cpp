#include "skin_support.h"

#include "skin_region.h"
#include "system_seam.h"

namespace tv {

bool SkinSupport::Check_isTransparent(HWND window) const {
    if (!IsWindow(window))
        return false;
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

long SkinSupport::Make_Transparent(HWND window, short& Percentage) const {
    if (Percentage < 0 || Percentage > 255)
        return 1;
    if (!IsWindow(window))
        return 2;
    SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(Percentage), LWA_ALPHA);
    return 0;
}

long SkinSupport::Make_Opaque(HWND window) const {
    if (!IsWindow(window))
        return 2;
    SetWindowLongPtrA(window, GWL_EXSTYLE,
                      GetWindowLongPtrA(window, GWL_EXSTYLE) &
                          ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    return 0;
}

namespace {

bool IsComponent(const std::optional<int>& value) {
    return value && *value >= 0 && *value <= 255;
}

// The form's outer size; a borderless form's outer size is its client size.
void ResizeForm(HWND form, int width, int height) {
    SetWindowPos(form, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

} // namespace

bool SkinSupport::Set_Background(SkinForm& Form, PictureHost& Picture, bool UsingTransparentColor,
                                 std::optional<int> TransparentColor1RED,
                                 std::optional<int> TransparentColor2GREEN,
                                 std::optional<int> TransparentColor3BLUE) const {
    const HWND form = Form.Handle();
    if (!IsWindow(form))
        return false;
    if (UsingTransparentColor) {
        if (!IsComponent(TransparentColor1RED) || !IsComponent(TransparentColor2GREEN) ||
            !IsComponent(TransparentColor3BLUE))
            return false;
        const COLORREF key = KeyColor(static_cast<BYTE>(*TransparentColor1RED),
                                      static_cast<BYTE>(*TransparentColor2GREEN),
                                      static_cast<BYTE>(*TransparentColor3BLUE));
        UniqueRegion region = RegionFromBitmap(Picture.picture, key, Picture.width, Picture.height);
        // No opaque pixel: no outline, the whole window rectangle shows.
        if (SetWindowRgn(form, region.get(), TRUE))
            region.release(); // the system owns it now
        Picture.top = 0;
        Picture.left = 0;
        ResizeForm(form, Picture.width, Picture.height);
        return true;
    }
    Form.SetPicture(Picture.picture);
    Picture.autoSize = true;
    BITMAP info{};
    if (Picture.picture && GetObjectW(Picture.picture, sizeof info, &info) == sizeof info) {
        Picture.width = info.bmWidth;
        Picture.height = info.bmHeight;
    }
    ResizeForm(form, Picture.width, Picture.height);
    Picture.top = 0;
    Picture.left = 0;
    return true;
}

void SkinSupport::Drag_Form(long MouseButton, HWND Form) const {
    if (MouseButton != 1 && MouseButton != 2 && MouseButton != 4)
        return;
    // GetAsyncKeyState reads physical buttons; the move loop follows the logical left one.
    const int primary = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    if (!(System().AsyncKeyState(primary) & 0x8000))
        return;
    ReleaseCapture();
    SendMessageA(Form, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

} // namespace tv
