// What the control reads under each stored key: the kind and range of each value, as its
// property's row describes it, and the values that only make sense together. Apart from the
// system, as the text form is.
#include "bag_grammar.h"
#include "properties.h"

namespace butt {
namespace {

std::int32_t Whole(const StoredLookup& find, Prop id) {
    const auto value = find(AsciiLower(RowOf(id).key).c_str());
    const auto* whole = value ? std::get_if<std::int32_t>(&*value) : nullptr;
    return whole ? *whole : 0;
}

// Truth values are True/False; a whole number is taken as a form host stores it (0 false).
bool Truth(const StoredLookup& find, Prop id) {
    const auto value = find(AsciiLower(RowOf(id).key).c_str());
    const auto* truth = value ? std::get_if<bool>(&*value) : nullptr;
    return truth ? *truth : Whole(find, id) != 0;
}

std::string WholeFault(const PropertyRow& row, std::int32_t whole) {
    // The picture size is stored in pixels: 0 (which counts as 16), or 16 to 48 by 8.
    const bool pixels = row.kind == Kind::PictureSize;
    const long low = pixels ? 0 : row.low;
    const long high = StoredForm(row, row.high);
    if (low != high && (whole < low || whole > high))
        return std::to_string(whole) + " is outside " + std::to_string(low) + " to " +
               std::to_string(high);
    if (pixels && (whole % 8 != 0 || (whole != 0 && whole < StoredForm(row, row.low))))
        return "the picture size is 16, 24, 32, 40 or 48 pixels";
    return {};
}

} // namespace

bool IsKnownKey(const std::string& key) {
    return StoredRow(key) != nullptr;
}

bool IsColorKey(const std::string& key) {
    const PropertyRow* row = StoredRow(key);
    return row && row->kind == Kind::Colour;
}

bool TakesPicture(const std::string& key) {
    const PropertyRow* row = StoredRow(key);
    return row && (row->kind == Kind::Picture || row->kind == Kind::Icon);
}

std::string CheckStoredValue(const std::string& key, const StoredValue& value) {
    const PropertyRow* row = StoredRow(key);
    if (!row)
        return {};
    switch (row->kind) {
    case Kind::None:
        return {};
    case Kind::Text:
        if (!std::holds_alternative<std::string>(value))
            return "a text in double quotes is expected";
        return {};
    case Kind::Whole:
    case Kind::Colour:
    case Kind::PictureSize: {
        const auto* whole = std::get_if<std::int32_t>(&value);
        if (!whole)
            return row->kind == Kind::Colour ? "a colour (a whole number such as &H00C0C0C0) "
                                               "is expected"
                                             : "a whole number is expected";
        return WholeFault(*row, *whole);
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
        if (row->kind == Kind::Icon && picture->kind == PictureKind::Bitmap)
            return "the mouse icon must be an icon or a cursor";
        return {};
    }
    }
    return {};
}

std::optional<std::pair<std::string, std::string>>
CheckStoredCombination(const StoredLookup& find) {
    const auto shape = static_cast<Shape>(Whole(find, Prop::ButtonShape));
    if (IsPictureOutline(shape)) {
        const auto image = find(AsciiLower(RowOf(Prop::Picture).key).c_str());
        const auto* picture = image ? std::get_if<PictureRef>(&*image) : nullptr;
        if (!picture || picture->kind != PictureKind::Bitmap)
            return std::make_pair(AsciiLower(RowOf(Prop::ButtonShape).key),
                                  std::string("a picture outline needs a bitmap as image"));
    }
    if (Truth(find, Prop::Value) && static_cast<Mode>(Whole(find, Prop::Mode)) == Mode::Command)
        return std::make_pair(AsciiLower(RowOf(Prop::Value).key),
                              std::string("a command button (mode 0) has no value"));
    return std::nullopt;
}

} // namespace butt
