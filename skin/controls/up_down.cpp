// The up-down control skin. UpDownProc paints the control itself through its
// window DC and keeps the control's own painting and frame out; every input
// message still reaches the class procedure, so clicks, auto-repeat and the
// buddy's updates work as before.
#include "skin/controls/up_down.h"

#include <commctrl.h>

#include <memory>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

// The four arrows as PNG files (8-bit RGBA): opaque black triangles on fully
// transparent pixels. They are a few hundred bytes, so every repaint decodes
// them anew instead of holding GDI+ images between messages.
// up arrow, 7 x 4.
constexpr BYTE kUpArrow[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
    0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x04,
    0x08, 0x06, 0x00, 0x00, 0x00, 0x42, 0xC6, 0x25, 0x7D, 0x00, 0x00, 0x00,
    0x1D, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x60, 0x40, 0x05, 0xFF,
    0x91, 0x39, 0x4C, 0x58, 0x24, 0xFE, 0xA3, 0x4B, 0xFE, 0xC7, 0x66, 0x02,
    0x23, 0x16, 0x09, 0x38, 0x00, 0x00, 0x5F, 0x63, 0x06, 0x00, 0x3D, 0x70,
    0xFE, 0x5D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42,
    0x60, 0x82,
};
// down arrow, 7 x 4.
constexpr BYTE kDownArrow[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
    0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x04,
    0x08, 0x06, 0x00, 0x00, 0x00, 0x42, 0xC6, 0x25, 0x7D, 0x00, 0x00, 0x00,
    0x21, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x64, 0x60, 0x60, 0xF8,
    0xCF, 0x80, 0x03, 0x30, 0x31, 0x30, 0x30, 0x30, 0xE2, 0x90, 0x63, 0x64,
    0x82, 0x31, 0xD0, 0x25, 0xB0, 0xA9, 0x46, 0xB1, 0x02, 0x00, 0x7F, 0x6F,
    0x02, 0x08, 0xC7, 0x1F, 0xD2, 0x88, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
    0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};
// left arrow, 4 x 7.
constexpr BYTE kLeftArrow[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
    0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07,
    0x08, 0x06, 0x00, 0x00, 0x00, 0x2F, 0x65, 0xEC, 0xD0, 0x00, 0x00, 0x00,
    0x28, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x60, 0x40, 0x05, 0xFF,
    0x99, 0x90, 0x39, 0x0C, 0x0C, 0x0C, 0x0C, 0x4C, 0xC8, 0x1C, 0x98, 0xC0,
    0x7F, 0x64, 0x3D, 0x4C, 0x0C, 0x0C, 0x0C, 0x8C, 0xE8, 0x02, 0x0C, 0xE8,
    0x82, 0x28, 0xB6, 0x00, 0x00, 0x51, 0x28, 0x05, 0x08, 0x67, 0xD3, 0x0F,
    0x91, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60,
    0x82,
};
// right arrow, 4 x 7.
constexpr BYTE kRightArrow[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
    0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07,
    0x08, 0x06, 0x00, 0x00, 0x00, 0x2F, 0x65, 0xEC, 0xD0, 0x00, 0x00, 0x00,
    0x29, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x5D, 0xCC, 0xB1, 0x09, 0x00,
    0x30, 0x0C, 0x03, 0xC1, 0x73, 0xF6, 0xDF, 0x59, 0x69, 0x42, 0x10, 0x56,
    0xF3, 0x70, 0x85, 0x20, 0x6A, 0xE7, 0x35, 0x1B, 0x3E, 0x36, 0x40, 0x36,
    0x4C, 0xC3, 0xD8, 0x87, 0x70, 0x01, 0x5D, 0x0C, 0x05, 0x08, 0xA3, 0x70,
    0x16, 0x47, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42,
    0x60, 0x82,
};

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

UpDownRecord* FindUpDownRecord(HWND control, int* n = nullptr) {
    return FindRegisteredControl<UpDownRecord>(control, &WindowRecord::UpDowns, n);
}

int PositionOf(HWND control) { return static_cast<int>(GetPropValue(control, kPropNumber)); }

// The signed client coordinates of a mouse message.
int MouseX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int MouseY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// One half of the control: rounded outline in (x, y, width, height), a
// gradient along the line (x1, y1)-(x2, y2), the arrow centred in the
// half's box of boxWidth x boxHeight.
struct Half {
    float x, y, width, height;
    gp::PointF from, to;
    int restAlpha;   // alpha of the white start of the gradient without hover
    const Bytes* arrow;
    float boxWidth, boxHeight;
};

void DrawHalf(GdipGraphics& graphics, GdipPath& path, const Half& half, bool hot, bool pressed) {
    AddRoundRectPath(path, half.x, half.y, half.width, half.height, 3);
    gp::ARGB penColour, start, end;
    if (hot && pressed) {
        // Held down: the gradient turns over.
        penColour = Argb(ThemeColour, 200);
        start = Argb(ThemeColour, 100);
        end = Argb(0xFFFFFF, 150);
    } else if (hot) {
        penColour = Argb(ThemeColour, 200);
        start = Argb(0xFFFFFF, 100);
        end = Argb(ThemeColour, 150);
    } else {
        penColour = Argb(0x000000, 100);
        start = Argb(0xFFFFFF, half.restAlpha);
        end = Argb(ThemeColour, 100);
    }
    {
        GdipLinearGradientBrush fill;
        if (fill.Create(half.from, half.to, start, end)) graphics.FillPath(fill, path);
    }
    {
        GdipImage arrow;
        if (!half.arrow->empty() && arrow.LoadFromBytes(*half.arrow)) {
            const float iw = static_cast<float>(arrow.GetWidth());
            const float ih = static_cast<float>(arrow.GetHeight());
            // Drawn at its pixel size whatever resolution the file states.
            graphics.DrawImageRectRect(arrow, half.x + (half.boxWidth - iw) / 2.0f,
                                       half.y + (half.boxHeight - ih) / 2.0f, iw, ih);
        }
    }
    {
        GdipPen pen;
        if (pen.Create(penColour, 1.0f)) graphics.DrawPath(pen, path);
    }
    path.Reset();
}

// --- messages ------------------------------------------------------------------

// The control goes: its subclassing goes with it. The previous procedure is
// put back (unless someone subclassed the control after the skin), the
// skin's properties are removed and the record no longer names the handle,
// so a later window that receives the same handle is not mistaken for it.
LRESULT OnNonClientDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    UpDownRecord* record = FindUpDownRecord(window, &n);
    if (record) record->Hot = record->HotPart = record->Pressed = 0;
    return UnregisterControl(window, UpDownProc, record, RecordOf(n), kFamilyUpDowns, wParam,
                             lParam);
}

LRESULT OnPaint(HWND window, int n, WPARAM wParam, LPARAM lParam) {
    DrawUpDown(n, PositionOf(window));
    // Validates the update region; the class procedure does not paint.
    return dll::DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

// The class gets the message first, so whatever it draws of its own on the
// pointer's move lies under the skin's repaint.
LRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    dll::TrackMouseEvent(&track);
    const LRESULT result = PassToPreviousProc(window, WM_MOUSEMOVE, wParam, lParam);
    int n = 0;
    UpDownRecord* record = FindUpDownRecord(window, &n);
    if (!record) return result;
    WindowRecord& owner = *RecordOf(n);
    const int k = PositionOf(window);
    owner.PointerControl = k;
    const int part = HitUpDownPart(n, k, lParam);
    // The pointer's last position also serves the repaints that follow
    // (WM_PAINT after the class invalidates the control), which would
    // otherwise light the half last clicked instead of the half under the
    // pointer.
    record->LastMouse = lParam;
    if (owner.HotControl != owner.PointerControl || owner.HotFamily != kFamilyUpDowns ||
        part != record->HotPart || !record->Hot) {
        record->Hot = 1;
        DrawUpDown(n, k, true, record->Pressed != 0, lParam);
    }
    owner.HotControl = owner.PointerControl;
    owner.HotFamily = kFamilyUpDowns;
    record->HotPart = part;
    return result;
}

LRESULT OnButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (UpDownRecord* record = FindUpDownRecord(window)) {
        record->Pressed = message == WM_LBUTTONDOWN ? 1 : 0;
        record->LastMouse = lParam;
    }
    const LRESULT result = PassToPreviousProc(window, message, wParam, lParam);
    int n = 0;
    if (FindUpDownRecord(window, &n)) DrawUpDown(n, PositionOf(window));
    return result;
}

// A press that ends without a button-up (another window took the capture
// the class set on the button-down) leaves no pressed look behind.
LRESULT OnCaptureChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    bool ended = false;
    if (UpDownRecord* record = FindUpDownRecord(window)) {
        ended = record->Pressed != 0;
        record->Pressed = 0;
    }
    const LRESULT result = PassToPreviousProc(window, WM_CAPTURECHANGED, wParam, lParam);
    int n = 0;
    if (ended && FindUpDownRecord(window, &n)) DrawUpDown(n, PositionOf(window));
    return result;
}

LRESULT OnMouseLeave(HWND window, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    if (UpDownRecord* record = FindUpDownRecord(window, &n)) {
        RecordOf(n)->HotControl = 0;
        record->Hot = 0;
    }
    const LRESULT result = PassToPreviousProc(window, WM_MOUSELEAVE, wParam, lParam);
    if (FindUpDownRecord(window, &n)) DrawUpDown(n, PositionOf(window), false);
    return result;
}

}  // namespace

// ---------------------------------------------------------------------------

void InstallUpDowns(int n, HWND parent) {
    WindowRecord* record = RecordOf(n);
    if (!SkinControls || !record || !parent) return;
    WalkChildren(parent, "msctls_updown32", [&](HWND child) {
        // A control walked a second time keeps its one record: subclassing
        // it again would make the skin its own previous procedure.
        if (FindControlRecord(record->UpDowns, child) != 0) return;
        auto upDown = std::make_unique<UpDownRecord>();
        UpDownRecord* u = upDown.get();
        const int position = record->UpDowns.Choose(std::move(upDown));
        u->Horizontal = (dll::GetWindowLongA(child, GWL_STYLE) & UDS_HORZ) ? 1 : 0;
        RegisterControl(n, position, *u, child, UpDownProc);
        // Whatever the class painted before it was taken goes.
        dll::InvalidateRect(child, nullptr, TRUE);
    });
}

LRESULT CALLBACK UpDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) return OnNonClientDestroy(window, wParam, lParam);
    int n = 0;
    if (!FindUpDownRecord(window, &n)) return PassToPreviousProc(window, message, wParam, lParam);
    switch (message) {
        case WM_MOVE:
            DrawUpDown(n, PositionOf(window));
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_PAINT: return OnPaint(window, n, wParam, lParam);
        case WM_ERASEBKGND:
            dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT: return 1;  // no frame: the skin draws the whole window
        case WM_MOUSEMOVE: return OnMouseMove(window, wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: return OnButton(window, message, wParam, lParam);
        case WM_CAPTURECHANGED: return OnCaptureChanged(window, wParam, lParam);
        case WM_MOUSELEAVE: return OnMouseLeave(window, wParam, lParam);
        default: return PassToPreviousProc(window, message, wParam, lParam);
    }
}

int HitUpDownPart(int n, int k, LPARAM lParam) {
    WindowRecord* window = RecordOf(n);
    if (!window) return 0;
    auto* record = window->UpDowns.Get<UpDownRecord>(k);
    if (!record || !record->Handle) return 0;
    RECT r{};
    if (!dll::GetWindowRect(record->Handle, &r)) return 0;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (record->Horizontal) return w / 2 < MouseX(lParam) ? 1 : 0;
    return h / 2 < MouseY(lParam) ? 1 : 0;
}

void DrawUpDown(int n, int k, std::optional<bool> hover, std::optional<bool> pressed,
                std::optional<LPARAM> mouse, HDC target) {
    WindowRecord* window = RecordOf(n);
    if (!window) return;
    auto* record = window->UpDowns.Get<UpDownRecord>(k);
    if (!record || !record->Handle) return;
    HWND control = record->Handle;
    const bool isHover = hover.value_or(record->Hot != 0);
    const bool isPressed = pressed.value_or(record->Pressed != 0);
    const LPARAM at = mouse.value_or(record->LastMouse);
    const bool horizontal = record->Horizontal != 0;

    RECT bounds{};
    if (!dll::GetWindowRect(control, &bounds)) return;
    const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
    if (w <= 0 || h <= 0) return;
    HDC back = CreateBackdropDC(control, RECT{0, 0, w, h});
    if (!back) return;
    {
        BackdropSurface surface(back);
        GdipGraphics& graphics = surface.Graphics();
        graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        graphics.SetCompositingQuality(gp::CompositingQualityHighQuality);
        // The two halves: F x G each.
        const int F = horizontal ? w / 2 : w;
        const int G = horizontal ? h : h / 2;
        int hotHalf = -1;
        if (isHover) hotHalf = horizontal ? (F < MouseX(at) ? 1 : 0) : (G < MouseY(at) ? 1 : 0);
        const float fw = static_cast<float>(w), fh = static_cast<float>(h);
        const float f = static_cast<float>(F), g = static_cast<float>(G);

        GdipPath path;
        path.Create();
        AddRoundRectPath(path, 0, 0, fw - 1, fh - 1, 3);
        {
            GdipSolidBrush face;
            if (face.Create(Argb(0xFFFFFF, 160))) graphics.FillPath(face, path);
        }
        path.Reset();

        Half first{0, 0, f - 1, g - 1,
                   gp::PointF(0, 0), horizontal ? gp::PointF(f - 1, 0) : gp::PointF(0, g - 1),
                   horizontal ? 20 : 60,
                   &UpDownArrowPicture(horizontal ? UpDownArrow::Left : UpDownArrow::Up), f, g};
        Half second = horizontal
            ? Half{f, 0, f - 1, g - 1, gp::PointF(f - 1, 0), gp::PointF(fw, 0), 20,
                   &UpDownArrowPicture(UpDownArrow::Right), f, g}
            : Half{0, g, f - 1, g - 1, gp::PointF(0, g), gp::PointF(0, fh), 20,
                   &UpDownArrowPicture(UpDownArrow::Down), f, g};
        DrawHalf(graphics, path, first, hotHalf == 0, isPressed);
        DrawHalf(graphics, path, second, hotHalf == 1, isPressed);
    }
    PresentBackdrop(control, back, w, h, target);
}

const Bytes& UpDownArrowPicture(UpDownArrow which) {
    static const Bytes up(std::begin(kUpArrow), std::end(kUpArrow));
    static const Bytes down(std::begin(kDownArrow), std::end(kDownArrow));
    static const Bytes left(std::begin(kLeftArrow), std::end(kLeftArrow));
    static const Bytes right(std::begin(kRightArrow), std::end(kRightArrow));
    switch (which) {
        case UpDownArrow::Up: return up;
        case UpDownArrow::Down: return down;
        case UpDownArrow::Left: return left;
        case UpDownArrow::Right: return right;
    }
    return up;
}

}  // namespace vostrel::skin
