// Times DrawButton, the control's whole redraw (paint into the back buffer, one copy to the
// window), for the program's Apply button and for a large gradient button, and prints
// redraws per second. The yardstick, measured in the same run, is the floor of any redraw:
// one fill of a buffer of the same size and one copy of it to the same window.
#include "stored_apply.h"
#include "control_record.h"

#include <cstdio>
#include <functional>
#include <memory>

namespace {

using butt::Butt;

class QuietHost : public butt::ButtHost {
  public:
    int ShowMessage(const std::string& text, const std::string&, UINT) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return IDOK;
    }
};

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// Runs `step` for about `budget` seconds after a short warm-up; returns runs per second.
double Rate(const std::function<void()>& step, double budget = 1.5) {
    for (int i = 0; i < 20; ++i)
        step();
    long runs = 0;
    const double start = Seconds();
    double elapsed = 0;
    while (elapsed < budget) {
        for (int i = 0; i < 20; ++i)
            step();
        runs += 20;
        elapsed = Seconds() - start;
    }
    GdiFlush();
    return static_cast<double>(runs) / elapsed;
}

// The floor of a redraw of this size: fill a memory bitmap, copy it to the window.
double FloorRate(HWND window, int width, int height) {
    const tv::WindowDc windowDc(window);
    const tv::UniqueMemoryDc buffer(CreateCompatibleDC(windowDc.get()));
    const tv::UniqueBitmap bitmap(CreateCompatibleBitmap(windowDc.get(), width, height));
    const tv::ScopedSelect select(buffer.get(), bitmap.get());
    const tv::UniqueBrush brush(CreateSolidBrush(0x404040));
    const RECT all{0, 0, width, height};
    return Rate([&] {
        FillRect(buffer.get(), &all, brush.get());
        BitBlt(windowDc.get(), 0, 0, width, height, buffer.get(), 0, 0, SRCCOPY);
    });
}

void Report(const char* name, Butt& control) {
    Butt::Impl& impl = control.impl();
    const int width = static_cast<int>(impl.canvas.ScaleWidth());
    const int height = static_cast<int>(impl.canvas.ScaleHeight());
    impl.canvas.delayDrawing = false;
    const double redraws = Rate([&] { impl.DrawButton(); });
    const double floor = FloorRate(impl.hWnd(), width, height);
    std::printf("%-36s %4d x %-4d %9.0f redraws/s   (fill+copy floor %9.0f/s, ratio %.1fx)\n", name,
                width, height, redraws, floor, floor / redraws);
}

} // namespace

int main() {
    const HWND parent = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 600,
                                        300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    QuietHost host;

    // The program's own button, as the program stores it.
    std::string error;
    auto apply = tools::LoadStoredApply(parent, host, RECT{10, 10, 10, 10}, TV_APPLY_BAG, error);
    if (!apply) {
        std::fprintf(stderr, "no Apply button: %s\n", error.c_str());
        return 1;
    }
    Report("Apply (style 2, gradient 4)", *apply);
    apply->impl().canvas.look.StateFlags = butt::kPointerInside;
    apply->impl().canvas.look.IsHovering = true;
    Report("Apply, hovered", *apply);
    apply.reset();

    // A large gradient button: wider than a quarter of the screen, so two-pixel bands.
    auto large = Butt::Create(parent, 2, RECT{10, 50, 410, 170}, host);
    large->SetCaption("A large gradient button");
    large->SetButtonStyle(2);
    large->SetBackColor(0x00804020);
    large->SetGradientColor(0x00F0D0A0);
    large->SetGradientMode(1);
    Report("400 x 120, style 2, gradient 1", *large);
    large->SetGradientMode(0);
    Report("400 x 120, style 2, shaded, no gradient", *large);
    large.reset();

    DestroyWindow(parent);
    return 0;
}
