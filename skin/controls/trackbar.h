// The trackbar skin: every trackbar taken by InstallTrackbars is drawn by the
// skin (an optional rounded frame, a thin channel, a round thumb that grows
// while the pointer is over the control, the selection range and a line in
// the theme colour from the channel's start to the thumb). The system still
// handles input and keeps the position; the skin reads it back each time it
// draws.
#pragma once

#include <windows.h>

#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// Where the ticks of a trackbar sit, as the installer reads it from the style.
enum TrackbarTicks : int {
    kTicksTopOrLeft = 0,      // TBS_TOP (TBS_LEFT)
    kTicksBottomOrRight = 1,  // the default
    kTicksBoth = 2,           // TBS_BOTH
    kTicksNone = 3,           // TBS_NOTICKS
};

// One trackbar of the trackbar list. The style fields are read once, at
// installation; a style changed later is not seen.
struct TrackbarRecord : ControlRecord {
    int Vertical = 0;                         // TBS_VERT
    int TickPlacement = kTicksBottomOrRight;  // TrackbarTicks
    int Hover = 0;                            // 1 while the pointer is over it
    int SelectionRange = 0;                   // TBS_ENABLESELRANGE
};

// Subclass procedure of every trackbar in the trackbar list.
LRESULT CALLBACK TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws trackbar `position` of window n whole: into `target` at (0, 0) when
// given (the caller's DC, window coordinates), else into the control's window
// DC. Nothing happens for a number or position out of range.
void DrawTrackbar(int n, int position, HDC target = nullptr);

// DrawTrackbar for a registered trackbar found by its handle (one skinned
// paint, as the paint-time benchmark needs). False when the control is not a
// registered trackbar.
bool DrawTrackbarControl(HWND control, HDC target = nullptr);

}  // namespace vostrel::skin
