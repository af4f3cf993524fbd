#pragma once
// The control's own texts and the small rules for texts it is given.
#include <string>

namespace butt {

// A caption as it is drawn: "||" forces a line break.
std::string CaptionText(const std::string& caption);

} // namespace butt
