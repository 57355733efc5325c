// Presses a menu item of a running program from outside, for screenshots:
//   post_command.exe "<window title>" <command id>
#include <windows.h>

#include <cwchar>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args || count != 3) return 2;
    HWND window = nullptr;
    for (int tries = 0; tries < 100 && !window; ++tries) {
        window = ::FindWindowW(nullptr, args[1]);
        if (!window) ::Sleep(100);
    }
    const auto id = static_cast<WORD>(std::wcstoul(args[2], nullptr, 10));
    const bool posted = window && ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    ::LocalFree(args);
    return posted ? 0 : 1;
}
