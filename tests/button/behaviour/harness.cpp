#include "harness.h"

#include <cstdio>

namespace butt::test {

namespace {
constexpr wchar_t kFormClass[] = L"ButtBehaviourTestForm";
}

Form::Form() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW form{};
        form.lpfnWndProc = Proc;
        form.hInstance = GetModuleHandleW(nullptr);
        form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        form.lpszClassName = kFormClass;
        registered = RegisterClassW(&form) != 0;
    }
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kFormClass, L"Behaviour", WS_POPUP | WS_VISIBLE, 100,
                            100, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    SetForegroundWindow(hwnd_);
    Pump(50);
}

Form::~Form() {
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

LRESULT CALLBACK Form::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form && message == WM_KEYDOWN) {
        form->keys.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

Form& TheForm() {
    // One form for the whole run: hiding an active window waits two seconds for a window
    // manager that a virtual display does not have.
    static Form form;
    form.keys.clear();
    return form;
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

namespace {
std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}
} // namespace

void Record(Butt& control, std::vector<std::string>& log) {
    ButtEvents& events = control.Events();
    const auto mouse = [&log](const char* name) {
        return [&log, name](short& button, short& shift, float& x, float& y) {
            log.push_back(std::string(name) + " " + std::to_string(button) + " " +
                          std::to_string(shift) + " " + Number(x) + " " + Number(y));
        };
    };
    events.MouseDown = mouse("MouseDown");
    events.MouseUp = mouse("MouseUp");
    events.MouseMove = mouse("MouseMove");
    events.KeyDown = [&log](short& key, short& shift) {
        log.push_back("KeyDown " + std::to_string(key) + " " + std::to_string(shift));
    };
    events.KeyUp = [&log](short& key, short& shift) {
        log.push_back("KeyUp " + std::to_string(key) + " " + std::to_string(shift));
    };
    events.KeyPress = [&log](short& key) { log.push_back("KeyPress " + std::to_string(key)); };
    events.MouseOnButton = [&log](bool& on) {
        log.push_back(std::string("MouseOnButton ") + (on ? "1" : "0"));
    };
    events.Click = [&log] { log.push_back("Click"); };
    events.DoubleClick = [&log](short& button) {
        log.push_back("DoubleClick " + std::to_string(button));
    };
}

void Mouse(const Butt& control, UINT message, int x, int y, WPARAM keys) {
    SendMessageW(control.hWnd(), message, keys, MAKELPARAM(x, y));
}

void Key(const Butt& control, UINT message, WPARAM key) {
    SendMessageW(control.hWnd(), message, key, message == WM_KEYUP ? 0xC0000001 : 1);
}

POINT OnScreen(const Butt& control, int x, int y) {
    POINT point{x, y};
    ClientToScreen(control.hWnd(), &point);
    return point;
}

std::string Joined(const std::vector<std::string>& log) {
    std::string text;
    for (const auto& entry : log)
        text += (text.empty() ? "" : " | ") + entry;
    return text;
}

} // namespace butt::test
