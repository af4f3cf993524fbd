#include "harness.h"

#include "dib.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace butt::test {
namespace {

std::vector<FormKey> formKeys;
const void* watchedBlock = nullptr;
bool watchedFreed = false;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        formKeys.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
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
    // Shift keys and places only when they are not the usual 0 and (10, 5).
    const auto mouse = [&log](std::string name) {
        return [&log, name](short& button, short& shift, float& x, float& y) {
            std::string word = name + std::to_string(button);
            if (shift)
                word.append("s").append(std::to_string(shift));
            if (x != 10 || y != 5)
                word.append("@").append(Number(x)).append(",").append(Number(y));
            log.push_back(word);
        };
    };
    const auto key = [&log](std::string name) {
        return [&log, name](short& code, short& shift) {
            std::string word = name + std::to_string(code);
            if (shift)
                word.append("s").append(std::to_string(shift));
            log.push_back(word);
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
    impl().StateFlags = stateFlags;
    impl().IsHovering = hovering;
    impl().IsPressed = pressed;
    impl().delayDrawing = false;
    impl().DrawButton();
}

Pixels ButtonTest::Print() {
    RECT client{};
    GetClientRect(control->hWnd(), &client);
    return tv::test::PrintClient(control->hWnd(), client.right, client.bottom, 0xFF00FF);
}

void WatchFree(const void* block) {
    watchedBlock = block;
    watchedFreed = false;
}

bool WatchedFreed() {
    return watchedFreed;
}

} // namespace butt::test

// Every new and delete of the test program, so that a test sees when a record's memory goes.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
#pragma GCC diagnostic ignored "-Wmismatched-new-delete" // new above is malloc
void operator delete(void* block) noexcept {
    if (block && block == butt::test::watchedBlock)
        butt::test::watchedFreed = true;
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
