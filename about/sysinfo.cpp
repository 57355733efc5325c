#include "about/sysinfo.h"

#include "about/about_texts.h"
#include "about/registry_value.h"
#include "about/tool_command.h"
#include "platform/ansi.h"
#include "platform/app_info.h"
#include "platform/process.h"
#include "platform/unique_handle.h"

#include <algorithm>
#include <array>
#include <optional>

namespace about {
namespace {

constexpr wchar_t kToolKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kToolValue[] = L"PATH";
constexpr wchar_t kFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kFolderValue[] = L"MSINFO";
constexpr wchar_t kToolFile[] = L"\\MSINFO32.EXE";

constexpr DWORD kValueBufferSize = 1024;

DWORD Attributes(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str());
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Hidden and system files do not count: the tool is an ordinary file.
bool IsOrdinaryFile(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    constexpr DWORD kExcluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & kExcluded);
}

// The text with its %VARIABLES% replaced; nullopt when that fails.
std::optional<std::wstring> Expanded(const std::wstring& text) {
    std::wstring result(text.size() + 1, L'\0');
    for (;;) {
        const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), result.data(), static_cast<DWORD>(result.size()));
        if (needed == 0) return std::nullopt;
        if (needed <= result.size()) {
            result.resize(needed - 1);  // the count includes the terminating zero
            return result;
        }
        result.resize(needed);
    }
}

bool StartTool(const std::wstring& ToolPath) {
    const std::optional<ToolCommand> command = ToolCommandFor(ToolPath, IsFile);
    return command && platform::StartProcess(command->application, command->commandLine) == 0;
}

void ShowUnavailable(HWND owner) {
    ::MessageBoxW(owner, texts::kSysInfoUnavailable, platform::kAppTitle, MB_OK);
}

}  // namespace

void StartSysInfo(HWND owner) {
    std::wstring ToolPath;
    // The first value names the tool itself, the second only its folder.
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, kToolKey, kToolValue, ToolPath)) {
        if (!GetKeyValue(HKEY_LOCAL_MACHINE, kFolderKey, kFolderValue, ToolPath) ||
            !IsOrdinaryFile(ToolPath + kToolFile)) {
            ShowUnavailable(owner);
            return;
        }
        ToolPath += kToolFile;
    }
    if (!StartTool(ToolPath)) ShowUnavailable(owner);
}

bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef, std::wstring& KeyVal) {
    platform::UniqueRegKey key;
    // Reading is all a lookup needs; asking for write rights as well would
    // have the key refused to a standard user.
    if (::RegOpenKeyExA(KeyRoot, platform::ToAnsi(KeyName).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    std::array<char, kValueBufferSize> buffer{};
    DWORD size = kValueBufferSize;
    DWORD type = REG_NONE;
    // A value longer than the buffer is refused here with ERROR_MORE_DATA.
    if (::RegQueryValueExA(key.get(), platform::ToAnsi(SubKeyRef).c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    RegistryText value = DecodeRegistryValue(type, std::string_view(buffer.data(), std::min(size, kValueBufferSize)));
    switch (value.kind) {
        case RegistryText::Kind::Text:
            KeyVal = std::move(value.text);
            return true;
        case RegistryText::Kind::Expandable:
            if (std::optional<std::wstring> expanded = Expanded(value.text)) {
                KeyVal = std::move(*expanded);
                return true;
            }
            KeyVal.clear();
            return false;
        case RegistryText::Kind::Unconverted:
            return true;
        case RegistryText::Kind::Malformed:
            break;
    }
    KeyVal.clear();
    return false;
}

}  // namespace about
