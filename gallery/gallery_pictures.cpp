// The gallery's own pictures, drawn with GDI+ at start-up and encoded as PNG
// bytes in memory, as an application hands pictures to the skin.
#include <array>
#include <cmath>

#include "gallery.h"
#include "gdiplus/gdip.h"

namespace vostrel::gallery {
namespace {

constexpr gp::ARGB Argb(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (static_cast<gp::ARGB>(a) << 24) | (static_cast<gp::ARGB>(r) << 16) |
           (static_cast<gp::ARGB>(g) << 8) | b;
}

// A round face with a light rim and a white "play" triangle: the image
// button's picture. The states differ in colour; the pressed one sits a
// pixel lower, as a pressed key does.
struct FaceColours {
    gp::ARGB top, bottom, glyph;
    float shift;
};

FaceColours ColoursOf(GalleryPicture which) {
    switch (which) {
        case GalleryPicture::Hover: return {Argb(255, 96, 190, 255), Argb(255, 20, 110, 220), Argb(255, 255, 255, 255), 0};
        case GalleryPicture::Pressed: return {Argb(255, 10, 70, 160), Argb(255, 30, 120, 210), Argb(255, 230, 240, 255), 1};
        case GalleryPicture::Disabled: return {Argb(255, 200, 200, 200), Argb(255, 150, 150, 150), Argb(255, 235, 235, 235), 0};
        default: return {Argb(255, 60, 150, 235), Argb(255, 10, 80, 180), Argb(255, 255, 255, 255), 0};
    }
}

void DrawFace(GdipGraphics& g, float size, const FaceColours& c) {
    const float s = c.shift;
    GdipLinearGradientBrush fill;
    if (fill.Create(gp::PointF(0, s), gp::PointF(0, size + s), c.top, c.bottom))
        g.FillEllipse(fill, 1, 1 + s, size - 3, size - 3);
    GdipPen rim;
    if (rim.Create(Argb(160, 255, 255, 255), 1.5f)) g.DrawEllipse(rim, 2, 2 + s, size - 5, size - 5);
    GdipSolidBrush glyph;
    if (!glyph.Create(c.glyph)) return;
    const float u = size / 32.0f;
    g.FillPolygon(glyph, {gp::PointF(12 * u, 9 * u + s), gp::PointF(23 * u, 15.5f * u + s),
                          gp::PointF(12 * u, 22 * u + s)});
}

// A small note: the picture of the image-and-text buttons.
void DrawNote(GdipGraphics& g) {
    GdipSolidBrush ink;
    if (!ink.Create(Argb(255, 20, 90, 200))) return;
    g.FillEllipse(ink, 1, 10, 7, 5);
    g.FillEllipse(ink, 8, 8, 7, 5);
    g.FillRectangle(ink, 6.5f, 2, 1.5f, 10);
    g.FillRectangle(ink, 13.5f, 1, 1.5f, 9);
    g.FillPolygon(ink, {gp::PointF(6.5f, 2), gp::PointF(15, 0), gp::PointF(15, 3), gp::PointF(6.5f, 5)});
}

// A white five-pointed star on a transparent ground, with the translucent
// band along the top that the system caption buttons have.
void DrawCaptionGlyph(GdipGraphics& g) {
    GdipSolidBrush band;
    if (band.Create(Argb(50, 255, 255, 255))) g.FillRectangle(band, 0, 0, 26, 3);
    std::vector<gp::PointF> star;
    constexpr double kPi = 3.14159265358979323846;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? 6.5 : 2.8;
        const double a = -kPi / 2 + i * kPi / 5;
        star.emplace_back(static_cast<float>(13 + r * std::cos(a)),
                          static_cast<float>(10 + r * std::sin(a)));
    }
    GdipSolidBrush white;
    if (white.Create(Argb(255, 255, 255, 255))) g.FillPolygon(white, star);
}

}  // namespace

std::vector<BYTE> DrawGalleryPicture(GalleryPicture which) {
    const int width = which == GalleryPicture::Caption ? 26 : which == GalleryPicture::Small ? 16 : 32;
    const int height = which == GalleryPicture::Caption ? 18 : width;
    GdipBitmap bitmap;
    if (!bitmap.Create(width, height)) return {};
    {
        GdipGraphics g;
        if (!g.CreateFromImage(bitmap)) return {};
        g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        g.Clear(0);
        switch (which) {
            case GalleryPicture::Small: DrawNote(g); break;
            case GalleryPicture::Caption: DrawCaptionGlyph(g); break;
            default: DrawFace(g, static_cast<float>(width), ColoursOf(which)); break;
        }
    }  // the graphics goes before the bitmap is encoded
    return bitmap.SaveToBytes(kImageFormatPNG);
}

std::span<const COLORREF> ThemeColours() {
    // Blue (the program's own), green, orange, purple; COLORREF order.
    static constexpr std::array<COLORREF, 4> kThemes = {0xFF0000, 0x3CB371, 0x1E90FF, 0xB0307A};
    return kThemes;
}

}  // namespace vostrel::gallery
