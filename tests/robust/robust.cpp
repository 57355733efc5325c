#include "tests/robust/robust.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace robust {
namespace {

std::mutex reportLock;
std::vector<ReportRow>& Rows() {
    static std::vector<ReportRow> rows;
    return rows;
}

// Prints the table once every test has run; the full-run script collects
// the lines that start with "ROBUST|".
class SummaryPrinter : public testing::Environment {
public:
    void TearDown() override {
        const std::string table = ReportTable();
        if (!table.empty()) std::printf("\n%s", table.c_str());
        std::fflush(stdout);
    }
};

}  // namespace

bool FullRun() {
    const char* value = std::getenv("HORLOMAT_ROBUST");
    return value && std::strcmp(value, "full") == 0;
}

std::size_t Size(std::size_t reduced, std::size_t full) {
    return FullRun() ? full : reduced;
}

void Report(ReportRow row) {
    const std::lock_guard<std::mutex> hold(reportLock);
    Rows().push_back(std::move(row));
}

std::string ReportTable() {
    const std::lock_guard<std::mutex> hold(reportLock);
    std::string table;
    for (const ReportRow& r : Rows()) {
        char line[1024];
        std::snprintf(line, sizeof(line), "ROBUST|%s|%zu|%zu|%zu|%zu|%s|%s\n", r.part.c_str(), r.inputs, r.crashes,
                      r.hangs, r.filesWrong, r.leaks.empty() ? "-" : r.leaks.c_str(), r.notes.c_str());
        table += line;
    }
    return table;
}

std::string Escaped(const std::wstring& text, std::size_t limit) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == limit) {
            result += "...(" + std::to_string(text.size()) + " characters)";
            break;
        }
        const wchar_t c = text[i];
        if (c >= 0x20 && c < 0x7F && c != L'\\') {
            result += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof(code), "\\u%04X", static_cast<unsigned>(c));
            result += code;
        }
    }
    return result;
}

}  // namespace robust

namespace {

constexpr wchar_t kOnDesktop[] = L"HORLOMAT_ROBUST_ON_DESKTOP";
// "default" keeps the run on the display's own desktop.
constexpr wchar_t kDesktopChoice[] = L"HORLOMAT_ROBUST_DESKTOP";

// The suite runs inside a virtual desktop of Wine's own. There a box closes
// in a few milliseconds, where on the plain X display every hidden window
// waits two seconds for a window manager that is not there. The virtual
// desktop covers the screen, though, so a run that opens no boxes and runs
// beside tests that read the screen stays on the default desktop.
int RunOnOwnDesktop() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring result = std::wstring(temp) + L"horlomat-robust-" + std::to_wstring(::GetCurrentProcessId()) +
                                L".result";
    ::DeleteFileW(result.c_str());
    ::SetEnvironmentVariableW(kOnDesktop, result.c_str());

    // The arguments as given, after the program's own name.
    const wchar_t* arguments = ::GetCommandLineW();
    const bool quoted = *arguments == L'"';
    for (++arguments; *arguments && (quoted ? *arguments != L'"' : *arguments != L' '); ++arguments) {
    }
    if (quoted && *arguments) ++arguments;

    std::wstring commandLine = L"explorer.exe /desktop=HorlomatRobust" + std::to_wstring(::GetCurrentProcessId()) +
                               L",1024x768 \"" + self + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "cannot start explorer.exe for a desktop of its own\n");
        return 1;
    }
    ::CloseHandle(info.hThread);
    ::WaitForSingleObject(info.hProcess, INFINITE);
    ::CloseHandle(info.hProcess);

    // explorer.exe does not pass the exit code on.
    FILE* file = _wfopen(result.c_str(), L"r");
    int code = 1;
    if (!file || std::fscanf(file, "%d", &code) != 1) std::fprintf(stderr, "the tests ended without a result\n");
    if (file) std::fclose(file);
    ::DeleteFileW(result.c_str());
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    wchar_t result[MAX_PATH] = {};
    wchar_t choice[16] = {};
    const bool stay = ::GetEnvironmentVariableW(kDesktopChoice, choice, 16) && std::wstring(choice) == L"default";
    if (!stay && !::GetEnvironmentVariableW(kOnDesktop, result, MAX_PATH)) return RunOnOwnDesktop();

    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new robust::SummaryPrinter);
    const int code = RUN_ALL_TESTS();
    if (FILE* file = result[0] ? _wfopen(result, L"w") : nullptr) {
        std::fprintf(file, "%d\n", code);
        std::fclose(file);
    }
    return code;
}
