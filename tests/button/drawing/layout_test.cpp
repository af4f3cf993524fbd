// Where caption and picture go, and how the caption is drawn.
#include "drawing_fixture.h"

#include <climits>

namespace butt::test {
namespace {

class Layout : public DrawingTest {
  protected:
    // The caption's extent in the control's own font, as the layout measures it.
    SIZE Measure(const std::string& text, int width, int height) {
        RECT r{0, 0, width, height};
        DrawTextA(impl().BackBufferDC.get(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    // A measured picture of `side` pixels without drawing one.
    void FakePicture(int side, long align) {
        impl().PictureWidth = 20;
        impl().PictureHeight = 10;
        impl().PictureSizePixels = side;
        impl().pictureAlign = align;
        impl().LayoutContent(false);
    }
    static int TopRow(const Painted& painted, const RECT& area, Color color) {
        for (int y = area.top; y < area.bottom; ++y)
            if (painted.Count(RECT{area.left, y, area.right, y + 1}, color) > 0)
                return y;
        return INT_MAX;
    }
};

TEST_F(Layout, CaptionIsPlacedByItsAlignment) {
    Make(100, 30, "Apply");
    const SIZE text = Measure("Apply", 92, 22);
    const int top = (30 - text.cy) / 2;
    EXPECT_EQ(impl().CaptionRect,
              (RECT{(100 - text.cx) / 2, top, (100 - text.cx) / 2 + text.cx, top + text.cy}));
    control().SetCaptionAlign(0);
    EXPECT_EQ(impl().CaptionRect.left, 4);
    control().SetCaptionAlign(1);
    EXPECT_EQ(impl().CaptionRect.right, 96);
    EXPECT_EQ(impl().CaptionRect.left, 96 - text.cx);
}

TEST_F(Layout, SlantedShapesGiveUpAThirdOfTheirSlant) {
    Make(100, 30, "Go");
    control().SetButtonShape(3); // BodyLeft 31, BodyRight 69: content from 24 to 79
    const SIZE text = Measure("Go", 55 - 8, 22);
    EXPECT_EQ(impl().CaptionRect.left, 24 + (55 - text.cx) / 2);
}

TEST_F(Layout, PictureBesideTheCaptionIsCentredWithIt) {
    Make(100, 30, "Go");
    FakePicture(16, 1); // just left of the caption
    SIZE text = Measure("Go", 100 - 8 - 16, 22);
    const int x0 = 4 + 16 + (100 - (text.cx + 16 + 4)) / 2;
    EXPECT_EQ(impl().CaptionRect.left, x0);
    EXPECT_EQ(impl().PictureRect, (RECT{x0 - 20, 7, x0 - 4, 23}));

    FakePicture(16, 3); // just right of it
    const int x3 = (100 - (text.cx + 16 + 4)) / 2;
    EXPECT_EQ(impl().CaptionRect.left, x3);
    EXPECT_EQ(impl().PictureRect.left, x3 + text.cx + 4);

    FakePicture(16, 0); // at the left edge, the caption centred in what is left
    EXPECT_EQ(impl().PictureRect.left, 4);
    EXPECT_EQ(impl().CaptionRect.left, 16 + (100 - 16 - text.cx) / 2);
    FakePicture(24, 2); // at the right edge
    EXPECT_EQ(impl().PictureRect, (RECT{72, 4, 96, 25}));
}

TEST_F(Layout, PictureAboveOrBelowTheCaption) {
    Make(100, 50, "Go");
    const SIZE text = Measure("Go", 92, 26);
    FakePicture(16, 4);
    const int top = (50 - (text.cy + 16)) / 2;
    EXPECT_EQ(impl().PictureRect, (RECT{42, top, 58, top + 16}));
    EXPECT_EQ(impl().CaptionRect.top, top + 18);

    FakePicture(16, 5);
    EXPECT_EQ(impl().CaptionRect.top, top + 2);
    EXPECT_EQ(impl().PictureRect.top, top + text.cy + 4);
}

TEST_F(Layout, LargePicturesStretchOrFit) {
    Make(100, 50, "Go");
    FakePicture(40, 0); // the face less 3 pixels
    EXPECT_EQ(impl().PictureRect, (RECT{3, 3, 97, 47}));
    // No slot is kept: the caption is centred as if there were no picture.
    EXPECT_EQ(impl().CaptionRect.left, (100 - Measure("Go", 92, 42).cx) / 2);
    FakePicture(48, 0); // 20 x 10 fitted into 88 x 38: 76 x 38, centred
    EXPECT_EQ(impl().PictureRect, (RECT{12, 6, 88, 44}));
    impl().buttonShape = 6;
    FakePicture(40, 0);
    EXPECT_EQ(impl().PictureRect, (RECT{1, 1, 99, 49}));
}

TEST_F(Layout, LongAndBrokenCaptionsStayInsideTheMargins) {
    Make(60, 40, "Several words that wrap around");
    const RECT wrapped = impl().CaptionRect;
    const int line = Measure("W", 100, 100).cy;
    EXPECT_GE(wrapped.left, 4);
    EXPECT_LE(wrapped.right, 56);
    EXPECT_GE(wrapped.top, 4);
    EXPECT_LE(wrapped.bottom, 35);
    EXPECT_GT(Measure("Several words that wrap around", 52, 32).cy, line);

    // "||" breaks the line: one word on each.
    Make(120, 60, "One||Two");
    const RECT broken = impl().CaptionRect;
    EXPECT_EQ(broken.bottom - broken.top, 2 * line);
    EXPECT_EQ(broken.right - broken.left,
              std::max(Measure("One", 200, 50).cx, Measure("Two", 200, 50).cx));
    const Painted painted = (Show(0), Print());
    const int middle = broken.top + line;
    EXPECT_GT(painted.Count(RECT{broken.left, broken.top, broken.right, middle}, 0), 5);
    EXPECT_GT(painted.Count(RECT{broken.left, middle, broken.right, broken.bottom}, 0), 5);
}

TEST_F(Layout, ReliefCaptionsSitOnePixelLowerInThreeColours) {
    Make(100, 30, "HHH");
    const RECT area{4, 4, 96, 26}; // inside the bevel
    const int plainTop = TopRow((Show(0), Print()), area, 0);
    const RECT rect = impl().CaptionRect;
    control().SetCaptionStyle(1);
    EXPECT_EQ(impl().CaptionRect.bottom - impl().CaptionRect.top, rect.bottom - rect.top + 2);
    impl().CaptionRect = rect; // same place, to compare the drawing alone
    const Painted relief = (Show(0), Print());
    EXPECT_EQ(TopRow(relief, area, 0), plainTop + 1);
    const Color face = impl().FaceColor;
    EXPECT_EQ(TopRow(relief, area, ShiftColor(face, -40)), plainTop);
    EXPECT_GT(relief.Count(area, ShiftColor(face, 40)), 5);
}

TEST_F(Layout, CaptionColoursFollowTheState) {
    Make(100, 30, "HHH");
    control().SetForeColor(0x000080);
    control().SetHoverForeColor(0x008000);
    const RECT area{4, 4, 96, 26}; // inside the bevel
    EXPECT_GT((Show(0), Print()).Count(area, 0x000080), 10);
    Painted painted = (Show(kPointerInside, true), Print());
    EXPECT_GT(painted.Count(area, 0x008000), 10);
    EXPECT_EQ(painted.Count(area, 0x000080), 0);

    // Pressed: one pixel right and down; style 3 keeps it in place.
    const int top = TopRow((Show(0), Print()), area, 0x000080);
    EXPECT_EQ(TopRow((Show(kButtonHeld | kPointerInside), Print()), area, 0x000080), top + 1);
    control().SetButtonStyle(3);
    const int flatTop = TopRow((Show(0), Print()), area, 0x000080);
    EXPECT_EQ(TopRow((Show(kButtonHeld | kPointerInside), Print()), area, 0x000080), flatTop);

    // Disabled without a text colour from the painter: white under grey, engraved.
    control().SetButtonStyle(0);
    impl().enabled = false;
    painted = (Show(0), Print());
    EXPECT_EQ(painted.Count(area, 0x000080), 0);
    EXPECT_GT(painted.Count(area, 0x808080), 10);
    EXPECT_GT(painted.Count(area, 0xFFFFFF), 10);
    EXPECT_EQ(TopRow(painted, area, 0xFFFFFF), TopRow(painted, area, 0x808080) + 1);
    impl().enabled = true;

    // Shapes 5 to 8 show their caption only while down.
    impl().buttonShape = 5;
    EXPECT_EQ((Show(0), Print()).Count(area, 0x000080), 0);
}

} // namespace
} // namespace butt::test
