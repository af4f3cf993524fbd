// The APPLY action with real folders, real files and the test prefix's real registry.
#include "patch.h"

#include "fake_system.h"
#include "program.h"
#include "temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace tv {
namespace {

using test::SetGameFolder;

// The game's 19 intro movies in the order they are replaced: groups of 3, 1 and 15.
const std::vector<std::wstring> kMovies = {
    L"intel_e.bik",     L"intel_f.bik",     L"intel_g.bik",     L"nVid.bik",
    L"Intr_dtm_e.bik",  L"Intr_dtm_f.bik",  L"Intr_dtm_g.bik",  L"Intr_dtm_i.bik",
    L"Intr_dtm_s.bik",  L"Intr_torv_e.bik", L"Intr_torv_f.bik", L"Intr_torv_g.bik",
    L"Intr_torv_i.bik", L"Intr_torv_s.bik", L"Intr_v8_e.bik",   L"Intr_v8_f.bik",
    L"Intr_v8_g.bik",   L"Intr_v8_i.bik",   L"Intr_v8_s.bik"};
const std::string kPlaceholder = std::string("BIKi placeholder\0\x01\x02", 19);

// Which movies in `folder` hold the placeholder ('P'), their original ('o') or else ('?').
const auto Original = [](const std::wstring& movie) { return "original " + ToAnsi(movie); };
std::string Movies(const std::wstring& folder) {
    std::string state;
    for (const auto& movie : kMovies) {
        const std::string bytes = test::ReadFileBytes(folder + movie);
        state += bytes == kPlaceholder ? 'P' : bytes == Original(movie) ? 'o' : '?';
    }
    return state;
}

// The main window as the patch sees it: a real window, three box values, the folder text.
struct TestHost : PatchHost {
    ~TestHost() override { DestroyWindow(window); }
    HWND Window() const override { return window; }
    int GroupValue(int group) const override { return values[group - 1]; }
    void SetFolderText(const std::wstring& text) override { folder = text; }
    std::wstring FolderText() const override { // notes the movies each time it is read
        reads += Movies(folder) + " ";
        return folder;
    }
    void CloseSequence() override { ++closes; }
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    std::wstring folder;
    std::array<int, 3> values{1, 1, 1};
    int closes = 0;
    mutable std::string reads;
};

class Patch : public ::testing::Test {
  protected:
    Patch() {
        CreateDirectoryW(video.c_str(), nullptr);
        WriteOriginals();
        test::WriteFileBytes(placeholder, kPlaceholder);
    }
    ~Patch() override { SetGameFolder(std::nullopt); }
    void WriteOriginals(const std::wstring& folder = L"") const {
        for (const auto& movie : kMovies)
            test::WriteFileBytes((folder.empty() ? video : folder) + movie, Original(movie));
    }

    test::TempFolder game, program;
    std::wstring video = game / L"video\\";
    std::wstring placeholder = program / L"vh-tvm3.dat";
    test::FakeSystem system;
    TestHost host;
};

TEST_F(Patch, ReplacesTheTickedGroupsAfterAYesInAnyFullPathToTheGame) {
    SetEnvironmentVariableW(L"TV_GAME", game.path().c_str());
    const std::wstring script = game / L"\u03a9\u03bc\u03ad\u03b3\u03b1 \u6e38\u620f";
    std::wstring deep = script; // beyond MAX_PATH with its movies
    while (deep.size() < 245)
        deep += L"\\" + std::wstring(40, L'd');
    const struct {
        std::array<int, 3> values; // 2 is a greyed box: not chosen
        std::string movies;
        std::wstring value, folder; // in the registry (expanded if with "%"), the game's folder
    } cases[] = {{{0, 1, 2}, "oooPooooooooooooooo", script, script},
                 {{0, 0, 1}, "ooooPPPPPPPPPPPPPPP", L"\"" + game.path() + L"\\\"", game.path()},
                 {{0, 0, 0}, "ooooooooooooooooooo", L"%TV_GAME%", game.path()},
                 {{1, 1, 1}, "PPPPPPPPPPPPPPPPPPP", deep, deep}};
    for (const auto& c : cases) {
        const std::wstring folder = c.folder + L"\\video\\"; // one trailing "\\" is dropped
        std::filesystem::create_directories(folder);
        WriteOriginals(folder);
        SetGameFolder(c.value, c.value.starts_with(L"%") ? REG_EXPAND_SZ : REG_SZ);
        host.values = c.values, host.closes = 0;
        system.messages.clear(), system.Answer(IDYES), system.Answer(IDOK);
        EXPECT_EQ(RunPatch(host, placeholder), PatchOutcome::Done);
        EXPECT_EQ(Movies(folder), c.movies);
        EXPECT_EQ(test::ListFolder(folder).size(), 19u) << "no temporary file is left";
        EXPECT_EQ(system.Said(), "VH - Torv3 No Intros|260|No Backup feature!\r\nContinue?\n"
                                 "VH - Torv3 No Intros|0|Done!\n"); // MB_YESNO with No, MB_OK
        EXPECT_TRUE(host.closes == 1 && system.ended.empty()) << "the window's way out, once";
    }
    EXPECT_EQ(host.folder, deep + L"\\video\\");
    std::string order; // the last case's movies, replaced one after another in their order
    for (size_t i = 0; i < 19; ++i)
        order += std::string(i, 'P') + std::string(19 - i, 'o') + " ";
    EXPECT_TRUE(host.reads.ends_with(order)) << host.reads;
    EXPECT_EQ(LongPath(L"C:\\a\\..\\b/c\\") + LongPath(L"\\\\pc\\s") + LongPath(L"\\\\?\\C:\\.."),
              L"\\\\?\\C:\\b\\c\\\\\\?\\UNC\\pc\\s\\\\?\\C:\\..");
}

TEST_F(Patch, WhatIsMissingWrongOrFailsIsSaidAndNothingElseIsTouched) {
    struct Case {
        std::function<void()> arrange;
        PatchOutcome outcome; // Declined: the answer was No
        std::string message;
    };
    std::vector<Case> cases = {
        {[&] { SetGameFolder(game.path()); }, PatchOutcome::Declined, "Continue?"},
        {[&] { SetGameFolder(std::nullopt); }, PatchOutcome::NotReady,
         "its folder is not in the registry\r\n(HKEY_LOCAL_MACHINE\\SOFTWARE\\Brightlane\\Velomar "
         "3, value PATH_VIDEO)"},
        {[&] { SetGameFolder(program.path()); }, PatchOutcome::NotReady,
         "The game's video folder was not found:\r\n"},
        {[&] { SetGameFolder(game.path()), DeleteFileW(placeholder.c_str()); },
         PatchOutcome::NotReady, "The placeholder movie is missing beside this program:\r\n"},
    };
    // A value that is no full path names no folder, not even the one we happen to be in.
    for (const wchar_t* value : {L".", L"   ", L"video", L"C:", L"C:Game", L"\\Game", L"\\\\pc"})
        cases.push_back({[&, value] { SetGameFolder(value); }, PatchOutcome::NotReady,
                         "not a full path: \"" + test::Utf8(value[0] == L' ' ? L"" : value) +
                             "\"\r\n(HKEY_LOCAL_MACHINE\\SOFTWARE\\Brightlane\\Velomar 3, value "
                             "PATH_VIDEO).\r\nReinstall the game, or set that value to the game's "
                             "full folder"});
    const std::wstring before = std::filesystem::current_path().wstring();
    SetCurrentDirectoryW(game.path().c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        c.arrange();
        system.messages.clear();
        const bool declined = c.outcome == PatchOutcome::Declined;
        system.Answer(declined ? IDNO : IDYES);
        if (!declined)
            system.Answer(IDOK);
        EXPECT_EQ(RunPatch(host, placeholder), c.outcome);
        EXPECT_THAT(system.Said(), testing::HasSubstr(c.message));
        EXPECT_EQ(Movies(video), std::string(19, 'o')) << "nothing is touched";
        EXPECT_TRUE(host.closes == 0 && system.AllAnswersUsed() && IsWindow(host.window));
    }
    SetCurrentDirectoryW(before.c_str());
    EXPECT_TRUE(test::ListFolder(program.path()).empty());
    EXPECT_EQ(test::ListFolder(game.path()).size(), 1u);
}

TEST_F(Patch, ProtectedMoviesAreReplacedMissingOnesMadeOneInUseReportedAndLeftoversGo) {
    SetGameFolder(game.path());
    SetFileAttributesW(placeholder.c_str(), FILE_ATTRIBUTE_READONLY); // so are its copies
    SetFileAttributesW((video + L"intel_e.bik").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((video + L"Intr_v8_g.bik").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    DeleteFileW((video + L"nVid.bik").c_str());
    // Temporary copies that a killed run left: ours go, read-only or not; others stay.
    const std::pair<const wchar_t*, bool> leftovers[] = {
        // removed
        {L"~vh00af.tmp", true},      {L"~VH12AB.TMP", true},      {L"~vh-tvm3-4242-7.tmp", true},
        {L"~vh12345.tmp", false},    {L"~vh12ag.tmp", false},     {L"x~vh1234.tmp", false},
        {L"~vh1234.tmp.bik", false}, {L"~vh-tvm3-42.tmp", false}, {L"~vh-tvm3-x-1.tmp", false},
        {L"~vhdead.tmp", false}};
    for (const auto& [name, removed] : leftovers)
        test::WriteFileBytes(video + name, "part");
    SetFileAttributesW((video + L"~vh00af.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW((video + L"~vhbeef.tmp").c_str(), nullptr);
    const auto hold = [&](const wchar_t* name) {
        return CreateFileW((video + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE held[] = {hold(L"Intr_torv_f.bik"), hold(L"~vhdead.tmp")};
    system.Answer(IDYES), system.Answer(IDOK);
    EXPECT_EQ(RunPatch(host, placeholder), PatchOutcome::Partial);
    CloseHandle(held[0]), CloseHandle(held[1]);
    EXPECT_EQ(Movies(video), "PPPPPPPPPPoPPPPPPPP");
    for (const auto& [name, removed] : leftovers)
        EXPECT_EQ(IsFile(video + name), !removed) << test::Utf8(name);
    EXPECT_EQ(test::ListFolder(video).size(), 19u + 8) << "no temporary file of this run is left";
    EXPECT_FALSE(GetFileAttributesW((video + L"intel_e.bik").c_str()) & FILE_ATTRIBUTE_READONLY);
    // Windows says the movie is in use, Wine that access is denied: either reason is named.
    const std::string start = "Replaced 18 of 19 movies. Intr_torv_f.bik was not replaced: ",
                      note = "\r\n\r\nTemporary files of an earlier run could not be removed "
                             "from the video folder; delete them by hand:\r\n~vhdead.tmp (the "
                             "file is in use)";
    EXPECT_THAT(
        system.messages.back().text,
        testing::AnyOf(start + "the file is in use. Close the game and press APPLY again." + note,
                       start +
                           "access denied. Run this tool as administrator and press "
                           "APPLY again." +
                           note));
    EXPECT_TRUE(host.closes == 0) << "the window stays open for a retry";
}

TEST_F(Patch, AFailedReplaceLeavesTheMovieItsAttributesAndNoTemporaryFile) {
    const std::wstring movie = video + L"intel_g.bik";
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    SetFileAttributesW(movie.c_str(), attributes);
    EXPECT_EQ(ReplaceMovie(video, L"intel_g.bik", video + L"absent.dat"),
              DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(GetFileAttributesW(movie.c_str()) & attributes, attributes);
    EXPECT_TRUE(Movies(video) == std::string(19, 'o') && test::ListFolder(video).size() == 19);
    CreateDirectoryW((video + L"Intr_x.bik").c_str(), nullptr);
    EXPECT_EQ(ReplaceMovie(video, L"Intr_x.bik", placeholder), DWORD{ERROR_DIRECTORY});

    // Access denied and a full disk are named in the reports below.
    const std::pair<DWORD, const char*> reasons[] = {
        {ERROR_LOCK_VIOLATION, "the file is in use|close the game"},
        {ERROR_HANDLE_DISK_FULL, "the disk is full|free some space"},
        {ERROR_DIRECTORY, "a folder has the movie's name|move that folder away"}};
    for (const auto& [error, text] : reasons)
        EXPECT_EQ(DescribeFailure(error).reason + "|" + DescribeFailure(error).remedy, text);
    // Other errors in the system's words, without its full stop, and their number.
    EXPECT_THAT(DescribeFailure(ERROR_FILE_NOT_FOUND).reason,
                testing::MatchesRegex(".*\\w \\(error 2\\)"));
    EXPECT_EQ(DescribeFailure(0xDEADBEEF).reason, "system error (error 3735928559)");
}

TEST(FailureReport, OneReasonIsSaidOnceAndEachRemedyOnce) {
    const Failure full = DescribeFailure(ERROR_DISK_FULL),
                  busy = {"the file is in use", "close it"},
                  denied = DescribeFailure(ERROR_ACCESS_DENIED), odd{"odd (error 9)", ""};
    const struct {
        size_t chosen;
        std::vector<std::pair<std::wstring, Failure>> failures;
        const char* report;
    } cases[] = {
        {2,
         {{L"a", full}, {L"b", full}},
         "None of the 2 movies was replaced: the disk is full. Free some space and press APPLY "
         "again."},
        {4,
         {{L"a", busy}, {L"b", busy}},
         "Replaced 2 of 4 movies. These were not replaced: the file is in use.\r\na\r\nb\r\n\r\n"
         "Close it and press APPLY again."},
        {3,
         {{L"a", denied}, {L"b", full}, {L"c", denied}},
         "None of the 3 movies was replaced:\r\na: access denied\r\nb: the disk is full\r\n"
         "c: access denied\r\n\r\nRun this tool as administrator, free some space and press APPLY "
         "again."},
        {2,
         {{L"b", odd}},
         "Replaced 1 of 2 movies. b was not replaced: odd (error 9). Press APPLY again to retry."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureReport(c.chosen, c.failures), c.report);
}

} // namespace
} // namespace tv
