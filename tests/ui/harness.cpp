#include "tests/ui/harness.h"

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ui {
namespace {

// Wine shows the Unix file system as drive Z:.
std::wstring PathFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) throw std::runtime_error(std::string("environment variable missing: ") + name);
    std::wstring path = Widen(value);
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    return value[0] == '/' ? L"Z:" + path : path;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

std::optional<std::string> ReadFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

PinnedClock::PinnedClock(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    const SYSTEMTIME utc{year, month, 0, day, hour, minute, 0, 0};
    SYSTEMTIME t{};  // libfaketime takes local time
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &t);
    char text[64];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:00\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    WriteFile(PathFromEnvironment("HORLOMAT_CLOCK_FILE"), text);
}

PinnedClock::~PinnedClock() {
    WriteFile(PathFromEnvironment("HORLOMAT_CLOCK_FILE"), "+0\n");
}

Sandbox::Sandbox() {
    static int counter = 0;
    folder_ = std::filesystem::temp_directory_path().wstring() + L"horlomat-" +
              std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    std::filesystem::create_directories(folder_);
    std::filesystem::copy_file(PathFromEnvironment("HORLOMAT_EXE"), Exe());
}

Sandbox::~Sandbox() {
    ::SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_NORMAL);  // some cases make it read-only
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void Sandbox::WriteIni(const std::string& bytes) const {
    WriteFile(Ini(), bytes);
}

std::optional<std::string> Sandbox::ReadIni() const {
    return ReadFile(Ini());
}

App::App(const Sandbox& sandbox, int showCommand, const std::wstring& exe, const std::wstring& workingFolder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = showCommand == SW_SHOWDEFAULT ? 0 : STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION info{};
    const std::wstring path = exe.empty() ? sandbox.Exe() : exe;
    std::wstring commandLine = L"\"" + path + L"\"";
    const std::wstring& folder = workingFolder.empty() ? sandbox.Folder() : workingFolder;
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info)) {
        throw std::runtime_error("cannot start Horlomat.exe (error " + std::to_string(::GetLastError()) + ")");
    }
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    ::CloseHandle(info.hThread);
    ::WaitForInputIdle(process_, 20000);
    const auto mainWindow = [&] {
        for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, L"HorlomatFrmTime", kMainTitle)) != nullptr;) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            if (owner == processId_) return w;
        }
        return HWND{};
    };
    if (!WaitFor([&] { return (main_ = mainWindow()) != nullptr && Idle(); }, 20000)) {
        throw std::runtime_error("Horlomat's main window did not appear");
    }
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
    ::SendMessageTimeoutW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                          nullptr);
}

void App::SetFields(const Fields& fields) const {
    for (int i = 0; i < 5; ++i) SetText(ids::txtZeit + i, fields[static_cast<size_t>(i)]);
}

void App::SetTicked(bool on) const {
    ::SendMessageW(Item(ids::chkRegel), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void App::Click(int id) const {
    ::SendMessageTimeoutW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)),
                          SMTO_ABORTIFHUNG, 30000, nullptr);
}

void App::PostClick(int id) const {
    ::PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void App::Tick() const {
    ::PostMessageW(main_, WM_TIMER, ids::Timer1, 0);
}

void App::Menu(wchar_t menuKey, wchar_t itemKey) const {
    // Another process's menus cannot be read under Wine, so they are driven as the user would.
    ::PostMessageW(main_, WM_SYSCHAR, menuKey, 1u << 29);
    HWND menu = nullptr;  // this program's, not any "#32768" on the desktop
    WaitFor([&] {
        for (HWND w : Windows()) {
            wchar_t name[16] = {};
            if (::GetClassNameW(w, name, 16) && std::wstring(name) == L"#32768") menu = w;
        }
        return menu != nullptr;
    }, 5000);
    ::PostMessageW(menu ? menu : main_, WM_CHAR, itemKey, 0);
    // Wine's menu loop reads the keyboard of the main window's thread.
    ::PostMessageW(main_, WM_KEYDOWN, ::VkKeyScanW(itemKey) & 0xFF, 0);
}

bool App::Idle() const {
    return ::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, nullptr) != 0;
}

HWND App::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(main_, nullptr), &info) ? info.hwndFocus : nullptr;
}

void App::Key(UINT key) const {
    const HWND focus = Focus();
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE) ::PostMessageW(focus, WM_CHAR, key, 1);
    ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

bool App::WaitForExit(DWORD milliseconds) const {
    return ::WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

std::vector<HWND> App::Windows(const std::wstring& title) const {
    struct Search {
        const App& app;
        const std::wstring& title;
        std::vector<HWND> found;
    } search{*this, title, {}};
    ::EnumWindows([](HWND window, LPARAM param) {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == s.app.processId_ && window != s.app.main_ && ::IsWindowVisible(window) &&
            (s.title.empty() || WindowText(window) == s.title)) {
            s.found.push_back(window);
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND App::WaitForWindow(const std::wstring& title, DWORD milliseconds) const {
    HWND found = nullptr;
    WaitFor([&] {
        const std::vector<HWND> windows = Windows(title);
        return (found = windows.empty() ? nullptr : windows.front()) != nullptr;
    }, milliseconds);
    return found;
}

HWND App::OpenAbout() const {
    ::PostMessageW(main_, WM_COMMAND, MAKEWPARAM(ids::mnuAbout, 0), 0);
    return WaitForWindow(L"Info zu Horlomat");
}

std::wstring AccessibleName(HWND window) {
    const HRESULT com = ::CoInitialize(nullptr);
    IAccessible* object = nullptr;
    std::wstring text = L"<none>";
    // Spelled out: MinGW's liboleacc.a exports a thunk under the name IID_IAccessible.
    constexpr GUID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    if (SUCCEEDED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible,
                                               reinterpret_cast<void**>(&object)))) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        text = SUCCEEDED(object->get_accName(self, &name)) && name ? name : L"";
        ::SysFreeString(name);
        object->Release();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return text;
}

std::wstring BoxText(HWND box) {
    return WindowText(::GetDlgItem(box, 0xFFFF));
}

bool CloseBox(HWND box) {
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return WaitFor([&] { return !::IsWindow(box); }, 10000);
}

void PlaceTool(const std::wstring& path) {
    std::wstring self(MAX_PATH, L'\0');  // the tool is built beside the test program
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::copy_file(self.substr(0, self.find_last_of(L'\\')) + L"\\fake_tool.exe", path,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(path + L".runs");
}

std::vector<std::wstring> ToolRuns(const std::wstring& path) {
    const std::string bytes = ReadFile(path + L".runs").value_or("");
    std::vector<std::wstring> runs;
    for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        runs.push_back(Widen(bytes.substr(start, end - start)));
    }
    return runs;
}

void SetValue(HKEY root, const char* key, const char* name, std::optional<std::string> bytes, DWORD type) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error(std::string("cannot open registry key ") + key);
    }
    if (bytes) {
        ::RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(bytes->data()),
                         static_cast<DWORD>(bytes->size()));
    } else {
        ::RegDeleteValueA(handle, name);
    }
    ::RegCloseKey(handle);
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

}  // namespace ui
