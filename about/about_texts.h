// Every text the About dialog and the system information launcher show.
#pragma once

namespace about::texts {

inline constexpr wchar_t kCaptionStored[] = L"Info";
inline constexpr wchar_t kCaptionPrefix[] = L"Info zu ";
inline constexpr wchar_t kTitleStored[] = L"Name der Anwendung";
inline constexpr wchar_t kVersionStored[] = L"Version";
inline constexpr wchar_t kVersionPrefix[] = L"Version ";
inline constexpr wchar_t kDisclaimer[] =
    L"Diese Software wird ohne jede Gewährleistung überlassen. "
    L"Urheberrecht und alle weiteren Rechte liegen bei Tesmar.";
inline constexpr wchar_t kOK[] = L"OK";
inline constexpr wchar_t kSysInfo[] = L"&Systeminfo...";

inline constexpr char kMakerWebPage[] = "https://www.tesmar.de/";

inline constexpr wchar_t kSysInfoUnavailable[] = L"Systeminformationen sind momentan nicht verfügbar";

}  // namespace about::texts
