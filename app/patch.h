#pragma once
// The one thing the tool is for: replace the game's chosen intro movies with the placeholder
// movie that ships beside the program.
#include <windows.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tv {

inline constexpr wchar_t kGameKeyPath[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Brightlane\\Velomar 3";
inline constexpr wchar_t kGameValueName[] = L"PATH_VIDEO";
inline constexpr wchar_t kPlaceholderName[] = L"vh-tvm3.dat";

// The movie files of the three groups, in the order in which they are replaced.
const std::array<std::vector<std::wstring>, 3>& MovieGroups();

// The game folder that the registry value names: the value without the quotes that may wrap
// it; empty unless that is a full local path (a drive letter and "\", or "\\server\share").
std::wstring GameFolderFromValue(const std::wstring& value);

// The video folder for the game folder of the registry: at most one trailing "\" removed,
// then "\video\".
std::wstring VideoFolderFromValue(const std::wstring& gameFolder);

// Replaces one movie by the placeholder so that at every moment it is either the original
// or the whole placeholder: a temporary copy in the video folder, flushed to the disk, is
// moved over it. Missing movies are created. Returns ERROR_SUCCESS or the Win32 error; on
// failure the movie and its attributes are as they were and no temporary file is left.
DWORD ReplaceMovie(const std::wstring& videoFolder, const std::wstring& movieName,
                   const std::wstring& placeholderPath);

// Whether a file name is one of our temporary copies ("~vh" and four hex digits, or an
// earlier release's "~vh-tvm3-<process>-<n>", then ".tmp"), in any letter case.
bool IsTemporaryCopyName(const std::wstring& name);

// Why a movie could not be replaced, and what the player can do about it: lower-case words
// that end a sentence ("free some space"), empty when there is nothing better than a retry.
struct Failure {
    std::string reason;
    std::string remedy;
};
Failure DescribeFailure(DWORD error);

// The report of a patch that left some of the `chosen` movies as they were, `failures` in
// the order of the movies. One reason shared by every failure is said once.
std::string FailureReport(size_t chosen,
                          const std::vector<std::pair<std::wstring, Failure>>& failures);

// Removes the temporary copies that a run killed between its copy and its replace left in
// the video folder, and only those; returns the ones that could not be removed, and why.
std::vector<std::pair<std::wstring, Failure>> RemoveLeftovers(const std::wstring& videoFolder);

// What the patch needs of the main window.
class PatchHost {
  public:
    virtual ~PatchHost() = default;
    virtual HWND Window() const = 0;
    // The value of group 1 to 3's check box: 1 ticked; 0 and 2 (greyed) are not chosen.
    virtual int GroupValue(int group) const = 0;
    // The hidden text that holds the video folder while the patch runs.
    virtual void SetFolderText(const std::wstring& text) = 0;
    virtual std::wstring FolderText() const = 0;
    // The window's one way out: fade out, then end the program. A request while it runs
    // changes nothing.
    virtual void CloseSequence() = 0;
};

enum class PatchOutcome {
    Declined, // the user answered No
    NotReady, // the game, its video folder or the placeholder is missing, or the registry
              // names no full path; nothing touched
    Partial,  // some chosen movies could not be replaced; reported, window stays open
    Done,     // every chosen movie replaced; "Done!", then the window's closing sequence
};

// "vh-tvm3.dat" beside the program.
std::wstring DefaultPlaceholderPath();

// The APPLY action, from the confirmation prompt to the window's closing sequence.
PatchOutcome RunPatch(PatchHost& host,
                      const std::wstring& placeholderPath = DefaultPlaceholderPath());

} // namespace tv
