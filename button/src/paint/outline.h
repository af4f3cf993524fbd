#pragma once
// The outlines of a picture-shaped button, as rectangles of its pixels.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace butt {

// The outlines from `keyed`, one byte per pixel of width x height, rows top first, non-zero
// where the pixel counts as the key colour; `keyedBeyond` says whether the column and the row
// just beyond the picture count as key too. `opaque` holds the pixels that are not key;
// `outer` and `inner` those more than one and more than two pixels away from every key pixel
// (diagonals count as one step): the outline eroded by one and two.
struct PictureOutline {
    std::vector<RECT> opaque, outer, inner;
};
PictureOutline OutlineOfKeyed(std::vector<std::uint8_t> keyed, int width, int height,
                              bool keyedBeyond);

} // namespace butt
