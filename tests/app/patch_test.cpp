// The APPLY action with real folders, real files and the test prefix's real registry.
#include "patch.h"

#include "fake_system.h"
#include "program.h"
#include "temp_folder.h"
#include "transparency.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

namespace tv {
namespace {

using test::FakeSystem;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

const std::string kPlaceholderBytes = std::string("BIKi placeholder\0\x01\x02", 19);

std::vector<std::wstring> AllMovies() {
    std::vector<std::wstring> all;
    for (const auto& group : MovieGroups())
        all.insert(all.end(), group.begin(), group.end());
    return all;
}

std::string OriginalBytes(const std::wstring& name) { return "original movie " + ToAnsi(name); }

// The game's registry entry pointing at a folder, removed afterwards.
class GameRegistration {
  public:
    explicit GameRegistration(const std::wstring& gameFolder) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brightlane\\Velomar 3", 0,
                                  nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                                  nullptr));
        const std::string value = ToAnsi(gameFolder);
        RegSetValueExA(key, "PATH_VIDEO", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    ~GameRegistration() {
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brightlane\\Velomar 3", KEY_WOW64_32KEY, 0);
    }
};

// The main window as the patch sees it: a real window, three box values, the folder text.
class TestHost : public PatchHost {
  public:
    TestHost() {
        window_ = CreateWindowExW(0, L"STATIC", L"patch host", WS_POPUP, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    ~TestHost() override { DestroyWindow(window_); }

    HWND Window() const override { return window_; }
    int GroupValue(int group) const override { return values[group - 1]; }
    void SetFolderText(const std::wstring& text) override { folder_ = text; }
    std::wstring FolderText() const override {
        if (onFolderRead)
            onFolderRead();
        return folder_;
    }

    std::array<int, 3> values{1, 1, 1};
    std::function<void()> onFolderRead;

  private:
    HWND window_;
    std::wstring folder_;
};

class PatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        videoFolder = game / L"video";
        CreateDirectoryW(videoFolder.c_str(), nullptr);
        for (const auto& movie : AllMovies())
            WriteFileBytes(videoFolder + L"\\" + movie, OriginalBytes(movie));
        WriteFileBytes(placeholder, kPlaceholderBytes);
    }

    std::set<std::wstring> ReplacedMovies() const {
        std::set<std::wstring> replaced;
        for (const auto& movie : AllMovies())
            if (ReadFileBytes(videoFolder + L"\\" + movie) == kPlaceholderBytes)
                replaced.insert(movie);
        return replaced;
    }
    std::set<std::wstring> UntouchedMovies() const {
        std::set<std::wstring> untouched;
        for (const auto& movie : AllMovies())
            if (ReadFileBytes(videoFolder + L"\\" + movie) == OriginalBytes(movie))
                untouched.insert(movie);
        return untouched;
    }
    // Every file in the video folder is one of the 19 movies: no temporary file is left.
    void ExpectOnlyMovies() const {
        const auto all = AllMovies();
        for (const auto& name : test::ListFolder(videoFolder))
            EXPECT_NE(all.end(), std::find(all.begin(), all.end(), name)) << ToAnsi(name);
    }

    TempFolder game;
    TempFolder program;
    std::wstring videoFolder;
    std::wstring placeholder = program / L"vh-tvm3.dat";
    FakeSystem system;
    TestHost host;
};

TEST(VideoFolder, RemovesAtMostOneTrailingSeparator) {
    EXPECT_EQ(L"C:\\Game\\video\\", VideoFolderFromValue(L"C:\\Game"));
    EXPECT_EQ(L"C:\\Game\\video\\", VideoFolderFromValue(L"C:\\Game\\"));
    EXPECT_EQ(L"C:\\Game\\\\video\\", VideoFolderFromValue(L"C:\\Game\\\\"));
}

TEST(MovieTable, NineteenMoviesInThreeGroups) {
    EXPECT_EQ(3u, MovieGroups()[0].size());
    EXPECT_EQ(std::vector<std::wstring>{L"nVid.bik"}, MovieGroups()[1]);
    EXPECT_EQ(15u, MovieGroups()[2].size());
    EXPECT_EQ(L"Intr_v8_s.bik", MovieGroups()[2].back());
}

TEST_F(PatchTest, AnsweringNoChangesNothingAndKeepsTheWindow) {
    GameRegistration registration(game.path());
    system.Answer(IDNO);
    EXPECT_EQ(PatchOutcome::Declined, RunPatch(host, placeholder));
    ASSERT_EQ(1u, system.messages.size());
    EXPECT_EQ("No Backup feature!\r\nContinue?", system.messages[0].text);
    EXPECT_EQ("VH - Torv3 No Intros", system.messages[0].title);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), system.messages[0].type);
    EXPECT_EQ(19u, UntouchedMovies().size());
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(PatchTest, AllGroupsReplaceNineteenMoviesInTableOrderThenEnd) {
    GameRegistration registration(game.path() + L"\\");
    std::vector<std::set<std::wstring>> replacedBeforeEachRead;
    host.onFolderRead = [&] { replacedBeforeEachRead.push_back(ReplacedMovies()); };
    system.Answer(IDYES);
    system.Answer(IDOK);
    EXPECT_EQ(PatchOutcome::Done, RunPatch(host, placeholder));
    host.onFolderRead = nullptr;

    EXPECT_EQ(19u, ReplacedMovies().size());
    ExpectOnlyMovies();
    ASSERT_EQ(2u, system.messages.size());
    EXPECT_EQ("Done!", system.messages[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK), system.messages[1].type);
    EXPECT_EQ(std::vector<UINT>{0}, system.ended);
    EXPECT_FALSE(IsWindowVisible(host.Window())) << "faded out and hidden";
    EXPECT_EQ(0, Get_Alpha(host.Window()));
    EXPECT_EQ(videoFolder + L"\\", host.FolderText());

    // The folder text is read again before each movie, and each time exactly the movies
    // before it in the table have been replaced: one by one, in table order.
    ASSERT_GE(replacedBeforeEachRead.size(), 19u);
    const auto all = AllMovies();
    const size_t first = replacedBeforeEachRead.size() - 19;
    for (size_t i = 0; i < 19; ++i)
        EXPECT_EQ(std::set<std::wstring>(all.begin(), all.begin() + i),
                  replacedBeforeEachRead[first + i])
            << "before movie " << i;
}

TEST_F(PatchTest, OnlyTheTickedGroupIsTouched) {
    GameRegistration registration(game.path());
    host.values = {0, 1, 2}; // 2 is a greyed box: not chosen
    system.Answer(IDYES);
    system.Answer(IDOK);
    EXPECT_EQ(PatchOutcome::Done, RunPatch(host, placeholder));
    EXPECT_EQ(std::set<std::wstring>{L"nVid.bik"}, ReplacedMovies());
    EXPECT_EQ(18u, UntouchedMovies().size());
}

TEST_F(PatchTest, NoBoxTickedTouchesNothingAndStillEnds) {
    GameRegistration registration(game.path());
    host.values = {0, 0, 0};
    system.Answer(IDYES);
    system.Answer(IDOK);
    EXPECT_EQ(PatchOutcome::Done, RunPatch(host, placeholder));
    EXPECT_EQ(19u, UntouchedMovies().size());
    EXPECT_EQ("Done!", system.messages.back().text);
    EXPECT_EQ(1u, system.ended.size());
}

TEST_F(PatchTest, ProtectedMoviesAreReplacedAndMissingOnesCreated) {
    GameRegistration registration(game.path());
    const std::wstring readOnly = videoFolder + L"\\intel_e.bik";
    const std::wstring hiddenSystem = videoFolder + L"\\Intr_v8_g.bik";
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(hiddenSystem.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    DeleteFileW((videoFolder + L"\\nVid.bik").c_str());
    system.Answer(IDYES);
    system.Answer(IDOK);
    EXPECT_EQ(PatchOutcome::Done, RunPatch(host, placeholder));
    EXPECT_EQ(19u, ReplacedMovies().size());
    ExpectOnlyMovies();
}

TEST_F(PatchTest, AMovieInUseIsReportedAndLeftWholeWhileTheOthersAreReplaced) {
    GameRegistration registration(game.path());
    const std::wstring busy = videoFolder + L"\\Intr_torv_f.bik";
    const HANDLE held = CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    system.Answer(IDYES);
    system.Answer(IDOK);
    EXPECT_EQ(PatchOutcome::Partial, RunPatch(host, placeholder));
    CloseHandle(held);

    EXPECT_EQ(OriginalBytes(L"Intr_torv_f.bik"), ReadFileBytes(busy));
    EXPECT_EQ(18u, ReplacedMovies().size());
    ExpectOnlyMovies();
    ASSERT_EQ(2u, system.messages.size());
    const std::string& report = system.messages[1].text;
    EXPECT_NE(std::string::npos, report.find("Replaced 18 of 19 movies")) << report;
    EXPECT_NE(std::string::npos, report.find("Intr_torv_f.bik: ")) << report;
    EXPECT_TRUE(system.ended.empty()) << "the window stays open for a retry";
    EXPECT_NE(0, IsWindow(host.Window()));
}

TEST_F(PatchTest, MissingPlaceholderTouchesNothing) {
    GameRegistration registration(game.path());
    DeleteFileW(placeholder.c_str());
    system.Answer(IDYES);
    system.Answer(IDOK);
    EXPECT_EQ(PatchOutcome::NotReady, RunPatch(host, placeholder));
    EXPECT_EQ(19u, UntouchedMovies().size());
    EXPECT_NE(std::string::npos, system.messages[1].text.find("vh-tvm3.dat"));
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(PatchTest, MissingGameOrVideoFolderTouchesNothing) {
    {
        system.Answer(IDYES);
        system.Answer(IDOK);
        EXPECT_EQ(PatchOutcome::NotReady, RunPatch(host, placeholder)) << "no registry value";
        EXPECT_NE(std::string::npos, system.messages[1].text.find("PATH_VIDEO"));
    }
    {
        TempFolder elsewhere;
        GameRegistration registration(elsewhere.path());
        system.Answer(IDYES);
        system.Answer(IDOK);
        EXPECT_EQ(PatchOutcome::NotReady, RunPatch(host, placeholder)) << "no video folder";
        EXPECT_NE(std::string::npos, system.messages[3].text.find("video folder"));
        EXPECT_TRUE(test::ListFolder(elsewhere.path()).empty());
    }
    EXPECT_EQ(19u, UntouchedMovies().size());
    EXPECT_TRUE(system.ended.empty());
}

TEST_F(PatchTest, ReplaceMovieLeavesAttributesAndNoTemporaryFileWhenItFails) {
    const std::wstring movie = videoFolder + L"\\intel_g.bik";
    SetFileAttributesW(movie.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const DWORD before = GetFileAttributesW(movie.c_str());
    EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS),
              ReplaceMovie(videoFolder + L"\\", L"intel_g.bik", program / L"absent.dat"));
    EXPECT_EQ(before, GetFileAttributesW(movie.c_str()));
    EXPECT_TRUE(before & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(OriginalBytes(L"intel_g.bik"), ReadFileBytes(movie));
    ExpectOnlyMovies();
}

} // namespace
} // namespace tv
