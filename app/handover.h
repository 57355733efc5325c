// Talking to the other Horlomats. A start with a date hands its arguments to the Horlomat of the same folder on this
// desktop, which takes them as its own start would; /echtzeit asks every Horlomat on the machine to stop holding. What
// is sent, to whom, and how the receiver is known to be Horlomat, is all here; the window only takes what arrives.
#pragma once

#include "app/apply.h"
#include "app/commandline.h"
#include "platform/handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace handover {

inline constexpr wchar_t kWindowClass[] = L"HorlomatFrmTime";

// Held while a dated start looks for a running Horlomat of its folder and, finding none, opens its own window, so
// that of several starts at one moment exactly one opens a window and the others hand over to it. Named after the
// folder's identity, not its spelling.
class StartLock {
public:
    StartLock();
    ~StartLock();

private:
    platform::UniqueKernelHandle mutex_;
};

// Hands a dated start's arguments to every Horlomat window of this folder: one whose process runs this very
// Horlomat.exe from this very folder, as the files' identities say, however either was started. The first one's
// result, told as this start tells its own; nothing when none took them.
std::optional<apply::Result> HandOver(const std::vector<std::wstring>& arguments, const cmdline::Request& request);

// Asks every Horlomat on this desktop, of any folder, to stop holding, and every holding one on the machine, in any
// session and on any desktop, through a signal only administrators and SYSTEM may give. No answer is believed. What
// to tell of holds that go on (a holder that did not let go within seconds, or holds elsewhere out of this start's
// reach), or nothing.
std::wstring StopAllHolds();

// Held by a window while it holds the clock: it is told to stop, with `message` posted to it, when an administrator's
// /echtzeit or test run asks every hold on the machine to end, and it is counted as a hold until it lets go.
class Listener {
public:
    ~Listener() { Stop(); }
    void Start(HWND window, UINT message);  // nothing where it listens already
    void Stop();

private:
    platform::UniqueKernelHandle event_, slot_;
    HANDLE wait_ = nullptr;
    HWND window_ = nullptr;
    UINT message_ = 0;
};

// The receiving side: what arrived, with a start's arguments, and the answer to a start.
enum class Kind { None, Start, StopHolding };
Kind Read(const COPYDATASTRUCT& data, std::vector<std::wstring>& arguments);
LRESULT Answer(const apply::Result& result);

}  // namespace handover
