#pragma once
// Reads one string value from the registry, the key given as one full path text that begins
// with a root key name ("HKEY_LOCAL_MACHINE\SOFTWARE\..."). UTF-16 throughout, so that a
// folder in any script reads as it is.
#include "handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace tv {

// The predefined handle of a root key name (exact, case-sensitive), or nullptr.
BorrowedKey Get_RootKey(const std::wstring& name);

// Splits "ROOT\sub\key" into its root handle and sub-key. An ill-formed path (not starting
// with "HKEY_", or ending in "\") is shown to the user and leaves both arguments unchanged.
void Split_KeyPath(std::wstring& keyPath, BorrowedKey& root);

// The value's text, of any length, with surrounding spaces removed and a REG_EXPAND_SZ value
// expanded; "Error" when the key cannot be opened or the value is missing or no string;
// nullopt (no value) when the root is not recognised or the path was rejected. keyPath is
// rewritten to its sub-key.
std::optional<std::wstring> Get_RegValue(std::wstring& keyPath, const std::wstring& valueName);

} // namespace tv
