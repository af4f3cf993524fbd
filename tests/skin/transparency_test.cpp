// Fades and layered styles on real windows; the alpha sequence is watched from inside the
// message pump that the fade runs.
#include "skin_support.h"
#include "test_windows.h"
#include "transparency.h"

#include <gtest/gtest.h>

#include <vector>

namespace tv {
namespace {

constexpr UINT kWatch = WM_APP + 1;

// A top-level window whose procedure records the window's alpha each time the fade pumps
// its messages, by keeping one watch message in the queue.
class WatchedWindow {
  public:
    WatchedWindow() {
        window = CreateWindowExW(0, test::TestWindowClass(L"TvFadeTestWindow", Procedure), L"fade",
                                 WS_POPUP, 10, 10, 120, 80, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), this);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~WatchedWindow() { DestroyWindow(window); }

    void StartWatching() {
        watching = true;
        PostMessageW(window, kWatch, 0, 0);
    }
    // The alphas seen by the pump, each change once.
    std::vector<long> DistinctSeen() const {
        std::vector<long> distinct;
        for (const long alpha : seen)
            if (distinct.empty() || distinct.back() != alpha)
                distinct.push_back(alpha);
        return distinct;
    }

    HWND window = nullptr;
    bool watching = false;
    std::vector<long> seen;
    std::vector<bool> enabledSeen;

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WatchedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == kWatch && self && self->watching) {
            self->seen.push_back(Get_Alpha(hwnd));
            self->enabledSeen.push_back(IsWindowEnabled(hwnd) != FALSE);
            PostMessageW(hwnd, kWatch, 0, 0);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

std::vector<long> Steps(long from, long to, long by) {
    std::vector<long> steps;
    for (long alpha = from; by > 0 ? alpha <= to : alpha >= to; alpha += by)
        steps.push_back(alpha);
    return steps;
}

TEST(FadeIn, ShowsTheWindowAndSteps0To240By4InsideThePump) {
    WatchedWindow watched;
    ASSERT_FALSE(IsWindowVisible(watched.window));
    watched.StartWatching();
    EXPECT_TRUE(Fade_In(watched.window, 240, 4));
    watched.watching = false;

    EXPECT_TRUE(IsWindowVisible(watched.window));
    EXPECT_EQ(240, Get_Alpha(watched.window));
    // Each of the 60 steps is preceded by one pump: the pump sees 0, 4, ..., 236.
    EXPECT_EQ(Steps(0, 236, 4), watched.DistinctSeen());
    for (const bool enabled : watched.enabledSeen)
        EXPECT_FALSE(enabled) << "the window is disabled while it fades";
    EXPECT_TRUE(IsWindowEnabled(watched.window));
    EXPECT_TRUE(SkinSupport().Check_isTransparent(watched.window));
}

TEST(FadeIn, ClampsTheLastStepToTheTarget) {
    WatchedWindow watched;
    watched.StartWatching();
    EXPECT_TRUE(Fade_In(watched.window, 10, 4));
    PumpPendingMessages(); // see the final alpha too
    watched.watching = false;
    EXPECT_EQ((std::vector<long>{0, 4, 8, 10}), watched.DistinctSeen());
}

TEST(FadeIn, RoundsHalvesToEven) {
    WatchedWindow watched;
    watched.StartWatching();
    EXPECT_TRUE(Fade_In(watched.window, 5, 2.5f));
    PumpPendingMessages();
    watched.watching = false;
    // 2.5 rounds to 2 and 5 stays 5.
    EXPECT_EQ((std::vector<long>{0, 2, 5}), watched.DistinctSeen());
}

TEST(FadeIn, RefusesWhenAlreadyMoreOpaqueThanTheTarget) {
    WatchedWindow watched;
    ASSERT_TRUE(Set_Alpha(watched.window, 250));
    EXPECT_FALSE(Fade_In(watched.window, 240, 4));
    EXPECT_FALSE(IsWindowVisible(watched.window));
    EXPECT_EQ(250, Get_Alpha(watched.window));
}

TEST(FadeOut, ToZeroHidesAndToAHigherTargetStaysVisible) {
    WatchedWindow watched;
    ASSERT_TRUE(Fade_In(watched.window, 240, 4));
    watched.StartWatching();
    EXPECT_TRUE(Fade_Out(watched.window, 100, 4));
    watched.watching = false;
    EXPECT_EQ(100, Get_Alpha(watched.window));
    EXPECT_TRUE(IsWindowVisible(watched.window));
    EXPECT_EQ(Steps(240, 104, -4), watched.DistinctSeen());

    EXPECT_TRUE(Fade_Out(watched.window, 0, 4));
    EXPECT_EQ(0, Get_Alpha(watched.window));
    EXPECT_FALSE(IsWindowVisible(watched.window));
    EXPECT_FALSE(Fade_Out(watched.window, 10, 4)) << "already less opaque than the target";
}

TEST(FadeOut, AWindowThatIsNotLayeredStartsOpaque) {
    WatchedWindow watched;
    EXPECT_EQ(0, Get_LayeredFlags(watched.window));
    EXPECT_EQ(-1, Get_Alpha(watched.window));
    watched.StartWatching();
    EXPECT_TRUE(Fade_Out(watched.window, 247, 4));
    PumpPendingMessages();
    watched.watching = false;
    EXPECT_EQ((std::vector<long>{255, 251, 247}), watched.DistinctSeen());
}

TEST(Fades, KeepADisabledWindowDisabled) {
    WatchedWindow watched;
    EnableWindow(watched.window, FALSE);
    EXPECT_TRUE(Fade_In(watched.window, 40, 8));
    EXPECT_FALSE(IsWindowEnabled(watched.window));
    EXPECT_TRUE(Fade_Out(watched.window, 0, 8));
    EXPECT_FALSE(IsWindowEnabled(watched.window));
}

TEST(Fades, FailSafelyOnAGoneWindowOrAStepThatDoesNotMove) {
    WatchedWindow watched;
    EXPECT_FALSE(Fade_In(watched.window, 240, 0.0f)) << "a zero step would never end";
    EXPECT_FALSE(Fade_Out(watched.window, 0, -4.0f));
    const HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(Fade_In(gone, 240, 4));
    EXPECT_EQ(-1, Get_LayeredFlags(gone));
    EXPECT_EQ(-1, Get_Alpha(gone));
    EXPECT_FALSE(Set_Alpha(gone, 10));
}

TEST(SkinSupportLayers, MakeTransparentChecksTheRangeAndMakeOpaqueClearsTheStyle) {
    WatchedWindow watched;
    SkinSupport skin;
    for (short outOfRange : {short(256), short(-1)}) {
        EXPECT_EQ(1, skin.Make_Transparent(watched.window, outOfRange));
        EXPECT_FALSE(skin.Check_isTransparent(watched.window));
    }
    short zero = 0;
    EXPECT_EQ(0, skin.Make_Transparent(watched.window, zero));
    EXPECT_TRUE(skin.Check_isTransparent(watched.window));
    EXPECT_EQ(0, Get_Alpha(watched.window));
    EXPECT_EQ(0, skin.Make_Opaque(watched.window));
    EXPECT_FALSE(skin.Check_isTransparent(watched.window));
}

} // namespace
} // namespace tv
