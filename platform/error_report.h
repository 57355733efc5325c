// How the user learns that something he asked for could not be done. The
// program always keeps running afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Shows `what` in a warning box owned by `owner`, followed by the system's
// description of `errorCode` when one is given. While such a box is open, a
// further report is dropped, so a failure that repeats (for example once a
// minute from the timer) never stacks boxes.
void ReportFailure(HWND owner, const std::wstring& what, DWORD errorCode = 0);

// True while a failure box is open.
bool IsFailureReportOpen();

}  // namespace platform
