#include "settings/global.h"

#include "platform/ansi.h"

#include <windows.h>

#include <array>

namespace global {

std::wstring IniFilePath;

std::wstring IniPathIn(std::wstring_view directory) {
    std::wstring path(directory);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path + kIniFileName;
}

std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) {
    constexpr DWORD kBufferSize = 255;
    std::array<char, kBufferSize> buffer{};
    const std::string ansiSection = platform::ToAnsi(section);
    const std::string ansiKey = platform::ToAnsi(key);
    const std::string ansiDefault = platform::ToAnsi(defaultValue);
    const std::string ansiPath = platform::ToAnsi(IniFilePath);
    const DWORD length = ::GetPrivateProfileStringA(ansiSection.c_str(), ansiKey.c_str(), ansiDefault.c_str(),
                                                    buffer.data(), kBufferSize, ansiPath.c_str());
    return platform::FromAnsi(std::string_view(buffer.data(), length < kBufferSize ? length : kBufferSize - 1));
}

short WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::string ansiSection = platform::ToAnsi(section);
    const std::string ansiKey = platform::ToAnsi(key);
    const std::string ansiValue = platform::ToAnsi(value);
    const std::string ansiPath = platform::ToAnsi(IniFilePath);
    return static_cast<short>(
        ::WritePrivateProfileStringA(ansiSection.c_str(), ansiKey.c_str(), ansiValue.c_str(), ansiPath.c_str()) != 0);
}

}  // namespace global
