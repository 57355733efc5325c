// Reading one registry value as text: the decoding of its bytes, and
// GetKeyValue against real keys below HKEY_CURRENT_USER.
#include "about/registry_value.h"
#include "about/sysinfo.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

#include <string>

namespace {

using about::DecodeRegistryValue;
using Kind = about::RegistryText::Kind;

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(DecodeRegistryValue, NumbersAreLittleEndianAndUnsigned) {
    const struct {
        std::string bytes;
        const wchar_t* text;
    } cases[] = {
        {Bytes({0x00, 0x01, 0x00, 0x00}), L"256"},
        {Bytes({0x05, 0x00, 0x00, 0x00}), L"5"},
        {Bytes({0x00, 0x00, 0x00, 0x00}), L"0"},
        {Bytes({0x78, 0x56, 0x34, 0x12}), L"305419896"},
        {Bytes({0x00, 0x00, 0x00, 0x80}), L"2147483648"},
        {Bytes({0xFF, 0xFF, 0xFF, 0xFF}), L"4294967295"},
        {Bytes({0x05}), L"5"},                          // shorter than four bytes
        {Bytes({0x01, 0x00, 0x00, 0x00, 0x00}), L"1"},  // a fifth byte of zero is dropped
        {"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const about::RegistryText value = DecodeRegistryValue(REG_DWORD, c.bytes);
        EXPECT_EQ(value.kind, Kind::Text);
        EXPECT_EQ(value.text, c.text);
    }
    EXPECT_EQ(DecodeRegistryValue(REG_DWORD, Bytes({1, 2, 3, 4, 5})).kind, Kind::Malformed);
}

TEST(DecodeRegistryValue, TextsLoseOneTerminatingZeroAtMost) {
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {std::string("C:\\Tools\0", 9), L"C:\\Tools"},
        {"C:\\Tools", L"C:\\Tools"},
        {std::string("\0", 1), L""},
        {"", L""},
        {std::string("ab\0\0", 4), std::wstring(L"ab\0", 3)},
        {"Gr\xFC\xDF" "e", L"Grüße"},  // the ANSI code page of a German Windows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const about::RegistryText value = DecodeRegistryValue(REG_SZ, c.bytes);
        EXPECT_EQ(value.kind, Kind::Text);
        EXPECT_EQ(value.text, c.text);
    }
}

TEST(DecodeRegistryValue, ExpandableTextsAreMarkedAndOtherTypesLeftAlone) {
    const about::RegistryText expandable = DecodeRegistryValue(REG_EXPAND_SZ, std::string("%ProgramFiles%\\x\0", 17));
    EXPECT_EQ(expandable.kind, Kind::Expandable);
    EXPECT_EQ(expandable.text, L"%ProgramFiles%\\x");
    for (DWORD type : {REG_NONE, REG_BINARY, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ, REG_QWORD}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(DecodeRegistryValue(type, "abc").kind, Kind::Unconverted);
    }
}

// A key of its own below HKEY_CURRENT_USER, removed after each case.
class GetKeyValue : public testing::Test {
protected:
    void SetUp() override {
        keyName_ = L"Software\\Horlomat-unit-" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, keyName_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        ::RegCloseKey(key_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, keyName_.c_str());
    }
    // Stores exactly `bytes`: a text handed over without its zero only stays
    // so when no zero follows in memory, or the system counts it in.
    void Set(DWORD type, const std::string& bytes) const {
        const std::string guarded = bytes + 'x';
        ASSERT_EQ(::RegSetValueExA(key_, "v", 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    // The result, and what KeyVal holds afterwards; it comes in as "vorher".
    std::pair<bool, std::wstring> Read(const std::wstring& valueName = L"v") const {
        std::wstring KeyVal = L"vorher";
        const bool found = about::GetKeyValue(HKEY_CURRENT_USER, keyName_, valueName, KeyVal);
        return {found, KeyVal};
    }

    std::wstring keyName_;
    HKEY key_ = nullptr;
};

TEST_F(GetKeyValue, AbsentKeyOrValueGivesFalseAndEmptyText) {
    std::wstring KeyVal = L"vorher";
    EXPECT_FALSE(about::GetKeyValue(HKEY_CURRENT_USER, keyName_ + L"\\fehlt", L"v", KeyVal));
    EXPECT_EQ(KeyVal, L"");
    EXPECT_EQ(Read(L"fehlt"), std::make_pair(false, std::wstring()));
}

TEST_F(GetKeyValue, ReadsTextsUpToTheBufferOf1024Bytes) {
    const struct {
        DWORD type;
        std::string bytes;
        bool found;
        std::wstring text;
    } cases[] = {
        {REG_SZ, std::string(1023, 'a') + '\0', true, std::wstring(1023, L'a')},
        {REG_SZ, std::string(1024, 'a'), true, std::wstring(1024, L'a')},
        {REG_SZ, std::string(1024, 'a') + '\0', false, L""},
        {REG_SZ, "", true, L""},  // zero bytes: an empty text, no failure
        {REG_DWORD, Bytes({0x00, 0x01, 0x00, 0x00}), true, L"256"},
        {REG_BINARY, Bytes({1, 2, 3}), true, L"vorher"},  // found, text left as it was
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.bytes.size() << " bytes");
        Set(c.type, c.bytes);
        EXPECT_EQ(Read(), std::make_pair(c.found, c.text));
    }
}

TEST_F(GetKeyValue, ExpandsVariablesOfExpandableTextsWhateverTheirLength) {
    const std::wstring longValue(5000, L'x');
    ::SetEnvironmentVariableW(L"HORLOMAT_UNIT_SHORT", L"C:\\Tools");
    ::SetEnvironmentVariableW(L"HORLOMAT_UNIT_LONG", longValue.c_str());

    Set(REG_EXPAND_SZ, std::string("%HORLOMAT_UNIT_SHORT%\\MSInfo\0", 29));
    EXPECT_EQ(Read(), std::make_pair(true, std::wstring(L"C:\\Tools\\MSInfo")));
    Set(REG_EXPAND_SZ, std::string("%HORLOMAT_UNIT_LONG%;%HORLOMAT_UNIT_LONG%\0", 42));
    EXPECT_EQ(Read(), std::make_pair(true, longValue + L";" + longValue));

    ::SetEnvironmentVariableW(L"HORLOMAT_UNIT_SHORT", nullptr);
    ::SetEnvironmentVariableW(L"HORLOMAT_UNIT_LONG", nullptr);
}

// A standard user may read but not write the keys below HKEY_LOCAL_MACHINE.
TEST_F(GetKeyValue, AKeyThatMayOnlyBeReadIsRead) {
    Set(REG_SZ, std::string("C:\\Tools\0", 9));
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                       &readOnly, nullptr));
    ASSERT_EQ(::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    ::LocalFree(readOnly);

    EXPECT_EQ(Read(), std::make_pair(true, std::wstring(L"C:\\Tools")));
}

}  // namespace
