// The property setters: a new control's values, ranges, hover colour locks, what the host is
// told, the designer's messages, access keys and cursors.
#include "bag_grammar.h"
#include "harness.h"

#include <algorithm>

namespace butt::test {
namespace {

class Properties : public ButtonTest {
  protected:
    // Runs `change` while the form is being designed: the one message it showed, its title
    // and first words (38 letters after the program's own title, which is left out), or "".
    std::string Designing(const std::function<void()>& change) {
        host.userMode = false;
        host.messages.clear();
        change();
        host.userMode = true;
        EXPECT_LE(host.messages.size(), 1u);
        const std::string shown = host.messages.empty() ? "" : host.messages[0].substr(0, 60);
        const std::string own = host.ApplicationTitle() + ": ";
        return shown.rfind(own, 0) == 0 ? shown.substr(own.size()) : shown;
    }
    bool Changed(const std::string& key) const {
        return std::count(host.changed.begin(), host.changed.end(), key) > 0;
    }
};

TEST_F(Properties, ANewControlStartsFromItsNameTheFormAndTheStandardColours) {
    const HWND panel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 150, 10, 200, 100,
                                       Form(), nullptr, nullptr, nullptr);
    const tv::UniqueFont font(CreateFontW(-11, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE,
                                          DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    SendMessageW(panel, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    host.name = "Command7";
    host.ambientBack = 0x00102030;
    control = Butt::Create(panel, 201, {0, 0, 80, 24}, host);
    EXPECT_EQ(host.changed, (std::vector<std::string>{"Caption", "CapAlign", "Focus", "cFHover",
                                                      "cBHover", "Font"}));
    // What it stores is what differs from the write defaults: the rest is at its default.
    PropertyBag saved;
    control->Save(saved);
    EXPECT_EQ(saved.ToText(), "_extentx = 2117\n_extenty = 635\ncaption = \"Command7\"\n"
                              "font = Font(\"Arial\", 8.25, 700, italic=True, underline=False, "
                              "strikethrough=False, charset=1)\ncgradient = &H00000000\n"
                              "mode = 0\nvalue = False\nimgsize = 0\ncback = &H8000000F\n");
    EXPECT_EQ(look().ContainerBackColor, 0x00102030);
    EXPECT_TRUE(IsWindowVisible(control->hWnd()));
    EXPECT_TRUE(Butt::FromWindow(control->hWnd()) == control.get() && !Butt::FromWindow(panel));
    control.reset();
    DestroyWindow(panel);
}

TEST_F(Properties, ValuesOutOfRangeChangeNothingAndSayNothing) {
    Butt& b = Make();
    // A setter and its getter, the lowest and highest values, and one more refused beside low - 1.
    const std::tuple<void (Butt::*)(long), long (Butt::*)() const, long, long, long> ranges[] = {
        {&Butt::SetButtonStyle, &Butt::ButtonStyle, 0, 7, 8},
        {&Butt::SetMode, &Butt::Mode, 0, 2, 3},
        {&Butt::SetCaptionAlign, &Butt::CaptionAlign, 0, 2, 3},
        {&Butt::SetCaptionStyle, &Butt::CaptionStyle, 0, 2, 3},
        {&Butt::SetCustomClick, &Butt::CustomClick, 0, 8, 9},
        {&Butt::SetButtonShape, &Butt::ButtonShape, 0, 6, 9}, // 7, 8 need a picture
        {&Butt::SetPictureAlign, &Butt::PictureAlign, 0, 5, 6},
        {&Butt::SetPictureSize, &Butt::PictureSize, 0, 4, 5},
        {&Butt::SetGradientMode, &Butt::GradientMode, 0, 4, 5}};
    for (const auto& [set, get, low, high, refused] : ranges) {
        const long was = (b.*get)();
        for (const long v : {low - 1, refused})
            EXPECT_EQ(Designing([&] { (b.*set)(v); }), "") << v;
        EXPECT_TRUE((b.*get)() == was && host.changed.empty());
        for (const long v : {high, low}) {
            (b.*set)(v);
            EXPECT_EQ((b.*get)(), v);
        }
        host.changed.clear();
    }
}

TEST_F(Properties, EveryRangeASetterTakesIsTheRangeTheStoredBagTakes) {
    Butt& b = Make();
    b.SetPicture(TestBitmap()); // so that the picture outlines, the last shapes, are taken
    const std::tuple<Prop, void (Butt::*)(long), long (Butt::*)() const> setters[] = {
        {Prop::CaptionAlign, &Butt::SetCaptionAlign, &Butt::CaptionAlign},
        {Prop::ButtonStyle, &Butt::SetButtonStyle, &Butt::ButtonStyle},
        {Prop::ButtonShape, &Butt::SetButtonShape, &Butt::ButtonShape},
        {Prop::GradientMode, &Butt::SetGradientMode, &Butt::GradientMode},
        {Prop::CaptionStyle, &Butt::SetCaptionStyle, &Butt::CaptionStyle},
        {Prop::Mode, &Butt::SetMode, &Butt::Mode},
        {Prop::CustomClick, &Butt::SetCustomClick, &Butt::CustomClick},
        {Prop::PictureAlign, &Butt::SetPictureAlign, &Butt::PictureAlign},
        {Prop::PictureSize, &Butt::SetPictureSize, &Butt::PictureSize},
        {Prop::MousePointer, &Butt::SetMousePointer, &Butt::MousePointer}};
    EXPECT_EQ(std::count_if(Rows().begin(), Rows().end(),
                            [](const PropertyRow& r) { return r.name && r.low != r.high; }),
              std::ssize(setters));
    for (const auto& [id, set, get] : setters) {
        const PropertyRow& row = RowOf(id);
        // The ends and one beyond each, high first (the last shapes end as a rectangle).
        for (const long v : {row.high, row.low, row.high + 1, row.low - 1}) {
            (b.*set)(v);
            const bool inside = v >= row.low && v <= row.high;
            EXPECT_EQ((b.*get)() == v, inside) << row.name << " " << v;
            const StoredValue stored = static_cast<std::int32_t>(StoredForm(row, v));
            EXPECT_EQ(CheckStoredValue(AsciiLower(row.key), stored).empty(), inside) << row.key;
        }
    }
}

TEST_F(Properties, DesignMessagesAreShownOnlyWhileDesigning) {
    Butt& b = Make();
    // At run time the same refusals show nothing and change nothing.
    b.SetValue(true);
    b.SetButtonShape(7);
    b.SetMouseIcon(TestBitmap());
    EXPECT_TRUE(host.messages.empty() && !b.Value() && b.ButtonShape() == 0 && !b.MouseIcon());

    EXPECT_EQ(Designing([&] { b.SetValue(true); }), "This property is not applicable for co");
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(Designing([&] { b.SetCustomClick(3); }), "This property has no effect unless the");
    EXPECT_EQ(b.CustomClick(), 3); // stored all the same
    EXPECT_EQ(Designing([&] { b.SetButtonShape(8); }), "The Picture Property must be assigned ");
    b.SetPicture(TestIcon());
    b.SetPictureAlign(4);
    EXPECT_EQ(Designing([&] { b.SetCaptionAlign(0); }), "When button images are aligned top/bot");
    EXPECT_EQ(b.CaptionAlign(), 2);
    EXPECT_EQ(Designing([&] { b.SetButtonShape(7); }), Designing([&] { b.SetButtonShape(8); }))
        << "an icon cannot outline";
    EXPECT_EQ(b.ButtonShape(), 0);
    EXPECT_EQ(Designing([&] { b.SetMouseIcon(TestBitmap()); }),
              "Select .ico Or .cur Files Only: Invalid picture");
    EXPECT_TRUE(!b.MouseIcon() && b.MousePointer() == 0);
    b.SetMouseIcon(TestIcon());
    EXPECT_TRUE(b.MouseIcon() && b.MousePointer() == 99); // custom

    // The focus mark of a default button while designing.
    host.displayAsDefault = true;
    host.userMode = false;
    b.AmbientChanged("displayasdefault");
    EXPECT_TRUE(b.impl().canvas.look.StateFlags & kShowsFocus);
    EXPECT_EQ(Designing([&] { b.SetShowFocusRect(false); }),
              "The focus rectangle may appear on defa");
    host.displayAsDefault = false;
    b.AmbientChanged("DisplayAsDefault");
    EXPECT_FALSE(b.impl().canvas.look.StateFlags & kShowsFocus);
    // Shown while designing, a default button draws its focus mark at once.
    host.displayAsDefault = true;
    Designing([&] { b.SetShowFocusRect(true); });
    host.userMode = false;
    ShowWindow(b.hWnd(), SW_HIDE);
    Show(0);
    const Pixels unmarked = Print();
    ShowWindow(b.hWnd(), SW_SHOWNA);
    EXPECT_TRUE(look().StateFlags & kShowsFocus);
    EXPECT_FALSE(Print() == unmarked);
    host.ambientBack = static_cast<Color>(0x80000005); // the window colour, made plain
    b.AmbientChanged("BACKCOLOR");
    EXPECT_EQ(b.impl().canvas.look.ContainerBackColor,
              static_cast<Color>(GetSysColor(COLOR_WINDOW)));
}

TEST_F(Properties, PictureOutlinesNeedABitmapAndTakeTheLargestSize) {
    Butt& b = Make();
    b.SetPicture(TestBitmap());
    b.SetCaptionAlign(0);
    b.SetButtonShape(7);
    EXPECT_TRUE(b.ButtonShape() == 7 && b.PictureSize() == 4 && !b.impl().canvas.delayDrawing);
    EXPECT_EQ(b.CaptionAlign(), 2); // every shape centres the caption
    EXPECT_EQ(Designing([&] { b.SetPictureSize(1); }), "The picture size cannot be changed for");
    EXPECT_EQ(b.PictureSize(), 4);
    // An icon given to an outlined button turns it back into a rectangle; so does no picture.
    EXPECT_EQ(Designing([&] { b.SetPicture(TestIcon()); }),
              "Icons cannot be used for custom button");
    EXPECT_EQ(b.ButtonShape(), 0);
    b.SetPicture(TestBitmap());
    b.SetButtonShape(8);
    b.SetPicture(nullptr);
    EXPECT_EQ(b.ButtonShape(), 0);
    b.SetCaptionAlign(1);
    b.SetPictureAlign(5); // top/bottom pictures centre the caption
    EXPECT_EQ(b.CaptionAlign(), 2);
}

TEST_F(Properties, ModeValueFontStyleEnabledAndAccessKey) {
    Butt& b = Make();
    b.SetMode(1);
    b.SetValue(true);
    EXPECT_TRUE(b.Value());
    b.SetMode(0); // a command button has no value
    EXPECT_FALSE(b.Value());
    EXPECT_TRUE(Changed("Value") && Changed("Mode"));

    b.SetFont(FontDesc{"Verdana", 10.0f, 400, false, false, true, 0});
    // A style set, as read back, and the font's weight, italic and underline.
    const std::tuple<long, long, long, bool, bool> styles[] = {
        {14, 14, 700, true, true}, {1, 0, 400, false, false}, {4 | 16, 4, 400, true, false}};
    for (const auto& [set, read, weight, italic, underline] : styles) {
        b.SetFontStyle(set);
        EXPECT_EQ(b.FontStyle(), read) << set;
        EXPECT_EQ(b.Font(), (FontDesc{"Verdana", 10.0f, weight, italic, underline, true, 0}));
    }
    b.SetFont(FontDesc{"Verdana", 10.0f, 600}); // semibold counts as bold
    EXPECT_EQ(b.FontStyle(), 2);
    EXPECT_TRUE(Changed("Font"));

    b.SetEnabled(false);
    EXPECT_FALSE(b.Enabled() || IsWindowEnabled(b.hWnd()));
    b.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(b.hWnd()) && Changed("Enabled"));

    // The access key: a caption and its key after the caption "&Q".
    const std::pair<const char*, char> captions[] = {{"&Apply", 'A'},       {"Fish && Chips", 'Q'},
                                                     {"&&&Xylophone", 'X'}, {"Trailing&", 'Q'},
                                                     {"&a and &b", 'b'},    {"No marks", 'Q'}};
    for (const auto& [caption, key] : captions) {
        b.SetCaption("&Q");
        b.SetCaption(caption);
        EXPECT_EQ(b.AccessKey(), key) << caption;
    }
}

TEST_F(Properties, HoverColoursFollowTheirLocks) {
    Butt& b = Make();
    b.SetHoverBackColor(kFace);
    host.changed.clear();
    // Each step: what is done, then the hover back and fore colours and the locks.
    const std::tuple<std::function<void()>, Color, Color, long> steps[] = {
        {[&] { b.SetBackColor(0x123456); }, 0x123456, 0, 0},
        {[&] { b.SetForeColor(0x00FF00); }, 0x123456, 0x00FF00, 0},
        {[&] { b.SetHoverBackColor(0x123456); }, 0x123456, 0x00FF00, 0}, // equal: still locked
        {[&] { b.SetHoverBackColor(0x0000FF); }, 0x0000FF, 0x00FF00, 1}, // freed
        {[&] { b.SetBackColor(0x222222); }, 0x0000FF, 0x00FF00, 1},
        {[&] { b.SetForeColor(0x333333); }, 0x0000FF, 0x333333, 1}, // the text still follows
        {[&] { b.SetHoverForeColor(0x444444); }, 0x0000FF, 0x444444, 3},
        {[&] { b.SetHoverColorLocks(0); }, 0x222222, 0x333333, 0}, // locks apply at once
        {[&] { b.SetHoverForeColor(0x555555); }, 0x222222, 0x555555, 2},
        {[&] { b.SetHoverBackColor(0x666666); }, 0x666666, 0x555555, 3},
        {[&] { b.SetHoverColorLocks(1); }, 0x666666, 0x333333, 1},
        {[&] { b.SetHoverColorLocks(2); }, 0x222222, 0x333333, 2},
        // With a gradient on, a locked hover back colour follows the gradient's colour.
        {[&] { b.SetGradientColor(0x0A0B0C); }, 0x222222, 0x333333, 2},
        {[&] { b.SetGradientMode(2); }, 0x0A0B0C, 0x333333, 2},
        {[&] { b.SetGradientColor(0x0D0E0F); }, 0x0D0E0F, 0x333333, 2},
        {[&] { b.SetBackColor(0x505050); }, 0x0D0E0F, 0x333333, 2},
        {[&] { b.SetGradientMode(0); }, 0x505050, 0x333333, 2},
        {[&] { b.SetHoverColorLocks(3); }, 0x505050, 0x333333, 3},
        {[&] { b.SetForeColor(0x707070); }, 0x505050, 0x333333, 3},
        {[&] { b.SetGradientMode(3); }, 0x505050, 0x333333, 3},
        // The colours are reset to the system's only while designing.
        {[&] { b.SetResetDefaultColors(true); }, 0x505050, 0x333333, 3},
        {[&] { EXPECT_EQ(Designing([&] { b.SetResetDefaultColors(true); }), ""); }, kButtonFace,
         kButtonText, 0},
    };
    int i = 0;
    for (const auto& [step, hoverBack, hoverFore, locks] : steps) {
        SCOPED_TRACE("step " + std::to_string(i++));
        step();
        EXPECT_EQ(b.HoverBackColor(), hoverBack);
        EXPECT_EQ(b.HoverForeColor(), hoverFore);
        EXPECT_EQ(b.HoverColorLocks(), locks);
    }
    for (const char* key :
         {"cFHover", "cBHover", "LockHover", "cBack", "cFore", "cGradient", "Gradient"})
        EXPECT_TRUE(Changed(key)) << key;
    EXPECT_TRUE(b.BackColor() == kButtonFace && b.ForeColor() == kButtonText &&
                b.GradientColor() == kButtonFace && b.GradientMode() == 0 &&
                !b.ResetDefaultColors());
}

TEST_F(Properties, MousePointersPickTheirSystemCursor) {
    Butt& b = Make();
    const auto cursorShown = [&](WORD hitTest = HTCLIENT, HWND over = nullptr) {
        SetCursor(nullptr);
        SendMessageW(b.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(over ? over : b.hWnd()),
                     MAKELPARAM(hitTest, WM_MOUSEMOVE));
        return GetCursor();
    };
    // A pointer and its system cursor; 0 and unknown values: the class cursor, an arrow.
    const std::pair<long, int> cases[] = {
        {0, 32512},  {1, 32512},  {2, 32515},  {3, 32513},  {4, 32512},  {5, 32646},
        {6, 32643},  {7, 32645},  {8, 32642},  {9, 32644},  {10, 32516}, {11, 32514},
        {12, 32648}, {13, 32650}, {14, 32651}, {15, 32646}, {16, 32512}, {99, 32512}};
    for (const auto& [pointer, cursor] : cases) {
        b.SetMousePointer(pointer);
        EXPECT_EQ(cursorShown(), LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor))) << pointer;
    }
    // Only the control's own client area takes its pointer: not its border, nor another window.
    b.SetMousePointer(11);
    const HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));
    EXPECT_NE(cursorShown(HTBORDER), wait);
    EXPECT_NE(cursorShown(HTCLIENT, GetParent(b.hWnd())), wait);
    b.SetMouseIcon(TestIcon());
    EXPECT_EQ(cursorShown(), static_cast<HCURSOR>(b.MouseIcon()->handle()));
    EXPECT_TRUE(Changed("mPointer") && Changed("mIcon"));
}

TEST_F(Properties, AControlWhoseWindowEndedTakesSettersQuietly) {
    Butt& b = Make();
    DestroyWindow(b.hWnd()); // the form destroys its children first
    b.SetCaption("Still here");
    b.SetMode(2);
    b.SetValue(true);
    b.SetButtonStyle(3);
    b.SetEnabled(false);
    b.Refresh();
    EXPECT_EQ(b.Caption(), "Still here");
    EXPECT_EQ(GetPropA(Form(), "bt_OptCount"), nullptr); // an ended control joins nothing
}

} // namespace
} // namespace butt::test
