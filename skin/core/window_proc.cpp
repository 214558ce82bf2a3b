// The window procedure of every skinned top-level window: it makes a
// frameless window behave like a framed one (caption drag, sizing margins,
// maximise that leaves the taskbar free, tracking limits), paints it from the
// composed image, drives the caption buttons (hover fades on the window's
// timer, pressed look, action on release), answers the control-colour
// messages so that child controls show the window image behind them, and
// tears the record down when the window dies. Every message that is not
// consumed goes on to the window's previous procedure.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gdiplus/dll.h"
#include "skin/controls/child_controls.h"
#include "skin/core/compose.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {
namespace {

// Fade timing: eight steps of 30 alpha, one every 20 ms.
constexpr UINT kFadeInterval = 20;
constexpr int kFadeSteps = 8;
constexpr int kFadeAlphaStep = 30;
constexpr int kFullHoverAlpha = kFadeSteps * kFadeAlphaStep;  // 240

// The fade timer of a window carries the window's own handle value as its
// identifier, so it can never collide with a timer of the application's.
UINT_PTR FadeTimerId(HWND window) { return reinterpret_cast<UINT_PTR>(window); }

// Windows between their WM_DESTROY and WM_NCDESTROY: their controls' colour
// brushes are already freed, and no new ones are made for them.
std::vector<HWND>& DyingWindows() {
    static std::vector<HWND> windows;
    return windows;
}
bool IsDying(HWND window) {
    const auto& dying = DyingWindows();
    return std::find(dying.begin(), dying.end(), window) != dying.end();
}

// The primary screen's work area: the maximised origin and size. Taken from
// the system rather than from the taskbar's height, so that a taskbar on the
// left, right or top edge is left free as well.
RECT WorkArea() {
    RECT area{};
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || area.right <= area.left ||
        area.bottom <= area.top)
        area = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

bool ClassIs(HWND window, const char* name) {
    return ::lstrcmpiA(GetClassNameText(window).c_str(), name) == 0;
}

// Passes a message on to the procedure the skin replaced.
LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto previous = reinterpret_cast<WNDPROC>(GetPropValue(window, kPropPreviousProc)))
        return dll::CallWindowProcA(previous, window, message, wParam, lParam);
    return dll::DefWindowProcA(window, message, wParam, lParam);
}

// One message to a skinned window, with the window's record.
struct Message {
    WindowSkin& skin;
    int n;
    WindowRecord& record;
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    int X() const { return static_cast<short>(LOWORD(lParam)); }
    int Y() const { return static_cast<short>(HIWORD(lParam)); }
    RECT Client() const {
        RECT r{};
        dll::GetClientRect(window, &r);
        return r;
    }
    // The record may be gone once an action has run (the close button
    // destroys the window): then there is nothing left to pass on to.
    LRESULT PassOn() const {
        if (!::IsWindow(window)) return 0;
        return skin::PassOn(window, message, wParam, lParam);
    }
    void DrawButton(int button, int hoverAlpha) const {
        skin.DrawCaptionButton(n, button, nullptr, false, false, hoverAlpha);
    }
};

// ---- Control-colour replies --------------------------------------------------

// Edits and static controls: a pattern brush of the window image behind the
// control under the veil. The brush and its bitmap stay on the control until
// its next reply or the window's destruction.
LRESULT VeiledReply(const Message& m) {
    const auto dc = reinterpret_cast<HDC>(m.wParam);
    const auto control = reinterpret_cast<HWND>(m.lParam);
    dll::SetTextColor(dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColour)));
    dll::SetBkMode(dc, TRANSPARENT);
    FreeControlColourBrush(control);
    HBITMAP bitmap = CreateVeiledBackdropBitmap(control);
    if (!bitmap) return m.PassOn();  // nothing skinned behind it
    HBRUSH brush = dll::CreatePatternBrush(bitmap);
    if (!brush) {
        dll::DeleteObject(bitmap);
        return m.PassOn();
    }
    SetPropValue(control, kPropColourBrushBitmap, reinterpret_cast<INT_PTR>(bitmap));
    SetPropValue(control, kPropColourBrush, reinterpret_cast<INT_PTR>(brush));
    return reinterpret_cast<LRESULT>(brush);
}

// List boxes and buttons: no background at all, so the control's own drawing
// (or the skin's) shows through.
LRESULT HollowReply(const Message& m) {
    const auto dc = reinterpret_cast<HDC>(m.wParam);
    const auto control = reinterpret_cast<HWND>(m.lParam);
    dll::SetTextColor(dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColour)));
    dll::SetBkMode(dc, TRANSPARENT);
    FreeControlColourBrush(control);
    HGDIOBJ brush = dll::GetStockObject(NULL_BRUSH);
    SetPropValue(control, kPropColourBrush, reinterpret_cast<INT_PTR>(brush));
    return reinterpret_cast<LRESULT>(brush);
}

bool ControlsTransparent() { return SkinControls && TransparentControls; }

// ---- Caption-button hover, leave and fade step ---------------------------------

void CaptionButtonHover(const Message& m) {
    WindowRecord& r = m.record;
    if (HitCaptionStrip(m.n, m.lParam)) {
        if (r.FadeTimer == 0) {
            dll::SetTimer(m.window, FadeTimerId(m.window), kFadeInterval, nullptr);
            r.FadeTimer = 1;
        }
    } else {
        // The timer runs on until the last fade-out is done.
        r.FadeTimer = 0;
    }
    const int hot = m.skin.HotCaptionButton = m.skin.CaptionButtonAt(m.n, m.X(), m.Y());
    if (r.LitCaptionButton >= 1 && r.LitCaptionButton != hot) {
        // A fade-out still running ends at once: only one button fades out.
        if (r.FadeOut.Step < kFadeSteps) m.DrawButton(r.FadeOut.Button, 0);
        r.FadeOut = {r.LitCaptionButton, 0};
    }
    if (hot >= 1 && hot != r.LitCaptionButton) r.FadeIn = {hot, 0};
    r.LitCaptionButton = hot;
}

void CaptionButtonLeave(const Message& m) {
    WindowRecord& r = m.record;
    if (r.LitCaptionButton < 1 || !r.HasCaption) return;
    if (r.FadeOut.Step < kFadeSteps && r.FadeIn.Step < kFadeSteps) {
        m.DrawButton(r.FadeOut.Button, 0);
        r.FadeIn = {};
    }
    r.FadeOut = {r.LitCaptionButton, 0};
    r.LitCaptionButton = 0;
}

void FadeStep(const Message& m) {
    WindowRecord& r = m.record;
    if (r.FadeIn.Button >= 1 && r.FadeIn.Step < kFadeSteps) {
        ++r.FadeIn.Step;
        m.DrawButton(r.FadeIn.Button, kFadeAlphaStep * r.FadeIn.Step);
    }
    if (r.FadeOut.Button >= 1 && r.FadeOut.Step < kFadeSteps) {
        ++r.FadeOut.Step;
        m.DrawButton(r.FadeOut.Button, kFullHoverAlpha - kFadeAlphaStep * r.FadeOut.Step);
    }
    // The pointer rests in the strip: keep ticking for the next hover.
    if (r.PointerInside == 1 && r.FadeTimer == 1) return;
    if (r.FadeOut.Step >= kFadeSteps || r.FadeOut.Button == 0) {
        r.FadeTimer = 0;
        dll::KillTimer(m.window, FadeTimerId(m.window));
        r.LitCaptionButton = 0;
        r.FadeIn = {};
        r.FadeOut = {};
    }
}

// ---- Message handlers, in the order of the message table ------------------------

LRESULT OnPaint(const Message& m) {
    WindowRecord& r = m.record;
    PAINTSTRUCT paint{};
    HDC dc = dll::BeginPaint(m.window, &paint);
    if (!r.Minimized) {
        // A window painted before its first composition has no image to
        // copy yet: compose it then too.
        if (r.Recompose || !r.BackgroundDC) {
            m.skin.ComposeWindow(m.n, dc, true);
            r.Recompose = 0;
        } else {
            m.skin.PresentWindow(m.n, dc);
        }
    }
    dll::EndPaint(m.window, &paint);
    return dll::DefWindowProcA(m.window, m.message, m.wParam, m.lParam);
}

LRESULT OnEraseBackground(const Message& m) {
    dll::SetBkMode(reinterpret_cast<HDC>(m.wParam), TRANSPARENT);
    return 1;
}

LRESULT OnShowWindow(const Message& m) {
    WindowRecord& r = m.record;
    if (m.wParam == 1) {
        if (r.Minimized) {
            r.Minimized = 0;
        } else {
            PAINTSTRUCT paint{};
            HDC dc = dll::BeginPaint(m.window, &paint);
            m.skin.ComposeWindow(m.n, dc, true);
            dll::EndPaint(m.window, &paint);
        }
    }
    return m.PassOn();
}

LRESULT OnSize(const Message& m) {
    WindowRecord& r = m.record;
    r.LitCaptionButton = 0;
    // The size the window is created with needs no second composition.
    if (FirstSizePending) {
        r.Recompose = 0;
        FirstSizePending = 0;
    } else {
        r.Recompose = 1;
    }
    m.skin.LayoutDockedChildren(m.n);
    return m.PassOn();
}

LRESULT OnWindowPosChanged(const Message& m) {
    WindowRecord& r = m.record;
    const RECT client = m.Client();
    if (r.HasMaximize == 1 && client.right - client.left == ::GetSystemMetrics(SM_CXSCREEN) &&
        client.bottom - client.top == ::GetSystemMetrics(SM_CYSCREEN)) {
        r.Maximized = 1;
        const RECT work = WorkArea();
        RECT now{};
        dll::GetWindowRect(m.window, &now);
        // Only when it is not there yet: a work area as large as the screen
        // would otherwise move the window onto itself for ever.
        if (!::EqualRect(&now, &work))
            dll::SetWindowPos(m.window, nullptr, work.left, work.top, work.right - work.left,
                              work.bottom - work.top, SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    m.skin.LayoutCaptionButtons(m.n);
    if (r.BarHeight > 0) m.skin.LayoutBottomBar(m.n);
    return m.PassOn();
}

LRESULT OnGetMinMaxInfo(const Message& m) {
    const WindowRecord& r = m.record;
    if (auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam)) {
        info->ptMinTrackSize = POINT{r.MinTrackWidth, r.MinTrackHeight};
        if (r.Maximized) {
            const RECT work = WorkArea();
            info->ptMaxTrackSize = POINT{work.right - work.left, work.bottom - work.top};
        } else {
            info->ptMaxTrackSize = POINT{r.MaxTrackWidth, r.MaxTrackHeight};
        }
    }
    return m.PassOn();
}

LRESULT OnSysCommand(const Message& m) {
    WindowRecord& r = m.record;
    // The low four bits are the system's own.
    switch (m.wParam & 0xFFF0) {
        case SC_MAXIMIZE:
            r.Maximized = 1;
            r.Recompose = 1;
            break;
        case SC_RESTORE:
            r.Recompose = 1;
            // A restore of the open window ends its maximised state (else it
            // could no longer be moved or sized); a restore from the taskbar
            // brings back the state it was minimised from.
            if (!r.Minimized) r.Maximized = 0;
            r.Minimized = 0;
            break;
        case SC_MINIMIZE:
            r.Recompose = 1;
            r.Minimized = 1;
            break;
        default: break;
    }
    return m.PassOn();
}

LRESULT OnQueryOpen(const Message& m) {
    m.record.Minimized = 0;
    return m.PassOn();
}

LRESULT OnSetText(const Message& m) {
    const WindowRecord& r = m.record;
    if (r.ShowTitle && r.HasCaption) {
        const auto* text = reinterpret_cast<const char*>(m.lParam);
        m.skin.DrawTitle(m.n, nullptr, false, std::string(text ? text : ""));
    }
    return m.PassOn();
}

LRESULT OnLeftButtonDown(const Message& m) {
    WindowRecord& r = m.record;
    // The pressed look must not be painted over by a fade still running.
    r.FadeIn.Button = 0;
    if (r.HasCaption) {
        if (!r.Maximized && !r.Minimized) m.skin.PressOnFrame(m.n, m.lParam, m.Client());
        m.skin.HotCaptionButton = m.skin.CaptionButtonAt(m.n, m.X(), m.Y());
        if (m.skin.HotCaptionButton > 0)
            m.skin.DrawCaptionButton(m.n, m.skin.HotCaptionButton, nullptr, false, true, 0);
    }
    return m.PassOn();
}

LRESULT OnLeftButtonUp(const Message& m) {
    const WindowRecord& r = m.record;
    const int hot = m.skin.HotCaptionButton;
    if (hot >= 1 && hot <= r.CaptionButtons.Count() && r.HasCaption)
        m.skin.CaptionButtonAction(m.n, hot);  // may destroy the window
    return m.PassOn();
}

LRESULT OnLeftButtonDoubleClick(const Message& m) {
    const WindowRecord& r = m.record;
    if (m.Y() <= r.CaptionHeight && r.Resizable) {
        if (const int k = m.skin.FindMaximiseButton(m.n); k > 0)
            m.skin.CaptionButtonAction(m.n, k);
    }
    return m.PassOn();
}

LRESULT OnMouseMove(const Message& m) {
    WindowRecord& r = m.record;
    if (!r.PointerInside) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m.window, 1};
        dll::TrackMouseEvent(&track);
    }
    if (r.HasCaption) {
        CaptionButtonHover(m);
        if (!r.Maximized) m.skin.SetFrameCursor(m.n, m.lParam, m.Client());
    }
    return m.PassOn();
}

LRESULT OnMouseHover(const Message& m) {
    m.record.PointerInside = 1;
    return m.PassOn();
}

LRESULT OnMouseLeave(const Message& m) {
    m.record.PointerInside = 0;
    CaptionButtonLeave(m);
    return m.PassOn();
}

LRESULT OnTimer(const Message& m) {
    if (m.wParam == FadeTimerId(m.window)) FadeStep(m);
    return m.PassOn();
}

LRESULT OnDrawItem(const Message& m) {
    if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam)) {
        const DRAWITEMSTRUCT copy = *item;
        DrawButtonItem(m.n, copy);
    }
    return m.PassOn();
}

LRESULT OnControlColourEdit(const Message& m) {
    const auto control = reinterpret_cast<HWND>(m.lParam);
    // The edit inside a combo box is painted by the combo box's own skin.
    if (control && !ClassIs(::GetParent(control), "ComboBox") && ControlsTransparent() &&
        !IsDying(m.window))
        return VeiledReply(m);
    return m.PassOn();
}

LRESULT OnControlColourStatic(const Message& m) {
    if (m.lParam && ControlsTransparent() && !IsDying(m.window)) return VeiledReply(m);
    return m.PassOn();
}

LRESULT OnControlColourListBox(const Message& m) {
    const auto control = reinterpret_cast<HWND>(m.lParam);
    if (control && SkinControls && ClassIs(control, "ListBox") && !IsOwnerDrawListBox(control) &&
        TransparentControls && !IsDying(m.window))
        return HollowReply(m);
    return m.PassOn();
}

LRESULT OnControlColourButton(const Message& m) {
    if (m.lParam && ControlsTransparent() && !IsDying(m.window)) return HollowReply(m);
    return m.PassOn();
}

// Notifications after which a transparent control must repaint its whole
// background (its own partial repaint would leave stale text on the image).
struct RepaintingNotification {
    const char* ClassName;
    int Codes[4];
};
constexpr RepaintingNotification kRepaintingNotifications[] = {
    {"Edit", {EN_VSCROLL, EN_HSCROLL, EN_CHANGE, EN_UPDATE}},
    {"ListBox", {LBN_SELCHANGE, LBN_SELCANCEL, -1, -1}},
    {"ComboBox", {CBN_KILLFOCUS, CBN_SELCHANGE, -1, -1}},
};

LRESULT OnCommand(const Message& m) {
    const auto control = reinterpret_cast<HWND>(m.lParam);
    if (control && ControlsTransparent()) {
        const int code = HIWORD(m.wParam);
        const std::string name = GetClassNameText(control);
        for (const auto& row : kRepaintingNotifications) {
            if (::lstrcmpiA(name.c_str(), row.ClassName) != 0) continue;
            if (std::find(std::begin(row.Codes), std::end(row.Codes), code) != std::end(row.Codes))
                dll::InvalidateRect(control, nullptr, TRUE);
            break;
        }
    }
    return m.PassOn();
}

LRESULT OnNotify(const Message& m) {
    if (const auto* header = reinterpret_cast<const NMHDR*>(m.lParam)) {
        const NMHDR copy = *header;
        if (static_cast<int>(copy.code) == static_cast<int>(TVN_ITEMEXPANDEDA) ||
            static_cast<int>(copy.code) == static_cast<int>(TVN_ITEMEXPANDINGA))
            dll::InvalidateRect(copy.hwndFrom, nullptr, TRUE);
    }
    return m.PassOn();
}

LRESULT OnActivateApp(const Message& m) {
    // Losing activation: trim the working set on a thread of its own, so
    // that the switch to the other program is not held up.
    if (m.wParam == 0) dll::SHCreateThread(TrimWorkingSetThread, nullptr, 0, nullptr);
    return m.PassOn();
}

// Frees the control-colour brushes of every control of the window while the
// controls still exist (static controls, check boxes, radio buttons and
// group boxes keep theirs too, not only edits).
BOOL CALLBACK FreeColourBrushOf(HWND control, LPARAM) {
    FreeControlColourBrush(control);
    return TRUE;
}

LRESULT OnDestroy(const Message& m) {
    DyingWindows().push_back(m.window);
    ::EnumChildWindows(m.window, FreeColourBrushOf, 0);
    return m.PassOn();
}

LRESULT OnNonClientDestroy(const Message& m) {
    HWND window = m.window;
    ForgetSkinnedWindow(window);  // the record is gone from here on
    dll::KillTimer(window, FadeTimerId(window));
    // The pressed or hovered button was one of this window's.
    m.skin.HotCaptionButton = 0;
    auto& dying = DyingWindows();
    dying.erase(std::remove(dying.begin(), dying.end(), window), dying.end());
    return skin::PassOn(window, m.message, m.wParam, m.lParam);
}

}  // namespace

// Operation 2.
LRESULT WindowSkin::SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int n = static_cast<int>(GetPropValue(window, kPropNumber));
    WindowRecord* record = RecordOf(n);
    // A number that names no record (or another window's) passes everything on.
    if (!record || record->Handle != window) return PassOn(window, message, wParam, lParam);
    const Message m{*this, n, *record, window, message, wParam, lParam};
    switch (message) {
        case WM_PAINT: return OnPaint(m);
        case WM_ERASEBKGND: return OnEraseBackground(m);
        case WM_SHOWWINDOW: return OnShowWindow(m);
        case WM_SIZE: return OnSize(m);
        case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(m);
        case WM_GETMINMAXINFO: return OnGetMinMaxInfo(m);
        case WM_SYSCOMMAND: return OnSysCommand(m);
        case WM_QUERYOPEN: return OnQueryOpen(m);
        case WM_SETTEXT: return OnSetText(m);
        case WM_LBUTTONDOWN: return OnLeftButtonDown(m);
        case WM_LBUTTONUP: return OnLeftButtonUp(m);
        case WM_LBUTTONDBLCLK: return OnLeftButtonDoubleClick(m);
        case WM_MOUSEMOVE: return OnMouseMove(m);
        case WM_MOUSEHOVER: return OnMouseHover(m);
        case WM_MOUSELEAVE: return OnMouseLeave(m);
        case WM_TIMER: return OnTimer(m);
        case WM_DRAWITEM: return OnDrawItem(m);
        case WM_CTLCOLOREDIT: return OnControlColourEdit(m);
        case WM_CTLCOLORSTATIC: return OnControlColourStatic(m);
        case WM_CTLCOLORLISTBOX: return OnControlColourListBox(m);
        case WM_CTLCOLORBTN: return OnControlColourButton(m);
        case WM_COMMAND: return OnCommand(m);
        case WM_NOTIFY: return OnNotify(m);
        case WM_ACTIVATEAPP: return OnActivateApp(m);
        case WM_DESTROY: return OnDestroy(m);
        case WM_NCDESTROY: return OnNonClientDestroy(m);
        default: return PassOn(window, message, wParam, lParam);
    }
}

// Operation 3.
LRESULT WindowSkin::CaptionButtonAction(int n, int button) {
    WindowRecord* record = RecordOf(n);
    if (!record || button < 1 || button > record->CaptionButtons.Count()) return 0;
    const CaptionButton& b = *record->CaptionButtons.At(button);
    HWND window = record->Handle;
    // Each action is the last use of the record: sending the command may
    // destroy the window and with it the record.
    switch (b.Kind) {
        case kCaptionClose:
            dll::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case kCaptionMaximise:
            record->Recompose = 1;
            record->Minimized = 0;
            if (record->Maximized == 0) {
                record->Maximized = 1;
                dll::SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            } else {
                record->Maximized = 0;
                dll::SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
            }
            break;
        case kCaptionMinimise:
            record->Minimized = 1;
            dll::SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case kCaptionMenu:
            if (record->MenuRoutine) record->MenuRoutine();
            break;
        case kCaptionHelp:
            if (record->HelpRoutine) record->HelpRoutine();
            break;
        case kCaptionApplication:
            if (b.Routine) b.Routine();
            break;
        default: break;
    }
    return 0;
}

// Operation 38.
void WindowSkin::LayoutDockedChildren(int n) {
    const WindowRecord* record = RecordOf(n);
    if (!record) return;
    RECT client{};
    dll::GetClientRect(record->Handle, &client);
    const int W = client.right - client.left, H = client.bottom - client.top;
    for (const DockedChild& child : record->DockedChildren) {
        if (!child.Handle) continue;  // the empty slot
        dll::MoveWindow(child.Handle, 2, child.Top, W - 4, H - child.Top - record->BarHeight - 3,
                        TRUE);
    }
}

}  // namespace vostrel::skin
