// Option groups kept as window properties of the container: joining, selecting, leaving by a
// Mode change, and leaving when a member ends.
#include "fake_system.h"
#include "harness.h"

#include <gtest/gtest.h>

namespace butt::test {
namespace {

class OptionGroupTest : public ::testing::Test {
  protected:
    OptionGroupTest() { SetCursorPos(5, 5); }
    ~OptionGroupTest() override {
        options.clear();
        // Every member has left: nothing of the group stays on the container.
        EXPECT_EQ(Count(), 0);
        EXPECT_EQ(Member(1), nullptr);
    }

    Butt& Add() {
        const int top = 20 + 40 * static_cast<int>(options.size());
        options.push_back(Butt::Create(form, 400 + top, {20, top, 120, top + 30}, host));
        options.back()->SetMode(2);
        return *options.back();
    }
    INT_PTR Count() const { return reinterpret_cast<INT_PTR>(GetPropA(form, "bt_OptCount")); }
    HANDLE Member(int position) const {
        return GetPropA(form, (std::to_string(position) + "bt_Obj").c_str());
    }
    static HANDLE Address(Butt& control) { return &control.impl(); }

    tv::test::FakeSystem system;
    RecordingHost host;
    HWND form = TheForm().hwnd();
    std::vector<std::unique_ptr<Butt>> options;
};

TEST_F(OptionGroupTest, SelectingOneClearsTheOthersAndModeChangesRenumber) {
    Butt& a = Add();
    Butt& b = Add();
    Butt& c = Add();
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(Member(1), Address(a));
    EXPECT_EQ(Member(2), Address(b));
    EXPECT_EQ(Member(3), Address(c));

    a.SetValue(true);
    std::vector<std::string> log;
    Record(b, log);
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_FALSE(c.Value());
    EXPECT_EQ(Joined(log), "MouseDown 1 0 5 5 | MouseUp 1 0 5 5 | Click");
    c.SetValue(true);
    EXPECT_FALSE(b.Value());

    // Leaving by a Mode change: the third moves down to the second place.
    b.SetMode(0);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(Member(1), Address(a));
    EXPECT_EQ(Member(2), Address(c));
    EXPECT_EQ(Member(3), nullptr);
    b.SetMode(1); // between the other modes: no group business
    EXPECT_EQ(Count(), 2);
    b.SetMode(2);
    b.SetMode(2); // joining twice lists it once
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Member(3), Address(b));
    EXPECT_TRUE(c.Value()); // b joined unselected
}

TEST_F(OptionGroupTest, MembersLeaveWhenTheyEnd) {
    Add();
    Butt& b = Add();
    Butt& c = Add();
    options.front().reset(); // the object ends
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(Member(1), Address(b));
    EXPECT_EQ(Member(2), Address(c));
    EXPECT_EQ(Member(3), nullptr);

    DestroyWindow(c.hWnd()); // the window ends before its object
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Member(1), Address(b));
    b.SetValue(true); // clears the rest of a group that no longer lists the ended one
    EXPECT_TRUE(b.Value());
    EXPECT_FALSE(c.Value());

    // A checked check box that ends is no member: the group's selection stays.
    auto box = Butt::Create(form, 499, {200, 20, 300, 50}, host);
    box->SetMode(1);
    box->SetValue(true);
    box.reset();
    EXPECT_TRUE(b.Value());
    EXPECT_EQ(Count(), 1);
}

TEST_F(OptionGroupTest, LoadedOptionButtonsJoinAndTheLastSelectedWins) {
    std::string error;
    const auto bag = PropertyBag::Parse("mode = 2\nvalue = True\n", error);
    ASSERT_TRUE(bag) << error;
    options.push_back(Butt::Load(form, 450, {20, 20, 120, 50}, host, *bag));
    options.push_back(Butt::Load(form, 451, {20, 60, 120, 90}, host, *bag));
    EXPECT_EQ(Count(), 2);
    EXPECT_FALSE(options[0]->Value());
    EXPECT_TRUE(options[1]->Value());
}

TEST_F(OptionGroupTest, AContainerEndingFirstTakesItsGroupAndEveryHandleWithIt) {
    const long before = tv::LiveGdiObjects();
    const HWND panel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 150, 10, 200, 200,
                                       form, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(panel);
    std::vector<std::unique_ptr<Butt>> inside;
    for (int i = 0; i < 3; ++i) {
        inside.push_back(Butt::Create(panel, 470 + i, {10, 10 + 40 * i, 110, 40 + 40 * i}, host));
        inside.back()->SetMode(2);
        inside.back()->SetCaption("Option");
    }
    inside[1]->SetValue(true);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(panel, "bt_OptCount")), 3);
    EXPECT_GT(tv::LiveGdiObjects(), before);

    DestroyWindow(panel); // the controls' windows end with it, before their objects
    for (const auto& control : inside)
        EXPECT_EQ(control->hWnd(), nullptr);
    EXPECT_EQ(tv::LiveGdiObjects(), before);
    inside[0]->SetValue(true); // a control without a window reaches no group
    inside.clear();
    EXPECT_EQ(tv::LiveGdiObjects(), before);
}

} // namespace
} // namespace butt::test
