// Reading the text form of stored properties, without the system and without the C locale:
// keys fold ASCII letters only and numbers are read with from_chars, so that a host under a
// decimal-comma locale reads what it wrote.
#include "bag_grammar.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace butt {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// One line of the text form, read from left to right. Every failure is a message for the
// caller to put the line number and key in front of.
class LineReader {
  public:
    explicit LineReader(std::string_view line) : text_(line) {}

    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos_ >= text_.size() || text_[pos_] == '#';
    }
    bool Take(char c) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::string Word() {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsKeyChar(text_[pos_]))
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    bool ReadValue(StoredValue& value, std::string& error) {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] == '#') {
            error = "the value is missing";
            return false;
        }
        const char c = text_[pos_];
        if (c == '"') {
            std::string text;
            if (!ReadText(text, error))
                return false;
            value = std::move(text);
            return true;
        }
        if (c == '&' || c == '-' || c == '+' || c == '.' || IsDigit(c))
            return ReadNumber(value, error);
        const std::string word = Word();
        if (SameWord(word, "True") || SameWord(word, "False")) {
            value = SameWord(word, "True");
            return true;
        }
        if (SameWord(word, "NaN") || SameWord(word, "Infinity")) {
            value = SameWord(word, "NaN") ? std::numeric_limits<float>::quiet_NaN()
                                          : std::numeric_limits<float>::infinity();
            return true;
        }
        if (SameWord(word, "Font")) {
            FontDesc font;
            if (!ReadFont(font, error))
                return false;
            value = std::move(font);
            return true;
        }
        if (SameWord(word, "Picture")) {
            PictureRef picture;
            if (!ReadPicture(picture, error))
                return false;
            value = std::move(picture);
            return true;
        }
        error = word.empty() ? "the value cannot be read"
                             : Shown(word) + " is not a value (texts need quotes)";
        return false;
    }

  private:
    bool ReadText(std::string& text, std::string& error) {
        if (!Take('"')) {
            error = "a text in double quotes is expected";
            return false;
        }
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"')
                return true;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (pos_ >= text_.size())
                break;
            const char escape = text_[pos_++];
            const std::size_t known = std::string_view("\"\\nrt").find(escape);
            if (known != std::string_view::npos) {
                text += "\"\\\n\r\t"[known];
            } else if (escape == 'x') {
                const int high = pos_ < text_.size() ? HexDigit(text_[pos_]) : -1;
                const int low = pos_ + 1 < text_.size() ? HexDigit(text_[pos_ + 1]) : -1;
                if (high < 0 || low < 0) {
                    error = "\\x needs two hexadecimal digits";
                    return false;
                }
                text += static_cast<char>(high * 16 + low);
                pos_ += 2;
            } else {
                error = escape > ' ' && escape < 0x7F
                            ? std::string("unknown escape \\") + escape
                            : "unknown escape \\ before " + Shown({&escape, 1});
                return false;
            }
        }
        error = "the text has no closing quote";
        return false;
    }

    bool ReadHex(StoredValue& value, std::string& error) {
        std::uint64_t bits = 0;
        std::size_t digits = 0;
        while (pos_ < text_.size() && HexDigit(text_[pos_]) >= 0) {
            bits = bits * 16 + static_cast<std::uint64_t>(HexDigit(text_[pos_++]));
            if (bits > 0xFFFFFFFFull) {
                error = "the number does not fit in 32 bits";
                return false;
            }
            ++digits;
        }
        if (digits == 0) {
            error = "hexadecimal digits are expected";
            return false;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
        return true;
    }

    bool ReadNumber(StoredValue& value, std::string& error) {
        SkipBlanks();
        const std::string_view prefix = text_.substr(pos_, 2);
        if (SameWord(prefix, "&H") || SameWord(prefix, "0x")) {
            pos_ += 2;
            if (!ReadHex(value, error))
                return false;
            if (prefix[0] == '&' && pos_ < text_.size() && text_[pos_] == '&')
                ++pos_;
            return EndOfNumber(error);
        }
        const std::size_t start = pos_;
        if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+'))
            ++pos_;
        const bool negative = pos_ > start && text_[start] == '-';
        if (pos_ > start && SameWord(text_.substr(pos_, 8), "Infinity")) {
            pos_ += 8;
            value = (negative ? -1.0f : 1.0f) * std::numeric_limits<float>::infinity();
            return EndOfNumber(error);
        }
        const std::size_t unsignedStart = pos_;
        bool single = false;
        std::size_t digits = 0;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (IsDigit(c)) {
                ++digits;
            } else if (c == '.') {
                single = true;
            } else if ((c == 'e' || c == 'E') && digits > 0) {
                single = true;
                if (pos_ + 1 < text_.size() && (text_[pos_ + 1] == '-' || text_[pos_ + 1] == '+'))
                    ++pos_;
            } else {
                break;
            }
            ++pos_;
        }
        const std::string_view number = text_.substr(start, pos_ - start);
        // from_chars takes no "+" and reads the same in every locale.
        const char* first = text_.data() + (negative ? start : unsignedStart);
        const char* last = text_.data() + pos_;
        if (digits > 0 && single) {
            float parsed = 0;
            const auto [end, failure] = std::from_chars(first, last, parsed);
            if (failure == std::errc() && end == last && std::isfinite(parsed)) {
                value = parsed;
                return EndOfNumber(error);
            }
        } else if (digits > 0) {
            std::int64_t parsed = 0;
            const bool fits = std::from_chars(first, last, parsed).ec == std::errc();
            if (!fits || parsed < INT32_MIN || parsed > INT32_MAX) {
                error = Shown(number) + " is not a 32-bit whole number";
                return false;
            }
            value = static_cast<std::int32_t>(parsed);
            return EndOfNumber(error);
        }
        error = Shown(number) + " is not a number";
        return false;
    }

    bool EndOfNumber(std::string& error) {
        if (pos_ < text_.size() && (IsKeyChar(text_[pos_]) || text_[pos_] == '.')) {
            error = "the number has stray characters after it";
            return false;
        }
        return true;
    }

    bool ReadWhole(std::int32_t& whole, const char* what, std::string& error) {
        StoredValue number;
        if (!ReadNumber(number, error))
            return false;
        if (!std::holds_alternative<std::int32_t>(number)) {
            error = std::string("the font ") + what + " must be a whole number";
            return false;
        }
        whole = std::get<std::int32_t>(number);
        return true;
    }

    bool ReadFont(FontDesc& font, std::string& error) {
        if (!Take('(')) {
            error = "Font needs \"(\"";
            return false;
        }
        font.name.clear();
        if (!ReadText(font.name, error))
            return false;
        StoredValue size;
        if (!Take(',') || !ReadNumber(size, error) || !Take(',')) {
            if (error.empty())
                error = "Font needs a name, a size and a weight";
            return false;
        }
        const auto* whole = std::get_if<std::int32_t>(&size);
        font.size = whole ? static_cast<float>(*whole) : std::get<float>(size);
        std::int32_t weight = 0;
        if (!ReadWhole(weight, "weight", error))
            return false;
        font.weight = weight;
        bool seen[4] = {};
        while (Take(',')) {
            const std::string name = AsciiLower(Word());
            static constexpr const char* kParts[] = {"italic", "underline", "strikethrough",
                                                     "charset"};
            const auto found = std::find(std::begin(kParts), std::end(kParts), name);
            if (found == std::end(kParts)) {
                error = "Font has no part " + Shown(name);
                return false;
            }
            const auto part = static_cast<std::size_t>(found - std::begin(kParts));
            if (seen[part]) {
                error = "Font names " + Shown(name) + " twice";
                return false;
            }
            seen[part] = true;
            if (!Take('=')) {
                error = "Font needs \"=\" after " + Shown(name);
                return false;
            }
            if (part == 3) {
                std::int32_t charset = 0;
                if (!ReadWhole(charset, "charset", error))
                    return false;
                font.charset = charset;
                continue;
            }
            const std::string truth = Word();
            if (!SameWord(truth, "True") && !SameWord(truth, "False")) {
                error = "True or False is expected";
                return false;
            }
            (part == 0   ? font.italic
             : part == 1 ? font.underline
                         : font.strikethrough) = SameWord(truth, "True");
        }
        if (!Take(')')) {
            error = "Font needs \")\"";
            return false;
        }
        return true;
    }

    bool ReadPicture(PictureRef& picture, std::string& error) {
        if (!Take('(')) {
            error = "Picture needs \"(\"";
            return false;
        }
        const std::string from = AsciiLower(Word());
        std::string name;
        if (from == "file") {
            if (!ReadText(name, error))
                return false;
            const std::size_t dot = name.find_last_of("./\\");
            const std::string extension =
                dot != std::string::npos && name[dot] == '.' ? AsciiLower(name.substr(dot)) : "";
            if (extension != ".bmp" && extension != ".ico" && extension != ".cur" &&
                extension != ".jpg" && extension != ".jpeg" && extension != ".png") {
                error = "a picture file is .bmp, .ico, .cur, .jpg, .jpeg or .png";
                return false;
            }
            picture.kind = extension == ".ico"   ? PictureKind::Icon
                           : extension == ".cur" ? PictureKind::Cursor
                                                 : PictureKind::Bitmap;
            picture.source = "file:" + name;
        } else if (from == "resource") {
            const std::string kind = AsciiLower(Word());
            if (kind != "bitmap" && kind != "icon" && kind != "cursor") {
                error = "a resource picture is a bitmap, icon or cursor";
                return false;
            }
            if (!ReadText(name, error))
                return false;
            if (name.empty() || ResourceNumber(name) < 0) {
                error = "the resource " + Shown(name) + " is neither a name nor #1 to #65535";
                return false;
            }
            picture.kind = kind == "icon"     ? PictureKind::Icon
                           : kind == "cursor" ? PictureKind::Cursor
                                              : PictureKind::Bitmap;
            picture.source = "res:" + kind + ":" + name;
        } else if (from != "none") {
            error = "a picture is Picture(file \"...\"), Picture(resource bitmap \"...\") or "
                    "Picture(none)";
            return false;
        }
        if (!Take(')')) {
            error = "Picture needs \")\"";
            return false;
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

StoredText ReadStoredText(std::string_view text) {
    StoredText result;
    std::unordered_map<std::string, int> lineOf; // each key's line of the value taken
    // Editors may put a UTF-8 byte order mark in front; it is not part of the first key.
    std::size_t start = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    int lineNumber = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        start = end + 1;
        const std::string where = "line " + std::to_string(lineNumber);
        if (line.find('\0') != std::string_view::npos) {
            result.error = where + ": this is not a property bag: the line holds a NUL byte";
            return result;
        }
        LineReader reader(line);
        if (reader.AtEnd())
            continue;
        const std::string key = AsciiLower(reader.Word());
        if (key.empty()) {
            result.error = where + ": a line reads key = value";
            return result;
        }
        if (!reader.Take('=')) {
            result.error = where + ", key " + Shown(key) + ": \"=\" is expected after the key";
            return result;
        }
        const auto problem = [&](std::string reason, bool kept = false) {
            result.problems.push_back(BagProblem{lineNumber, key, std::move(reason), kept});
        };
        if (const auto first = lineOf.find(key); first != lineOf.end()) {
            problem("the key stands twice: its value is read from line " +
                    std::to_string(first->second));
            continue;
        }
        StoredValue value;
        std::string why;
        if (!reader.ReadValue(value, why)) {
            problem(why);
            continue;
        }
        if (!reader.AtEnd()) {
            problem("unexpected text after the value");
            continue;
        }
        why = CheckStoredValue(key, value);
        if (!why.empty()) {
            problem(why);
            continue;
        }
        if (!IsKnownKey(key))
            problem("the control has no such property", true);
        lineOf.emplace(key, lineNumber);
        result.entries.push_back(StoredEntry{lineNumber, key, std::move(value)});
    }
    // A value that does not fit the others goes; then the rest is checked again.
    const auto find = [&](const char* key) -> std::optional<StoredValue> {
        for (const StoredEntry& entry : result.entries)
            if (entry.key == key)
                return entry.value;
        return std::nullopt;
    };
    while (const auto fault = CheckStoredCombination(find)) {
        const auto at = std::find_if(result.entries.begin(), result.entries.end(),
                                     [&](const StoredEntry& e) { return e.key == fault->first; });
        result.problems.push_back(BagProblem{at->line, fault->first, fault->second, false});
        result.entries.erase(at);
    }
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const BagProblem& a, const BagProblem& b) { return a.line < b.line; });
    result.isBag = true;
    return result;
}

} // namespace butt
