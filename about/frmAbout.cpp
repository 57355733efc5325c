// The dialog's window: creation from a twips table, layout, painting, and the
// dispatch of its messages to the event handlers in frmAbout_events.cpp.
#include "about/frmAbout.h"

#include "about/about_ids.h"
#include "about/about_layout.h"
#include "about/about_texts.h"
#include "about/logo_picture.h"
#include "assets/resource_ids.h"
#include "platform/com_apartment.h"
#include "platform/child_control.h"
#include "platform/dialog_font.h"
#include "platform/dpi.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace {

namespace ids = about::ids;
namespace layout = about::layout;

// A dialog without controls: they are created from the twips table, at the
// dialog's DPI. No DS_SETFONT: the controls get their font one by one.
struct alignas(4) DialogTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    wchar_t title[std::size(about::texts::kCaptionStored)];
};
// The parts must follow one another without a gap.
static_assert(offsetof(DialogTemplate, menu) == sizeof(DLGTEMPLATE));
static_assert(offsetof(DialogTemplate, title) == sizeof(DLGTEMPLATE) + 2 * sizeof(WORD));

DialogTemplate MakeTemplate() {
    DialogTemplate t{};
    t.header.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    std::copy(std::begin(about::texts::kCaptionStored), std::end(about::texts::kCaptionStored), t.title);
    return t;
}

platform::ControlClass ClassFor(layout::Kind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case layout::Kind::DefaultButton:
            return {L"BUTTON", child | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0};
        case layout::Kind::PushButton:
            return {L"BUTTON", child | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0};
        case layout::Kind::Picture:
            // SS_NOTIFY: it reports clicks and gets the mouse, so it can show
            // the hand.
            return {L"STATIC", child | WS_GROUP | SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY, WS_EX_CLIENTEDGE};
        case layout::Kind::Label:
        case layout::Kind::BlackLabel:
            return {L"STATIC", child | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0};
    }
    return {L"STATIC", child, 0};
}

// The layout follows the DPI here alone; the dialog manager's own scaling
// knows nothing of controls created at run time.
void KeepDialogManagerOutOfDpiChanges(HWND dialog) {
    static auto* const setBehavior = reinterpret_cast<decltype(::SetDialogDpiChangeBehavior)*>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    if (setBehavior) setBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

}  // namespace

HWND FrmAbout::open_ = nullptr;

void FrmAbout::Show(HINSTANCE instance, HWND owner) {
    if (open_) {
        ::SetForegroundWindow(open_);
        return;
    }
    // The logo decoder and the shell want COM on this thread.
    platform::ComApartment com;
    FrmAbout dialog(instance, owner);
    static const DialogTemplate dialogTemplate = MakeTemplate();
    ::DialogBoxIndirectParamW(instance, &dialogTemplate.header, owner, DialogProc,
                              reinterpret_cast<LPARAM>(&dialog));
    open_ = nullptr;
}

INT_PTR CALLBACK FrmAbout::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<FrmAbout*>(lParam);
        self->hwnd_ = window;
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<FrmAbout*>(::GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR FrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;  // the focus is set
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_SETCURSOR:
            return OnSetCursor(reinterpret_cast<HWND>(wParam));
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_PAINT:
            PaintRule();
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        case WM_DESTROY:
            ReleaseLogo();
            return FALSE;
        default:
            return FALSE;
    }
}

void FrmAbout::OnInitDialog() {
    open_ = hwnd_;
    KeepDialogManagerOutOfDpiChanges(hwnd_);
    // The dialog opens over its owner, so it takes the owner's DPI.
    dpi_ = platform::WindowDpi(owner_);
    hand_ = ::LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_HAND_POINTER));
    CreateControls();
    ApplyLayout();
    CenterOverOwner();
    Form_Load();
    ::SendMessageW(hwnd_, DM_SETDEFID, ids::kOK, 0);
    ::SetFocus(Control(ids::kOK));
}

void FrmAbout::CreateControls() {
    for (const layout::Control& c : layout::kControls) {
        // Placed by ApplyLayout, once the DPI is known.
        platform::CreateControl(hwnd_, instance_, c.id, ClassFor(c.kind), c.text, RECT{});
    }
}

void FrmAbout::ApplyLayout() {
    HWND picture = Control(ids::kPicIcon);
    platform::UniqueBitmap logo = about::LoadLogo(instance_, layout::ToPixels(layout::kLogoWidth, dpi_),
                                                  layout::ToPixels(layout::kLogoHeight, dpi_));
    const auto previous = reinterpret_cast<HBITMAP>(
        ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo.get())));
    // The control hands back a copy it made of an earlier bitmap; ours goes below.
    if (previous && previous != logo_.get()) ::DeleteObject(previous);
    logo_ = std::move(logo);

    platform::UniqueFont font = platform::CreateDialogFont(dpi_);
    for (const layout::Control& c : layout::kControls) {
        HWND control = Control(c.id);
        if (!control) continue;
        const RECT r = layout::PixelRect(c, dpi_);
        ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    // The controls now use the new font; only then may the old one go.
    font_ = std::move(font);
    platform::FitClientArea(hwnd_, layout::ToPixels(layout::kClientWidth, dpi_),
                            layout::ToPixels(layout::kClientHeight, dpi_));
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmAbout::ReleaseLogo() {
    const auto previous = reinterpret_cast<HBITMAP>(
        ::SendMessageW(Control(ids::kPicIcon), STM_SETIMAGE, IMAGE_BITMAP, 0));
    if (previous && previous != logo_.get()) ::DeleteObject(previous);
}

void FrmAbout::CenterOverOwner() {
    RECT owner{};
    RECT dialog{};
    ::GetWindowRect(owner_, &owner);
    ::GetWindowRect(hwnd_, &dialog);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    int x = owner.left + (owner.right - owner.left - width) / 2;
    int y = owner.top + (owner.bottom - owner.top - height) / 2;
    // Keep it whole on the owner's screen.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoW(::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
        y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
    }
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmAbout::PaintRule() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd_, &paint);
    for (const layout::Line& line : layout::kRule) {
        const RECT r = layout::PixelRect(line, dpi_);
        ::SetDCBrushColor(dc, line.colour);
        ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    }
    ::EndPaint(hwnd_, &paint);
}

void FrmAbout::OnCommand(int id, int notification) {
    switch (id) {
        case ids::kOK:
        case IDCANCEL:  // Esc and the close box: OK is the cancel button too
            if (notification == BN_CLICKED) cmdOK_Click();
            break;
        case ids::kSysInfo:
            if (notification == BN_CLICKED) cmdSysInfo_Click();
            break;
        case ids::kPicIcon:
            if (notification == STN_CLICKED) picIcon_Click();
            break;
        default:
            break;
    }
}

bool FrmAbout::OnSetCursor(HWND window) {
    if (window != Control(ids::kPicIcon) || !hand_) return false;
    ::SetCursor(hand_);
    ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
    return true;
}

INT_PTR FrmAbout::OnCtlColorStatic(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    if (id != ids::kTitle && id != ids::kDisclaimer) return FALSE;
    // These two are black whatever the colour scheme's text colour.
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
}

void FrmAbout::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyLayout();
}
