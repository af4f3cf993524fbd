#pragma once
// The property bag's text form (PropertyBag::Parse and PropertyBag::ToText), one property a
// line:
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
// Keys: letters, digits and `_`; compared without regard to case and kept in lower case. A
// key stands at most once.
// Values:
//   text     "..." with the escapes \" \\ \n \r \t and \xHH (two hex digits); other bytes
//            stand for themselves (texts are UTF-8).
//   number   a 32-bit whole number: decimal (-12, 2011), or hexadecimal as &H00493328 (an
//            optional trailing & is allowed) or 0x00493328. Hexadecimal gives the 32 bits as
//            written, so &H8000000F is the system colour 15.
//   single   a number with a dot or an exponent: 8.25, -0.5, 1.5e2; NaN, Infinity, -Infinity.
//   truth    True or False (any case). Keys the control reads as truth values ("focus",
//            "value", "enabled") also take a whole number, as form hosts store them: 0 is
//            False, any other number True.
//   font     Font("name", size, weight, italic=False, underline=False, strikethrough=False,
//            charset=0): name, size in points and weight in that order; the named parts may
//            be left out (False, 0) and stand in any order, each at most once.
//   picture  Picture(file "art\\go.bmp")           a bitmap, icon, cursor, JPEG or PNG file under
//                                                  the folder the reader allows
//            Picture(resource bitmap "NAME")        a resource of the program (or of the
//            Picture(resource icon "#101")          module given to Parse); "#n" is number n
//            Picture(resource cursor "NAME")
//            Picture(none)                          no picture
//
// A value that cannot be read or loaded, of the wrong kind or out of range for a key the
// control reads (for example capalign = 7 or caption = 5), a key that stands twice, and a key
// the control does not read are problems "line N, key "k": what is wrong"; the rest of the
// text is still read. A line that is not `key = ...` means the text is not a property bag.
#include "butt.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace butt {

// What the control accepts under `key` (lower case): its kind and range. Empty when the
// value is fine or the key is not one the control reads; else what is wrong with it.
std::string CheckStoredValue(const std::string& key, const PropertyBag::Value& value);

// Checks across keys, for values that only make sense together (a picture outline needs a
// bitmap; only check and option buttons have a Value). The key at fault and what is wrong.
std::optional<std::pair<std::string, std::string>> CheckStoredCombination(const PropertyBag& bag);

// The whole check of a bag for loading: `taken` gets every value the control can take, and
// the result lists the rest (and the keys it does not read, which are kept).
std::vector<BagProblem> CheckStoredBag(const PropertyBag& bag, PropertyBag& taken);

// Colour keys are written in hexadecimal.
bool IsColorKey(const std::string& key);
// A key the control (or its host, for the extents) reads.
bool IsKnownKey(const std::string& key);

// The file a picture path of a stored text names, when it is a local file under `folder`
// (relative to it, or a full path under it); else nullopt and `why`. Touches no file.
std::optional<std::wstring> PictureFilePath(const std::wstring& folder, const std::wstring& path,
                                            std::string& why);

} // namespace butt
