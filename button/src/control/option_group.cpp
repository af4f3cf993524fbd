// Option groups: the option buttons (Mode 2) of one container share a list kept as window
// properties of the container: "bt_OptCount" holds the count n, and "1bt_Obj" to "<n>bt_Obj"
// the members' addresses (no reference is held). Members leave the list when their Mode
// changes and when they end, and every address read back is checked against the live
// controls, so the list never leads to an ended control.
#include "control_record.h"

#include <string>

namespace butt {
namespace {

constexpr char kCountProperty[] = "bt_OptCount";

std::string MemberProperty(INT_PTR position) {
    return std::to_string(position) + "bt_Obj";
}

INT_PTR GroupSize(HWND container) {
    const INT_PTR n = reinterpret_cast<INT_PTR>(GetPropA(container, kCountProperty));
    return n > 0 ? n : 0;
}

HANDLE MemberAt(HWND container, INT_PTR position) {
    return GetPropA(container, MemberProperty(position).c_str());
}

} // namespace

bool Butt::Impl::OptionToggle(GroupAction action) {
    const HWND container = ContainerWindow;
    if (!container || !IsWindow(container))
        return false;
    // An ended control may still leave, but never joins again.
    if (terminated && action == GroupAction::Join)
        return false;
    const INT_PTR n = GroupSize(container);
    bool result = false;
    const HANDLE self = static_cast<HANDLE>(this);

    // Joining or being selected clears the others; leaving and asking change nobody.
    const bool selects = action == GroupAction::Join || (action == GroupAction::Selected && n >= 1);
    if (selects && properties.value) {
        for (INT_PTR position = 1; position <= n; ++position) {
            const HANDLE stored = MemberAt(container, position);
            if (stored == self)
                continue;
            if (Impl* other = FromStoredAddress(stored)) {
                const Entry entry(*other); // its host may end it when told of the change
                other->SetValue(false);
            }
        }
        // Ended by a host meanwhile: an ended control joins no group.
        if (retired || terminated)
            return false;
    }

    // Other controls' setters ran above; read the list again, as it stands now.
    const INT_PTR count = GroupSize(container);
    INT_PTR own = 0;
    for (INT_PTR position = 1; position <= count && !own; ++position)
        if (MemberAt(container, position) == self)
            own = position;

    switch (action) {
    case GroupAction::Leave:
        if (!own)
            break;
        for (INT_PTR position = own; position < count; ++position)
            SetPropA(container, MemberProperty(position).c_str(),
                     MemberAt(container, position + 1));
        RemovePropA(container, MemberProperty(count).c_str());
        if (count == 1)
            RemovePropA(container, kCountProperty);
        else
            SetPropA(container, kCountProperty, reinterpret_cast<HANDLE>(count - 1));
        break;
    case GroupAction::Join:
        if (own)
            break; // already a member: one entry per control
        SetPropA(container, kCountProperty, reinterpret_cast<HANDLE>(count + 1));
        SetPropA(container, MemberProperty(count + 1).c_str(), self);
        break;
    case GroupAction::AnySelected:
        for (INT_PTR position = 1; position <= count; ++position) {
            const Impl* member = FromStoredAddress(MemberAt(container, position));
            if (member && member->properties.value) {
                result = true;
                break;
            }
        }
        break;
    case GroupAction::Selected:
        break;
    }
    return result;
}

} // namespace butt
