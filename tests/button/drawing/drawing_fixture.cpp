#include "drawing_fixture.h"
#include "test_windows.h"

#include <algorithm>
#include <climits>

namespace butt::test {

RegionPixels::RegionPixels(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0)
        return;
    std::vector<std::uint8_t> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(region, size, header) == 0)
        return;
    const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
    rects_.assign(rects, rects + header->rdh.nCount);
}

bool RegionPixels::Contains(int x, int y) const {
    return std::any_of(rects_.begin(), rects_.end(), [&](const RECT& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
}

long RegionPixels::Area() const {
    long area = 0;
    for (const RECT& r : rects_)
        area += (r.right - r.left) * (r.bottom - r.top);
    return area;
}

RECT RegionPixels::Box() const {
    if (rects_.empty())
        return RECT{};
    RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const RECT& r : rects_) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

std::pair<int, int> RegionPixels::Row(int y) const {
    int first = INT_MAX;
    int last = INT_MIN;
    for (const RECT& r : rects_)
        if (y >= r.top && y < r.bottom) {
            first = std::min<int>(first, r.left);
            last = std::max<int>(last, r.right);
        }
    return first == INT_MAX ? std::pair<int, int>{0, 0} : std::pair<int, int>{first, last};
}

RegionPixels WindowRegionOf(HWND window) {
    const tv::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR)
        return RegionPixels(nullptr);
    return RegionPixels(region.get());
}

void DrawingTest::SetUp() {
    parent_ = CreateWindowExW(0, L"STATIC", L"drawing tests", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 900,
                              600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
}

void DrawingTest::TearDown() {
    control_.reset();
    if (parent_)
        DestroyWindow(parent_);
    EXPECT_TRUE(host_.messages.empty()) << host_.messages.front();
}

Butt& DrawingTest::Make(int width, int height, const std::string& caption) {
    control_ = Butt::Create(parent_, 1, RECT{10, 10, 10 + width, 10 + height}, host_);
    EXPECT_NE(control_, nullptr);
    // Plain colours, so that the expected pixels do not depend on the system's scheme.
    control_->SetBackColor(0x00B0C8D8);
    control_->SetForeColor(0x00000000);
    control_->SetCaption(caption);
    return *control_;
}

void DrawingTest::Show(int stateFlags, bool hovering, bool pressed) {
    impl().StateFlags = stateFlags;
    impl().IsHovering = hovering;
    impl().IsPressed = pressed;
    impl().delayDrawing = false;
    impl().DrawButton();
}

Painted DrawingTest::Print() {
    const int width = static_cast<int>(impl().ScaleWidth());
    const int height = static_cast<int>(impl().ScaleHeight());
    // Magenta where nothing is painted.
    return Painted(width, height, tv::test::PrintClient(impl().hwnd, width, height, 0xFF00FF));
}

void DrawingTest::Resize(int width, int height) {
    SetWindowPos(impl().hwnd, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace butt::test
