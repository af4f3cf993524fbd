// The window without a mouse: the dialog manager's Tab order over the check boxes and APPLY
// (all WS_TABSTOP children), Enter as the press of APPLY wherever the focus is, access keys
// for the menu entries (drawn underlined), and the hint box that follows the focus as it follows
// the pointer.
#include "main_window.h"

#include <cwctype>

namespace tv {
namespace {

constexpr wchar_t kHintChecks[3][48] = {L"Silence the Pentium X sponsor movies.",
                                        L"Silence the nVidia sponsor movie.",
                                        L"Silence the trailers of the three series."};
constexpr wchar_t kHintApply[] = L"Replace the ticked movies with the placeholder.";

} // namespace

bool MainWindow::TranslateKeyboard(MSG& message) {
    if (!hWnd() || (message.hwnd != hWnd() && !IsChild(hWnd(), message.hwnd)))
        return false;
    bool taken = false;
    if (message.message == WM_SYSCHAR) {
        for (const MenuEntry& entry : kMenuEntries)
            if (std::towupper(static_cast<wint_t>(message.wParam)) == entry.key) {
                ChooseEntry(entry.label);
                taken = true;
                break;
            }
    } else if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
               message.wParam == VK_RETURN && apply_) {
        OnEnterKey(message.message == WM_KEYDOWN, message.lParam);
        taken = true;
    } else if (message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
               message.message == WM_CHAR) {
        taken = IsDialogMessageW(hWnd(), &message) != 0;
    }
    if (hWnd() && GetFocus() != lastFocus_)
        FocusMoved(GetFocus());
    return taken;
}

// APPLY is the window's default button: Enter presses it as the space bar does, so that the
// click takes the control's own road, events and pressed look included. One deliberate press
// is one click: a fresh key-down presses the button and its key-up clicks it. Auto-repeat
// (bit 30: the key was down already) is ignored, and a key-up whose key-down went elsewhere
// (to the message box that it closed) finds the button not pressed, so that a held Enter
// never presses APPLY again on its own.
void MainWindow::OnEnterKey(bool down, LPARAM keyData) {
    if (down && (keyData & (LPARAM{1} << 30)))
        return;
    SendMessageW(apply_->hWnd(), down ? WM_KEYDOWN : WM_KEYUP, VK_SPACE,
                 static_cast<LPARAM>(down ? 0x00390001 : 0xC0390001));
}

void MainWindow::ChooseEntry(LabelId entry) {
    MouseMoveOn(HitTarget{HitTarget::Kind::Label, static_cast<size_t>(entry)}); // its hint
    ClickOn(HitTarget{HitTarget::Kind::Label, static_cast<size_t>(entry)});
}

void MainWindow::FocusMoved(HWND focus) {
    lastFocus_ = focus;
    for (int group = 1; group <= 3; ++group)
        if (focus == check(group))
            SetText(LabelId::feature, kHintChecks[group - 1]);
    if (apply_ && focus == apply_->hWnd())
        SetText(LabelId::feature, kHintApply);
}

std::string MainWindow::Description() const {
    std::string text;
    for (const wchar_t* c = kHintApply; *c; ++c)
        text += static_cast<char>(*c); // plain ASCII
    return text;
}

} // namespace tv
