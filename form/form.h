// The form runtime: windows and controls made from form descriptions,
// addressed by (window, control) with numbered properties and events; the
// message box, modal windows, the message loop and the exit routine.
//
// Everything runs on the one GUI thread. Texts are GBK (the ANSI code page).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser.h"
#include "form_description.h"
#include "html_viewer.h"

namespace vostrel::form {

class Window;

// Property numbers. Not every unit has every property; reading one a unit
// lacks gives an empty text or 0, writing one does nothing and says false.
namespace property {
inline constexpr int kLeft = 0;        // all units, pixels in the parent's client area
inline constexpr int kTop = 1;
inline constexpr int kWidth = 2;
inline constexpr int kHeight = 3;
inline constexpr int kCaption = 4;     // all but HtmlViewer
inline constexpr int kVisible = 5;     // all units: 1 shown, 0 hidden
inline constexpr int kEnabled = 6;     // all units
inline constexpr int kContent = 8;     // EditBox: its text
inline constexpr int kAddress = 11;    // HtmlViewer: writing navigates there at once
inline constexpr int kStatusText = 12; // HtmlViewer: last status-bar text of the control
}  // namespace property

// What a handler is told about the event it handles.
struct EventArgs {
    Window& window;
    std::string_view control;  // name of the control; empty for the window itself
    int event;
    long value = 0;            // 3: percent (0..100); 8: 0 forward, 1 back
    bool enabled = false;      // 8: the command's new state
    std::string_view text;     // 0, 1, 5: the address; 6: status text; 7: title
};

// A handler returns true, false or no value; no value counts as true. Where
// an event can be refused (0, 9, mouse buttons), false refuses it.
using HandlerResult = std::optional<bool>;
using Handler = std::function<HandlerResult(const EventArgs&)>;
using HandlerTable = std::map<std::string, Handler, std::less<>>;

struct CreateOptions {
    bool show = true;  // show the window once made (tests keep windows hidden)
};

// ---- process-wide runtime ---------------------------------------------------

// Initialises OLE (the browser box needs it), the common controls, the
// runtime's window classes and its font. Returns false if OLE or a class
// cannot be set up. Calling it again while initialised does nothing.
bool Initialize();
// Undoes Initialize. Call it after every window of the runtime is gone.
void Shutdown();
bool IsInitialized();

// The factory that makes the web browser inside every browser box made from
// now on. Null restores the default, the system web browser control.
void SetWebBrowserFactory(WebBrowserFactory factory);
WebBrowserFactory CurrentWebBrowserFactory();

// MessageBoxA with no owner, the title "信息：" and MB_TASKMODAL. `buttons`
// is the MB_ button code (0: OK only). Returns the button pressed.
int ShowMessage(const std::string& text, unsigned buttons = 0);
inline constexpr const char* kMessageTitle = "信息：";

// `GetSysColor(COLOR_BTNFACE)`: the back colour of every form window.
COLORREF DefaultBackColour();

// Runs the message loop until WM_QUIT, then the exit routine (once).
// Returns the quit code.
int RunMessageLoop();
// The routine run when the message loop ends (replaces any earlier one).
void SetExitRoutine(std::function<void()> routine);

// Makes the window of `form` and runs it modally: every other enabled
// top-level window of this thread is disabled until it closes. Returns when
// it closes; the window is destroyed and made anew by the next load. Returns
// false (with `error` set) when it cannot be made.
bool LoadModal(const FormDescription& form, const HandlerTable& handlers, std::string& error,
               const CreateOptions& options = {});

// ---- one window made from a form --------------------------------------------

class Window {
public:
    // Makes the window and its controls, raises `created`, then shows it
    // (unless options say otherwise). A handler name the table lacks, or a
    // window the system refuses, gives null and "form <form>, line <n>: ...".
    static std::unique_ptr<Window> Create(const FormDescription& form,
                                          const HandlerTable& handlers, std::string& error,
                                          const CreateOptions& options = {});
    ~Window();  // destroys the window if it is still there
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& Form() const { return form_.form; }
    bool IsOpen() const { return hwnd_ != nullptr; }

    // The HWND of the window (empty name) or of a control; null if unknown
    // or destroyed.
    HWND Handle(std::string_view control = {}) const;

    std::string ReadText(std::string_view control, int number) const;
    long ReadValue(std::string_view control, int number) const;
    bool WriteText(std::string_view control, int number, std::string_view text);
    bool WriteValue(std::string_view control, int number, long value);

    // The browser box's navigate operation: flags 0, no target frame, post
    // data or headers. False for a control that is no browser box, or when
    // the box has no browser or the browser refuses.
    bool Navigate(std::string_view control, std::string_view address);

    // The browser box named `control`, or null.
    HtmlViewer* Viewer(std::string_view control) const;

    // Posts WM_QUIT when the window is destroyed (the main window).
    void SetQuitOnDestroy(bool quit) { quit_on_destroy_ = quit; }

    // Raises `event` of `control` as the system would and returns the
    // handler's result (true when no handler is bound).
    bool Raise(std::string_view control, int event, long value = 0, bool enabled = false,
               std::string_view text = {});

private:
    struct Control {
        const UnitDescription* unit;
        HWND hwnd = nullptr;
        std::unique_ptr<HtmlViewer> viewer;
    };

    Window(const FormDescription& form);
    bool Build(const HandlerTable& handlers, std::string& error);
    const Control* Find(std::string_view name) const;
    const Control* FindByHandle(HWND hwnd) const;
    const UnitDescription* Describe(std::string_view control) const;
    HWND Parent(const UnitDescription& unit) const;

    friend WNDPROC WindowProcForForms();
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT OnCommand(HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, WPARAM wp, LPARAM lp);
    void OnDestroy();
    void OnNcDestroy();

    FormDescription form_;
    std::map<std::pair<std::string, int>, Handler, std::less<>> bound_;
    HWND hwnd_ = nullptr;
    std::vector<Control> controls_;
    bool quit_on_destroy_ = false;
};

}  // namespace vostrel::form
