// "Computerzeit" opens the system's date and time panel through rundll32.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>

namespace ui {
namespace {

TEST(Computerzeit, StartsTheSystemRundll32AndLeavesEverythingElseAlone) {
    Sandbox sandbox;
    const std::string ini = "[Zeit]\r\nJahr=2030\r\n";
    sandbox.WriteIni(ini);
    // A planted rundll32.exe beside the program must not be the one that runs:
    // a copy of Horlomat itself would show a second main window.
    ASSERT_TRUE(::CopyFileW(sandbox.ExePath().c_str(), (sandbox.Folder() + L"\\rundll32.exe").c_str(), FALSE));
    App app(sandbox);
    app.Click(id::kZeitDialog);
    app.Click(id::kZeitDialog);

    // Each press starts a process of its own; Wine's panel may end quickly, so
    // every child seen counts.
    std::set<DWORD> seen;
    std::wstring image;
    WaitFor([&] {
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL ok = ::Process32FirstW(snapshot, &entry); ok; ok = ::Process32NextW(snapshot, &entry)) {
            if (entry.th32ParentProcessID != app.ProcessId()) continue;
            seen.insert(entry.th32ProcessID);
            image = entry.szExeFile;
        }
        ::CloseHandle(snapshot);
        return seen.size() >= 2;
    }, 10000);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(image, L"rundll32.exe");
    ::Sleep(1000);
    EXPECT_EQ(::FindWindowW(nullptr, kMainTitle), app.Main()) << "the planted copy must not have run";
    EXPECT_EQ(app.Field(0), L"2030");
    EXPECT_EQ(app.Text(id::kGesetzteZeit), L"");
    EXPECT_EQ(sandbox.ReadIni(), ini);
}

}  // namespace
}  // namespace ui
