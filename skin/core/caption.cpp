// The caption drawn by the skin: the window frame, the program icon and the
// outlined title, the strip of caption buttons with their separators, gloss,
// hover glow and pressed look, their layout and hit test, and a press on the
// frame (drag or size).
#include "skin/core/caption.h"

#include <cmath>

#include "gdiplus/gdip.h"
#include "skin/core/compose.h"
#include "skin/core/frame_geometry.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {

namespace {

constexpr COLORREF kCloseRed = 0x0000FF;
constexpr uint32_t kTransparentWhite = 0x00FFFFFF;
constexpr uint32_t kTransparentBlack = 0x00000000;

int Trunc(double v) { return static_cast<int>(v); }

RECT ClientOf(HWND window) {
    RECT r{};
    dll::GetClientRect(window, &r);
    return r;
}

// The graphics an operation draws with: the composition's own when it is
// composing, else a new one on the window's composed image.
class PaintTarget {
public:
    PaintTarget(const WindowRecord& record, GdipGraphics* given, bool inCompose) {
        if (inCompose && given) {
            graphics_ = given;
        } else {
            own_ = std::make_unique<ImageCanvas>(record.BackgroundDC);
            graphics_ = &own_->Graphics();
        }
    }
    GdipGraphics& operator*() const { return *graphics_; }
    GdipGraphics* operator->() const { return graphics_; }
    bool Own() const { return own_ != nullptr; }
    // Deletes an own graphics (before its DC is copied or released).
    void Release() {
        if (own_) own_->Release();
    }

private:
    std::unique_ptr<ImageCanvas> own_;
    GdipGraphics* graphics_ = nullptr;
};

void DrawPicture(GdipGraphics& graphics, const Bytes& picture, float x, float y, float w, float h) {
    if (auto image = LoadPicture(picture)) {
        graphics.DrawImageRectRect(*image, x, y, w, h);
        image->Dispose();
    }
}

void FillVertical(GdipGraphics& graphics, GdipPath& path, float x, float y, float h,
                  uint32_t from, uint32_t to) {
    GdipLinearGradientBrush brush;
    brush.Create(gp::PointF(x, y), gp::PointF(x, y + h), from, to);
    graphics.FillPath(brush, path);
    brush.Delete();
}

// The shape of a button face: a rectangle, or for the close button the open
// figure with a rounded top-right corner.
void AddButtonShape(GdipPath& path, bool close, int x, int y, int w, int h) {
    if (close)
        AddTopRightRoundedPath(path, x, y, w, h, 5);
    else
        path.AddRectangle(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                          static_cast<float>(h));
}

}  // namespace

// ---- Decisions ------------------------------------------------------------------

SizingRule FindSizingRule(int x, int y, int W, int H, int B) {
    struct Row {
        bool match;
        LPCSTR cursor;
        WPARAM command;
    };
    const Row rows[] = {
        {x <= B && 11 <= y && y < H - 10, IDC_SIZEWE, 0xF001},              // left
        {x >= W - B && 11 <= y && y < H - 10, IDC_SIZEWE, 0xF002},          // right
        {11 <= x && x < W - 10 && y <= B, IDC_SIZENS, 0xF003},              // top
        {11 <= x && x < W - 10 && y >= H - B, IDC_SIZENS, 0xF006},          // bottom
        {x <= 10 && y <= 10, IDC_SIZENWSE, 0xF004},                         // top-left
        {x >= W - 10 && y <= 10, IDC_SIZENESW, 0xF005},                     // top-right
        {x <= 10 && y >= H - 10, IDC_SIZENESW, 0xF007},                     // bottom-left
        {x >= W - 10 && y >= H - 10, IDC_SIZENWSE, 0xF008},                 // bottom-right
    };
    for (const Row& row : rows)
        if (row.match) return SizingRule{row.cursor, row.command};
    return {};
}

FramePressDecision DecideFramePress(const WindowRecord& record, int x, int y, int W, int H,
                                    int border) {
    // Presses on the button strip belong to the caption buttons.
    if (record.StripLeft <= x && x <= record.StripLeft + record.StripWidth && 2 < y &&
        y <= record.StripHeight)
        return {};
    if (!record.HasCaption) return {};
    if (!record.Resizable && y <= record.CaptionHeight) return {FramePress::Drag, {}};
    if (const SizingRule rule = FindSizingRule(x, y, W, H, border)) return {FramePress::Size, rule};
    if (y <= record.CaptionHeight) return {FramePress::Drag, {}};
    return {};
}

// ---- Operations -----------------------------------------------------------------

int WindowSkin::AddCaptionButton(HWND window, const Bytes& image, const std::string& toolTip,
                                 SkinRoutine routine) {
    const int n = FindWindowNumber(window);
    WindowRecord* record = RecordOf(n);
    if (!record) return 0;
    CaptionButton button;
    button.Width = 26;
    button.Height = 18;
    button.Kind = kCaptionApplication;
    button.Image = image;
    button.Name = toolTip;
    button.Routine = routine;
    record->CaptionButtons.InsertFront(std::move(button));
    record->StripWidth += 27;
    record->ToolTip.AddTool(RECT{}, toolTip, static_cast<UINT_PTR>(record->CaptionButtons.Count()));
    LayoutCaptionButtons(n);
    return 1;
}

int WindowSkin::SetTitleStyle(HWND window, std::optional<std::string> fontName,
                              std::optional<int> fontSize, std::optional<COLORREF> textColour,
                              std::optional<COLORREF> outlineColour, std::optional<int> bold) {
    const int n = FindWindowNumber(window);
    WindowRecord* record = RecordOf(n);
    if (!record) return 0;
    if (fontName) record->TitleFont = *fontName;
    if (fontSize) record->TitleFontSize = *fontSize;
    if (textColour) record->TitleColour = *textColour;
    if (outlineColour) record->TitleHaloColour = *outlineColour;
    if (bold) record->TitleBold = *bold;
    DrawTitle(n, nullptr, false);
    return 1;
}

namespace {

// One rounded outline of the window frame, 1 pixel wide.
void DrawFrameOutline(GdipGraphics& graphics, float inset, float w, float h, float radius,
                      COLORREF colour) {
    GdipPath path;
    path.Create();
    AddRoundRectPath(path, inset, inset, w, h, radius);
    GdipPen pen;
    pen.Create(ArgbFromColorRef(colour, 180, true), 1);
    graphics.DrawPath(pen, path);
}

}  // namespace

void WindowSkin::DrawWindowFrame(int n, GdipGraphics* graphics) {
    const WindowRecord* record = RecordOf(n);
    if (!record || !graphics) return;
    const RECT client = ClientOf(record->Handle);
    const float cw = static_cast<float>(client.right), ch = static_cast<float>(client.bottom);
    // A dark outer line and a light inner one.
    DrawFrameOutline(*graphics, 0, cw - 1, ch - 1, 7, 0x000000);
    DrawFrameOutline(*graphics, 1, cw - 3, ch - 3, 6, 0xFFFFFF);
}

void WindowSkin::DrawCaptionSeparators(int n, int button, GdipGraphics* graphics) {
    WindowRecord* record = RecordOf(n);
    if (!record || !graphics) return;
    const int top = record->StripTop, h = record->StripHeight;
    auto line = [&](int k, int alpha) {
        const CaptionButton* b = record->CaptionButtons.At(k);
        if (!b) return;
        const float x = static_cast<float>(Trunc(b->Rect.x - 2.0));
        GdipLinearGradientBrush brush;
        brush.Create(gp::PointF(x, static_cast<float>(top)), gp::PointF(x, static_cast<float>(top + h - 3)),
                     ArgbFromColorRef(0x000000, alpha, true), kTransparentBlack);
        GdipPen pen;
        pen.CreateFromBrush(brush, 1);
        graphics->DrawLine(pen, x, static_cast<float>(top + 1), x, static_cast<float>(top + h - 4));
        pen.Delete();
        brush.Delete();
    };
    if (!record->CaptionButtons.InRange(button)) return;
    line(button, button == 1 ? 100 : 60);
    if (button < record->CaptionButtons.Count()) line(button + 1, 60);
}

void WindowSkin::RestoreCaptionArea(int n, const RECT& rect) {
    const WindowRecord* record = RecordOf(n);
    if (!record || !record->BackgroundDC || !record->CaptionDC) return;
    dll::BitBlt(record->BackgroundDC.Dc(), rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, record->CaptionDC.Dc(), rect.left, rect.top, SRCCOPY);
    // A graphics may be drawing on the same pixels next.
    GdiFlush();
}

void WindowSkin::DrawCaptionButton(int n, int button, GdipGraphics* graphics, bool inCompose,
                                   bool pressed, int hoverAlpha) {
    WindowRecord* record = RecordOf(n);
    if (!record || button < 1 || !record->CaptionButtons.InRange(button)) return;
    if (!record->BackgroundDC) return;
    const CaptionButton& b = *record->CaptionButtons.At(button);
    const int x = Trunc(b.Rect.x - 1.0), y = record->StripTop + 1;
    const int w = b.Width, h = b.Height;
    const bool close = b.Kind == kCaptionClose;
    const Bytes& picture =
        (b.Kind == kCaptionMaximise && record->Maximized && !b.AltImage.empty()) ? b.AltImage
                                                                                  : b.Image;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);

    if (pressed) {
        PaintTarget target(*record, nullptr, false);
        RestoreCaptionArea(n, RECT{x, y, x + w, y + h});
        GdipPath path;
        path.Create();
        AddButtonShape(path, close, x, y, w, h);
        if (close)
            FillVertical(*target, path, fx, fy, static_cast<float>(h),
                         ArgbFromColorRef(kCloseRed, 0, false), ArgbFromColorRef(0xFFFFFF, 30, true));
        else
            FillVertical(*target, path, fx, fy, static_cast<float>(h),
                         ArgbFromColorRef(0x000000, 80, true), ArgbFromColorRef(0xFFFFFF, 5, true));
        path.Delete();
        DrawPicture(*target, picture, fx, fy, static_cast<float>(w - 1), static_cast<float>(h));
        target.Release();
        CopyToWindow(*record, x, y, w, h);
        return;
    }

    PaintTarget target(*record, graphics, inCompose);
    if (target.Own()) target->SetSmoothingMode(gp::SmoothingModeAntiAlias);
    DrawCaptionButtonHover(&*target, n, button, hoverAlpha);
    {
        GdipLinearGradientBrush gloss;
        gloss.Create(gp::PointF(fx, fy), gp::PointF(fx, fy + h), ArgbFromColorRef(0xFFFFFF, 50, true),
                     kTransparentBlack);
        target->FillRectangle(gloss, fx - 1, fy, static_cast<float>(w + 1), static_cast<float>(h - 1));
        gloss.Delete();
    }
    DrawPicture(*target, picture, fx, fy, static_cast<float>(w), static_cast<float>(h));
    DrawCaptionSeparators(n, button, &*target);
    if (target.Own()) {
        target.Release();
        CopyToWindow(*record, x, y, w, h);
    }
}

void WindowSkin::DrawCaptionButtonHover(GdipGraphics* graphics, int n, int button, int alpha) {
    WindowRecord* record = RecordOf(n);
    if (!record || !graphics || !record->CaptionButtons.InRange(button)) return;
    const CaptionButton& b = *record->CaptionButtons.At(button);
    const int x = Trunc(b.Rect.x - 1.0), y = Trunc(b.Rect.y);
    const int w = b.Width, h = b.Height;
    const bool close = b.Kind == kCaptionClose;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y), fh = static_cast<float>(h);

    RestoreCaptionArea(n, RECT{x - 1, y, x + w + 2, y + h + 1});

    GdipPath path;
    path.Create();
    AddTopRoundedPath(path, x, y, w, h, 1);
    FillVertical(*graphics, path, fx, fy, fh, ArgbFromColorRef(0x000000, Trunc(alpha / 5.0), true),
                 kTransparentWhite);
    // The close button glows red, not in the theme colour, so it reads as
    // destructive.
    if (close) {
        path.Reset();
        AddTopRightRoundedPath(path, x, y, w, h, 5);
        FillVertical(*graphics, path, fx, fy, fh, ArgbFromColorRef(kCloseRed, alpha, true),
                     kTransparentWhite);
    } else {
        FillVertical(*graphics, path, fx, fy, fh, ArgbFromColorRef(ThemeColour, alpha, true),
                     kTransparentWhite);
    }

    // An inner highlight along the top.
    path.Reset();
    const int highlightHeight = Trunc(h * 0.8);
    if (close)
        AddTopRightRoundedPath(path, x, y, w - 1, highlightHeight, 5);
    else
        AddTopRoundedPath(path, x, y, w - 1, highlightHeight, 1);
    GdipLinearGradientBrush brush;
    brush.Create(gp::PointF(fx, fy), gp::PointF(fx, fy + fh),
                 ArgbFromColorRef(0xFFFFFF, Trunc(alpha * 0.8), true), kTransparentWhite);
    GdipPen pen;
    pen.CreateFromBrush(brush, 1);
    graphics->DrawPath(pen, path);
    pen.Delete();
    brush.Delete();
    path.Delete();
}

void WindowSkin::LayoutCaptionButtons(int n) {
    WindowRecord* record = RecordOf(n);
    if (!record) return;
    const RECT client = ClientOf(record->Handle);
    record->StripLeft = client.right - record->StripWidth + 1;
    record->StripHeight = 22;
    int i = 0;
    for (CaptionButton& b : record->CaptionButtons) {
        b.Rect.x = static_cast<float>(Trunc(record->StripLeft + 2.0) + 27 * i);
        b.Rect.y = static_cast<float>(Trunc(record->StripTop + 1.0));
        b.Rect.width = b.Kind == kCaptionClose ? 40.0f : 26.0f;
        b.Rect.height = 18.0f;
        ++i;
    }
    i = 0;
    for (CaptionButton& b : record->CaptionButtons) {
        ++i;
        const RECT tool{Trunc(b.Rect.x), Trunc(b.Rect.y), Trunc(b.Rect.x + b.Rect.width),
                        Trunc(b.Rect.y + b.Rect.height)};
        record->ToolTip.SetToolRect(static_cast<UINT_PTR>(i), tool);
        record->ToolTip.SetToolText(static_cast<UINT_PTR>(i), b.Name);
    }
}

int WindowSkin::CaptionButtonAt(int n, int x, int y) {
    const WindowRecord* record = RecordOf(n);
    if (!record) return 0;
    if (x < record->StripLeft || y < record->StripTop ||
        y > record->StripTop + record->StripHeight)
        return 0;
    int i = 0;
    for (const CaptionButton& b : record->CaptionButtons) {
        ++i;
        // Edges excluded.
        if (b.Rect.x < x && x < b.Rect.x + b.Rect.width && b.Rect.y < y &&
            y < b.Rect.y + b.Rect.height)
            return i;
    }
    return 0;
}

int WindowSkin::FindMaximiseButton(int n) {
    const WindowRecord* record = RecordOf(n);
    if (!record) return 0;
    int i = 0;
    for (const CaptionButton& b : record->CaptionButtons) {
        ++i;
        if (b.Kind == kCaptionMaximise) return i;
    }
    return 0;
}

int WindowSkin::PressOnFrame(int n, LPARAM lParam, const RECT& client) {
    WindowRecord* record = RecordOf(n);
    if (!record) return 0;
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    const FramePressDecision d = DecideFramePress(*record, x, y, client.right - client.left,
                                                  client.bottom - client.top, SizingBorder);
    switch (d.Action) {
        case FramePress::None: break;
        case FramePress::Drag:
            dll::SendMessageA(record->Handle, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            break;
        case FramePress::Size:
            record->Recompose = 1;
            dll::SetCursor(dll::LoadCursorA(nullptr, d.Rule.Cursor));
            dll::SendMessageA(record->Handle, WM_SYSCOMMAND, d.Rule.Command, 0);
            break;
    }
    return static_cast<int>(d.Action);
}

void WindowSkin::SetFrameCursor(int n, LPARAM lParam, const RECT& client) {
    const WindowRecord* record = RecordOf(n);
    if (!record || !record->Resizable) return;
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    if (const SizingRule rule = FindSizingRule(x, y, client.right - client.left,
                                               client.bottom - client.top, SizingBorder))
        dll::SetCursor(dll::LoadCursorA(nullptr, rule.Cursor));
}

SkinRoutine WindowSkin::SetHelpRoutine(HWND window, SkinRoutine routine) {
    WindowRecord* record = RecordOf(FindWindowNumber(window));
    if (!record) return nullptr;
    record->HelpRoutine = routine;
    return record->HelpRoutine;
}

SkinRoutine WindowSkin::SetMenuRoutine(HWND window, SkinRoutine routine) {
    WindowRecord* record = RecordOf(FindWindowNumber(window));
    if (!record) return nullptr;
    record->MenuRoutine = routine;
    return record->MenuRoutine;
}

void WindowSkin::DrawTitle(int n, GdipGraphics* graphics, bool inCompose,
                           std::optional<std::string> title) {
    WindowRecord* record = RecordOf(n);
    if (!record || !record->BackgroundDC) return;
    const int b = SizingBorder;
    const RECT client = ClientOf(record->Handle);
    const int tw = client.right - record->StripWidth - 10 - 2 * b;

    PaintTarget target(*record, graphics, inCompose);
    // The restored band also covers the icon's rows, so a redraw never lays
    // the icon's translucent edge over itself.
    if (target.Own()) RestoreCaptionArea(n, RECT{b + 6, b + 2, b + 6 + tw, b + 5 + 32});

    if (AppIcon)
        dll::DrawIconEx(record->BackgroundDC.Dc(), b + 6, b + 2, AppIcon, 17, 17, 0, nullptr,
                        DI_NORMAL);
    GdiFlush();

    std::string text;
    if (title) {
        text = *title;
    } else {
        const int length = dll::GetWindowTextLengthA(record->Handle);
        text.resize(static_cast<size_t>(std::max(length, 0)) + 1);
        const int got = dll::GetWindowTextA(record->Handle, text.data(), static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(std::max(got, 0)));
    }

    GdipFont font;
    font.CreateFromName(record->TitleFont, static_cast<float>(record->TitleFontSize),
                        record->TitleBold ? gp::FontStyleBold : gp::FontStyleRegular, gp::UnitWorld);
    GdipStringFormat format;
    format.Create();
    format.SetAlignment(gp::StringAlignmentNear);
    format.SetLineAlignment(gp::StringAlignmentNear);
    const float left = static_cast<float>(b + 26), top = static_cast<float>(b + 5);
    GdipSolidBrush halo;
    halo.Create(ArgbFromColorRef(record->TitleHaloColour, 150, true));
    const float shifts[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& s : shifts)
        target->DrawString(text, font, halo, gp::RectF(left + s[0], top + s[1], static_cast<float>(tw), 32),
                           &format);
    halo.Delete();
    GdipSolidBrush ink;
    ink.Create(ArgbFromColorRef(record->TitleColour, 0, false));
    target->DrawString(text, font, ink, gp::RectF(left, top, static_cast<float>(tw), 32), &format);
    ink.Delete();
    format.Delete();
    font.Delete();

    if (target.Own()) {
        HDC screen = GetDCExcludingOpaqueChildren(record->Handle);
        target.Release();
        if (screen) {
            dll::BitBlt(screen, b + 6, b + 2, tw, 35, record->BackgroundDC.Dc(), b + 6, b + 2,
                        SRCCOPY);
            dll::ReleaseDC(record->Handle, screen);
        }
    }
}

RECT WindowSkin::GetCaptionStripRect(HWND window) {
    const WindowRecord* record = RecordOf(FindWindowNumber(window));
    if (!record) return RECT{};
    return RECT{record->StripLeft, record->StripTop, record->StripLeft + record->StripWidth,
                record->StripTop + record->StripHeight};
}

int WindowSkin::SetSystemButtonImages(HWND window, std::optional<Bytes> minimise,
                                      std::optional<Bytes> maximise, std::optional<Bytes> restore,
                                      std::optional<Bytes> close) {
    const int n = FindWindowNumber(window);
    WindowRecord* record = RecordOf(n);
    if (!record) return 0;
    const int count = record->CaptionButtons.Count();
    if (count < 1) return 0;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    const int closeAt = count;
    const int maximiseAt = (style & WS_MAXIMIZEBOX) ? closeAt - 1 : 0;
    const int minimiseAt = (style & WS_MINIMIZEBOX) ? (maximiseAt ? maximiseAt : closeAt) - 1 : 0;
    auto at = [&](int k) { return k >= 1 ? record->CaptionButtons.At(k) : nullptr; };
    if (close) record->CaptionButtons.At(closeAt)->Image = *close;
    if (CaptionButton* b = at(maximiseAt)) {
        if (maximise) b->Image = *maximise;
        if (restore) b->AltImage = *restore;
    }
    if (CaptionButton* b = at(minimiseAt); b && minimise) b->Image = *minimise;
    for (int i = 1; i <= count; ++i) DrawCaptionButton(n, i, nullptr, false, false, 0);
    return 1;
}

}  // namespace vostrel::skin
