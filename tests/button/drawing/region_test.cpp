// Outlines read back from the window region, and the inset regions painters clip to.
#include "drawing_fixture.h"

#include <set>

namespace butt::test {
namespace {

using Shapes = DrawingTest;
using Pixel = std::pair<int, int>;

// The pixels of the region inside the box that are missing.
std::set<Pixel> Missing(const RegionPixels& region, const RECT& box) {
    std::set<Pixel> missing;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (!region.Contains(x, y))
                missing.insert({x, y});
    return missing;
}

TEST_F(Shapes, RectangleIsOnePixelLargerWithCornerCutsByStyle) {
    Make(100, 30);
    const RECT box{0, 0, 101, 31};

    control().SetButtonStyle(0);
    RegionPixels outline = WindowRegionOf(impl().hwnd);
    EXPECT_EQ(outline.Area(), 101 * 31);
    EXPECT_TRUE(Missing(outline, box).empty());

    // Styles 1 and 3: single corner pixels.
    const std::set<Pixel> corners{{0, 0}, {0, 29}, {99, 0}, {99, 29}};
    control().SetButtonStyle(1);
    outline = WindowRegionOf(impl().hwnd);
    EXPECT_EQ(outline.Area(), 101 * 31 - 4);
    EXPECT_EQ(Missing(outline, box), corners);
    control().SetButtonStyle(3);
    EXPECT_EQ(Missing(WindowRegionOf(impl().hwnd), box), corners);

    // Styles 2 and 7: triangles, legs of 2 at the top and 3 at the bottom.
    const std::set<Pixel> triangles{{0, 0},  {1, 0},  {0, 1},  {0, 28},  {0, 29},  {1, 29},
                                    {98, 0}, {99, 0}, {99, 1}, {99, 28}, {98, 29}, {99, 29}};
    for (const long style : {2, 7}) {
        control().SetButtonStyle(style);
        EXPECT_EQ(Missing(WindowRegionOf(impl().hwnd), box), triangles) << "style " << style;
    }
    EXPECT_EQ(impl().BodyLeft, 0);
    EXPECT_EQ(impl().BodyRight, 100);
    EXPECT_FALSE(impl().OuterRegion);
    EXPECT_FALSE(impl().InnerRegion);
}

TEST_F(Shapes, Style3CutsItsCornersOnlyWhileEnabled) {
    Make(100, 30);
    control().SetButtonStyle(3);
    EXPECT_EQ(WindowRegionOf(impl().hwnd).Area(), 101 * 31 - 4);
    impl().enabled = false;
    impl().CreateShapeRegion();
    EXPECT_EQ(WindowRegionOf(impl().hwnd).Area(), 101 * 31);
}

TEST_F(Shapes, ParallelogramRunsAtFortyFiveDegrees) {
    Make(100, 30);
    control().SetButtonShape(3);
    EXPECT_EQ(impl().ScaleWidth(), 100.0f);
    EXPECT_EQ(impl().BodyLeft, 31);
    EXPECT_EQ(impl().BodyRight, 69);
    // The outline (0, 0), (31, 31), (101, 31), (70, 0): every row moves one pixel right.
    const RegionPixels outline = WindowRegionOf(impl().hwnd);
    for (int y = 0; y <= 30; ++y)
        EXPECT_EQ(outline.Row(y), (Pixel{y, 70 + y})) << "row " << y;
    // No corner cuts on slanted sides, with any style.
    for (const long style : {1, 2, 7}) {
        control().SetButtonStyle(style);
        EXPECT_EQ(WindowRegionOf(impl().hwnd).Area(), outline.Area()) << "style " << style;
    }
}

TEST_F(Shapes, OneSlantedSideKeepsCutsOnItsVerticalSide) {
    Make(100, 30);
    control().SetButtonStyle(2);
    control().SetButtonShape(2); // right edge slanted: triangles on the left only
    RegionPixels outline = WindowRegionOf(impl().hwnd);
    EXPECT_EQ(impl().BodyLeft, 0);
    EXPECT_EQ(impl().BodyRight, 69);
    EXPECT_FALSE(outline.Contains(0, 0));
    EXPECT_FALSE(outline.Contains(1, 29));
    EXPECT_TRUE(outline.Contains(2, 0));
    EXPECT_EQ(outline.Row(0).second, 70);
    EXPECT_EQ(outline.Row(29).second, 99);
    EXPECT_TRUE(outline.Contains(98, 29));

    control().SetButtonStyle(1);
    control().SetButtonShape(1); // left edge slanted: pixel cuts on the right only
    outline = WindowRegionOf(impl().hwnd);
    EXPECT_EQ(impl().BodyLeft, 31);
    EXPECT_EQ(impl().BodyRight, 100);
    EXPECT_EQ(outline.Row(0), (Pixel{0, 101}));
    EXPECT_FALSE(outline.Contains(99, 0));
    EXPECT_FALSE(outline.Contains(99, 29));
    EXPECT_TRUE(outline.Contains(100, 0));
    EXPECT_EQ(outline.Row(29).first, 29);
}

TEST_F(Shapes, NarrowSlantedButtonsWidenByFivePixelsOnce) {
    Make(30, 30); // the slant needs 31 + 5 pixels
    control().SetButtonShape(1);
    EXPECT_EQ(impl().ScaleWidth(), 35.0f);
    EXPECT_EQ(impl().ScaleHeight(), 30.0f);
    EXPECT_EQ(impl().BodyRight, 35);
    EXPECT_EQ(WindowRegionOf(impl().hwnd).Row(0), (Pixel{0, 36}));

    Make(40, 30); // 40 - 31 is not below 5: unchanged
    control().SetButtonShape(3);
    EXPECT_EQ(impl().ScaleWidth(), 40.0f);
    EXPECT_EQ(impl().BodyRight, 9);
}

TEST_F(Shapes, EllipsesKeepInsetRegionsAndDrawTheirRing) {
    Make(100, 30);
    control().SetButtonShape(4);
    const RegionPixels outline = WindowRegionOf(impl().hwnd);
    // The system's ellipse stays inside its box: right and bottom one pixel short.
    EXPECT_EQ(outline.Box(), (RECT{0, 0, 99, 29}));
    EXPECT_FALSE(outline.Contains(0, 0));
    EXPECT_FALSE(outline.Contains(99, 29));
    EXPECT_TRUE(outline.Contains(0, 15));
    EXPECT_TRUE(outline.Contains(50, 0));
    ASSERT_TRUE(impl().OuterRegion);
    ASSERT_TRUE(impl().InnerRegion);
    const RegionPixels outer(impl().OuterRegion.get());
    const RegionPixels inner(impl().InnerRegion.get());
    EXPECT_EQ(outer.Box(), (RECT{1, 1, 98, 28}));
    EXPECT_EQ(inner.Box(), (RECT{2, 2, 97, 27}));
    EXPECT_LT(inner.Area(), outer.Area());
    EXPECT_LT(outer.Area(), outline.Area());

    // The ring between outline and inset is the white-to-grey gradient, top to bottom.
    Painted painted = Print();
    const Color top = painted.At(50, 0);
    const Color bottom = painted.At(50, 29);
    EXPECT_GE(top & 0xFF, 0xF8);
    EXPECT_LE(bottom & 0xFF, 0x84);
    EXPECT_GE(bottom & 0xFF, 0x80);
    EXPECT_EQ(painted.At(50, 15), TranslateColor(impl().FaceColor));

    // Shape 6: a black frame instead, shown while the pointer is over it.
    control().SetButtonShape(6);
    EXPECT_EQ(Print().At(50, 0), TranslateColor(impl().FaceColor));
    Show(kPointerInside, true);
    EXPECT_EQ(Print().At(50, 0), 0);
    EXPECT_EQ(Print().At(0, 15), 0);
    Show(0);
    // Style 5: no border at all.
    control().SetButtonStyle(5);
    control().SetButtonShape(5);
    impl().DrawButton();
    painted = Print();
    EXPECT_NE(painted.At(50, 0) & 0xFF, 0xFF);
}

TEST_F(Shapes, PictureOutlineTakesNearKeyPixelsAsTransparent) {
    // Magenta key; an opaque block with one near-key pixel inside it.
    constexpr Color kKey = 0xFF00FF;
    const PicturePtr picture = MakePicture(20, 10, [](int x, int y) -> Color {
        if (x == 8 && y == 5)
            return Rgb(253, 2, 254); // within 3 of the key
        return (x >= 5 && x < 15 && y >= 2 && y < 8) ? Rgb(0, 128, 0) : kKey;
    });
    Make(20, 10);
    impl().picture = picture;
    impl().RefreshProperty("Picture");
    ASSERT_EQ(impl().PictureWidth, 20);
    const tv::UniqueRegion outline(CreateRectRgn(0, 0, 20, 10));
    impl().RegionFromPicture(20, 10, outline.get());

    const RegionPixels shape(outline.get());
    EXPECT_EQ(shape.Area(), 10 * 6 - 1);
    EXPECT_EQ(shape.Box(), (RECT{5, 2, 15, 8}));
    EXPECT_FALSE(shape.Contains(8, 5));
    // The inset regions erode by one and two pixels at every transparent border.
    const RegionPixels outer(impl().OuterRegion.get());
    const RegionPixels inner(impl().InnerRegion.get());
    EXPECT_EQ(outer.Box(), (RECT{6, 3, 14, 7}));
    EXPECT_FALSE(outer.Contains(9, 5));
    EXPECT_TRUE(outer.Contains(6, 3));
    // ... and around the near-key pixel inside, which takes the inner region's left part.
    EXPECT_EQ(inner.Box(), (RECT{11, 4, 13, 6}));
    EXPECT_FALSE(inner.Contains(10, 4));
    EXPECT_TRUE(inner.Contains(11, 5));

    // The working copy has the exact key where the near-key pixel was.
    ASSERT_TRUE(impl().ShapeBitmap);
    EXPECT_EQ(impl().ShapeBitmapWidth, 20);
    const tv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const tv::ScopedSelect select(dc.get(), impl().ShapeBitmap.get());
    EXPECT_EQ(GetPixel(dc.get(), 8, 5), static_cast<COLORREF>(kKey));
    EXPECT_EQ(GetPixel(dc.get(), 7, 5), static_cast<COLORREF>(Rgb(0, 128, 0)));
}

TEST_F(Shapes, ARedKeyAlsoErodesTheInsetsAlongThePicturesOwnBorders) {
    // Beyond the bitmap every pixel reads as invalid, which splits as pure red.
    const auto paint = [](Color key) {
        return MakePicture(12, 8,
                           [key](int x, int y) { return x == 0 && y == 0 ? key : 0x404040; });
    };
    Make(12, 8);
    for (const Color key : {Rgb(254, 1, 2), Rgb(0, 0, 255)}) {
        impl().picture = paint(key);
        impl().RefreshProperty("Picture");
        const tv::UniqueRegion outline(CreateRectRgn(0, 0, 12, 8));
        impl().RegionFromPicture(12, 8, outline.get());
        const RegionPixels outer(impl().OuterRegion.get());
        const bool red = (key & 0xFF) > 200;
        EXPECT_EQ(outer.Contains(11, 4), !red) << std::hex << key;
        EXPECT_EQ(outer.Contains(5, 7), !red) << std::hex << key;
        EXPECT_TRUE(outer.Contains(5, 4));
        EXPECT_EQ(RegionPixels(outline.get()).Area(), 12 * 8 - 1);
    }
}

TEST_F(Shapes, PictureShapeFitsTheControlAndAlignsItsInsets) {
    const PicturePtr picture = MakePicture(20, 10, [](int x, int y) -> Color {
        return (x >= 5 && x < 15 && y >= 2 && y < 8) ? Rgb(0, 128, 0) : 0xFF00FF;
    });
    Make(20, 14);
    control().SetPicture(picture);
    control().SetButtonShape(7);
    // Fitted with the aspect kept: 20 x 10 into 20 x 14 is 20 x 10.
    EXPECT_EQ(impl().ScaleWidth(), 20.0f);
    EXPECT_EQ(impl().ScaleHeight(), 10.0f);
    EXPECT_EQ(impl().BodyRight, 20);
    const RegionPixels outline = WindowRegionOf(impl().hwnd);
    EXPECT_EQ(outline.Box(), (RECT{5, 2, 15, 8}));
    EXPECT_EQ(outline.Area(), 10 * 6);
    // The inset boxes begin one and two pixels inside the outline's box.
    const RECT outer = RegionPixels(impl().OuterRegion.get()).Box();
    const RECT inner = RegionPixels(impl().InnerRegion.get()).Box();
    EXPECT_EQ(outer.left, 6);
    EXPECT_EQ(outer.top, 3);
    EXPECT_EQ(inner.left, 7);
    EXPECT_EQ(inner.top, 4);
    // Shape 7 frames its outline in the back colour and paints the face inside it (style 2's
    // face is lighter than its back colour).
    control().SetButtonStyle(2);
    const Painted painted = Print();
    EXPECT_EQ(painted.At(5, 4), TranslateColor(impl().backColor));
    EXPECT_EQ(painted.At(10, 2), TranslateColor(impl().backColor));
    EXPECT_NE(painted.At(10, 3), TranslateColor(impl().backColor));
    EXPECT_NE(painted.At(10, 5), TranslateColor(impl().backColor));
}

TEST_F(Shapes, PressShiftMovesTheControlOnceAndBack) {
    const PicturePtr picture = MakePicture(20, 10, [](int, int) { return Rgb(0, 128, 0); });
    Make(40, 20);
    control().SetPicture(picture);
    control().SetButtonShape(7);
    impl().customClick = 4; // down and right
    RECT before{};
    GetWindowRect(impl().hwnd, &before);
    impl().StateFlags = kButtonHeld | kPointerInside;
    EXPECT_EQ(impl().PrepareShapeFrame(), 0);
    EXPECT_TRUE(impl().PressShifted);
    RECT pressed{};
    GetWindowRect(impl().hwnd, &pressed);
    EXPECT_EQ(pressed.left, before.left + 1);
    EXPECT_EQ(pressed.top, before.top + 1);
    EXPECT_EQ(pressed.right - pressed.left, before.right - before.left);
    // The next paint of the same press does not move it again.
    EXPECT_NE(impl().PrepareShapeFrame(), 0);
    impl().StateFlags = 0;
    impl().PrepareShapeFrame();
    RECT released{};
    GetWindowRect(impl().hwnd, &released);
    EXPECT_EQ(released.left, before.left);
    EXPECT_EQ(released.top, before.top);
    EXPECT_FALSE(impl().PressShifted);
}

} // namespace
} // namespace butt::test
