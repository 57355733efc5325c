#include "tests/robust/counters.h"

#include <gtest/gtest.h>
#include <winternl.h>
#include <psapi.h>

#include <cstdint>
#include <vector>

namespace robust {
namespace {

// The layout of one entry of the GDI handle table on 64-bit Windows and Wine.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;  // process id in the low 16 bits; 0 under Wine
    std::uint16_t unique;
    std::uint8_t type;  // 0: free
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::size_t kPebGdiTableOffset = 0xF8;

// SYSTEM_HANDLE_TABLE_ENTRY_INFO_EX.
struct SystemHandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT backTraceIndex;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
using QuerySystem = NTSTATUS(NTAPI*)(ULONG, void*, ULONG, ULONG*);

template <typename Fn>
Fn Ntdll(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

long long GdiObjects(HANDLE process, DWORD processId) {
    static const auto query = Ntdll<QueryProcess>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return -1;
    std::uint64_t table = 0;
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process, static_cast<char*>(static_cast<void*>(basic.PebBaseAddress)) + kPebGdiTableOffset,
                             &table, sizeof(table), &read) ||
        table == 0) {
        return -1;
    }
    std::vector<GdiHandleEntry> entries(kGdiTableEntries);
    if (!::ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<std::uintptr_t>(table)), entries.data(),
                             entries.size() * sizeof(GdiHandleEntry), &read)) {
        return -1;
    }
    const std::uint32_t owner = processId & 0xFFFF;
    long long count = 0;
    for (const GdiHandleEntry& e : entries) {
        const std::uint32_t entryOwner = e.owner & 0xFFFF;
        if (e.type != 0 && (entryOwner == 0 || entryOwner == owner)) ++count;
    }
    return count;
}

long long KernelHandles(DWORD processId) {
    static const auto query = Ntdll<QuerySystem>("NtQuerySystemInformation");
    if (!query) return -1;
    std::vector<char> buffer(1 << 20);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                           &needed)) == kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return -1;
    const auto count = *reinterpret_cast<const ULONG_PTR*>(buffer.data());
    const auto* entries = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + 2 * sizeof(ULONG_PTR));
    long long own = 0;
    for (ULONG_PTR i = 0; i < count; ++i) {
        if (entries[i].processId == processId) ++own;
    }
    return own;
}

struct WindowCount {
    DWORD processId;
    long long count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == c->processId) {
        ++c->count;
        ::EnumChildWindows(window, CountChild, param);  // every descendant
    }
    return TRUE;
}

long long Windows(DWORD processId) {
    WindowCount c{processId, 0};
    ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) {
        CountTopLevel(w, reinterpret_cast<LPARAM>(&c));
    }
    return c.count;
}

void Memory(HANDLE process, Resources& r) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (::K32GetProcessMemoryInfo(process, &counters, sizeof(counters))) {
        r.workingSetKb = static_cast<long long>(counters.WorkingSetSize / 1024);
        r.privateKb = static_cast<long long>(counters.PagefileUsage / 1024);
    }
}

std::string Signed(long long value) {
    return (value >= 0 ? "+" : "") + std::to_string(value);
}

std::string Delta(const char* name, long long before, long long after, const char* unit = "") {
    if (before < 0 || after < 0) return std::string(name) + " n/a";
    return std::string(name) + " " + Signed(after - before) + unit;
}

}  // namespace

Resources Measure(DWORD processId) {
    Resources r;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return r;
    r.gdiObjects = GdiObjects(process, processId);
    r.kernelHandles = KernelHandles(processId);
    r.windows = Windows(processId);
    Memory(process, r);
    ::CloseHandle(process);
    return r;
}

std::string Deltas(const Resources& before, const Resources& after) {
    return Delta("gdi", before.gdiObjects, after.gdiObjects) + ", " +
           Delta("handles", before.kernelHandles, after.kernelHandles) + ", " +
           Delta("windows", before.windows, after.windows) + ", " +
           Delta("working set", before.workingSetKb, after.workingSetKb, " KB") + ", " +
           Delta("private", before.privateKb, after.privateKb, " KB");
}

std::string ExpectFlat(const Resources& before, const Resources& middle, const Resources& after,
                       long long memorySlackKb) {
    // Enough for a few cached DCs, far below what a leak of one object in a
    // hundred rounds leaves in a full run.
    constexpr long long kGdiStepLimit = 9;
    const long long firstHalf = middle.gdiObjects - before.gdiObjects;
    const long long secondHalf = after.gdiObjects - middle.gdiObjects;
    EXPECT_TRUE(before.gdiObjects >= 0 && middle.gdiObjects >= 0 && after.gdiObjects >= 0) << "GDI objects not counted";
    EXPECT_TRUE(firstHalf == 0 || secondHalf == 0)
        << "GDI objects grew in both halves: " << Signed(firstHalf) << ", " << Signed(secondHalf);
    EXPECT_LE(firstHalf + secondHalf, kGdiStepLimit) << "GDI objects";
    EXPECT_EQ(after.kernelHandles, before.kernelHandles) << "kernel handles";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    EXPECT_LE(after.workingSetKb - before.workingSetKb, memorySlackKb) << "working set";
    EXPECT_LE(after.privateKb - before.privateKb, memorySlackKb) << "private bytes";
    return Deltas(before, after);
}

}  // namespace robust
