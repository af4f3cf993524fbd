#pragma once
// Facts about the running program shared by every part of it.
#include <string>

namespace tv {

// The title of every message box of the program.
inline constexpr char kAppTitle[] = "VH - Torv3 No Intros";

// The folder of the running executable, without a trailing separator.
std::wstring ProgramFolderW();
std::string ProgramFolderA();

// `path` made full (GetFullPathNameW: "." and ".." resolved, "/" read as "\\") in the
// extended form "\\?\C:\..." or "\\?\UNC\server\share\...", which file calls take beyond
// MAX_PATH. A path already in that form is returned as it is.
std::wstring LongPath(const std::wstring& path);

// Whether a file (of any attributes, but not a folder) or a folder stands at `path`.
bool IsFile(const std::wstring& path);
bool IsFolder(const std::wstring& path);

// Conversions between the program's wide paths and the system's ANSI code page, and UTF-8.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
std::string ToUtf8(const std::wstring& text);

} // namespace tv
