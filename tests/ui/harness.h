// Drives the real Horlomat.exe from outside, as a Windows UI test would: each case gets a folder of its own with a
// copy of the program, so its settings file starts as the case wants it.
#pragma once

#include "app/control_ids.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ui {

namespace id = ::ids;

inline constexpr wchar_t kMainTitle[] = L"Tesmar-Software Horlomat setzten";
inline constexpr wchar_t kAboutTitle[] = L"Info zu Horlomat";

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0);

// The wall clock every process of this test run sees (libfaketime reads the file on each clock reading). Times are
// local, as libfaketime takes them.
class PinnedClock {
public:
    explicit PinnedClock(const SYSTEMTIME& local);
    ~PinnedClock();  // the clock runs on in real time again
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

    static SYSTEMTIME LocalFromUtc(const SYSTEMTIME& utc);
};

std::wstring BuiltExePath();  // the Horlomat.exe under test

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
    // Starts the sandbox's program and waits for its main window. SW_SHOWNOACTIVATE leaves the foreground alone,
    // for cases that run beside others which watch the keyboard focus.
    explicit App(const Sandbox& sandbox, int showCommand = SW_SHOWDEFAULT);
    ~App();  // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND Main() const { return main_; }
    HWND Item(int id) const { return ::GetDlgItem(main_, id); }
    DWORD ProcessId() const { return processId_; }

    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text) const;
    std::wstring Field(int index) const { return Text(id::kTxtZeit + index); }
    void SetFields(const std::wstring& year, const std::wstring& month, const std::wstring& day,
                   const std::wstring& hour, const std::wstring& minute) const;
    bool HoldChecked() const;
    void SetHold(bool on) const;

    void Click(int id) const;      // returns once the handler has run
    void PostClick(int id) const;  // for handlers that open a modal box
    void Menu(wchar_t menuKey, wchar_t itemKey) const;  // Alt+menuKey, then itemKey
    HWND Focus() const;

    bool WaitForExit(DWORD milliseconds) const;
    bool Running() const { return !WaitForExit(0); }
    // A visible top-level window of this process other than the main window, with this title.
    HWND WaitForOtherWindow(const std::wstring& title, DWORD milliseconds) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND main_ = nullptr;
};

// Visible top-level windows of the app's process with this title (any when empty) and class (any when empty).
std::vector<HWND> WindowsOf(const App& app, const std::wstring& title, const std::wstring& className = L"#32770");
std::wstring BoxText(HWND box);  // a message box's text
HWND OpenAbout(const App& app);  // through its menu command

// The stand-in tool (tests/tools/fake_msinfo.cpp) copied to `path`, and the command lines it was started with.
void PlaceFakeTool(const std::wstring& path);
std::vector<std::wstring> ToolRuns(const std::wstring& path);

// One registry value, set as a case needs it; what was there before is put back when the object goes.
class RegistryValue {
public:
    RegistryValue(HKEY root, std::string key, std::string name);
    ~RegistryValue();
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

    void Set(DWORD type, const std::string& bytes) const;
    void SetText(const std::string& text) const { Set(REG_SZ, text + '\0'); }
    void Delete() const;

private:
    HKEY root_;
    std::string key_, name_;
    DWORD type_ = REG_NONE;
    std::optional<std::string> saved_;
};

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);  // to the ANSI code page
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// Polls `condition` until it holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds) {
    for (const ULONGLONG end = ::GetTickCount64() + milliseconds;; ::Sleep(20)) {
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
    }
}

}  // namespace ui
