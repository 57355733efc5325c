// Every text Horlomat shows, spelled exactly as the user sees it.
#pragma once

namespace texts {

inline constexpr wchar_t kAppTitle[] = L"Horlomat";

// The main window.
inline constexpr wchar_t kWindowTitle[] = L"Tesmar-Software Horlomat setzten";
inline constexpr wchar_t kZeitSetzen[] = L"Zeit setzen";
inline constexpr wchar_t kComputerzeit[] = L"Computerzeit";
inline constexpr wchar_t kGesetzteZeit[] = L"gesetzte Zeit";
inline constexpr wchar_t kFrame1[] = L"Datum/Zeit (UTC)";
inline constexpr wchar_t kChkRegel[] = L"Zeit regelmäßig setzen (60 sec)";
inline constexpr const wchar_t* kLblZeit[5] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};
inline constexpr wchar_t kMnuDatei[] = L"&Datei";
inline constexpr wchar_t kMnuEnde[] = L"&Beenden";
inline constexpr wchar_t kMnuHelp[] = L"&?";
inline constexpr wchar_t kMnuAbout[] = L"&Über";

inline constexpr wchar_t kNotSet[] = L"Zeit konnte nicht gesetzt werden.";
inline constexpr wchar_t kNotStored[] = L"Die Einstellungen konnten nicht gespeichert werden: ";
inline constexpr wchar_t kPanelFailed[] = L"Die Einstellungen für Datum und Uhrzeit konnten nicht geöffnet werden.";
// A field that holds no usable number; %1 stands for the field's name.
inline constexpr wchar_t kFieldNotANumber[] = L"Die Zeit wurde nicht gesetzt: Im Feld „%1“ steht keine ganze Zahl.";
inline constexpr wchar_t kFieldOutOfRange[] =
    L"Die Zeit wurde nicht gesetzt: Die Zahl im Feld „%1“ liegt nicht zwischen -32768 und 32767.";

// The command line. Plain quotes: these texts also go to consoles whose code page lacks „ and “.
// Lines short enough that a message box does not break them.
inline constexpr wchar_t kUsage[] =
    L"Horlomat JJJJ-MM-TT HH:MM [/halten|/laufend]\n"
    L"Horlomat JJJJ-MM-TT HH:MM /einmal\n"
    L"Horlomat JJJJ-MM-TT HH:MM -- PROGRAMM\n"
    L"Horlomat /echtzeit [/annehmen]\n"
    L"Horlomat /?\n"
    L"\n"
    L"JJJJ-MM-TT HH:MM\n"
    L"  Datum und Uhrzeit in UTC; auch in der Form\n"
    L"  JJJJ-MM-TTTHH:MM, mit oder ohne Z am Ende,\n"
    L"  oder mit dem Abstand zu UTC: 14:30+01:00,\n"
    L"  14:30+0100, 14:30+01. Stattdessen auch\n"
    L"  relativ zur wahren Zeit: +P30D, -PT2H,\n"
    L"  +P1Y2M3DT4H5M, +P2W.\n"
    L"  Horlomat öffnet sich mit diesen Werten und\n"
    L"  setzt die Zeit einmal.\n"
    L"/halten\n"
    L"  setzt die Zeit danach jede Minute erneut.\n"
    L"/laufend\n"
    L"  lässt die Uhr von dort an weiterlaufen und\n"
    L"  stellt sie nur nach, wenn etwas sie verstellt.\n"
    L"/ohnesync\n"
    L"  hält vor dem Stellen den Zeitabgleich an\n"
    L"  (W32Time, vmictimesync) bis zu /echtzeit.\n"
    L"/einmal\n"
    L"  setzt die Zeit ohne Fenster und endet mit dem\n"
    L"  Rückgabewert 0 (gesetzt), 1 (nicht gesetzt)\n"
    L"  oder 2 (falscher Aufruf).\n"
    L"-- PROGRAMM [ARGUMENTE]\n"
    L"  stellt die Uhr, lässt sie laufen, solange das\n"
    L"  Programm läuft, und setzt dann die wahre Zeit.\n"
    L"  Rückgabewert der des Programms; 125 Horlomat\n"
    L"  scheiterte, 126/127 Programm nicht startbar/\n"
    L"  nicht gefunden. Meldungen auf stderr.\n"
    L"/echtzeit\n"
    L"  beendet jedes Halten und setzt die wahre Zeit,\n"
    L"  Rückgabewert 0 (gesetzt oder nichts zu tun),\n"
    L"  1 (nicht gesetzt), 3 (wahre Zeit nicht sicher\n"
    L"  bekannt, nichts gesetzt), 4 (gesetzt, aber\n"
    L"  die Aufzeichnung nicht erneuert) oder 5 (ein\n"
    L"  Horlomat hält die Uhr weiter).\n"
    L"/annehmen\n"
    L"  setzt nach einem Neustart von Windows die Zeit,\n"
    L"  die /echtzeit unter seiner Annahme nennt.\n"
    L"/?\n"
    L"  zeigt diesen Text.\n"
    L"\n"
    L"Ohne Argumente öffnet sich Horlomat mit den\n"
    L"gespeicherten Werten.";
// %1 stands for the argument.
inline constexpr wchar_t kArgWrong[] = L"Falsches Argument: \"%1\"";
inline constexpr wchar_t kArgNoTime[] = L"Nach \"%1\" fehlt die Uhrzeit.";
inline constexpr wchar_t kArgNoDate[] = L"\"%1\" gilt nur mit Datum und Uhrzeit.";
inline constexpr wchar_t kArgBoth[] = L"\"%1\": /einmal schließt /halten und /laufend aus.";
inline constexpr wchar_t kArgAlone[] = L"\"%1\" steht allein, ohne Datum und Schalter.";
inline constexpr wchar_t kArgOnlyTrueTime[] = L"\"%1\" gilt nur mit /echtzeit.";
inline constexpr wchar_t kArgNotInRun[] = L"\"%1\" gilt nicht mit -- PROGRAMM.";
inline constexpr wchar_t kArgNoProgram[] = L"Nach \"%1\" fehlt das Programm.";

// /laufend, after the time set; /echtzeit.
inline constexpr wchar_t kRunsOn[] = L"\r\nUhr läuft weiter";
inline constexpr wchar_t kGivenUp[] = L"Etwas verstellt die\r\nUhr immer wieder;\r\nHorlomat lässt sie.";
inline constexpr wchar_t kTrueTimeSet[] = L"Die Uhr zeigt wieder die wahre Zeit:\n";
// %1 how far off it may be, in seconds; %2 the reading's age.
inline constexpr wchar_t kTrueTimeBound[] =
    L"\nGenau auf ±%1 s: Horlomat hat die Uhr vor %2\n"
    L"als wahr gemessen, Windows zählt seither auf\n"
    L"100 ppm genau, dazu 0,03 s Auflösung.";
inline constexpr wchar_t kTrueTimeAssumed[] =
    L"\nAngenommen ist dabei, dass seit dem letzten\n"
    L"Stellen durch Horlomat vor dem Neustart von\n"
    L"Windows niemand sonst die Uhr gestellt hat.";
inline constexpr wchar_t kRecordNotUpdated[] =
    L"\nSeine Aufzeichnung konnte Horlomat aber nicht\n"
    L"erneuern; ein weiteres /echtzeit hilft.";
inline constexpr wchar_t kNothingToPutBack[] = L"Horlomat hat die Uhr nicht verstellt;\nes wurde nichts gesetzt.";
inline constexpr wchar_t kTrueTimeUnknown[] =
    L"Horlomat hat die Uhr verstellt, kann die wahre\n"
    L"Zeit aber nicht bestimmen: Seine Aufzeichnung in\n"
    L"HKLM\\SOFTWARE\\Tesmar\\Horlomat ist beschädigt.\n"
    L"Es wurde nichts gesetzt. Stellen Sie die Uhr mit\n"
    L"einem Zeitserver (w32tm /resync) oder von Hand.";
// %1 the true time the assumption gives.
inline constexpr wchar_t kTrueTimeWouldBe[] =
    L"Horlomat hat die Uhr vor einem Neustart von\n"
    L"Windows verstellt. Angenommen, seither hat\n"
    L"niemand sonst sie gestellt, ist die wahre Zeit\n"
    L"%1.\nEs wurde nichts gesetzt.\n"
    L"Horlomat /echtzeit /annehmen setzt sie so;\n"
    L"sonst stellen Sie die Uhr mit einem Zeitserver\n"
    L"(w32tm /resync) oder von Hand.";
// %1 the true time by Horlomat's reading.
inline constexpr wchar_t kClockElsewhere[] =
    L"Die Uhr steht weder, wo Horlomat sie ließ, noch\n"
    L"auf der wahren Zeit nach seiner Messung,\n"
    L"%1.\nJemand sonst hat sie gestellt, oder eine\n"
    L"virtuelle Maschine wurde auf einen Snapshot\n"
    L"zurückgesetzt. Es wurde nichts gesetzt.\n"
    L"Stellen Sie die Uhr mit einem Zeitserver\n"
    L"(w32tm /resync) oder von Hand und löschen Sie\n"
    L"dann HKLM\\SOFTWARE\\Tesmar\\Horlomat.";
// A test run's; %1 Windows' words for why.
inline constexpr wchar_t kRunNotStarted[] = L"Das Programm konnte nicht gestartet werden: %1";
inline constexpr wchar_t kRunNotRun[] = L"\nDas Programm wurde nicht gestartet.";
inline constexpr wchar_t kRunWaits[] = L"Ein anderer Testlauf hält die Uhr; Horlomat wartet, bis er endet.";
// /ohnesync; %1 the sources, or what failed and why.
inline constexpr wchar_t kNoSyncPaused[] = L"Zeitabgleich angehalten: %1.";
inline constexpr wchar_t kNoSyncAbsent[] = L"\nNicht vorhanden: %1.";
inline constexpr wchar_t kNoSyncGuestTool[] =
    L"\n%1 stellt die Uhr weiter, etwa nach dem Fortsetzen\n"
    L"oder einem Snapshot; abschalten am Host.";
inline constexpr wchar_t kNoSyncNotPaused[] =
    L"Den Zeitabgleich konnte Horlomat nicht anhalten:\n%1.\nEs wurde nichts gesetzt.";
inline constexpr wchar_t kNoSyncRestored[] = L"\nZeitabgleich wieder wie zuvor: %1.";
inline constexpr wchar_t kNoSyncNotRestored[] =
    L"\nNicht wieder wie zuvor: %1.\n"
    L"Ein weiteres /echtzeit als Administrator\nversucht es erneut.";
// %1 how many.
inline constexpr wchar_t kHoldsLeft[] =
    L"\n%1 Horlomat hielten die Uhr weiter: Sie ließen\n"
    L"sich binnen 5 s nicht anhalten und stellen sie\n"
    L"wieder um. Beenden Sie sie im Task-Manager.";
inline constexpr wchar_t kHoldsOutOfReach[] =
    L"\nHorlomat in anderen Sitzungen oder auf anderen\n"
    L"Desktops erreicht /echtzeit nur als Administrator.";
inline constexpr wchar_t kUserRecord[] =
    L"Horlomat hat die Uhr ohne Administratorrechte\n"
    L"verstellt und das nur für diesen Benutzer\n"
    L"aufgezeichnet, was jedes seiner Programme kann.\n"
    L"Es wurde nichts gesetzt: Starten Sie /echtzeit\n"
    L"ohne Administratorrechte.";

// The About dialog and the system information tool.
inline constexpr wchar_t kAboutCaptionPrefix[] = L"Info zu ";
inline constexpr wchar_t kAboutTitleStored[] = L"Name der Anwendung";
inline constexpr wchar_t kAboutVersionStored[] = L"Version";
inline constexpr wchar_t kAboutVersionPrefix[] = L"Version ";
inline constexpr wchar_t kAboutDisclaimer[] =
    L"Diese Software wird ohne jede Gewährleistung überlassen. "
    L"Urheberrecht und alle weiteren Rechte liegen bei Tesmar.";
inline constexpr wchar_t kAboutOK[] = L"OK";
inline constexpr wchar_t kAboutSysInfo[] = L"&Systeminfo...";
inline constexpr wchar_t kAboutLogoLink[] = L"Tesmar im Internet";
inline constexpr wchar_t kSysInfoUnavailable[] = L"Systeminformationen sind momentan nicht verfügbar";

}  // namespace texts
