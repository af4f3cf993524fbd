#include "test_windows.h"

#include "dib.h"
#include "handles.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace tv::test {

const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC procedure) {
    static std::set<std::wstring> registered;
    if (registered.insert(name).second) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.lpszClassName = name;
        EXPECT_NE(RegisterClassW(&windowClass), 0) << "window class registration";
    }
    return name;
}

COLORREF Pixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    return ColorFromDib(dib_[static_cast<size_t>(y) * width_ + x]);
}

int Pixels::Count(const RECT& area, COLORREF color) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += At(x, y) == color ? 1 : 0;
    return n;
}

std::uint64_t Pixels::Fingerprint() const {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint32_t pixel : dib_)
        for (int byte = 0; byte < 3; ++byte) {
            hash ^= (pixel >> (8 * byte)) & 0xFF;
            hash *= 1099511628211ull;
        }
    return hash;
}

std::map<std::string, std::string> ReadApproved(const char* path) {
    std::ifstream file(path);
    std::map<std::string, std::string> approved;
    for (std::string line; std::getline(file, line);)
        if (line.size() > 17)
            approved[line.substr(17)] = line.substr(0, 16);
    return approved;
}

Pixels PrintClient(HWND window, int width, int height, COLORREF fill) {
    const size_t count = static_cast<size_t>(std::max(0, width)) * std::max(0, height);
    std::vector<std::uint32_t> pixels(count, DibFromColor(fill));
    const DibSection dib = MakeDibSection(width, height);
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dib.bitmap || !dc) {
        ADD_FAILURE() << "no DIB section for " << width << " x " << height;
        return Pixels(width, height, pixels);
    }
    std::copy(pixels.begin(), pixels.end(), dib.bits);
    {
        const ScopedSelect select(dc.get(), dib.bitmap.get());
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    GdiFlush();
    std::copy(dib.bits, dib.bits + count, pixels.begin());
    return Pixels(width, height, std::move(pixels));
}

std::vector<RECT> RegionRects(HRGN region) {
    const DWORD size = region ? GetRegionData(region, 0, nullptr) : 0;
    if (size == 0)
        return {};
    std::vector<RECT> storage(size / sizeof(RECT) + 2);
    auto* data = reinterpret_cast<RGNDATA*>(storage.data());
    if (GetRegionData(region, size, data) != size)
        return {};
    const RECT* first = reinterpret_cast<const RECT*>(data->Buffer);
    return std::vector<RECT>(first, first + data->rdh.nCount);
}

std::string Describe(const std::vector<RECT>& rects) {
    std::ostringstream text;
    for (const RECT& r : rects)
        text << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ") ";
    return text.str();
}

std::vector<RECT> WindowRegionRects(HWND window) {
    const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR)
        return {};
    return RegionRects(region.get());
}

std::string ReadAccessible(IAccessible& node, long id) {
    VARIANT child{}, role{}, state{};
    child.vt = VT_I4, child.lVal = id;
    BSTR texts[5] = {};
    node.get_accRole(child, &role), node.get_accState(child, &state);
    node.get_accName(child, &texts[0]), node.get_accKeyboardShortcut(child, &texts[1]);
    node.get_accDefaultAction(child, &texts[2]), node.get_accValue(child, &texts[3]);
    node.get_accDescription(child, &texts[4]);
    std::ostringstream line;
    line << "role " << role.lVal << " state 0x" << std::hex << (state.lVal & ~STATE_SYSTEM_FOCUSED);
    const char* before[5] = {" ", " [", " ", "] = ", " | "};
    for (int i = 0; i < 5; ++i) {
        line << before[i] << Utf8(texts[i] ? texts[i] : L"");
        SysFreeString(texts[i]);
    }
    return line.str() + "\n";
}

PictureFile::PictureFile(const std::wstring& path)
    : bitmap_(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                              LR_LOADFROMFILE | LR_CREATEDIBSECTION))),
      dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), bitmap_.get()) {
    EXPECT_TRUE(bitmap_) << "the picture file " << Utf8(path);
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < limitMs)
        Pump(5);
    return done();
}

} // namespace tv::test
