#pragma once
// A control's properties to and from a bag, by their rows: keys, kinds and defaults as each
// row describes them, the keys in the rows' order.
#include "butt.h"
#include "properties.h"

namespace butt {

// Reads the bag's values straight into `values` (no setter runs); the bag must be one that
// CheckStoredBag took, so every value is of its key's kind and in range. An absent key gives
// its row's default. Rows read by their setters (BySetter) are read into their fields too:
// the caller hands those to the setters.
void ReadStoredProperties(const PropertyBag& bag, Properties& values);
// Writes every stored property; a value equal to its row's default is removed instead.
void WriteStoredProperties(const Properties& values, PropertyBag& bag);

} // namespace butt
