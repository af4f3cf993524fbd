// What the control reads under each stored key: the kind and range of each value, and the
// values that only make sense together. Apart from the system, as the text form is.
#include "bag_grammar.h"

namespace butt {
namespace {

enum class Kind { Text, Whole, Colour, Truth, Font, Icon, Picture };

struct KeyRule {
    const char* key; // lower case
    Kind kind;
    long low = 0;
    long high = 0; // no range when low == high
};

// Keys of a host (the extents) are checked too, as Butt::Load reads them.
constexpr KeyRule kRules[] = {
    {"caption", Kind::Text},
    {"capalign", Kind::Whole, 0, 2},
    {"backstyle", Kind::Whole, 0, 7},
    {"shape", Kind::Whole, 0, 8},
    {"gradient", Kind::Whole, 0, 4},
    {"cgradient", Kind::Colour},
    {"cfore", Kind::Colour},
    {"font", Kind::Font},
    {"focus", Kind::Truth},
    {"mode", Kind::Whole, 0, 2},
    {"value", Kind::Truth},
    {"customclick", Kind::Whole, 0, 8},
    {"image", Kind::Picture},
    {"imgsize", Kind::Whole, 0, 48},
    {"imgalign", Kind::Whole, 0, 5},
    {"cfhover", Kind::Colour},
    {"enabled", Kind::Truth},
    {"cback", Kind::Colour},
    {"cbhover", Kind::Colour},
    {"lockhover", Kind::Whole},
    {"capstyle", Kind::Whole, 0, 2},
    {"micon", Kind::Icon},
    {"mpointer", Kind::Whole, -32768, 32767},
    {"_extentx", Kind::Whole, 0, 100000},
    {"_extenty", Kind::Whole, 0, 100000},
};

const KeyRule* RuleOf(const std::string& key) {
    for (const KeyRule& rule : kRules)
        if (key == rule.key)
            return &rule;
    return nullptr;
}

std::int32_t Whole(const StoredLookup& find, const char* key) {
    const auto value = find(key);
    const auto* whole = value ? std::get_if<std::int32_t>(&*value) : nullptr;
    return whole ? *whole : 0;
}

// Truth values are True/False; a whole number is taken as a form host stores it (0 false).
bool Truth(const StoredLookup& find, const char* key) {
    const auto value = find(key);
    const auto* truth = value ? std::get_if<bool>(&*value) : nullptr;
    return truth ? *truth : Whole(find, key) != 0;
}

} // namespace

bool IsKnownKey(const std::string& key) {
    return RuleOf(key) != nullptr;
}

bool IsColorKey(const std::string& key) {
    const KeyRule* rule = RuleOf(key);
    return rule && rule->kind == Kind::Colour;
}

bool TakesPicture(const std::string& key) {
    const KeyRule* rule = RuleOf(key);
    return rule && (rule->kind == Kind::Picture || rule->kind == Kind::Icon);
}

std::string CheckStoredValue(const std::string& key, const StoredValue& value) {
    const KeyRule* rule = RuleOf(key);
    if (!rule)
        return {};
    switch (rule->kind) {
    case Kind::Text:
        if (!std::holds_alternative<std::string>(value))
            return "a text in double quotes is expected";
        return {};
    case Kind::Whole:
    case Kind::Colour: {
        const auto* whole = std::get_if<std::int32_t>(&value);
        if (!whole)
            return rule->kind == Kind::Colour ? "a colour (a whole number such as &H00C0C0C0) "
                                                "is expected"
                                              : "a whole number is expected";
        if (rule->low != rule->high && (*whole < rule->low || *whole > rule->high))
            return std::to_string(*whole) + " is outside " + std::to_string(rule->low) + " to " +
                   std::to_string(rule->high);
        if (key == "imgsize" && (*whole % 8 != 0 || (*whole != 0 && *whole < 16)))
            return "the picture size is 16, 24, 32, 40 or 48 pixels";
        return {};
    }
    case Kind::Truth:
        if (!std::holds_alternative<bool>(value) && !std::holds_alternative<std::int32_t>(value))
            return "True or False is expected";
        return {};
    case Kind::Font: {
        const auto* font = std::get_if<FontDesc>(&value);
        if (!font)
            return "a font, Font(\"name\", size, weight, ...), is expected";
        if (font->name.empty() || font->name.size() >= 32)
            return "the font name must have 1 to 31 characters";
        if (!(font->size > 0.0f && font->size <= 1638.0f))
            return "the font size must be above 0 and at most 1638 points";
        if (font->weight < 0 || font->weight > 1000)
            return "the font weight is 0 to 1000";
        if (font->charset < 0 || font->charset > 255)
            return "the font charset is 0 to 255";
        return {};
    }
    case Kind::Picture:
    case Kind::Icon: {
        const auto* picture = std::get_if<PictureRef>(&value);
        if (!picture)
            return "a picture, Picture(...), is expected";
        if (rule->kind == Kind::Icon && picture->kind == PictureKind::Bitmap)
            return "the mouse icon must be an icon or a cursor";
        return {};
    }
    }
    return {};
}

std::optional<std::pair<std::string, std::string>>
CheckStoredCombination(const StoredLookup& find) {
    const std::int32_t shape = Whole(find, "shape");
    if (shape == 7 || shape == 8) {
        const auto image = find("image");
        const auto* picture = image ? std::get_if<PictureRef>(&*image) : nullptr;
        if (!picture || picture->kind != PictureKind::Bitmap)
            return std::make_pair(std::string("shape"),
                                  std::string("a picture outline needs a bitmap as image"));
    }
    if (Truth(find, "value") && Whole(find, "mode") == 0)
        return std::make_pair(std::string("value"),
                              std::string("a command button (mode 0) has no value"));
    return std::nullopt;
}

} // namespace butt
