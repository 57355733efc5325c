// A window's controls built from a table in twips (1/1440 inch), as the forms
// are designed, converted to pixels at the window's DPI in one place, and laid
// out again with a new font when the window moves to a screen of another DPI.
#pragma once

#include "platform/handles.h"

#include <windows.h>

#include <span>

namespace form {

enum class Kind { Button, DefaultButton, CheckBox, Frame, Field, Label, WrappingLabel, Link };

struct Row {
    int id;
    Kind kind;
    const wchar_t* text;
    int left, top, width, height;  // twips in the client area
    int maxLength = 0;             // fields only
};

// The window's client area and its controls, in creation order: the order of the Tab key and of the z-order.
struct Layout {
    int width, height;
    std::span<const Row> rows;
};

inline constexpr int ToPixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

class Form {
public:
    explicit Form(const Layout& layout) : layout_(layout) {}

    // Creates the controls at the window's DPI and gives the window its client size.
    void Create(HWND window, HINSTANCE instance);
    // The window's size for the layout's client area at `dpi`, its menu bar on one line; the answer to
    // WM_GETDPISCALEDSIZE, which spares a per-monitor window the system's guess and a second resize.
    SIZE WindowSize(int dpi) const;
    // WM_DPICHANGED: moves the window to the suggested place at its size for the new DPI, and lays everything out
    // again.
    void DpiChanged(WPARAM wParam, LPARAM lParam);

    int Dpi() const { return dpi_; }
    int Pixels(int twips) const { return ToPixels(twips, dpi_); }

private:
    RECT PixelRect(const Row& row) const;
    // Gives a control its font, after moving it to its place when `moved`.
    void Place(HWND control, const Row& row, bool moved) const;

    Layout layout_;
    HWND window_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    platform::UniqueFont font_;
};

}  // namespace form
