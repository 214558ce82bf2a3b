// The skin of list boxes, drop-down lists, list views, tree views, IP-address
// and date-time controls.
//
// The system keeps drawing the items and the scroll bars; the skin draws the
// border ring over the window backdrop (a thin frame that turns to the theme
// colour on focus and to a double-width theme frame on hover), and, when
// controls are transparent, has list boxes, list views and tree views paint
// into a veiled copy of the window image that is then copied in one piece.
// Tree views paint on a magenta background (the colour key), which the copy
// onto the veiled image leaves out.
#include "skin/controls/scrolled_controls.h"

#include <commctrl.h>

#include <memory>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/core/frame_geometry.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

// The colour key of every transparent copy here (and the tree view's
// background while controls are transparent).
constexpr COLORREF kColourKey = 0x00FF00FF;
constexpr gp::ARGB kOpaqueKey = 0xFFFF00FF;

// What a control of the list is, read from its class once per message.
enum class ListKind { ListBox, ComboList, ListView, TreeView, IpAddress, DateTime, Other };

ListKind KindOf(HWND control) {
    const std::string name = GetClassNameText(control);
    if (name == "ListBox") return ListKind::ListBox;
    if (name == "ComboLBox") return ListKind::ComboList;
    if (name == "SysListView32") return ListKind::ListView;
    if (name == "SysTreeView32") return ListKind::TreeView;
    if (name == "SysIPAddress32") return ListKind::IpAddress;
    if (name == "SysDateTimePick32") return ListKind::DateTime;
    return ListKind::Other;
}

bool HasScrollBars(HWND control) {
    return (dll::GetWindowLongA(control, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

// A region (screen coordinates) of the control's scroll bars, the vertical
// one reaching down over the corner box when both exist; nullptr when it has
// none. The caller deletes it.
HRGN ScrollBarRegion(HWND control) {
    const LONG style = dll::GetWindowLongA(control, GWL_STYLE);
    SCROLLBARINFO horizontal{}, vertical{};
    horizontal.cbSize = vertical.cbSize = sizeof(SCROLLBARINFO);
    const bool hasH = (style & WS_HSCROLL) && dll::GetScrollBarInfo(control, OBJID_HSCROLL, &horizontal);
    const bool hasV = (style & WS_VSCROLL) && dll::GetScrollBarInfo(control, OBJID_VSCROLL, &vertical);
    HRGN region = nullptr;
    if (hasH) region = dll::CreateRectRgnIndirect(&horizontal.rcScrollBar);
    if (hasV) {
        RECT r = vertical.rcScrollBar;
        if (hasH) r.bottom += horizontal.rcScrollBar.bottom - horizontal.rcScrollBar.top;
        HRGN v = dll::CreateRectRgnIndirect(&r);
        if (!region) return v;
        if (v) {
            dll::CombineRgn(region, region, v, RGN_OR);
            dll::DeleteObject(v);
        }
    }
    return region;
}

WindowRecord& OwnerOf(int n) { return *RecordOf(n); }

int PositionOf(HWND control) { return static_cast<int>(GetPropValue(control, kPropNumber)); }

RECT ClientRectOf(HWND control) {
    RECT r{};
    dll::GetClientRect(control, &r);
    return r;
}

// --- client painting of transparent controls ----------------------------------

// The tree paints on its magenta background into a memory DC; the copy onto
// the veiled window image skips the magenta, so the items lie on the image.
LRESULT PaintTransparentTree(HWND control) {
    const RECT client = ClientRectOf(control);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return dll::DefWindowProcA(control, WM_PAINT, 0, 0);
    HDC veil = VeiledClientBackdrop(control);
    if (!veil) return PassToPreviousProc(control, WM_PAINT, 0, 0);
    HDC image = CreateBackdropDC(control, client);
    if (!image) {
        ReleaseBackdropDC(veil);
        return PassToPreviousProc(control, WM_PAINT, 0, 0);
    }
    // Where the tree leaves its background unpainted the key shows, not the
    // backdrop that the memory DC started with.
    if (HBRUSH key = dll::CreateSolidBrush(kColourKey)) {
        ::FillRect(image, &client, key);
        dll::DeleteObject(key);
    }
    PassToPreviousProc(control, WM_PAINT, reinterpret_cast<WPARAM>(image), 0);
    dll::TransparentBlt(veil, 0, 0, w, h, image, 0, 0, w, h, kColourKey);
    if (HDC screen = GetDCExcludingOpaqueChildren(control)) {
        dll::BitBlt(screen, 0, 0, w, h, veil, 0, 0, SRCCOPY);
        dll::ReleaseDC(control, screen);
    }
    ReleaseBackdropDC(image);
    ReleaseBackdropDC(veil);
    // Validates the control: everything was painted.
    return dll::DefWindowProcA(control, WM_PAINT, 0, 0);
}

// The list paints into the veiled image, which goes to the paint DC in one
// piece. The paint is ended as it was begun, so the caret comes back and the
// update region is validated.
LRESULT PaintTransparentList(HWND control) {
    const RECT client = ClientRectOf(control);
    HDC veil = VeiledClientBackdrop(control);
    if (!veil) return PassToPreviousProc(control, WM_PAINT, 0, 0);
    PAINTSTRUCT paint{};
    HDC dc = dll::BeginPaint(control, &paint);
    PassToPreviousProc(control, WM_PAINT, reinterpret_cast<WPARAM>(veil), 0);
    if (dc) {
        dll::BitBlt(dc, 0, 0, client.right, client.bottom, veil, 0, 0, SRCCOPY);
        dll::EndPaint(control, &paint);
    }
    ReleaseBackdropDC(veil);
    // A list view's header lies on the list: it paints again over the copy.
    InvalidateVisibleChildren(control);
    return 0;
}

// --- messages --------------------------------------------------------------------

LRESULT OnInvalidatingMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (TransparentControls) dll::InvalidateRect(control, nullptr, TRUE);
    return PassToPreviousProc(control, message, wParam, lParam);
}

LRESULT OnFocusChange(HWND control, int n, ScrolledControlRecord& record, UINT message,
                      WPARAM wParam, LPARAM lParam) {
    record.Focused = message == WM_SETFOCUS ? 1 : 0;
    PaintScrolledFrame(n, PositionOf(control));
    return PassToPreviousProc(control, message, wParam, lParam);
}

LRESULT OnPaint(HWND control, int n, WPARAM wParam, LPARAM lParam) {
    PaintScrolledFrame(n, PositionOf(control));
    if (TransparentControls) {
        switch (KindOf(control)) {
            case ListKind::TreeView: return PaintTransparentTree(control);
            case ListKind::ListBox:
            case ListKind::ListView: return PaintTransparentList(control);
            default: break;
        }
    }
    return PassToPreviousProc(control, WM_PAINT, wParam, lParam);
}

LRESULT OnEraseBackground(HWND control, WPARAM wParam, LPARAM lParam) {
    if (!TransparentControls) return PassToPreviousProc(control, WM_ERASEBKGND, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    switch (KindOf(control)) {
        case ListKind::ListBox:
            if (IsOwnerDrawListBox(control)) break;
            [[fallthrough]];
        case ListKind::ListView:
        case ListKind::TreeView:
            // The paint that follows covers everything with the veiled image.
            dll::SetBkMode(dc, TRANSPARENT);
            return 1;
        case ListKind::IpAddress:
        case ListKind::DateTime: {
            dll::SetBkMode(dc, TRANSPARENT);
            const RECT client = ClientRectOf(control);
            if (HDC veil = VeiledClientBackdrop(control)) {
                dll::BitBlt(dc, 0, 0, client.right, client.bottom, veil, 0, 0, SRCCOPY);
                ReleaseBackdropDC(veil);
            }
            return static_cast<LRESULT>(dll::SetTextColor(
                dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColour))));
        }
        default: break;
    }
    return PassToPreviousProc(control, WM_ERASEBKGND, wParam, lParam);
}

// The frame is the skin's; the system paints only the scroll bars (or, for a
// control without them, what it makes of an all-ones region).
LRESULT OnNonClientPaint(HWND control, int n) {
    PaintScrolledFrame(n, PositionOf(control));
    if (HasScrollBars(control)) {
        if (HRGN region = ScrollBarRegion(control)) {
            const LRESULT result =
                dll::DefWindowProcA(control, WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
            dll::DeleteObject(region);
            return result;
        }
    }
    return dll::DefWindowProcA(control, WM_NCPAINT, static_cast<WPARAM>(0xFFFFFFFFu), 0);
}

LRESULT OnKeyDown(HWND control, ScrolledControlRecord& record, WPARAM wParam, LPARAM lParam) {
    if (wParam >= VK_LEFT && wParam <= VK_DOWN) {
        record.ArrowKeyDown = 1;
        if (TransparentControls) ::PostMessageA(control, kScrolledRepaint, 0, 0);
    }
    return PassToPreviousProc(control, WM_KEYDOWN, wParam, lParam);
}

bool AnyMouseButtonDown() {
    for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2})
        if (::GetKeyState(button) & 0x8000) return true;
    return false;
}

// Only the capture that came with an arrow key goes: a drag-select holds the
// capture with a button down, and releasing Ctrl or Shift must not end it.
LRESULT OnKeyUp(HWND control, ScrolledControlRecord& record, WPARAM wParam, LPARAM lParam) {
    if (record.ArrowKeyDown && !AnyMouseButtonDown() && ::GetCapture() == control)
        dll::ReleaseCapture();
    record.ArrowKeyDown = 0;
    return PassToPreviousProc(control, WM_KEYUP, wParam, lParam);
}

LRESULT OnMouseMove(HWND control, int n, ScrolledControlRecord& record, WPARAM wParam,
                    LPARAM lParam) {
    WindowRecord& owner = OwnerOf(n);
    const int position = PositionOf(control);
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
    dll::TrackMouseEvent(&track);
    owner.PointerControl = position;
    if (position >= 1 && (owner.HotControl != owner.PointerControl || owner.HotFamily != kFamilyScrolled)) {
        record.Hover = 1;
        PaintScrolledFrame(n, position, 1);
        owner.HotControl = owner.PointerControl;
        owner.HotFamily = kFamilyScrolled;
    }
    return PassToPreviousProc(control, WM_MOUSEMOVE, wParam, lParam);
}

LRESULT OnMouseLeave(HWND control, int n, ScrolledControlRecord& record, WPARAM wParam,
                     LPARAM lParam) {
    OwnerOf(n).HotControl = 0;
    const int position = PositionOf(control);
    if (position >= 1) {
        record.Hover = 0;
        PaintScrolledFrame(n, position, 0);
    }
    return PassToPreviousProc(control, WM_MOUSELEAVE, wParam, lParam);
}

LRESULT OnRepaintRequest(HWND control, ScrolledControlRecord& record, WPARAM wParam,
                         LPARAM lParam) {
    if (TransparentControls && record.ArrowKeyDown == 1)
        dll::InvalidateRect(control, nullptr, FALSE);
    return PassToPreviousProc(control, kScrolledRepaint, wParam, lParam);
}

// The control goes: its procedure and properties go back to what they were,
// and its record no longer names it (a later window may get the same handle).
LRESULT OnNonClientDestroy(HWND control, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    ScrolledControlRecord* record = FindScrolledControl(control, &n);
    return UnregisterControl(control, ScrolledControlProc, record, RecordOf(n), kFamilyScrolled,
                             wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------------------

ScrolledControlRecord* FindScrolledControl(HWND control, int* n) {
    return FindRegisteredControl<ScrolledControlRecord>(control, &WindowRecord::ScrolledControls, n);
}

LRESULT CALLBACK ScrolledControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) return OnNonClientDestroy(window, wParam, lParam);
    int n = 0;
    ScrolledControlRecord* record = FindScrolledControl(window, &n);
    if (!record) return PassToPreviousProc(window, message, wParam, lParam);
    switch (message) {
        case WM_MOVE: return OnInvalidatingMessage(window, message, wParam, lParam);
        case WM_SETFOCUS:
        case WM_KILLFOCUS: return OnFocusChange(window, n, *record, message, wParam, lParam);
        case WM_PAINT: return OnPaint(window, n, wParam, lParam);
        case WM_ERASEBKGND: return OnEraseBackground(window, wParam, lParam);
        case WM_NCPAINT: return OnNonClientPaint(window, n);
        case WM_KEYDOWN: return OnKeyDown(window, *record, wParam, lParam);
        case WM_KEYUP: return OnKeyUp(window, *record, wParam, lParam);
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL: return OnInvalidatingMessage(window, message, wParam, lParam);
        case WM_MOUSEMOVE: return OnMouseMove(window, n, *record, wParam, lParam);
        case WM_MOUSELEAVE: return OnMouseLeave(window, n, *record, wParam, lParam);
        case kScrolledRepaint: return OnRepaintRequest(window, *record, wParam, lParam);
        default: return PassToPreviousProc(window, message, wParam, lParam);
    }
}

void PaintScrolledFrame(int n, int position, std::optional<int> hover, std::optional<int> focused) {
    WindowRecord* owner = RecordOf(n);
    if (!owner) return;
    auto* record = owner->ScrolledControls.Get<ScrolledControlRecord>(position);
    if (!record || !record->Handle) return;
    HWND control = record->Handle;
    // A list without a border, and the list of a simple combo box (whose
    // combo box draws around it), get no frame: nothing of theirs is drawn.
    if (!HasBorder(control) || KindOf(control) == ListKind::ComboList) return;
    const int isHover = hover.value_or(record->Hover);
    const int isFocused = focused.value_or(record->Focused);

    RECT window{};
    dll::GetWindowRect(control, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    const RECT inner = InnerFrameRect(control);
    HDC back = CreateBackdropDC(control, RECT{0, 0, w, h});
    if (!back) return;
    {
        BackdropSurface surface(back);
        GdipGraphics& graphics = surface.Graphics();
        const float fw = static_cast<float>(w), fh = static_cast<float>(h);
        const int iw = inner.right - inner.left, ih = inner.bottom - inner.top;
        // The border ring: white, veiled when controls are transparent.
        graphics.SetClipRectI(0, 0, w, h, gp::CombineModeReplace);
        graphics.SetClipRectI(inner.left, inner.top, iw, ih, gp::CombineModeXor);
        if (TransparentControls) {
            GdipSolidBrush veil;
            if (veil.Create(ArgbFromColorRef(0xFFFFFF, VeilAlpha, true)))
                graphics.FillRectangle(veil, 0, 0, fw, fh);
        } else {
            graphics.Clear(0xFFFFFFFF);
        }
        graphics.ResetClip();
        // The inner area is the system's: the key keeps it out of the copy.
        graphics.SetClipRectI(inner.left, inner.top, iw, ih, gp::CombineModeReplace);
        graphics.Clear(kOpaqueKey);
        graphics.ResetClip();
        GdipPen pen;
        if (isHover) {
            if (pen.Create(ArgbFromColorRef(ThemeColour, 200, true), 2.0f))
                graphics.DrawRectangle(pen, 1, 1, fw - 2, fh - 2);
        } else if (isFocused) {
            if (pen.Create(ArgbFromColorRef(ThemeColour, 200, true), 1.0f))
                graphics.DrawRectangle(pen, 0, 0, fw - 1, fh - 1);
        } else {
            if (pen.Create(ArgbFromColorRef(0x000000, 90, true), 1.0f))
                graphics.DrawRectangle(pen, 0, 0, fw - 1, fh - 1);
        }
    }
    if (HDC dc = dll::GetWindowDC(control)) {
        dll::ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
        dll::TransparentBlt(dc, 0, 0, w, h, back, 0, 0, w, h, kColourKey);
        dll::ReleaseDC(control, dc);
    }
    ReleaseBackdropDC(back);
}

void PaintScrolledControlOnce(HWND control) {
    if (!FindScrolledControl(control)) return;
    ::RedrawWindow(control, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------

void InstallScrolledControls(int n, HWND parent) {
    WindowRecord* owner = RecordOf(n);
    if (!SkinControls || !owner || !parent) return;
    // A control walked a second time keeps its one record: subclassing it
    // again would make this procedure its own previous procedure.
    auto take = [&](HWND control) {
        if (owner->ScrolledControls.Find(control) != 0) return;
        auto fresh = std::make_unique<ScrolledControlRecord>();
        ScrolledControlRecord* record = fresh.get();
        const int position = owner->ScrolledControls.Choose(std::move(fresh));
        RegisterControl(n, position, *record, control, ScrolledControlProc);
    };
    auto styleOf = [](HWND control) { return dll::GetWindowLongA(control, GWL_STYLE); };

    WalkChildren(parent, "ListBox", take);
    // The list of a combo box, when it is a child of the combo box (the
    // simple style) and its items are not drawn by the owner.
    WalkChildren(parent, "ComboBox", [&](HWND combo) {
        HWND list = dll::FindWindowExA(combo, nullptr, "ComboLBox", nullptr);
        if (list && !(styleOf(list) & LBS_OWNERDRAWFIXED)) take(list);
    });
    WalkChildren(parent, "SysListView32", [&](HWND view) {
        if (styleOf(view) & LVS_SORTASCENDING) return;
        if (owner->ScrolledControls.Find(view) != 0) return;
        if (TransparentControls) dll::SendMessageA(view, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
        take(view);
    });
    WalkChildren(parent, "SysTreeView32", [&](HWND tree) {
        if (owner->ScrolledControls.Find(tree) != 0) return;
        if (TransparentControls) dll::SendMessageA(tree, TVM_SETBKCOLOR, 0, kColourKey);
        take(tree);
    });
    WalkChildren(parent, "SysIPAddress32", take);
    WalkChildren(parent, "SysDateTimePick32", take);
}

}  // namespace vostrel::skin
