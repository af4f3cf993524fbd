// Fades and layered styles on real windows. Each fade step sets the layered alpha, a style
// change the window hears: it notes the alpha, whether it is enabled, and how many of its
// posted notes were dispatched since, which shows the pump that runs before each step.
#include "skin_support.h"
#include "test_windows.h"
#include "transparency.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

constexpr UINT kStepSeen = WM_APP + 1;

class WatchedWindow {
  public:
    WatchedWindow() {
        window = CreateWindowExW(0, test::TestWindowClass(L"TvFadeTestWindow", Procedure), L"fade",
                                 WS_POPUP, 10, 10, 120, 80, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~WatchedWindow() { DestroyWindow(window); }
    // "alpha/dispatched" at each step, space separated; "d" marks a step seen while disabled.
    std::string steps;
    int dispatched = 0;
    bool repost = false; // each note posts the next
    HWND window = nullptr;

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WatchedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_STYLECHANGED && wParam == static_cast<WPARAM>(GWL_EXSTYLE)) {
            self->steps += std::to_string(Get_Alpha(hwnd)) + "/" +
                           std::to_string(self->dispatched) + (IsWindowEnabled(hwnd) ? " " : "d ");
            PostMessageW(hwnd, kStepSeen, 0, 0);
        } else if (self && message == kStepSeen && ++self->dispatched && self->repost) {
            PostMessageW(hwnd, kStepSeen, 0, 0);
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

TEST(Fades, StepFromTheCurrentAlphaToTheTargetWithAPumpBeforeEachStep) {
    const struct {
        const char* what;
        long start; // -1: not layered yet, which makes the window layered first
        bool fadeIn;
        BYTE target;
        const char* steps; // steps by 4
    } cases[] = {
        {"in to 10: the last step is clamped", -1, true, 10, "-1/0 0/1d 4/2d 8/3d "},
        {"out to 0 hides", 12, false, 0, "12/0d 8/1d 4/2d "},
        {"out from not layered starts at 255", -1, false, 247, "-1/0 255/1d 251/2d "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WatchedWindow watched;
        if (c.start >= 0) {
            Set_Alpha(watched.window, static_cast<BYTE>(c.start));
            ShowWindow(watched.window, SW_SHOWNA);
            PumpPendingMessages();
            watched.steps.clear();
            watched.dispatched = 0;
        }
        EXPECT_TRUE(c.fadeIn ? Fade_In(watched.window, c.target, 4)
                             : Fade_Out(watched.window, c.target, 4));
        EXPECT_EQ(watched.steps, c.steps);
        EXPECT_EQ(Get_Alpha(watched.window), c.target);
        EXPECT_EQ(IsWindowVisible(watched.window) != FALSE, c.target != 0) << "out to 0 hides";
        EXPECT_TRUE(IsWindowEnabled(watched.window));
        EXPECT_TRUE(SkinSupport().Check_isTransparent(watched.window));
    }
}

TEST(Fades, RefuseWhatTheyCannotDoAndKeepADisabledWindowDisabled) {
    WatchedWindow watched;
    ASSERT_TRUE(Set_Alpha(watched.window, 250));
    EXPECT_FALSE(Fade_In(watched.window, 240, 4)) << "already more opaque than the target";
    EXPECT_TRUE(!IsWindowVisible(watched.window) && Get_Alpha(watched.window) == 250);
    EXPECT_FALSE(Fade_Out(watched.window, 251, 4)) << "already less opaque than the target";
    EXPECT_FALSE(Fade_In(watched.window, 255, 0.0f)) << "a step that does not move never ends";
    EnableWindow(watched.window, FALSE);
    EXPECT_TRUE(Fade_In(watched.window, 254, 8) && Fade_Out(watched.window, 0, 100));
    EXPECT_FALSE(IsWindowEnabled(watched.window));

    const HWND gone = WatchedWindow().window; // destroyed with its owner at once
    EXPECT_FALSE(Fade_In(gone, 240, 4) || Set_Alpha(gone, 10));
    EXPECT_EQ(Get_LayeredFlags(gone) + Get_Alpha(gone), -2);

    // The layered style by hand: range checked, and taken away again. Each step reads
    // "code transparent? alpha".
    WatchedWindow plain;
    SkinSupport skin;
    const auto step = [&](HWND window, int code) {
        return std::to_string(code) + (skin.Check_isTransparent(window) ? "t" : "o") +
               std::to_string(Get_Alpha(window)) + " ";
    };
    EXPECT_EQ(Get_LayeredFlags(plain.window), 0);
    std::string steps;
    for (short alpha : {short(256), short(-1), short(0), short(255)})
        steps += step(plain.window, skin.Make_Transparent(plain.window, alpha));
    steps +=
        step(plain.window, skin.Make_Opaque(plain.window)) + step(gone, skin.Make_Opaque(gone));
    short half = 128;
    EXPECT_EQ(steps + step(gone, skin.Make_Transparent(gone, half)),
              "1o-1 1o-1 0t0 0t255 0o-1 2o-1 2o-1 ");
}

TEST(Fades, APumpLeavesTheQuitForItsLoopAndEndsBesideAHandlerThatKeepsPosting) {
    PostQuitMessage(7);
    PumpPendingMessages();
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);

    WatchedWindow reposting;
    reposting.repost = true;
    PostMessageW(reposting.window, kStepSeen, 0, 0);
    PumpPendingMessages();
    EXPECT_EQ(reposting.dispatched, 256);
    PeekMessageW(&message, nullptr, kStepSeen, kStepSeen, PM_REMOVE);
}

} // namespace
} // namespace tv
