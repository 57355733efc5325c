#include "about/tool_command.h"

#include <cwctype>

namespace about {
namespace {

std::wstring Quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

// Where the first ".exe" (any case) that ends a word ends, or npos.
size_t EndOfExeName(std::wstring_view text) {
    constexpr std::wstring_view kExe = L".exe";
    for (size_t at = 0; at + kExe.size() <= text.size(); ++at) {
        bool match = true;
        for (size_t i = 0; i < kExe.size() && match; ++i) {
            match = std::towlower(text[at + i]) == kExe[i];
        }
        const size_t end = at + kExe.size();
        if (match && (end == text.size() || text[end] == L' ' || text[end] == L'\t')) return end;
    }
    return std::wstring_view::npos;
}

}  // namespace

std::optional<ToolCommand> ToolCommandFor(const std::wstring& text,
                                          const std::function<bool(const std::wstring&)>& isFile) {
    if (text.empty()) return std::nullopt;
    if (isFile(text)) return ToolCommand{text, Quoted(text)};
    if (text.front() == L'"') return ToolCommand{L"", text};
    const size_t end = EndOfExeName(text);
    if (end != std::wstring::npos) {
        const std::wstring_view view(text);
        return ToolCommand{L"", Quoted(view.substr(0, end)) + std::wstring(view.substr(end))};
    }
    return ToolCommand{L"", Quoted(text)};
}

}  // namespace about
