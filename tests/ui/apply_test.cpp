// "Zeit setzen" against a pinned clock: Wine's clock takes a time only when it
// equals the current one, so a success means the record was exactly that.
#include "tests/ui/harness.h"
#include "tests/ui/message_box.h"

#include <gtest/gtest.h>

#include <array>
#include <cwchar>

namespace ui {
namespace {

constexpr wchar_t kNotSet[] = L"Zeit konnte nicht gesetzt werden.";
constexpr wchar_t kBefore[] = L"vorher";

using Fields = std::array<const wchar_t*, 5>;

void SetFields(const App& app, const Fields& f) {
    app.SetFields(f[0], f[1], f[2], f[3], f[4]);
}

std::string Narrow(const wchar_t* text) {
    return std::string(text, text + std::wcslen(text));  // the field texts here are ASCII
}

std::string IniOf(const Fields& f, const char* hold) {
    return "[Zeit]\r\nJahr=" + Narrow(f[0]) + "\r\nMonat=" + Narrow(f[1]) + "\r\nTag=" + Narrow(f[2]) +
           "\r\nStunde=" + Narrow(f[3]) + "\r\nMinute=" + Narrow(f[4]) + "\r\nZeitHalten=" + hold + "\r\n";
}

struct Success {
    const char* name;
    SYSTEMTIME utc;  // the pinned clock
    Fields fields;
    bool hold;
    const wchar_t* label;
};

const Success kSuccesses[] = {
    {"5 December", Time(2026, 12, 5, 14, 30), {L"2026", L"12", L"5", L"14", L"30"}, false, L"05.12.2026, 14:30:00"},
    {"single digits are stored as typed", Time(2026, 1, 5, 7, 5), {L"2026", L"1", L"5", L"7", L"5"}, false,
     L"05.01.2026, 07:05:00"},
    {"leading zeros are stored as typed, the box as JA", Time(2026, 5, 5, 0, 0), {L"2026", L"05", L"05", L"00", L"0"},
     true, L"05.05.2026, 00:00:00"},
    // The clock takes only its own time, so these also prove the rounding.
    {"day 2,5 sets the 2nd", Time(2026, 12, 2, 14, 30), {L"2026", L"12", L"2,5", L"14", L"30"}, false,
     L"02.12.2026, 14:30:00"},
    {"day 3,5 sets the 4th", Time(2026, 12, 4, 14, 30), {L"2026", L"12", L"3,5", L"14", L"30"}, false,
     L"04.12.2026, 14:30:00"},
    // Numbers whose date or time text does not read: the label still says
    // what was set.
    {"day +5", Time(2026, 12, 5, 14, 30), {L"2026", L"12", L"+5", L"14", L"30"}, false, L"05.12.2026, 14:30:00"},
    {"hour +7 and minute +5", Time(2026, 1, 5, 7, 5), {L"2026", L"1", L"5", L"+7", L"+5"}, false,
     L"05.01.2026, 07:05:00"},
};

TEST(Apply, SetsTheClockShowsWhatWasSetAndStoresTheFieldsAsTyped) {
    for (const Success& c : kSuccesses) {
        SCOPED_TRACE(c.name);
        PinnedClock clock(PinnedClock::LocalFromUtc(c.utc));
        Sandbox sandbox;
        App app(sandbox);
        SetFields(app, c.fields);
        app.SetHold(c.hold);

        app.Click(id::kZeitSetzen);
        EXPECT_EQ(app.Text(id::kGesetzteZeit), c.label);
        EXPECT_EQ(sandbox.ReadIni(), IniOf(c.fields, c.hold ? "JA" : "NEIN"));
        for (int i = 0; i < 5; ++i) EXPECT_EQ(app.Field(i), c.fields[static_cast<size_t>(i)]) << "field " << i;
    }
}

TEST(Apply, OverwritesTheSixKeysAndKeepsTheRestOfTheFile) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    Sandbox sandbox;
    sandbox.WriteIni("[Andere]\r\nx=1\r\n[Zeit]\r\nJahr=1999\r\nZeitHalten=JA\r\nNotiz=bleibt\r\n");
    App app(sandbox);
    app.SetFields(L"2026", L"12", L"5", L"14", L"30");
    app.SetHold(false);

    app.Click(id::kZeitSetzen);
    const std::string ini = sandbox.ReadIni().value_or("");
    for (const char* line : {"[Andere]\r\nx=1\r\n", "Jahr=2026\r\n", "Monat=12\r\n", "Tag=5\r\n", "Stunde=14\r\n",
                             "Minute=30\r\n", "ZeitHalten=NEIN\r\n", "Notiz=bleibt\r\n"}) {
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in " << ini;
    }
    EXPECT_EQ(ini.find("1999"), std::string::npos);
}

struct Refusal {
    const char* name;
    Fields fields;
};

// The clock stands at 5 December 2026, 14:30 UTC.
const Refusal kRefusals[] = {
    {"month 13", {L"2026", L"13", L"5", L"14", L"30"}},
    {"hour 24", {L"2026", L"12", L"5", L"24", L"30"}},
    {"minute 60", {L"2026", L"12", L"5", L"14", L"60"}},
    {"31 April", {L"2026", L"4", L"31", L"14", L"30"}},
    {"year -1", {L"-1", L"12", L"5", L"14", L"30"}},
    {"another minute", {L"2026", L"12", L"5", L"14", L"31"}},
    {"day 4,5 is the 4th", {L"2026", L"12", L"4,5", L"14", L"30"}},
    {"day 5,5 is the 6th", {L"2026", L"12", L"5,5", L"14", L"30"}},
};

TEST(Apply, RefusedValuesShowTheFailureTextAndWriteNothing) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    const std::string earlier = "[Zeit]\r\nJahr=2025\r\nMonat=1\r\nZeitHalten=JA\r\n";
    for (const Refusal& c : kRefusals) {
        for (bool fileBefore : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (fileBefore ? ", with a file" : ", no file"));
            Sandbox sandbox;
            if (fileBefore) sandbox.WriteIni(earlier);
            App app(sandbox);
            SetFields(app, c.fields);
            app.SetText(id::kGesetzteZeit, kBefore);

            app.Click(id::kZeitSetzen);
            EXPECT_EQ(app.Text(id::kGesetzteZeit), kNotSet);
            EXPECT_EQ(sandbox.ReadIni(), fileBefore ? std::optional<std::string>(earlier) : std::nullopt);
        }
    }
}

struct BadField {
    const char* name;
    Fields fields;
    const wchar_t* message;
};

const BadField kBadFields[] = {
    {"empty year", {L"", L"12", L"5", L"14", L"30"},
     L"Die Zeit wurde nicht gesetzt: Im Feld „Jahr“ steht keine ganze Zahl."},
    {"a word as the month", {L"2026", L"Mai", L"5", L"14", L"30"},
     L"Die Zeit wurde nicht gesetzt: Im Feld „Monat“ steht keine ganze Zahl."},
    {"a blank as the day", {L"2026", L"12", L" ", L"14", L"30"},
     L"Die Zeit wurde nicht gesetzt: Im Feld „Tag“ steht keine ganze Zahl."},
    {"hour 32768", {L"2026", L"12", L"5", L"32768", L"30"},
     L"Die Zeit wurde nicht gesetzt: Die Zahl im Feld „Stunde“ liegt nicht zwischen -32768 und 32767."},
    {"month 13 first, then an empty minute", {L"2026", L"13", L"5", L"14", L""},
     L"Die Zeit wurde nicht gesetzt: Im Feld „Minute“ steht keine ganze Zahl."},
};

TEST(Apply, AFieldWithoutANumberIsReportedAndChangesNothing) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    const std::string earlier = "[Zeit]\r\nJahr=2025\r\n";
    for (const BadField& c : kBadFields) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        sandbox.WriteIni(earlier);
        App app(sandbox);
        SetFields(app, c.fields);
        app.SetText(id::kGesetzteZeit, kBefore);

        app.PostClick(id::kZeitSetzen);
        const HWND box = app.WaitForOtherWindow(L"Horlomat", 5000);
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(BoxText(box), c.message);
        // More presses while the box is open start no second apply.
        app.PostClick(id::kZeitSetzen);
        app.PostClick(id::kZeitSetzen);
        ::Sleep(300);
        EXPECT_EQ(Boxes(app).size(), 1u);
        EXPECT_EQ(app.Text(id::kGesetzteZeit), kBefore);
        EXPECT_EQ(sandbox.ReadIni(), earlier);

        ASSERT_TRUE(CloseBox(app, box));
        ::Sleep(300);
        EXPECT_TRUE(Boxes(app).empty()) << "a queued press opened another box";
        EXPECT_TRUE(app.Running());
        EXPECT_EQ(app.Text(id::kGesetzteZeit), kBefore);
        EXPECT_EQ(sandbox.ReadIni(), earlier);

        // Still usable: with the field put right the next press sets the clock.
        app.SetFields(L"2026", L"12", L"5", L"14", L"30");
        app.Click(id::kZeitSetzen);
        EXPECT_EQ(app.Text(id::kGesetzteZeit), L"05.12.2026, 14:30:00");
        EXPECT_EQ(sandbox.ReadIni(), IniOf({L"2026", L"12", L"5", L"14", L"30"}, "NEIN"));
    }
}

}  // namespace
}  // namespace ui
