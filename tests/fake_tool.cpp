// Stands in for the programs Horlomat starts (the system information tool, rundll32, a browser, a test run's
// program): it appends its working folder and command line, "<folder>><command line>" in UTF-16, to "<its own
// path>.runs", says "Programm" on its standard output, waits FAKE_TOOL_WAIT milliseconds and ends with
// FAKE_TOOL_EXIT. Named explorer.exe, it stands in for Explorer: it starts the rest of its command line and ends with
// that program's exit code. With "/dienst N" it is a service that takes N milliseconds to stop, or with N 0xFFFFFFFF
// takes no request to stop until it was sent control 128.
#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <string>

namespace {

SERVICE_STATUS_HANDLE service = nullptr;
SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, SERVICE_RUNNING, SERVICE_ACCEPT_STOP, 0, 0, 0, 0};
HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
DWORD stopping = 0;  // milliseconds; MAXDWORD: it takes no request to stop until control 128 came

void WINAPI Serve(DWORD, LPWSTR*) {
    service = ::RegisterServiceCtrlHandlerW(L"", [](DWORD control) {
        if (control == 128) status.dwControlsAccepted = SERVICE_ACCEPT_STOP, ::SetServiceStatus(service, &status);
        if (control != SERVICE_CONTROL_STOP) return;
        status.dwCurrentState = SERVICE_STOP_PENDING;
        status.dwWaitHint = 30000;
        ::SetServiceStatus(service, &status);
        ::SetEvent(stop);
    });
    const std::wstring line = ::GetCommandLineW();
    stopping = std::wcstoul(line.c_str() + line.find(L"/dienst ") + 8, nullptr, 0);
    if (stopping == MAXDWORD) status.dwControlsAccepted = 0;
    ::SetServiceStatus(service, &status);
    ::WaitForSingleObject(stop, INFINITE);
    ::Sleep(stopping == MAXDWORD ? 0 : stopping);
    status.dwCurrentState = SERVICE_STOPPED;
    ::SetServiceStatus(service, &status);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (std::wstring(::GetCommandLineW()).find(L" /dienst ") != std::wstring::npos) {
        SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(L""), Serve}, {nullptr, nullptr}};
        return !::StartServiceCtrlDispatcherW(table);
    }
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    std::wstring commandLine = ::GetCommandLineW();
    if (std::filesystem::path(self).filename() == L"explorer.exe") {
        std::wstring rest = commandLine.substr(commandLine.find(L"\" ") + 2);  // started by its quoted path
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        DWORD code = 255;
        if (::CreateProcessW(nullptr, rest.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            ::WaitForSingleObject(info.hProcess, INFINITE);
            ::GetExitCodeProcess(info.hProcess, &code);
        }
        return static_cast<int>(code);
    }
    const std::wstring line = std::filesystem::current_path().wstring() + L">" + commandLine + L"\n";
    HANDLE file = ::CreateFileW((self + L".runs").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), "Programm\r\n", 10, &written, nullptr);
    if (const wchar_t* wait = _wgetenv(L"FAKE_TOOL_WAIT")) ::Sleep(std::wcstoul(wait, nullptr, 0));
    const wchar_t* code = _wgetenv(L"FAKE_TOOL_EXIT");
    return code ? static_cast<int>(std::wcstoul(code, nullptr, 0)) : 0;
}
