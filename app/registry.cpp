#include "registry.h"

#include "handles.h"
#include "program.h"
#include "system_seam.h"

#include <array>
#include <utility>

namespace tv {
namespace {

constexpr DWORD kValueBufferSize = 255;

// The game is a 32-bit program: on 64-bit Windows its key lives in the 32-bit view, so the
// 64-bit build looks there first and falls back to its own view.
LSTATUS OpenKey(HKEY root, const std::string& subKey, UniqueKey& key) {
    HKEY opened = nullptr;
#ifdef _WIN64
    LSTATUS status = RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened);
    if (status == ERROR_FILE_NOT_FOUND)
        status = RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &opened);
#else
    const LSTATUS status = RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &opened);
#endif
    if (status == ERROR_SUCCESS)
        key.reset(opened);
    return status;
}

std::string TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

HKEY Get_RootKey(const std::string& name) {
    static const std::array<std::pair<const char*, HKEY>, 7> roots{{
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_USERS", HKEY_USERS},
        {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
        {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {"HKEY_DYN_DATA", HKEY_DYN_DATA},
    }};
    for (const auto& [rootName, handle] : roots)
        if (name == rootName)
            return handle;
    return nullptr;
}

void Split_KeyPath(std::string& keyPath, HKEY& root) {
    if (keyPath.compare(0, 5, "HKEY_") != 0 || keyPath.size() < 5 || keyPath.back() == '\\') {
        System().ShowMessage(nullptr, "Incorrect Format:\n\n" + keyPath, kAppTitle, MB_OK);
        return;
    }
    const size_t slash = keyPath.find('\\');
    if (slash == std::string::npos) {
        root = Get_RootKey(keyPath);
        keyPath.clear();
    } else {
        root = Get_RootKey(keyPath.substr(0, slash));
        keyPath = keyPath.substr(slash + 1);
    }
}

std::optional<std::string> Get_RegValue(std::string& keyPath, const std::string& valueName) {
    // A rejected path leaves the root unset: never read with a root the caller did not name.
    HKEY root = nullptr;
    Split_KeyPath(keyPath, root);
    if (!root)
        return std::nullopt;

    UniqueKey key;
    if (OpenKey(root, keyPath, key) != ERROR_SUCCESS)
        return "Error";

    std::array<char, kValueBufferSize> buffer{};
    DWORD size = kValueBufferSize;
    DWORD type = REG_SZ;
    const LSTATUS status = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return "Error";

    // The stored text ends at its first NUL, or at the reported size when it was stored
    // without one.
    std::string text(buffer.data(), size);
    if (const size_t nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return TrimSpaces(text);
}

} // namespace tv
