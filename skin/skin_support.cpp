#include "skin_support.h"

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
                      GetWindowLongPtrA(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    return 0;
}

} // namespace tv
