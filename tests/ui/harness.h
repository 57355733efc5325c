// Drives the real Horlomat.exe from outside, as a Windows UI test would:
// each case gets a folder of its own with a copy of the program, so its
// settings file starts as the case wants it.
#pragma once

#include "app/control_ids.h"

#include <windows.h>

#include <optional>
#include <string>

namespace ui {

namespace id = ::ids;

inline constexpr wchar_t kMainTitle[] = L"Tesmar-Software Horlomat setzten";

// The wall clock every process of this test run sees (libfaketime reads the
// file on each clock reading). Times are local, as libfaketime takes them.
class PinnedClock {
public:
    explicit PinnedClock(const SYSTEMTIME& local);
    ~PinnedClock();  // the clock runs on in real time again
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

    static SYSTEMTIME LocalFromUtc(const SYSTEMTIME& utc);
};

// The Horlomat.exe under test, as built.
std::wstring BuiltExePath();

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0);

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring ExePath() const { return folder_ + L"\\Horlomat.exe"; }
    std::wstring IniPath() const { return folder_ + L"\\Horlomat.ini"; }

    void WriteIni(const std::string& bytes) const;
    std::optional<std::string> ReadIni() const;  // nullopt when there is no file

private:
    std::wstring folder_;
};

class App {
public:
    // Starts the sandbox's Horlomat.exe and waits until its main window is up.
    // SW_SHOWNOACTIVATE leaves the foreground alone, for cases that run beside
    // others which watch the keyboard focus.
    explicit App(const Sandbox& sandbox, int showCommand = SW_SHOWDEFAULT);
    ~App();  // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND Main() const { return main_; }
    HWND Item(int id) const { return ::GetDlgItem(main_, id); }
    DWORD ProcessId() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }

    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text) const;
    std::wstring Field(int index) const { return Text(id::kTxtZeit + index); }
    void SetFields(const std::wstring& year, const std::wstring& month, const std::wstring& day,
                   const std::wstring& hour, const std::wstring& minute) const;
    bool HoldChecked() const;
    void SetHold(bool on) const;

    // Presses a button and returns once its handler has run.
    void Click(int id) const;
    // Presses a button without waiting (for handlers that open a modal box).
    void PostClick(int id) const;
    // Keyboard access to the menu bar: Alt+menuKey, then itemKey.
    void Menu(wchar_t menuKey, wchar_t itemKey) const;
    HWND Focus() const;

    bool WaitForExit(DWORD milliseconds) const;
    bool Running() const { return !WaitForExit(0); }

    // A top-level window of this process other than the main window, once one
    // with the given title (or any title when empty) is visible.
    HWND WaitForOtherWindow(const std::wstring& title, DWORD milliseconds) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND main_ = nullptr;
};

std::wstring Widen(const std::string& utf8);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
RECT ClientRectIn(HWND parent, HWND child);  // child's rectangle in parent's client coordinates

// Polls `condition` until it holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
        ::Sleep(20);
    }
}

}  // namespace ui
