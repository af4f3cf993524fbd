// The manifest writer against real files in a temporary folder.
#include "fake_system.h"
#include "manifest_writer.h"
#include "program.h"
#include "skin_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tv {
namespace {

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
                kAll = kHiddenSystem | FILE_ATTRIBUTE_READONLY;

TEST(Manifest, TheTextHasItsPlaceholdersFilledInOrderEscapedInUtf8) {
    const std::string text =
        ManifestText(L"a&b", 2, 0, 15, L"\u03a9 <b> & 'q\" exename EXEVERSION");
    EXPECT_TRUE(
        text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?> \r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 22); // the parts below end in CR LF
    EXPECT_EQ(text.size() - text.rfind("</assembly>\r\n"), 13u) << "CR LF after the last line";
    // The description is filled last, so a placeholder inside it stays as written.
    for (const char* part :
         {"    version=\"2.0.15.0\"\r\n", "    name=\"a&amp;b.exe\"/>\r\n",
          "<description>\xce\xa9 &lt;b&gt; &amp; &apos;q&quot; exename EXEVERSION</description>",
          "name=\"Microsoft.Windows.Common-Controls\"\r\n", "         version=\"6.0.0.0\"\r\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    std::string commands; // SW_HIDE, SHOWNORMAL, SHOWMINIMIZED, SHOWMAXIMIZED, SHOWNOACTIVATE,
    for (long style : {0, 1, 2, 3, 4, 6, 5, -1, 7}) // SHOWMINNOACTIVE, then none
        commands += std::to_string(ShowCommandForWindowStyle(style).value_or(-1)) + " ";
    EXPECT_EQ(commands, "0 1 2 3 4 7 -1 -1 -1 ");
}

TEST(Manifest, WritesReplacesOrKeepsTheFileAndRestartsWhenAsked) {
    const struct {
        const char* what;
        std::optional<DWORD> old; // attributes of a manifest that is there before
        bool restart;
        long style;
        std::optional<bool> createNew;
        bool result, createNewAfter, replaced, started, failStart = false;
    } cases[] = {
        {"none there", {}, false, 0, {}, false, false, true, false},
        {"one there is kept", kAll, false, 0, false, true, false, false, false},
        {"replaced with CreateNew", kAll, false, 0, true, true, true, true, false},
        {"written, restarted, ended", {}, true, 1, true, false, false, true, true},
        {"restart failed: this one stays", {}, true, 1, true, false, false, true, true, true},
        {"an unknown style starts nothing", {}, true, 99, {}, false, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::wstring manifest = folder / L"tool.exe.manifest";
        if (c.old) {
            test::WriteFileBytes(manifest, "old manifest");
            SetFileAttributesW(manifest.c_str(), *c.old);
        }
        test::FakeSystem system;
        system.failStarts = c.failStart;
        bool createNew = c.createNew.value_or(false);
        EXPECT_EQ(WriteExeManifestIn(folder.path(), L"C:\\Games\\Quiet \u0416", L"tool", 1, 2, 3,
                                     L"Quiet intros", c.restart, c.style,
                                     c.createNew ? &createNew : nullptr),
                  c.result);
        EXPECT_EQ(createNew, c.createNewAfter);
        EXPECT_EQ(test::ReadFileBytes(manifest),
                  c.replaced ? ManifestText(L"tool", 1, 2, 3, L"Quiet intros") : "old manifest");
        const DWORD attributes = GetFileAttributesW(manifest.c_str()) & kAll;
        EXPECT_EQ(attributes, c.replaced ? kHiddenSystem : *c.old);
        EXPECT_EQ(
            system.started,
            std::vector<std::string>(c.started ? 1 : 0, "\"C:\\Games\\Quiet \xd0\x96\\tool.exe\""));
        EXPECT_EQ(system.ended, std::vector<UINT>(c.started && !c.failStart ? 1 : 0, 0));
    }
    test::TempFolder taken; // a folder has the manifest's name: nothing written, no restart
    CreateDirectoryW((taken / L"tool.exe.manifest").c_str(), nullptr);
    test::FakeSystem system;
    EXPECT_FALSE(WriteExeManifestIn(taken.path(), L"C:\\x", L"tool", 1, 2, 3, L"d", true, 1, {}));
    EXPECT_TRUE(system.started.empty() && system.ended.empty());
    // The class writes beside the running program.
    const std::wstring path = ProgramFolderW() + L"\\tv-manifest-check.exe.manifest";
    DeleteFileW(path.c_str());
    EXPECT_FALSE(
        SkinSupport().Debug_WriteEXEmanifest(L"C:\\x", L"tv-manifest-check", 3, 1, 4, L"d"));
    EXPECT_NE(test::ReadFileBytes(path).find("version=\"3.1.4.0\""), std::string::npos);
    DeleteFileW(path.c_str());
}

} // namespace
} // namespace tv
