// The real main window in this process, with the system seam faked: start-up, pages, hover
// hints, hotkeys, links, the closing sequence, the outline and what the window draws.
#include "main_window_fixture.h"
#include "program.h"
#include "skin_region.h"
#include "system_function.h"
#include "transparency.h"

#include <cinttypes>
#include <cstdio>
#include <functional>

namespace tv::test {
namespace {

// Client points inside the window's parts that only these tests use.
constexpr POINT kTitle{300, 54}, kFrame{413, 267}, kHintText{150, 330}, kArrow{23, 103},
    kFooter{359, 385};
constexpr COLORREF kWindowColor = 0x493328;

std::vector<WPARAM> captionPresses;
LRESULT CALLBACK SeeCaptionPresses(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_NCLBUTTONDOWN)
        captionPresses.push_back(sent->wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A top-level window of this class made by this test program: the tool itself may be running
// in the same Wine prefix.
bool OwnWindowOfClass(const wchar_t* name) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, name, nullptr));) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId())
            return true;
    }
    return false;
}

TEST_F(MainWindowTest, StartsFadedInTo240InTheSkinsOutlineOnTheMainPage) {
    const long before = LiveGdiObjects();
    Open();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE) << "COM, in STA";
    EXPECT_TRUE(IsWindowVisible(hwnd) && IsWindowEnabled(hwnd));
    EXPECT_EQ(Get_Alpha(hwnd), 240);
    const auto placeOf = [&](HWND child) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        wchar_t text[64] = {};
        GetWindowTextW(child, text, 64);
        return test::Describe({r}) + test::Utf8(text);
    };
    EXPECT_EQ(placeOf(hwnd), "(0,0,718,406) VARNHOLT crew - Torv Velomar 3 No Intros");
    EXPECT_EQ(window->label(LabelId::feature).text, L"Welcome!");
    EXPECT_EQ(Page(), "#---LL.....aaaa...");
    { // the outline is the skin's non-magenta pixels
        const UniqueRegion expected =
            RegionFromBitmap(Art(L"skin_complete.bmp").get(), RGB(255, 0, 255));
        UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(GetWindowRgn(hwnd, outline.get()), COMPLEXREGION);
        EXPECT_TRUE(EqualRgn(outline.get(), expected.get()));
    }
    const char* boxes[3] = {"(242,122,377,138) Pentium X (all lang)", "(242,143,302,159) nVidia",
                            "(242,164,330,180) Trailer (all)"};
    for (int group = 1; group <= 3; ++group) {
        EXPECT_EQ(placeOf(window->check(group)), boxes[group - 1]);
        EXPECT_EQ(GetWindowLongPtrW(window->check(group), GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP),
                  BS_AUTOCHECKBOX | WS_TABSTOP);
        EXPECT_EQ(window->GroupValue(group), 1);
    }
    EXPECT_EQ(window->GroupValue(0) + window->GroupValue(4), 0);
    SendMessageW(window->check(2), BM_CLICK, 0, 0);
    EXPECT_EQ(window->GroupValue(2), 0);
    // APPLY is the button loaded from its stored properties.
    EXPECT_EQ(placeOf(window->apply()->hWnd()), "(621,324,697,348) ");
    EXPECT_EQ(window->apply()->Caption() + window->apply()->Font().name, "APPLYVerdana");
    std::string labels;
    for (LabelId id : {LabelId::Title, LabelId::menu4, LabelId::feature, LabelId::Label2,
                       LabelId::Label3, LabelId::buff})
        labels += test::Describe({window->label(id).rect});
    EXPECT_EQ(labels, "(16,46,705,63) (34,145,206,158) (23,243,205,345) (241,98,397,112) "
                      "(243,328,507,342) (669,378,708,398) ");
    EXPECT_TRUE(system.messages.empty() && system.started.empty());

    // A life of moves, clicks and redraws leaves no drawing objects behind.
    for (POINT p : {kMenu[0], kMenu[1], kMenu[2], kMenu[3], kFrame})
        Send(WM_MOUSEMOVE, p);
    Click(kMenu[2]);
    Click(kMenu[0]);
    for (int i = 0; i < 20; ++i)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    window.reset();
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(MainWindowTest, MenuEntriesSwitchPagesAndHoverWritesHints) {
    Open();
    const std::wstring exit = L"Tired or wired? Press this to exit app.";
    const std::wstring main = L"Things that this baby can do :)";
    const std::wstring about = L"Show credits and other informations.";
    const std::wstring contact = L"Write us an e-mail or visit our website/forum";
    const struct {
        std::vector<POINT> moves;
        std::vector<POINT> clicks;
        std::string page;
        std::wstring hint;
        size_t notepads;
    } steps[] = {
        {{kMenu[3]}, {}, "#---LL.....aaa*...", exit, 0},
        {{kMenu[2], kHintText, kArrow}, {}, "#---LL.....aa**...", contact, 0}, // no handlers
        {{kFrame}, {}, "#---LL.....aaaa...", L"Welcome!", 0},
        {{}, {kMenu[1]}, "-#--.L.....a*aa...", about, 1},
        {{}, {kMenu[2]}, "--#-..LLL..a**aaaa", contact, 1},
        {{kLinks[0], kLinks[2]}, {}, "--#-..LLL..a**a*a*", contact, 1},
        {{kMenu[3]}, {}, "--#-..LLL..a****a*", exit, 1},
        {{}, {kMenu[0]}, "#---L......****...", main, 1},
        {{}, {kMenu[1]}, "-#--.L.....****...", about, 2},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        for (POINT p : steps[i].moves)
            Send(WM_MOUSEMOVE, p);
        for (POINT p : steps[i].clicks)
            Click(p);
        EXPECT_EQ(Page(), steps[i].page) << "step " << i;
        EXPECT_EQ(window->label(LabelId::feature).text, steps[i].hint) << "step " << i;
        EXPECT_EQ(system.started.size(), steps[i].notepads) << "step " << i;
    }
    // The entries' access keys, in either case, choose them as a click does, hint included.
    const std::tuple<wchar_t, const char*, std::wstring> keys[] = {
        {L'c', "--#-", contact}, {L'M', "#---", main}, {L'a', "-#--", about}};
    for (const auto& [key, page, hint] : keys) {
        MSG message{hwnd, WM_SYSCHAR, key, 0, 0, {}};
        EXPECT_TRUE(window->TranslateKeyboard(message)) << char(key);
        EXPECT_EQ(Page().substr(0, 4), page) << char(key);
        EXPECT_EQ(window->label(LabelId::feature).text, hint) << char(key);
    }
    MSG elsewhere{GetDesktopWindow(), WM_SYSCHAR, L'm', 0, 0, {}}; // another window's key
    EXPECT_FALSE(window->TranslateKeyboard(elsewhere));
    EXPECT_EQ(Page().substr(0, 4), "-#--");
    // The hint box follows the keyboard focus as Tab moves it: to APPLY, then round to the
    // first group.
    SetFocus(window->check(3));
    for (const wchar_t* hint : {L"Replace the ticked movies with the placeholder.",
                                L"Silence the Pentium X sponsor movies."}) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(window->TranslateKeyboard(tab));
        EXPECT_EQ(window->label(LabelId::feature).text, hint);
    }
    // The access keys are drawn underlined: DrawText's prefix form of the entry's text.
    EXPECT_EQ(WithAccessMarker(L"Exit", L'X') + L"|" + WithAccessMarker(L"R&D m", L'M') + L"|" +
                  WithAccessMarker(L"abc", L'Z'),
              L"E&xit|R&&D &m|abc");
    // A click needs its press and release on the same entry.
    Send(WM_LBUTTONDOWN, kMenu[2], MK_LBUTTON);
    Send(WM_LBUTTONUP, kMenu[3]);
    EXPECT_EQ(Page(), "-#--.L.....****...");
    EXPECT_EQ(system.started.back(), Notepad());
    EXPECT_TRUE(system.shellCalls.empty() && system.ended.empty());
}

TEST_F(MainWindowTest, LinksGoToTheShellAndDragSurfacesToTheMoveLoop) {
    Open(L"\u0416\u0443\u043a \u6e38\u620f"); // outside the ANSI code page
    Click(kMenu[2]);
    for (POINT link : kLinks)
        Click(link);
    Click(kMenu[0]);
    Click(kLinks[0]); // hidden links take no clicks
    EXPECT_EQ(system.shellCalls,
              (std::vector<std::string>{
                  "Open|mailto:crew@varnholt.example||" + test::Utf8(program) + "|1",
                  "(null)|http://www.varnholt.example/|(null)|C:\\|1",
                  "(null)|http://www.varnholt.example/forum.php|(null)|C:\\|1"}));

    // The move loop starts for title, frame and footer, only with the left button down.
    const HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, SeeCaptionPresses, nullptr, GetCurrentThreadId());
    for (const bool down : {false, true})
        for (POINT p : {kTitle, kFrame, kFooter, kMenu[0], kHintText}) {
            if (down)
                system.PressKey(VK_LBUTTON);
            PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); // ends the move loop
            Send(WM_MOUSEMOVE, p);
            MSG stale;
            while (PeekMessageW(&stale, hwnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
            }
        }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(captionPresses, (std::vector<WPARAM>(3, HTCAPTION)));
}

TEST_F(MainWindowTest, F1OpensTheInfoFileOncePerPressWhenThereIsOne) {
    Open(L"\u0416\u0443\u043a \u00dcberholen"); // outside the ANSI code page
    system.PressKey(VK_F1), Tick(), Tick(), Tick();
    EXPECT_EQ(system.started.size(), 1u) << "held: one Notepad";
    system.ReleaseKey(VK_F1), Tick(), system.PressKey(VK_F1), Tick();
    EXPECT_EQ(system.started.size(), 2u) << "let go and pressed again";
    // Pressed and let go before the last poll, maybe long ago in another program: no press.
    system.ReleaseKey(VK_F1), system.taps = {VK_F1, VK_ESCAPE}, Tick(), Tick();
    EXPECT_EQ(system.started.size(), 2u);
    EXPECT_EQ(system.started.back(), Notepad());

    // Escape while a message box is up (the timer ticks inside it) is the box's, also when
    // it is still down after the box closed.
    system.failStarts = true;
    system.Answer(IDOK);
    system.whileShown = [&] { system.PressKey(VK_ESCAPE), Tick(); };
    system.PressKey(VK_F1);
    Tick();
    system.whileShown = [] {};
    EXPECT_EQ(system.Said(), "VH - Torv3 No Intros|0|Notepad could not be started to show the "
                             "info file:\r\n" +
                                 test::Utf8(program) +
                                 "\\VARNHOLT.nfo\r\n\r\nOpen it with any text editor.\n");
    system.ReleaseKey(VK_F1), Tick(), Tick();
    EXPECT_TRUE(system.ended.empty()) << "the box took Escape";
    DeleteFileW((program + L"\\VARNHOLT.nfo").c_str()); // no info file: F1 and About do nothing
    system.PressKey(VK_F1), system.ReleaseKey(VK_ESCAPE), Tick();
    Click(kMenu[1]);
    EXPECT_EQ(system.started.size(), 3u);
    system.PressKey(VK_ESCAPE), Tick();
    EXPECT_EQ(system.ended, std::vector<UINT>{0}) << "a new Escape, with no box up";
}

TEST_F(MainWindowTest, EnterHeldPressesApplyOnceAndNoIsTheDefaultAnswer) {
    Open(); // with no game in the registry: a Yes leads to the report that it is not there
    const auto enter = [&](UINT message, LPARAM data, int times = 1) {
        for (MSG key{hwnd, message, VK_RETURN, data, 0, {}}; times-- > 0;)
            EXPECT_TRUE(window->TranslateKeyboard(key));
    };
    system.Answer(IDNO);
    enter(WM_KEYDOWN, 0x001C0001), enter(WM_KEYDOWN, 0x401C0001, 40); // fresh, then repeats
    EXPECT_TRUE(system.messages.empty()) << "pressed, not yet clicked";
    enter(WM_KEYUP, static_cast<LPARAM>(0xC01C0001));
    EXPECT_EQ(system.Said(), "VH - Torv3 No Intros|260|No Backup feature!\r\nContinue?\n");
    system.Answer(IDYES), system.Answer(IDOK); // the report, closed by Enter's next key-down
    enter(WM_KEYDOWN, 0x001C0001), enter(WM_KEYUP, static_cast<LPARAM>(0xC01C0001));
    enter(WM_KEYDOWN, 0x401C0001, 40), enter(WM_KEYUP, static_cast<LPARAM>(0xC01C0001));
    EXPECT_TRUE(system.messages.size() == 3 && system.AllAnswersUsed() && system.ended.empty());
}

TEST_F(MainWindowTest, EveryWayOutRunsTheOneClosingSequenceOnce) {
    const std::function<void()> ways[] = {
        [this] { Tick(); }, // Escape
        [this] { Click(kMenu[3]); },
        [this] { SendMessageW(hwnd, WM_CLOSE, 0, 0); },
        [this] { // the end of a successful patch
            test::SetGameFolder(program);
            CreateDirectoryW((program + L"\\video").c_str(), nullptr);
            test::WriteFileBytes(program + L"\\vh-tvm3.dat", "placeholder");
            system.Answer(IDYES), system.Answer(IDOK);
            Click({10, 5}, window->apply()->hWnd());
        },
    };
    for (const auto& way : ways) {
        Open();
        // Escape held and Alt+F4 during the fade: a tick and a close that its own pump delivers.
        system.PressKey(VK_ESCAPE);
        PostMessageW(hwnd, WM_TIMER, 1, 0);
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        way();
        system.ReleaseKey(VK_ESCAPE);
        MSG close;
        EXPECT_FALSE(PeekMessageW(&close, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "not delivered";
        EXPECT_EQ(system.ended, std::vector<UINT>{0}) << "ended once, with code 0";
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "COM ended before it";
        CoUninitialize();
        EXPECT_FALSE(IsWindowVisible(hwnd));
        EXPECT_EQ(Get_Alpha(hwnd), 0);
        EXPECT_TRUE(IsWindow(hwnd)) << "the process ends without unloading the window";
        window.reset();
        system.ended.clear();
    }
    test::SetGameFolder(std::nullopt);
}

TEST_F(MainWindowTest, AStartUpErrorIsShownBeforeTheProgramEndsAndDllsComeFromTheSystem) {
    // tvplanted.dll lies beside the test as a planted DLL would beside the program.
    EXPECT_FALSE(SystemFunction<FARPROC>(L"tvplanted.dll", "Planted"));
    EXPECT_TRUE(SystemFunction<FARPROC>(L"shell32.dll", "ShellExecuteW"));
    // A module with none of the window's pictures, and a build whose shipped APPLY bag holds
    // a value that the button cannot take.
    const std::pair<HMODULE, std::string> builds[] = {
        {GetModuleHandleW(L"kernel32.dll"),
         "The window's skin pictures are missing from the program."},
        {LoadLibraryW(TV_FAULTY_BAG_MODULE), "The APPLY button's stored properties cannot be read: "
                                             "line 6, key \"capalign\": 7 is outside 0 to 2"}};
    for (const auto& [module, said] : builds) {
        MainWindowOptions options;
        options.instance = module;
        system.Answer(IDOK);
        EXPECT_EQ(RunProgram(options), 1);
        EXPECT_EQ(system.Said(), "VH - Torv3 No Intros|0|" + said + "\n");
        EXPECT_FALSE(system.messages.at(0).quitPending) << "a pending quit closes the box at once";
        EXPECT_FALSE(OwnWindowOfClass(L"VarnholtTorv3NoIntros"));
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        system.messages.clear();
    }
    EXPECT_FALSE(LoadLibraryW(L"tvplanted.dll")) << "the start leaves only the system folder";
    // A class that is gone is registered again.
    ASSERT_TRUE(UnregisterClassW(L"VarnholtTorv3NoIntros", GetModuleHandleW(nullptr)));
    Open();
}

TEST_F(MainWindowTest, DrawsSkinFrameArrowsLabelsAndCheckBoxesInTheirColours) {
    Open();
    const auto skin = Art(L"skin_complete.bmp");
    const auto frames = Art(L"skin_frames.bmp");
    const test::PictureFile arrows[2] = {Art(L"arrow_off.bmp"), Art(L"arrow_on.bmp")};
    const RECT menu[2] = {window->label(LabelId::menu1).rect, window->label(LabelId::menu2).rect};
    for (int pass = 0; pass < 2; ++pass) { // Main Page, then About after its click
        const test::Pixels shot = test::PrintClient(hwnd, 718, 406);
        EXPECT_EQ(shot.At(359, 2), skin.At(359, 2));
        EXPECT_EQ(shot.At(kFrame.x, kFrame.y), frames.At(kFrame.x - 13, kFrame.y - 67));
        EXPECT_EQ(shot.At(24, 103), arrows[pass].At(5, 4));
        EXPECT_GT(shot.Count(menu[pass], kOrange), 0) << pass;
        EXPECT_EQ(shot.Count(menu[1 - pass], kOrange), 0) << pass;
        EXPECT_GT(shot.Count(menu[1 - pass], kWhite), 0) << pass;
        EXPECT_GT(shot.Count(window->label(LabelId::Label3).rect, kWhite), 0);
        int changed = 0; // the hidden labels leave the skin as it is
        for (LabelId id : {LabelId::statusbar, LabelId::buff}) {
            const RECT r = window->label(id).rect;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    changed += shot.At(x, y) != skin.At(x, y);
        }
        EXPECT_EQ(changed, 0);
        Send(WM_MOUSEMOVE, kMenu[0]);
        Click(kMenu[1]);
    }
    // The check boxes: white text on the window colour (the window answers their colour query).
    const test::Pixels box = test::PrintClient(window->check(1), 135, 16);
    EXPECT_GT(box.Count(RECT{0, 0, 135, 16}, kWhite), 0);
    EXPECT_GT(box.Count(RECT{0, 0, 135, 16}, kWindowColor), 135 * 16 / 3);
}

// Each page as the player sees it, pixel for pixel: skin, labels, arrows, hint and texts where
// they stand. After looking at a changed window (tools/screenshots.py), approve the lines this
// test prints in tests/app/approved_pages.txt.
TEST_F(MainWindowTest, EveryPageLooksAsApproved) {
    auto approved = tv::test::ReadApproved(TV_APPROVED_PAGES);
    ASSERT_FALSE(approved.empty()) << "cannot read " << TV_APPROVED_PAGES;
    Open();
    const std::pair<const char*, std::function<void()>> views[] = {
        {"main page", [] {}},
        {"main page, Exit under the pointer", [&] { Send(WM_MOUSEMOVE, kMenu[3]); }},
        {"about", [&] { Click(kMenu[1]); }},
        {"contact, Website under the pointer",
         [&] { Click(kMenu[2]), Send(WM_MOUSEMOVE, kLinks[1]); }},
    };
    EXPECT_EQ(approved.size(), std::size(views)) << "every view is approved, once";
    std::string seen;
    for (const auto& [name, show] : views) {
        show();
        char actual[17];
        std::snprintf(actual, sizeof actual, "%016" PRIx64,
                      test::PrintClient(hwnd, kClientWidth, kClientHeight).Fingerprint());
        EXPECT_EQ(approved[name], actual) << name;
        seen += std::string(actual) + " " + name + "\n";
    }
    if (HasFailure())
        std::printf("The views as they are now:\n%s", seen.c_str());
}

} // namespace
} // namespace tv::test
