// Shapes 7 and 8: the outline cut from the picture, the inset regions, the frame and ring,
// and the press shift of CustomClick.
#include "control_fixture.h"

namespace butt::test {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kNearKey = RGB(253, 1, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(30, 30, 200);

// 60 x 40: an opaque block (10, 5)-(50, 35), green left of x = 40 and blue right of it, on
// the key colour, with a row and a column of near-key pixels in the transparent margin.
PicturePtr OutlinePicture() {
    PixelImage image = FilledImage(60, 40, kKey);
    for (int y = 5; y < 35; ++y)
        for (int x = 10; x < 50; ++x)
            image.at(x, y) = x < 40 ? kGreen : kBlue;
    for (int x = 12; x < 48; ++x)
        image.at(x, 2) = kNearKey;
    for (int y = 0; y < 40; ++y)
        image.at(55, y) = kNearKey;
    return Picture::FromBitmap(MakeDib(image));
}

bool In(HRGN region, int x, int y) {
    return region && PtInRegion(region, x, y);
}

class PictureShapes : public ControlTest {
  protected:
    void MakeShaped(long shape, PicturePtr picture = OutlinePicture()) {
        Make(60, 40, 4, 0);
        control->SetPicture(std::move(picture));
        control->SetPictureSize(4);
        control->SetButtonShape(shape);
    }
    // A copy of the window region, owned by the caller's scope.
    tv::UniqueRegion WindowRegion() {
        tv::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(control->hWnd(), region.get()) == ERROR)
            region.reset();
        return region;
    }
};

TEST_F(PictureShapes, TheOutlineIsCutFromTheOpaquePixelsWithInsetRegionsInside) {
    for (const long shape : {7L, 8L}) {
        SCOPED_TRACE(::testing::Message() << "shape " << shape);
        MakeShaped(shape);
        EXPECT_EQ(Round(impl().ScaleWidth()), 60);
        EXPECT_EQ(Round(impl().ScaleHeight()), 40);
        const tv::UniqueRegion outline = WindowRegion();
        ASSERT_TRUE(outline);
        RECT box{};
        GetRgnBox(outline.get(), &box);
        EXPECT_EQ(box.left, 10);
        EXPECT_EQ(box.top, 5);
        EXPECT_EQ(box.right, 50);
        EXPECT_EQ(box.bottom, 35);
        EXPECT_TRUE(In(outline.get(), 10, 5));
        EXPECT_TRUE(In(outline.get(), 49, 34));
        EXPECT_FALSE(In(outline.get(), 9, 20));
        EXPECT_FALSE(In(outline.get(), 30, 2)) << "near-key pixels are transparent";
        EXPECT_FALSE(In(outline.get(), 55, 20));

        const HRGN outer = impl().OuterRegion.get();
        const HRGN inner = impl().InnerRegion.get();
        EXPECT_TRUE(In(outer, 11, 6));
        EXPECT_TRUE(In(outer, 48, 33));
        EXPECT_FALSE(In(outer, 10, 20));
        EXPECT_FALSE(In(outer, 30, 5));
        EXPECT_FALSE(In(outer, 49, 20));
        EXPECT_FALSE(In(outer, 30, 34));
        EXPECT_TRUE(In(inner, 12, 7));
        EXPECT_TRUE(In(inner, 47, 32));
        EXPECT_FALSE(In(inner, 11, 20));
        EXPECT_FALSE(In(inner, 30, 6));
        EXPECT_FALSE(In(inner, 48, 20));
        EXPECT_FALSE(In(inner, 30, 33));

        // The working copy is at the control's size with near-key pixels made exact.
        EXPECT_EQ(impl().ShapeBitmapWidth, 60);
        EXPECT_EQ(impl().ShapeBitmapHeight, 40);
    }
}

TEST_F(PictureShapes, Shape7IsFramedInItsBackColourAndShowsThePictureInside) {
    MakeShaped(7);
    const Print print = Draw();
    EXPECT_EQ(Hex(print(10, 20)), Hex(kFace)) << "frame";
    EXPECT_EQ(Hex(print(30, 5)), Hex(kFace)) << "frame";
    EXPECT_EQ(Hex(print(49, 20)), Hex(kFace)) << "frame";
    EXPECT_EQ(Hex(print(11, 20)), Hex(kGreen));
    EXPECT_EQ(Hex(print(30, 20)), Hex(kGreen));
    EXPECT_EQ(Hex(print(45, 20)), Hex(kBlue));
}

TEST_F(PictureShapes, Shape8HasAWhiteToGreyRingAroundThePicture) {
    MakeShaped(8);
    const Print print = Draw();
    const COLORREF top = print(30, 5);
    const COLORREF bottom = print(30, 34);
    const COLORREF left = print(10, 20);
    for (const COLORREF c : {top, bottom, left}) {
        EXPECT_EQ(GetRValue(c), GetGValue(c)) << Hex(c);
        EXPECT_EQ(GetRValue(c), GetBValue(c)) << Hex(c);
        EXPECT_GE(GetRValue(c), 0x80) << Hex(c);
    }
    EXPECT_GT(GetRValue(top), GetRValue(left)) << "lighter at the top";
    EXPECT_GT(GetRValue(left), GetRValue(bottom)) << "greyer at the bottom";
    EXPECT_GE(GetRValue(top), 0xE8);
    EXPECT_LE(GetRValue(bottom), 0x98);
    EXPECT_EQ(Hex(print(30, 20)), Hex(kGreen));
}

TEST_F(PictureShapes, AMissingWorkingCopyIsRemadeAtTheControlsSize) {
    MakeShaped(7);
    // As stored by a control that had a 16-pixel picture before it took the outline.
    impl().PictureSizePixels = 16;
    impl().LayoutContent(false);
    ASSERT_EQ(impl().PictureRect.right - impl().PictureRect.left, 16);
    impl().ShapeBitmap.reset();
    const Print print = Draw();
    EXPECT_EQ(impl().ShapeBitmapWidth, 60);
    EXPECT_EQ(impl().ShapeBitmapHeight, 40);
    EXPECT_EQ(Hex(print(39, 20)), Hex(kGreen));
    EXPECT_EQ(Hex(print(40, 20)), Hex(kBlue));
}

TEST_F(PictureShapes, NoPixelInsideTheOutlineIsLeftBlack) {
    // A round picture without black: the steps of its outline lie inside the window region
    // but outside the inset regions and the one-pixel frame, and no painter touches them.
    PixelImage image = FilledImage(60, 40, kKey);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const double dx = (x - 29.5) / 28.0;
            const double dy = (y - 19.5) / 18.0;
            if (dx * dx + dy * dy <= 1.0)
                image.at(x, y) = kBlue;
        }
    for (const long shape : {7L, 8L}) {
        SCOPED_TRACE(::testing::Message() << "shape " << shape);
        MakeShaped(shape, Picture::FromBitmap(MakeDib(image)));
        control->SetBackColor(0xFFFFFF);
        const tv::UniqueRegion outline = WindowRegion();
        ASSERT_TRUE(outline);
        for (const int state : {0, int(kPointerInside)}) {
            SCOPED_TRACE(::testing::Message() << "state " << state);
            impl().StateFlags = state;
            impl().IsHovering = (state & kPointerInside) != 0;
            const Print print = Draw();
            int inside = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 60; ++x) {
                    if (!In(outline.get(), x, y))
                        continue;
                    ++inside;
                    ASSERT_NE(Hex(print(x, y)), Hex(RGB(0, 0, 0))) << x << "," << y;
                }
            EXPECT_GT(inside, 60 * 40 / 2);
        }
    }
}

TEST_F(PictureShapes, CustomClickMovesThePressedButtonOnePixelAndBack) {
    // Opaque everywhere but its top-left pixel, so the outline is the whole control and the
    // shrunken picture leaves the face showing in the last column.
    PixelImage image = FilledImage(60, 40, kGreen);
    image.at(0, 0) = kKey;
    MakeShaped(7, Picture::FromBitmap(MakeDib(image)));
    control->SetCustomClick(4);
    const POINT start = Position();
    const Print before = Draw();
    EXPECT_EQ(Hex(before(59, 20)), Hex(kGreen));

    Press(true);
    impl().DrawButton();
    EXPECT_EQ(Position().x, start.x + 1);
    EXPECT_EQ(Position().y, start.y + 1);
    EXPECT_TRUE(impl().PressShifted);
    EXPECT_EQ(Round(impl().ScaleWidth()), 60) << "the size stays";
    const Print onPress = PrintOnly();
    for (int y = 0; y < 40; y += 3)
        for (int x = 0; x < 60; x += 3)
            ASSERT_EQ(onPress(x, y), before(x, y)) << "nothing is painted on the press";

    // The next paint while pressed shows the picture shrunk by a pixel on every side.
    const Print pressed = Draw();
    EXPECT_EQ(Position().x, start.x + 1) << "moved once only";
    EXPECT_EQ(Hex(pressed(59, 20)), Hex(kFace));
    EXPECT_EQ(Hex(pressed(58, 20)), Hex(kGreen));

    Press(false);
    const Print released = Draw();
    EXPECT_EQ(Position().x, start.x);
    EXPECT_EQ(Position().y, start.y);
    EXPECT_FALSE(impl().PressShifted);
    EXPECT_EQ(Hex(released(59, 20)), Hex(kGreen));
}

} // namespace
} // namespace butt::test
