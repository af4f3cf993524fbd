// A window with a few Butt controls in different styles: a command button, a check box, two
// option buttons, one made from stored properties, and a Close button. Built from the
// installed library alone (find_package(Butt)), as any other program would use it.
//   butt_sample.exe                   runs until closed
//   butt_sample.exe --close-after 500 presses Close by its access key after 500 ms (and
//                                     ends with 2 if that did not close the window)
#include <butt.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kPressClose = 1;
constexpr UINT_PTR kGiveUp = 2;

// What the window tells its controls: a form at run time, in its own grey.
class Host : public butt::ButtHost {
  public:
    butt::Color AmbientBackColor() const override { return 0x00E0E0E0; }
    std::string ApplicationTitle() const override { return "Butt sample"; }
};

struct Sample {
    Host host;
    std::vector<std::unique_ptr<butt::Butt>> controls;
    UINT closeAfter = 0;
};

std::unique_ptr<butt::Butt> Make(HWND window, Sample& sample, int y, const char* caption,
                                 long style, long mode = 0) {
    auto control = butt::Butt::Create(window, 100 + y, RECT{20, y, 200, y + 30}, sample.host);
    if (control) {
        control->SetCaption(caption);
        control->SetButtonStyle(style);
        control->SetMode(mode);
    }
    return control;
}

bool MakeControls(HWND window, Sample& sample) {
    auto& c = sample.controls;
    c.push_back(Make(window, sample, 20, "&Classic", 0));
    c.push_back(Make(window, sample, 60, "&Themed, with a gradient", 2));
    if (c.back()) {
        c.back()->SetBackColor(0x00804020);
        c.back()->SetGradientColor(0x00F0D0A0);
        c.back()->SetGradientMode(4);
    }
    c.push_back(Make(window, sample, 100, "Chec&k box", 4, 1));
    c.push_back(Make(window, sample, 140, "Option &one", 6, 2));
    c.push_back(Make(window, sample, 180, "Option &two", 6, 2));
    // A control as a form stores it: its text form, read back.
    std::string error;
    const auto bag = butt::PropertyBag::Parse("caption = \"&Stored\"\nbackstyle = 7\n"
                                              "cback = &H00C08040\ncfore = &H00FFFFFF\n",
                                              error);
    if (bag)
        c.push_back(butt::Butt::Load(window, 300, RECT{220, 20, 400, 50}, sample.host, *bag));
    c.push_back(Make(window, sample, 220, "C&lose", 1));
    if (c.back())
        c.back()->Events().Click = [window] { DestroyWindow(window); };
    for (const auto& control : c)
        if (!control)
            return false;
    return true;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* sample = reinterpret_cast<Sample*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        sample = static_cast<Sample*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(sample));
        if (!MakeControls(window, *sample))
            return -1;
        if (sample->closeAfter) {
            SetTimer(window, kPressClose, sample->closeAfter, nullptr);
            SetTimer(window, kGiveUp, sample->closeAfter + 5000, nullptr);
        }
        return 0;
    case WM_SYSCHAR: // Alt+key: the control whose caption marks the key
        if (butt::Butt::RouteAccessKey(window, static_cast<int>(wParam)))
            return 0;
        break;
    case WM_TIMER:
        if (wParam == kPressClose)
            butt::Butt::RouteAccessKey(window, 'l');
        else
            PostQuitMessage(2);
        return 0;
    case WM_DESTROY:
        sample->controls.clear();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    Sample sample;
    if (const char* after = std::strstr(commandLine, "--close-after "))
        sample.closeAfter = static_cast<UINT>(std::strtoul(after + 14, nullptr, 10));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = CreateSolidBrush(0x00E0E0E0);
    windowClass.lpszClassName = L"ButtSample";
    RegisterClassExW(&windowClass);
    const HWND window =
        CreateWindowExW(0, L"ButtSample", L"Butt sample", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 440, 310, nullptr, nullptr, instance, &sample);
    if (!window)
        return 1; // a control could not be made
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
