#include "temp_folder.h"

#include "program.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tv::test {
namespace {

// Folders are walked in the extended form: a deep game folder's movies lie beyond MAX_PATH,
// where the 32-bit runtime's walk stops. An error ends a walk rather than throw.
void Remove(const std::wstring& path) {
    using Walk = std::filesystem::recursive_directory_iterator;
    std::error_code error;
    const std::filesystem::path whole(LongPath(path));
    // Read-only files stop a removal: every attribute goes first.
    for (Walk entry(whole, error); !error && entry != Walk(); entry.increment(error))
        SetFileAttributesW(entry->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(whole, error);
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
    using Walk = std::filesystem::directory_iterator;
    std::error_code error;
    for (Walk entry(LongPath(folder), error); !error && entry != Walk(); entry.increment(error))
        names.push_back(entry->path().filename().wstring());
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
