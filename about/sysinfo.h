// Finds the system information tool through two registry values and starts it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace about {

// Starts the tool, or tells the user in one message box, owned by `owner`,
// that it is unavailable. Returns once the tool is started or the box closed.
void StartSysInfo(HWND owner);

// Reads one value below `KeyRoot` as text into `KeyVal`: true when it was read.
// A type that is not read as text (neither REG_SZ, REG_EXPAND_SZ nor
// REG_DWORD) counts as found and leaves `KeyVal` as it was. On false `KeyVal`
// is empty.
bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef, std::wstring& KeyVal);

// How the bytes of one value, as RegQueryValueExA hands them out, read as text:
//  - A text may be stored with or without its terminating zero: one trailing
//    zero byte is dropped, no more.
//  - A value of zero bytes reads as an empty text.
//  - A REG_DWORD is its little-endian number of one to four bytes, written as
//    unsigned decimal, so 0xFFFFFFFF reads "4294967295" as regedit shows it.
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
RegistryText DecodeRegistryValue(DWORD type, std::string_view bytes);

// What CreateProcess is given for the text found in the registry, so that an
// unquoted path with blanks can never start a program planted at a shorter
// prefix of it (C:\Program.exe for C:\Program Files\...). The rules, in order:
//  1. The whole text names an existing file: exactly that file is started.
//  2. The text begins with a quote: it already is a proper command line.
//  3. The text holds ".exe" followed by a blank or the end: the part up to and
//     including the first such ".exe" is the program, quoted; the rest are
//     its arguments.
//  4. Otherwise the whole text, quoted, is the program, never split at blanks.
// No command for an empty text.
struct ToolCommand {
    std::wstring application;  // empty: the command line's quoted first token names the program
    std::wstring commandLine;
};
std::optional<ToolCommand> ToolCommandFor(const std::wstring& text,
                                          const std::function<bool(const std::wstring&)>& isFile);

}  // namespace about
