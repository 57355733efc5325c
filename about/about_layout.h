// Geometry of the About dialog in twips (1/1440 inch), as designed; converted
// to pixels for the dialog's DPI in one place (ToPixels). At 96 DPI 15 twips
// make one pixel.
#pragma once

#include "about/about_ids.h"
#include "about/about_texts.h"

#include <windows.h>

namespace about::layout {

inline constexpr int kClientWidth = 5940;
inline constexpr int kClientHeight = 3840;

inline constexpr int ToPixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

enum class Kind { DefaultButton, PushButton, Picture, Label, BlackLabel };

struct Control {
    int id;
    Kind kind;
    const wchar_t* text;
    int left, top, width, height;
};

// In tab order: the order of creation is the order of the Tab key.
inline constexpr Control kControls[] = {
    {ids::kOK, Kind::DefaultButton, texts::kOK, 4260, 2865, 1260, 345},
    {ids::kPicIcon, Kind::Picture, L"", 120, 240, 1650, 2010},
    {ids::kSysInfo, Kind::PushButton, texts::kSysInfo, 4260, 3315, 1245, 345},
    {ids::kTitle, Kind::BlackLabel, texts::kTitleStored, 1860, 480, 3945, 480},
    {ids::kVersion, Kind::Label, texts::kVersionStored, 1920, 1020, 3885, 225},
    {ids::kDisclaimer, Kind::BlackLabel, texts::kDisclaimer, 255, 2865, 3870, 825},
};

// The logo's own size; the picture box adds its sunken border around it.
inline constexpr int kLogoWidth = 106 * 15;
inline constexpr int kLogoHeight = 130 * 15;

// The etched rule between the title block and the notice: a grey line with a
// white one just beneath it. Widths are in pixels at 96 DPI.
struct Line {
    int left, top, right;
    int width;
    COLORREF colour;
};

inline constexpr Line kRule[] = {
    {90, 2685, 5654, 1, RGB(128, 128, 128)},
    {105, 2700, 5654, 2, RGB(255, 255, 255)},
};

inline RECT PixelRect(const Control& c, int dpi) {
    return RECT{ToPixels(c.left, dpi), ToPixels(c.top, dpi), ToPixels(c.left + c.width, dpi),
                ToPixels(c.top + c.height, dpi)};
}

inline RECT PixelRect(const Line& line, int dpi) {
    const int top = ToPixels(line.top, dpi);
    return RECT{ToPixels(line.left, dpi), top, ToPixels(line.right, dpi),
                top + ::MulDiv(line.width, dpi, USER_DEFAULT_SCREEN_DPI)};
}

}  // namespace about::layout
