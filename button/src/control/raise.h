#pragma once
// Raising the control's events. A handler may do anything, including deleting the control,
// so the slot is copied before the call and the caller learns whether the control survived.
#include "control_record.h"

#include <memory>

namespace butt {

// Calls `slot` (when set) with the arguments by reference. False when the control ended
// during the call: the caller must not touch the record any more.
template <typename Slot, typename... Args>
bool Raise(const Butt::Impl& impl, const Slot& slot, Args&... args) {
    if (!slot)
        return true;
    const Slot handler = slot;
    const std::shared_ptr<bool> living = impl.alive;
    handler(args...);
    return *living;
}

} // namespace butt
