#include "platform/form.h"

namespace form {
namespace {

struct Class {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle = 0;
};

// Labels and the frame start a group of their own, so the arrow keys never
// move the focus onto something that cannot show it.
Class ClassOf(Kind kind) {
    switch (kind) {
        case Kind::Button:
            return {L"BUTTON", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON};
        case Kind::DefaultButton:
            return {L"BUTTON", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON};
        case Kind::CheckBox:
            return {L"BUTTON", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX};
        case Kind::Frame:
            return {L"BUTTON", WS_GROUP | BS_GROUPBOX};
        case Kind::Field:
            return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case Kind::Label:
            return {L"STATIC", WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX};
        case Kind::WrappingLabel:
            return {L"STATIC", WS_GROUP | SS_LEFT | SS_NOPREFIX};
        case Kind::Link:
            // A button, so that it takes the focus and Space presses it; its
            // owner paints it, and its text is the name a screen reader says.
            return {L"BUTTON", WS_TABSTOP | WS_GROUP | BS_OWNERDRAW, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0};
}

// The platform's dialog font, "MS Shell Dlg 2" at 8 points, for this DPI.
platform::UniqueFont DialogFont(int dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(8, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    ::lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    return platform::UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace

void Form::Create(HWND window, HINSTANCE instance) {
    window_ = window;
    dpi_ = static_cast<int>(::GetDpiForWindow(window));
    font_ = DialogFont(dpi_);
    // Each control is born at its place, with its font, before anything is drawn.
    for (const Row& row : layout_.rows) {
        const Class c = ClassOf(row.kind);
        const RECT r = PixelRect(row);
        HWND control = ::CreateWindowExW(c.exStyle, c.name, row.text, WS_CHILD | WS_VISIBLE | c.style, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (!control) continue;
        if (row.maxLength > 0) ::SendMessageW(control, EM_LIMITTEXT, row.maxLength, 0);
        // The frame goes beneath the controls it holds, so it never paints over them.
        if (row.kind == Kind::Frame) {
            ::SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        Place(control, row, false);
    }
    const SIZE size = WindowSize(dpi_);
    ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Form::WindowSize(int dpi) const {
    RECT r{0, 0, ToPixels(layout_.width, dpi), ToPixels(layout_.height, dpi)};
    ::AdjustWindowRectExForDpi(&r, static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE)),
                               ::GetMenu(window_) != nullptr,
                               static_cast<DWORD>(::GetWindowLongW(window_, GWL_EXSTYLE)), static_cast<UINT>(dpi));
    return {r.right - r.left, r.bottom - r.top};
}

void Form::DpiChanged(WPARAM wParam, LPARAM lParam) {
    dpi_ = HIWORD(wParam);
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    const SIZE size = WindowSize(dpi_);
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    platform::UniqueFont old = std::move(font_);
    font_ = DialogFont(dpi_);
    for (const Row& row : layout_.rows) {
        if (HWND control = ::GetDlgItem(window_, row.id)) Place(control, row, true);
    }
    // The controls now use the new font; only now may the old one go (with `old`).
    ::InvalidateRect(window_, nullptr, TRUE);
}

RECT Form::PixelRect(const Row& row) const {
    return {Pixels(row.left), Pixels(row.top), Pixels(row.left + row.width), Pixels(row.top + row.height)};
}

void Form::Place(HWND control, const Row& row, bool moved) const {
    if (moved) {
        const RECT r = PixelRect(row);
        ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), moved);
    if (row.kind == Kind::Field) {
        // Narrow margins, so four digits fit the 33-pixel year field.
        const WORD margin = static_cast<WORD>(::MulDiv(1, dpi_, USER_DEFAULT_SCREEN_DPI));
        ::SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(margin, margin));
    }
}

}  // namespace form
