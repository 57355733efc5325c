// How the bytes of one registry value, as RegQueryValueExA hands them out,
// read as text. No registry access here, so every rule can be tried directly.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace about {

struct RegistryText {
    enum class Kind {
        Text,         // `text` is the value
        Expandable,   // `text` still holds its %VARIABLES%
        Unconverted,  // a type that is not read as text: the caller keeps what it had
        Malformed,    // bytes that do not fit the type
    };
    Kind kind = Kind::Unconverted;
    std::wstring text;
};

// `bytes` are the `size` bytes the query reported, texts in the ANSI code page.
//  - A text may be stored with or without its terminating zero: one trailing
//    zero byte is dropped, no more.
//  - A value of zero bytes reads as an empty text.
//  - A REG_DWORD is its little-endian number of one to four bytes, written as
//    unsigned decimal, so 0xFFFFFFFF reads "4294967295" as regedit shows it.
RegistryText DecodeRegistryValue(DWORD type, std::string_view bytes);

}  // namespace about
