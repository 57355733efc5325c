#include "app/commandline.h"

#include "assets/texts.h"
#include "platform/process.h"
#include "platform/text.h"

#include <string_view>

namespace cmdline {
namespace {

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

bool ReadTime(std::wstring_view text, apply::FieldTexts& fields) {
    return ReadParts(text, L':', fields, 3, 2);
}

// 2026-12-05T14:30, the T and a final Z in either case.
bool ReadDateAndTime(std::wstring_view text, apply::FieldTexts& fields) {
    if (!text.empty() && (text.back() == L'Z' || text.back() == L'z')) text.remove_suffix(1);
    const size_t t = text.find_first_of(L"Tt");
    return t != std::wstring_view::npos && ReadDate(text.substr(0, t), fields) && ReadTime(text.substr(t + 1), fields);
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
    const std::wstring* needsDate = nullptr;  // the first of /halten, /laufend and /einmal, for the message
    const std::wstring* trueTime = nullptr;   // /echtzeit, which stands alone
    const std::wstring* assume = nullptr;     // /annehmen, only beside it
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (IsSwitch(argument)) {
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
            } else if (is(L"einmal")) {
                request.mode = Request::Once;
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
    if (help) return Request{Request::Help};
    if (trueTime && (request.dated || needsDate)) return Wrong(texts::kArgAlone, *trueTime);
    if (assume && !trueTime) return Wrong(texts::kArgOnlyTrueTime, *assume);
    if (trueTime) return Request{.mode = Request::TrueTime, .assume = assume != nullptr};
    if (needsDate && !request.dated) return Wrong(texts::kArgNoDate, *needsDate);
    return request;
}

void Tell(const std::wstring& text, bool problem) {
    if (platform::WriteToCaller(text + L"\n")) return;
    // Started by a task with no one logged on, a box would wait for ever.
    if (!platform::OnVisibleDesktop()) return;
    ::MessageBoxW(nullptr, text.c_str(), texts::kAppTitle, MB_OK | (problem ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace cmdline
