// The control's window: the "Butt" class, the record's life, and the translation of window
// messages into the control's handlers. One window, one object (tv::WindowBase): the switch
// only unpacks each message's arguments and calls its handler.
#include "control_record.h"

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
    const HWND window = hWnd();
    // A control, like its window, is used only on the thread that made it.
    assert(!window || !IsWindow(window) ||
           GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId());
    // WM_DESTROY runs Terminate, which leaves the option group (once).
    if (window && IsWindow(window))
        DestroyWindow(window);
    if (!terminated)
        Terminate();
    // A window that outlives this call (DestroyWindow refuses another thread's window) must
    // not lead to the record, whose memory goes next.
    Detach();
    LiveSet& live = LiveControls();
    const std::lock_guard<std::mutex> hold(live.lock);
    live.records.erase(this);
}

Butt::Impl::Entry::Entry(Impl& impl) : impl_(impl) {
    assert(!impl.hWnd() || GetWindowThreadProcessId(impl.hWnd(), nullptr) == GetCurrentThreadId());
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

Butt::Impl* Butt::Impl::FromWindowHandle(HWND window) {
    // The window's object is a record only while the record lives.
    return FromStoredAddress(static_cast<Impl*>(ObjectOf(window)));
}

bool Butt::Impl::CreateControlWindow(HWND parent, int id, RECT bounds) {
    if (!RegisterButtClass())
        return false;
    const int width = std::min<LONG>(bounds.right - bounds.left, kLargestSide);
    const int height = std::min<LONG>(bounds.bottom - bounds.top, kLargestSide);
    tv::WindowBase* const self = this;
    const HWND created = CreateWindowExW(
        0, kClassName, L"", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, bounds.left, bounds.top, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), self);
    return created != nullptr;
}

bool Butt::Impl::PointerOverControl() const {
    POINT cursor{};
    if (!hWnd() || !GetCursorPos(&cursor))
        return false;
    return WindowFromPoint(cursor) == hWnd();
}

bool Butt::Impl::InsideControl(POINT client) const {
    RECT area{};
    if (!hWnd() || !GetClientRect(hWnd(), &area) || !PtInRect(&area, client))
        return false;
    // A shaped control is only where its outline is.
    const tv::UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    if (outline && GetWindowRgn(hWnd(), outline.get()) != ERROR) {
        POINT windowPoint = client;
        MapWindowPoints(hWnd(), nullptr, &windowPoint, 1);
        RECT frame{};
        GetWindowRect(hWnd(), &frame);
        return PtInRegion(outline.get(), windowPoint.x - frame.left, windowPoint.y - frame.top);
    }
    return true;
}

LRESULT Butt::Impl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A handler may delete the control while this message is handled: Entry keeps the
    // record until the outermost message of the control returns.
    const Entry entry(*this);
    const LRESULT result = Dispatch(message, wParam, lParam);
    NotifyAccessibleChanges();
    return result;
}

LRESULT Butt::Impl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = hWnd(); // the record may be gone by the end of a handler
    const auto x = static_cast<float>(GET_X_LPARAM(lParam));
    const auto y = static_cast<float>(GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_NCCREATE:
        OnCreateWindow();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnButtonDown(ButtonOfMessage(message), MouseShift(wParam), x, y);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnButtonUp(ButtonOfMessage(message), MouseShift(wParam), x, y,
                   POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        OnButtonDoubleClick(ButtonOfMessage(message));
        return 0;
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
        OnSetFocus();
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CANCELMODE:
        OnCancelMode();
        return 0;
    case WM_SHOWWINDOW:
        OnShow(wParam != 0);
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
    case WM_PAINT:
        OnPaintMessage();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the redraw covers every pixel
    case WM_PRINTCLIENT:
        canvas.PrintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
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
