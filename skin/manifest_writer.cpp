// Writes the manifest that binds a program to version 6 of the common controls, and can
// restart the program so that the manifest takes effect.
#include "manifest_writer.h"

#include "handles.h"
#include "program.h"
#include "skin_support.h"
#include "system_seam.h"

#include <commctrl.h>

#include <array>

namespace tv {
namespace {

constexpr std::array<const char*, 22> kTemplate = {
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?> )",
    R"(<assembly )",
    R"(   xmlns="urn:schemas-microsoft-com:asm.v1" )",
    R"(   manifestVersion="1.0">)",
    R"(<assemblyIdentity )",
    R"(    processorArchitecture="x86" )",
    R"(    version="EXEVERSION")",
    R"(    type="win32")",
    R"(    name="EXENAME"/>)",
    R"(    <description>EXEDESCRIBTION</description>)",
    R"(    <dependency>)",
    R"(    <dependentAssembly>)",
    R"(    <assemblyIdentity)",
    R"(         type="win32")",
    R"(         name="Microsoft.Windows.Common-Controls")",
    R"(         version="6.0.0.0")",
    R"(         publicKeyToken="6595b64144ccf1df")",
    R"(         language="*")",
    R"(         processorArchitecture="x86"/>)",
    R"(    </dependentAssembly>)",
    R"(    </dependency>)",
    R"(</assembly>)",
};

std::string TemplateText() {
    std::string text;
    for (const char* line : kTemplate) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// CREATE_ALWAYS: should the delete before it have failed, no tail of an older, longer
// manifest survives behind the new text.
bool WriteWholeFile(const std::wstring& path, const std::string& text) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const UniqueHandle owner(file);
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// A name as XML text, in UTF-8.
std::string XmlText(const std::wstring& text) {
    std::string escaped;
    for (const char c : ToUtf8(text)) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

std::string ReplaceAll(const std::string& text, const std::string& placeholder,
                       const std::string& value) {
    if (placeholder.empty())
        return text;
    std::string result;
    size_t from = 0;
    for (size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, from)) {
        result.append(text, from, at - from);
        result += value;
        from = at + placeholder.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::string ManifestText(const std::wstring& exeName, long major, long minor, long revision,
                         const std::wstring& description) {
    const std::string version =
        std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision) + ".0";
    std::string text = TemplateText();
    text = ReplaceAll(text, "EXENAME", XmlText(exeName + L".exe"));
    text = ReplaceAll(text, "EXEVERSION", version);
    return ReplaceAll(text, "EXEDESCRIBTION", XmlText(description));
}

std::optional<int> ShowCommandForWindowStyle(long style) {
    switch (style) {
    case 0:
        return SW_HIDE;
    case 1:
        return SW_SHOWNORMAL;
    case 2:
        return SW_SHOWMINIMIZED;
    case 3:
        return SW_SHOWMAXIMIZED;
    case 4:
        return SW_SHOWNOACTIVATE;
    case 6:
        return SW_SHOWMINNOACTIVE;
    default:
        return std::nullopt;
    }
}

bool WriteExeManifestIn(const std::wstring& folder, const std::wstring& AppPath,
                        const std::wstring& AppEXEName, long AppMajor, long AppMinor,
                        long AppRevision, const std::wstring& AppFileDescription, bool AutoRestart,
                        long AutoRestartWindowStyle, bool* CreateNew) {
    InitCommonControls();

    // A manifest that exists is never replaced on a restart, so the restart happens once.
    bool createNew = CreateNew && *CreateNew;
    if (AutoRestart) {
        createNew = false;
        if (CreateNew)
            *CreateNew = false;
    }

    const std::wstring path = LongPath(folder + L"\\" + AppEXEName + L".exe.manifest");
    const bool existed = IsFile(path);
    if (existed && !createNew)
        return true;

    const std::string text =
        ManifestText(AppEXEName, AppMajor, AppMinor, AppRevision, AppFileDescription);
    if (existed) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    const bool written = WriteWholeFile(path, text);
    if (written)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    // Only a written manifest is worth a restart: from a folder where it cannot be written,
    // each new instance would start the next, without end.
    if (AutoRestart && written) {
        // Quoted, so that a folder with blanks cannot start a different program. When the
        // new instance cannot be started, this one stays: ending it would leave the user
        // with no program at all.
        const std::wstring commandLine = L"\"" + AppPath + L"\\" + AppEXEName + L".exe\"";
        const std::optional<int> show = ShowCommandForWindowStyle(AutoRestartWindowStyle);
        if (show && System().StartProgram(commandLine, *show))
            System().EndProcess(0);
    }
    return existed;
}

bool SkinSupport::Debug_WriteEXEmanifest(const std::wstring& AppPath,
                                         const std::wstring& AppEXEName, long AppMajor,
                                         long AppMinor, long AppRevision,
                                         const std::wstring& AppFileDescription, bool AutoRestart,
                                         long AutoRestartWindowStyle, bool* CreateNew) const {
    return WriteExeManifestIn(ProgramFolderW(), AppPath, AppEXEName, AppMajor, AppMinor,
                              AppRevision, AppFileDescription, AutoRestart, AutoRestartWindowStyle,
                              CreateNew);
}

} // namespace tv
