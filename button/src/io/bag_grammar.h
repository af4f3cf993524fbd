#pragma once
// The property bag's text form, one property a line:
//
//     # The main window's APPLY button
//     caption   = "APPLY"
//     capalign  = 2                 # a comment may follow a value
//     cgradient = &H00493328
//     font      = Font("Verdana", 8.25, 700, italic=False, underline=False,
//                      strikethrough=False, charset=0)      <- on one line in a file
//
// Lines: `key = value`, blank lines, and comments from `#` to the end of the line (outside
// quotes). Line ends are LF or CR LF; a UTF-8 byte order mark at the start is skipped.
// Keys: ASCII letters, digits and `_`; compared without regard to case and kept in lower
// case. Of a key that stands more than once, the first value the control can take is read.
// Values:
//   text     "..." with the escapes \" \\ \n \r \t and \xHH (two hex digits); other bytes
//            stand for themselves (texts are UTF-8).
//   number   a 32-bit whole number: decimal (-12, 2011), or hexadecimal as &H00493328 (an
//            optional trailing & is allowed) or 0x00493328. Hexadecimal gives the 32 bits as
//            written, so &H8000000F is the system colour 15.
//   single   a number with a dot or an exponent: 8.25, -0.5, 1.5e2; NaN, Infinity, -Infinity.
//            Always with a dot, whatever the locale of the program.
//   truth    True or False (any case). Keys the control reads as truth values ("focus",
//            "value", "enabled") also take a whole number, as form hosts store them: 0 is
//            False, any other number True.
//   font     Font("name", size, weight, italic=False, underline=False, strikethrough=False,
//            charset=0): name, size in points and weight in that order; the named parts may
//            be left out (False, 0) and stand in any order, each at most once.
//   picture  Picture(file "art\\go.bmp")           a .bmp, .ico, .cur, .jpg, .jpeg or .png file
//                                                  under the folder the reader allows
//            Picture(resource bitmap "NAME")        a resource of the program (or of the
//            Picture(resource icon "#101")          module given to the reader); "#n" is
//            Picture(resource cursor "NAME")        number n, 1 to 65535
//            Picture(none)                          no picture
//
// A value that cannot be read or loaded, of the wrong kind or out of range for a key the
// control reads (for example capalign = 7 or caption = 5), a key that stands twice, and a key
// the control does not read are problems "line N, key "k": what is wrong"; the rest of the
// text is still read. A line that is not `key = ...` means the text is not a property bag.
//
// This part knows nothing of the system: a picture is only named here (PictureRef), and the
// reader of the bag loads it afterwards, for the keys that take one.
#include "butt_stored.h"
#include "texts.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace butt {

using StoredValue = std::variant<std::string, std::int32_t, float, bool, FontDesc, PictureRef>;

struct StoredEntry {
    int line = 0;
    std::string key; // lower case
    StoredValue value;
};

// A text read as far as the grammar and the checks of each key go, pictures named only.
struct StoredText {
    bool isBag = false;
    std::string error;                // why the text is not a bag, naming the line
    std::vector<StoredEntry> entries; // each key once, in its first line's order
    std::vector<BagProblem> problems; // in the order of their lines
};
StoredText ReadStoredText(std::string_view text);

// One value in its text form; nullopt for a picture that has no stored form.
std::optional<std::string> StoredValueText(const std::string& key, const StoredValue& value);

// The rules of the keys the control (or its host, for the extents) reads.
bool IsKnownKey(const std::string& key);
bool IsColorKey(const std::string& key); // written in hexadecimal
bool TakesPicture(const std::string& key);
bool IsStorableKey(const std::string& key);
// Empty when the control can take `value` under `key` (or does not read `key`); else why not.
std::string CheckStoredValue(const std::string& key, const StoredValue& value);
// Checks across keys, for values that only make sense together (a picture outline needs a
// bitmap; only check and option buttons have a Value): the key at fault and what is wrong.
using StoredLookup = std::function<std::optional<StoredValue>(const char* key)>;
std::optional<std::pair<std::string, std::string>> CheckStoredCombination(const StoredLookup& find);

// Texts of the grammar, the same in every locale (bag_text.cpp).
bool IsKeyChar(char c);                    // ASCII letters, digits and _
std::string Quoted(std::string_view text); // as the grammar writes a text
// A text from outside as a message shows it: quoted, cut to a few dozen characters, control
// and direction characters and bytes that are not UTF-8 escaped.
std::string Shown(std::string_view text);
// "#n" names resource number n: n, or 0 when `name` is not "#..." and -1 when it is not a
// number from 1 to 65535.
int ResourceNumber(std::string_view name);

} // namespace butt
