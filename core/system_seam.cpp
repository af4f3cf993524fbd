#include "system_seam.h"

#include "program.h"
#include "system_function.h"

#include <shellapi.h>

#include <vector>

namespace tv {
namespace {

// The shell is loaded when a link is first handed to it, not with the program: loading
// shell32 at start-up costs more than making the whole window.
using ShellExecuteProc = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
ShellExecuteProc ShellExecuteFunction() {
    static const auto function = SystemFunction<ShellExecuteProc>(L"shell32.dll", "ShellExecuteW");
    return function;
}

class Win32System final : public SystemSeam {
  public:
    int ModalBox(HWND owner, const std::wstring& text, const std::wstring& title,
                 UINT type) override {
        return MessageBoxW(owner, text.c_str(), title.c_str(), type);
    }
    void EndProcess(UINT exitCode) override { ExitProcess(exitCode); }
    bool StartProgram(const std::wstring& commandLine, int showCommand) override {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        PROCESS_INFORMATION process{};
        // CreateProcessW may write into its command line.
        std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
        line.push_back(L'\0');
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return false;
        // The started program lives on by itself; we keep nothing of it.
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
    INT_PTR OpenWithShell(HWND owner, const wchar_t* verb, const wchar_t* file,
                          const wchar_t* parameters, const wchar_t* directory,
                          int showCommand) override {
        const ShellExecuteProc execute = ShellExecuteFunction();
        if (!execute)
            return SE_ERR_DLLNOTFOUND;
        return reinterpret_cast<INT_PTR>(
            execute(owner, verb, file, parameters, directory, showCommand));
    }
    SHORT AsyncKeyState(int virtualKey) override { return GetAsyncKeyState(virtualKey); }
};

Win32System win32System;
SystemSeam* current = &win32System;

} // namespace

int SystemSeam::ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title,
                            UINT type) {
    ++boxesUp_;
    const int answer = ModalBox(owner, text, title, type);
    --boxesUp_;
    ++boxesClosed_;
    return answer;
}

int SystemSeam::ShowMessage(HWND owner, const std::string& text, const std::string& title,
                            UINT type) {
    return ShowMessage(owner, FromAnsi(text), FromAnsi(title), type);
}

SystemSeam& System() {
    return *current;
}

SystemSeam* SetSystem(SystemSeam* seam) {
    SystemSeam* previous = current;
    current = seam ? seam : &win32System;
    return previous;
}

} // namespace tv
