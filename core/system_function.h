#pragma once
// A function of a system DLL, loaded when it is first needed rather than with the program:
// start-up pays only for the DLLs it uses. Callers keep the result in a static; the DLL then
// stays loaded for the life of the process. Null when the DLL or the function is missing.
#include <windows.h>

#include <string>

namespace tv {

// Only from the system folder: the program may be run from a Downloads folder, where a DLL
// of a system DLL's name could wait beside it. Windows 7 without its DLL-search update knows
// no search flags; there the DLL's full path in the system folder is loaded.
inline HMODULE LoadSystemDll(const wchar_t* dll) {
    const HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + dll).c_str());
}

template <typename Function> Function SystemFunction(const wchar_t* dll, const char* name) {
    const HMODULE module = LoadSystemDll(dll);
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// Makes the system folder the only place that this process loads DLLs from by name. Windows
// 7 without its DLL-search update lacks the call; it is then left as it is.
inline void LoadDllsFromTheSystemFolderOnly() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set)
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace tv
