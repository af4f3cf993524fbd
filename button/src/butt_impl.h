#pragma once
// The control's record and its private operations. Each group of operations lives in the
// source file named above it; every file works on this one record.
#include "butt.h"
#include "color.h"
#include "kinds.h"
#include "handles.h"
#include "memory_dc.h"

#include <array>
#include <optional>

namespace butt {

// StateFlags bits.
inline constexpr int kShowsFocus = 1;
inline constexpr int kButtonHeld = 2;
inline constexpr int kPointerInside = 4;

inline constexpr UINT_PTR kHoverTimerId = 237;
inline constexpr UINT kHoverTimerMs = 50;
// Posted to the control by accDoDefaultAction: the click runs after the client's call returns.
inline constexpr UINT kDefaultActionMessage = WM_APP + 1;

// Per-redraw buffers of DrawButton (draw.cpp), handed to the painters by reference.
using PointList = std::array<POINT, 16>;  // indices 0 to 15
using EdgeColors = std::array<Color, 13>; // indices 1 to 12 (0 unused); -1 = not drawn

// Fills many rectangles of plain colours, each exactly as DrawRect without a border colour
// paints it, with the device context's own brush: no pen or brush is made per rectangle,
// which is what a band of a gradient or a row of a shaded face would otherwise cost.
class BandFiller {
  public:
    explicit BandFiller(HDC dc) : dc_(dc), select_(dc, GetStockObject(DC_BRUSH)) {}
    void Fill(int left, int top, int right, int bottom, Color color) const;

  private:
    HDC dc_;
    tv::ScopedSelect select_;
};

// Edges first to last (inclusive) in one colour.
inline void SetEdges(EdgeColors& edges, int first, int last, Color color) {
    for (int i = first; i <= last; ++i)
        edges[static_cast<std::size_t>(i)] = color;
}

class Butt::Impl {
  public:
    // The codes by name; inside the record, Mode is the enum, not Butt::Mode().
    using Mode = butt::Mode;

    Impl(Butt& owner, ButtHost& host);
    ~Impl();
    // Ends the control (its window, its group, its place among the live controls); the
    // memory goes with the destructor. Runs once.
    void Retire();

    // Marks control code on the stack (a message, a call from the host): a record whose
    // owner is deleted meanwhile is freed when the last of these returns.
    class Entry {
      public:
        explicit Entry(Impl& impl);
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

      private:
        Impl& impl_;
    };
    int entered = 0;
    bool orphaned = false;
    bool retired = false;

    Butt& owner;
    ButtHost& host;
    ButtEvents events;
    HWND hwnd = nullptr;

    // ---- Property fields (properties.cpp) ----
    std::string caption;
    long captionAlign = 0;
    long captionStyle = 0;
    Style buttonStyle = Style::Classic;
    Shape buttonShape = Shape::Rectangle;
    bool showFocusRect = false;
    Color hoverBackColor = 0;
    Color hoverForeColor = 0;
    long hoverColorLocks = 0;
    long gradientMode = 0;
    Color gradientColor = 0;
    Mode mode = Mode::Command;
    bool value = false;
    long customClick = 0;
    PicturePtr picture;
    long pictureAlign = 0;
    int PictureSizePixels = 0; // 16, 24, 32, 40 or 48; 0 counts as 16
    bool delayDrawing = false; // the DelayDrawing flag
    Color backColor = 0;
    Color ContainerBackColor = 0; // plain RGB
    HWND ContainerWindow = nullptr;
    // What a form host keeps for its controls.
    bool enabled = true;
    Color foreColor = kButtonText;
    FontDesc font;
    long mousePointer = 0;
    PicturePtr mouseIcon;
    wchar_t accessKey = 0;

    // ---- Input state (input.cpp, hover.cpp) ----
    int StateFlags = 0;
    short LastMouseButton = 0;
    bool IsHovering = false;
    bool IsPressed = false;
    bool afterDoubleClick = false; // the release that ends a double click raises no click
    int pressedHere = 0;           // mouse buttons (1, 2, 4) pressed here, for the host click
    bool releasingCapture = false; // our own ReleaseCapture is not a lost capture
    bool terminated = false;       // the window has ended; nothing draws or joins any more
    // Turns false when the record goes: code that raised an event checks it before going on,
    // since an event handler may delete the control.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    // ---- Shapes (shapes.cpp) ----
    tv::UniqueRegion OuterRegion;
    tv::UniqueRegion InnerRegion;
    int BodyLeft = 0;
    int BodyRight = 0;
    tv::UniqueBitmap ShapeBitmap;
    int ShapeBitmapWidth = 0;
    int ShapeBitmapHeight = 0;
    bool PressShifted = false;

    // ---- Pictures (pictures.cpp) ----
    int PictureWidth = 0;
    int PictureHeight = 0;
    int PictureKind = 0; // 0 bitmap, 1 icon or cursor

    // ---- Layout (layout.cpp) ----
    RECT CaptionRect{};
    RECT PictureRect{};

    // ---- Drawing (draw.cpp) ----
    // The back buffer, with its bitmap, caption font and the pen and brush of the last
    // drawing step selected; none before the window's first size.
    std::optional<tv::MemoryDc> backBuffer;
    HDC BufferDc() const { return backBuffer ? backBuffer->get() : nullptr; }
    StyleColors colors; // derived from BackColor and HoverBackColor by the style
    // The screen's size in pixels, read when the buffer is made (the gradient's band rule
    // needs it on every paint, and asking the system each time costs more than the paint).
    SIZE screenPixels{};

    // ---- Window (window.cpp) ----
    // Creates the control's child window; the object pointer rides on WM_NCCREATE.
    bool CreateControlWindow(HWND parent, int id, RECT bounds);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    float ScaleWidth() const;  // client width in pixels
    float ScaleHeight() const; // client height in pixels
    // The live control stored at `address` (a window property's value), or nullptr.
    static Impl* FromStoredAddress(HANDLE address);
    // The window under the pointer is this control (GetCursorPos + WindowFromPoint).
    bool PointerOverControl() const;
    // A client point lies on the control (inside its outline, if it has one).
    bool InsideControl(POINT client) const;
    bool LooksPressed() const {
        return (StateFlags & (kButtonHeld | kPointerInside)) == (kButtonHeld | kPointerInside);
    }

    // ---- Properties (properties.cpp): setters with their range checks, design messages ----
    void Notify(const char* key); // host.PropertyChanged
    void ClearDelay();            // clears the DelayDrawing flag, unless the control has ended
    void DesignMessage(int n);    // shown only while !host.UserMode()
    void UpdateAccessKey(const std::string& caption);
    void SetButtonStyle(long v);
    void SetMode(long v);
    void SetCaption(const std::string& v);
    void SetCaptionAlign(long v);
    void SetCaptionStyle(long v);
    void SetCustomClick(long v);
    void SetButtonShape(long v);
    void SetPicture(PicturePtr v);
    void SetPictureAlign(long v);
    void SetEnabled(bool v);
    void SetShowFocusRect(bool v);
    void SetValue(bool v);
    long PictureSize();
    void SetPictureSize(long v);
    void SetMousePointer(long v);
    void SetMouseIcon(PicturePtr v);
    void SetFont(const FontDesc& v);
    long FontStyle() const;
    void SetFontStyle(long v);
    void SetForeColor(Color v);
    void SetBackColor(Color v);
    void SetGradientColor(Color v);
    void SetGradientMode(long v);
    void SetResetDefaultColors(bool v);
    void SetHoverColorLocks(long v);
    void SetHoverForeColor(Color v);
    void SetHoverBackColor(Color v);
    void Refresh();
    void DelayDrawing(bool bDelay);

    // ---- Persistence (persistence.cpp) ----
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // ---- Input, states, events (input.cpp) ----
    void OnMouseDown(short button, short shift, float x, float y);
    void OnMouseUp(short button, short shift, float x, float y);
    void OnMouseMove(short button, short shift, float x, float y);
    void OnClick();
    void OnDoubleClick();
    void OnKeyDown(short keyCode, short shift);
    void OnKeyUp(short keyCode, short shift);
    void OnKeyPress(short keyAscii);
    void OnAccessKeyPress(int key);
    void OnGotFocus();
    void OnShow();
    void OnAmbientChanged(const std::string& name);
    void OnResize();
    void OnPaint();
    void OnCaptureLost();       // drops held and pressed looks; no Click
    void DropPress();           // the same, also giving up the mouse: the press clicks nothing
    void OnEnable(bool enable); // the host's EnableWindow
    bool OnSysChar(int key);    // Alt+key: true when a control took it
    static void LimitSize(WINDOWPOS& position); // no side beyond kLargestSide
    void Terminate();

    // ---- Accessibility (accessible.cpp) ----
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    long AccessibleState() const; // STATE_SYSTEM_* bits
    // Raises the win events for a state or name that changed since the last call.
    void NotifyAccessibleChanges();
    void DoDefaultAction(); // what a click does, events included
    void ShowKeyboardFocus(bool show);
    bool accessibleKnown = false;
    long accessibleState = 0;
    std::string accessibleName;
    bool focusFromMouse = false;    // the focus came with a mouse press: no focus mark
    bool keyboardFocusMark = false; // kShowsFocus was set for the keyboard focus

    // ---- Option group and hover tracking (option_group.cpp, hover.cpp) ----
    bool OptionToggle(GroupAction action);
    void HoverCheck(UINT_PTR timerId);
    static void CALLBACK HoverTimerProc(HWND hwnd, UINT message, UINT_PTR timerId, DWORD time);

    // ---- Shapes and regions (shapes.cpp) ----
    void CreateShapeRegion();
    void FitPictureSize(int width, int height, int& fittedWidth, int& fittedHeight) const;
    // Makes ShapeBitmap, the picture at width x height with its near-key pixels turned into the
    // key; with `outline`, also the picture's outline there and the two inset regions.
    void RegionFromPicture(int width, int height, tv::UniqueRegion* outline);
    short PrepareShapeFrame();
    bool ApplyCustomClick();

    // ---- Derived state (refresh.cpp) ----
    void RefreshProperty(const std::string& name); // "Font", "Picture", "BackColor"

    // ---- Pictures (pictures.cpp) ----
    void MeasurePicture(); // RefreshProperty's "Picture" case
    void DrawPicture(RECT rect);
    void TransparentBlit(HDC destination, const RECT& rect, HBITMAP source, int width, int height);

    // ---- Layout (layout.cpp) ----
    void LayoutContent(bool rebuildPicture);
    void DrawContent(Color faceColor, Color textColor, bool forcePressed, bool keepColor);

    // ---- Redraw and primitives (draw.cpp) ----
    void DrawButton();
    void UseBackBuffer(bool create);
    void DrawRect(HDC dc, int left, int top, int right, int bottom, Color fill, Color border,
                  int penWidth, int penStyle);
    void SetDrawingTool(HDC dc, Tool kind, Color color, bool withPen, int penWidth, int penStyle);
    void FillFace(Color faceColor, short& drawState, short& drawResult, Color gradientColor,
                  Color hoverColor);
    void DrawBevel(PointList& points, EdgeColors& edgeColors, short drawState, int outerPenStyle);
    void DrawFocus(Color color, bool solid, bool aroundContent, PointList& points);
    // Copies the back buffer, and the outline frame of the last redraw, into any DC
    // (WM_PRINTCLIENT, tests).
    void PrintTo(HDC target);
    // The outline frame of the last redraw, drawn on the window and again by PrintTo.
    enum class FrameKind { None, Outer, Inner, Window };
    FrameKind lastFrameKind = FrameKind::None;
    Color lastFrameColor = -1; // EdgeColors(12) of the last redraw, or its replacement
    void FrameLastOutline(HDC target);
    // Shared by every painter (styles.cpp): "down" is Value, or a toggle held pressed; the
    // common ending keeps an outline frame only for hovered or pressed shape 6 and shapes 7, 8.
    bool HeldDown() const;
    void PainterEnding(EdgeColors& edges, short& result);
    // Steps 1 to 4 of styles 0, 1, 4, 5 and 6: the face in FaceColor (DownFaceColor for a
    // toggle that is on), then the content. False when FillFace painted nothing.
    bool FillFaceAndContent(short& state, short& result, Color& fill, Color& textColor);

    // ---- Gradient (gradient.cpp) ----
    void GradientFill(Color first, Color second);

    // ---- Style painters (styles.cpp: 0 to 3; styles_late.cpp: 4 to 7) ----
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
