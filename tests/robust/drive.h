// Driving Horlomat through many applies without ever blocking on one of its
// boxes, and telling a crash or a hang apart from an answer.
#pragma once

#include "tests/ui/harness.h"

#include <array>
#include <string>

namespace robust {

// The texts of the five fields, year to minute.
using Fields = std::array<std::wstring, 5>;

inline constexpr wchar_t kNotSet[] = L"Zeit konnte nicht gesetzt werden.";
// Put into the label before each press, to see whether the apply set it.
inline constexpr wchar_t kLabelMarker[] = L"\x2014 robust \x2014";

enum class Outcome {
    Set,        // the clock took the values: the label shows them
    Refused,    // the clock refused: the label shows kNotSet
    Rejected,   // a field held no number: a box said so, the label is unchanged
    Unchanged,  // no box and no label: nothing visible happened
    Hang,       // no answer in time
    Crash,      // the process ended, or Wine's crash dialog came up
};
const char* Name(Outcome outcome);

struct ApplyResult {
    Outcome outcome = Outcome::Unchanged;
    std::wstring label;
    std::wstring box;  // the text of the box, if one came up
};

// Presses "Zeit setzen" and returns once its handler has run, pressing OK on
// the box that a field without a number brings up.
ApplyResult PressZeitSetzen(const ui::App& app, DWORD hangMilliseconds);

// Sets the fields, then presses.
ApplyResult Apply(const ui::App& app, const Fields& fields, DWORD hangMilliseconds);

Fields ShownFields(const ui::App& app);

// True while Wine's crash dialog (winedbg) is up; closes it, so the crashed
// process can end.
bool CloseCrashDialogs();

// The folder of robust_tests.exe, where its helper programs are.
std::wstring TestsFolder();

// A helper program from TestsFolder(), ended when this goes.
class ToolProcess {
public:
    explicit ToolProcess(const std::wstring& exeName, const std::wstring& arguments = L"");
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace robust
