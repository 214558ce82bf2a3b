// The skin of list boxes, drop-down lists, list views, tree views, IP-address and date-time controls.
#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// Takes no control yet: the family's skin is still to be written. Its place
// in the walk's order is fixed.
void InstallScrolledControls(int, HWND) {}

}  // namespace vostrel::skin
