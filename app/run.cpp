#include "app/run.h"

#include "app/frmTime.h"
#include "app/guard.h"
#include "app/handover.h"
#include "app/truetime.h"
#include "assets/texts.h"
#include "platform/handles.h"
#include "platform/text.h"

#include <atomic>

namespace run {
namespace {

constexpr int kFailed = 125, kCannotRun = 126, kNotFound = 127;

void Say(std::wstring text) {
    if (text.starts_with(L'\n')) text.erase(0, 1);
    if (!text.empty()) cmdline::Tell(text, true, true);
}

// Ctrl+C and Ctrl+Break reach the program through the console they share; once the clock is moved, Horlomat waits for
// the program to end and then puts the time back. Before that they end Horlomat as usual.
std::atomic<bool> moved = false;
BOOL WINAPI OnControl(DWORD type) {
    return type <= CTRL_BREAK_EVENT && moved;
}

// The program's standard handles: the caller's, or where it gave none the console Horlomat was started from.
bool ShareStandardHandles() {
    const bool console = ::AttachConsole(ATTACH_PARENT_PROCESS);
    if (console) ::SetConsoleCtrlHandler(OnControl, TRUE);
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = ::GetStdHandle(stream);
        if (handle && handle != INVALID_HANDLE_VALUE) {
            ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        } else if (console) {
            ::SetStdHandle(
                stream, ::CreateFileW(stream == STD_INPUT_HANDLE ? L"CONIN$" : L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr));
        }
    }
    return console;
}

// The program, started in the caller's folder and environment, in a job that ends it when Horlomat ends, so that no
// test goes on running on a clock nobody holds. 0, or the exit code that says why it did not start.
int Start(std::wstring program, bool console, PROCESS_INFORMATION& info, platform::UniqueKernelHandle& job) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    const DWORD flags = CREATE_SUSPENDED | (console ? 0 : CREATE_NO_WINDOW);
    if (!::CreateProcessW(nullptr, program.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup, &info)) {
        const DWORD error = ::GetLastError();
        Say(platform::Filled(texts::kRunNotStarted, platform::SystemMessage(error)));
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? kNotFound : kCannotRun;
    }
    job.reset(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)) ||
        !::AssignProcessToJobObject(job.get(), info.hProcess)) {
        const DWORD error = ::GetLastError();
        ::TerminateProcess(info.hProcess, kFailed);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
        Say(platform::Filled(texts::kRunNotStarted, platform::SystemMessage(error)));
        return kFailed;
    }
    ::ResumeThread(info.hThread);
    ::CloseHandle(info.hThread);
    return 0;
}

}  // namespace

int Run(HINSTANCE instance, cmdline::Request request, const std::wstring& program) {
    const bool console = ShareStandardHandles();
    // One test run at a time: the clock is one. A second waits its turn rather than fail a job for being on the same
    // runner; one whose Horlomat died leaves the mutex to the next.
    platform::UniqueKernelHandle turn(::CreateMutexW(nullptr, FALSE, L"Global\\Horlomat-Testlauf"));
    if (!turn) turn.reset(::CreateMutexW(nullptr, FALSE, L"Local\\Horlomat-Testlauf"));
    if (turn && ::WaitForSingleObject(turn.get(), 0) == WAIT_TIMEOUT) {
        Say(texts::kRunWaits);
        ::WaitForSingleObject(turn.get(), INFINITE);
    }

    // Every hold on the machine ends first, or it would move the clock while the program runs.
    if (const std::wstring left = handover::StopAllHolds(); !left.empty()) {
        Say(left + texts::kRunNotRun);
        return kFailed;
    }
    const guard::Outcome paused = request.noSync ? guard::Pause() : guard::Outcome{true, {}};
    Say(paused.text);
    if (!paused.done) return kFailed;
    request.running = !request.hold;
    FrmTime frmTime(true);
    const HWND window = frmTime.Create(instance);
    int code = kFailed;
    if (!window) {
        Say(std::wstring(texts::kNotSet) + texts::kRunNotRun);
    } else if (const apply::Result result = frmTime.Take(request); result.kind != apply::Result::Set) {
        Say(result.text + texts::kRunNotRun);  // a test must never pass at the wrong date
    } else {
        moved = true;  // from here on the time is put back, whatever happens
        PROCESS_INFORMATION info{};
        platform::UniqueKernelHandle job;
        code = Start(program, console, info, job);
        if (code == 0) {
            // The hold's timers and notifications are handled while the program runs.
            while (::MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
                for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&msg);
            }
            DWORD exitCode = 0;
            ::GetExitCodeProcess(info.hProcess, &exitCode);
            ::CloseHandle(info.hProcess);
            code = static_cast<int>(exitCode);
        }
    }
    if (window) ::DestroyWindow(window);
    if (!moved.exchange(false)) {  // not set: only a pause to undo
        Say(guard::Restore().text);
        return code;
    }
    // The true time back, whatever the program did, and the time sync; a run that passed does not pass where either
    // could not be put back.
    const truetime::Outcome outcome = truetime::PutBack(false);
    Say(outcome.text);
    return outcome.exitCode != 0 && code == 0 ? kFailed : code;
}

}  // namespace run
