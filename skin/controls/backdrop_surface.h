// A GDI+ graphics that draws straight into the pixels of a backdrop DC's
// 32-bit DIB section. Drawing through the DC makes GDI+ read the pixels back
// and blend them for every fill; drawing into the bits does each fill in
// place, several times faster for the small faces of controls. When the
// bits cannot be reached the graphics draws through the DC.
#pragma once

#include <windows.h>

#include "gdiplus/gdip.h"

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

}  // namespace vostrel::skin
