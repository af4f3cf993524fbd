#include "patch.h"

#include "program.h"
#include "registry.h"
#include "system_seam.h"
#include <algorithm>
#include <atomic>
#include <cctype>

namespace tv {
namespace {

// Copies the placeholder to a new, uniquely named file in the video folder, so that the
// final move stays on one volume and is atomic.
DWORD CopyToTemporary(const std::wstring& videoFolder, const std::wstring& placeholderPath,
                      std::wstring& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = videoFolder + L"~vh-tvm3-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++) + L".tmp";
        if (CopyFileW(placeholderPath.c_str(), temporaryPath.c_str(), TRUE)) {
            // The copy takes the placeholder's attributes; a read-only copy could not be
            // deleted after a failed move, and a read-only movie is not what we promise.
            if (SetFileAttributesW(temporaryPath.c_str(), FILE_ATTRIBUTE_NORMAL))
                return ERROR_SUCCESS;
            const DWORD error = GetLastError();
            DeleteFileW(temporaryPath.c_str());
            return error;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            DeleteFileW(temporaryPath.c_str());
            return error;
        }
    }
    return ERROR_FILE_EXISTS;
}

bool AskToContinue(HWND owner) {
    return System().ShowMessage(owner, "No Backup feature!\r\nContinue?", kAppTitle, MB_YESNO) ==
           IDYES;
}

void Tell(HWND owner, const std::string& text) {
    System().ShowMessage(owner, text, kAppTitle, MB_OK);
}

// Says what is missing and what to do; empty when everything needed is there.
std::string WhatIsMissing(const std::string& registryText, const std::wstring& videoFolder,
                          const std::wstring& placeholderPath) {
    if (registryText.empty() || registryText == "Error")
        return "Torv Velomar 3 was not found: its folder is not in the registry\r\n(" +
               std::string(kGameKeyPath) + ", value " + kGameValueName +
               ").\r\nInstall the game fully, then try again.";
    if (!IsFolder(videoFolder))
        return "The game's video folder was not found:\r\n" + ToAnsi(videoFolder) +
               "\r\nThis works only for a fully installed Torv 3. Reinstall the game fully, "
               "then try again.";
    if (!IsFile(placeholderPath))
        return "The placeholder movie is missing beside this program:\r\n" +
               ToAnsi(placeholderPath) +
               "\r\nUnpack the whole download into one folder, then try again.";
    return {};
}

} // namespace

const std::array<std::vector<std::wstring>, 3>& MovieGroups() {
    static const std::array<std::vector<std::wstring>, 3> groups{{
        {L"intel_e.bik", L"intel_f.bik", L"intel_g.bik"},
        {L"nVid.bik"},
        {L"Intr_dtm_e.bik", L"Intr_dtm_f.bik", L"Intr_dtm_g.bik", L"Intr_dtm_i.bik",
         L"Intr_dtm_s.bik", L"Intr_torv_e.bik", L"Intr_torv_f.bik", L"Intr_torv_g.bik",
         L"Intr_torv_i.bik", L"Intr_torv_s.bik", L"Intr_v8_e.bik", L"Intr_v8_f.bik",
         L"Intr_v8_g.bik", L"Intr_v8_i.bik", L"Intr_v8_s.bik"},
    }};
    return groups;
}

std::wstring VideoFolderFromValue(const std::wstring& gameFolder) {
    std::wstring folder = gameFolder;
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder + L"\\video\\";
}

DWORD ReplaceMovie(const std::wstring& videoFolder, const std::wstring& movieName,
                   const std::wstring& placeholderPath) {
    const std::wstring moviePath = videoFolder + movieName;
    const DWORD oldAttributes = GetFileAttributesW(moviePath.c_str());
    const bool exists = oldAttributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (oldAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_DIRECTORY;

    // Read-only, hidden or system movies cannot be replaced until their attributes are gone.
    if (exists && oldAttributes != FILE_ATTRIBUTE_NORMAL &&
        !SetFileAttributesW(moviePath.c_str(), FILE_ATTRIBUTE_NORMAL))
        return GetLastError();

    std::wstring temporaryPath;
    DWORD error = CopyToTemporary(videoFolder, placeholderPath, temporaryPath);
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temporaryPath.c_str(), moviePath.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileW(temporaryPath.c_str());
    }
    if (error != ERROR_SUCCESS && exists)
        SetFileAttributesW(moviePath.c_str(), oldAttributes);
    return error;
}

Failure DescribeFailure(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return {"access denied", "run this tool as administrator"};
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return {"the file is in use", "close the game"};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return {"the disk is full", "free some space"};
    case ERROR_DIRECTORY:
        return {"a folder has the movie's name", "move that folder away"};
    default:
        break;
    }
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string description = length ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' ' || description.back() == '.'))
        description.pop_back();
    if (description.empty())
        description = "system error";
    return {description + " (error " + std::to_string(error) + ")", ""};
}

std::string FailureReport(size_t chosen,
                          const std::vector<std::pair<std::wstring, Failure>>& failures) {
    if (failures.empty())
        return {};
    const std::string& firstReason = failures.front().second.reason;
    bool oneReason = true;
    std::vector<std::string> remedies;
    for (const auto& [movie, failure] : failures) {
        oneReason = oneReason && failure.reason == firstReason;
        if (!failure.remedy.empty() &&
            std::find(remedies.begin(), remedies.end(), failure.remedy) == remedies.end())
            remedies.push_back(failure.remedy);
    }
    std::string advice;
    for (size_t i = 0; i < remedies.size(); ++i)
        advice += (i == 0 ? "" : ", ") + remedies[i];
    advice = advice.empty() ? "Press APPLY again to retry." : advice + " and press APPLY again.";
    advice[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(advice[0])));

    const size_t replaced = chosen - failures.size();
    std::string report = replaced ? "Replaced " + std::to_string(replaced) + " of " +
                                        std::to_string(chosen) + " movies. "
                                  : "";
    if (failures.size() == 1)
        return report + ToAnsi(failures.front().first) + " was not replaced: " + firstReason +
               ". " + advice;
    report += replaced ? "These were not replaced:"
                       : "None of the " + std::to_string(chosen) + " movies was replaced:";
    if (oneReason) {
        report += " " + firstReason + ".";
        if (!replaced)
            return report + " " + advice;
    }
    for (const auto& [movie, failure] : failures)
        report += "\r\n" + ToAnsi(movie) + (oneReason ? "" : ": " + failure.reason);
    return report + "\r\n\r\n" + advice;
}

std::wstring DefaultPlaceholderPath() {
    return ProgramFolderW() + L"\\" + kPlaceholderName;
}

PatchOutcome RunPatch(PatchHost& host, const std::wstring& placeholderPath) {
    const HWND window = host.Window();
    if (!AskToContinue(window))
        return PatchOutcome::Declined;

    std::string keyPath = kGameKeyPath;
    const std::string gameFolder = Get_RegValue(keyPath, kGameValueName).value_or("");
    host.SetFolderText(VideoFolderFromValue(FromAnsi(gameFolder)));

    if (const std::string missing = WhatIsMissing(gameFolder, host.FolderText(), placeholderPath);
        !missing.empty()) {
        Tell(window, missing);
        return PatchOutcome::NotReady;
    }

    size_t chosen = 0;
    std::vector<std::pair<std::wstring, Failure>> failures;
    for (int group = 1; group <= 3; ++group) {
        if (host.GroupValue(group) != 1)
            continue;
        for (const std::wstring& movie : MovieGroups()[group - 1]) {
            ++chosen;
            if (const DWORD error = ReplaceMovie(host.FolderText(), movie, placeholderPath);
                error != ERROR_SUCCESS)
                failures.emplace_back(movie, DescribeFailure(error));
        }
    }

    if (!failures.empty()) {
        Tell(window, FailureReport(chosen, failures));
        return PatchOutcome::Partial;
    }

    Tell(window, "Done!");
    host.CloseSequence();
    return PatchOutcome::Done;
}

} // namespace tv
