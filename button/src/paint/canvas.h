#pragma once
// What the control paints from and into. The control (control/) owns a Canvas and keeps it
// up to date: the properties it paints from (read only here), the look its input gives it,
// and the window it paints. Painting never asks the host, raises an event or takes the mouse;
// what it needs of them arrives in the look.
#include "colors.h"
#include "kinds.h"
#include "properties.h"

#include "handles.h"
#include "memory_dc.h"

#include <windows.h>

#include <array>
#include <optional>

namespace butt {

// StateFlags bits.
inline constexpr int kShowsFocus = 1;
inline constexpr int kButtonHeld = 2;
inline constexpr int kPointerInside = 4;

// System colours (top bit set) to their plain value; plain values unchanged.
Color TranslateColor(Color color);

// The look of the moment, as the control's input and its host make it.
struct Look {
    int StateFlags = 0;
    bool IsHovering = false;
    bool IsPressed = false;
    bool designing = false;       // a form is being designed (the host's UserMode is false)
    Color ContainerBackColor = 0; // the form's colour, plain, for what lies outside the outline
};

// Per-redraw buffers of a painter, handed to the primitives by reference.
using PointList = std::array<POINT, 16>;  // indices 0 to 15
using EdgeColors = std::array<Color, 13>; // indices 1 to 12 (0 unused); -1 = not drawn

// Fills many rectangles of plain colours, each exactly as DrawRect without a border colour
// paints it, with the device context's own brush: no pen or brush is made per rectangle,
// which is what a band of a gradient or a row of a shaded face would otherwise cost.
class BandFiller {
  public:
    explicit BandFiller(tv::BorrowedDc dc) : dc_(dc), select_(dc, GetStockObject(DC_BRUSH)) {}
    void Fill(int left, int top, int right, int bottom, Color color) const;

  private:
    tv::BorrowedDc dc_;
    tv::ScopedSelect select_;
};

// Edges first to last (inclusive) in one colour.
inline void SetEdges(EdgeColors& edges, int first, int last, Color color) {
    for (int i = first; i <= last; ++i)
        edges[static_cast<std::size_t>(i)] = color;
}

// The four edges of a ring from `first`: left and top in one colour, right and bottom in another.
inline void SetRing(EdgeColors& edges, int first, Color leftTop, Color rightBottom) {
    SetEdges(edges, first, first + 1, leftTop);
    SetEdges(edges, first + 2, first + 3, rightBottom);
}

class Canvas {
  public:
    explicit Canvas(const Properties& values) : properties(values) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    const Properties& properties;
    Look look;
    HWND window = nullptr;     // the control's window, from its first message to its end
    bool delayDrawing = false; // the DelayDrawing flag: nothing is painted while it is set

    // ---- Outlines (shapes.cpp) ----
    tv::UniqueRegion OuterRegion; // the outline eroded by one pixel (shapes 4 to 8)
    tv::UniqueRegion InnerRegion; // and by two
    int BodyLeft = 0;
    int BodyRight = 0;
    tv::UniqueBitmap ShapeBitmap; // the picture at its drawn size, near-key pixels made key
    int ShapeBitmapWidth = 0;
    int ShapeBitmapHeight = 0;

    // ---- Pictures (pictures.cpp) ----
    int PictureWidth = 0;
    int PictureHeight = 0;
    int PictureKind = 0; // 0 bitmap, 1 icon or cursor

    // ---- Layout (layout.cpp) ----
    RECT CaptionRect{};
    RECT PictureRect{};

    // ---- Redraw (redraw.cpp) ----
    // The back buffer, with its bitmap, caption font and the pen and brush of the last
    // drawing step selected; none before the window's first size.
    std::optional<tv::MemoryDc> backBuffer;
    tv::BorrowedDc BufferDc() const { return backBuffer ? backBuffer->get() : nullptr; }
    StyleColors colors; // derived from BackColor and HoverBackColor by the style
    // The screen's size in pixels, read when the buffer is made (the gradient's band rule
    // needs it on every paint, and asking the system each time costs more than the paint).
    SIZE screenPixels{};
    // The outline frame of the last redraw, drawn on the window and again by PrintTo.
    enum class FrameKind { None, Outer, Inner, Window };
    FrameKind lastFrameKind = FrameKind::None;
    Color lastFrameColor = -1; // EdgeColors(12) of the last redraw, or its replacement

    float ScaleWidth() const;  // client width in pixels
    float ScaleHeight() const; // client height in pixels
    bool LooksPressed() const {
        return (look.StateFlags & (kButtonHeld | kPointerInside)) == (kButtonHeld | kPointerInside);
    }
    // The style has a painter (a style no setter takes paints nothing).
    bool HasPainter() const;
    // The painter of the style into the back buffer, then the copy to the window and the
    // outline frame of the shapes that show one.
    void Paint();
    // Makes the buffer (its DC once, its bitmap at the control's size), or copies it to the
    // window.
    void UseBackBuffer(bool create);
    // Copies the back buffer, and the outline frame of the last redraw, into any DC
    // (WM_PRINTCLIENT, tests).
    void PrintTo(tv::BorrowedDc target);
    void FrameLastOutline(tv::BorrowedDc target);
    void RefreshFont();   // the caption font in the back buffer, from Font
    void RefreshColors(); // the style's colours, from BackColor and HoverBackColor
    // The control's window has ended: everything held goes, and nothing is painted again.
    void End();

    // ---- Primitives (primitives.cpp) ----
    void DrawRect(tv::BorrowedDc dc, int left, int top, int right, int bottom, Color fill,
                  Color border, int penWidth, int penStyle);
    void SetDrawingTool(tv::BorrowedDc dc, Tool kind, Color color, bool withPen, int penWidth,
                        int penStyle);
    void FillFace(Color faceColor, short& drawState, short& drawResult, Color gradientColor,
                  Color hoverColor);
    void DrawBevel(PointList& points, EdgeColors& edgeColors, short drawState, int outerPenStyle);
    void DrawFocus(Color color, bool solid, bool aroundContent, PointList& points);

    // ---- Gradient (gradient.cpp): bands in `mode`'s direction ----
    void GradientFill(Color first, Color second, long mode);

    // ---- Shapes and regions (shapes.cpp) ----
    // Builds and installs the window region and the inset regions; may resize the window
    // (slanted shapes too narrow for their slants, picture outlines to the picture's shape).
    void CreateShapeRegion();
    void FitPictureSize(int width, int height, int& fittedWidth, int& fittedHeight) const;
    // Makes ShapeBitmap, the picture at width x height with its near-key pixels turned into the
    // key; with `outline`, also the picture's outline there and the two inset regions.
    void RegionFromPicture(int width, int height, tv::UniqueRegion* outline);
    // The clip and border of the coming paint: 0 paints nothing, 1 the whole face, 3 inside
    // OuterRegion, 4 inside InnerRegion after a gradient ring.
    short PrepareShapeFrame();

    // ---- Pictures (pictures.cpp) ----
    void MeasurePicture();
    void DrawPicture(RECT rect);
    void TransparentBlit(tv::BorrowedDc destination, const RECT& rect, tv::BorrowedBitmap source,
                         int width, int height);

    // ---- Layout (layout.cpp) ----
    void LayoutContent(bool rebuildPicture);
    // `hoverText` is the caption's colour under the pointer (HoverForeColor, unless the
    // style keeps its own).
    void DrawContent(Color faceColor, Color textColor, bool forcePressed, bool keepColor,
                     Color hoverText);

    // ---- Style painters (styles.cpp: 0 to 3; styles_late.cpp: 4 to 7) ----
    // Shared by every painter: "down" is Value, or a toggle held pressed; the common ending
    // keeps an outline frame only for hovered or pressed shape 6 and shapes 7, 8.
    bool HeldDown() const;
    void PainterEnding(EdgeColors& edges, short& result);
    // Steps 1 to 4 of styles 0, 1, 4, 5 and 6: the face in its colour (the down colour for a
    // toggle that is on), then the content. False when FillFace painted nothing.
    bool FillFaceAndContent(short& state, short& result, Color& fill, Color& textColor);
    void PaintStyle0(PointList& points, EdgeColors& edges, short& state, short& result);
    void PaintStyle1(PointList& points, EdgeColors& edges, short& state, short& result);
    void PaintStyle2(PointList& points, EdgeColors& edges, short& state, short& result);
    void PaintStyle3(PointList& points, EdgeColors& edges, short& state, short& result);
    void PaintStyle4(PointList& points, EdgeColors& edges, short& state, short& result);
    void PaintStyle5(PointList& points, EdgeColors& edges, short& state, short& result);
    void PaintStyle6(PointList& points, EdgeColors& edges, short& state, short& result);
    void PaintStyle7(PointList& points, EdgeColors& edges, short& state, short& result);
};

} // namespace butt
