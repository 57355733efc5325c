// Control and menu identifiers of the main window. 1 and 2 stay free: the
// dialog manager sends them for Enter and Esc, and this window has neither a
// default nor a cancel button.
#pragma once

namespace ids {

inline constexpr int kZeitSetzen = 101;
inline constexpr int kZeitDialog = 102;
inline constexpr int kGesetzteZeit = 103;
inline constexpr int kLabel1 = 104;
inline constexpr int kFrame1 = 105;
inline constexpr int kRegel = 106;
// txtZeit(i) is kTxtZeit + i, lblZeit(i) is kLblZeit + i; i = year, month, day, hour, minute.
inline constexpr int kTxtZeit = 110;
inline constexpr int kLblZeit = 120;

inline constexpr int kMenuEnde = 201;
inline constexpr int kMenuAbout = 202;

inline constexpr unsigned kTimer1 = 1;

}  // namespace ids
