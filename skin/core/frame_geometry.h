// Frame geometry of skinned controls and the clipping of child windows: where
// the inner area of a framed control lies (client area plus the system's
// scroll bars, which the skin never paints), whether a control has a border,
// a veiled copy of a control's backdrop, and window DCs that leave opaque
// children alone.
#pragma once

#include <windows.h>

namespace vostrel::skin {

// Client area plus scroll bars, in the control's window coordinates; the
// border is taken as equal on opposite sides (an odd extra pixel goes to the
// right or bottom).
RECT InnerFrameRect(HWND control);

// 1 when the control has a border style (WS_BORDER, or a window edge, client
// edge or dialog-modal frame), else 0.
int HasBorder(HWND control);

// A backdrop DC of the control's client area under the white veil; release
// it with ReleaseBackdropDC.
HDC VeiledClientBackdrop(HWND control);

// The DC (GetDC of the window when none is given) with every visible direct
// child that is not transparent excluded from its clip region. A DC taken
// here is released by the caller with ReleaseDC.
HDC GetDCExcludingOpaqueChildren(HWND window, HDC dc = nullptr);

// 1 when the extended style has WS_EX_TRANSPARENT.
int IsTransparentWindow(HWND window);

// The window's rectangle in its parent's client coordinates; empty for a
// skinned top-level window.
RECT ChildClientRect(HWND window);

// Invalidates (with erase) every visible direct child of the window.
void InvalidateVisibleChildren(HWND window);

}  // namespace vostrel::skin
