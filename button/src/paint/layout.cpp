// Where caption and picture go on the face, and how the caption is drawn: plain or in one of
// two relief looks, in the colour that hover, press, gradient and enabled state call for.
#include "canvas.h"
#include "texts.h"

#include "text.h"

namespace butt {
namespace {

UINT AlignmentFlag(long captionAlign) {
    switch (captionAlign) {
    case 1:
        return DT_RIGHT;
    case 2:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// Whole-number halving that truncates toward zero.
int Half(int value) {
    return value / 2;
}

void MoveTopTo(RECT& rect, int top) {
    OffsetRect(&rect, 0, top - rect.top);
}

// Each edge is held inside the margins on its own, so the rectangle may shrink.
void KeepInside(RECT& rect, int left, int top, int right, int bottom) {
    rect.top = std::max<LONG>(rect.top, top);
    rect.left = std::max<LONG>(rect.left, left);
    rect.right = std::min<LONG>(rect.right, right);
    rect.bottom = std::min<LONG>(rect.bottom, bottom);
}

} // namespace

void Canvas::LayoutContent(bool rebuildPicture) {
    const float width = ScaleWidth();
    const float height = ScaleHeight();
    const int w = Round(width);

    // The content area: a slanted edge gives up a third of its slant.
    int left = 0;
    int right = w;
    int area = BodyRight;
    switch (properties.buttonShape) {
    case Shape::SlantedLeft:
        left = BodyLeft - BodyLeft / 3 + 3;
        area = Round(width - static_cast<float>(left));
        break;
    case Shape::SlantedRight:
        right = BodyRight + Round(width - static_cast<float>(BodyRight)) / 3;
        area = right;
        break;
    case Shape::Parallelogram:
        left = BodyLeft - BodyLeft / 3 + 3;
        right = BodyRight + Round(width - static_cast<float>(BodyRight)) / 3;
        area = right - left;
        break;
    case Shape::PictureFramed:
    case Shape::PictureRinged:
        left = 3;
        right = BodyRight - 3;
        area = BodyRight - 3;
        break;
    default:
        break;
    }

    const int side =
        properties.PictureSizePixels == 0 ? 16 : static_cast<int>(properties.PictureSizePixels);
    const bool hasPicture = PictureWidth + PictureHeight > 0;
    int slotLeft = 0;
    int slotRight = 0;
    int slotTop = 0;
    int slotBottom = 0;
    if (hasPicture && side < 33) {
        switch (properties.pictureAlign) {
        case 0:
        case 1:
            slotLeft = side;
            break;
        case 2:
        case 3:
            slotRight = side;
            break;
        case 4:
            slotTop = side;
            break;
        case 5:
            slotBottom = side;
            break;
        default:
            break;
        }
    }

    const bool hasCaption = !properties.caption.empty();
    int textWidth = 0;
    int textHeight = 0;
    if (hasCaption && backBuffer) {
        const std::wstring text = tv::Widen(CaptionText(properties.caption));
        RECT measure{0, 0, area - 8 - (slotLeft + slotRight),
                     Round(height - 8 - static_cast<float>(slotTop + slotBottom))};
        DrawTextW(BufferDc(), text.c_str(), static_cast<int>(text.size()), &measure,
                  DT_CALCRECT | DT_WORDBREAK);
        textWidth = measure.right - measure.left;
        textHeight = measure.bottom - measure.top;
        if (properties.captionStyle == 1 || properties.captionStyle == 2) {
            textWidth += 2;
            textHeight += 2;
        }
    }

    int x0 = 0;
    if (hasCaption) {
        switch (properties.captionAlign) {
        case 0:
            x0 = left + 4 + slotLeft + (slotLeft > 0 ? 4 : 0);
            break;
        case 1:
            x0 = right - 4 - slotRight - textWidth - (slotRight > 0 ? 4 : 0);
            break;
        default:
            // Picture and caption beside each other are centred as one group, 4 pixels apart.
            if (properties.pictureAlign == 1 && slotLeft > 0)
                x0 = left + 4 + slotLeft + Half(area - (textWidth + slotLeft + 4));
            else if (properties.pictureAlign == 3 && slotRight > 0)
                x0 = left + Half(area - (textWidth + slotRight + 4));
            else
                x0 = left + slotLeft + Half(area - (slotLeft + slotRight) - textWidth);
            break;
        }
    }
    RECT captionRect{x0, 0, x0 + textWidth, textHeight};

    int pictureX = 0;
    if (hasPicture) {
        switch (properties.pictureAlign) {
        case 0:
            pictureX = left + 4;
            break;
        case 1:
            pictureX = hasCaption ? captionRect.left - 4 - slotLeft : left + 4;
            break;
        case 2:
            pictureX = right - 4 - slotRight;
            break;
        case 3:
            pictureX = hasCaption ? captionRect.right + 4 : right - 4 - slotRight;
            break;
        default:
            pictureX = left + Half(area - side);
            break;
        }
    }

    int pictureY = 0;
    if (hasPicture && properties.pictureAlign == 4) {
        pictureY = Half(Round(height - static_cast<float>(textHeight + slotTop)));
        MoveTopTo(captionRect, pictureY + slotTop + 2);
    } else if (hasPicture && properties.pictureAlign == 5) {
        const int top = Half(Round(height - static_cast<float>(textHeight + slotBottom)));
        MoveTopTo(captionRect, top + 2);
        pictureY = top + textHeight + 4;
    } else {
        MoveTopTo(captionRect, Half(Round(height - static_cast<float>(textHeight))));
        pictureY = Half(Round(height - static_cast<float>(side)));
    }
    RECT pictureRect{pictureX, pictureY, pictureX + side, pictureY + side};

    const int bottomLimit = Round(height - 5);
    KeepInside(captionRect, left + 4, 4, right - 4, bottomLimit);
    CaptionRect = captionRect;

    if (side < 33) {
        KeepInside(pictureRect, left + 4, 4, right - 4, bottomLimit);
    } else if (side == 40) {
        const int inset = properties.buttonShape == Shape::EllipseFramed ? 1 : 3;
        pictureRect = RECT{inset, inset, Round(width - static_cast<float>(inset)),
                           Round(height - static_cast<float>(inset))};
        rebuildPicture = true;
    } else if (side == 48) {
        if (properties.buttonShape == Shape::PictureFramed ||
            properties.buttonShape == Shape::PictureRinged) {
            pictureRect = RECT{0, 0, w, Round(height)};
        } else if (hasPicture) {
            int fittedWidth = 0;
            int fittedHeight = 0;
            FitPictureSize(area - 12, Round(height - 12), fittedWidth, fittedHeight);
            const int x = left + Half(area - fittedWidth);
            const int y = Half(Round(height - static_cast<float>(fittedHeight)));
            pictureRect = RECT{x, y, x + fittedWidth, y + fittedHeight};
            rebuildPicture = true;
        }
    }
    PictureRect = pictureRect;

    if (rebuildPicture)
        RegionFromPicture(PictureRect.right - PictureRect.left,
                          PictureRect.bottom - PictureRect.top, nullptr);
}

void Canvas::DrawContent(Color faceColor, Color textColor, bool forcePressed, bool keepColor,
                         Color hoverText) {
    HDC buffer = BufferDc();
    if (!buffer)
        return;
    RECT captionRect = CaptionRect;
    RECT pictureRect = PictureRect;
    if ((forcePressed || LooksPressed()) && properties.buttonStyle != Style::Flat) {
        const int dx = properties.buttonShape <= Shape::Parallelogram ? 1 : 0;
        OffsetRect(&captionRect, dx, 1);
        OffsetRect(&pictureRect, dx, 1);
    }
    if (!(properties.value && (properties.buttonShape == Shape::PictureFramed ||
                               properties.buttonShape == Shape::PictureRinged)))
        DrawPicture(pictureRect);

    // Shapes 5 to 8 show their caption only while they are down.
    if (properties.caption.empty() ||
        (properties.buttonShape > Shape::Ellipse && !properties.value))
        return;
    const std::wstring text = tv::Widen(CaptionText(properties.caption));
    const UINT flags = DT_WORDBREAK | AlignmentFlag(properties.captionAlign);
    const auto draw = [&](Color color) {
        SetDrawingTool(buffer, Tool::TextColor, color, false, 0, 0);
        RECT rect = captionRect;
        DrawTextW(buffer, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    };

    if (!properties.enabled) {
        if (textColor >= 0 && properties.gradientMode == 0) {
            draw(textColor);
        } else {
            // Engraved: white one pixel down and right under the grey caption.
            OffsetRect(&captionRect, 1, 1);
            draw(kWhite);
            keepColor = false;
        }
        if (!keepColor) {
            OffsetRect(&captionRect, -1, -1);
            draw(kGrey);
        }
        return;
    }

    Color color;
    if (look.IsHovering && !LooksPressed())
        color = TranslateColor(hoverText);
    else if (properties.gradientMode != 0 && !properties.value)
        color = TranslateColor(properties.foreColor);
    else if (properties.buttonStyle == Style::Rounded)
        color = textColor;
    else
        color = TranslateColor(properties.foreColor);

    if (properties.captionStyle != 1 && properties.captionStyle != 2) {
        draw(color);
        return;
    }
    const int shift = properties.captionStyle == 1 ? -40 : 40;
    OffsetRect(&captionRect, -1, 0);
    draw(ShiftColor(faceColor, shift));
    OffsetRect(&captionRect, 2, 2);
    draw(ShiftColor(faceColor, -shift));
    OffsetRect(&captionRect, -1, -1);
    draw(color);
}

} // namespace butt
