// The form runtime's process-wide part: initialisation, the browser factory,
// message box, message loops and the exit routine.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <utility>
#include <vector>

#include "form.h"
#include "html_viewer.h"
#include "runtime_internal.h"

namespace vostrel::form {

namespace {

struct RuntimeState {
    bool initialized = false;
    bool ole = false;
    ATOM form_class = 0;
    ATOM viewer_class = 0;
    HFONT font = nullptr;
    WebBrowserFactory factory = nullptr;
    std::function<void()> exit_routine;
};

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

// True when a key message belongs to dialog navigation (Tab between
// controls) of a form window, and not to a browser box, whose pages need
// every key for themselves.
bool WantsDialogKeys(const MSG& msg, HWND& root) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
    root = GetAncestor(msg.hwnd, GA_ROOT);
    if (!root || !IsFormWindow(root)) return false;
    char name[32];
    for (HWND h = msg.hwnd; h && h != root; h = GetParent(h))
        if (GetClassNameA(h, name, sizeof name) && lstrcmpiA(name, kHtmlViewerClass) == 0)
            return false;
    return true;
}

// Disables the thread's shown, enabled top-level windows but one.
struct Disabler {
    HWND self;
    std::vector<HWND> disabled;
};
BOOL CALLBACK DisableOthers(HWND h, LPARAM lp) {
    auto* d = reinterpret_cast<Disabler*>(lp);
    if (h != d->self && IsWindowEnabled(h) && IsWindowVisible(h)) {
        EnableWindow(h, FALSE);
        d->disabled.push_back(h);
    }
    return TRUE;
}

void Dispatch(MSG& msg) {
    HWND root = nullptr;
    if (WantsDialogKeys(msg, root) && IsDialogMessageA(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

bool Initialize() {
    RuntimeState& s = State();
    if (s.initialized) return true;
    const HRESULT hr = OleInitialize(nullptr);
    if (FAILED(hr)) return false;
    s.ole = true;

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProcForForms();
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "DEFAULT_ICON");
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kFormClass;
    s.form_class = RegisterClassExA(&wc);

    wc.lpfnWndProc = HtmlViewer::HostProc;
    wc.hIcon = nullptr;
    wc.lpszClassName = kHtmlViewerClass;
    s.viewer_class = RegisterClassExA(&wc);

    if (!s.form_class || !s.viewer_class) {
        Shutdown();
        return false;
    }
    // The controls' font: 9-point 宋体, the usual face of Chinese forms.
    s.font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, "宋体");
    s.initialized = true;
    return true;
}

void Shutdown() {
    RuntimeState& s = State();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (s.font) DeleteObject(s.font);
    if (s.form_class) UnregisterClassA(kFormClass, instance);
    if (s.viewer_class) UnregisterClassA(kHtmlViewerClass, instance);
    if (s.ole) OleUninitialize();
    WebBrowserFactory factory = s.factory;
    s = RuntimeState{};
    s.factory = factory;  // a test's choice outlives a restart of the runtime
}

bool IsInitialized() { return State().initialized; }

void SetWebBrowserFactory(WebBrowserFactory factory) { State().factory = factory; }

WebBrowserFactory CurrentWebBrowserFactory() {
    WebBrowserFactory f = State().factory;
    return f ? f : &CreateSystemWebBrowser;
}

HFONT ControlFont() { return State().font; }

int ShowMessage(const std::string& text, unsigned buttons) {
    return MessageBoxA(nullptr, text.c_str(), kMessageTitle, MB_TASKMODAL | (buttons & MB_TYPEMASK));
}

COLORREF DefaultBackColour() { return GetSysColor(COLOR_BTNFACE); }

void SetExitRoutine(std::function<void()> routine) { State().exit_routine = std::move(routine); }

int RunMessageLoop() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) Dispatch(msg);
    if (std::function<void()> routine = std::exchange(State().exit_routine, nullptr)) routine();
    return got == 0 ? static_cast<int>(msg.wParam) : -1;
}

bool LoadModal(const FormDescription& form, const HandlerTable& handlers, std::string& error,
               const CreateOptions& options) {
    std::unique_ptr<Window> window = Window::Create(form, handlers, error, options);
    if (!window) return false;
    HWND self = window->Handle();

    // Everything else of this thread waits while the modal window is open.
    Disabler d{self, {}};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOthers, reinterpret_cast<LPARAM>(&d));

    MSG msg{};
    while (window->IsOpen()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {  // the program is ending: let the outer loop see it too
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        Dispatch(msg);
    }
    // Re-enable before the modal window goes, so activation returns to them.
    for (HWND h : d.disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    window.reset();
    return true;
}

}  // namespace vostrel::form
