// Measures Horlomat from outside, the way the benchmark script needs it:
//   perf_probe startup <runs> <exe> <other exe>   start-up time and memory, alternating
//   perf_probe applies <count> <exe>              memory before and after many applies
// Prints plain "name value" lines; the script turns them into a report.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Started {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;
    double milliseconds = 0;
};

struct FindData {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != data->pid || !::IsWindowVisible(window)) return TRUE;
    data->found = window;
    return FALSE;
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Time from CreateProcess until the first window is visible and the program
// waits for input.
Started Start(const std::wstring& exe) {
    Started s;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double begin = Now();
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &s.info)) {
        std::fwprintf(stderr, L"cannot start %ls\n", exe.c_str());
        std::exit(1);
    }
    ::WaitForInputIdle(s.info.hProcess, 30000);
    FindData data{s.info.dwProcessId, nullptr};
    for (int i = 0; i < 30000 && !data.found; ++i) {
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&data));
        if (!data.found) ::Sleep(1);
    }
    s.milliseconds = Now() - begin;
    s.window = data.found;
    return s;
}

void Stop(Started& s) {
    ::TerminateProcess(s.info.hProcess, 0);
    ::WaitForSingleObject(s.info.hProcess, 10000);
    ::CloseHandle(s.info.hProcess);
    ::CloseHandle(s.info.hThread);
}

void PrintMemory(const char* name, HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    std::printf("%s_working_set_kb %zu\n", name, counters.WorkingSetSize / 1024);
    std::printf("%s_peak_working_set_kb %zu\n", name, counters.PeakWorkingSetSize / 1024);
    std::printf("%s_private_kb %zu\n", name, counters.PrivateUsage / 1024);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Startup(int runs, const std::wstring& horlomat, const std::wstring& other) {
    std::vector<double> ours, theirs;
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            const bool isOurs = (i + which) % 2 == 0;  // alternate who goes first
            Started s = Start(isOurs ? horlomat : other);
            (isOurs ? ours : theirs).push_back(s.milliseconds);
            if (i == runs - 1) {
                ::Sleep(1000);
                PrintMemory(isOurs ? "horlomat" : "other", s.info.hProcess);
            }
            Stop(s);
        }
    }
    std::printf("horlomat_startup_median_ms %.1f\n", Median(ours));
    std::printf("other_startup_median_ms %.1f\n", Median(theirs));
    std::printf("startup_ratio %.2f\n", Median(ours) / Median(theirs));
    return 0;
}

int Applies(int count, const std::wstring& exe) {
    Started s = Start(exe);
    PrintMemory("before", s.info.hProcess);
    HWND button = ::GetDlgItem(s.window, 101);  // "Zeit setzen"
    for (int i = 0; i < count; ++i) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(s.window, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), reinterpret_cast<LPARAM>(button),
                              SMTO_ABORTIFHUNG, 10000, &result);
    }
    PrintMemory("after", s.info.hProcess);
    Stop(s);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    const int number = argc > 2 ? _wtoi(argv[2]) : 0;
    if (command == L"startup" && argc == 5) return Startup(number, argv[3], argv[4]);
    if (command == L"applies" && argc == 4) return Applies(number, argv[3]);
    std::fprintf(stderr, "usage: perf_probe startup|applies ...\n");
    return 2;
}
