// Per-monitor DPI, with fallbacks for systems older than Windows 10 1607.
#pragma once

#include <windows.h>

namespace platform {

int WindowDpi(HWND window);

// Resizes the window so that its client area is exactly width x height
// pixels, whatever the frame, the menu bar and the theme take.
void FitClientArea(HWND window, int width, int height);

}  // namespace platform
