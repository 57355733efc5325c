// Registry text: how one value's bytes read, GetKeyValue on a real key, the program started from it.
#include "about/sysinfo.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

namespace {

using namespace std::string_literals;
using Kind = about::RegistryText::Kind;

TEST(DecodeRegistryValue, ReadsNumbersUnsignedAndTextsWithoutOneZero) {
    const struct { DWORD type; std::string bytes; Kind kind; std::wstring text; } cases[] = {
        {REG_DWORD, "\x00\x01\x00\x00"s, Kind::Text, L"256"}, {REG_DWORD, "\x05"s, Kind::Text, L"5"},
        {REG_DWORD, "\x00\x00\x00\x80"s, Kind::Text, L"2147483648"},
        {REG_DWORD, "\xFF\xFF\xFF\xFF"s, Kind::Text, L"4294967295"},
        {REG_DWORD, "\x01\x02\x03\x04\x05"s, Kind::Malformed, L""},
        {REG_SZ, "ab\0\0"s, Kind::Text, L"ab\0"s},
        {REG_SZ, "Gr\xFC\xDF" "e \x80"s, Kind::Text, L"Grüße €"},  // the ANSI code page of a German Windows
        {REG_EXPAND_SZ, "%ProgramFiles%\\x\0"s, Kind::Expandable, L"%ProgramFiles%\\x"},
        {REG_QWORD, "\x01\x00\x00\x00\x00\x00\x00\x00"s, Kind::Unconverted, L""},
    };
    for (const auto& c : cases) {
        const about::RegistryText value = about::DecodeRegistryValue(c.type, c.bytes);
        EXPECT_EQ(value.kind, c.kind) << testing::PrintToString(c.bytes);
        EXPECT_EQ(value.text, c.text) << testing::PrintToString(c.bytes);
    }
}

TEST(GetKeyValue, ReadsUpTo1024BytesExpandsVariablesAndNeedsOnlyReadAccess) {
    const std::wstring name = L"Software\\Horlomat-unit-" + std::to_wstring(::GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyW(HKEY_CURRENT_USER, name.c_str(), &key), ERROR_SUCCESS);
    const auto read = [&](const std::wstring& subKey = L"", const std::wstring& value = L"v") {
        std::wstring KeyVal = L"vorher";
        const bool found = about::GetKeyValue(HKEY_CURRENT_USER, name + subKey, value, KeyVal);
        return std::make_pair(found, KeyVal);
    };
    EXPECT_EQ(read(L"\\fehlt"), std::make_pair(false, L""s));
    EXPECT_EQ(read(L"", L"fehlt"), std::make_pair(false, L""s));
    ::SetEnvironmentVariableW(L"HORLOMAT_UNIT", std::wstring(5000, L'x').c_str());
    const struct { DWORD type; std::string bytes; bool found; std::wstring text; } cases[] = {
        {REG_SZ, std::string(1023, 'a') + '\0', true, std::wstring(1023, L'a')},
        {REG_SZ, std::string(1024, 'a'), true, std::wstring(1024, L'a')},
        {REG_SZ, std::string(1024, 'a') + '\0', false, L""},
        {REG_SZ, "", true, L""},
        {REG_EXPAND_SZ, "%HORLOMAT_UNIT%\\MSInfo\0"s, true, std::wstring(5000, L'x') + L"\\MSInfo"},
        {REG_SZ, "C:\\Tools\0"s, true, L"C:\\Tools"},
    };
    for (const auto& c : cases) {
        const std::string guarded = c.bytes + 'x';  // a zero right after the bytes would be counted in
        ::RegSetValueExA(key, "v", 0, c.type, reinterpret_cast<const BYTE*>(guarded.data()), DWORD(c.bytes.size()));
        EXPECT_EQ(read(), std::make_pair(c.found, c.text)) << c.bytes.size() << " bytes";
    }
    // Below HKEY_LOCAL_MACHINE a standard user may read a key but not write it.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                       &readOnly, nullptr));
    EXPECT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    ::LocalFree(readOnly);
    EXPECT_EQ(read(), std::make_pair(true, L"C:\\Tools"s));  // the last value above
    ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, name.c_str());
}

// An unquoted path with blanks never starts a program planted at a prefix (C:\Program.exe).
TEST(ToolCommand, NeverSplitsAPathAtABlankBeforeItsProgramName) {
    const auto isFile = [](const std::wstring& path) { return path == L"C:\\Tools\\my tool"; };
    const struct { const wchar_t *text, *application, *commandLine; } cases[] = {
        {L"C:\\Tools\\my tool", L"C:\\Tools\\my tool", L"\"C:\\Tools\\my tool\""},  // an existing file
        {L"\"C:\\Program Files\\x.exe\" /a", L"", L"\"C:\\Program Files\\x.exe\" /a"},
        {L"C:\\Program Files\\x.exe /report a b.txt", L"", L"\"C:\\Program Files\\x.exe\" /report a b.txt"},
        {L"C:\\a.exed\\b c\\x.Exe\t-q", L"", L"\"C:\\a.exed\\b c\\x.Exe\"\t-q"},
        {L"C:\\Program Files\\MSInfo\\msinfo32 /x", L"", L"\"C:\\Program Files\\MSInfo\\msinfo32 /x\""},
    };
    for (const auto& c : cases) {
        const std::optional<about::ToolCommand> command = about::ToolCommandFor(c.text, isFile);
        ASSERT_TRUE(command.has_value()) << c.text;
        EXPECT_EQ(command->application, c.application) << c.text;
        EXPECT_EQ(command->commandLine, c.commandLine) << c.text;
    }
    EXPECT_FALSE(about::ToolCommandFor(L"", isFile).has_value());
}

}  // namespace
