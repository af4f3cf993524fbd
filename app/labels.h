#pragma once
// What the main window draws over its skin: the labels and the arrow pictures as records, the
// menu entries with their hints, and the texts and colours of the pages. Plain data; the
// window (pages.cpp) draws them, hit-tests them and switches the pages.
#include <windows.h>

#include <array>
#include <cstddef>
#include <string>

namespace tv {

// The window's size: its skin's.
inline constexpr int kClientWidth = 718;
inline constexpr int kClientHeight = 406;
inline constexpr int kArrowWidth = 10;
inline constexpr int kArrowHeight = 9;

constexpr RECT Box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

// The hints and texts of the pages.
inline constexpr wchar_t kHintWelcome[] = L"Welcome!";
inline constexpr wchar_t kHintMainPage[] = L"Things that this baby can do :)";
inline constexpr wchar_t kHintAbout[] = L"Show credits and other informations.";
inline constexpr wchar_t kHintContact[] = L"Write us an e-mail or visit our website/forum";
inline constexpr wchar_t kHintExit[] = L"Tired or wired? Press this to exit app.";
inline constexpr wchar_t kAboutText[] = L"Torv Velomar 3 No Intros, made by the VARNHOLT crew."
                                        L"\r\nRead VARNHOLT.nfo for additional info and help";

inline constexpr COLORREF kWindowColor = 0x493328;
inline constexpr COLORREF kMenuNormal = 0xFFFFFF;
inline constexpr COLORREF kMenuSelected = 0x2175F8;

enum class LabelId {
    Label1,
    Title,
    menu1,
    menu2,
    menu3,
    menu4,
    feature,
    about_lbl,
    Email,
    Website,
    Forum,
    Label2,
    Label3,
    statusbar,
    buff,
    Count
};
enum class ArrowId {
    menu1pic,
    menu2pic,
    menu3pic,
    menu4pic,
    menuX1Email,
    menuX2Website,
    menuX3Forum,
    Count
};
enum class FontId { Display, Title, Tahoma, Verdana, Count };

// A label drawn by the window: transparent background unless `opaque`.
struct Label {
    RECT rect;
    std::wstring text;
    FontId font;
    COLORREF color;
    bool visible;
    bool opaque;
};
struct Arrow {
    POINT position;
    bool lit;
    bool visible;
};
using Labels = std::array<Label, static_cast<std::size_t>(LabelId::Count)>;
using Arrows = std::array<Arrow, static_cast<std::size_t>(ArrowId::Count)>;

// The labels and arrows as the window starts, before its load.
Labels InitialLabels();
Arrows InitialArrows();
inline RECT ArrowRect(const Arrow& arrow) {
    return Box(arrow.position.x, arrow.position.y, kArrowWidth, kArrowHeight);
}

// Which labels take the mouse first: the top of the window's z-order first.
inline constexpr LabelId kHitOrder[] = {
    LabelId::menu1,   LabelId::menu2,     LabelId::menu3,  LabelId::menu4,   LabelId::Email,
    LabelId::Website, LabelId::Forum,     LabelId::Label1, LabelId::Title,   LabelId::Label2,
    LabelId::Label3,  LabelId::statusbar, LabelId::buff,   LabelId::feature, LabelId::about_lbl,
};

// What the mouse is over: a label, an arrow picture, the inner frame or the skin itself.
struct HitTarget {
    enum class Kind { None, Label, Arrow, Frame, Skin } kind = Kind::None;
    std::size_t index = 0;
    bool operator==(const HitTarget&) const = default;
};

// The menu entries in their order, with their arrows, access keys (Alt+key, drawn underlined)
// and hover hints. A screen reader reads them as the window's first children.
struct MenuEntry {
    LabelId label;
    ArrowId arrow;
    wchar_t key;
    const wchar_t* hint;
};
inline constexpr MenuEntry kMenuEntries[] = {
    {LabelId::menu1, ArrowId::menu1pic, L'M', kHintMainPage},
    {LabelId::menu2, ArrowId::menu2pic, L'A', kHintAbout},
    {LabelId::menu3, ArrowId::menu3pic, L'C', kHintContact},
    {LabelId::menu4, ArrowId::menu4pic, L'X', kHintExit}};
// The entry of a label; nullptr for the other labels.
const MenuEntry* MenuEntryOf(LabelId label);
// `text` as DrawText's prefix form: the first letter that is `key` in either case marked
// with '&', and every '&' of the text doubled so that it is drawn as it is.
std::wstring WithAccessMarker(const std::wstring& text, wchar_t key);

} // namespace tv
