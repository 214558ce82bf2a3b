// The progress-bar skin: every progress bar taken by InstallProgressBars is
// drawn by the skin (a rounded frame, a translucent track and a rounded part
// in the theme colour whose length follows the position in the range). The
// system keeps the range and position; the skin reads them back each time it
// draws. Progress bars have no hover look.
#pragma once

#include <windows.h>

#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// One progress bar of the progress-bar list. Vertical is read once, at
// installation.
struct ProgressBarRecord : ControlRecord {
    int Vertical = 0;  // PBS_VERTICAL: the part grows from the bottom up
};

// Subclass procedure of every progress bar in the progress-bar list.
LRESULT CALLBACK ProgressBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws progress bar `position` of window n whole into `dc` at (0, 0) (window
// coordinates), or into the control's window DC when dc is 0. Nothing
// happens for a number or position out of range.
void DrawProgressBar(int n, int position, HDC dc = nullptr);

// DrawProgressBar for a registered progress bar found by its handle (one
// skinned paint, as the paint-time benchmark needs). False when the control
// is not a registered progress bar.
bool DrawProgressBarControl(HWND control, HDC dc = nullptr);

}  // namespace vostrel::skin
