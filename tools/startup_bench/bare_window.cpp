// The yardsticks for the tool's start-up time: a bare Win32 program that only shows a window,
// and with --fade the same window faded in as the tool fades in (0 to 240 by 4, the pending
// messages pumped before each step).
#include "transparency.h"

#include <windows.h>

#include <cwchar>

namespace {
LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"TvBareWindow";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, L"TvBareWindow", L"TvBareWindow", WS_POPUP, 100, 100,
                                        718, 406, nullptr, nullptr, instance, nullptr);
    if (std::wcsstr(commandLine, L"--fade"))
        tv::Fade_In(window, 240, 4);
    else
        ShowWindow(window, show == SW_HIDE ? SW_SHOW : show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
