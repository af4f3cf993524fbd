#pragma once
// Reads one string value from the registry, the key given as one full path text that begins
// with a root key name ("HKEY_LOCAL_MACHINE\SOFTWARE\...").
#include <windows.h>

#include <optional>
#include <string>

namespace tv {

// The predefined handle of a root key name (exact, case-sensitive), or nullptr.
HKEY Get_RootKey(const std::string& name);

// Splits "ROOT\sub\key" into its root handle and sub-key. An ill-formed path (not starting
// with "HKEY_", or ending in "\") is shown to the user and leaves both arguments unchanged.
void Split_KeyPath(std::string& keyPath, HKEY& root);

// The value's text with surrounding spaces removed; "Error" when the key cannot be opened or
// the value cannot be read as a string of at most 254 characters; nullopt (no value) when
// the root is not recognised or the path was rejected. keyPath is rewritten to its sub-key.
std::optional<std::string> Get_RegValue(std::string& keyPath, const std::string& valueName);

} // namespace tv
