// The command line, for scripts and scheduled tasks:
//   Horlomat.exe [JJJJ-MM-TT HH:MM | +P30D] [/halten | /laufend] [/einmal] [/ohnesync]
//   Horlomat.exe JJJJ-MM-TT HH:MM [/halten | /laufend] [/ohnesync] -- PROGRAMM [ARGUMENTE]
//   Horlomat.exe /echtzeit [/annehmen]
//   Horlomat.exe /?
// Without arguments Horlomat starts as always.
#pragma once

#include "app/apply.h"

#include <span>
#include <string>
#include <string_view>

namespace cmdline {

struct Request {
    enum Mode { Window, Once, TrueTime, Help, Wrong, Run } mode = Window;
    bool dated = false;          // a date and time were given
    apply::FieldTexts fields{};  // year to minute as written, or the UTC minute a duration or an offset names
    bool hold = false;           // /halten
    bool running = false;        // /laufend: the clock runs on from the typed minute
    bool noSync = false;         // /ohnesync: the time sync paused first
    bool assume = false;         // /annehmen: /echtzeit acts on what it would only assume
    std::wstring message{};      // for Wrong: what is wrong, naming the first wrong argument
};

// Switches start with / or - and ignore case. The date and time are two
// arguments (2026-12-05 14:30) or one (2026-12-05T14:30, optionally with Z),
// each part ASCII digits only, at most as many as its field holds, the time
// optionally with a UTC offset (+01:00, +0100, +01); or a signed ISO 8601
// duration from the true time (+P30D, -PT2H).
Request Parse(std::span<const std::wstring> arguments);

// Says `text` to whoever started Horlomat: on the standard output or the
// console it came from, or else, to a person who started it from Explorer, in
// a message box. A test run's lines go to the standard error alone.
void Tell(const std::wstring& text, bool problem, bool run = false);

// The program a test run starts: what follows the argument "--" in `commandLine`, as the caller wrote it.
std::wstring ProgramPart(std::wstring_view commandLine);

}  // namespace cmdline
