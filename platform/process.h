// This program's folder, the system folder, starting other programs, and
// talking to the one that started this.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace platform {

// The executable's full path, and the folder that holds it, as Windows reports
// it: the folder ends in a backslash only for the root folder of a drive.
std::wstring ExePath();
std::wstring FolderOf(std::wstring path);
inline std::wstring AppDirectory() {
    return FolderOf(ExePath());
}

// A file or folder as the file system knows it: the same whatever path names it
// (short name, another drive letter, a share, a junction). The 128-bit ID, as
// ReFS's file index alone is not unique; the 64-bit index where a file system
// gives no 128-bit one.
struct FileId {
    ULONGLONG volume = 0;
    std::array<BYTE, 16> id{};
    bool operator==(const FileId&) const = default;
    std::wstring Text() const;  // for names of kernel objects
};
std::optional<FileId> IdentityOf(const std::wstring& path);

// The full path of the program `process` runs; empty when it cannot be read.
std::wstring ImageOf(HANDLE process);

// True only when the process's token is known to lack the right to set the clock.
bool LacksClockRight(HANDLE process);

// The Windows system folder (normally C:\Windows\System32), without a
// trailing backslash.
std::wstring SystemDirectory();

// Starts a program in a normal window that takes the focus and does not wait
// for it. `application` may be empty, in which case the first token of
// `commandLine` names the program. Returns 0 or the Windows error code.
DWORD StartProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& workingDirectory = {});

// Writes `text` to the standard output (or `stream`), a pipe or file in the
// console's code page, or to the console of the program that started this one.
// False when there is neither.
bool WriteToCaller(const std::wstring& text, DWORD stream = STD_OUTPUT_HANDLE);

// True where Explorer started this process: a shortcut, a double click, the Start menu or Run, so a person is there.
// A script's start, a task's or a service's is not, and nothing it shows may wait for someone.
bool StartedByExplorer();

}  // namespace platform
