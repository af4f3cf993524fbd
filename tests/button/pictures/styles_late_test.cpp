// Styles 4 to 7 on a 100 x 30 button: the colours of the three bevel rings per state, style
// 5's hot tracking and design-time outlines, style 6's swapped rings, style 7's corners.
#include "control_fixture.h"

namespace butt::test {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kBlack = 0;
constexpr COLORREF kLight = 0xE7E7E7; // ShiftColor(0xDFDFDF, +8)

// Colours of one ring: left, top, right, bottom.
struct Ring {
    COLORREF left, top, right, bottom;
};
Ring Raised(COLORREF light, COLORREF dark) {
    return {light, light, dark, dark};
}
Ring Flat(COLORREF c) {
    return {c, c, c, c};
}

// The points DrawBevel draws for each ring of a 100 x 30 rectangle: ring 0 is the outer.
void ExpectRing(const Print& print, int ring, const Ring& expected) {
    const int d = ring;
    SCOPED_TRACE(::testing::Message() << "ring " << ring);
    EXPECT_EQ(Hex(print(d, 15)), Hex(expected.left)) << "left";
    EXPECT_EQ(Hex(print(50, d)), Hex(expected.top)) << "top";
    EXPECT_EQ(Hex(print(99 - d, 15)), Hex(expected.right)) << "right";
    EXPECT_EQ(Hex(print(50, 29 - d)), Hex(expected.bottom)) << "bottom";
}

Color Shift(Color c, int amount, bool blue = false) {
    return ShiftColor(c, amount, blue);
}

class LateStyles : public ControlTest {};

TEST_F(LateStyles, Style4DrawsOneThinRingThatSinksWhenPressed) {
    Make(100, 30, 4);
    Print print = Draw();
    ExpectRing(print, 0, Raised(kWhite, kGrey));
    ExpectRing(print, 1, Flat(kFace));
    ExpectRing(print, 2, Flat(kFace));

    Hover(true);
    print = Draw();
    ExpectRing(print, 0, Raised(kWhite, kGrey));
    EXPECT_EQ(Hex(print(50, 15)), Hex(static_cast<COLORREF>(impl().HoverFaceColor)));

    Press(true);
    print = Draw();
    ExpectRing(print, 0, Raised(kGrey, kWhite));
    ExpectRing(print, 1, Flat(kFace));

    Press(false);
    Hover(false);
    control->SetMode(1);
    control->SetValue(true);
    print = Draw();
    ExpectRing(print, 0, Raised(kGrey, kWhite));
}

TEST_F(LateStyles, Style5ShowsNoBorderAtRunTimeUntilThePointerIsOver) {
    Make(100, 30, 5);
    Print print = Draw();
    for (int ring = 0; ring < 3; ++ring)
        ExpectRing(print, ring, Flat(kFace));

    Hover(true);
    print = Draw();
    ExpectRing(print, 0, Raised(kWhite, kGrey));
    ExpectRing(print, 1, Flat(static_cast<COLORREF>(impl().HoverFaceColor)));

    Press(true);
    print = Draw();
    ExpectRing(print, 0, Raised(kGrey, kWhite));

    Press(false);
    Hover(false);
    control->SetMode(1);
    control->SetValue(true);
    print = Draw();
    // A toggle that is down keeps its border.
    ExpectRing(print, 0, Raised(kGrey, kWhite));
}

// Counts of the pixels of one colour along the top row (x 0 to 98).
int CountOnTopRow(const Print& print, COLORREF c) {
    int n = 0;
    for (int x = 0; x < 99; ++x)
        n += print(x, 0) == c;
    return n;
}

TEST_F(LateStyles, Style5InAFormEditorDrawsADottedOuterRing) {
    host.userMode = false;
    Make(100, 30, 5);
    impl().ContainerBackColor = 0xC8D0D4;
    Print print = Draw();
    const COLORREF ring = 0x889094; // the container's colour, 64 darker
    const int dots = CountOnTopRow(print, ring);
    EXPECT_GT(dots, 25) << "dotted, not missing";
    EXPECT_LT(dots, 75) << "dotted, not solid";
    EXPECT_EQ(dots + CountOnTopRow(print, kFace), 99);
    ExpectRing(print, 1, Flat(kFace));

    // Where 64 darker would be black, the ring is white.
    impl().ContainerBackColor = 0x303030;
    print = Draw();
    EXPECT_GT(CountOnTopRow(print, kWhite), 25);

    // Under the pointer the ring shows the state, still dotted.
    impl().ContainerBackColor = 0xC8D0D4;
    Hover(true);
    print = Draw();
    EXPECT_GT(CountOnTopRow(print, kWhite), 25);
    EXPECT_LT(CountOnTopRow(print, kWhite), 75);
}

TEST_F(LateStyles, Style5RoundButtonsShowADottedEllipseOnlyInAFormEditor) {
    for (const bool designing : {true, false}) {
        SCOPED_TRACE(designing ? "designing" : "running");
        host.userMode = !designing;
        Make(100, 30, 5, 4);
        impl().ContainerBackColor = 0xC8D0D4;
        const Print print = Draw();
        const COLORREF outline = 0xA8B0B4; // the container's colour, 32 darker
        int onEllipse = 0;
        int elsewhere = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x) {
                if (print(x, y) != outline)
                    continue;
                const double dx = (x + 0.5 - 50) / 50;
                const double dy = (y + 0.5 - 15) / 15;
                const double r = dx * dx + dy * dy;
                (r > 0.7 && r < 1.3 ? onEllipse : elsewhere)++;
            }
        EXPECT_EQ(elsewhere, 0);
        if (designing) {
            EXPECT_GT(onEllipse, 40);
            EXPECT_LT(onEllipse, 200) << "dotted";
        } else {
            EXPECT_EQ(onEllipse, 0);
        }
        // No bevel on a round button.
        EXPECT_EQ(Hex(print(50, 2)), Hex(kFace));
        EXPECT_EQ(Hex(print(50, 27)), Hex(kFace));
    }
}

TEST_F(LateStyles, Style6SwapsBothRingsWhenPressed) {
    Make(100, 30, 6);
    Print print = Draw();
    ExpectRing(print, 0, Raised(kLight, kGrey));
    ExpectRing(print, 1, Raised(kLight, kGrey));
    ExpectRing(print, 2, Flat(kFace));

    Press(true);
    print = Draw();
    ExpectRing(print, 0, Raised(kGrey, kLight));
    ExpectRing(print, 1, Raised(kGrey, kLight));
    ExpectRing(print, 2, Flat(kFace));

    Press(false);
    control->SetMode(1);
    control->SetValue(true);
    print = Draw();
    // A toggle that is down is sunken.
    ExpectRing(print, 0, Raised(kGrey, kLight));
}

TEST_F(LateStyles, Style7HasALightTopEdgeABlackRingAndTenCornerPixels) {
    Make(100, 30, 7);
    const Print print = Draw();
    const auto face = static_cast<COLORREF>(Shift(kFace, 31));
    const auto e5 = static_cast<COLORREF>(Shift(static_cast<Color>(face), 31, true));
    const auto e7 = static_cast<COLORREF>(Shift(static_cast<Color>(face), -64, true));
    EXPECT_EQ(Hex(print(50, 15)), Hex(face));
    ExpectRing(print, 0, Flat(kBlack));
    ExpectRing(print, 1, Raised(e5, e7));
    ExpectRing(print, 2, Raised(kWhite, face));

    EXPECT_EQ(Hex(print(3, 3)), Hex(kWhite));
    EXPECT_EQ(Hex(print(1, 27)), Hex(face));
    EXPECT_EQ(Hex(print(2, 2)), Hex(e5));
    EXPECT_EQ(Hex(print(1, 28)), Hex(kBlack));
    EXPECT_EQ(Hex(print(1, 1)), Hex(kBlack));
    EXPECT_EQ(Hex(print(96, 26)), Hex(face));
    EXPECT_EQ(Hex(print(97, 1)), Hex(face));
    EXPECT_EQ(Hex(print(97, 27)), Hex(e7));
    EXPECT_EQ(Hex(print(98, 28)), Hex(kBlack));
    EXPECT_EQ(Hex(print(98, 1)), Hex(kBlack));
}

TEST_F(LateStyles, Style7SkipsTheLeftCornersOfASlantedLeftEdge) {
    Make(100, 30, 7, 1);
    ASSERT_NE(impl().BodyLeft, 0);
    const Print print = Draw();
    const auto face = static_cast<COLORREF>(Shift(kFace, 31));
    const auto e7 = static_cast<COLORREF>(Shift(static_cast<Color>(face), -64, true));
    // Left of the slanted edge lies plain face where the corner pixels would be.
    EXPECT_EQ(Hex(print(1, 28)), Hex(face));
    EXPECT_NE(Hex(print(3, 3)), Hex(kWhite));
    // The right side is a full corner.
    EXPECT_EQ(Hex(print(97, 1)), Hex(face));
    EXPECT_EQ(Hex(print(97, 27)), Hex(e7));
    EXPECT_EQ(Hex(print(98, 28)), Hex(kBlack));
    EXPECT_EQ(Hex(print(98, 1)), Hex(kBlack));
}

TEST_F(LateStyles, Style7ToggleDownIsDrawnOnGrey) {
    Make(100, 30, 7);
    control->SetMode(1);
    control->SetValue(true);
    const Print print = Draw();
    ExpectRing(print, 0, Flat(kBlack));
    ExpectRing(print, 1, Raised(0x404040, 0x707070));
    ExpectRing(print, 2, Raised(0x606060, kGrey));
    EXPECT_EQ(Hex(print(3, 3)), Hex(0x606060));
    EXPECT_EQ(Hex(print(97, 27)), Hex(0x707070));
}

TEST_F(LateStyles, PictureOutlinesAreFramedInBlackWhenFocused) {
    PixelImage image = FilledImage(60, 40, RGB(0, 160, 0));
    image.at(0, 0) = RGB(255, 0, 255);
    // Style 5 has no frame while idle: it shows its outline only under the pointer.
    for (const long style : {4L, 6L, 7L}) {
        SCOPED_TRACE(::testing::Message() << "style " << style);
        Make(60, 40, style, 0);
        control->SetPicture(Picture::FromBitmap(MakeDib(image)));
        control->SetButtonShape(7);
        impl().StateFlags |= kShowsFocus;
        const Print print = Draw();
        // The outer region's edge: one pixel inside the outline.
        EXPECT_EQ(Hex(print(30, 1)), Hex(kBlack));
        EXPECT_EQ(Hex(print(30, 20)), Hex(RGB(0, 160, 0)));
    }
}

} // namespace
} // namespace butt::test
