#include "looks.h"

#include "control_record.h"
#include "dib.h"
#include "stored_apply.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>

namespace looks {
namespace {

using butt::Butt;
using butt::Color;

class SheetHost : public butt::ButtHost {
  public:
    int ShowMessage(const std::string& text, const std::string& title, UINT) override {
        std::fprintf(stderr, "message box \"%s\": %s\n", title.c_str(), text.c_str());
        return IDOK;
    }
    Color AmbientBackColor() const override { return static_cast<Color>(kBack); }
};

// A form editor: style 5 shows where its borderless buttons are.
class DesignHost : public SheetHost {
  public:
    bool UserMode() const override { return false; }
};

// A look of the control, set up through its properties and its input state.
struct State {
    const char* name;
    std::function<void(Butt&)> apply;
};

void SetInput(Butt& control, int flags, bool hovering, bool pressed) {
    Butt::Impl& impl = control.impl();
    impl.canvas.look.StateFlags = flags;
    impl.canvas.look.IsHovering = hovering;
    impl.canvas.look.IsPressed = pressed;
}

void Toggle(Butt& control) {
    control.SetMode(1);
    control.SetValue(true);
}

const std::vector<State> kStates = {
    {"normal", [](Butt&) {}},
    {"hover", [](Butt& c) { SetInput(c, butt::kPointerInside, true, false); }},
    {"pressed", [](Butt& c) { SetInput(c, butt::kButtonHeld | butt::kPointerInside, true, true); }},
    {"focused", [](Butt& c) { SetInput(c, butt::kShowsFocus, false, false); }},
    {"disabled", [](Butt& c) { c.SetEnabled(false); }},
    {"toggled", Toggle},
    {"toggled focused",
     [](Butt& c) {
         Toggle(c);
         SetInput(c, butt::kShowsFocus, false, false);
     }},
    {"toggled disabled",
     [](Butt& c) {
         Toggle(c);
         c.SetEnabled(false);
     }},
};

// Pictures drawn here: magenta (the top-left pixel) is the key and shows the face.
constexpr COLORREF kKey = RGB(255, 0, 255);

using Painter = std::function<void(HDC)>;
HBITMAP PaintedBitmap(int width, int height, const Painter& paint) {
    tv::DibSection dib = tv::MakeDibSection(width, height);
    {
        const tv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        const tv::ScopedSelect select(dc.get(), dib.bitmap.get());
        const tv::UniqueBrush key(CreateSolidBrush(kKey));
        const RECT all{0, 0, width, height};
        FillRect(dc.get(), &all, key.get());
        paint(dc.get());
    }
    GdiFlush();
    return dib.bitmap.release();
}

void Shapes(HDC dc, COLORREF fill, COLORREF line, const Painter& draw) {
    const tv::UniqueBrush brush(CreateSolidBrush(fill));
    const tv::UniquePen pen(CreatePen(PS_SOLID, 1, line));
    const tv::ScopedSelect selectBrush(dc, brush.get());
    const tv::ScopedSelect selectPen(dc, pen.get());
    draw(dc);
}

// An outline for shapes 7 and 8: a blue pill with a light dot, on the key colour.
butt::PicturePtr PillPicture() {
    return butt::Picture::FromBitmap(PaintedBitmap(100, 30, [](HDC dc) {
        Shapes(dc, RGB(60, 130, 200), RGB(20, 50, 110),
               [](HDC d) { RoundRect(d, 2, 1, 98, 29, 26, 26); });
        Shapes(dc, RGB(235, 245, 255), RGB(235, 245, 255),
               [](HDC d) { Ellipse(d, 10, 8, 24, 22); });
    }));
}

// A small motif: a green disc and a yellow square on the key colour, black at its centre.
// Its corners hold pixels near the key (3 off: they count as key) and one just off it (4
// off: part of the motif).
butt::PicturePtr BadgePicture() {
    return butt::Picture::FromBitmap(PaintedBitmap(32, 32, [](HDC dc) {
        Shapes(dc, RGB(40, 170, 60), RGB(0, 90, 20), [](HDC d) { Ellipse(d, 1, 1, 31, 31); });
        Shapes(dc, RGB(250, 210, 40), RGB(0, 0, 0), [](HDC d) { Rectangle(d, 10, 10, 22, 22); });
        for (int i = 1; i < 6; ++i) {
            SetPixelV(dc, i, 0, RGB(252, 3, 254));
            SetPixelV(dc, 31, i, RGB(255, 3, 252));
        }
        SetPixelV(dc, 0, 31, RGB(251, 0, 255));
    }));
}

butt::PicturePtr InformationIcon() {
    return butt::Picture::FromIcon(CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32516))),
                                   butt::Picture::Kind::Icon);
}

// A motif whose border holds pixels near the key (3 off, they count as key) and one just off
// it (4 off, part of the motif), which must stay visible.
butt::PicturePtr NearKeyPicture() {
    return butt::Picture::FromBitmap(PaintedBitmap(20, 20, [](HDC dc) {
        Shapes(dc, RGB(200, 60, 40), RGB(200, 60, 40), [](HDC d) { Rectangle(d, 4, 4, 16, 16); });
        for (int i = 0; i < 20; ++i) {
            SetPixelV(dc, i, 1, RGB(252, 3, 254));
            SetPixelV(dc, 1, i, RGB(255, 3, 252));
            SetPixelV(dc, i, 18, RGB(251, 0, 255));
        }
    }));
}

void Gradient(Butt& control, long mode) {
    control.SetBackColor(RGB(20, 60, 160));
    control.SetGradientColor(RGB(230, 240, 255));
    control.SetGradientMode(mode);
    control.SetForeColor(RGB(255, 255, 255));
}

void PictureAt(Butt& control, long align) {
    control.SetPictureSize(0);
    control.SetPictureAlign(align);
    control.SetPicture(BadgePicture());
}

// A row's control, made on `parent` with the sheet's size.
using Maker = std::function<std::unique_ptr<Butt>(HWND parent, butt::ButtHost& host, RECT bounds)>;

std::unique_ptr<Butt> Plain(HWND parent, butt::ButtHost& host, RECT bounds, long style, long shape,
                            const char* caption) {
    auto control = Butt::Create(parent, 1, bounds, host);
    if (!control)
        return nullptr;
    control->SetCaption(caption);
    control->SetButtonStyle(style);
    if (shape == 7 || shape == 8) {
        control->SetPictureSize(4);
        control->SetPicture(PillPicture());
    }
    control->SetButtonShape(shape);
    return control;
}

std::unique_ptr<Butt> WithPicture(HWND parent, butt::ButtHost& host, RECT bounds, long style,
                                  long size, long align, bool icon) {
    auto control = Plain(parent, host, bounds, style, 0, size < 3 ? "Pic" : "");
    if (!control)
        return nullptr;
    control->SetPictureSize(size);
    control->SetPictureAlign(align);
    control->SetPicture(icon ? InformationIcon() : BadgePicture());
    return control;
}

std::unique_ptr<Butt> MakeApply(HWND parent, butt::ButtHost& host, RECT bounds) {
    std::string error;
    auto control = tools::LoadStoredApply(parent, host, bounds, TV_APPLY_BAG, error);
    if (!control)
        std::fprintf(stderr, "no Apply button: %s\n", error.c_str());
    return control;
}

struct Catalogue {
    std::vector<Row> rows;
    std::vector<Maker> makers;
};

const Catalogue& TheCatalogue() {
    static const Catalogue catalogue = [] {
        Catalogue c;
        const std::vector<bool> all(kStates.size(), true);
        const auto add = [&](std::string name, Maker make, std::vector<bool> shown) {
            c.rows.push_back(Row{std::move(name), std::move(shown)});
            c.makers.push_back(std::move(make));
        };
        for (long style = 0; style <= 7; ++style)
            for (long shape = 0; shape <= 8; ++shape)
                add(
                    "style " + std::to_string(style) + " shape " + std::to_string(shape),
                    [style, shape](HWND p, butt::ButtHost& h, RECT b) {
                        return Plain(p, h, b, style, shape, "Button");
                    },
                    all);
        std::vector<bool> applyStates(kStates.size(), false);
        applyStates[0] = applyStates[1] = applyStates[2] = true; // normal, hover, pressed
        add("Apply", MakeApply, applyStates);
        const struct {
            const char* name;
            long style, size, align;
            bool icon;
        } pictures[] = {
            {"pic 16, left", 0, 0, 1, false},       {"pic 24, right", 4, 1, 3, false},
            {"pic 40, stretch", 1, 3, 0, false},    {"pic 48, fitted", 7, 4, 0, false},
            {"icon 24, left", 3, 1, 0, true},       {"icon 48, fitted", 6, 4, 0, true},
            {"pic 32, right edge", 2, 2, 2, false},
        };
        for (const auto& p : pictures)
            add(
                p.name,
                [p](HWND parent, butt::ButtHost& h, RECT b) {
                    return WithPicture(parent, h, b, p.style, p.size, p.align, p.icon);
                },
                all);
        // Colours, gradients, caption places and reliefs, each on a button of its own.
        const struct {
            const char* name;
            long style;
            std::function<void(Butt&)> set;
        } variants[] = {
            {"gradient 1", 0, [](Butt& b) { Gradient(b, 1); }},
            {"gradient 2", 4, [](Butt& b) { Gradient(b, 2); }},
            {"gradient 3", 2, [](Butt& b) { Gradient(b, 3); }},
            {"gradient 4, hover", 6,
             [](Butt& b) {
                 Gradient(b, 4);
                 b.SetHoverBackColor(RGB(250, 230, 120));
             }},
            {"colours", 3,
             [](Butt& b) {
                 b.SetBackColor(RGB(90, 40, 120));
                 b.SetForeColor(RGB(255, 255, 0));
                 b.SetHoverForeColor(RGB(0, 255, 255));
                 b.SetHoverBackColor(RGB(40, 120, 90));
             }},
            {"style 2, no focus mark", 2, [](Butt& b) { b.SetShowFocusRect(false); }},
            {"embossed", 1, [](Butt& b) { b.SetCaptionStyle(1); }},
            {"engraved, left", 7,
             [](Butt& b) {
                 b.SetCaptionStyle(2);
                 b.SetCaptionAlign(0);
             }},
            {"right, two lines", 0,
             [](Butt& b) {
                 b.SetCaption("Two||lines");
                 b.SetCaptionAlign(1);
             }},
            {"pic above", 1, [](Butt& b) { PictureAt(b, 4); }},
            {"pic below, near key", 5,
             [](Butt& b) {
                 PictureAt(b, 5);
                 b.SetPicture(NearKeyPicture());
             }},
            {"5 gradient", 5, [](Butt& b) { Gradient(b, 3); }},
            {"7 pressed moves", 4,
             [](Butt& b) {
                 b.SetPictureSize(4);
                 b.SetPicture(PillPicture());
                 b.SetButtonShape(7);
                 b.SetCustomClick(4);
             }},
        };
        for (const auto& v : variants)
            add(
                v.name,
                [v](HWND p, butt::ButtHost& h, RECT b) {
                    auto control = Plain(p, h, b, v.style, 0, "Button");
                    if (control)
                        v.set(*control);
                    return control;
                },
                all);
        for (const long shape : {0L, 4L})
            add(
                shape == 0 ? "5 design, rect" : "5 design, round",
                [shape](HWND p, butt::ButtHost&, RECT b) {
                    static DesignHost design;
                    return Plain(p, design, b, 5, shape, "Button");
                },
                all);
        return c;
    }();
    return catalogue;
}

} // namespace

const std::vector<std::string>& StateNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const State& state : kStates)
            n.emplace_back(state.name);
        return n;
    }();
    return names;
}

const std::vector<Row>& Rows() {
    return TheCatalogue().rows;
}

Canvas::Canvas(int width, int height, COLORREF back)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    tv::DibSection dib = tv::MakeDibSection(width, height);
    bits_ = dib.bits;
    bitmap_ = dib.bitmap.release();
    previous_ = SelectObject(dc_, bitmap_);
    const tv::UniqueBrush brush(CreateSolidBrush(back));
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush.get());
    SetBkMode(dc_, TRANSPARENT);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

const std::uint32_t* Canvas::pixels() const {
    GdiFlush();
    return bits_;
}

bool Canvas::SaveBmp(const char* path) const {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_; // bottom-up rows, the form every reader takes
    header.biPlanes = 1;
    header.biBitCount = 32;
    const DWORD rowBytes = static_cast<DWORD>(width_) * 4;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + rowBytes * static_cast<DWORD>(height_);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    // GDI leaves the fourth byte 0; readers of 32-bit BMPs take it as alpha.
    const std::uint32_t* all = pixels();
    std::vector<std::uint32_t> line(static_cast<std::size_t>(width_));
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x)
            line[static_cast<std::size_t>(x)] =
                all[static_cast<std::size_t>(y) * width_ + x] | 0xFF000000u;
        out.write(reinterpret_cast<const char*>(line.data()), rowBytes);
    }
    return static_cast<bool>(out);
}

bool PaintCell(HWND parent, std::size_t row, std::size_t state, Canvas& canvas, int x, int y) {
    static SheetHost host;
    auto control = TheCatalogue().makers[row](parent, host, RECT{0, 0, kWidth, kHeight});
    if (!control)
        return false;
    kStates[state].apply(*control);
    control->impl().canvas.delayDrawing = false;
    control->impl().DrawButton();

    const HDC dc = canvas.dc();
    const tv::UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
    const bool shaped = GetWindowRgn(control->hWnd(), outline.get()) != ERROR;
    if (shaped) {
        OffsetRgn(outline.get(), x, y);
        SelectClipRgn(dc, outline.get());
    }
    POINT origin{};
    SetViewportOrgEx(dc, x, y, &origin);
    SendMessageW(control->hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    SelectClipRgn(dc, nullptr);
    return true;
}

std::uint64_t RowFingerprint(HWND parent, std::size_t row) {
    const std::size_t states = kStates.size();
    Canvas canvas(static_cast<int>(states) * kWidth, kHeight, kBack);
    for (std::size_t state = 0; state < states; ++state)
        if (Rows()[row].shown[state] &&
            !PaintCell(parent, row, state, canvas, static_cast<int>(state) * kWidth, 0))
            return 0;
    std::uint64_t hash = 14695981039346656037ull;
    const std::uint32_t* pixels = canvas.pixels();
    for (int i = 0; i < canvas.width() * canvas.height(); ++i) {
        const std::uint32_t pixel = pixels[i] & 0xFFFFFF;
        for (int byte = 0; byte < 3; ++byte) {
            hash ^= (pixel >> (8 * byte)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

} // namespace looks
