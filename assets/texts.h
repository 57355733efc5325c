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
    L"Horlomat /echtzeit\n"
    L"Horlomat /?\n"
    L"\n"
    L"JJJJ-MM-TT HH:MM\n"
    L"  Datum und Uhrzeit in UTC; auch in der Form\n"
    L"  JJJJ-MM-TTTHH:MM, mit oder ohne Z am Ende.\n"
    L"  Horlomat öffnet sich mit diesen Werten und\n"
    L"  setzt die Zeit einmal.\n"
    L"/halten\n"
    L"  setzt die Zeit danach jede Minute erneut.\n"
    L"/laufend\n"
    L"  lässt die Uhr von dort an weiterlaufen und\n"
    L"  stellt sie nur nach, wenn etwas sie verstellt.\n"
    L"/einmal\n"
    L"  setzt die Zeit ohne Fenster und endet mit dem\n"
    L"  Rückgabewert 0 (gesetzt), 1 (nicht gesetzt)\n"
    L"  oder 2 (falscher Aufruf).\n"
    L"/echtzeit\n"
    L"  beendet jedes Halten und setzt die wahre Zeit,\n"
    L"  Rückgabewert 0 (gesetzt oder nichts zu tun),\n"
    L"  1 (nicht gesetzt) oder 3 (wahre Zeit unbekannt).\n"
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

// /laufend, after the time set; /echtzeit.
inline constexpr wchar_t kRunsOn[] = L"\r\nUhr läuft weiter";
inline constexpr wchar_t kTrueTimeSet[] = L"Die Uhr zeigt wieder die wahre Zeit:\n";
inline constexpr wchar_t kTrueTimeAssumed[] =
    L"\nAngenommen ist dabei, dass seit dem letzten\n"
    L"Stellen durch Horlomat vor dem Neustart von\n"
    L"Windows niemand sonst die Uhr gestellt hat.";
inline constexpr wchar_t kNothingToPutBack[] = L"Horlomat hat die Uhr nicht verstellt;\nes wurde nichts gesetzt.";
inline constexpr wchar_t kTrueTimeUnknown[] =
    L"Horlomat hat die Uhr verstellt, kann die wahre\n"
    L"Zeit aber nicht bestimmen: Seine Aufzeichnung in\n"
    L"HKLM\\SOFTWARE\\Tesmar\\Horlomat ist beschädigt.\n"
    L"Es wurde nichts gesetzt. Stellen Sie die Uhr mit\n"
    L"einem Zeitserver (w32tm /resync) oder von Hand.";

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
