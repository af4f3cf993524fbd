// Every GDI object the control makes has one owner: a whole life of drawing ends with the
// live-object count where it started.
#include "drawing_fixture.h"

namespace butt::test {
namespace {

using Lifecycle = DrawingTest;

TEST_F(Lifecycle, AWholeLifeOfDrawingLeavesNoGdiObjects) {
    const PicturePtr picture = MakePicture(24, 12, [](int x, int y) -> Color {
        return (x > 3 && x < 20 && y > 2 && y < 10) ? Rgb(200, 40, 40) : 0xFF00FF;
    });
    const long before = tv::LiveGdiObjects();
    Make(100, 30, "Life||goes on");
    // The buffer, its bitmap, pen, brush and font are held by counted owners.
    EXPECT_GE(tv::LiveGdiObjects(), before + 5);

    const int states[] = {0,
                          kShowsFocus,
                          kPointerInside,
                          kButtonHeld,
                          kButtonHeld | kPointerInside,
                          kShowsFocus | kPointerInside};
    int redraws = 0;
    for (int i = 0; i < 1000; ++i) {
        if (i % 100 == 0) {
            const long shape = (i / 100) % 9;
            if (shape == 7)
                control().SetPicture(picture);
            control().SetButtonShape(shape);
            if (shape == 8) {
                control().SetButtonShape(0);
                control().SetPicture(nullptr);
            }
        }
        if (i % 150 == 75)
            Resize(80 + i % 60, 24 + i % 20);
        if (i % 250 == 125)
            control().SetGradientMode((i / 250) % 5);
        if (i % 333 == 200) {
            FontDesc font = control().Font();
            font.size += 2;
            font.weight = 700;
            control().SetFont(font);
            control().SetCaptionStyle((i / 333) % 3);
        }
        control().SetButtonStyle(i % 8);
        impl().enabled = (i / 48) % 2 == 0;
        impl().mode = (i / 96) % 2;
        impl().value = impl().mode == 1 && (i / 192) % 2 == 1;
        const int state = states[(i / 8) % 6];
        Show(state, (state & kPointerInside) != 0, (state & kButtonHeld) != 0);
        ++redraws;
    }
    EXPECT_EQ(redraws, 1000);
    impl().SetDrawingTool(true, impl().BackBufferDC.get(), 0, 0x123456, true, 1, 0);
    control_.reset();
    EXPECT_EQ(tv::LiveGdiObjects(), before);
}

} // namespace
} // namespace butt::test
