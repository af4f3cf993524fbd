// The tool's start-up from the inside, in this process: the time from the program's start to
// the window made (pictures, fonts, controls, APPLY loaded), to its first paint, and to the
// end of its fade-in, each the median of several starts. Run on demand:
//   tools/wine-env.sh --state $PWD/build/win64/wine run build/win64/bin/startup_phases.exe
#include "main_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point start;
double shown = -1;
double firstPaint = -1;

double Since() {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The fade shows the window once everything is made: the window hears it as WM_SHOWWINDOW.
LRESULT CALLBACK SeeShow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SHOWWINDOW && shown < 0 &&
        !GetParent(message->hwnd))
        shown = Since();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The first WM_PAINT that the fade's pump takes from the queue.
LRESULT CALLBACK SeePaint(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && message->message == WM_PAINT && firstPaint < 0 &&
        !GetParent(message->hwnd))
        firstPaint = Since();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    const HHOOK showHook =
        SetWindowsHookExW(WH_CALLWNDPROC, SeeShow, nullptr, GetCurrentThreadId());
    const HHOOK paintHook =
        SetWindowsHookExW(WH_GETMESSAGE, SeePaint, nullptr, GetCurrentThreadId());
    std::vector<double> made, painted, faded;
    for (int run = 0; run < 7; ++run) {
        start = Clock::now();
        shown = firstPaint = -1;
        tv::MainWindowOptions options;
        options.quitOnDestroy = false;
        std::string error;
        // Create makes the window and fades it in; the fade's first step is timed by the
        // window's first paint, which the fade's pump delivers.
        auto window = tv::MainWindow::Create(options, error);
        if (!window) {
            std::printf("startup_phases: %s\n", error.c_str());
            return 1;
        }
        faded.push_back(Since());
        made.push_back(shown);
        painted.push_back(firstPaint);
        window.reset();
    }
    UnhookWindowsHookEx(paintHook);
    UnhookWindowsHookEx(showHook);
    std::printf("start to window made:   median %7.1f ms\n", Median(made));
    std::printf("start to first paint:   median %7.1f ms\n", Median(painted));
    std::printf("start to faded in:      median %7.1f ms\n", Median(faded));
    return 0;
}
