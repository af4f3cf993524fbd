#pragma once
// Window-shaping and layered-style operations for borderless, skinned windows.
#include "handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace tv {

// The picture host that shows a skin on a form: the picture it shows and its place and size
// in the form's client area, in pixels.
struct PictureHost {
    BorrowedBitmap picture;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // When on, the host takes the size of its picture.
    bool autoSize = false;
};

// What Set_Background needs of the form it shapes.
class SkinForm {
  public:
    virtual ~SkinForm() = default;
    virtual HWND Handle() const = 0;
    // The plain path: the form shows this picture as its own background.
    virtual void SetPicture(BorrowedBitmap picture) = 0;
};

class SkinSupport {
  public:
    // Gives the form its skin. Shaped path (UsingTransparentColor): the form's outline becomes
    // the picture's pixels that are not the key colour (no region when none is), the host
    // moves to 0, 0 and the form takes the host's size. Plain path: the form shows the
    // picture itself, the host takes the picture's size and moves to 0, 0, and the form takes
    // that size. False when the form has no window, or the shaped path lacks a component
    // (each must be 0 to 255); nothing is changed then.
    bool Set_Background(SkinForm& Form, PictureHost& Picture, bool UsingTransparentColor = false,
                        std::optional<int> TransparentColor1RED = std::nullopt,
                        std::optional<int> TransparentColor2GREEN = std::nullopt,
                        std::optional<int> TransparentColor3BLUE = std::nullopt) const;
    // Hands the form to the system's move loop as if its title bar had been pressed, for the
    // mouse-button codes 1 (left), 2 (right) and 4 (middle). The move is asked for only while
    // the left button is down: the move loop ends on its release, and a loop started without
    // it would make the window follow the pointer.
    void Drag_Form(long MouseButton, HWND Form) const;

    // True when the window has the layered style.
    bool Check_isTransparent(HWND window) const;
    // Makes the window layered with the alpha `Percentage` (0 to 255, despite the name).
    // 0 done, 1 out of range (nothing changed), 2 error.
    long Make_Transparent(HWND window, short& Percentage) const;
    // Removes the layered style. 0 done, 2 error.
    long Make_Opaque(HWND window) const;
    // Writes "<AppEXEName>.exe.manifest" (hidden, system) beside the running program so that
    // it binds to the themed common controls; true when a manifest was there before. With
    // AutoRestart, once the manifest is written, the program is started again from AppPath
    // and this instance ends; a manifest that exists is then never replaced (*CreateNew is
    // set to false).
    bool Debug_WriteEXEmanifest(const std::wstring& AppPath, const std::wstring& AppEXEName,
                                long AppMajor, long AppMinor, long AppRevision,
                                const std::wstring& AppFileDescription, bool AutoRestart = false,
                                long AutoRestartWindowStyle = 0, bool* CreateNew = nullptr) const;
};

} // namespace tv
