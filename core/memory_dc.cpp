#include "memory_dc.h"

namespace tv {

MemoryDc::MemoryDc(BorrowedDc reference) : dc_(CreateCompatibleDC(reference)) {}

MemoryDc::~MemoryDc() {
    for (int index = 0; index < kSlots; ++index)
        PutBack(static_cast<SlotIndex>(index));
}

void MemoryDc::Put(SlotIndex index, HGDIOBJ object) {
    UniqueGdiObject taken(object);
    if (!dc_ || !object)
        return;
    Slot& slot = slots_[index];
    const HGDIOBJ previous = SelectObject(dc_.get(), object);
    if (!previous)
        return; // not selected: deleted again at once
    if (!slot.original)
        slot.original = previous;
    slot.owned = std::move(taken); // the object it replaces is no longer selected
}

void MemoryDc::PutBack(SlotIndex index) {
    Slot& slot = slots_[index];
    if (dc_ && slot.original)
        SelectObject(dc_.get(), slot.original);
    slot.original = nullptr;
    slot.owned.reset();
}

} // namespace tv
