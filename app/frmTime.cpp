#include "app/frmTime.h"

#include "about/frmAbout.h"
#include "app/commandline.h"
#include "assets/resource_ids.h"
#include "assets/texts.h"
#include "platform/process.h"
#include "settings/global.h"

namespace {

using form::Kind;

constexpr wchar_t kClassName[] = L"HorlomatFrmTime";

// A start's arguments handed over in WM_COPYDATA: the sender's settings file and its arguments, each ended by a
// zero. The answer is 0 when the window did not take them, else 1 + the result's kind, plus kNotStoredFlag.
constexpr ULONG_PTR kHandOver = 0x486F726C;
constexpr LRESULT kNotStoredFlag = 0x10;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// The fields and their labels are placed in the frame's coordinates.
constexpr int kFrameLeft = 60;
constexpr int kFrameTop = 60;
constexpr form::Row InFrame(form::Row row) {
    row.left += kFrameLeft;
    row.top += kFrameTop;
    return row;
}

// In Tab order. Each label comes just before its field, so that a screen
// reader names the field after it; labels take no focus, so Tab skips them.
constexpr form::Row kRows[] = {
    {ids::cmdZeitSetzen, Kind::Button, texts::kZeitSetzen, 2400, 1260, 1875, 375},
    {ids::cmdZeitDialog, Kind::Button, texts::kComputerzeit, 2400, 1740, 1875, 375},
    {ids::lblGesetzteZeit, Kind::WrappingLabel, L"", 3240, 120, 1815, 735},
    {ids::Label1, Kind::Label, texts::kGesetzteZeit, 2100, 120, 1095, 195},
    {ids::Frame1, Kind::Frame, texts::kFrame1, kFrameLeft, kFrameTop, 1755, 2055},
    InFrame({ids::lblZeit + 4, Kind::Label, texts::kLblZeit[4], 180, 1680, 675, 255}),
    InFrame({ids::txtZeit + 4, Kind::Field, L"", 1020, 1680, 495, 285, 2}),
    InFrame({ids::lblZeit + 3, Kind::Label, texts::kLblZeit[3], 180, 1320, 675, 255}),
    InFrame({ids::txtZeit + 3, Kind::Field, L"", 1020, 1320, 495, 285, 2}),
    InFrame({ids::lblZeit + 2, Kind::Label, texts::kLblZeit[2], 180, 960, 675, 255}),
    InFrame({ids::txtZeit + 2, Kind::Field, L"", 1020, 960, 495, 285, 2}),
    InFrame({ids::lblZeit + 1, Kind::Label, texts::kLblZeit[1], 180, 600, 675, 255}),
    InFrame({ids::txtZeit + 1, Kind::Field, L"", 1020, 600, 495, 285, 2}),
    InFrame({ids::lblZeit + 0, Kind::Label, texts::kLblZeit[0], 180, 240, 675, 255}),
    InFrame({ids::txtZeit + 0, Kind::Field, L"", 1020, 240, 495, 285, 4}),
    {ids::chkRegel, Kind::CheckBox, texts::kChkRegel, 2400, 960, 2775, 195},
};

bool RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_HORLOMAT));
    // The 16 x 16 image, not the big one shrunk.
    wc.hIconSm =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_HORLOMAT), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0;
}

HMENU CreateMainMenu() {
    HMENU bar = ::CreateMenu();
    HMENU datei = ::CreatePopupMenu();
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(datei, MF_STRING, ids::mnuEnde, texts::kMnuEnde);
    ::AppendMenuW(help, MF_STRING, ids::mnuAbout, texts::kMnuAbout);
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(datei), texts::kMnuDatei);
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), texts::kMnuHelp);
    return bar;
}

std::wstring SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text.empty() ? L"Fehlercode " + std::to_wstring(error) : text;
}

}  // namespace

FrmTime::FrmTime() : form_({5205, 2205, kRows}) {}

HWND FrmTime::Create(HINSTANCE instance) {
    instance_ = instance;
    if (!RegisterWindowClass(instance, WindowProc)) return nullptr;
    // Sized in WM_CREATE, once the window knows its DPI.
    return ::CreateWindowExW(0, kClassName, texts::kWindowTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                             CreateMainMenu(), instance, this);
}

void FrmTime::Show(int showCommand) {
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    ::SetFocus(Control(ids::cmdZeitSetzen));
}

bool FrmTime::PreTranslateMessage(MSG& msg) {
    if (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)) return false;
    // No default and no cancel button: Enter and Esc press nothing here.
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
    if (key && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return true;
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
            form_.Create(hwnd_, instance_);
            ::SetTimer(hwnd_, ids::Timer1, 60000, nullptr);
            Form_Load();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_COPYDATA:
            return OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_TIMER:
            if (wParam == ids::Timer1) Timer1_Timer();
            return 0;
        case WM_ACTIVATE:
            // Give the focus back to the control that had it when the user switched away.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = ::GetFocus();
            } else if (lastFocus_ && ::IsChild(hwnd_, lastFocus_)) {
                ::SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_GETDPISCALEDSIZE:
            *reinterpret_cast<SIZE*>(lParam) = form_.WindowSize(static_cast<int>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            form_.DpiChanged(wParam, lParam);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FrmTime::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED) return;  // also 0 for menu items
    switch (id) {
        case ids::cmdZeitSetzen:
            cmdZeitSetzen_Click();
            break;
        case ids::cmdZeitDialog:
            cmdZeitDialog_Click();
            break;
        case ids::mnuEnde:
            mnuEnde_Click();
            break;
        case ids::mnuAbout:
            mnuAbout_Click();
            break;
        default:
            break;
    }
}

void FrmTime::Form_Load() {
    ShowSettings(global::LoadSettings());
}

void FrmTime::ShowSettings(const global::Settings& settings) {
    for (int i = 0; i < 5; ++i) ::SetWindowTextW(Control(ids::txtZeit + i), settings.fields[i].c_str());
    ::SendMessageW(Control(ids::chkRegel), BM_SETCHECK, settings.hold ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FrmTime::PressWith(const apply::FieldTexts& fields, bool hold) {
    ShowSettings({fields, hold});
    Report(cmdZeitSetzen_Press());
}

std::optional<apply::Result> FrmTime::HandOver(const std::vector<std::wstring>& arguments, bool once) {
    std::wstring payload = global::IniFilePath + L'\0';
    for (const std::wstring& argument : arguments) payload += argument + L'\0';
    COPYDATASTRUCT data{kHandOver, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
    // Every window of the same settings file takes them (a start without arguments may have opened a second one),
    // so that none goes on holding another minute; the first one found answers for them.
    std::optional<apply::Result> taken;
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, kClassName, nullptr)) != nullptr;) {
        DWORD_PTR answer = 0;
        // A window that does not answer within seconds is hung: this start goes on without it.
        if (!::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                                   &answer) ||
            answer == 0 || taken) {
            continue;
        }
        if (!once) {
            if (::IsIconic(window)) ::ShowWindowAsync(window, SW_RESTORE);
            ::SetForegroundWindow(window);
        }
        const auto kind = static_cast<apply::Result::Kind>((answer & ~kNotStoredFlag) - 1);
        taken = apply::Result{kind, platform::WindowText(::GetDlgItem(window, ids::lblGesetzteZeit)),
                              !(answer & kNotStoredFlag)};
    }
    return taken;
}

LRESULT FrmTime::OnCopyData(const COPYDATASTRUCT& data) {
    if (data.dwData != kHandOver || !data.lpData || data.cbData % sizeof(wchar_t) != 0) return 0;
    std::vector<std::wstring> parts;
    const std::wstring_view all(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    for (size_t start = 0, end; (end = all.find(L'\0', start)) != all.npos; start = end + 1) {
        parts.emplace_back(all.substr(start, end - start));
    }
    // Only the Horlomat of the same settings file takes them; Windows compares paths without case.
    if (parts.empty() ||
        ::CompareStringOrdinal(parts[0].c_str(), -1, global::IniFilePath.c_str(), -1, TRUE) != CSTR_EQUAL) {
        return 0;
    }
    const cmdline::Request request = cmdline::Parse(std::span(parts).subspan(1));
    if (!request.dated) return 0;
    ShowSettings({request.fields, request.hold});
    const apply::Result result = cmdZeitSetzen_Press();
    const LRESULT answer =
        (1 + result.kind) | (result.kind == apply::Result::Set && !result.stored ? kNotStoredFlag : 0);
    // The sender has its answer before a box of this window's waits for the user.
    ::ReplyMessage(answer);
    Report(result);
    return answer;
}

void FrmTime::cmdZeitDialog_Click() {
    // rundll32 is taken from the system folder by its full path and started
    // there, so a rundll32.exe or shell32.dll planted beside Horlomat.exe or in
    // the working folder is never run instead.
    const std::wstring systemDirectory = platform::SystemDirectory();
    // Without it the path would name the root of the current drive.
    if (systemDirectory.empty()) {
        Report(texts::kPanelFailed, ERROR_PATH_NOT_FOUND);
        return;
    }
    const std::wstring rundll32 = systemDirectory + L"\\rundll32.exe";
    const std::wstring commandLine = L"\"" + rundll32 + L"\" shell32.dll,Control_RunDLL timedate.cpl,,0";
    if (const DWORD error = platform::StartProcess(rundll32, commandLine, systemDirectory)) {
        Report(texts::kPanelFailed, error);
    }
}

void FrmTime::mnuEnde_Click() {
    // Ends at once; nothing is saved on the way out.
    ::DestroyWindow(hwnd_);
}

void FrmTime::mnuAbout_Click() {
    FrmAbout::Show(instance_, hwnd_);
}

bool FrmTime::Report(const std::wstring& what, DWORD error) {
    if (reporting_) return false;
    reporting_ = true;
    const std::wstring text = error ? what + L"\n\n" + SystemMessage(error) : what;
    // While the About dialog is open the box belongs to it, so closing the box
    // leaves the main window disabled, as the dialog wants it.
    ::MessageBoxW(::GetLastActivePopup(hwnd_), text.c_str(), texts::kAppTitle, MB_OK | MB_ICONWARNING);
    reporting_ = false;
    return true;
}
