// Derived drawing state: the caption font in the back buffer, the picture's measurements and
// the painting colours that each style derives from BackColor and HoverBackColor.
#include "behaviour.h"
#include "butt_impl.h"
#include "text.h"

#include <algorithm>

namespace butt {
namespace {

// Screen twips per pixel, vertically (15 at 96 dots per inch).
float TwipsPerPixelY() {
    const tv::WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return 1440.0f / static_cast<float>(dpi > 0 ? dpi : 96);
}

LOGFONTW CaptionLogFont(const FontDesc& font) {
    LOGFONTW log{};
    log.lfHeight =
        Round(-20.0 * static_cast<double>(font.size) / static_cast<double>(TwipsPerPixelY()));
    log.lfWeight = font.weight;
    log.lfItalic = font.italic ? 1 : 0;
    log.lfUnderline = font.underline ? 1 : 0;
    log.lfStrikeOut = font.strikethrough ? 1 : 0;
    log.lfCharSet = DEFAULT_CHARSET;
    // Font names are UTF-8, as captions are; the system takes at most 31 UTF-16 units.
    const std::wstring name = Widen(font.name);
    const std::size_t length = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
    std::copy_n(name.begin(), length, log.lfFaceName);
    log.lfFaceName[length] = L'\0';
    return log;
}

} // namespace

void Butt::Impl::RefreshProperty(const std::string& name) {
    if (SameNameIgnoringCase(name, "Font")) {
        if (!backBuffer)
            return; // made with the buffer, which asks for it
        const LOGFONTW log = CaptionLogFont(font);
        backBuffer->Select(tv::UniqueFont(CreateFontIndirectW(&log)));
    } else if (SameNameIgnoringCase(name, "Picture")) {
        MeasurePicture();
    } else if (SameNameIgnoringCase(name, "BackColor")) {
        colors =
            DerivedColors(buttonStyle, TranslateColor(backColor), TranslateColor(hoverBackColor));
    }
}

} // namespace butt
