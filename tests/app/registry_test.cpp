// The registry reader against the test prefix's real registry.
#include "registry.h"

#include "fake_system.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

constexpr char kTestKey[] = "SOFTWARE\\TorvNoIntrosTest";
const std::string kFullPath = std::string("HKEY_LOCAL_MACHINE\\") + kTestKey;

// A key of our own under HKLM in one registry view, removed with its values afterwards.
class TestKey {
  public:
    explicit TestKey(REGSAM view) : view_(view) {
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0,
                                  KEY_ALL_ACCESS | view, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    ~TestKey() {
        RegCloseKey(key_);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kTestKey, view_, 0);
    }
    void Set(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

  private:
    REGSAM view_;
    HKEY key_ = nullptr;
};

std::optional<std::string> Read(std::string path, const char* value) {
    return Get_RegValue(path, value);
}

TEST(Registry, RootNamesAndKeyPaths) {
    // The predefined keys are 0x80000000 to 0x80000006 in this order; "-" is none.
    std::string roots;
    for (const char* name : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                             "HKEY_USERS", "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                             "HKEY_DYN_DATA", "hkey_local_machine", "HKEY_LOCAL_MACHIN", ""}) {
        const auto key =
            static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Get_RootKey(name)));
        roots += key ? std::to_string(key - 0x80000000u) : "-";
    }
    EXPECT_EQ(roots, "0123456---");

    const struct {
        const char* path;
        HKEY root;
        const char* subKey;
    } splits[] = {{"HKEY_CURRENT_USER\\Software\\A\\B", HKEY_CURRENT_USER, "Software\\A\\B"},
                  {"HKEY_USERS", HKEY_USERS, ""},
                  {"HKEY_NOPE\\X", nullptr, "X"}};
    for (const auto& s : splits) {
        std::string path = s.path;
        HKEY root = HKEY_CLASSES_ROOT;
        Split_KeyPath(path, root);
        EXPECT_EQ(root, s.root) << s.path;
        EXPECT_EQ(path, s.subKey);
    }
    // Ill-formed paths are shown to the user and change nothing.
    for (const std::string bad : {"hkey_local_machine\\SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\",
                                  "HKEY", "SOFTWARE\\X"}) {
        test::FakeSystem system;
        system.Answer(IDOK);
        std::string path = bad;
        HKEY root = HKEY_USERS;
        Split_KeyPath(path, root);
        EXPECT_TRUE(path == bad && root == HKEY_USERS) << bad;
        EXPECT_EQ(system.Said(), "VH - Torv3 No Intros|0|Incorrect Format:\n\n" + bad + "\n");
    }
}

TEST(Registry, ValuesAreReadAsTrimmedTextOrError) {
    TestKey key(KEY_WOW64_32KEY);
    const struct {
        const char* name;
        DWORD type;
        std::string stored;
        std::optional<std::string> read;
    } cases[] = {
        {"PATH_VIDEO", REG_SZ, std::string("D:\\Games\\Velomar3\\", 19), "D:\\Games\\Velomar3\\"},
        {"Padded", REG_SZ, std::string("  C:\\Game  \0", 11), "C:\\Game"},
        {"Empty", REG_SZ, std::string("\0", 1), ""},
        {"NoNul", REG_SZ, "C:\\Raw", "C:\\Raw"}, // stored without its end: nothing is lost
        {"Expand", REG_EXPAND_SZ, std::string("%X%\0", 4), "%X%"},
        {"Fits", REG_SZ, std::string(254, 'x') + '\0', std::string(254, 'x')},
        {"TooLong", REG_SZ, std::string(255, 'y') + '\0', "Error"},
        {"Number", REG_DWORD, std::string("\7\0\0\0", 4), "Error"},
        {"Inner", REG_SZ, std::string("a\0b\0", 4), "a"},
    };
    for (const auto& c : cases)
        key.Set(c.name, c.type, c.stored);
    for (const auto& c : cases)
        EXPECT_EQ(Read(kFullPath, c.name), c.read) << c.name;
    EXPECT_EQ(Read(kFullPath, "Missing"), "Error");
    EXPECT_EQ(Read("HKEY_LOCAL_MACHINE\\SOFTWARE\\NoSuchKeyForTorvTests", "X"), "Error");
    EXPECT_EQ(Read("HKEY_LOCAL_MACHNE\\SOFTWARE", "X"), std::nullopt);
    std::string path = kFullPath;
    Get_RegValue(path, "PATH_VIDEO");
    EXPECT_EQ(path, kTestKey) << "the key path is rewritten to its sub-key";
    test::FakeSystem system;
    system.Answer(IDOK);
    EXPECT_EQ(Read(kFullPath + "\\", "PATH_VIDEO"), std::nullopt) << "a rejected path";

    // A root name alone reads from the root key.
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_SET_VALUE, &root), ERROR_SUCCESS);
    RegSetValueExA(root, "TorvRootValue", 0, REG_SZ, reinterpret_cast<const BYTE*>("at root"), 8);
    EXPECT_EQ(Read("HKEY_CURRENT_USER", "TorvRootValue"), "at root");
    RegDeleteValueA(root, "TorvRootValue");
    RegCloseKey(root);
}

#ifdef _WIN64
TEST(Registry, TheGamesThirtyTwoBitViewComesFirstThenTheNativeOne) {
    TestKey native(KEY_WOW64_64KEY);
    native.Set("PATH_VIDEO", REG_SZ, std::string("C:\\Native\0", 10));
    EXPECT_EQ(Read(kFullPath, "PATH_VIDEO"), "C:\\Native");
    TestKey wow(KEY_WOW64_32KEY);
    wow.Set("PATH_VIDEO", REG_SZ, std::string("C:\\Wow\0", 7));
    EXPECT_EQ(Read(kFullPath, "PATH_VIDEO"), "C:\\Wow");
}
#endif

} // namespace
} // namespace tv
