#include "app/apply.h"

#include "app/texts.h"
#include "platform/system_library.h"
#include "settings/global.h"

#include <oleauto.h>

#include <cmath>

namespace apply {
namespace {

WORD* FieldSlot(SYSTEMTIME& t, int index) {
    WORD* const slots[5] = {&t.wYear, &t.wMonth, &t.wDay, &t.wHour, &t.wMinute};
    return slots[index];
}

std::wstring WithFieldName(const wchar_t* pattern, int field) {
    std::wstring text = pattern;
    const size_t at = text.find(L"%1");
    if (at != std::wstring::npos) text.replace(at, 2, texts::kFieldLabels[field]);
    return text;
}

// The record as an OLE date; oleaut32 is loaded only when a set actually
// needs it. Empty when the record does not fit a DATE (years past 9999).
std::optional<double> DateOf(const SYSTEMTIME& t) {
    static auto* const toVariant = platform::BindSystemFunction<decltype(::SystemTimeToVariantTime)>(
        L"oleaut32.dll", "SystemTimeToVariantTime");
    if (!toVariant) return std::nullopt;
    SYSTEMTIME copy = t;  // the function takes a non-const record
    double date = 0;
    if (!toVariant(&copy, &date)) return std::nullopt;
    return date;
}

// An OLE date counts whole days from 30.12.1899 and keeps the time of day in
// the fraction's magnitude, also before that day (-1.25 is 29.12.1899 06:00).
double DayOf(double date) {
    return std::trunc(date);
}

double TimeOfDayOf(double date) {
    return std::fabs(date - std::trunc(date));
}

}  // namespace

std::optional<ConversionFailure> ConvertFields(const FieldTexts& fields, SYSTEMTIME& newTime) {
    for (int i = 0; i < 5; ++i) {
        const platform::ShortConversion converted = platform::TextToShort(fields[static_cast<size_t>(i)]);
        if (converted.error != platform::ConversionError::None) return ConversionFailure{i, converted.error};
        *FieldSlot(newTime, i) = static_cast<WORD>(converted.value);
    }
    newTime.wSecond = 0;
    return std::nullopt;
}

std::wstring FailureText(const ConversionFailure& failure) {
    switch (failure.error) {
        case platform::ConversionError::Overflow:
            return WithFieldName(texts::kFieldOutOfRange, failure.field);
        case platform::ConversionError::Unavailable:
            return WithFieldName(texts::kFieldUnreadable, failure.field);
        default:
            return WithFieldName(texts::kFieldNotANumber, failure.field);
    }
}

Readings ReadDateAndTime(const FieldTexts& fields) {
    Readings readings;
    if (const auto date = platform::TextToDate(fields[2] + L"." + fields[1] + L"." + fields[0])) {
        readings.date = DayOf(*date);
    }
    if (const auto time = platform::TextToDate(fields[3] + L":" + fields[4] + L":00")) {
        readings.time = TimeOfDayOf(*time);
    }
    return readings;
}

std::wstring ConfirmationText(const Readings& readings, const SYSTEMTIME& set) {
    // A text that converted to a number but does not read as a date or time
    // ("+5", "2,5") would otherwise show midnight as the date or no time at
    // all, although the clock was set; the record says what it got.
    std::optional<double> date = readings.date;
    std::optional<double> time = readings.time;
    if (!date || !time) {
        if (const auto setDate = DateOf(set)) {
            if (!date) date = DayOf(*setDate);
            if (!time) time = TimeOfDayOf(*setDate);
        }
    }
    std::wstring text = platform::DateToText(date.value_or(0.0));
    text += L", ";
    if (time) text += platform::DateToText(*time);
    return text;
}

void StoreSettings(const FieldTexts& fields, bool hold) {
    // A text the file cannot give back unchanged would come back otherwise at
    // the next start, and storing only the others would mix this set with an
    // earlier one: then the earlier settings stay as they are.
    for (const std::wstring& text : fields) {
        if (!global::CanStore(text)) return;
    }
    for (int i = 0; i < 5; ++i) {
        global::WriteIniString(texts::kSection, texts::kFieldKeys[i], fields[static_cast<size_t>(i)]);
    }
    global::WriteIniString(texts::kSection, texts::kKeyHold, hold ? texts::kYes : texts::kNo);
}

}  // namespace apply
