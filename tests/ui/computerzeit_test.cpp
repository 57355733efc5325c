// "Computerzeit" opens the system's date and time panel through rundll32.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>

namespace ui {
namespace {

// Children of `parent` seen so far, polled until `count` have appeared.
std::set<DWORD> ChildProcesses(DWORD parent, std::wstring* image = nullptr) {
    std::set<DWORD> children;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = ::Process32FirstW(snapshot, &entry); ok; ok = ::Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parent) continue;
        children.insert(entry.th32ProcessID);
        if (image) *image = entry.szExeFile;
    }
    ::CloseHandle(snapshot);
    return children;
}

TEST(Computerzeit, StartsTheSystemRundll32AndLeavesEverythingElseAlone) {
    Sandbox sandbox;
    const std::string ini = "[Zeit]\r\nJahr=2030\r\n";
    sandbox.WriteIni(ini);
    // A planted rundll32.exe beside the program must not be the one that runs:
    // a copy of Horlomat itself would show a second main window.
    ASSERT_TRUE(::CopyFileW(sandbox.ExePath().c_str(), (sandbox.Folder() + L"\\rundll32.exe").c_str(), FALSE));
    App app(sandbox);

    std::set<DWORD> seen;
    std::wstring image;
    app.Click(ids::kZeitDialog);
    app.Click(ids::kZeitDialog);
    // Each press starts a process of its own; Wine's panel may end quickly, so
    // every child seen counts.
    WaitFor(
        [&] {
            for (DWORD pid : ChildProcesses(app.ProcessId(), &image)) seen.insert(pid);
            return seen.size() >= 2;
        },
        10000);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(image, L"rundll32.exe");

    ::Sleep(1000);
    EXPECT_EQ(::FindWindowW(nullptr, kMainTitle), app.Main()) << "the planted copy must not have run";
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Field(0), L"2030");
    EXPECT_EQ(app.Text(ids::kGesetzteZeit), L"");
    EXPECT_EQ(sandbox.ReadIni(), ini);
}

}  // namespace
}  // namespace ui
