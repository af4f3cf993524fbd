// Times the outline of a picture-shaped button (shape 7) cut from a noisy picture, half of
// its pixels the key colour at random (close to the most rectangles an outline can have), and from
// a disc, at growing sizes up to the largest a control takes (3,779 pixels), and prints the time
// per pixel, which stays flat when the build grows linearly. Run on demand, never as a test:
//   tools/wine-env.sh --state $PWD/build/win64/wine run build/win64/bin/outline_bench.exe [sizes]
#include "control_record.h"
#include "dib.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {250, 500, 1000, 2000, 3779};
    const HWND parent = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 600, 300, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    butt::ButtHost host;
    std::mt19937 random(7);
    for (const int size : sizes)
        for (const bool noise : {true, false}) {
            tv::DibSection dib = tv::MakeDibSection(size, size);
            if (!dib.bitmap) {
                std::printf("%5d x %-5d no picture of that size\n", size, size);
                continue;
            }
            // Magenta at the top left is the key; every other pixel is key or green, at random or
            // inside a disc.
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const double dx = x - size / 2.0, dy = y - size / 2.0;
                    const bool key = noise ? (x + y == 0 || random() % 2)
                                           : dx * dx + dy * dy > size * size / 4.0;
                    dib.bits[static_cast<std::size_t>(y) * size + x] = key ? 0xFF00FF : 0x00A000;
                }
            auto control = butt::Butt::Create(parent, 1, RECT{0, 0, size, size}, host);
            control->SetPictureSize(4);
            control->SetPicture(butt::Picture::FromBitmap(dib.bitmap.release()));
            control->impl().properties.buttonShape =
                butt::Shape::PictureFramed; // the outline alone is timed, not the redraw after it
            const Clock::time_point start = Clock::now();
            control->impl().canvas.CreateShapeRegion();
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::printf("%5d x %-5d %-6s %10.1f ms  %8.1f ns per pixel\n", size, size,
                        noise ? "noise" : "disc", ms,
                        1e6 * ms / (static_cast<double>(size) * size));
        }
    DestroyWindow(parent);
    return 0;
}
