#include "program.h"

#include <windows.h>

#include <vector>

namespace tv {

std::wstring ProgramFolderW() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return L".";
        if (length < path.size()) {
            std::wstring full(path.data(), length);
            const size_t slash = full.find_last_of(L"\\/");
            return slash == std::wstring::npos ? L"." : full.substr(0, slash);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring LongPath(const std::wstring& path) {
    constexpr wchar_t kPrefix[] = L"\\\\?\\";
    if (path.starts_with(kPrefix))
        return path;
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.empty())
        return path;
    if (full.starts_with(L"\\\\"))
        return kPrefix + (L"UNC" + full.substr(1));
    return kPrefix + full;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramFolderA() {
    return ToAnsi(ProgramFolderW());
}

namespace {

std::string Narrow(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size, nullptr, nullptr);
    return result;
}

} // namespace

std::string ToAnsi(const std::wstring& text) {
    return Narrow(text, CP_ACP);
}

std::string ToUtf8(const std::wstring& text) {
    return Narrow(text, CP_UTF8);
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

} // namespace tv
