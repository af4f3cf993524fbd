#include "harness.h"

#include "dib.h"

namespace butt::test {
namespace {

std::vector<FormKey> formKeys;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        formKeys.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

PicturePtr Resource(const char* name, Picture::Kind kind) {
    std::string error;
    PicturePtr picture = Picture::LoadResource(GetModuleHandleW(nullptr), name, kind, error);
    EXPECT_TRUE(picture) << error;
    return picture;
}

} // namespace

HWND Form() {
    static const HWND form = [] {
        const HWND hwnd = CreateWindowExW(
            WS_EX_TOPMOST, tv::test::TestWindowClass(L"ButtTestForm", FormProc), L"Form",
            WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(hwnd);
        tv::test::Pump(50);
        return hwnd;
    }();
    formKeys.clear();
    return form;
}

const std::vector<FormKey>& FormKeys() {
    return formKeys;
}

void Record(Butt& control, std::vector<std::string>& log) {
    ButtEvents& events = control.Events();
    // Shift keys and places only when they are not the usual 0 and (10, 5); places are whole.
    const auto word = [](std::string name, short code, short shift) {
        name += std::to_string(code);
        return shift ? (name += "s") += std::to_string(shift) : name;
    };
    const auto mouse = [&log, word](std::string name) {
        return [&log, word, name](short& button, short& shift, float& x, float& y) {
            std::string text = word(name, button, shift);
            if (x != 10 || y != 5)
                (text += "@") += std::to_string(int(x)) + "," + std::to_string(int(y));
            log.push_back(text);
        };
    };
    const auto key = [&log, word](std::string name) {
        return [&log, word, name](short& code, short& shift) {
            log.push_back(word(name, code, shift));
        };
    };
    events.MouseDown = mouse("Down");
    events.MouseUp = mouse("Up");
    events.MouseMove = mouse("Move");
    events.KeyDown = key("KeyDown");
    events.KeyUp = key("KeyUp");
    events.KeyPress = [&log](short& code) { log.push_back("KeyPress" + std::to_string(code)); };
    events.MouseOnButton = [&log](bool& on) { log.push_back(on ? "Enter" : "Leave"); };
    events.Click = [&log] { log.push_back("Click"); };
    events.DoubleClick = [&log](short& b) { log.push_back("Double" + std::to_string(b)); };
}

std::string Joined(const std::vector<std::string>& log) {
    std::string text;
    for (const auto& entry : log)
        text += (text.empty() ? "" : " ") + entry;
    return text;
}

void Mouse(const Butt& control, UINT message, int x, int y, WPARAM keys) {
    SendMessageW(control.hWnd(), message, keys, MAKELPARAM(x, y));
}

void Key(const Butt& control, UINT message, WPARAM key) {
    SendMessageW(control.hWnd(), message, key, message == WM_KEYUP ? 0xC0000001 : 1);
}

PicturePtr MakePicture(int width, int height, const std::function<Color(int, int)>& paint) {
    tv::DibSection dib = tv::MakeDibSection(width, height);
    if (!dib.bitmap)
        return nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dib.bits[y * width + x] = tv::DibFromColor(static_cast<COLORREF>(paint(x, y)));
    return Picture::FromBitmap(dib.bitmap.release());
}

std::string BmpFile(int width, int height, const std::function<Color(int, int)>& paint) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (int y = height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const Color c = paint(x, y);
            row[x * 3] = static_cast<char>((c >> 16) & 0xFF);
            row[x * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>(c & 0xFF);
        }
        bytes += row;
    }
    return bytes;
}

PicturePtr TestIcon() {
    return Resource("TEST_ICON", Picture::Kind::Icon);
}
std::string ResourceBytes(LPCSTR name, LPCSTR type) {
    const HRSRC found = FindResourceA(nullptr, name, type);
    const auto* bytes =
        found ? static_cast<const char*>(LockResource(LoadResource(nullptr, found))) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

PicturePtr TestBitmap() {
    return Resource("TEST_BITMAP", Picture::Kind::Bitmap);
}

Butt& ButtonTest::Make(int width, int height, const std::string& caption) {
    control = Butt::Create(Form(), 1, RECT{20, 20, 20 + width, 20 + height}, host);
    EXPECT_NE(control, nullptr);
    control->SetBackColor(kFace);
    control->SetForeColor(0);
    control->SetCaption(caption);
    Record(*control, log);
    host.changed.clear();
    return *control;
}

void ButtonTest::Show(int stateFlags, bool hovering, bool pressed) {
    look().StateFlags = stateFlags;
    look().IsHovering = hovering;
    look().IsPressed = pressed;
    canvas().delayDrawing = false;
    impl().DrawButton();
}

Pixels ButtonTest::Print() {
    RECT client{};
    GetClientRect(control->hWnd(), &client);
    return tv::test::PrintClient(control->hWnd(), client.right, client.bottom, 0xFF00FF);
}

} // namespace butt::test
