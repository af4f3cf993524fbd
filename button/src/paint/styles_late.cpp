// The last four style painters on the common frame of the first four: a thin raised border
// (4), a flat hot-tracking button with design-time outlines (5), a double soft border (6) and
// a rounded button with a light top edge and pixel-rounded corners (7).
#include "canvas.h"

namespace butt {
namespace {

constexpr int kSolid = PS_SOLID;
constexpr int kDotted = PS_DOT;

} // namespace

void Canvas::PaintStyle4(PointList& points, EdgeColors& edges, short& state, short& result) {
    Color fill = 0;
    Color focus = kNone; // the text colour, then the focus colour
    if (!FillFaceAndContent(state, result, fill, focus))
        return;
    if (properties.buttonShape < Shape::Ellipse) {
        SetEdges(edges, 1, 4, kNone);
        SetEdges(edges, 5, 8, kNone);
        if ((look.IsPressed && properties.mode > Mode::Command) || properties.value) {
            focus = kBlack;
            state = 2;
        } else {
            if (properties.buttonShape > Shape::Rectangle)
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
    DrawFocus(focus, properties.value, false, points);
}

void Canvas::PaintStyle5(PointList& points, EdgeColors& edges, short& state, short& result) {
    const Color focus = ((properties.mode == Mode::Command || !properties.value) &&
                         properties.buttonShape > Shape::Rectangle)
                            ? ShiftColor(look.ContainerBackColor, -32)
                            : kBlack;
    Color fill = 0;
    Color textColor = -1;
    if (!FillFaceAndContent(state, result, fill, textColor))
        return;
    const bool designing = look.designing;
    if (designing && properties.buttonShape >= Shape::Ellipse &&
        properties.buttonShape <= Shape::EllipseFramed) {
        // In a form editor a borderless round button would be invisible: a dotted ellipse
        // shows where it is.
        const HDC back = BufferDc();
        SelectClipRgn(back, nullptr);
        SetDrawingTool(back, Tool::Pen, ShiftColor(look.ContainerBackColor, -32), true, 1, kDotted);
        const int right = Round(ScaleWidth() - 1);
        const int bottom = Round(ScaleHeight() - 1);
        Arc(back, 0, 0, right, bottom, 0, 0, 0, 0);
        SelectClipRgn(back, OuterRegion.get());
    } else if (properties.buttonShape < Shape::Ellipse) {
        SetEdges(edges, 1, 4, kNone);
        SetEdges(edges, 5, 8, kNone);
        if (!(look.StateFlags & kPointerInside) && !properties.value) {
            Color ring = -1; // at run time an idle button shows no border at all
            if (designing) {
                ring = ShiftColor(look.ContainerBackColor, -64);
                if (ring == 0)
                    ring = kWhite;
            }
            SetEdges(edges, 9, 12, ring);
        } else {
            if ((look.IsPressed && properties.mode >= Mode::CheckBox) || properties.value)
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
    DrawFocus(focus, properties.value, false, points);
}

void Canvas::PaintStyle6(PointList& points, EdgeColors& edges, short& state, short& result) {
    Color fill = 0;
    Color focus = kNone; // the text colour, then the focus colour
    if (!FillFaceAndContent(state, result, fill, focus))
        return;
    if (properties.buttonShape < Shape::Ellipse) {
        const Color light = ShiftColor(0xDFDFDF, 8);
        SetEdges(edges, 1, 4, kNone);
        if (HeldDown()) {
            focus = kBlack;
            state = 1;
        } else {
            state = LooksPressed() ? 1 : 0;
            if (properties.buttonShape > Shape::Rectangle)
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
    DrawFocus(focus, properties.value, false, points);
}

void Canvas::PaintStyle7(PointList& points, EdgeColors& edges, short& state, short& result) {
    const bool pressedLook = LooksPressed();
    Color face = colors.face;
    if (properties.mode == Mode::Command && pressedLook)
        face = colors.shade;
    if (properties.mode != Mode::Command && properties.value)
        face = colors.downFace;
    Color focus = kBlack;
    if (properties.mode == Mode::Command && properties.buttonShape > Shape::Rectangle)
        focus = ShiftColor(face, -64);
    else if (properties.mode != Mode::Command && properties.value)
        focus = ShiftColor(kGrey, -32);

    Color gradient = face;
    if (properties.gradientMode != 0 && !properties.value) {
        gradient = ShiftColor(TranslateColor(properties.gradientColor), 31);
        if (pressedLook)
            face = colors.face;
    }
    FillFace(face, state, result, gradient, colors.hoverFace);
    if (result == 0)
        return;

    Color textColor = -1;
    if ((pressedLook && properties.mode == Mode::Command) || properties.value) {
        textColor =
            (!properties.enabled && properties.value) ? ShiftColor(face, -32, true) : colors.face;
    } else if (!properties.enabled) {
        textColor = (!properties.value && properties.mode > Mode::Command) ? kGrey : -1;
    } else {
        textColor = TranslateColor(properties.foreColor);
    }
    // The caption keeps the style's colour under the pointer too, unless it has a hover
    // colour of its own.
    const bool ownHover = properties.foreColor != properties.hoverForeColor && !properties.value;
    DrawContent(face, textColor, properties.value, properties.mode > Mode::Command,
                ownHover ? properties.hoverForeColor : textColor);

    if (properties.buttonShape < Shape::Ellipse) {
        if ((look.IsPressed && properties.mode > Mode::Command) || properties.value)
            state = properties.value ? 2 : 0;
        Color e1 = kWhite;
        Color e5 = ShiftColor(face, 31, true);
        Color e7 = ShiftColor(face, -64, true);
        if (state == 2) {
            face = properties.gradientMode != 0 ? colors.face : kGrey;
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
    DrawFocus(focus, properties.value, true, points);
}

} // namespace butt
