#pragma once
// Regions made from the runs of pixels they cover, row by row: runs that repeat the row above
// are made taller first, so there are fewer rectangles, and the rectangles reach the system a
// few at a time, the parts joined pairwise, at a fraction of the cost of a CombineRgn per run.
#include "handles.h"

#include <windows.h>

#include <cstddef>
#include <utility>
#include <vector>

namespace tv {

// Collects runs row by row, each row's runs left to right. A run equal to one of the runs
// still open from the row above extends that rectangle downwards; open rectangles that no run
// of the new row continues are closed.
class RectBuilder {
  public:
    void Run(int left, int right) { row_.push_back({left, right}); }
    void EndRow(int y);
    // In the region's own order: top to bottom, then left to right.
    std::vector<RECT> Take();

  private:
    std::vector<std::pair<int, int>> row_;
    std::vector<std::size_t> open_; // indices into done_, left to right
    std::vector<RECT> done_;
};

// The region of the rectangles, in time that grows little faster than their number. Empty
// owner for none, or when the system cannot make it.
UniqueRegion RegionFromRects(const std::vector<RECT>& rects);

} // namespace tv
