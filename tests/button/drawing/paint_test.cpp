// The painted control, pixel by pixel: styles 0 to 3 in their states, the bevel rings at the
// points the bevel draws, style 2's shaded face and corner pixels, the focus marks, and the
// gradient bands.
#include "drawing_fixture.h"

#include <array>
#include <functional>

namespace butt::test {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kGrey = 0x808080;
constexpr Color kBlack = 0;
constexpr Color kFace = -1; // the edge is not drawn: the face shows

// EdgeColors as a painter fills them: index 1 to 12, inner, middle and outer ring, each
// left, top, right, bottom.
using Edges = std::array<Color, 13>;

Edges Rings(std::array<Color, 4> inner, std::array<Color, 4> middle, std::array<Color, 4> outer) {
    Edges edges{};
    for (int i = 0; i < 4; ++i) {
        edges[1 + i] = inner[i];
        edges[5 + i] = middle[i];
        edges[9 + i] = outer[i];
    }
    return edges;
}

// One point on each edge of a 100 x 30 rectangle's three rings, away from the corners.
constexpr std::array<POINT, 13> kEdgePoints = {POINT{0, 0}, {2, 15},  {50, 2},  {97, 15}, {50, 27},
                                               {1, 15},     {50, 1},  {98, 15}, {50, 28}, {0, 15},
                                               {50, 0},     {99, 15}, {50, 29}};

void ExpectEdges(const Painted& painted, const Edges& expected,
                 const std::function<Color(int)>& faceAtRow, const char* what) {
    static const char* const kNames[13] = {"",
                                           "inner left",
                                           "inner top",
                                           "inner right",
                                           "inner bottom",
                                           "middle left",
                                           "middle top",
                                           "middle right",
                                           "middle bottom",
                                           "outer left",
                                           "outer top",
                                           "outer right",
                                           "outer bottom"};
    for (int i = 1; i <= 12; ++i) {
        const POINT p = kEdgePoints[static_cast<std::size_t>(i)];
        const Color want = expected[static_cast<std::size_t>(i)] == kFace
                               ? faceAtRow(p.y)
                               : expected[static_cast<std::size_t>(i)];
        EXPECT_EQ(painted.At(p.x, p.y), want)
            << what << ": " << kNames[i] << " at (" << p.x << ", " << p.y << ")" << std::hex
            << " is 0x" << painted.At(p.x, p.y) << ", expected 0x" << want;
    }
}

class Painting : public DrawingTest {
  protected:
    void Start(long style, int width = 100, int height = 30) {
        Make(width, height);
        control().SetButtonStyle(style);
        control().SetHoverBackColor(kHover);
    }
    std::function<Color(int)> Flat(Color c) {
        return [c](int) { return c; };
    }
    // Style 2's shaded face: darker by up to 25 steps toward the bottom.
    std::function<Color(int)> Shaded(Color c) {
        const float height = impl().ScaleHeight();
        return [c, height](int y) { return ShiftColor(c, Round(-(25.0f / height) * y), true); };
    }
    static constexpr Color kHover = 0x00A0E0A0;
};

TEST_F(Painting, Style0RaisedButtonInEveryState) {
    Start(0);
    const Color face = impl().FaceColor;
    const Color light = 0xE9E9E9;
    ExpectEdges((Show(0), Print()),
                Rings({kFace, kFace, kFace, kFace}, {light, light, kGrey, kGrey},
                      {kWhite, kWhite, kBlack, kBlack}),
                Flat(face), "normal");
    ExpectEdges((Show(kPointerInside, true), Print()),
                Rings({kFace, kFace, kFace, kFace}, {light, light, kGrey, kGrey},
                      {kWhite, kWhite, kBlack, kBlack}),
                Flat(TranslateColor(kHover)), "hover");
    ExpectEdges((Show(kShowsFocus), Print()),
                Rings({light, light, kGrey, kGrey}, {kWhite, kWhite, kBlack, kBlack},
                      {kBlack, kBlack, kBlack, kBlack}),
                Flat(face), "focused");
    ExpectEdges((Show(kButtonHeld | kPointerInside, true, true), Print()),
                Rings({kFace, kFace, kFace, kFace}, {kFace, kFace, kGrey, kGrey},
                      {kWhite, kWhite, kBlack, kBlack}),
                Flat(face), "pressed");
    impl().enabled = false;
    ExpectEdges((Show(0), Print()),
                Rings({kFace, kFace, kFace, kFace}, {light, light, kGrey, kGrey},
                      {kWhite, kWhite, kBlack, kBlack}),
                Flat(face), "disabled");
    impl().enabled = true;

    // A toggle that is down: sunken, light inside bottom and right, white outside them.
    control().SetMode(1);
    control().SetValue(true);
    EXPECT_EQ(impl().DownFaceColor, 0xDFDFDF);
    ExpectEdges((Show(0), Print()),
                Rings({kFace, kFace, kFace, kFace}, {kFace, kFace, light, light},
                      {kBlack, kBlack, kWhite, kWhite}),
                Flat(0xDFDFDF), "toggled");
}

TEST_F(Painting, Style1ClassicButtonSwapsItsColoursWhenPressed) {
    Start(1);
    const Color face = impl().FaceColor;
    const Edges raised = Rings({kWhite, kWhite, kGrey, kGrey}, {kWhite, kWhite, kGrey, kGrey},
                               {kBlack, kBlack, kBlack, kBlack});
    const Edges sunken = Rings({kGrey, kGrey, kWhite, kWhite}, {kGrey, kGrey, kWhite, kWhite},
                               {kBlack, kBlack, kBlack, kBlack});
    ExpectEdges((Show(0), Print()), raised, Flat(face), "normal");
    ExpectEdges((Show(kPointerInside, true), Print()), raised, Flat(TranslateColor(kHover)),
                "hover");
    ExpectEdges((Show(kShowsFocus), Print()), raised, Flat(face), "focused");
    ExpectEdges((Show(kButtonHeld | kPointerInside, true, true), Print()), sunken, Flat(face),
                "pressed");
    impl().enabled = false;
    ExpectEdges((Show(0), Print()), raised, Flat(face), "disabled");
    impl().enabled = true;
    control().SetMode(1);
    control().SetValue(true);
    ExpectEdges((Show(0), Print()), sunken, Flat(impl().DownFaceColor), "toggled");
}

TEST_F(Painting, Style2ShadedButtonWithHotAndFocusRings) {
    Start(2);
    const Color base = impl().FaceColor;
    EXPECT_EQ(base, ShiftColor(0x00B0C8D8, 48, true));
    const auto s = [&](int a) { return ShiftColor(base, a, true); };
    const Color ring = 0x733C00;
    const Edges normal = Rings({s(-10), s(10), s(-24), s(-32)}, {s(-5), s(16), s(-36), s(-48)},
                               {ring, ring, ring, ring});
    const Edges hot = Rings({0x6BCBFF, 0x8CDBFF, 0x6BCBFF, 0x31B2FF},
                            {0x31B2FF, 0xA6E9FF, 0x31B2FF, 0x0096E7}, {ring, ring, ring, ring});
    const Edges focused = Rings({0xF0D1B5, 0xF7D7BD, 0xF0D1B5, 0xE7AE8C},
                                {0xE7AE8C, 0xFFDFBF, 0xE7AE8C, 0xEF826B}, {ring, ring, ring, ring});
    const Edges pressed = Rings({s(-22), s(-24), base, s(10)}, {s(-32), s(-32), s(5), s(16)},
                                {ring, ring, ring, ring});

    ExpectEdges((Show(0), Print()), normal, Shaded(base), "normal");
    ExpectEdges((Show(kPointerInside, true), Print()), hot,
                Shaded(ShiftColor(TranslateColor(kHover), 48, true)), "hot");
    // Hot wins over the focus.
    ExpectEdges((Show(kPointerInside | kShowsFocus, true), Print()), hot,
                Shaded(impl().HoverFaceColor), "hot with focus");
    ExpectEdges((Show(kShowsFocus), Print()), focused, Shaded(base), "focused");
    ExpectEdges((Show(kButtonHeld | kPointerInside, true, true), Print()), pressed,
                Shaded(impl().ShadeColor), "pressed");
    impl().showFocusRect = false;
    ExpectEdges((Show(kShowsFocus), Print()), normal, Shaded(base), "focus without rectangle");
    impl().showFocusRect = true;

    // The four corners are rounded with one pixel of the ring colour.
    Painted painted = (Show(0), Print());
    for (const POINT p : {POINT{1, 1}, POINT{1, 28}, POINT{98, 1}, POINT{98, 28}})
        EXPECT_EQ(painted.At(p.x, p.y), ring) << p.x << ", " << p.y;

    // Disabled: a flat darker face, no inner rings, a ring and corners of base - 84.
    impl().enabled = false;
    painted = (Show(0), Print());
    const Color disabledRing = s(-84);
    const Color disabledFace = s(-24);
    ExpectEdges(painted,
                Rings({kFace, kFace, kFace, kFace}, {kFace, kFace, kFace, kFace},
                      {disabledRing, disabledRing, disabledRing, disabledRing}),
                Flat(disabledFace), "disabled");
    for (const POINT p : {POINT{1, 1}, POINT{1, 28}, POINT{98, 1}, POINT{98, 28}})
        EXPECT_EQ(painted.At(p.x, p.y), disabledRing) << p.x << ", " << p.y;
    impl().enabled = true;

    // A toggle that is down draws the pressed rings on the down colour.
    control().SetMode(1);
    control().SetValue(true);
    const Color down = impl().DownFaceColor;
    EXPECT_EQ(down, ShiftColor(0xFFFFFF, -32, true));
    const auto d = [&](int a) { return ShiftColor(down, a, true); };
    ExpectEdges((Show(0), Print()),
                Rings({d(-22), d(-24), down, d(10)}, {d(-32), d(-32), d(5), d(16)},
                      {ring, ring, ring, ring}),
                Shaded(down), "toggled");
}

TEST_F(Painting, Style3FlatEtchedButton) {
    Start(3);
    const Color face = impl().FaceColor;
    const Color dark = ShiftColor(kGrey, -26);
    EXPECT_EQ(impl().ShadeColor, 0x8C8C8C);
    EXPECT_EQ(impl().DownFaceColor, 0xABABAB);
    ExpectEdges((Show(0), Print()),
                Rings({kFace, kFace, kFace, kFace}, {kWhite, kWhite, dark, dark},
                      {dark, dark, kWhite, kWhite}),
                Flat(face), "normal");
    ExpectEdges((Show(kPointerInside, true), Print()),
                Rings({kFace, kFace, kFace, kFace}, {kWhite, kWhite, dark, dark},
                      {dark, dark, kWhite, kWhite}),
                Flat(TranslateColor(kHover)), "hover");
    ExpectEdges((Show(kButtonHeld | kPointerInside, true, true), Print()),
                Rings({kFace, kFace, kFace, kFace}, {kFace, kFace, dark, dark},
                      {dark, dark, kWhite, kWhite}),
                Flat(0x8C8C8C), "pressed");
    impl().enabled = false;
    ExpectEdges(
        (Show(0), Print()),
        Rings({kFace, kFace, kFace, kFace}, {kFace, kFace, kFace, kFace}, {dark, dark, dark, dark}),
        Flat(face), "disabled");
    impl().enabled = true;
    control().SetMode(1);
    control().SetValue(true);
    ExpectEdges((Show(0), Print()),
                Rings({kFace, kFace, kFace, kFace}, {kFace, kFace, dark, dark},
                      {dark, dark, kWhite, kWhite}),
                Flat(0xABABAB), "toggled");
}

TEST_F(Painting, FocusMarks) {
    Start(0);
    const Color face = impl().FaceColor;
    // The standard dotted rectangle 4 pixels inside the body.
    Painted painted = (Show(kShowsFocus), Print());
    int dots = 0;
    for (int x = 4; x < 96; ++x)
        dots += painted.At(x, 4) != face ? 1 : 0;
    EXPECT_GE(dots, 40);
    EXPECT_LE(dots, 60);
    EXPECT_NE(painted.Count(RECT{4, 4, 5, 26}, face), 22);
    EXPECT_EQ(painted.Count(RECT{5, 5, 95, 25}, face), 90 * 20);
    EXPECT_EQ(painted.Count(RECT{3, 3, 97, 4}, face), 94);

    // A toggle that is down and focused: a solid black outline.
    control().SetMode(1);
    control().SetValue(true);
    painted = (Show(kShowsFocus), Print());
    EXPECT_EQ(painted.Count(RECT{4, 4, 96, 5}, kBlack), 92);
    EXPECT_EQ(painted.Count(RECT{4, 4, 5, 26}, kBlack), 22);

    // Side-cut shapes: a polyline along the slant, in the face darkened by 48.
    control().SetValue(false);
    control().SetMode(0);
    control().SetButtonShape(1);
    painted = (Show(kShowsFocus), Print());
    const Color mark = ShiftColor(face, -48);
    EXPECT_EQ(painted.At(50, 4), mark);
    EXPECT_EQ(painted.At(8, 4), mark);
    EXPECT_EQ(painted.At(50, 25), mark);

    // Style 3 outlines the caption in 0xCC9999, solid.
    Make(100, 30, "Go");
    control().SetButtonStyle(3);
    painted = (Show(kShowsFocus), Print());
    const RECT caption = impl().CaptionRect;
    const int e = (caption.right >= 96 || caption.left <= 4) ? 1 : 2;
    EXPECT_EQ(painted.At(caption.left - e, caption.top - e), 0xCC9999);
    EXPECT_EQ(painted.At(caption.right + e - 1, caption.bottom + e - 1), 0xCC9999);
    EXPECT_EQ(painted.At((caption.left + caption.right) / 2, caption.top - e), 0xCC9999);
}

TEST_F(Painting, ShadedFaceDarkensRowByRow) {
    Start(2, 100, 50); // 25 / 50: half a step per row, halves rounded to even
    const Color face = impl().FaceColor;
    const Painted painted = (Show(0), Print());
    for (int y = 3; y <= 46; ++y) {
        int steps = y / 2;
        if (y % 2 == 1 && steps % 2 == 1)
            ++steps;
        EXPECT_EQ(painted.At(50, y), ShiftColor(face, -steps, true)) << "row " << y;
    }
    // 25 rows: one step per row, so the last face row is 21 steps darker.
    Start(2, 100, 25);
    const Painted small = (Show(0), Print());
    EXPECT_EQ(small.At(50, 21), ShiftColor(impl().FaceColor, -21, true));
}

TEST_F(Painting, GradientBandsOfOneAndTwoPixels) {
    Start(0);
    control().SetBackColor(0x000000);
    control().SetGradientColor(0xFFFFFF);
    control().SetGradientMode(1);
    const std::vector<Color> columns = GradientColors(100, 0, 0xFFFFFF);
    Painted painted = (Show(0), Print());
    for (int x = 3; x < 97; ++x)
        EXPECT_EQ(painted.At(x, 15), columns[static_cast<std::size_t>(x)]) << "column " << x;
    EXPECT_EQ(painted.At(50, 10), painted.At(50, 20));

    control().SetGradientMode(2); // the mirror image
    painted = (Show(0), Print());
    for (int x = 3; x < 97; ++x)
        EXPECT_EQ(painted.At(x, 15), columns[static_cast<std::size_t>(99 - x)]) << x;

    control().SetGradientMode(3); // top to bottom; 4 mirrors it
    const std::vector<Color> rows = GradientColors(30, 0, 0xFFFFFF);
    painted = (Show(0), Print());
    for (int y = 3; y < 27; ++y)
        EXPECT_EQ(painted.At(50, y), rows[static_cast<std::size_t>(y)]) << "row " << y;
    control().SetGradientMode(4);
    painted = (Show(0), Print());
    for (int y = 3; y < 27; ++y)
        EXPECT_EQ(painted.At(50, y), rows[static_cast<std::size_t>(29 - y)]) << "row " << y;

    // Wider than a quarter of the screen: two-pixel bands.
    const int wide = GetSystemMetrics(SM_CXSCREEN) / 4 + 10;
    Start(0, wide, 30);
    control().SetBackColor(0x000000);
    control().SetGradientColor(0xFFFFFF);
    control().SetGradientMode(1);
    const std::vector<Color> bands =
        GradientColors(static_cast<std::size_t>(wide / 2), 0, 0xFFFFFF);
    painted = (Show(0), Print());
    for (int x = 4; x < wide - 4; ++x)
        EXPECT_EQ(painted.At(x, 15), bands[static_cast<std::size_t>(x / 2)]) << "column " << x;
}

TEST_F(Painting, ApplyButtonLook) {
    // The program's own button: style 2, vertical gradient (mode 4), dark blue.
    Make(76, 24);
    control().SetButtonStyle(2);
    control().SetHoverColorLocks(1);
    control().SetBackColor(0x00400000);
    control().SetGradientColor(0x00493328);
    control().SetGradientMode(4);
    control().SetHoverBackColor(0x00400000);
    control().SetForeColor(0x00C0C0C0);
    control().SetCaption("APPLY");
    const Color top = ShiftColor(0x00493328, 48, true);
    const Color bottom = impl().FaceColor;
    EXPECT_EQ(bottom, 0x503030);
    const std::vector<Color> rows = GradientColors(24, bottom, top);
    Painted painted = (Show(0), Print());
    for (int y = 3; y <= 20; ++y)
        EXPECT_EQ(painted.At(5, y), rows[static_cast<std::size_t>(23 - y)]) << "row " << y;
    EXPECT_EQ(painted.At(1, 1), 0x733C00);
    EXPECT_GT(painted.Count(impl().CaptionRect, 0xC0C0C0), 10);

    // Hovering: the flat hover colour (its gradient colour differs from the hover colour).
    painted = (Show(kPointerInside, true), Print());
    EXPECT_EQ(painted.At(5, 10), impl().HoverFaceColor);
    EXPECT_EQ(painted.At(5, 15), impl().HoverFaceColor);
    EXPECT_EQ(painted.At(2, 10), 0x6BCBFF);
    // Pressed: the gradient again, and the pressed rings.
    painted = (Show(kButtonHeld | kPointerInside, true, true), Print());
    EXPECT_EQ(painted.At(5, 10), rows[13]);
    EXPECT_EQ(painted.At(2, 10), ShiftColor(bottom, -22, true));
}

TEST_F(Painting, RoundOutlinesAreFramedInTheirStateColour) {
    Start(2);
    control().SetButtonShape(4);
    const RegionPixels outer(impl().OuterRegion.get());
    const int y = 15;
    const int left = outer.Row(y).first;
    EXPECT_EQ((Show(kShowsFocus), Print()).At(left, y), 0xEF826B);
    EXPECT_EQ((Show(kPointerInside, true), Print()).At(left, y), 0x0096E7);
    EXPECT_NE((Show(0), Print()).At(left, y), 0x0096E7);
}

TEST_F(Painting, NothingIsPaintedWhileDelayedOrForAnUnknownStyle) {
    Start(1);
    Show(0);
    HDC buffer = impl().BackBufferDC.get();
    const auto mark = [&] { impl().DrawRect(buffer, 0, 0, 100, 30, 0x123456, -1, 0, 0); };
    mark();
    impl().delayDrawing = true;
    impl().DrawButton();
    EXPECT_EQ(Print().At(50, 15), 0x123456);
    impl().delayDrawing = false;
    impl().buttonStyle = 8;
    impl().DrawButton();
    EXPECT_EQ(Print().At(50, 15), 0x123456);
    impl().buttonStyle = 1;
    impl().DrawButton();
    EXPECT_EQ(Print().At(50, 15), impl().FaceColor);
}

} // namespace
} // namespace butt::test
