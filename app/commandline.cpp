#include "app/commandline.h"

#include "app/truetime.h"
#include "assets/texts.h"
#include "platform/process.h"
#include "platform/text.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace cmdline {
namespace {

constexpr LONGLONG kMinute = 600000000;  // in FILETIME's 100 ns steps

// The fields for the UTC minute at `steps`, where the window's year holds it.
bool Show(ULONGLONG steps, apply::FieldTexts& fields) {
    const std::optional<SYSTEMTIME> at = truetime::TimeAt(steps);
    if (!at || at->wYear > 9999 || steps >= (1ULL << 63)) return false;
    const WORD parts[] = {at->wYear, at->wMonth, at->wDay, at->wHour, at->wMinute};
    for (int i = 0; i < 5; ++i) fields[i] = std::to_wstring(parts[i]);
    return true;
}

bool IsSwitch(std::wstring_view argument) {
    return argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-');
}

// `text` as 1 to `maxDigits` ASCII digits.
bool IsNumber(std::wstring_view text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return false;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
    }
    return true;
}

// Splits `text` at `separator` into the parts' texts from `first` on, each of
// at most the digits the field holds (year 4, the others 2).
bool ReadParts(std::wstring_view text, wchar_t separator, apply::FieldTexts& fields, size_t first, size_t count) {
    for (size_t i = first; i < first + count; ++i) {
        const size_t end = i + 1 < first + count ? text.find(separator) : text.size();
        if (end == std::wstring_view::npos || !IsNumber(text.substr(0, end), i == 0 ? 4 : 2)) return false;
        fields[i] = text.substr(0, end);
        text.remove_prefix(end == text.size() ? end : end + 1);
    }
    return true;
}

bool ReadDate(std::wstring_view text, apply::FieldTexts& fields) {
    return ReadParts(text, L'-', fields, 0, 3);
}

// +01:00, +0100 or +01, at most 14 hours either way, in minutes east of UTC.
std::optional<int> ReadOffset(std::wstring_view text) {
    const size_t length = text.size();
    if ((length != 3 && length != 5 && length != 6) || (text[0] != L'+' && text[0] != L'-') ||
        (length == 6 && text[3] != L':')) {
        return std::nullopt;
    }
    const std::wstring_view hours = text.substr(1, 2), minutes = length == 3 ? L"00" : text.substr(length - 2);
    if (!IsNumber(hours, 2) || hours.size() != 2 || !IsNumber(minutes, 2) || minutes.size() != 2) return std::nullopt;
    const int offset = std::stoi(std::wstring(hours)) * 60 + std::stoi(std::wstring(minutes));
    if (minutes[0] > L'5' || offset > 14 * 60) return std::nullopt;
    return text[0] == L'-' ? -offset : offset;
}

// 14:30, or with a UTC offset, 14:30+01:00: then the fields hold the UTC date and time it names.
bool ReadTime(std::wstring_view text, apply::FieldTexts& fields) {
    const size_t sign = text.find_first_of(L"+-");
    if (!ReadParts(text.substr(0, sign), L':', fields, 3, 2)) return false;
    if (sign == text.npos) return true;
    const std::optional<int> offset = ReadOffset(text.substr(sign));
    SYSTEMTIME named{};
    WORD* const parts[] = {&named.wYear, &named.wMonth, &named.wDay, &named.wHour, &named.wMinute};
    for (int i = 0; i < 5; ++i) *parts[i] = static_cast<WORD>(std::stoi(fields[i]));
    const std::optional<ULONGLONG> steps = truetime::StepsOf(named);
    return offset && steps && Show(*steps - *offset * kMinute, fields);
}

// 2026-12-05T14:30, the T and a final Z in either case, or with a UTC offset.
bool ReadDateAndTime(std::wstring_view text, apply::FieldTexts& fields) {
    if (!text.empty() && (text.back() == L'Z' || text.back() == L'z')) text.remove_suffix(1);
    const size_t t = text.find_first_of(L"Tt");
    return t != std::wstring_view::npos && ReadDate(text.substr(0, t), fields) && ReadTime(text.substr(t + 1), fields);
}

// A signed ISO 8601 duration (+P30D, -PT2H, +P1Y2M3DT4H5M, +P2W) from the true time where Horlomat knows it, else
// from the clock. Years and months go by the calendar (31 January and a month is the last day of February), the rest
// by the clock; seconds are dropped, as the fields have minutes.
bool ReadRelative(std::wstring_view text, apply::FieldTexts& fields) {
    if (text.size() < 3 || (text[0] != L'+' && text[0] != L'-') || (text[1] != L'P' && text[1] != L'p')) return false;
    LONGLONG months = 0, steps = 0, number = 0;
    std::wstring_view units = L"YMWD";  // each at most once, in this order; after the T: H, M, S
    bool time = false, any = false;
    size_t digits = 0;
    for (const wchar_t letter : text.substr(2)) {
        const wchar_t c = letter >= L'a' && letter <= L'z' ? letter - L'a' + L'A' : letter;
        if (c >= L'0' && c <= L'9') {
            if (++digits > 6) return false;
            number = number * 10 + (c - L'0');
            continue;
        }
        if (c == L'T' && !time && !digits) {
            time = true;
            units = L"HMS";
            continue;
        }
        const size_t unit = units.find(c);
        if (!digits || unit == units.npos) return false;
        const wchar_t designator = units[unit];
        if (!time && designator != L'W' && designator != L'D') {
            months += designator == L'Y' ? 12 * number : number;
        } else {
            steps += number * (designator == L'W'   ? 7 * 1440 * kMinute
                               : designator == L'D' ? 1440 * kMinute
                               : designator == L'H' ? 60 * kMinute
                               : designator == L'M' ? kMinute
                                                    : kMinute / 60);
        }
        units.remove_prefix(unit + 1);
        digits = 0, number = 0, any = true;
    }
    // A number without its designator, nothing at all, or a T with nothing after it.
    if (digits || !any || (time && units.size() == 3)) return false;
    const std::optional<SYSTEMTIME> base = truetime::TimeAt(truetime::TrueOrClock());
    const LONGLONG sign = text[0] == L'-' ? -1 : 1;
    const LONGLONG month = base ? base->wYear * 12LL + base->wMonth - 1 + sign * months : 0;
    if (month < 1601 * 12 || month > 9999 * 12 + 11) return false;
    SYSTEMTIME moved = *base;
    moved.wYear = static_cast<WORD>(month / 12);
    moved.wMonth = static_cast<WORD>(month % 12 + 1);
    const bool leap = moved.wYear % 4 == 0 && (moved.wYear % 100 != 0 || moved.wYear % 400 == 0);
    const int last = moved.wMonth == 2 ? 28 + leap : 30 + (moved.wMonth + moved.wMonth / 8) % 2;
    moved.wDay = static_cast<WORD>(std::min<int>(moved.wDay, last));
    const std::optional<ULONGLONG> from = truetime::StepsOf(moved);
    return from && Show(*from + sign * steps, fields);
}

// The argument as the message shows it: shortened, and without control
// characters, which a console could take for commands.
std::wstring Shown(std::wstring_view argument) {
    constexpr size_t kShown = 40;
    std::wstring shown(argument.substr(0, kShown));
    for (wchar_t& c : shown) {
        if (c < L' ' || (c >= 0x7F && c < 0xA0)) c = L'?';
    }
    return argument.size() > kShown ? shown + L"..." : shown;
}

Request Wrong(const wchar_t* what, std::wstring_view argument) {
    return Request{.mode = Request::Wrong, .message = platform::Filled(what, Shown(argument))};
}

}  // namespace

Request Parse(std::span<const std::wstring> arguments) {
    Request request;
    bool help = false;
    const std::wstring* needsDate = nullptr;  // the first of /halten, /laufend, /einmal, /ohnesync, for the message
    const std::wstring* trueTime = nullptr;   // /echtzeit, which stands alone
    const std::wstring* assume = nullptr;     // /annehmen, only beside it
    const std::wstring* run = nullptr;        // "--": the rest is the program of a test run
    const std::wstring* once = nullptr;       // /einmal, which a test run does not take
    for (size_t i = 0; i < arguments.size() && !run; ++i) {
        const std::wstring& argument = arguments[i];
        if (argument == L"--") {
            if (i + 1 == arguments.size()) return Wrong(texts::kArgNoProgram, argument);
            run = &argument;
        } else if (!request.dated && ReadRelative(argument, request.fields)) {
            request.dated = true;
        } else if (IsSwitch(argument)) {
            const auto is = [&](const wchar_t* name) {
                return ::CompareStringOrdinal(argument.c_str() + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
            };
            if (is(L"?")) {
                help = true;
                continue;
            }
            if (is(L"echtzeit") || is(L"annehmen")) {
                (is(L"echtzeit") ? trueTime : assume) = &argument;
                continue;
            }
            if (is(L"halten")) {
                request.hold = true;
            } else if (is(L"laufend")) {
                request.running = true;
            } else if (is(L"ohnesync")) {
                request.noSync = true;
            } else if (is(L"einmal")) {
                request.mode = Request::Once;
                once = &argument;
            } else {
                return Wrong(texts::kArgWrong, argument);
            }
            if ((request.hold || request.running) && request.mode == Request::Once) {
                return Wrong(texts::kArgBoth, argument);
            }
            if (!needsDate) needsDate = &argument;
        } else if (!request.dated && ReadDateAndTime(argument, request.fields)) {
            request.dated = true;
        } else if (!request.dated && ReadDate(argument, request.fields)) {
            if (i + 1 == arguments.size() || IsSwitch(arguments[i + 1])) return Wrong(texts::kArgNoTime, argument);
            if (!ReadTime(arguments[++i], request.fields)) return Wrong(texts::kArgWrong, arguments[i]);
            request.dated = true;
        } else {
            return Wrong(texts::kArgWrong, argument);
        }
    }
    if (run && (help || trueTime || request.mode == Request::Once)) {
        return Wrong(texts::kArgNotInRun, help ? L"/?" : trueTime ? *trueTime : *once);
    }
    if (run && !request.dated) return Wrong(texts::kArgNoDate, *run);
    if (run) request.mode = Request::Run;
    if (help) return Request{Request::Help};
    if (trueTime && (request.dated || needsDate)) return Wrong(texts::kArgAlone, *trueTime);
    if (assume && !trueTime) return Wrong(texts::kArgOnlyTrueTime, *assume);
    if (trueTime) return Request{.mode = Request::TrueTime, .assume = assume != nullptr};
    if (needsDate && !request.dated) return Wrong(texts::kArgNoDate, *needsDate);
    return request;
}

void Tell(const std::wstring& text, bool problem, bool run) {
    if (platform::WriteToCaller(text + L"\n", run ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE) || run) return;
    // On a runner's desktop, a task's or a service's, a box would wait for ever: only a person's start gets one.
    if (!platform::StartedByExplorer()) return;
    ::MessageBoxW(nullptr, text.c_str(), texts::kAppTitle, MB_OK | (problem ? MB_ICONWARNING : MB_ICONINFORMATION));
}

std::wstring ProgramPart(std::wstring_view line) {
    // Split as the C runtime splits arguments: the program's name up to a blank or, quoted, up to the next quote;
    // then blanks between arguments, quotes that group, 2n backslashes before a quote for n, 2n+1 for n and the quote.
    size_t at = line.empty() || line[0] != L'"' ? line.find_first_of(L" \t") : line.find(L'"', 1);
    at = at == line.npos ? line.size() : at + 1;
    for (;;) {
        while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) ++at;
        if (at >= line.size()) return {};
        std::wstring argument;
        for (bool quoted = false; at < line.size() && (quoted || (line[at] != L' ' && line[at] != L'\t')); ++at) {
            size_t slashes = 0;
            while (at < line.size() && line[at] == L'\\') ++slashes, ++at;
            if (at < line.size() && line[at] == L'"') {
                argument.append(slashes / 2, L'\\');
                if (slashes % 2) {
                    argument += L'"';
                } else if (quoted && at + 1 < line.size() && line[at + 1] == L'"') {
                    argument += L'"', ++at;  // "" inside quotes
                } else {
                    quoted = !quoted;
                }
            } else {
                argument.append(slashes, L'\\');
                if (at >= line.size()) break;
                if (!quoted && (line[at] == L' ' || line[at] == L'\t')) break;
                argument += line[at];
            }
        }
        if (argument == L"--") {
            while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) ++at;
            return std::wstring(line.substr(at));
        }
    }
}

}  // namespace cmdline
