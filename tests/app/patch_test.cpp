// The APPLY action with real folders, real files and the test prefix's real registry.
#include "patch.h"

#include "fake_system.h"
#include "program.h"
#include "temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
    void WriteOriginals() const {
        for (const auto& movie : kMovies)
            test::WriteFileBytes(video + movie, Original(movie));
    }

    test::TempFolder game, program;
    std::wstring video = game / L"video\\";
    std::wstring placeholder = program / L"vh-tvm3.dat";
    test::FakeSystem system;
    TestHost host;
};

TEST_F(Patch, ReplacesTheTickedGroupsAfterAYes) {
    const struct {
        std::array<int, 3> values; // 2 is a greyed box: not chosen
        std::string movies;
    } cases[] = {{{0, 1, 2}, "oooPooooooooooooooo"},
                 {{0, 0, 1}, "ooooPPPPPPPPPPPPPPP"},
                 {{0, 0, 0}, "ooooooooooooooooooo"},
                 {{1, 1, 1}, "PPPPPPPPPPPPPPPPPPP"}};
    for (const auto& c : cases) {
        WriteOriginals();
        SetGameFolder(game.path() + L"\\"); // at most one trailing separator is dropped
        host.values = c.values;
        system.messages.clear();
        host.closes = 0;
        system.Answer(IDYES);
        system.Answer(IDOK);
        EXPECT_EQ(RunPatch(host, placeholder), PatchOutcome::Done);
        EXPECT_EQ(Movies(video), c.movies);
        EXPECT_EQ(test::ListFolder(video).size(), 19u) << "no temporary file is left";
        EXPECT_EQ(system.Said(), "VH - Torv3 No Intros|4|No Backup feature!\r\nContinue?\n"
                                 "VH - Torv3 No Intros|0|Done!\n"); // MB_YESNO, MB_OK
        EXPECT_TRUE(host.closes == 1 && system.ended.empty()) << "the window's way out, once";
    }
    EXPECT_EQ(host.folder, video);
    std::string order; // the last case's movies, replaced one after another in their order
    for (size_t i = 0; i < 19; ++i)
        order += std::string(i, 'P') + std::string(19 - i, 'o') + " ";
    EXPECT_TRUE(host.reads.ends_with(order)) << host.reads;
}

TEST_F(Patch, WhatIsMissingOrFailsIsSaidAndNothingElseIsTouched) {
    const struct {
        std::function<void()> arrange;
        PatchOutcome outcome; // Declined: the answer was No
        const char* message;
    } cases[] = {
        {[&] { SetGameFolder(game.path()); }, PatchOutcome::Declined, "Continue?"},
        {[&] { SetGameFolder(std::nullopt); }, PatchOutcome::NotReady,
         "its folder is not in the registry\r\n(HKEY_LOCAL_MACHINE\\SOFTWARE\\Brightlane\\Velomar "
         "3, value PATH_VIDEO)"},
        {[&] { SetGameFolder(program.path()); }, PatchOutcome::NotReady,
         "The game's video folder was not found:\r\n"},
        {[&] { SetGameFolder(game.path()), DeleteFileW(placeholder.c_str()); },
         PatchOutcome::NotReady, "The placeholder movie is missing beside this program:\r\n"},
    };
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
    EXPECT_TRUE(test::ListFolder(program.path()).empty());
}

TEST_F(Patch, ProtectedMoviesAreReplacedMissingOnesMadeAndOneInUseReported) {
    SetGameFolder(game.path());
    SetFileAttributesW(placeholder.c_str(), FILE_ATTRIBUTE_READONLY); // so are its copies
    SetFileAttributesW((video + L"intel_e.bik").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((video + L"Intr_v8_g.bik").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    DeleteFileW((video + L"nVid.bik").c_str());
    const HANDLE held = CreateFileW((video + L"Intr_torv_f.bik").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    system.Answer(IDYES);
    system.Answer(IDOK);
    EXPECT_EQ(RunPatch(host, placeholder), PatchOutcome::Partial);
    CloseHandle(held);
    EXPECT_EQ(Movies(video), "PPPPPPPPPPoPPPPPPPP");
    EXPECT_EQ(test::ListFolder(video).size(), 19u) << "no temporary file is left";
    EXPECT_FALSE(GetFileAttributesW((video + L"intel_e.bik").c_str()) & FILE_ATTRIBUTE_READONLY);
    // Windows says the file is in use, Wine that access is denied: either reason is named.
    const std::string start = "Replaced 18 of 19 movies. Intr_torv_f.bik was not replaced: ";
    EXPECT_THAT(system.messages.back().text,
                testing::AnyOf(start + "the file is in use. Close the game and press APPLY again.",
                               start + "access denied. Run this tool as administrator and press "
                                       "APPLY again."));
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
