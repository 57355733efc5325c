// The two registry values that lead "Systeminfo..." to its tool may hold any
// type and any size. Whatever they hold, each press either starts the tool
// once or says once that it is unavailable, and the program goes on.
#include "about/about_ids.h"
#include "about/sysinfo.h"
#include "tests/robust/counters.h"
#include "tests/robust/drive.h"
#include "tests/robust/robust.h"
#include "tests/ui/about_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <random>
#include <thread>
#include <vector>

namespace robust {
namespace {

constexpr char kToolKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kUnavailable[] = L"Systeminformationen sind momentan nicht verfügbar";
constexpr DWORD kLastType = REG_QWORD;  // 11

std::vector<std::size_t> Sizes(std::size_t exact) {
    if (FullRun()) {
        std::vector<std::size_t> all(1026);
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
        return all;
    }
    // The edges of the 1024-byte buffer and of a DWORD, and the sizes at
    // which the text is exactly the path, with and without its zero.
    return {0, 1, 2, 3, 4, 5, 8, 1023, 1024, 1025, exact, exact + 1};
}

// The value's bytes: in turn the path padded with zeros (which names the
// tool where the size allows it), printable filler, and random bytes.
std::string Content(const std::string& path, std::size_t size, unsigned seed) {
    std::string bytes;
    switch (size % 3) {
        case 0:
            bytes = path.substr(0, size) + std::string(size > path.size() ? size - path.size() : 0, '\0');
            break;
        case 1:
            bytes.assign(size, 'A');
            break;
        default: {
            std::mt19937 random(seed);
            bytes.resize(size);
            for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
            break;
        }
    }
    // The exact sizes name the tool in every case.
    if (size == path.size() || size == path.size() + 1) bytes = path + std::string(size - path.size(), '\0');
    return bytes;
}

struct PressResult {
    std::size_t boxes = 0;
    bool boxRight = true;
    bool answered = true;
};

// Presses "Systeminfo..." and closes each box that comes up, counting them.
PressResult Press(const ui::App& app, HWND dialog) {
    PressResult r;
    std::atomic<bool> done{false};
    std::atomic<bool> answered{false};
    std::thread sender([&] {
        DWORD_PTR result = 0;
        answered = ::SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(about::ids::kSysInfo, BN_CLICKED),
                                         reinterpret_cast<LPARAM>(::GetDlgItem(dialog, about::ids::kSysInfo)),
                                         SMTO_NORMAL, 30000, &result) != 0;
        done = true;
    });
    std::vector<HWND> seen;
    while (!done) {
        for (HWND box : ui::WindowsOf(app, L"Horlomat")) {
            if (std::find(seen.begin(), seen.end(), box) == seen.end()) {
                seen.push_back(box);
                if (ui::WindowText(::GetDlgItem(box, 0xFFFF)) != kUnavailable) r.boxRight = false;
            }
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        ::Sleep(2);
    }
    sender.join();
    r.boxes = seen.size();
    r.answered = answered;
    return r;
}

std::size_t Runs(const std::vector<std::wstring>& tools) {
    std::size_t runs = 0;
    for (const std::wstring& tool : tools) runs += ui::ToolRuns(tool).size();
    return runs;
}

TEST(RegistryValues, EveryTypeAndSizeStartsTheToolOrSaysSoOnce) {
    ui::Sandbox sandbox;
    const std::wstring fullTool = sandbox.Folder() + L"\\full\\msinfo32.exe";
    const std::wstring folder = sandbox.Folder() + L"\\tools";
    ui::PlaceFakeTool(fullTool);
    ui::PlaceFakeTool(folder + L"\\MSINFO32.EXE");
    const std::vector<std::wstring> tools = {fullTool, folder + L"\\MSINFO32.EXE"};
    const ui::RegistryValue path(HKEY_LOCAL_MACHINE, kToolKey, "PATH");
    const ui::RegistryValue location(HKEY_LOCAL_MACHINE, kFolderKey, "MSINFO");

    ui::App app(sandbox, SW_SHOWNOACTIVATE);
    const HWND dialog = ui::OpenAbout(app);
    ASSERT_NE(dialog, nullptr);
    std::optional<Resources> settled;

    std::size_t tried = 0, crashes = 0, hangs = 0, wrong = 0, started = 0, said = 0;
    for (const bool second : {false, true}) {
        const ui::RegistryValue& value = second ? location : path;
        const std::string text = ui::Narrow(second ? folder : fullTool);
        if (second) path.Delete();
        for (std::size_t size : Sizes(text.size())) {
            for (DWORD type = REG_NONE; type <= kLastType; ++type) {
                SCOPED_TRACE(testing::Message() << (second ? "MSINFO" : "PATH") << ", type " << type << ", " << size
                                                << " bytes");
                ++tried;
                value.Set(type, Content(text, size, static_cast<unsigned>(size * 16 + type)));
                const std::size_t runsBefore = Runs(tools);
                const PressResult r = Press(app, dialog);
                if (!app.Running() || CloseCrashDialogs()) {
                    ++crashes;
                    ADD_FAILURE() << "crashed";
                    return;
                }
                if (!r.answered) {
                    ++hangs;
                    ADD_FAILURE() << "no answer";
                    return;
                }
                bool right = r.boxRight && r.boxes <= 1;
                if (r.boxes == 1) {
                    ++said;
                } else if (r.boxes == 0) {
                    // Started: the tool writes down its run once it is up.
                    right = right && ui::WaitFor([&] { return Runs(tools) > runsBefore; }, 15000);
                    ++started;
                }
                if (!right) {
                    ++wrong;
                    ADD_FAILURE() << r.boxes << " boxes, " << Runs(tools) - runsBefore << " runs";
                }
                if (!settled && tried == 24) settled = Measure(app.ProcessId());
            }
        }
    }
    // Late runs of the tool would show here as more runs than starts.
    ::Sleep(1000);
    EXPECT_EQ(Runs(tools), started);
    EXPECT_TRUE(::IsWindow(dialog));
    std::string deltas = "-";
    if (settled) deltas = Deltas(*settled, Measure(app.ProcessId()));
    Report({"registry values: types 0-11 x sizes, both lookups, pressed in the dialog", tried, crashes, hangs, 0,
            deltas,
            "tool started " + std::to_string(started) + ", unavailable said " + std::to_string(said) + ", wrong " +
                std::to_string(wrong)});
}

// The same breadth at the level of the lookup itself, every size in every
// run: the value as text or untouched, never more than the buffer.
TEST(RegistryValues, TheLookupReadsEveryTypeAndSizeWithinItsBuffer) {
    const char kTestKey[] = "Software\\Horlomat-robust-test";
    std::size_t tried = 0;
    for (std::size_t size = 0; size <= 1025; ++size) {
        for (DWORD type = REG_NONE; type <= kLastType; ++type) {
            ++tried;
            const std::string bytes = Content("C:\\Programme\\msinfo32.exe", size, static_cast<unsigned>(size + type));
            HKEY key = nullptr;
            ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                        nullptr),
                      ERROR_SUCCESS);
            ::RegSetValueExA(key, "Wert", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()));
            ::RegCloseKey(key);

            std::wstring text = L"vorher";
            const bool found = about::GetKeyValue(HKEY_CURRENT_USER, L"Software\\Horlomat-robust-test", L"Wert", text);
            SCOPED_TRACE(testing::Message() << "type " << type << ", " << size << " bytes");
            // Not found: empty. Found: a type not read as text leaves the
            // text alone, the others give at most what the buffer held. The
            // platform itself may refuse a text type that lacks its zero.
            EXPECT_TRUE(size <= 1024 || !found);
            if (!found) {
                EXPECT_EQ(text, L"");
            } else if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_DWORD) {
                EXPECT_EQ(text, L"vorher");
            } else {
                EXPECT_LE(text.size(), 1024u);
            }
        }
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    Report({"registry values: the lookup itself, types 0-11 x sizes 0-1025", tried, 0, 0, 0, "-", ""});
}

}  // namespace
}  // namespace robust
