// Outlines: the window region of each shape with its corner cuts, the inset regions that the
// painters clip to, the border rings drawn when an outline is built, the picture-cut outlines,
// and the clip and border chosen before each paint.
#include "butt.h"
#include "canvas.h"
#include "outline.h"

#include "dib.h"
#include "region_rects.h"

#include <cstdint>
#include <new>
#include <utility>

namespace butt {
namespace {

void SubtractRect(tv::BorrowedRegion from, int left, int top, int right, int bottom) {
    const tv::UniqueRegion cut(CreateRectRgn(left, top, right, bottom));
    if (cut)
        CombineRgn(from, from, cut.get(), RGN_DIFF);
}

void SubtractTriangle(tv::BorrowedRegion from, POINT a, POINT b, POINT c) {
    const POINT corners[3] = {a, b, c};
    const tv::UniqueRegion cut(CreatePolygonRgn(corners, 3, WINDING));
    if (cut)
        CombineRgn(from, from, cut.get(), RGN_DIFF);
}

// The picture at width x height in a 32-bit DIB section, scaled to the nearest pixel as
// Windows' own CopyImage does. A smoothing scaler (Wine's CopyImage is one) would blend the
// key into the motif's edges, and those blends are no longer near enough to the key to count
// as transparent: a stretched picture would show a fringe of them.
tv::DibSection ScaledPicture(tv::BorrowedBitmap picture, int width, int height) {
    BITMAP source{};
    if (!GetObjectW(picture, sizeof source, &source) || source.bmWidth <= 0 || source.bmHeight <= 0)
        return {};
    tv::DibSection scaled = tv::MakeDibSection(width, height);
    const tv::UniqueMemoryDc from(CreateCompatibleDC(nullptr));
    const tv::UniqueMemoryDc to(CreateCompatibleDC(nullptr));
    if (!scaled.bitmap || !from || !to)
        return {};
    // A bitmap that is selected into another DC cannot be selected here: no copy then.
    const HGDIOBJ previous = SelectObject(from.get(), picture);
    if (!previous)
        return {};
    bool copied = false;
    {
        const tv::ScopedSelect target(to.get(), scaled.bitmap.get());
        SetStretchBltMode(to.get(), COLORONCOLOR);
        copied = StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, source.bmWidth,
                            source.bmHeight, SRCCOPY) != FALSE;
    }
    SelectObject(from.get(), previous);
    if (!copied)
        return {};
    GdiFlush();
    return scaled;
}

// Single corner pixels, for the styles whose bevel has square corners a pixel in.
void PixelCuts(tv::BorrowedRegion region, bool left, bool right, int w, int h) {
    if (left) {
        SubtractRect(region, 0, 0, 1, 1);
        SubtractRect(region, 0, h - 1, 1, h);
    }
    if (right) {
        SubtractRect(region, w - 1, h - 1, w, h);
        SubtractRect(region, w - 1, 0, w, 1);
    }
}

// Small triangles: legs of 2 pixels at the top, 3 at the bottom.
void TriangleCuts(tv::BorrowedRegion region, bool left, bool right, int w, int h) {
    if (left) {
        SubtractTriangle(region, {0, 0}, {2, 0}, {0, 2});
        SubtractTriangle(region, {0, h}, {3, h}, {0, h - 3});
    }
    if (right) {
        SubtractTriangle(region, {w, 0}, {w - 2, 0}, {w, 2});
        SubtractTriangle(region, {w, h}, {w - 3, h}, {w, h - 3});
    }
}

// Gives the control's client area the size asked for (the control is a child window; its
// position stays).
void ResizeClient(HWND window, int width, int height) {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int extraWidth = (outer.right - outer.left) - client.right;
    const int extraHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, width + extraWidth, height + extraHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

struct Rgb {
    int red, green, blue;
};

// Channels as the outline reader splits them: an invalid colour (all bits set) reads as
// red 255, green 0, blue 0.
Rgb Split(std::int32_t c) {
    return {c & 0xFF, (c / 256) & 0xFF, (c / 65536) & 0xFF};
}

bool NearKey(const Rgb& pixel, const Rgb& key) {
    const auto close = [](int a, int b) { return a >= b - 3 && a <= b + 3; };
    return close(pixel.red, key.red) && close(pixel.green, key.green) &&
           close(pixel.blue, key.blue);
}

} // namespace

void Canvas::CreateShapeRegion() {
    float width = ScaleWidth();
    float height = ScaleHeight();
    HDC buffer = BufferDc();
    BodyLeft = 0;
    BodyRight = Round(width);
    if (buffer)
        SelectClipRgn(buffer, nullptr);
    InnerRegion.reset();
    OuterRegion.reset();

    tv::UniqueRegion outline;
    const bool pixelCutStyle = properties.buttonStyle == Style::Raised ||
                               (properties.buttonStyle == Style::Flat && properties.enabled);
    const bool triangleCutStyle =
        properties.buttonStyle == Style::Themed || properties.buttonStyle == Style::Rounded;

    if (properties.buttonShape == Shape::Rectangle) {
        // One pixel larger than the client area, so the outline never clips the last line.
        outline.reset(CreateRectRgn(0, 0, Round(width + 1), Round(height + 1)));
        if (!outline)
            return;
        const int w = Round(width);
        const int h = Round(height);
        if (pixelCutStyle)
            PixelCuts(outline.get(), true, true, w, h);
        else if (triangleCutStyle)
            TriangleCuts(outline.get(), true, true, w, h);
    } else if (properties.buttonShape >= Shape::Ellipse &&
               properties.buttonShape <= Shape::EllipseFramed) {
        outline.reset(CreateEllipticRgn(0, 0, Round(width), Round(height)));
        if (!outline)
            return;
        if (properties.buttonStyle != Style::HotTrack && buffer) {
            if (properties.buttonShape == Shape::EllipseFramed) {
                const tv::UniqueBrush black(CreateSolidBrush(0));
                FrameRgn(buffer, outline.get(), black.get(), 1, 1);
            } else {
                GradientFill(kWhite, kGrey, 3);
            }
        }
        OuterRegion.reset(CreateEllipticRgn(1, 1, Round(width - 1), Round(height - 1)));
        InnerRegion.reset(CreateEllipticRgn(2, 2, Round(width - 2), Round(height - 2)));
    } else if (properties.buttonShape == Shape::PictureFramed ||
               properties.buttonShape == Shape::PictureRinged) {
        if (PictureWidth == 0 || PictureHeight == 0)
            return; // nothing to cut the outline from: the old one stays
        int fittedWidth = 0;
        int fittedHeight = 0;
        FitPictureSize(Round(width), Round(height), fittedWidth, fittedHeight);
        if (fittedWidth <= 0 || fittedHeight <= 0)
            return;
        // The resize below must not start a second build of the outline.
        const bool wasDelayed = delayDrawing;
        delayDrawing = true;
        ResizeClient(window, fittedWidth, fittedHeight);
        width = ScaleWidth();
        height = ScaleHeight();
        BodyRight = Round(width);
        delayDrawing = wasDelayed;
        buffer = BufferDc();

        RegionFromPicture(Round(width), Round(height), &outline);
        if (!outline || !ShapeBitmap || !OuterRegion || !InnerRegion)
            return; // the outline could not be read: the old one stays
        RECT box{};
        RECT outerBox{};
        RECT innerBox{};
        GetRgnBox(outline.get(), &box);
        GetRgnBox(OuterRegion.get(), &outerBox);
        GetRgnBox(InnerRegion.get(), &innerBox);
        OffsetRgn(OuterRegion.get(), box.left - outerBox.left + 1, box.top - outerBox.top + 1);
        OffsetRgn(InnerRegion.get(), box.left - innerBox.left + 2, box.top - innerBox.top + 2);
        if (buffer) {
            if (properties.buttonShape == Shape::PictureRinged) {
                GradientFill(kWhite, kGrey, 3);
            } else {
                const tv::UniqueBrush brush(
                    CreateSolidBrush(static_cast<COLORREF>(TranslateColor(properties.backColor))));
                FrameRgn(buffer, outline.get(), brush.get(), 1, 1);
            }
            SelectClipRgn(buffer, OuterRegion.get());
        }
    } else {
        // Slanted outlines: each slanted edge runs at 45 degrees over the height plus one.
        const float quarter = (height + 1) / 4.0f;
        int w = Round(width);
        const int d = Round(4 * quarter);
        if (w - d < 5)
            w += 5; // once per build, even when the slant still needs more
        if (width != static_cast<float>(w)) {
            const bool wasDelayed = delayDrawing;
            delayDrawing = true;
            ResizeClient(window, w, Round(height));
            BodyRight = Round(ScaleWidth());
            delayDrawing = wasDelayed;
        }
        width = ScaleWidth();
        height = ScaleHeight();
        const int e = Round(width - static_cast<float>(d));
        POINT corners[4] = {{0, 0},
                            {0, Round(height + 1)},
                            {Round(width + 1), Round(height + 1)},
                            {Round(width + 1), 0}};
        if (properties.buttonShape == Shape::SlantedLeft ||
            properties.buttonShape == Shape::Parallelogram) {
            corners[1] = {d, Round(height + 1)};
            BodyLeft = d;
        }
        if (properties.buttonShape == Shape::SlantedRight ||
            properties.buttonShape == Shape::Parallelogram) {
            corners[3] = {e + 1, 0};
            BodyRight = e;
        }
        outline.reset(CreatePolygonRgn(corners, 4, WINDING));
        if (!outline)
            return;
        // Only a vertical side gets its corners cut.
        const int wr = Round(width);
        const int hr = Round(height);
        if (pixelCutStyle)
            PixelCuts(outline.get(), properties.buttonShape == Shape::SlantedRight,
                      properties.buttonShape == Shape::SlantedLeft, wr, hr);
        else if (triangleCutStyle)
            TriangleCuts(outline.get(), properties.buttonShape == Shape::SlantedRight,
                         properties.buttonShape == Shape::SlantedLeft, wr, hr);
    }

    // The system owns the region once it has taken it.
    if (window && SetWindowRgn(window, outline.get(), TRUE))
        outline.release();
    if (BodyRight == 0)
        BodyRight = Round(ScaleWidth());
}

void Canvas::FitPictureSize(int width, int height, int& fittedWidth, int& fittedHeight) const {
    if (PictureWidth <= 0 || PictureHeight <= 0) {
        fittedWidth = 0;
        fittedHeight = 0;
        return;
    }
    const double rx = static_cast<double>(width) / PictureWidth;
    const double ry = static_cast<double>(height) / PictureHeight;
    const double r = ry < rx ? ry : rx;
    fittedWidth = Round(PictureWidth * r);
    fittedHeight = Round(PictureHeight * r);
}

void Canvas::RegionFromPicture(int width, int height, tv::UniqueRegion* outline) {
    if (!properties.picture)
        return;
    ShapeBitmap.reset();
    ShapeBitmapWidth = 0;
    ShapeBitmapHeight = 0;
    if (PictureKind != 0 || width <= 0 || height <= 0)
        return;
    tv::DibSection scaled =
        ScaledPicture(static_cast<HBITMAP>(properties.picture->handle()), width, height);
    if (!scaled.bitmap)
        return;
    ShapeBitmap = std::move(scaled.bitmap);
    ShapeBitmapWidth = width;
    ShapeBitmapHeight = height;

    // The pixels are read and written in place, in the DIB section's memory. DIB pixels are
    // 0x00RRGGBB; colour values are 0x00BBGGRR. Pixels near the key become exactly the key,
    // so that the picture can be drawn with exact-key transparency.
    std::uint32_t* const pixels = scaled.bits;
    const auto colorOf = [](std::uint32_t pixel) {
        return static_cast<std::int32_t>(tv::ColorFromDib(pixel));
    };
    const Rgb key = Split(colorOf(pixels[0]));
    const std::uint32_t keyPixel = pixels[0] & 0xFFFFFF;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    try {
        std::vector<std::uint8_t> keyed(outline ? count : 0);
        for (std::size_t i = 0; i < count; ++i) {
            if (!NearKey(Split(colorOf(pixels[i])), key))
                continue;
            pixels[i] = keyPixel;
            if (outline)
                keyed[i] = 1;
        }
        if (!outline)
            return;
        // Beyond the picture the colour reads as invalid (all bits set): red 255, green 0,
        // blue 0, which is near some keys.
        const bool keyedBeyond = NearKey(Split(static_cast<std::int32_t>(CLR_INVALID)), key);
        const PictureOutline rects = OutlineOfKeyed(std::move(keyed), width, height, keyedBeyond);
        // A picture all of key has an empty outline, which is still an outline.
        const auto region = [](const std::vector<RECT>& from) {
            return from.empty() ? tv::UniqueRegion(CreateRectRgn(0, 0, 0, 0))
                                : tv::RegionFromRects(from);
        };
        *outline = region(rects.opaque);
        OuterRegion = region(rects.outer);
        InnerRegion = region(rects.inner);
    } catch (const std::bad_alloc&) {
        if (outline) // too large to cut: the caller keeps the outline it had
            outline->reset();
    }
}

short Canvas::PrepareShapeFrame() {
    HDC buffer = BufferDc();
    if (!buffer)
        return 0;
    const bool pressed = LooksPressed();
    short result = 1;
    if (properties.buttonStyle == Style::HotTrack && !look.IsHovering && !pressed &&
        !properties.value) {
        SelectClipRgn(buffer, nullptr);
        return 1;
    }
    SelectClipRgn(buffer, nullptr);
    // The shapes with a one-pixel frame: the black ellipse and the picture in its back colour.
    const bool framed = properties.buttonShape == Shape::EllipseFramed ||
                        properties.buttonShape == Shape::PictureFramed;
    if (properties.buttonStyle == Style::HotTrack && !(properties.value && framed)) {
        GradientFill(kWhite, kGrey, 3);
        SelectClipRgn(buffer, InnerRegion.get());
        result = 4;
    }
    if ((pressed || properties.value) && !framed) {
        // Pressed or latched: a sunken ring, grey at the top to white at the bottom.
        SelectClipRgn(buffer, OuterRegion.get());
        GradientFill(kGrey, kWhite, 3);
        SelectClipRgn(buffer, InnerRegion.get());
        return 4;
    }
    if (!framed) {
        SelectClipRgn(buffer, OuterRegion.get());
        result = 3;
    } else if (properties.buttonShape == Shape::PictureFramed || look.IsHovering) {
        tv::UniqueRegion windowRegion(CreateRectRgn(0, 0, 0, 0));
        if (windowRegion && GetWindowRgn(window, windowRegion.get()) != ERROR) {
            const Color color = properties.buttonShape == Shape::EllipseFramed
                                    ? 0
                                    : TranslateColor(properties.backColor);
            const tv::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(color)));
            FrameRgn(buffer, windowRegion.get(), brush.get(), 1, 1);
        }
        SelectClipRgn(buffer, OuterRegion.get());
        result = 3;
    }
    return result;
}

} // namespace butt
