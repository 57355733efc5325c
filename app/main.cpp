// Horlomat: sets the computer's clock to a typed date and time (UTC) and,
// if asked, holds it there by setting it again every minute.
#include "app/commandline.h"
#include "app/frmTime.h"
#include "app/guard.h"
#include "app/handover.h"
#include "app/run.h"
#include "app/truetime.h"
#include "assets/texts.h"
#include "platform/process.h"
#include "settings/global.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace {

// The exit codes of /einmal; /echtzeit adds 3, 4 and 5.
constexpr int kSet = 0;
constexpr int kNotSet = 1;
constexpr int kWrongCall = 2;
constexpr int kHoldsGoOn = 5;

// The outcome of a start with /einmal, told as the window's label would show it. A time sync paused for a set that
// did not happen is put back at once.
int Finish(const apply::Result& result, const std::wstring& paused) {
    const bool set = result.kind == apply::Result::Set;
    const std::wstring sync = set || paused.empty() ? paused : guard::Restore().text;
    cmdline::Tell(result.text + (set && !result.stored ? L"\n" + apply::NotStoredText() : L"") + sync, !set);
    return set ? kSet : kNotSet;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before this Horlomat can move the clock.
    truetime::TakeReading();
    // Only the system folder is searched for DLLs loaded later on.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    global::IniFilePath = global::IniPathIn(platform::AppDirectory());

    // Without arguments nothing of this applies: the plain start.
    const std::vector<std::wstring> arguments(__wargv ? __wargv + 1 : nullptr, __wargv ? __wargv + __argc : nullptr);
    const cmdline::Request request = cmdline::Parse(arguments);
    if (request.mode == cmdline::Request::Help) return cmdline::Tell(texts::kUsage, false), kSet;
    if (request.mode == cmdline::Request::Wrong) {
        const bool run = std::find(arguments.begin(), arguments.end(), L"--") != arguments.end();
        return cmdline::Tell(request.message + L"\n\n" + texts::kUsage, true, run), kWrongCall;
    }
    if (request.mode == cmdline::Request::Run) {
        global::IniFilePath.clear();  // a test run neither reads nor writes the settings file
        return run::Run(instance, request, cmdline::ProgramPart(::GetCommandLineW()));
    }
    if (request.mode == cmdline::Request::TrueTime) {
        // Every hold ends first, or its next tick would move the clock away again.
        const std::wstring left = handover::StopAllHolds();
        truetime::Outcome outcome = truetime::PutBack(request.assume);
        // Put back all the same, but not told as done while a hold will move the clock again.
        outcome.text += left;
        if (!left.empty() && outcome.exitCode == kSet) outcome.exitCode = kHoldsGoOn;
        cmdline::Tell(outcome.text, outcome.exitCode != kSet);
        return outcome.exitCode;
    }
    const bool once = request.mode == cmdline::Request::Once;
    // Before the first set, and kept until /echtzeit; where a source could not be paused, nothing is set.
    const guard::Outcome paused = request.noSync ? guard::Pause() : guard::Outcome{true, {}};
    if (!paused.done) {
        cmdline::Tell(paused.text, true);
        return kNotSet;
    }
    const std::wstring pausedText = paused.text.empty() ? L"" : L"\n" + paused.text;
    std::optional<handover::StartLock> lock;
    if (request.dated) {
        // One Horlomat per settings file: a running one takes the values, so that two never fight over the clock.
        lock.emplace();
        if (const std::optional<apply::Result> handed = handover::HandOver(arguments, request)) {
            return once ? Finish(*handed, pausedText) : kSet;
        }
        if (once) {
            SYSTEMTIME newTime{};
            return Finish(apply::Apply({request.fields, false}, newTime), pausedText);
        }
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    FrmTime frmTime;
    if (!frmTime.Create(instance)) return 1;
    lock.reset();  // this window can be found now: the next dated start hands over to it
    frmTime.Show(showCommand);
    if (request.dated) frmTime.PressWith(request);

    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (frmTime.PreTranslateMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
