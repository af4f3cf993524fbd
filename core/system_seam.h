#pragma once
// The few effects that block, leave the process or reach outside it. Everything else in the
// program talks to Win32 directly; tests replace only this.
#include <windows.h>

#include <string>

namespace tv {

class SystemSeam {
  public:
    virtual ~SystemSeam() = default;
    // A modal message box; returns the button chosen (IDOK, IDYES, IDNO, ...). Wide, so that
    // a path outside the ANSI code page reads as it is.
    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title, UINT type);
    // The same for texts in the ANSI code page.
    int ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT type);
    // Whether one of the program's message boxes is up, and how many have closed so far: a
    // key pressed while a box was up belongs to that box, not to the window's hotkeys.
    bool MessageBoxUp() const { return boxesUp_ > 0; }
    unsigned MessageBoxesClosed() const { return boxesClosed_; }
    // Ends the process at once. A recording fake returns, so callers return right after.
    virtual void EndProcess(UINT exitCode) = 0;
    // Starts a program from a command line without waiting for it; false when it failed.
    virtual bool StartProgram(const std::wstring& commandLine, int showCommand) = 0;
    // Hands a document, address or link to the shell (ShellExecuteW); returns its result.
    virtual INT_PTR OpenWithShell(HWND owner, const wchar_t* verb, const wchar_t* file,
                                  const wchar_t* parameters, const wchar_t* directory,
                                  int showCommand) = 0;
    // The system-wide key state (GetAsyncKeyState).
    virtual SHORT AsyncKeyState(int virtualKey) = 0;

  protected:
    // The box itself, shown by ShowMessage.
    virtual int ModalBox(HWND owner, const std::wstring& text, const std::wstring& title,
                         UINT type) = 0;

  private:
    int boxesUp_ = 0;
    unsigned boxesClosed_ = 0;
};

// The seam in force: the Win32 one unless a test installed another.
SystemSeam& System();
// Installs a replacement; nullptr restores the Win32 one. Returns the one it replaces.
SystemSeam* SetSystem(SystemSeam* seam);

} // namespace tv
