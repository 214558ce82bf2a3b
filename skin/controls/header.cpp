// The header control skin. HeaderProc draws every item itself, on WM_PAINT
// and whenever the hot or pressed item changes; the class procedure still
// gets every input message (clicks, column sizing, notifications to the
// parent). The class draws some of its looks straight away instead of
// through WM_PAINT (a pressed item, a hot item), so the skin repaints after
// it, not before.
#include "skin/controls/header.h"

#include <algorithm>
#include <memory>

#include "gdiplus/gdip.h"
#include "skin/controls/backdrop_surface.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

// The item fields read for drawing: width, text, format, lParam, bitmap and
// image (HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_BITMAP |
// HDI_IMAGE).
constexpr UINT kItemFields = 0x3F;
// The pixels at each item edge that belong to the divider, not the item.
constexpr int kDividerZone = 5;

gp::ARGB Argb(COLORREF colour, int alpha) { return ArgbFromColorRef(colour, alpha, true); }

HeaderRecord* FindHeaderRecord(HWND control, int* n = nullptr) {
    return FindRegisteredControl<HeaderRecord>(control, &WindowRecord::Headers, n);
}

HeaderRecord* HeaderAt(int n, int k) {
    WindowRecord* window = RecordOf(n);
    if (!window) return nullptr;
    auto* record = window->Headers.Get<HeaderRecord>(k);
    return record && record->Handle ? record : nullptr;
}

int PositionOf(HWND control) { return static_cast<int>(GetPropValue(control, kPropNumber)); }

int ItemCount(HWND header) {
    return std::max(0, static_cast<int>(dll::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)));
}

bool ItemRect(HWND header, int index, RECT& r) {
    r = RECT{};
    return dll::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(&r)) != 0;
}

void FillGradient(GdipGraphics& graphics, float w, float h, gp::ARGB from, gp::ARGB to) {
    GdipLinearGradientBrush brush;
    if (brush.Create(gp::PointF(0, 0), gp::PointF(0, h), from, to))
        graphics.FillRectangle(brush, 0, 0, w, h);
}

// The ground every item starts from: the white veil (opaque white when
// controls are not transparent) and the header's own gradient.
void DrawGround(GdipGraphics& graphics, float w, float h, bool buttons) {
    {
        GdipSolidBrush veil;
        if (veil.Create(TransparentControls ? Argb(0xFFFFFF, VeilAlpha)
                                            : ArgbFromColorRef(0xFFFFFF, 0, false)))
            graphics.FillRectangle(veil, 0, 0, w, h);
    }
    if (buttons)
        FillGradient(graphics, w, h, Argb(0xFFFFFF, 80), Argb(ThemeColour, 120));
    else
        FillGradient(graphics, w, h, Argb(ThemeColour, 60), Argb(ThemeColour, 10));
}

// What one item shows.
struct ItemFace {
    int index = 0;        // 1-based
    RECT rect{};          // in the header's client area, widened as drawn
    int format = 0;
    int image = -1;
    char text[260] = {};
};

// The start of the item's content (icon, then text) for its alignment.
int ContentStart(int format, int w, int iw, int tw, int margin) {
    const bool crowded = iw + margin + tw >= w;
    if (format & HDF_RIGHT) return crowded ? margin : w - iw - tw;
    if (format & HDF_CENTER) return crowded ? margin : (w - iw - margin - tw) / 2;
    return margin;
}

void DrawItem(HWND header, HDC target, const HeaderRecord& record, const ItemFace& item,
              HIMAGELIST images, int margin) {
    const RECT& r = item.rect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    HICON icon = nullptr;
    if ((item.format & HDF_IMAGE) && images && item.image >= 0)
        icon = dll::ImageList_GetIcon(images, item.image, ILD_TRANSPARENT);
    HDC back = CreateBackdropDC(header, r);
    if (back) {
        BackdropSurface surface(back);
        GdipGraphics& graphics = surface.Graphics();
        const float fw = static_cast<float>(w), fh = static_cast<float>(h);
        const bool buttons = record.Buttons != 0;
        DrawGround(graphics, fw, fh, buttons);
        if (buttons && record.Hover == 1 && item.index == record.HotItem)
            FillGradient(graphics, fw, fh, Argb(ThemeColour, 60), Argb(0x000000, 30));
        if (buttons && item.index == record.PressedItem)
            FillGradient(graphics, fw, fh, Argb(0x000000, 30), Argb(0xFFFFFF, 120));
        {
            // The divider fades from dark at the top to light at the bottom.
            GdipLinearGradientBrush ink;
            GdipPen divider;
            if (ink.Create(gp::PointF(fw - 1, 0), gp::PointF(fw - 1, fh), Argb(0x000000, 60),
                           Argb(0xFFFFFF, 50)) &&
                divider.CreateFromBrush(ink, 1.0f))
                graphics.DrawLine(divider, fw - 1, 0, fw - 1, fh);
        }
        GdipBitmap picture;
        int iw = 0, ih = 0;
        if (icon && picture.CreateFromHICON(icon)) {
            iw = static_cast<int>(picture.GetWidth());
            ih = static_cast<int>(picture.GetHeight());
        }
        const int tw = MeasureTextWidth(item.text, record.FaceName, record.FontSize,
                                        record.FontStyle);
        const int x0 = ContentStart(item.format, w, iw, tw, margin);
        if (iw > 0 && ih > 0)
            graphics.DrawImageRectRect(picture, static_cast<float>(x0),
                                       static_cast<float>((h - ih) / 2), static_cast<float>(iw),
                                       static_cast<float>(ih));
        const float layoutWidth = static_cast<float>(w - iw - 2 * margin);
        if (item.text[0] && layoutWidth > 0) {
            GdipFont font;
            GdipStringFormat format;
            GdipSolidBrush black;
            // One line that ends with an ellipsis when it does not fit: a
            // wrapped second line would show cut in half below the first.
            if (font.CreateFromName(record.FaceName, static_cast<float>(record.FontSize),
                                    record.FontStyle, gp::UnitWorld) &&
                format.Create(gp::StringFormatFlagsNoWrap) &&
                format.SetTrimming(gp::StringTrimmingEllipsisCharacter) &&
                black.Create(ArgbFromColorRef(0x000000, 0, false)))
                graphics.DrawString(item.text, font, black,
                                    gp::RectF(static_cast<float>(x0 + iw), 0, layoutWidth, fh),
                                    &format);
        }
    }
    if (icon) dll::DestroyIcon(icon);
    if (!back) return;
    dll::BitBlt(target, r.left, r.top, w, h, back, 0, 0, SRCCOPY);
    ReleaseBackdropDC(back);
}

// The part of the header right of its last item: the ground alone, so that
// nothing stale shows there (the class's own painting is suppressed).
void DrawEmptyGround(HWND header, HDC target, const RECT& r, bool buttons) {
    HDC back = CreateBackdropDC(header, r);
    if (!back) return;
    {
        BackdropSurface surface(back);
        DrawGround(surface.Graphics(), static_cast<float>(r.right - r.left),
                   static_cast<float>(r.bottom - r.top), buttons);
    }
    dll::BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, back, 0, 0, SRCCOPY);
    ReleaseBackdropDC(back);
}

void TakeHeader(int n, WindowRecord& owner, HWND header) {
    // A header walked a second time keeps its one record: subclassing it
    // again would make the skin its own previous procedure.
    if (FindControlRecord(owner.Headers, header) != 0) return;
    auto taken = std::make_unique<HeaderRecord>();
    HeaderRecord* h = taken.get();
    const int position = owner.Headers.Choose(std::move(taken));
    h->Buttons = (dll::GetWindowLongA(header, GWL_STYLE) & HDS_BUTTONS) ? 1 : 0;
    h->ImageList =
        reinterpret_cast<HIMAGELIST>(dll::SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    // Headers placed on a window read their font too: without a face GDI+
    // makes no font and their items would show no text.
    ControlFont font = ReadControlFont(header);
    h->FaceName = font.FaceName.empty() ? std::string("宋体") : font.FaceName;
    h->FontSize = font.Size == 0 ? 12 : font.Size;
    h->FontStyle = font.Style;
    RegisterControl(n, position, *h, header, HeaderProc);
    dll::InvalidateRect(header, nullptr, TRUE);
}

// --- messages ------------------------------------------------------------------

// The header goes: its subclassing goes with it. The previous procedure is
// put back (unless someone subclassed the header after the skin), the skin's
// properties are removed and the record no longer names the handle. The
// image list is left alone: the header never owned it, its list view or the
// application frees it.
LRESULT OnNonClientDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    HeaderRecord* record = FindHeaderRecord(window, &n);
    if (record) {
        record->ImageList = nullptr;
        record->Hover = record->HotItem = record->LastHotItem = 0;
        record->PressedItem = record->MouseDown = 0;
    }
    return UnregisterControl(window, HeaderProc, record, RecordOf(n), kFamilyHeaders, wParam,
                             lParam);
}

LRESULT OnPaint(HWND window, int n, WPARAM wParam, LPARAM lParam) {
    PAINTSTRUCT paint{};
    if (dll::BeginPaint(window, &paint)) {
        DrawHeader(n, PositionOf(window));
        dll::EndPaint(window, &paint);
    }
    return dll::DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

// Each item repaints its hot look once per entry of the pointer; the divider
// zone between items clears it. While the left button is held (a click or a
// column being sized) the hot look stays where it is.
LRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    dll::TrackMouseEvent(&track);
    const LRESULT result = PassToPreviousProc(window, WM_MOUSEMOVE, wParam, lParam);
    int n = 0;
    HeaderRecord* record = FindHeaderRecord(window, &n);
    if (!record) return result;
    WindowRecord& owner = *RecordOf(n);
    const int k = PositionOf(window);
    owner.PointerControl = k;
    owner.HotFamily = kFamilyHeaders;
    if (!record->MouseDown) {
        record->Hover = 1;
        record->HotItem = HitHeaderItem(n, k, lParam);
        if (record->HotItem >= 1 && record->HotItem != record->LastHotItem) {
            record->LastHotItem = record->HotItem;
            // Without HDS_BUTTONS there is no hot look to show.
            if (record->Buttons) DrawHeader(n, k);
        } else if (record->HotItem == 0) {
            const bool wasLit = record->LastHotItem != 0;
            record->LastHotItem = 0;
            record->Hover = 0;
            if (wasLit && record->Buttons) DrawHeader(n, k);
        }
    }
    owner.HotControl = owner.PointerControl;
    return result;
}

LRESULT OnButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HeaderRecord* record = FindHeaderRecord(window)) {
        if (message == WM_LBUTTONDOWN) {
            record->MouseDown = 1;
            if (record->HotItem >= 1) record->PressedItem = record->HotItem;
        } else {
            record->MouseDown = 0;
            record->PressedItem = 0;
        }
    }
    // The class draws its own pressed look at once, and the parent may act
    // on the click; the skin's look goes over whatever is left.
    const LRESULT result = PassToPreviousProc(window, message, wParam, lParam);
    int n = 0;
    if (HeaderRecord* record = FindHeaderRecord(window, &n); record && record->Buttons)
        DrawHeader(n, PositionOf(window));
    return result;
}

// A press that ends without a button-up (another window took the capture
// the class set on the button-down) leaves no pressed look behind.
LRESULT OnCaptureChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    bool ended = false;
    if (HeaderRecord* record = FindHeaderRecord(window)) {
        ended = record->MouseDown || record->PressedItem;
        record->MouseDown = 0;
        record->PressedItem = 0;
    }
    const LRESULT result = PassToPreviousProc(window, WM_CAPTURECHANGED, wParam, lParam);
    int n = 0;
    if (HeaderRecord* record = FindHeaderRecord(window, &n); ended && record && record->Buttons)
        DrawHeader(n, PositionOf(window));
    return result;
}

LRESULT OnMouseLeave(HWND window, WPARAM wParam, LPARAM lParam) {
    int n = 0;
    if (HeaderRecord* record = FindHeaderRecord(window, &n)) {
        RecordOf(n)->HotControl = 0;
        record->LastHotItem = record->HotItem = record->Hover = 0;
    }
    const LRESULT result = PassToPreviousProc(window, WM_MOUSELEAVE, wParam, lParam);
    if (FindHeaderRecord(window, &n)) DrawHeader(n, PositionOf(window));
    return result;
}

}  // namespace

// ---------------------------------------------------------------------------

void InstallHeaders(int n, HWND parent) {
    WindowRecord* record = RecordOf(n);
    if (!SkinControls || !record || !parent) return;
    WalkChildren(parent, "SysHeader32", [&](HWND child) { TakeHeader(n, *record, child); });
    // The column headers of list views: the only grandchildren taken here.
    WalkChildren(parent, "SysListView32", [&](HWND list) {
        if (HWND header = dll::FindWindowExA(list, nullptr, "SysHeader32", nullptr))
            TakeHeader(n, *record, header);
    });
}

LRESULT CALLBACK HeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) return OnNonClientDestroy(window, wParam, lParam);
    int n = 0;
    if (!FindHeaderRecord(window, &n)) return PassToPreviousProc(window, message, wParam, lParam);
    switch (message) {
        case WM_MOVE:
            DrawHeader(n, PositionOf(window));
            return PassToPreviousProc(window, message, wParam, lParam);
        case WM_PAINT: return OnPaint(window, n, wParam, lParam);
        case WM_ERASEBKGND:
            dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_MOUSEMOVE: return OnMouseMove(window, wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: return OnButton(window, message, wParam, lParam);
        case WM_CAPTURECHANGED: return OnCaptureChanged(window, wParam, lParam);
        case WM_MOUSELEAVE: return OnMouseLeave(window, wParam, lParam);
        default: return PassToPreviousProc(window, message, wParam, lParam);
    }
}

int HitHeaderItem(int n, int k, LPARAM lParam) {
    HeaderRecord* record = HeaderAt(n, k);
    if (!record) return 0;
    const int x = static_cast<short>(LOWORD(lParam));
    const int count = ItemCount(record->Handle);
    for (int i = 1; i <= count; ++i) {
        RECT r{};
        if (!ItemRect(record->Handle, i - 1, r)) continue;
        if (r.left + kDividerZone <= x && x <= r.right - kDividerZone) return i;
    }
    return 0;
}

void DrawHeader(int n, int k, HDC target) {
    HeaderRecord* record = HeaderAt(n, k);
    if (!record) return;
    HWND header = record->Handle;
    const int count = ItemCount(header);
    const int margin = static_cast<int>(dll::SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    // The list the header holds now: the one recorded when it was taken may
    // have been replaced, and freed, by its owner since.
    auto images = reinterpret_cast<HIMAGELIST>(dll::SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    record->ImageList = images;
    RECT client{};
    dll::GetClientRect(header, &client);
    // The last column of a list view reaches the list view's right edge.
    HWND parent = dll::GetParent(header);
    RECT listClient{};
    const bool inListView = parent && GetClassNameText(parent) == "SysListView32" &&
                            dll::GetClientRect(parent, &listClient);
    HDC dc = target ? target : dll::GetDC(header);
    if (!dc) return;
    int right = 0;
    auto item = std::make_unique<ItemFace>();
    for (int i = 1; i <= count; ++i) {
        *item = ItemFace{};
        item->index = i;
        if (!ItemRect(header, i - 1, item->rect)) continue;
        HDITEMA fields{};
        fields.mask = kItemFields;
        fields.pszText = item->text;
        fields.cchTextMax = sizeof item->text;
        if (dll::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i - 1),
                              reinterpret_cast<LPARAM>(&fields))) {
            item->format = fields.fmt;
            item->image = fields.iImage;
        }
        // Only the buffer is read: the class may leave pszText pointing
        // elsewhere (a callback item).
        item->text[sizeof item->text - 1] = '\0';
        if (i == count && inListView && item->rect.right < listClient.right)
            item->rect.right = listClient.right;
        if (item->rect.right <= item->rect.left || item->rect.bottom <= item->rect.top) continue;
        DrawItem(header, dc, *record, *item, images, margin);
        right = std::max(right, static_cast<int>(item->rect.right));
    }
    if (right < client.right && client.bottom > client.top)
        DrawEmptyGround(header, dc, RECT{right, client.top, client.right, client.bottom},
                        record->Buttons != 0);
    if (!target) dll::ReleaseDC(header, dc);
}

}  // namespace vostrel::skin
