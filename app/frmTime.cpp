#include "app/frmTime.h"

#include "about/frmAbout.h"
#include "app/handover.h"
#include "app/truetime.h"
#include "assets/resource_ids.h"
#include "assets/texts.h"
#include "platform/process.h"
#include "settings/global.h"

namespace {

using form::Kind;

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
    wc.lpszClassName = handover::kWindowClass;
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

}  // namespace

FrmTime::FrmTime(bool quiet) : form_({5205, 2205, kRows}), quiet_(quiet) {}

HWND FrmTime::Create(HINSTANCE instance) {
    instance_ = instance;
    if (!RegisterWindowClass(instance, WindowProc)) return nullptr;
    // Sized in WM_CREATE, once the window knows its DPI.
    return ::CreateWindowExW(0, handover::kWindowClass, texts::kWindowTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                             nullptr, CreateMainMenu(), instance, this);
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
        case ids::StopHolding:
            StopHolding();
            return 0;
        case WM_TIMER:
            if (wParam == ids::Timer1) Timer1_Timer();
            if (wParam == ids::Recheck) Recheck_Timer();
            return 0;
        case WM_TIMECHANGE:
        case WM_POWERBROADCAST:
            // Stepped, by a time sync say, or resumed, when VM tools and W32Time resync: a clock that runs on is
            // checked a second later rather than at the next tick. Never set here: a burst gives one check.
            if (running_ && (message == WM_TIMECHANGE || wParam == PBT_APMRESUMEAUTOMATIC)) {
                ::SetTimer(hwnd_, ids::Recheck, 1000, nullptr);
            }
            break;
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
        case ids::chkRegel:
            if (chkRegelTicked()) listener_.Start(hwnd_, ids::StopHolding);
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
    if (settings.hold) listener_.Start(hwnd_, ids::StopHolding);
}

void FrmTime::PressWith(const cmdline::Request& request) {
    Report(Take(request));
}

apply::Result FrmTime::Take(const cmdline::Request& request) {
    ShowSettings({request.fields, request.hold || request.running});
    running_.reset();
    const ULONGLONG tick = ::GetTickCount64();
    apply::Result result = cmdZeitSetzen_Press();
    // From the typed minute on, whether the clock took it or not: each tick then aims at the running time.
    const std::optional<ULONGLONG> minute = truetime::StepsOf(NewTime);
    if (request.running && result.kind != apply::Result::BadField && minute) {
        running_ = truetime::Reading{*minute, tick};
        fight_ = 0;
        if (result.kind == apply::Result::Set) {
            result.text += texts::kRunsOn;
            ShowResult(result);
        }
    }
    return result;
}

void FrmTime::StopHolding() {
    running_.reset();
    ::SendMessageW(Control(ids::chkRegel), BM_SETCHECK, BST_UNCHECKED, 0);
    global::StoreNoHold();
    listener_.Stop();  // lets go once done: whoever asked may rely on it
}

LRESULT FrmTime::OnCopyData(const COPYDATASTRUCT& data) {
    std::vector<std::wstring> arguments;
    const handover::Kind kind = handover::Read(data, arguments);
    if (kind == handover::Kind::StopHolding) StopHolding();
    if (kind != handover::Kind::Start || quiet_) return kind == handover::Kind::StopHolding;
    const cmdline::Request request = cmdline::Parse(arguments);
    if (!request.dated) return 0;
    const apply::Result result = Take(request);
    const LRESULT answer = handover::Answer(result);
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
    std::wstring text = error ? what + L"\n\n" + platform::SystemMessage(error) : what;
    if (quiet_) {  // a test run's: no one to close a box
        std::erase(text, L'\r');
        cmdline::Tell(text, true, true);
        return true;
    }
    if (reporting_) return false;
    reporting_ = true;
    // While the About dialog is open the box belongs to it, so closing the box
    // leaves the main window disabled, as the dialog wants it.
    ::MessageBoxW(::GetLastActivePopup(hwnd_), text.c_str(), texts::kAppTitle, MB_OK | MB_ICONWARNING);
    reporting_ = false;
    return true;
}
