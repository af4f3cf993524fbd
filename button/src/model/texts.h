#pragma once
// The control's own texts, and the small rules for the texts it is given: names and keys are
// ASCII and compare the same under every locale.
#include <string>
#include <string_view>

namespace butt {

std::string AsciiLower(std::string text);
bool SameWord(std::string_view a, std::string_view b); // ASCII letters in any case

// A caption as it is drawn: "||" forces a line break.
std::string CaptionText(const std::string& caption);

// The message a form designer sees for case n (1 to 7): a value the control refuses, or one
// it takes that has no effect yet.
const char* DesignText(int n);
// What a form host says when MouseIcon is given something other than an icon or cursor.
inline constexpr char kInvalidMouseIcon[] = "Invalid picture";
inline constexpr char kMouseIconTitle[] = "Select .ico Or .cur Files Only";

} // namespace butt
