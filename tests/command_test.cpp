// Horlomat started with arguments, as scripts and scheduled tasks start it: what it says, sets and stores, and how a
// start with a date meets a Horlomat that already runs with the same settings file.
#include "app/handover.h"
#include "platform/process.h"
#include "tests/harness.h"

#include <filesystem>

#include <tlhelp32.h>

using namespace ui;

namespace {

const std::string kBefore = "[Zeit]\r\nJahr=1999\r\n";
std::string Stored(const std::string& day, const char* hold) {
    return "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=" + day + "\r\nStunde=14\r\nMinute=30\r\nZeitHalten=" + hold +
           "\r\n";
}

// The windows of Horlomat's class on this desktop, whoever made them.
std::vector<HWND> ClassWindows() {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, handover::kWindowClass, nullptr));) found.push_back(w);
    return found;
}

int posedTo = 0;  // what the impostor was sent

constexpr wchar_t kRecord[] = L"SOFTWARE\\Tesmar\\Horlomat";  // what the way back to the true time needs

}  // namespace

// Each form, told on a pipe: /einmal stores only what the clock took, as written; a wrong call, however long or
// strange, names its first wrong argument, sets and stores nothing and opens no window.
TEST(CommandLine, SaysWhatItDidOnItsOutputWithTheExitCode) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);  // what earlier cases kept of the true time, which a duration reads
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
        // A UTC offset, in each form, names the UTC minute; a duration counts from the clock, no moved one kept.
        {L"2026-12-05T15:30+01:00 /einmal", 0, set, Stored("5", "NEIN")},
        {L"/einmal 2026-12-05 14:00-00:30", 0, set, Stored("5", "NEIN")},
        {L"2026-12-06T04:30+1400 /einmal", 0, set, Stored("5", "NEIN")},
        {L"/?", 0, L"Horlomat JJJJ-MM-TT HH:MM [/halten|/laufend]\r\n", kBefore},
        {L"2026-12-05 14:30 /bogus", 2, L"Falsches Argument: \"/bogus\"\r\n", kBefore},
        {L"2026-12-05 /einmal", 2, L"Nach \"2026-12-05\" fehlt die Uhrzeit.\r\n", kBefore},
        {L"-halten /HALTEN", 2, L"\"-halten\" gilt nur mit Datum und Uhrzeit.\r\n", kBefore},
        {L"/einmal 2026-12-05 14:30 /HALTEN", 2, L"\"/HALTEN\": /einmal schließt /halten und /laufend aus.\r\n",
         kBefore},
        {L"2026-12-05 14:30 /echtzeit", 2, L"\"/echtzeit\" steht allein, ohne Datum und Schalter.\r\n", kBefore},
        {L"2026-12-05 14:30 /annehmen", 2, L"\"/annehmen\" gilt nur mit /echtzeit.\r\n", kBefore},
        {L"-- fake.exe", 2, L"\"--\" gilt nur mit Datum und Uhrzeit.\r\n", kBefore},
        {L"+P1D /einmal -- fake.exe", 2, L"\"/einmal\" gilt nicht mit -- PROGRAMM.\r\n", kBefore},
        {L"2026-12-05 14:30 --", 2, L"Nach \"--\" fehlt das Programm.\r\n", kBefore},
        {L"20261-12-05 14:30 /einmal", 2, L"Falsches Argument: \"20261-12-05\"\r\n", kBefore},
        // Control characters, which a console could take for commands, are shown as ?, and long arguments cut.
        {L"\x1B[2J0123456789012345678901234567890123456789 /einmal", 2,
         L"Falsches Argument: \"?[2J012345678901234567890123456789012345...\"\r\n", kBefore},
        {L"\"2026-12-05 14:30\" /einmal", 2, L"Falsches Argument: \"2026-12-05 14:30\"\r\n", kBefore},
        {L"P30D /einmal", 2, L"Falsches Argument: \"P30D\"\r\n", kBefore},
        {L"+PT /einmal", 2, L"Falsches Argument: \"+PT\"\r\n", kBefore},
        {L"-P1DT2X /einmal", 2, L"Falsches Argument: \"-P1DT2X\"\r\n", kBefore},
        {L"-P999Y /einmal", 2, L"Falsches Argument: \"-P999Y\"\r\n", kBefore},
        {L"2026-12-05T14:30+14:01 /einmal", 2, L"Falsches Argument: \"2026-12-05T14:30+14:01\"\r\n", kBefore},
        // An Arabic-Indic digit, shown as ?; the longest command line Windows takes; 8,000 arguments.
        {L"2026-1\x0662-05 14:30 /einmal", 2, L"Falsches Argument: \"2026-1?-05\"\r\n", kBefore},
        {nines.c_str(), 2, L"Falsches Argument: \"" + nines.substr(0, 40) + L"...\"\r\n", kBefore},
        {many.c_str(), 2, L"Falsches Argument: \"x\"\r\n", kBefore},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.arguments));
        sandbox.WriteIni(kBefore);
        const Told told = RunWith(sandbox, c.arguments);
        const std::wstring all = told.text + told.error;  // a test run's are on the standard error
        EXPECT_EQ(told.exitCode, c.exitCode);
        EXPECT_EQ(all.substr(0, all.find(L'\n') + 1), c.told);
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
    // By the same file's Unix path on drive Z:, which shares no spelling with its C: path.
    const std::wstring viaZ = L"Z:" + std::filesystem::path(std::getenv("WINEPREFIX")).wstring() + L"\\drive_c";
    EXPECT_EQ(RunWith(sandbox, L"2026-12-5 14:30", Output::Pipe, viaZ + sandbox.Exe().substr(2)).exitCode, 0u);
    for (const App* window : {&app, &second}) {
        EXPECT_EQ(window->FieldTexts(), L"2026|12|5|14|30");
        EXPECT_FALSE(window->Ticked());
    }
    EXPECT_EQ(sandbox.ReadIni(), Stored("5", "NEIN"));
    EXPECT_EQ(RunWith(sandbox, L"2026-12-05 14:31 /einmal").exitCode, 1u);  // the window's refusal, told
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"Zeit konnte nicht gesetzt werden.");
    EXPECT_EQ(sandbox.ReadIni(), Stored("5", "NEIN"));

    // The Horlomat of the other folder takes that folder's start, and answers before its box says that it could not
    // store. Such a set counts as set: to a script without an output by its exit code alone, to a person in a box.
    std::filesystem::create_directory(other.Ini());
    const App third(other);
    EXPECT_EQ(RunWith(other, L"2026-12-05 14:30 /einmal", Output::None).text, L"");
    const std::wstring notStored = L"Die Einstellungen konnten nicht gespeichert werden: " + other.Ini();
    EXPECT_EQ(third.CloseBoxes(), std::vector<std::wstring>{notStored});
    EXPECT_EQ(RunWith(other, L"2026-12-05 14:30 /einmal", Output::Explorer).text,
              L"05.12.2026, 14:30:00\n" + notStored);
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"Zeit konnte nicht gesetzt werden.");

    // A duration shows the UTC minute it gives from the clock, where no moved one is kept; months by the calendar.
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);
    const Sandbox fresh;
    EXPECT_EQ(App(fresh, {}, {}, SW_SHOWNORMAL, L"+P30D").FieldTexts(), L"2027|1|4|14|30");
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);
    const PinnedClock late(2027, 1, 31, 23, 59);
    EXPECT_EQ(App(fresh, {}, {}, SW_SHOWNORMAL, L"+P1MT1M").FieldTexts(), L"2027|3|1|0|0");
}

// A window posing as Horlomat that says yes to everything is handed nothing: /einmal still says that the clock
// refused, a dated start opens its own window. Nor does this Horlomat.exe in another folder take a start.
TEST(CommandLine, HandsOverOnlyToThisHorlomatOfThisFolder) {
    const PinnedClock clock;
    const Sandbox sandbox;
    // This thread answers while it waits.
    const WNDPROC yes = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return message == WM_COPYDATA ? (++posedTo, 1) : ::DefWindowProcW(window, message, wParam, lParam);
    };
    const WNDCLASSW horlomat{0, yes, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, handover::kWindowClass};
    ::RegisterClassW(&horlomat);
    const HWND impostor = ::CreateWindowW(handover::kWindowClass, L"Tesmar-Software Horlomat setzten",
                                          WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    const Told refused = RunWith(sandbox, L"2026-12-05 14:31 /einmal");
    EXPECT_EQ(refused.exitCode, 1u);
    EXPECT_EQ(refused.text, L"Zeit konnte nicht gesetzt werden.\r\n");
    EXPECT_NO_THROW(App(sandbox, {}, {}, SW_SHOWNORMAL, L"2026-12-05 14:30")) << "no window of its own";
    EXPECT_EQ(posedTo, 0);
    ::DestroyWindow(impostor);

    // Nor to this very Horlomat.exe in another folder, by a hard link: that is another settings file.
    const Sandbox linked;
    std::filesystem::remove(linked.Exe());
    ASSERT_TRUE(::CreateHardLinkW(linked.Exe().c_str(), sandbox.Exe().c_str(), nullptr));
    const App first(sandbox);
    EXPECT_EQ(RunWith(linked, L"2026-12-05 14:31 /einmal").exitCode, 1u);
    EXPECT_NE(first.FieldTexts(), L"2026|12|05|14|31") << "handed over to another folder's window";
}

// /echtzeit ends every hold, of any folder, on any desktop, then sets the clock to the true time where a Horlomat moved
// it; it exits 5 while a holder hangs. /laufend sets the typed minute once; then a tick sets nothing while the clock
// runs on from there or the box is unticked, and sets the running time where the clock was pulled back or ahead
// (which Wine refuses), as does a step's notification a second later, three times a minute; after twenty sets in a row
// it gives up. A press holds the minute again.
TEST(TrueTime, EchtzeitEndsEveryHoldOnAnyDesktopAndLaufendLetsTheClockRunOn) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);  // what earlier cases kept
    const Sandbox sandbox, other, away;
    const auto echtzeit = [&] {  // the exit code and the first line
        const Told put = RunWith(sandbox, L"/echtzeit");
        return std::to_wstring(put.exitCode) + L" " + put.text.substr(0, put.text.find(L'\r'));
    };
    const std::wstring nothing = L"0 Horlomat hat die Uhr nicht verstellt;";
    EXPECT_EQ(echtzeit(), nothing);
    // A holder on another desktop, which no window of this desktop can find.
    const HDESK desktop = ::CreateDesktopW(L"Andere", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    away.WriteIni(Stored("05", "JA"));
    const HANDLE elsewhere = Launch(away, L"", L"Andere");
    ASSERT_EQ(::WaitForInputIdle(elsewhere, 10000), 0u);
    const App app(sandbox);  // on the true clock
    std::optional<PinnedClock> clock(std::in_place);
    ASSERT_EQ(RunWith(sandbox, L"2026-12-05 14:30 /halten").exitCode, 0u);  // handed over, and set

    const App running(other, {}, {}, SW_SHOWNORMAL, L"2026-12-05 14:30 /laufend");
    EXPECT_EQ(running.Text(ids::lblGesetzteZeit), kPinnedLabel + std::wstring(L"\r\nUhr läuft weiter"));
    EXPECT_EQ(other.ReadIni(), Stored("05", "JA"));
    const auto tickWith = [&](double behind, bool ticked = true) {  // the label after a tick with the clock `behind`
        clock->RunOn(behind);
        running.SetText(ids::lblGesetzteZeit, L"");
        running.SetTicked(ticked);
        running.Tick();
        return running.Idle() ? running.Text(ids::lblGesetzteZeit) : L"ended";
    };
    const std::wstring refused = L"Zeit konnte nicht gesetzt werden.";
    clock->RunOn();
    ::Sleep(2000);  // the typed minute is too far behind now for Wine to take it
    EXPECT_EQ(tickWith(0), L"") << "set although the clock runs right";
    EXPECT_EQ(tickWith(30), refused);
    EXPECT_EQ(tickWith(-30), refused) << "a clock ahead left alone";
    EXPECT_EQ(tickWith(30, false), L"") << "set although unticked";
    running.SetTicked(true);
    const auto stepped = [&](double behind) {  // a set within two seconds of a notification that the clock stepped
        clock->RunOn(behind);
        running.SetText(ids::lblGesetzteZeit, L"");
        ::PostMessageW(running.Main(), WM_TIMECHANGE, 0, 0);
        return WaitFor([&] { return !running.Text(ids::lblGesetzteZeit).empty(); }, 2500);
    };
    EXPECT_FALSE(stepped(0)) << "set although the clock runs right";
    EXPECT_EQ(stepped(30) + stepped(30) + stepped(30) + stepped(30), 3) << "sets between ticks";
    running.Post(ids::cmdZeitSetzen);  // the typed minute again, which Wine refuses by now
    ASSERT_TRUE(running.Idle());
    EXPECT_EQ(tickWith(0), refused) << "ran on from the minute before the press";
    ASSERT_EQ(RunWith(other, L"2026-12-05 14:30 /laufend").exitCode, 0u);
    for (int i = 0; i < 20; ++i) tickWith(30);
    EXPECT_EQ(tickWith(30), L"Etwas verstellt die\r\nUhr immer wieder;\r\nHorlomat lässt sie.");
    EXPECT_FALSE(running.Ticked());

    // The clock runs on from the set minute: /echtzeit aims at the true time, which Wine refuses.
    clock->RunOn();
    running.SetTicked(true);
    EXPECT_EQ(echtzeit(), L"1 " + refused) << "aimed at the clock, or at a reading of the set";
    EXPECT_EQ(ClassWindows().size(), 2u) << "the holder elsewhere seen from here";
    EXPECT_TRUE(!app.Ticked() && !running.Ticked());
    for (const Sandbox* held : {&sandbox, &other, &away}) EXPECT_EQ(held->ReadIni(), Stored("05", "NEIN"));
    clock.reset();  // the true clock again
    EXPECT_EQ(echtzeit(), L"0 Die Uhr zeigt wieder die wahre Zeit:");
    // With a holder that hangs, /echtzeit does not say that all is well.
    const HANDLE signal = ::CreateEventW(nullptr, TRUE, FALSE, L"Global\\Horlomat-Echtzeit");
    const HANDLE hung = ::CreateMutexW(nullptr, TRUE, L"Global\\Horlomat-Hält-0");
    EXPECT_EQ(echtzeit(), L"5" + nothing.substr(1));
    for (HANDLE handle : {hung, signal}) ::CloseHandle(handle);
    ::TerminateProcess(elsewhere, 0);  // Wine shows that desktop over this one until it is gone
    ::WaitForSingleObject(elsewhere, 10000);
    ::CloseDesktop(desktop);
}

static std::size_t Running(const wchar_t* name) {  // processes of that file name
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    std::size_t count = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        count += ::lstrcmpiW(entry.szExeFile, name) == 0;
    ::CloseHandle(snapshot);
    return count;
}

// DATE -- PROGRAM: the program runs at the date with its command line as written and its own standard output; its
// exit code, all 32 bits, is the run's; the true time is back, its record gone, the settings file untouched. A refused
// date runs nothing, a failed way back fails a passed run, a second run waits its turn, the program ends with Horlomat.
TEST(TestRun, RunsTheProgramAtTheDateAndPutsTheTrueTimeBack) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);
    std::optional<PinnedClock> clock(std::in_place);
    clock->RunOn();  // the set and the way back both at the clock, which is all Wine takes
    const Sandbox sandbox;
    sandbox.WriteIni(kBefore);
    const std::wstring tool = sandbox.folder + L"\\Prüfung.exe";
    PlaceTool(tool);
    // Two blanks after the name, as written: a command line rebuilt from its arguments would have one.
    const std::wstring program = L"\"" + tool + L"\"  \"a b\" \"c\\\"d\" \"e f\\\\\" g";
    ::SetEnvironmentVariableW(L"FAKE_TOOL_EXIT", L"0xC0000135");
    const Told told = RunWith(sandbox, L"2026-12-05T15:30+01:00 -- " + program);
    EXPECT_EQ(told.exitCode, 0xC0000135u);
    EXPECT_EQ(told.text, L"Programm\r\n");
    EXPECT_EQ(ToolRuns(tool), std::vector<std::wstring>{sandbox.folder + L">" + program});
    EXPECT_EQ(sandbox.ReadIni(), kBefore);
    EXPECT_NE(::RegGetValueW(HKEY_LOCAL_MACHINE, kRecord, L"Abstand", RRF_RT_ANY, nullptr, nullptr, nullptr), 0)
        << "the record of the way back left";
    ::SetEnvironmentVariableW(L"FAKE_TOOL_EXIT", nullptr);

    clock.emplace();  // standing still: 14:31 is refused, and after two seconds so is the way back
    PlaceTool(tool);
    const Told refused = RunWith(sandbox, L"2026-12-05T14:31 -- " + program);
    EXPECT_EQ(refused.exitCode, 125u);
    EXPECT_EQ(refused.error, L"Zeit konnte nicht gesetzt werden.\r\nDas Programm wurde nicht gestartet.\r\n");
    EXPECT_TRUE(ToolRuns(tool).empty());
    ::SetEnvironmentVariableW(L"FAKE_TOOL_WAIT", L"2500");
    EXPECT_EQ(RunWith(sandbox, L"2026-12-05T14:30 /halten -- " + program).exitCode, 125u)
        << "passed without the way back";
    EXPECT_EQ(RunWith(sandbox, L"2026-12-05T14:30 -- nirgends.exe").exitCode, 127u);

    // A second run waits for the first; ended, the first ends its program.
    ::SetEnvironmentVariableW(L"FAKE_TOOL_WAIT", L"600000");
    const HANDLE turn = ::CreateMutexW(nullptr, TRUE, L"Global\\Horlomat-Testlauf");
    const HANDLE run = Launch(sandbox, L"2026-12-05T14:30 -- " + program);
    ::SetEnvironmentVariableW(L"FAKE_TOOL_WAIT", nullptr);
    ::Sleep(1500);
    EXPECT_EQ(Running(L"Prüfung.exe"), 0u) << "did not wait its turn";
    ::ReleaseMutex(turn);
    EXPECT_TRUE(WaitFor([] { return Running(L"Prüfung.exe") == 1; }));
    EXPECT_TRUE(Windows(::GetProcessId(run), {}).empty()) << "a window shown";
    ::TerminateProcess(run, 1);
    EXPECT_TRUE(WaitFor([] { return Running(L"Prüfung.exe") == 0; })) << "the program outlived Horlomat";
    ::CloseHandle(turn);
}

// The time services: the tests' service program under their names, `stopping` ms to stop (MAXDWORD: not at all).
static constexpr char kTypeKey[] = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
static const SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);

static void StandIn(const wchar_t* name, DWORD start, bool running, DWORD stopping = 0) {
    std::wstring path(MAX_PATH, L'\0');  // the service program is built beside the test program
    path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    path = L"\"" + path.substr(0, path.find_last_of(L'\\')) + L"\\fake_tool.exe\" /dienst " + std::to_wstring(stopping);
    SC_HANDLE service =
        ::CreateServiceW(manager, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, start,
                         SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    SERVICE_STATUS status{};
    if (!service && (service = ::OpenServiceW(manager, name, SERVICE_ALL_ACCESS))) {
        ::ControlService(service, 128, &status);  // where it took no request to stop
        ::ControlService(service, SERVICE_CONTROL_STOP, &status);
        WaitFor([&] { return ::QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED; });
        ::ChangeServiceConfigW(service, SERVICE_NO_CHANGE, start, SERVICE_NO_CHANGE, path.c_str(), nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr);
    }
    if (running) ::StartServiceW(service, 0, nullptr);
}

// "<start type> läuft|steht" for each service, then W32Time's Type.
static std::wstring TimeSync() {
    std::wstring text;
    for (const wchar_t* name : {L"W32Time", L"vmictimesync"}) {
        const SC_HANDLE service = ::OpenServiceW(manager, name, SERVICE_ALL_ACCESS);
        alignas(QUERY_SERVICE_CONFIGW) BYTE config[8192];
        DWORD size = 0;
        SERVICE_STATUS status{};
        const bool ran = ::QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED;
        ::QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config), sizeof(config), &size);
        text += std::to_wstring(reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config)->dwStartType) +
                (ran ? L" läuft, " : L" steht, ");
    }
    char type[64] = "-";
    DWORD size = sizeof(type);
    ::RegGetValueA(HKEY_LOCAL_MACHINE, kTypeKey, "Type", RRF_RT_REG_SZ, nullptr, type, &size);
    return text + platform::FromAnsi(type);
}

// /ohnesync keeps what was there before it changes anything: killed while it pauses, a later /echtzeit puts it back.
// It stops and disables W32Time and vmictimesync and sets W32Time's Type to NoSync; /echtzeit puts back exactly the
// start types, what ran (only that) and the Type, or none. What cannot be paused sets nothing; a set the clock
// refuses leaves nothing paused.
TEST(NoSync, PausesTheTimeSyncAndPutsBackExactlyWhatWasThere) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);
    const PinnedClock clock;
    const Sandbox sandbox;
    StandIn(L"W32Time", SERVICE_DEMAND_START, true, 1500);
    StandIn(L"vmictimesync", SERVICE_AUTO_START, false);
    SetValue(HKEY_LOCAL_MACHINE, kTypeKey, "Type", std::string("NTP") + '\0');
    const std::wstring before = L"3 läuft, 2 steht, NTP";
    ASSERT_TRUE(WaitFor([&] { return TimeSync() == before; })) << Narrow(TimeSync());
    const HANDLE killed = Launch(sandbox, L"2026-12-05 14:30 /einmal /ohnesync");
    ASSERT_TRUE(WaitFor([&] { return TimeSync() != before; }));
    ::TerminateProcess(killed, 1);
    EXPECT_NE(RunWith(sandbox, L"/echtzeit").text.find(L"Zeitabgleich wieder wie zuvor: "), std::wstring::npos);
    EXPECT_EQ(TimeSync(), before);

    SetValue(HKEY_LOCAL_MACHINE, kTypeKey, "Type", std::nullopt);
    EXPECT_EQ(RunWith(sandbox, L"2026-12-05 14:30 /einmal /ohnesync").text,
              L"05.12.2026, 14:30:00\r\nZeitabgleich angehalten: W32Time, vmictimesync.\r\n");
    EXPECT_EQ(TimeSync(), L"4 steht, 4 steht, NoSync");
    EXPECT_NE(RunWith(sandbox, L"/echtzeit").text.find(L"Zeitabgleich wieder wie zuvor: W32Time, vmictimesync."),
              std::wstring::npos);
    EXPECT_EQ(TimeSync(), L"3 läuft, 2 steht, -");
    EXPECT_EQ(RunWith(sandbox, L"2026-12-05 14:31 /einmal /ohnesync").exitCode, 1u);  // a refused set keeps no pause
    EXPECT_EQ(TimeSync(), L"3 läuft, 2 steht, -");

    StandIn(L"vmictimesync", SERVICE_AUTO_START, true, MAXDWORD);
    const Told refused = RunWith(sandbox, L"2026-12-05 14:30 /einmal /ohnesync");
    EXPECT_EQ(refused.exitCode, 1u);
    EXPECT_EQ(refused.text.find(L"Den Zeitabgleich konnte Horlomat nicht anhalten:\r\nvmictimesync ("), 0u)
        << Narrow(refused.text);
    EXPECT_EQ(TimeSync(), L"3 läuft, 2 läuft, -");
    StandIn(L"vmictimesync", SERVICE_AUTO_START, false);  // asked again, it stops
}
