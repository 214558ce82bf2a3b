// The push-button skin: ButtonProc, the subclass procedure of every control in
// the button list, and the translucent rounded face that DrawButtonItem draws
// when the parent's skin forwards WM_DRAWITEM. The system reports pressed,
// focused and disabled; ButtonProc adds the hover look, which the system does
// not report, by repainting on the pointer's entry and leave.
#include <string>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/controls/child_controls.h"
#include "skin/controls/image_button.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

// ODS_HOTLIGHT: the skin sets it itself for the hover look.
constexpr UINT kHover = 0x40;

// The record of a control of the button list, found through its properties;
// nullptr when they do not lead back to this control.
ButtonRecord* FindButtonRecord(HWND control, int* n = nullptr) {
    return FindRegisteredControl<ButtonRecord>(control, &WindowRecord::Buttons, n);
}


gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

COLORREF TextColourOf(HWND control) {
    return static_cast<COLORREF>(GetPropValue(control, kPropTextColour));
}

// --- messages ------------------------------------------------------------------

// Kinds that paint themselves draw again after the system's own response.
LRESULT OnCheckChange(HWND window, ButtonRecord& record, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    if (record.Kind == kRadioButton) {
        PassToPreviousProc(window, message, wParam, lParam);
        DrawRadioButton(window, 1);
        return dll::DefWindowProcA(window, message, wParam, lParam);
    }
    if (record.Kind == kCheckBox) {
        PassToPreviousProc(window, message, wParam, lParam);
        DrawCheckBox(window, 0);
        return dll::DefWindowProcA(window, message, wParam, lParam);
    }
    return PassToPreviousProc(window, message, wParam, lParam);
}

LRESULT OnPaint(HWND window, ButtonRecord& record, WPARAM wParam, LPARAM lParam) {
    if (record.Kind != kCheckBox && record.Kind != kRadioButton)
        return PassToPreviousProc(window, WM_PAINT, wParam, lParam);
    PAINTSTRUCT paint{};
    dll::BeginPaint(window, &paint);
    if (record.Kind == kCheckBox)
        DrawCheckBox(window, 0);
    else
        DrawRadioButton(window, 0);
    dll::EndPaint(window, &paint);
    return dll::DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

LRESULT OnMouseMove(HWND window, WindowRecord& owner, int position, WPARAM wParam,
                    LPARAM lParam) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    dll::TrackMouseEvent(&track);
    owner.PointerControl = position;
    if (owner.HotControl != owner.PointerControl || owner.HotFamily != kFamilyButtons) {
        RepaintButton(window, 0, true);
        owner.HotControl = owner.PointerControl;
        owner.HotFamily = kFamilyButtons;
    }
    return PassToPreviousProc(window, WM_MOUSEMOVE, wParam, lParam);
}

LRESULT OnMouseLeave(HWND window, WindowRecord& owner, ButtonRecord& record, WPARAM wParam,
                     LPARAM lParam) {
    owner.HotControl = 0;
    RepaintButton(window, record.Focused ? ODS_FOCUS : 0, false);
    return PassToPreviousProc(window, WM_MOUSELEAVE, wParam, lParam);
}

// The button goes, before or without its window record: an image button's
// tool tip (which the system gives to the top-level window, which may live
// on long after the button) and the kept faces go with it, then the
// subclassing, the properties and the brush of its last colour reply.
LRESULT OnNonClientDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    ButtonRecord* record = FindButtonRecord(window, &n);
    if (record) {
        record->Tooltip.Destroy();
        record->Faces.Clear();
    }
    return UnregisterControl(window, ButtonProc, record, RecordOf(n), kFamilyButtons, wParam,
                             lParam);
}

}  // namespace

// ---------------------------------------------------------------------------

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) return OnNonClientDestroy(window, wParam, lParam);
    int n = 0;
    ButtonRecord* record = FindButtonRecord(window, &n);
    if (!record) return PassToPreviousProc(window, message, wParam, lParam);
    WindowRecord& owner = *RecordOf(n);
    const int position = static_cast<int>(GetPropValue(window, kPropNumber));
    // An image button's tool tip sees the pointer through the button.
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE)
        record->Tooltip.RelayEvent(window, message, wParam, lParam);
    switch (message) {
        case WM_MOVE:
            dll::InvalidateRect(window, nullptr, TRUE);
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_DESTROY:
            record->Tooltip.Destroy();
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_SETFOCUS: record->Focused = 1; return PassToPreviousProc(window, message, wParam, lParam);
        case WM_KILLFOCUS: record->Focused = 0; return PassToPreviousProc(window, message, wParam, lParam);
        case WM_SETTEXT:
            record->Text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_PAINT: return OnPaint(window, *record, wParam, lParam);
        case WM_ERASEBKGND: {
            auto dc = reinterpret_cast<HDC>(wParam);
            dll::SetBkMode(dc, TRANSPARENT);
            return static_cast<LRESULT>(dll::SetTextColor(dc, TextColourOf(window)));
        }
        case WM_NCPAINT: return 1;
        case BM_SETCHECK:
        case WM_LBUTTONDOWN: return OnCheckChange(window, *record, message, wParam, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) return OnCheckChange(window, *record, message, wParam, lParam);
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_MOUSEMOVE: return OnMouseMove(window, owner, position, wParam, lParam);
        case WM_LBUTTONUP: owner.HotControl = 0; return PassToPreviousProc(window, message, wParam, lParam);
        // The second click of a fast pair is no press of its own.
        case WM_LBUTTONDBLCLK: return 0;
        case WM_MOUSELEAVE: return OnMouseLeave(window, owner, *record, wParam, lParam);
        default: return PassToPreviousProc(window, message, wParam, lParam);
    }
}

bool DrawButtonItem(int n, const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON || !item.hwndItem) return false;
    const int position = static_cast<int>(GetPropValue(item.hwndItem, kPropNumber));
    if (position <= 0) return false;
    WindowRecord* window = RecordOf(n);
    if (!window) return false;
    auto* record = window->Buttons.Get<ButtonRecord>(position);
    if (!record || record->Handle != item.hwndItem) return false;
    switch (record->Kind) {
        case kPushButton:
            DrawPushButtonFace(item.hwndItem, item.hDC, item.itemState, item.rcItem);
            return true;
        case kImageTextButton:
            DrawImageTextButtonFace(item.hwndItem, item.hDC, item.itemState, item.rcItem);
            return true;
        case kImageButton:
            DrawImageButtonFace(item.hwndItem, item.hDC, item.itemState, item.rcItem);
            return true;
        default: return false;
    }
}

void RepaintButton(HWND control, UINT state, bool hover) {
    ButtonRecord* record = FindButtonRecord(control);
    if (!record) return;
    if (hover) state |= kHover;
    switch (record->Kind) {
        case kRadioButton: DrawRadioButton(control, state); return;
        case kCheckBox: DrawCheckBox(control, state); return;
        case kPushButton:
        case kImageTextButton:
        case kImageButton: break;
        default: return;
    }
    HDC dc = dll::GetDC(control);
    if (!dc) return;
    RECT client{};
    dll::GetClientRect(control, &client);
    if (record->Kind == kImageTextButton)
        DrawImageTextButtonFace(control, dc, state, client);
    else if (record->Kind == kImageButton)
        DrawImageButtonFace(control, dc, state, client);
    else
        DrawPushButtonFace(control, dc, state, client);
    dll::ReleaseDC(control, dc);
}

void DrawPushButtonFace(HWND control, HDC target, UINT state, const RECT& rect) {
    ButtonRecord* record = FindButtonRecord(control);
    const int x = rect.left, y = rect.top;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    HDC back = CreateBackdropDC(control, rect);
    if (!back) return;
    FaceKey key;
    if (record) {
        key = {state & (ODS_SELECTED | ODS_DISABLED | ODS_FOCUS | kHover), w, h,
               BackdropHash(back), ThemeColour, TextColourOf(control), record->Text,
               record->FaceName, record->FontSize, record->FontStyle};
        if (rect.left == 0 && rect.top == 0 && record->Faces.Draw(key, target)) {
            ReleaseBackdropDC(back);
            return;
        }
    }
    {
        BackdropSurface surface(back);
        GdipGraphics& graphics = surface.Graphics();
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        const float fw = static_cast<float>(w), fh = static_cast<float>(h);
        GdipPath face;
        face.Create();
        AddRoundRectPath(face, fx, fy, fw - 1, fh - 1, 5);
        {
            GdipSolidBrush white;
            white.Create(Argb(0xFFFFFF, 120));
            graphics.FillPath(white, face);
        }
        if (state & ODS_DISABLED) {
            GdipSolidBrush silver;
            silver.Create(Argb(0xC0C0C0, 255));
            graphics.FillRectangle(silver, fx, fy, fw, fh);
            GdipLinearGradientBrush blend;
            if (blend.Create(gp::PointF(fx, fy), gp::PointF(fx, fy + fh), Argb(0xFFFFFF, 50),
                             Argb(0xFFFFFF, 50))) {
                blend.SetPresetBlend({Argb(0xFFFFFF, 50), Argb(0x000000, 10), Argb(0xFFFFFF, 50)},
                                     {0.0f, 0.6f, 1.0f});
                graphics.FillPath(blend, face);
            }
            OutlinePath(graphics, face, Argb(0x000000, 80));
        } else {
            FillPathGradient(graphics, face, fx, fy, fx, fy + fh - 1, Argb(0xFFFFFF, 0),
                         Argb(0x808080, 60));
            GdipPath gloss;
            gloss.Create();
            AddTopRoundedPath(gloss, x, y, w - 1, h / 2, 5);
            FillPathGradient(graphics, gloss, fx, fy, fx, fy + fh / 2.0f, Argb(0xFFFFFF, 50),
                         Argb(0xFFFFFF, 10));
            if (state & kHover) {
                FillPathGradient(graphics, face, fx, fy, fx, fy + fh - 1, Argb(ThemeColour, 60),
                             Argb(ThemeColour, 10));
                OutlinePath(graphics, face, Argb(ThemeColour, 255));
            } else if (state & ODS_FOCUS) {
                // The focus glow keeps its own colour, whatever the theme.
                DrawGlowOutline(graphics, face, 3, 0xDDCA22, 120);
                OutlinePath(graphics, face, Argb(0x000000, 70));
            } else {
                OutlinePath(graphics, face, Argb(0x000000, 120));
            }
            if (state & ODS_SELECTED) {
                GdipPath inset;
                inset.Create();
                AddRoundRectPath(inset, fx + 2, fy + 2, fw - 3, fh - 3, 5);
                FillPathGradient(graphics, inset, 2, 2, 2, fh - 2, Argb(ThemeColour, 60),
                             Argb(0xFFFFFF, 100));
            }
        }
        if (record) {
            GdipSolidBrush ink;
            ink.Create(Argb(TextColourOf(control), 255));
            GdipFont font;
            GdipStringFormat format;
            format.Create();
            format.SetAlignment(gp::StringAlignmentCenter);
            format.SetLineAlignment(gp::StringAlignmentCenter);
            if (font.CreateFromName(record->FaceName, static_cast<float>(record->FontSize),
                                    record->FontStyle, gp::UnitWorld))
                graphics.DrawString(record->Text, font, ink, gp::RectF(0, 2, fw, fh), &format);
        }
    }
    if (record && rect.left == 0 && rect.top == 0) record->Faces.Store(key, back);
    dll::BitBlt(target, 0, 0, w, h, back, 0, 0, SRCCOPY);
    ReleaseBackdropDC(back);
}

}  // namespace vostrel::skin
