// Number and date conversions of the OLE automation runtime, under the user's
// regional settings: the same rules the user knows from other Windows programs.
#pragma once

#include <optional>
#include <string>

namespace platform {

enum class ConversionError { None, TypeMismatch, Overflow, Unavailable };

struct ShortConversion {
    ConversionError error = ConversionError::None;
    short value = 0;
};

// Whole number in -32768..32767; fractions go to the nearest integer, a half
// to the even neighbour.
ShortConversion TextToShort(const std::wstring& text);

// A date, a time of day or both, as an OLE date (days since 30.12.1899).
std::optional<double> TextToDate(const std::wstring& text);

// Day zero gives the time alone, midnight gives the short date alone.
// Empty text if the runtime cannot be loaded.
std::wstring DateToText(double date);

}  // namespace platform
