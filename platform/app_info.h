// Facts about the running program.
#pragma once

#include <string>

namespace platform {

inline constexpr wchar_t kAppTitle[] = L"Horlomat";

// The folder that holds the executable, as Windows reports it: it ends in a
// backslash only for the root folder of a drive.
std::wstring AppDirectory();

}  // namespace platform
