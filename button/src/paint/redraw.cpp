// The redraw: the painter of the style paints into a back buffer (a memory DC holding a
// bitmap the size of the control), which reaches the screen in one copy, so the button never
// shows a half-drawn state; then the outline frame that some shapes show. Also what the
// buffer holds besides: the caption font, and the colours each style derives.
#include "canvas.h"

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
    const std::wstring name = tv::Widen(font.name);
    const std::size_t length = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
    std::copy_n(name.begin(), length, log.lfFaceName);
    log.lfFaceName[length] = L'\0';
    return log;
}

} // namespace

Color TranslateColor(Color color) {
    if (color >= 0)
        return color;
    return static_cast<Color>(GetSysColor(static_cast<int>(color & 0xFF)));
}

// One painter per style, as a standard button keeps its paint functions by button type.
using Painter = void (Canvas::*)(PointList&, EdgeColors&, short&, short&);
constexpr Painter kPainters[kStyleCount] = {
    &Canvas::PaintStyle0, &Canvas::PaintStyle1, &Canvas::PaintStyle2, &Canvas::PaintStyle3,
    &Canvas::PaintStyle4, &Canvas::PaintStyle5, &Canvas::PaintStyle6, &Canvas::PaintStyle7};

bool Canvas::HasPainter() const {
    return static_cast<std::size_t>(properties.buttonStyle) < kStyleCount;
}

void Canvas::Paint() {
    if (!HasPainter())
        return;
    PointList points{};
    EdgeColors edges{};
    short state = 0;
    short result = 0;
    (this->*kPainters[static_cast<std::size_t>(properties.buttonStyle)])(points, edges, state,
                                                                         result);
    Color frameColor = edges[12];
    if (result == 0)
        return;

    UseBackBuffer(false);
    lastFrameKind = FrameKind::None;
    if (result > 1) {
        const bool pressed = LooksPressed();
        if (properties.buttonShape >= Shape::Ellipse &&
            properties.buttonShape <= Shape::EllipseFramed) {
            if (properties.buttonStyle == Style::Themed && !pressed)
                lastFrameKind = FrameKind::Outer;
            else if (properties.buttonShape == Shape::EllipseFramed)
                lastFrameKind = FrameKind::Window;
        } else if (properties.buttonShape == Shape::PictureFramed ||
                   properties.buttonShape == Shape::PictureRinged) {
            if (look.IsHovering && !pressed) {
                if (properties.buttonStyle != Style::Themed)
                    frameColor = colors.hoverFace;
                if (frameColor != TranslateColor(properties.backColor) ||
                    properties.buttonStyle == Style::Themed)
                    lastFrameKind = FrameKind::Window;
            } else if (look.StateFlags & kShowsFocus) {
                lastFrameKind = properties.buttonShape == Shape::PictureRinged ? FrameKind::Inner
                                                                               : FrameKind::Outer;
                if (properties.value && properties.buttonStyle != Style::Themed)
                    frameColor = ShiftColor(colors.shade, -32);
            }
        }
    }
    lastFrameColor = frameColor;
    if (lastFrameKind != FrameKind::None && window) {
        const tv::WindowDc windowDc(window);
        FrameLastOutline(windowDc.get());
    }
    // The copy above has already reached the window: there is no second surface to refresh.
}

void Canvas::FrameLastOutline(tv::BorrowedDc target) {
    if (!target || lastFrameKind == FrameKind::None)
        return;
    tv::UniqueRegion windowCopy;
    HRGN region = nullptr;
    switch (lastFrameKind) {
    case FrameKind::Outer:
        region = OuterRegion.get();
        break;
    case FrameKind::Inner:
        region = InnerRegion.get();
        break;
    case FrameKind::Window:
        windowCopy.reset(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(window, windowCopy.get()) != ERROR)
            region = windowCopy.get();
        break;
    case FrameKind::None:
        break;
    }
    if (!region)
        return;
    const tv::UniqueBrush brush(CreateSolidBrush(
        static_cast<COLORREF>(TranslateColor(lastFrameColor < 0 ? 0 : lastFrameColor))));
    FrameRgn(target, region, brush.get(), 1, 1);
}

void Canvas::PrintTo(tv::BorrowedDc target) {
    if (!target || !backBuffer)
        return;
    BitBlt(target, 0, 0, Round(ScaleWidth()), Round(ScaleHeight()), BufferDc(), 0, 0, SRCCOPY);
    FrameLastOutline(target);
}

void Canvas::UseBackBuffer(bool create) {
    // Without its window the control has nothing to paint for (and GetDC(0) is the screen).
    if (!window)
        return;
    const tv::WindowDc windowDc(window);
    if (!create) {
        if (backBuffer)
            BitBlt(windowDc.get(), 0, 0, Round(ScaleWidth()), Round(ScaleHeight()), BufferDc(), 0,
                   0, SRCCOPY);
        return;
    }
    if (!backBuffer) {
        backBuffer.emplace(windowDc.get());
        if (!*backBuffer) {
            backBuffer.reset();
            return;
        }
        // Captions are drawn over the face, never on a box of their own.
        SetBkMode(BufferDc(), TRANSPARENT);
        backBuffer->Select(tv::UniqueBrush(CreateSolidBrush(0)));
        backBuffer->Select(tv::UniquePen(CreatePen(PS_SOLID, 1, 0)));
    }
    RefreshFont();
    screenPixels = SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!backBuffer->bitmap()) {
        // A control without area still gets a one-pixel buffer, so painting has a target.
        const int width = std::max(1, Round(ScaleWidth()));
        const int height = std::max(1, Round(ScaleHeight()));
        tv::UniqueBitmap bitmap(CreateCompatibleBitmap(windowDc.get(), width, height));
        if (!bitmap)
            return;
        backBuffer->Select(std::move(bitmap));
        // A new bitmap is black. The painters leave some pixels alone (the steps of a picture
        // outline between its window region and its inset regions), and those should show the
        // face colour, never black.
        const tv::UniqueBrush face(
            CreateSolidBrush(static_cast<COLORREF>(TranslateColor(properties.backColor))));
        const RECT all{0, 0, width, height};
        FillRect(BufferDc(), &all, face.get());
    }
}

float Canvas::ScaleWidth() const {
    RECT client{};
    if (!window || !GetClientRect(window, &client))
        return 0;
    return static_cast<float>(client.right - client.left);
}

float Canvas::ScaleHeight() const {
    RECT client{};
    if (!window || !GetClientRect(window, &client))
        return 0;
    return static_cast<float>(client.bottom - client.top);
}

void Canvas::RefreshFont() {
    if (!backBuffer)
        return; // made with the buffer, which asks for it
    const LOGFONTW log = CaptionLogFont(properties.font);
    backBuffer->Select(tv::UniqueFont(CreateFontIndirectW(&log)));
}

void Canvas::End() {
    delayDrawing = true;
    window = nullptr;
    OuterRegion.reset();
    InnerRegion.reset();
    backBuffer.reset(); // puts back what it holds before deleting it
    ShapeBitmap.reset();
}

void Canvas::RefreshColors() {
    colors = DerivedColors(properties.buttonStyle, TranslateColor(properties.backColor),
                           TranslateColor(properties.hoverBackColor));
}

} // namespace butt
