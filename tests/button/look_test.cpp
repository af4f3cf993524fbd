// Every look of the sheet (tools/sheet) pixel for pixel against the approved fingerprints:
// styles, shapes, states, pictures, icons, design-time looks and the Apply button. A change
// in any pixel fails here; after looking at the new sheet (tools/sheet/render.sh), approve it
// with button_sheet.exe --fingerprints > tests/button/approved_looks.txt.
#include "looks.h"
#include "test_windows.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

namespace {

TEST(Looks, EveryRowOfTheSheetIsTheApprovedOne) {
    auto approved = tv::test::ReadApproved(TV_APPROVED_LOOKS);
    ASSERT_FALSE(approved.empty()) << "cannot read " << TV_APPROVED_LOOKS;

    const HWND parent = CreateWindowExW(0, L"STATIC", L"looks", WS_POPUP, 0, 0, 400, 200, nullptr,
                                        nullptr, nullptr, nullptr);
    const auto& rows = looks::Rows();
    EXPECT_EQ(approved.size(), rows.size()) << "every row of the sheet is approved, once";
    for (std::size_t row = 0; row < rows.size(); ++row) {
        char actual[17];
        std::snprintf(actual, sizeof actual, "%016" PRIx64, looks::RowFingerprint(parent, row));
        EXPECT_EQ(approved[rows[row].name], actual) << rows[row].name;
    }
    DestroyWindow(parent);
}

} // namespace
