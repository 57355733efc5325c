#include "settings/global.h"

#include "platform/text.h"

#include <windows.h>

#include <optional>

namespace global {
namespace {

constexpr wchar_t kSection[] = L"Zeit";
constexpr const wchar_t* kFieldKeys[5] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};
constexpr wchar_t kHoldKey[] = L"ZeitHalten";
constexpr wchar_t kYes[] = L"JA";
constexpr wchar_t kNo[] = L"NEIN";

constexpr DWORD kBufferSize = 255;

// GetPrivateProfileString drops these from both ends of a value.
bool IsDroppedAtEnd(wchar_t c) {
    WORD type = 0;
    ::GetStringTypeW(CT_CTYPE1, &c, 1, &type);
    return (type & (C1_SPACE | C1_CNTRL | C1_BLANK)) != 0;
}

bool IsQuote(wchar_t c) {
    return c == L'"' || c == L'\'';
}

// What to write so that the reader gives `value` back unchanged: the value,
// in double quotes where the reader would trim it or drop its own quotes.
// Nothing when the file cannot keep it.
std::optional<std::wstring> StoredForm(const std::wstring& value) {
    // A line break, or a zero, would end the entry early.
    if (value.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring::npos) return std::nullopt;
    const std::string ansi = platform::ToAnsi(value);
    if (platform::FromAnsi(ansi) != value) return std::nullopt;  // a character the code page lacks
    const bool quoted = !value.empty() && (IsDroppedAtEnd(value.front()) || IsDroppedAtEnd(value.back()) ||
                                           (IsQuote(value.front()) && value.back() == value.front()));
    if (ansi.size() + (quoted ? 2 : 0) > kBufferSize - 1) return std::nullopt;  // the reader would cut it
    return quoted ? L'"' + value + L'"' : value;
}

}  // namespace

std::wstring IniFilePath;

std::wstring IniPathIn(std::wstring_view directory) {
    std::wstring path(directory);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path + L"Horlomat.ini";
}

// The wide-character calls reach the file by its real path, whatever characters its folder has; the file itself
// stays ANSI text, as Windows writes a new profile file in the ANSI code page.
std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) {
    wchar_t buffer[kBufferSize] = {};
    const DWORD length =
        ::GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                   std::wstring(defaultValue).c_str(), buffer, kBufferSize, IniFilePath.c_str());
    return std::wstring(buffer, length < kBufferSize ? length : kBufferSize - 1);
}

short WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    return static_cast<short>(::WritePrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                                           std::wstring(value).c_str(), IniFilePath.c_str()));
}

Settings LoadSettings() {
    Settings settings;
    for (size_t i = 0; i < settings.fields.size(); ++i) {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);  // each default takes its own reading of the clock
        const WORD parts[] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
        settings.fields[i] = ReadIniString(kSection, kFieldKeys[i], std::to_wstring(parts[i]));
    }
    settings.hold = ReadIniString(kSection, kHoldKey, kNo) == kYes;
    return settings;
}

bool StoreSettings(const Settings& settings) {
    std::array<std::wstring, 5> stored;
    for (size_t i = 0; i < stored.size(); ++i) {
        std::optional<std::wstring> form = StoredForm(settings.fields[i]);
        if (!form) return false;
        stored[i] = std::move(*form);
    }
    bool written = true;
    for (size_t i = 0; i < stored.size(); ++i) written &= WriteIniString(kSection, kFieldKeys[i], stored[i]) != 0;
    written &= WriteIniString(kSection, kHoldKey, settings.hold ? kYes : kNo) != 0;
    return written;
}

}  // namespace global
