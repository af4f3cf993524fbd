#include "control_fixture.h"
#include "test_windows.h"

#include <cstdio>

namespace butt::test {

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
    return text;
}

ControlTest::ControlTest() {
    parent = CreateWindowExW(0, tv::test::TestWindowClass(L"ButtPictureTestHost"), L"host",
                             WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
}

ControlTest::~ControlTest() {
    control.reset();
    DestroyWindow(parent);
}

Butt& ControlTest::Make(int width, int height, long style, long shape) {
    control = Butt::Create(parent, 1, RECT{20, 20, 20 + width, 20 + height}, host);
    control->SetCaption("");
    control->SetBackColor(kFace);
    control->SetButtonStyle(style);
    control->SetButtonShape(shape);
    impl().ContainerBackColor = 0xC8D0D4;
    return *control;
}

Print ControlTest::PrintOnly() {
    const int w = Round(impl().ScaleWidth());
    const int h = Round(impl().ScaleHeight());
    Print print{std::make_unique<Canvas>(w, h, RGB(1, 2, 3))};
    impl().PrintTo(print.canvas->dc());
    return print;
}

Print ControlTest::Draw() {
    impl().DrawButton();
    return PrintOnly();
}

POINT ControlTest::Position() const {
    RECT r{};
    GetWindowRect(control->hWnd(), &r);
    POINT p{r.left, r.top};
    ScreenToClient(parent, &p);
    return p;
}

} // namespace butt::test
