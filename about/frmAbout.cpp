#include "about/frmAbout.h"

#include "about/sysinfo.h"
#include "assets/resource_ids.h"
#include "assets/texts.h"
#include "version.h"

#include <ocidl.h>
#include <olectl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

using form::Kind;

constexpr char kMakerWebPage[] = "https://www.tesmar.de/";

// In Tab order: OK, the logo, "Systeminfo...".
constexpr form::Row kRows[] = {
    {about_ids::cmdOK, Kind::DefaultButton, texts::kAboutOK, 4260, 2865, 1260, 345},
    {about_ids::picIcon, Kind::Link, texts::kAboutLogoLink, 120, 240, 1650, 2010},
    {about_ids::cmdSysInfo, Kind::Button, texts::kAboutSysInfo, 4260, 3315, 1245, 345},
    {about_ids::lblTitle, Kind::WrappingLabel, texts::kAboutTitleStored, 1860, 480, 3945, 480},
    {about_ids::lblVersion, Kind::WrappingLabel, texts::kAboutVersionStored, 1920, 1020, 3885, 225},
    {about_ids::lblDisclaimer, Kind::WrappingLabel, texts::kAboutDisclaimer, 255, 2865, 3870, 825},
};

// The logo's own size, 106 x 130 pixels at 96 DPI; the picture box adds its sunken border around it.
constexpr int kLogoWidth = 106 * 15;
constexpr int kLogoHeight = 130 * 15;

// The etched rule between the title block and the notice: a grey line with a
// white one just beneath it, or the scheme's shadow and highlight where the
// scheme's own colours are used. Widths are in pixels at 96 DPI.
struct Line {
    int left, top, right;
    int width;
    COLORREF colour;
    int schemeColour;
};
constexpr Line kRule[] = {
    {90, 2685, 5654, 1, RGB(128, 128, 128), COLOR_BTNSHADOW},
    {105, 2700, 5654, 2, RGB(255, 255, 255), COLOR_BTNHIGHLIGHT},
};

// Title, notice and rule keep their fixed colours unless high contrast is on
// or black would not read on the face: black on a face of relative luminance
// L contrasts (L + 0.05) : 0.05, below WCAG's 4.5 : 1 once L < 0.175. The sRGB
// curve is taken as a square here, which draws the line at a grey of about
// RGB(107, 107, 107).
bool UseSchemeColours() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    if (::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON))
        return true;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const auto square = [](BYTE channel) { return static_cast<long long>(channel) * channel; };
    return 2126 * square(GetRValue(face)) + 7152 * square(GetGValue(face)) + 722 * square(GetBValue(face)) <
           1750LL * 255 * 255;
}

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPointer = std::unique_ptr<T, ComRelease>;

// The GIF in the resources, decoded by the system's picture loader; null when it cannot be.
ComPointer<IPicture> LogoPicture(HINSTANCE instance) {
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(IDR_LOGO), RT_RCDATA);
    const DWORD size = found ? ::SizeofResource(instance, found) : 0;
    const void* bytes = size ? ::LockResource(::LoadResource(instance, found)) : nullptr;
    HGLOBAL memory = bytes ? ::GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    void* target = memory ? ::GlobalLock(memory) : nullptr;
    if (!target) {
        if (memory) ::GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {  // the stream frees the memory
        ::GlobalFree(memory);
        return nullptr;
    }
    const ComPointer<IStream> streamOwner(stream);
    void* picture = nullptr;
    if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, &picture))) return nullptr;
    return ComPointer<IPicture>(static_cast<IPicture*>(picture));
}

}  // namespace

FrmAbout::FrmAbout(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner), form_({5940, 3840, kRows}) {}

void FrmAbout::Show(HINSTANCE instance, HWND owner) {
    // The picture loader and the shell want COM on this thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    FrmAbout dialog(instance, owner);
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, DialogProc, reinterpret_cast<LPARAM>(&dialog));
    if (SUCCEEDED(com)) ::CoUninitialize();
}

INT_PTR CALLBACK FrmAbout::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        reinterpret_cast<FrmAbout*>(lParam)->hwnd_ = window;
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
        case WM_DRAWITEM:
            DrawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_SETCURSOR:
            // The hand tells that the logo is a link.
            if (reinterpret_cast<HWND>(wParam) != Control(about_ids::picIcon) || !hand_) return FALSE;
            ::SetCursor(hand_);
            ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            // Title and notice are black whatever the scheme's text colour, as long as black reads.
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != about_ids::lblTitle && id != about_ids::lblDisclaimer) return FALSE;
            const auto dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, UseSchemeColours() ? ::GetSysColor(COLOR_BTNTEXT) : RGB(0, 0, 0));
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_PAINT:
            PaintRule();
            return TRUE;
        case WM_GETDPISCALEDSIZE:
            *reinterpret_cast<SIZE*>(lParam) = form_.WindowSize(static_cast<int>(wParam));
            ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_DPICHANGED:
            form_.DpiChanged(wParam, lParam);
            LoadLogo();
            return TRUE;
        default:
            return FALSE;
    }
}

void FrmAbout::OnInitDialog() {
    // Windows would scale the dialog on a DPI change as if its controls came
    // from the template; the form lays them out itself. Wine lacks the switch.
    using SetBehavior = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    if (const auto setBehavior = reinterpret_cast<SetBehavior>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")))) {
        setBehavior(hwnd_, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
    hand_ = ::LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_HAND_POINTER));
    form_.Create(hwnd_, instance_);
    LoadLogo();
    CenterOverOwner();
    Form_Load();
    ::SendMessageW(hwnd_, DM_SETDEFID, about_ids::cmdOK, 0);
    ::SetFocus(Control(about_ids::cmdOK));
}

void FrmAbout::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED) return;
    switch (id) {
        case IDOK:
            // Enter comes as OK wherever the focus is; on the logo it follows the link.
            if (::GetFocus() == Control(about_ids::picIcon)) {
                picIcon_Click();
                break;
            }
            cmdOK_Click();
            break;
        case IDCANCEL:  // Esc and the close box: OK is the cancel button too
            cmdOK_Click();
            break;
        case about_ids::picIcon:
            picIcon_Click();
            break;
        case about_ids::cmdSysInfo:
            cmdSysInfo_Click();
            break;
        default:
            break;
    }
}

void FrmAbout::LoadLogo() {
    logo_.reset();
    const ComPointer<IPicture> picture = LogoPicture(instance_);
    short type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)))
        return;
    // GDI handles fit in 32 bits and are sign-extended on 64-bit Windows. The
    // picture owns its bitmap, so a copy in the wanted size is kept instead.
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
    logo_.reset(static_cast<HBITMAP>(
        ::CopyImage(bitmap, IMAGE_BITMAP, form_.Pixels(kLogoWidth), form_.Pixels(kLogoHeight), LR_CREATEDIBSECTION)));
    ::InvalidateRect(Control(about_ids::picIcon), nullptr, FALSE);
}

void FrmAbout::DrawLogo(const DRAWITEMSTRUCT& item) const {
    const RECT& r = item.rcItem;
    ::FillRect(item.hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    BITMAP size{};
    if (logo_ && ::GetObjectW(logo_.get(), sizeof(size), &size)) {
        HDC source = ::CreateCompatibleDC(item.hDC);
        HGDIOBJ previous = ::SelectObject(source, logo_.get());
        ::BitBlt(item.hDC, (r.left + r.right - size.bmWidth) / 2, (r.top + r.bottom - size.bmHeight) / 2, size.bmWidth,
                 size.bmHeight, source, 0, 0, SRCCOPY);
        ::SelectObject(source, previous);
        ::DeleteDC(source);
    }
    // Like any button, it shows where the keyboard is, unless the user works with the mouse.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(item.hDC, &focus);
    }
}

void FrmAbout::PaintRule() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd_, &paint);
    const bool scheme = UseSchemeColours();
    for (const Line& line : kRule) {
        const int top = form_.Pixels(line.top);
        const RECT r{form_.Pixels(line.left), top, form_.Pixels(line.right),
                     top + ::MulDiv(line.width, form_.Dpi(), USER_DEFAULT_SCREEN_DPI)};
        ::SetDCBrushColor(dc, scheme ? ::GetSysColor(line.schemeColour) : line.colour);
        ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    }
    ::EndPaint(hwnd_, &paint);
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

void FrmAbout::Form_Load() {
    ::SetWindowTextW(hwnd_, (std::wstring(texts::kAboutCaptionPrefix) + texts::kAppTitle).c_str());
    ::SetWindowTextW(Control(about_ids::lblVersion),
                     (std::wstring(texts::kAboutVersionPrefix) + HORLOMAT_VERSION).c_str());
    ::SetWindowTextW(Control(about_ids::lblTitle), texts::kAppTitle);
}

void FrmAbout::picIcon_Click() {
    // Whether a browser comes up or not, the dialog says nothing about it.
    ::ShellExecuteA(hwnd_, "Open", kMakerWebPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void FrmAbout::cmdOK_Click() {
    ::EndDialog(hwnd_, IDOK);
}

void FrmAbout::cmdSysInfo_Click() {
    about::StartSysInfo(hwnd_);
}
