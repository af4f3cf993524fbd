// The property setters: ranges, locks, what the host is told, and the designer's messages.
#include "fake_system.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace butt::test {
namespace {

class PropertiesTest : public ::testing::Test {
  protected:
    PropertiesTest() { SetCursorPos(5, 5); }

    Butt& Make() {
        control = Butt::Create(TheForm().hwnd(), 200, {20, 20, 120, 50}, host);
        host.changed.clear();
        return *control;
    }
    // Runs `change` while designing the form and returns the messages it showed.
    template <typename F> std::vector<std::string> Designing(F change) {
        host.userMode = false;
        host.messages.clear();
        change();
        host.userMode = true;
        std::vector<std::string> texts;
        for (const auto& message : host.messages) {
            EXPECT_EQ(message.type, UINT(MB_ICONINFORMATION | MB_OK));
            texts.push_back(message.text);
        }
        return texts;
    }
    bool Changed(const std::string& key) const {
        return std::find(host.changed.begin(), host.changed.end(), key) != host.changed.end();
    }
    static PicturePtr Icon() {
        std::string error;
        return Picture::LoadResource(GetModuleHandleW(nullptr), "TEST_ICON", Picture::Kind::Icon,
                                     error);
    }
    static PicturePtr Bitmap() {
        std::string error;
        return Picture::LoadResource(GetModuleHandleW(nullptr), "TEST_BITMAP",
                                     Picture::Kind::Bitmap, error);
    }

    tv::test::FakeSystem system;
    RecordingHost host;
    std::unique_ptr<Butt> control;
};

TEST_F(PropertiesTest, NewControlStartsFromItsNameAndTheStandardColours) {
    host.name = "Command7";
    Butt& b = Make();
    EXPECT_EQ(b.Caption(), "Command7");
    EXPECT_EQ(b.CaptionAlign(), 2);
    EXPECT_TRUE(b.ShowFocusRect());
    EXPECT_EQ(b.BackColor(), kButtonFace);
    EXPECT_EQ(b.HoverBackColor(), kButtonFace);
    EXPECT_EQ(b.HoverForeColor(), kButtonText);
    EXPECT_EQ(b.ForeColor(), kButtonText);
    EXPECT_EQ(b.GradientColor(), 0);
    EXPECT_EQ(b.PictureSize(), 0);
    for (const long number :
         {b.ButtonStyle(), b.Mode(), b.CaptionStyle(), b.ButtonShape(), b.GradientMode(),
          b.HoverColorLocks(), b.PictureAlign(), b.CustomClick(), b.MousePointer()})
        EXPECT_EQ(number, 0);
    EXPECT_FALSE(b.Value());
    EXPECT_TRUE(b.Enabled());
    EXPECT_EQ(b.Picture(), nullptr);
    EXPECT_TRUE(IsWindowVisible(b.hWnd()));
    EXPECT_EQ(Butt::FromWindow(b.hWnd()), &b);
    EXPECT_EQ(Butt::FromWindow(TheForm().hwnd()), nullptr);

    // What the host heard while the control was set up.
    control.reset();
    host.changed.clear();
    control = Butt::Create(TheForm().hwnd(), 200, {20, 20, 120, 50}, host);
    EXPECT_EQ(host.changed, (std::vector<std::string>{"Caption", "CapAlign", "Focus", "cFHover",
                                                      "cBHover", "Font"}));
}

TEST_F(PropertiesTest, OutOfRangeValuesChangeNothingAndSayNothing) {
    Butt& b = Make();
    const auto messages = Designing([&] {
        b.SetButtonStyle(8);
        b.SetButtonStyle(-1);
        b.SetMode(3);
        b.SetCaptionAlign(3);
        b.SetCaptionStyle(-1);
        b.SetCustomClick(9);
        b.SetButtonShape(9);
        b.SetPictureAlign(6);
        b.SetPictureSize(5);
        b.SetPictureSize(-1);
        b.SetGradientMode(5);
    });
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_EQ(b.ButtonStyle(), 0);
    EXPECT_EQ(b.Mode(), 0);
    EXPECT_EQ(b.CaptionAlign(), 2);
    EXPECT_EQ(b.CaptionStyle(), 0);
    EXPECT_EQ(b.CustomClick(), 0);
    EXPECT_EQ(b.ButtonShape(), 0);
    EXPECT_EQ(b.PictureAlign(), 0);
    EXPECT_EQ(b.PictureSize(), 0);
    EXPECT_EQ(b.GradientMode(), 0);

    b.SetPictureSize(3);
    EXPECT_EQ(b.PictureSize(), 3);
    EXPECT_EQ(b.impl().PictureSizePixels, 40);
    EXPECT_TRUE(Changed("ImgSize"));
}

TEST_F(PropertiesTest, DesignMessagesAreShownOnlyWhileDesigning) {
    Butt& b = Make();
    // The same refusals at run time: nothing shown, nothing changed.
    b.SetValue(true);
    b.SetButtonShape(7);
    b.SetMouseIcon(Bitmap());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(b.ButtonShape(), 0);
    EXPECT_EQ(b.MouseIcon(), nullptr);

    EXPECT_EQ(
        Designing([&] { b.SetValue(true); }),
        std::vector<std::string>{"This property is not applicable for command button modes."});
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(Designing([&] { b.SetCustomClick(3); }),
              std::vector<std::string>{
                  "This property has no effect unless the Button Shape is a custom shape."});
    EXPECT_EQ(b.CustomClick(), 3); // stored all the same
    EXPECT_EQ(Designing([&] { b.SetButtonShape(8); }),
              std::vector<std::string>{"The Picture Property must be assigned first and must "
                                       "be a bitmap or JPEG."});
    EXPECT_EQ(host.messages.front().title, "VH - Torv3 No Intros");

    b.SetPicture(Icon());
    b.SetPictureAlign(4);
    EXPECT_EQ(Designing([&] { b.SetCaptionAlign(0); }),
              std::vector<std::string>{"When button images are aligned top/bottom center, \r\n"
                                       "button captions can only be center aligned"});
    EXPECT_EQ(b.CaptionAlign(), 2);
    EXPECT_EQ(Designing([&] { b.SetButtonShape(7); }).size(), 1u); // an icon cannot outline
    EXPECT_EQ(b.ButtonShape(), 0);

    EXPECT_EQ(Designing([&] { b.SetMouseIcon(Bitmap()); }),
              std::vector<std::string>{"Invalid picture"});
    EXPECT_EQ(host.messages.front().title, "Select .ico Or .cur Files Only");
    EXPECT_EQ(b.MouseIcon(), nullptr);
    EXPECT_EQ(b.MousePointer(), 0);
    b.SetMouseIcon(Icon());
    EXPECT_NE(b.MouseIcon(), nullptr);
    EXPECT_EQ(b.MousePointer(), 99); // custom

    // The focus mark of a default button while designing.
    host.displayAsDefault = true;
    host.userMode = false;
    b.AmbientChanged("displayasdefault");
    EXPECT_TRUE(b.impl().StateFlags & kShowsFocus);
    EXPECT_EQ(Designing([&] { b.SetShowFocusRect(false); }).size(), 1u);
    EXPECT_FALSE(b.ShowFocusRect());
    b.SetShowFocusRect(true);
    b.AmbientChanged("DisplayAsDefault");
    b.SetShowFocusRect(true); // at run time the mark just goes
    EXPECT_FALSE(b.impl().StateFlags & kShowsFocus);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(PropertiesTest, PictureOutlinesNeedABitmapAndTakeTheLargestSize) {
    Butt& b = Make();
    b.SetPicture(Bitmap());
    b.SetCaptionAlign(0);
    b.SetButtonShape(7);
    EXPECT_EQ(b.ButtonShape(), 7);
    EXPECT_EQ(b.PictureSize(), 4);
    EXPECT_EQ(b.CaptionAlign(), 2); // every shape centres the caption
    EXPECT_FALSE(b.impl().delayDrawing);
    EXPECT_EQ(Designing([&] { b.SetPictureSize(1); }),
              std::vector<std::string>{"The picture size cannot be changed for Shaped buttons"});
    EXPECT_EQ(b.PictureSize(), 4);

    // An icon given to an outlined button turns it back into a rectangle.
    EXPECT_EQ(Designing([&] { b.SetPicture(Icon()); }),
              std::vector<std::string>{"Icons cannot be used for custom buttons. Only use "
                                       "bitmaps or JPEGs.\r\nButton was changed to Rectangular "
                                       "shaped."});
    EXPECT_EQ(b.ButtonShape(), 0);
    b.SetPicture(Bitmap());
    b.SetButtonShape(8);
    b.SetPicture(nullptr);
    EXPECT_EQ(b.ButtonShape(), 0);
    for (long shape = 0; shape <= 6; ++shape) {
        b.SetCaptionAlign(1);
        b.SetButtonShape(shape);
        EXPECT_EQ(b.CaptionAlign(), 2);
    }
}

TEST_F(PropertiesTest, ModeAndValue) {
    Butt& b = Make();
    b.SetMode(1);
    b.SetValue(true);
    EXPECT_TRUE(b.Value());
    b.SetMode(0); // a command button has no value
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(b.Mode(), 0);
    EXPECT_TRUE(Changed("Value"));
    EXPECT_TRUE(Changed("Mode"));
}

TEST_F(PropertiesTest, FontStyleSetsAndReadsBoldItalicUnderline) {
    Butt& b = Make();
    FontDesc font;
    font.name = "Verdana";
    font.size = 10.0f;
    font.strikethrough = true;
    b.SetFont(font);
    b.SetFontStyle(14);
    EXPECT_EQ(b.FontStyle(), 14);
    EXPECT_EQ(b.Font().weight, 700);
    EXPECT_TRUE(b.Font().italic);
    EXPECT_TRUE(b.Font().underline);
    EXPECT_TRUE(b.Font().strikethrough); // not one of the style's bits
    EXPECT_EQ(b.Font().name, "Verdana");
    b.SetFontStyle(1);
    EXPECT_EQ(b.FontStyle(), 0);
    EXPECT_EQ(b.Font().weight, 400);
    b.SetFontStyle(4 | 16);
    EXPECT_EQ(b.FontStyle(), 4);
    EXPECT_TRUE(Changed("Font"));
}

TEST_F(PropertiesTest, HoverColoursFollowTheirLocks) {
    Butt& b = Make();
    // Lock 0, no gradient: the hover back colour follows BackColor.
    b.SetBackColor(0x123456);
    EXPECT_EQ(b.HoverBackColor(), 0x123456);
    EXPECT_EQ(b.HoverColorLocks(), 0);
    b.SetForeColor(0x00FF00);
    EXPECT_EQ(b.HoverForeColor(), 0x00FF00);
    EXPECT_EQ(b.HoverColorLocks(), 0);

    // A hover back colour equal to BackColor keeps the lock; another one frees it.
    b.SetHoverBackColor(0x123456);
    EXPECT_EQ(b.HoverColorLocks(), 0);
    b.SetHoverBackColor(0x0000FF);
    EXPECT_EQ(b.HoverColorLocks(), 1);
    b.SetBackColor(0x222222);
    EXPECT_EQ(b.HoverBackColor(), 0x0000FF); // free now
    b.SetForeColor(0x333333);
    EXPECT_EQ(b.HoverForeColor(), 0x333333); // the text colour still follows
    b.SetHoverForeColor(0x444444);
    EXPECT_EQ(b.HoverColorLocks(), 3);
    EXPECT_TRUE(Changed("cFHover"));
    EXPECT_TRUE(Changed("cBHover"));

    // Setting the locks re-applies them at once.
    b.SetHoverColorLocks(0);
    EXPECT_EQ(b.HoverBackColor(), 0x222222);
    EXPECT_EQ(b.HoverForeColor(), 0x333333);
    EXPECT_TRUE(Changed("LockHover"));

    // With a gradient on, the locked hover back colour follows the gradient's colour, and
    // setting BackColor keeps it locked.
    b.SetGradientColor(0x0A0B0C);
    b.SetGradientMode(2);
    EXPECT_EQ(b.HoverBackColor(), 0x0A0B0C);
    b.SetGradientColor(0x0D0E0F);
    EXPECT_EQ(b.HoverBackColor(), 0x0D0E0F);
    b.SetBackColor(0x505050);
    EXPECT_EQ(b.HoverBackColor(), 0x0D0E0F);
    EXPECT_EQ(b.HoverColorLocks(), 0);
    b.SetGradientMode(0);
    EXPECT_EQ(b.HoverBackColor(), 0x505050);
    b.SetHoverColorLocks(3);
    b.SetBackColor(0x606060);
    EXPECT_EQ(b.HoverBackColor(), 0x505050);
}

TEST_F(PropertiesTest, ResetDefaultColorsWorksOnlyWhileDesigning) {
    Butt& b = Make();
    b.SetBackColor(0x111111);
    b.SetForeColor(0x222222);
    b.SetGradientColor(0x333333);
    b.SetGradientMode(3);
    b.SetHoverColorLocks(3);
    b.SetResetDefaultColors(true);
    EXPECT_EQ(b.BackColor(), 0x111111);
    EXPECT_EQ(b.GradientMode(), 3);
    EXPECT_FALSE(b.ResetDefaultColors());

    host.changed.clear();
    EXPECT_TRUE(Designing([&] { b.SetResetDefaultColors(true); }).empty());
    EXPECT_EQ(b.BackColor(), kButtonFace);
    EXPECT_EQ(b.ForeColor(), kButtonText);
    EXPECT_EQ(b.GradientColor(), kButtonFace);
    EXPECT_EQ(b.GradientMode(), 0);
    EXPECT_EQ(b.HoverColorLocks(), 0);
    EXPECT_EQ(b.HoverBackColor(), kButtonFace);
    EXPECT_EQ(b.HoverForeColor(), kButtonText);
    EXPECT_FALSE(b.impl().delayDrawing);
    EXPECT_TRUE(Changed("cBack"));
    EXPECT_TRUE(Changed("cGradient"));
    EXPECT_FALSE(b.ResetDefaultColors());
}

TEST_F(PropertiesTest, AccessKeyComesFromTheCaption) {
    Butt& b = Make();
    const struct {
        const char* caption;
        char key; // after the caption, starting from 'Q'
    } cases[] = {
        {"&Apply", 'A'},    {"Fish && Chips", 'Q'}, {"&&&Xylophone", 'X'}, {"Trailing&", 'Q'},
        {"&a and &b", 'b'}, {"No marks", 'Q'},      {"&&", 'Q'},           {"A &&&& &B", 'B'},
    };
    for (const auto& c : cases) {
        b.SetCaption("&Q");
        b.SetCaption(c.caption);
        EXPECT_EQ(b.AccessKey(), c.key) << c.caption;
        EXPECT_EQ(b.Caption(), c.caption);
    }
}

TEST_F(PropertiesTest, HelpTextsAndDelayedDrawing) {
    EXPECT_EQ(Butt::HelpText("Caption"),
              "The caption of the button. Double pipe (||) is a line break.");
    EXPECT_EQ(Butt::HelpText("hovercolorlocks"),
              "Can ensure the hover colors match the caption and back colors. Click for more "
              "options.");
    EXPECT_EQ(Butt::HelpText("ForeColor"), "The color of the caption's font .");
    EXPECT_EQ(Butt::HelpText("hdc"), "");

    Butt& b = Make();
    b.DelayDrawing(true);
    EXPECT_TRUE(b.impl().delayDrawing);
    b.SetForeColor(0x010203); // ForeColor ends a delay by itself
    EXPECT_FALSE(b.impl().delayDrawing);
    b.DelayDrawing(true);
    b.Refresh();
    EXPECT_FALSE(b.impl().delayDrawing);
    b.DelayDrawing(true);
    SendMessageW(b.hWnd(), WM_PAINT, 0, 0); // a paint request also clears it
    EXPECT_FALSE(b.impl().delayDrawing);
}

TEST_F(PropertiesTest, EnabledReachesTheWindowAndMousePointerTheCursor) {
    Butt& b = Make();
    b.SetEnabled(false);
    EXPECT_FALSE(b.Enabled());
    EXPECT_FALSE(IsWindowEnabled(b.hWnd()));
    b.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(b.hWnd()));
    EXPECT_TRUE(Changed("Enabled"));

    b.SetMousePointer(11);
    EXPECT_EQ(b.MousePointer(), 11);
    SendMessageW(b.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b.hWnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));
    b.SetMouseIcon(Icon());
    SendMessageW(b.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b.hWnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), static_cast<HCURSOR>(b.MouseIcon()->handle()));
}

TEST_F(PropertiesTest, NewControlTakesTheFormsFontAndAmbientChanges) {
    const HWND panel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 150, 10, 200, 100,
                                       TheForm().hwnd(), nullptr, nullptr, nullptr);
    const tv::UniqueFont font(CreateFontW(-11, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE,
                                          DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    SendMessageW(panel, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    host.ambientBack = 0x00102030;
    host.userMode = false; // designing: a default button shows its focus mark when shown
    host.displayAsDefault = true;
    {
        const auto b = Butt::Create(panel, 201, {0, 0, 80, 24}, host);
        EXPECT_EQ(b->Font().name, "Arial");
        EXPECT_FLOAT_EQ(b->Font().size, 8.25f);
        EXPECT_EQ(b->Font().weight, FW_BOLD);
        EXPECT_TRUE(b->Font().italic);
        EXPECT_EQ(b->impl().ContainerBackColor, 0x00102030);
        EXPECT_TRUE(b->impl().StateFlags & kShowsFocus);
        EXPECT_EQ(b->hdc(), b->hdc()); // one lasting device context
        EXPECT_NE(b->hdc(), nullptr);

        host.ambientBack = static_cast<Color>(0x80000005); // the window colour, made plain
        b->AmbientChanged("BACKCOLOR");
        EXPECT_EQ(b->impl().ContainerBackColor, static_cast<Color>(GetSysColor(COLOR_WINDOW)));
        host.userMode = true;
        host.displayAsDefault = false;
        b->AmbientChanged("DisplayAsDefault");
        EXPECT_FALSE(b->impl().StateFlags & kShowsFocus);
    }
    DestroyWindow(panel);
}

TEST_F(PropertiesTest, AControlWhoseWindowEndedTakesSettersQuietly) {
    Butt& b = Make();
    DestroyWindow(b.hWnd()); // the form destroys its children first
    EXPECT_EQ(b.hWnd(), nullptr);
    b.SetCaption("Still here");
    b.SetMode(2);
    b.SetValue(true);
    b.SetButtonStyle(3);
    b.SetEnabled(false);
    b.Refresh();
    EXPECT_EQ(b.Caption(), "Still here");
    EXPECT_EQ(GetPropA(TheForm().hwnd(), "bt_OptCount"), nullptr); // an ended control joins nothing
    control.reset();
}

} // namespace
} // namespace butt::test
