#include "window_base.h"

namespace tv {

WindowBase::~WindowBase() {
    Detach();
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->Detach();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

WindowBase* WindowBase::ObjectOf(HWND window) {
    return window ? reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA))
                  : nullptr;
}

void WindowBase::Detach() {
    if (hwnd_ && reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd_, GWLP_USERDATA)) == this)
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

} // namespace tv
