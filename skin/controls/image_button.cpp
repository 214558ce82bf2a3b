// Image buttons and image-and-text buttons: faces drawn from the pictures the
// application gives, in the normal, hover, pressed and disabled looks.
#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// Not written yet: both operations take no button and return 0.
int WindowSkin::MakeImageTextButton(HWND, const Bytes&, int, const std::string&) { return 0; }
int WindowSkin::MakeImageButton(HWND, const Bytes&, const Bytes&, const Bytes&, const Bytes&,
                                const std::string&) {
    return 0;
}

}  // namespace vostrel::skin
