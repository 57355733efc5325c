#include "platform/process.h"

#include "platform/handles.h"
#include "platform/text.h"

#include <tlhelp32.h>

#include <cstring>

namespace platform {

std::wstring ExePath() {
    // Grow the buffer until the path is not cut off: long paths exceed MAX_PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

std::wstring FolderOf(std::wstring path) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return {};
    // Keep the backslash of a drive's root ("C:\"), drop it elsewhere.
    const bool isRoot = slash == 2 && path[1] == L':';
    path.resize(isRoot ? slash + 1 : slash);
    return path;
}

std::optional<FileId> IdentityOf(const std::wstring& path) {
    // No access asked for, only the attributes; a folder opens only with backup semantics.
    HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<FileId> identity(std::in_place);
    FILE_ID_INFO info{};
    BY_HANDLE_FILE_INFORMATION old{};
    if (::GetFileInformationByHandleEx(file, FileIdInfo, &info, sizeof(info))) {
        identity->volume = info.VolumeSerialNumber;
        std::memcpy(identity->id.data(), info.FileId.Identifier, identity->id.size());
    } else if (::GetFileInformationByHandle(file, &old)) {
        identity->volume = old.dwVolumeSerialNumber;
        const ULONGLONG index = (ULONGLONG{old.nFileIndexHigh} << 32) | old.nFileIndexLow;
        std::memcpy(identity->id.data(), &index, sizeof(index));
    } else {
        identity.reset();
    }
    ::CloseHandle(file);
    return identity;
}

std::wstring FileId::Text() const {
    std::wstring text = std::to_wstring(volume) + L"-";
    for (BYTE b : id) text += {L"0123456789abcdef"[b >> 4], L"0123456789abcdef"[b & 15]};
    return text;
}

std::wstring ImageOf(HANDLE process) {
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process, 0, path.data(), &length)) return {};
    return path.substr(0, length);
}

bool LacksClockRight(HANDLE process) {
    HANDLE token = nullptr;
    LUID right{};
    if (!::LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &right) ||
        !::OpenProcessToken(process, TOKEN_QUERY, &token)) {
        return false;
    }
    alignas(TOKEN_PRIVILEGES) BYTE buffer[4096];
    DWORD size = 0;
    const bool read = ::GetTokenInformation(token, TokenPrivileges, buffer, sizeof(buffer), &size);
    ::CloseHandle(token);
    if (!read) return false;
    const auto& privileges = *reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
    for (DWORD i = 0; i < privileges.PrivilegeCount; ++i) {
        const LUID& luid = privileges.Privileges[i].Luid;
        if (luid.LowPart == right.LowPart && luid.HighPart == right.HighPart) return false;
    }
    return true;
}

std::wstring SystemDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(::GetSystemDirectoryW(path.data(), MAX_PATH));  // 0 on failure, never more than MAX_PATH there
    if (path.size() >= MAX_PATH) return {};
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

DWORD StartProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& workingDirectory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring mutableCommandLine = commandLine;
    if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(), mutableCommandLine.data(), nullptr,
                          nullptr, FALSE, 0, nullptr, workingDirectory.empty() ? nullptr : workingDirectory.c_str(),
                          &startup, &info)) {
        const DWORD error = ::GetLastError();
        return error != 0 ? error : ERROR_GEN_FAILURE;
    }
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
    return 0;
}

bool WriteToCaller(const std::wstring& text, DWORD stream) {
    std::wstring lines = text;  // with CR LF, as Windows programs write them
    for (size_t at = 0; (at = lines.find(L'\n', at)) != lines.npos; at += 2) lines.insert(at, 1, L'\r');
    const auto length = static_cast<DWORD>(lines.size());
    DWORD mode = 0, written = 0;
    HANDLE out = ::GetStdHandle(stream);
    if (out && out != INVALID_HANDLE_VALUE) {
        if (::GetConsoleMode(out, &mode)) return ::WriteConsoleW(out, lines.data(), length, &written, nullptr);
        // cmd and PowerShell read a program's output in the console's code page, the OEM one by default.
        const UINT console = ::GetConsoleOutputCP();
        const std::string bytes = ToAnsi(lines, console ? console : ::GetOEMCP());
        if (::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return true;
    }
    // A program with windows gets no console of its own; a command prompt's is there to borrow.
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    const bool told =
        console != INVALID_HANDLE_VALUE && ::WriteConsoleW(console, lines.data(), length, &written, nullptr);
    if (console != INVALID_HANDLE_VALUE) ::CloseHandle(console);
    ::FreeConsole();
    return told;
}

bool StartedByExplorer() {
    HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE) return false;
    const UniqueKernelHandle snapshot(taken);
    DWORD self = ::GetCurrentProcessId(), parent = 0;
    for (int pass = 0; pass < 2; ++pass) {  // our parent's number first, then its name
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
             more = ::Process32NextW(snapshot.get(), &entry)) {
            if (pass == 0 && entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
            if (pass == 1 && entry.th32ProcessID == parent) return ::lstrcmpiW(entry.szExeFile, L"explorer.exe") == 0;
        }
    }
    return false;
}

}  // namespace platform
