// Colour conversion, path shapes, the glow outline, window tests and the
// caption-strip hit test. The backdrop DC table and the lookups are in
// backdrop.cpp.
#include "skin/core/primitives.h"

#include <algorithm>
#include <cmath>

#include "gdiplus/gdip.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {

uint32_t ArgbFromColorRef(COLORREF colour, int alpha, bool useAlpha) {
    const uint32_t r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const uint32_t a = useAlpha ? static_cast<uint32_t>(alpha) & 0xFF : 0xFF;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

COLORREF ColorRefFromArgb(uint32_t argb, int* alpha) {
    if (alpha) *alpha = static_cast<int>(argb >> 24);
    const BYTE r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return RGB(r, g, b);
}

void AddRoundRectPath(GdipPath& path, float x, float y, float width, float height,
                      int corner) {
    corner = std::clamp(corner, 1, 100);
    const float c = static_cast<float>(corner);
    const float right = static_cast<float>(static_cast<double>(x) + width);
    const float bottom = static_cast<float>(static_cast<double>(y) + height);
    path.AddArc(right - c, y, c, c, 270, 90);
    // The bottom-right arc is one pixel larger and one pixel further up and
    // left, so the stroked corner meets the right and bottom edges drawn
    // through pixel centres.
    path.AddArc(right - c - 1, bottom - c - 1, c + 1, c + 1, 0, 90);
    path.AddArc(x, bottom - c, c, c, 90, 90);
    path.AddArc(x, y, c, c, 180, 90);
    path.CloseFigure();
}

void AddTopRoundedPath(GdipPath& path, int x, int y, int width, int height, int corner) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const float c = static_cast<float>(corner);
    path.AddLine(fx, fy + h, fx, fy + c);
    path.AddArc(fx, fy, c, c, 180, 90);
    path.AddLine(fx + c, fy, fx + w - c, fy);
    path.AddArc(fx + w - c, fy, c, c, 270, 90);
    path.AddLine(fx + w, fy + c, fx + w, fy + h);
}

void AddTopRightRoundedPath(GdipPath& path, int x, int y, int width, int height,
                            int corner) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const float c = static_cast<float>(corner);
    path.AddLine(fx, fy + h, fx, fy);
    path.AddLine(fx, fy, fx + w - c, fy);
    path.AddArc(fx + w - c, fy, c, c, 270, 90);
    path.AddLine(fx + w, fy + c, fx + w, fy + h);
}

void DrawGlowOutline(GdipGraphics& graphics, GdipPath& path, int count,
                     COLORREF colour, int alpha) {
    GdipPen pen;
    pen.Create(ArgbFromColorRef(colour, alpha, true), 1.0f);
    for (int i = 1; i <= count; ++i) {
        pen.SetWidth(static_cast<float>(i));
        graphics.DrawPath(pen, path);
    }
    pen.Delete();
}

RECT ClientRectInWindow(HWND window) {
    RECT wr{}, cr{};
    dll::GetWindowRect(window, &wr);
    dll::GetClientRect(window, &cr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const int cw = cr.right - cr.left, ch = cr.bottom - cr.top;
    const LONG style = static_cast<LONG>(GetWindowLongPtrA(window, GWL_STYLE));
    const int v = (style & WS_VSCROLL) ? 17 : 0;
    const int s = (style & WS_HSCROLL) ? 17 : 0;
    const int left = static_cast<int>(std::floor((W - cw - v) / 2.0));
    const int top = static_cast<int>(std::floor((H - ch - s) / 2.0));
    return RECT{left, top, left + cw, top + ch};
}

std::string GetClassNameText(HWND window) {
    char name[255] = {};
    const int n = dll::GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

bool IsOwnerDrawListBox(HWND window) {
    if (GetClassNameText(window) != "ListBox") return false;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

bool IsAutoRadioButton(HWND window) {
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    return (style & 0xF) == BS_AUTORADIOBUTTON;
}

bool HitCaptionStrip(int n, LPARAM lParam) {
    const WindowRecord* record = RecordOf(n);
    if (!record) return false;
    const int x = static_cast<short>(LOWORD(lParam));
    const WORD yWord = HIWORD(lParam);
    const int y = static_cast<short>(yWord);
    const int L = record->StripLeft, W = record->StripWidth, H = record->StripHeight;
    return L - 2 <= x && x <= L + W && y <= H && (yWord & 0x8000) == 0;
}

}  // namespace vostrel::skin
