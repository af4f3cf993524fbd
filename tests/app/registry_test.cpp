// The registry reader against the test prefix's real registry.
#include "registry.h"

#include "fake_system.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

constexpr wchar_t kTestKey[] = L"SOFTWARE\\TorvNoIntrosTest";
const std::wstring kFullPath = std::wstring(L"HKEY_LOCAL_MACHINE\\") + kTestKey;

// A key of our own under HKLM in one registry view, removed with its values afterwards.
struct TestKey {
    explicit TestKey(REGSAM view) : view(view) {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                        &key, nullptr);
    }
    ~TestKey() { RegCloseKey(key), RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kTestKey, view, 0); }
    void Set(const wchar_t* name, DWORD type, const std::wstring& text) { // bytes as given
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                                 static_cast<DWORD>(text.size() * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    REGSAM view;
    HKEY key = nullptr;
};

// Get_RegValue splits the path it is given in place.
const auto Read = [](std::wstring path, const wchar_t* value) { return Get_RegValue(path, value); };

TEST(Registry, ValuesAreReadAsTrimmedTextOrError) {
    TestKey key(KEY_WOW64_32KEY);
    const struct {
        const wchar_t* name;
        DWORD type;
        std::wstring stored;
        std::optional<std::wstring> read;
    } cases[] = {
        {L"PATH_VIDEO", REG_SZ, L"D:\\Games\\Velomar3\\", L"D:\\Games\\Velomar3\\"},
        {L"Padded", REG_SZ, std::wstring(L"  C:\\Game  \0", 11), L"C:\\Game"},
        {L"Empty", REG_SZ, std::wstring(L"\0", 1), L""},
        {L"NoNul", REG_SZ, L"C:\\Raw", L"C:\\Raw"}, // stored without its end: nothing is lost
        {L"Expand", REG_EXPAND_SZ, L"%SystemDrive%\\V3", L"C:\\V3"},
        {L"Long", REG_SZ, std::wstring(600, L'x') + L'\0', std::wstring(600, L'x')},
        {L"Number", REG_DWORD, std::wstring(L"\7\0", 2), L"Error"},
        {L"Inner", REG_SZ, std::wstring(L"a\0b\0", 4), L"a"},
        {L"Script", REG_SZ, L"\u03a9\u03bc\u03ad\u03b3\u03b1 \u6e38",
         L"\u03a9\u03bc\u03ad\u03b3\u03b1 \u6e38"},
    };
    for (const auto& c : cases) {
        key.Set(c.name, c.type, c.stored);
        EXPECT_EQ(Read(kFullPath, c.name), c.read) << test::Utf8(c.name);
    }
    EXPECT_EQ(Read(kFullPath, L"Missing"), L"Error");
    EXPECT_EQ(Read(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\NoSuchKeyForTorvTests", L"X"), L"Error");
    EXPECT_EQ(Read(L"HKEY_LOCAL_MACHNE\\SOFTWARE", L"X"), std::nullopt);
    // An ill-formed path is shown to the user and read from nowhere.
    test::FakeSystem system;
    system.Answer(IDOK);
    EXPECT_EQ(Read(kFullPath + L"\\", L"PATH_VIDEO"), std::nullopt);
    EXPECT_EQ(system.Said(),
              "VH - Torv3 No Intros|0|Incorrect Format:\n\n" + test::Utf8(kFullPath) + "\\\n");
}

#ifdef _WIN64
TEST(Registry, TheGamesThirtyTwoBitViewComesFirstThenTheNativeOne) {
    TestKey native(KEY_WOW64_64KEY);
    native.Set(L"PATH_VIDEO", REG_SZ, L"C:\\Native");
    EXPECT_EQ(Read(kFullPath, L"PATH_VIDEO"), L"C:\\Native");
    TestKey wow(KEY_WOW64_32KEY);
    wow.Set(L"PATH_VIDEO", REG_SZ, L"C:\\Wow");
    EXPECT_EQ(Read(kFullPath, L"PATH_VIDEO"), L"C:\\Wow");
}
#endif

} // namespace
} // namespace tv
