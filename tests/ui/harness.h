// Drives the real Horlomat.exe from outside, as a Windows UI test would. Each case gets a folder of its own with a
// copy of the program, so its settings file starts as the case wants it.
#pragma once

#include "about/frmAbout.h"
#include "app/frmTime.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace ui {

inline constexpr wchar_t kMainTitle[] = L"Tesmar-Software Horlomat setzten";
inline constexpr wchar_t kUnavailable[] = L"Systeminformationen sind momentan nicht verfügbar";
using Fields = std::array<std::wstring, 5>;  // year to minute
// The clock is pinned to this minute where a case needs a set to succeed: Wine takes a "change" to the time it has.
inline const Fields kPinnedFields = {L"2026", L"12", L"5", L"14", L"30"};
inline constexpr wchar_t kPinnedLabel[] = L"05.12.2026, 14:30:00";

// The wall clock every process of this run sees (libfaketime reads the file at each reading), at a UTC time.
class PinnedClock {
public:
    explicit PinnedClock(WORD year = 2026, WORD month = 12, WORD day = 5, WORD hour = 14, WORD minute = 30);
    ~PinnedClock();  // the clock runs on in real time again
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;
};

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring Exe() const { return folder_ + L"\\Horlomat.exe"; }
    std::wstring Ini() const { return folder_ + L"\\Horlomat.ini"; }
    void WriteIni(const std::string& bytes) const;
    std::optional<std::string> ReadIni() const;  // nullopt when there is no file

private:
    std::wstring folder_;
};

class App {
public:
    // Starts the program and waits for its main window. SW_SHOWNOACTIVATE leaves the foreground alone.
    explicit App(const Sandbox& sandbox, int showCommand = SW_SHOWDEFAULT, const std::wstring& exe = {},
                 const std::wstring& workingFolder = {});
    ~App();  // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND Main() const { return main_; }
    HWND Item(int id) const { return ::GetDlgItem(main_, id); }
    DWORD ProcessId() const { return processId_; }
    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text) const;
    std::wstring Field(int index) const { return Text(ids::txtZeit + index); }
    void SetFields(const Fields& fields) const;
    bool Ticked() const { return ::SendMessageW(Item(ids::chkRegel), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetTicked(bool on) const;

    void Click(int id) const;      // returns once the handler has run
    void PostClick(int id) const;  // for handlers that open a modal box
    void Tick() const;             // a tick of Timer1, posted
    void Menu(wchar_t menuKey, wchar_t itemKey) const;  // Alt+menuKey, then itemKey
    bool Idle() const;  // returns once the program has handled everything posted before
    HWND Focus() const;
    void Key(UINT key) const;  // pressed and released on the control with the focus

    bool WaitForExit(DWORD milliseconds) const;
    bool Running() const { return !WaitForExit(0); }
    // Visible top-level windows of this process with this title (any when empty), the main window left out.
    std::vector<HWND> Windows(const std::wstring& title = {}) const;
    HWND WaitForWindow(const std::wstring& title, DWORD milliseconds = 10000) const;
    HWND OpenAbout() const;  // through its menu command

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

// What a screen reader announces for the window: the name of its client object.
std::wstring AccessibleName(HWND window);
std::wstring BoxText(HWND box);  // a message box's text
bool CloseBox(HWND box);         // with OK; true once it has gone

// The stand-in tool (tests/tools/fake_tool.cpp) copied to `path`, and the command lines it was started with.
void PlaceTool(const std::wstring& path);
std::vector<std::wstring> ToolRuns(const std::wstring& path);

// A registry value of the test prefix, set as a case needs it (nullopt deletes it). Each case sets what it reads,
// so nothing a killed run leaves behind decides the next.
void SetValue(HKEY root, const char* key, const char* name, std::optional<std::string> bytes, DWORD type = REG_SZ);
inline constexpr char kToolKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);  // to the ANSI code page
std::wstring WindowText(HWND window);

// Polls `condition` until it holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
    for (const ULONGLONG end = ::GetTickCount64() + milliseconds;; ::Sleep(10)) {
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
    }
}

}  // namespace ui
