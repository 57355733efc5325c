// On the plain X display every hidden window waits 2 s for a window manager that is not there; in a virtual desktop
// of Wine's own a box closes in milliseconds, so the suite runs again inside one. That desktop covers the screen:
// HORLOMAT_ROBUST_DESKTOP=default keeps a run that opens no boxes where tests beside it read the screen.
#include <cstdio>
#include <cstring>

#include "tests/robust/robust.h"

int main(int argc, char** argv) {
    wchar_t result[MAX_PATH] = {}, desktop[16] = {};
    const bool stay =
        ::GetEnvironmentVariableW(L"HORLOMAT_ROBUST_DESKTOP", desktop, 16) && !wcscmp(desktop, L"default");
    if (stay || ::GetEnvironmentVariableW(L"HORLOMAT_ROBUST_RESULT", result, MAX_PATH)) {
        // Without Wine's crash dialog a crashed program ends. The hold beside the rest leaves the setting alone, so
        // that it cannot put it back while the others run.
        std::optional<ui::RegistryValue> crashDialog;
        if (!stay) crashDialog.emplace(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog");
        if (!stay) crashDialog->Set(REG_DWORD, std::string(4, '\0'));
        testing::InitGoogleTest(&argc, argv);
        const int code = RUN_ALL_TESTS();
        std::printf("\n%s", robust::summary.c_str());
        FILE* file = stay ? nullptr : _wfopen(result, L"w");  // explorer.exe does not pass the exit code on
        if (file) std::fprintf(file, "%d\n", code);
        if (file) std::fclose(file);
        return code;
    }
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::GetTempPathW(MAX_PATH, result);
    const std::wstring id = std::to_wstring(::GetCurrentProcessId()), file = result + (L"horlomat-robust-" + id);
    ::SetEnvironmentVariableW(L"HORLOMAT_ROBUST_RESULT", file.c_str());
    std::wstring command = L"explorer.exe /desktop=HorlomatRobust" + id + L",1024x768 \"" + self + L"\"";
    for (int i = 1; i < argc; ++i) command += L" \"" + std::wstring(argv[i], argv[i] + std::strlen(argv[i])) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        ::WaitForSingleObject(info.hProcess, INFINITE);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    int code = 1;
    FILE* in = _wfopen(file.c_str(), L"r");
    if (!in || std::fscanf(in, "%d", &code) != 1) std::fprintf(stderr, "no result from the desktop of its own\n");
    if (in) std::fclose(in);
    ::DeleteFileW(file.c_str());
    return code;
}
