// "Zeit setzen", the once-a-minute re-apply, and the clock that runs on from a set minute.
#include "app/apply.h"

#include "app/frmTime.h"
#include "app/truetime.h"
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

// The record as an OLE date, to the second; it fits one up to the year 9999.
std::optional<double> DateOf(SYSTEMTIME record) {
    double date = 0;
    if (!::SystemTimeToVariantTime(&record, &date)) return std::nullopt;
    return date;
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
    return platform::Filled(
        failure.error == platform::ConversionError::Overflow ? texts::kFieldOutOfRange : texts::kFieldNotANumber,
        texts::kLblZeit[failure.field]);
}

std::wstring ConfirmationText(const FieldTexts& fields, const SYSTEMTIME& set) {
    std::optional<double> date = platform::TextToDate(fields[2] + L"." + fields[1] + L"." + fields[0]);
    std::optional<double> time = platform::TextToDate(fields[3] + L":" + fields[4] + L":00");
    if (date) date = DayOf(*date);
    if (time) time = TimeOfDayOf(*time);
    // A text that converted to a number but does not read as a date or time
    // ("+5", "2,5") would otherwise show midnight as the date or no time at
    // all, although the clock was set; the record says what it got.
    if (const std::optional<double> setDate = !date || !time ? DateOf(set) : std::nullopt) {
        if (!date) date = DayOf(*setDate);
        if (!time) time = TimeOfDayOf(*setDate);
    }
    std::wstring text = platform::DateToText(date.value_or(0.0)) + L", ";
    if (time) text += platform::DateToText(*time);
    return text;
}

std::wstring RecordText(const SYSTEMTIME& set) {
    const std::optional<double> date = DateOf(set);
    return date ? platform::DateToText(DayOf(*date)) + L", " + platform::DateToText(TimeOfDayOf(*date)) : L"";
}

std::wstring NotStoredText() {
    return texts::kNotStored + global::IniFilePath;
}

Result Apply(const global::Settings& settings, SYSTEMTIME& newTime) {
    if (const auto failure = ConvertFields(settings.fields, newTime)) return {Result::BadField, FailureText(*failure)};
    return SetAndStore(settings, newTime, ConfirmationText(settings.fields, newTime));
}

Result SetAndStore(const global::Settings& settings, const SYSTEMTIME& time, std::wstring shown) {
    if (!::SetSystemTime(&time)) return {Result::Refused, texts::kNotSet};
    truetime::Keep(time);
    Result set{Result::Set, std::move(shown)};
    set.stored = global::StoreSettings(settings);
    return set;
}

}  // namespace apply

global::Settings FrmTime::ShownSettings() const {
    global::Settings settings;
    for (int i = 0; i < 5; ++i) settings.fields[i] = platform::WindowText(Control(ids::txtZeit + i));
    settings.hold = chkRegelTicked();
    return settings;
}

void FrmTime::ShowResult(const apply::Result& result) {
    if (result.kind != apply::Result::BadField) ::SetWindowTextW(Control(ids::lblGesetzteZeit), result.text.c_str());
}

apply::Result FrmTime::cmdZeitSetzen_Press() {
    apply::Result result = apply::Apply(ShownSettings(), NewTime);
    ShowResult(result);
    return result;
}

void FrmTime::cmdZeitSetzen_Click() {
    running_.reset();  // a press holds the typed minute again
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
    soonSets_ = 0;
    if (!chkRegelTicked()) return;
    // The button's handler itself, not BM_CLICK: the focus stays where the user
    // is typing, and it works while a modal dialog has the activation.
    running_ ? RunOn() : cmdZeitSetzen_Click();
}

void FrmTime::Recheck_Timer() {
    ::KillTimer(hwnd_, ids::Recheck);
    if (running_ && chkRegelTicked()) RunOn(true);
}

void FrmTime::RunOn(bool soon) {
    // Where the clock should be: the set minute plus the time counted since, which no set of the clock changes.
    const ULONGLONG due = running_->At(), now = truetime::Now();
    const std::optional<SYSTEMTIME> time = truetime::TimeAt(due);
    // Right to the second: nothing is set or written, so a day of running logs no clock changes.
    if ((due > now ? due - now : now - due) <= 10000000 || !time) {
        if (!soon) fight_ = 0;
        return;
    }
    // No fight at message speed with a time sync or another holder: between ticks three sets a minute at most, and
    // none after ten sets in a row; after twenty the clock is left alone, as ntpd and chrony stop stepping.
    if (soon && (soonSets_ >= 3 || fight_ >= 10)) return;
    soonSets_ += soon;
    if (++fight_ > 20) {
        StopHolding();
        ::SetWindowTextW(Control(ids::lblGesetzteZeit), texts::kGivenUp);
        if (quiet_) Report(texts::kGivenUp);
        return;
    }
    const apply::Result result = apply::SetAndStore(ShownSettings(), *time, apply::RecordText(*time) + texts::kRunsOn);
    ShowResult(result);
    Report(result);
}
