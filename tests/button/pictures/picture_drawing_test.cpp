// Pictures on the face: the key colour and its near neighbours show the face at every picture
// size, a disabled control greys its picture, icons keep their own mask, a picture that
// cannot be measured draws nothing, and a removed picture leaves no copy behind.
#include "control_fixture.h"
#include "dib.h"

namespace butt::test {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kNearKey1 = RGB(252, 3, 254);
constexpr COLORREF kNearKey2 = RGB(255, 3, 252);
constexpr COLORREF kJustOff = RGB(251, 0, 255); // 4 away: part of the picture
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kRed = RGB(200, 30, 30);
constexpr COLORREF kBlue = RGB(30, 30, 200);
constexpr COLORREF kYellow = RGB(220, 200, 40);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// 4 x 4 blocks of 8 x 8 pixels; the top-left block is the key.
constexpr COLORREF kBlocks[4][4] = {
    {kKey, kNearKey1, kGreen, kJustOff},
    {kBlack, kWhite, kNearKey2, kRed},
    {kKey, kBlue, kNearKey1, kYellow},
    {kGreen, kKey, kBlack, kWhite},
};

bool IsKeyLike(COLORREF c) {
    return c == kKey || c == kNearKey1 || c == kNearKey2;
}

PicturePtr BlockPicture() {
    PixelImage image = FilledImage(32, 32, kKey);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.at(x, y) = kBlocks[y / 8][x / 8];
    return Picture::FromBitmap(MakeDib(image));
}

// The disabled look: white bits of the picture keep the face, the others take grey's bits.
COLORREF GreyMix(COLORREF picture, COLORREF face) {
    return (picture & face) | (~picture & 0x808080 & 0xFFFFFF);
}

// The centre of block (column, row) of a 4 x 4 grid drawn into `r`.
POINT BlockCentre(const RECT& r, int column, int row) {
    return POINT{r.left + (2 * column + 1) * (r.right - r.left) / 8,
                 r.top + (2 * row + 1) * (r.bottom - r.top) / 8};
}

// An icon, left half red and opaque, right half transparent by its mask.
HICON HalfIcon() {
    PixelImage colour = FilledImage(16, 16, kRed);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            colour.at(x, y) = kBlack;
    // Mask rows: a 1 bit lets the background through.
    std::vector<WORD> maskRows(16, 0);
    for (WORD& row : maskRows)
        row = 0xFF00; // bytes: 0x00 (left 8 opaque), 0xFF (right 8 transparent)
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = MakeDib(colour);
    info.hbmMask = CreateBitmap(16, 16, 1, 1, maskRows.data());
    const HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return icon;
}

// A monochrome icon: no colour bitmap, AND mask above XOR image in one 16 x 32 mask. Left
// half black and opaque, right half transparent.
HICON MonochromeIcon() {
    std::vector<WORD> rows(32, 0);
    for (int y = 0; y < 16; ++y)
        rows[static_cast<size_t>(y)] = 0xFF00; // AND: right half keeps the screen
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = CreateBitmap(16, 32, 1, 1, rows.data());
    const HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmMask);
    return icon;
}

class PictureDrawing : public ControlTest {
  protected:
    void MakeWithPicture(PicturePtr picture, long size, bool enabled = true) {
        Make(120, 60, 4, 0);
        control->SetPictureSize(size);
        control->SetPicture(std::move(picture));
        control->SetEnabled(enabled);
    }
};

TEST_F(PictureDrawing, KeyAndNearKeyPixelsShowTheFaceAtEveryPictureSize) {
    for (long size = 0; size <= 4; ++size) {
        SCOPED_TRACE(::testing::Message() << "PictureSize " << size);
        MakeWithPicture(BlockPicture(), size);
        const Print print = Draw();
        const RECT r = impl().PictureRect;
        if (size < 3) {
            EXPECT_EQ(r.right - r.left, 16 + 8 * size);
            EXPECT_EQ(r.bottom - r.top, 16 + 8 * size);
        }
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column) {
                const POINT p = BlockCentre(r, column, row);
                const COLORREF block = kBlocks[row][column];
                const COLORREF expected = IsKeyLike(block) ? kFace : block;
                EXPECT_EQ(Hex(print(p.x, p.y)), Hex(expected))
                    << "block " << column << "," << row << " at " << p.x << "," << p.y;
            }
        // Beside a square picture the face is untouched.
        if (size != 3) {
            EXPECT_EQ(Hex(print(110, 30)), Hex(kFace));
        }
        EXPECT_EQ(impl().PictureKind, 0);
        EXPECT_EQ(impl().PictureWidth, 32);
    }
}

TEST_F(PictureDrawing, ADisabledPictureKeepsWhiteTransparentAndGreysTheRest) {
    MakeWithPicture(BlockPicture(), 2, false);
    const Print print = Draw();
    const RECT r = impl().PictureRect;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            const POINT p = BlockCentre(r, column, row);
            const COLORREF block = kBlocks[row][column];
            const COLORREF expected = IsKeyLike(block) ? kFace : GreyMix(block, kFace);
            EXPECT_EQ(Hex(print(p.x, p.y)), Hex(expected)) << "block " << column << "," << row;
        }
    // The two rules the look rests on, by name.
    EXPECT_EQ(Hex(print(BlockCentre(r, 0, 1).x, BlockCentre(r, 0, 1).y)), Hex(0x808080));
    EXPECT_EQ(Hex(print(BlockCentre(r, 1, 1).x, BlockCentre(r, 1, 1).y)), Hex(kFace));
}

TEST_F(PictureDrawing, IconsAreDrawnWithTheirOwnMask) {
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        MakeWithPicture(Picture::FromIcon(HalfIcon(), Picture::Kind::Icon), 0, enabled);
        const Print print = Draw();
        EXPECT_EQ(impl().PictureKind, 1);
        EXPECT_EQ(impl().PictureWidth, 16);
        EXPECT_FALSE(impl().ShapeBitmap) << "icons are not key-coloured";
        const RECT r = impl().PictureRect;
        ASSERT_EQ(r.right - r.left, 16);
        const COLORREF red = enabled ? kRed : GreyMix(kRed, kFace);
        EXPECT_EQ(Hex(print(r.left + 3, r.top + 8)), Hex(red));
        EXPECT_EQ(Hex(print(r.left + 12, r.top + 8)), Hex(kFace));
    }
}

TEST_F(PictureDrawing, MonochromeIconsAndCursorsAreMeasuredAndDrawn) {
    MakeWithPicture(Picture::FromIcon(MonochromeIcon(), Picture::Kind::Cursor), 0);
    const Print print = Draw();
    EXPECT_EQ(impl().PictureKind, 1);
    EXPECT_EQ(impl().PictureWidth, 16);
    EXPECT_EQ(impl().PictureHeight, 16);
    const RECT r = impl().PictureRect;
    EXPECT_EQ(Hex(print(r.left + 3, r.top + 8)), Hex(kBlack));
    EXPECT_EQ(Hex(print(r.left + 12, r.top + 8)), Hex(kFace));
}

TEST_F(PictureDrawing, AHandleThatIsNoBitmapOrIconMeasuresNothingAndDrawsNothing) {
    // A brush stands in for a metafile: a GDI object that is neither bitmap nor icon.
    const HBRUSH brush = CreateSolidBrush(kRed);
    MakeWithPicture(Picture::FromBitmap(reinterpret_cast<HBITMAP>(brush)), 3);
    const Print print = Draw();
    EXPECT_EQ(impl().PictureWidth, 0);
    EXPECT_EQ(impl().PictureHeight, 0);
    for (int y = 4; y < 56; y += 3)
        for (int x = 4; x < 116; x += 5)
            ASSERT_EQ(Hex(print(x, y)), Hex(kFace)) << x << "," << y;
}

TEST_F(PictureDrawing, ARemovedPictureLeavesNoCopyBehind) {
    MakeWithPicture(BlockPicture(), 3);
    Draw();
    EXPECT_TRUE(impl().ShapeBitmap);

    control->SetPicture(nullptr);
    EXPECT_FALSE(impl().ShapeBitmap);
    EXPECT_EQ(impl().PictureWidth + impl().PictureHeight, 0);
    Print print = Draw();
    for (int y = 4; y < 56; y += 3)
        for (int x = 4; x < 116; x += 5)
            ASSERT_EQ(Hex(print(x, y)), Hex(kFace)) << x << "," << y;

    // A new picture is drawn from itself, never from the old working copy.
    PixelImage yellow = FilledImage(32, 32, kYellow);
    yellow.at(0, 0) = kKey;
    control->SetPicture(Picture::FromBitmap(MakeDib(yellow)));
    print = Draw();
    const RECT r = impl().PictureRect;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            const POINT p = BlockCentre(r, column, row);
            EXPECT_EQ(Hex(print(p.x, p.y)), Hex(kYellow));
        }
}

TEST_F(PictureDrawing, ATopLeftPixelOfTheMotifTakesEveryPixelOfItsColour) {
    PixelImage image = FilledImage(32, 32, kGreen);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            image.at(x, y) = kBlue;
    MakeWithPicture(Picture::FromBitmap(MakeDib(image)), 2);
    const Print print = Draw();
    const RECT r = impl().PictureRect;
    EXPECT_EQ(Hex(print(r.left + 2, r.top + 2)), Hex(kFace));
    EXPECT_EQ(Hex(print(r.left + 16, r.top + 16)), Hex(kBlue));
}

// 16 x 12: a solid motif (green, with a blue bar) inside a key border two pixels wide.
constexpr int kMotifWidth = 16;
constexpr int kMotifHeight = 12;
COLORREF MotifPixel(int x, int y) {
    if (x < 2 || y < 2 || x >= kMotifWidth - 2 || y >= kMotifHeight - 2)
        return kKey;
    return (y >= 5 && y < 7 && x >= 5 && x < 11) ? kBlue : kGreen;
}

PicturePtr MotifPicture() {
    PixelImage image = FilledImage(kMotifWidth, kMotifHeight, kKey);
    for (int y = 0; y < kMotifHeight; ++y)
        for (int x = 0; x < kMotifWidth; ++x)
            image.at(x, y) = MotifPixel(x, y);
    return Picture::FromBitmap(MakeDib(image));
}

TEST_F(PictureDrawing, AStretchedPictureTakesTheNearestPixelsAndNoBlendsOfTheKey) {
    // Stretched 3 times and 2.5 times over the face (PictureSize 3: the control less 3 pixels
    // on every side). A smoothing scaler would leave blends of key and motif along every
    // edge of the motif, too far from the key to count as transparent.
    for (const SIZE size : {SIZE{48, 36}, SIZE{40, 30}}) {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        Make(size.cx + 6, size.cy + 6, 4, 0);
        control->SetPictureSize(3);
        control->SetPicture(MotifPicture());
        const Print print = Draw();
        const RECT r = impl().PictureRect;
        ASSERT_EQ(r.right - r.left, size.cx);
        ASSERT_EQ(r.bottom - r.top, size.cy);
        ASSERT_TRUE(impl().ShapeBitmap);
        ASSERT_EQ(impl().ShapeBitmapWidth, size.cx);
        ASSERT_EQ(impl().ShapeBitmapHeight, size.cy);

        // The working copy holds nothing but the key and the motif's own colours.
        std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx * size.cy));
        BITMAPINFO info = tv::TopDownDibInfo(size.cx, size.cy);
        const tv::WindowDc screen(nullptr);
        ASSERT_EQ(GetDIBits(screen.get(), impl().ShapeBitmap.get(), 0, static_cast<UINT>(size.cy),
                            pixels.data(), &info, DIB_RGB_COLORS),
                  size.cy);
        const bool threeTimes = size.cx == 3 * kMotifWidth;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const COLORREF c = tv::ColorFromDib(pixels[static_cast<size_t>(y * size.cx + x)]);
                ASSERT_TRUE(c == kKey || c == kGreen || c == kBlue)
                    << Hex(c) << " at " << x << "," << y;
                // A whole factor repeats every source pixel as a 3 x 3 block.
                if (threeTimes) {
                    ASSERT_EQ(Hex(c), Hex(MotifPixel(x / 3, y / 3))) << x << "," << y;
                }
            }

        // Drawn, the picture's place shows the face where the key is and the motif elsewhere.
        int face = 0;
        int blue = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF c = print(x, y);
                ASSERT_TRUE(c == kFace || c == kGreen || c == kBlue)
                    << Hex(c) << " at " << x << "," << y;
                face += c == kFace;
                blue += c == kBlue;
            }
        // The key border is half of the picture's area.
        EXPECT_GT(face, size.cx * size.cy / 3);
        EXPECT_GT(blue, 0);
    }
}

TEST_F(PictureDrawing, ALifeOfPicturesEndsWithTheLiveObjectCountWhereItStarted) {
    const long before = tv::LiveGdiObjects();
    {
        Make(120, 60, 4, 0);
        for (long style = 0; style < 8; ++style) {
            control->SetButtonStyle(style);
            for (long size = 0; size <= 4; ++size) {
                control->SetPictureSize(size);
                control->SetPicture(size % 2 ? BlockPicture()
                                             : Picture::FromIcon(HalfIcon(), Picture::Kind::Icon));
                for (const bool enabled : {true, false}) {
                    control->SetEnabled(enabled);
                    Press(true);
                    Draw();
                    Press(false);
                    Hover(true);
                    Draw();
                    Hover(false);
                    Draw();
                }
            }
        }
        control->SetPicture(nullptr);
        Draw();
        control.reset();
    }
    EXPECT_EQ(tv::LiveGdiObjects(), before);
}

} // namespace
} // namespace butt::test
