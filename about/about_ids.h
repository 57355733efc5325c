// Control identifiers of the About dialog. OK is IDOK, so Enter presses it.
#pragma once

#include <windows.h>

namespace about::ids {

inline constexpr int kOK = IDOK;
inline constexpr int kPicIcon = 301;
inline constexpr int kSysInfo = 302;
inline constexpr int kTitle = 303;
inline constexpr int kVersion = 304;
inline constexpr int kDisclaimer = 305;

}  // namespace about::ids
