// What a screen reader reads of the real main window, and the events it is told of.
#include "accessible_object.h"
#include "main_window_fixture.h"

#include <oleacc.h>

#include <tuple>

namespace tv::test {
namespace {

// The client object's win events: event, window, child.
std::vector<std::tuple<DWORD, HWND, LONG>> events;
void CALLBACK SeeEvent(HWINEVENTHOOK, DWORD event, HWND to, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT)
        events.emplace_back(event, to, child);
}

// The tree a screen reader reads: the window by its title with the page shown and the hint,
// the menu entries as its first children with their keys and actions, the three groups by
// their names, and APPLY as a push button with its hint as the description.
TEST_F(MainWindowTest, ScreenReadersReadTheWindowItsMenuTheGroupsAndApply) {
    Open();
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    const auto read = [&](HWND element, long children) {
        IAccessible* node = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(element, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&node)),
                  S_OK);
        std::string text;
        for (long id = 0; node && id <= children; ++id)
            text += test::ReadAccessible(*node, id);
        return std::pair(text, node);
    };
    auto [tree, root] = read(hwnd, 4);
    ASSERT_TRUE(root);
    long children = 0;
    EXPECT_EQ(root->get_accChildCount(&children), S_OK);
    EXPECT_EQ(children, 8) << "four menu entries, three groups and APPLY";
    EXPECT_EQ(
        tree.substr(tree.find('\n') + 1),
        "role 37 state 0x200002 Main Page [Alt+M Switch] =  | Things that this baby can do "
        ":)\n"
        "role 37 state 0x200000 About [Alt+A Switch] =  | Show credits and other "
        "informations.\n"
        "role 37 state 0x200000 Contact [Alt+C Switch] =  | Write us an e-mail or visit our "
        "website/forum\n"
        "role 43 state 0x0 Exit [Alt+X Press] =  | Tired or wired? Press this to exit app.\n");
    for (HWND element :
         {window->check(1), window->check(2), window->check(3), window->apply()->hWnd()})
        tree += read(element, 0).first;
    // Wine's proxy reads the system's check boxes as plain clients: only their names count.
    for (const char* part :
         {"VARNHOLT crew - Torv Velomar 3 No Intros [ ] = Main Page | Welcome!\n",
          "Pentium X (all lang) [", "nVidia [", "Trailer (all) [",
          "role 43 state 0x100000 APPLY [ Press] =  | Replace the ticked"})
        EXPECT_NE(tree.find(part), std::string::npos) << part << " in\n" << tree;

    // What changes is announced (in the order Wine delivers it, with its own focus event):
    // the hint, the page (the entries' states), and APPLY's name,
    // state and focus.
    events.clear();
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, SeeEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    Click(kMenu[2]);
    window->apply()->SetCaption("APPLY!");
    SetFocus(window->apply()->hWnd());
    window->apply()->SetEnabled(false);
    const auto said = [&] { // event, window (main, APPLY), child
        std::string text;
        for (const auto& [event, to, child] : events)
            text += std::to_string(event - EVENT_OBJECT_FOCUS) +
                    (to == hwnd                      ? "m"
                     : to == window->apply()->hWnd() ? "a"
                                                     : "?") +
                    std::to_string(child) + " ";
        return text;
    };
    // The About entry's action is its click, hint included; the window then reads the new page.
    VARIANT about{};
    about.vt = VT_I4, about.lVal = 2;
    long x = 0, y = 0, w = 0, h = 0; // its place is its label's, on the screen
    EXPECT_EQ(root->accLocation(&x, &y, &w, &h, about), S_OK);
    POINT at{x, y};
    ScreenToClient(hwnd, &at);
    EXPECT_EQ(test::Describe({{at.x, at.y, at.x + w, at.y + h}}),
              test::Describe({window->label(LabelId::menu2).rect}));
    EXPECT_EQ(root->accDoDefaultAction(about), S_OK);
    EXPECT_TRUE(test::PumpUntil([&] { return Page().substr(0, 4) == "-#--"; }));
    const std::string expected = "8m0 5m1 5m3 7a0 5a0 0a0 0a0 5a0 5a0 8m0 5m3 5m2 8m0 ";
    test::PumpUntil([&] { return said() == expected; });
    UnhookWinEvent(hook);
    EXPECT_EQ(said(), expected) << "hint, page, APPLY's name, focus, focused and disabled, then "
                                   "About's hint, page and text";
    EXPECT_EQ(test::ReadAccessible(*root).substr(test::ReadAccessible(*root).find("] = ")),
              "] = About | Torv Velomar 3 No Intros, made by the VARNHOLT crew.\r\nRead "
              "VARNHOLT.nfo for additional info and help\n");
    EXPECT_EQ(test::ReadAccessible(*root, 2).substr(0, 22), "role 37 state 0x200082")
        << "selected, hot";
    // A proxy that numbers its children, as Windows' does: its numbers follow the entries.
    struct NumberingProxy : AccessibleObject {
        using AccessibleObject::AccessibleObject;
        HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* v) override { return Number(1, v); }
        HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT* v) override {
            return Number(2, v);
        }
        HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* v) override {
            return Number(3, v);
        }
    };
    root->AddRef();
    AccessibleObject* object = window->AccessibleOver(new NumberingProxy(hwnd, root));
    VARIANT ids[3]{};
    about.lVal = 5; // the first group
    object->get_accFocus(&ids[0]), object->accHitTest(0, 0, &ids[1]);
    object->accNavigate(NAVDIR_NEXT, about, &ids[2]);
    EXPECT_EQ(ids[0].lVal * 100 + ids[1].lVal * 10 + ids[2].lVal, 567) << "focus, hit, next";
    object->Release();
    root->Release();
    CoUninitialize();
}

} // namespace
} // namespace tv::test
