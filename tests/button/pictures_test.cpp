// Pictures beyond the sheet's looks: files through the system's loaders and WIC, the key
// colour and its near neighbours at every size, odd handles, outlines cut from a picture, and
// the press shift of CustomClick.
#include "dib.h"
#include "harness.h"
#include "temp_folder.h"

namespace butt::test {
namespace {

constexpr Color kKey = Rgb(255, 0, 255);
constexpr Color kGreen = Rgb(0, 160, 0);
constexpr Color kBlue = Rgb(30, 30, 200);
constexpr Color kRed = Rgb(200, 30, 30);

// The colour of a bitmap picture's pixel.
COLORREF PixelOf(const PicturePtr& picture, int x, int y) {
    const tv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const tv::ScopedSelect select(dc.get(), picture->handle());
    return GetPixel(dc.get(), x, y);
}

// An icon or cursor file of one side x side image, opaque green, with an all-opaque mask.
std::string IconFile(int side, bool cursor) {
    std::string bytes;
    const auto put16 = [&](unsigned v) { bytes.append({char(v & 0xFF), char(v >> 8)}); };
    const auto put32 = [&](unsigned v) { put16(v & 0xFFFF), put16(v >> 16); };
    const unsigned pixels = static_cast<unsigned>(side * side);
    const unsigned maskRow = static_cast<unsigned>((side + 31) / 32 * 4);
    put16(0), put16(cursor ? 2 : 1), put16(1); // a directory of one image
    bytes += char(side), bytes += char(side), bytes += '\0', bytes += '\0';
    put16(cursor ? 0 : 1), put16(cursor ? 0 : 32), put32(40 + pixels * 4 + maskRow * side),
        put32(22);
    put32(40), put32(side), put32(2 * side), put16(1), put16(32);
    for (int i = 0; i < 6; ++i)
        put32(0);
    for (unsigned i = 0; i < pixels; ++i)
        put32(0xFF00C000);
    bytes.append(maskRow * static_cast<size_t>(side), '\0');
    return bytes;
}

TEST(PictureFiles, BitmapsIconsJpegAndPngLoadAndBadFilesSayWhy) {
    tv::test::TempFolder folder;
    tv::test::WriteFileBytes(folder / L"p.bmp", BmpFile(5, 3, [](int x, int y) {
                                 return x == 4 && y == 2 ? Rgb(1, 2, 3) : kKey;
                             }));
    std::string error;
    PicturePtr picture = Picture::LoadFile(folder / L"p.bmp", error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(PixelOf(picture, 0, 0), static_cast<COLORREF>(kKey));
    EXPECT_EQ(PixelOf(picture, 4, 2), static_cast<COLORREF>(Rgb(1, 2, 3)));

    // JPEG and PNG made by another encoder (tests/button/CMakeLists.txt): 32 x 16, the left
    // half red, the right half blue.
    for (const auto& [name, tolerance] : {std::pair{L"p.jpg", 40}, {L"p.png", 0}}) {
        picture = Picture::LoadFile(std::wstring(TV_TEST_PICTURES L"/") + name, error);
        ASSERT_TRUE(picture) << error;
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(picture->handle(), sizeof dib, &dib), static_cast<int>(sizeof dib));
        EXPECT_EQ(dib.dsBm.bmWidth * 100 + dib.dsBm.bmHeight, 3216);
        EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
        for (const auto& [x, expected] : {std::pair{4, Rgb(220, 20, 20)}, {27, Rgb(20, 20, 220)}}) {
            const COLORREF got = PixelOf(picture, x, 8);
            for (int shift : {0, 8, 16})
                EXPECT_NEAR((got >> shift) & 0xFF, (expected >> shift) & 0xFF, tolerance);
        }
    }
    // Icons and cursors at their own size: 24 x 24 is neither of the system's icon sizes.
    for (const bool cursor : {false, true}) {
        const std::wstring path = folder / (cursor ? L"p.cur" : L"p.ico");
        tv::test::WriteFileBytes(path, IconFile(24, cursor));
        picture = Picture::LoadFile(path, error);
        ASSERT_TRUE(picture) << error;
        EXPECT_EQ(picture->kind(), cursor ? Picture::Kind::Cursor : Picture::Kind::Icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(picture->handle()), &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth * 100 + colour.bmHeight, 2424);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }

    // A path beyond ASCII is kept whole (UTF-8), so that a stored picture is found again.
    const std::wstring wide = folder / L"Gr\u00F6\u00DFe \u0416.bmp";
    tv::test::WriteFileBytes(wide, BmpFile(4, 4, [](int, int) { return 0x090909; }));
    picture = Picture::LoadFile(wide, error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->source(), "file:" + tv::test::Utf8(wide));

    // Files that are not pictures: no picture, and an error that names the file.
    tv::test::WriteFileBytes(folder / L"garbage.jpg", std::string(300, '\x5A'));
    tv::test::WriteFileBytes(folder / L"garbage.bmp", "BM this is not a bitmap");
    tv::test::WriteFileBytes(folder / L"garbage.ico", std::string(40, '\0'));
    tv::test::WriteFileBytes(folder / L"empty.png", "");
    for (const wchar_t* name :
         {L"garbage.jpg", L"garbage.bmp", L"garbage.ico", L"empty.png", L"missing.bmp"}) {
        const std::string narrow = tv::test::Utf8(name);
        error.clear();
        EXPECT_FALSE(Picture::LoadFile(folder / name, error)) << narrow;
        EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
        EXPECT_NE(error.find(narrow), std::string::npos) << error;
    }
}

class Pictures : public ButtonTest {
  protected:
    Butt& WithPicture(PicturePtr picture, long size, int width = 120, int height = 60) {
        Butt& b = Make(width, height);
        b.SetButtonStyle(4);
        b.SetPictureSize(size);
        b.SetPicture(std::move(picture));
        return b;
    }
};

TEST_F(Pictures, OddHandlesAndRemovedPicturesDrawNothing) {
    // A brush stands in for a metafile: neither bitmap nor icon, it measures and draws nothing.
    const PicturePtr odd = Picture::FromBitmap(reinterpret_cast<HBITMAP>(CreateSolidBrush(kRed)));
    const auto yellow = MakePicture(32, 32, [](int x, int y) { return x + y ? 0x28C8DC : kKey; });
    for (const PicturePtr& picture : {odd, PicturePtr(), yellow}) {
        Butt& b = WithPicture(MakePicture(32, 32, [](int, int) { return kBlue; }), 3);
        Show(0);
        b.SetPicture(picture); // the old picture's working copy goes with it
        const Pixels painted = (Show(0), Print());
        EXPECT_EQ(impl().PictureWidth, picture == yellow ? 32 : 0);
        EXPECT_EQ(painted.Count(RECT{4, 4, 116, 56}, kBlue), 0);
        EXPECT_EQ(painted.Count(RECT{4, 4, 116, 56}, kFace) == 112 * 52, picture != yellow);
    }
}

class Outlines : public Pictures {
  protected:
    // 60 x 40: an opaque block (10, 5)-(50, 35), green left of x = 40 and blue right of it,
    // on the key, with a row and a column of near-key pixels in the transparent margin.
    Butt& Shaped(long shape, long style = 4) {
        Butt& b = Make(60, 40);
        b.SetButtonStyle(style);
        b.SetPicture(MakePicture(60, 40, [](int x, int y) -> Color {
            if (x >= 10 && x < 50 && y >= 5 && y < 35)
                return x < 40 ? kGreen : kBlue;
            return (y == 2 && x >= 12 && x < 48) || x == 55 ? Rgb(253, 1, 255) : kKey;
        }));
        b.SetButtonShape(shape);
        return b;
    }
};

TEST_F(Outlines, TheOutlineIsCutFromTheOpaquePixelsWithInsetsInside) {
    // (How the outlines look is the sheet's: see the look test.)
    for (const long shape : {7L, 8L}) {
        SCOPED_TRACE(::testing::Message() << "shape " << shape);
        Butt& b = Shaped(shape);
        EXPECT_EQ(b.PictureSize(), 4);
        EXPECT_EQ(Describe(WindowRegionRects(b.hWnd())), "(10,5,50,35) ");
        EXPECT_EQ(Describe(RegionRects(impl().OuterRegion.get())), "(11,6,49,34) ");
        EXPECT_EQ(Describe(RegionRects(impl().InnerRegion.get())), "(12,7,48,33) ");
        EXPECT_EQ(impl().ShapeBitmapWidth * 100 + impl().ShapeBitmapHeight, 6040);
    }
    // A stored 16-pixel picture place: the missing working copy is made at the control's size.
    Shaped(7);
    impl().PictureSizePixels = 16;
    impl().LayoutContent(false);
    impl().ShapeBitmap.reset();
    const Pixels painted = (Show(0), Print());
    EXPECT_EQ(impl().ShapeBitmapWidth * 100 + impl().ShapeBitmapHeight, 6040);
    EXPECT_EQ(painted.At(40, 20), static_cast<COLORREF>(kBlue));
    EXPECT_EQ(painted.At(39, 20), static_cast<COLORREF>(kGreen));
}

TEST_F(Outlines, CustomClickMovesThePressedButtonOnePixelAndBack) {
    Butt& b = Make(60, 40);
    b.SetPicture(MakePicture(60, 40, [](int x, int y) { return x + y ? kGreen : kKey; }));
    b.SetButtonShape(7);
    b.SetCustomClick(4); // down and right
    const auto position = [&] {
        RECT r{};
        GetWindowRect(b.hWnd(), &r);
        POINT p{r.left, r.top};
        ScreenToClient(Form(), &p);
        return p.x * 1000 + p.y;
    };
    const int start = position();
    const Pixels before = (Show(0), Print());
    EXPECT_EQ(before.At(59, 20), static_cast<COLORREF>(kGreen));
    Show(kButtonHeld | kPointerInside, true, true);
    const Pixels pressed = (Show(kButtonHeld | kPointerInside, true, true), Print());
    EXPECT_EQ(position(), start + 1001) << "moved once only";
    EXPECT_EQ(pressed.At(59, 20), static_cast<COLORREF>(kFace)); // shrunk by a pixel
    EXPECT_EQ(pressed.At(58, 20), static_cast<COLORREF>(kGreen));
    const Pixels released = (Show(0), Print());
    EXPECT_EQ(position(), start);
    EXPECT_EQ(released.At(59, 20), static_cast<COLORREF>(kGreen));
}

} // namespace
} // namespace butt::test
