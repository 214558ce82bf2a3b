// A GDI+ graphics that draws straight into the pixels of a backdrop DC's
// 32-bit DIB section. Drawing through the DC makes GDI+ read the pixels back
// and blend them for every fill; drawing into the bits does each fill in
// place, several times faster for the small faces of controls. When the
// bits cannot be reached the graphics draws through the DC.
#pragma once

#include <windows.h>

#include "gdiplus/dll.h"
#include "gdiplus/gdip.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

class BackdropSurface {
public:
    explicit BackdropSurface(HDC back) {
        DIBSECTION dib{};
        auto bitmap = static_cast<HBITMAP>(::GetCurrentObject(back, OBJ_BITMAP));
        if (bitmap && ::GetObjectA(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits &&
            dib.dsBm.bmBitsPixel == 32) {
            ::GdiFlush();  // GDI's pending work reaches the bits first
            const int w = dib.dsBm.bmWidth, h = dib.dsBm.bmHeight;
            const int stride = dib.dsBm.bmWidthBytes;
            BYTE* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
            // A bottom-up DIB starts with its last row.
            const bool bottomUp = dib.dsBmih.biHeight > 0;
            BYTE* scan0 = bottomUp ? bits + static_cast<size_t>(h - 1) * stride : bits;
            // The backdrop is opaque whatever its alpha bytes hold.
            if (bitmap_.CreateFromScan0(w, h, bottomUp ? -stride : stride, PixelFormat32bppRGB,
                                        scan0) &&
                graphics_.CreateFromImage(bitmap_))
                return;
            graphics_.Delete();
            bitmap_.Dispose();
        }
        graphics_.CreateFromHDC(back);
    }
    BackdropSurface(const BackdropSurface&) = delete;
    BackdropSurface& operator=(const BackdropSurface&) = delete;
    // The graphics goes before the bitmap it draws on.
    ~BackdropSurface() {
        graphics_.Delete();
        bitmap_.Dispose();
    }

    GdipGraphics& Graphics() noexcept { return graphics_; }

private:
    GdipBitmap bitmap_;
    GdipGraphics graphics_;
};

// Copies a finished backdrop (width x height from its origin) to `target`,
// or, without one, to the control's own window DC; then releases the
// backdrop.
inline void PresentBackdrop(HWND control, HDC back, int width, int height, HDC target) {
    if (target) {
        dll::BitBlt(target, 0, 0, width, height, back, 0, 0, SRCCOPY);
    } else if (HDC own = dll::GetWindowDC(control)) {
        dll::BitBlt(own, 0, 0, width, height, back, 0, 0, SRCCOPY);
        dll::ReleaseDC(control, own);
    }
    ReleaseBackdropDC(back);
}

// The whole paint of a control drawn over its window backdrop: the backdrop
// of its width x height, `paint(graphics)` into its pixels, then the result
// to `target` (or the control's window DC). False when no backdrop could be
// made.
template <typename Paint>
bool PaintOverBackdrop(HWND control, int width, int height, HDC target, Paint&& paint) {
    HDC back = CreateBackdropDC(control, RECT{0, 0, width, height});
    if (!back) return false;
    {
        BackdropSurface surface(back);
        paint(surface.Graphics());
    }
    PresentBackdrop(control, back, width, height, target);
    return true;
}

// Fills `path` with a linear gradient from c1 at (x1, y1) to c2 at (x2, y2).
inline bool FillPathGradient(GdipGraphics& graphics, const GdipPath& path, float x1, float y1,
                             float x2, float y2, gp::ARGB c1, gp::ARGB c2) {
    GdipLinearGradientBrush brush;
    if (!brush.Create(gp::PointF(x1, y1), gp::PointF(x2, y2), c1, c2)) return false;
    return graphics.FillPath(brush, path);
}

// Draws `path` with a one-pixel pen.
inline bool OutlinePath(GdipGraphics& graphics, const GdipPath& path, gp::ARGB colour) {
    GdipPen pen;
    if (!pen.Create(colour, 1.0f)) return false;
    return graphics.DrawPath(pen, path);
}

}  // namespace vostrel::skin
