// The About dialog's event handlers.
#include "about/about_ids.h"
#include "about/about_texts.h"
#include "about/frmAbout.h"
#include "about/sysinfo.h"
#include "assets/version.h"
#include "platform/app_info.h"
#include "platform/system_library.h"

#include <shellapi.h>

#include <string>

void FrmAbout::Form_Load() {
    ::SetWindowTextW(hwnd_, (std::wstring(about::texts::kCaptionPrefix) + platform::kAppTitle).c_str());
    const std::wstring version = about::texts::kVersionPrefix + std::to_wstring(HORLOMAT_VERSION_MAJOR) + L"." +
                                 std::to_wstring(HORLOMAT_VERSION_MINOR) + L"." +
                                 std::to_wstring(HORLOMAT_VERSION_REVISION);
    ::SetWindowTextW(Control(about::ids::kVersion), version.c_str());
    ::SetWindowTextW(Control(about::ids::kTitle), platform::kAppTitle);
}

void FrmAbout::picIcon_Click() {
    // Whether a browser comes up or not, the dialog says nothing about it.
    static auto* const shellExecute =
        platform::BindSystemFunction<decltype(::ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
    if (shellExecute) shellExecute(hwnd_, "Open", about::texts::kMakerWebPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void FrmAbout::cmdOK_Click() {
    ::EndDialog(hwnd_, IDOK);
}

void FrmAbout::cmdSysInfo_Click() {
    about::StartSysInfo(hwnd_);
}
