// The control's window: the "Butt" class, the record's life, and the translation of window
// messages into the control's handlers. One window, one object: the object pointer rides on
// WM_NCCREATE into GWLP_USERDATA, and HandleMessage hands each message to a small handler.
#include "behaviour.h"
#include "butt_impl.h"

#include <windowsx.h>

#include <algorithm>
#include <cassert>
#include <mutex>
#include <set>

namespace butt {
namespace {

constexpr wchar_t kClassName[] = L"Butt";

// Every control record that exists right now. Addresses kept in window properties (option
// groups, the hover timer) are checked against it, so nothing reaches a control that ended.
// Controls of several UI threads share it, so it is only touched under its lock.
struct LiveSet {
    std::mutex lock;
    std::set<const Butt::Impl*> records;
};
LiveSet& LiveControls() {
    static LiveSet live;
    return live;
}

// The module this code is linked into, so that the class also works from inside a DLL.
HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

bool RegisterButtClass() {
    // Once per process, whichever thread makes the first control.
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        // Own DC: the control's hdc is one lasting handle, as hosts of such controls expect.
        windowClass.style = CS_DBLCLKS | CS_OWNDC;
        windowClass.lpfnWndProc = Butt::Impl::WindowProc;
        windowClass.hInstance = ThisModule();
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

// Mouse button state of a mouse message: 1 shift, 2 ctrl, 4 alt.
short MouseShift(WPARAM wParam) {
    short shift = 0;
    if (wParam & MK_SHIFT)
        shift |= 1;
    if (wParam & MK_CONTROL)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

short KeyShift() {
    short shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

// Buttons held during a mouse move: 1 left, 2 right, 4 middle.
short HeldButtons(WPARAM wParam) {
    short buttons = 0;
    if (wParam & MK_LBUTTON)
        buttons |= 1;
    if (wParam & MK_RBUTTON)
        buttons |= 2;
    if (wParam & MK_MBUTTON)
        buttons |= 4;
    return buttons;
}

// The system cursor of a MousePointer value (0 and unknown values: the class cursor).
LPCWSTR SystemCursor(long pointer) {
    switch (pointer) {
    case 1:
    case 4:
        return MAKEINTRESOURCEW(32512); // arrow
    case 2:
        return MAKEINTRESOURCEW(32515); // cross
    case 3:
        return MAKEINTRESOURCEW(32513); // I-beam
    case 5:
    case 15:
        return MAKEINTRESOURCEW(32646); // size all
    case 6:
        return MAKEINTRESOURCEW(32643); // size NE-SW
    case 7:
        return MAKEINTRESOURCEW(32645); // size N-S
    case 8:
        return MAKEINTRESOURCEW(32642); // size NW-SE
    case 9:
        return MAKEINTRESOURCEW(32644); // size W-E
    case 10:
        return MAKEINTRESOURCEW(32516); // up arrow
    case 11:
        return MAKEINTRESOURCEW(32514); // hourglass
    case 12:
        return MAKEINTRESOURCEW(32648); // no
    case 13:
        return MAKEINTRESOURCEW(32650); // arrow and hourglass
    case 14:
        return MAKEINTRESOURCEW(32651); // arrow and question mark
    default:
        return nullptr;
    }
}

} // namespace

Butt::Impl::Impl(Butt& o, ButtHost& h) : owner(o), host(h) {
    LiveSet& live = LiveControls();
    const std::lock_guard<std::mutex> hold(live.lock);
    live.records.insert(this);
}

Butt::Impl::~Impl() {
    Retire();
}

void Butt::Impl::Retire() {
    if (retired)
        return;
    retired = true;
    *alive = false;
    // A control, like its window, is used only on the thread that made it.
    assert(!hwnd || !IsWindow(hwnd) ||
           GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId());
    // WM_DESTROY runs Terminate, which leaves the option group (once).
    const HWND window = hwnd;
    if (window && IsWindow(window))
        DestroyWindow(window);
    if (!terminated)
        Terminate();
    // A window that outlives this call (DestroyWindow refuses another thread's window) must
    // not lead to the record, whose memory goes next.
    if (window && IsWindow(window) &&
        GetWindowLongPtrW(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    hwnd = nullptr;
    LiveSet& live = LiveControls();
    const std::lock_guard<std::mutex> hold(live.lock);
    live.records.erase(this);
}

Butt::Impl::Entry::Entry(Impl& impl) : impl_(impl) {
    assert(!impl.hwnd || GetWindowThreadProcessId(impl.hwnd, nullptr) == GetCurrentThreadId());
    ++impl_.entered;
}

Butt::Impl::Entry::~Entry() {
    // The owner went while this call was on the stack: the record was kept until now.
    if (--impl_.entered == 0 && impl_.orphaned)
        delete &impl_;
}

Butt::Impl* Butt::Impl::FromStoredAddress(HANDLE address) {
    const auto* candidate = static_cast<const Impl*>(address);
    LiveSet& live = LiveControls();
    const std::lock_guard<std::mutex> hold(live.lock);
    if (!candidate || !live.records.count(candidate))
        return nullptr;
    return const_cast<Impl*>(candidate);
}

bool Butt::Impl::CreateControlWindow(HWND parent, int id, RECT bounds) {
    if (!RegisterButtClass())
        return false;
    const int width = std::min<LONG>(bounds.right - bounds.left, kLargestSide);
    const int height = std::min<LONG>(bounds.bottom - bounds.top, kLargestSide);
    const HWND created = CreateWindowExW(
        0, kClassName, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, bounds.left, bounds.top, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), this);
    return created != nullptr;
}

LRESULT CALLBACK Butt::Impl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* impl = static_cast<Impl*>(create->lpCreateParams);
        impl->hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
    }
    auto* impl = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!impl)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        impl->hwnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // A handler may delete the control while this message is handled: Entry keeps the
    // record until the outermost message of the control returns.
    const Entry entry(*impl);
    const LRESULT result = impl->HandleMessage(message, wParam, lParam);
    impl->NotifyAccessibleChanges();
    return result;
}

float Butt::Impl::ScaleWidth() const {
    RECT client{};
    if (!hwnd || !GetClientRect(hwnd, &client))
        return 0;
    return static_cast<float>(client.right - client.left);
}

float Butt::Impl::ScaleHeight() const {
    RECT client{};
    if (!hwnd || !GetClientRect(hwnd, &client))
        return 0;
    return static_cast<float>(client.bottom - client.top);
}

bool Butt::Impl::PointerOverControl() const {
    POINT cursor{};
    if (!hwnd || !GetCursorPos(&cursor))
        return false;
    return WindowFromPoint(cursor) == hwnd;
}

bool Butt::Impl::InsideControl(POINT client) const {
    RECT area{};
    if (!hwnd || !GetClientRect(hwnd, &area) || !PtInRect(&area, client))
        return false;
    // A shaped control is only where its outline is.
    const tv::UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    if (outline && GetWindowRgn(hwnd, outline.get()) != ERROR) {
        POINT windowPoint = client;
        MapWindowPoints(hwnd, nullptr, &windowPoint, 1);
        RECT frame{};
        GetWindowRect(hwnd, &frame);
        return PtInRegion(outline.get(), windowPoint.x - frame.left, windowPoint.y - frame.top);
    }
    return true;
}

namespace {

short ButtonOfMessage(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return 2;
    default:
        return 4;
    }
}

} // namespace

LRESULT Butt::Impl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = hwnd;
    const std::shared_ptr<bool> living = alive;
    const auto x = static_cast<float>(GET_X_LPARAM(lParam));
    const auto y = static_cast<float>(GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const short button = ButtonOfMessage(message);
        if (button == 1 && GetFocus() != window) {
            focusFromMouse = true;
            SetFocus(window); // may raise events (got focus) that end the control
            if (!*living)
                return 0;
            focusFromMouse = false;
        }
        pressedHere |= button;
        afterDoubleClick = false;
        OnMouseDown(button, MouseShift(wParam), x, y);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const short button = ButtonOfMessage(message);
        // The host's click: a press and a release on the control, but not the release that
        // ends a double click, nor one after the press was cancelled.
        const bool click = (pressedHere & button) && !afterDoubleClick &&
                           InsideControl(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        pressedHere &= ~button;
        afterDoubleClick = false;
        const bool valueBefore = value;
        OnMouseUp(button, MouseShift(wParam), x, y);
        if (click && *living)
            OnClick();
        // Check and option buttons leave their redraw to the click's change of Value. When
        // none came (released away, the release of a double click, an option button already
        // selected) the released look is drawn here, so the button never stays down.
        if (*living && button == 1 && mode != Mode::Command && value == valueBefore)
            DrawButton();
        return 0;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const short button = ButtonOfMessage(message);
        if (button == 1 && GetFocus() != window) {
            focusFromMouse = true;
            SetFocus(window);
            if (!*living)
                return 0;
            focusFromMouse = false;
        }
        pressedHere |= button;
        afterDoubleClick = true;
        OnDoubleClick();
        return 0;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(HeldButtons(wParam), MouseShift(wParam), x, y);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<short>(wParam), KeyShift());
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<short>(wParam), KeyShift());
        return 0;
    case WM_CHAR:
        OnKeyPress(static_cast<short>(wParam));
        return 0;
    case WM_SYSCHAR:
        // Alt+key while a control has the focus: the container's control with that key.
        if (OnSysChar(static_cast<int>(wParam)))
            return 0;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
        ShowKeyboardFocus(!focusFromMouse);
        OnGotFocus();
        return 0;
    case WM_KILLFOCUS:
        ShowKeyboardFocus(false);
        // A button that loses the focus while held (space bar or mouse) lets go, as the
        // system's buttons do.
        if (StateFlags & kButtonHeld) {
            if (GetCapture() == window)
                ReleaseCapture();
            if (*living)
                OnCaptureLost();
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window)
            OnCaptureLost();
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == window)
            ReleaseCapture();
        if (*living)
            OnCaptureLost();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            OnShow();
        return 0;
    case WM_WINDOWPOSCHANGING:
        LimitSize(*reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_SIZE:
        OnResize();
        return 0;
    case WM_ENABLE:
        OnEnable(wParam != 0);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        BeginPaint(window, &paint);
        OnPaint();
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the redraw covers every pixel
    case WM_PRINTCLIENT:
        PrintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window) {
            if (mousePointer == 99 && mouseIcon) {
                SetCursor(static_cast<HCURSOR>(mouseIcon->handle()));
                return TRUE;
            }
            if (const LPCWSTR cursor = SystemCursor(mousePointer)) {
                SetCursor(LoadCursorW(nullptr, cursor));
                return TRUE;
            }
        }
        break;
    case WM_DESTROY:
        Terminate();
        return 0;
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case kDefaultActionMessage:
        DoDefaultAction();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace butt
