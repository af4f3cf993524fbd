#include "patch.h"

#include "handles.h"
#include "program.h"
#include "registry.h"
#include "system_seam.h"

#include <algorithm>
#include <cctype>
#include <cwctype>

namespace tv {
namespace {

// A short name, so that a long game folder holds it as well as any movie's.
std::wstring TemporaryName(unsigned number) {
    constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring name = L"~vh";
    for (int shift = 12; shift >= 0; shift -= 4)
        name += kHex[(number >> shift) & 0xF];
    return name + L".tmp";
}

// The copy takes the placeholder's attributes: a read-only copy could not be deleted after a
// failed move, and a read-only movie is not what we promise. It reaches the disk before it
// replaces the movie, so that after a power cut the movie is not left full of zeros.
DWORD Settle(const std::wstring& path) {
    if (!SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL))
        return GetLastError();
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    const UniqueHandle owner(file);
    return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

// Copies the placeholder to a new, uniquely named file in the video folder (in its long
// form), so that the final move stays on one volume and is atomic.
DWORD CopyToTemporary(const std::wstring& folder, const std::wstring& placeholderPath,
                      std::wstring& temporaryPath) {
    static unsigned counter = GetTickCount() ^ GetCurrentProcessId();
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = folder + TemporaryName(counter++);
        DWORD error = ERROR_SUCCESS;
        if (CopyFileW(placeholderPath.c_str(), temporaryPath.c_str(), TRUE))
            error = Settle(temporaryPath);
        else if (error = GetLastError();
                 error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            continue;
        if (error != ERROR_SUCCESS)
            DeleteFileW(temporaryPath.c_str());
        return error;
    }
    return ERROR_FILE_EXISTS;
}

bool AskToContinue(HWND owner) {
    // No is the default: the replacement cannot be undone, so Enter alone must not do it.
    return System().ShowMessage(owner, "No Backup feature!\r\nContinue?", kAppTitle,
                                MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void Tell(HWND owner, const std::wstring& text) {
    System().ShowMessage(owner, text, FromAnsi(kAppTitle), MB_OK);
}

// Says what is missing or wrong and what to do; empty when everything needed is there.
std::wstring WhatIsMissing(const std::wstring& value, const std::wstring& videoFolder,
                           const std::wstring& placeholderPath) {
    const std::wstring where =
        std::wstring(L"(") + kGameKeyPath + L", value " + kGameValueName + L")";
    if (value == L"Error")
        return L"Torv Velomar 3 was not found: its folder is not in the registry\r\n" + where +
               L".\r\nInstall the game fully, then try again.";
    if (GameFolderFromValue(value).empty())
        return L"The game's folder in the registry is not a full path: \"" + value + L"\"\r\n" +
               where +
               L".\r\nReinstall the game, or set that value to the game's full folder, such as "
               L"C:\\Games\\Torv Velomar 3, then try again.";
    if (!IsFolder(videoFolder))
        return L"The game's video folder was not found:\r\n" + videoFolder +
               L"\r\nThis works only for a fully installed Torv 3. Reinstall the game fully, "
               L"then try again.";
    if (!IsFile(placeholderPath))
        return L"The placeholder movie is missing beside this program:\r\n" + placeholderPath +
               L"\r\nUnpack the whole download into one folder, then try again.";
    return {};
}

// What the final message adds about temporary copies of an earlier run that stay.
std::wstring LeftoverNote(const std::vector<std::pair<std::wstring, Failure>>& kept) {
    if (kept.empty())
        return {};
    std::wstring note = L"\r\n\r\nTemporary files of an earlier run could not be removed from "
                        L"the video folder; delete them by hand:";
    for (const auto& [name, failure] : kept)
        note += L"\r\n" + name + L" (" + FromAnsi(failure.reason) + L")";
    return note;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool IsNumber(const std::wstring& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
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

std::wstring GameFolderFromValue(const std::wstring& value) {
    std::wstring folder = value;
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
        folder = folder.substr(1, folder.size() - 2);
    const auto separator = [&](size_t i) {
        return i < folder.size() && (folder[i] == L'\\' || folder[i] == L'/');
    };
    const wchar_t drive = folder.empty() ? L'\0' : static_cast<wchar_t>(std::towupper(folder[0]));
    const bool onDrive =
        drive >= L'A' && drive <= L'Z' && folder.size() >= 3 && folder[1] == L':' && separator(2);
    const size_t share = folder.find_first_of(L"\\/", 2);
    const bool unc = separator(0) && separator(1) && share != std::wstring::npos && share > 2 &&
                     share + 1 < folder.size() && !separator(share + 1);
    return onDrive || unc ? folder : std::wstring();
}

std::wstring VideoFolderFromValue(const std::wstring& gameFolder) {
    std::wstring folder = gameFolder;
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder + L"\\video\\";
}

DWORD ReplaceMovie(const std::wstring& videoFolder, const std::wstring& movieName,
                   const std::wstring& placeholderPath) {
    const std::wstring folder = LongPath(videoFolder);
    const std::wstring moviePath = folder + movieName;
    const DWORD oldAttributes = GetFileAttributesW(moviePath.c_str());
    const bool exists = oldAttributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (oldAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_DIRECTORY;

    // Read-only, hidden or system movies cannot be replaced until their attributes are gone.
    if (exists && oldAttributes != FILE_ATTRIBUTE_NORMAL &&
        !SetFileAttributesW(moviePath.c_str(), FILE_ATTRIBUTE_NORMAL))
        return GetLastError();

    std::wstring temporaryPath;
    DWORD error = CopyToTemporary(folder, LongPath(placeholderPath), temporaryPath);
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

bool IsTemporaryCopyName(const std::wstring& name) {
    std::wstring lower = name;
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    if (!lower.starts_with(L"~vh") || !lower.ends_with(L".tmp"))
        return false;
    const std::wstring middle = lower.substr(3, lower.size() - 7);
    if (middle.size() == 4)
        return std::all_of(middle.begin(), middle.end(),
                           [](wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f'); });
    const size_t dash = middle.find(L'-', 6);
    return middle.starts_with(L"-tvm3-") && dash != std::wstring::npos &&
           IsNumber(middle.substr(6, dash - 6)) && IsNumber(middle.substr(dash + 1));
}

std::vector<std::pair<std::wstring, Failure>> RemoveLeftovers(const std::wstring& videoFolder) {
    std::vector<std::pair<std::wstring, Failure>> kept;
    const std::wstring folder = LongPath(videoFolder);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"~vh*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return kept;
    const UniqueFind owner(search);
    do {
        const std::wstring path = folder + found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !IsTemporaryCopyName(found.cFileName))
            continue;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); // a copy killed before Settle
        if (!DeleteFileW(path.c_str()))
            kept.emplace_back(found.cFileName, DescribeFailure(GetLastError()));
    } while (FindNextFileW(search, &found));
    return kept;
}

std::wstring DefaultPlaceholderPath() {
    return ProgramFolderW() + L"\\" + kPlaceholderName;
}

PatchOutcome RunPatch(PatchHost& host, const std::wstring& placeholderPath) {
    const HWND window = host.Window();
    if (!AskToContinue(window))
        return PatchOutcome::Declined;

    std::wstring keyPath = kGameKeyPath;
    const std::wstring value = Get_RegValue(keyPath, kGameValueName).value_or(L"Error");
    host.SetFolderText(VideoFolderFromValue(GameFolderFromValue(value)));

    if (const std::wstring missing = WhatIsMissing(value, host.FolderText(), placeholderPath);
        !missing.empty()) {
        Tell(window, missing);
        return PatchOutcome::NotReady;
    }

    const std::wstring note = LeftoverNote(RemoveLeftovers(host.FolderText()));
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
        Tell(window, FromAnsi(FailureReport(chosen, failures)) + note);
        return PatchOutcome::Partial;
    }

    Tell(window, L"Done!" + note);
    host.CloseSequence();
    return PatchOutcome::Done;
}

} // namespace tv
