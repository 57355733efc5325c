#include "settings/global.h"

#include "platform/text.h"

#include <windows.h>

#include <optional>
#include <string_view>

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

// Windows reads a profile file as UTF-16 after its byte-order mark and any other file as ANSI, so after the mark of
// UTF-8 (PowerShell 5's Set-Content -Encoding UTF8 writes one) it would find no [Zeit], and a set would add a second
// one. Such a file is turned, once and with every character kept, into UTF-16 with its mark, which Windows reads and
// writes as such. False while the file still starts with UTF-8's mark.
bool MakeReadable() {
    HANDLE file = ::CreateFileW(IniFilePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;  // none yet
    char mark[3] = {};
    DWORD got = 0;
    const bool marked = ::ReadFile(file, mark, 3, &got, nullptr) && std::string_view(mark, got) == "\xEF\xBB\xBF";
    LARGE_INTEGER size{};
    std::string rest;
    bool read = false;
    // A settings file is small; 16 MB are far more than one holds.
    if (marked && ::GetFileSizeEx(file, &size) && size.QuadPart < (1 << 24)) {
        rest.resize(static_cast<size_t>(size.QuadPart - 3));
        read = ::ReadFile(file, rest.data(), static_cast<DWORD>(rest.size()), &got, nullptr) && got == rest.size();
    }
    ::CloseHandle(file);
    if (!marked) return true;
    const int length = rest.empty() ? 0
                                    : ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, rest.data(),
                                                            static_cast<int>(rest.size()), nullptr, 0);
    if (!read || (!rest.empty() && length == 0)) return false;  // left as it is
    std::wstring text(static_cast<size_t>(length) + 1, L'\xFEFF');
    ::MultiByteToWideChar(CP_UTF8, 0, rest.data(), static_cast<int>(rest.size()), text.data() + 1, length);
    // Written to a file of a new name, which CREATE_NEW makes only where nothing (no file planted beforehand, no
    // link) is, and swapped in with ReplaceFile: the settings file keeps its own security, owner and streams, and a
    // failure leaves it as it was.
    HANDLE out = INVALID_HANDLE_VALUE;
    std::wstring written;
    for (ULONGLONG attempt = 0; out == INVALID_HANDLE_VALUE && attempt < 8; ++attempt) {
        written = IniFilePath + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(::GetTickCount64() + attempt) + L".neu";
        out = ::CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    }
    if (out == INVALID_HANDLE_VALUE) return false;
    const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const bool complete =
        ::WriteFile(out, text.data(), bytes, &got, nullptr) && got == bytes && ::FlushFileBuffers(out);
    ::CloseHandle(out);
    if (complete &&
        ::ReplaceFileW(IniFilePath.c_str(), written.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)) {
        return true;
    }
    ::DeleteFileW(written.c_str());
    return false;
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
// Without a path there is no settings file (a test run keeps none): nothing is read, and writing succeeds at nothing.
// An empty path would be taken for win.ini.
std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) {
    if (IniFilePath.empty()) return std::wstring(defaultValue);
    wchar_t buffer[kBufferSize] = {};
    const DWORD length =
        ::GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                   std::wstring(defaultValue).c_str(), buffer, kBufferSize, IniFilePath.c_str());
    return std::wstring(buffer, length < kBufferSize ? length : kBufferSize - 1);
}

short WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    if (IniFilePath.empty()) return 1;
    return static_cast<short>(::WritePrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                                           std::wstring(value).c_str(), IniFilePath.c_str()));
}

Settings LoadSettings() {
    MakeReadable();
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

void StoreNoHold() {
    if (MakeReadable() && ReadIniString(kSection, kHoldKey, kNo) == kYes) WriteIniString(kSection, kHoldKey, kNo);
}

bool StoreSettings(const Settings& settings) {
    if (!MakeReadable()) return false;
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
