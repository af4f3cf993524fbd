#include "main_window.h"

#include "app_resources.h"
#include "misc.h"
#include "program.h"
#include "system_function.h"
#include "system_seam.h"
#include "transparency.h"

#include <windowsx.h>

#include <optional>

namespace tv {
namespace {

constexpr wchar_t kWindowClass[] = L"VarnholtTorv3NoIntros";
constexpr wchar_t kWindowCaption[] = L"VARNHOLT crew - Torv Velomar 3 No Intros";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1;
constexpr int kCheckIds[3] = {101, 102, 103};
constexpr int kApplyId = 200;
constexpr RECT kApplyBounds{621, 324, 621 + 76, 324 + 24};
// RT_RCDATA and IDC_ARROW in their wide forms.
const LPCWSTR kRcDataType = MAKEINTRESOURCEW(10);
const LPCWSTR kArrowCursor = MAKEINTRESOURCEW(32512);

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

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
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
    if (hWnd())
        DestroyWindow(hWnd());
}

bool MainWindow::CreateHandle(std::string& error) {
    if (!RegisterWindowClass(WindowProc)) {
        error = "The window class could not be registered.";
        return false;
    }
    const POINT position = CentredPosition();
    CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, kWindowCaption,
                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, position.x,
                    position.y, kClientWidth, kClientHeight, nullptr, nullptr, CodeModule(),
                    static_cast<WindowBase*>(this));
    if (!hWnd()) {
        error = "The main window could not be created.";
        return false;
    }
    // The contents are made after the window, and a failure destroys it with DestroyWindow,
    // which sends WM_DESTROY on Windows and Wine alike; a failed WM_CREATE does so on Windows
    // only, so that the failure would take a different way on each.
    if (!MakeContents(error)) {
        DestroyWindow(hWnd());
        return false;
    }
    created_ = true;
    return true;
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
    skinComplete_ = PictureHost{skinBitmap_, 0, 0, kClientWidth, kClientHeight, false};
    windowBrush_ = UniqueBrush(CreateSolidBrush(kWindowColor));

    fonts_[static_cast<size_t>(FontId::Display)] = MakeFont(L"Impact", 15.75, FW_NORMAL);
    fonts_[static_cast<size_t>(FontId::Title)] = MakeFont(L"Verdana", 9.75, FW_NORMAL);
    fonts_[static_cast<size_t>(FontId::Tahoma)] = MakeFont(L"Tahoma", 8.25, FW_NORMAL);
    fonts_[static_cast<size_t>(FontId::Verdana)] = MakeFont(L"Verdana", 8.25, FW_NORMAL);

    {
        const WindowDc screen(nullptr);
        backBuffer_.Select(
            UniqueBitmap(CreateCompatibleBitmap(screen.get(), kClientWidth, kClientHeight)));
    }
    if (!backBuffer_.bitmap()) {
        error = "The window's drawing surface could not be made.";
        return false;
    }

    const wchar_t* captions[3] = {L"Pentium X (all lang)", L"nVidia", L"Trailer (all)"};
    const RECT boxes[3] = {Box(242, 122, 135, 16), Box(242, 143, 60, 16), Box(242, 164, 88, 16)};
    for (size_t i = 0; i < 3; ++i) {
        checks_[i] = CreateWindowExW(
            0, L"BUTTON", captions[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
            boxes[i].left, boxes[i].top, boxes[i].right - boxes[i].left,
            boxes[i].bottom - boxes[i].top, hWnd(),
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
    if (!MakeApply(error))
        return false;
    SetTimer(hWnd(), kTimer1, kTimer1Interval, nullptr);
    return true;
}

bool MainWindow::MakeApply(std::string& error) {
    const std::optional<std::string> stored = ResourceText(options_.instance, kApplyButtonName);
    if (!stored) {
        error = "The APPLY button's stored properties are missing from the program.";
        return false;
    }
    // The bag ships with the program, so any problem in it (even an unknown key) is a fault
    // of this build: it stops the start rather than leave APPLY half styled.
    butt::BagSources sources;
    sources.resourceModule = options_.instance;
    const butt::BagRead read = butt::PropertyBag::Read(*stored, sources);
    std::vector<butt::BagProblem> problems = read.problems;
    if (read.bag)
        apply_ = butt::Butt::Load(hWnd(), kApplyId, kApplyBounds, *this, *read.bag, problems);
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
    return true;
}

void MainWindow::Load() {
    skin_.Set_Background(*this, skinComplete_, true, 255, 0, 255);
    Fade_In(hWnd(), 240, 4);
    // The fade kept the window disabled while it was shown and activated, so the keyboard
    // focus found no home: the window takes it, and Tab starts from there.
    if (GetActiveWindow() == hWnd() && !GetFocus())
        SetFocus(hWnd());
    aboutText_ = kAboutText;
    SetText(LabelId::feature, kHintWelcome);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the paint covers everything from the back buffer
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(PointOf(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnControlColor(message, reinterpret_cast<HDC>(wParam),
                              reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
        return OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
    case kChooseEntryMessage:
        OnChooseEntry(static_cast<size_t>(wParam));
        return 0;
    case WM_CLOSE:
        CloseSequence(); // Alt+F4 and the taskbar's Close end the program the one way it ends
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefaultHandling(message, wParam, lParam);
    }
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hWnd(), &paint);
    Render(backBuffer_.get());
    const RECT& area = paint.rcPaint;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
           backBuffer_.get(), area.left, area.top, SRCCOPY);
    EndPaint(hWnd(), &paint);
}

void MainWindow::OnPrintClient(BorrowedDc dc) const {
    const int saved = SaveDC(dc);
    Render(dc);
    RestoreDC(dc, saved);
}

LRESULT MainWindow::OnControlColor(UINT message, BorrowedDc dc, HWND control) {
    for (const HWND box : checks_)
        if (box == control) {
            SetTextColor(dc, 0xFFFFFF);
            SetBkColor(dc, kWindowColor);
            return reinterpret_cast<LRESULT>(windowBrush_.get());
        }
    return DefaultHandling(message, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(control));
}

LRESULT MainWindow::OnTimer(UINT_PTR id) {
    if (id != kTimer1)
        return DefaultHandling(WM_TIMER, id, 0);
    OnTimer1();
    return 0;
}

void MainWindow::OnChooseEntry(size_t index) {
    if (index < std::size(kMenuEntries))
        ChooseEntry(kMenuEntries[index].label);
}

void MainWindow::OnDestroy() {
    KillTimer(hWnd(), kTimer1);
    // A window that failed in its creation posts no quit: that would close the error box that
    // says why at once.
    if (options_.quitOnDestroy && created_ && !destroying_)
        PostQuitMessage(0);
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
    Fade_Out(hWnd(), 0, 4);
    com_.End();
    System().EndProcess(0);
}

void MainWindow::OpenInfoFile() {
    const std::wstring infoFile = options_.programFolder + L"\\" + kInfoFileName;
    if (!IsFile(infoFile))
        return;
    if (!System().StartProgram(NotepadCommandLine(WindowsFolderW(), options_.programFolder),
                               SW_SHOWNORMAL))
        System().ShowMessage(hWnd(),
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
    return System().ShowMessage(hWnd(), text, title, type);
}

void MainWindow::SetPicture(BorrowedBitmap picture) {
    backgroundPicture_ = picture;
    if (hWnd())
        InvalidateRect(hWnd(), nullptr, FALSE);
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
