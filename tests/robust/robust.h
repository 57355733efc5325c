// The robustness suite's machinery: run sizes, the summary lines that scripts/robustness.sh collects, presses that
// never block on a box and tell a crash from a hang, and counters of what a process holds.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <array>
#include <atomic>
#include <set>
#include <sstream>
#include <thread>

#include "platform/app_info.h"
#include "tests/ui/harness.h"

namespace robust {

inline std::size_t Size(std::size_t reduced, std::size_t full) {
    const char* run = std::getenv("HORLOMAT_ROBUST");
    return run && std::string(run) == "full" ? full : reduced;
}

inline std::string summary;  // printed at the end
// A line of it: part, inputs, crashes, hangs, files lost or wrong, leak deltas, notes.
template <typename... Columns>
void Report(const Columns&... columns) {
    std::ostringstream line;
    line << "ROBUST";
    ((line << '|' << columns), ...);
    summary += line.str() + '\n';
}

using Fields = std::array<std::wstring, 5>;  // year to minute
// The clock stands at this moment, so these fields set it: Wine takes a "change" to the time it has.
inline constexpr SYSTEMTIME kPinnedUtc = {2026, 12, 0, 5, 14, 30, 0, 0};
inline const Fields kPinnedFields = {L"2026", L"12", L"5", L"14", L"30"};
inline constexpr wchar_t kPinnedLabel[] = L"05.12.2026, 14:30:00";

struct Pressed {
    bool answered = false;            // the handler returned in time
    bool crashed = false;             // main turns Wine's crash dialog off, so a crashed program ends
    std::vector<std::wstring> boxes;  // the texts of the boxes it showed, each closed with OK
};
// Sends the press from a thread of its own: a box keeps the handler waiting until someone presses OK.
inline Pressed Press(const ui::App& app, HWND window, int id, DWORD hangMs) {
    std::atomic<int> sent{0};  // 1 answered, 2 no answer
    std::thread sender([&] {
        const LPARAM button = reinterpret_cast<LPARAM>(::GetDlgItem(window, id));
        sent = ::SendMessageTimeoutW(window, WM_COMMAND, id, button, SMTO_NORMAL, hangMs, nullptr) ? 1 : 2;
    });
    Pressed r;
    for (std::set<HWND> seen; sent == 0; ::Sleep(2)) {
        for (HWND box : ui::WindowsOf(app, platform::kAppTitle)) {
            wchar_t text[512] = {};
            if (seen.insert(box).second) r.boxes.emplace_back(text, ::GetDlgItemTextW(box, 0xFFFF, text, 512));
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    sender.join();
    r.answered = sent == 1;
    r.crashed = app.WaitForExit(r.answered ? 0 : 3000);
    return r;
}

enum class Outcome { Set, Refused, Rejected, Nothing, Hang, Crash };
inline const char* const kOutcome[] = {"set", "refused", "rejected with a box", "nothing visible", "hang", "crash"};
// Fills the fields and presses "Zeit setzen"; `label` gets what the label shows then.
inline Outcome Apply(const ui::App& app, const Fields& f, DWORD hangMs = 15000, std::wstring* label = nullptr) {
    constexpr wchar_t kMarker[] = L"\x2014 robust \x2014";  // no apply shows this
    app.SetFields(f[0], f[1], f[2], f[3], f[4]);
    app.SetText(ids::kGesetzteZeit, kMarker);
    const Pressed pressed = Press(app, app.Main(), ids::kZeitSetzen, hangMs);
    if (pressed.crashed || !pressed.answered) return pressed.crashed ? Outcome::Crash : Outcome::Hang;
    const std::wstring shown = app.Text(ids::kGesetzteZeit);
    if (label) *label = shown;
    if (!pressed.boxes.empty()) return Outcome::Rejected;
    if (shown == kMarker) return Outcome::Nothing;
    return shown == L"Zeit konnte nicht gesetzt werden." ? Outcome::Refused : Outcome::Set;
}

// Counted from outside, as under Wine GetGuiResources and GetProcessHandleCount give 0; -1 when not counted.
// GDI objects are counted in all and, apart, the three kinds that Wine's cache of window DCs holds (types 1, 4, 5).
enum Counter { kGdi, kDcs, kRegions, kSurfaces, kHandles, kWindows, kWorkingSetKb, kPrivateKb, kCounters };
using Resources = std::array<long long, kCounters>;

template <typename Fn>
Fn Ntdll(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

inline BOOL CALLBACK CountWindow(HWND window, LPARAM param) {
    auto& [processId, count] = *reinterpret_cast<std::pair<DWORD, long long>*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    count += owner == processId;
    return TRUE;
}

inline Resources Measure(DWORD processId) {
    Resources r;
    r.fill(-1);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    // GDI objects: the used entries of the handle table the PEB points to (at 0xF8), 0x10000 entries of 24 bytes,
    // the owner's process id in the low 16 bits at 8 (0 under Wine, which keeps a table per process), type at 14.
    static const auto queryProcess =
        Ntdll<NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*)>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    std::uint64_t table = 0;
    std::vector<std::uint8_t> e(0x10000 * 24);
    if (queryProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ::ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &table, 8, nullptr) &&
        table && ::ReadProcessMemory(process, reinterpret_cast<void*>(table), e.data(), e.size(), nullptr)) {
        r[kGdi] = r[kDcs] = r[kRegions] = r[kSurfaces] = 0;
        for (std::size_t i = 0; i < e.size(); i += 24) {
            const DWORD owner = e[i + 8] | e[i + 9] << 8;
            if (e[i + 14] == 0 || (owner != 0 && owner != (processId & 0xFFFF))) continue;
            ++r[kGdi];
            r[kDcs] += e[i + 14] == 1;
            r[kRegions] += e[i + 14] == 4;
            r[kSurfaces] += e[i + 14] == 5;  // bitmaps are 9
        }
    }
    // Kernel handles: the system's list (SystemExtendedHandleInformation) of a count, a reserved word and entries of
    // five words, the owner's process id in the second.
    static const auto querySystem = Ntdll<NTSTATUS(NTAPI*)(ULONG, void*, ULONG, ULONG*)>("NtQuerySystemInformation");
    std::vector<ULONG_PTR> list(1 << 17);
    NTSTATUS status;
    while ((status = querySystem(64, list.data(), static_cast<ULONG>(list.size() * sizeof(ULONG_PTR)), nullptr)) ==
           static_cast<NTSTATUS>(0xC0000004)) {  // too small
        list.resize(list.size() * 2);
    }
    r[kHandles] = status == 0 ? 0 : -1;
    for (ULONG_PTR i = 0; status == 0 && i < list[0]; ++i) r[kHandles] += list[2 + i * 5 + 1] == processId;
    // Windows: every descendant of the desktop, and the message-only ones.
    std::pair<DWORD, long long> windows{processId, 0};
    ::EnumChildWindows(::GetDesktopWindow(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) {
        CountWindow(w, reinterpret_cast<LPARAM>(&windows));
    }
    r[kWindows] = windows.second;
    PROCESS_MEMORY_COUNTERS memory{};  // under Wine the working set is the Linux process's VmRSS
    if (::K32GetProcessMemoryInfo(process, &memory, sizeof(memory))) {
        r[kWorkingSetKb] = static_cast<long long>(memory.WorkingSetSize / 1024);
        r[kPrivateKb] = static_cast<long long>(memory.PagefileUsage / 1024);
    }
    if (process) ::CloseHandle(process);
    return r;
}

inline std::string Deltas(const Resources& before, const Resources& after) {
    const char* const names[] = {"gdi", "DCs", "regions", "surfaces", "handles", "windows", "working set", "private"};
    std::ostringstream text;
    for (int i = 0; i < kCounters; ++i) {
        if (i == kDcs) text << " (";
        text << (i == kDcs || i == 0 ? "" : ", ") << names[i] << std::showpos << ' ' << after[i] - before[i];
        text << (i == kSurfaces ? ")" : "") << (i >= kWorkingSetKb ? " KB" : "");
    }
    return text.str();
}

// Runs `round` (false ends the run) warmUp + count times and fails the test unless the counters stand still from
// the end of the warm-up over the middle to the end; returns the deltas. Handles, windows and every kind of GDI
// object but three exactly. Wine keeps up to 64 window DCs in a cache of its own, each with a region and a surface
// while it is bound to a window; the cache fills in steps as painting meets new windows, so DCs, regions and
// surfaces may step up in one half, by at most 64 each, while a leak grows in both halves. Private bytes by 768 KB,
// as the heap settles in steps; a leak of 100 bytes a round outgrows that in a full run.
template <typename Round>
std::string Flat(const ui::App& app, std::size_t warmUp, std::size_t count, Round round) {
    Resources before{}, middle{};
    for (std::size_t i = 0; i < warmUp + count && round(i); ++i) {
        if (i + 1 == warmUp) before = Measure(app.ProcessId());
        if (i + 1 == warmUp + count / 2) middle = Measure(app.ProcessId());
    }
    const Resources after = Measure(app.ProcessId());
    EXPECT_TRUE(before[kGdi] >= 0 && before[kHandles] >= 0 && before[kWindows] > 0) << "not counted";
    const auto cached = [](const Resources& r) { return r[kDcs] + r[kRegions] + r[kSurfaces]; };
    EXPECT_EQ(after[kGdi] - cached(after), before[kGdi] - cached(before)) << "GDI objects";
    for (const Counter kind : {kDcs, kRegions, kSurfaces}) EXPECT_LE(after[kind] - before[kind], 64) << kind;
    EXPECT_FALSE(cached(middle) > cached(before) && cached(after) > cached(middle)) << "grew in both halves";
    EXPECT_EQ(after[kHandles], before[kHandles]) << "kernel handles";
    EXPECT_EQ(after[kWindows], before[kWindows]) << "windows";
    EXPECT_LE(after[kPrivateKb] - before[kPrivateKb], 768) << "private bytes";
    // The working set also moves as Wine pages libraries in and out; a leak grows it in both halves.
    const long long setFirst = middle[kWorkingSetKb] - before[kWorkingSetKb];
    EXPECT_FALSE(setFirst > 384 && after[kWorkingSetKb] - middle[kWorkingSetKb] > 384) << "working set grew";
    return Deltas(before, after);
}

}  // namespace robust
