#include "about/sysinfo.h"

#include "assets/texts.h"
#include "platform/handles.h"
#include "platform/process.h"
#include "platform/text.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <optional>
#include <string_view>

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
        const DWORD needed =
            ::ExpandEnvironmentStringsW(text.c_str(), result.data(), static_cast<DWORD>(result.size()));
        if (needed == 0) return std::nullopt;
        if (needed <= result.size()) {
            result.resize(needed - 1);  // the count includes the terminating zero
            return result;
        }
        result.resize(needed);
    }
}

std::wstring Quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

// Where the first ".exe" (any case) that ends a word ends, or npos.
size_t EndOfExeName(std::wstring_view text) {
    constexpr std::wstring_view kExe = L".exe";
    for (size_t at = 0; at + kExe.size() <= text.size(); ++at) {
        bool match = true;
        for (size_t i = 0; i < kExe.size() && match; ++i) match = std::towlower(text[at + i]) == kExe[i];
        const size_t end = at + kExe.size();
        if (match && (end == text.size() || text[end] == L' ' || text[end] == L'\t')) return end;
    }
    return std::wstring_view::npos;
}

// What CreateProcess is given for the text found in the registry, so that an
// unquoted path with blanks can never start a program planted at a shorter
// prefix of it (C:\Program.exe for C:\Program Files\...). The rules, in order:
//  1. The whole text names an existing file: exactly that file is started.
//  2. The text begins with a quote: it already is a proper command line.
//  3. The text holds ".exe" followed by a blank or the end: the part up to and
//     including the first such ".exe" is the program, quoted; the rest are
//     its arguments.
//  4. Otherwise the whole text, quoted, is the program, never split at blanks.
// No command for an empty text.
struct ToolCommand {
    std::wstring application;  // empty: the command line's quoted first token names the program
    std::wstring commandLine;
};

std::optional<ToolCommand> ToolCommandFor(const std::wstring& text) {
    if (text.empty()) return std::nullopt;
    if (IsFile(text)) return ToolCommand{text, Quoted(text)};
    if (text.front() == L'"') return ToolCommand{L"", text};
    const size_t end = EndOfExeName(text);
    if (end == std::wstring::npos) return ToolCommand{L"", Quoted(text)};
    const std::wstring_view view(text);
    return ToolCommand{L"", Quoted(view.substr(0, end)) + std::wstring(view.substr(end))};
}

}  // namespace

void StartSysInfo(HWND owner) {
    std::wstring ToolPath;
    // The first value names the tool itself, the second only its folder. An
    // empty folder names none: it would send the search to the root of the
    // current drive.
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, kToolKey, kToolValue, ToolPath)) {
        if (!GetKeyValue(HKEY_LOCAL_MACHINE, kFolderKey, kFolderValue, ToolPath) || ToolPath.empty() ||
            !IsOrdinaryFile(ToolPath + kToolFile)) {
            ToolPath.clear();
        } else {
            ToolPath += kToolFile;
        }
    }
    const std::optional<ToolCommand> command = ToolCommandFor(ToolPath);
    if (!command || platform::StartProcess(command->application, command->commandLine) != 0) {
        ::MessageBoxW(owner, texts::kSysInfoUnavailable, texts::kAppTitle, MB_OK);
    }
}

bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef, std::wstring& KeyVal) {
    platform::UniqueRegKey key;
    // Reading is all a lookup needs; asking for write rights as well would
    // have the key refused to a standard user.
    if (::RegOpenKeyExA(KeyRoot, platform::ToAnsi(KeyName).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    char buffer[kValueBufferSize] = {};
    DWORD size = kValueBufferSize;
    DWORD type = REG_NONE;
    // A value longer than the buffer is refused here with ERROR_MORE_DATA.
    if (::RegQueryValueExA(key.get(), platform::ToAnsi(SubKeyRef).c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_DWORD) return true;
    std::string_view bytes(buffer, std::min(size, kValueBufferSize));
    if (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    std::optional<std::wstring> text;
    if (type != REG_DWORD) {
        text = platform::FromAnsi(bytes);
        if (type == REG_EXPAND_SZ) text = Expanded(*text);
    } else if (bytes.size() <= sizeof(std::uint32_t)) {
        std::uint32_t number = 0;
        for (size_t i = bytes.size(); i-- > 0;) number = (number << 8) | static_cast<unsigned char>(bytes[i]);
        text = bytes.empty() ? L"" : std::to_wstring(number);
    }
    KeyVal = text.value_or(L"");
    return text.has_value();
}

}  // namespace about
