// The outlines of a picture cut by its key colour, in one pass over its pixels: a pixel's
// distance to the nearest key pixel (counted in whole steps, diagonals too, and only up to 3)
// says in which of the three outlines it lies, and each outline's runs are merged into few
// rectangles as they are found.
#include "outline.h"
#include "region_rects.h"

#include <algorithm>
#include <cstdlib>

namespace butt {

PictureOutline OutlineOfKeyed(std::vector<std::uint8_t> keyed, int width, int height,
                              bool keyedBeyond) {
    constexpr int kFar = 3; // no inset looks farther
    const auto at = [width](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    };
    // First along each row, in place: the distance to the nearest key pixel of the row,
    // the column beyond the picture included.
    for (int y = 0; y < height; ++y) {
        int last = -kFar;
        for (int x = 0; x < width; ++x) {
            if (keyed[at(x, y)])
                last = x;
            keyed[at(x, y)] = static_cast<std::uint8_t>(std::min(kFar, x - last));
        }
        int next = keyedBeyond ? width : width + kFar;
        for (int x = width - 1; x >= 0; --x) {
            if (keyed[at(x, y)] == 0)
                next = x;
            keyed[at(x, y)] =
                static_cast<std::uint8_t>(std::min<int>(keyed[at(x, y)], std::min(kFar, next - x)));
        }
    }
    // Then across the rows within reach, the row beyond the picture included.
    tv::RectBuilder builders[3];
    std::vector<std::uint8_t> distance(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int nearest = kFar;
            for (int k = std::max(0, y - 2); k <= std::min(height, y + 2); ++k) {
                const int along = k == height ? (keyedBeyond ? 0 : kFar) : keyed[at(x, k)];
                nearest = std::min(nearest, std::max(std::abs(k - y), along));
            }
            distance[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(nearest);
        }
        for (int inset = 0; inset < 3; ++inset) {
            for (int x = 0; x < width;) {
                const auto farEnough = [&](int i) {
                    return distance[static_cast<std::size_t>(i)] > inset;
                };
                while (x < width && !farEnough(x))
                    ++x;
                const int start = x;
                while (x < width && farEnough(x))
                    ++x;
                if (x > start)
                    builders[inset].Run(start, x);
            }
            builders[inset].EndRow(y);
        }
    }
    return {builders[0].Take(), builders[1].Take(), builders[2].Take()};
}

} // namespace butt
