// The fast skin region against the per-pixel reference, on bitmaps made to hit the edges of
// the span scan, and on the program's own skin.
#include "skin_region.h"
#include "skin_region_reference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <vector>

namespace tv {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

using PixelFunction = std::function<COLORREF(int x, int y)>;

// A bottom-up DIB section of the given depth painted pixel by pixel. For 32-bit bitmaps the
// top byte of every pixel is set, as alpha-carrying art would have it.
UniqueBitmap MakeBitmap(int width, int height, const PixelFunction& color, int bits = 24,
                        bool topDown = false) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    void* bitsPointer = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bitsPointer, nullptr, 0));
    auto* bytes = static_cast<std::uint8_t*>(bitsPointer);
    const int stride = ((width * bits / 8) + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bytes + static_cast<size_t>(topDown ? y : height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = color(x, y);
            std::uint8_t* p = row + x * (bits / 8);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            if (bits == 32)
                p[3] = 0xFF;
        }
    }
    GdiFlush();
    return bitmap;
}

std::vector<RECT> RectsOf(HRGN region) {
    if (!region)
        return {};
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<RECT> storage(size / sizeof(RECT) + 2);
    auto* data = reinterpret_cast<RGNDATA*>(storage.data());
    EXPECT_EQ(GetRegionData(region, size, data), size);
    const RECT* first = reinterpret_cast<const RECT*>(data->Buffer);
    return std::vector<RECT>(first, first + data->rdh.nCount);
}

std::string Describe(const std::vector<RECT>& rects) {
    std::ostringstream text;
    for (const RECT& r : rects)
        text << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ") ";
    return text.str();
}

UniqueRegion Reference(HBITMAP bitmap, int width, int height, COLORREF key) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ScopedSelect select(dc.get(), bitmap);
    return RegionFromDcReference(dc.get(), width, height, key);
}

// Builds the region both ways and requires the very same rectangles.
void ExpectSameRegion(HBITMAP bitmap, int width, int height, COLORREF key = kMagenta,
                      int areaWidth = 0, int areaHeight = 0) {
    const int w = areaWidth ? areaWidth : width;
    const int h = areaHeight ? areaHeight : height;
    const UniqueRegion fast = RegionFromBitmap(bitmap, key, w, h);
    const UniqueRegion slow = Reference(bitmap, w, h, key);
    ASSERT_EQ(static_cast<bool>(fast), static_cast<bool>(slow));
    if (!fast)
        return;
    EXPECT_TRUE(EqualRgn(fast.get(), slow.get()));
    const std::vector<RECT> fastRects = RectsOf(fast.get());
    const std::vector<RECT> slowRects = RectsOf(slow.get());
    EXPECT_EQ(Describe(fastRects), Describe(slowRects));
}

TEST(OpaqueSpans, RunsOfOneRowEndAtTheKeyOrAtTheRightEdge) {
    // Row 0: key, 2 opaque, key, opaque to the edge. Row 1: all opaque. Row 2: all key.
    // Row 3: opaque, key to the edge.
    const std::uint32_t K = 0xFF00FF, O = 0x102030;
    PixelImage image{5, 4, {K, O, O, K, O, O, O, O, O, O, K, K, K, K, K, O, K, K, K, K}};
    const std::vector<RECT> spans = OpaqueSpans(image, 5, 4, kMagenta);
    EXPECT_EQ(Describe(spans), "(1,0,3,1) (4,0,5,1) (0,1,5,2) (0,3,1,4) ");
}

TEST(OpaqueSpans, PixelsBeyondTheImageAreOpaqueAndAlphaIsIgnored) {
    const std::uint32_t K = 0xFF00FF;
    PixelImage image{2, 1, {K, 0xFFFF00FF}};
    // A 4 x 2 area over a 2 x 1 image: row 0 is key then outside; row 1 is all outside.
    EXPECT_EQ(Describe(OpaqueSpans(image, 4, 2, kMagenta)), "(2,0,4,1) (0,1,4,2) ");
    EXPECT_TRUE(OpaqueSpans(image, 2, 1, kMagenta).empty());
}

TEST(SkinRegion, AllKeyGivesNoRegionEitherWay) {
    const UniqueBitmap bitmap = MakeBitmap(31, 17, [](int, int) { return kMagenta; });
    EXPECT_FALSE(RegionFromBitmap(bitmap.get(), kMagenta));
    EXPECT_FALSE(Reference(bitmap.get(), 31, 17, kMagenta));
}

TEST(SkinRegion, AllOpaqueIsTheWholeRectangle) {
    const UniqueBitmap bitmap = MakeBitmap(33, 9, [](int, int) { return RGB(40, 51, 73); });
    ExpectSameRegion(bitmap.get(), 33, 9);
    const UniqueRegion region = RegionFromBitmap(bitmap.get(), kMagenta);
    EXPECT_EQ(Describe(RectsOf(region.get())), "(0,0,33,9) ");
}

TEST(SkinRegion, RunsToTheRightEdgeDoNotCarryIntoTheNextRow) {
    // Each row is key on the left and opaque up to the edge, with the split moving; the
    // first column of every row is key, so a run carried over would show.
    const UniqueBitmap bitmap = MakeBitmap(
        20, 12, [](int x, int y) { return x < 1 + (y * 3) % 17 ? kMagenta : RGB(1, 2, 3); });
    ExpectSameRegion(bitmap.get(), 20, 12);
    const UniqueRegion region = RegionFromBitmap(bitmap.get(), kMagenta);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 5));
    EXPECT_TRUE(PtInRegion(region.get(), 19, 5));
}

TEST(SkinRegion, APixelOffTheKeyByOneIsOpaque) {
    const COLORREF nearKeys[] = {RGB(254, 0, 255), RGB(255, 1, 255), RGB(255, 0, 254)};
    const UniqueBitmap bitmap =
        MakeBitmap(9, 3, [&](int x, int y) { return x == 4 ? nearKeys[y] : kMagenta; });
    ExpectSameRegion(bitmap.get(), 9, 3);
    const UniqueRegion region = RegionFromBitmap(bitmap.get(), kMagenta);
    EXPECT_EQ(Describe(RectsOf(region.get())), "(4,0,5,3) ");
}

TEST(SkinRegion, ScatteredPatternsAndOtherKeysMatchTheReference) {
    // A deterministic noise of key and colour pixels, in 24 and 32 bits, with another key.
    std::uint32_t seed = 12345;
    std::vector<bool> opaque(64 * 40);
    for (size_t i = 0; i < opaque.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        opaque[i] = (seed >> 16) % 3 != 0;
    }
    const COLORREF key = RGB(0, 128, 0);
    const PixelFunction noise = [&](int x, int y) {
        return opaque[static_cast<size_t>(y * 64 + x)] ? RGB(x * 4, y * 6, 77) : key;
    };
    const UniqueBitmap bitmap24 = MakeBitmap(64, 40, noise, 24);
    const UniqueBitmap bitmap32 = MakeBitmap(64, 40, noise, 32);
    const UniqueBitmap topDown24 = MakeBitmap(64, 40, noise, 24, true);
    {
        SCOPED_TRACE("24-bit");
        ExpectSameRegion(bitmap24.get(), 64, 40, key);
    }
    {
        SCOPED_TRACE("32-bit");
        ExpectSameRegion(bitmap32.get(), 64, 40, key);
    }
    {
        SCOPED_TRACE("24-bit top-down");
        ExpectSameRegion(topDown24.get(), 64, 40, key);
    }

    // A device bitmap has no pixels of its own to read: it is converted once.
    const WindowDc screen(nullptr);
    UniqueBitmap device(CreateCompatibleBitmap(screen.get(), 64, 40));
    {
        UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        ScopedSelect select(dc.get(), device.get());
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 64; ++x)
                SetPixelV(dc.get(), x, y, noise(x, y));
    }
    SCOPED_TRACE("device bitmap");
    ExpectSameRegion(device.get(), 64, 40, key);
    ExpectSameRegion(device.get(), 64, 40, key, 70, 45);
}

TEST(SkinRegion, AnAreaLargerThanThePictureIsOpaqueBeyondIt) {
    const UniqueBitmap bitmap = MakeBitmap(6, 4, [](int, int) { return kMagenta; });
    ExpectSameRegion(bitmap.get(), 6, 4, kMagenta, 9, 6);
}

TEST(SkinRegion, TheProgramsSkinMatchesTheReference) {
    UniqueBitmap skin(static_cast<HBITMAP>(
        LoadImageW(nullptr, TV_SOURCE_DIR L"/assets/skin_complete.bmp", IMAGE_BITMAP, 0, 0,
                   LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(skin);
    ExpectSameRegion(skin.get(), 718, 406);
    const UniqueRegion region = RegionFromBitmap(skin.get(), kMagenta);
    // Not a plain rectangle: the corners are cut out, the middle and the edges' middles stay.
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 717, 405));
    EXPECT_TRUE(PtInRegion(region.get(), 359, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 0, 203));
    EXPECT_TRUE(PtInRegion(region.get(), 359, 203));
}

TEST(SkinRegion, NoBitmapGivesNoRegion) {
    EXPECT_FALSE(RegionFromBitmap(nullptr, kMagenta));
    EXPECT_FALSE(RegionFromSpans({}));
}

} // namespace
} // namespace tv
