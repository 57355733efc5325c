// This program's folder, the system folder, and starting other programs.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The folder that holds the executable, as Windows reports it: it ends in a
// backslash only for the root folder of a drive.
std::wstring AppDirectory();

// The Windows system folder (normally C:\Windows\System32), without a
// trailing backslash.
std::wstring SystemDirectory();

// Starts a program in a normal window that takes the focus and does not wait
// for it. `application` may be empty, in which case the first token of
// `commandLine` names the program. Returns 0 or the Windows error code.
DWORD StartProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& workingDirectory = {});

}  // namespace platform
