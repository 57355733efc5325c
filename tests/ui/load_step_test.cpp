// What the main window shows at start, from the settings file or the clock.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

struct Start {
    const char* name;
    const char* ini;  // nullptr: no settings file
    const wchar_t* fields[5];
    bool hold;
};

// Local wall clock during these starts: 3 March 2026, 09:05.
const Start kStarts[] = {
    {"no settings file", nullptr, {L"2026", L"3", L"3", L"9", L"5"}, false},
    {"only Monat, as 07", "[Zeit]\r\nMonat=07\r\n", {L"2026", L"07", L"3", L"9", L"5"}, false},
    {"Tag present but empty", "[Zeit]\r\nTag=\r\n", {L"2026", L"3", L"", L"9", L"5"}, false},
    {"all stored, hold JA",
     "[Zeit]\r\nJahr=2031\r\nMonat=12\r\nTag=24\r\nStunde=18\r\nMinute=00\r\nZeitHalten=JA\r\n",
     {L"2031", L"12", L"24", L"18", L"00"},
     true},
    {"hold in lower case", "[Zeit]\r\nZeitHalten=ja\r\n", {L"2026", L"3", L"3", L"9", L"5"}, false},
    {"hold NEIN", "[Zeit]\r\nZeitHalten=NEIN\r\n", {L"2026", L"3", L"3", L"9", L"5"}, false},
    // The profile functions trim blanks around a value; quotes keep them.
    {"hold quoted with a blank, LF line ends", "[Zeit]\nZeitHalten=\"JA \"\n", {L"2026", L"3", L"3", L"9", L"5"},
     false},
    {"other section only", "[Andere]\nJahr=1999\n", {L"2026", L"3", L"3", L"9", L"5"}, false},
    {"not numbers", "[Zeit]\r\nJahr=abcd\r\nStunde=\" 7\"\r\n", {L"abcd", L"3", L"3", L" 7", L"5"}, false},
};

TEST(LoadStep, FillsFieldsAndBoxFromFileOrLocalClock) {
    PinnedClock clock(Time(2026, 3, 3, 9, 5, 20));
    for (const Start& start : kStarts) {
        SCOPED_TRACE(start.name);
        Sandbox sandbox;
        if (start.ini) sandbox.WriteIni(start.ini);
        App app(sandbox);

        for (int i = 0; i < 5; ++i) EXPECT_EQ(app.Field(i), start.fields[i]) << "field " << i;
        EXPECT_EQ(app.HoldChecked(), start.hold);
        EXPECT_EQ(app.Text(ids::kGesetzteZeit), L"");
        EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::kZeitSetzen); }, 5000));

        // Starting writes nothing and sets nothing.
        if (start.ini) {
            EXPECT_EQ(sandbox.ReadIni(), std::string(start.ini));
        } else {
            EXPECT_FALSE(sandbox.ReadIni().has_value());
        }
    }
}

TEST(LoadStep, DefaultsFollowTheLocalTimeNotUtc) {
    // 31 December 2026, 23:30 UTC is already the new year in Berlin.
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 31, 23, 30)));
    Sandbox sandbox;
    App app(sandbox);
    const SYSTEMTIME local = PinnedClock::LocalFromUtc(Time(2026, 12, 31, 23, 30));
    EXPECT_EQ(app.Field(0), std::to_wstring(local.wYear));
    EXPECT_EQ(app.Field(3), std::to_wstring(local.wHour));
    EXPECT_EQ(app.Field(4), L"30");
}

TEST(LoadStep, AValueLongerThanTheFieldIsShownWhole) {
    Sandbox sandbox;
    sandbox.WriteIni("[Zeit]\r\nJahr=20261\r\nMonat=" + std::string(300, '9') + "\r\n");
    App app(sandbox);
    EXPECT_EQ(app.Field(0), L"20261");
    EXPECT_EQ(app.Field(1), std::wstring(254, L'9')) << "at most 254 characters are read";
}

}  // namespace
}  // namespace ui
