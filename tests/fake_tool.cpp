// Stands in for the programs Horlomat starts (the system information tool, rundll32, a browser): it appends its
// working folder and command line, "<folder>><command line>" in UTF-16, to "<its own path>.runs" and ends.
#include <windows.h>

#include <filesystem>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    const std::wstring line = std::filesystem::current_path().wstring() + L">" + ::GetCommandLineW() + L"\n";
    HANDLE file = ::CreateFileW((self + L".runs").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
