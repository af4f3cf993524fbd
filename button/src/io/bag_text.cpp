// The small texts of the stored form, without the system and without the C locale: values
// written with to_chars (read back by bag_grammar.cpp in any locale), and texts from outside
// made fit for a message.
#include "bag_grammar.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace butt {
namespace {

constexpr std::size_t kShownCharacters = 48;

// The shortest text that reads back as the same single, always with a dot or exponent.
std::string SingleText(float value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".eE") == std::string::npos)
        text += ".0";
    return text;
}

std::string TruthText(bool truth) {
    return truth ? "True" : "False";
}

// The stored form of a picture; nothing for one made in code from a bare handle.
std::optional<std::string> PictureText(const PictureRef& picture) {
    if (!picture.kind)
        return std::string("Picture(none)");
    const std::string& source = picture.source;
    if (source.rfind("file:", 0) == 0)
        return "Picture(file " + Quoted(source.substr(5)) + ")";
    const std::size_t colon = source.find(':', 4);
    if (source.rfind("res:", 0) == 0 && colon != std::string::npos)
        return "Picture(resource " + source.substr(4, colon - 4) + " " +
               Quoted(source.substr(colon + 1)) + ")";
    return std::nullopt;
}

// The UTF-8 sequence that starts at `at`: its length, or 0 when the bytes are not UTF-8.
std::size_t Utf8Length(std::string_view text, std::size_t at, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || at + length > text.size())
        return 0;
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    return overlong || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) ? 0 : length;
}

// Characters that change how the rest of a message looks: controls and direction marks.
bool Disturbs(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0x061C || code == 0x200E ||
           code == 0x200F || (code >= 0x2028 && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069) || code == 0xFEFF;
}

std::string Hex(char32_t code, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += kDigits[(code >> shift) & 0xF];
    return text;
}

} // namespace

bool IsStorableKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), IsKeyChar);
}

int ResourceNumber(std::string_view name) {
    if (name.empty() || name[0] != '#')
        return 0;
    int number = 0;
    const char* last = name.data() + name.size();
    const auto [end, failure] = std::from_chars(name.data() + 1, last, number);
    const bool digitsOnly = name.size() > 1 && name[1] >= '0' && name[1] <= '9';
    return digitsOnly && failure == std::errc() && end == last && number >= 1 && number <= 65535
               ? number
               : -1;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const std::size_t special = std::string_view("\"\\\n\r\t").find(c);
        if (special != std::string_view::npos)
            quoted.append("\\").push_back("\"\\nrt"[special]);
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            quoted += "\\x" + Hex(static_cast<unsigned char>(c), 2);
        else
            quoted += c;
    }
    return quoted + "\"";
}

std::string Shown(std::string_view text) {
    std::string shown = "\"";
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        if (characters == kShownCharacters)
            return shown + "\"... (" + std::to_string(text.size()) + " bytes)";
        char32_t code = 0;
        const std::size_t length = Utf8Length(text, at, code);
        if (length == 0)
            shown += "\\x" + Hex(static_cast<unsigned char>(text[at]), 2);
        else if (code == '"' || code == '\\')
            shown.append("\\").push_back(static_cast<char>(code));
        else if (Disturbs(code))
            shown += code < 0x100 ? "\\x" + Hex(code, 2) : "\\u" + Hex(code, 4);
        else
            shown.append(text.substr(at, length));
        at += length ? length : 1;
    }
    return shown + "\"";
}

std::string BagProblem::Text() const {
    return (line > 0 ? "line " + std::to_string(line) + ", " : std::string()) + "key " +
           Shown(key) + ": " + reason;
}

std::optional<std::string> StoredValueText(const std::string& key, const StoredValue& value) {
    if (const auto* t = std::get_if<std::string>(&value))
        return Quoted(*t);
    if (const auto* n = std::get_if<std::int32_t>(&value))
        return IsColorKey(key) ? "&H" + Hex(static_cast<std::uint32_t>(*n), 8) : std::to_string(*n);
    if (const auto* f = std::get_if<float>(&value))
        return SingleText(*f);
    if (const auto* b = std::get_if<bool>(&value))
        return TruthText(*b);
    if (const auto* font = std::get_if<FontDesc>(&value))
        return "Font(" + Quoted(font->name) + ", " + SingleText(font->size) + ", " +
               std::to_string(font->weight) + ", italic=" + TruthText(font->italic) +
               ", underline=" + TruthText(font->underline) +
               ", strikethrough=" + TruthText(font->strikethrough) +
               ", charset=" + std::to_string(font->charset) + ")";
    return PictureText(std::get<PictureRef>(value));
}

bool IsKeyChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

} // namespace butt
