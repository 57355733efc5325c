// Turns the text found in the registry into what CreateProcess is given, so
// that an unquoted path with blanks can never start a program planted at a
// shorter prefix of it (C:\Program.exe for C:\Program Files\...).
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace about {

struct ToolCommand {
    std::wstring application;  // empty: the command line's quoted first token names the program
    std::wstring commandLine;
};

// The rules, in this order:
//  1. The whole text names an existing file: exactly that file is started.
//  2. The text begins with a quote: it already is a proper command line.
//  3. The text holds ".exe" followed by a blank or the end: the part up to and
//     including the first such ".exe" is the program, quoted; the rest are
//     its arguments.
//  4. Otherwise the whole text, quoted, is the program, never split at blanks.
// No command for an empty text.
std::optional<ToolCommand> ToolCommandFor(const std::wstring& text,
                                          const std::function<bool(const std::wstring&)>& isFile);

}  // namespace about
