// What a screen reader reads of the control through AccessibleObjectFromWindow, per Mode and
// state, and that its default action is a click.
#include "harness.h"

namespace butt::test {
namespace {

struct Row {
    long mode;
    bool value, enabled, held;
    const char* caption;
    const char* read; // role 43 push button, 44 check box, 45 option button
};

TEST_F(ButtonTest, ScreenReadersReadRoleNameStateAndActionAndTheActionClicks) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    VARIANT self{};
    self.vt = VT_I4;
    const Row rows[] = {
        {0, false, true, false, "&Apply", "role 43 state 0x100000 Apply [Alt+A Press] =  | \n"},
        {0, false, true, true, "Fish && &chips",
         "role 43 state 0x100008 Fish & chips [Alt+C Press] =  | \n"}, // pressed
        {0, false, false, false, "Go||on", "role 43 state 0x1 Go on [ Press] =  | \n"},
        {1, false, true, false, "Box", "role 44 state 0x100000 Box [ Check] =  | \n"},
        {1, true, true, false, "Box", "role 44 state 0x100010 Box [ Uncheck] =  | \n"},
        {2, false, true, false, "&One", "role 45 state 0x100000 One [Alt+O Select] =  | \n"},
        {2, true, true, false, "&One", "role 45 state 0x100010 One [Alt+O Select] =  | \n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption + std::string(" mode ") + std::to_string(row.mode));
        Butt& b = Make(100, 30, row.caption);
        b.SetMode(row.mode);
        b.SetValue(row.value);
        b.SetEnabled(row.enabled);
        if (row.held)
            look().StateFlags |= kButtonHeld;
        IAccessible* object = nullptr;
        ASSERT_EQ(S_OK, AccessibleObjectFromWindow(b.hWnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&object)));
        EXPECT_EQ(tv::test::ReadAccessible(*object), row.read);
        // The action clicks as a click does: a selected option button stays silent, and a
        // disabled control refuses it.
        const bool clicks = row.enabled && !(row.mode == 2 && row.value);
        EXPECT_EQ(row.enabled, SUCCEEDED(object->accDoDefaultAction(self)));
        tv::test::PumpUntil([&] { return !log.empty(); }, clicks ? 5000 : 300);
        EXPECT_EQ(clicks ? "Click" : "", Joined(log));
        EXPECT_EQ(row.mode != 0 ? (row.value != clicks) : false, b.Value());
        log.clear();
        object->Release();
        control.reset();
    }
    // Its shortcut is the kept key; disabled after a screen reader asked for the action: no click.
    Butt& late = Make(100, 30, "&Late");
    late.SetCaption("Later");
    IAccessible* object = nullptr;
    ASSERT_EQ(S_OK, AccessibleObjectFromWindow(late.hWnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&object)));
    EXPECT_EQ(tv::test::ReadAccessible(*object),
              "role 43 state 0x100000 Later [Alt+L Press] =  | \n");
    EXPECT_EQ(object->accDoDefaultAction(self), S_OK);
    late.SetEnabled(false);
    tv::test::Pump(0); // what is posted already
    EXPECT_EQ(Joined(log), "");
    object->Release();
    CoUninitialize();
}

} // namespace
} // namespace butt::test
