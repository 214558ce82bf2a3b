// The skin of list-type controls: list boxes, the list of a simple combo box,
// list views, tree views, IP-address and date-time controls. One subclass
// procedure serves them all; it draws the skin's frame around the system's
// scroll bars and, when controls are transparent, lets list boxes, list views
// and tree views paint over a veiled copy of the window image.
#pragma once

#include <windows.h>

#include <optional>

#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// One control of the scrolled-control list.
struct ScrolledControlRecord : ControlRecord {
    int Focused = 0;       // 1 while the control has the focus
    int Hover = 0;         // 1 while the pointer is over the control
    int ArrowKeyDown = 0;  // 1 from the key-down of an arrow key to the next key-up
};

// Posted to a scrolled control after an arrow key went down: once the
// control has moved its selection (and perhaps scrolled its pixels), a
// transparent control repaints whole, so that its background is the window
// image again and not a scrolled copy of it.
inline constexpr UINT kScrolledRepaint = WM_APP + 2;

// Subclass procedure of every control in the scrolled-control list.
LRESULT CALLBACK ScrolledControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the frame of control `position` of window n (the border ring, over
// the window backdrop; the scroll bars are left to the system). Values not
// given come from the record. Nothing happens for positions out of range,
// controls without a border and the list of a simple combo box.
void PaintScrolledFrame(int n, int position, std::optional<int> hover = std::nullopt,
                        std::optional<int> focused = std::nullopt);

// The record of a registered scrolled control, nullptr when the control is
// not (or no longer) one.
ScrolledControlRecord* FindScrolledControl(HWND control, int* n = nullptr);

// Paints a registered control once through its skin, frame and client area,
// as a paint message would (for measurements).
void PaintScrolledControlOnce(HWND control);

}  // namespace vostrel::skin
