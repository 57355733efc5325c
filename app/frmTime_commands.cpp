// "Computerzeit" and the menu items.
#include "about/frmAbout.h"
#include "app/frmTime.h"
#include "app/texts.h"
#include "platform/error_report.h"
#include "platform/process.h"

void FrmTime::cmdZeitDialog_Click() {
    // rundll32 is taken from the system folder by its full path and started
    // there, so a rundll32.exe or shell32.dll planted beside Horlomat.exe or in
    // the working folder is never run instead.
    const std::wstring systemDirectory = platform::SystemDirectory();
    const std::wstring rundll32 = systemDirectory + L"\\rundll32.exe";
    const std::wstring commandLine = L"\"" + rundll32 + L"\" shell32.dll,Control_RunDLL timedate.cpl,,0";
    if (const DWORD error = platform::StartProcess(rundll32, commandLine, systemDirectory)) {
        platform::ReportFailure(hwnd_, texts::kPanelFailed, error);
    }
}

void FrmTime::mnuEnde_Click() {
    // Ends at once; nothing is saved on the way out.
    ::DestroyWindow(hwnd_);
}

void FrmTime::mnuAbout_Click() {
    FrmAbout::Show(instance_, hwnd_);
}
