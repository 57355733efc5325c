// The launcher's rules: how one registry value's bytes read, GetKeyValue on a real key, the command started.
#include "about/sysinfo.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

namespace {

using namespace std::string_literals;
using Kind = about::RegistryText::Kind;

TEST(DecodeRegistryValue, ReadsNumbersUnsignedAndTextsWithoutOneZero) {
    const struct {
        DWORD type;
        std::string bytes;
        Kind kind;
        std::wstring text;
    } cases[] = {
        {REG_DWORD, "\x00\x01\x00\x00"s, Kind::Text, L"256"},
        {REG_DWORD, "\x05"s, Kind::Text, L"5"},
        {REG_DWORD, "\x00\x00\x00\x80"s, Kind::Text, L"2147483648"},
        {REG_DWORD, "\xFF\xFF\xFF\xFF"s, Kind::Text, L"4294967295"},
        {REG_DWORD, "\x01\x02\x03\x04\x05"s, Kind::Malformed, L""},
        {REG_SZ, "ab\0\0"s, Kind::Text, L"ab\0"s},
        {REG_SZ,
         "Gr\xFC\xDF"
         "e \x80"s,
         Kind::Text, L"Grüße €"},  // the ANSI code page of a German Windows
        {REG_EXPAND_SZ, "%ProgramFiles%\\x\0"s, Kind::Expandable, L"%ProgramFiles%\\x"},
        {REG_QWORD, "\x01\x00\x00\x00\x00\x00\x00\x00"s, Kind::Unconverted, L""},
    };
    for (const auto& c : cases) {
        const about::RegistryText value = about::DecodeRegistryValue(c.type, c.bytes);
        EXPECT_EQ(value.kind, c.kind) << testing::PrintToString(c.bytes);
        EXPECT_EQ(value.text, c.text) << testing::PrintToString(c.bytes);
    }
}

// Every type at the edges of the 1024-byte buffer and of a DWORD, read as the decoder says, from a key the reader
// may only read: below HKEY_LOCAL_MACHINE a standard user may not write.
TEST(GetKeyValue, ReadsEveryTypeAndSizeWithReadAccessOnly) {
    const wchar_t name[] = L"Software\\Horlomat-unit";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, name);  // a killed run's
    HKEY key = nullptr;                         // keeps the right to write that it was opened with
    ASSERT_EQ(::RegCreateKeyW(HKEY_CURRENT_USER, name, &key), ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr);
    ASSERT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    ::LocalFree(readOnly);
    const auto read = [&](DWORD type, const std::string& bytes) {
        const std::string guarded = bytes + 'x';  // the system would count a zero right after a text in
        ::RegSetValueExA(key, "v", 0, type, reinterpret_cast<const BYTE*>(guarded.data()), DWORD(bytes.size()));
        std::wstring KeyVal = L"vorher";
        const bool found = about::GetKeyValue(HKEY_CURRENT_USER, name, L"v", KeyVal);
        return std::make_pair(found, KeyVal);
    };
    for (DWORD type = REG_NONE; type <= REG_QWORD; ++type) {
        for (size_t size : {0, 1, 2, 4, 5, 6, 1023, 1024, 1025}) {
            const std::string bytes = std::string(size - size % 2, '7') + std::string(size % 2, '\0');
            const about::RegistryText decoded = about::DecodeRegistryValue(type, bytes);
            const bool found = size <= 1024 && decoded.kind != Kind::Malformed;
            const std::wstring text = !found ? L"" : decoded.kind == Kind::Unconverted ? L"vorher" : decoded.text;
            EXPECT_EQ(read(type, bytes), std::make_pair(found, text)) << "type " << type << ", " << size << " bytes";
        }
    }
    ::SetEnvironmentVariableW(L"HORLOMAT_UNIT", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(read(REG_EXPAND_SZ, "%HORLOMAT_UNIT%\\MSInfo"),
              std::make_pair(true, std::wstring(5000, L'x') + L"\\MSInfo"));
    EXPECT_EQ(read(REG_SZ, "C:\\Tools\0"s), std::make_pair(true, L"C:\\Tools"s));
    ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, name);
}

// An unquoted path with blanks never starts a program planted at a prefix (C:\Program.exe).
TEST(ToolCommand, NeverSplitsAPathAtABlankBeforeItsProgramName) {
    const auto isFile = [](const std::wstring& path) { return path == L"C:\\Tools\\my tool"; };
    const struct {
        const wchar_t *text, *application, *commandLine;
    } cases[] = {
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
