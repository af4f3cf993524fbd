// The manifest writer against real files in a temporary folder; the restart goes through the
// fake system seam.
#include "fake_system.h"
#include "manifest_writer.h"
#include "program.h"
#include "skin_support.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

// The manifest for tool 1.2.3 "Quiet intros", written out by hand: 22 lines, CR LF each.
const std::string kToolManifest =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?> \r\n"
    "<assembly \r\n"
    "   xmlns=\"urn:schemas-microsoft-com:asm.v1\" \r\n"
    "   manifestVersion=\"1.0\">\r\n"
    "<assemblyIdentity \r\n"
    "    processorArchitecture=\"x86\" \r\n"
    "    version=\"1.2.3.0\"\r\n"
    "    type=\"win32\"\r\n"
    "    name=\"tool.exe\"/>\r\n"
    "    <description>Quiet intros</description>\r\n"
    "    <dependency>\r\n"
    "    <dependentAssembly>\r\n"
    "    <assemblyIdentity\r\n"
    "         type=\"win32\"\r\n"
    "         name=\"Microsoft.Windows.Common-Controls\"\r\n"
    "         version=\"6.0.0.0\"\r\n"
    "         publicKeyToken=\"6595b64144ccf1df\"\r\n"
    "         language=\"*\"\r\n"
    "         processorArchitecture=\"x86\"/>\r\n"
    "    </dependentAssembly>\r\n"
    "    </dependency>\r\n"
    "</assembly>\r\n";

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD Attributes(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

class ManifestWriter : public ::testing::Test {
  protected:
    // Runs the writer on the temporary folder for a program "tool" 1.2.3.
    bool Write(bool autoRestart = false, long windowStyle = 0, bool* createNew = nullptr) {
        return WriteExeManifestIn(folder.path(), "C:\\Games\\Quiet Tool", "tool", 1, 2, 3,
                                  "Quiet intros", autoRestart, windowStyle, createNew);
    }
    void PlaceOldManifest(DWORD attributes) {
        test::WriteFileBytes(manifest, "old manifest, longer than nothing");
        SetFileAttributesW(manifest.c_str(), attributes);
    }

    test::TempFolder folder;
    std::wstring manifest = folder / L"tool.exe.manifest";
    test::FakeSystem system;
};

TEST_F(ManifestWriter, WritesTheExactTextHiddenAndSystemWhenNoneExists) {
    EXPECT_FALSE(Write());
    EXPECT_EQ(test::ReadFileBytes(manifest), kToolManifest);
    EXPECT_EQ(Attributes(manifest) & (kHiddenSystem | FILE_ATTRIBUTE_READONLY), kHiddenSystem);
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(ManifestWriter, FillsPlaceholdersCaseSensitivelyAndInOrder) {
    EXPECT_EQ(ManifestText("tool", 1, 2, 3, "Quiet intros"), kToolManifest);
    const std::string text = ManifestText("app", 2, 0, 15, "a <b> & exename EXEVERSION");
    EXPECT_NE(text.find("    version=\"2.0.15.0\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("    name=\"app.exe\"/>\r\n"), std::string::npos);
    // Inserted as given, without escaping; the description is filled last, so a placeholder
    // inside it stays as written.
    EXPECT_NE(text.find("<description>a <b> & exename EXEVERSION</description>"),
              std::string::npos);
    EXPECT_EQ(ReplaceAll("EXENAMEEXENAME exename", "EXENAME", "EXENAME1"),
              "EXENAME1EXENAME1 exename");
}

TEST_F(ManifestWriter, LeavesAnExistingManifestAloneUnlessCreateNew) {
    PlaceOldManifest(kHiddenSystem | FILE_ATTRIBUTE_READONLY);
    bool createNew = false;
    EXPECT_TRUE(Write(false, 0, &createNew));
    EXPECT_TRUE(Write());
    EXPECT_EQ(test::ReadFileBytes(manifest), "old manifest, longer than nothing");
    EXPECT_EQ(Attributes(manifest) & (kHiddenSystem | FILE_ATTRIBUTE_READONLY),
              kHiddenSystem | FILE_ATTRIBUTE_READONLY);
}

TEST_F(ManifestWriter, ReplacesAHiddenSystemReadOnlyManifestWithCreateNew) {
    PlaceOldManifest(kHiddenSystem | FILE_ATTRIBUTE_READONLY);
    bool createNew = true;
    EXPECT_TRUE(Write(false, 0, &createNew));
    EXPECT_TRUE(createNew);
    EXPECT_EQ(test::ReadFileBytes(manifest), kToolManifest);
    EXPECT_EQ(Attributes(manifest) & (kHiddenSystem | FILE_ATTRIBUTE_READONLY), kHiddenSystem);
}

TEST_F(ManifestWriter, AFolderOfTheManifestsNameIsNoManifest) {
    ASSERT_TRUE(CreateDirectoryW(manifest.c_str(), nullptr));
    EXPECT_FALSE(Write());
}

TEST_F(ManifestWriter, AutoRestartWritesStartsAgainAndEnds) {
    bool createNew = true;
    EXPECT_FALSE(Write(true, 1, &createNew));
    EXPECT_FALSE(createNew) << "a restart never replaces a manifest";
    EXPECT_EQ(test::ReadFileBytes(manifest), kToolManifest);
    ASSERT_EQ(system.started.size(), 1u);
    EXPECT_EQ(system.started[0], "\"C:\\Games\\Quiet Tool\\tool.exe\"");
    EXPECT_EQ(system.ended, std::vector<UINT>{0});
}

TEST_F(ManifestWriter, AutoRestartWithAManifestChangesNothing) {
    PlaceOldManifest(kHiddenSystem);
    bool createNew = true;
    EXPECT_TRUE(Write(true, 1, &createNew));
    EXPECT_FALSE(createNew);
    EXPECT_EQ(test::ReadFileBytes(manifest), "old manifest, longer than nothing");
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(ManifestWriter, AFailedRestartKeepsThisInstance) {
    system.FailStarts(true);
    EXPECT_FALSE(Write(true, 0));
    EXPECT_EQ(system.started.size(), 1u);
    EXPECT_TRUE(system.ended.empty());
    EXPECT_TRUE(test::FileExists(manifest));
}

TEST_F(ManifestWriter, WindowStylesMapToShowCommands) {
    EXPECT_EQ(ShowCommandForWindowStyle(0), SW_HIDE);
    EXPECT_EQ(ShowCommandForWindowStyle(1), SW_SHOWNORMAL);
    EXPECT_EQ(ShowCommandForWindowStyle(6), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(ShowCommandForWindowStyle(5), std::nullopt);
    // An unknown style starts nothing and so ends nothing.
    EXPECT_FALSE(Write(true, 99));
    EXPECT_TRUE(system.started.empty());
    EXPECT_TRUE(system.ended.empty());
}

TEST(ManifestBesideProgram, TheClassWritesIntoTheProgramFolder) {
    test::FakeSystem system;
    const std::wstring path = ProgramFolderW() + L"\\tv-manifest-check.exe.manifest";
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    const SkinSupport skin;
    EXPECT_FALSE(skin.Debug_WriteEXEmanifest("C:\\x", "tv-manifest-check", 3, 1, 4, "check"));
    EXPECT_NE(test::ReadFileBytes(path).find("version=\"3.1.4.0\""), std::string::npos);
    EXPECT_EQ(Attributes(path) & kHiddenSystem, kHiddenSystem);
    EXPECT_TRUE(skin.Debug_WriteEXEmanifest("C:\\x", "tv-manifest-check", 3, 1, 4, "check"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

} // namespace
} // namespace tv
