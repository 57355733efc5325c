// The program's message boxes, seen from outside.
#pragma once

#include "tests/ui/harness.h"

#include <vector>

namespace ui {

// Visible message boxes (and other dialogs) of the program.
inline std::vector<HWND> Boxes(const App& app) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{app.ProcessId(), {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            if (pid == s->pid && ::IsWindowVisible(window) && ClassName(window) == L"#32770") {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::wstring BoxText(HWND box) {
    return WindowText(::GetDlgItem(box, 0xFFFF));  // a message box's text control
}

// Presses OK and waits until no box is left.
inline bool CloseBox(const App& app, HWND box) {
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return WaitFor([&] { return Boxes(app).empty(); }, 5000);
}

}  // namespace ui
