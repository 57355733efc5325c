// A test run: Horlomat.exe DATE [/laufend | /halten] -- PROGRAM [ARGUMENTS]. Every hold on the machine ends, the
// clock is set to DATE and held while PROGRAM runs, then the true time is put back, whatever PROGRAM did. No window,
// no box, no settings file; Horlomat's own lines go to the standard error.
#pragma once

#include "app/commandline.h"

#include <windows.h>

#include <string>

namespace run {

// PROGRAM's exit code, or 125 where Horlomat failed before it ran (or could not put the true time back after it
// succeeded), 126 where it could not be run, 127 where it was not found.
int Run(HINSTANCE instance, cmdline::Request request, const std::wstring& program);

}  // namespace run
