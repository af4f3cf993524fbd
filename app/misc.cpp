#include "misc.h"

#include "system_seam.h"

#include <vector>

namespace tv {

void Shell_Link(const std::wstring& target, HWND window) {
    System().OpenWithShell(window, nullptr, target.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
}

INT_PTR Shell_Open(const std::wstring& target, HWND window, const std::wstring& directory) {
    return System().OpenWithShell(window, L"Open", target.c_str(), L"", directory.c_str(),
                                  SW_SHOWNORMAL);
}

std::wstring NotepadCommandLine(const std::wstring& windowsFolder,
                                const std::wstring& programFolder) {
    std::wstring command = windowsFolder;
    if (command.empty() || command.back() != L'\\')
        command += L'\\';
    return command + L"Notepad.exe " + programFolder + L"\\" + kInfoFileName;
}

std::wstring WindowsFolderW() {
    std::vector<wchar_t> buffer(MAX_PATH);
    UINT length = GetSystemWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetSystemWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return L"C:\\Windows";
    return std::wstring(buffer.data(), length);
}

} // namespace tv
