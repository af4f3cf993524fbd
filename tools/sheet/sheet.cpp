// Renders the sheet of Butt looks (looks.h) into a BMP file: a row per look, a column per
// state, each cell painted the way a host paints a control into its own DC (WM_PRINTCLIENT),
// clipped to the control's outline. With --fingerprints it prints each row's fingerprint in
// the form of the look test's approved list instead.
//
//   button_sheet.exe OUT.bmp
//   button_sheet.exe --fingerprints > tests/button/approved_looks.txt
#include "looks.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kLabelWidth = 110;
constexpr int kHeaderHeight = 22;
constexpr int kCellWidth = 124;
constexpr int kCellHeight = 44;

void Label(HDC dc, int x, int y, const std::string& text) {
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

} // namespace

int main(int argc, char** argv) {
    const HWND parent = CreateWindowExW(0, L"STATIC", L"sheet", WS_POPUP, 0, 0, 400, 200, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    const auto& rows = looks::Rows();
    const auto& states = looks::StateNames();
    if (argc > 1 && std::strcmp(argv[1], "--fingerprints") == 0) {
        for (std::size_t row = 0; row < rows.size(); ++row)
            std::printf("%016" PRIx64 " %s\n", looks::RowFingerprint(parent, row),
                        rows[row].name.c_str());
        return 0;
    }
    const char* out = argc > 1 ? argv[1] : "button_sheet.bmp";
    looks::Canvas sheet(kLabelWidth + static_cast<int>(states.size()) * kCellWidth,
                        kHeaderHeight + static_cast<int>(rows.size()) * kCellHeight, looks::kBack);
    for (std::size_t column = 0; column < states.size(); ++column)
        Label(sheet.dc(), kLabelWidth + static_cast<int>(column) * kCellWidth + 4, 4,
              states[column]);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int y = kHeaderHeight + static_cast<int>(row) * kCellHeight;
        Label(sheet.dc(), 4, y + 8, rows[row].name);
        for (std::size_t column = 0; column < states.size(); ++column)
            if (rows[row].shown[column] &&
                !looks::PaintCell(parent, row, column, sheet,
                                  kLabelWidth + static_cast<int>(column) * kCellWidth + 4, y + 4))
                return 1;
    }
    DestroyWindow(parent);
    if (!sheet.SaveBmp(out)) {
        std::fprintf(stderr, "cannot write %s\n", out);
        return 1;
    }
    std::printf("%s\n", out);
    return 0;
}
