#pragma once
// The region of a skin, built pixel by pixel: GetPixel for every pixel and one rectangle,
// union and delete per run. Slow; kept as the yardstick that the fast builder is measured
// and checked against.
#include "handles.h"

#include <windows.h>

namespace tv {

// The region of the pixels of `dc` over width x height that are not `key`; an empty owner
// when no pixel is opaque. Any colour that is not exactly the key, including the
// invalid-colour answer for a pixel outside the image, counts as opaque.
UniqueRegion RegionFromDcReference(BorrowedDc dc, int width, int height, COLORREF key);

} // namespace tv
