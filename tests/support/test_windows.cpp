#include "test_windows.h"
#include "dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace tv::test {

const wchar_t* TestWindowClass(const wchar_t* name, WNDPROC procedure) {
    static std::set<std::wstring> registered;
    if (registered.insert(name).second) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = name;
        EXPECT_NE(RegisterClassW(&windowClass), 0) << "window class registration";
    }
    return name;
}

std::vector<std::uint32_t> PrintClient(HWND window, int width, int height, std::uint32_t fill) {
    std::vector<std::uint32_t> pixels(
        static_cast<size_t>(std::max(0, width)) * static_cast<size_t>(std::max(0, height)), fill);
    const DibSection dib = MakeDibSection(width, height);
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dib.bitmap || !dc) {
        ADD_FAILURE() << "no DIB section for " << width << " x " << height;
        return pixels;
    }
    std::copy(pixels.begin(), pixels.end(), dib.bits);
    {
        const ScopedSelect select(dc.get(), dib.bitmap.get());
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    GdiFlush();
    std::copy(dib.bits, dib.bits + pixels.size(), pixels.begin());
    return pixels;
}

} // namespace tv::test
