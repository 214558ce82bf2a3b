// The other common controls (month calendars, tabs, tool bars, status bars,
// rich edits): SkinCommonControls lays a tint and a colour key over them.
#include "skin/controls/common_controls.h"

#include <memory>
#include <string>

#include "skin/controls/child_controls.h"
#include "skin/core/frame_geometry.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

// Classes whose procedure paints into the DC given in WM_PAINT's wParam.
bool PaintsIntoGivenDc(const std::string& cls) {
    static const char* const kClasses[] = {"SysMonthCal32",      "SysTabControl32",
                                           "ToolbarWindow32",    "msctls_statusbar32",
                                           "Button",             "msctls_trackbar32"};
    for (const char* name : kClasses)
        if (lstrcmpiA(cls.c_str(), name) == 0) return true;
    return false;
}

bool IsRichEdit(const std::string& cls) {
    return lstrcmpiA(cls.c_str(), "RichEdit20A") == 0 || lstrcmpiA(cls.c_str(), "RichEdit20W") == 0;
}

WNDPROC PreviousProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropValue(window, kPropOtherPreviousProc));
}

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = PreviousProcOf(window);
    if (!previous) return dll::DefWindowProcA(window, message, wParam, lParam);
    return dll::CallWindowProcA(previous, window, message, wParam, lParam);
}

// The class paints its whole client area into a backdrop copy; the copy goes
// over the veiled backdrop with the key colour left out, then to the screen.
LRESULT PaintThroughBackdrop(HWND window, const OtherControlRecord& record, LPARAM lParam) {
    const RECT r = ClientRectInWindow(window);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC back = w > 0 && h > 0 ? CreateBackdropDC(window, r) : nullptr;
    // Nothing to lay the control over: it paints itself as it would unskinned.
    if (!back) return PassOn(window, WM_PAINT, 0, lParam);
    PAINTSTRUCT paint{};
    HDC dc = dll::BeginPaint(window, &paint);
    const LRESULT result = PassOn(window, WM_PAINT, reinterpret_cast<WPARAM>(back), lParam);
    if (HDC veil = VeiledClientBackdrop(window)) {
        dll::TransparentBlt(veil, 0, 0, w, h, back, 0, 0, w, h, record.ColourKey);
        if (dc) dll::BitBlt(dc, 0, 0, w, h, veil, 0, 0, SRCCOPY);
        ReleaseBackdropDC(veil);
    }
    ReleaseBackdropDC(back);
    dll::EndPaint(window, &paint);
    return result;
}

// Classes that paint on the screen themselves (rich edits): what they have
// painted in the update rectangle is copied over the backdrop with the key
// colour left out, and the result goes back to the screen.
LRESULT PaintOverBackdrop(HWND window, const OtherControlRecord& record, WPARAM wParam,
                          LPARAM lParam) {
    RECT update{};
    if (!dll::GetUpdateRect(window, &update, FALSE))
        return PassOn(window, WM_PAINT, wParam, lParam);
    const int w = update.right - update.left, h = update.bottom - update.top;
    const RECT client = ClientRectInWindow(window);
    const RECT inWindow{client.left + update.left, client.top + update.top,
                        client.left + update.right, client.top + update.bottom};
    HDC back = CreateBackdropDC(window, inWindow);
    if (!back) return PassOn(window, WM_PAINT, wParam, lParam);
    const LRESULT result = PassOn(window, WM_PAINT, reinterpret_cast<WPARAM>(back), lParam);
    // A class that ignored the message leaves no paint pending behind it.
    ::ValidateRect(window, &update);
    if (HDC dc = dll::GetDC(window)) {
        dll::TransparentBlt(back, 0, 0, w, h, dc, update.left, update.top, w, h,
                            record.ColourKey);
        dll::BitBlt(dc, update.left, update.top, w, h, back, 0, 0, SRCCOPY);
        dll::ReleaseDC(window, dc);
    }
    ReleaseBackdropDC(back);
    InvalidateVisibleChildren(window);
    return result;
}

LRESULT OnPaint(HWND window, const OtherControlRecord& record, WPARAM wParam, LPARAM lParam) {
    if (!SkinControls) return PassOn(window, WM_PAINT, wParam, lParam);
    if (PaintsIntoGivenDc(GetClassNameText(window)))
        return PaintThroughBackdrop(window, record, lParam);
    return PaintOverBackdrop(window, record, wParam, lParam);
}

// The subclassing ends with the window: the previous procedure is given back
// (unless another procedure was laid over this one since) and the properties
// go; the record keeps its position but no longer names the handle.
LRESULT OnNcDestroy(HWND window, OtherControlRecord* record, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = PreviousProcOf(window);
    if (reinterpret_cast<WNDPROC>(dll::GetWindowLongPtrA(window, GWLP_WNDPROC)) ==
            OtherControlProc &&
        previous)
        dll::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    ::RemovePropA(window, kPropOtherNumber);
    ::RemovePropA(window, kPropOtherOwnerNumber);
    ::RemovePropA(window, kPropOtherPreviousProc);
    if (record) record->Handle = nullptr;
    if (!previous) return dll::DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
    return dll::CallWindowProcA(previous, window, WM_NCDESTROY, wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------------------

OtherControlRecord* FindOtherControlRecord(HWND control) {
    if (!control) return nullptr;
    const int n = static_cast<int>(GetPropValue(control, kPropOtherOwnerNumber));
    const int k = static_cast<int>(GetPropValue(control, kPropOtherNumber));
    WindowRecord* window = RecordOf(n);
    if (!window) return nullptr;
    auto* record = window->OtherControls.Get<OtherControlRecord>(k);
    return record && record->Handle == control ? record : nullptr;
}

int WindowSkin::SkinCommonControls(HWND control, std::optional<COLORREF> colourKey,
                                   COLORREF tintColour, std::optional<int> tintAlpha) {
    if (!control || !::IsWindow(control)) return 0;
    const int n = FindSkinnedAncestor(control);
    WindowRecord* window = RecordOf(n);
    if (!window) return 0;
    const COLORREF key = colourKey.value_or(::GetSysColor(COLOR_BTNFACE));
    if (OtherControlRecord* taken = FindOtherControlRecord(control)) {
        // Taken before: subclassing it again would make this procedure its
        // own previous one. Only the key changes.
        taken->ColourKey = key;
    } else {
        auto made = std::make_unique<OtherControlRecord>();
        OtherControlRecord* record = made.get();
        const int k = window->OtherControls.Choose(std::move(made));
        record->Handle = control;
        record->ColourKey = key;
        record->PreviousProc = reinterpret_cast<WNDPROC>(dll::SetWindowLongPtrA(
            control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OtherControlProc)));
        SetPropValue(control, kPropOtherNumber, k);
        SetPropValue(control, kPropOtherOwnerNumber, n);
        SetPropValue(control, kPropOtherPreviousProc,
                     reinterpret_cast<INT_PTR>(record->PreviousProc));
    }
    if (!dll::FindWindowExA(control, nullptr, nullptr, nullptr)) return 0;
    SkinContainer(control, 0, tintColour, tintAlpha, std::nullopt);
    return 1;
}

LRESULT CALLBACK OtherControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    OtherControlRecord* record = FindOtherControlRecord(window);
    // Also when the window record went first: the properties still go.
    if (message == WM_NCDESTROY) return OnNcDestroy(window, record, wParam, lParam);
    if (!record) return PassOn(window, message, wParam, lParam);
    switch (message) {
        case WM_MOVE:
            if (TransparentControls) dll::InvalidateRect(window, nullptr, FALSE);
            return PassOn(window, message, wParam, lParam);
        case WM_PAINT: return OnPaint(window, *record, wParam, lParam);
        case WM_ERASEBKGND:
            if (!TransparentControls) return PassOn(window, message, wParam, lParam);
            dll::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_HSCROLL:
        case WM_VSCROLL:
            // A rich edit scrolls by moving its pixels, which would carry the
            // backdrop along with the text.
            if (IsRichEdit(GetClassNameText(window))) dll::InvalidateRect(window, nullptr, FALSE);
            return PassOn(window, message, wParam, lParam);
        default: return PassOn(window, message, wParam, lParam);
    }
}

void PaintOtherControlOnce(HWND control) {
    ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace vostrel::skin
