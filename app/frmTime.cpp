#include "app/frmTime.h"

#include "app/control_ids.h"
#include "app/layout.h"
#include "app/texts.h"
#include "assets/resource_ids.h"
#include "platform/child_control.h"
#include "platform/dialog_font.h"
#include "platform/dpi.h"
#include "platform/window_text.h"

#include <windowsx.h>

namespace {

constexpr wchar_t kClassName[] = L"HorlomatFrmTime";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HICON LoadAppIcon(HINSTANCE instance, int metricX, int metricY) {
    // Shared icons belong to the system's cache and are never destroyed here.
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_HORLOMAT), IMAGE_ICON,
                                           ::GetSystemMetrics(metricX), ::GetSystemMetrics(metricY), LR_SHARED));
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadAppIcon(instance, SM_CXICON, SM_CYICON);
    wc.hIconSm = LoadAppIcon(instance, SM_CXSMICON, SM_CYSMICON);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HMENU CreateMainMenu() {
    HMENU bar = ::CreateMenu();
    HMENU datei = ::CreatePopupMenu();
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(datei, MF_STRING, ids::kMenuEnde, texts::kMenuBeenden);
    ::AppendMenuW(help, MF_STRING, ids::kMenuAbout, texts::kMenuAbout);
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(datei), texts::kMenuDatei);
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), texts::kMenuHelp);
    return bar;
}

platform::ControlClass ClassFor(layout::Kind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case layout::Kind::PushButton:
            return {L"BUTTON", child | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0};
        case layout::Kind::CheckBox:
            return {L"BUTTON", child | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0};
        case layout::Kind::Frame:
            return {L"BUTTON", child | BS_GROUPBOX, 0};
        case layout::Kind::Field:
            return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case layout::Kind::WrappingLabel:
            return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
        case layout::Kind::Label:
            return {L"STATIC", child | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    }
    return {L"STATIC", child, 0};
}

}  // namespace

HWND FrmTime::Create(HINSTANCE instance) {
    instance_ = instance;
    if (!RegisterWindowClass(instance, WindowProc)) return nullptr;
    // Born at its size for the system DPI; WM_CREATE corrects it for the
    // monitor's DPI and for a menu bar that wraps.
    const int dpi = platform::WindowDpi(nullptr);
    RECT frame{0, 0, layout::ToPixels(layout::kClientWidth, dpi), layout::ToPixels(layout::kClientHeight, dpi)};
    ::AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    return ::CreateWindowExW(0, kClassName, texts::kWindowTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, CreateMainMenu(), instance,
                             this);
}

void FrmTime::Show(int showCommand) {
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    ::SetFocus(Control(ids::kZeitSetzen));
}

bool FrmTime::PreTranslateMessage(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) return false;
    // No default and no cancel button: Enter and Esc press nothing here.
    const bool enterOrEscape = msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE;
    if (enterOrEscape && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)) return true;
    if (msg.message == WM_CHAR && (msg.wParam == L'\r' || msg.wParam == 0x1B)) return true;
    return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
}

LRESULT CALLBACK FrmTime::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FrmTime*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FrmTime*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FrmTime::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            dpi_ = platform::WindowDpi(hwnd_);
            ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
                           reinterpret_cast<LPARAM>(LoadAppIcon(instance_, SM_CXICON, SM_CYICON)));
            ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                           reinterpret_cast<LPARAM>(LoadAppIcon(instance_, SM_CXSMICON, SM_CYSMICON)));
            CreateControls();
            platform::FitClientArea(hwnd_, layout::ToPixels(layout::kClientWidth, dpi_),
                                    layout::ToPixels(layout::kClientHeight, dpi_));
            ::SetTimer(hwnd_, ids::kTimer1, 60000, nullptr);
            Form_Load();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == ids::kTimer1) Timer1_Timer();
            return 0;
        case WM_ACTIVATE:
            // Give the focus back to the control that had it when the user
            // switched away.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = ::GetFocus();
            } else if (lastFocus_ && ::IsChild(hwnd_, lastFocus_)) {
                ::SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            ::KillTimer(hwnd_, ids::kTimer1);
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FrmTime::CreateControls() {
    // Each control is born at its place, with its font, before anything is
    // drawn: no second pass over them at start.
    font_ = platform::CreateDialogFont(dpi_);
    for (const layout::Control& c : layout::kControls) {
        HWND control =
            platform::CreateControl(hwnd_, instance_, c.id, ClassFor(c.kind), c.text, layout::PixelRect(c, dpi_));
        if (!control) continue;
        SetControlFont(c, control, font_.get(), false);
        if (c.maxLength > 0) ::SendMessageW(control, EM_LIMITTEXT, c.maxLength, 0);
        // The frame goes beneath the controls it holds, so it never paints
        // over them; it takes no focus, so the Tab order stays as created.
        if (c.kind == layout::Kind::Frame) {
            ::SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void FrmTime::ApplyLayout() {
    platform::UniqueFont font = platform::CreateDialogFont(dpi_);

    for (const layout::Control& c : layout::kControls) {
        HWND control = Control(c.id);
        if (!control) continue;
        const RECT r = layout::PixelRect(c, dpi_);
        ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        SetControlFont(c, control, font.get(), true);
    }
    // The controls now use the new font; only then may the old one go.
    font_ = std::move(font);
    platform::FitClientArea(hwnd_, layout::ToPixels(layout::kClientWidth, dpi_),
                            layout::ToPixels(layout::kClientHeight, dpi_));
}

void FrmTime::SetControlFont(const layout::Control& c, HWND control, HFONT font, bool redraw) const {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    if (c.kind == layout::Kind::Field) {
        // Narrow margins, so four digits fit the 33-pixel year field.
        const WORD margin = static_cast<WORD>(::MulDiv(1, dpi_, USER_DEFAULT_SCREEN_DPI));
        ::SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(margin, margin));
    }
}

void FrmTime::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyLayout();
}

void FrmTime::OnCommand(int id, int notification) {
    const bool clicked = notification == BN_CLICKED;  // also 0 for menu items
    switch (id) {
        case ids::kZeitSetzen:
            if (clicked) cmdZeitSetzen_Click();
            break;
        case ids::kZeitDialog:
            if (clicked) cmdZeitDialog_Click();
            break;
        case ids::kMenuEnde:
            mnuEnde_Click();
            break;
        case ids::kMenuAbout:
            mnuAbout_Click();
            break;
        default:
            break;
    }
}

std::wstring FrmTime::FieldText(int index) const {
    return platform::WindowText(Control(ids::kTxtZeit + index));
}

void FrmTime::SetFieldText(int index, const std::wstring& text) {
    ::SetWindowTextW(Control(ids::kTxtZeit + index), text.c_str());
}

bool FrmTime::IsHoldChecked() const {
    return ::SendMessageW(Control(ids::kRegel), BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}
