// Operations of the skin object that later work fills in: until then they
// do nothing and return 0.
#include "skin/core/window_skin.h"

namespace vostrel::skin {

// Image buttons, containers, common controls and the other small
// operations: filled in with the control skins.
int WindowSkin::MakeImageTextButton(HWND, const Bytes&, int, const std::string&) { return 0; }
int WindowSkin::MakeImageButton(HWND, const Bytes&, const Bytes&, const Bytes&, const Bytes&,
                                const std::string&) {
    return 0;
}
void WindowSkin::SetContainerTintAlpha(HWND, int) {}
int WindowSkin::SkinCommonControls(HWND, std::optional<COLORREF>, COLORREF, std::optional<int>) {
    return 0;
}
void WindowSkin::SetControlTextColour(HWND, COLORREF) {}
COLORREF WindowSkin::GetGlobalBackColour() { return GlobalBackColour; }

}  // namespace vostrel::skin
