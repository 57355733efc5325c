// Geometry of the main window in twips (1/1440 inch), as designed; converted to
// pixels for the window's DPI in one place (ToPixels). At 96 DPI 15 twips make
// one pixel.
#pragma once

#include "app/control_ids.h"
#include "app/texts.h"

#include <windows.h>

namespace layout {

inline constexpr int kClientWidth = 5205;
inline constexpr int kClientHeight = 2205;

inline constexpr int ToPixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

enum class Kind { PushButton, Label, WrappingLabel, Frame, Field, CheckBox };

struct Control {
    int id;
    Kind kind;
    const wchar_t* text;
    int left, top, width, height;  // in the frame's coordinates when inFrame
    bool inFrame;
    int maxLength;  // fields only
};

inline constexpr int kFrameLeft = 60;
inline constexpr int kFrameTop = 60;

// In tab order: the order of creation is the order of the Tab key.
inline constexpr Control kControls[] = {
    {ids::kZeitSetzen, Kind::PushButton, texts::kZeitSetzen, 2400, 1260, 1875, 375, false, 0},
    {ids::kZeitDialog, Kind::PushButton, texts::kComputerzeit, 2400, 1740, 1875, 375, false, 0},
    {ids::kGesetzteZeit, Kind::WrappingLabel, L"", 3240, 120, 1815, 735, false, 0},
    {ids::kLabel1, Kind::Label, texts::kGesetzteZeit, 2100, 120, 1095, 195, false, 0},
    {ids::kFrame1, Kind::Frame, texts::kFrame, kFrameLeft, kFrameTop, 1755, 2055, false, 0},
    {ids::kTxtZeit + 4, Kind::Field, L"", 1020, 1680, 495, 285, true, 2},
    {ids::kTxtZeit + 3, Kind::Field, L"", 1020, 1320, 495, 285, true, 2},
    {ids::kTxtZeit + 2, Kind::Field, L"", 1020, 960, 495, 285, true, 2},
    {ids::kTxtZeit + 1, Kind::Field, L"", 1020, 600, 495, 285, true, 2},
    {ids::kTxtZeit + 0, Kind::Field, L"", 1020, 240, 495, 285, true, 4},
    {ids::kLblZeit + 4, Kind::Label, texts::kFieldLabels[4], 180, 1680, 675, 255, true, 0},
    {ids::kLblZeit + 3, Kind::Label, texts::kFieldLabels[3], 180, 1320, 675, 255, true, 0},
    {ids::kLblZeit + 2, Kind::Label, texts::kFieldLabels[2], 180, 960, 675, 255, true, 0},
    {ids::kLblZeit + 1, Kind::Label, texts::kFieldLabels[1], 180, 600, 675, 255, true, 0},
    {ids::kLblZeit + 0, Kind::Label, texts::kFieldLabels[0], 180, 240, 675, 255, true, 0},
    {ids::kRegel, Kind::CheckBox, texts::kRegel, 2400, 960, 2775, 195, false, 0},
};

// The control's rectangle in the client area, in pixels.
inline RECT PixelRect(const Control& c, int dpi) {
    const int left = c.left + (c.inFrame ? kFrameLeft : 0);
    const int top = c.top + (c.inFrame ? kFrameTop : 0);
    return RECT{ToPixels(left, dpi), ToPixels(top, dpi), ToPixels(left + c.width, dpi), ToPixels(top + c.height, dpi)};
}

}  // namespace layout
