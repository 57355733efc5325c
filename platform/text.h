// Texts: the ANSI code page of the "A" functions, a window's text, and the
// number and date conversions of the OLE automation runtime under the user's
// regional settings, the same rules the user knows from other Windows programs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::string ToAnsi(std::wstring_view text, UINT codePage = CP_ACP);
std::wstring FromAnsi(std::string_view text);

// The whole text, whatever its length.
std::wstring WindowText(HWND window);

enum class ConversionError { None, TypeMismatch, Overflow };

struct ShortConversion {
    ConversionError error = ConversionError::None;
    short value = 0;
};

// A whole number in -32768..32767; fractions go to the nearest integer, a
// half to the even neighbour.
ShortConversion TextToShort(const std::wstring& text);

// A date, a time of day or both, as an OLE date (days since 30.12.1899).
std::optional<double> TextToDate(const std::wstring& text);

// Day zero gives the time alone, midnight gives the short date alone.
std::wstring DateToText(double date);

// Windows' words for `error`, or its number where it has none.
std::wstring SystemMessage(DWORD error);

// `text` with %1 and %2, where it has them, replaced.
std::wstring Filled(std::wstring text, std::wstring_view first, std::wstring_view second = {});

}  // namespace platform
