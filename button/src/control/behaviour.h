#pragma once
// Small computations of the control's behaviour, apart from the code that talks to windows.
#include "kinds.h"

#include <windows.h>

#include <string>

namespace butt {

// The key data posted with a re-posted arrow key: scan code in bits 16 to 23, repeat count 1.
// 0 for keys that are not arrows.
LPARAM ArrowKeyData(int keyCode);

// The access key a caption marks: "&&" is a literal ampersand, "&" marks the next character,
// and the last marked character wins. 0 when the caption marks none.
wchar_t AccessKeyOf(const std::string& caption);

// What assistive technology reads of a control (accessible.cpp): the caption without its
// "&" markers ("||" reads as a space), the MSAA role by Mode, and the default action's name.
std::wstring AccessibleName(const std::string& caption);
long AccessibleRole(Mode mode);
std::wstring DefaultActionName(Mode mode, bool value);

} // namespace butt
