// The settings file Horlomat.ini beside the executable, and the one place
// through which it is read and written.
#pragma once

#include <string>
#include <string_view>

namespace global {

inline constexpr wchar_t kIniFileName[] = L"Horlomat.ini";

// Full path of the settings file; set once at start-up, before the first read.
extern std::wstring IniFilePath;

// The settings file in `directory`, with exactly one backslash between the
// folder and the file name (a drive's root already ends in one).
std::wstring IniPathIn(std::wstring_view directory);

// The stored value, at most 254 characters of it; `defaultValue` only when the
// file, the section or the key is missing (an empty value stays empty).
std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue);

// Stores the value, creating file, section and key as needed. Nonzero on success.
short WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view value);

}  // namespace global
