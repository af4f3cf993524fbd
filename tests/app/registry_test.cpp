// The registry reader against the test prefix's real registry.
#include "registry.h"

#include "fake_system.h"

#include <gtest/gtest.h>

#include <string>

namespace tv {
namespace {

constexpr char kTestKey[] = "SOFTWARE\\TorvNoIntrosTest";

// A key of our own under HKLM in one registry view, removed with its values afterwards.
class TestKey {
  public:
    explicit TestKey(REGSAM view, const char* subKey = kTestKey) : view_(view), subKey_(subKey) {
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS | view, nullptr, &key_, nullptr));
    }
    ~TestKey() {
        RegCloseKey(key_);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, subKey_.c_str(), view_, 0);
    }
    void SetString(const char* name, const std::string& text, bool withNul = true) {
        const DWORD size = static_cast<DWORD>(text.size() + (withNul ? 1 : 0));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, name, 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>(text.c_str()), size));
    }
    void SetDword(const char* name, DWORD value) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, name, 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&value), 4));
    }

  private:
    REGSAM view_;
    std::string subKey_;
    HKEY key_ = nullptr;
};

std::optional<std::string> Read(std::string path, const char* value) {
    return Get_RegValue(path, value);
}

const std::string kFullPath = std::string("HKEY_LOCAL_MACHINE\\") + kTestKey;

TEST(RootKey, NamesMapExactlyAndCaseSensitively) {
    EXPECT_EQ(HKEY_CLASSES_ROOT, Get_RootKey("HKEY_CLASSES_ROOT"));
    EXPECT_EQ(HKEY_CURRENT_USER, Get_RootKey("HKEY_CURRENT_USER"));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, Get_RootKey("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(HKEY_USERS, Get_RootKey("HKEY_USERS"));
    EXPECT_EQ(HKEY_PERFORMANCE_DATA, Get_RootKey("HKEY_PERFORMANCE_DATA"));
    EXPECT_EQ(HKEY_CURRENT_CONFIG, Get_RootKey("HKEY_CURRENT_CONFIG"));
    EXPECT_EQ(HKEY_DYN_DATA, Get_RootKey("HKEY_DYN_DATA"));
    EXPECT_EQ(nullptr, Get_RootKey("hkey_local_machine"));
    EXPECT_EQ(nullptr, Get_RootKey("HKEY_LOCAL_MACHIN"));
    EXPECT_EQ(nullptr, Get_RootKey(""));
}

TEST(SplitKeyPath, SplitsAtTheFirstSeparator) {
    std::string path = "HKEY_CURRENT_USER\\Software\\A\\B";
    HKEY root = nullptr;
    Split_KeyPath(path, root);
    EXPECT_EQ(HKEY_CURRENT_USER, root);
    EXPECT_EQ("Software\\A\\B", path);

    path = "HKEY_USERS";
    Split_KeyPath(path, root);
    EXPECT_EQ(HKEY_USERS, root);
    EXPECT_EQ("", path);
}

TEST(SplitKeyPath, RejectsIllFormedPathsWithTheFormatMessage) {
    for (const std::string bad :
         {"hkey_local_machine\\SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\", "HKEY", "SOFTWARE\\X"}) {
        test::FakeSystem system;
        system.Answer(IDOK);
        std::string path = bad;
        HKEY root = HKEY_USERS;
        Split_KeyPath(path, root);
        EXPECT_EQ(bad, path);
        EXPECT_EQ(HKEY_USERS, root);
        ASSERT_EQ(1u, system.messages.size());
        EXPECT_EQ("Incorrect Format:\n\n" + bad, system.messages[0].text);
        EXPECT_EQ("VH - Torv3 No Intros", system.messages[0].title);
        EXPECT_EQ(static_cast<UINT>(MB_OK), system.messages[0].type);
    }
}

TEST(GetRegValue, ReadsTheStringWithoutItsNulAndSurroundingSpaces) {
    TestKey key(KEY_WOW64_32KEY);
    key.SetString("PATH_VIDEO", "D:\\Games\\Velomar3\\");
    key.SetString("Padded", "  C:\\Game  ");
    key.SetString("Empty", "");
    key.SetString("NoNul", "C:\\Raw", false);
    EXPECT_EQ("D:\\Games\\Velomar3\\", Read(kFullPath, "PATH_VIDEO"));
    EXPECT_EQ("C:\\Game", Read(kFullPath, "Padded"));
    EXPECT_EQ("", Read(kFullPath, "Empty"));
    EXPECT_EQ("C:\\Raw", Read(kFullPath, "NoNul"));

    std::string path = kFullPath;
    Get_RegValue(path, "PATH_VIDEO");
    EXPECT_EQ(kTestKey, path) << "the key path is rewritten to its sub-key";
}

TEST(GetRegValue, ReadsUpTo254CharactersAndRefusesLonger) {
    TestKey key(KEY_WOW64_32KEY);
    key.SetString("Fits", std::string(254, 'x'));
    key.SetString("TooLong", std::string(255, 'y'));
    EXPECT_EQ(std::string(254, 'x'), Read(kFullPath, "Fits"));
    EXPECT_EQ("Error", Read(kFullPath, "TooLong"));
}

TEST(GetRegValue, MissingKeyValueOrNonStringGivesError) {
    TestKey key(KEY_WOW64_32KEY);
    key.SetDword("Number", 7);
    EXPECT_EQ("Error", Read(kFullPath, "Missing"));
    EXPECT_EQ("Error", Read(kFullPath, "Number"));
    EXPECT_EQ("Error", Read("HKEY_LOCAL_MACHINE\\SOFTWARE\\NoSuchKeyForTorvTests", "X"));
}

TEST(GetRegValue, UnknownRootOrRejectedPathGivesNoValue) {
    EXPECT_EQ(std::nullopt, Read("HKEY_LOCAL_MACHNE\\SOFTWARE", "X"));
    test::FakeSystem system;
    system.Answer(IDOK);
    EXPECT_EQ(std::nullopt, Read(kFullPath + "\\", "PATH_VIDEO"));
    EXPECT_EQ(1u, system.messages.size());
}

TEST(GetRegValue, ARootNameAloneReadsFromTheRootKey) {
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_SET_VALUE, &root));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(root, "TorvRootValue", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>("at root"), 8));
    EXPECT_EQ("at root", Read("HKEY_CURRENT_USER", "TorvRootValue"));
    RegDeleteValueA(root, "TorvRootValue");
    RegCloseKey(root);
}

#ifdef _WIN64
TEST(GetRegValue, PrefersTheGamesThirtyTwoBitViewAndFallsBackToTheNativeOne) {
    {
        TestKey native(KEY_WOW64_64KEY);
        native.SetString("PATH_VIDEO", "C:\\Native");
        EXPECT_EQ("C:\\Native", Read(kFullPath, "PATH_VIDEO")) << "fallback to the 64-bit view";
        TestKey wow(KEY_WOW64_32KEY);
        wow.SetString("PATH_VIDEO", "C:\\Wow");
        EXPECT_EQ("C:\\Wow", Read(kFullPath, "PATH_VIDEO")) << "the 32-bit view comes first";
    }
}
#endif

} // namespace
} // namespace tv
