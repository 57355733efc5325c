#include "tests/harness.h"

#include <filesystem>

// On the plain X display every hidden window waits 2 s for a window manager that is not there; in a virtual desktop
// of Wine's own a box closes in milliseconds and the focus is Wine's alone, so the tests run again inside one.
// HORLOMAT_DESKTOP=default keeps a run where it is: it must not take the focus from a desktop beside it.
int main(int argc, char** argv) {
    wchar_t result[MAX_PATH] = {}, desktop[16] = {};
    const bool stay = ::GetEnvironmentVariableW(L"HORLOMAT_DESKTOP", desktop, 16) && !wcscmp(desktop, L"default");
    if (stay || ::GetEnvironmentVariableW(L"HORLOMAT_RESULT", result, MAX_PATH)) {
        // Without Wine's crash dialog a crashed program ends. Set on every run, in the test prefix.
        ui::SetValue(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog", std::string(4, '\0'), REG_DWORD);
        testing::InitGoogleTest(&argc, argv);
        const int code = RUN_ALL_TESTS();
        if (!stay) ui::WriteFile(result, std::to_string(code));  // explorer.exe does not pass the exit code on
        return code;
    }
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring id = std::to_wstring(::GetCurrentProcessId());
    const std::wstring file = std::filesystem::temp_directory_path().wstring() + L"horlomat-result-" + id;
    ::SetEnvironmentVariableW(L"HORLOMAT_RESULT", file.c_str());
    std::wstring command = L"explorer.exe /desktop=HorlomatTests" + id + L",1024x768 \"" + self + L"\"";
    for (int i = 1; i < argc; ++i) command += L" \"" + std::filesystem::path(argv[i]).wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        ::WaitForSingleObject(info.hProcess, INFINITE);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    const std::optional<std::string> code = ui::ReadFile(file);
    ::DeleteFileW(file.c_str());
    if (!code) std::fprintf(stderr, "no result from the desktop of its own\n");
    return code ? std::atoi(code->c_str()) : 1;
}
