#pragma once
// A memory DC that owns what it draws with: its bitmap, and the pen, brush and font selected
// into it. Each Select replaces (and deletes) the object of its kind that the DC held before,
// and when the DC ends it puts back the objects it was made with before anything is deleted:
// no object is ever deleted while a DC still holds it, and no caller keeps saved handles.
#include "handles.h"

#include <windows.h>

#include <array>

namespace tv {

class MemoryDc {
  public:
    // A DC compatible with `reference` (the screen when null); empty when the system cannot
    // make one.
    explicit MemoryDc(BorrowedDc reference = nullptr);
    ~MemoryDc();
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc_.get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }
    // The bitmap selected into it by Select, or null.
    HBITMAP bitmap() const { return static_cast<HBITMAP>(slots_[kBitmap].owned.get()); }

    // Selects `object` and owns it from now on. A null object changes nothing.
    void Select(UniqueBitmap object) { Put(kBitmap, object.release()); }
    void Select(UniquePen object) { Put(kPen, object.release()); }
    void Select(UniqueBrush object) { Put(kBrush, object.release()); }
    void Select(UniqueFont object) { Put(kFont, object.release()); }
    // Puts the DC's own pen and brush back and deletes the ones selected before.
    void PutBackPenAndBrush() {
        PutBack(kPen);
        PutBack(kBrush);
    }
    // Puts the DC's own bitmap back and deletes the one selected before (a buffer of the old
    // size goes before a new one is made).
    void PutBackBitmap() { PutBack(kBitmap); }

  private:
    enum SlotIndex { kBitmap, kPen, kBrush, kFont, kSlots };
    struct Slot {
        HGDIOBJ original = nullptr; // what the DC held before the first Select of this kind
        UniqueGdiObject owned;
    };
    void Put(SlotIndex index, HGDIOBJ object);
    void PutBack(SlotIndex index);

    UniqueMemoryDc dc_;
    std::array<Slot, kSlots> slots_{};
};

} // namespace tv
