// Hover tracking with the real pointer, and real mouse input through the system's queue.
#include "fake_system.h"
#include "harness.h"
#include "test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace butt::test {
namespace {

class HoverTest : public ::testing::Test {
  protected:
    HoverTest() {
        SetCursorPos(5, 5);
        Pump(100);
        control = Butt::Create(TheForm().hwnd(), 500, {20, 20, 120, 50}, host);
        Record(*control, log);
    }

    std::size_t Count(const std::string& event) const {
        return static_cast<std::size_t>(std::count(log.begin(), log.end(), event));
    }
    // Pumps until `event` has been logged `times` times or `limit` ms passed; the time taken.
    DWORD WaitFor(const std::string& event, std::size_t times, DWORD limit) {
        const DWORD start = GetTickCount();
        while (Count(event) < times && GetTickCount() - start < limit)
            Pump(5);
        return GetTickCount() - start;
    }

    tv::test::FakeSystem system;
    RecordingHost host;
    std::unique_ptr<Butt> control;
    std::vector<std::string> log;
};

TEST_F(HoverTest, PointerEntersOnceAndLeavesWithinTheTimerPeriod) {
    const POINT inside = OnScreen(*control, 50, 15);
    SetCursorPos(inside.x, inside.y);
    WaitFor("MouseOnButton 1", 1, 1000);
    Pump(100);
    ASSERT_EQ(Count("MouseOnButton 1"), 1u) << Joined(log);
    EXPECT_EQ(log.front(), "MouseOnButton 1");
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1].rfind("MouseMove 0 0 ", 0), 0u) << log[1];
    Butt::Impl& impl = control->impl();
    EXPECT_TRUE(impl.IsHovering);
    EXPECT_TRUE(impl.StateFlags & kPointerInside);
    EXPECT_EQ(GetPropA(control->hWnd(), "bt_ClassID"), static_cast<HANDLE>(&impl));
    EXPECT_EQ(GetPropA(control->hWnd(), "bt_TimerID"), reinterpret_cast<HANDLE>(237));

    // Further moves over the button only move.
    SetCursorPos(inside.x + 10, inside.y + 3);
    Pump(150);
    EXPECT_EQ(Count("MouseOnButton 1"), 1u);
    EXPECT_EQ(log.back().rfind("MouseMove", 0), 0u);

    // Away (still over the form): the timer notices within its period.
    const POINT away = OnScreen(*control, 200, 150);
    SetCursorPos(away.x, away.y);
    const DWORD took = WaitFor("MouseOnButton 0", 1, 1000);
    ASSERT_EQ(Count("MouseOnButton 0"), 1u) << Joined(log);
    std::printf("hover end noticed after %lu ms\n", static_cast<unsigned long>(took));
    EXPECT_LE(took, 150u);
    EXPECT_FALSE(impl.IsHovering);
    EXPECT_FALSE(impl.StateFlags & kPointerInside);
    // No timer runs while the pointer is away.
    EXPECT_FALSE(KillTimer(control->hWnd(), 237));
    Pump(150);
    EXPECT_EQ(Count("MouseOnButton 0"), 1u);

    // And in again: a new hover.
    SetCursorPos(inside.x, inside.y);
    WaitFor("MouseOnButton 1", 2, 1000);
    EXPECT_EQ(Count("MouseOnButton 1"), 2u);
}

TEST_F(HoverTest, EndingWhileHoveredStopsTheTimerAndReachesNothing) {
    const POINT inside = OnScreen(*control, 50, 15);
    SetCursorPos(inside.x, inside.y);
    WaitFor("MouseOnButton 1", 1, 1000);
    ASSERT_TRUE(control->impl().IsHovering);
    const HWND window = control->hWnd();
    control.reset();
    EXPECT_FALSE(IsWindow(window));
    log.clear();
    SetCursorPos(5, 5);
    Pump(200);
    EXPECT_TRUE(log.empty()) << Joined(log);

    // A timer whose properties name no live control stops itself and touches nothing.
    const HWND form = TheForm().hwnd();
    static int notAControl = 0;
    SetPropA(form, "bt_ClassID", &notAControl);
    SetPropA(form, "bt_TimerID", reinterpret_cast<HANDLE>(237));
    SetTimer(form, 237, 10, Butt::Impl::HoverTimerProc);
    Pump(100);
    EXPECT_FALSE(KillTimer(form, 237));
    RemovePropA(form, "bt_ClassID");
    RemovePropA(form, "bt_TimerID");
}

TEST_F(HoverTest, RealClicksAndDoubleClicksThroughTheInputQueue) {
    const POINT inside = OnScreen(*control, 50, 15);
    SetCursorPos(inside.x, inside.y);
    WaitFor("MouseOnButton 1", 1, 1000);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &click[0], sizeof(INPUT));
    WaitFor("MouseDown 1 0 50 15", 1, 1000);
    EXPECT_TRUE(control->impl().LooksPressed()); // held while the pointer is over it
    EXPECT_EQ(GetCapture(), control->hWnd());
    SendInput(1, &click[1], sizeof(INPUT));
    WaitFor("Click", 1, 1000);
    EXPECT_FALSE(control->impl().LooksPressed());
    EXPECT_EQ(Count("MouseDown 1 0 50 15"), 1u) << Joined(log);
    EXPECT_EQ(Count("MouseUp 1 0 50 15"), 1u);
    EXPECT_EQ(Count("Click"), 1u);

    // The second click right after is a double click: one DoubleClick, no second Click.
    log.clear();
    SendInput(2, click, sizeof(INPUT));
    WaitFor("DoubleClick 1", 1, 1000);
    Pump(100);
    EXPECT_EQ(Count("DoubleClick 1"), 1u) << Joined(log);
    EXPECT_EQ(Count("Click"), 0u) << Joined(log);
    EXPECT_EQ(GetCapture(), nullptr);
    Pump(600); // past the double-click time, so the next test starts afresh
}

// The control's picture as its host prints it (WM_PRINTCLIENT), pixel by pixel.
std::vector<std::uint32_t> Printed(const Butt& control) {
    RECT client{};
    GetClientRect(control.hWnd(), &client);
    return tv::test::PrintClient(control.hWnd(), client.right, client.bottom);
}

TEST_F(HoverTest, CheckBoxReleasedAwayIsNotLeftDrawnDown) {
    const POINT inside = OnScreen(*control, 50, 15);
    SetCursorPos(inside.x, inside.y);
    WaitFor("MouseOnButton 1", 1, 1000);
    control->SetMode(1);
    const auto hover = Printed(*control);
    Mouse(*control, WM_LBUTTONDOWN, 50, 15, MK_LBUTTON);
    ASSERT_NE(Printed(*control), hover);    // the pressed look
    Mouse(*control, WM_LBUTTONUP, 500, 15); // released away: no click to redraw it
    EXPECT_FALSE(control->Value());
    EXPECT_EQ(Printed(*control), hover);
}

} // namespace
} // namespace butt::test
