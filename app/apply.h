// The part of "Zeit setzen" that needs no window: field texts into the record
// for the clock, the message for a field that holds no usable number, and the
// confirmation shown after a set.
#pragma once

#include "platform/text.h"
#include "settings/global.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace apply {

// The texts of the five fields: year, month, day, hour, minute.
using FieldTexts = std::array<std::wstring, 5>;

struct ConversionFailure {
    int field = 0;  // 0 year ... 4 minute
    platform::ConversionError error = platform::ConversionError::None;
};

// Converts the fields in order into `newTime`, each as the 16-bit pattern of a
// signed number (-1 becomes 65535), then sets the seconds to 0. Stops at the
// first field that does not convert: the fields before it keep their new
// values, the rest of the record is left alone.
std::optional<ConversionFailure> ConvertFields(const FieldTexts& fields, SYSTEMTIME& newTime);

// Tells the user, in German, which field is wrong and how.
std::wstring FailureText(const ConversionFailure& failure);

// The confirmation after the clock took `set`: the date text (day.month.year)
// read as a date, ", ", the time text (hour:minute:00) read as a time, each in
// the regional form. A part whose text does not read is shown from `set`, the
// values the clock really got.
std::wstring ConfirmationText(const FieldTexts& fields, const SYSTEMTIME& set);

// The record's date and time in the regional forms, to the second.
std::wstring RecordText(const SYSTEMTIME& set);

// Says that the clock was set but the settings file could not be written.
std::wstring NotStoredText();

// What "Zeit setzen" did, with the text to show.
struct Result {
    enum Kind { Set, Refused, BadField } kind;
    std::wstring text;    // the label's text, or for a bad field the message
    bool stored = false;  // the six settings were written
};

// Converts the fields into `newTime`, sets the clock and, once it took the
// time, stores the settings. Nothing is stored unless the clock was set.
Result Apply(const global::Settings& settings, SYSTEMTIME& newTime);

// Sets the clock to `time` and, once it took it, keeps what the way back to the
// true time needs and stores `settings`; `shown` is the label's text for a set.
Result SetAndStore(const global::Settings& settings, const SYSTEMTIME& time, std::wstring shown);

}  // namespace apply
