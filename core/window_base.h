#pragma once
// One window, one object. The object is handed to CreateWindowExW as its last argument, as a
// WindowBase pointer (a derived class's own pointer may lie elsewhere in the object), and kept
// in GWLP_USERDATA from WM_NCCREATE on; every later message goes to its HandleMessage, which
// only unpacks the arguments and calls a named handler. At WM_NCDESTROY the window forgets the
// object and the object its window, before the system's own handling, so that nothing reaches
// an object through a window that has ended (or the other way round).
#include <windows.h>

namespace tv {

class WindowBase {
  public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND hWnd() const { return hwnd_; }

  protected:
    WindowBase() = default;
    virtual ~WindowBase();

    // The window procedure of every class whose windows carry such an object.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The object behind a window of a class whose procedure is WindowProc (the caller knows
    // the class); null once the window has ended.
    static WindowBase* ObjectOf(HWND window);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    // Parts the window from this object, whether or not the window could be destroyed (from
    // the wrong thread, say): the window then leads nowhere rather than to freed memory.
    void Detach();

  private:
    HWND hwnd_ = nullptr;
};

} // namespace tv
