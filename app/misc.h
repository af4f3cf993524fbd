#pragma once
// What the main window hands to other programs: the shell links of the Contact page and the
// Notepad command line of the info file.
#include <windows.h>

#include <string>

namespace tv {

// The crew's own endpoints, under the domain reserved for examples.
inline constexpr wchar_t kEmailTarget[] = L"mailto:crew@varnholt.example";
inline constexpr wchar_t kWebsiteTarget[] = L"http://www.varnholt.example/";
inline constexpr wchar_t kForumTarget[] = L"http://www.varnholt.example/forum.php";

inline constexpr wchar_t kInfoFileName[] = L"VARNHOLT.nfo";

// Hands an address to the shell: no verb, no parameters, working folder "C:\", shown normal.
void Shell_Link(const std::wstring& target, HWND window);

// Opens a target with the verb "Open", empty parameters and `directory` (the program's
// folder, in any script) as the working folder, shown normal. Returns what the shell returned.
INT_PTR Shell_Open(const std::wstring& target, HWND window, const std::wstring& directory);

// "<windows folder>\Notepad.exe <program folder>\VARNHOLT.nfo": one space, no quotes, so that
// on a standard system it reads "C:\Windows\Notepad.exe D:\Tools\VARNHOLT.nfo". Wide, so that a
// folder outside the ANSI code page reaches Notepad as it is.
std::wstring NotepadCommandLine(const std::wstring& windowsFolder,
                                const std::wstring& programFolder);

// The system's own Windows folder (not a terminal server user's private one), without a
// trailing separator unless it is a root.
std::wstring WindowsFolderW();

} // namespace tv
