// On the plain X display every hidden window waits 2 s for a window manager that is not there; in a virtual desktop
// of Wine's own a box closes in milliseconds, so the suite runs again inside one. That desktop covers the screen:
// HORLOMAT_ROBUST_DESKTOP=default keeps a run that opens no boxes where tests beside it read the screen.
#include "tests/robust/robust.h"

#include <psapi.h>
#include <winternl.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <set>
#include <thread>

namespace robust {

std::string summary;

void Report(const std::string& part, std::size_t inputs, std::size_t crashes, std::size_t hangs,
            std::size_t filesWrong, const std::string& deltas, const std::string& notes) {
    summary += "ROBUST|" + part + "|" + std::to_string(inputs) + "|" + std::to_string(crashes) + "|" +
               std::to_string(hangs) + "|" + std::to_string(filesWrong) + "|" + deltas + "|" + notes + "\n";
}

Pressed Press(const ui::App& app, HWND window, int id, DWORD hangMs) {
    std::atomic<int> sent{0};  // 1 answered, 2 no answer
    std::thread sender([&] {
        const LPARAM button = reinterpret_cast<LPARAM>(::GetDlgItem(window, id));
        sent = ::SendMessageTimeoutW(window, WM_COMMAND, id, button, SMTO_NORMAL, hangMs, nullptr) ? 1 : 2;
    });
    Pressed r;
    for (std::set<HWND> seen; sent == 0; ::Sleep(2)) {
        for (HWND box : app.Windows(L"Horlomat")) {
            if (seen.insert(box).second) r.boxes.push_back(ui::BoxText(box));
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    sender.join();
    r.answered = sent == 1;
    r.crashed = app.WaitForExit(r.answered ? 0 : 3000);
    return r;
}

Outcome Apply(const ui::App& app, const ui::Fields& fields, DWORD hangMs, std::wstring* label) {
    constexpr wchar_t kMarker[] = L"\x2014 robust \x2014";  // no apply shows this
    app.SetFields(fields);
    app.SetText(ids::lblGesetzteZeit, kMarker);
    const Pressed pressed = Press(app, app.Main(), ids::cmdZeitSetzen, hangMs);
    if (pressed.crashed || !pressed.answered) return pressed.crashed ? Outcome::Crash : Outcome::Hang;
    const std::wstring shown = app.Text(ids::lblGesetzteZeit);
    if (label) *label = shown;
    if (!pressed.boxes.empty()) return Outcome::Rejected;
    if (shown == kMarker) return Outcome::Nothing;
    return shown == L"Zeit konnte nicht gesetzt werden." ? Outcome::Refused : Outcome::Set;
}

Held Measure(DWORD processId) {
    Held r;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    // GDI objects: the used entries of the handle table the PEB points to (at 0xF8), 0x10000 entries of 24 bytes,
    // the owner's process id in the low 16 bits at 8 (0 under Wine, which keeps a table per process), type at 14:
    // 1 DC, 4 region, 5 surface.
    PROCESS_BASIC_INFORMATION basic{};
    std::uint64_t table = 0;
    std::vector<std::uint8_t> e(0x10000 * 24);
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ::ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &table, 8, nullptr) &&
        table && ::ReadProcessMemory(process, reinterpret_cast<void*>(table), e.data(), e.size(), nullptr)) {
        r.gdi = r.cached = 0;
        for (std::size_t i = 0; i < e.size(); i += 24) {
            const DWORD owner = e[i + 8] | e[i + 9] << 8;
            if (e[i + 14] == 0 || (owner != 0 && owner != (processId & 0xFFFF))) continue;
            ++(e[i + 14] == 1 || e[i + 14] == 4 || e[i + 14] == 5 ? r.cached : r.gdi);
        }
    }
    ::CloseHandle(process);
    // Kernel handles: the system's list (SystemExtendedHandleInformation) of a count, a reserved word and entries
    // of five words, the owner's process id in the second.
    std::vector<ULONG_PTR> list(1 << 17);
    NTSTATUS status;
    while ((status = ::NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(64), list.data(),
                                                static_cast<ULONG>(list.size() * sizeof(ULONG_PTR)), nullptr)) ==
           static_cast<NTSTATUS>(0xC0000004)) {  // too small
        list.resize(list.size() * 2);
    }
    if (status == 0) r.handles = 0;
    for (ULONG_PTR i = 0; status == 0 && i < list[0]; ++i) r.handles += list[2 + i * 5 + 1] == processId;
    // Windows: every descendant of the desktop, and the message-only ones.
    std::pair<DWORD, long long> windows{processId, 0};
    const WNDENUMPROC count = [](HWND window, LPARAM param) {
        auto& [owner, n] = *reinterpret_cast<std::pair<DWORD, long long>*>(param);
        DWORD id = 0;
        ::GetWindowThreadProcessId(window, &id);
        n += id == owner;
        return TRUE;
    };
    ::EnumChildWindows(::GetDesktopWindow(), count, reinterpret_cast<LPARAM>(&windows));
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) {
        count(w, reinterpret_cast<LPARAM>(&windows));
    }
    r.windows = windows.second;
    return r;
}

std::string Deltas(const Held& before, const Held& after) {
    const auto delta = [](long long a, long long b) { return (b >= a ? "+" : "") + std::to_string(b - a); };
    return "gdi " + delta(before.gdi, after.gdi) + " (DC cache " + delta(before.cached, after.cached) +
           "), handles " + delta(before.handles, after.handles) + ", windows " + delta(before.windows, after.windows);
}

}  // namespace robust

int main(int argc, char** argv) {
    wchar_t result[MAX_PATH] = {}, desktop[16] = {};
    const bool stay =
        ::GetEnvironmentVariableW(L"HORLOMAT_ROBUST_DESKTOP", desktop, 16) && !wcscmp(desktop, L"default");
    if (stay || ::GetEnvironmentVariableW(L"HORLOMAT_ROBUST_RESULT", result, MAX_PATH)) {
        // Without Wine's crash dialog a crashed program ends. Set afresh on every run, in the test prefix only.
        if (!stay) ui::SetValue(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog", std::string(4, '\0'),
                                REG_DWORD);
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
