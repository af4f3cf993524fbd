// Drawing beyond the sheet's looks: colour arithmetic, the outlines of the shapes as region
// rectangles, wide gradients, the caption font and what a delay paints.
#include "harness.h"

#include <tuple>

namespace butt::test {
namespace {

TEST(Colors, ShiftTranslateRoundAndGradientBands) {
    // A colour shifted by an amount, blue scaled, extremes avoided, inverted: what it becomes
    // and the amount after.
    const std::tuple<Color, short, bool, bool, bool, Color, short> shifts[] = {
        // Blue moves by amount x blue / 192, truncated: 128 + trunc(-25 x 128 / 192) = 112.
        {0x808080, -25, true, false, false, 0x706767, -25},
        {0x00F010, 32, false, false, false, 0x20FF30, 32}, // channels stop at 0 and 255
        {0x1020F0, -32, false, false, false, 0x0000D0, -32},
        {0x102030, 16, false, false, true, 0xDFCFBF, 16},   // inverted after clamping
        {0x000000, -32, false, true, false, 0x202020, 32},  // black turned the other way
        {0x000000, 0, false, true, false, 0x404040, 64},    // no amount: 64
        {0xFFFFFF, 0, false, true, false, 0xBFBFBF, -64},   // +64 is still white: turned again
        {0x808080, 300, false, true, false, 0xFFFFFF, 300}, // both extremes: two turns, then stop
        {0xFF00FF, 1, false, true, false, 0xFF01FF, 1},
    };
    for (const auto& [color, by, scaleBlue, avoidExtremes, invert, result, after] : shifts) {
        short amount = by;
        EXPECT_EQ(ShiftColor(color, amount, scaleBlue, avoidExtremes, invert), result)
            << std::hex << color << " by " << std::dec << by;
        EXPECT_EQ(amount, after) << std::hex << color;
    }
    EXPECT_EQ(TranslateColor(0x00123456), 0x00123456);
    EXPECT_EQ(TranslateColor(kButtonFace), static_cast<Color>(GetSysColor(COLOR_BTNFACE)));
    const std::pair<double, int> rounded[] = {{2.5, 2},    {3.5, 4},          {-2.5, -2},
                                              {-1.51, -2}, {1e12, INT32_MAX}, {-1e12, INT32_MIN}};
    for (const auto& [value, expected] : rounded)
        EXPECT_EQ(Round(value), expected) << value;
    // n bands from one colour to another.
    const std::tuple<std::size_t, Color, Color, std::vector<Color>> gradients[] = {
        {0, 0, 0xFFFFFF, {}},
        {1, 0x123456, 0xFFFFFF, {0x123456}},
        {3, 0x0000FF, 0xFF0000, {0x0000FF, 0x7F007F, 0xFF0000}},
        {4, 0x102030, 0x000000, {0x102030, 0x0A1520, 0x050A10, 0x000000}},
    };
    for (const auto& [n, first, second, bands] : gradients)
        EXPECT_EQ(GradientColors(n, first, second), bands) << n;
}

class Drawing : public ButtonTest {};

TEST_F(Drawing, EveryShapeHasItsOutline) {
    // Triangles with legs of 2 pixels at the top and 3 at the bottom.
    const char* kTriangles = "(2,0,8,1) (10,0,11,1) (1,1,9,2) (10,1,11,2) (0,2,11,4) (1,4,9,5) "
                             "(10,4,11,5) (2,5,8,6) (10,5,11,6) (0,6,11,7) ";
    // Style, shape, width and height: the window region's rectangles, the body's left and right.
    const std::tuple<long, long, int, int, const char*, int, int> cases[] = {
        // One pixel larger than the client area, corner cuts by style.
        {0, 0, 10, 6, "(0,0,11,7) ", 0, 10},
        {1, 0, 10, 6, "(1,0,9,1) (10,0,11,1) (0,1,11,5) (1,5,9,6) (10,5,11,6) (0,6,11,7) ", 0, 10},
        {2, 0, 10, 6, kTriangles, 0, 10},
        // Slanted sides at 45 degrees over the height plus one; only vertical sides are cut.
        {0, 1, 12, 6,
         "(0,0,13,1) (1,1,13,2) (2,2,13,3) (3,3,13,4) (4,4,13,5) (5,5,13,6) (6,6,13,7) ", 7, 12},
        {2, 2, 12, 6, "(2,0,6,1) (1,1,7,2) (0,2,8,3) (0,3,9,4) (1,4,10,5) (2,5,11,6) (0,6,12,7) ",
         0, 5},
        // Too narrow for its slants: five pixels wider, once.
        {0, 3, 8, 6, "(0,0,7,1) (1,1,8,2) (2,2,9,3) (3,3,10,4) (4,4,11,5) (5,5,12,6) (6,6,13,7) ",
         7, 6},
        // Ellipses: the system's, one pixel short on the right and at the bottom.
        {0, 4, 10, 6, "(2,0,7,1) (1,1,8,2) (0,2,9,3) (1,3,8,4) (2,4,7,5) ", 0, 10},
    };
    for (const auto& [style, shape, width, height, rects, bodyLeft, bodyRight] : cases) {
        SCOPED_TRACE(::testing::Message() << "style " << style << " shape " << shape);
        Butt& b = Make(width, height);
        b.SetButtonStyle(style);
        b.SetButtonShape(shape);
        EXPECT_EQ(Describe(WindowRegionRects(b.hWnd())), rects);
        EXPECT_EQ(canvas().BodyLeft * 100 + canvas().BodyRight, bodyLeft * 100 + bodyRight);
        EXPECT_EQ(static_cast<bool>(canvas().OuterRegion), shape >= 4);
    }
    // Style 3 cuts its corners only while enabled.
    Butt& b = Make(10, 6);
    b.SetButtonStyle(3);
    b.SetEnabled(false);
    EXPECT_EQ(Describe(WindowRegionRects(b.hWnd())), "(0,0,11,7) ");
    // The inset regions of an ellipse, which the painters clip to.
    b.SetButtonShape(4);
    EXPECT_EQ(Describe(RegionRects(canvas().OuterRegion.get())), "(2,1,7,2) (1,2,8,3) (2,3,7,4) ");
    EXPECT_EQ(Describe(RegionRects(canvas().InnerRegion.get())), "(2,2,7,3) ");
    // A picture outline whose key is near pure red, as the colour read beyond the picture is:
    // the column and the row there erode its insets, which hold the pixels more than one and two
    // steps (diagonals too) from every key pixel.
    b.SetPicture(MakePicture(6, 5, [](int x, int y) { return x + y ? kFace : Rgb(253, 2, 1); }));
    tv::UniqueRegion outline;
    canvas().RegionFromPicture(6, 5, &outline);
    std::string rects;
    for (const HRGN region :
         {outline.get(), canvas().OuterRegion.get(), canvas().InnerRegion.get()})
        rects += Describe(RegionRects(region)) + "| ";
    EXPECT_EQ(rects, "(1,0,6,1) (0,1,6,5) | (2,0,5,2) (0,2,5,4) | (3,0,4,3) | ");
}

TEST_F(Drawing, TheHostsEnableWindowIsFollowedAndNoSideIsLargerThanABagStores) {
    Butt& b = Make(100, 30, "Go");
    const Pixels enabled = Print();
    EnableWindow(b.hWnd(), FALSE); // by the host: as if Enabled were set
    EXPECT_TRUE(!b.Enabled() && Print() != enabled);
    // No side beyond 3,779 pixels, the largest whose extent a bag takes back: made, moved,
    // saved and loaded.
    auto made = Butt::Create(Form(), 1, {0, 0, 100000, 24}, host);
    EXPECT_EQ(made->impl().canvas.ScaleWidth(), 3779);
    MoveWindow(made->hWnd(), 0, 0, 5000, 40000, FALSE);
    PropertyBag bag;
    made->Save(bag);
    std::string error;
    auto loaded = Butt::Load(Form(), 2, {0, 0, 10, 10}, host, bag, &error);
    EXPECT_EQ(loaded->impl().canvas.ScaleWidth() + loaded->impl().canvas.ScaleHeight(), 2 * 3779)
        << error;
}

TEST_F(Drawing, WideGradientsPaintTwoPixelBands) {
    const int wide = GetSystemMetrics(SM_CXSCREEN) / 4 + 11;
    Butt& b = Make(wide, 30);
    b.SetButtonStyle(5); // no border at run time: every column shows its band
    b.SetGradientMode(1);
    for (const auto& [from, to] : {std::pair{0x000000, 0xFFFFFF}, {0xFFFFFF, 0x000000}}) {
        b.SetBackColor(from);
        b.SetGradientColor(to); // black too is a colour to go to
        const auto bands = GradientColors(static_cast<std::size_t>(wide / 2), from, to);
        // Idle after hover and press: no border, not even a bottom row (29) in their pen.
        for (const int flags : {kPointerInside, kButtonHeld | kPointerInside, 0})
            Show(flags, flags != 0, flags & kButtonHeld);
        const Pixels painted = Print();
        for (int x = 0; x < wide; ++x) // the odd last column belongs to the last band
            ASSERT_EQ(painted.At(x, 29),
                      static_cast<COLORREF>(bands[std::min(x / 2, wide / 2 - 1)]))
                << "column " << x << " from " << from;
    }
}

TEST_F(Drawing, TheCaptionFontIsMadeFromTheControlsFont) {
    Make(76, 24, "APPLY");
    // The caption's font: height, weight, italic underline strikeout, charset and face.
    const auto made = [&] {
        LOGFONTW f{};
        GetObjectW(GetCurrentObject(canvas().BufferDc(), OBJ_FONT), sizeof f, &f);
        wchar_t text[64];
        std::swprintf(text, std::size(text), L"%ld %ld %d%d%d %d ", f.lfHeight, f.lfWeight,
                      f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet);
        return text + std::wstring(f.lfFaceName);
    };
    // -20 x 8.25 / 15 twips per pixel (96 dots per inch) = -11; the charset is DEFAULT_CHARSET.
    control->SetFont(FontDesc{"Verdana", 8.25f, 700, true, false, true, 204});
    EXPECT_EQ(made(), L"-11 700 101 1 Verdana");
    control->SetFont(FontDesc{std::string(40, 'x'), 12.0f, 400}); // the face cut at 31 letters
    EXPECT_EQ(made(), L"-16 400 000 1 " + std::wstring(31, L'x'));
    control->SetFont(FontDesc{"\xC3\x84rger \xD0\x9F", 12.0f, 400}); // UTF-8, as captions
    EXPECT_EQ(made(), L"-16 400 000 1 \u00C4rger \u041F");
}

TEST_F(Drawing, NothingIsPaintedWhileDelayedOrForAnUnknownStyleAndTheNextDrawingEndsADelay) {
    Butt& b = Make();
    Show(0);
    canvas().DrawRect(canvas().BufferDc(), 0, 0, 100, 30, 0x123456, -1, 0, 0);
    const std::tuple<bool, long, COLORREF> steps[] = {
        {true, b.ButtonStyle(), 0x123456}, {false, 8, 0x123456}, {false, 1, kFace}};
    for (const auto& [delay, style, colour] : steps) {
        canvas().delayDrawing = delay;
        impl().properties.buttonStyle = static_cast<Style>(style);
        impl().DrawButton();
        EXPECT_EQ(Print().At(50, 15), colour) << style;
    }
    const std::pair<const char*, std::function<void()>> enders[] = {
        {"ForeColor", [&] { b.SetForeColor(0x010203); }}, // ends a delay by itself
        {"Refresh", [&] { b.Refresh(); }},
        {"DelayDrawing", [&] { b.DelayDrawing(false); }},
        {"WM_PAINT", [&] { SendMessageW(b.hWnd(), WM_PAINT, 0, 0); }},
        {"a press", [&] { Mouse(b, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON); }}};
    for (const auto& [name, end] : enders) {
        b.DelayDrawing(true);
        EXPECT_TRUE(b.impl().canvas.delayDrawing);
        end();
        EXPECT_FALSE(b.impl().canvas.delayDrawing) << name;
    }
    Mouse(b, WM_LBUTTONUP);
}

} // namespace
} // namespace butt::test
