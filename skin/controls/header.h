// The header control skin: headers placed on a window and the column headers
// of list views, drawn item by item: a translucent theme gradient, a hot
// look under the pointer and a pressed look while an item is clicked (for
// headers with HDS_BUTTONS), a gradient divider, the item's image and its
// text cut with an ellipsis.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// One header of the window record's header list.
struct HeaderRecord : ControlRecord {
    int Hover = 0;        // the pointer is over an item
    int HotItem = 0;      // 1-based item under the pointer, 0 none
    int LastHotItem = 0;  // the hot item last drawn
    int Buttons = 0;      // HDS_BUTTONS: items show hot and pressed looks
    int PressedItem = 0;  // 1-based, 0 none
    int MouseDown = 0;
    std::string FaceName;
    int FontStyle = 0;
    int FontSize = 0;
    // The header's image list when it was taken. Not owned: the list view
    // or the application that gave it to the header frees it.
    HIMAGELIST ImageList = nullptr;
};

// Subclass procedure of every control in the header list.
LRESULT CALLBACK HeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws every item of header k of window n (and the ground right of the last
// one) to the header's DC, or to `target` (which belongs to the caller, in
// the header's client coordinates) when one is given. Does nothing for a
// window number or position out of range.
void DrawHeader(int n, int k, HDC target = nullptr);

// The 1-based item of header k of window n whose inner part (5 pixels in
// from each edge, the divider zone excluded) holds the x of the mouse
// position in lParam; 0 when none does or n, k are out of range.
int HitHeaderItem(int n, int k, LPARAM lParam);

}  // namespace vostrel::skin
