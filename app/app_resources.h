#pragma once
// Names of the program's resources (assets/window.rc, assets/program.rc). Read by the
// resource compiler too, so only preprocessor lines outside RC_INVOKED.
#define TV_APP_ICON 1
#define TV_MANIFEST 1

#ifndef RC_INVOKED
inline constexpr int kAppIconId = TV_APP_ICON;
inline constexpr wchar_t kSkinCompleteName[] = L"SKIN_COMPLETE";
inline constexpr wchar_t kSkinFramesName[] = L"SKIN_FRAMES";
inline constexpr wchar_t kArrowOffName[] = L"ARROW_OFF";
inline constexpr wchar_t kArrowOnName[] = L"ARROW_ON";
inline constexpr wchar_t kApplyButtonName[] = L"APPLY_BUTTON";
#endif
