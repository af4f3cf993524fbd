#include "transparency.h"

#include <cmath>
#include <optional>

namespace tv {
namespace {

constexpr int kMaxMessagesPerPump = 256;

// The 8-bit alpha of a fade position: nearest whole number, halves to even.
BYTE AlphaOf(float position) {
    return static_cast<BYTE>(std::nearbyint(position));
}

struct LayeredAttributes {
    BYTE alpha = 0;
    DWORD flags = 0;
};

// A window that is not layered has no attributes: the call fails and leaves zeros.
std::optional<LayeredAttributes> ReadLayeredAttributes(HWND window) {
    if (!IsWindow(window))
        return std::nullopt;
    COLORREF key = 0;
    LayeredAttributes attributes;
    GetLayeredWindowAttributes(window, &key, &attributes.alpha, &attributes.flags);
    return attributes;
}

enum class Direction { In, Out };

bool Fade(HWND window, BYTE target, float step, Direction direction) {
    // A step that does not move would never end the fade.
    if (!IsWindow(window) || !(step > 0.0f))
        return false;
    const BYTE start = direction == Direction::In ? 0 : 255;
    if (Get_LayeredFlags(window) != LWA_ALPHA)
        Set_Alpha(window, start);
    long current = Get_Alpha(window);
    if (current == -1) {
        Set_Alpha(window, start);
        current = start;
    }
    if (direction == Direction::In ? current > target : current < target)
        return false;

    if (!IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    const bool wasEnabled = IsWindowEnabled(window);
    if (wasEnabled)
        EnableWindow(window, FALSE);

    bool failed = false;
    float position = static_cast<float>(current);
    while (direction == Direction::In ? position < target : position > target) {
        PumpPendingMessages();
        if (!IsWindow(window)) {
            failed = true;
            break;
        }
        if (direction == Direction::In) {
            position += step;
            if (position > target)
                position = target;
        } else {
            position -= step;
            if (position < target)
                position = target;
        }
        if (!Set_Alpha(window, AlphaOf(position)))
            failed = true;
    }

    if (wasEnabled && IsWindow(window))
        EnableWindow(window, TRUE);
    if (direction == Direction::Out && target == 0 && IsWindow(window))
        ShowWindow(window, SW_HIDE);
    return !failed && IsWindow(window);
}

} // namespace

void PumpPendingMessages() {
    MSG message;
    for (int i = 0; i < kMaxMessagesPerPump && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
         ++i) {
        if (message.message == WM_QUIT) {
            // Leave the quit for the loop that owns it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Set_Alpha(HWND window, BYTE alpha) {
    if (!IsWindow(window))
        return false;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_EXSTYLE);
    SetWindowLongPtrA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
    return true;
}

long Get_LayeredFlags(HWND window) {
    const auto attributes = ReadLayeredAttributes(window);
    return attributes ? static_cast<long>(attributes->flags) : -1;
}

long Get_Alpha(HWND window) {
    const auto attributes = ReadLayeredAttributes(window);
    return attributes && attributes->flags == LWA_ALPHA ? attributes->alpha : -1;
}

bool Fade_In(HWND window, BYTE target, float step) {
    return Fade(window, target, step, Direction::In);
}

bool Fade_Out(HWND window, BYTE target, float step) {
    return Fade(window, target, step, Direction::Out);
}

} // namespace tv
