#include "settings/global.h"

#include "platform/ansi.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace global {
namespace {

constexpr DWORD kBufferSize = 255;

// GetPrivateProfileString trims these from both ends of a value.
bool IsDroppedAtEnd(wchar_t c) {
    WORD type = 0;
    ::GetStringTypeW(CT_CTYPE1, &c, 1, &type);
    return (type & (C1_SPACE | C1_CNTRL | C1_BLANK)) != 0;
}

bool IsQuote(wchar_t c) {
    return c == L'"' || c == L'\'';
}

// The bytes that go into the file for `value`; nothing when the file cannot
// give the value back as it is.
std::optional<std::string> StoredForm(std::wstring_view value) {
    // A line break, or a zero, would end the entry early.
    if (value.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos) return std::nullopt;
    std::string stored = platform::ToAnsi(value);
    if (platform::FromAnsi(stored) != value) return std::nullopt;  // a character the code page lacks
    if (!value.empty() &&
        (IsDroppedAtEnd(value.front()) || IsDroppedAtEnd(value.back()) ||
         (IsQuote(value.front()) && value.back() == value.front()))) {
        stored = '"' + stored + '"';
    }
    if (stored.size() > kBufferSize - 1) return std::nullopt;  // the reader would cut it
    return stored;
}

}  // namespace

std::wstring IniFilePath;

std::wstring IniPathIn(std::wstring_view directory) {
    std::wstring path(directory);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path + kIniFileName;
}

std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) {
    std::array<char, kBufferSize> buffer{};
    const std::string ansiSection = platform::ToAnsi(section);
    const std::string ansiKey = platform::ToAnsi(key);
    const std::string ansiDefault = platform::ToAnsi(defaultValue);
    const std::string ansiPath = platform::ToAnsi(IniFilePath);
    const DWORD length = ::GetPrivateProfileStringA(ansiSection.c_str(), ansiKey.c_str(), ansiDefault.c_str(),
                                                    buffer.data(), kBufferSize, ansiPath.c_str());
    return platform::FromAnsi(std::string_view(buffer.data(), length < kBufferSize ? length : kBufferSize - 1));
}

bool CanStore(std::wstring_view value) {
    return StoredForm(value).has_value();
}

short WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::optional<std::string> ansiValue = StoredForm(value);
    if (!ansiValue) return 0;
    const std::string ansiSection = platform::ToAnsi(section);
    const std::string ansiKey = platform::ToAnsi(key);
    const std::string ansiPath = platform::ToAnsi(IniFilePath);
    return static_cast<short>(
        ::WritePrivateProfileStringA(ansiSection.c_str(), ansiKey.c_str(), ansiValue->c_str(), ansiPath.c_str()) != 0);
}

}  // namespace global
