// Measures Horlomat from outside, the way the benchmark script needs it:
//   perf_probe startup <runs> <name> <exe> [<name> <exe>...]   start-up time and memory, alternating
//   perf_probe applies <count> <exe>                           memory before and after many applies
// Prints plain "name value" lines; the script turns them into a report.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <random>
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
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", exe.c_str(), ::GetLastError());
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

void PrintMemory(const std::string& name, HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    std::printf("%s_working_set_kb %zu\n", name.c_str(), counters.WorkingSetSize / 1024);
    std::printf("%s_peak_working_set_kb %zu\n", name.c_str(), counters.PeakWorkingSetSize / 1024);
    std::printf("%s_private_kb %zu\n", name.c_str(), counters.PrivateUsage / 1024);
}

// Linear between the two nearest of the sorted values.
double Quantile(const std::vector<double>& sorted, double q) {
    if (sorted.empty()) return 0;
    const double at = q * static_cast<double>(sorted.size() - 1);
    const size_t below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

struct Program {
    std::string name;
    std::wstring exe;
};

int Startup(int runs, const std::vector<Program>& programs) {
    const size_t n = programs.size();
    std::vector<std::vector<double>> times(n);
    std::vector<size_t> order(n);
    for (size_t p = 0; p < n; ++p) order[p] = p;
    std::mt19937 random(1);  // the same orders in every run
    // Round 0 warms the caches; the last one only reads memory, as its pause
    // would delay the next start. Neither is timed.
    for (int round = 0; round <= runs + 1; ++round) {
        // A fresh order each round, so that no program always follows the same one.
        std::shuffle(order.begin(), order.end(), random);
        for (size_t p : order) {
            Started s = Start(programs[p].exe);
            if (round > 0 && round <= runs) times[p].push_back(s.milliseconds);
            if (round == runs + 1) {
                ::Sleep(1000);
                PrintMemory(programs[p].name, s.info.hProcess);
            }
            Stop(s);
            ::Sleep(100);  // let the ended process leave the CPU before the next start
        }
    }
    for (size_t p = 0; p < n; ++p) {
        std::sort(times[p].begin(), times[p].end());
        const char* name = programs[p].name.c_str();
        std::printf("%s_startup_median_ms %.1f\n", name, Quantile(times[p], 0.5));
        std::printf("%s_startup_q1_ms %.1f\n", name, Quantile(times[p], 0.25));
        std::printf("%s_startup_q3_ms %.1f\n", name, Quantile(times[p], 0.75));
    }
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
    if (command == L"startup" && argc >= 5 && argc % 2 == 1) {
        std::vector<Program> programs;
        for (int i = 3; i < argc; i += 2) {
            // Names become parts of the printed keys: plain ASCII.
            std::string name;
            for (const wchar_t* c = argv[i]; *c; ++c) name += static_cast<char>(*c);
            programs.push_back({name, argv[i + 1]});
        }
        return Startup(number, programs);
    }
    if (command == L"applies" && argc == 4) return Applies(number, argv[3]);
    std::fprintf(stderr, "usage: perf_probe startup|applies ...\n");
    return 2;
}
