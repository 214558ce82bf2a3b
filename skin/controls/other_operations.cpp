// The small operations of the skin object that belong to no control family:
// the container tint, control text colours and the global back colour.
#include "skin/controls/child_controls.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

void WindowSkin::SetContainerTintAlpha(HWND container, int alpha) {
    if (!container || !::IsWindow(container) || alpha < 0 || alpha > 255) return;
    const int n = static_cast<int>(GetPropValue(container, kPropOwnerNumber));
    const int k = static_cast<int>(GetPropValue(container, kPropNumber));
    if (n < 1 || k < 1) return;
    WindowRecord* window = RecordOf(n);
    ContainerRecord* record = window ? window->Containers.Get<ContainerRecord>(k) : nullptr;
    // A container without a tint keeps its look whatever alpha it is given.
    if (!record || record->Handle != container || record->TintColour == 0) return;
    record->TintAlpha = static_cast<BYTE>(alpha);
    // The children take their backdrops through the container's tint, so
    // they repaint with it.
    ::RedrawWindow(container, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void WindowSkin::SetControlTextColour(HWND control, COLORREF colour) {
    if (!control || !::IsWindow(control)) return;
    // A combo box's text is drawn by its edit.
    if (GetClassNameText(control) == "ComboBox") {
        control = dll::FindWindowExA(control, nullptr, "Edit", nullptr);
        if (!control) return;
    }
    SetPropValue(control, kPropTextColour, static_cast<INT_PTR>(colour));
    dll::InvalidateRect(control, nullptr, TRUE);
}

COLORREF WindowSkin::GetGlobalBackColour() { return GlobalBackColour; }

}  // namespace vostrel::skin
