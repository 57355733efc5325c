// Drives the real Horlomat.exe from outside, as a Windows UI test would. Each case gets a folder of its own with a
// copy of the program, so its settings file starts as the case wants it.
#pragma once

#include "about/frmAbout.h"
#include "app/frmTime.h"
#include "platform/text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace ui {

using Fields = std::array<std::wstring, 5>;  // year to minute
// Where a set must succeed the clock is pinned to this minute: Wine takes a "change" to the time it has.
inline const Fields kPinnedFields = {L"2026", L"12", L"5", L"14", L"30"};
inline constexpr wchar_t kPinnedLabel[] = L"05.12.2026, 14:30:00";

inline std::string Narrow(const std::wstring& text) {  // to the ANSI code page
    return platform::ToAnsi(text);
}
std::wstring WindowText(HWND window);
std::optional<std::string> ReadFile(const std::wstring& path);  // nullopt when there is no file
void WriteFile(const std::wstring& path, const std::string& bytes);
inline std::size_t Size(std::size_t reduced, std::size_t full) {  // full in the soak run (HORLOMAT_SOAK=1)
    return std::getenv("HORLOMAT_SOAK") ? full : reduced;
}

// Polls `condition` until it holds or the time is up, handling this thread's messages meanwhile, so that a window
// of the test answers. One thread at a time: RunWith on several threads at once was seen to hang under Wine.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds = 10000) {
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);; ::Sleep(5)) {
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&msg);
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
    }
}

// The wall clock every process of this run sees, at a UTC minute (libfaketime reads its file at each reading).
struct PinnedClock {
    explicit PinnedClock(WORD year = 2026, WORD month = 12, WORD day = 5, WORD hour = 14, WORD minute = 30);
    ~PinnedClock();  // the clock runs on in real time again
    // From the first call on, the clock runs on from the minute, `back` seconds behind.
    void RunOn(double back = 0);
    SYSTEMTIME utc;
    std::optional<double> ahead;  // of the real clock, in seconds, once it runs on
};

struct Sandbox {
    Sandbox();
    ~Sandbox();
    std::wstring Exe() const { return folder + L"\\Horlomat.exe"; }
    std::wstring Ini() const { return folder + L"\\Horlomat.ini"; }
    void WriteIni(const std::string& bytes) const { WriteFile(Ini(), bytes); }
    std::optional<std::string> ReadIni() const { return ReadFile(Ini()); }
    std::wstring folder;
};

class App {
public:
    // Starts the program, with `arguments` after its path, and waits for its main window.
    explicit App(const Sandbox& sandbox, const std::wstring& exe = {}, const std::wstring& workingFolder = {},
                 WORD show = SW_SHOWNORMAL, const std::wstring& arguments = {});
    ~App();  // ends the process if it still runs

    HWND Main() const { return main_; }
    HWND Item(int id) const { return ::GetDlgItem(main_, id); }
    DWORD ProcessId() const { return processId_; }
    std::wstring Text(int id) const { return WindowText(Item(id)); }
    std::wstring FieldTexts() const;  // the five fields' texts, year to minute, joined by |
    void SetText(int id, const std::wstring& text) const;
    void SetFields(const Fields& fields) const;
    bool Ticked() const { return ::SendMessageW(Item(ids::chkRegel), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetTicked(bool on) const { ::SendMessageW(Item(ids::chkRegel), BM_SETCHECK, on, 0); }

    void Post(int id) const { ::PostMessageW(main_, WM_COMMAND, id, reinterpret_cast<LPARAM>(Item(id))); }
    void Tick() const { ::PostMessageW(main_, WM_TIMER, ids::Timer1, 0); }
    void Menu(wchar_t menuKey, wchar_t itemKey) const;  // Alt+menuKey, then itemKey
    bool Idle() const;  // true once the program has handled everything posted and sent before; false when it ended
    HWND Focus() const;
    void Key(UINT key) const;  // pressed and released on the control with the focus
    bool WaitForExit(DWORD milliseconds) const { return ::WaitForSingleObject(process_, milliseconds) == 0; }

    std::vector<HWND> Windows(const std::wstring& title = {}) const;  // as below, but the main window
    HWND WaitForWindow(const std::wstring& title) const;
    HWND OpenAbout() const { return (Post(ids::mnuAbout), WaitForWindow(L"Info zu Horlomat")); }
    // Once the program is idle, closes each message box it shows with OK until none comes; their texts.
    std::vector<std::wstring> CloseBoxes() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

// A process's top-level windows (for 0 any process's message boxes) but `except`: with this title, hidden too (as a
// new box is), or all visible.
std::vector<HWND> Windows(DWORD processId, const std::wstring& title, HWND except = nullptr);
inline std::vector<HWND> App::Windows(const std::wstring& title) const {
    return ui::Windows(processId_, title, main_);
}

// What Horlomat told on its standard output and error, or with none in message boxes (each closed with OK), started
// by the test or a stand-in Explorer; the exit code is STILL_ACTIVE when it did not end in time.
struct Told {
    DWORD exitCode = STILL_ACTIVE;
    std::wstring text, error;
};
enum class Output { Pipe, None, Explorer };
Told RunWith(const Sandbox& sandbox, const std::wstring& arguments, Output how = Output::Pipe, std::wstring exe = {});

// Starts Horlomat on `desktop` or this one and does not wait; it ends with this program at the latest.
HANDLE Launch(const Sandbox& sandbox, const std::wstring& arguments, const wchar_t* desktop = nullptr);

// What a screen reader announces for the window: the name of its client object.
std::wstring AccessibleName(HWND window);

// What a process holds, counted from outside, as under Wine GetGuiResources and GetProcessHandleCount give 0.
// `cached` counts the DCs, regions and surfaces, which Wine's cache of window DCs holds; `gdi` the other GDI objects.
struct Held {
    long long gdi = -1, cached = -1, handles = -1, windows = -1;
};
Held Measure(DWORD processId);

// The stand-in tool (tests/fake_tool.cpp) copied to `path`, and the command lines it was started with.
void PlaceTool(const std::wstring& path);
std::vector<std::wstring> ToolRuns(const std::wstring& path);

// A registry value of the test prefix, set as a case needs it (nullopt deletes it). Each case sets what it reads,
// so nothing a killed run leaves behind decides the next.
void SetValue(HKEY root, const char* key, const char* name, std::optional<std::string> bytes, DWORD type = REG_SZ);

}  // namespace ui
