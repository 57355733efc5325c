// What Horlomat.exe carries: its icon and its version record.
#include "tests/common/test_files.h"
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace ui {
namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

class Executable : public testing::Test {
protected:
    void SetUp() override {
        module_ = ::LoadLibraryExW(BuiltExePath().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { ::FreeLibrary(module_); }

    std::pair<const BYTE*, DWORD> Resource(LPCWSTR name, LPCWSTR type) const {
        HRSRC found = ::FindResourceW(module_, name, type);
        if (!found) return {nullptr, 0};
        return {static_cast<const BYTE*>(::LockResource(::LoadResource(module_, found))),
                ::SizeofResource(module_, found)};
    }

    HMODULE module_ = nullptr;
};

TEST_F(Executable, CarriesTheIconIn32And16PixelsWith16Colours) {
    auto [data, size] = Resource(MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(data, nullptr);
    ASSERT_GE(size, sizeof(GroupIconHeader));
    const auto* header = reinterpret_cast<const GroupIconHeader*>(data);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    std::set<int> sizes;
    for (WORD i = 0; i < header->count; ++i) {
        EXPECT_EQ(entries[i].colorCount, 16);
        EXPECT_EQ(entries[i].bitCount, 4);
        sizes.insert(entries[i].width);
        EXPECT_EQ(entries[i].width, entries[i].height);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST_F(Executable, CarriesTheGermanVersionRecord) {
    auto [data, size] = Resource(MAKEINTRESOURCEW(1), RT_VERSION);
    ASSERT_NE(data, nullptr);
    // The record holds UTF-16 key/value pairs; look each pair up as it stands.
    const std::wstring record(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    auto has = [&](const std::wstring& key, const std::wstring& value) {
        const size_t at = record.find(key);
        if (at == std::wstring::npos) return false;
        return record.find(value, at + key.size()) < at + key.size() + 8 + value.size();
    };
    EXPECT_TRUE(has(L"CompanyName", L"Tesmar"));
    EXPECT_TRUE(has(L"ProductName", L"Horlomat"));
    EXPECT_TRUE(has(L"InternalName", L"Horlomat"));
    EXPECT_TRUE(has(L"OriginalFilename", L"Horlomat.exe"));
    EXPECT_TRUE(has(L"FileVersion", L"1.0.0.0"));
    EXPECT_TRUE(has(L"ProductVersion", L"1.0.0.0"));
    EXPECT_NE(record.find(L"040704b0"), std::wstring::npos) << "German (Germany), Unicode";

    const VS_FIXEDFILEINFO* fixed = nullptr;
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size && !fixed; at += 4) {
        const auto* candidate = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + at);
        if (candidate->dwSignature == 0xFEEF04BDu) fixed = candidate;
    }
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
}

TEST(ExecutableFile, IsBuiltWithAslrAndDep) {
    const std::string image = testfiles::Read(BuiltExePath()).value_or("");
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64), image.size());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
    ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
    ASSERT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    const WORD flags = nt->OptionalHeader.DllCharacteristics;
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "ASLR";
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA) << "64-bit ASLR";
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "DEP";
    EXPECT_EQ(nt->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED, 0) << "relocations are needed for ASLR";
    EXPECT_EQ(nt->FileHeader.TimeDateStamp, 0u) << "no build time in the binary";
}

}  // namespace
}  // namespace ui
