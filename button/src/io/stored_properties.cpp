#include "stored_properties.h"

#include <type_traits>

namespace butt {
namespace {

template <typename T> constexpr bool kWhole = std::is_enum_v<T> || std::is_integral_v<T>;

// A stored value as the field's type. Truth values are True/False; a whole number is taken
// as a form host stores it (0 false).
template <typename T> T FromStored(const PropertyBag::Value& value) {
    if constexpr (std::is_same_v<T, bool>) {
        const auto* truth = std::get_if<bool>(&value);
        return truth ? *truth : std::get<std::int32_t>(value) != 0;
    } else if constexpr (std::is_same_v<T, PicturePtr>) {
        const auto* picture = std::get_if<PicturePtr>(&value);
        return picture ? *picture : nullptr;
    } else if constexpr (kWhole<T>) {
        return static_cast<T>(std::get<std::int32_t>(value));
    } else {
        return std::get<T>(value);
    }
}

// A row's default as the field's type: a number, a colour, a truth; texts and pictures are
// empty.
template <typename T> T Default(const PropertyRow& row) {
    if constexpr (std::is_same_v<T, bool>)
        return row.fallback != 0;
    else if constexpr (kWhole<T>)
        return static_cast<T>(row.fallback);
    else
        return T{};
}

template <typename T> PropertyBag::Value ToStored(const T& value) {
    if constexpr (std::is_same_v<T, bool>)
        return value;
    else if constexpr (kWhole<T>)
        return static_cast<std::int32_t>(value);
    else
        return value;
}

bool IsStored(const PropertyRow& row) {
    return row.kind != Kind::None && row.stored != Stored::Host;
}

} // namespace

void ReadStoredProperties(const PropertyBag& bag, Properties& values) {
    for (const PropertyRow& row : Rows()) {
        if (!IsStored(row))
            continue;
        const PropertyBag::Value* stored = bag.Find(row.key);
        std::visit(
            [&](auto field) {
                if constexpr (!std::is_same_v<decltype(field), std::monostate>) {
                    using T = std::remove_reference_t<decltype(values.*field)>;
                    if (stored)
                        values.*field = FromStored<T>(*stored);
                    else if (row.stored != Stored::AlwaysKeep &&
                             row.stored != Stored::UnlessBackColor)
                        values.*field = Default<T>(row);
                }
            },
            row.field);
    }
    // The hover back colour follows the back colour just read.
    if (!bag.Find(RowOf(Prop::HoverBackColor).key))
        values.hoverBackColor = values.backColor;
}

void WriteStoredProperties(const Properties& values, PropertyBag& bag) {
    for (const PropertyRow& row : Rows()) {
        if (!IsStored(row))
            continue;
        std::visit(
            [&](auto field) {
                if constexpr (!std::is_same_v<decltype(field), std::monostate>) {
                    using T = std::remove_cvref_t<decltype(values.*field)>;
                    const T& value = values.*field;
                    bool isDefault = value == Default<T>(row);
                    if (row.stored == Stored::Always || row.stored == Stored::AlwaysKeep)
                        isDefault = false;
                    else if constexpr (std::is_same_v<T, Color>)
                        if (row.stored == Stored::UnlessBackColor)
                            isDefault = value == values.backColor;
                    if (isDefault)
                        bag.Remove(row.key);
                    else
                        bag.Set(row.key, ToStored(value));
                }
            },
            row.field);
    }
}

} // namespace butt
