#include "region_rects.h"

#include <algorithm>
#include <cstring>

namespace tv {

void RectBuilder::EndRow(int y) {
    std::vector<std::size_t> stillOpen;
    std::size_t o = 0;
    for (const auto& [left, right] : row_) {
        while (o < open_.size() && done_[open_[o]].left < left)
            ++o;
        if (o < open_.size() && done_[open_[o]].left == left && done_[open_[o]].right == right &&
            done_[open_[o]].bottom == y) {
            done_[open_[o]].bottom = y + 1;
            stillOpen.push_back(open_[o++]);
        } else {
            stillOpen.push_back(done_.size());
            done_.push_back(RECT{left, y, right, y + 1});
        }
    }
    open_.swap(stillOpen);
    row_.clear();
}

std::vector<RECT> RectBuilder::Take() {
    std::stable_sort(done_.begin(), done_.end(), [](const RECT& a, const RECT& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    open_.clear();
    return std::move(done_);
}

namespace {

// One ExtCreateRegion call. Wine adds its rectangles one by one, each time to the whole
// region made so far, which costs the square of their number: calls of a few only.
UniqueRegion FewRects(const RECT* rects, std::size_t count) {
    RECT bounds = rects[0];
    for (std::size_t i = 0; i < count; ++i) {
        bounds.left = std::min(bounds.left, rects[i].left);
        bounds.top = std::min(bounds.top, rects[i].top);
        bounds.right = std::max(bounds.right, rects[i].right);
        bounds.bottom = std::max(bounds.bottom, rects[i].bottom);
    }
    const std::size_t rectBytes = count * sizeof(RECT);
    // RGNDATA ends in a buffer of rectangles; allocate in RECT-sized units for alignment.
    std::vector<RECT> storage((sizeof(RGNDATAHEADER) + rectBytes + sizeof(RECT) - 1) /
                              sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(storage.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(rectBytes);
    data->rdh.rcBound = bounds;
    std::memcpy(data->Buffer, rects, rectBytes);
    return UniqueRegion(
        ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + rectBytes), data));
}

} // namespace

UniqueRegion RegionFromRects(const std::vector<RECT>& rects) {
    constexpr std::size_t kFew = 8;
    // Parts of equal size are joined as soon as there are two (a binary counter), so each
    // rectangle takes part in a number of joins that grows with the logarithm of the count.
    std::vector<std::pair<UniqueRegion, int>> parts;
    for (std::size_t first = 0; first < rects.size(); first += kFew) {
        UniqueRegion part = FewRects(&rects[first], std::min(kFew, rects.size() - first));
        int level = 0;
        for (; part && !parts.empty() && parts.back().second == level; ++level) {
            if (CombineRgn(part.get(), parts.back().first.get(), part.get(), RGN_OR) == ERROR)
                part.reset();
            parts.pop_back();
        }
        if (!part)
            return UniqueRegion();
        parts.emplace_back(std::move(part), level);
    }
    UniqueRegion all;
    for (; !parts.empty(); parts.pop_back()) {
        if (all && CombineRgn(all.get(), all.get(), parts.back().first.get(), RGN_OR) == ERROR)
            return UniqueRegion();
        if (!all)
            all = std::move(parts.back().first);
    }
    return all;
}

} // namespace tv
