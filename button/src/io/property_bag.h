#pragma once
// The property bag on the system's side: pictures that its text names are loaded here, after
// the text is read (bag_grammar.h has the grammar), and only for the keys that take one.
#include "bag_grammar.h"
#include "butt.h"

#include <optional>
#include <string>
#include <vector>

namespace butt {

// A value of the bag as the grammar and the checks see it: a picture by its name and kind.
StoredValue ToStored(const PropertyBag::Value& value);

// The whole check of a bag for loading: `taken` gets every value the control can take, and
// the result lists the rest (and the keys it does not read, which are kept), each with the
// line the bag has for its key.
std::vector<BagProblem> CheckStoredBag(const PropertyBag& bag, PropertyBag& taken);

// The file a picture path of a stored text names, when it is a local file under `folder`
// (relative to it, or a full path under it); else nullopt and `why`. Touches no file.
std::optional<std::wstring> PictureFilePath(const std::wstring& folder, const std::wstring& path,
                                            std::string& why);

// Reads a picture file named by a stored text: only a plain file (no link or other reparse
// point) whose real place, once it is open, is on a local drive under the real place of
// `folder`, and of at most 16 MiB. `storedPath` is how the text names it.
PicturePtr LoadPictureUnder(const std::wstring& folder, const std::wstring& file,
                            const std::string& storedPath, std::string& why);

} // namespace butt
