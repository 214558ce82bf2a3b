// The pieces of the system web browser host (web_browser.cpp,
// web_browser_site.cpp) that its tests reach directly: the text conversions
// between the control's UTF-16 strings and the program's ANSI texts, the
// COM objects the host gives the control (its site and its event sink), and
// a count of those objects still alive.
#pragma once

#include <windows.h>
#include <oleidl.h>
#include <ocidl.h>
#include <exdisp.h>
#include <mshtmhst.h>

#include <string>

#include "common/unique_handle.h"
#include "form/browser.h"

namespace vostrel::form::web {

// ---- Texts ----------------------------------------------------------------

// UTF-16 to ANSI (CP_ACP). Characters the code page lacks become its default
// character; embedded NULs are kept.
std::string AnsiFromWide(const wchar_t* text, size_t length);
// A NULL BSTR is the empty text.
std::string AnsiFromBstr(BSTR text);
// The text a VARIANT holds: VT_BSTR directly or by reference, a VARIANT by
// reference (followed), or anything the system can change into a string.
// Empty, null and unconvertible values give the empty text.
std::string AnsiFromVariant(const VARIANT* value);

// An owned BSTR (SysFreeString).
namespace detail {
inline void free_bstr(BSTR s) noexcept { ::SysFreeString(s); }
}  // namespace detail
using unique_bstr = unique_handle<handle_traits<BSTR, detail::free_bstr>>;

// ANSI (CP_ACP) to a new BSTR; null only when memory runs out.
unique_bstr BstrFromAnsi(const std::string& text);

// ---- COM objects given to the control ---------------------------------------

// Number of the host's own COM objects (sites and event sinks) alive in this
// process. Every object frees itself when its last reference goes, so after
// every browser is destroyed this is back to where it started.
long LiveHostObjects();

// The client site, in-place site and in-place frame of one control, with the
// document host's UI handler and the ambient properties (IDispatch): one
// object, one reference count. It keeps the host window, the rectangle the
// control is placed in.
class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDocHostUIHandler,
                          public IDispatch {
public:
    // The new object holds one reference, owned by the returned pointer.
    static com_ptr<BrowserSite> Create(HWND host);

    // Forgets the host window: a control that still holds the site after the
    // host is gone gets no window from it.
    void Disconnect() noexcept { host_ = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** out) override;
    STDMETHODIMP GetContainer(IOleContainer** out) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU menu, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU menu, HOLEMENU ole_menu, HWND active) override;
    STDMETHODIMP RemoveMenus(HMENU menu) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;  // also IDocHostUIHandler's
    STDMETHODIMP TranslateAccelerator(LPMSG msg, WORD id) override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* at, IUnknown* target,
                                 IDispatch* reserved) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* object,
                        IOleCommandTarget* target, IOleInPlaceFrame* frame,
                        IOleInPlaceUIWindow* doc) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                              BOOL frame_window) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD id) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** out) override;
    STDMETHODIMP GetExternal(IDispatch** out) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* out) override;
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** out) override;

    // IDispatch: the ambient properties the control reads from its site.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override;

private:
    explicit BrowserSite(HWND host) noexcept;
    ~BrowserSite();

    LONG refs_ = 1;
    HWND host_;
};

// The DWebBrowserEvents2 sink: turns each event the control fires into a
// call on the browser's BrowserEventSink, with ANSI texts, and writes the
// sink's refusal back into the event's Cancel argument.
class BrowserEvents final : public IDispatch {
public:
    // The new object holds one reference, owned by the returned pointer.
    static com_ptr<BrowserEvents> Create(BrowserEventSink& sink);

    // Stops calling the sink, for the browser's teardown: events that still
    // arrive reach no handler, and every navigation and new window they
    // announce is refused, so nothing new starts in a control being closed.
    void Disconnect() noexcept { sink_ = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override;

private:
    explicit BrowserEvents(BrowserEventSink& sink) noexcept;
    ~BrowserEvents();

    LONG refs_ = 1;
    BrowserEventSink* sink_;
};

// Reference count the control reported when the host let go of its last
// pointer to it in the most recent teardown (0: the control freed itself).
ULONG LastControlReleaseCount();

// For tests: the next teardown gives one reference to its control to
// `*keeper` before letting go of its own, so a test can watch the control's
// remaining references drop (a control closed while a download runs frees
// itself only when that download's messages have been handled).
void HandOverNextControl(com_ptr<IUnknown>* keeper);

}  // namespace vostrel::form::web
