// The last four style painters on the common frame of the first four: a thin raised border
// (4), a flat hot-tracking button with design-time outlines (5), a double soft border (6) and
// a rounded button with a light top edge and pixel-rounded corners (7).
#include "butt_impl.h"

namespace butt {
namespace {

constexpr int kSolid = PS_SOLID;
constexpr int kDotted = PS_DOT;

// Left and top of a ring in one colour, right and bottom in another.
void SetRing(EdgeColors& edges, int first, Color leftTop, Color rightBottom) {
    edges[static_cast<std::size_t>(first)] = leftTop;
    edges[static_cast<std::size_t>(first + 1)] = leftTop;
    edges[static_cast<std::size_t>(first + 2)] = rightBottom;
    edges[static_cast<std::size_t>(first + 3)] = rightBottom;
}

} // namespace

void Butt::Impl::PaintStyle4(PointList& points, EdgeColors& edges, short& state, short& result) {
    Color fill = 0;
    Color focus = -1; // the text colour, then the focus colour
    if (!FillFaceAndContent(state, result, fill, focus))
        return;
    if (buttonShape < Shape::Ellipse) {
        SetEdges(edges, 1, 4, -1);
        SetEdges(edges, 5, 8, -1);
        if ((IsPressed && mode > Mode::Command) || value) {
            focus = kBlack;
            state = 2;
        } else {
            if (buttonShape > Shape::Rectangle)
                focus = ShiftColor(fill, -48);
            if (state != 2)
                state = 1;
        }
        if (state == 1)
            SetRing(edges, 9, kWhite, kGrey);
        else
            SetRing(edges, 9, kGrey, kWhite);
        DrawBevel(points, edges, state, -1);
    }
    PainterEnding(edges, result);
    DrawFocus(focus, value, false, points);
}

void Butt::Impl::PaintStyle5(PointList& points, EdgeColors& edges, short& state, short& result) {
    const Color focus = ((mode == Mode::Command || !value) && buttonShape > Shape::Rectangle)
                            ? ShiftColor(ContainerBackColor, -32)
                            : kBlack;
    Color fill = 0;
    Color textColor = -1;
    if (!FillFaceAndContent(state, result, fill, textColor))
        return;
    const bool designing = !host.UserMode();
    if (designing && buttonShape >= Shape::Ellipse && buttonShape <= Shape::EllipseFramed) {
        // In a form editor a borderless round button would be invisible: a dotted ellipse
        // shows where it is.
        const HDC back = BufferDc();
        SelectClipRgn(back, nullptr);
        SetDrawingTool(back, Tool::Pen, ShiftColor(ContainerBackColor, -32), true, 1, kDotted);
        const int right = Round(ScaleWidth() - 1);
        const int bottom = Round(ScaleHeight() - 1);
        Arc(back, 0, 0, right, bottom, 0, 0, 0, 0);
        SelectClipRgn(back, OuterRegion.get());
    } else if (buttonShape < Shape::Ellipse) {
        SetEdges(edges, 1, 4, -1);
        SetEdges(edges, 5, 8, -1);
        if (!(StateFlags & kPointerInside) && !value) {
            Color ring = -1; // at run time an idle button shows no border at all
            if (designing) {
                ring = ShiftColor(ContainerBackColor, -64);
                if (ring == 0)
                    ring = kWhite;
            }
            SetEdges(edges, 9, 12, ring);
        } else {
            if ((IsPressed && mode >= Mode::CheckBox) || value)
                state = 2;
            if (state < 2)
                state = 1;
            if (state == 1)
                SetRing(edges, 9, kWhite, kGrey);
            else
                SetRing(edges, 9, kGrey, kWhite);
        }
        DrawBevel(points, edges, state, designing ? kDotted : kSolid);
    }
    PainterEnding(edges, result);
    DrawFocus(focus, value, false, points);
}

void Butt::Impl::PaintStyle6(PointList& points, EdgeColors& edges, short& state, short& result) {
    Color fill = 0;
    Color focus = -1; // the text colour, then the focus colour
    if (!FillFaceAndContent(state, result, fill, focus))
        return;
    if (buttonShape < Shape::Ellipse) {
        const Color light = ShiftColor(0xDFDFDF, 8);
        SetEdges(edges, 1, 4, -1);
        if (HeldDown()) {
            focus = kBlack;
            state = 1;
        } else {
            state = LooksPressed() ? 1 : 0;
            if (buttonShape > Shape::Rectangle)
                focus = ShiftColor(fill, -48);
        }
        // Both rings raised, or both sunken while pressed.
        const Color leftTop = state == 0 ? light : kGrey;
        const Color rightBottom = state == 0 ? kGrey : light;
        SetRing(edges, 5, leftTop, rightBottom);
        SetRing(edges, 9, leftTop, rightBottom);
        DrawBevel(points, edges, state, -1);
    }
    PainterEnding(edges, result);
    DrawFocus(focus, value, false, points);
}

void Butt::Impl::PaintStyle7(PointList& points, EdgeColors& edges, short& state, short& result) {
    const bool pressedLook = LooksPressed();
    Color face = colors.face;
    if (mode == Mode::Command && pressedLook)
        face = colors.shade;
    if (mode != Mode::Command && value)
        face = colors.downFace;
    Color focus = kBlack;
    if (mode == Mode::Command && buttonShape > Shape::Rectangle)
        focus = ShiftColor(face, -64);
    else if (mode != Mode::Command && value)
        focus = ShiftColor(kGrey, -32);

    Color gradient = face;
    if (gradientMode != 0 && !value) {
        gradient = ShiftColor(TranslateColor(gradientColor), 31);
        if (pressedLook)
            face = colors.face;
    }
    FillFace(face, state, result, gradient, colors.hoverFace);
    if (result == 0)
        return;

    Color textColor = -1;
    if ((pressedLook && mode == Mode::Command) || value) {
        textColor = (!enabled && value) ? ShiftColor(face, -32, true) : colors.face;
    } else if (!enabled) {
        textColor = (!value && mode > Mode::Command) ? kGrey : -1;
    } else {
        textColor = TranslateColor(foreColor);
    }
    if (foreColor == hoverForeColor || value) {
        // The caption keeps the style's colour under the pointer too.
        const Color savedHover = hoverForeColor;
        hoverForeColor = textColor;
        DrawContent(face, textColor, value, mode > Mode::Command);
        hoverForeColor = savedHover;
    } else {
        DrawContent(face, textColor, value, mode > Mode::Command);
    }

    if (buttonShape < Shape::Ellipse) {
        if ((IsPressed && mode > Mode::Command) || value)
            state = value ? 2 : 0;
        Color e1 = kWhite;
        Color e5 = ShiftColor(face, 31, true);
        Color e7 = ShiftColor(face, -64, true);
        if (state == 2) {
            face = gradientMode != 0 ? colors.face : kGrey;
            e1 = ShiftColor(face, -32);
            e5 = ShiftColor(face, -64);
            e7 = ShiftColor(face, -16);
        }
        edges[1] = edges[2] = e1;
        edges[3] = edges[4] = face;
        edges[5] = edges[6] = e5;
        edges[7] = edges[8] = e7;
        SetEdges(edges, 9, 12, kBlack);
        DrawBevel(points, edges, state, -1);

        // Round the corners pixel by pixel; a slanted side has no corner to round.
        const HDC back = BufferDc();
        const int w = Round(ScaleWidth());
        const int h = Round(ScaleHeight());
        const auto dot = [back](int x, int y, Color c) {
            SetPixel(back, x, y, static_cast<COLORREF>(c));
        };
        if (BodyLeft == 0) {
            dot(3, 3, e1);
            dot(1, h - 3, face);
            dot(2, 2, e5);
            dot(1, h - 2, kBlack);
            dot(1, 1, kBlack);
        }
        if (ScaleWidth() == static_cast<float>(BodyRight)) {
            dot(w - 4, h - 4, face);
            dot(w - 3, 1, face);
            dot(w - 3, h - 3, e7);
            dot(w - 2, h - 2, kBlack);
            dot(w - 2, 1, kBlack);
        }
    }
    PainterEnding(edges, result);
    DrawFocus(focus, value, true, points);
}

} // namespace butt
