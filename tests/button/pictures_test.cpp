// Pictures beyond the sheet's looks: files through the system's loaders and WIC, the key
// colour and its near neighbours at every size, odd handles, outlines cut from a picture, and
// the press shift of CustomClick.
#include "dib.h"
#include "harness.h"
#include "temp_folder.h"

#include <tuple>

namespace butt::test {
namespace {

constexpr Color kKey = Rgb(255, 0, 255);
constexpr Color kGreen = Rgb(0, 160, 0);
constexpr Color kBlue = Rgb(30, 30, 200);

COLORREF PixelOf(const PicturePtr& picture, int x, int y) {
    const tv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const tv::ScopedSelect select(dc.get(), picture->handle());
    return GetPixel(dc.get(), x, y);
}

// The test icon (48 x 48) as an .ico or .cur file: its resource directory of one image, with
// the image's place in the file (22) for its resource number, then the image.
std::string IconFile(bool cursor) {
    std::string directory = ResourceBytes("TEST_ICON", RT_GROUP_ICON);
    const WORD image = *reinterpret_cast<const WORD*>(&directory[18]);
    directory[2] = cursor ? 2 : 1;
    return directory.replace(18, 2, std::string("\x16\0\0\0", 4)) +
           ResourceBytes(MAKEINTRESOURCEA(image), RT_ICON);
}

TEST(PictureFiles, BitmapsIconsJpegAndPngLoadAndBadFilesSayWhy) {
    tv::test::TempFolder folder;
    // A path beyond ASCII is kept whole (UTF-8), so that a stored picture is found again.
    const std::wstring bmp = folder / L"Gr\u00F6\u00DFe \u0416.bmp";
    tv::test::WriteFileBytes(
        bmp, BmpFile(5, 3, [](int x, int y) { return x == 4 && y == 2 ? Rgb(1, 2, 3) : kKey; }));
    std::string error;
    PicturePtr picture = Picture::LoadFile(bmp, error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(picture->source(), "file:" + tv::test::Utf8(bmp));
    EXPECT_EQ(PixelOf(picture, 0, 0), static_cast<COLORREF>(kKey));
    EXPECT_EQ(PixelOf(picture, 4, 2), static_cast<COLORREF>(Rgb(1, 2, 3)));

    // JPEG and PNG made by another encoder (tests/button/CMakeLists.txt): 32 x 16, the left
    // half red, the right half blue.
    for (const auto& [name, tolerance] : {std::pair{L"p.jpg", 40}, {L"p.png", 0}}) {
        picture = Picture::LoadFile(std::wstring(TV_TEST_PICTURES L"/") + name, error);
        ASSERT_TRUE(picture) << error;
        BITMAP dib{};
        GetObjectW(picture->handle(), sizeof dib, &dib);
        EXPECT_TRUE(dib.bmBits && dib.bmBitsPixel == 32) << "a 32-bit DIB section";
        EXPECT_EQ(dib.bmWidth * 100 + dib.bmHeight, 3216);
        for (const auto& [x, expected] : {std::pair{4, Rgb(220, 20, 20)}, {27, Rgb(20, 20, 220)}}) {
            const COLORREF got = PixelOf(picture, x, 8);
            for (int shift : {0, 8, 16})
                EXPECT_NEAR((got >> shift) & 0xFF, (expected >> shift) & 0xFF, tolerance);
        }
    }
    // Icons and cursors at their own size: 48 x 48 is neither of the system's icon sizes.
    for (const bool cursor : {false, true}) {
        const std::wstring path = folder / (cursor ? L"p.cur" : L"p.ico");
        tv::test::WriteFileBytes(path, IconFile(cursor));
        picture = Picture::LoadFile(path, error);
        ASSERT_TRUE(picture) << error;
        EXPECT_EQ(picture->kind(), cursor ? Picture::Kind::Cursor : Picture::Kind::Icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(picture->handle()), &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth * 100 + colour.bmHeight, 4848);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }

    // Files that are not pictures, too large, or not of the kind their name says (JPEG bytes
    // named .png): no picture, and an error that names the file and says why.
    const std::wstring made = TV_TEST_PICTURES L"/";
    const std::string jpeg = tv::test::ReadFileBytes(made + L"p.jpg");
    const std::tuple<std::wstring, std::string, const char*> files[] = {
        {L"garbage.jpg", std::string(300, '\x5A'), "it is damaged or not of the kind its name"},
        {L"garbage.ico", std::string(40, '\0'), "it is not an icon or cursor file"},
        {L"missing.bmp", "", "it cannot be opened"},
        {L"jpeg.png", jpeg, "it is damaged or not of the kind its name says"},
        {L"p.gif", jpeg, "a picture file is .bmp, .ico, .cur, .jpg, .jpeg or .png"},
        {L"wide.bmp", BmpFile(4097, 1, [](int, int) { return 0; }), "it is 4097 x 1 pixels;"},
        {made + L"wide.png", "", "it is 4097 x 1 pixels; a picture of 1 x 1 to 4096 x 4096"},
        {L"huge.bmp", std::string((16 << 20) + 1, 'B'),
         "the file has 16777217 bytes; a picture file of at most 16"},
    };
    for (const auto& [name, bytes, why] : files) {
        const std::wstring path = name.find(L'/') != std::wstring::npos ? name : folder / name;
        if (!bytes.empty())
            tv::test::WriteFileBytes(path, bytes);
        EXPECT_FALSE(Picture::LoadFile(path, error)) << tv::test::Utf8(name);
        const std::string shown = tv::test::Utf8(path.substr(path.find_last_of(L"\\/") + 1));
        EXPECT_EQ(error.rfind("cannot read the picture \"" + shown + "\": " + why, 0), 0u) << error;
    }
}

class Pictures : public ButtonTest {};

TEST_F(Pictures, OddHandlesAndRemovedPicturesDrawNothing) {
    // A brush stands in for a metafile: neither bitmap nor icon, it measures and draws nothing.
    const PicturePtr odd = Picture::FromBitmap(reinterpret_cast<HBITMAP>(CreateSolidBrush(kBlue)));
    const auto yellow = MakePicture(32, 32, [](int x, int y) { return x + y ? 0x28C8DC : kKey; });
    for (const PicturePtr& picture : {odd, PicturePtr(), yellow}) {
        Butt& b = Make(120, 60);
        b.SetButtonStyle(4);
        b.SetPictureSize(3);
        b.SetPicture(MakePicture(32, 32, [](int, int) { return kBlue; }));
        Show(0);
        b.SetPicture(picture); // the old picture's working copy goes with it
        const Pixels painted = (Show(0), Print());
        EXPECT_EQ(canvas().PictureWidth, picture == yellow ? 32 : 0);
        EXPECT_EQ(painted.Count(RECT{4, 4, 116, 56}, kBlue), 0);
        EXPECT_EQ(painted.Count(RECT{4, 4, 116, 56}, kFace) == 112 * 52, picture != yellow);
    }
    // A monochrome icon keeps its image above its mask in one bitmap twice its height.
    const BYTE bits[2][24 * 24 / 8] = {{}, {}};
    Butt& b = Make(120, 60);
    b.SetPicture(Picture::FromIcon(CreateIcon(nullptr, 24, 24, 1, 1, bits[0], bits[1]),
                                   Picture::Kind::Icon));
    Show(0);
    EXPECT_EQ(canvas().PictureWidth * 100 + canvas().PictureHeight, 2424);
}

TEST_F(Pictures, TheOutlineIsCutFromTheOpaquePixelsWithInsetsInside) {
    // 60 x 40: an opaque block (10, 5)-(50, 35), green left of x = 40 and blue right of it,
    // on the key, with a row and a column of near-key pixels in the transparent margin. (How
    // the outlines look is the sheet's: see the look test.)
    const auto shaped = [&](long shape) -> Butt& {
        Butt& b = Make(60, 40);
        b.SetButtonStyle(4);
        b.SetPicture(MakePicture(60, 40, [](int x, int y) -> Color {
            if (x >= 10 && x < 50 && y >= 5 && y < 35)
                return x < 40 ? kGreen : kBlue;
            return (y == 2 && x >= 12 && x < 48) || x == 55 ? Rgb(253, 1, 255) : kKey;
        }));
        b.SetButtonShape(shape);
        return b;
    };
    for (const long shape : {7L, 8L}) {
        SCOPED_TRACE(::testing::Message() << "shape " << shape);
        Butt& b = shaped(shape);
        EXPECT_EQ(b.PictureSize(), 4);
        EXPECT_EQ(Describe(WindowRegionRects(b.hWnd())), "(10,5,50,35) ");
        EXPECT_EQ(Describe(RegionRects(canvas().OuterRegion.get())), "(11,6,49,34) ");
        EXPECT_EQ(Describe(RegionRects(canvas().InnerRegion.get())), "(12,7,48,33) ");
        EXPECT_EQ(canvas().ShapeBitmapWidth * 100 + canvas().ShapeBitmapHeight, 6040);
    }
    // A stored 16-pixel picture place: the missing working copy is made at the control's size.
    shaped(7);
    impl().properties.PictureSizePixels = 16;
    canvas().LayoutContent(false);
    canvas().ShapeBitmap.reset();
    const Pixels painted = (Show(0), Print());
    EXPECT_EQ(canvas().ShapeBitmapWidth * 100 + canvas().ShapeBitmapHeight, 6040);
    EXPECT_EQ(painted.At(40, 20), static_cast<COLORREF>(kBlue));
    EXPECT_EQ(painted.At(39, 20), static_cast<COLORREF>(kGreen));
}

TEST_F(Pictures, CustomClickMovesThePressedButtonOnePixelAndBack) {
    Butt& b = Make(60, 40);
    b.SetPicture(MakePicture(60, 40, [](int x, int y) { return x + y ? kGreen : kKey; }));
    b.SetButtonShape(7);
    b.SetCustomClick(4); // down and right
    const auto position = [&] {
        RECT r{};
        GetWindowRect(b.hWnd(), &r);
        return r.left * 1000 + r.top;
    };
    const int start = position();
    EXPECT_EQ((Show(0), Print()).At(59, 20), static_cast<COLORREF>(kGreen));
    for (int press = 0; press < 2; ++press) { // each press moves it, not only the first
        look().StateFlags = kPointerInside;   // one real press under the pointer, one paint
        Mouse(b, WM_LBUTTONDOWN, 30, 20, MK_LBUTTON);
        const Pixels pressed = Print();
        EXPECT_EQ(position(), start + 1001) << press;
        EXPECT_EQ(pressed.At(59, 20), static_cast<COLORREF>(kFace)) << press; // a pixel smaller
        EXPECT_EQ(pressed.At(58, 20), static_cast<COLORREF>(kGreen)) << press;
        Mouse(b, WM_LBUTTONUP, 30, 20);
        EXPECT_EQ(Print().At(59, 20), static_cast<COLORREF>(kGreen)) << press;
        EXPECT_EQ(position(), start) << press;
    }
}

} // namespace
} // namespace butt::test
