// The property bag and its text form (grammar in property_bag.h). Reading takes every
// property that is valid and lists the rest as problems; only a text that is not a bag at
// all gives none.
#include "property_bag.h"
#include "text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace butt {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsKeyChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One line of the text form, read from left to right. Every failure is a message for the
// caller to put the line number and key in front of.
class LineReader {
  public:
    LineReader(std::string_view line, const BagSources& sources) : text_(line), sources_(sources) {}

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

    bool ReadValue(PropertyBag::Value& value, std::string& error) {
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
        if (c == '&' || c == '-' || c == '+' || c == '.' ||
            std::isdigit(static_cast<unsigned char>(c)))
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
            PicturePtr picture;
            if (!ReadPicture(picture, error))
                return false;
            value = std::move(picture);
            return true;
        }
        error = word.empty() ? "the value cannot be read"
                             : "\"" + word + "\" is not a value (texts need quotes)";
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
            switch (escape) {
            case '"':
            case '\\':
                text += escape;
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'x': {
                const int high = pos_ < text_.size() ? HexDigit(text_[pos_]) : -1;
                const int low = pos_ + 1 < text_.size() ? HexDigit(text_[pos_ + 1]) : -1;
                if (high < 0 || low < 0) {
                    error = "\\x needs two hexadecimal digits";
                    return false;
                }
                text += static_cast<char>(high * 16 + low);
                pos_ += 2;
                break;
            }
            default:
                error = std::string("unknown escape \\") + escape;
                return false;
            }
        }
        error = "the text has no closing quote";
        return false;
    }

    bool ReadHex(PropertyBag::Value& value, std::string& error) {
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

    bool ReadNumber(PropertyBag::Value& value, std::string& error) {
        SkipBlanks();
        if (text_.substr(pos_, 2) == "&H" || text_.substr(pos_, 2) == "&h") {
            pos_ += 2;
            if (!ReadHex(value, error))
                return false;
            if (pos_ < text_.size() && text_[pos_] == '&')
                ++pos_;
            return EndOfNumber(error);
        }
        if (text_.substr(pos_, 2) == "0x" || text_.substr(pos_, 2) == "0X") {
            pos_ += 2;
            return ReadHex(value, error) && EndOfNumber(error);
        }
        const std::size_t start = pos_;
        if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+'))
            ++pos_;
        if (pos_ > start && SameWord(text_.substr(pos_, 8), "Infinity")) {
            const bool negative = text_[start] == '-';
            pos_ += 8;
            value = negative ? -std::numeric_limits<float>::infinity()
                             : std::numeric_limits<float>::infinity();
            return EndOfNumber(error);
        }
        bool single = false;
        std::size_t digits = 0;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (std::isdigit(static_cast<unsigned char>(c))) {
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
        const std::string number(text_.substr(start, pos_ - start));
        if (digits == 0) {
            error = "\"" + number + "\" is not a number";
            return false;
        }
        char* end = nullptr;
        if (single) {
            const float parsed = std::strtof(number.c_str(), &end);
            if (end != number.c_str() + number.size() || !std::isfinite(parsed)) {
                error = "\"" + number + "\" is not a number";
                return false;
            }
            value = parsed;
        } else {
            const long long parsed = std::strtoll(number.c_str(), &end, 10);
            if (end != number.c_str() + number.size() || parsed < INT32_MIN || parsed > INT32_MAX) {
                error = "\"" + number + "\" is not a 32-bit whole number";
                return false;
            }
            value = static_cast<std::int32_t>(parsed);
        }
        return EndOfNumber(error);
    }

    bool EndOfNumber(std::string& error) {
        if (pos_ < text_.size() && (IsKeyChar(text_[pos_]) || text_[pos_] == '.')) {
            error = "the number has stray characters after it";
            return false;
        }
        return true;
    }

    bool ReadTruth(bool& truth, std::string& error) {
        const std::string word = Word();
        if (SameWord(word, "True") || SameWord(word, "False")) {
            truth = SameWord(word, "True");
            return true;
        }
        error = "True or False is expected";
        return false;
    }

    bool ReadFont(FontDesc& font, std::string& error) {
        if (!Take('(')) {
            error = "Font needs \"(\"";
            return false;
        }
        font.name.clear();
        if (!ReadText(font.name, error))
            return false;
        PropertyBag::Value size;
        PropertyBag::Value weight;
        if (!Take(',') || !ReadNumber(size, error) || !Take(',') || !ReadNumber(weight, error)) {
            if (error.empty())
                error = "Font needs a name, a size and a weight";
            return false;
        }
        if (const auto* whole = std::get_if<std::int32_t>(&size))
            font.size = static_cast<float>(*whole);
        else
            font.size = std::get<float>(size);
        if (!std::holds_alternative<std::int32_t>(weight)) {
            error = "the font weight must be a whole number";
            return false;
        }
        font.weight = std::get<std::int32_t>(weight);
        bool seen[4] = {};
        while (Take(',')) {
            const std::string name = Lower(Word());
            const int part = name == "italic"          ? 0
                             : name == "underline"     ? 1
                             : name == "strikethrough" ? 2
                             : name == "charset"       ? 3
                                                       : -1;
            if (part < 0) {
                error = "Font has no part \"" + name + "\"";
                return false;
            }
            if (seen[part]) {
                error = "Font names \"" + name + "\" twice";
                return false;
            }
            seen[part] = true;
            if (!Take('=')) {
                error = "Font needs \"=\" after \"" + name + "\"";
                return false;
            }
            if (part == 3) {
                PropertyBag::Value charset;
                if (!ReadNumber(charset, error))
                    return false;
                if (!std::holds_alternative<std::int32_t>(charset)) {
                    error = "the font charset must be a whole number";
                    return false;
                }
                font.charset = std::get<std::int32_t>(charset);
            } else {
                bool truth = false;
                if (!ReadTruth(truth, error))
                    return false;
                (part == 0 ? font.italic : part == 1 ? font.underline : font.strikethrough) = truth;
            }
        }
        if (!Take(')')) {
            error = "Font needs \")\"";
            return false;
        }
        return true;
    }

    bool ReadPicture(PicturePtr& picture, std::string& error) {
        if (!Take('(')) {
            error = "Picture needs \"(\"";
            return false;
        }
        const std::string from = Lower(Word());
        if (from == "none") {
            picture = nullptr;
        } else if (from == "file") {
            std::string path;
            if (!ReadText(path, error))
                return false;
            std::string why;
            const auto file = PictureFilePath(sources_.pictureFolder, Widen(path), why);
            if (!file) {
                error = "the picture file is not read: " + why;
                return false;
            }
            picture = Picture::LoadFile(*file, why, path);
            if (!picture) {
                error = "the picture cannot be loaded: " + why;
                return false;
            }
        } else if (from == "resource") {
            const std::string kindName = Lower(Word());
            Picture::Kind kind{};
            if (kindName == "bitmap")
                kind = Picture::Kind::Bitmap;
            else if (kindName == "icon")
                kind = Picture::Kind::Icon;
            else if (kindName == "cursor")
                kind = Picture::Kind::Cursor;
            else {
                error = "a resource picture is a bitmap, icon or cursor";
                return false;
            }
            std::string name;
            if (!ReadText(name, error))
                return false;
            std::string why;
            const HMODULE module = sources_.resourceModule;
            picture =
                Picture::LoadResource(module ? module : GetModuleHandleW(nullptr), name, kind, why);
            if (!picture) {
                error = "the picture cannot be loaded: " + why;
                return false;
            }
        } else {
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
    const BagSources& sources_;
    std::size_t pos_ = 0;
};

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

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

// The stored form of a picture, or nothing for one made in code from a bare handle.
std::optional<std::string> PictureText(const PicturePtr& picture) {
    if (!picture)
        return std::string("Picture(none)");
    const std::string& source = picture->source();
    if (source.rfind("file:", 0) == 0)
        return "Picture(file " + Quoted(source.substr(5)) + ")";
    for (const char* kind : {"bitmap", "icon", "cursor"}) {
        const std::string prefix = std::string("res:") + kind + ":";
        if (source.rfind(prefix, 0) == 0)
            return std::string("Picture(resource ") + kind + " " +
                   Quoted(source.substr(prefix.size())) + ")";
    }
    return std::nullopt;
}

} // namespace

std::string BagProblem::Text() const {
    return (line > 0 ? "line " + std::to_string(line) + ", " : std::string()) + "key \"" + key +
           "\": " + reason;
}

bool IsStorableKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), IsKeyChar);
}

std::optional<std::wstring> PictureFilePath(const std::wstring& folder, const std::wstring& path,
                                            std::string& why) {
    if (folder.empty()) {
        why = "no picture folder is allowed here";
        return std::nullopt;
    }
    std::wstring wanted = path;
    std::replace(wanted.begin(), wanted.end(), L'/', L'\\');
    if (wanted.empty() || wanted.find_first_of(L"<>\"|?*") != std::wstring::npos ||
        std::any_of(wanted.begin(), wanted.end(), [](wchar_t c) { return c < 0x20; })) {
        why = "it is not a plain file path";
        return std::nullopt;
    }
    // \\server\share, \\?\..., \\.\device: a network path sends the user's credentials to
    // that server when opened, a device path reaches a device.
    if (wanted.rfind(L"\\\\", 0) == 0) {
        why = "network and device paths are never read";
        return std::nullopt;
    }
    const auto isDrive = [](const std::wstring& p) {
        return p.size() >= 2 && p[1] == L':' && std::iswalpha(p[0]);
    };
    const bool absolute = isDrive(wanted);
    if ((absolute && (wanted.size() < 3 || wanted[2] != L'\\')) || wanted[0] == L'\\' ||
        wanted.find(L':', absolute ? 2 : 0) != std::wstring::npos) {
        why = "only a path relative to the picture folder or a full path under it is read";
        return std::nullopt;
    }
    const auto parts = [](const std::wstring& p) {
        std::vector<std::wstring> list;
        std::size_t start = 0;
        while (start <= p.size()) {
            std::size_t end = p.find_first_of(L"\\/", start);
            if (end == std::wstring::npos)
                end = p.size();
            list.push_back(p.substr(start, end - start));
            start = end + 1;
        }
        return list;
    };
    const auto upper = [](std::wstring text) {
        for (wchar_t& c : text)
            c = static_cast<wchar_t>(std::towupper(c));
        return text;
    };
    std::vector<std::wstring> base;
    for (const std::wstring& part : parts(folder))
        if (!part.empty() && part != L".")
            base.push_back(part);
    std::vector<std::wstring> full = absolute ? std::vector<std::wstring>{} : base;
    for (const std::wstring& part : parts(wanted)) {
        if (part.empty() || part == L".")
            continue;
        if (part == L"..") {
            if (full.empty()) {
                why = "the path leaves the picture folder";
                return std::nullopt;
            }
            full.pop_back();
            continue;
        }
        // CON, NUL, COM1 and the like are devices in every folder, with any extension; a
        // name ending in a dot or blank is another file than it reads.
        const std::wstring stem = upper(part.substr(0, part.find(L'.')));
        const bool device =
            stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" ||
            stem == L"CONIN$" || stem == L"CONOUT$" || stem == L"CLOCK$" ||
            (stem.size() == 4 && (stem.rfind(L"COM", 0) == 0 || stem.rfind(L"LPT", 0) == 0) &&
             std::iswdigit(stem[3]));
        if (device || part.back() == L'.' || part.back() == L' ') {
            why = "\"" + Narrow(part) + "\" is a device name, not a file";
            return std::nullopt;
        }
        full.push_back(part);
    }
    const bool under =
        full.size() > base.size() && std::equal(base.begin(), base.end(), full.begin(),
                                                [&](const std::wstring& x, const std::wstring& y) {
                                                    return upper(x) == upper(y);
                                                });
    if (!under) {
        why = "the path leaves the picture folder";
        return std::nullopt;
    }
    std::wstring result = folder.rfind(L"\\\\", 0) == 0 ? L"\\\\" : L"";
    for (std::size_t i = 0; i < full.size(); ++i)
        result += (i ? L"\\" : L"") + full[i];
    return result;
}

BagRead PropertyBag::Read(const std::string& text, const BagSources& sources) {
    BagRead result;
    if (text.find('\0') != std::string::npos) {
        result.error = "this is not a property bag: the text holds NUL bytes";
        return result;
    }
    PropertyBag bag;
    std::unordered_map<std::string, int> lineOf; // each key's first line
    const auto problem = [&](int line, const std::string& key, const std::string& reason) {
        result.problems.push_back(BagProblem{line, key, reason, false});
    };
    // Editors may put a UTF-8 byte order mark in front; it is not part of the first key.
    std::size_t start = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    int lineNumber = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        start = end + 1;

        LineReader reader(line, sources);
        if (reader.AtEnd())
            continue;
        const std::string where = "line " + std::to_string(lineNumber);
        const std::string key = Lower(reader.Word());
        if (key.empty()) {
            result.error = where + ": a line reads key = value";
            return result;
        }
        if (!reader.Take('=')) {
            result.error = where + ", key \"" + key + "\": \"=\" is expected after the key";
            return result;
        }
        if (const auto first = lineOf.find(key); first != lineOf.end()) {
            problem(lineNumber, key,
                    "the key stands twice (line " + std::to_string(first->second) + " is taken)");
            continue;
        }
        lineOf.emplace(key, lineNumber);
        Value value;
        std::string why;
        if (!reader.ReadValue(value, why)) {
            problem(lineNumber, key, why);
            continue;
        }
        if (!reader.AtEnd()) {
            problem(lineNumber, key, "unexpected text after the value");
            continue;
        }
        why = CheckStoredValue(key, value);
        if (!why.empty()) {
            problem(lineNumber, key, why);
            continue;
        }
        if (!IsKnownKey(key))
            result.problems.push_back(
                BagProblem{lineNumber, key, "the control has no such property", true});
        bag.Set(key, std::move(value));
    }
    // A value that does not fit the others goes; then the rest is checked again.
    while (const auto fault = CheckStoredCombination(bag)) {
        const auto line = lineOf.find(fault->first);
        problem(line != lineOf.end() ? line->second : 0, fault->first, fault->second);
        bag.Remove(fault->first);
    }
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const BagProblem& a, const BagProblem& b) { return a.line < b.line; });
    result.bag = std::move(bag);
    return result;
}

std::optional<PropertyBag> PropertyBag::Parse(const std::string& text, std::string& error,
                                              HMODULE resourceModule) {
    BagSources sources;
    sources.resourceModule = resourceModule;
    BagRead read = Read(text, sources);
    if (!read.bag) {
        error = read.error;
        return std::nullopt;
    }
    for (const BagProblem& problem : read.problems) {
        if (!problem.kept) {
            error = problem.Text();
            return std::nullopt;
        }
    }
    error.clear();
    return std::move(read.bag);
}

std::string PropertyBag::ToText(std::vector<BagProblem>* unwritten) const {
    std::string text;
    const auto skip = [&](const std::string& key, const std::string& reason) {
        text += "# " + Quoted(key) + " is not stored: " + reason + "\n";
        if (unwritten)
            unwritten->push_back(BagProblem{0, key, reason, false});
    };
    for (const auto& [key, value] : entries_) {
        if (!IsStorableKey(key)) {
            skip(key, "a key is letters, digits and _");
            continue;
        }
        std::string written;
        if (const auto* t = std::get_if<std::string>(&value)) {
            written = Quoted(*t);
        } else if (const auto* n = std::get_if<std::int32_t>(&value)) {
            if (IsColorKey(key)) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "&H%08X", static_cast<std::uint32_t>(*n));
                written = hex;
            } else {
                written = std::to_string(*n);
            }
        } else if (const auto* f = std::get_if<float>(&value)) {
            written = SingleText(*f);
        } else if (const auto* b = std::get_if<bool>(&value)) {
            written = TruthText(*b);
        } else if (const auto* font = std::get_if<FontDesc>(&value)) {
            written = "Font(" + Quoted(font->name) + ", " + SingleText(font->size) + ", " +
                      std::to_string(font->weight) + ", italic=" + TruthText(font->italic) +
                      ", underline=" + TruthText(font->underline) +
                      ", strikethrough=" + TruthText(font->strikethrough) +
                      ", charset=" + std::to_string(font->charset) + ")";
        } else if (const auto* picture = std::get_if<PicturePtr>(&value)) {
            const auto stored = PictureText(*picture);
            if (!stored) {
                skip(key, "a picture made from a bare handle has no stored form");
                continue;
            }
            written = *stored;
        }
        text += key + " = " + written + "\n";
    }
    return text;
}

bool PropertyBag::Has(const std::string& key) const {
    return Find(key) != nullptr;
}

const PropertyBag::Value* PropertyBag::Find(const std::string& key) const {
    const auto found = index_.find(Lower(key));
    return found != index_.end() ? &entries_[found->second].second : nullptr;
}

void PropertyBag::Set(const std::string& key, Value value) {
    std::string lower = Lower(key);
    const auto [place, added] = index_.try_emplace(lower, entries_.size());
    if (added)
        entries_.emplace_back(std::move(lower), std::move(value));
    else
        entries_[place->second].second = std::move(value);
}

void PropertyBag::Remove(const std::string& key) {
    const auto found = index_.find(Lower(key));
    if (found == index_.end())
        return;
    const std::size_t position = found->second;
    index_.erase(found);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    for (std::size_t i = position; i < entries_.size(); ++i)
        index_[entries_[i].first] = i;
}

std::vector<std::string> PropertyBag::Keys() const {
    std::vector<std::string> keys;
    keys.reserve(entries_.size());
    for (const auto& entry : entries_)
        keys.push_back(entry.first);
    return keys;
}

} // namespace butt
