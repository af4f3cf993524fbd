#pragma once
// The values of the button control's stored properties, apart from the system: butt.h
// includes this, and the text form of stored properties is read and written with these alone,
// so that its reader builds (and is fuzzed) on any platform.
#include <cstdint>
#include <optional>
#include <string>

namespace butt {

// A colour 0x00BBGGRR; with the top bit set (0x80000000 + n) it names system colour n.
// In painting code -1 means "no colour". Signed on purpose, as those tests rely on it.
using Color = std::int32_t;

inline constexpr Color kButtonFace = static_cast<Color>(0x8000000F);
inline constexpr Color kButtonText = static_cast<Color>(0x80000012);

enum class PictureKind { Bitmap, Icon, Cursor };

// The control's font, as a form host describes it.
struct FontDesc {
    std::string name = "MS Sans Serif";
    float size = 8.25f; // points
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;
    bool operator==(const FontDesc&) const = default;
};

// A picture as stored text names it, not loaded. Reading loads a picture only for a key that
// takes one; any other key keeps it so, and writing names it again as it stood.
struct PictureRef {
    // "file:<path>" or "res:bitmap|icon|cursor:<name>"; empty for Picture(none) and for a
    // picture made in code from a bare handle, which has no stored form.
    std::string source;
    std::optional<PictureKind> kind; // nullopt: no picture
    bool operator==(const PictureRef&) const = default;
};

// A stored property that could not be taken as it stands, and why.
struct BagProblem {
    int line = 0;       // its line in the text form; 0 for a value set in code
    std::string key;    // lower case
    std::string reason; // what is wrong
    // True for a key the control does not read (a typo such as "backcolour"): its value is
    // kept in the bag. False when the value was left out and the property keeps its default.
    bool kept = false;
    std::string Text() const; // line N, key "k": reason (long or odd keys shown cut, escaped)
    bool operator==(const BagProblem&) const = default;
};

} // namespace butt
