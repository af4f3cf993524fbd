#pragma once
// wndMain, the program's only window: the shaped, fading skin with its menu, pages, hover
// hints, links, hotkeys, the three movie-group check boxes and the APPLY button.
//
// Labels and arrow pictures are records drawn by the window over its skin from one back
// buffer; the check boxes are real check boxes and APPLY is a Butt control loaded from its
// stored properties.
#include "butt.h"
#include "handles.h"
#include "labels.h"
#include "memory_dc.h"
#include "patch.h"
#include "skin_support.h"
#include "window_base.h"

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>

#include <array>
#include <memory>
#include <string>
#include <utility>

namespace tv {

class AccessibleObject;

// COM on this thread, apartment-threaded, until End() or the owner's end.
class ComApartment {
  public:
    ComApartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { End(); }
    void End() {
        if (std::exchange(joined_, false))
            CoUninitialize();
    }

  private:
    bool joined_;
};

struct MainWindowOptions {
    // Where the window's pictures and APPLY's stored properties come from.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Where the info file lies and the shell's working folder for the e-mail link.
    std::wstring programFolder;
    // The program's own window ends the message loop when it goes; tests leave it running.
    bool quitOnDestroy = true;
};

class MainWindow final : public WindowBase,
                         public PatchHost,
                         public butt::ButtHost,
                         private SkinForm {
  public:
    // Creates and loads the window: the skin outline, the fade-in to 240, the page texts and
    // "Welcome!". nullptr with `error` set when the window or its controls cannot be made.
    static std::unique_ptr<MainWindow> Create(const MainWindowOptions& options, std::string& error);
    ~MainWindow() override;

    // Resets the menu to white and shows the Main Page layout.
    void ClearForeColor();

    // What the window shows, for the program's own checks and tests.
    const Label& label(LabelId id) const { return labels_[static_cast<size_t>(id)]; }
    const Arrow& arrow(ArrowId id) const { return arrows_[static_cast<size_t>(id)]; }
    HWND check(int group) const { return checks_[static_cast<size_t>(group - 1)]; }
    butt::Butt* apply() const { return apply_.get(); }
    // Draws the whole client area (skin, frame, arrows, labels) into `dc`.
    void Render(BorrowedDc dc) const;

    // PatchHost
    HWND Window() const override { return hWnd(); }
    int GroupValue(int group) const override;
    void SetFolderText(const std::wstring& text) override;
    std::wstring FolderText() const override;
    // Fades out to 0, then ends the process at once; runs once, whichever way out asked.
    void CloseSequence() override;

    // ButtHost
    butt::Color AmbientBackColor() const override { return static_cast<butt::Color>(kWindowColor); }
    std::string DisplayName() const override { return "Apply"; }
    std::string ApplicationTitle() const override;
    int ShowMessage(const std::string& text, const std::string& title, UINT type) override;
    std::string Description() const override; // APPLY's hint, for screen readers

    // The keyboard (keyboard.cpp): Tab and Shift+Tab over the check boxes and APPLY, Enter
    // presses APPLY, Alt+M, A, C and X choose the menu entries, and the hint follows the
    // focus. True when `message` was taken here; the loop then dispatches nothing.
    bool TranslateKeyboard(MSG& message);

    // What a screen reader reads of the window, over `proxy` (the system's standard object
    // for it, whose reference it takes): the window's answer to WM_GETOBJECT.
    AccessibleObject* AccessibleOver(IAccessible* proxy);

  private:
    // What a screen reader reads of the window (window_accessible.cpp).
    class Accessible;
    friend class Accessible;
    // Posted by a screen reader's action on a menu entry (wParam: its index), so that the
    // client's call returns before the entry's click runs.
    static constexpr UINT kChooseEntryMessage = WM_APP + 1;

    explicit MainWindow(const MainWindowOptions& options);
    bool CreateHandle(std::string& error);
    // The window's contents: pictures, fonts, back buffer, check boxes, APPLY and Timer1.
    bool MakeContents(std::string& error);
    bool MakeApply(std::string& error);
    void Load();

    // The messages, each unpacked and handed to its handler.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    // The caller's DC leaves as it came: colours, background mode, font.
    void OnPrintClient(BorrowedDc dc) const;
    // The check boxes' colours: white text on the window colour; the system's for others.
    LRESULT OnControlColor(UINT message, BorrowedDc dc, HWND control);
    LRESULT OnTimer(UINT_PTR id);
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    void OnChooseEntry(size_t index);
    void OnDestroy();

    // The mouse and the pages (pages.cpp).
    void OnMouseMove(POINT point);
    void OnLeftButtonDown(POINT point);
    void OnLeftButtonUp(POINT point);
    void OnCaptureChanged() { pressed_ = HitTarget{}; }
    HitTarget HitTest(POINT point) const;
    void MouseMoveOn(const HitTarget& target);
    void ClickOn(const HitTarget& target);
    void SetText(LabelId id, const std::wstring& text);
    void SetColor(LabelId id, COLORREF color);
    void SetVisible(LabelId id, bool visible);
    void SetArrowLit(ArrowId id, bool lit);
    void SetArrowVisible(ArrowId id, bool visible);
    void Invalidate(const RECT& rect) const;

    // The keyboard (keyboard.cpp). A menu entry chosen without the mouse (its access key, a
    // screen reader's action): its hint, then its click.
    void ChooseEntry(LabelId entry);
    void FocusMoved(HWND focus);
    // Enter's key-down (`down`) or key-up with its key data: one press of APPLY.
    void OnEnterKey(bool down, LPARAM keyData);

    void OnTimer1();
    void OnApplyClick();
    // Starts Notepad with the info file when it lies beside the program.
    void OpenInfoFile();

    // SkinForm
    HWND Handle() const override { return hWnd(); }
    void SetPicture(BorrowedBitmap picture) override;

    // First, so that it ends last: the accessible object and the shell need COM on this thread.
    ComApartment com_;
    MainWindowOptions options_;
    bool created_ = false; // only a window that was made ends the message loop
    bool destroying_ = false;
    bool closing_ = false;
    bool f1WasDown_ = false;
    bool escapeWasDown_ = false;
    unsigned boxesClosed_ = 0; // the program's message boxes closed by the last tick
    HitTarget pressed_;
    HWND lastFocus_ = nullptr;

    Labels labels_;
    Arrows arrows_;
    std::array<UniqueFont, static_cast<size_t>(FontId::Count)> fonts_;
    std::array<HWND, 3> checks_{};
    std::unique_ptr<butt::Butt> apply_;

    UniqueBitmap skinBitmap_;
    UniqueBitmap framesBitmap_;
    UniqueBitmap arrowOffBitmap_;
    UniqueBitmap arrowOnBitmap_;
    UniqueBrush windowBrush_;
    BorrowedBitmap backgroundPicture_; // the plain skin path's picture
    PictureHost skinComplete_;
    RECT skinFrames_{13, 67, 13 + 696, 67 + 293};
    // The back buffer: everything is drawn here, then copied to the screen in one blit.
    MemoryDc backBuffer_;

    SkinSupport skin_;
    // The page texts, set by the load.
    std::wstring aboutText_;
};

// The program: creates and loads the window and runs its message loop. When the window
// cannot be made, says why and returns 1.
int RunProgram(const MainWindowOptions& options);

} // namespace tv
