#pragma once
// The control keeps its texts (captions, picture paths) as UTF-8, and hands them to the
// system as UTF-16.
#include <string>

namespace butt {

// UTF-8 to UTF-16; a text that is not UTF-8 falls back to the system code page, as older
// stored captions were 8-bit text.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

} // namespace butt
