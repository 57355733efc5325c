// The main window: five date and time fields, "Zeit setzen", "Computerzeit",
// the check box that holds the clock, and the once-a-minute timer.
#pragma once

#include "app/apply.h"
#include "app/commandline.h"
#include "app/handover.h"
#include "app/truetime.h"
#include "platform/form.h"

#include <windows.h>

#include <optional>
#include <string>

// Control and menu identifiers. 1 and 2 stay free: the dialog manager sends
// them for Enter and Esc, and this window has neither a default nor a cancel
// button.
namespace ids {

inline constexpr int cmdZeitSetzen = 101;
inline constexpr int cmdZeitDialog = 102;
inline constexpr int lblGesetzteZeit = 103;
inline constexpr int Label1 = 104;
inline constexpr int Frame1 = 105;
inline constexpr int chkRegel = 106;
// txtZeit(i) is txtZeit + i, lblZeit(i) is lblZeit + i; i = year, month, day, hour, minute.
inline constexpr int txtZeit = 110;
inline constexpr int lblZeit = 120;
inline constexpr int mnuEnde = 201;
inline constexpr int mnuAbout = 202;
inline constexpr UINT_PTR Timer1 = 1;
inline constexpr UINT_PTR Recheck = 2;           // with /laufend, a second after the clock was stepped
inline constexpr UINT StopHolding = WM_APP + 1;  // every hold on the machine is asked to end

}  // namespace ids

class FrmTime {
public:
    // `quiet`: a test run's, never shown: what it would show in a box goes to the standard error, and it takes no
    // start handed over.
    explicit FrmTime(bool quiet = false);

    // Creates the window, arms Timer1 and runs the load step; the window is not
    // shown yet. Returns null when the window cannot be created.
    HWND Create(HINSTANCE instance);
    void Show(int showCommand);

    // Tab and the other keys of the dialog manager; true when the message was used up.
    bool PreTranslateMessage(MSG& msg);

    // A start with a date: the fields and the box as asked, and "Zeit setzen" pressed; with its boxes, or without.
    void PressWith(const cmdline::Request& request);
    apply::Result Take(const cmdline::Request& request);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int notification);
    LRESULT OnCopyData(const COPYDATASTRUCT& data);

    // Event handlers, one per event; the apply and the tick are in apply.cpp.
    void Form_Load();
    void cmdZeitSetzen_Click();
    void Timer1_Timer();
    void cmdZeitDialog_Click();
    void mnuEnde_Click();
    void mnuAbout_Click();

    // The five fields and the box as `settings` has them, and as they are shown.
    void ShowSettings(const global::Settings& settings);
    global::Settings ShownSettings() const;
    // The apply behind "Zeit setzen", without any message box, and its result in the label.
    apply::Result cmdZeitSetzen_Press();
    void ShowResult(const apply::Result& result);
    // With /laufend, the tick, or `soon` after the clock was stepped: the clock set again only where it is off the
    // running time, and not without end where something keeps pulling it away.
    void RunOn(bool soon = false);
    void Recheck_Timer();
    // Asked by /echtzeit, or by a start that may set the clock where this one may not.
    void StopHolding();

    // Tells the user what could not be done, with the system's words for
    // `error` when one is given. A box runs a message loop of its own in which
    // the ticks go on; a report while one is open is dropped, so a failure that
    // comes back every minute never stacks boxes. False when dropped.
    bool Report(const std::wstring& what, DWORD error = 0);
    // The box an apply's result calls for, if any.
    void Report(const apply::Result& result);

    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }
    bool chkRegelTicked() const { return ::SendMessageW(Control(ids::chkRegel), BM_GETCHECK, 0, 0) != BST_UNCHECKED; }

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    form::Form form_;
    bool quiet_ = false;
    bool reporting_ = false;
    bool notStoredTold_ = false;
    // The record handed to the clock; keeps the values of the last apply.
    SYSTEMTIME NewTime{};
    // With /laufend: the minute set, and Windows' count then.
    std::optional<truetime::Reading> running_;
    int soonSets_ = 0;             // sets between ticks since the last tick
    int fight_ = 0;                // sets since a tick last found the clock right
    handover::Listener listener_;  // while the box is ticked
};
