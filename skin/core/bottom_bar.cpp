// The bottom bar of a skinned window: a band along the bottom edge divided
// into items, each a translucent white panel with an optional picture and a
// line of plain or glowing text.
#include "skin/core/bottom_bar.h"

#include <memory>

#include "gdiplus/gdip.h"
#include "skin/core/compose.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {

namespace {

RECT ClientOf(HWND window) {
    RECT r{};
    dll::GetClientRect(window, &r);
    return r;
}

// Text in `colour` with GDI+'s own defaults where a setting is missing.
bool MakeFont(GdipFont& font, const std::string& name, float size, int style, gp::Unit unit) {
    return font.CreateFromName(name, size, style, unit);
}

}  // namespace

void DrawGlowText(GdipGraphics& target, const std::string& text, const gp::RectF& r,
                  COLORREF textColour, COLORREF glowColour, float s, const std::string& fontName,
                  std::optional<int> fontStyle, std::optional<float> fontSize,
                  gp::StringAlignment alignment, gp::StringAlignment lineAlignment) {
    const int W = static_cast<int>(r.Width), H = static_cast<int>(r.Height);
    GdipFont font;
    MakeFont(font, fontName.empty() ? std::string("宋体") : fontName, fontSize ? *fontSize : 12.0f,
             fontStyle ? *fontStyle : gp::FontStyleRegular, gp::UnitWorld);
    GdipStringFormat format;
    format.Create();
    format.SetAlignment(alignment);
    format.SetLineAlignment(lineAlignment);
    const float fW = static_cast<float>(W), fH = static_cast<float>(H);

    // The text in the glow colour, shrunk to a quarter and stretched back:
    // a blur of about s pixels.
    GdipBitmap sharp;
    sharp.Create(W, H);
    {
        GdipGraphics g;
        g.CreateFromImage(sharp);
        g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        g.SetCompositingQuality(gp::CompositingQualityGammaCorrected);
        g.SetInterpolationMode(gp::InterpolationModeHighQualityBicubic);
        g.SetPixelOffsetMode(gp::PixelOffsetModeNone);
        GdipSolidBrush glow;
        glow.Create(ArgbFromColorRef(glowColour, 0, false));
        g.DrawString(text, font, glow, gp::RectF(s / 2, s / 2, fW + s / 2, fH + s / 2), &format);
        glow.Delete();
        g.Delete();
    }
    const int smallW = static_cast<int>(W / s), smallH = static_cast<int>(H / s);
    GdipBitmap small;
    small.Create(smallW, smallH);
    {
        GdipGraphics g;
        g.CreateFromImage(small);
        g.SetInterpolationMode(gp::InterpolationModeHighQualityBicubic);
        g.SetCompositingQuality(gp::CompositingQualityHighQuality);
        g.SetPixelOffsetMode(gp::PixelOffsetModeNone);
        g.DrawImageRectRect(sharp, 0, 0, static_cast<float>(smallW), static_cast<float>(smallH));
        g.Delete();
    }
    sharp.Dispose();

    GdipBitmap blurred;
    blurred.Create(W, H);
    {
        GdipGraphics g;
        g.CreateFromImage(blurred);
        g.SetCompositingQuality(gp::CompositingQualityGammaCorrected);
        g.SetInterpolationMode(gp::InterpolationModeHighQualityBicubic);
        g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        g.DrawImageRectRect(small, 0, 0, fW, fH);
        small.Dispose();
        GdipSolidBrush faint;
        faint.Create(ArgbFromColorRef(glowColour, 60, true));
        const float y = 0.7f * s;
        const float offsets[4][2] = {{s / 2 - 1, y}, {s / 2 + 1, y}, {s / 2, y - 1}, {s / 2, y + 1}};
        for (const auto& o : offsets)
            g.DrawString(text, font, faint, gp::RectF(o[0], o[1], fW, fH), &format);
        faint.Delete();
        g.Delete();
    }

    target.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    target.DrawImageRectRect(blurred, r.X - s / 2, r.Y - 0.6f * s, fW, fH);
    blurred.Dispose();
    GdipSolidBrush ink;
    ink.Create(ArgbFromColorRef(textColour, 0, false));
    target.DrawString(text, font, ink, gp::RectF(r.X, r.Y, fW, fH), &format);
    ink.Delete();
    format.Delete();
    font.Delete();
}

void WindowSkin::SetBottomBar(int n, int height, const std::vector<BarItem>& items) {
    WindowRecord* record = RecordOf(n);
    if (!record) return;
    const int B = SizingBorder;
    const RECT client = ClientOf(record->Handle);
    const int cw = client.right, ch = client.bottom;
    record->BarHeight = height;
    record->BarRect = IntRect{B, ch - B - height - 1, cw - 2 * B, height};
    record->BarItems.Clear();
    record->BarItemRects.Clear();
    if (items.empty()) {
        BarItem whole;
        whole.WidthSpec = -1;
        record->BarItems.Append(std::move(whole));
        record->BarItemRects.Append(record->BarRect);
        return;
    }
    int x = B;
    for (const BarItem& item : items) {
        const int width = item.WidthSpec == -1 ? cw - B - x : item.WidthSpec;
        record->BarItems.Append(item);
        record->BarItemRects.Append(IntRect{x, record->BarRect.y, width, height});
        x += width;
    }
}

void WindowSkin::LayoutBottomBar(int n) {
    WindowRecord* record = RecordOf(n);
    if (!record) return;
    const int B = SizingBorder;
    const RECT client = ClientOf(record->Handle);
    const int cw = client.right, ch = client.bottom;
    record->BarRect.x = B;
    record->BarRect.y = ch - record->BarHeight - B - 1;
    record->BarRect.width = cw - 2 * B;
    int before = 0;
    for (int i = 1; i <= record->BarItemRects.Count(); ++i) {
        IntRect& r = *record->BarItemRects.At(i);
        const BarItem* item = record->BarItems.At(i);
        r.y = record->BarRect.y;
        r.x = B + before;
        if (item && item->WidthSpec == -1) r.width = cw - 2 * B - before;
        before += r.width;
    }
}

void WindowSkin::RestoreBarArea(int n, const RECT& rect) {
    const WindowRecord* record = RecordOf(n);
    if (!record || !record->BackgroundDC || !record->BottomBarDC) return;
    dll::BitBlt(record->BackgroundDC.Dc(), rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, record->BottomBarDC.Dc(), rect.left - record->BarRect.x,
                rect.top - record->BarRect.y, SRCCOPY);
    GdiFlush();
}

void WindowSkin::DrawBottomBar(int n, GdipGraphics* graphics, bool inCompose,
                               std::optional<int> itemNumber) {
    WindowRecord* record = RecordOf(n);
    if (!record || !record->BackgroundDC) return;
    const int k = itemNumber ? *itemNumber : 1;
    const BarItem* item = record->BarItems.At(k);
    const IntRect* rect = record->BarItemRects.At(k);
    if (!item || !rect) return;
    const int x = rect->x, y = rect->y, w = rect->width, h = rect->height;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);

    std::unique_ptr<ImageCanvas> own;
    GdipGraphics* g = graphics;
    if (!inCompose || !g) {
        RestoreBarArea(n, RECT{x, y, x + w, y + h});
        own = std::make_unique<ImageCanvas>(record->BackgroundDC);
        g = &own->Graphics();
    }

    GdipLinearGradientBrush panel;
    panel.Create(gp::PointF(fx, fy), gp::PointF(fx, fy + fh), ArgbFromColorRef(0xFFFFFF, 60, true),
                 ArgbFromColorRef(0xFFFFFF, 10, true));
    g->FillRectangle(panel, fx, fy, fw, fh);
    panel.Delete();

    GdipSolidBrush ink;
    ink.Create(record->BarInverseText ? ArgbFromColorRef(~GlobalBackColour, 255, true)
                                      : ArgbFromColorRef(item->Colour, 255, true));
    GdipFont font;
    font.CreateFromName(record->BarFontName, static_cast<float>(record->BarFontSize),
                        gp::FontStyleRegular, gp::UnitPixel);
    GdipStringFormat format;
    format.Create();
    format.SetAlignment(gp::StringAlignmentNear);

    const float ty = static_cast<float>(y + (h - 12) / 2.0);
    gp::RectF textRect(fx + 3, ty, fw, fh);
    if (!item->Picture.empty()) {
        // A picture that does not decode is skipped: zero width.
        auto picture = LoadPicture(item->Picture);
        const float pw = picture ? static_cast<float>(picture->GetWidth()) : 0;
        const float ph = picture ? static_cast<float>(picture->GetHeight()) : 0;
        if (picture) {
            g->DrawImageRectRect(*picture, fx + 2, static_cast<float>(y + (h - ph) / 2.0), pw, ph);
            picture->Dispose();
        }
        textRect = gp::RectF(fx + pw + 3, ty, fw - pw - 3, fh);
    }
    if (record->BarGlow) {
        DrawGlowText(*g, item->Text, textRect, record->BarGlowTextColour, record->BarGlowColour, 4,
                     record->BarFontName, gp::FontStyleRegular,
                     static_cast<float>(record->BarFontSize), gp::StringAlignmentNear,
                     gp::StringAlignmentNear);
    } else {
        g->DrawString(item->Text, font, ink, textRect, &format);
    }
    format.Delete();
    font.Delete();
    ink.Delete();

    if (own) {
        own->Release();
        CopyToWindow(*record, x, y, w, h);
    }
}

int WindowSkin::SetBottomBarText(HWND window, int item, const std::string& text,
                                 std::optional<Bytes> picture, std::optional<COLORREF> colour) {
    const int n = FindWindowNumber(window);
    WindowRecord* record = RecordOf(n);
    if (!record || item < 1 || item > record->BarItems.Count()) return 0;
    BarItem& target = *record->BarItems.At(item);
    target.Text = text;
    if (picture) target.Picture = *picture;
    if (colour) target.Colour = *colour;
    DrawBottomBar(n, nullptr, false, item);
    return 1;
}

int WindowSkin::SetBottomBarStyle(HWND window, std::optional<int> inverseText,
                                  std::optional<int> glow, std::optional<COLORREF> glowTextColour,
                                  std::optional<COLORREF> glowColour,
                                  std::optional<std::string> fontName,
                                  std::optional<int> fontSize) {
    WindowRecord* record = RecordOf(FindWindowNumber(window));
    if (!record) return 0;
    record->BarInverseText = inverseText ? *inverseText : 1;
    record->BarGlow = glow ? *glow : 0;
    record->BarGlowTextColour = glowTextColour ? *glowTextColour : 0;
    record->BarGlowColour = glowColour ? *glowColour : 0xFFFFFF;
    if (fontName) record->BarFontName = *fontName;
    if (fontSize) record->BarFontSize = *fontSize;
    return 1;
}

}  // namespace vostrel::skin
