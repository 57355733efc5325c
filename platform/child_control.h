// Creating a form's controls from its layout table.
#pragma once

#include <windows.h>

namespace platform {

// What kind of window a control is.
struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// A child of `parent` with the dialog item id `id`, at `pixels` in its client area.
inline HWND CreateControl(HWND parent, HINSTANCE instance, int id, const ControlClass& cls, const wchar_t* text,
                          const RECT& pixels) {
    return ::CreateWindowExW(cls.exStyle, cls.className, text, cls.style, pixels.left, pixels.top,
                             pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace platform
