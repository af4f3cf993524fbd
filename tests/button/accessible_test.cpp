// What a screen reader reads of the control through AccessibleObjectFromWindow, per Mode and
// state, and that its default action is a click.
#include "harness.h"

#include <oleacc.h>

namespace butt::test {
namespace {

std::wstring Read(IAccessible& object,
                  HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    VARIANT self{};
    self.vt = VT_I4;
    BSTR text = nullptr;
    (object.*get)(self, &text);
    std::wstring result = text ? text : L"-";
    SysFreeString(text);
    return result;
}

struct Row {
    long mode;
    bool value, enabled, held;
    const char* caption;
    long role, state;
    const wchar_t *name, *shortcut, *action;
};

TEST_F(ButtonTest, ScreenReadersReadRoleNameStateAndActionAndTheActionClicks) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    constexpr long F = STATE_SYSTEM_FOCUSABLE;
    const Row rows[] = {
        {0, false, true, false, "&Apply", ROLE_SYSTEM_PUSHBUTTON, F, L"Apply", L"Alt+A", L"Press"},
        {0, false, true, true, "Fish && &chips", ROLE_SYSTEM_PUSHBUTTON, F | STATE_SYSTEM_PRESSED,
         L"Fish & chips", L"Alt+C", L"Press"},
        {0, false, false, false, "Go||on", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE,
         L"Go on", L"-", L"Press"},
        {1, false, true, false, "Box", ROLE_SYSTEM_CHECKBUTTON, F, L"Box", L"-", L"Check"},
        {1, true, true, false, "Box", ROLE_SYSTEM_CHECKBUTTON, F | STATE_SYSTEM_CHECKED, L"Box",
         L"-", L"Uncheck"},
        {2, false, true, false, "&One", ROLE_SYSTEM_RADIOBUTTON, F, L"One", L"Alt+O", L"Select"},
        {2, true, true, false, "&One", ROLE_SYSTEM_RADIOBUTTON, F | STATE_SYSTEM_CHECKED, L"One",
         L"Alt+O", L"Select"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption + std::string(" mode ") + std::to_string(row.mode));
        Butt& b = Make(100, 30, row.caption);
        b.SetMode(row.mode);
        b.SetValue(row.value);
        b.SetEnabled(row.enabled);
        if (row.held)
            impl().StateFlags |= kButtonHeld;
        IAccessible* object = nullptr;
        ASSERT_EQ(S_OK, AccessibleObjectFromWindow(b.hWnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&object)));
        VARIANT self{}, role{}, state{};
        self.vt = VT_I4;
        object->get_accRole(self, &role);
        object->get_accState(self, &state);
        EXPECT_EQ(row.role, role.lVal);
        EXPECT_EQ(row.state, state.lVal);
        EXPECT_EQ(row.name, Read(*object, &IAccessible::get_accName));
        EXPECT_EQ(row.shortcut, Read(*object, &IAccessible::get_accKeyboardShortcut));
        EXPECT_EQ(row.action, Read(*object, &IAccessible::get_accDefaultAction));
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
    CoUninitialize();
}

} // namespace
} // namespace butt::test
