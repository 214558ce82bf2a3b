// The small operations of the skin object that belong to no control family:
// the container tint, control text colours and the global back colour.
#include "skin/controls/child_controls.h"

namespace vostrel::skin {

void WindowSkin::SetContainerTintAlpha(HWND, int) {}
void WindowSkin::SetControlTextColour(HWND, COLORREF) {}
COLORREF WindowSkin::GetGlobalBackColour() { return GlobalBackColour; }

}  // namespace vostrel::skin
