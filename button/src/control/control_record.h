#pragma once
// The control: its window, its record, and its private operations. The record holds the
// properties and the input state; what is painted from them, and how, is the canvas's
// (paint/), which the record owns and keeps up to date. Each group of operations lives in the
// source file named above it.
#include "butt.h"
#include "canvas.h"
#include "kinds.h"
#include "properties.h"

#include "window_base.h"

#include <memory>
#include <string>

namespace butt {

inline constexpr UINT_PTR kHoverTimerId = 237;
inline constexpr UINT kHoverTimerMs = 50;
// Posted to the control by accDoDefaultAction: the click runs after the client's call returns.
inline constexpr UINT kDefaultActionMessage = WM_APP + 1;

class Butt::Impl : public tv::WindowBase {
  public:
    // The codes by name; inside the record, Mode is the enum, not Butt::Mode().
    using Mode = butt::Mode;
    using tv::WindowBase::WindowProc; // the procedure of the "Butt" class

    Impl(Butt& owner, ButtHost& host);
    ~Impl() override;
    // Ends the control (its window, its group, its place among the live controls); the
    // memory goes with the destructor. Runs once.
    void Retire();

    // Marks control code on the stack (a message, a call from the host): a record whose
    // owner is deleted meanwhile is freed when the last of these returns.
    class Entry {
      public:
        explicit Entry(Impl& impl);
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

      private:
        Impl& impl_;
    };
    int entered = 0;
    bool orphaned = false;
    bool retired = false;

    Butt& owner;
    ButtHost& host;
    ButtEvents events;
    Properties properties;
    Canvas canvas{properties};
    HWND ContainerWindow = nullptr;
    wchar_t accessKey = 0;

    // ---- Input state (input.cpp, hover.cpp); the look it gives is the canvas's ----
    short LastMouseButton = 0;
    bool afterDoubleClick = false; // the release that ends a double click raises no click
    int pressedHere = 0;           // mouse buttons (1, 2, 4) pressed here, for the host click
    bool releasingCapture = false; // our own ReleaseCapture is not a lost capture
    bool terminated = false;       // the window has ended; nothing draws or joins any more
    bool PressShifted = false;     // moved by CustomClick's press shift
    // Turns false when the record goes: code that raised an event checks it before going on,
    // since an event handler may delete the control.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    // ---- Window (window.cpp) ----
    // Creates the control's child window; the object pointer rides on WM_NCCREATE.
    bool CreateControlWindow(HWND parent, int id, RECT bounds);
    // The live control stored at `address` (a window property's value), or nullptr.
    static Impl* FromStoredAddress(HANDLE address);
    // The live control of a window of the "Butt" class, or nullptr.
    static Impl* FromWindowHandle(HWND window);
    // The window under the pointer is this control (GetCursorPos + WindowFromPoint).
    bool PointerOverControl() const;
    // A client point lies on the control (inside its outline, if it has one).
    bool InsideControl(POINT client) const;

    // ---- Redraw (redraw.cpp) ----
    // Paints the control unless drawing is delayed; the press shift of CustomClick first.
    void DrawButton();
    bool ApplyCustomClick();
    void OnResize();
    void OnPaint();

    // ---- Properties (properties.cpp): setters with their range checks, design messages ----
    void Update(Prop id);      // the steps of its row, after an accepted change
    void Notify(Prop id);      // host.PropertyChanged with its key
    void ClearDelay();         // clears the DelayDrawing flag, unless the control has ended
    void DesignMessage(int n); // shown only while !host.UserMode()
    void UpdateAccessKey(const std::string& caption);
    void SetButtonStyle(long v);
    void SetMode(long v);
    void SetCaption(const std::string& v);
    void SetCaptionAlign(long v);
    void SetCaptionStyle(long v);
    void SetCustomClick(long v);
    void SetButtonShape(long v);
    void SetPicture(PicturePtr v);
    void SetPictureAlign(long v);
    void SetEnabled(bool v);
    void SetShowFocusRect(bool v);
    void SetValue(bool v);
    long PictureSize();
    void SetPictureSize(long v);
    void SetMousePointer(long v);
    void SetMouseIcon(PicturePtr v);
    void SetFont(const FontDesc& v);
    long FontStyle() const;
    void SetFontStyle(long v);
    void SetForeColor(Color v);
    void SetBackColor(Color v);
    void SetGradientColor(Color v);
    void SetGradientMode(long v);
    void SetResetDefaultColors(bool v);
    void SetHoverColorLocks(long v);
    void SetHoverForeColor(Color v);
    void SetHoverBackColor(Color v);
    void Refresh();
    void DelayDrawing(bool bDelay);

    // ---- Persistence (persistence.cpp) ----
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // ---- Input, states, events (input.cpp) ----
    void OnMouseDown(short button, short shift, float x, float y);
    void OnMouseUp(short button, short shift, float x, float y);
    void OnMouseMove(short button, short shift, float x, float y);
    void OnClick();
    void OnDoubleClick();
    void OnKeyDown(short keyCode, short shift);
    void OnKeyUp(short keyCode, short shift);
    void OnKeyPress(short keyAscii);
    void OnAccessKeyPress(int key);
    void OnGotFocus();
    void OnShow(bool shown);
    void OnAmbientChanged(const std::string& name);
    void OnCaptureLost();       // drops held and pressed looks; no Click
    void DropPress();           // the same, also giving up the mouse: the press clicks nothing
    void OnEnable(bool enable); // the host's EnableWindow
    bool OnSysChar(int key);    // Alt+key: true when a control took it
    static void LimitSize(WINDOWPOS& position); // no side beyond kLargestSide
    void Terminate();

    // ---- Window messages (messages.cpp): each one's handler, its arguments unpacked ----
    void OnCreateWindow();
    void OnButtonDown(short button, short shift, float x, float y);
    // `at` is where the release happened: a click needs it on the control.
    void OnButtonUp(short button, short shift, float x, float y, POINT at);
    void OnButtonDoubleClick(short button);
    void OnSetFocus();
    void OnKillFocus();
    void OnCaptureChanged(HWND taker);
    void OnCancelMode();
    void OnPaintMessage();
    bool OnSetCursor(HWND window, UINT hitTest); // true when it set the cursor

    // ---- Accessibility (accessible.cpp) ----
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    long AccessibleState() const; // STATE_SYSTEM_* bits
    // Raises the win events for a state or name that changed since the last call.
    void NotifyAccessibleChanges();
    void DoDefaultAction(); // what a click does, events included
    void ShowKeyboardFocus(bool show);
    bool accessibleKnown = false;
    long accessibleState = 0;
    std::string accessibleName;
    bool focusFromMouse = false;    // the focus came with a mouse press: no focus mark
    bool keyboardFocusMark = false; // kShowsFocus was set for the keyboard focus

    // ---- Option group and hover tracking (option_group.cpp, hover.cpp) ----
    bool OptionToggle(GroupAction action);
    void HoverCheck(UINT_PTR timerId);
    static void CALLBACK HoverTimerProc(HWND hwnd, UINT message, UINT_PTR timerId, DWORD time);

  protected:
    // Entry guard, the message's handler, then the win events of what it changed.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace butt
