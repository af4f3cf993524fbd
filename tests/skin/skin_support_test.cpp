// Set_Background and Drag_Form on real top-level windows.
#include "dib.h"
#include "fake_system.h"
#include "skin_region.h"
#include "skin_support.h"
#include "test_windows.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tv {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A borderless window that records the non-client presses it is sent instead of starting the
// system's move loop.
class TestForm : public SkinForm {
  public:
    TestForm() {
        window = CreateWindowExW(0, test::TestWindowClass(L"TvSkinTestForm", Procedure), L"skin",
                                 WS_POPUP, 30, 40, 50, 20, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestForm() override { DestroyWindow(window); }

    HWND Handle() const override { return window; }
    void SetPicture(HBITMAP picture) override { this->picture = picture; }

    SIZE WindowSize() const {
        RECT r{};
        GetWindowRect(window, &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    HWND window = nullptr;
    HBITMAP picture = nullptr;
    std::vector<WPARAM> nonClientPresses;

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_NCLBUTTONDOWN) {
            self->nonClientPresses.push_back(wParam);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

// A 32-bit picture: a magenta border of `margin` pixels around a dark body.
UniqueBitmap FramedPicture(int width, int height, int margin) {
    DibSection dib = MakeDibSection(width, height);
    if (!dib.bitmap)
        return UniqueBitmap();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool border =
                x < margin || y < margin || x >= width - margin || y >= height - margin;
            dib.bits[y * width + x] = border ? 0xFF00FF : 0x283349;
        }
    return std::move(dib.bitmap);
}

TEST(SetBackground, ShapedPathCutsTheKeyOutAndSizesTheWindowToTheHost) {
    TestForm form;
    const UniqueBitmap picture = FramedPicture(120, 70, 3);
    PictureHost host{picture.get(), 7, 9, 120, 70, false};
    const long before = LiveGdiObjects();

    ASSERT_TRUE(SkinSupport().Set_Background(form, host, true, 255, 0, 255));

    EXPECT_EQ(LiveGdiObjects(), before) << "the region belongs to the system now";
    EXPECT_EQ(host.left, 0);
    EXPECT_EQ(host.top, 0);
    EXPECT_EQ(form.WindowSize().cx, 120);
    EXPECT_EQ(form.WindowSize().cy, 70);
    EXPECT_EQ(form.picture, nullptr) << "the shaped path leaves the form's own picture alone";

    UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(form.window, outline.get()), SIMPLEREGION);
    RECT box{};
    GetRgnBox(outline.get(), &box);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, 3);
    EXPECT_EQ(box.right, 117);
    EXPECT_EQ(box.bottom, 67);
}

TEST(SetBackground, APictureWithoutOpaquePixelsLeavesTheFullRectangle) {
    TestForm form;
    const UniqueBitmap picture = FramedPicture(40, 30, 20);
    PictureHost host{picture.get(), 0, 0, 40, 30, false};
    ASSERT_TRUE(SkinSupport().Set_Background(form, host, true, 255, 0, 255));
    UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(form.window, outline.get()), ERROR);
    EXPECT_EQ(form.WindowSize().cx, 40);
}

TEST(SetBackground, ShapedPathWithoutAValidKeyChangesNothing) {
    TestForm form;
    const UniqueBitmap picture = FramedPicture(40, 30, 2);
    PictureHost host{picture.get(), 5, 5, 40, 30, false};
    EXPECT_FALSE(SkinSupport().Set_Background(form, host, true, 255, 0));
    EXPECT_FALSE(SkinSupport().Set_Background(form, host, true, 255, 0, 256));
    EXPECT_EQ(host.left, 5);
    EXPECT_EQ(form.WindowSize().cx, 50);
    UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(form.window, outline.get()), ERROR);
}

TEST(SetBackground, PlainPathShowsThePictureOnTheFormWithoutAnOutline) {
    TestForm form;
    const UniqueBitmap picture = FramedPicture(90, 45, 2);
    PictureHost host{picture.get(), 11, 12, 10, 10, false};
    ASSERT_TRUE(SkinSupport().Set_Background(form, host));
    EXPECT_EQ(form.picture, picture.get());
    EXPECT_TRUE(host.autoSize);
    EXPECT_EQ(host.width, 90);
    EXPECT_EQ(host.height, 45);
    EXPECT_EQ(host.left, 0);
    EXPECT_EQ(host.top, 0);
    EXPECT_EQ(form.WindowSize().cx, 90);
    EXPECT_EQ(form.WindowSize().cy, 45);
    UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(form.window, outline.get()), ERROR);
}

TEST(DragForm, AsksForAMoveForButtonsOneTwoAndFourOnlyWhileTheLeftButtonIsDown) {
    test::FakeSystem system;
    TestForm form;
    SkinSupport skin;

    for (long button : {1L, 2L, 4L, 0L, 3L})
        skin.Drag_Form(button, form.window);
    EXPECT_TRUE(form.nonClientPresses.empty()) << "no move while the button is up";

    system.PressKey(VK_LBUTTON);
    SetCapture(form.window);
    for (long button : {1L, 2L, 4L, 0L, 3L, 5L, 8L})
        skin.Drag_Form(button, form.window);
    EXPECT_EQ(form.nonClientPresses, (std::vector<WPARAM>{HTCAPTION, HTCAPTION, HTCAPTION}));
    EXPECT_EQ(GetCapture(), nullptr) << "the capture is handed to the move loop";

    skin.Drag_Form(1, nullptr); // no window: nothing happens, nothing breaks
}

} // namespace
} // namespace tv
