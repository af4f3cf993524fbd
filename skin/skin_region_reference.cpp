#include "skin_region_reference.h"

namespace tv {

UniqueRegion RegionFromDcReference(BorrowedDc dc, int width, int height, COLORREF key) {
    UniqueRegion accumulated;
    // Closes the run [start, end) of row y: the first one becomes the region itself, every
    // later one is united into it and freed at once.
    auto closeRun = [&](int start, int end, int y) {
        UniqueRegion run(CreateRectRgn(start, y, end, y + 1));
        if (!accumulated)
            accumulated = std::move(run);
        else
            CombineRgn(accumulated.get(), accumulated.get(), run.get(), RGN_OR);
    };
    for (int y = 0; y < height; ++y) {
        bool inRun = false;
        int runStart = 0;
        for (int x = 0; x < width; ++x) {
            const bool opaque = GetPixel(dc, x, y) != key;
            if (opaque && !inRun) {
                inRun = true;
                runStart = x;
            } else if (!opaque && inRun) {
                inRun = false;
                closeRun(runStart, x, y);
            }
        }
        if (inRun)
            closeRun(runStart, width, y);
    }
    return accumulated;
}

} // namespace tv
