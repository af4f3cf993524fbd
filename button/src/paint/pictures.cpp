// Pictures on the face: measuring the assigned picture, drawing its key-coloured working copy
// with the key transparent, the greyed look of a disabled control, icons and cursors.
#include "butt.h"
#include "canvas.h"

namespace butt {
namespace {

constexpr DWORD kKeepWhereSourceSet = 0xB8074A; // S ? D : P, bit by bit
constexpr DWORD kDestinationAndNotSource = 0x220326;

struct PictureSizeInfo {
    int width = 0;
    int height = 0;
    int kind = -1; // -1: not known, keep the previous kind
};

PictureSizeInfo Measure(HANDLE handle) {
    PictureSizeInfo size;
    BITMAP record{};
    // Any bitmap, a DIB section or a device-dependent one, is a bitmap picture. Asking the
    // object type first keeps a DDB from being taken for an icon.
    if (GetObjectType(handle) == OBJ_BITMAP && GetObjectA(handle, sizeof record, &record)) {
        size.width = record.bmWidth;
        size.height = record.bmHeight;
        size.kind = 0;
        return size;
    }
    ICONINFO icon{};
    if (!GetIconInfo(static_cast<HICON>(handle), &icon))
        return size; // a metafile or anything else: 0 x 0, never drawn
    tv::UniqueBitmap colour(icon.hbmColor);
    tv::UniqueBitmap mask(icon.hbmMask);
    if (colour && GetObjectA(colour.get(), sizeof record, &record)) {
        size.width = record.bmWidth;
        size.height = record.bmHeight;
        size.kind = 1;
    } else if (mask && GetObjectA(mask.get(), sizeof record, &record)) {
        // A monochrome icon or cursor keeps image and mask one above the other in its mask.
        size.width = record.bmWidth;
        size.height = record.bmHeight / 2;
        size.kind = 1;
    }
    return size;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

} // namespace

void Canvas::MeasurePicture() {
    // A new or removed picture makes the old working copy worthless; it is rebuilt at the
    // size it is drawn at when next needed.
    ShapeBitmap.reset();
    ShapeBitmapWidth = 0;
    ShapeBitmapHeight = 0;
    if (!properties.picture || !properties.picture->handle()) {
        PictureWidth = 0;
        PictureHeight = 0;
        return;
    }
    const PictureSizeInfo size = Measure(properties.picture->handle());
    if (size.kind >= 0)
        PictureKind = size.kind;
    PictureWidth = size.width > 0 && size.height > 0 ? size.width : 0;
    PictureHeight = size.width > 0 && size.height > 0 ? size.height : 0;
}

void Canvas::DrawPicture(RECT rect) {
    if (PictureWidth + PictureHeight == 0 || !properties.picture || !backBuffer)
        return;
    const bool outline = properties.buttonShape == Shape::PictureFramed ||
                         properties.buttonShape == Shape::PictureRinged;
    // An outline picture covers the whole control: a missing working copy is made at that
    // size, not at the size of the picture's place in the layout.
    if (outline)
        SetRect(&rect, 0, 0, Round(ScaleWidth()), Round(ScaleHeight()));
    if (!ShapeBitmap)
        RegionFromPicture(Width(rect), Height(rect), nullptr);
    // The picture shrinks a little under the pointer.
    if (outline && LooksPressed())
        InflateRect(&rect, -1, -1);
    const int w = Width(rect);
    const int h = Height(rect);
    if (w <= 0 || h <= 0)
        return;
    const bool bitmap = PictureKind != 1;
    if (bitmap && !ShapeBitmap)
        return;
    const HDC back = BufferDc();

    const auto drawOnto = [&](HDC target, const RECT& at) {
        if (bitmap)
            TransparentBlit(target, at, ShapeBitmap.get(), w, h);
        else
            DrawIconEx(target, at.left, at.top, static_cast<HICON>(properties.picture->handle()), w,
                       h, 0, nullptr, DI_NORMAL);
    };

    if (properties.enabled) {
        drawOnto(back, rect);
        return;
    }

    // Disabled: draw onto white, then let white show the face and mix the rest with grey.
    tv::UniqueMemoryDc scratchDc(CreateCompatibleDC(back));
    tv::UniqueBitmap scratch(CreateCompatibleBitmap(back, w, h));
    if (!scratchDc || !scratch)
        return;
    {
        tv::ScopedSelect scratchSelect(scratchDc.get(), scratch.get());
        PatBlt(scratchDc.get(), 0, 0, w, h, WHITENESS);
        drawOnto(scratchDc.get(), RECT{0, 0, w, h});

        tv::UniqueBrush grey(CreateSolidBrush(static_cast<COLORREF>(kGrey)));
        const COLORREF oldBack = SetBkColor(back, static_cast<COLORREF>(kWhite));
        tv::ScopedSelect brushSelect(back, grey.get());
        BitBlt(back, rect.left, rect.top, w, h, scratchDc.get(), 0, 0, kKeepWhereSourceSet);
        SetBkColor(back, oldBack);
    }
}

void Canvas::TransparentBlit(tv::BorrowedDc destination, const RECT& rect,
                             tv::BorrowedBitmap source, int width, int height) {
    const int sw = ShapeBitmapWidth;
    const int sh = ShapeBitmapHeight;
    const int dw = Width(rect);
    const int dh = Height(rect);
    if (!destination || !source || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return;

    const tv::WindowDc screen(nullptr);
    tv::UniqueMemoryDc sourceDc(CreateCompatibleDC(screen.get()));
    tv::UniqueMemoryDc maskDc(CreateCompatibleDC(screen.get()));
    tv::UniqueMemoryDc colourDc(CreateCompatibleDC(screen.get()));
    tv::UniqueMemoryDc workDc(CreateCompatibleDC(screen.get()));
    tv::UniqueBitmap mask(CreateBitmap(sw, sh, 1, 1, nullptr));
    tv::UniqueBitmap colour(CreateCompatibleBitmap(screen.get(), sw, sh));
    tv::UniqueBitmap work(CreateCompatibleBitmap(screen.get(), dw, dh));
    if (!sourceDc || !maskDc || !colourDc || !workDc || !mask || !colour || !work)
        return;
    const tv::ScopedSelect sourceSelect(sourceDc.get(), source);
    const tv::ScopedSelect maskSelect(maskDc.get(), mask.get());
    const tv::ScopedSelect colourSelect(colourDc.get(), colour.get());
    const tv::ScopedSelect workSelect(workDc.get(), work.get());

    const COLORREF key =
        static_cast<COLORREF>(TranslateColor(static_cast<Color>(GetPixel(sourceDc.get(), 0, 0))));
    SetMapMode(workDc.get(), GetMapMode(destination));

    // What lies under the picture now.
    BitBlt(workDc.get(), 0, 0, dw, dh, destination, rect.left, rect.top, SRCCOPY);

    SetBkColor(colourDc.get(), GetBkColor(sourceDc.get()));
    SetTextColor(colourDc.get(), GetTextColor(sourceDc.get()));
    BitBlt(colourDc.get(), 0, 0, sw, sh, sourceDc.get(), 0, 0, SRCCOPY);

    // Mask: key pixels 1, all others 0.
    SetBkColor(colourDc.get(), key);
    SetTextColor(colourDc.get(), static_cast<COLORREF>(kWhite));
    BitBlt(maskDc.get(), 0, 0, sw, sh, colourDc.get(), 0, 0, SRCCOPY);

    // The colour copy with its key pixels black, so that it can be ORed in.
    SetTextColor(colourDc.get(), static_cast<COLORREF>(kBlack));
    SetBkColor(colourDc.get(), static_cast<COLORREF>(kWhite));
    BitBlt(colourDc.get(), 0, 0, sw, sh, maskDc.get(), 0, 0, kDestinationAndNotSource);

    // Black out the background under opaque pixels, then add the picture's pixels in.
    StretchBlt(workDc.get(), 0, 0, width, height, maskDc.get(), 0, 0, sw, sh, SRCAND);
    StretchBlt(workDc.get(), 0, 0, width, height, colourDc.get(), 0, 0, sw, sh, SRCPAINT);

    BitBlt(destination, rect.left, rect.top, dw, dh, workDc.get(), 0, 0, SRCCOPY);
}

} // namespace butt
