// "Zeit setzen" and the once-a-minute re-apply.
#include "app/apply.h"

#include "app/frmTime.h"
#include "assets/texts.h"
#include "settings/global.h"

#include <oleauto.h>

#include <cmath>

namespace apply {
namespace {

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
    WORD* const slots[5] = {&newTime.wYear, &newTime.wMonth, &newTime.wDay, &newTime.wHour, &newTime.wMinute};
    for (int i = 0; i < 5; ++i) {
        const platform::ShortConversion converted = platform::TextToShort(fields[i]);
        if (converted.error != platform::ConversionError::None) return ConversionFailure{i, converted.error};
        *slots[i] = static_cast<WORD>(converted.value);
    }
    newTime.wSecond = 0;
    return std::nullopt;
}

std::wstring FailureText(const ConversionFailure& failure) {
    std::wstring text =
        failure.error == platform::ConversionError::Overflow ? texts::kFieldOutOfRange : texts::kFieldNotANumber;
    text.replace(text.find(L"%1"), 2, texts::kLblZeit[failure.field]);
    return text;
}

std::wstring ConfirmationText(const FieldTexts& fields, const SYSTEMTIME& set) {
    std::optional<double> date = platform::TextToDate(fields[2] + L"." + fields[1] + L"." + fields[0]);
    std::optional<double> time = platform::TextToDate(fields[3] + L":" + fields[4] + L":00");
    if (date) date = DayOf(*date);
    if (time) time = TimeOfDayOf(*time);
    // A text that converted to a number but does not read as a date or time
    // ("+5", "2,5") would otherwise show midnight as the date or no time at
    // all, although the clock was set; the record says what it got. It fits an
    // OLE date up to the year 9999.
    SYSTEMTIME copy = set;  // the function takes a non-const record
    double setDate = 0;
    if ((!date || !time) && ::SystemTimeToVariantTime(&copy, &setDate)) {
        if (!date) date = DayOf(setDate);
        if (!time) time = TimeOfDayOf(setDate);
    }
    std::wstring text = platform::DateToText(date.value_or(0.0)) + L", ";
    if (time) text += platform::DateToText(*time);
    return text;
}

std::wstring NotStoredText() {
    return texts::kNotStored + global::IniFilePath;
}

Result Apply(const global::Settings& settings, SYSTEMTIME& newTime) {
    if (const auto failure = ConvertFields(settings.fields, newTime)) return {Result::BadField, FailureText(*failure)};
    if (!::SetSystemTime(&newTime)) return {Result::Refused, texts::kNotSet};
    Result set{Result::Set, ConfirmationText(settings.fields, newTime)};
    set.stored = global::StoreSettings(settings);
    return set;
}

}  // namespace apply

apply::Result FrmTime::cmdZeitSetzen_Press() {
    global::Settings settings;
    for (int i = 0; i < 5; ++i) settings.fields[i] = platform::WindowText(Control(ids::txtZeit + i));
    settings.hold = chkRegelTicked();
    apply::Result result = apply::Apply(settings, NewTime);
    if (result.kind != apply::Result::BadField) ::SetWindowTextW(Control(ids::lblGesetzteZeit), result.text.c_str());
    return result;
}

void FrmTime::cmdZeitSetzen_Click() {
    Report(cmdZeitSetzen_Press());
}

void FrmTime::Report(const apply::Result& result) {
    if (result.kind == apply::Result::BadField) Report(result.text);
    // Once a run, as soon as the box came up: a folder that cannot be written to stays so, and the hold would say it
    // every minute.
    if (result.kind == apply::Result::Set && !result.stored && !notStoredTold_) {
        notStoredTold_ = Report(apply::NotStoredText());
    }
}

void FrmTime::Timer1_Timer() {
    // The button's handler itself, not BM_CLICK: the focus stays where the user
    // is typing, and it works while a modal dialog has the activation.
    if (chkRegelTicked()) cmdZeitSetzen_Click();
}
