// The redraw routine and its primitives. Everything is painted into a back buffer (a memory
// DC holding a bitmap the size of the control) and reaches the screen in one copy, so the
// button never shows a half-drawn state. The buffer owns what is selected into it: each pen
// or brush made here replaces, and deletes, the one before it.
#include "butt_impl.h"

namespace butt {
namespace {

POINT Pt(int x, int y) {
    return POINT{x, y};
}

} // namespace

Color TranslateColor(Color color) {
    if (color >= 0)
        return color;
    return static_cast<Color>(GetSysColor(static_cast<int>(color & 0xFF)));
}

void Butt::Impl::DrawButton() {
    if (delayDrawing)
        return;
    if (!backBuffer || !backBuffer->bitmap())
        UseBackBuffer(true);
    if (!backBuffer)
        return;

    PointList points{};
    EdgeColors edges{};
    short state = 0;
    short result = 0;
    // One painter per style, as a standard button keeps its paint functions by button type.
    using Painter = void (Impl::*)(PointList&, EdgeColors&, short&, short&);
    static constexpr Painter kPainters[kStyleCount] = {
        &Impl::PaintStyle0, &Impl::PaintStyle1, &Impl::PaintStyle2, &Impl::PaintStyle3,
        &Impl::PaintStyle4, &Impl::PaintStyle5, &Impl::PaintStyle6, &Impl::PaintStyle7};
    const auto style = static_cast<std::size_t>(buttonStyle);
    if (style < kStyleCount) // a style no setter takes paints nothing
        (this->*kPainters[style])(points, edges, state, result);
    Color frameColor = edges[12];
    if (result == 0)
        return;

    UseBackBuffer(false);
    lastFrameKind = FrameKind::None;
    if (result > 1) {
        const bool pressed = LooksPressed();
        if (buttonShape >= Shape::Ellipse && buttonShape <= Shape::EllipseFramed) {
            if (buttonStyle == Style::Themed && !pressed)
                lastFrameKind = FrameKind::Outer;
            else if (buttonShape == Shape::EllipseFramed)
                lastFrameKind = FrameKind::Window;
        } else if (buttonShape == Shape::PictureFramed || buttonShape == Shape::PictureRinged) {
            if (IsHovering && !pressed) {
                if (buttonStyle != Style::Themed)
                    frameColor = colors.hoverFace;
                if (frameColor != TranslateColor(backColor) || buttonStyle == Style::Themed)
                    lastFrameKind = FrameKind::Window;
            } else if (StateFlags & kShowsFocus) {
                lastFrameKind =
                    buttonShape == Shape::PictureRinged ? FrameKind::Inner : FrameKind::Outer;
                if (value && buttonStyle != Style::Themed)
                    frameColor = ShiftColor(colors.shade, -32);
            }
        }
    }
    lastFrameColor = frameColor;
    if (lastFrameKind != FrameKind::None && hwnd) {
        const tv::WindowDc windowDc(hwnd);
        FrameLastOutline(windowDc.get());
    }
    // The copy above has already reached the window: there is no second surface to refresh.
}

void Butt::Impl::FrameLastOutline(HDC target) {
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
        if (GetWindowRgn(hwnd, windowCopy.get()) != ERROR)
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

void Butt::Impl::PrintTo(HDC target) {
    if (!target || !backBuffer)
        return;
    BitBlt(target, 0, 0, Round(ScaleWidth()), Round(ScaleHeight()), BufferDc(), 0, 0, SRCCOPY);
    FrameLastOutline(target);
}

void Butt::Impl::UseBackBuffer(bool create) {
    // Without its window the control has nothing to paint for (and GetDC(0) is the screen).
    if (!hwnd)
        return;
    const tv::WindowDc windowDc(hwnd);
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
    RefreshProperty("Font");
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
            CreateSolidBrush(static_cast<COLORREF>(TranslateColor(backColor))));
        const RECT all{0, 0, width, height};
        FillRect(BufferDc(), &all, face.get());
    }
}

void Butt::Impl::SetDrawingTool(HDC dc, Tool kind, Color color, bool withPen, int penWidth,
                                int penStyle) {
    HDC buffer = BufferDc();
    // Pens and brushes always go into the buffer; only the text colour follows `dc`.
    const COLORREF plain = static_cast<COLORREF>(TranslateColor(color));
    const auto selectPen = [&] {
        if (!buffer)
            return;
        backBuffer->Select(tv::UniquePen(CreatePen(penStyle, penWidth, plain)));
    };
    switch (kind) {
    case Tool::Brush: {
        if (!buffer)
            return;
        backBuffer->Select(tv::UniqueBrush(CreateSolidBrush(plain)));
        if (withPen)
            selectPen();
        break;
    }
    case Tool::Pen:
        selectPen();
        break;
    case Tool::TextColor:
        if (dc)
            SetTextColor(dc, plain);
        break;
    }
}

void Butt::Impl::DrawRect(HDC dc, int left, int top, int right, int bottom, Color fill,
                          Color border, int penWidth, int penStyle) {
    if (border != -1)
        SetDrawingTool(dc, Tool::Pen, border, true, penWidth, penStyle);
    // Without a border colour the rectangle is outlined in its own fill colour.
    SetDrawingTool(dc, Tool::Brush, fill, border == -1, 1, 0);
    Rectangle(dc, left, top, right, bottom);
}

void Butt::Impl::FillFace(Color faceColor, short& drawState, short& drawResult, Color gradient,
                          Color hoverColor) {
    drawResult = PrepareShapeFrame();
    if (drawResult == 0)
        return;
    const bool pressed = LooksPressed();
    drawState = pressed ? 2 : (StateFlags & kShowsFocus) ? 1 : 0;
    if (hoverColor < 0)
        hoverColor = faceColor;
    const bool useHover =
        IsHovering && ((!pressed && mode == Mode::Command) || (!value && mode > Mode::Command));
    const Color fill = useHover ? hoverColor : faceColor;
    HDC buffer = BufferDc();
    const float width = ScaleWidth();
    const float height = ScaleHeight();

    if (gradientMode != 0 && !value && buttonShape < Shape::PictureFramed) {
        if (IsHovering && !pressed && gradientColor != hoverBackColor) {
            DrawRect(buffer, 0, 0, Round(width), Round(height), hoverColor, -1, 0, 0);
        } else {
            if (gradient < 0)
                gradient = faceColor;
            GradientFill(faceColor, gradient);
        }
        return;
    }
    if ((!enabled && mode < Mode::CheckBox) || buttonStyle != Style::Themed) {
        DrawRect(buffer, 0, 0, Round(width), Round(height), fill, -1, 0, 0);
        return;
    }
    // The shaded face: one row at a time, darker by up to 25 steps toward the bottom.
    const int rows = Round(height);
    if (rows < 0 || height <= 0)
        return;
    const float perRow = 25.0f / height;
    const BandFiller bands(buffer);
    for (int y = 0; y <= rows; ++y) {
        const float shift = -(perRow * static_cast<float>(y));
        bands.Fill(0, y, Round(width), y + 1, ShiftColor(fill, Round(shift), true));
    }
}

void BandFiller::Fill(int left, int top, int right, int bottom, Color color) const {
    SetDCBrushColor(dc_, static_cast<COLORREF>(TranslateColor(color)));
    PatBlt(dc_, left, top, right - left, bottom - top, PATCOPY);
}

void Butt::Impl::DrawBevel(PointList& p, EdgeColors& edgeColors, short drawState,
                           int outerPenStyle) {
    (void)drawState; // the painters have already turned the state into edge colours
    HDC buffer = BufferDc();
    if (!buffer)
        return;
    const int w = Round(ScaleWidth());
    const int ht = Round(ScaleHeight());
    const int l = BodyLeft;
    const int r = BodyRight;
    const int a =
        (buttonShape == Shape::SlantedLeft || buttonShape == Shape::Parallelogram) ? 1 : 0;
    const int b =
        (buttonShape == Shape::SlantedRight || buttonShape == Shape::Parallelogram) ? 1 : 0;

    p[0] = Pt(l + 2 - 4 * a, ht - 3);
    p[1] = Pt(2 + 2 * a, 2);
    p[2] = Pt(r - 3 + 3 * b, 2);
    p[3] = Pt(w - 3 - 3 * b, ht - 3);
    p[4] = Pt(l + 1 - 4 * a, ht - 3);
    p[5] = Pt(p[0].x + (a - 1), p[0].y + 1);
    p[6] = Pt(p[1].x - (a + 1), p[1].y - 1);
    p[7] = Pt(p[2].x + (1 - b), p[2].y - 1);
    p[8] = Pt(p[3].x + (b + 1), p[3].y + 1);
    p[9] = Pt(p[4].x - 1, p[4].y + 1);
    p[10] = Pt(l - a, ht - 1 + a);
    p[11] = Pt(0, 0);
    p[12] = Pt(r - 1 + b, 0);
    p[13] = Pt(w - 1, ht - 1 + b);
    p[14] = Pt(l - 1 - 2 * a, ht - 1);

    Color current = -1;
    for (int i = 0; i <= 13; ++i) {
        if (i == 4 || i == 9)
            continue; // the joins between the rings
        const int index = i < 4 ? i + 1 : i <= 8 ? i : i - 1;
        const Color color = edgeColors[static_cast<std::size_t>(index)];
        if (color < 0)
            continue;
        if (color != current) {
            const int style = i > 8 && outerPenStyle >= 0 ? outerPenStyle : 0;
            SetDrawingTool(buffer, Tool::Pen, color, true, 1, style);
        }
        Polyline(buffer, &p[static_cast<std::size_t>(i)], 2);
        current = color;
    }
    p[15] = Pt(w - 1, ht - 1);
    // The last pixel of the outer bottom line, in its pen: only where that line is drawn, or
    // whatever pen the face or an earlier paint left selected would draw a whole bottom row.
    if (ScaleWidth() != static_cast<float>(b) && edgeColors[12] >= 0)
        Polyline(buffer, &p[14], 2);
}

void Butt::Impl::DrawFocus(Color color, bool solid, bool aroundContent, PointList& p) {
    if (!(StateFlags & kShowsFocus) || buttonShape > Shape::EllipseFramed)
        return;
    if (buttonShape >= Shape::Ellipse) {
        if (buttonStyle == Style::Themed)
            return;
        aroundContent = true;
    }
    HDC buffer = BufferDc();
    if (!buffer)
        return;
    const float width = ScaleWidth();
    const float height = ScaleHeight();
    const int w = Round(width);
    const int ht = Round(height);
    const int l = BodyLeft;
    const int r = BodyRight;
    if (color < 0)
        color = 0; // black, the system's own focus colour

    if (buttonShape >= Shape::SlantedLeft && buttonShape <= Shape::Parallelogram) {
        const int c = BodyLeft != 0 ? 1 : 0;
        const int d = width > static_cast<float>(BodyRight) ? 1 : 0;
        p[0] = Pt(l + 4 - 6 * c, ht - 5);
        p[1] = Pt(4 + 4 * c, 4);
        p[2] = Pt(r - 5 + 4 * d, 4);
        p[3] = Pt(w - 5 - 6 * d, ht - 5);
        p[4] = Pt(l + 3 - 4 * c, ht - 5);
        SetDrawingTool(buffer, Tool::Pen, color, true, 1, 0);
        Polyline(buffer, p.data(), 5);
        return;
    }
    SetDrawingTool(buffer, Tool::Pen, color, true, 1, 0);
    RECT rect{};
    if (!aroundContent) {
        SetRect(&rect, 0, 0, r - (l + 8), Round(height - 8));
        OffsetRect(&rect, l + 4, 4);
        if (!solid) {
            DrawFocusRect(buffer, &rect);
            return;
        }
        p[0] = Pt(rect.left, rect.bottom);
        p[1] = Pt(rect.left, rect.top);
        p[2] = Pt(rect.right, rect.top);
        p[3] = Pt(rect.right, rect.bottom);
        p[4] = Pt(rect.left, rect.bottom);
        Polyline(buffer, p.data(), 5);
        return;
    }
    if (!caption.empty()) {
        rect = CaptionRect;
    } else {
        rect = PictureRect;
        rect.bottom = std::min<LONG>(rect.bottom, Round(height - 4));
        rect.right = std::min<LONG>(rect.right, Round(width - 4));
    }
    const int e = (CaptionRect.right >= r - 4 || CaptionRect.left <= l + 4) ? 1 : 2;
    const int pressed = ((value || LooksPressed()) && buttonStyle != Style::Flat) ? 1 : 0;
    const int s = buttonShape < Shape::Ellipse ? 1 : 0;
    OffsetRect(&rect, s * pressed - e, pressed - e);
    rect.right += 2 * e + s * pressed;
    rect.bottom += 2 * e + pressed;
    if (!solid) {
        DrawFocusRect(buffer, &rect);
        return;
    }
    p[0] = Pt(rect.left, rect.top);
    p[1] = Pt(rect.right - 1, rect.top);
    p[2] = Pt(rect.right - 1, rect.bottom - 1);
    p[3] = Pt(rect.left, rect.bottom - 1);
    p[4] = Pt(rect.left, rect.top);
    Polyline(buffer, p.data(), 5);
}

} // namespace butt
