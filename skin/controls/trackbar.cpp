// The trackbar skin: InstallTrackbars, TrackbarProc and DrawTrackbar.
//
// The system keeps the trackbar's range, position, selection and the
// rectangles of its channel and thumb; the skin reads them back each time it
// draws (TBM_GETPOS, TBM_GETRANGEMIN/MAX, TBM_GETCHANNELRECT,
// TBM_GETTHUMBRECT, TBM_GETSELSTART/END) and paints the whole control into a
// backdrop of the window behind it, copied in one piece. Hover follows the
// shared protocol with family code 2: the thumb grows from a 4-pixel dot to
// an 11-pixel knob once per entry of the pointer.
#include "skin/controls/trackbar.h"

#include <commctrl.h>

#include <memory>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

TrackbarRecord* FindTrackbarRecord(HWND control, int* n = nullptr) {
    return FindRegisteredControl<TrackbarRecord>(control, &WindowRecord::Trackbars, n);
}

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

float F(double value) { return static_cast<float>(value); }

// Positions are worked out in doubles. Two equal points make no gradient:
// that layer is left out.
void FillGradient(GdipGraphics& graphics, const GdipPath& path, double x1, double y1, double x2,
                  double y2, gp::ARGB c1, gp::ARGB c2) {
    FillPathGradient(graphics, path, F(x1), F(y1), F(x2), F(y2), c1, c2);
}

void OutlineRectangle(GdipGraphics& graphics, double x, double y, double width, double height,
                      gp::ARGB colour) {
    GdipPen pen;
    if (pen.Create(colour, 1.0f)) graphics.DrawRectangle(pen, F(x), F(y), F(width), F(height));
}

// What the drawing reads back from the system's trackbar.
struct TrackbarState {
    LONG Position = 0, Minimum = 0, Maximum = 0;
    LONG SelectionStart = 0, SelectionEnd = 0;
    RECT Channel{}, Thumb{};
    bool AtEnd() const { return Position == Maximum; }
};

// The channel of a vertical trackbar in the horizontal orientation that the
// drawing reads crosswise. The system's trackbar reports it so; Wine reports
// the rectangle as it lies, which is taller than wide, and is turned here so
// that the bar lands on the channel under both.
RECT HorizontalChannel(RECT ch) {
    if (ch.bottom - ch.top > ch.right - ch.left) return RECT{ch.top, ch.left, ch.bottom, ch.right};
    return ch;
}

TrackbarState ReadTrackbar(HWND control, bool vertical, bool selection) {
    TrackbarState s;
    s.Position = static_cast<LONG>(dll::SendMessageA(control, TBM_GETPOS, 0, 0));
    s.Minimum = static_cast<LONG>(dll::SendMessageA(control, TBM_GETRANGEMIN, 0, 0));
    s.Maximum = static_cast<LONG>(dll::SendMessageA(control, TBM_GETRANGEMAX, 0, 0));
    dll::SendMessageA(control, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&s.Channel));
    dll::SendMessageA(control, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&s.Thumb));
    if (vertical) s.Channel = HorizontalChannel(s.Channel);
    if (selection) {
        s.SelectionStart = static_cast<LONG>(dll::SendMessageA(control, TBM_GETSELSTART, 0, 0));
        s.SelectionEnd = static_cast<LONG>(dll::SendMessageA(control, TBM_GETSELEND, 0, 0));
    }
    return s;
}

// The painting of one trackbar into `graphics` (the backdrop, W x H).
void PaintTrackbar(GdipGraphics& graphics, const TrackbarRecord& record, const TrackbarState& s,
                   int width, int height) {
    const bool vertical = record.Vertical != 0;
    const bool selection = record.SelectionRange != 0;
    const double w = width, h = height;

    // Frame.
    if (TrackbarFrames) {
        GdipPath outline;
        outline.Create();
        AddRoundRectPath(outline, 0, 0, F(w - 1), F(h - 1), 5);
        OutlinePath(graphics, outline, Argb(0x000000, 30));
        GdipPath face;
        face.Create();
        AddRoundRectPath(face, 1, 1, F(w - 2), F(h - 2), 3);
        FillGradient(graphics, face, 0, 0, vertical ? w - 1 : 0, vertical ? 0 : h - 1,
                     Argb(0xFFFFFF, 160), Argb(0x000000, 30));
    }

    // Channel. A vertical trackbar reports its channel as if it lay
    // horizontally, so its fields are read crosswise. With a selection range
    // the system's channel is wide enough to show the selection; the skin's
    // bar stays 4 pixels thick in its middle.
    const RECT& ch = s.Channel;
    double barX, barY, barWidth, barHeight;
    if (vertical) {
        barX = selection ? ch.top + (ch.bottom - ch.top - 4) / 2.0 : ch.top;
        barY = ch.left;
        barWidth = selection ? 4 : ch.bottom - ch.top;
        barHeight = ch.right - ch.left;
    } else {
        barX = ch.left;
        barY = selection ? ch.top + (ch.bottom - ch.top - 4) / 2.0 : ch.top;
        barWidth = ch.right - ch.left;
        barHeight = selection ? 4 : ch.bottom - ch.top;
    }
    {
        GdipPath bar;
        bar.Create();
        AddRoundRectPath(bar, F(barX), F(barY), F(barWidth), F(barHeight), 1);
        FillGradient(graphics, bar, barX, barY, barX, barY + barHeight, Argb(0x000000, 50),
                     Argb(0x000000, 30));
    }
    const double m = vertical ? barX : barY;  // the bar's cross-axis coordinate

    // Thumb: a dot at rest, a knob under the pointer.
    const RECT& t = s.Thumb;
    {
        const bool hover = record.Hover != 0;
        const double d = hover ? 11 : 4;
        double cross = m - 4;
        if (record.TickPlacement == kTicksBoth) cross += 1;
        if (record.TickPlacement == kTicksTopOrLeft) cross += 2;
        double along = vertical ? t.top : t.left;
        if (!hover) {
            cross = m - 0.5;
            if (s.AtEnd()) along += 8;
        }
        const double x = vertical ? cross : along;
        const double y = vertical ? along : cross;
        GdipSolidBrush white;
        if (white.Create(Argb(0xFFFFFF, 255))) graphics.FillEllipse(white, F(x), F(y), F(d), F(d));
        GdipLinearGradientBrush shade;
        if (shade.Create(gp::PointF(F(t.left), F(y)), gp::PointF(F(t.left), F(y + barHeight)),
                         Argb(0xFFFFFF, 0), Argb(0x000000, 90)))
            graphics.FillEllipse(shade, F(x), F(y), F(d), F(d));
        GdipPen pen;
        if (pen.Create(Argb(0x000000, 50), 1.0f)) graphics.DrawEllipse(pen, F(x), F(y), F(d), F(d));
    }

    // Selection: scaled from range units to pixels by the span of the range
    // and placed from its minimum. An empty or reversed range has no
    // selection to show.
    if (selection) {
        const double span = static_cast<double>(s.Maximum) - s.Minimum;
        const double length = static_cast<double>(ch.right) - ch.left;
        if (span > 0) {
            const double start =
                (static_cast<double>(s.SelectionStart) - s.Minimum) * length / span + ch.left - 1;
            const double l =
                (static_cast<double>(s.SelectionEnd) - s.SelectionStart) * length / span;
            if (l > 0) {
                if (vertical)
                    OutlineRectangle(graphics, barX + 1, start, 1, l, Argb(0xFFFFFF, 160));
                else
                    OutlineRectangle(graphics, start, barY + 1, l, 1, Argb(0xFFFFFF, 160));
            }
        }
    }

    // Filled part: a theme-coloured line from the channel's start to the
    // thumb, 10 pixels longer at the end of the range so that it meets the
    // dot there.
    {
        const double cross = selection ? m + 1 : ch.top + 1;
        double length = (vertical ? t.top : t.left) - static_cast<double>(ch.left) - 1;
        if (s.AtEnd()) length += 10;
        if (length > 0) {
            if (vertical)
                OutlineRectangle(graphics, cross, ch.left, 1, length, Argb(ThemeColour, 200));
            else
                OutlineRectangle(graphics, ch.left, cross, length, 1, Argb(ThemeColour, 200));
        }
    }
}

// --- messages ------------------------------------------------------------------

// The whole control is one picture (the frame follows its edges), so a new
// size repaints all of it, not only the part the system exposes.
LRESULT OnSize(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassToPreviousProc(window, WM_SIZE, wParam, lParam);
    dll::InvalidateRect(window, nullptr, FALSE);
    return result;
}

LRESULT OnPaint(HWND window, int n, int position, WPARAM wParam, LPARAM lParam) {
    PAINTSTRUCT paint{};
    if (dll::BeginPaint(window, &paint)) {
        DrawTrackbar(n, position);
        dll::EndPaint(window, &paint);
    }
    return dll::DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

LRESULT OnMouseMove(HWND window, WindowRecord& owner, TrackbarRecord& record, int n,
                    int position, WPARAM wParam, LPARAM lParam) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    dll::TrackMouseEvent(&track);
    owner.PointerControl = position;
    if (owner.HotControl != owner.PointerControl || owner.HotFamily != kFamilyTrackbars) {
        record.Hover = 1;
        DrawTrackbar(n, position);
    }
    owner.HotControl = owner.PointerControl;
    owner.HotFamily = kFamilyTrackbars;
    return PassToPreviousProc(window, WM_MOUSEMOVE, wParam, lParam);
}

LRESULT OnMouseLeave(HWND window, WindowRecord& owner, TrackbarRecord& record, int n,
                     int position, WPARAM wParam, LPARAM lParam) {
    owner.HotControl = 0;
    record.Hover = 0;
    DrawTrackbar(n, position);
    return PassToPreviousProc(window, WM_MOUSELEAVE, wParam, lParam);
}

// The control goes: its subclassing and properties go with it, and its record
// keeps its position but no longer names a window (a later window may get the
// same handle value).
LRESULT OnNonClientDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    TrackbarRecord* record = FindTrackbarRecord(window, &n);
    if (record) record->Hover = 0;
    return UnregisterControl(window, TrackbarProc, record, RecordOf(n), kFamilyTrackbars, wParam,
                             lParam);
}

}  // namespace

// ---------------------------------------------------------------------------

void InstallTrackbars(int n, HWND parent) {
    WindowRecord* record = RecordOf(n);
    if (!SkinControls || !record || !parent) return;
    WalkChildren(parent, "msctls_trackbar32", [&](HWND child) {
        // A trackbar walked a second time keeps its one record: subclassing it
        // again would make TrackbarProc its own previous procedure.
        if (record->Trackbars.Find(child) != 0) return;
        const LONG style = dll::GetWindowLongA(child, GWL_STYLE);
        auto trackbar = std::make_unique<TrackbarRecord>();
        TrackbarRecord* t = trackbar.get();
        const int position = record->Trackbars.Choose(std::move(trackbar));
        t->Vertical = (style & TBS_VERT) ? 1 : 0;
        if (style & TBS_NOTICKS)
            t->TickPlacement = kTicksNone;
        else if (style & TBS_TOP)
            t->TickPlacement = kTicksTopOrLeft;
        else if (style & TBS_BOTH)
            t->TickPlacement = kTicksBoth;
        else
            t->TickPlacement = kTicksBottomOrRight;
        t->SelectionRange = (style & TBS_ENABLESELRANGE) ? 1 : 0;
        RegisterControl(n, position, *t, child, TrackbarProc);
    });
}

LRESULT CALLBACK TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) return OnNonClientDestroy(window, wParam, lParam);
    int n = 0;
    TrackbarRecord* record = FindTrackbarRecord(window, &n);
    if (!record) return PassToPreviousProc(window, message, wParam, lParam);
    WindowRecord& owner = *RecordOf(n);
    const int position = static_cast<int>(GetPropValue(window, kPropNumber));
    switch (message) {
        case WM_MOVE:
            DrawTrackbar(n, position);
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_SIZE: return OnSize(window, wParam, lParam);
        case WM_PAINT: return OnPaint(window, n, position, wParam, lParam);
        case WM_ERASEBKGND:
            dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT: DrawTrackbar(n, position); return 1;
        case WM_MOUSEMOVE: return OnMouseMove(window, owner, *record, n, position, wParam, lParam);
        case WM_MOUSELEAVE: return OnMouseLeave(window, owner, *record, n, position, wParam, lParam);
        default: return PassToPreviousProc(window, message, wParam, lParam);
    }
}

void DrawTrackbar(int n, int position, HDC target) {
    WindowRecord* window = RecordOf(n);
    if (!window) return;
    auto* record = window->Trackbars.Get<TrackbarRecord>(position);
    if (!record || !record->Handle) return;
    HWND control = record->Handle;
    RECT bounds{};
    if (!dll::GetWindowRect(control, &bounds)) return;
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return;
    const TrackbarState state = ReadTrackbar(control, record->Vertical != 0, record->SelectionRange != 0);
    PaintOverBackdrop(control, width, height, target, [&](GdipGraphics& graphics) {
        PaintTrackbar(graphics, *record, state, width, height);
    });
}

bool DrawTrackbarControl(HWND control, HDC target) {
    int n = 0;
    if (!control || !FindTrackbarRecord(control, &n)) return false;
    DrawTrackbar(n, static_cast<int>(GetPropValue(control, kPropNumber)), target);
    return true;
}

}  // namespace vostrel::skin
