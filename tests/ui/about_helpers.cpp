#include "tests/ui/about_helpers.h"

#include "tests/common/test_files.h"

#include <stdexcept>

namespace ui {
namespace {

struct Search {
    DWORD processId;
    const std::wstring* title;
    const std::wstring* className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && ::IsWindowVisible(window) && ClassName(window) == *search->className &&
        (search->title->empty() || WindowText(window) == *search->title)) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::wstring FakeToolBuilt() {
    // Built beside ui_tests.exe.
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return self.substr(0, self.find_last_of(L'\\')) + L"\\fake_msinfo.exe";
}

}  // namespace

HWND OpenAbout(const App& app) {
    ::PostMessageW(app.Main(), WM_COMMAND, MAKEWPARAM(ids::kMenuAbout, 0), 0);
    return app.WaitForOtherWindow(kAboutTitle, 10000);
}

std::vector<HWND> WindowsOf(const App& app, const std::wstring& title, const std::wstring& className) {
    Search search{app.ProcessId(), &title, &className, {}};
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PlaceFakeTool(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    // Create the folders on the way, one by one.
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos && at <= slash; at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    if (!::CopyFileW(FakeToolBuilt().c_str(), path.c_str(), FALSE)) throw std::runtime_error("cannot copy the tool");
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
    HKEY handle = nullptr;
    keyExisted_ = ::RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS;
    if (keyExisted_) {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExA(handle, name_.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::string bytes(size, '\0');
            ::RegQueryValueExA(handle, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
            bytes.resize(size);
            saved_ = Saved{type, bytes};
        }
        ::RegCloseKey(handle);
    }
    Delete();
}

RegistryValue::~RegistryValue() {
    if (saved_) {
        Set(saved_->type, saved_->bytes);
    } else if (keyExisted_) {
        Delete();
    } else {
        ::RegDeleteTreeA(root_, key_.c_str());
    }
}

void RegistryValue::Set(DWORD type, const std::string& bytes) const {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        throw std::runtime_error("cannot create registry key " + key_);
    }
    const LONG result = ::RegSetValueExA(handle, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                         static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(handle);
    if (result != ERROR_SUCCESS) throw std::runtime_error("cannot set registry value " + name_);
}

void RegistryValue::Delete() const {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &handle) == ERROR_SUCCESS) {
        ::RegDeleteValueA(handle, name_.c_str());
        ::RegCloseKey(handle);
    }
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), n, nullptr, nullptr);
    return result;
}

}  // namespace ui
