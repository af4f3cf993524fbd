// Mouse, keyboard and focus on a real control: the looks it takes and the events it raises,
// in their order.
#include "fake_system.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace butt::test {
namespace {

class InputTest : public ::testing::Test {
  protected:
    InputTest() {
        SetFocus(form.hwnd());
        SetCursorPos(5, 5); // off the form: no hover unless a test asks for it
        Pump(30);
    }

    Butt& Make(long mode = 0, RECT bounds = {20, 20, 120, 50}) {
        controls.push_back(
            Butt::Create(form.hwnd(), 100 + static_cast<int>(controls.size()), bounds, host));
        Butt& control = *controls.back();
        control.SetMode(mode);
        Record(control, log);
        host.changed.clear();
        return control;
    }

    // The left press a double click reports, at the pointer's position.
    static std::string PointerPress(const Butt& control) {
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(control.hWnd(), &pointer);
        return "MouseDown 1 0 " + std::to_string(pointer.x) + " " + std::to_string(pointer.y);
    }

    // The log without pointer moves, which the window system may add at any time.
    std::string Events() const {
        std::vector<std::string> kept;
        std::copy_if(log.begin(), log.end(), std::back_inserter(kept), [](const std::string& e) {
            return e.rfind("MouseMove", 0) != 0 && e.rfind("MouseOnButton", 0) != 0;
        });
        return Joined(kept);
    }

    tv::test::FakeSystem system;
    RecordingHost host;
    Form& form = TheForm();
    std::vector<std::unique_ptr<Butt>> controls;
    std::vector<std::string> log;
};

TEST_F(InputTest, LeftPressHoldsAndCapturesAndReleaseOverTheButtonClicks) {
    Butt& button = Make();
    Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), button.hWnd());
    EXPECT_TRUE(button.impl().StateFlags & kButtonHeld);
    EXPECT_TRUE(button.impl().IsPressed);
    EXPECT_EQ(GetFocus(), button.hWnd()); // a left press takes the focus
    EXPECT_EQ(Events(), "MouseDown 1 0 10 5");

    Mouse(button, WM_LBUTTONUP, 12, 6);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(button.impl().StateFlags & kButtonHeld);
    EXPECT_FALSE(button.impl().IsPressed);
    EXPECT_EQ(Events(), "MouseDown 1 0 10 5 | MouseUp 1 0 12 6 | Click");
}

TEST_F(InputTest, ReleaseAwayFromTheButtonAndOtherButtonsRaiseNoClick) {
    Butt& button = Make();
    Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON | MK_SHIFT | MK_CONTROL);
    Mouse(button, WM_LBUTTONUP, 300, 5, MK_SHIFT);
    EXPECT_EQ(Events(), "MouseDown 1 3 10 5 | MouseUp 1 1 300 5");
    log.clear();

    Mouse(button, WM_RBUTTONDOWN, 3, 4, MK_RBUTTON);
    EXPECT_EQ(GetCapture(), nullptr); // only the left button captures
    EXPECT_FALSE(button.impl().StateFlags & kButtonHeld);
    Mouse(button, WM_RBUTTONUP, 3, 4);
    Mouse(button, WM_MBUTTONDOWN, 3, 4, MK_MBUTTON);
    Mouse(button, WM_MBUTTONUP, 3, 4);
    EXPECT_EQ(Events(), "MouseDown 2 0 3 4 | MouseUp 2 0 3 4 | MouseDown 4 0 3 4 | "
                        "MouseUp 4 0 3 4");
}

TEST_F(InputTest, LeftDoubleClickShowsThePressAgainAndClicksOnce) {
    Butt& button = Make();
    Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    Mouse(button, WM_LBUTTONUP, 10, 5);
    Mouse(button, WM_LBUTTONDBLCLK, 10, 5, MK_LBUTTON);
    // The second press: held and captured again, reported at the pointer's position.
    EXPECT_TRUE(button.impl().StateFlags & kButtonHeld);
    EXPECT_TRUE(button.impl().IsPressed);
    EXPECT_EQ(GetCapture(), button.hWnd());
    EXPECT_EQ(button.impl().LastMouseButton, -1);
    Mouse(button, WM_LBUTTONUP, 10, 5);
    EXPECT_EQ(GetCapture(), nullptr);

    EXPECT_EQ(Events(), "MouseDown 1 0 10 5 | MouseUp 1 0 10 5 | Click | DoubleClick 1 | " +
                            PointerPress(button) + " | MouseUp 1 0 10 5");
}

TEST_F(InputTest, RightDoubleClickReportsButtonTwoAndALeftPressWithoutThePressedLook) {
    Butt& button = Make();
    Mouse(button, WM_RBUTTONDOWN, 10, 5, MK_RBUTTON);
    Mouse(button, WM_RBUTTONUP, 10, 5);
    Mouse(button, WM_RBUTTONDBLCLK, 10, 5, MK_RBUTTON);
    EXPECT_FALSE(button.impl().StateFlags & kButtonHeld);
    EXPECT_EQ(GetCapture(), nullptr);
    Mouse(button, WM_RBUTTONUP, 10, 5);
    EXPECT_EQ(Events(), "MouseDown 2 0 10 5 | MouseUp 2 0 10 5 | DoubleClick 2 | " +
                            PointerPress(button) + " | MouseUp 2 0 10 5");
}

TEST_F(InputTest, CheckBoxTogglesOnEveryClick) {
    Butt& box = Make(1);
    for (const bool expected : {true, false}) {
        Mouse(box, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
        Mouse(box, WM_LBUTTONUP, 10, 5);
        EXPECT_EQ(box.Value(), expected);
    }
    EXPECT_EQ(Events(), "MouseDown 1 0 10 5 | MouseUp 1 0 10 5 | Click | "
                        "MouseDown 1 0 10 5 | MouseUp 1 0 10 5 | Click");
    EXPECT_EQ(std::count(host.changed.begin(), host.changed.end(), "Value"), 2);
}

TEST_F(InputTest, SelectedOptionButtonClickedAgainStaysSelectedWithoutClick) {
    Butt& option = Make(2);
    option.SetValue(true);
    log.clear();
    Mouse(option, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    Mouse(option, WM_LBUTTONUP, 10, 5);
    EXPECT_TRUE(option.Value());
    EXPECT_EQ(Events(), "MouseDown 1 0 10 5 | MouseUp 1 0 10 5");
}

TEST_F(InputTest, SpaceBarPressesAndClicksCommandButtonBeforeKeyUp) {
    Butt& button = Make();
    Key(button, WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(button.impl().StateFlags & kButtonHeld);
    EXPECT_FALSE(button.impl().StateFlags & kPointerInside); // not hovering: pressed once only
    EXPECT_TRUE(button.impl().IsPressed);
    Key(button, WM_KEYDOWN, VK_SPACE); // auto-repeat
    Key(button, WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(button.impl().StateFlags & kButtonHeld);
    EXPECT_EQ(Events(), "KeyDown 32 0 | KeyDown 32 0 | Click | KeyUp 32 0");
}

TEST_F(InputTest, SpaceBarOnCheckBoxReportsKeyUpBeforeClickAndOnlyOnce) {
    Butt& box = Make(1);
    Key(box, WM_KEYDOWN, VK_SPACE);
    Key(box, WM_KEYUP, VK_SPACE);
    EXPECT_TRUE(box.Value());
    EXPECT_EQ(Events(), "KeyDown 32 0 | KeyUp 32 0 | Click");
    log.clear();
    Key(box, WM_KEYUP, VK_SPACE); // a release without a press only reports the key
    EXPECT_TRUE(box.Value());
    EXPECT_EQ(Events(), "KeyUp 32 0");
}

TEST_F(InputTest, ArrowKeysGoToTheContainerWithTheirScanCodes) {
    Butt& button = Make();
    for (const WPARAM key : {VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP}) {
        Key(button, WM_KEYDOWN, key);
        Key(button, WM_KEYUP, key);
    }
    Key(button, WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(Events(), ""); // no KeyDown or KeyUp for arrows, no KeyUp for shift
    Pump(30);
    ASSERT_EQ(form.keys.size(), 4u);
    EXPECT_EQ(form.keys[0].code, 39u);
    EXPECT_EQ(form.keys[0].data, 0x004D0001);
    EXPECT_EQ(form.keys[1].code, 40u);
    EXPECT_EQ(form.keys[1].data, 0x00500001);
    EXPECT_EQ(form.keys[2].code, 37u);
    EXPECT_EQ(form.keys[2].data, 0x004B0001);
    EXPECT_EQ(form.keys[3].code, 38u);
    EXPECT_EQ(form.keys[3].data, 0x00480001);

    SendMessageW(button.hWnd(), WM_CHAR, 'a', 1);
    EXPECT_EQ(Events(), "KeyPress 97");
}

TEST_F(InputTest, ArrowReleaseSelectsAnOptionButton) {
    Butt& option = Make(2);
    Key(option, WM_KEYUP, VK_DOWN);
    EXPECT_TRUE(option.Value());
    EXPECT_EQ(Events(), "Click");
}

TEST_F(InputTest, AccessKeysEnterAndEscapeReachTheRightControl) {
    Butt& go = Make();
    go.SetCaption("&Go");
    Butt& box = Make(1, {20, 60, 120, 90});
    box.SetCaption("Che&ck");
    EXPECT_FALSE(Butt::RouteAccessKey(form.hwnd(), 'x'));
    EXPECT_TRUE(Butt::RouteAccessKey(form.hwnd(), 'g'));
    EXPECT_EQ(Events(), "Click");
    EXPECT_TRUE(Butt::RouteAccessKey(form.hwnd(), 'C'));
    EXPECT_TRUE(box.Value());
    log.clear();

    // Alt+key while a control has the focus.
    SendMessageW(box.hWnd(), WM_SYSCHAR, 'G', 1 << 29);
    EXPECT_EQ(Events(), "Click");
    log.clear();

    // Enter clicks the default command button; a default check box ignores it.
    host.displayAsDefault = true;
    EXPECT_TRUE(Butt::RouteAccessKey(form.hwnd(), VK_RETURN));
    EXPECT_EQ(Events(), "Click");
    log.clear();
    controls.front().reset();
    EXPECT_TRUE(Butt::RouteAccessKey(form.hwnd(), VK_RETURN));
    EXPECT_TRUE(box.Value());
    EXPECT_EQ(Events(), "");
    host.cancel = true;
    EXPECT_TRUE(Butt::RouteAccessKey(form.hwnd(), VK_ESCAPE));
    EXPECT_EQ(Events(), "");

    box.SetEnabled(false); // a disabled control takes no keys
    EXPECT_FALSE(Butt::RouteAccessKey(form.hwnd(), 'c'));
}

TEST_F(InputTest, OptionButtonGettingTheFocusInAnEmptyGroupIsSelected) {
    Butt& first = Make(2);
    Butt& second = Make(2, {20, 60, 120, 90});
    SetFocus(first.hWnd());
    EXPECT_EQ(GetFocus(), first.hWnd());
    EXPECT_TRUE(first.Value());
    EXPECT_EQ(Events(), "Click");
    SetFocus(second.hWnd()); // the group has a selection: focus alone changes nothing
    EXPECT_FALSE(second.Value());
    EXPECT_TRUE(first.Value());
    EXPECT_EQ(Events(), "Click");
}

TEST_F(InputTest, LosingTheCaptureDropsThePressAndItsClick) {
    Butt& button = Make();
    // The system cancels modes (a dialog opens, the window is disabled).
    Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    SendMessageW(button.hWnd(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(button.impl().StateFlags & kButtonHeld);
    EXPECT_FALSE(button.impl().IsPressed);
    Mouse(button, WM_LBUTTONUP, 10, 5);
    EXPECT_EQ(Events(), "MouseDown 1 0 10 5 | MouseUp 1 0 10 5");
    log.clear();

    // Another window takes the mouse.
    Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    SetCapture(form.hwnd());
    EXPECT_FALSE(button.impl().StateFlags & kButtonHeld);
    ReleaseCapture();
    Mouse(button, WM_LBUTTONUP, 10, 5);
    EXPECT_EQ(Events(), "MouseDown 1 0 10 5 | MouseUp 1 0 10 5");
    log.clear();

    // The focus goes elsewhere while the space bar holds the button.
    Key(button, WM_KEYDOWN, VK_SPACE);
    SetFocus(button.hWnd());
    SetFocus(form.hwnd());
    EXPECT_FALSE(button.impl().StateFlags & kButtonHeld);
    Key(button, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(Events(), "KeyDown 32 0 | KeyUp 32 0");
}

TEST_F(InputTest, HandlersMayChangeArgumentsAndEndTheControl) {
    Butt& button = Make();
    // MouseUp's Button is by reference: turned into a right button, the release clicks nothing.
    button.Events().MouseUp = [](short& b, short&, float&, float&) { b = 2; };
    Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    Mouse(button, WM_LBUTTONUP, 10, 5);
    EXPECT_EQ(button.impl().LastMouseButton, 2);
    EXPECT_EQ(Events(), "MouseDown 1 0 10 5");

    // A handler that deletes the control: the rest of the path must not touch it.
    const HWND window = button.hWnd();
    button.Events().MouseUp = nullptr;
    button.Events().Click = [this] { controls.clear(); };
    Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    EXPECT_TRUE(controls.empty());
    EXPECT_FALSE(IsWindow(window));
    Pump(30);
}

TEST_F(InputTest, ALifeOfInputEndsWithEveryHandleFreed) {
    const long before = tv::LiveGdiObjects();
    {
        Butt& button = Make();
        button.SetCaption("&Life");
        for (int i = 0; i < 20; ++i) {
            Mouse(button, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
            Mouse(button, WM_LBUTTONUP, 10, 5);
            Key(button, WM_KEYDOWN, VK_SPACE);
            Key(button, WM_KEYUP, VK_SPACE);
            MoveWindow(button.hWnd(), 20, 20, 100 + i, 30 + i, TRUE);
            Pump(1);
        }
        EXPECT_GT(tv::LiveGdiObjects(), before);
        controls.clear();
    }
    EXPECT_EQ(tv::LiveGdiObjects(), before);
}

} // namespace
} // namespace butt::test
