// Talking to the other Horlomats on this desktop. A start with a date hands its arguments to the Horlomat of the same
// folder, which takes them as its own start would; /echtzeit asks every Horlomat to stop holding. What is sent, to
// whom, and how the receiver is known to be Horlomat, is all here; the window only takes what arrives.
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

// Asks every Horlomat on this desktop, of any folder, to stop holding. No answer is believed.
void StopAllHolds();

// The receiving side: what arrived, with a start's arguments, and the answer to a start.
enum class Kind { None, Start, StopHolding };
Kind Read(const COPYDATASTRUCT& data, std::vector<std::wstring>& arguments);
LRESULT Answer(const apply::Result& result);

}  // namespace handover
