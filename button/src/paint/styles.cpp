// The painters of styles 0 to 3 on the common frame: face, content, bevel, ending, focus.
// Styles 4 to 7 (styles_late.cpp) use the same frame through PainterEnding and HeldDown.
#include "canvas.h"

namespace butt {

bool Canvas::FillFaceAndContent(short& state, short& result, Color& fill, Color& textColor) {
    fill = (properties.mode != Mode::Command && properties.value) ? colors.downFace : colors.face;
    FillFace(fill, state, result, TranslateColor(properties.gradientColor), colors.hoverFace);
    if (result == 0)
        return false;
    textColor = (!properties.enabled && properties.mode >= Mode::CheckBox) ? kGrey : kNone;
    DrawContent(fill, textColor, properties.value, properties.mode >= Mode::CheckBox,
                properties.hoverForeColor);
    return true;
}

bool Canvas::HeldDown() const {
    return properties.value || (properties.mode >= Mode::CheckBox && look.IsPressed);
}

void Canvas::PainterEnding(EdgeColors& edges, short& result) {
    // Only hovered or pressed ellipses of shape 6 and the picture outlines keep a frame.
    if (properties.buttonShape < Shape::EllipseFramed ||
        (properties.buttonShape == Shape::EllipseFramed && !look.IsHovering && !LooksPressed()))
        result = 1;
    else
        edges[12] = kBlack;
}

void Canvas::PaintStyle0(PointList& points, EdgeColors& edges, short& state, short& result) {
    Color fill = 0;
    Color focusColor = kNone; // the text colour, then the focus colour
    if (!FillFaceAndContent(state, result, fill, focusColor))
        return;

    if (properties.buttonShape < Shape::Ellipse) {
        Color light = LooksPressed() ? fill : 0xE9E9E9;
        const bool down = HeldDown();
        if (down) {
            state = 3;
            light = 0xE9E9E9;
            focusColor = kBlack;
        } else if (properties.buttonShape > Shape::Rectangle) {
            focusColor = ShiftColor(fill, -48);
        }
        switch (state) {
        case 1: // focused
            SetEdges(edges, 1, 2, light);
            SetEdges(edges, 3, 4, kGrey);
            SetEdges(edges, 5, 6, kWhite);
            SetEdges(edges, 7, 8, kBlack);
            break;
        case 2: // pressed look
            SetEdges(edges, 1, 6, kNone);
            SetEdges(edges, 7, 8, kGrey);
            break;
        case 3: // down
            SetEdges(edges, 1, 6, kNone);
            SetEdges(edges, 7, 8, light);
            break;
        default:
            SetEdges(edges, 1, 4, kNone);
            SetEdges(edges, 5, 6, light);
            SetEdges(edges, 7, 8, kGrey);
            break;
        }
        if (down) {
            SetEdges(edges, 9, 10, kBlack);
            SetEdges(edges, 11, 12, kWhite);
        } else {
            SetEdges(edges, 9, 10, (look.StateFlags & kShowsFocus) ? kBlack : kWhite);
            SetEdges(edges, 11, 12, kBlack);
        }
        DrawBevel(points, edges, state, -1);
    }
    PainterEnding(edges, result);
    DrawFocus(focusColor, properties.value, false, points);
}

void Canvas::PaintStyle1(PointList& points, EdgeColors& edges, short& state, short& result) {
    Color fill = 0;
    Color focusColor = kNone; // the text colour, then the focus colour
    if (!FillFaceAndContent(state, result, fill, focusColor))
        return;

    if (properties.buttonShape < Shape::Ellipse) {
        if (HeldDown()) {
            focusColor = kBlack;
            state = 2;
        } else {
            if (properties.buttonShape > Shape::Rectangle)
                focusColor = ShiftColor(fill, -48);
            if (state != 2)
                state = 1;
        }
        // Raised: white up and left, grey down and right; sunken swaps them.
        const Color upLeft = state == 2 ? kGrey : kWhite;
        const Color downRight = state == 2 ? kWhite : kGrey;
        SetRing(edges, 1, upLeft, downRight);
        SetRing(edges, 5, upLeft, downRight);
        SetEdges(edges, 9, 12, kBlack);
        DrawBevel(points, edges, state, -1);
    }
    PainterEnding(edges, result);
    DrawFocus(focusColor, properties.value, false, points);
}

void Canvas::PaintStyle2(PointList& points, EdgeColors& edges, short& state, short& result) {
    // This style's derived colours are already lightened (RefreshColors).
    const Color base =
        (properties.mode >= Mode::CheckBox && properties.value) ? colors.downFace : colors.face;
    Color fill = colors.face;
    if (properties.mode >= Mode::CheckBox)
        fill = base;
    else if (LooksPressed() && properties.gradientMode == 0)
        fill = colors.shade;
    else if (!properties.enabled)
        fill = ShiftColor(colors.face, -24, true);
    Color gradient = TranslateColor(properties.gradientColor);
    if (properties.buttonShape < Shape::PictureFramed)
        gradient = properties.gradientMode != 0
                       ? ShiftColor(TranslateColor(properties.gradientColor), 48, true)
                       : fill;
    FillFace(fill, state, result, gradient, colors.hoverFace);
    if (result == 0)
        return;
    const Color textColor = properties.enabled ? kBlack : ShiftColor(fill, -104, true);
    DrawContent(fill, textColor, properties.value, true, properties.hoverForeColor);

    if (properties.buttonShape >= Shape::Ellipse) {
        // Round and picture outlines show focus and hover only in their frame colour.
        if ((look.StateFlags & kShowsFocus) && !look.IsHovering)
            edges[12] = 0xEF826B;
        else if (look.IsHovering)
            edges[12] = 0x0096E7;
        else
            result = 1;
        return;
    }

    Color ring;
    if (!properties.enabled) {
        SetEdges(edges, 1, 8, kNone);
        ring = ShiftColor(base, -84, true);
    } else {
        if (HeldDown())
            state = (look.StateFlags & kShowsFocus) ? 1 : 2;
        if ((look.StateFlags & kPointerInside) && !(look.StateFlags & kButtonHeld))
            state = 3; // hot, even with the focus
        else if (state == 1 && !properties.showFocusRect)
            state = 0;
        const auto s = [&](int amount) { return ShiftColor(base, amount, true); };
        switch (state) {
        case 1: // focused: blue
            edges = {0,        0xF0D1B5, 0xF7D7BD, 0xF0D1B5, 0xE7AE8C, 0xE7AE8C, 0xFFDFBF,
                     0xE7AE8C, 0xEF826B, 0,        0,        0,        0};
            break;
        case 2: // pressed
            edges = {0, s(-22), s(-24), base, s(10), s(-32), s(-32), s(5), s(16), 0, 0, 0, 0};
            break;
        case 3: // hot: orange
            edges = {0,        0x6BCBFF, 0x8CDBFF, 0x6BCBFF, 0x31B2FF, 0x31B2FF, 0xA6E9FF,
                     0x31B2FF, 0x0096E7, 0,        0,        0,        0};
            break;
        default:
            edges = {0, s(-10), s(10), s(-24), s(-32), s(-5), s(16), s(-36), s(-48), 0, 0, 0, 0};
            break;
        }
        ring = 0x733C00;
    }
    SetEdges(edges, 9, 12, ring);
    DrawBevel(points, edges, state, -1);

    // Rounded corners: one pixel of the ring colour inside each square corner.
    HDC buffer = BufferDc();
    const float width = ScaleWidth();
    const float height = ScaleHeight();
    if (BodyLeft == 0) {
        SetPixel(buffer, 1, Round(height - 2), static_cast<COLORREF>(ring));
        SetPixel(buffer, 1, 1, static_cast<COLORREF>(ring));
    }
    if (width == static_cast<float>(BodyRight)) {
        SetPixel(buffer, Round(width - 2), Round(height - 2), static_cast<COLORREF>(ring));
        SetPixel(buffer, Round(width - 2), 1, static_cast<COLORREF>(ring));
    }
}

void Canvas::PaintStyle3(PointList& points, EdgeColors& edges, short& state, short& result) {
    Color fill = colors.face;
    if (properties.mode != Mode::Command && properties.value)
        fill = colors.downFace;
    else if (properties.mode == Mode::Command && LooksPressed())
        fill = colors.shade;
    FillFace(fill, state, result, TranslateColor(properties.gradientColor), colors.hoverFace);
    if (result == 0)
        return;
    const Color textColor = properties.enabled ? kGrey : ShiftColor(kGrey, -16);
    // The flat style never moves its content when pressed.
    DrawContent(fill, textColor, false, true, properties.hoverForeColor);

    if (properties.buttonShape < Shape::Ellipse) {
        const Color dark = ShiftColor(kGrey, -26);
        if (properties.enabled || properties.mode > Mode::Command) {
            SetEdges(edges, 1, 4, kNone);
            if (properties.mode >= Mode::CheckBox)
                state = (properties.value || look.IsPressed) ? 2 : 3;
            if (state < 2)
                state = 1;
            const Color middle = state == 2 ? fill : kWhite;
            SetEdges(edges, 5, 6, middle);
            SetEdges(edges, 7, 8, dark);
            SetEdges(edges, 9, 10, dark);
            SetEdges(edges, 11, 12, kWhite);
        } else {
            SetEdges(edges, 1, 8, fill);
            SetEdges(edges, 9, 12, dark);
        }
        DrawBevel(points, edges, state, -1);
    }
    PainterEnding(edges, result);
    DrawFocus(0xCC9999, true, true, points);
}

} // namespace butt
