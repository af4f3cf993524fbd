#include "texts.h"

#include <algorithm>

namespace butt {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string AsciiLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), LowerAscii);
    return text;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::string CaptionText(const std::string& caption) {
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '|' && i + 1 < caption.size() && caption[i + 1] == '|') {
            text += "\r\n";
            ++i;
        } else {
            text += caption[i];
        }
    }
    return text;
}

const char* DesignText(int n) {
    switch (n) {
    case 1:
        return "When button images are aligned top/bottom center, \r\n"
               "button captions can only be center aligned";
    case 2:
        return "This property has no effect unless the Button Shape is a custom shape.";
    case 3:
        return "The Picture Property must be assigned first and must be a bitmap or JPEG.";
    case 4:
        return "Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\r\n"
               "Button was changed to Rectangular shaped.";
    case 5:
        return "The focus rectangle may appear on default buttons ONLY while in design mode, "
               "\r\nbut will not appear when the form is running.";
    case 6:
        return "This property is not applicable for command button modes.";
    case 7:
        return "The picture size cannot be changed for Shaped buttons";
    default:
        return "";
    }
}

} // namespace butt
