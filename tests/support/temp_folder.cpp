#include "temp_folder.h"

#include "program.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

namespace tv::test {
namespace {

// The names in a folder, but "." and "..". The system's own calls in the extended form: a
// deep game folder's movies lie beyond MAX_PATH, where the 32-bit runtime's std::filesystem
// finds nothing and removes nothing.
std::vector<WIN32_FIND_DATAW> Entries(const std::wstring& folder) {
    std::vector<WIN32_FIND_DATAW> entries;
    std::wstring pattern = LongPath(folder);
    if (!pattern.ends_with(L'\\')) // the extended form takes no doubled separator
        pattern += L'\\';
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((pattern + L'*').c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (std::wstring_view(found.cFileName) != L"." &&
            std::wstring_view(found.cFileName) != L"..")
            entries.push_back(found);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

void Remove(const std::wstring& path) {
    const std::wstring whole = LongPath(path);
    // Read-only files stop a removal: every attribute goes first.
    SetFileAttributesW(whole.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const WIN32_FIND_DATAW& entry : Entries(whole)) {
        const std::wstring inside = whole + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Remove(inside);
        else if (SetFileAttributesW(inside.c_str(), FILE_ATTRIBUTE_NORMAL))
            DeleteFileW(inside.c_str());
    }
    RemoveDirectoryW(whole.c_str());
}

} // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    path_ = (std::filesystem::temp_directory_path() /
             ("tvtest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++)))
                .wstring();
    Remove(path_);
    EXPECT_TRUE(std::filesystem::create_directory(path_)) << "a temporary folder";
}

TempFolder::~TempFolder() {
    Remove(path_);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(file) << "cannot write a test file";
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::vector<std::wstring> ListFolder(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const WIN32_FIND_DATAW& entry : Entries(folder))
        names.push_back(entry.cFileName);
    return names;
}

void SetGameFolder(const std::optional<std::wstring>& folder, unsigned long type) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brightlane\\Velomar 3", 0, nullptr, 0,
                    KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr);
    if (folder)
        RegSetValueExW(key, L"PATH_VIDEO", 0, type, reinterpret_cast<const BYTE*>(folder->c_str()),
                       static_cast<DWORD>((folder->size() + 1) * sizeof(wchar_t)));
    else
        RegDeleteValueW(key, L"PATH_VIDEO");
    RegCloseKey(key);
}

std::string Utf8(const std::wstring& text) {
    const std::u8string utf8 = std::filesystem::path(text).u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace tv::test
