#include "tests/ui/harness.h"

#include "tests/common/test_files.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace ui {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) throw std::runtime_error(std::string("environment variable missing: ") + name);
    return value;
}

// Wine shows the Unix file system as drive Z:.
std::wstring WindowsPath(const std::string& path) {
    std::wstring result = Widen(path);
    for (wchar_t& c : result) {
        if (c == L'/') c = L'\\';
    }
    if (!path.empty() && path[0] == '/') result = L"Z:" + result;
    return result;
}

void WriteClockFile(const std::string& text) {
    testfiles::Write(WindowsPath(Environment("HORLOMAT_CLOCK_FILE")), text + "\n");
}

struct FindData {
    DWORD processId;
    HWND exclude;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != data->processId || window == data->exclude || !::IsWindowVisible(window)) return TRUE;
    if (data->title && WindowText(window) != *data->title) return TRUE;
    data->found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, HWND exclude, const std::wstring* title) {
    FindData data{processId, exclude, title, nullptr};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
    std::wstring result(utf8.size(), L'\0');
    result.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                            result.data(), static_cast<int>(result.size()))));
    return result;
}

std::wstring BuiltExePath() {
    return WindowsPath(Environment("HORLOMAT_EXE"));
}

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

PinnedClock::PinnedClock(const SYSTEMTIME& local) {
    char text[64];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay,
                  local.wHour, local.wMinute, local.wSecond);
    WriteClockFile(text);
}

PinnedClock::~PinnedClock() {
    WriteClockFile("+0");
}

SYSTEMTIME PinnedClock::LocalFromUtc(const SYSTEMTIME& utc) {
    SYSTEMTIME local{};
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

Sandbox::Sandbox() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"horlomat-ui-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    RemoveTree(folder_);
    if (!::CreateDirectoryW(folder_.c_str(), nullptr)) throw std::runtime_error("cannot create sandbox");
    if (!::CopyFileW(BuiltExePath().c_str(), ExePath().c_str(), FALSE)) {
        throw std::runtime_error("cannot copy Horlomat.exe");
    }
}

Sandbox::~Sandbox() {
    RemoveTree(folder_);
}

void Sandbox::WriteIni(const std::string& bytes) const {
    testfiles::Write(IniPath(), bytes);
}

std::optional<std::string> Sandbox::ReadIni() const {
    return testfiles::Read(IniPath());
}

App::App(const Sandbox& sandbox, int showCommand) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (showCommand != SW_SHOWDEFAULT) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + sandbox.ExePath() + L"\"";
    if (!::CreateProcessW(sandbox.ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          sandbox.Folder().c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start Horlomat.exe (error " + std::to_string(::GetLastError()) + ")");
    }
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    ::CloseHandle(info.hThread);
    ::WaitForInputIdle(process_, 20000);
    const std::wstring title = kMainTitle;
    WaitFor([&] { return (main_ = FindWindowOf(processId_, nullptr, &title)) != nullptr; }, 20000);
    if (!main_) throw std::runtime_error("Horlomat's main window did not appear");
    threadId_ = ::GetWindowThreadProcessId(main_, nullptr);
}

App::~App() {
    if (process_) {
        if (Running()) {
            ::TerminateProcess(process_, 0);
            ::WaitForSingleObject(process_, 10000);
        }
        ::CloseHandle(process_);
    }
}

std::wstring App::Text(int id) const {
    return WindowText(Item(id));
}

void App::SetText(int id, const std::wstring& text) const {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                          &result);
}

void App::SetFields(const std::wstring& year, const std::wstring& month, const std::wstring& day,
                    const std::wstring& hour, const std::wstring& minute) const {
    const std::wstring* values[] = {&year, &month, &day, &hour, &minute};
    for (int i = 0; i < 5; ++i) SetText(ids::kTxtZeit + i, *values[i]);
}

bool App::HoldChecked() const {
    return ::SendMessageW(Item(ids::kRegel), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void App::SetHold(bool on) const {
    ::SendMessageW(Item(ids::kRegel), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void App::Click(int id) const {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)),
                          SMTO_ABORTIFHUNG, 30000, &result);
}

void App::PostClick(int id) const {
    ::PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void App::Menu(wchar_t menuKey, wchar_t itemKey) const {
    // Another process's menus cannot be read here, so they are driven as the
    // user would: Alt plus the menu's access key, then the item's.
    ::PostMessageW(main_, WM_SYSCHAR, menuKey, 1u << 29);
    ::Sleep(300);
    HWND menuWindow = nullptr;
    WaitFor([&] { return (menuWindow = ::FindWindowW(L"#32768", nullptr)) != nullptr; }, 3000);
    ::PostMessageW(menuWindow ? menuWindow : main_, WM_CHAR, itemKey, 0);
    // Wine's menu loop reads the keyboard of the main window's thread.
    ::PostMessageW(main_, WM_KEYDOWN, ::VkKeyScanW(itemKey) & 0xFF, 0);
}

HWND App::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

bool App::WaitForExit(DWORD milliseconds) const {
    return ::WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

HWND App::WaitForOtherWindow(const std::wstring& title, DWORD milliseconds) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowOf(processId_, main_, title.empty() ? nullptr : &title)) != nullptr; },
            milliseconds);
    return found;
}

std::wstring WindowText(HWND window) {
    std::vector<wchar_t> buffer(4096);
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                               SMTO_ABORTIFHUNG, 5000, &length)) {
        return L"<no answer>";
    }
    return std::wstring(buffer.data(), length);
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

RECT ClientRectIn(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace ui
