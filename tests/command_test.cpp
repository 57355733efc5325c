// Horlomat started with arguments, as scripts and scheduled tasks start it: what it says, sets and stores, and how a
// start with a date meets a Horlomat that already runs with the same settings file.
#include "tests/harness.h"

#include <filesystem>

using namespace ui;

namespace {

const std::string kBefore = "[Zeit]\r\nJahr=1999\r\n";
std::string Stored(const std::string& day, const char* hold) {
    return "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=" + day + "\r\nStunde=14\r\nMinute=30\r\nZeitHalten=" + hold +
           "\r\n";
}

}  // namespace

// Each form, told on a pipe: /einmal stores only what the clock took, as written; a wrong call, however long or
// strange, names its first wrong argument, sets and stores nothing and opens no window.
TEST(CommandLine, SaysWhatItDidOnItsOutputWithTheExitCode) {
    const PinnedClock clock;
    const Sandbox sandbox;
    const std::wstring set = L"05.12.2026, 14:30:00\r\n", refused = L"Zeit konnte nicht gesetzt werden.\r\n";
    std::wstring nines(32000, L'9'), many(16000, L' ');
    for (std::size_t i = 0; i < many.size(); i += 2) many[i] = L'x';
    const struct {
        const wchar_t* arguments;
        DWORD exitCode;
        std::wstring told;  // its first line
        std::string ini;
    } cases[] = {
        {L"2026-12-05 14:30 /einmal", 0, set, Stored("05", "NEIN")},
        {L"-EINMAL 2026-12-5t14:30z", 0, set, Stored("5", "NEIN")},
        {L"2026-12-05T14:31Z /einmal", 1, refused, kBefore},
        {L"/Einmal 2026-02-30 14:30", 1, refused, kBefore},
        {L"/?", 0, L"Horlomat [JJJJ-MM-TT HH:MM] [/halten] [/einmal]\r\n", kBefore},
        {L"2026-12-05 14:30 /bogus", 2, L"Falsches Argument: \"/bogus\"\r\n", kBefore},
        {L"2026-12-05 /einmal", 2, L"Nach \"2026-12-05\" fehlt die Uhrzeit.\r\n", kBefore},
        {L"-halten /HALTEN", 2, L"\"-halten\" gilt nur mit Datum und Uhrzeit.\r\n", kBefore},
        {L"/einmal 2026-12-05 14:30 /HALTEN", 2, L"\"/HALTEN\": /einmal und /halten schließen sich aus.\r\n", kBefore},
        {L"20261-12-05 14:30 /einmal", 2, L"Falsches Argument: \"20261-12-05\"\r\n", kBefore},
        {L"2026-12-05 14:300 /einmal", 2, L"Falsches Argument: \"14:300\"\r\n", kBefore},
        {L"2026--05 14:30 /einmal", 2, L"Falsches Argument: \"2026--05\"\r\n", kBefore},
        // Control characters, which a console could take for commands, are shown as ?, and long arguments cut.
        {L"\x1B[2J0123456789012345678901234567890123456789 /einmal", 2,
         L"Falsches Argument: \"?[2J012345678901234567890123456789012345...\"\r\n", kBefore},
        {L"\"2026-12-05 14:30\" /einmal", 2, L"Falsches Argument: \"2026-12-05 14:30\"\r\n", kBefore},
        {L"2026-12-05T14:30 14:30 /einmal", 2, L"Falsches Argument: \"14:30\"\r\n", kBefore},
        // An Arabic-Indic digit, shown as ? in the console's code page; a lone surrogate; the longest command line
        // Windows takes; 8,000 arguments.
        {L"2026-1\x0662-05 14:30 /einmal", 2, L"Falsches Argument: \"2026-1?-05\"\r\n", kBefore},
        {L"2026-12-05 14:30 \xD800 /einmal", 2, L"Falsches Argument: \"?\"\r\n", kBefore},
        {nines.c_str(), 2, L"Falsches Argument: \"" + nines.substr(0, 40) + L"...\"\r\n", kBefore},
        {many.c_str(), 2, L"Falsches Argument: \"x\"\r\n", kBefore},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.arguments));
        sandbox.WriteIni(kBefore);
        const Told told = RunWith(sandbox, c.arguments);
        EXPECT_EQ(told.exitCode, c.exitCode);
        EXPECT_EQ(told.text.substr(0, told.text.find(L'\n') + 1), c.told);
        EXPECT_EQ(sandbox.ReadIni(), c.ini);
    }
}

// A date fills the window as written and presses "Zeit setzen" once. A later dated start hands its values to every
// window of the same folder, however its path is cased, and ends; to another folder's it does not.
TEST(CommandLine, ADateSetsOnceInTheWindowOrInTheOneThatRuns) {
    const PinnedClock clock;
    const Sandbox sandbox, other;
    sandbox.WriteIni(kBefore);
    std::wstring shouted = sandbox.Exe();
    ::CharUpperW(shouted.data());
    const App app(sandbox, shouted, {}, SW_SHOWNORMAL, L"2026-12-05 14:30 /halten");
    EXPECT_EQ(app.FieldTexts(), L"2026|12|05|14|30");
    EXPECT_TRUE(app.Ticked());
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), kPinnedLabel);
    EXPECT_EQ(sandbox.ReadIni(), Stored("05", "JA"));

    const App second(sandbox);  // a start without arguments opens a second window, holding too
    ASSERT_TRUE(second.Ticked());
    EXPECT_EQ(RunWith(sandbox, L"2026-12-5 14:30").exitCode, 0u);
    for (const App* window : {&app, &second}) {
        EXPECT_EQ(window->FieldTexts(), L"2026|12|5|14|30");
        EXPECT_FALSE(window->Ticked());
    }
    EXPECT_EQ(sandbox.ReadIni(), Stored("5", "NEIN"));
    EXPECT_EQ(RunWith(sandbox, L"2026-12-05 14:31 /einmal").exitCode, 1u);
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"Zeit konnte nicht gesetzt werden.");
    EXPECT_EQ(sandbox.ReadIni(), Stored("5", "NEIN"));

    // The Horlomat of the other folder takes that folder's start, and answers before its box says that it could not
    // store. Such a set counts as set and says so too; without an output, in a box.
    std::filesystem::create_directory(other.Ini());
    const App third(other);
    const Told elsewhere = RunWith(other, L"2026-12-05 14:30 /einmal", false);
    const std::wstring notStored = L"Die Einstellungen konnten nicht gespeichert werden: " + other.Ini();
    EXPECT_EQ(elsewhere.exitCode, 0u);
    EXPECT_EQ(elsewhere.text, L"05.12.2026, 14:30:00\n" + notStored);
    EXPECT_EQ(third.CloseBoxes(), std::vector<std::wstring>{notStored});
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"Zeit konnte nicht gesetzt werden.");
}
