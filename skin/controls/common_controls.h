// The other common controls (month calendars, tabs, tool bars, status bars,
// rich edits and the like) taken by SkinCommonControls: the control's class
// procedure still paints it, but into a copy of the window's backdrop, and
// the pixels of the record's colour key are left out so that the window
// image shows through.
//
// A control taken carries "Kj_lbID" (its position in the window record's
// OtherControls list), "Kj_FuID" (the window number) and "Kj_hProc" (its
// previous procedure). At WM_NCDESTROY the procedure is given back and the
// three properties are removed; the record keeps its position.
#pragma once

#include <windows.h>

#include "skin/core/window_skin.h"

namespace vostrel::skin {

// Subclass procedure of a control taken by SkinCommonControls.
LRESULT CALLBACK OtherControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The record of a control taken by SkinCommonControls, nullptr when its
// properties do not lead back to it.
OtherControlRecord* FindOtherControlRecord(HWND control);

// Paints a taken control once through its skin (its whole client area, as
// WM_PAINT does), for benchmarks: RedrawWindow with RDW_INVALIDATE and
// RDW_UPDATENOW.
void PaintOtherControlOnce(HWND control);

}  // namespace vostrel::skin
