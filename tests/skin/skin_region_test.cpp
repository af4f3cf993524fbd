// The skin's outline: the fast region against the per-pixel reference on bitmaps made to hit
// the edges of the span scan and on the program's own skin; Set_Background and Drag_Form.
#include "dib.h"
#include "fake_system.h"
#include "skin_region.h"
#include "skin_region_reference.h"
#include "skin_support.h"
#include "test_windows.h"

#include <gtest/gtest.h>

#include <functional>

namespace tv {
namespace {

using test::Describe;
using test::RegionRects;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
using PixelFunction = std::function<COLORREF(int x, int y)>;

// A DIB section of the given depth painted pixel by pixel; 32-bit pixels carry an alpha byte,
// as art with alpha has it.
UniqueBitmap MakeBitmap(int width, int height, const PixelFunction& color, int bits = 24,
                        bool topDown = false) {
    BITMAPINFO info = TopDownDibInfo(width, topDown ? height : -height);
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    const int stride = ((width * bits / 8) + 3) & ~3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto* p = static_cast<std::uint8_t*>(pixels) +
                      static_cast<size_t>(topDown ? y : height - 1 - y) * stride + x * (bits / 8);
            const COLORREF c = color(x, y);
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
            if (bits == 32)
                p[3] = 0xFF;
        }
    GdiFlush();
    return bitmap;
}

// Builds the region both ways and requires the very same rectangles; returns them.
std::string SameRegionBothWays(HBITMAP bitmap, int width, int height, COLORREF key = kMagenta) {
    const UniqueRegion fast = RegionFromBitmap(bitmap, key, width, height);
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const ScopedSelect select(dc.get(), bitmap);
    const UniqueRegion slow = RegionFromDcReference(dc.get(), width, height, key);
    EXPECT_EQ(static_cast<bool>(fast), static_cast<bool>(slow));
    const std::string rects = Describe(RegionRects(fast.get()));
    EXPECT_EQ(rects, Describe(RegionRects(slow.get())));
    return rects;
}

TEST(SkinRegion, TheFastRegionIsTheReferenceRegion) {
    // A pixel list shorter than the image (a broken picture) is taken as opaque.
    EXPECT_EQ(Describe(OpaqueRects(PixelImage{3, 3, {0xFF00FF}}, 2, 1, kMagenta)), "(0,0,2,1) ");

    const COLORREF nearKeys[] = {RGB(254, 0, 255), RGB(255, 1, 255), RGB(255, 0, 254)};
    const COLORREF green = RGB(0, 128, 0);
    const PixelFunction scattered = [&](int x, int y) { // a third of the pixels key, at random
        return (static_cast<std::uint32_t>(y * 64 + x) * 2654435761u >> 16) % 3
                   ? RGB(x * 4, y * 6, 77)
                   : green;
    };
    const struct {
        const char* what;
        UniqueBitmap bitmap;
        int width, height;
        COLORREF key;
        const char* rects; // nullptr: only the same as the reference
    } cases[] = {
        {"all key", MakeBitmap(31, 17, [](int, int) { return kMagenta; }), 31, 17, kMagenta, ""},
        {"all opaque", MakeBitmap(33, 9, [](int, int) { return RGB(40, 51, 73); }), 33, 9, kMagenta,
         "(0,0,33,9) "},
        {"one off the key is opaque",
         MakeBitmap(9, 3, [&](int x, int y) { return x == 4 ? nearKeys[y] : kMagenta; }), 9, 3,
         kMagenta, "(4,0,5,3) "},
        {"runs to the right edge end there",
         MakeBitmap(20, 12,
                    [](int x, int y) { return x < 1 + (y * 3) % 17 ? kMagenta : RGB(1, 2, 3); }),
         20, 12, kMagenta, nullptr},
        {"24-bit noise", MakeBitmap(64, 40, scattered, 24), 64, 40, green, nullptr},
        {"32-bit noise", MakeBitmap(64, 40, scattered, 32), 64, 40, green, nullptr},
        {"top-down noise", MakeBitmap(64, 40, scattered, 24, true), 64, 40, green, nullptr},
        {"an area larger than the picture", MakeBitmap(6, 4, [](int, int) { return kMagenta; }), 9,
         6, kMagenta, "(6,0,9,4) (0,4,9,6) "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string rects = SameRegionBothWays(c.bitmap.get(), c.width, c.height, c.key);
        EXPECT_EQ(c.rects ? rects : "", c.rects ? c.rects : "");
    }
    // A device bitmap has no pixels of its own to read: it is converted once.
    const WindowDc screen(nullptr);
    UniqueBitmap device(CreateCompatibleBitmap(screen.get(), 64, 40));
    {
        const UniqueMemoryDc from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
        const ScopedSelect a(from.get(), cases[4].bitmap.get()), b(to.get(), device.get());
        BitBlt(to.get(), 0, 0, 64, 40, from.get(), 0, 0, SRCCOPY); // the 24-bit noise
    }
    SameRegionBothWays(device.get(), 70, 45, green);
    EXPECT_FALSE(RegionFromBitmap(nullptr, kMagenta) || RegionFromRects({}));

    // The program's own skin (the main window's tests check where its outline lies).
    UniqueBitmap skin(static_cast<HBITMAP>(
        LoadImageW(nullptr, TV_SOURCE_DIR L"/assets/skin_complete.bmp", IMAGE_BITMAP, 0, 0,
                   LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    SameRegionBothWays(skin.get(), 718, 406);
}

// A borderless window that records the non-client presses it gets instead of starting the
// system's move loop.
class TestForm : public SkinForm {
  public:
    TestForm() {
        window = CreateWindowExW(0, test::TestWindowClass(L"TvSkinTestForm", Procedure), L"skin",
                                 WS_POPUP, 30, 40, 50, 20, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestForm() override { DestroyWindow(window); }
    HWND Handle() const override { return window; }
    void SetPicture(BorrowedBitmap shown) override { picture = shown; }
    HWND window = nullptr;
    HBITMAP picture = nullptr;
    std::vector<WPARAM> presses;

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_NCLBUTTONDOWN)
            return self->presses.push_back(wParam), 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

TEST(SkinSupport, SetBackgroundShapesOrShowsAndDragFormAsksForAMove) {
    // A picture with a magenta border of `margin` pixels around a dark body.
    const auto framed = [](int width, int height, int margin) {
        return MakeBitmap(width, height, [=](int x, int y) {
            return x < margin || y < margin || x >= width - margin || y >= height - margin
                       ? kMagenta
                       : RGB(40, 51, 73);
        });
    };
    const struct {
        const char* what;
        bool shaped;
        std::optional<int> blue;
        int width, height, margin;
        bool result;
        const char *outline, *size;
    } cases[] = {
        {"shaped", true, 255, 120, 70, 3, true, "(3,3,117,67) ", "120x70"},
        {"no opaque pixel: no outline", true, 255, 40, 30, 20, true, "", "40x30"},
        {"a key part missing", true, std::nullopt, 40, 30, 2, false, "", "50x20"},
        {"a key part out of range", true, 256, 40, 30, 2, false, "", "50x20"},
        {"plain: the form shows the picture", false, std::nullopt, 90, 45, 2, true, "", "90x45"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestForm form;
        const UniqueBitmap picture = framed(c.width, c.height, c.margin);
        PictureHost host{picture.get(), 7, 9, c.shaped ? c.width : 10, c.height, false};
        const long before = LiveGdiObjects();
        EXPECT_EQ(SkinSupport().Set_Background(form, host, c.shaped, 255, 0, c.blue), c.result);
        EXPECT_EQ(LiveGdiObjects(), before) << "a region handed to the system is the system's";
        EXPECT_EQ(Describe(test::WindowRegionRects(form.window)), c.outline);
        RECT r{};
        GetWindowRect(form.window, &r);
        EXPECT_EQ(std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top),
                  c.size);
        EXPECT_EQ(host.left + host.top, c.result ? 0 : 16);
        EXPECT_EQ(host.width, c.width) << "a plain form's host is sized to the picture";
        EXPECT_EQ(form.picture, c.shaped ? nullptr : picture.get());
        EXPECT_EQ(host.autoSize, !c.shaped);
    }
    TestForm gone;
    DestroyWindow(gone.window);
    PictureHost host{};
    EXPECT_FALSE(SkinSupport().Set_Background(gone, host));

    test::FakeSystem system;
    TestForm form;
    SkinSupport().Drag_Form(1, form.window);
    EXPECT_TRUE(form.presses.empty()) << "no move while the button is up";
    system.PressKey(VK_LBUTTON);
    SetCapture(form.window);
    for (long button : {1L, 2L, 4L, 0L, 3L, 5L, 8L})
        SkinSupport().Drag_Form(button, form.window);
    EXPECT_EQ(form.presses, (std::vector<WPARAM>{HTCAPTION, HTCAPTION, HTCAPTION}));
    EXPECT_EQ(GetCapture(), nullptr) << "the capture is handed to the move loop";
    SkinSupport().Drag_Form(1, nullptr); // no window: nothing happens
}

} // namespace
} // namespace tv
