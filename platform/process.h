// This program's folder, the system folder, starting other programs, and
// talking to the one that started this.
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

// Writes `text` to the standard output, a pipe or file in the console's code
// page, or to the console of the program that started this one. False when
// there is neither.
bool WriteToCaller(const std::wstring& text);

// False in a window station no one sees, such as a task's with no one logged on.
bool OnVisibleDesktop();

}  // namespace platform
