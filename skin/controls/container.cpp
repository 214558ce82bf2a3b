// The container skin: a child window of a skinned window that holds controls
// of its own (typically a group box). Dressing it registers it with a tint in
// the window record's container list, takes its children with the control
// installers (dressing the top-level window reaches only direct children),
// and subclasses it with ContainerProc, which paints it as part of the
// skinned window and answers its children's control-colour messages.
#include <cmath>
#include <string>

#include "gdiplus/gdip.h"
#include "skin/controls/child_controls.h"
#include "skin/core/frame_geometry.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }


// Class "Button" with the style bit 0x4: every group box has it (and so do a
// few other button types, which are dressed the same way).
bool IsGroupBoxButton(HWND window) {
    return GetClassNameText(window) == "Button" && (dll::GetWindowLongA(window, GWL_STYLE) & 0x4);
}

// The nearest ancestor above the container that offers its image as a
// backdrop host, or 0.
HWND FindHostAncestor(HWND container) {
    for (HWND w = dll::GetParent(container); w; w = dll::GetParent(w))
        if (GetPropValue(w, kPropHostMark) == 1) return w;
    return nullptr;
}

ContainerRecord* ContainerOf(int n, int k) {
    WindowRecord* window = RecordOf(n);
    return window ? window->Containers.Get<ContainerRecord>(k) : nullptr;
}

// Repaints rectangle g of `dc` (in the container's coordinates) with what
// lies behind the container there, its own tint included.
void PaintBackdropRect(HWND container, HDC dc, const RECT& g) {
    const int w = g.right - g.left, h = g.bottom - g.top;
    if (w <= 0 || h <= 0) return;
    HDC back = CreateBackdropDC(container, g);
    if (!back) return;
    dll::BitBlt(dc, g.left, g.top, w, h, back, 0, 0, SRCCOPY);
    ReleaseBackdropDC(back);
}

void StrokeRoundRect(GdipGraphics& graphics, float x, float y, float w, float h, int corner,
                     gp::ARGB colour) {
    GdipPath path;
    GdipPen pen;
    if (!path.Create() || !pen.Create(colour, 1.0f)) return;
    AddRoundRectPath(path, x, y, w, h, corner);
    graphics.DrawPath(pen, path);
}

// A faint dark outline with a white line inside, for containers that are not
// group boxes.
void DrawRoundedBorder(HDC back, const RECT& r) {
    GdipGraphics graphics;
    if (!graphics.CreateFromHDC(back)) return;
    StrokeRoundRect(graphics, 0, 0, static_cast<float>(r.right - 1),
                    static_cast<float>(r.bottom - 1), 5, Argb(0x000000, 40));
    StrokeRoundRect(graphics, 1, 1, static_cast<float>(r.right - 3),
                    static_cast<float>(r.bottom - 3), 3, Argb(0xFFFFFF, 100));
}

// The group box's double frame, starting 5 pixels down, and its caption on a
// gap that hides the frame lines behind it.
void DrawGroupBoxFrame(const ContainerRecord& container, HDC back) {
    HWND box = container.Handle;
    RECT r{};
    dll::GetClientRect(box, &r);
    const std::string text = ControlWindowText(box);
    const int tw = text.empty() ? 0
                                : MeasureTextWidth(text, container.FaceName, container.FontSize,
                                                   container.FontStyle);
    const float w = static_cast<float>(tw), h = static_cast<float>(container.FontSize + 3);
    float x;
    switch (dll::GetWindowLongA(box, GWL_STYLE) & 0x300) {
        case BS_CENTER: x = (static_cast<float>(r.right) - w) / 2; break;
        case BS_LEFT: x = 10; break;
        // BS_RIGHT, and no alignment bits at all: the caption sits on the right.
        default: x = static_cast<float>(r.right) - w - 10; break;
    }
    const float y = 1;
    {
        GdipGraphics graphics;
        if (!graphics.CreateFromHDC(back)) return;
        StrokeRoundRect(graphics, 0, 5, static_cast<float>(r.right - 1),
                        static_cast<float>(r.bottom - 6), 5, Argb(0x000000, 40));
        StrokeRoundRect(graphics, 1, 6, static_cast<float>(r.right - 3),
                        static_cast<float>(r.bottom - 8), 3, Argb(0xFFFFFF, 90));
    }
    if (text.empty()) return;
    const RECT gap{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + w),
                   static_cast<LONG>(y + h)};
    PaintBackdropRect(box, back, gap);
    GdipGraphics graphics;
    if (!graphics.CreateFromHDC(back)) return;
    GdipFont font;
    GdipStringFormat format;
    GdipSolidBrush ink;
    format.Create(0, 0);
    format.SetAlignment(gp::StringAlignmentCenter);
    ink.Create(ArgbFromColorRef(static_cast<COLORREF>(GetPropValue(box, kPropTextColour)), 0,
                                false));
    if (font.CreateFromName(container.FaceName, static_cast<float>(container.FontSize),
                            container.FontStyle, gp::UnitWorld))
        graphics.DrawString(text, font, ink, gp::RectF(x, y, w, h), &format);
}

// The container's image: backdrop (with its tint) and frame or border.
HDC ComposeContainer(const ContainerRecord& container, const RECT& r) {
    HDC back = CreateBackdropDC(container.Handle, r);
    if (!back) return nullptr;
    if (container.IsGroupBox)
        DrawGroupBoxFrame(container, back);
    else if (container.RoundedBorder)
        DrawRoundedBorder(back, r);
    return back;
}

// The ordinary paint: the image copied around the opaque children, then the
// transparent children asked to paint over it.
void RepaintContainer(int n, int k, HWND window) {
    ContainerRecord* container = ContainerOf(n, k);
    if (!container) return;
    RECT r{};
    dll::GetClientRect(window, &r);
    HDC back = ComposeContainer(*container, r);
    if (!back) return;
    HDC dc = GetDCExcludingOpaqueChildren(window);
    if (dc) {
        dll::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, back, r.left, r.top,
                    SRCCOPY);
        dll::ReleaseDC(window, dc);
    }
    ReleaseBackdropDC(back);
    HWND child = nullptr;
    while ((child = dll::FindWindowExA(window, child, nullptr, nullptr)) != nullptr)
        if (IsTransparentWindow(child)) dll::InvalidateRect(child, nullptr, FALSE);
}

void LayoutContainerDockedChildren(const ContainerRecord& container) {
    RECT r{};
    dll::GetClientRect(container.Handle, &r);
    for (const DockedChild& child : container.DockedChildren)
        if (child.Handle)
            dll::MoveWindow(child.Handle, 2, child.Top, r.right - 4, r.bottom - child.Top, TRUE);
}

// The two control-colour replies. The previous reply's brush and bitmap are
// freed first, so one pair at most lives per control.
LRESULT TransparentReply(HDC dc, HWND control) {
    dll::SetTextColor(dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColour)));
    dll::SetBkMode(dc, TRANSPARENT);
    FreeControlColourBrush(control);
    HGDIOBJ brush = dll::GetStockObject(NULL_BRUSH);
    SetPropValue(control, kPropColourBrush, reinterpret_cast<INT_PTR>(brush));
    return reinterpret_cast<LRESULT>(brush);
}

LRESULT VeiledReply(HDC dc, HWND control) {
    dll::SetTextColor(dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColour)));
    dll::SetBkMode(dc, TRANSPARENT);
    FreeControlColourBrush(control);
    HBITMAP bitmap = CreateVeiledBackdropBitmap(control);
    HBRUSH brush = bitmap ? dll::CreatePatternBrush(bitmap) : nullptr;
    SetPropValue(control, kPropColourBrush, reinterpret_cast<INT_PTR>(brush));
    SetPropValue(control, kPropColourBrushBitmap, reinterpret_cast<INT_PTR>(bitmap));
    return reinterpret_cast<LRESULT>(brush);
}

bool ControlsTransparent() { return SkinControls && TransparentControls; }

LRESULT OnPaint(HWND window, int n, int k, ContainerRecord& container, WPARAM wParam,
                LPARAM lParam) {
    if (!container.SkinPainted) return PassToPreviousProc(window, WM_PAINT, wParam, lParam);
    PAINTSTRUCT paint{};
    HDC dc = dll::BeginPaint(window, &paint);
    if (container.RepaintPending)
        PaintContainer(n, k, dc);
    else
        RepaintContainer(n, k, window);
    dll::EndPaint(window, &paint);
    return dll::DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    if (ControlsTransparent() && lParam) {
        auto control = reinterpret_cast<HWND>(lParam);
        const int code = HIWORD(wParam);
        const std::string cls = GetClassNameText(control);
        bool repaint = false;
        if (cls == "Edit")
            repaint = code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE ||
                      code == EN_UPDATE;
        else if (cls == "ListBox")
            repaint = code == LBN_SELCHANGE || code == LBN_SELCANCEL;
        else if (cls == "ComboBox")
            repaint = code == CBN_KILLFOCUS || code == CBN_SELCHANGE;
        if (repaint) dll::InvalidateRect(control, nullptr, TRUE);
    }
    return PassToPreviousProc(window, WM_COMMAND, wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------------------

void WindowSkin::SkinContainer(HWND container, std::optional<int> skinPainted,
                               COLORREF tintColour, std::optional<int> tintAlpha,
                               std::optional<int> roundedBorder) {
    InstallContainer(container, skinPainted.value_or(1), tintColour, tintAlpha.value_or(255),
                     roundedBorder.value_or(0));
}

void InstallContainer(HWND handle, int skinPainted, COLORREF tintColour, int tintAlpha,
                      int roundedBorder) {
    if (!handle || !::IsWindow(handle)) return;
    const int n = FindSkinnedAncestor(handle);
    WindowRecord* window = RecordOf(n);
    if (!window) return;
    if (FindContainerNumber(n, handle) > 0) return;
    auto record = std::make_unique<ContainerRecord>();
    ContainerRecord* c = record.get();
    c->Handle = handle;
    const int k = window->Containers.Choose(std::move(record));
    c->TintColour = tintColour;
    c->TintAlpha = static_cast<BYTE>(tintAlpha & 0xFF);
    c->RoundedBorder = roundedBorder;
    c->SkinPainted = skinPainted;
    if (IsGroupBoxButton(handle)) {
        c->IsGroupBox = 1;
        ControlFont font = ReadControlFont(handle);
        c->FaceName = font.FaceName;
        c->FontSize = font.Size;
        c->FontStyle = font.Style;
    }
    SkinChildControls(n, handle);
    c->RepaintPending = 1;
    c->PreviousProc = reinterpret_cast<WNDPROC>(dll::SetWindowLongPtrA(
        handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ContainerProc)));
    SetPropValue(handle, kPropPreviousProc, reinterpret_cast<INT_PTR>(c->PreviousProc));
    SetPropValue(handle, kPropNumber, k);
    SetPropValue(handle, kPropOwnerNumber, n);
    SetPropValue(handle, kPropContainerHost, reinterpret_cast<INT_PTR>(FindHostAncestor(handle)));
}

void PaintContainer(int n, int k, HDC dc) {
    ContainerRecord* container = ContainerOf(n, k);
    if (!container || !container->Handle) return;
    HWND window = container->Handle;
    RECT r{};
    dll::GetClientRect(window, &r);
    HDC back = ComposeContainer(*container, r);
    if (!back) return;
    HDC own = nullptr;
    if (!dc) dc = own = GetDCExcludingOpaqueChildren(window);
    if (dc) dll::BitBlt(dc, 0, 0, r.right, r.bottom, back, 0, 0, SRCCOPY);
    if (own) dll::ReleaseDC(window, own);
    container->RepaintPending = 0;
    ReleaseBackdropDC(back);
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int n = static_cast<int>(GetPropValue(window, kPropOwnerNumber));
    const int k = static_cast<int>(GetPropValue(window, kPropNumber));
    ContainerRecord* container = ContainerOf(n, k);
    if (!container || container->Handle != window) return PassToPreviousProc(window, message, wParam, lParam);
    switch (message) {
        case WM_MOVE:
            if (container->SkinPainted && container->TintAlpha != 255)
                dll::InvalidateRect(window, nullptr, FALSE);
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_SIZE:
            container->RepaintPending = 1;
            LayoutContainerDockedChildren(*container);
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_PAINT: return OnPaint(window, n, k, *container, wParam, lParam);
        case WM_ERASEBKGND:
            if (!container->SkinPainted) return PassToPreviousProc(window, message, wParam, lParam);
            dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_SHOWWINDOW:
            if (wParam != 1) return PassToPreviousProc(window, message, wParam, lParam);
            PassToPreviousProc(window, message, wParam, lParam);
            if (container->SkinPainted) PaintContainer(n, k, nullptr);
            return dll::DefWindowProcA(window, message, wParam, lParam);
        case WM_DRAWITEM:
            if (lParam) {
                const DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                DrawButtonItem(n, item);
            }
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_NOTIFY:
            if (lParam) {
                const NMHDR header = *reinterpret_cast<const NMHDR*>(lParam);
                if (header.code == TVN_ITEMEXPANDINGA || header.code == TVN_ITEMEXPANDEDA)
                    dll::InvalidateRect(header.hwndFrom, nullptr, TRUE);
            }
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_COMMAND: return OnCommand(window, wParam, lParam);
        case WM_CTLCOLOREDIT: {
            auto control = reinterpret_cast<HWND>(lParam);
            if (GetClassNameText(dll::GetParent(control)) != "ComboBox" && ControlsTransparent())
                return VeiledReply(reinterpret_cast<HDC>(wParam), control);
            return PassToPreviousProc(window, message, wParam, lParam);
        }
        case WM_CTLCOLORLISTBOX: {
            auto control = reinterpret_cast<HWND>(lParam);
            if (SkinControls && GetClassNameText(control) == "ListBox" &&
                !IsOwnerDrawListBox(control) && TransparentControls)
                return TransparentReply(reinterpret_cast<HDC>(wParam), control);
            return PassToPreviousProc(window, message, wParam, lParam);
        }
        case WM_CTLCOLORBTN:
            if (ControlsTransparent())
                return TransparentReply(reinterpret_cast<HDC>(wParam),
                                        reinterpret_cast<HWND>(lParam));
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            if (ControlsTransparent())
                return VeiledReply(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_DESTROY:
            // The children still exist here: the brushes of their last colour
            // replies are freed while their handles are valid.
            FreeChildColourBrushes(window);
            FreeControlColourBrush(window);
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_NCDESTROY:
            // The container goes: its subclassing and properties go with it,
            // and its record no longer names the handle.
            ::RemovePropA(window, kPropContainerHost);
            return UnregisterControl(window, ContainerProc, container, RecordOf(n), -1, wParam,
                                     lParam);
        default: return PassToPreviousProc(window, message, wParam, lParam);
    }
}

}  // namespace vostrel::skin
