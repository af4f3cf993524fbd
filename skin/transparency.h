#pragma once
// Layered-window alpha and the fades of the program's window.
#include <windows.h>

namespace tv {

// Fades the window in from its current alpha to `target` by `step` (> 0), pumping pending
// messages before every step with the window disabled. Shows the window. False when the
// window is already more opaque than the target, or on error (the window went away).
bool Fade_In(HWND window, BYTE target, float step);
// The mirror image; hides the window when the target is 0.
bool Fade_Out(HWND window, BYTE target, float step);

// Makes the window layered with this constant alpha.
bool Set_Alpha(HWND window, BYTE alpha);
// The layered flags (0 when the window has none); -1 on error.
long Get_LayeredFlags(HWND window);
// The alpha when the flags are exactly LWA_ALPHA; -1 otherwise or on error.
long Get_Alpha(HWND window);

// Dispatches the messages waiting in this thread's queue. Bounded, so that a handler that
// keeps posting to itself cannot hold a fade forever.
void PumpPendingMessages();

} // namespace tv
