// Check boxes and radio buttons: they keep their own button style and paint
// themselves (through ButtonProc) over the window's backdrop, mark at the
// left and text to its right, so they look transparent on the skinned
// background. Each draw starts from scratch and asks the control for its
// check state.
#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/controls/child_controls.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

constexpr UINT kHover = 0x40;

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

Bytes LoadPicture(const char* name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL data = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes || size == 0) return {};
    const BYTE* begin = static_cast<const BYTE*>(bytes);
    return Bytes(begin, begin + size);
}

ButtonRecord* FindRecord(HWND control) {
    WindowRecord* window = RecordOf(static_cast<int>(GetPropValue(control, kPropOwnerNumber)));
    if (!window) return nullptr;
    auto* record =
        window->Buttons.Get<ButtonRecord>(static_cast<int>(GetPropValue(control, kPropNumber)));
    return record && record->Handle == control ? record : nullptr;
}

// The text of both kinds: near-aligned, vertically centred, in the record's
// font at pixel size.
void DrawLabel(GdipGraphics& graphics, HWND control, const ButtonRecord& record,
               const gp::RectF& layout) {
    GdipSolidBrush ink;
    ink.Create(Argb(static_cast<COLORREF>(GetPropValue(control, kPropTextColour)), 255));
    GdipFont font;
    if (!font.CreateFromName(record.FaceName, static_cast<float>(record.FontSize),
                             record.FontStyle, gp::UnitPixel))
        return;
    GdipStringFormat format;
    format.Create();
    format.SetAlignment(gp::StringAlignmentNear);
    format.SetLineAlignment(gp::StringAlignmentCenter);
    graphics.DrawString(record.Text, font, ink, layout, &format);
}

// The whole control drawn by `paint` into a backdrop of the client area and
// copied to the control's own DC in one piece.
template <typename Paint>
void PaintSelf(HWND control, Paint&& paint) {
    ButtonRecord* record = FindRecord(control);
    if (!record) return;
    RECT client{};
    dll::GetClientRect(control, &client);
    const int w = client.right - client.left, h = client.bottom - client.top;
    if (w <= 0 || h <= 0) return;
    HDC back = CreateBackdropDC(control, client);
    if (!back) return;
    {
        BackdropSurface surface(back);
        paint(surface.Graphics(), *record, static_cast<float>(client.left), static_cast<float>(client.top),
              static_cast<float>(w), static_cast<float>(h));
    }
    HDC dc = dll::GetDC(control);
    if (dc) {
        dll::BitBlt(dc, 0, 0, w, h, back, 0, 0, SRCCOPY);
        dll::ReleaseDC(control, dc);
    }
    ReleaseBackdropDC(back);
}

bool IsChecked(HWND control) {
    return dll::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace

const Bytes& CheckBoxPicture(bool checked) {
    static const Bytes unchecked = LoadPicture("SKIN_CHECK_BOX");
    static const Bytes ticked = LoadPicture("SKIN_CHECK_BOX_CHECKED");
    return checked ? ticked : unchecked;
}

void DrawCheckBox(HWND control, UINT state) {
    const bool checked = IsChecked(control);
    PaintSelf(control, [&](GdipGraphics& graphics, const ButtonRecord& record, float x, float y,
                           float w, float h) {
        const float top = y + (h - 13) / 2;
        const float my = y + (h - 12) / 2;
        GdipBitmap box;
        if (box.CreateFromBytes(CheckBoxPicture(false))) graphics.DrawImage(box, x, top);
        if (checked) {
            GdipBitmap tick;
            if (tick.CreateFromBytes(CheckBoxPicture(true))) graphics.DrawImage(tick, x, top);
        }
        if (state & kHover) {
            GdipPath square;
            square.Create();
            square.AddRectangle(x, top, 13, 13);
            GdipLinearGradientBrush shade;
            if (shade.Create(gp::PointF(x + 3, my + 1), gp::PointF(x + 11, my + 12),
                             Argb(ThemeColour, 100), Argb(0x000000, 0)))
                graphics.FillPath(shade, square);
            DrawGlowOutline(graphics, square, 2, 0xDDCA22, 30);
        }
        DrawLabel(graphics, control, record, gp::RectF(x + 17, 2, w - 19, h));
    });
}

void DrawRadioButton(HWND control, UINT state) {
    const bool checked = IsChecked(control);
    PaintSelf(control, [&](GdipGraphics& graphics, const ButtonRecord& record, float x, float y,
                           float w, float h) {
        graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        const float my = y + (h - 12) / 2;
        {
            GdipPen ring;
            if (ring.Create(Argb(0x000000, 200), 1.0f)) graphics.DrawEllipse(ring, x + 2, my, 12, 12);
        }
        GdipPath disc;
        disc.Create();
        disc.AddEllipse(x + 3, y + (h - 11) / 2 + 1, 9, 9);
        {
            GdipPen rim;
            if (rim.Create(Argb(0xFFFFFF, 255), 1.0f)) graphics.DrawPath(rim, disc);
            GdipSolidBrush white;
            if (white.Create(Argb(0xFFFFFF, 255))) graphics.FillPath(white, disc);
            GdipLinearGradientBrush shade;
            if (shade.Create(gp::PointF(x + 3, my + 1), gp::PointF(x + 10, my + 11),
                             Argb(0x000000, 100), Argb(0x000000, 0)))
                graphics.FillPath(shade, disc);
        }
        if (state & kHover) {
            GdipLinearGradientBrush shade;
            if (shade.Create(gp::PointF(x + 3, my + 1), gp::PointF(x + 11, my + 12),
                             Argb(ThemeColour, 100), Argb(0x000000, 0)))
                graphics.FillPath(shade, disc);
            DrawGlowOutline(graphics, disc, 2, 0xDDCA22, 30);
        }
        if (checked) {
            GdipPath dot;
            dot.Create();
            dot.AddEllipse(x + 5, my + 3, 6, 6);
            GdipPen outline;
            if (outline.Create(Argb(0x000000, 200), 1.0f)) graphics.DrawPath(outline, dot);
            GdipPathGradientBrush glow;
            if (glow.CreateFromPath(dot)) {
                glow.SetCenterColor(Argb(0xFFFFFF, 100));
                glow.SetSurroundColors({Argb(0x808000, 255)});
                graphics.FillPath(glow, dot);
            }
        }
        DrawLabel(graphics, control, record, gp::RectF(x + 18, 2, w, h));
    });
}

}  // namespace vostrel::skin
