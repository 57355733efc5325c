// Every text the main window shows, and the keys of its settings.
#pragma once

namespace texts {

inline constexpr wchar_t kWindowTitle[] = L"Tesmar-Software Horlomat setzten";
inline constexpr wchar_t kZeitSetzen[] = L"Zeit setzen";
inline constexpr wchar_t kComputerzeit[] = L"Computerzeit";
inline constexpr wchar_t kGesetzteZeit[] = L"gesetzte Zeit";
inline constexpr wchar_t kFrame[] = L"Datum/Zeit (UTC)";
inline constexpr wchar_t kRegel[] = L"Zeit regelmäßig setzen (60 sec)";
inline constexpr const wchar_t* kFieldLabels[5] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};

inline constexpr wchar_t kMenuDatei[] = L"&Datei";
inline constexpr wchar_t kMenuBeenden[] = L"&Beenden";
inline constexpr wchar_t kMenuHelp[] = L"&?";
inline constexpr wchar_t kMenuAbout[] = L"&Über";

inline constexpr wchar_t kNotSet[] = L"Zeit konnte nicht gesetzt werden.";
inline constexpr wchar_t kPanelFailed[] =
    L"Die Einstellungen für Datum und Uhrzeit konnten nicht geöffnet werden.";

// The settings file.
inline constexpr wchar_t kSection[] = L"Zeit";
inline constexpr const wchar_t* kFieldKeys[5] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};
inline constexpr wchar_t kKeyHold[] = L"ZeitHalten";
inline constexpr wchar_t kYes[] = L"JA";
inline constexpr wchar_t kNo[] = L"NEIN";

}  // namespace texts
