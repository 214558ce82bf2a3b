// Operations of the skin object that later work fills in: until then they
// do nothing and return 0. SkinWindowProc passes every message on unchanged,
// so a window that gets the skin's procedure keeps working.
#include "skin/core/window_skin.h"

namespace vostrel::skin {

// Window procedure and caption-button action: filled in with the caption
// and message handling of skinned windows.
LRESULT WindowSkin::SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto previous = reinterpret_cast<WNDPROC>(GetPropValue(window, kPropPreviousProc)))
        return ::CallWindowProcA(previous, window, message, wParam, lParam);
    return ::DefWindowProcA(window, message, wParam, lParam);
}
LRESULT WindowSkin::CaptionButtonAction(int, int) { return 0; }

// Attaching the skin to a top-level window: filled in with the attach work.
void WindowSkin::AttachSkin(HWND, const AttachOptions&) {}

// Image buttons, containers, common controls and the other small
// operations: filled in with the control skins.
int WindowSkin::MakeImageTextButton(HWND, const Bytes&, int, const std::string&) { return 0; }
int WindowSkin::MakeImageButton(HWND, const Bytes&, const Bytes&, const Bytes&, const Bytes&,
                                const std::string&) {
    return 0;
}
void WindowSkin::SkinContainer(HWND, std::optional<int>, COLORREF, std::optional<int>,
                               std::optional<int>) {}
void WindowSkin::SetContainerTintAlpha(HWND, int) {}
int WindowSkin::SkinCommonControls(HWND, std::optional<COLORREF>, COLORREF, std::optional<int>) {
    return 0;
}
void WindowSkin::LayoutDockedChildren(int) {}
void WindowSkin::SetControlTextColour(HWND, COLORREF) {}
COLORREF WindowSkin::GetGlobalBackColour() { return GlobalBackColour; }

}  // namespace vostrel::skin
