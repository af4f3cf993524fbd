#pragma once
// wndMain, the program's only window: the shaped, fading skin with its menu, pages, hover
// hints, links, hotkeys, the three movie-group check boxes and the APPLY button.
//
// Labels and arrow pictures are records drawn by the window over its skin from one back
// buffer; the check boxes are real check boxes and APPLY is a Butt control loaded from its
// stored properties.
#include "butt.h"
#include "handles.h"
#include "patch.h"
#include "skin_support.h"

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>

#include <array>
#include <memory>
#include <optional>
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

// The hints and texts of the pages.
inline constexpr wchar_t kHintWelcome[] = L"Welcome!";
inline constexpr wchar_t kHintMainPage[] = L"Things that this baby can do :)";
inline constexpr wchar_t kHintAbout[] = L"Show credits and other informations.";
inline constexpr wchar_t kHintContact[] = L"Write us an e-mail or visit our website/forum";
inline constexpr wchar_t kHintExit[] = L"Tired or wired? Press this to exit app.";
inline constexpr wchar_t kAboutText[] = L"Torv Velomar 3 No Intros, made by the VARNHOLT crew."
                                        L"\r\nRead VARNHOLT.nfo for additional info and help";

inline constexpr COLORREF kWindowColor = 0x493328;
inline constexpr COLORREF kMenuNormal = 0xFFFFFF;
inline constexpr COLORREF kMenuSelected = 0x2175F8;

struct MainWindowOptions {
    // Where the window's pictures and APPLY's stored properties come from.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Where the info file lies and the shell's working folder for the e-mail link.
    std::wstring programFolder;
    // The program's own window ends the message loop when it goes; tests leave it running.
    bool quitOnDestroy = true;
};

class MainWindow final : public PatchHost, public butt::ButtHost, private SkinForm {
  public:
    enum class LabelId {
        Label1,
        Title,
        menu1,
        menu2,
        menu3,
        menu4,
        feature,
        about_lbl,
        Email,
        Website,
        Forum,
        Label2,
        Label3,
        statusbar,
        buff,
        Count
    };
    enum class ArrowId {
        menu1pic,
        menu2pic,
        menu3pic,
        menu4pic,
        menuX1Email,
        menuX2Website,
        menuX3Forum,
        Count
    };
    enum class FontId { Display, Title, Tahoma, Verdana, Count };

    // A label drawn by the window: transparent background unless `opaque`.
    struct Label {
        RECT rect;
        std::wstring text;
        FontId font;
        COLORREF color;
        bool visible;
        bool opaque;
    };
    struct Arrow {
        POINT position;
        bool lit;
        bool visible;
    };

    // Creates and loads the window: the skin outline, the fade-in to 240, the page texts and
    // "Welcome!". nullptr with `error` set when the window or its controls cannot be made.
    static std::unique_ptr<MainWindow> Create(const MainWindowOptions& options, std::string& error);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND hWnd() const { return hwnd_; }

    // Resets the menu to white and shows the Main Page layout.
    void ClearForeColor();

    // What the window shows, for the program's own checks and tests.
    const Label& label(LabelId id) const { return labels_[static_cast<size_t>(id)]; }
    const Arrow& arrow(ArrowId id) const { return arrows_[static_cast<size_t>(id)]; }
    HWND check(int group) const { return checks_[static_cast<size_t>(group - 1)]; }
    butt::Butt* apply() const { return apply_.get(); }
    // Draws the whole client area (skin, frame, arrows, labels) into `dc`.
    void Render(HDC dc) const;

    // PatchHost
    HWND Window() const override { return hwnd_; }
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
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    // A menu entry chosen without the mouse (its access key, a screen reader's action): its
    // hint, then its click.
    void ChooseEntry(LabelId entry);

    void FocusMoved(HWND focus);
    // Enter's key-down (`down`) or key-up with its key data: one press of APPLY.
    void OnEnterKey(bool down, LPARAM keyData);
    HWND lastFocus_ = nullptr;
    // What the mouse is over: a label, an arrow picture, the inner frame or the skin itself.
    struct Target {
        enum class Kind { None, Label, Arrow, Frame, Skin } kind = Kind::None;
        size_t index = 0;
        bool operator==(const Target&) const = default;
    };

    explicit MainWindow(const MainWindowOptions& options);
    bool CreateHandle(std::string& error);
    void Load();

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's contents: pictures, fonts, back buffer, check boxes, APPLY and Timer1.
    bool MakeContents(std::string& error);
    void OnPaint();
    void OnMouseMove(POINT point);
    void OnLeftButtonDown(POINT point);
    void OnLeftButtonUp(POINT point);
    // The check boxes' colours: white text on the window colour; 0 for other controls.
    LRESULT OnControlColor(HDC dc, HWND control);
    void OnTimer1();

    Target HitTest(POINT point) const;
    void MouseMoveOn(const Target& target);
    void ClickOn(const Target& target);
    void OnApplyClick();

    // Starts Notepad with the info file when it lies beside the program.
    void OpenInfoFile();

    Label& Item(LabelId id) { return labels_[static_cast<size_t>(id)]; }
    void SetText(LabelId id, const std::wstring& text);
    void SetColor(LabelId id, COLORREF color);
    void SetVisible(LabelId id, bool visible);
    void SetArrowLit(ArrowId id, bool lit);
    void SetArrowVisible(ArrowId id, bool visible);
    void Invalidate(const RECT& rect) const;

    // SkinForm
    HWND Handle() const override { return hwnd_; }
    void SetPicture(HBITMAP picture) override;

    // First, so that it ends last: the accessible object and the shell need COM on this thread.
    ComApartment com_;
    MainWindowOptions options_;
    HWND hwnd_ = nullptr;
    bool created_ = false; // only a window that was made ends the message loop
    bool destroying_ = false;
    bool closing_ = false;
    bool f1WasDown_ = false;
    bool escapeWasDown_ = false;
    unsigned boxesClosed_ = 0; // the program's message boxes closed by the last tick
    Target pressed_;

    std::array<Label, static_cast<size_t>(LabelId::Count)> labels_;
    std::array<Arrow, static_cast<size_t>(ArrowId::Count)> arrows_;
    std::array<UniqueFont, static_cast<size_t>(FontId::Count)> fonts_;
    std::array<HWND, 3> checks_{};
    std::unique_ptr<butt::Butt> apply_;

    UniqueBitmap skinBitmap_;
    UniqueBitmap framesBitmap_;
    UniqueBitmap arrowOffBitmap_;
    UniqueBitmap arrowOnBitmap_;
    UniqueBrush windowBrush_;
    HBITMAP backgroundPicture_ = nullptr; // the plain skin path's picture (borrowed)
    PictureHost skinComplete_;
    RECT skinFrames_{13, 67, 13 + 696, 67 + 293};

    // The back buffer: everything is drawn here, then copied to the screen in one blit.
    UniqueBitmap backBitmap_;
    UniqueMemoryDc backDc_;
    HGDIOBJ backDcBitmap_ = nullptr;

    SkinSupport skin_;
    // The page texts, set by the load.
    std::wstring aboutText_;
};

// The menu entries in their order, with their arrows, access keys (Alt+key, drawn underlined)
// and hover hints. A screen reader reads them as the window's first children.
struct MenuEntry {
    MainWindow::LabelId label;
    MainWindow::ArrowId arrow;
    wchar_t key;
    const wchar_t* hint;
};
inline constexpr MenuEntry kMenuEntries[] = {
    {MainWindow::LabelId::menu1, MainWindow::ArrowId::menu1pic, L'M', kHintMainPage},
    {MainWindow::LabelId::menu2, MainWindow::ArrowId::menu2pic, L'A', kHintAbout},
    {MainWindow::LabelId::menu3, MainWindow::ArrowId::menu3pic, L'C', kHintContact},
    {MainWindow::LabelId::menu4, MainWindow::ArrowId::menu4pic, L'X', kHintExit}};
// The entry of a label; nullptr for the other labels.
const MenuEntry* MenuEntryOf(MainWindow::LabelId label);
// `text` as DrawText's prefix form: the first letter that is `key` in either case marked
// with '&', and every '&' of the text doubled so that it is drawn as it is.
std::wstring WithAccessMarker(const std::wstring& text, wchar_t key);

// The program: creates and loads the window and runs its message loop. When the window
// cannot be made, says why and returns 1.
int RunProgram(const MainWindowOptions& options);

} // namespace tv
