// The real main window in this process, with the system seam faked: start-up, pages, hover
// hints, hotkeys, links, the closing sequence, the outline and what the window draws.
#include "dib.h"
#include "fake_system.h"
#include "main_window.h"
#include "program.h"
#include "temp_folder.h"
#include "test_windows.h"
#include "transparency.h"

#include <gtest/gtest.h>

#include <functional>

namespace tv {
namespace {

using LabelId = MainWindow::LabelId;
using ArrowId = MainWindow::ArrowId;
using test::Pixels;

// Client points inside the window's parts.
constexpr POINT kMenu[4] = {{60, 103}, {60, 119}, {60, 135}, {60, 151}};
constexpr POINT kLinks[3] = {{60, 250}, {60, 265}, {60, 280}}; // e-mail, website, forum
constexpr POINT kTitle{300, 54};
constexpr POINT kFrame{413, 267};       // inner frame, no label there
constexpr POINT kFeatureText{150, 330}; // the hint area below the link labels
constexpr POINT kMenuArrow{23, 103};
constexpr POINT kSkinEdge{359, 385};
constexpr COLORREF kOrange = 0x2175F8;
constexpr COLORREF kWhite = 0xFFFFFF;

// A fake keyboard that forgets "pressed since the last query" once it was read, as Windows.
class KeyboardFake : public test::FakeSystem {
  public:
    void Tap(int key) { taps_.push_back(key); }
    SHORT AsyncKeyState(int key) override {
        SHORT state = FakeSystem::AsyncKeyState(key);
        const auto tap = std::find(taps_.begin(), taps_.end(), key);
        if (tap != taps_.end()) {
            taps_.erase(tap);
            state = static_cast<SHORT>(state | 1);
        }
        return state;
    }

  private:
    std::vector<int> taps_;
};

// A picture file's pixels, read on their own, not through the program's loader.
class FilePicture {
  public:
    explicit FilePicture(const wchar_t* name)
        : bitmap_(static_cast<HBITMAP>(LoadImageW(nullptr, (std::wstring(TV_SOURCE_DIR L"/assets/") + name).c_str(),
                                                  IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION))),
          dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), bitmap_.get()) {}
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
    HBITMAP bitmap() const { return bitmap_.get(); }

  private:
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    ScopedSelect select_;
};

std::vector<UINT>* movesSeen = nullptr;
LRESULT CALLBACK SeeMoves(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && movesSeen && message->message == WM_NCLBUTTONDOWN &&
        message->wParam == HTCAPTION)
        movesSeen->push_back(message->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

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
        MoveTo(p);
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    void ClickApply() {
        SendMessageW(window->apply()->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(38, 12));
        SendMessageW(window->apply()->hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(38, 12));
    }
    void Tick() { SendMessageW(hwnd, WM_TIMER, 1, 0); }
    bool Visible(LabelId id) const { return window->label(id).visible; }
    std::wstring Feature() const { return window->label(LabelId::feature).text; }
    // The page shown: the coloured menu entry, and which page labels and arrows show.
    std::string Page() const {
        std::string page;
        for (LabelId id : {LabelId::menu1, LabelId::menu2, LabelId::menu3, LabelId::menu4})
            page += window->label(id).color == kOrange ? '#' : window->label(id).color == kWhite ? '-' : '?';
        for (LabelId id : {LabelId::feature, LabelId::about_lbl, LabelId::Email, LabelId::Website,
                           LabelId::Forum, LabelId::statusbar, LabelId::buff})
            page += Visible(id) ? 'L' : '.';
        for (size_t i = 0; i < static_cast<size_t>(ArrowId::Count); ++i)
            page += window->arrow(static_cast<ArrowId>(i)).visible
                        ? (window->arrow(static_cast<ArrowId>(i)).lit ? '*' : 'a')
                        : '.';
        return page;
    }
    std::string Notepad() const {
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        return ToAnsi(windows) + "\\Notepad.exe " + ToAnsi(folder.path()) + "\\VARNHOLT.nfo";
    }
    void ExpectClosed() {
        EXPECT_EQ(system.ended, std::vector<UINT>{0}) << "ended once, with code 0";
        EXPECT_FALSE(IsWindowVisible(hwnd));
        EXPECT_EQ(Get_Alpha(hwnd), 0);
        EXPECT_TRUE(IsWindow(hwnd)) << "the process ends without unloading the window";
    }

    KeyboardFake system;
    test::TempFolder folder;
    std::unique_ptr<MainWindow> window;
    HWND hwnd = nullptr;
};

TEST_F(MainWindowTest, StartsFadedInTo240OnTheMainPageWithItsControls) {
    Open();
    EXPECT_TRUE(IsWindowVisible(hwnd) && IsWindowEnabled(hwnd));
    EXPECT_EQ(Get_Alpha(hwnd), 240);
    RECT r{};
    GetClientRect(hwnd, &r);
    EXPECT_EQ(r.right * 1000 + r.bottom, 718406);
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    EXPECT_STREQ(title, "VARNHOLT crew - Torv Velomar 3 No Intros");
    EXPECT_EQ(Feature(), L"Welcome!");
    EXPECT_EQ(Page(), "#---LL.....aaaa...");
    EXPECT_EQ(window->label(LabelId::about_lbl).text, L"");

    const auto rectOf = [&](HWND child) {
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        return test::Describe({r});
    };
    const char* captions[3] = {"Pentium X (all lang)", "nVidia", "Trailer (all)"};
    const char* places[3] = {"(242,122,377,138) ", "(242,143,302,159) ", "(242,164,330,180) "};
    for (int group = 1; group <= 3; ++group) {
        const HWND box = window->check(group);
        EXPECT_EQ(rectOf(box), places[group - 1]);
        char caption[64] = {};
        GetWindowTextA(box, caption, sizeof caption);
        EXPECT_STREQ(caption, captions[group - 1]);
        EXPECT_EQ(GetWindowLongPtrW(box, GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP), BS_AUTOCHECKBOX | WS_TABSTOP);
        EXPECT_EQ(window->GroupValue(group), 1);
    }
    EXPECT_EQ(window->GroupValue(0) + window->GroupValue(4), 0);
    ASSERT_NE(window->apply(), nullptr);
    EXPECT_EQ(rectOf(window->apply()->hWnd()), "(621,324,697,348) ");
    // The stored properties were loaded, not defaults.
    EXPECT_EQ(window->apply()->Caption(), "APPLY");
    EXPECT_EQ(window->apply()->ButtonStyle(), 2);
    EXPECT_EQ(window->apply()->Font().name, "Verdana");
    const std::pair<LabelId, const char*> labels[] = {
        {LabelId::Title, "(16,46,705,63) "}, {LabelId::feature, "(23,243,205,345) "},
        {LabelId::menu4, "(34,145,206,158) "}, {LabelId::Label3, "(243,328,507,342) "},
        {LabelId::buff, "(669,378,708,398) "}};
    for (const auto& [id, place] : labels)
        EXPECT_EQ(test::Describe({window->label(id).rect}), place);
    EXPECT_TRUE(system.messages.empty() && system.started.empty());
}

TEST_F(MainWindowTest, TheOutlineIsTheSkinsNonMagentaPixelsAndALifeLeavesNoObjects) {
    const long before = LiveGdiObjects();
    Open();
    {
    UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(hwnd, outline.get()), COMPLEXREGION);
    // The skin file read on its own, not through the program's loader.
    const FilePicture skin(L"skin_complete.bmp");
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(skin.bitmap(), sizeof dib, &dib), static_cast<int>(sizeof dib));
    ASSERT_EQ(dib.dsBm.bmBitsPixel * 1000000 + dib.dsBm.bmWidth * 1000 + dib.dsBm.bmHeight, 24718406);
    int mismatches = 0, cutOut = 0;
    for (int y = 0; y < 406; ++y)
        for (int x = 0; x < 718; ++x) {
            const auto* p = static_cast<const std::uint8_t*>(dib.dsBm.bmBits) +
                            static_cast<size_t>(405 - y) * dib.dsBm.bmWidthBytes + x * 3;
            const bool magenta = p[0] == 255 && p[1] == 0 && p[2] == 255;
            cutOut += magenta;
            mismatches += magenta == static_cast<bool>(PtInRegion(outline.get(), x, y));
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(cutOut, 0) << "the skin's corners are cut out";
    }

    for (POINT p : {kMenu[0], kMenu[1], kMenu[2], kMenu[3], kFrame})
        MoveTo(p);
    Click(kMenu[2]);
    Click(kMenu[0]);
    for (int i = 0; i < 20; ++i)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    window.reset();
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(MainWindowTest, MenuEntriesSwitchPagesAndHoverWritesHints) {
    Open();
    const struct {
        std::function<void()> act;
        std::string page;
        std::wstring feature;
        size_t notepads;
    } steps[] = {
        {[&] { MoveTo(kMenu[3]); }, "#---LL.....aaa*...", L"Tired or wired? Press this to exit app.", 0},
        {[&] { MoveTo(kMenu[0]); }, "#---LL.....*aa*...", L"Things that this baby can do :)", 0},
        {[&] { MoveTo(kMenu[1]); }, "#---LL.....**a*...", L"Show credits and other informations.", 0},
        {[&] { MoveTo(kMenu[2]); }, "#---LL.....****...", L"Write us an e-mail or visit our website/forum", 0},
        {[&] { MoveTo(kFeatureText), MoveTo(kMenuArrow); }, "#---LL.....****...",
         L"Write us an e-mail or visit our website/forum", 0}, // no handlers there
        {[&] { MoveTo(kFrame); }, "#---LL.....aaaa...", L"Welcome!", 0},
        {[&] { Click(kMenu[1]); }, "-#--.L.....a*aa...", L"Show credits and other informations.", 1},
        {[&] { Click(kMenu[2]); }, "--#-..LLL..a**aaaa", L"Write us an e-mail or visit our website/forum", 1},
        {[&] { MoveTo(kLinks[0]), MoveTo(kLinks[2]); }, "--#-..LLL..a**a*a*", L"Write us an e-mail or visit our website/forum", 1},
        {[&] { MoveTo(kMenu[3]); }, "--#-..LLL..a****a*", L"Tired or wired? Press this to exit app.", 1},
        {[&] { Click(kMenu[0]); }, "#---L......****...", L"Things that this baby can do :)", 1},
        {[&] { Click(kMenu[1]); }, "-#--.L.....****...", L"Show credits and other informations.", 2},
        // A click needs its press and release on the same entry.
        {[&] {
             SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kMenu[2].x, kMenu[2].y));
             SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(kMenu[3].x, kMenu[3].y));
         },
         "-#--.L.....****...", L"Show credits and other informations.", 2},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EXPECT_EQ(Page(), steps[i].page) << "step " << i;
        EXPECT_EQ(Feature(), steps[i].feature) << "step " << i;
        EXPECT_EQ(system.started.size(), steps[i].notepads) << "step " << i;
    }
    EXPECT_EQ(system.started.back(), Notepad());
    EXPECT_EQ(window->label(LabelId::about_lbl).text,
              L"Torv Velomar 3 No Intros, made by the VARNHOLT crew.\r\nRead VARNHOLT.nfo for "
              L"additional info and help");
    EXPECT_TRUE(system.shellCalls.empty() && system.ended.empty());
}

TEST_F(MainWindowTest, LinksGoToTheShellAndDragSurfacesToTheMoveLoop) {
    Open();
    Click(kMenu[2]);
    for (POINT link : kLinks)
        Click(link);
    Click(kMenu[0]);
    Click(kLinks[0]); // hidden links take no clicks
    std::string calls;
    for (const test::ShellCall& c : system.shellCalls)
        calls += c.verb + "|" + c.file + "|" + c.parameters + "|" + c.directory + "|" +
                 std::to_string(c.showCommand) + "\n";
    EXPECT_EQ(calls, "Open|mailto:crew@varnholt.example||" + ToAnsi(folder.path()) + "|1\n"
                     "(null)|http://www.varnholt.example/|(null)|C:\\|1\n"
                     "(null)|http://www.varnholt.example/forum.php|(null)|C:\\|1\n");

    // The system's move loop starts for title, frame and skin, only with the left button down.
    std::vector<UINT> sent;
    movesSeen = &sent;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, SeeMoves, nullptr, GetCurrentThreadId());
    for (POINT surface : {kTitle, kFrame, kSkinEdge})
        MoveTo(surface);
    EXPECT_TRUE(sent.empty()) << "no move without a pressed button";
    system.PressKey(VK_LBUTTON);
    for (POINT surface : {kTitle, kFrame, kSkinEdge, kMenu[0], kFeatureText}) {
        PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(surface.x, surface.y)); // ends the loop
        MoveTo(surface);
        MSG stale;
        while (PeekMessageW(&stale, hwnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
        }
    }
    system.ReleaseKey(VK_LBUTTON);
    UnhookWindowsHookEx(hook);
    movesSeen = nullptr;
    EXPECT_EQ(sent.size(), 3u) << "title, frame and skin are drag surfaces";
}

TEST_F(MainWindowTest, F1OpensTheInfoFileOncePerPressWhenThereIsOne) {
    Open();
    system.PressKey(VK_F1);
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_EQ(system.started, std::vector<std::string>{Notepad()}) << "held: one Notepad";
    system.ReleaseKey(VK_F1);
    system.Tap(VK_F1); // what auto-repeat left behind is no new press
    Tick();
    EXPECT_EQ(system.started.size(), 1u);
    system.PressKey(VK_F1);
    Tick();
    system.ReleaseKey(VK_F1);
    Tick();
    EXPECT_EQ(system.started.size(), 2u);
    system.Tap(VK_F1); // pressed and let go between two polls: counts once
    Tick();
    Tick();
    EXPECT_EQ(system.started.size(), 3u);

    system.FailStarts(true);
    system.Answer(IDOK);
    system.Tap(VK_F1);
    Tick();
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].text, "Notepad could not be started to show the info file:\r\n" +
                                           ToAnsi(folder.path()) + "\\VARNHOLT.nfo\r\n\r\nOpen it with any text editor.");
    EXPECT_EQ(system.messages[0].title + std::to_string(system.messages[0].type), "VH - Torv3 No Intros0");

    DeleteFileW((folder / L"VARNHOLT.nfo").c_str()); // no info file: F1 and About do nothing
    system.FailStarts(false);
    system.Tap(VK_F1);
    Tick();
    Click(kMenu[1]);
    EXPECT_EQ(system.started.size(), 4u);
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(MainWindowTest, EscapeExitAndCloseRunTheClosingSequenceOnce) {
    const std::function<void()> ways[] = {
        [this] {
            Click(kMenu[2]);
            system.PressKey(VK_ESCAPE); // held through the whole fade
            Tick();
            Tick();
            system.ReleaseKey(VK_ESCAPE);
        },
        [this] {
            Click(kMenu[3]);
            EXPECT_EQ(Page().substr(0, 4), "---#");
        },
        [this] { SendMessageW(hwnd, WM_CLOSE, 0, 0); },
    };
    for (const auto& way : ways) {
        Open();
        way();
        ExpectClosed();
        window.reset();
        system.ended.clear();
    }
}

TEST_F(MainWindowTest, ApplyAsksFirstAndAYesReplacesTheTickedGroupsAndEnds) {
    test::TempFolder game;
    const std::wstring video = game / L"video";
    CreateDirectoryW(video.c_str(), nullptr);
    const wchar_t* movies[] = {L"intel_e.bik", L"nVid.bik", L"Intr_v8_s.bik"};
    for (const wchar_t* movie : movies)
        test::WriteFileBytes(video + L"\\" + movie, "original");
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brightlane\\Velomar 3", 0, nullptr, 0,
                    KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr);
    const std::string value = ToAnsi(game.path());
    RegSetValueExA(key, "PATH_VIDEO", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    test::WriteFileBytes(folder / L"vh-tvm3.dat", "placeholder movie");

    Open();
    system.Answer(IDNO);
    ClickApply();
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].text + "|" + system.messages[0].title, "No Backup feature!\r\nContinue?|VH - Torv3 No Intros");
    EXPECT_EQ(system.messages[0].type, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(IsWindowVisible(hwnd) && system.ended.empty());
    EXPECT_EQ(test::ReadFileBytes(video + L"\\intel_e.bik"), "original");

    SendMessageW(window->check(2), BM_CLICK, 0, 0); // untick nVidia
    EXPECT_EQ(window->GroupValue(2), 0);
    system.Answer(IDYES);
    system.Answer(IDOK);
    ClickApply();
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brightlane\\Velomar 3", KEY_WOW64_32KEY, 0);
    ASSERT_EQ(system.messages.size(), 3u);
    EXPECT_EQ(system.messages[2].text, "Done!");
    EXPECT_EQ(window->FolderText(), video + L"\\");
    EXPECT_EQ(test::ReadFileBytes(video + L"\\intel_e.bik"), "placeholder movie");
    EXPECT_EQ(test::ReadFileBytes(video + L"\\nVid.bik"), "original");
    EXPECT_EQ(test::ReadFileBytes(video + L"\\Intr_v8_s.bik"), "placeholder movie");
    ExpectClosed();
}

TEST_F(MainWindowTest, DrawsSkinFrameArrowsLabelsAndCheckBoxesInTheirColours) {
    Open();
    const RECT menu1 = window->label(LabelId::menu1).rect;
    const RECT menu2 = window->label(LabelId::menu2).rect;
    const FilePicture skin(L"skin_complete.bmp");
    const FilePicture frames(L"skin_frames.bmp");
    const FilePicture arrows[2] = {FilePicture(L"arrow_off.bmp"), FilePicture(L"arrow_on.bmp")};
    for (int pass = 0; pass < 2; ++pass) {
        const Pixels shot = test::PrintClient(hwnd, 718, 406);
        EXPECT_EQ(shot.At(359, 2), skin.At(359, 2));
        EXPECT_EQ(shot.At(kFrame.x, kFrame.y), frames.At(kFrame.x - 13, kFrame.y - 67));
        EXPECT_EQ(shot.At(24, 103), arrows[pass].At(5, 4));
        // Main Page orange and About white; after the click the other way round.
        EXPECT_EQ(shot.Count(pass ? menu2 : menu1, kOrange) > 0, true) << pass;
        EXPECT_EQ(shot.Count(pass ? menu1 : menu2, kOrange), 0) << pass;
        EXPECT_GT(shot.Count(pass ? menu1 : menu2, kWhite), 0) << pass;
        EXPECT_GT(shot.Count(window->label(LabelId::Label3).rect, kWhite), 0);
        // The hidden labels leave the skin as it is.
        const RECT status = window->label(LabelId::statusbar).rect;
        const RECT buff = window->label(LabelId::buff).rect;
        int changed = 0;
        for (const RECT& r : {status, buff})
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    changed += shot.At(x, y) != skin.At(x, y);
        EXPECT_EQ(changed, 0);
        MoveTo(kMenu[0]);
        Click(kMenu[1]);
    }
    // The check boxes: white text on the window colour.
    const HWND box = window->check(1);
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(box)));
    EXPECT_EQ(GetTextColor(dc.get()), kWhite);
    EXPECT_EQ(GetBkColor(dc.get()), 0x493328u);
    LOGBRUSH logBrush{};
    ASSERT_TRUE(GetObjectW(brush, sizeof logBrush, &logBrush));
    EXPECT_EQ(logBrush.lbColor, 0x493328u);
    const Pixels drawn = test::PrintClient(box, 135, 16);
    EXPECT_GT(drawn.Count(RECT{0, 0, 135, 16}, kWhite), 0);
    EXPECT_GT(drawn.Count(RECT{0, 0, 135, 16}, 0x493328), 135 * 16 / 3);
}

} // namespace
} // namespace tv
