// The skin of edits and combo boxes: the installer that takes them, EditProc
// and ComboBoxProc, the edit's border ring and veiled background, and the
// combo box drawn whole with its drop button.
#include "skin/controls/edit_combo.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/core/primitives.h"
#include "skin/core/skin_images.h"

namespace vostrel::skin {

namespace {

constexpr COLORREF kColourKey = 0x00FF00FF;  // magenta: skipped by the final copy

// NCPAINT's "no region": the edit's and combo box's own border must not be
// drawn over the skin's.
const WPARAM kNoRegion = static_cast<WPARAM>(static_cast<DWORD>(0xFFFFFFFF));

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

bool Transparent() { return TransparentControls != 0; }

bool ClassIs(HWND window, const char* name) {
    return window && GetClassNameText(window) == name;
}

// The edit has no scroll bars.
bool IsPlain(HWND edit) { return !HasScrollBars(edit); }

void Invalidate(HWND window) { dll::InvalidateRect(window, nullptr, TRUE); }

SIZE WindowSize(HWND window) {
    RECT r{};
    dll::GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Thickness of a scroll bar the style shows (0 when it has none).
int ScrollBarThickness(HWND window, LONG object) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!dll::GetScrollBarInfo(window, object, &info)) return 0;
    if (object == OBJID_VSCROLL) return info.rcScrollBar.right - info.rcScrollBar.left;
    return info.rcScrollBar.bottom - info.rcScrollBar.top;
}

COLORREF TextColourOf(HWND control) {
    return static_cast<COLORREF>(GetPropValue(control, kPropTextColour));
}

// --- installation ---------------------------------------------------------------

void RegisterEdit(int n, WindowRecord& owner, HWND edit) {
    auto record = std::make_unique<EditRecord>();
    EditRecord* e = record.get();
    const int position = owner.Edits.Choose(std::move(record));
    RegisterControl(n, position, *e, edit, EditProc);
    // Black text unless a colour was given before the walk.
    if (!::GetPropA(edit, kPropTextColour)) SetPropValue(edit, kPropTextColour, 0);
}

// A drop-down list shows the text of its selected item as its window text,
// which the skin draws.
void TakeSelectionAsText(HWND combo) {
    const LRESULT selection = dll::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selection < 0) return;
    const LRESULT length = dll::SendMessageA(combo, CB_GETLBTEXTLEN, selection, 0);
    if (length < 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = dll::SendMessageA(combo, CB_GETLBTEXT, selection,
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    dll::SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// --- edit messages ------------------------------------------------------------------

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PassToPreviousProc(window, message, wParam, lParam);
}

LRESULT OnEditSetFocus(HWND edit, EditRecord& record, WPARAM wParam, LPARAM lParam) {
    record.Focused = 1;
    const LRESULT result = PassOn(edit, WM_SETFOCUS, wParam, lParam);
    // The edit repaints no more than its selection on focus: the ring
    // would keep its unfocused look until the next full paint.
    PaintEditFrame(edit, true, false);
    return result;
}

LRESULT OnEditKillFocus(HWND edit, EditRecord& record, WPARAM wParam, LPARAM lParam) {
    record.Focused = 0;
    if (!ClassIs(dll::GetParent(edit), "ComboBox"))
        Invalidate(edit);
    else
        PaintEditFrame(edit, std::nullopt, false);
    return PassOn(edit, WM_KILLFOCUS, wParam, lParam);
}

LRESULT OnEditEraseBackground(HWND edit, WPARAM wParam, LPARAM lParam) {
    if (!Transparent()) return PassOn(edit, WM_ERASEBKGND, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    dll::SetBkMode(dc, TRANSPARENT);
    PaintEditBackground(edit, dc, true);
    return 1;
}

LRESULT OnEditNonClientPaint(HWND edit) {
    PaintEditFrame(edit);
    if (!HasScrollBars(edit)) return dll::DefWindowProcA(edit, WM_NCPAINT, kNoRegion, 0);
    // The system paints the scroll bars only.
    HRGN bars = ScrollBarRegion(edit);
    if (!bars) return 0;
    const LRESULT result =
        dll::DefWindowProcA(edit, WM_NCPAINT, reinterpret_cast<WPARAM>(bars), 0);
    dll::DeleteObject(bars);
    return result;
}

LRESULT OnEditMouseMove(HWND edit, WindowRecord& owner, EditRecord& record, int position,
                        WPARAM wParam, LPARAM lParam) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, edit, 0};
    dll::TrackMouseEvent(&track);
    owner.PointerControl = position;
    const int parent = static_cast<int>(reinterpret_cast<INT_PTR>(dll::GetParent(edit)));
    if (owner.HotControl != owner.PointerControl || owner.HotFamily != kFamilyEdits ||
        owner.HotParent != parent) {
        PaintEditFrame(edit, std::nullopt, true);
        owner.HotControl = owner.PointerControl;
        owner.HotFamily = kFamilyEdits;
        owner.HotParent = parent;
    }
    if (record.MouseDown && IsPlain(edit)) Invalidate(edit);
    return PassOn(edit, WM_MOUSEMOVE, wParam, lParam);
}

LRESULT OnEditMouseLeave(HWND edit, WindowRecord& owner, EditRecord& record, WPARAM wParam,
                         LPARAM lParam) {
    owner.HotControl = 0;
    PaintEditFrame(edit, record.Focused != 0, std::nullopt);
    return PassOn(edit, WM_MOUSELEAVE, wParam, lParam);
}

// --- combo box messages ---------------------------------------------------------------

LRESULT OnComboCommand(HWND combo, WPARAM wParam, LPARAM lParam) {
    const auto control = reinterpret_cast<HWND>(lParam);
    const int code = HIWORD(wParam);
    if (Transparent() && SkinControls && ClassIs(control, "Edit") &&
        (code == EN_CHANGE || code == EN_UPDATE || code == EN_HSCROLL || code == EN_VSCROLL))
        Invalidate(control);
    return PassOn(combo, WM_COMMAND, wParam, lParam);
}

// The edit inside the combo box shows the window image under the veil.
LRESULT OnComboColourEdit(HWND combo, WPARAM wParam, LPARAM lParam) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto edit = reinterpret_cast<HWND>(lParam);
    if (!Transparent() || !edit) return PassOn(combo, WM_CTLCOLOREDIT, wParam, lParam);
    dll::SetTextColor(dc, TextColourOf(edit));
    dll::SetBkMode(dc, TRANSPARENT);
    FreeControlColourBrush(edit);
    HBITMAP bitmap = CreateVeiledBackdropBitmap(edit);
    if (!bitmap) return PassOn(combo, WM_CTLCOLOREDIT, wParam, lParam);
    HBRUSH brush = dll::CreatePatternBrush(bitmap);
    if (!brush) {
        dll::DeleteObject(bitmap);
        return PassOn(combo, WM_CTLCOLOREDIT, wParam, lParam);
    }
    SetPropValue(edit, kPropColourBrush, reinterpret_cast<INT_PTR>(brush));
    SetPropValue(edit, kPropColourBrushBitmap, reinterpret_cast<INT_PTR>(bitmap));
    return reinterpret_cast<LRESULT>(brush);
}

LRESULT OnComboMouseMove(HWND combo, int n, WindowRecord& owner, int position, WPARAM wParam,
                         LPARAM lParam) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, combo, 0};
    dll::TrackMouseEvent(&track);
    owner.PointerControl = position;
    if (owner.HotControl != owner.PointerControl || owner.HotFamily != kFamilyComboBoxes) {
        DrawComboBox(n, position, true);
        owner.HotControl = owner.PointerControl;
        owner.HotFamily = kFamilyComboBoxes;
    }
    return PassOn(combo, WM_MOUSEMOVE, wParam, lParam);
}

// True while the combo box shows its hover look: the class repaints its drop
// button as the pointer moves over it, and that paint must keep the look.
bool ComboIsHot(const WindowRecord& owner, int position) {
    return owner.HotFamily == kFamilyComboBoxes && owner.HotControl == position;
}

LRESULT OnComboPaint(HWND combo, int n, int position, WPARAM wParam, LPARAM lParam) {
    PAINTSTRUCT paint{};
    if (dll::BeginPaint(combo, &paint)) {
        const WindowRecord* owner = RecordOf(n);
        DrawComboBox(n, position, owner && ComboIsHot(*owner, position));
        dll::EndPaint(combo, &paint);
    }
    return dll::DefWindowProcA(combo, WM_PAINT, wParam, lParam);
}

// --- combo box drawing --------------------------------------------------------------

// Clears the areas of the combo box's children to the colour key: all of
// them for the simple style and drop-down lists, the first (the edit)
// otherwise. A list's area is shrunk by 2 so the frame stays around it.
// True when any area was cleared.
bool PunchChildHoles(GdipGraphics& graphics, HWND combo, LONG style) {
    GdipSolidBrush key;
    if (!key.Create(Argb(kColourKey, 255))) return false;
    bool punched = false;
    HWND child = nullptr;
    while ((child = dll::FindWindowExA(combo, child, nullptr, nullptr)) != nullptr) {
        RECT r = ChildRectInParent(child);
        if (ClassIs(child, "ComboLBox")) InflateRect(&r, -2, -2);
        if (r.right > r.left && r.bottom > r.top) {
            graphics.SetClipRectI(r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  gp::CombineModeReplace);
            graphics.FillRectangleI(key, r.left, r.top, r.right - r.left, r.bottom - r.top);
            punched = true;
        }
        if (!(style & 0x1)) break;
    }
    graphics.ResetClip();
    return punched;
}

// The arrow picture's pixels, decoded once: decoding the PNG on every paint
// took more than half of a combo box's paint time. Each paint wraps them in
// a bitmap of its own, which costs no decoding.
struct ArrowPixels {
    int width = 0, height = 0;
    std::vector<gp::ARGB> argb;
};

ArrowPixels& DecodedArrow() {
    static ArrowPixels pixels;
    if (pixels.width > 0) return pixels;
    GdipBitmap picture;
    if (!picture.CreateFromBytes(ComboArrowPicture())) return pixels;  // tried again next time
    const int w = static_cast<int>(picture.GetWidth()), h = static_cast<int>(picture.GetHeight());
    if (w <= 0 || h <= 0 || w > 64 || h > 64) return pixels;
    pixels.argb.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels.argb[static_cast<size_t>(y) * w + x] = picture.GetPixel(x, y);
    pixels.height = h;
    pixels.width = w;
    return pixels;
}

void DrawDropButton(GdipGraphics& graphics, bool hover, float bx, float by, float bw, float bh) {
    GdipPath outline;
    outline.Create();
    AddRoundRectPath(outline, bx, by, bw - 1, bh - 1, 4);
    {
        GdipPen pen;
        if (pen.Create(hover ? Argb(ThemeColour, 200) : Argb(0x000000, 80), 1.0f))
            graphics.DrawPath(pen, outline);
    }
    GdipPath face;
    face.Create();
    AddRoundRectPath(face, bx + 1, by + 1, bw - 2, bh - 2, 1);
    {
        GdipLinearGradientBrush shade;
        const gp::ARGB top = hover ? Argb(0xFFFFFF, 100) : Argb(ThemeColour, 30);
        const gp::ARGB bottom = hover ? Argb(ThemeColour, 150) : Argb(ThemeColour, 100);
        if (shade.Create(gp::PointF(bx + 1, by), gp::PointF(bx + 1, by + bh - 2), top, bottom))
            graphics.FillPath(shade, face);
    }
    ArrowPixels& pixels = DecodedArrow();
    GdipBitmap arrow;
    if (pixels.width > 0 &&
        arrow.CreateFromScan0(pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppARGB,
                              reinterpret_cast<BYTE*>(pixels.argb.data()))) {
        const float iw = static_cast<float>(pixels.width);
        const float ih = static_cast<float>(pixels.height);
        graphics.DrawImageRectRect(arrow, bx + (bw - iw) / 2, by + (bh - ih) / 2, iw, ih);
    }
}

void DrawListText(GdipGraphics& graphics, HWND combo, int w, int h) {
    const std::string text = ControlWindowText(combo);
    if (text.empty()) return;
    GdipSolidBrush ink;
    GdipFont font;
    if (!ink.Create(Argb(TextColourOf(combo), 255)) ||
        !font.CreateFromName("宋体", 12.0f, 0, gp::UnitWorld))
        return;
    graphics.DrawString(text, font, ink,
                        gp::RectF(2, static_cast<float>(h - 12) / 2, static_cast<float>(w - 17),
                                  static_cast<float>(h - 4)));
}

Bytes LoadArrow() { return LoadSkinImage(SkinImage::ComboArrow); }

}  // namespace

// ---------------------------------------------------------------------------
// Installation.

void InstallEditsAndComboBoxes(int n, HWND parent) {
    WindowRecord* record = RecordOf(n);
    if (!SkinControls || !record || !parent) return;
    WalkChildren(parent, "Edit", [&](HWND child) {
        if (FindControlRecord(record->Edits, child) != 0) return;
        RegisterEdit(n, *record, child);
    });
    WalkChildren(parent, "ComboBox", [&](HWND child) {
        // A combo box walked a second time keeps its one record: subclassing
        // it again would make ComboBoxProc its own previous procedure, and
        // every message would recurse until the stack overflows.
        if (FindControlRecord(record->ComboBoxes, child) != 0) return;
        TakeSelectionAsText(child);
        auto combo = std::make_unique<ComboBoxRecord>();
        ComboBoxRecord* c = combo.get();
        const int position = record->ComboBoxes.Choose(std::move(combo));
        RegisterControl(n, position, *c, child, ComboBoxProc);
        // The edit inside shows the window image only when it paints itself
        // transparently; it gets the edit skin then.
        if (!TransparentControls) return;
        HWND edit = dll::FindWindowExA(child, nullptr, "Edit", nullptr);
        if (edit && FindControlRecord(record->Edits, edit) == 0) RegisterEdit(n, *record, edit);
    });
}

EditRecord* FindEditRecord(HWND edit, int* n) {
    return FindRegisteredControl<EditRecord>(edit, &WindowRecord::Edits, n);
}

ComboBoxRecord* FindComboBoxRecord(HWND combo, int* n) {
    return FindRegisteredControl<ComboBoxRecord>(combo, &WindowRecord::ComboBoxes, n);
}

// ---------------------------------------------------------------------------
// Edits.

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    EditRecord* record = FindEditRecord(window, &n);
    if (message == WM_NCDESTROY)
        return UnregisterControl(window, EditProc, record, RecordOf(n), kFamilyEdits, wParam,
                                  lParam);
    if (!record) return PassOn(window, message, wParam, lParam);
    WindowRecord& owner = *RecordOf(n);
    const int position = static_cast<int>(GetPropValue(window, kPropNumber));
    switch (message) {
        case WM_DESTROY:
            FreeControlColourBrush(window);
            return PassOn(window, message, wParam, lParam);
        case WM_MOVE:
            if (Transparent()) Invalidate(window);
            return PassOn(window, message, wParam, lParam);
        case WM_SETFOCUS: return OnEditSetFocus(window, *record, wParam, lParam);
        case WM_KILLFOCUS: return OnEditKillFocus(window, *record, wParam, lParam);
        case WM_PAINT:
            PaintEditFrame(window);
            return PassOn(window, message, wParam, lParam);
        case WM_ERASEBKGND: return OnEditEraseBackground(window, wParam, lParam);
        case WM_NCPAINT: return OnEditNonClientPaint(window);
        case WM_KEYDOWN:
            if (Transparent() && IsPlain(window)) Invalidate(window);
            return PassOn(window, message, wParam, lParam);
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (Transparent()) Invalidate(window);
            return PassOn(window, message, wParam, lParam);
        case WM_MOUSEMOVE:
            return OnEditMouseMove(window, owner, *record, position, wParam, lParam);
        case WM_LBUTTONDOWN:
            record->MouseDown = 1;
            if (Transparent() && IsPlain(window)) Invalidate(window);
            return PassOn(window, message, wParam, lParam);
        case WM_LBUTTONUP:
            record->MouseDown = 0;
            return PassOn(window, message, wParam, lParam);
        case WM_MOUSELEAVE: return OnEditMouseLeave(window, owner, *record, wParam, lParam);
        default: return PassOn(window, message, wParam, lParam);
    }
}

void PaintEditFrame(HWND edit, std::optional<bool> focused, std::optional<bool> hover) {
    const SIZE size = WindowSize(edit);
    const int w = size.cx, h = size.cy;
    if (w <= 0 || h <= 0) return;
    RECT client{};
    dll::GetClientRect(edit, &client);
    const LONG style = dll::GetWindowLongA(edit, GWL_STYLE);
    int innerW = client.right - client.left, innerH = client.bottom - client.top;
    if (style & WS_VSCROLL) innerW += ScrollBarThickness(edit, OBJID_VSCROLL);
    if (style & WS_HSCROLL) innerH += ScrollBarThickness(edit, OBJID_HSCROLL);
    // The client area (with its scroll bars) is taken as centred in the window.
    const int left = static_cast<int>(std::floor((w - innerW) / 2.0));
    const int top = static_cast<int>(std::floor((h - innerH) / 2.0));
    const RECT whole{0, 0, w, h};
    HDC back = CreateBackdropDC(edit, whole);
    if (!back) return;
    {
        BackdropSurface surface(back);
        GdipGraphics& graphics = surface.Graphics();
        // Only the border ring is drawn.
        graphics.SetClipRectI(0, 0, w, h, gp::CombineModeReplace);
        graphics.SetClipRectI(left, top, innerW, innerH, gp::CombineModeXor);
        GdipSolidBrush ground;
        if (ground.Create(Transparent() ? Argb(0xFFFFFF, VeilAlpha) : Argb(0xFFFFFF, 255)))
            graphics.FillRectangleI(ground, 0, 0, w, h);
        DrawEditOutline(edit, focused, hover, graphics, w, h);
    }
    if (HDC dc = dll::GetWindowDC(edit)) {
        dll::ExcludeClipRect(dc, left, top, left + innerW, top + innerH);
        dll::BitBlt(dc, 0, 0, w, h, back, 0, 0, SRCCOPY);
        dll::ReleaseDC(edit, dc);
    }
    ReleaseBackdropDC(back);
}

void DrawEditOutline(HWND edit, std::optional<bool> focused, std::optional<bool> hover,
                     GdipGraphics& graphics, int width, int height) {
    const EditRecord* record = FindEditRecord(edit);
    const bool isFocused = focused.value_or(record && record->Focused);
    const bool isHover = hover.value_or(record && record->Hover);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    GdipPen pen;
    if (isHover) {
        if (pen.Create(Argb(ThemeColour, 180), 2.0f)) graphics.DrawRectangle(pen, 1, 1, w - 2, h - 2);
        return;
    }
    if (pen.Create(isFocused ? Argb(ThemeColour, 180) : Argb(0x000000, 80), 1.0f))
        graphics.DrawRectangle(pen, 0, 0, w - 1, h - 1);
}

void PaintEditBackground(HWND edit, HDC dc, bool intoGivenDc) {
    const RECT r = ClientRectInWindow(edit);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    HDC back = CreateBackdropDC(edit, r);
    if (!back) return;
    {
        BackdropSurface surface(back);
        GdipSolidBrush veil;
        if (veil.Create(Argb(0xFFFFFF, VeilAlpha))) surface.Graphics().FillRectangleI(veil, 0, 0, w, h);
    }
    if (intoGivenDc) {
        if (dc) dll::BitBlt(dc, 0, 0, w, h, back, 0, 0, SRCCOPY);
    } else if (HDC own = dll::GetWindowDC(edit)) {
        dll::BitBlt(own, r.left, r.top, w, h, back, 0, 0, SRCCOPY);
        dll::ReleaseDC(edit, own);
    }
    ReleaseBackdropDC(back);
}

HRGN ScrollBarRegion(HWND edit) {
    const LONG style = dll::GetWindowLongA(edit, GWL_STYLE);
    HRGN horizontal = nullptr, vertical = nullptr;
    int horizontalHeight = 0;
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if ((style & WS_HSCROLL) && dll::GetScrollBarInfo(edit, OBJID_HSCROLL, &info)) {
        const RECT& r = info.rcScrollBar;
        horizontalHeight = r.bottom - r.top;
        horizontal = dll::CreateRectRgn(r.left, r.top, r.right, r.bottom);
    }
    info = SCROLLBARINFO{};
    info.cbSize = sizeof info;
    if ((style & WS_VSCROLL) && dll::GetScrollBarInfo(edit, OBJID_VSCROLL, &info)) {
        const RECT& r = info.rcScrollBar;
        // Down over the corner box when both bars are there.
        vertical = dll::CreateRectRgn(r.left, r.top, r.right, r.bottom + horizontalHeight);
    }
    if (horizontal && vertical) {
        dll::CombineRgn(horizontal, horizontal, vertical, RGN_OR);
        dll::DeleteObject(vertical);
        return horizontal;
    }
    return horizontal ? horizontal : vertical;
}

bool HasScrollBars(HWND window) {
    return (dll::GetWindowLongA(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

RECT ChildRectInParent(HWND window) {
    if (FindWindowNumber(window) > 0) return RECT{};
    HWND parent = dll::GetParent(window);
    if (!parent) return RECT{};
    return RectRelativeTo(parent, window);
}

// ---------------------------------------------------------------------------
// Combo boxes.

LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    ComboBoxRecord* record = FindComboBoxRecord(window, &n);
    if (message == WM_NCDESTROY)
        return UnregisterControl(window, ComboBoxProc, record, RecordOf(n), kFamilyComboBoxes,
                                  wParam, lParam);
    if (!record) return PassOn(window, message, wParam, lParam);
    WindowRecord& owner = *RecordOf(n);
    const int position = static_cast<int>(GetPropValue(window, kPropNumber));
    switch (message) {
        case WM_MOVE:
            DrawComboBox(n, position, false);
            return PassOn(window, message, wParam, lParam);
        case WM_SETFOCUS:
            record->Focused = 1;
            DrawComboBox(n, position, false, true);
            return PassOn(window, message, wParam, lParam);
        case WM_KILLFOCUS: {
            record->Focused = 0;
            const LRESULT result = PassOn(window, message, wParam, lParam);
            // The focus frame goes with the focus, not at the next paint.
            DrawComboBox(n, position, false, false);
            return result;
        }
        case WM_SETTEXT:
            if (dll::FindWindowExA(window, nullptr, "Edit", nullptr)) Invalidate(window);
            return PassOn(window, message, wParam, lParam);
        case WM_PAINT: return OnComboPaint(window, n, position, wParam, lParam);
        case WM_ERASEBKGND:
            dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT:
            DrawComboBox(n, position, ComboIsHot(owner, position));
            return dll::DefWindowProcA(window, WM_NCPAINT, kNoRegion, 0);
        case WM_COMMAND: return OnComboCommand(window, wParam, lParam);
        case WM_CTLCOLOREDIT: return OnComboColourEdit(window, wParam, lParam);
        case WM_MOUSEMOVE: return OnComboMouseMove(window, n, owner, position, wParam, lParam);
        case WM_MOUSELEAVE:
            DrawComboBox(n, position, false);
            owner.HotControl = 0;
            return PassOn(window, message, wParam, lParam);
        default: return PassOn(window, message, wParam, lParam);
    }
}

void DrawComboBox(int n, int position, bool hover, std::optional<bool> focused) {
    WindowRecord* window = RecordOf(n);
    if (!window) return;
    ComboBoxRecord* record = window->ComboBoxes.Get<ComboBoxRecord>(position);
    if (!record || !record->Handle || !::IsWindow(record->Handle)) return;
    HWND combo = record->Handle;
    const bool isFocused = focused.value_or(record->Focused != 0);
    const SIZE size = WindowSize(combo);
    const int w = size.cx, h = size.cy;
    if (w <= 0 || h <= 0) return;
    const LONG style = dll::GetWindowLongA(combo, GWL_STYLE);
    const bool dropDownList = (style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
    const int bw = dropDownList ? 17 : 18;
    const int bx = w - bw - 2, by = 2, bh = h - 4;
    const RECT whole{0, 0, w, h};
    HDC back = CreateBackdropDC(combo, whole);
    if (!back) return;
    bool holes = false;
    {
        BackdropSurface surface(back);
        GdipGraphics& graphics = surface.Graphics();
        {
            GdipSolidBrush ground;
            if (ground.Create(Transparent() ? Argb(0xFFFFFF, VeilAlpha) : Argb(0xFFFFFF, 255)))
                graphics.FillRectangleI(ground, 0, 0, w, h);
        }
        holes = PunchChildHoles(graphics, combo, style);
        {
            GdipPen frame;
            if (frame.Create(hover || isFocused ? Argb(ThemeColour, 200) : Argb(0x000000, 80), 1.0f))
                graphics.DrawRectangle(frame, 0, 0, static_cast<float>(w - 1),
                                       static_cast<float>(h - 1));
        }
        if (style & 0x2) {
            DrawDropButton(graphics, hover, static_cast<float>(bx), static_cast<float>(by),
                           static_cast<float>(bw), static_cast<float>(bh));
            if (dropDownList) DrawListText(graphics, combo, w, h);
        }
    }
    if (HDC dc = dll::GetWindowDC(combo)) {
        // Without holes (a drop-down list has no child windows) no pixel
        // holds the key, and the plain copy costs a fraction of the keyed one.
        if (holes)
            dll::TransparentBlt(dc, 0, 0, w, h, back, 0, 0, w, h, kColourKey);
        else
            dll::BitBlt(dc, 0, 0, w, h, back, 0, 0, SRCCOPY);
        dll::ReleaseDC(combo, dc);
    }
    ReleaseBackdropDC(back);
}

const Bytes& ComboArrowPicture() {
    static const Bytes arrow = LoadArrow();
    return arrow;
}

void PaintSkinnedEdit(HWND edit) {
    if (!FindEditRecord(edit)) return;
    PaintEditFrame(edit);
    if (Transparent()) PaintEditBackground(edit, nullptr, false);
}

void PaintSkinnedComboBox(HWND combo) {
    int n = 0;
    if (!FindComboBoxRecord(combo, &n)) return;
    DrawComboBox(n, static_cast<int>(GetPropValue(combo, kPropNumber)), false);
}

}  // namespace vostrel::skin
