#include "tests/harness.h"

#include <oleacc.h>
#include <winternl.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ui {

// A Unix path from the environment on Wine's drive Z:.
static std::wstring PathFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) throw std::runtime_error(std::string("environment variable missing: ") + name);
    return L"Z:" + std::filesystem::path(value).wstring();
}

// libfaketime's file: a local time that stands still, or seconds ahead of the real clock.
template <typename... Values>
static void SetClock(const char* format, Values... values) {
    char text[32];
    std::snprintf(text, sizeof(text), format, values...);
    WriteFile(PathFromEnvironment("HORLOMAT_CLOCK_FILE"), text);
}

PinnedClock::PinnedClock(WORD year, WORD month, WORD day, WORD hour, WORD minute)
    : utc{year, month, 0, day, hour, minute, 0, 0} {
    SYSTEMTIME t{};
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &t);
    SetClock("%04u-%02u-%02u %02u:%02u:00\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

PinnedClock::~PinnedClock() {
    SetClock("+0\n");
}

void PinnedClock::RunOn(double back) {
    if (!ahead) {
        SetClock("+0\n");  // a moment of the real clock, to read it
        FILETIME real{}, pinned{};
        ::GetSystemTimePreciseAsFileTime(&real);
        ::SystemTimeToFileTime(&utc, &pinned);
        ahead = (std::bit_cast<LONGLONG>(pinned) - std::bit_cast<LONGLONG>(real)) / 1e7;
    }
    SetClock("%+.3f\n", *ahead - back);
}

Sandbox::Sandbox() {
    static int counter = 0;
    folder = std::filesystem::temp_directory_path().wstring() + L"horlomat-" +
             std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    std::filesystem::remove_all(folder);  // left by a killed run whose process id this one has again
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(PathFromEnvironment("HORLOMAT_EXE"), Exe());
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// Starts Horlomat in a job that ends with this program, so that no Horlomat outlives a test program that crashed.
// Its standard output and error go to `output` and `error`, or nowhere.
static PROCESS_INFORMATION Start(const std::wstring& path, const std::wstring& arguments, const std::wstring& folder,
                                 WORD show, HANDLE output = nullptr, HANDLE error = nullptr,
                                 const wchar_t* desktop = nullptr) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<wchar_t*>(desktop);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = show;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                          folder.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start Horlomat.exe (error " + std::to_string(::GetLastError()) + ")");
    }
    ::CloseHandle(info.hThread);
    static const HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    ::AssignProcessToJobObject(job, info.hProcess);
    return info;
}

HANDLE Launch(const Sandbox& sandbox, const std::wstring& arguments, const wchar_t* desktop) {
    return Start(sandbox.Exe(), arguments, sandbox.folder, SW_SHOWNORMAL, nullptr, nullptr, desktop).hProcess;
}

App::App(const Sandbox& sandbox, const std::wstring& exe, const std::wstring& workingFolder, WORD show,
         const std::wstring& arguments) {
    const PROCESS_INFORMATION info = Start(exe.empty() ? sandbox.Exe() : exe, arguments,
                                           workingFolder.empty() ? sandbox.folder : workingFolder, show);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    // Loaded once its fields are there and it answers.
    const auto loaded = [&] {
        main_ = nullptr;
        const std::vector<HWND> found = Windows(L"Tesmar-Software Horlomat setzten");
        return !found.empty() && (main_ = found[0]) && Item(ids::txtZeit) && Idle();
    };
    if (!WaitFor(loaded, 20000)) throw std::runtime_error("Horlomat's main window did not appear");
}

App::~App() {
    ::TerminateProcess(process_, 0);
    ::WaitForSingleObject(process_, 10000);
    ::CloseHandle(process_);
}

void App::SetText(int id, const std::wstring& text) const {
    ::SendMessageTimeoutW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                          nullptr);
}

std::wstring App::FieldTexts() const {
    std::wstring texts = Text(ids::txtZeit);
    for (int i = 1; i < 5; ++i) texts += L"|" + Text(ids::txtZeit + i);
    return texts;
}

void App::SetFields(const Fields& fields) const {
    for (int i = 0; i < 5; ++i) SetText(ids::txtZeit + i, fields[static_cast<size_t>(i)]);
}

void App::Menu(wchar_t menuKey, wchar_t itemKey) const {
    // Another process's menus cannot be read under Wine, so they are driven as the user would: the item's key once
    // the menu is open, to the thread whose keyboard the menu's loop reads.
    ::PostMessageW(main_, WM_SYSCHAR, menuKey, 1u << 29);
    WaitFor([&] { return !Windows(L"").empty(); });
    ::PostMessageW(main_, WM_CHAR, itemKey, 0);
}

bool App::Idle() const {
    // A sent message jumps the queue, so a marker is posted behind what was posted before: the modified flag of a
    // field, which Horlomat never reads.
    const HWND field = Item(ids::txtZeit);
    ::SendMessageTimeoutW(field, EM_SETMODIFY, FALSE, 0, SMTO_ABORTIFHUNG, 30000, nullptr);
    ::PostMessageW(field, EM_SETMODIFY, TRUE, 0);
    DWORD_PTR modified = 0;
    WaitFor([&] {
        return WaitForExit(0) ||
               (::SendMessageTimeoutW(field, EM_GETMODIFY, 0, 0, SMTO_ABORTIFHUNG, 30000, &modified) && modified);
    });
    return modified != 0;
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

std::vector<HWND> Windows(DWORD processId, const std::wstring& title, HWND except) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, nullptr, nullptr)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        wchar_t kind[8] = L"";  // of any process: message boxes only
        if ((processId ? owner == processId : ::GetClassNameW(w, kind, 8) && std::wstring(kind) == L"#32770") &&
            w != except && (title.empty() ? ::IsWindowVisible(w) : WindowText(w) == title)) {
            found.push_back(w);
        }
    }
    return found;
}

// Closes a message box with OK; its text.
static std::wstring CloseBox(HWND box) {
    const std::wstring text = WindowText(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !::IsWindow(box); });
    return text;
}

HWND App::WaitForWindow(const std::wstring& title) const {
    std::vector<HWND> found;
    WaitFor([&] { return !(found = Windows(title)).empty(); });
    return found.empty() ? nullptr : found.front();
}

std::vector<std::wstring> App::CloseBoxes() const {
    std::vector<std::wstring> texts;
    for (std::vector<HWND> boxes; Idle() && !(boxes = Windows(L"Horlomat")).empty();) {
        for (HWND box : boxes) texts.push_back(CloseBox(box));
    }
    return texts;
}

// A pipe whose writing end the started program inherits; all it says is read once it has ended.
struct Pipe {
    Pipe() {
        SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
        if (!::CreatePipe(&read, &write, &inherited, 1 << 16)) throw std::runtime_error("no pipe");
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    }
    ~Pipe() { ::CloseHandle(read); }
    std::wstring Text() {  // in the console's code page, which is the OEM one without a console
        ::CloseHandle(write);
        std::string bytes(1 << 16, '\0');
        DWORD got = 0;
        std::wstring text(::ReadFile(read, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ? got : 0,
                          L'\0');
        text.resize(static_cast<std::size_t>(::MultiByteToWideChar(
            CP_OEMCP, 0, bytes.data(), static_cast<int>(text.size()), text.data(), static_cast<int>(text.size()))));
        return text;
    }
    HANDLE read = nullptr, write = nullptr;
};

Told RunWith(const Sandbox& sandbox, const std::wstring& arguments, Output how, std::wstring exe) {
    std::optional<Pipe> output, error;
    if (how == Output::Pipe) output.emplace(), error.emplace();
    exe = exe.empty() ? sandbox.Exe() : exe;
    std::wstring command = arguments;
    if (how == Output::Explorer) {  // a person's start: the stand-in Explorer starts it and passes its exit code on
        command = L"\"" + exe + L"\" " + arguments;
        exe = sandbox.folder + L"\\shell\\explorer.exe";
        PlaceTool(exe);
    }
    const PROCESS_INFORMATION info = Start(exe, command, sandbox.folder, SW_SHOWNORMAL,
                                           output ? output->write : nullptr, error ? error->write : nullptr);
    Told told;
    WaitFor([&] {
        const DWORD from = how == Output::Explorer ? 0 : info.dwProcessId;  // the stand-in's child, of any number
        for (HWND box : how == Output::Pipe ? std::vector<HWND>{} : Windows(from, L"Horlomat"))
            told.text += CloseBox(box);
        return ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
    });
    ::GetExitCodeProcess(info.hProcess, &told.exitCode);
    ::TerminateProcess(info.hProcess, 0);  // one that did not end in time, and then no longer holds its folder
    ::WaitForSingleObject(info.hProcess, 10000);
    ::CloseHandle(info.hProcess);
    if (output) told.text = output->Text(), told.error = error->Text();
    return told;
}

std::wstring AccessibleName(HWND window) {
    [[maybe_unused]] static const HRESULT com = ::CoInitialize(nullptr);  // once, for the whole run
    // Spelled out: MinGW's liboleacc.a exports a thunk under the name IID_IAccessible.
    constexpr GUID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    IAccessible* object = nullptr;
    std::wstring text = L"<none>";
    if (SUCCEEDED(
            ::AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object)))) {
        VARIANT self{};
        self.vt = VT_I4;
        BSTR name = nullptr;  // CHILDID_SELF is 0
        text = SUCCEEDED(object->get_accName(self, &name)) && name ? name : L"";
        ::SysFreeString(name);
        object->Release();
    }
    return text;
}

Held Measure(DWORD processId) {
    Held r;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    // GDI objects: the used entries of the handle table the PEB points to (at 0xF8; Wine keeps one per process),
    // 0x10000 entries of 24 bytes, the type at 14: 1 DC, 4 region, 5 surface.
    PROCESS_BASIC_INFORMATION basic{};
    std::uint64_t table = 0;
    std::vector<std::uint8_t> e(0x10000 * 24);
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ::ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &table, 8, nullptr) &&
        table && ::ReadProcessMemory(process, reinterpret_cast<void*>(table), e.data(), e.size(), nullptr)) {
        r.gdi = r.cached = 0;
        for (std::size_t i = 14; i < e.size(); i += 24) {
            if (e[i] != 0) ++(e[i] == 1 || e[i] == 4 || e[i] == 5 ? r.cached : r.gdi);
        }
    }
    ::CloseHandle(process);
    // Kernel handles: the system's list (SystemExtendedHandleInformation) of a count, a reserved word and entries
    // of five words, the owner's process id in the second.
    std::vector<ULONG_PTR> list(1 << 20);
    const NTSTATUS status = ::NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(64), list.data(),
                                                       static_cast<ULONG>(list.size() * sizeof(ULONG_PTR)), nullptr);
    for (ULONG_PTR i = 0; status == 0 && i < list[0]; ++i) r.handles += list[2 + i * 5 + 1] == processId;
    if (status == 0) ++r.handles;  // from -1
    // Windows: the top-level ones and their descendants.
    r.windows = 0;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, nullptr, nullptr)) != nullptr;) {
        DWORD owner = 0;
        if (::GetWindowThreadProcessId(w, &owner) && owner == processId) {
            ++r.windows;
            const WNDENUMPROC count = [](HWND, LPARAM n) { return ++*reinterpret_cast<long long*>(n), TRUE; };
            ::EnumChildWindows(w, count, reinterpret_cast<LPARAM>(&r.windows));
        }
    }
    return r;
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
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> runs;
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        runs.push_back(text.substr(start, end - start));
    }
    return runs;
}

void SetValue(HKEY root, const char* key, const char* name, std::optional<std::string> bytes, DWORD type) {
    if (!bytes) ::RegDeleteKeyValueA(root, key, name);
    else if (::RegSetKeyValueA(root, key, name, type, bytes->data(), static_cast<DWORD>(bytes->size())) != 0) {
        throw std::runtime_error(std::string("cannot set a value of ") + key);
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(4096, L'\0');
    DWORD_PTR length = 0;
    const bool answered = ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                                SMTO_ABORTIFHUNG, 5000, &length);
    return answered ? text.substr(0, length) : L"<no answer>";
}

std::optional<std::string> ReadFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace ui
