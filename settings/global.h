// The settings file Horlomat.ini beside the executable: where it is, what it
// holds, and the one place through which it is read and written.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace global {

// Full path of the settings file; set once at start-up, before the first read. Empty for none.
extern std::wstring IniFilePath;

// The settings file in `directory`, with exactly one backslash between the
// folder and the file name (a drive's root already ends in one).
std::wstring IniPathIn(std::wstring_view directory);

// The stored value, at most 254 characters of it; `defaultValue` only when the
// file, the section or the key is missing (an empty value stays empty).
std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue);

// Stores the value, creating file, section and key as needed; nonzero on success.
short WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view value);

struct Settings {
    std::array<std::wstring, 5> fields;  // the field texts: year, month, day, hour, minute
    bool hold = false;                   // set the clock again every minute
};

// The six reads at start. A missing date or time key gives that part of the
// local date and time, each from a reading of the clock of its own.
Settings LoadSettings();

// The next start holds no more: "ZeitHalten" becomes "NEIN" where it says "JA";
// the five values stay.
void StoreNoHold();

// The six writes after a successful set, in their fixed order; each is made
// whatever the ones before returned. None is made when a text would not read
// back unchanged at the next start, so the file never mixes two sets.
// False when a text was refused or a write failed.
bool StoreSettings(const Settings& settings);

}  // namespace global
