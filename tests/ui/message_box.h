// The program's message boxes, seen from outside.
#pragma once

#include "tests/ui/about_helpers.h"

namespace ui {

// Visible message boxes (and other dialogs) of the program.
inline std::vector<HWND> Boxes(const App& app) {
    return WindowsOf(app, L"");
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
