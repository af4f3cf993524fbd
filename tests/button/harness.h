#pragma once
// What the button tests share: a host that records what the control tells it, one visible
// form for the whole run, the control's events as text in their order, input sent to it,
// pictures painted in memory, and a fixture that makes a control in plain known colours.
#include "control_record.h"
#include "fake_system.h"
#include "test_windows.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace butt::test {

using tv::test::Describe;
using tv::test::Pixels;
using tv::test::RegionRects;
using tv::test::WindowRegionRects;

class RecordingHost : public ButtHost {
  public:
    bool userMode = true;
    bool displayAsDefault = false;
    bool cancel = false;
    Color ambientBack = kButtonFace;
    std::string name = "Butt1";
    std::vector<std::string> changed;
    std::vector<std::string> messages;                                            // "title: text"
    std::function<void(const std::string&)> onChange = [](const std::string&) {}; // after `changed`

    bool UserMode() const override { return userMode; }
    bool DisplayAsDefault() const override { return displayAsDefault; }
    bool IsCancelButton() const override { return cancel; }
    Color AmbientBackColor() const override { return ambientBack; }
    std::string DisplayName() const override { return name; }
    std::string ApplicationTitle() const override { return "VH - Torv3 No Intros"; }
    void PropertyChanged(const std::string& key) override {
        changed.push_back(key);
        onChange(key);
    }
    int ShowMessage(const std::string& text, const std::string& title, UINT type) override {
        EXPECT_EQ(type, UINT(MB_ICONINFORMATION | MB_OK)) << text;
        messages.push_back(title + ": " + text);
        return IDOK;
    }
};

// One visible top-level window for the whole run (hiding an active window would wait for a
// window manager), and the key-down messages that reach it since the last Form().
HWND Form();
struct FormKey {
    WPARAM code;
    LPARAM data;
};
const std::vector<FormKey>& FormKeys();

// Every event of `control` as a word: "Down1" (left press at 10, 5), "Up2s1@300,5" (right
// release with shift at 300, 5), "KeyDown32", "KeyPress97", "Click", "Double1", "Enter" and
// "Leave" (MouseOnButton).
void Record(Butt& control, std::vector<std::string>& log);
std::string Joined(const std::vector<std::string>& log);

void Mouse(const Butt& control, UINT message, int x = 10, int y = 5, WPARAM keys = 0);
void Key(const Butt& control, UINT message, WPARAM key);

// A colour as the control stores it, 0x00BBGGRR.
constexpr Color Rgb(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}
// A bitmap picture painted by `paint`(x, y) -> colour.
PicturePtr MakePicture(int width, int height, const std::function<Color(int, int)>& paint);
// The bytes of a 24-bit BMP file painted the same way.
std::string BmpFile(int width, int height, const std::function<Color(int, int)>& paint);
// The test program's icon and bitmap resources (button_tests.rc).
PicturePtr TestIcon();
PicturePtr TestBitmap();
// The bytes of a resource of the test program, such as the APPLY button's stored properties
// ("APPLY_BUTTON", RT_RCDATA), embedded as the program embeds them.
std::string ResourceBytes(LPCSTR name, LPCSTR type);

class ButtonTest : public ::testing::Test {
  protected:
    ButtonTest() { SetCursorPos(5, 5); } // off the form: no hover unless a test asks for it

    // A new control on the form at (20, 20), in plain colours that no scheme changes.
    Butt& Make(int width = 100, int height = 30, const std::string& caption = "");
    Butt::Impl& impl() { return control->impl(); }
    Canvas& canvas() { return impl().canvas; }
    Look& look() { return impl().canvas.look; }
    // Sets the state fields that the input code keeps, then redraws.
    void Show(int stateFlags, bool hovering = false, bool pressed = false);
    // What the control paints into any DC (WM_PRINTCLIENT); magenta where it paints nothing.
    Pixels Print();

    static constexpr Color kFace = 0x00B0C8D8;
    tv::test::FakeSystem system;
    RecordingHost host;
    std::unique_ptr<Butt> control;
    std::vector<std::string> log;
};

} // namespace butt::test
