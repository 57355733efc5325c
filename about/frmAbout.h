// The About dialog: the program's title and version, the maker's logo as a
// link to his web page, a legal notice, OK and "Systeminfo...".
#pragma once

#include "platform/form.h"

#include <windows.h>

// Control identifiers of the About dialog. OK is IDOK, so Enter presses it.
namespace about_ids {

inline constexpr int cmdOK = IDOK;
inline constexpr int picIcon = 301;
inline constexpr int cmdSysInfo = 302;
inline constexpr int lblTitle = 303;
inline constexpr int lblVersion = 304;
inline constexpr int lblDisclaimer = 305;

}  // namespace about_ids

class FrmAbout {
public:
    // Shows the dialog modally over `owner`, loaded anew, and returns once it is closed.
    static void Show(HINSTANCE instance, HWND owner);

private:
    explicit FrmAbout(HINSTANCE instance, HWND owner);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int notification);
    void LoadLogo();
    void DrawLogo(const DRAWITEMSTRUCT& item) const;
    void PaintRule();
    void CenterOverOwner();

    // Event handlers, one per event.
    void Form_Load();
    void picIcon_Click();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }

    HINSTANCE instance_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    form::Form form_;
    platform::UniqueBitmap logo_;
    HCURSOR hand_ = nullptr;  // a resource cursor: the system frees it
};
