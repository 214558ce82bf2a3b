// The up-down control skin: two rounded halves in a translucent gradient of
// the theme colour with a small black arrow in each, a hover look on the
// half under the pointer and a reversed gradient while the left button is
// held over it. The control's own painting and frame are suppressed; its
// behaviour (clicks, auto-repeat, buddy updates) stays with its class.
#pragma once

#include <windows.h>

#include <optional>

#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// One up-down control of the window record's up-down list.
struct UpDownRecord : ControlRecord {
    int Hot = 0;         // the pointer is over the control and its hover look shows
    int HotPart = 0;     // half under the pointer at the last hover repaint: 0 up/left, 1 down/right
    int Pressed = 0;     // between WM_LBUTTONDOWN and WM_LBUTTONUP
    int Horizontal = 0;  // UDS_HORZ at installation
    LPARAM LastMouse = 0;  // lParam of the last button-down or button-up
};

// Subclass procedure of every control in the up-down list.
LRESULT CALLBACK UpDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints up-down k of window n; an argument not given is taken from the
// record (Hot, Pressed, LastMouse). The image goes to the control's window
// DC, or to `target` (which belongs to the caller) when one is given. Does
// nothing for a window number or position out of range.
void DrawUpDown(int n, int k, std::optional<bool> hover = std::nullopt,
                std::optional<bool> pressed = std::nullopt,
                std::optional<LPARAM> mouse = std::nullopt, HDC target = nullptr);

// The half of up-down k of window n under the mouse position (client
// coordinates in lParam): 0 upper (left), 1 lower (right). 0 when out of
// range.
int HitUpDownPart(int n, int k, LPARAM lParam);

// The file bytes of the four arrow pictures (solid black triangles on a
// transparent ground): up and down 7 x 4, left and right 4 x 7.
enum class UpDownArrow { Up, Down, Left, Right };
const Bytes& UpDownArrowPicture(UpDownArrow which);

}  // namespace vostrel::skin
