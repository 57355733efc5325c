#include "tests/robust/settings_check.h"

#include "tests/robust/robust.h"

#include <array>
#include <map>

namespace robust {
namespace {

const wchar_t* const kKeys[] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute", L"ZeitHalten"};

std::string ToAnsi(const std::wstring& text, bool* lost = nullptr) {
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string result(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), result.data(), n,
                          nullptr, lost ? &usedDefault : nullptr);
    if (lost) *lost = usedDefault != FALSE;
    return result;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
    return result;
}

std::string Trimmed(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::wstring ReadAtStart(const std::wstring& iniPath, const wchar_t* key, const std::wstring& defaultValue) {
    char buffer[255] = {};
    const DWORD n = ::GetPrivateProfileStringA("Zeit", ToAnsi(key).c_str(), ToAnsi(defaultValue).c_str(), buffer,
                                               sizeof(buffer), ToAnsi(iniPath).c_str());
    return FromAnsi(std::string(buffer, n));
}

std::string CheckHoldsExactly(const std::wstring& iniPath, const std::string& bytes, const Fields& fields, bool hold) {
    // The layout, line by line.
    int sections = 0;
    bool inZeit = false;
    std::map<std::string, int> keys;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (Trimmed(line).empty()) continue;
        if (line.front() == '[') {
            inZeit = line == "[Zeit]";
            if (!inZeit) return "another section: " + line;
            ++sections;
            continue;
        }
        if (!inZeit) return "a line outside section Zeit: " + line.substr(0, 60);
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) return "a line without '=': " + line.substr(0, 60);
        ++keys[Trimmed(line.substr(0, equals))];
    }
    if (sections != 1) return "section Zeit " + std::to_string(sections) + " times";
    if (keys.size() != std::size(kKeys)) return std::to_string(keys.size()) + " different keys";
    for (const wchar_t* key : kKeys) {
        if (keys[ToAnsi(key)] != 1) return "key " + ToAnsi(key) + " not exactly once";
    }

    // The values, as the next start reads them.
    for (std::size_t i = 0; i < 5; ++i) {
        const std::wstring read = ReadAtStart(iniPath, kKeys[i], L"<missing>");
        if (read != fields[i]) {
            return ToAnsi(kKeys[i]) + " reads back as \"" + Escaped(read) + "\", the field showed \"" +
                   Escaped(fields[i]) + "\"";
        }
    }
    const std::wstring holdRead = ReadAtStart(iniPath, kKeys[5], L"<missing>");
    if (holdRead != (hold ? L"JA" : L"NEIN")) return "ZeitHalten reads back as " + Escaped(holdRead);
    return {};
}

bool FileCanHold(const std::wstring& text) {
    if (text.find_first_of(L"\r\n") != std::wstring::npos) return false;
    bool lost = false;
    const std::string ansi = ToAnsi(text, &lost);
    return !lost && FromAnsi(ansi) == text && ansi.size() + 2 <= 254;
}

}  // namespace robust
