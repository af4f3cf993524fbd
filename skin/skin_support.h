#pragma once
// Window-shaping and layered-style operations for borderless, skinned windows.
#include <windows.h>

#include <string>

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
    // Writes "<AppEXEName>.exe.manifest" (hidden, system) beside the running program so that
    // it binds to the themed common controls; true when a manifest was there before. With
    // AutoRestart the program is started again from AppPath and this instance ends; a
    // manifest that exists is then never replaced (*CreateNew is set to false).
    bool Debug_WriteEXEmanifest(const std::string& AppPath, const std::string& AppEXEName,
                                long AppMajor, long AppMinor, long AppRevision,
                                const std::string& AppFileDescription, bool AutoRestart = false,
                                long AutoRestartWindowStyle = 0,
                                bool* CreateNew = nullptr) const;
};

} // namespace tv
