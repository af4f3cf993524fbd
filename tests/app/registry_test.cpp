// The registry reader against the test prefix's real registry.
#include "registry.h"

#include "fake_system.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

constexpr char kTestKey[] = "SOFTWARE\\TorvNoIntrosTest";
const std::string kFullPath = std::string("HKEY_LOCAL_MACHINE\\") + kTestKey;

// A key of our own under HKLM in one registry view, removed with its values afterwards.
struct TestKey {
    explicit TestKey(REGSAM view) : view(view) {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                        &key, nullptr);
    }
    ~TestKey() { RegCloseKey(key), RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kTestKey, view, 0); }
    void Set(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    REGSAM view;
    HKEY key = nullptr;
};

// Get_RegValue splits the path it is given in place.
const auto Read = [](std::string path, const char* value) { return Get_RegValue(path, value); };

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
    for (const auto& c : cases) {
        key.Set(c.name, c.type, c.stored);
        EXPECT_EQ(Read(kFullPath, c.name), c.read) << c.name;
    }
    EXPECT_EQ(Read(kFullPath, "Missing"), "Error");
    EXPECT_EQ(Read("HKEY_LOCAL_MACHINE\\SOFTWARE\\NoSuchKeyForTorvTests", "X"), "Error");
    EXPECT_EQ(Read("HKEY_LOCAL_MACHNE\\SOFTWARE", "X"), std::nullopt);
    // An ill-formed path is shown to the user and read from nowhere.
    test::FakeSystem system;
    system.Answer(IDOK);
    EXPECT_EQ(Read(kFullPath + "\\", "PATH_VIDEO"), std::nullopt);
    EXPECT_EQ(system.Said(), "VH - Torv3 No Intros|0|Incorrect Format:\n\n" + kFullPath + "\\\n");
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
