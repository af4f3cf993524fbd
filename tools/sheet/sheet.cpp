// Renders a sheet of Butt buttons: every style and shape of the tables below in every state,
// plus the program's own Apply button, into a BMP file. Each cell is painted the way a host
// paints a control into its own DC (WM_PRINTCLIENT), clipped to the control's outline.
//
//   button_sheet.exe OUT.bmp
//
// Rows and columns come from the tables; add a style, a shape or a state there.
#include "butt_impl.h"
#include "stored_apply.h"
#include "dib.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using butt::Butt;
using butt::Color;

class SheetHost : public butt::ButtHost {
  public:
    int ShowMessage(const std::string& text, const std::string& title, UINT) override {
        std::fprintf(stderr, "message box \"%s\": %s\n", title.c_str(), text.c_str());
        return IDOK;
    }
    Color AmbientBackColor() const override { return kSheetBack; }
    static constexpr Color kSheetBack = 0x00D8D8D8;
};

// A look of the control, set up through its properties and its input state.
struct State {
    const char* name;
    std::function<void(Butt&)> apply;
};

void SetInput(Butt& control, int flags, bool hovering, bool pressed) {
    Butt::Impl& impl = control.impl();
    impl.StateFlags = flags;
    impl.IsHovering = hovering;
    impl.IsPressed = pressed;
}

const std::vector<State> kStates = {
    {"normal", [](Butt&) {}},
    {"hover", [](Butt& c) { SetInput(c, butt::kPointerInside, true, false); }},
    {"pressed", [](Butt& c) { SetInput(c, butt::kButtonHeld | butt::kPointerInside, true, true); }},
    {"focused", [](Butt& c) { SetInput(c, butt::kShowsFocus, false, false); }},
    {"disabled", [](Butt& c) { c.SetEnabled(false); }},
    {"toggled",
     [](Butt& c) {
         c.SetMode(1);
         c.SetValue(true);
     }},
    {"toggled focused",
     [](Butt& c) {
         c.SetMode(1);
         c.SetValue(true);
         SetInput(c, butt::kShowsFocus, false, false);
     }},
    {"toggled disabled",
     [](Butt& c) {
         c.SetMode(1);
         c.SetValue(true);
         c.SetEnabled(false);
     }},
};

const std::vector<long> kStyles = {0, 1, 2, 3, 4, 5, 6, 7};

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
butt::PicturePtr BadgePicture() {
    return butt::Picture::FromBitmap(PaintedBitmap(32, 32, [](HDC dc) {
        Shapes(dc, RGB(40, 170, 60), RGB(0, 90, 20), [](HDC d) { Ellipse(d, 1, 1, 31, 31); });
        Shapes(dc, RGB(250, 210, 40), RGB(0, 0, 0), [](HDC d) { Rectangle(d, 10, 10, 22, 22); });
    }));
}

butt::PicturePtr InformationIcon() {
    return butt::Picture::FromIcon(CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32516))),
                                   butt::Picture::Kind::Icon);
}

// A shape, and what the control needs before it can take it (a picture, for the outlines
// cut from one).
struct Shape {
    long shape;
    std::function<void(Butt&)> prepare;
};
void GivePill(Butt& control) {
    control.SetPictureSize(4);
    control.SetPicture(PillPicture());
}
const std::vector<Shape> kShapes = {{0, {}}, {1, {}}, {2, {}},       {3, {}},      {4, {}},
                                    {5, {}}, {6, {}}, {7, GivePill}, {8, GivePill}};

// Extra rows: a fixed look, shown in the states named.
struct ExtraRow {
    const char* name;
    std::function<std::unique_ptr<Butt>(HWND parent, butt::ButtHost& host, RECT bounds)> make;
    std::vector<std::string> states;
};

std::unique_ptr<Butt> MakeApply(HWND parent, butt::ButtHost& host, RECT bounds) {
    std::string error;
    auto control = tools::LoadStoredApply(parent, host, bounds, TV_APPLY_BAG, error);
    if (!control)
        std::fprintf(stderr, "no Apply button: %s\n", error.c_str());
    return control;
}

// A form editor: style 5 shows where its borderless buttons are.
class DesignHost : public SheetHost {
  public:
    bool UserMode() const override { return false; }
};

// A button of the sheet's size with a caption, made in code.
std::unique_ptr<Butt> Plain(HWND parent, butt::ButtHost& host, RECT bounds, long style, long shape,
                            const char* caption) {
    auto control = Butt::Create(parent, 1, bounds, host);
    control->SetCaption(caption);
    control->SetButtonStyle(style);
    control->SetButtonShape(shape);
    return control;
}

template <long Style, long Size, long Align, bool Icon>
std::unique_ptr<Butt> WithPicture(HWND parent, butt::ButtHost& host, RECT bounds) {
    auto control = Plain(parent, host, bounds, Style, 0, Size < 3 ? "Pic" : "");
    control->SetPictureSize(Size);
    control->SetPictureAlign(Align);
    control->SetPicture(Icon ? InformationIcon() : BadgePicture());
    return control;
}

template <long Shape> std::unique_ptr<Butt> Designing(HWND parent, butt::ButtHost&, RECT bounds) {
    static DesignHost design;
    return Plain(parent, design, bounds, 5, Shape, "Button");
}

std::vector<std::string> AllStates() {
    std::vector<std::string> names;
    for (const State& state : kStates)
        names.emplace_back(state.name);
    return names;
}

const std::vector<ExtraRow> kExtraRows = {
    {"Apply", MakeApply, {"normal", "hover", "pressed"}},
    {"pic 16, left", WithPicture<0, 0, 1, false>, AllStates()},
    {"pic 24, right", WithPicture<4, 1, 3, false>, AllStates()},
    {"pic 40, stretch", WithPicture<1, 3, 0, false>, AllStates()},
    {"pic 48, fitted", WithPicture<7, 4, 0, false>, AllStates()},
    {"icon 24, left", WithPicture<3, 1, 0, true>, AllStates()},
    {"icon 48, fitted", WithPicture<6, 4, 0, true>, AllStates()},
    {"5 design, rect", Designing<0>, AllStates()},
    {"5 design, round", Designing<4>, AllStates()},
};

constexpr int kLabelWidth = 110;
constexpr int kHeaderHeight = 22;
constexpr int kCellWidth = 124;
constexpr int kCellHeight = 44;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;

class Sheet {
  public:
    Sheet(int width, int height)
        : width_(width), height_(height), dib_(tv::MakeDibSection(width, height)),
          dc_(CreateCompatibleDC(nullptr)) {
        previous_ = SelectObject(dc_.get(), dib_.bitmap.get());
        const tv::UniqueBrush back(CreateSolidBrush(SheetHost::kSheetBack));
        const RECT all{0, 0, width, height};
        FillRect(dc_.get(), &all, back.get());
        SetBkMode(dc_.get(), TRANSPARENT);
    }
    ~Sheet() { SelectObject(dc_.get(), previous_); }
    HDC dc() const { return dc_.get(); }

    void Label(int x, int y, const std::string& text) {
        TextOutA(dc_.get(), x, y, text.c_str(), static_cast<int>(text.size()));
    }

    // The control as its host would show it: its paint, inside its outline.
    void Paint(Butt& control, int x, int y) {
        const tv::UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
        const bool shaped = GetWindowRgn(control.hWnd(), outline.get()) != ERROR;
        if (shaped) {
            OffsetRgn(outline.get(), x, y);
            SelectClipRgn(dc_.get(), outline.get());
        }
        POINT origin{};
        SetViewportOrgEx(dc_.get(), x, y, &origin);
        SendMessageW(control.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()),
                     PRF_CLIENT);
        SetViewportOrgEx(dc_.get(), origin.x, origin.y, nullptr);
        SelectClipRgn(dc_.get(), nullptr);
    }

    bool Save(const char* path) const {
        GdiFlush();
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
        const std::uint32_t* pixels = dib_.bits;
        std::vector<std::uint32_t> line(static_cast<std::size_t>(width_));
        for (int y = height_ - 1; y >= 0; --y) {
            const std::uint32_t* source = pixels + static_cast<std::size_t>(y) * width_;
            for (int x = 0; x < width_; ++x)
                line[static_cast<std::size_t>(x)] = source[x] | 0xFF000000u;
            out.write(reinterpret_cast<const char*>(line.data()), rowBytes);
        }
        return static_cast<bool>(out);
    }

  private:
    int width_;
    int height_;
    tv::DibSection dib_;
    tv::UniqueMemoryDc dc_;
    HGDIOBJ previous_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    const char* out = argc > 1 ? argv[1] : "button_sheet.bmp";
    const HWND parent = CreateWindowExW(0, L"STATIC", L"sheet", WS_POPUP, 0, 0, 400, 200, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    SheetHost host;
    const int rows = static_cast<int>(kStyles.size() * kShapes.size() + kExtraRows.size());
    const int columns = static_cast<int>(kStates.size());
    Sheet sheet(kLabelWidth + columns * kCellWidth, kHeaderHeight + rows * kCellHeight);

    for (int column = 0; column < columns; ++column)
        sheet.Label(kLabelWidth + column * kCellWidth + 4, 4,
                    kStates[static_cast<std::size_t>(column)].name);
    int row = 0;
    for (const long style : kStyles) {
        for (const auto& [shape, prepare] : kShapes) {
            const int y = kHeaderHeight + row * kCellHeight;
            sheet.Label(4, y + 8,
                        "style " + std::to_string(style) + " shape " + std::to_string(shape));
            for (int column = 0; column < columns; ++column) {
                const int x = kLabelWidth + column * kCellWidth;
                auto control =
                    Butt::Create(parent, 1, RECT{0, 0, kButtonWidth, kButtonHeight}, host);
                if (!control)
                    return 1;
                control->SetCaption("Button");
                control->SetButtonStyle(style);
                if (prepare)
                    prepare(*control);
                control->SetButtonShape(shape);
                kStates[static_cast<std::size_t>(column)].apply(*control);
                control->impl().delayDrawing = false;
                control->impl().DrawButton();
                sheet.Paint(*control, x + 4, y + 4);
            }
            ++row;
        }
    }
    for (const ExtraRow& extra : kExtraRows) {
        const int y = kHeaderHeight + row * kCellHeight;
        sheet.Label(4, y + 8, extra.name);
        for (int column = 0; column < columns; ++column) {
            const State& state = kStates[static_cast<std::size_t>(column)];
            if (std::find(extra.states.begin(), extra.states.end(), state.name) ==
                extra.states.end())
                continue;
            auto control = extra.make(parent, host, RECT{0, 0, kButtonWidth, kButtonHeight});
            if (!control)
                return 1;
            state.apply(*control);
            control->impl().delayDrawing = false;
            control->impl().DrawButton();
            sheet.Paint(*control, kLabelWidth + column * kCellWidth + 4, y + 4);
        }
        ++row;
    }
    DestroyWindow(parent);
    if (!sheet.Save(out)) {
        std::fprintf(stderr, "cannot write %s\n", out);
        return 1;
    }
    std::printf("%s\n", out);
    return 0;
}
