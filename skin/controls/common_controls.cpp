// The other common controls (month calendars, tabs, tool bars, status bars,
// rich edits): SkinCommonControls lays a tint and a colour key over them.
#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// Not written yet: takes no control and returns 0.
int WindowSkin::SkinCommonControls(HWND, std::optional<COLORREF>, COLORREF, std::optional<int>) {
    return 0;
}

}  // namespace vostrel::skin
