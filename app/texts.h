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

// A field that holds no usable number; %1 stands for the field's name.
inline constexpr wchar_t kFieldNotANumber[] = L"Die Zeit wurde nicht gesetzt: Im Feld „%1“ steht keine ganze Zahl.";
inline constexpr wchar_t kFieldOutOfRange[] =
    L"Die Zeit wurde nicht gesetzt: Die Zahl im Feld „%1“ liegt nicht zwischen -32768 und 32767.";
inline constexpr wchar_t kFieldUnreadable[] =
    L"Die Zeit wurde nicht gesetzt: Das Feld „%1“ konnte nicht gelesen werden, weil die Zahlenumwandlung "
    L"von Windows (oleaut32.dll) fehlt.";

// The settings file.
inline constexpr wchar_t kSection[] = L"Zeit";
inline constexpr const wchar_t* kFieldKeys[5] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};
inline constexpr wchar_t kKeyHold[] = L"ZeitHalten";
inline constexpr wchar_t kYes[] = L"JA";
inline constexpr wchar_t kNo[] = L"NEIN";

}  // namespace texts
