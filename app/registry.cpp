#include "registry.h"

#include "handles.h"
#include "program.h"
#include "system_seam.h"

#include <array>
#include <utility>
#include <vector>

namespace tv {
namespace {

// The game is a 32-bit program: on 64-bit Windows its key lives in the 32-bit view, so the
// 64-bit build looks there first and falls back to its own view.
LSTATUS OpenKey(BorrowedKey root, const std::wstring& subKey, UniqueKey& key) {
    HKEY opened = nullptr;
#ifdef _WIN64
    LSTATUS status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened);
    if (status == ERROR_FILE_NOT_FOUND)
        status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &opened);
#else
    const LSTATUS status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &opened);
#endif
    if (status == ERROR_SUCCESS)
        key.reset(opened);
    return status;
}

// A string value of any length (REG_EXPAND_SZ expanded, the text ending at its first NUL or
// at its size when it was stored without one), or nothing when it is missing or no string.
std::optional<std::wstring> ReadString(BorrowedKey key, const std::wstring& name) {
    std::vector<wchar_t> buffer(1);
    DWORD size = 0;
    LSTATUS status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        buffer.resize(size / sizeof(wchar_t) + 2); // room for a NUL the value may lack
        size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status =
            RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
    }
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    buffer[size / sizeof(wchar_t)] = L'\0';
    return std::wstring(buffer.data());
}

std::wstring TrimSpaces(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    const size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

} // namespace

BorrowedKey Get_RootKey(const std::wstring& name) {
    static const std::array<std::pair<const wchar_t*, HKEY>, 7> roots{{
        {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {L"HKEY_USERS", HKEY_USERS},
        {L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
    }};
    for (const auto& [rootName, handle] : roots)
        if (name == rootName)
            return handle;
    return nullptr;
}

void Split_KeyPath(std::wstring& keyPath, BorrowedKey& root) {
    if (!keyPath.starts_with(L"HKEY_") || keyPath.back() == L'\\') {
        System().ShowMessage(nullptr, L"Incorrect Format:\n\n" + keyPath, FromAnsi(kAppTitle),
                             MB_OK);
        return;
    }
    const size_t slash = keyPath.find(L'\\');
    if (slash == std::wstring::npos) {
        root = Get_RootKey(keyPath);
        keyPath.clear();
    } else {
        root = Get_RootKey(keyPath.substr(0, slash));
        keyPath = keyPath.substr(slash + 1);
    }
}

std::optional<std::wstring> Get_RegValue(std::wstring& keyPath, const std::wstring& valueName) {
    // A rejected path leaves the root unset: never read with a root the caller did not name.
    BorrowedKey root;
    Split_KeyPath(keyPath, root);
    if (!root)
        return std::nullopt;

    UniqueKey key;
    if (OpenKey(root, keyPath, key) != ERROR_SUCCESS)
        return L"Error";
    const std::optional<std::wstring> text = ReadString(key, valueName);
    return text ? TrimSpaces(*text) : L"Error";
}

} // namespace tv
