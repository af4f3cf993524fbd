#pragma once
// The real main window in this process, with the system seam faked, for the window's tests.
#include "fake_system.h"
#include "main_window.h"
#include "temp_folder.h"
#include "test_windows.h"

#include <gtest/gtest.h>

#include <string>

namespace tv::test {

// Client points inside the window's parts.
inline constexpr POINT kMenu[4] = {{60, 103}, {60, 119}, {60, 135}, {60, 151}};
inline constexpr POINT kLinks[3] = {{60, 250}, {60, 265}, {60, 280}}; // e-mail, website, forum
inline constexpr COLORREF kOrange = 0x2175F8, kWhite = 0xFFFFFF;

// A picture file of the program's art.
inline PictureFile Art(const wchar_t* name) {
    return PictureFile(std::wstring(TV_SOURCE_DIR L"/assets/") + name);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void Open(const std::wstring& subfolder = L"") {
        program = subfolder.empty() ? folder.path() : folder / subfolder;
        CreateDirectoryW(program.c_str(), nullptr);
        test::WriteFileBytes(program + L"\\VARNHOLT.nfo", "crew info\r\n");
        const MainWindowOptions options{GetModuleHandleW(nullptr), program, false};
        std::string error;
        window = MainWindow::Create(options, error);
        ASSERT_TRUE(window) << error;
        hwnd = window->hWnd();
    }
    void Send(UINT message, POINT p, WPARAM keys = 0, HWND to = nullptr) {
        SendMessageW(to ? to : hwnd, message, keys, MAKELPARAM(p.x, p.y));
    }
    void Click(POINT p, HWND to = nullptr) {
        Send(WM_MOUSEMOVE, p, 0, to);
        Send(WM_LBUTTONDOWN, p, MK_LBUTTON, to);
        Send(WM_LBUTTONUP, p, 0, to);
    }
    void Tick() { SendMessageW(hwnd, WM_TIMER, 1, 0); }
    // The page shown: the coloured menu entry ('#'), the labels shown ('L') and the arrows
    // shown ('a') and lit ('*').
    std::string Page() const {
        std::string page;
        for (LabelId id : {LabelId::menu1, LabelId::menu2, LabelId::menu3, LabelId::menu4})
            page += window->label(id).color == kOrange  ? '#'
                    : window->label(id).color == kWhite ? '-'
                                                        : '?';
        for (LabelId id : {LabelId::feature, LabelId::about_lbl, LabelId::Email, LabelId::Website,
                           LabelId::Forum, LabelId::statusbar, LabelId::buff})
            page += window->label(id).visible ? 'L' : '.';
        for (size_t i = 0; i < static_cast<size_t>(ArrowId::Count); ++i) {
            const Arrow& arrow = window->arrow(static_cast<ArrowId>(i));
            page += arrow.visible ? (arrow.lit ? '*' : 'a') : '.';
        }
        return page;
    }
    std::string Notepad() const {
        return "C:\\windows\\Notepad.exe " + test::Utf8(program) + "\\VARNHOLT.nfo";
    }

    test::FakeSystem system;
    test::TempFolder folder;
    std::wstring program; // the program's folder
    std::unique_ptr<MainWindow> window;
    HWND hwnd = nullptr;
};

} // namespace tv::test
