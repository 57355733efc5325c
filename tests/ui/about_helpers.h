// What the About dialog's and the launcher's tests share: opening the dialog,
// the stand-in tool, registry values set for one case, and message boxes.
#pragma once

#include "tests/ui/harness.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ui {

inline constexpr wchar_t kAboutTitle[] = L"Info zu Horlomat";

// Opens the About dialog through its menu command and waits for it.
HWND OpenAbout(const App& app);

// Visible top-level windows of the app's process with this title (any when
// empty) and class.
std::vector<HWND> WindowsOf(const App& app, const std::wstring& title, const std::wstring& className = L"#32770");

// The stand-in tool (tests/tools/fake_msinfo.cpp), copied to `path`.
void PlaceFakeTool(const std::wstring& path);
// The command lines the copy at `path` was started with, one per run.
std::vector<std::wstring> ToolRuns(const std::wstring& path);

// One registry value, set as a case needs it; what was there before is put
// back when the object goes.
class RegistryValue {
public:
    RegistryValue(HKEY root, std::string key, std::string name);
    ~RegistryValue();
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

    void Set(DWORD type, const std::string& bytes) const;
    void SetText(const std::string& text) const { Set(REG_SZ, text + '\0'); }
    void Delete() const;

private:
    struct Saved {
        DWORD type;
        std::string bytes;
    };
    HKEY root_;
    std::string key_;
    std::string name_;
    bool keyExisted_ = false;
    std::optional<Saved> saved_;
};

std::string Narrow(const std::wstring& text);  // to the ANSI code page

}  // namespace ui
