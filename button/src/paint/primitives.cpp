// The drawing primitives of the painters: drawing tools, rectangles, the face, the bevel
// rings and the focus mark, all into the back buffer. The buffer owns what is selected into
// it: each pen or brush made here replaces, and deletes, the one before it.
#include "canvas.h"

namespace butt {
namespace {

POINT Pt(int x, int y) {
    return POINT{x, y};
}

} // namespace

void Canvas::SetDrawingTool(tv::BorrowedDc dc, Tool kind, Color color, bool withPen, int penWidth,
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

void Canvas::DrawRect(tv::BorrowedDc dc, int left, int top, int right, int bottom, Color fill,
                      Color border, int penWidth, int penStyle) {
    if (border != -1)
        SetDrawingTool(dc, Tool::Pen, border, true, penWidth, penStyle);
    // Without a border colour the rectangle is outlined in its own fill colour.
    SetDrawingTool(dc, Tool::Brush, fill, border == -1, 1, 0);
    Rectangle(dc, left, top, right, bottom);
}

void Canvas::FillFace(Color faceColor, short& drawState, short& drawResult, Color gradient,
                      Color hoverColor) {
    drawResult = PrepareShapeFrame();
    if (drawResult == 0)
        return;
    const bool pressed = LooksPressed();
    drawState = pressed ? 2 : (look.StateFlags & kShowsFocus) ? 1 : 0;
    if (hoverColor < 0)
        hoverColor = faceColor;
    const bool useHover =
        look.IsHovering && ((!pressed && properties.mode == Mode::Command) ||
                            (!properties.value && properties.mode > Mode::Command));
    const Color fill = useHover ? hoverColor : faceColor;
    HDC buffer = BufferDc();
    const float width = ScaleWidth();
    const float height = ScaleHeight();

    if (properties.gradientMode != 0 && !properties.value &&
        properties.buttonShape < Shape::PictureFramed) {
        if (look.IsHovering && !pressed && properties.gradientColor != properties.hoverBackColor) {
            DrawRect(buffer, 0, 0, Round(width), Round(height), hoverColor, -1, 0, 0);
        } else {
            if (gradient < 0)
                gradient = faceColor;
            GradientFill(faceColor, gradient, properties.gradientMode);
        }
        return;
    }
    if ((!properties.enabled && properties.mode < Mode::CheckBox) ||
        properties.buttonStyle != Style::Themed) {
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

void Canvas::DrawBevel(PointList& p, EdgeColors& edgeColors, short drawState, int outerPenStyle) {
    (void)drawState; // the painters have already turned the state into edge colours
    HDC buffer = BufferDc();
    if (!buffer)
        return;
    const int w = Round(ScaleWidth());
    const int ht = Round(ScaleHeight());
    const int l = BodyLeft;
    const int r = BodyRight;
    const int a = (properties.buttonShape == Shape::SlantedLeft ||
                   properties.buttonShape == Shape::Parallelogram)
                      ? 1
                      : 0;
    const int b = (properties.buttonShape == Shape::SlantedRight ||
                   properties.buttonShape == Shape::Parallelogram)
                      ? 1
                      : 0;

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

void Canvas::DrawFocus(Color color, bool solid, bool aroundContent, PointList& p) {
    if (!(look.StateFlags & kShowsFocus) || properties.buttonShape > Shape::EllipseFramed)
        return;
    if (properties.buttonShape >= Shape::Ellipse) {
        if (properties.buttonStyle == Style::Themed)
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

    if (properties.buttonShape >= Shape::SlantedLeft &&
        properties.buttonShape <= Shape::Parallelogram) {
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
    if (!properties.caption.empty()) {
        rect = CaptionRect;
    } else {
        rect = PictureRect;
        rect.bottom = std::min<LONG>(rect.bottom, Round(height - 4));
        rect.right = std::min<LONG>(rect.right, Round(width - 4));
    }
    const int e = (CaptionRect.right >= r - 4 || CaptionRect.left <= l + 4) ? 1 : 2;
    const int pressed =
        ((properties.value || LooksPressed()) && properties.buttonStyle != Style::Flat) ? 1 : 0;
    const int s = properties.buttonShape < Shape::Ellipse ? 1 : 0;
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
