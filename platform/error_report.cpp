#include "platform/error_report.h"

#include "platform/app_info.h"

namespace platform {
namespace {

bool reportOpen = false;

std::wstring SystemMessage(DWORD errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) text = L"Fehlercode " + std::to_wstring(errorCode);
    return text;
}

}  // namespace

void ReportFailure(HWND owner, const std::wstring& what, DWORD errorCode) {
    if (reportOpen) return;
    std::wstring text = what;
    if (errorCode != 0) text += L"\n\n" + SystemMessage(errorCode);
    reportOpen = true;
    ::MessageBoxW(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
    reportOpen = false;
}

bool IsFailureReportOpen() {
    return reportOpen;
}

}  // namespace platform
