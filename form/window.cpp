// One window made from a form description: creation, properties, events.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "form.h"
#include "html_viewer.h"
#include "runtime_internal.h"

namespace vostrel::form {

namespace {

// Control identifiers start above IDOK/IDCANCEL, so that Enter and Escape,
// which dialog navigation turns into those commands, click no control.
constexpr int kFirstControlId = 1000;
constexpr UINT_PTR kSubclassId = 1;

Window* WindowOf(HWND hwnd) { return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, 0)); }

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool HasMouseEvents(const UnitDescription& u) {
    for (const auto& b : u.events)
        if (b.event == event::kLeftButtonDown || b.event == event::kRightButtonDown) return true;
    return false;
}

struct ControlClass {
    const char* name;
    DWORD style;
    DWORD ex_style;
};

ControlClass ClassOf(Unit unit) {
    switch (unit) {
    case Unit::Button: return {"Button", BS_PUSHBUTTON | WS_TABSTOP, 0};
    // Group boxes hold controls of their own: Tab walks into them.
    case Unit::GroupBox: return {"Button", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case Unit::EditBox: return {"Edit", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    // The label paints no background of its own (see OnCtlColorStatic);
    // "&" in its caption is shown as written.
    case Unit::TransLabel: return {"Static", SS_LEFT | SS_NOPREFIX, WS_EX_TRANSPARENT};
    case Unit::HtmlViewer: return {kHtmlViewerClass, WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0};
    case Unit::Window: break;
    }
    return {"Static", 0, 0};
}

// Window styles of a window unit.
void WindowStyle(const UnitDescription& u, DWORD& style, DWORD& ex_style) {
    style = WS_CLIPCHILDREN;
    ex_style = 0;
    switch (u.border) {
    // No frame and no system caption: the window rectangle is its client
    // area. A popup, because an overlapped window always gets a caption.
    case Border::None: style |= WS_POPUP; break;
    case Border::Fixed:
        style |= WS_CAPTION;
        ex_style |= WS_EX_DLGMODALFRAME;
        break;
    case Border::Sizable: style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (u.border != Border::None && u.control_box) style |= WS_SYSMENU;
    if (u.min_box) style |= WS_MINIMIZEBOX;
    if (u.max_box) style |= WS_MAXIMIZEBOX;
}

std::string Line(const FormDescription& form, int line) {
    return "form " + form.form + ", line " + std::to_string(line) + ": ";
}

}  // namespace

WNDPROC WindowProcForForms() { return &Window::Proc; }

bool IsFormWindow(HWND hwnd) {
    char name[32];
    return GetClassNameA(hwnd, name, sizeof name) && lstrcmpiA(name, kFormClass) == 0;
}

Window::Window(const FormDescription& form) : form_(form) {}

Window::~Window() {
    if (hwnd_) DestroyWindow(hwnd_);
}

std::unique_ptr<Window> Window::Create(const FormDescription& form, const HandlerTable& handlers,
                                       std::string& error, const CreateOptions& options) {
    error.clear();
    if (!IsInitialized()) {
        error = "form " + form.form + ": the form runtime is not initialised";
        return nullptr;
    }
    std::unique_ptr<Window> window(new Window(form));
    if (!window->Build(handlers, error)) return nullptr;
    window->Raise({}, event::kCreated);
    if (options.show && window->hwnd_ && window->form_.window.visible) {
        ShowWindow(window->hwnd_, SW_SHOW);
        UpdateWindow(window->hwnd_);
    }
    return window;
}

bool Window::Build(const HandlerTable& handlers, std::string& error) {
    // Bind every handler first: a missing one is reported before any
    // window appears.
    auto bind = [&](const UnitDescription& u, const std::string& key) {
        for (const auto& b : u.events) {
            auto it = handlers.find(b.handler);
            if (it == handlers.end() || !it->second) {
                error = Line(form_, b.line) + "no handler named '" + b.handler + "'";
                return false;
            }
            bound_[{key, b.event}] = it->second;
        }
        return true;
    };
    if (!bind(form_.window, {})) return false;
    for (const auto& c : form_.controls)
        if (!bind(c, c.name)) return false;

    const UnitDescription& w = form_.window;
    DWORD style = 0, ex_style = 0;
    WindowStyle(w, style, ex_style);
    RECT rc{0, 0, w.width, w.height};
    AdjustWindowRectEx(&rc, style, FALSE, ex_style);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int x = w.x, y = w.y;
    if (w.centred) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CreateWindowExA(ex_style, kFormClass, w.caption.c_str(), style, x, y, width, height, nullptr,
                    nullptr, instance, this);
    if (!hwnd_) {
        error = Line(form_, w.line) + "the system refused to make the window (error " +
                std::to_string(GetLastError()) + ")";
        return false;
    }
    if (!w.enabled) EnableWindow(hwnd_, FALSE);

    controls_.reserve(form_.controls.size());
    for (size_t i = 0; i < form_.controls.size(); ++i) {
        const UnitDescription& u = form_.controls[i];
        const ControlClass cls = ClassOf(u.unit);
        Control control{&u, nullptr, nullptr};
        if (u.unit == Unit::HtmlViewer) {
            control.viewer = std::make_unique<HtmlViewer>(
                [this, name = u.name](int ev, long value, bool enabled, std::string_view text) {
                    return Raise(name, ev, value, enabled, text);
                });
        }
        // Siblings clip each other: the main window's group box overlaps the
        // instructions button below it, and a skinned container paints its
        // whole area, which would otherwise cover the button.
        DWORD child_style = WS_CHILD | WS_CLIPSIBLINGS | cls.style;
        if (u.visible) child_style |= WS_VISIBLE;
        if (!u.enabled) child_style |= WS_DISABLED;
        const char* caption = u.unit == Unit::HtmlViewer ? "" : u.caption.c_str();
        control.hwnd = CreateWindowExA(
            cls.ex_style, cls.name, caption, child_style, u.x, u.y, u.width, u.height, Parent(u),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance,
            control.viewer.get());
        if (!control.hwnd) {
            error = Line(form_, u.line) + "the system refused to make " +
                    std::string(UnitName(u.unit)) + " '" + u.name + "' (error " +
                    std::to_string(GetLastError()) + ")";
            return false;
        }
        SendMessageA(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
        // Containers pass their children's notifications on to the window;
        // controls with mouse handlers report the presses.
        if (u.unit == Unit::GroupBox || (u.unit != Unit::HtmlViewer && HasMouseEvents(u)))
            SetWindowSubclass(control.hwnd, &Window::ControlProc, kSubclassId,
                              reinterpret_cast<DWORD_PTR>(this));
        HtmlViewer* viewer = control.viewer.get();
        controls_.push_back(std::move(control));
        if (viewer) viewer->Attach(controls_.back().hwnd, CurrentWebBrowserFactory());
    }
    return true;
}

HWND Window::Parent(const UnitDescription& unit) const {
    if (unit.parent.empty() || unit.parent == form_.window.name) return hwnd_;
    const Control* c = Find(unit.parent);
    return c ? c->hwnd : hwnd_;
}

const Window::Control* Window::Find(std::string_view name) const {
    for (const auto& c : controls_)
        if (c.unit->name == name) return &c;
    return nullptr;
}

const Window::Control* Window::FindByHandle(HWND hwnd) const {
    if (!hwnd) return nullptr;
    for (const auto& c : controls_)
        if (c.hwnd == hwnd) return &c;
    return nullptr;
}

const UnitDescription* Window::Describe(std::string_view control) const {
    if (control.empty()) return &form_.window;
    const Control* c = Find(control);
    return c ? c->unit : nullptr;
}

HWND Window::Handle(std::string_view control) const {
    if (control.empty()) return hwnd_;
    const Control* c = Find(control);
    return c ? c->hwnd : nullptr;
}

HtmlViewer* Window::Viewer(std::string_view control) const {
    const Control* c = Find(control);
    return c ? c->viewer.get() : nullptr;
}

bool Window::Raise(std::string_view control, int ev, long value, bool enabled,
                   std::string_view text) {
    auto it = bound_.find(std::pair<std::string, int>(control, ev));
    if (it == bound_.end()) return true;
    const EventArgs args{*this, control, ev, value, enabled, text};
    return it->second(args).value_or(true);
}

std::string Window::ReadText(std::string_view control, int number) const {
    const UnitDescription* u = Describe(control);
    HWND h = Handle(control);
    if (!u || !h) return {};
    switch (number) {
    case property::kCaption:
        return u->unit == Unit::HtmlViewer ? std::string{} : WindowText(h);
    case property::kContent: return u->unit == Unit::EditBox ? WindowText(h) : std::string{};
    case property::kAddress:
        if (HtmlViewer* v = Viewer(control)) return v->Address();
        return {};
    case property::kStatusText:
        if (HtmlViewer* v = Viewer(control)) return v->StatusText();
        return {};
    default: return std::to_string(ReadValue(control, number));
    }
}

long Window::ReadValue(std::string_view control, int number) const {
    HWND h = Handle(control);
    if (!h) return 0;
    RECT rc{};
    if (control.empty()) {
        GetClientRect(h, &rc);
        POINT origin{0, 0};
        ClientToScreen(h, &origin);
        OffsetRect(&rc, origin.x, origin.y);
    } else {
        GetWindowRect(h, &rc);
        MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&rc), 2);
    }
    switch (number) {
    case property::kLeft: return rc.left;
    case property::kTop: return rc.top;
    case property::kWidth: return rc.right - rc.left;
    case property::kHeight: return rc.bottom - rc.top;
    // The style bit, not IsWindowVisible: a shown control of a hidden
    // window still counts as shown.
    case property::kVisible: return (GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
    case property::kEnabled: return IsWindowEnabled(h) ? 1 : 0;
    default: return 0;
    }
}

bool Window::WriteText(std::string_view control, int number, std::string_view text) {
    const UnitDescription* u = Describe(control);
    HWND h = Handle(control);
    if (!u || !h) return false;
    const std::string value(text);
    switch (number) {
    case property::kCaption:
        return u->unit != Unit::HtmlViewer && SetWindowTextA(h, value.c_str());
    case property::kContent: return u->unit == Unit::EditBox && SetWindowTextA(h, value.c_str());
    case property::kAddress:
        if (HtmlViewer* v = Viewer(control)) return v->SetAddress(value);
        return false;
    default: return false;
    }
}

bool Window::WriteValue(std::string_view control, int number, long value) {
    HWND h = Handle(control);
    if (!h) return false;
    switch (number) {
    case property::kVisible:
        ShowWindow(h, value ? SW_SHOW : SW_HIDE);
        return true;
    case property::kEnabled:
        EnableWindow(h, value ? TRUE : FALSE);
        return true;
    case property::kLeft:
    case property::kTop:
    case property::kWidth:
    case property::kHeight: {
        long v[4];
        for (int i = 0; i < 4; ++i) v[i] = ReadValue(control, property::kLeft + i);
        v[number - property::kLeft] = value;
        if (control.empty()) {  // a window's size property is its client size
            RECT rc{0, 0, v[2], v[3]};
            AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE)));
            RECT wr{};
            GetWindowRect(h, &wr);
            POINT origin{0, 0};
            ClientToScreen(h, &origin);
            return SetWindowPos(h, nullptr, v[0] - (origin.x - wr.left), v[1] - (origin.y - wr.top),
                                rc.right - rc.left, rc.bottom - rc.top,
                                SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return SetWindowPos(h, nullptr, v[0], v[1], v[2], v[3], SWP_NOZORDER | SWP_NOACTIVATE);
    }
    default: return false;
    }
}

bool Window::Navigate(std::string_view control, std::string_view address) {
    HtmlViewer* v = Viewer(control);
    return v && v->Navigate(address);
}

LRESULT Window::OnCommand(HWND hwnd, WPARAM wp, LPARAM lp) {
    const Control* c = FindByHandle(reinterpret_cast<HWND>(lp));
    if (c && HIWORD(wp) == BN_CLICKED && c->unit->unit == Unit::Button) {
        Raise(c->unit->name, event::kClicked);
        return 0;
    }
    return DefWindowProcA(hwnd, WM_COMMAND, wp, lp);
}

// A TransLabel shows its parent's background behind its text: the parent
// paints its background into the label's DC, and the label fills nothing.
LRESULT Window::OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, WPARAM wp, LPARAM lp) {
    const Control* c = FindByHandle(control);
    if (!c || c->unit->unit != Unit::TransLabel) return DefWindowProcA(hwnd, WM_CTLCOLORSTATIC, wp, lp);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    HWND parent = GetParent(control);
    POINT offset{0, 0};
    MapWindowPoints(control, parent, &offset, 1);
    POINT old{};
    OffsetViewportOrgEx(dc, -offset.x, -offset.y, &old);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void Window::OnDestroy() { Raise({}, event::kDestroying); }

// The quit is posted last, once every control (and the browser inside a
// browser box, whose teardown may run messages of its own) is gone.
void Window::OnNcDestroy() {
    hwnd_ = nullptr;
    for (auto& c : controls_) c.hwnd = nullptr;
    if (quit_on_destroy_) PostQuitMessage(0);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = WindowOf(hwnd);
    switch (msg) {
    case WM_NCCREATE:
        w = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(w));
        w->hwnd_ = hwnd;
        break;
    case WM_COMMAND:
        if (w) return w->OnCommand(hwnd, wp, lp);
        break;
    case WM_CTLCOLORSTATIC:
        if (w) return w->OnCtlColorStatic(hwnd, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), wp, lp);
        break;
    case WM_DESTROY:
        if (w) w->OnDestroy();
        return 0;
    case WM_NCDESTROY:
        if (w) w->OnNcDestroy();
        SetWindowLongPtrA(hwnd, 0, 0);
        break;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Window::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                     DWORD_PTR ref) {
    Window* w = reinterpret_cast<Window*>(ref);
    const Control* c = w->FindByHandle(hwnd);
    switch (msg) {
    case WM_COMMAND:
        if (w->FindByHandle(reinterpret_cast<HWND>(lp))) return w->OnCommand(w->hwnd_, wp, lp);
        break;
    case WM_CTLCOLORSTATIC:
        if (const Control* label = w->FindByHandle(reinterpret_cast<HWND>(lp));
            label && label->unit->unit == Unit::TransLabel)
            return w->OnCtlColorStatic(hwnd, reinterpret_cast<HDC>(wp), label->hwnd, wp, lp);
        break;
    case WM_NCHITTEST:
        // A group box is transparent to the mouse; one with mouse handlers
        // takes the presses over its own area.
        if (c && c->unit->unit == Unit::GroupBox && HasMouseEvents(*c->unit)) {
            const LRESULT hit = DefSubclassProc(hwnd, msg, wp, lp);
            return hit == HTTRANSPARENT ? HTCLIENT : hit;
        }
        break;
    case WM_LBUTTONDOWN:
        if (c && !w->Raise(c->unit->name, event::kLeftButtonDown)) return 0;
        break;
    case WM_RBUTTONDOWN:
        if (c && !w->Raise(c->unit->name, event::kRightButtonDown)) return 0;
        break;
    case WM_NCDESTROY: RemoveWindowSubclass(hwnd, &Window::ControlProc, kSubclassId); break;
    default: break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace vostrel::form
