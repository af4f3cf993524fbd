#pragma once
// A function of a system DLL, loaded when it is first needed rather than with the program:
// start-up pays only for the DLLs it uses. Callers keep the result in a static; the DLL then
// stays loaded for the life of the process. Null when the DLL or the function is missing.
#include <windows.h>

namespace tv {

template <typename Function> Function SystemFunction(const wchar_t* dll, const char* name) {
    const HMODULE module = LoadLibraryW(dll);
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace tv
