// The real main window in this process, with the system seam faked: start-up, pages, hover
// hints, hotkeys, links, the closing sequence, the outline and what the window draws.
#include "dib.h"
#include "fake_system.h"
#include "main_window.h"
#include "misc.h"
#include "program.h"
#include "temp_folder.h"
#include "test_windows.h"
#include "transparency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tv {
namespace {

using LabelId = MainWindow::LabelId;
using ArrowId = MainWindow::ArrowId;

// Client points inside the window's parts, from the window's layout.
constexpr POINT kMenu1{60, 103};
constexpr POINT kMenu2{60, 119};
constexpr POINT kMenu3{60, 135};
constexpr POINT kMenu4{60, 151};
constexpr POINT kEmail{60, 250};
constexpr POINT kWebsite{60, 265};
constexpr POINT kForum{60, 280};
constexpr POINT kTitle{300, 54};
constexpr POINT kFrame{413, 267};       // inner frame, no label there
constexpr POINT kFeatureText{150, 330}; // the hint area below the link labels
constexpr POINT kMenuArrow{23, 103};    // menu1pic
constexpr POINT kSkinEdge{359, 385};    // skin only (footer)

// A fake keyboard that forgets "pressed since the last query" once it has been read, as the
// system does.
class KeyboardFake : public test::FakeSystem {
  public:
    void Tap(int key) { taps_.push_back(key); }
    SHORT AsyncKeyState(int key) override {
        SHORT state = FakeSystem::AsyncKeyState(key);
        for (auto tap = taps_.begin(); tap != taps_.end(); ++tap)
            if (*tap == key) {
                taps_.erase(tap);
                state = static_cast<SHORT>(state | 1);
                break;
            }
        return state;
    }

  private:
    std::vector<int> taps_;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void Open(bool withInfoFile = true) {
        if (withInfoFile)
            test::WriteFileBytes(folder / L"VARNHOLT.nfo", "crew info\r\n");
        MainWindowOptions options;
        options.programFolder = folder.path();
        options.quitOnDestroy = false;
        std::string error;
        window = MainWindow::Create(options, error);
        ASSERT_TRUE(window) << error;
        hwnd = window->hWnd();
    }

    void MoveTo(POINT p) { SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void Click(POINT p) {
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    void Tick() { SendMessageW(hwnd, WM_TIMER, 1, 0); }

    const MainWindow::Label& Label(LabelId id) const { return window->label(id); }
    bool Visible(LabelId id) const { return window->label(id).visible; }
    bool Lit(ArrowId id) const { return window->arrow(id).lit; }
    std::string Feature() const { return ToAnsi(window->label(LabelId::feature).text); }

    RECT ChildRect(HWND child) const {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    std::string NotepadCommand() const {
        return WindowsFolderA() + "\\Notepad.exe " + ToAnsi(folder.path()) + "\\VARNHOLT.nfo";
    }

    KeyboardFake system;
    test::TempFolder folder;
    std::unique_ptr<MainWindow> window;
    HWND hwnd = nullptr;
};

void ExpectRect(const RECT& r, int left, int top, int width, int height) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

// ---- Start-up ----

TEST_F(MainWindowTest, StartsOnTheMainPageFadedInTo240) {
    Open();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(Get_Alpha(hwnd), 240);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 718);
    EXPECT_EQ(client.bottom, 406);

    EXPECT_EQ(Feature(), "Welcome!");
    EXPECT_TRUE(Visible(LabelId::feature));
    EXPECT_EQ(Label(LabelId::menu1).color, 0x2175F8u);
    for (LabelId id : {LabelId::menu2, LabelId::menu3, LabelId::menu4})
        EXPECT_EQ(Label(id).color, 0xFFFFFFu);
    for (LabelId id :
         {LabelId::Email, LabelId::Website, LabelId::Forum, LabelId::statusbar, LabelId::buff})
        EXPECT_FALSE(Visible(id));
    EXPECT_TRUE(Visible(LabelId::about_lbl));
    EXPECT_EQ(Label(LabelId::about_lbl).text, L"");
    for (ArrowId id : {ArrowId::menu1pic, ArrowId::menu2pic, ArrowId::menu3pic, ArrowId::menu4pic})
        EXPECT_TRUE(window->arrow(id).visible && !Lit(id));
    for (ArrowId id : {ArrowId::menuX1Email, ArrowId::menuX2Website, ArrowId::menuX3Forum})
        EXPECT_FALSE(window->arrow(id).visible);

    for (int group = 1; group <= 3; ++group) {
        EXPECT_EQ(SendMessageW(window->check(group), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(window->GroupValue(group), 1);
    }
    EXPECT_TRUE(system.messages.empty());
    EXPECT_TRUE(system.started.empty());
}

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThem) {
    Open();
    const char* captions[3] = {"Pentium X (all lang)", "nVidia", "Trailer (all)"};
    const int tops[3] = {122, 143, 164};
    const int widths[3] = {135, 60, 88};
    for (int group = 1; group <= 3; ++group) {
        const HWND box = window->check(group);
        ExpectRect(ChildRect(box), 242, tops[group - 1], widths[group - 1], 16);
        char caption[64] = {};
        GetWindowTextA(box, caption, sizeof caption);
        EXPECT_STREQ(caption, captions[group - 1]);
        EXPECT_EQ(GetWindowLongPtrW(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    }
    ASSERT_NE(window->apply(), nullptr);
    ExpectRect(ChildRect(window->apply()->hWnd()), 621, 324, 76, 24);
    // The stored properties were loaded, not defaults.
    EXPECT_EQ(window->apply()->Caption(), "APPLY");
    EXPECT_EQ(window->apply()->ButtonStyle(), 2);
    EXPECT_EQ(window->apply()->Font().name, "Verdana");
    EXPECT_EQ(window->apply()->Font().weight, 700);

    ExpectRect(Label(LabelId::Title).rect, 16, 46, 689, 17);
    ExpectRect(Label(LabelId::feature).rect, 23, 243, 182, 102);
    ExpectRect(Label(LabelId::about_lbl).rect, 23, 243, 182, 102);
    ExpectRect(Label(LabelId::Label3).rect, 243, 328, 264, 14);
}

TEST_F(MainWindowTest, TheOutlineIsTheSkinsNonMagentaPixels) {
    Open();
    UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(hwnd, outline.get()), COMPLEXREGION);

    // Read the skin file on its own, not through the program's loader.
    UniqueBitmap skin(static_cast<HBITMAP>(
        LoadImageW(nullptr, TV_SOURCE_DIR L"/assets/skin_complete.bmp", IMAGE_BITMAP, 0, 0,
                   LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(skin);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(skin.get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
    ASSERT_EQ(dib.dsBm.bmBitsPixel, 24);
    const int width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
    ASSERT_EQ(width, 718);
    ASSERT_EQ(height, 406);
    const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    int mismatches = 0, cutOut = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row =
            bits + static_cast<size_t>(height - 1 - y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * 3;
            const bool magenta = p[0] == 255 && p[1] == 0 && p[2] == 255;
            cutOut += magenta;
            if (magenta == static_cast<bool>(PtInRegion(outline.get(), x, y)))
                ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(cutOut, 0) << "the skin's corners are cut out";
    RECT box{};
    GetRgnBox(outline.get(), &box);
    EXPECT_EQ(box.right, 718);
    EXPECT_EQ(box.bottom, 406);
}

TEST_F(MainWindowTest, AWindowsLifeLeavesNoDrawingObjectsBehind) {
    const long before = LiveGdiObjects();
    Open();
    for (POINT p : {kMenu1, kMenu2, kMenu3, kMenu4, kFrame})
        MoveTo(p);
    Click(kMenu3);
    MoveTo(kEmail);
    Click(kMenu1);
    UpdateWindow(hwnd);
    for (int i = 0; i < 20; ++i) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    }
    window.reset();
    EXPECT_EQ(LiveGdiObjects(), before);
}

// ---- Pages ----

TEST_F(MainWindowTest, MenuEntriesSwitchPages) {
    Open();
    Click(kMenu2); // About
    EXPECT_EQ(Label(LabelId::menu2).color, 0x2175F8u);
    for (LabelId id : {LabelId::menu1, LabelId::menu3, LabelId::menu4})
        EXPECT_EQ(Label(id).color, 0xFFFFFFu);
    EXPECT_TRUE(Visible(LabelId::about_lbl));
    EXPECT_FALSE(Visible(LabelId::feature));
    EXPECT_EQ(Label(LabelId::about_lbl).text, kAboutText);
    EXPECT_EQ(system.started, std::vector<std::string>{NotepadCommand()});

    Click(kMenu3); // Contact
    EXPECT_EQ(Label(LabelId::menu3).color, 0x2175F8u);
    EXPECT_EQ(Label(LabelId::menu2).color, 0xFFFFFFu);
    for (LabelId id : {LabelId::Email, LabelId::Website, LabelId::Forum})
        EXPECT_TRUE(Visible(id));
    for (ArrowId id : {ArrowId::menuX1Email, ArrowId::menuX2Website, ArrowId::menuX3Forum})
        EXPECT_TRUE(window->arrow(id).visible);
    EXPECT_FALSE(Visible(LabelId::feature));
    EXPECT_FALSE(Visible(LabelId::about_lbl));

    Click(kMenu1); // Main Page
    EXPECT_EQ(Label(LabelId::menu1).color, 0x2175F8u);
    EXPECT_TRUE(Visible(LabelId::feature));
    for (LabelId id : {LabelId::Email, LabelId::Website, LabelId::Forum, LabelId::about_lbl})
        EXPECT_FALSE(Visible(id));
    for (ArrowId id : {ArrowId::menuX1Email, ArrowId::menuX2Website, ArrowId::menuX3Forum})
        EXPECT_FALSE(window->arrow(id).visible);

    Click(kMenu2);
    EXPECT_EQ(system.started.size(), 2u) << "every About click opens the info file";
    EXPECT_TRUE(system.shellCalls.empty());
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(MainWindowTest, AboutWithoutTheInfoFileOnlySwitchesThePage) {
    Open(false);
    Click(kMenu2);
    EXPECT_TRUE(Visible(LabelId::about_lbl));
    EXPECT_FALSE(Visible(LabelId::feature));
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(system.messages.empty());
}

TEST_F(MainWindowTest, AClickNeedsPressAndReleaseOnTheSameEntry) {
    Open();
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kMenu3.x, kMenu3.y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(kMenu4.x, kMenu4.y));
    EXPECT_FALSE(Visible(LabelId::Email));
    EXPECT_EQ(Label(LabelId::menu4).color, 0xFFFFFFu);
    EXPECT_TRUE(system.ended.empty());
}

// ---- Hover ----

TEST_F(MainWindowTest, HoverLightsArrowsAndWritesHintsUntilTheFrameClearsThem) {
    Open();
    MoveTo(kMenu4);
    EXPECT_EQ(Feature(), "Tired or wired? Press this to exit app.");
    EXPECT_TRUE(Lit(ArrowId::menu4pic));
    MoveTo(kMenu1);
    EXPECT_EQ(Feature(), "Things that this baby can do :)");
    EXPECT_TRUE(Lit(ArrowId::menu1pic));
    EXPECT_TRUE(Lit(ArrowId::menu4pic)) << "only the frame puts arrows out";
    MoveTo(kMenu2);
    EXPECT_EQ(Feature(), "Show credits and other informations.");
    MoveTo(kMenu3);
    EXPECT_EQ(Feature(), "Write us an e-mail or visit our website/forum");
    EXPECT_EQ(Label(LabelId::menu1).color, 0x2175F8u) << "hover never recolours the menu";
    EXPECT_EQ(Label(LabelId::menu3).color, 0xFFFFFFu);

    MoveTo(kFeatureText); // the hint text itself has no handler
    EXPECT_EQ(Feature(), "Write us an e-mail or visit our website/forum");
    MoveTo(kMenuArrow); // nor have the arrows
    EXPECT_EQ(Feature(), "Write us an e-mail or visit our website/forum");

    MoveTo(kFrame);
    EXPECT_EQ(Feature(), "Welcome!");
    for (size_t i = 0; i < static_cast<size_t>(ArrowId::Count); ++i)
        EXPECT_FALSE(Lit(static_cast<ArrowId>(i)));
}

TEST_F(MainWindowTest, HintsWrittenOnOtherPagesShowOnTheMainPage) {
    Open();
    Click(kMenu3); // Contact
    MoveTo(kEmail);
    EXPECT_TRUE(Lit(ArrowId::menuX1Email));
    MoveTo(kWebsite);
    MoveTo(kForum);
    EXPECT_TRUE(Lit(ArrowId::menuX2Website));
    EXPECT_TRUE(Lit(ArrowId::menuX3Forum));
    MoveTo(kMenu4);
    EXPECT_FALSE(Visible(LabelId::feature));
    EXPECT_EQ(Feature(), "Tired or wired? Press this to exit app.");
    Click(kMenu1);
    EXPECT_TRUE(Visible(LabelId::feature));
    EXPECT_EQ(Feature(), "Things that this baby can do :)");
}

// A hook that sees the messages sent to one window on this thread.
class SentMessages {
  public:
    explicit SentMessages(HWND window) {
        target_ = window;
        log_ = &messages;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    }
    ~SentMessages() {
        UnhookWindowsHookEx(hook_);
        log_ = nullptr;
    }
    std::vector<std::pair<UINT, WPARAM>> messages;

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && log_ && sent->hwnd == target_ &&
            (sent->message == WM_NCLBUTTONDOWN || sent->message == WM_SYSCOMMAND))
            log_->push_back({sent->message, sent->wParam});
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline HWND target_ = nullptr;
    static inline std::vector<std::pair<UINT, WPARAM>>* log_ = nullptr;
    HHOOK hook_ = nullptr;
};

TEST_F(MainWindowTest, DragSurfacesHandTheWindowToTheMoveLoopWhileTheLeftButtonIsDown) {
    Open();
    SentMessages sent(hwnd);
    for (POINT surface : {kTitle, kFrame, kSkinEdge})
        MoveTo(surface);
    EXPECT_TRUE(sent.messages.empty()) << "no move without a pressed button";

    system.PressKey(VK_LBUTTON);
    for (POINT surface : {kTitle, kFrame, kSkinEdge, kMenu1, kFeatureText}) {
        // The move loop ends at the release that is already waiting for it.
        PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(surface.x, surface.y));
        MoveTo(surface);
        MSG stale;
        while (PeekMessageW(&stale, hwnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
        }
    }
    system.ReleaseKey(VK_LBUTTON);
    size_t presses = 0;
    for (const auto& [message, wParam] : sent.messages)
        if (message == WM_NCLBUTTONDOWN) {
            EXPECT_EQ(wParam, static_cast<WPARAM>(HTCAPTION));
            ++presses;
        }
    EXPECT_EQ(presses, 3u) << "title, frame and skin are drag surfaces; a menu entry and the "
                              "hint text are not";
}

// ---- Hotkeys ----

TEST_F(MainWindowTest, F1OpensTheInfoFileOncePerPress) {
    Open();
    system.PressKey(VK_F1);
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_EQ(system.started, std::vector<std::string>{NotepadCommand()}) << "held: one Notepad";
    // Let go; the "pressed since" bit that auto-repeat left behind is no new press.
    system.ReleaseKey(VK_F1);
    system.Tap(VK_F1);
    Tick();
    EXPECT_EQ(system.started.size(), 1u);

    system.PressKey(VK_F1);
    Tick();
    Tick();
    system.ReleaseKey(VK_F1);
    Tick();
    EXPECT_EQ(system.started.size(), 2u);
    // A press that began and ended between two polls counts once.
    system.Tap(VK_F1);
    Tick();
    Tick();
    EXPECT_EQ(system.started.size(), 3u);
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(MainWindowTest, F1WithoutTheInfoFileDoesNothing) {
    Open(false);
    system.PressKey(VK_F1);
    Tick();
    system.ReleaseKey(VK_F1);
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(system.messages.empty());
}

TEST_F(MainWindowTest, NotepadThatCannotStartIsReported) {
    Open();
    system.FailStarts(true);
    system.Answer(IDOK);
    system.PressKey(VK_F1);
    Tick();
    system.ReleaseKey(VK_F1);
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].title, "VH - Torv3 No Intros");
    EXPECT_NE(system.messages[0].text.find(ToAnsi(folder.path()) + "\\VARNHOLT.nfo"),
              std::string::npos);
    EXPECT_EQ(system.messages[0].type & 0xF, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(system.AllAnswersUsed());
}

TEST(NotepadCommandLine, OneSpaceAndNoQuotes) {
    EXPECT_EQ(NotepadCommandLine("C:\\Windows", "D:\\Tools\\Patch"),
              "C:\\Windows\\Notepad.exe D:\\Tools\\Patch\\VARNHOLT.nfo");
    EXPECT_EQ(NotepadCommandLine("C:\\", "E:\\My Tools"),
              "C:\\Notepad.exe E:\\My Tools\\VARNHOLT.nfo");
}

// ---- Ending ----

void ExpectClosed(const KeyboardFake& system, HWND hwnd) {
    EXPECT_EQ(system.ended, std::vector<UINT>{0}) << "ended once, with code 0";
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(Get_Alpha(hwnd), 0);
}

TEST_F(MainWindowTest, EscapeRunsTheClosingSequenceOnce) {
    Open();
    Click(kMenu3);
    system.PressKey(VK_ESCAPE); // held through the whole fade
    Tick();
    ExpectClosed(system, hwnd);
    system.ReleaseKey(VK_ESCAPE);
}

TEST_F(MainWindowTest, ExitColoursItsEntryAndCloses) {
    Open();
    Click(kMenu4);
    EXPECT_EQ(Label(LabelId::menu4).color, 0x2175F8u);
    EXPECT_EQ(Label(LabelId::menu1).color, 0xFFFFFFu);
    ExpectClosed(system, hwnd);
}

TEST_F(MainWindowTest, ClosingTheWindowFromOutsideRunsTheClosingSequence) {
    Open();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    ExpectClosed(system, hwnd);
    EXPECT_TRUE(IsWindow(hwnd)) << "the process ends without unloading the window";
}

// ---- Links ----

TEST_F(MainWindowTest, ContactLinksGoToTheShellWithTheirExactArguments) {
    Open();
    Click(kMenu3);
    Click(kEmail);
    Click(kWebsite);
    Click(kForum);
    ASSERT_EQ(system.shellCalls.size(), 3u);
    const test::ShellCall& email = system.shellCalls[0];
    EXPECT_EQ(email.verb, "Open");
    EXPECT_EQ(email.file, "mailto:crew@varnholt.example");
    EXPECT_EQ(email.parameters, "");
    EXPECT_EQ(email.directory, ToAnsi(folder.path()));
    EXPECT_EQ(email.showCommand, SW_SHOWNORMAL);
    const test::ShellCall& website = system.shellCalls[1];
    EXPECT_EQ(website.verb, "(null)");
    EXPECT_EQ(website.file, "http://www.varnholt.example/");
    EXPECT_EQ(website.parameters, "(null)");
    EXPECT_EQ(website.directory, "C:\\");
    EXPECT_EQ(website.showCommand, SW_SHOWNORMAL);
    const test::ShellCall& forum = system.shellCalls[2];
    EXPECT_EQ(forum.verb, "(null)");
    EXPECT_EQ(forum.file, "http://www.varnholt.example/forum.php");
    EXPECT_EQ(forum.directory, "C:\\");

    Click(kMenu1); // hidden links take no clicks
    Click(kEmail);
    EXPECT_EQ(system.shellCalls.size(), 3u);
}

// ---- APPLY ----

TEST_F(MainWindowTest, ApplyAsksFirstAndNoKeepsTheWindow) {
    Open();
    system.Answer(IDNO);
    const HWND apply = window->apply()->hWnd();
    SendMessageW(apply, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(38, 12));
    SendMessageW(apply, WM_LBUTTONUP, 0, MAKELPARAM(38, 12));
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].text, "No Backup feature!\r\nContinue?");
    EXPECT_EQ(system.messages[0].title, "VH - Torv3 No Intros");
    EXPECT_EQ(system.messages[0].type, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(MainWindowTest, ApplyWithYesReplacesTheTickedGroupsAndEnds) {
    // A sandbox game whose registry entry points at a temporary folder.
    test::TempFolder game;
    CreateDirectoryW((game / L"video").c_str(), nullptr);
    const std::wstring video = game / L"video";
    for (const auto& group : MovieGroups())
        for (const std::wstring& movie : group)
            test::WriteFileBytes(video + L"\\" + movie, "original");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brightlane\\Velomar 3", 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string value = ToAnsi(game.path());
    RegSetValueExA(key, "PATH_VIDEO", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    test::WriteFileBytes(folder / L"vh-tvm3.dat", "placeholder movie");

    Open();
    SendMessageW(window->check(2), BM_CLICK, 0, 0); // untick nVidia
    EXPECT_EQ(window->GroupValue(2), 0);
    system.Answer(IDYES);
    system.Answer(IDOK);
    const HWND apply = window->apply()->hWnd();
    SendMessageW(apply, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(38, 12));
    SendMessageW(apply, WM_LBUTTONUP, 0, MAKELPARAM(38, 12));
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brightlane\\Velomar 3", KEY_WOW64_32KEY, 0);

    ASSERT_EQ(system.messages.size(), 2u);
    EXPECT_EQ(system.messages[1].text, "Done!");
    EXPECT_EQ(window->FolderText(), video + L"\\");
    for (size_t group = 0; group < 3; ++group)
        for (const std::wstring& movie : MovieGroups()[group])
            EXPECT_EQ(test::ReadFileBytes(video + L"\\" + movie),
                      group == 1 ? "original" : "placeholder movie")
                << ToAnsi(movie);
    ExpectClosed(system, hwnd);
}

// ---- Drawing ----

// The window's client area as it draws it, read back from a 32-bit DIB.
class Snapshot {
  public:
    explicit Snapshot(HWND window) : pixels_(test::PrintClient(window, 718, 406)) {}
    COLORREF At(int x, int y) const { return ColorFromDib(pixels_[y * 718 + x]); }
    int Count(const RECT& area, COLORREF color) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == color;
        return n;
    }

  private:
    std::vector<std::uint32_t> pixels_;
};

// A picture file's pixels, read on their own.
class Pixels {
  public:
    explicit Pixels(const wchar_t* file)
        : bitmap_(static_cast<HBITMAP>(LoadImageW(nullptr, file, IMAGE_BITMAP, 0, 0,
                                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION))),
          dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), bitmap_.get()) {}
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

  private:
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    ScopedSelect select_;
};

COLORREF BitmapPixel(const wchar_t* file, int x, int y) {
    return Pixels(file).At(x, y);
}

TEST_F(MainWindowTest, DrawsSkinFrameArrowsAndTheVisibleLabelsInTheirColours) {
    Open();
    const Pixels skin(TV_SOURCE_DIR L"/assets/skin_complete.bmp");
    const RECT menu1 = Label(LabelId::menu1).rect;
    const RECT menu2 = Label(LabelId::menu2).rect;
    {
        const Snapshot shot(hwnd);
        EXPECT_EQ(shot.At(359, 2), skin.At(359, 2));
        EXPECT_EQ(shot.At(kFrame.x, kFrame.y), BitmapPixel(TV_SOURCE_DIR L"/assets/skin_frames.bmp",
                                                           kFrame.x - 13, kFrame.y - 67));
        EXPECT_EQ(shot.At(24, 103), BitmapPixel(TV_SOURCE_DIR L"/assets/arrow_off.bmp", 5, 4));
        EXPECT_GT(shot.Count(menu1, 0x2175F8), 0) << "Main Page is drawn orange";
        EXPECT_EQ(shot.Count(menu1, 0xFFFFFF), 0);
        EXPECT_GT(shot.Count(menu2, 0xFFFFFF), 0) << "About is drawn white";
        EXPECT_EQ(shot.Count(menu2, 0x2175F8), 0);
        EXPECT_GT(shot.Count(Label(LabelId::Label3).rect, 0xFFFFFF), 0);
        // The hidden labels leave the skin as it is.
        for (LabelId hidden : {LabelId::statusbar, LabelId::buff}) {
            const RECT r = Label(hidden).rect;
            int changed = 0;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    changed += shot.At(x, y) != skin.At(x, y);
            EXPECT_EQ(changed, 0);
        }
    }
    MoveTo(kMenu1);
    Click(kMenu2);
    {
        const Snapshot shot(hwnd);
        EXPECT_EQ(shot.At(24, 103), BitmapPixel(TV_SOURCE_DIR L"/assets/arrow_on.bmp", 5, 4));
        EXPECT_EQ(shot.Count(menu1, 0x2175F8), 0);
        EXPECT_GT(shot.Count(menu2, 0x2175F8), 0);
    }
}

TEST_F(MainWindowTest, CheckBoxesHaveWhiteTextOnTheWindowColour) {
    Open();
    const HWND box = window->check(1);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const LRESULT brush = SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                       reinterpret_cast<LPARAM>(box));
    EXPECT_EQ(GetTextColor(dc.get()), 0xFFFFFFu);
    EXPECT_EQ(GetBkColor(dc.get()), 0x493328u);
    LOGBRUSH logBrush{};
    ASSERT_NE(brush, 0);
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbColor, 0x493328u);

    // And the box draws itself so: white text on the window colour.
    const std::vector<std::uint32_t> pixels = test::PrintClient(box, 135, 16);
    int white = 0, background = 0;
    for (const std::uint32_t pixel : pixels) {
        white += ColorFromDib(pixel) == 0xFFFFFF;
        background += ColorFromDib(pixel) == 0x493328;
    }
    EXPECT_GT(white, 0);
    EXPECT_GT(background, 135 * 16 / 3);
}

} // namespace
} // namespace tv
