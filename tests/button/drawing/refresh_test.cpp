// Derived drawing state: the caption font in the back buffer and the colours per style.
#include "drawing_fixture.h"

#include <cstring>

namespace butt::test {
namespace {

using Refresh = DrawingTest;

LOGFONTA BufferFont(Butt::Impl& impl) {
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(impl.BackBufferDC.get(), OBJ_FONT), sizeof font, &font);
    return font;
}

TEST_F(Refresh, CaptionFontIsMadeFromTheControlsFont) {
    Make(76, 24, "APPLY");
    const long before = tv::LiveGdiObjects();
    FontDesc verdana;
    verdana.name = "Verdana";
    verdana.size = 8.25f;
    verdana.weight = 700;
    verdana.italic = true;
    verdana.charset = 0;
    impl().font = verdana;
    impl().RefreshProperty("fONT"); // names compare without regard to case
    const LOGFONTA made = BufferFont(impl());
    // -20 x 8.25 / 15 twips per pixel (96 dots per inch) = -11.
    const tv::WindowDc screen(nullptr);
    EXPECT_EQ(made.lfHeight,
              Round(-20.0 * 8.25 / (1440.0 / GetDeviceCaps(screen.get(), LOGPIXELSY))));
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_EQ(made.lfItalic, 1);
    EXPECT_EQ(made.lfUnderline, 0);
    EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(made.lfFaceName, "Verdana");
    // The caption font it replaced is gone; only the new one is held.
    EXPECT_EQ(tv::LiveGdiObjects(), before);

    // A face name longer than a LOGFONT holds is cut to 31 characters.
    impl().font.name = std::string(40, 'x');
    impl().RefreshProperty("Font");
    EXPECT_EQ(std::strlen(BufferFont(impl()).lfFaceName), 31u);
}

TEST_F(Refresh, DerivedColoursPerStyle) {
    Make(100, 30);
    impl().backColor = 0x00406080;
    impl().hoverBackColor = 0x00102030;
    const auto derive = [&](long style) {
        impl().buttonStyle = style;
        impl().RefreshProperty("BackColor");
        return std::array<Color, 4>{impl().FaceColor, impl().HoverFaceColor, impl().ShadeColor,
                                    impl().DownFaceColor};
    };
    const Color b = 0x00406080;
    const Color h = 0x00102030;
    for (const long style : {0, 1, 4, 5, 6})
        EXPECT_EQ(derive(style), (std::array<Color, 4>{b, h, b, 0xDFDFDF})) << style;
    const Color face2 = ShiftColor(b, 48, true);
    EXPECT_EQ(derive(2),
              (std::array<Color, 4>{face2, ShiftColor(h, 48, true), ShiftColor(face2, -32, true),
                                    ShiftColor(0xFFFFFF, -32, true)}));
    EXPECT_EQ(derive(3), (std::array<Color, 4>{b, h, 0x8C8C8C, 0xABABAB}));
    EXPECT_EQ(derive(7),
              (std::array<Color, 4>{ShiftColor(b, 31), ShiftColor(h, 31), 0x707070, 0x8A9090}));
    // System colours are turned into plain ones first.
    impl().backColor = kButtonFace;
    EXPECT_EQ(derive(0)[0], static_cast<Color>(GetSysColor(COLOR_BTNFACE)));
}

} // namespace
} // namespace butt::test
