// The window-free part of "Zeit setzen": field texts into the record and the
// confirmation text.
// Expected texts are those of the test prefix: German, short date dd.MM.yyyy.
#include "app/apply.h"

#include <gtest/gtest.h>

namespace {

using platform::ConversionError;

SYSTEMTIME Record(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

// A record as left by an earlier apply, with the two fields the apply never
// touches set, so a stray write shows.
SYSTEMTIME Earlier() {
    SYSTEMTIME t = Record(1999, 9, 9, 9, 9, 59);
    t.wDayOfWeek = 3;
    t.wMilliseconds = 999;
    return t;
}

void ExpectRecord(const SYSTEMTIME& actual, const SYSTEMTIME& expected) {
    EXPECT_EQ(actual.wYear, expected.wYear);
    EXPECT_EQ(actual.wMonth, expected.wMonth);
    EXPECT_EQ(actual.wDay, expected.wDay);
    EXPECT_EQ(actual.wHour, expected.wHour);
    EXPECT_EQ(actual.wMinute, expected.wMinute);
    EXPECT_EQ(actual.wSecond, expected.wSecond);
    EXPECT_EQ(actual.wDayOfWeek, 3) << "never written";
    EXPECT_EQ(actual.wMilliseconds, 999) << "never written";
}

struct Conversion {
    const char* name;
    apply::FieldTexts fields;
    int failingField;  // -1: all convert
    ConversionError error;
    SYSTEMTIME after;  // the record afterwards (day of week and milliseconds aside)
};

const Conversion kConversions[] = {
    {"plain numbers", {L"2026", L"12", L"5", L"14", L"30"}, -1, ConversionError::None, Record(2026, 12, 5, 14, 30, 0)},
    {"-1 keeps its bit pattern, halves go to the even neighbour, blanks and leading zeros are fine",
     {L"-1", L"05", L"2,5", L"3,5", L" 7"}, -1, ConversionError::None, Record(65535, 5, 2, 4, 7, 0)},
    {"out of range values convert; the clock refuses them later",
     {L"32767", L"13", L"0", L"24", L"-32768"}, -1, ConversionError::None, Record(32767, 13, 0, 24, 32768, 0)},
    {"empty year: nothing changes", {L"", L"12", L"5", L"14", L"30"}, 0, ConversionError::TypeMismatch,
     Record(1999, 9, 9, 9, 9, 59)},
    {"a word as the day: year and month already set, seconds untouched", {L"2026", L"13", L"Tag", L"14", L"30"}, 2,
     ConversionError::TypeMismatch, Record(2026, 13, 9, 9, 9, 59)},
    {"32768 overflows", {L"2026", L"12", L"5", L"32768", L"30"}, 3, ConversionError::Overflow,
     Record(2026, 12, 5, 9, 9, 59)},
};

TEST(ApplyConversion, FillsTheRecordInOrderAndStopsAtTheFirstBadField) {
    for (const Conversion& c : kConversions) {
        SCOPED_TRACE(c.name);
        SYSTEMTIME record = Earlier();
        const auto failure = apply::ConvertFields(c.fields, record);
        if (c.failingField < 0) {
            EXPECT_FALSE(failure.has_value());
        } else {
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(failure->field, c.failingField);
            EXPECT_EQ(failure->error, c.error);
        }
        ExpectRecord(record, c.after);
    }
}

struct Confirmation {
    const char* name;
    apply::FieldTexts fields;
    const wchar_t* expected;
};

// The UI tests cover the common cases against the real clock; these are the
// records that are easy to get wrong when taken apart.
const Confirmation kConfirmations[] = {
    {"both texts read", {L"2026", L"12", L"5", L"14", L"30"}, L"05.12.2026, 14:30:00"},
    {"neither reads: both from the record", {L"2026", L"12", L"+5", L"+7", L"+5"}, L"05.12.2026, 07:05:00"},
    {"before 1899 the day count is negative", {L"1700", L"12", L"5", L"+7", L"45"}, L"05.12.1700, 07:45:00"},
    {"midnight from the record", {L"2026", L"12", L"5", L"+0", L"0"}, L"05.12.2026, 00:00:00"},
};

TEST(ApplyConfirmation, ShowsDateAndTimeAsSetInTheRegionalForm) {
    for (const Confirmation& c : kConfirmations) {
        SCOPED_TRACE(c.name);
        SYSTEMTIME record{};
        ASSERT_FALSE(apply::ConvertFields(c.fields, record).has_value());
        EXPECT_EQ(apply::ConfirmationText(apply::ReadDateAndTime(c.fields), record), c.expected);
    }
}

TEST(ApplyConfirmation, ARecordBeyondTheDateRangeKeepsWhatTheTextsSay) {
    // An OLE date ends with the year 9999; the clock goes to 30827.
    SYSTEMTIME record = Record(10000, 12, 5, 14, 30);
    const apply::Readings readings = apply::ReadDateAndTime({L"10000", L"12", L"5", L"14", L"30"});
    EXPECT_FALSE(readings.date.has_value());
    EXPECT_EQ(apply::ConfirmationText(readings, record), L"00:00:00, 14:30:00");
}

}  // namespace
