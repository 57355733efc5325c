#include "platform/dpi.h"

namespace platform {

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT WINAPI(HWND);
    static auto* const getDpiForWindow = reinterpret_cast<GetDpiForWindowFn*>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void FitClientArea(HWND window, int width, int height) {
    // Two rounds: a menu bar may wrap differently once the width is right.
    for (int round = 0; round < 2; ++round) {
        RECT client{};
        RECT frame{};
        ::GetClientRect(window, &client);
        ::GetWindowRect(window, &frame);
        const int dx = width - (client.right - client.left);
        const int dy = height - (client.bottom - client.top);
        if (dx == 0 && dy == 0) return;
        ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace platform
