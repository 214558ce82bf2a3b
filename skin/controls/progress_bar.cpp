// The progress-bar skin: InstallProgressBars, ProgressBarProc and
// DrawProgressBar.
//
// The system keeps the range and the position (and invalidates the control
// when either changes); the skin reads them back each time it paints and
// draws the whole control into a backdrop of the window behind it, copied in
// one piece.
#include "skin/controls/progress_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

ProgressBarRecord* FindProgressBarRecord(HWND control, int* n = nullptr) {
    return FindRegisteredControl<ProgressBarRecord>(control, &WindowRecord::ProgressBars, n);
}

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

float F(double value) { return static_cast<float>(value); }

// The filled part's box (x, y, width, height) before its one-pixel inset.
struct Fill {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// The part of a w x h bar that `position` fills in low..high. An empty or
// reversed range (high <= low) fills nothing: there is no fraction to show.
// A position outside the range is held to its ends.
Fill FillFor(bool vertical, int w, int h, int low, int high, int position) {
    Fill fill;
    if (high <= low) return fill;
    double f = (static_cast<double>(position) - low) / (static_cast<double>(high) - low);
    f = std::clamp(f, 0.0, 1.0);
    if (vertical) {
        // Grows from the bottom up.
        fill.Width = w;
        fill.Height = static_cast<int>(f * h);
        fill.Y = h - fill.Height;
    } else {
        fill.Width = static_cast<int>(f * w);
        fill.Height = h;
    }
    return fill;
}

void PaintProgressBar(GdipGraphics& graphics, bool vertical, int width, int height,
                      const Fill& fill) {
    const double w = width, h = height;

    // Frame.
    {
        GdipPath frame;
        frame.Create();
        AddRoundRectPath(frame, 0, 0, F(w - 1), F(h - 1), 5);
        GdipPen pen;
        if (pen.Create(Argb(0x000000, 50), 1.0f)) graphics.DrawPath(pen, frame);
    }
    // Track.
    {
        GdipPath track;
        track.Create();
        AddRoundRectPath(track, 1, 1, F(w - 2), F(h - 2), 1);
        GdipLinearGradientBrush brush;
        if (brush.Create(gp::PointF(0, 0), gp::PointF(vertical ? F(w - 1) : 0, vertical ? 0 : F(h - 1)),
                         Argb(0xFFFFFF, 160), Argb(0x000000, 30)))
            graphics.FillPath(brush, track);
    }
    // Filled part: only when something is filled along the bar, and only
    // when the inset box is not empty (a bar a few pixels long or thin has no
    // room for it).
    const int along = vertical ? fill.Height : fill.Width;
    const double boxWidth = fill.Width - 3.0, boxHeight = fill.Height - 3.0;
    if (along <= 0 || boxWidth <= 0 || boxHeight <= 0) return;
    GdipPath part;
    part.Create();
    AddRoundRectPath(part, 1, F(fill.Y + 1.0), F(boxWidth), F(boxHeight), 3);
    GdipLinearGradientBrush brush;
    const gp::PointF from(0, F(fill.Y));
    const gp::PointF to = vertical ? gp::PointF(F(w - 1), F(fill.Y)) : gp::PointF(0, F(h - 1));
    if (brush.Create(from, to, Argb(0xFFFFFF, 90), Argb(ThemeColour, 255)))
        graphics.FillPath(brush, part);
    GdipPen pen;
    if (pen.Create(Argb(ThemeColour, 150), 1.0f)) graphics.DrawPath(pen, part);
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
        DrawProgressBar(n, position, nullptr);
        dll::EndPaint(window, &paint);
    }
    return dll::DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

// The control goes: its subclassing and properties go with it, and its record
// keeps its position but no longer names a window (a later window may get the
// same handle value).
LRESULT OnNonClientDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    ProgressBarRecord* record = FindProgressBarRecord(window, &n);
    // Progress bars have no hover look: no family code to forget.
    return UnregisterControl(window, ProgressBarProc, record, RecordOf(n), -1, wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------------------

void InstallProgressBars(int n, HWND parent) {
    WindowRecord* record = RecordOf(n);
    if (!SkinControls || !record || !parent) return;
    WalkChildren(parent, "msctls_progress32", [&](HWND child) {
        // A progress bar walked a second time keeps its one record: subclassing
        // it again would make ProgressBarProc its own previous procedure.
        if (record->ProgressBars.Find(child) != 0) return;
        auto bar = std::make_unique<ProgressBarRecord>();
        ProgressBarRecord* p = bar.get();
        const int position = record->ProgressBars.Choose(std::move(bar));
        p->Vertical = (dll::GetWindowLongA(child, GWL_STYLE) & PBS_VERTICAL) ? 1 : 0;
        RegisterControl(n, position, *p, child, ProgressBarProc);
    });
}

LRESULT CALLBACK ProgressBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) return OnNonClientDestroy(window, wParam, lParam);
    int n = 0;
    if (!FindProgressBarRecord(window, &n)) return PassToPreviousProc(window, message, wParam, lParam);
    const int position = static_cast<int>(GetPropValue(window, kPropNumber));
    switch (message) {
        case WM_MOVE:
            DrawProgressBar(n, position, nullptr);
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_SIZE: return OnSize(window, wParam, lParam);
        case WM_PAINT: return OnPaint(window, n, position, wParam, lParam);
        case WM_ERASEBKGND:
            dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT: DrawProgressBar(n, position, nullptr); return 1;
        default: return PassToPreviousProc(window, message, wParam, lParam);
    }
}

void DrawProgressBar(int n, int position, HDC dc) {
    WindowRecord* window = RecordOf(n);
    if (!window) return;
    auto* record = window->ProgressBars.Get<ProgressBarRecord>(position);
    if (!record || !record->Handle) return;
    HWND control = record->Handle;
    RECT bounds{};
    if (!dll::GetWindowRect(control, &bounds)) return;
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return;
    const bool vertical = record->Vertical != 0;
    PBRANGE range{};
    dll::SendMessageA(control, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
    const int pos = static_cast<int>(dll::SendMessageA(control, PBM_GETPOS, 0, 0));
    const Fill fill = FillFor(vertical, width, height, range.iLow, range.iHigh, pos);
    PaintOverBackdrop(control, width, height, dc, [&](GdipGraphics& graphics) {
        PaintProgressBar(graphics, vertical, width, height, fill);
    });
}

bool DrawProgressBarControl(HWND control, HDC dc) {
    int n = 0;
    if (!control || !FindProgressBarRecord(control, &n)) return false;
    DrawProgressBar(n, static_cast<int>(GetPropValue(control, kPropNumber)), dc);
    return true;
}

}  // namespace vostrel::skin
