// "Zeit setzen" without a window: field texts into the record, and the
// confirmation. Expected texts are those of the test prefix: German, dd.MM.yyyy.
#include "app/apply.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

namespace {

using platform::ConversionError;

TEST(ApplyConversion, FillsTheRecordInOrderAndStopsAtTheFirstBadField) {
    using Words = std::array<WORD, 8>;  // the record word by word: year, month, day of week, day, ...
    const struct {
        apply::FieldTexts fields;
        int field;
        ConversionError error;
        Words after;
    } cases[] = {
        {{L"2026", L"12", L"5", L"14", L"30"}, -1, ConversionError::None, {2026, 12, 3, 5, 14, 30, 0, 999}},
        // -1 keeps its bit pattern, halves go to the even neighbour.
        {{L"-1", L"05", L"2,5", L"3,5", L" 7"}, -1, ConversionError::None, {65535, 5, 3, 2, 4, 7, 0, 999}},
        {{L"", L"12", L"5", L"14", L"30"}, 0, ConversionError::TypeMismatch, {1999, 9, 3, 9, 9, 9, 59, 999}},
        {{L"2026", L"13", L"Tag", L"14", L"30"}, 2, ConversionError::TypeMismatch, {2026, 13, 3, 9, 9, 9, 59, 999}},
        {{L"2026", L"12", L"5", L"32768", L"30"}, 3, ConversionError::Overflow, {2026, 12, 3, 5, 9, 9, 59, 999}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.fields));
        SYSTEMTIME record{1999, 9, 3, 9, 9, 9, 59, 999};  // day of week and milliseconds are never written
        const auto failure = apply::ConvertFields(c.fields, record);
        EXPECT_EQ(failure ? failure->field : -1, c.field);
        EXPECT_EQ(failure ? failure->error : ConversionError::None, c.error);
        EXPECT_EQ(std::bit_cast<Words>(record), c.after);
    }
}

// A part whose text does not read comes from the record the clock got.
TEST(ApplyConfirmation, ShowsTheTextsThatReadAndTheRecordForTheRest) {
    const struct {
        apply::FieldTexts fields;
        const wchar_t* expected;
    } cases[] = {
        {{L"2026", L"12", L"5", L"14", L"30"}, L"05.12.2026, 14:30:00"},
        {{L"2026", L"12", L"+5", L"+7", L"+5"}, L"05.12.2026, 07:05:00"},  // neither text reads
        {{L"1700", L"12", L"5", L"+7", L"45"}, L"05.12.1700, 07:45:00"},   // a negative day count
        {{L"2026", L"12", L"5", L"+0", L"0"}, L"05.12.2026, 00:00:00"},
        {{L"10000", L"12", L"5", L"14", L"30"}, L"00:00:00, 14:30:00"},  // past the last OLE date: texts kept
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.fields));
        SYSTEMTIME record{};
        ASSERT_FALSE(apply::ConvertFields(c.fields, record).has_value());
        EXPECT_EQ(apply::ConfirmationText(c.fields, record), c.expected);
    }
}

}  // namespace
