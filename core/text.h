#pragma once
// Texts kept as UTF-8 (captions, font names, picture paths) are handed to the system as
// UTF-16.
#include <string>

namespace tv {

// UTF-8 to UTF-16; a text that is not UTF-8 falls back to the system code page, as older
// stored captions were 8-bit text.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

} // namespace tv
