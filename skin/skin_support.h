#pragma once
// Window-shaping and layered-style operations for borderless, skinned windows.
#include <windows.h>

namespace tv {

class SkinSupport {
  public:
    // True when the window has the layered style.
    bool Check_isTransparent(HWND window) const;
    // Makes the window layered with the alpha `Percentage` (0 to 255, despite the name).
    // 0 done, 1 out of range (nothing changed), 2 error.
    long Make_Transparent(HWND window, short& Percentage) const;
    // Removes the layered style. 0 done, 2 error.
    long Make_Opaque(HWND window) const;
};

} // namespace tv
