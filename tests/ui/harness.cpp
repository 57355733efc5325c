#include "tests/ui/harness.h"

#include "tests/common/test_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace ui {
namespace {

// Wine shows the Unix file system as drive Z:.
std::wstring WindowsPathFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) throw std::runtime_error(std::string("environment variable missing: ") + name);
    std::wstring path = Widen(value);
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    return value[0] == '/' ? L"Z:" + path : path;
}

void WriteClockFile(const std::string& text) {
    testfiles::Write(WindowsPathFromEnvironment("HORLOMAT_CLOCK_FILE"), text + "\n");
}

}  // namespace

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, 0};
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

std::wstring BuiltExePath() {
    return WindowsPathFromEnvironment("HORLOMAT_EXE");
}

Sandbox::Sandbox() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = temp + (L"horlomat-ui-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    std::filesystem::create_directories(folder_);
    if (!::CopyFileW(BuiltExePath().c_str(), ExePath().c_str(), FALSE)) throw std::runtime_error("cannot copy exe");
}

Sandbox::~Sandbox() {
    ::SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);  // some cases make it read-only
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
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
    startup.dwFlags = showCommand == SW_SHOWDEFAULT ? 0 : STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
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
    WaitFor([&] {
        const std::vector<HWND> windows = WindowsOf(*this, kMainTitle, L"");
        return (main_ = windows.empty() ? nullptr : windows[0]) != nullptr;
    }, 20000);
    if (!main_) throw std::runtime_error("Horlomat's main window did not appear");
    threadId_ = ::GetWindowThreadProcessId(main_, nullptr);
}

App::~App() {
    if (Running()) ::TerminateProcess(process_, 0);
    ::WaitForSingleObject(process_, 10000);
    ::CloseHandle(process_);
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
    for (int i = 0; i < 5; ++i) SetText(id::kTxtZeit + i, *values[i]);
}

bool App::HoldChecked() const {
    return ::SendMessageW(Item(id::kRegel), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void App::SetHold(bool on) const {
    ::SendMessageW(Item(id::kRegel), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
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
    // Another process's menus cannot be read under Wine, so they are driven as the user would.
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
    WaitFor([&] {
        for (HWND w : WindowsOf(*this, title, L"")) found = w != main_ ? w : found;
        return found != nullptr;
    }, milliseconds);
    return found;
}

std::vector<HWND> WindowsOf(const App& app, const std::wstring& title, const std::wstring& className) {
    struct Search {
        DWORD processId;
        const std::wstring &title, &className;
        std::vector<HWND> found;
    } search{app.ProcessId(), title, className, {}};
    ::EnumWindows([](HWND window, LPARAM param) {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        if (pid == s.processId && ::IsWindowVisible(window) && (s.className.empty() || ClassName(window) == s.className) &&
            (s.title.empty() || WindowText(window) == s.title)) {
            s.found.push_back(window);
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring BoxText(HWND box) {
    return WindowText(::GetDlgItem(box, 0xFFFF));
}

HWND OpenAbout(const App& app) {
    ::PostMessageW(app.Main(), WM_COMMAND, MAKEWPARAM(id::kMenuAbout, 0), 0);
    return app.WaitForOtherWindow(kAboutTitle, 10000);
}

void PlaceFakeTool(const std::wstring& path) {
    std::wstring self(MAX_PATH, L'\0');  // the tool is built beside the test program
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!::CopyFileW((self.substr(0, self.find_last_of(L'\\')) + L"\\fake_msinfo.exe").c_str(), path.c_str(), FALSE))
        throw std::runtime_error("cannot copy the tool");
}

std::vector<std::wstring> ToolRuns(const std::wstring& path) {
    const std::string bytes = testfiles::Read(path + L".runs").value_or("");
    std::vector<std::wstring> runs;
    for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        runs.push_back(Widen(bytes.substr(start, end - start)));
    }
    return runs;
}

RegistryValue::RegistryValue(HKEY root, std::string key, std::string name)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    constexpr DWORD kAsStored = RRF_RT_ANY | RRF_NOEXPAND;
    DWORD size = 0;
    if (::RegGetValueA(root_, key_.c_str(), name_.c_str(), kAsStored, &type_, nullptr, &size) == ERROR_SUCCESS) {
        saved_.emplace(size, '\0');
        ::RegGetValueA(root_, key_.c_str(), name_.c_str(), kAsStored, &type_, saved_->data(), &size);
    }
    Delete();
}

RegistryValue::~RegistryValue() {
    if (saved_) Set(type_, *saved_);
    else Delete();
}

void RegistryValue::Set(DWORD type, const std::string& bytes) const {
    HKEY handle = nullptr;
    LONG result = ::RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (result == ERROR_SUCCESS) {
        result = ::RegSetValueExA(handle, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                  static_cast<DWORD>(bytes.size()));
        ::RegCloseKey(handle);
    }
    if (result != ERROR_SUCCESS) throw std::runtime_error("cannot set registry value " + name_);
}

void RegistryValue::Delete() const {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &handle) == ERROR_SUCCESS) {
        ::RegDeleteValueA(handle, name_.c_str());
        ::RegCloseKey(handle);
    }
}

std::wstring Widen(const std::string& utf8) {
    std::wstring result(utf8.size(), L'\0');
    result.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                            result.data(), static_cast<int>(result.size()))));
    return result;
}

std::string Narrow(const std::wstring& text) {
    std::string result(text.size() * 2, '\0');
    result.resize(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                            result.data(), static_cast<int>(result.size()), nullptr,
                                                            nullptr)));
    return result;
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

}  // namespace ui
