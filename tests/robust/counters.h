// What a process holds, counted from outside in ways that work under Wine,
// where GetGuiResources and GetProcessHandleCount always give 0:
//  - GDI objects: the used entries of the GDI handle table that the process's
//    PEB points to (Wine keeps one table per process and leaves the owner
//    field 0; Windows shares the table and fills the owner in);
//  - kernel handles: the system's handle list, filtered by process id;
//  - windows: top-level, child and message-only windows of the process;
//  - memory: the working set (under Wine the VmRSS of the Linux process) and
//    the private bytes (PagefileUsage; the virtual size stays put under Wine,
//    which reserves its address space up front).
// A count that could not be taken is -1.
#pragma once

#include <windows.h>

#include <string>

namespace robust {

struct Resources {
    long long gdiObjects = -1;
    long long kernelHandles = -1;
    long long windows = -1;
    long long workingSetKb = -1;
    long long privateKb = -1;
};

Resources Measure(DWORD processId);

// "gdi +0, handles +0, windows +0, working set +12 KB, private +0 KB".
std::string Deltas(const Resources& before, const Resources& after);

// Fails the running test unless what the process holds stood still from
// `before` over `middle` to `after`, the middle of a run and its end, and
// returns Deltas(before, after). Handles and windows must not move at all.
// GDI objects may step up once, by a few: Wine keeps a cache of window DCs
// (a DC, its region and its bitmap each) that grows to the deepest nesting of
// painting it has met, which depends on where the windows happen to overlap.
// A leak grows in both halves; such a step shows in one. Memory may grow by
// `memorySlackKb`, as the heap settles in steps of its own.
std::string ExpectFlat(const Resources& before, const Resources& middle, const Resources& after,
                       long long memorySlackKb);

}  // namespace robust
