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

// Whether the file can keep `value` so that ReadIniString gives it back
// unchanged: every character in the ANSI code page, no line break, and short
// enough for the reader's 254 characters, quotes included (see below).
bool CanStore(std::wstring_view value);

// Stores the value, creating file, section and key as needed. Nonzero on success.
// The reader drops blanks and control characters at either end of a value and
// one pair of quotes around it, so such a value is stored in double quotes.
// A value that CanStore refuses is not written at all: the result is 0.
short WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view value);

}  // namespace global
