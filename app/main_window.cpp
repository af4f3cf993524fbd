#include "main_window.h"

#include "app_resources.h"
#include "misc.h"
#include "program.h"
#include "system_function.h"
#include "system_seam.h"
#include "transparency.h"

#include <windowsx.h>

namespace tv {
namespace {

constexpr wchar_t kWindowClass[] = L"VarnholtTorv3NoIntros";
constexpr wchar_t kWindowCaption[] = L"VARNHOLT crew - Torv Velomar 3 No Intros";
constexpr int kClientWidth = 718;
constexpr int kClientHeight = 406;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1;
constexpr int kCheckIds[3] = {101, 102, 103};
constexpr int kApplyId = 200;
constexpr RECT kApplyBounds{621, 324, 621 + 76, 324 + 24};
constexpr int kArrowWidth = 10;
constexpr int kArrowHeight = 9;
// RT_RCDATA and IDC_ARROW in their wide forms.
const LPCWSTR kRcDataType = MAKEINTRESOURCEW(10);
const LPCWSTR kArrowCursor = MAKEINTRESOURCEW(32512);

using LabelId = MainWindow::LabelId;
using ArrowId = MainWindow::ArrowId;
using FontId = MainWindow::FontId;

constexpr RECT Box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

size_t Index(LabelId id) {
    return static_cast<size_t>(id);
}
size_t Index(ArrowId id) {
    return static_cast<size_t>(id);
}

// The labels as the window starts, before its load.
std::array<MainWindow::Label, static_cast<size_t>(LabelId::Count)> InitialLabels() {
    std::array<MainWindow::Label, static_cast<size_t>(LabelId::Count)> labels{};
    auto set = [&](LabelId id, RECT rect, const wchar_t* text, FontId font, bool visible,
                   COLORREF color = 0xFFFFFF) {
        labels[Index(id)] = MainWindow::Label{rect, text, font, color, visible, false};
    };
    set(LabelId::Label1, Box(12, 7, 345, 22), L"VARNHOLT crew", FontId::Display, true);
    set(LabelId::Title, Box(16, 46, 689, 17), L"Torv Velomar 3 *NO INTRO MOVIES*", FontId::Title,
        true);
    set(LabelId::menu1, Box(34, 97, 172, 13), L"Main Page", FontId::Tahoma, true, kMenuSelected);
    set(LabelId::menu2, Box(34, 113, 172, 13), L"About", FontId::Tahoma, true);
    set(LabelId::menu3, Box(34, 129, 172, 13), L"Contact", FontId::Tahoma, true);
    set(LabelId::menu4, Box(34, 145, 172, 13), L"Exit", FontId::Tahoma, true);
    set(LabelId::feature, Box(23, 243, 182, 102), L"", FontId::Tahoma, true);
    set(LabelId::about_lbl, Box(23, 243, 182, 102), L"", FontId::Tahoma, true);
    set(LabelId::Email, Box(34, 244, 172, 13), L"E-mail", FontId::Tahoma, false);
    set(LabelId::Website, Box(34, 259, 172, 13), L"Website", FontId::Tahoma, false);
    set(LabelId::Forum, Box(34, 274, 172, 13), L"Forum", FontId::Tahoma, false);
    set(LabelId::Label2, Box(241, 98, 156, 14), L"Remove this intro movies:", FontId::Verdana,
        true);
    set(LabelId::Label3, Box(243, 328, 264, 14), L"Works only for fully installed Torv 3 (7GB)",
        FontId::Verdana, true);
    set(LabelId::statusbar, Box(18, 380, 314, 14), L"status", FontId::Verdana, false);
    set(LabelId::buff, Box(669, 378, 39, 20), L"Label3", FontId::Verdana, false,
        GetSysColor(COLOR_BTNTEXT));
    labels[Index(LabelId::buff)].opaque = true;
    return labels;
}

std::array<MainWindow::Arrow, static_cast<size_t>(ArrowId::Count)> InitialArrows() {
    return {{
        {{19, 99}, false, true},
        {{19, 115}, false, true},
        {{19, 131}, false, true},
        {{19, 147}, false, true},
        {{19, 246}, false, false},
        {{19, 261}, false, false},
        {{19, 276}, false, false},
    }};
}

RECT ArrowRect(const MainWindow::Arrow& arrow) {
    return Box(arrow.position.x, arrow.position.y, kArrowWidth, kArrowHeight);
}

// Which labels take the mouse first: the top of the window's z-order first.
constexpr LabelId kHitOrder[] = {
    LabelId::menu1,   LabelId::menu2,     LabelId::menu3,  LabelId::menu4,   LabelId::Email,
    LabelId::Website, LabelId::Forum,     LabelId::Label1, LabelId::Title,   LabelId::Label2,
    LabelId::Label3,  LabelId::statusbar, LabelId::buff,   LabelId::feature, LabelId::about_lbl,
};

// A font of `points` at the 96 dots per inch that the skin's pixel layout is made for.
UniqueFont MakeFont(const wchar_t* face, double points, int weight) {
    const int height = -static_cast<int>(points * 96.0 / 72.0 + 0.5);
    return UniqueFont(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face));
}

UniqueBitmap LoadBitmapResource(HINSTANCE instance, const wchar_t* name) {
    return UniqueBitmap(
        static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// The stored properties of the APPLY button, from the program's resources.
std::optional<std::string> ResourceText(HINSTANCE instance, const wchar_t* name) {
    const HRSRC resource = FindResourceW(instance, name, kRcDataType);
    if (!resource)
        return std::nullopt;
    const HGLOBAL loaded = LoadResource(instance, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::nullopt;
    return std::string(static_cast<const char*>(data), SizeofResource(instance, resource));
}

void Blit(HDC target, HDC source, HBITMAP bitmap, int left, int top, int width, int height) {
    if (!bitmap)
        return;
    ScopedSelect select(source, bitmap);
    BitBlt(target, left, top, width, height, source, 0, 0, SRCCOPY);
}

// The module of the window's code: the class lives there, whatever module the window's
// pictures come from.
HINSTANCE CodeModule() {
    return GetModuleHandleW(nullptr);
}

// Registers the window class unless it is there; a failure is tried again next time.
bool RegisterWindowClass(WNDPROC windowProc) {
    const HINSTANCE module = CodeModule();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(module, kWindowClass, &windowClass))
        return true;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = module;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(kAppIconId),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, kArrowCursor);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass))
        return true; // the class keeps its icons for the life of the process
    for (const HICON icon : {windowClass.hIcon, windowClass.hIconSm})
        if (icon)
            DestroyIcon(icon);
    return false;
}

// The centre of the work area of the primary monitor.
POINT CentredPosition() {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return POINT{work.left + (work.right - work.left - kClientWidth) / 2,
                 work.top + (work.bottom - work.top - kClientHeight) / 2};
}

} // namespace

MainWindow::MainWindow(const MainWindowOptions& options)
    : options_(options), boxesClosed_(System().MessageBoxesClosed()), labels_(InitialLabels()),
      arrows_(InitialArrows()) {
    if (options_.programFolder.empty())
        options_.programFolder = ProgramFolderW();
}

std::unique_ptr<MainWindow> MainWindow::Create(const MainWindowOptions& options,
                                               std::string& error) {
    std::unique_ptr<MainWindow> window(new MainWindow(options));
    if (!window->CreateHandle(error))
        return nullptr;
    window->Load();
    return window;
}

MainWindow::~MainWindow() {
    destroying_ = true;
    apply_.reset();
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (backDc_ && backDcBitmap_)
        SelectObject(backDc_.get(), backDcBitmap_);
}

bool MainWindow::CreateHandle(std::string& error) {
    if (!RegisterWindowClass(WindowProc)) {
        error = "The window class could not be registered.";
        return false;
    }
    const POINT position = CentredPosition();
    CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, kWindowCaption,
                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, position.x,
                    position.y, kClientWidth, kClientHeight, nullptr, nullptr, CodeModule(), this);
    if (!hwnd_) {
        error = "The main window could not be created.";
        return false;
    }
    // The contents are made after the window, and a failure destroys it with DestroyWindow,
    // which sends WM_DESTROY on Windows and Wine alike; a failed WM_CREATE does so on Windows
    // only, so that the failure would take a different way on each.
    if (!MakeContents(error)) {
        DestroyWindow(hwnd_);
        return false;
    }
    created_ = true;
    return true;
}

void MainWindow::Load() {
    skin_.Set_Background(*this, skinComplete_, true, 255, 0, 255);
    Fade_In(hwnd_, 240, 4);
    // The fade kept the window disabled while it was shown and activated, so the keyboard
    // focus found no home: the window takes it, and Tab starts from there.
    if (GetActiveWindow() == hwnd_ && !GetFocus())
        SetFocus(hwnd_);
    aboutText_ = kAboutText;
    SetText(LabelId::feature, kHintWelcome);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the paint covers everything from the back buffer
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT: {
        // The caller's DC leaves as it came: colours, background mode, font.
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const int saved = SaveDC(dc);
        Render(dc);
        RestoreDC(dc, saved);
        return 0;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = Target{};
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (const LRESULT brush =
                OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return brush;
        break;
    case WM_TIMER:
        if (wParam == kTimer1) {
            OnTimer1();
            return 0;
        }
        break;
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case kChooseEntryMessage:
        if (wParam < std::size(kMenuEntries))
            ChooseEntry(kMenuEntries[wParam].label);
        return 0;
    case WM_CLOSE:
        // Alt+F4 and the taskbar's Close end the program the one way it ends.
        CloseSequence();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kTimer1);
        // A window that failed in its creation posts no quit: that would close the error box
        // that says why at once.
        if (options_.quitOnDestroy && created_ && !destroying_)
            PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool MainWindow::MakeContents(std::string& error) {
    const HINSTANCE instance = options_.instance;
    skinBitmap_ = LoadBitmapResource(instance, kSkinCompleteName);
    framesBitmap_ = LoadBitmapResource(instance, kSkinFramesName);
    arrowOffBitmap_ = LoadBitmapResource(instance, kArrowOffName);
    arrowOnBitmap_ = LoadBitmapResource(instance, kArrowOnName);
    if (!skinBitmap_ || !framesBitmap_ || !arrowOffBitmap_ || !arrowOnBitmap_) {
        error = "The window's skin pictures are missing from the program.";
        return false;
    }
    skinComplete_ = PictureHost{skinBitmap_.get(), 0, 0, kClientWidth, kClientHeight, false};
    windowBrush_ = UniqueBrush(CreateSolidBrush(kWindowColor));

    fonts_[static_cast<size_t>(FontId::Display)] = MakeFont(L"Impact", 15.75, FW_NORMAL);
    fonts_[static_cast<size_t>(FontId::Title)] = MakeFont(L"Verdana", 9.75, FW_NORMAL);
    fonts_[static_cast<size_t>(FontId::Tahoma)] = MakeFont(L"Tahoma", 8.25, FW_NORMAL);
    fonts_[static_cast<size_t>(FontId::Verdana)] = MakeFont(L"Verdana", 8.25, FW_NORMAL);

    {
        const WindowDc screen(nullptr);
        backBitmap_ =
            UniqueBitmap(CreateCompatibleBitmap(screen.get(), kClientWidth, kClientHeight));
        backDc_ = UniqueMemoryDc(CreateCompatibleDC(screen.get()));
    }
    if (!backBitmap_ || !backDc_) {
        error = "The window's drawing surface could not be made.";
        return false;
    }
    backDcBitmap_ = SelectObject(backDc_.get(), backBitmap_.get());

    const wchar_t* captions[3] = {L"Pentium X (all lang)", L"nVidia", L"Trailer (all)"};
    const RECT boxes[3] = {Box(242, 122, 135, 16), Box(242, 143, 60, 16), Box(242, 164, 88, 16)};
    for (size_t i = 0; i < 3; ++i) {
        checks_[i] = CreateWindowExW(
            0, L"BUTTON", captions[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
            boxes[i].left, boxes[i].top, boxes[i].right - boxes[i].left,
            boxes[i].bottom - boxes[i].top, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheckIds[i])), instance, nullptr);
        if (!checks_[i]) {
            error = "The movie group check boxes could not be created.";
            return false;
        }
        SendMessageW(checks_[i], WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts_[static_cast<size_t>(FontId::Verdana)].get()),
                     FALSE);
        SendMessageW(checks_[i], BM_SETCHECK, BST_CHECKED, 0);
    }

    const std::optional<std::string> stored = ResourceText(instance, kApplyButtonName);
    if (!stored) {
        error = "The APPLY button's stored properties are missing from the program.";
        return false;
    }
    // The bag ships with the program, so any problem in it (even an unknown key) is a fault
    // of this build: it stops the start rather than leave APPLY half styled.
    butt::BagSources sources;
    sources.resourceModule = instance;
    const butt::BagRead read = butt::PropertyBag::Read(*stored, sources);
    std::vector<butt::BagProblem> problems = read.problems;
    if (read.bag)
        apply_ = butt::Butt::Load(hwnd_, kApplyId, kApplyBounds, *this, *read.bag, problems);
    if (!read.bag || !problems.empty()) {
        apply_.reset();
        error = "The APPLY button's stored properties cannot be read: " +
                (read.bag ? problems.front().Text() : read.error);
        return false;
    }
    if (!apply_) {
        error = "The APPLY button could not be created.";
        return false;
    }
    apply_->Events().Click = [this] { OnApplyClick(); };

    SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
    return true;
}

void MainWindow::Render(HDC dc) const {
    const RECT client{0, 0, kClientWidth, kClientHeight};
    FillRect(dc, &client, windowBrush_.get());
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (backgroundPicture_) {
        BITMAP info{};
        GetObjectW(backgroundPicture_, sizeof info, &info);
        Blit(dc, source.get(), backgroundPicture_, 0, 0, info.bmWidth, info.bmHeight);
    }
    Blit(dc, source.get(), skinComplete_.picture, skinComplete_.left, skinComplete_.top,
         skinComplete_.width, skinComplete_.height);
    Blit(dc, source.get(), framesBitmap_.get(), skinFrames_.left, skinFrames_.top,
         skinFrames_.right - skinFrames_.left, skinFrames_.bottom - skinFrames_.top);
    for (const Arrow& arrow : arrows_)
        if (arrow.visible)
            Blit(dc, source.get(), arrow.lit ? arrowOnBitmap_.get() : arrowOffBitmap_.get(),
                 arrow.position.x, arrow.position.y, kArrowWidth, kArrowHeight);

    // Bottom of the z-order first, so that the labels that take the mouse first are on top.
    for (auto id = std::rbegin(kHitOrder); id != std::rend(kHitOrder); ++id) {
        const Label& item = labels_[Index(*id)];
        if (!item.visible)
            continue;
        ScopedSelect font(dc, fonts_[static_cast<size_t>(item.font)].get());
        RECT rect = item.rect;
        if (item.opaque) {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        }
        SetBkMode(dc, item.opaque ? OPAQUE : TRANSPARENT);
        SetTextColor(dc, item.color);
        const MenuEntry* entry = MenuEntryOf(*id);
        const std::wstring text = entry ? WithAccessMarker(item.text, entry->key) : item.text;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | (entry ? 0 : DT_NOPREFIX));
    }
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    Render(backDc_.get());
    const RECT& area = paint.rcPaint;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, backDc_.get(),
           area.left, area.top, SRCCOPY);
    EndPaint(hwnd_, &paint);
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND control) {
    for (const HWND box : checks_)
        if (box == control) {
            SetTextColor(dc, 0xFFFFFF);
            SetBkColor(dc, kWindowColor);
            return reinterpret_cast<LRESULT>(windowBrush_.get());
        }
    return 0; // not ours: the system's colours
}

MainWindow::Target MainWindow::HitTest(POINT point) const {
    for (const LabelId id : kHitOrder) {
        const Label& item = labels_[Index(id)];
        if (item.visible && PtInRect(&item.rect, point))
            return Target{Target::Kind::Label, Index(id)};
    }
    for (size_t i = 0; i < arrows_.size(); ++i) {
        const RECT rect = ArrowRect(arrows_[i]);
        if (arrows_[i].visible && PtInRect(&rect, point))
            return Target{Target::Kind::Arrow, i};
    }
    if (PtInRect(&skinFrames_, point))
        return Target{Target::Kind::Frame, 0};
    const RECT skin =
        Box(skinComplete_.left, skinComplete_.top, skinComplete_.width, skinComplete_.height);
    if (PtInRect(&skin, point))
        return Target{Target::Kind::Skin, 0};
    return Target{};
}

void MainWindow::OnMouseMove(POINT point) {
    // While a button is held after a press, the moves belong to what was pressed.
    MouseMoveOn(pressed_.kind != Target::Kind::None ? pressed_ : HitTest(point));
}

void MainWindow::OnLeftButtonDown(POINT point) {
    pressed_ = HitTest(point);
    SetCapture(hwnd_);
}

void MainWindow::OnLeftButtonUp(POINT point) {
    const Target pressed = pressed_;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    pressed_ = Target{};
    if (pressed.kind != Target::Kind::None && HitTest(point) == pressed)
        ClickOn(pressed);
}

void MainWindow::MouseMoveOn(const Target& target) {
    switch (target.kind) {
    case Target::Kind::Frame:
        skin_.Drag_Form(1, hwnd_);
        for (size_t i = 0; i < arrows_.size(); ++i)
            SetArrowLit(static_cast<ArrowId>(i), false);
        SetText(LabelId::feature, kHintWelcome);
        return;
    case Target::Kind::Skin:
        skin_.Drag_Form(1, hwnd_);
        return;
    case Target::Kind::Label:
        break;
    default:
        return;
    }
    if (const MenuEntry* entry = MenuEntryOf(static_cast<LabelId>(target.index))) {
        SetArrowLit(entry->arrow, true);
        SetText(LabelId::feature, entry->hint);
        return;
    }
    switch (static_cast<LabelId>(target.index)) {
    case LabelId::Email:
        SetArrowLit(ArrowId::menuX1Email, true);
        break;
    case LabelId::Website:
        SetArrowLit(ArrowId::menuX2Website, true);
        break;
    case LabelId::Forum:
        SetArrowLit(ArrowId::menuX3Forum, true);
        break;
    case LabelId::Label1:
    case LabelId::Label2:
    case LabelId::Label3:
    case LabelId::Title:
    case LabelId::statusbar:
        skin_.Drag_Form(1, hwnd_);
        break;
    default:
        break; // feature, about_lbl and buff have no handler
    }
}

void MainWindow::ClickOn(const Target& target) {
    if (target.kind != Target::Kind::Label)
        return;
    switch (static_cast<LabelId>(target.index)) {
    case LabelId::menu1:
        ClearForeColor();
        SetColor(LabelId::menu1, kMenuSelected);
        SetVisible(LabelId::feature, true);
        break;
    case LabelId::menu2:
        ClearForeColor();
        SetColor(LabelId::menu2, kMenuSelected);
        SetVisible(LabelId::about_lbl, true);
        SetVisible(LabelId::feature, false);
        SetText(LabelId::about_lbl, aboutText_);
        OpenInfoFile();
        break;
    case LabelId::menu3:
        ClearForeColor();
        SetColor(LabelId::menu3, kMenuSelected);
        SetArrowVisible(ArrowId::menuX1Email, true);
        SetArrowVisible(ArrowId::menuX2Website, true);
        SetArrowVisible(ArrowId::menuX3Forum, true);
        SetVisible(LabelId::feature, false);
        SetVisible(LabelId::Email, true);
        SetVisible(LabelId::Website, true);
        SetVisible(LabelId::Forum, true);
        break;
    case LabelId::menu4:
        ClearForeColor();
        SetColor(LabelId::menu4, kMenuSelected);
        UpdateWindow(hwnd_);
        CloseSequence();
        break;
    case LabelId::Email:
        Shell_Open(kEmailTarget, hwnd_, options_.programFolder);
        break;
    case LabelId::Website:
        Shell_Link(kWebsiteTarget, hwnd_);
        break;
    case LabelId::Forum:
        Shell_Link(kForumTarget, hwnd_);
        break;
    default:
        break;
    }
}

void MainWindow::ClearForeColor() {
    for (const LabelId id : {LabelId::menu1, LabelId::menu2, LabelId::menu3, LabelId::menu4})
        SetColor(id, kMenuNormal);
    SetVisible(LabelId::about_lbl, false);
    SetArrowVisible(ArrowId::menuX1Email, false);
    SetArrowVisible(ArrowId::menuX2Website, false);
    SetArrowVisible(ArrowId::menuX3Forum, false);
    SetVisible(LabelId::feature, true);
    SetVisible(LabelId::Email, false);
    SetVisible(LabelId::Website, false);
    SetVisible(LabelId::Forum, false);
}

void MainWindow::OnApplyClick() {
    RunPatch(*this, options_.programFolder + L"\\" + kPlaceholderName);
}

void MainWindow::OnTimer1() {
    // A hotkey acts once per press, on the poll that first sees it down. Only the key-is-down
    // bit counts: the low bit tells of a press since the last query by any program, perhaps
    // long ago in another one. A key that went down while one of our message boxes was up
    // (the timer ticks inside the box) belongs to that box: Escape closes the box, not us.
    const bool f1 = (System().AsyncKeyState(VK_F1) & 0x8000) != 0;
    const bool escape = (System().AsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
    const unsigned boxesClosed = System().MessageBoxesClosed();
    const bool boxes = System().MessageBoxUp() || boxesClosed != boxesClosed_;
    const bool f1Pressed = f1 && !f1WasDown_ && !boxes;
    const bool escapePressed = escape && !escapeWasDown_ && !boxes;
    boxesClosed_ = boxesClosed;
    f1WasDown_ = f1;
    escapeWasDown_ = escape;
    if (f1Pressed)
        OpenInfoFile();
    if (escapePressed)
        CloseSequence();
}

void MainWindow::CloseSequence() {
    // A second request while the window fades out (Escape held during it) changes nothing:
    // the running sequence ends the process.
    if (closing_)
        return;
    closing_ = true;
    Fade_Out(hwnd_, 0, 4);
    com_.End();
    System().EndProcess(0);
}

void MainWindow::OpenInfoFile() {
    const std::wstring infoFile = options_.programFolder + L"\\" + kInfoFileName;
    if (!IsFile(infoFile))
        return;
    if (!System().StartProgram(NotepadCommandLine(WindowsFolderW(), options_.programFolder),
                               SW_SHOWNORMAL))
        System().ShowMessage(hwnd_,
                             L"Notepad could not be started to show the info file:\r\n" + infoFile +
                                 L"\r\n\r\nOpen it with any text editor.",
                             FromAnsi(kAppTitle), MB_OK);
}

int MainWindow::GroupValue(int group) const {
    if (group < 1 || group > 3)
        return 0;
    return static_cast<int>(
        SendMessageW(checks_[static_cast<size_t>(group - 1)], BM_GETCHECK, 0, 0));
}

void MainWindow::SetFolderText(const std::wstring& text) {
    SetText(LabelId::buff, text);
}

std::wstring MainWindow::FolderText() const {
    return label(LabelId::buff).text;
}

std::string MainWindow::ApplicationTitle() const {
    return kAppTitle;
}

int MainWindow::ShowMessage(const std::string& text, const std::string& title, UINT type) {
    return System().ShowMessage(hwnd_, text, title, type);
}

void MainWindow::SetText(LabelId id, const std::wstring& text) {
    Label& item = Item(id);
    if (item.text == text)
        return;
    item.text = text;
    if (item.visible)
        Invalidate(item.rect);
    if (hwnd_ && (id == LabelId::feature || id == LabelId::about_lbl))
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

void MainWindow::SetColor(LabelId id, COLORREF color) {
    Label& item = Item(id);
    if (item.color == color)
        return;
    item.color = color;
    if (item.visible)
        Invalidate(item.rect);
    // A menu entry's colour is its selected state: the page shown changed.
    if (const MenuEntry* entry = MenuEntryOf(id); entry && hwnd_)
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd_, OBJID_CLIENT,
                       static_cast<LONG>(entry - kMenuEntries) + 1);
}

void MainWindow::SetVisible(LabelId id, bool visible) {
    Label& item = Item(id);
    if (item.visible == visible)
        return;
    item.visible = visible;
    Invalidate(item.rect);
}

void MainWindow::SetArrowLit(ArrowId id, bool lit) {
    Arrow& item = arrows_[Index(id)];
    if (item.lit == lit)
        return;
    item.lit = lit;
    if (item.visible)
        Invalidate(ArrowRect(item));
}

void MainWindow::SetArrowVisible(ArrowId id, bool visible) {
    Arrow& item = arrows_[Index(id)];
    if (item.visible == visible)
        return;
    item.visible = visible;
    Invalidate(ArrowRect(item));
}

void MainWindow::Invalidate(const RECT& rect) const {
    if (hwnd_)
        InvalidateRect(hwnd_, &rect, FALSE);
}

void MainWindow::SetPicture(HBITMAP picture) {
    backgroundPicture_ = picture;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

int RunProgram(const MainWindowOptions& options) {
    LoadDllsFromTheSystemFolderOnly();
    std::string error;
    const std::unique_ptr<MainWindow> window = MainWindow::Create(options, error);
    if (!window) {
        System().ShowMessage(nullptr, error, kAppTitle, MB_OK);
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window->TranslateKeyboard(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace tv
