// The About dialog: the program's title and version, the maker's logo as a
// link to his web page, a legal notice, OK and "Systeminfo...".
#pragma once

#include "platform/unique_handle.h"

#include <windows.h>

class FrmAbout {
public:
    // Shows the dialog modally over `owner`, loaded anew, and returns once it
    // is closed. While it is open a further call only brings it to the front.
    static void Show(HINSTANCE instance, HWND owner);

private:
    FrmAbout(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog();
    void CreateControls();
    void ApplyLayout();
    void CenterOverOwner();
    void PaintRule();
    void OnCommand(int id, int notification);
    bool OnSetCursor(HWND window);
    INT_PTR OnCtlColorStatic(HDC dc, HWND control);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void ReleaseLogo();

    // Event handlers, one per event.
    void Form_Load();
    void picIcon_Click();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }

    static HWND open_;

    HINSTANCE instance_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    platform::UniqueFont font_;
    platform::UniqueBitmap logo_;
    HCURSOR hand_ = nullptr;  // a resource cursor: the system frees it
};
