#pragma once
// The common-controls manifest: the text, and writing it beside a program (SkinSupport's
// Debug_WriteEXEmanifest writes it beside this one).
#include <windows.h>

#include <optional>
#include <string>

namespace tv {

// The 22-line manifest with its placeholders filled in, CR LF after every line: UTF-8, as its
// first line says, with the names XML-escaped.
std::string ManifestText(const std::wstring& exeName, long major, long minor, long revision,
                         const std::wstring& description);

// Every occurrence of `placeholder` replaced by `value`, case-sensitively, left to right;
// replaced text is not searched again.
std::string ReplaceAll(const std::string& text, const std::string& placeholder,
                       const std::string& value);

// The show command for a runtime window style (0 hidden, 1 normal with focus, 2 minimised
// with focus, 3 maximised, 4 normal without focus, 6 minimised without focus); nothing for
// any other value.
std::optional<int> ShowCommandForWindowStyle(long style);

// Debug_WriteEXEmanifest with the folder that receives the manifest given explicitly.
bool WriteExeManifestIn(const std::wstring& folder, const std::wstring& AppPath,
                        const std::wstring& AppEXEName, long AppMajor, long AppMinor,
                        long AppRevision, const std::wstring& AppFileDescription, bool AutoRestart,
                        long AutoRestartWindowStyle, bool* CreateNew);

} // namespace tv
