// Pictures from files: the system loaders for BMP and ICO, WIC for JPEG and PNG, and clear
// errors (never a crash) for files that are not pictures.
#include "control_fixture.h"
#include "pixels.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <wincodec.h>

namespace butt::test {
namespace {

BITMAP BitmapRecord(const PicturePtr& picture) {
    BITMAP record{};
    GetObjectA(picture->handle(), sizeof record, &record);
    return record;
}

// The colour of a bitmap picture's pixel, read through a memory DC.
COLORREF PicturePixel(const PicturePtr& picture, int x, int y) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, picture->handle());
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

// Within `tolerance` in every channel (JPEG is lossy).
bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Left half red, right half blue: survives JPEG's blocks in the middle of each half.
PixelImage TwoHalves() {
    PixelImage image = FilledImage(32, 16, RGB(220, 20, 20));
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            image.at(x, y) = RGB(20, 20, 220);
    return image;
}

TEST(PictureFiles, BmpLoadsAsABitmapWithItsPixels) {
    tv::test::TempFolder folder;
    PixelImage image = FilledImage(5, 3, RGB(255, 0, 255));
    image.at(4, 2) = RGB(1, 2, 3);
    tv::test::WriteFileBytes(folder / L"p.bmp", BmpFileBytes(image));
    std::string error;
    const PicturePtr picture = Picture::LoadFile(folder / L"p.bmp", error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(BitmapRecord(picture).bmWidth, 5);
    EXPECT_EQ(BitmapRecord(picture).bmHeight, 3);
    EXPECT_EQ(PicturePixel(picture, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(PicturePixel(picture, 4, 2), RGB(1, 2, 3));
}

TEST(PictureFiles, APathBeyondAsciiIsKeptWholeForStoring) {
    tv::test::TempFolder folder;
    const std::wstring path = folder / L"Gr\u00F6\u00DFe \u00E9t\u00E9.bmp";
    tv::test::WriteFileBytes(path, BmpFileBytes(FilledImage(4, 4, RGB(9, 9, 9))));
    std::string error;
    const PicturePtr picture = Picture::LoadFile(path, error);
    ASSERT_TRUE(picture) << error;
    // Stored as UTF-8, so the path read back names the same file.
    const std::string stored = picture->source();
    ASSERT_EQ(stored.rfind("file:", 0), 0u);
    const std::string utf8 = stored.substr(5);
    std::wstring back(utf8.size(), L'\0');
    back.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                                        static_cast<int>(utf8.size()), back.data(),
                                                        static_cast<int>(back.size()))));
    EXPECT_EQ(back, path);
}

TEST(PictureFiles, JpegAndPngComeThroughTheImagingComponent) {
    tv::test::TempFolder folder;
    const PixelImage image = TwoHalves();
    struct Case {
        const wchar_t* name;
        GUID container;
        int tolerance;
    };
    for (const Case& c : {Case{L"p.jpg", GUID_ContainerFormatJpeg, 40},
                          Case{L"p.png", GUID_ContainerFormatPng, 0}}) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        ASSERT_TRUE(WriteWithWic(image, folder / c.name, c.container));
        std::string error;
        const PicturePtr picture = Picture::LoadFile(folder / c.name, error);
        ASSERT_TRUE(picture) << error;
        EXPECT_EQ(picture->kind(), Picture::Kind::Bitmap);
        const BITMAP record = BitmapRecord(picture);
        EXPECT_EQ(record.bmWidth, 32);
        EXPECT_EQ(record.bmHeight, 16);
        EXPECT_EQ(record.bmBitsPixel, 32);
        EXPECT_NE(record.bmBits, nullptr) << "a DIB section, as pictures are measured by it";
        EXPECT_TRUE(Near(PicturePixel(picture, 4, 8), RGB(220, 20, 20), c.tolerance));
        EXPECT_TRUE(Near(PicturePixel(picture, 27, 8), RGB(20, 20, 220), c.tolerance));
    }
}

TEST(PictureFiles, UnreadableFilesGiveAClearErrorAndNoPicture) {
    tv::test::TempFolder folder;
    tv::test::WriteFileBytes(folder / L"garbage.jpg", std::string(300, '\x5A'));
    tv::test::WriteFileBytes(folder / L"garbage.bmp", "BM this is not a bitmap");
    tv::test::WriteFileBytes(folder / L"garbage.ico", std::string(40, '\0'));
    tv::test::WriteFileBytes(folder / L"empty.png", "");
    // A JPEG cut off after its header.
    ASSERT_TRUE(WriteWithWic(TwoHalves(), folder / L"whole.jpg", GUID_ContainerFormatJpeg));
    tv::test::WriteFileBytes(folder / L"cut.jpg",
                             tv::test::ReadFileBytes(folder / L"whole.jpg").substr(0, 20));
    for (const wchar_t* name : {L"garbage.jpg", L"garbage.bmp", L"garbage.ico", L"empty.png",
                                L"cut.jpg", L"missing.jpg", L"missing.bmp"}) {
        const std::string narrow(name, name + wcslen(name));
        SCOPED_TRACE(narrow);
        std::string error;
        EXPECT_FALSE(Picture::LoadFile(folder / name, error));
        EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
        EXPECT_NE(error.find(narrow), std::string::npos) << "the error names the file";
    }
}

// An icon or cursor file of one side x side 32-bit image (opaque green) with an all-opaque
// mask.
std::string IconFileBytes(int side, bool cursor) {
    std::string bytes;
    const auto put16 = [&](unsigned v) { bytes.append({char(v & 0xFF), char(v >> 8)}); };
    const auto put32 = [&](unsigned v) { put16(v & 0xFFFF), put16(v >> 16); };
    const unsigned pixels = static_cast<unsigned>(side * side);
    const unsigned maskRow = static_cast<unsigned>((side + 31) / 32 * 4);
    const unsigned imageSize = 40 + pixels * 4 + maskRow * static_cast<unsigned>(side);
    put16(0), put16(cursor ? 2 : 1), put16(1); // directory of one image
    bytes += char(side), bytes += char(side), bytes += '\0', bytes += '\0';
    // Icons give planes and depth here, cursors their hot spot.
    put16(cursor ? 0 : 1), put16(cursor ? 0 : 32), put32(imageSize), put32(22);
    put32(40), put32(static_cast<unsigned>(side)), put32(static_cast<unsigned>(2 * side)), put16(1),
        put16(32), put32(0), put32(0), put32(0), put32(0), put32(0), put32(0);
    for (unsigned i = 0; i < pixels; ++i)
        put32(0xFF00C000); // opaque green
    bytes.append(maskRow * static_cast<size_t>(side), '\0');
    return bytes;
}

TEST(PictureFiles, IconsLoadAsIcons) {
    tv::test::TempFolder folder;
    tv::test::WriteFileBytes(folder / L"p.ico", IconFileBytes(16, false));
    std::string error;
    const PicturePtr picture = Picture::LoadFile(folder / L"p.ico", error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->kind(), Picture::Kind::Icon);
}

class PictureFileSizes : public ControlTest {};

TEST_F(PictureFileSizes, IconsAndCursorsAreMeasuredAtTheirOwnSize) {
    // 24 x 24 is neither the system's icon size nor its small icon size.
    Make(120, 60);
    tv::test::TempFolder folder;
    for (const bool cursor : {false, true}) {
        SCOPED_TRACE(cursor ? "cursor" : "icon");
        const std::wstring path = folder / (cursor ? L"p.cur" : L"p.ico");
        tv::test::WriteFileBytes(path, IconFileBytes(24, cursor));
        std::string error;
        const PicturePtr picture = Picture::LoadFile(path, error);
        ASSERT_TRUE(picture) << error;
        EXPECT_EQ(picture->kind(), cursor ? Picture::Kind::Cursor : Picture::Kind::Icon);
        control->SetPicture(picture);
        EXPECT_EQ(impl().PictureKind, 1);
        EXPECT_EQ(impl().PictureWidth, 24);
        EXPECT_EQ(impl().PictureHeight, 24);
    }
}

} // namespace
} // namespace butt::test
