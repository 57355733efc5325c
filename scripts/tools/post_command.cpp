// Presses a menu item of a running program, or Tab in one of its windows, from outside, for screenshots:
//   post_command.exe "<window title>" <command id>|tab
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args || count != 3) return 2;
    HWND window = nullptr;
    for (int tries = 0; tries < 100 && !window; ++tries) {
        window = ::FindWindowW(nullptr, args[1]);
        if (!window) ::Sleep(100);
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    bool posted = false;
    if (window && std::wcscmp(args[2], L"tab") == 0) {
        posted = ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus &&
                 ::PostMessageW(thread.hwndFocus, WM_KEYDOWN, VK_TAB, 1) &&
                 ::PostMessageW(thread.hwndFocus, WM_KEYUP, VK_TAB, 0xC0000001);
    } else if (window) {
        const auto id = static_cast<WORD>(std::wcstoul(args[2], nullptr, 10));
        posted = ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    ::LocalFree(args);
    return posted ? 0 : 1;
}
