// What the main window shows at start, from the settings file or the clock.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(LoadStep, FillsFieldsAndBoxFromTheFileOrTheLocalClockAndWritesNothing) {
    // 09:05 local is 08:05 UTC: the defaults must be local.
    PinnedClock clock(Time(2026, 3, 3, 9, 5, 20));
    const std::string longMonth = "[Zeit]\r\nJahr=20261\r\nMonat=" + std::string(300, '9') + "\r\n";
    const std::wstring cut(254, L'9');
    const struct {
        const char* ini;  // nullptr: no settings file
        const wchar_t* fields[5];
        bool hold;
    } starts[] = {
        {nullptr, {L"2026", L"3", L"3", L"9", L"5"}, false},
        {"[Zeit]\r\nMonat=07\r\n", {L"2026", L"07", L"3", L"9", L"5"}, false},
        {"[Zeit]\r\nTag=\r\n", {L"2026", L"3", L"", L"9", L"5"}, false},
        {"[Zeit]\r\nJahr=2031\r\nMonat=12\r\nTag=24\r\nStunde=18\r\nMinute=00\r\nZeitHalten=JA\r\n",
         {L"2031", L"12", L"24", L"18", L"00"}, true},
        {"[Zeit]\r\nZeitHalten=ja\r\n", {L"2026", L"3", L"3", L"9", L"5"}, false},
        {"[Zeit]\nZeitHalten=NEIN\n", {L"2026", L"3", L"3", L"9", L"5"}, false},
        {"[Zeit]\r\nJahr=abcd\r\nStunde=\" 7\"\r\n", {L"abcd", L"3", L"3", L" 7", L"5"}, false},
        // Longer than the field takes: shown whole, as far as the reader goes.
        {longMonth.c_str(), {L"20261", cut.c_str(), L"3", L"9", L"5"}, false},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.ini ? start.ini : "no file");
        Sandbox sandbox;
        if (start.ini) sandbox.WriteIni(start.ini);
        App app(sandbox);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(app.Field(i), start.fields[i]) << "field " << i;
        EXPECT_EQ(app.HoldChecked(), start.hold);
        EXPECT_EQ(app.Text(id::kGesetzteZeit), L"");
        EXPECT_EQ(sandbox.ReadIni(), start.ini ? std::optional<std::string>(start.ini) : std::nullopt);
    }
}

}  // namespace
}  // namespace ui
