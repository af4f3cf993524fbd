#include "labels.h"

#include <cwctype>

namespace tv {

Labels InitialLabels() {
    Labels labels{};
    auto set = [&](LabelId id, RECT rect, const wchar_t* text, FontId font, bool visible,
                   COLORREF color = 0xFFFFFF) {
        labels[static_cast<size_t>(id)] = Label{rect, text, font, color, visible, false};
    };
    set(LabelId::Label1, Box(12, 7, 345, 22), L"VARNHOLT crew", FontId::Display, true);
    set(LabelId::Title, Box(16, 46, 689, 17), L"Torv Velomar 3 *NO INTRO MOVIES*", FontId::Title,
        true);
    set(LabelId::menu1, Box(34, 97, 172, 13), L"Main Page", FontId::Tahoma, true, kMenuSelected);
    set(LabelId::menu2, Box(34, 113, 172, 13), L"About", FontId::Tahoma, true);
    set(LabelId::menu3, Box(34, 129, 172, 13), L"Contact", FontId::Tahoma, true);
    set(LabelId::menu4, Box(34, 145, 172, 13), L"Exit", FontId::Tahoma, true);
    set(LabelId::feature, Box(23, 243, 182, 102), L"", FontId::Tahoma, true);
    set(LabelId::about_lbl, Box(23, 243, 182, 102), L"", FontId::Tahoma, true);
    set(LabelId::Email, Box(34, 244, 172, 13), L"E-mail", FontId::Tahoma, false);
    set(LabelId::Website, Box(34, 259, 172, 13), L"Website", FontId::Tahoma, false);
    set(LabelId::Forum, Box(34, 274, 172, 13), L"Forum", FontId::Tahoma, false);
    set(LabelId::Label2, Box(241, 98, 156, 14), L"Remove this intro movies:", FontId::Verdana,
        true);
    set(LabelId::Label3, Box(243, 328, 264, 14), L"Works only for fully installed Torv 3 (7GB)",
        FontId::Verdana, true);
    set(LabelId::statusbar, Box(18, 380, 314, 14), L"status", FontId::Verdana, false);
    set(LabelId::buff, Box(669, 378, 39, 20), L"Label3", FontId::Verdana, false,
        GetSysColor(COLOR_BTNTEXT));
    labels[static_cast<size_t>(LabelId::buff)].opaque = true;
    return labels;
}

Arrows InitialArrows() {
    return {{
        {{19, 99}, false, true},
        {{19, 115}, false, true},
        {{19, 131}, false, true},
        {{19, 147}, false, true},
        {{19, 246}, false, false},
        {{19, 261}, false, false},
        {{19, 276}, false, false},
    }};
}

const MenuEntry* MenuEntryOf(LabelId label) {
    for (const MenuEntry& entry : kMenuEntries)
        if (entry.label == label)
            return &entry;
    return nullptr;
}

std::wstring WithAccessMarker(const std::wstring& text, wchar_t key) {
    std::wstring marked;
    bool done = false;
    for (const wchar_t c : text) {
        if (!done && std::towupper(static_cast<wint_t>(c)) == static_cast<wint_t>(key)) {
            marked += L'&';
            done = true;
        }
        marked += c;
        if (c == L'&')
            marked += L'&';
    }
    return marked;
}

} // namespace tv
