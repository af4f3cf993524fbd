// Builds the region of the program's own skin both ways in one run, the fast way (its pixels
// read in place, rows of equal runs merged, one ExtCreateRegion) and the per-pixel reference
// (GetPixel, CombineRgn),
// checks that they are equal and prints the speed ratio. Run on demand:
//   tools/wine-env.sh --state $PWD/build/win64/wine run build/win64/bin/region_bench.exe
#include "app_resources.h"
#include "handles.h"
#include "skin_region.h"
#include "skin_region_reference.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds per build, over at least `minimum` builds and half a second.
template <typename Build> double TimePerBuild(Build build, int minimum) {
    int runs = 0;
    const Clock::time_point start = Clock::now();
    Clock::duration elapsed{};
    do {
        build();
        ++runs;
        elapsed = Clock::now() - start;
    } while (runs < minimum || elapsed < std::chrono::milliseconds(500));
    return std::chrono::duration<double, std::milli>(elapsed).count() / runs;
}

} // namespace

int main() {
    const tv::UniqueBitmap skin(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), kSkinCompleteName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!skin) {
        std::puts("region_bench: the skin bitmap is missing");
        return 1;
    }
    BITMAP info{};
    GetObjectW(skin.get(), sizeof info, &info);
    const COLORREF key = tv::KeyColor(255, 0, 255);
    const tv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const tv::ScopedSelect select(dc.get(), skin.get());

    const tv::UniqueRegion fast = tv::RegionFromBitmap(skin.get(), key);
    const tv::UniqueRegion reference =
        tv::RegionFromDcReference(dc.get(), info.bmWidth, info.bmHeight, key);
    if (!fast || !reference || !EqualRgn(fast.get(), reference.get())) {
        std::puts("region_bench: the two regions differ");
        return 1;
    }
    const DWORD rectangles = GetRegionData(fast.get(), 0, nullptr);

    const double fastMs = TimePerBuild([&] { tv::RegionFromBitmap(skin.get(), key); }, 20);
    const double referenceMs = TimePerBuild(
        [&] { tv::RegionFromDcReference(dc.get(), info.bmWidth, info.bmHeight, key); }, 3);
    std::printf("skin %ldx%ld, region data %lu bytes\n", info.bmWidth, info.bmHeight,
                static_cast<unsigned long>(rectangles));
    std::printf("reference (GetPixel per pixel, CombineRgn per run): %9.3f ms\n", referenceMs);
    std::printf("fast (pixels in place, merged rows, one region):    %9.3f ms\n", fastMs);
    std::printf("speed ratio reference / fast: %.1fx\n", referenceMs / fastMs);
    return 0;
}
