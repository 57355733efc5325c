#include "tests/robust/drive.h"

#include "tests/ui/message_box.h"

#include <atomic>
#include <stdexcept>
#include <thread>

namespace robust {
namespace {

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    if (text.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (::towlower(text[text.size() - tail.size() + i]) != tail[i]) return false;
    }
    return true;
}

std::wstring ImageOf(DWORD processId) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL ok = ::QueryFullProcessImageNameW(process, 0, path, &size);
    ::CloseHandle(process);
    return ok ? std::wstring(path, size) : std::wstring();
}

BOOL CALLBACK CloseIfDebugger(HWND window, LPARAM param) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (::IsWindowVisible(window) && EndsWith(ImageOf(processId), L"winedbg.exe")) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        *reinterpret_cast<bool*>(param) = true;
    }
    return TRUE;
}

}  // namespace

const char* Name(Outcome outcome) {
    switch (outcome) {
        case Outcome::Set: return "set";
        case Outcome::Refused: return "refused";
        case Outcome::Rejected: return "rejected with a box";
        case Outcome::Unchanged: return "nothing visible";
        case Outcome::Hang: return "hang";
        case Outcome::Crash: return "crash";
    }
    return "?";
}

bool CloseCrashDialogs() {
    bool found = false;
    ::EnumWindows(CloseIfDebugger, reinterpret_cast<LPARAM>(&found));
    return found;
}

ApplyResult PressZeitSetzen(const ui::App& app, DWORD hangMilliseconds) {
    app.SetText(ui::id::kGesetzteZeit, kLabelMarker);

    // The press is sent from a thread of its own: a box keeps the handler,
    // and so the sending thread, waiting until someone presses OK.
    std::atomic<int> sent{0};  // 0 waiting, 1 answered, 2 no answer
    const HWND main = app.Main();
    const HWND button = app.Item(ui::id::kZeitSetzen);
    std::thread sender([&] {
        DWORD_PTR result = 0;
        const BOOL ok = ::SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(ui::id::kZeitSetzen, BN_CLICKED),
                                              reinterpret_cast<LPARAM>(button), SMTO_NORMAL, hangMilliseconds, &result);
        sent = ok ? 1 : 2;
    });

    ApplyResult r;
    while (sent == 0) {
        for (HWND box : ui::Boxes(app)) {
            if (r.box.empty()) r.box = ui::BoxText(box);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        ::Sleep(2);
    }
    sender.join();

    if (!app.Running() || CloseCrashDialogs()) {
        r.outcome = Outcome::Crash;
        return r;
    }
    if (sent == 2) {
        r.outcome = Outcome::Hang;
        return r;
    }
    r.label = app.Text(ui::id::kGesetzteZeit);
    if (!r.box.empty()) {
        r.outcome = Outcome::Rejected;
    } else if (r.label == kNotSet) {
        r.outcome = Outcome::Refused;
    } else if (r.label == kLabelMarker) {
        r.outcome = Outcome::Unchanged;
    } else {
        r.outcome = Outcome::Set;
    }
    return r;
}

ApplyResult Apply(const ui::App& app, const Fields& fields, DWORD hangMilliseconds) {
    app.SetFields(fields[0], fields[1], fields[2], fields[3], fields[4]);
    return PressZeitSetzen(app, hangMilliseconds);
}

Fields ShownFields(const ui::App& app) {
    Fields shown;
    for (int i = 0; i < 5; ++i) shown[static_cast<std::size_t>(i)] = app.Field(i);
    return shown;
}

std::wstring TestsFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

ToolProcess::ToolProcess(const std::wstring& exeName, const std::wstring& arguments) {
    const std::wstring exe = TestsFolder() + L"\\" + exeName;
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        throw std::runtime_error("cannot start a helper program");
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    ::WaitForInputIdle(process_, 20000);
}

ToolProcess::~ToolProcess() {
    if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_, 0);
        ::WaitForSingleObject(process_, 10000);
    }
    ::CloseHandle(process_);
}

}  // namespace robust
