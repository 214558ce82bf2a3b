#include "skin/core/frame_geometry.h"

#include <cmath>

#include "gdiplus/gdip.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {

RECT InnerFrameRect(HWND control) {
    RECT wr{}, cr{};
    dll::GetWindowRect(control, &wr);
    dll::GetClientRect(control, &cr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);

    SCROLLBARINFO vertical{}, horizontal{};
    vertical.cbSize = horizontal.cbSize = sizeof(SCROLLBARINFO);
    int vThick = 0, hThick = 0;
    if (dll::GetScrollBarInfo(control, OBJID_VSCROLL, &vertical))
        vThick = vertical.rcScrollBar.right - vertical.rcScrollBar.left;
    if (dll::GetScrollBarInfo(control, OBJID_HSCROLL, &horizontal))
        hThick = horizontal.rcScrollBar.bottom - horizontal.rcScrollBar.top;

    const int X = (cr.right - cr.left) + ((style & WS_VSCROLL) ? vThick : 0);
    const int Y = (cr.bottom - cr.top) + ((style & WS_HSCROLL) ? hThick : 0);
    const int left = static_cast<int>(std::floor((W - X) / 2.0));
    const int top = static_cast<int>(std::floor((H - Y) / 2.0));
    return RECT{left, top, left + X, top + Y};
}

int HasBorder(HWND control) {
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(control, GWL_EXSTYLE);
    if (style & WS_BORDER) return 1;
    return (exStyle & (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME)) ? 1 : 0;
}

HDC VeiledClientBackdrop(HWND control) {
    const RECT r = ClientRectInWindow(control);
    HDC dc = CreateBackdropDC(control, r);
    if (!dc) return nullptr;
    GdipGraphics graphics;
    graphics.CreateFromHDC(dc);
    GdipSolidBrush brush;
    brush.Create(ArgbFromColorRef(0xFFFFFF, VeilAlpha, true));
    graphics.FillRectangle(brush, 0, 0, static_cast<float>(r.right - r.left),
                           static_cast<float>(r.bottom - r.top));
    brush.Delete();
    graphics.Delete();
    return dc;
}

int IsTransparentWindow(HWND window) {
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) ? 1 : 0;
}

RECT ChildClientRect(HWND window) {
    if (FindWindowNumber(window) > 0) return RECT{};
    RECT r{};
    dll::GetWindowRect(window, &r);
    POINT origin{0, 0};
    if (HWND parent = dll::GetParent(window)) dll::ClientToScreen(parent, &origin);
    return RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}

HDC GetDCExcludingOpaqueChildren(HWND window, HDC dc) {
    if (!dc) dc = dll::GetDC(window);
    if (!dc) return nullptr;
    for (HWND child = dll::FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = dll::FindWindowExA(window, child, nullptr, nullptr)) {
        if (!dll::IsWindowVisible(child) || IsTransparentWindow(child)) continue;
        const RECT r = ChildClientRect(child);
        dll::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    return dc;
}

void InvalidateVisibleChildren(HWND window) {
    for (HWND child = dll::FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = dll::FindWindowExA(window, child, nullptr, nullptr)) {
        if (dll::IsWindowVisible(child)) dll::InvalidateRect(child, nullptr, TRUE);
    }
}

}  // namespace vostrel::skin
