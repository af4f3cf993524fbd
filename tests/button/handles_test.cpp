// The process's GDI and USER objects end where they started after long runs of redraws,
// controls made and ended, and bag loads with pictures.
#include "harness.h"

#include <tuple>

namespace butt::test {
namespace {

struct GuiObjects {
    long gdi = 0, user = 0;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<long*>(count);
        EnumChildWindows(window, CountWindow, count);
    }
    return TRUE;
}

// What GetGuiResources counts. Wine's GetGuiResources counts nothing, so there the live
// entries of its handle tables are counted instead: Wine takes a handle without its upper
// word as the entry of that index. Windows (also message-only ones) are enumerated.
GuiObjects CountGuiObjects() {
    if (const long gdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)))
        return {gdi, static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
    GuiObjects count;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count.user));
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr));)
        CountWindow(w, reinterpret_cast<LPARAM>(&count.user));
    for (UINT_PTR index = 0x20; index < 0x10000; index += 2) {
        ICONINFO icon{}; // its bitmaps are copies made for the caller
        count.user += IsMenu(reinterpret_cast<HMENU>(index)) ||
                      GetIconInfo(reinterpret_cast<HICON>(index), &icon);
        DeleteObject(icon.hbmColor);
        DeleteObject(icon.hbmMask);
    }
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        count.gdi += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) ? 1 : 0;
    return count;
}

// The APPLY button (a gradient style) with a picture for its face and outline and an icon
// for its mouse pointer.
std::string FullBag(const char* image) {
    return ResourceBytes("APPLY_BUTTON", RT_RCDATA) + "image = Picture(" + image +
           ")\nshape = 8\n" + "micon = Picture(resource icon \"TEST_ICON\")\n";
}

class Handles : public ButtonTest {};

TEST_F(Handles, LongRunsEndWithTheObjectsTheyStartedWith) {
    const std::string bag = FullBag("resource bitmap \"TEST_BITMAP\"");
    const auto loadFull = [&]() -> Butt& {
        control = Butt::Load(Form(), 1, {20, 20, 120, 50}, host, *PropertyBag::Read(bag).bag);
        return *control;
    };
    const GuiObjects empty = CountGuiObjects();
    ASSERT_TRUE(loadFull().Picture() && control->MouseIcon() && control->ButtonShape() == 8);
    const GuiObjects live = CountGuiObjects();
    EXPECT_TRUE(live.gdi > empty.gdi && live.user > empty.user) << "the count sees a control";
    control.reset();

    const PicturePtr picture = TestBitmap();
    const int states[] = {0, kShowsFocus, kPointerInside, kButtonHeld,
                          kButtonHeld | kPointerInside};
    const std::tuple<const char*, int, std::function<void(int)>> cases[] = {
        {"redraws in every style, state, shape, size and font", 10000,
         [&](int i) {
             Butt& b = i == 0 ? loadFull() : *control;
             if (i % 1000 == 500) { // drawing a bitmap is slow: it takes a fifth of the runs
                 b.SetButtonShape(i / 1000 % 9);
                 const int k = i / 1000 % 5;
                 b.SetPicture(k == 0 ? picture : k == 2 ? TestIcon() : nullptr);
                 b.SetFont(FontDesc{"Tahoma", 9.0f + i % 5, 700});
                 b.SetCaptionStyle(i / 1000 % 3);
                 b.SetGradientMode(i / 1000 % 5);
                 b.SetMode(i / 1000 % 3);
                 MoveWindow(b.hWnd(), 20, 20, 80 + i % 60, 24 + i % 20, FALSE);
             }
             if (i % 8 == 0) {
                 b.SetButtonStyle(i / 8 % 8);
                 b.SetEnabled(i / 64 % 2 == 0);
             }
             const int state = states[i % 5];
             Show(state, (state & kPointerInside) != 0, (state & kButtonHeld) != 0);
             if (i == 9999) // a drawing tool still selected when the control ends
                 canvas().SetDrawingTool(canvas().BufferDc(), Tool::Brush, 0x123456, true, 1, 0);
         }},
        {"controls loaded, drawn and ended", 1000,
         [&](int) {
             loadFull();
             Show(kShowsFocus | kPointerInside, true);
             control.reset();
         }},
        {"outlines the system refuses (1 is no window)", 1000,
         [&](int i) {
             Butt& b = i == 0 ? Make() : *control;
             const HWND real = std::exchange(b.impl().canvas.window, reinterpret_cast<HWND>(1));
             b.impl().canvas.CreateShapeRegion();
             b.impl().canvas.window = real;
         }},
        {"bags read with a resource and a file picture", 1000,
         [&](int) {
             const BagRead read =
                 PropertyBag::Read(FullBag("file \"p.png\""), {nullptr, TV_TEST_PICTURES});
             ASSERT_TRUE(read.bag && read.problems.empty()) << read.error;
         }},
    };
    for (const auto& [name, runs, step] : cases) {
        step(0); // caches that live as long as the process fill up here
        control.reset();
        const GuiObjects before = CountGuiObjects();
        for (int i = 0; i < runs; ++i)
            step(i);
        control.reset();
        const GuiObjects after = CountGuiObjects();
        EXPECT_EQ(after.gdi, before.gdi) << runs << " " << name;
        EXPECT_EQ(after.user, before.user) << runs << " " << name;
    }
}

TEST_F(Handles, PicturesAreLoadedOnlyForTheKeysThatTakeOne) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text.append("k")
            .append(std::to_string(i))
            .append(" = Picture(resource icon \"TEST_ICON\")\n");
    text += "caption = Picture(resource icon \"TEST_ICON\")\nmicon = Picture(resource icon "
            "\"TEST_ICON\")\n";
    const GuiObjects before = CountGuiObjects();
    const BagRead read = PropertyBag::Read(text);
    EXPECT_EQ(CountGuiObjects().user, before.user + 1) << "the mouse icon's only";
    EXPECT_EQ(read.problems.size(), 10001u);
}

} // namespace
} // namespace butt::test
