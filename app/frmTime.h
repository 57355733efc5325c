// The main window: five date and time fields, "Zeit setzen", "Computerzeit",
// the hold check box, and the once-a-minute timer.
#pragma once

#include "app/layout.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <string>

class FrmTime {
public:
    // Creates the window, arms Timer1 and runs the load step; the window is not
    // shown yet. Returns null when the window cannot be created.
    HWND Create(HINSTANCE instance);
    void Show(int showCommand);

    // Keyboard handling of the dialog manager (Tab, arrows, mnemonics) for the
    // main window; true when the message was used up.
    bool PreTranslateMessage(MSG& msg);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void ApplyLayout();  // after a DPI change
    void SetControlFont(const layout::Control& control, HWND window, HFONT font, bool redraw) const;
    void OnCommand(int id, int notification);
    void OnDpiChanged(int dpi, const RECT& suggested);

    // Event handlers, one per event.
    void Form_Load();
    void cmdZeitSetzen_Click();
    void cmdZeitDialog_Click();
    void mnuEnde_Click();
    void mnuAbout_Click();
    void Timer1_Timer();

    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }
    std::wstring FieldText(int index) const;
    void SetFieldText(int index, const std::wstring& text);
    bool IsHoldChecked() const;

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    platform::UniqueFont font_;

    // The record handed to the clock; keeps the values of the last apply.
    SYSTEMTIME NewTime{};
    // Set while an apply runs, so a tick arriving from a nested message loop
    // (a message box) never starts a second one.
    bool applying_ = false;
};
