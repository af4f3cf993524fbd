#include "misc.h"

#include "program.h"
#include "system_seam.h"

#include <vector>

namespace tv {

void Shell_Link(const std::string& target, HWND window) {
    System().OpenWithShell(window, nullptr, target.c_str(), nullptr, "C:\\", SW_SHOWNORMAL);
}

INT_PTR Shell_Open(const std::string& target, HWND window, const std::string& directory) {
    return System().OpenWithShell(window, "Open", target.c_str(), "", directory.c_str(),
                                  SW_SHOWNORMAL);
}

std::string NotepadCommandLine(const std::string& windowsFolder, const std::string& programFolder) {
    std::string command = windowsFolder;
    if (command.empty() || command.back() != '\\')
        command += '\\';
    return command + "Notepad.exe " + programFolder + "\\" + ToAnsi(kInfoFileName);
}

std::string WindowsFolderA() {
    std::vector<char> buffer(MAX_PATH);
    UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return "C:\\Windows";
    return std::string(buffer.data(), length);
}

} // namespace tv
