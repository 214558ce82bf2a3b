// The COM objects the browser host gives the system web browser control: its
// site (client site, in-place site and frame, document UI handler, ambient
// properties) and its DWebBrowserEvents2 sink; and the text conversions
// between the control's UTF-16 strings and the program's ANSI texts.
#include "form/web_browser.h"

#include <exdispid.h>
#include <idispids.h>
#include <olectl.h>

#include <new>

namespace vostrel::form::web {

namespace {

LONG g_live_objects = 0;

// The VARIANT a by-reference VARIANT leads to; a few levels at most, so a
// malformed chain cannot loop.
const VARIANT* Deref(const VARIANT* value) {
    for (int depth = 0; value && depth < 4; ++depth) {
        if (V_VT(value) != (VT_BYREF | VT_VARIANT)) return value;
        value = V_VARIANTREF(value);
    }
    return value && V_VT(value) == (VT_BYREF | VT_VARIANT) ? nullptr : value;
}

long LongFromVariant(const VARIANT* value) {
    value = Deref(value);
    if (!value) return 0;
    if (V_VT(value) == VT_I4) return V_I4(value);
    VARIANT converted;
    VariantInit(&converted);
    long result = 0;
    if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_I4)))
        result = V_I4(&converted);
    VariantClear(&converted);
    return result;
}

bool BoolFromVariant(const VARIANT* value) {
    value = Deref(value);
    if (!value) return false;
    if (V_VT(value) == VT_BOOL) return V_BOOL(value) != VARIANT_FALSE;
    if (V_VT(value) == (VT_BYREF | VT_BOOL)) return V_BOOLREF(value) && *V_BOOLREF(value) != VARIANT_FALSE;
    return LongFromVariant(value) != 0;
}

// Sets a by-reference VARIANT_BOOL out-argument (the events' Cancel); any
// other shape is left alone rather than written through a wrong pointer.
void SetBoolOut(VARIANT* value, bool on) {
    if (value && V_VT(value) == (VT_BYREF | VT_BOOL) && V_BOOLREF(value))
        *V_BOOLREF(value) = on ? VARIANT_TRUE : VARIANT_FALSE;
}

HRESULT OutNull(void** out, HRESULT result) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return result;
}

}  // namespace

// ---- Texts ----------------------------------------------------------------

std::string AnsiFromWide(const wchar_t* text, size_t length) {
    if (!text || length == 0) return {};
    const int wide = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wide, result.data(), bytes, nullptr, nullptr);
    return result;
}

std::string AnsiFromBstr(BSTR text) {
    return text ? AnsiFromWide(text, SysStringLen(text)) : std::string();
}

std::string AnsiFromVariant(const VARIANT* value) {
    value = Deref(value);
    if (!value) return {};
    switch (V_VT(value)) {
    case VT_EMPTY:
    case VT_NULL: return {};
    case VT_BSTR: return AnsiFromBstr(V_BSTR(value));
    case VT_BYREF | VT_BSTR: return V_BSTRREF(value) ? AnsiFromBstr(*V_BSTRREF(value)) : std::string();
    default: break;
    }
    VARIANT converted;
    VariantInit(&converted);
    std::string result;
    if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BSTR)))
        result = AnsiFromBstr(V_BSTR(&converted));
    VariantClear(&converted);
    return result;
}

unique_bstr BstrFromAnsi(const std::string& text) {
    const int bytes = static_cast<int>(text.size());
    const int wide = bytes ? MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0) : 0;
    unique_bstr result(SysAllocStringLen(nullptr, static_cast<UINT>(wide > 0 ? wide : 0)));
    if (result && wide > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, result.get(), wide);
    return result;
}

long LiveHostObjects() { return InterlockedCompareExchange(&g_live_objects, 0, 0); }

// ---- BrowserSite ------------------------------------------------------------

com_ptr<BrowserSite> BrowserSite::Create(HWND host) {
    return com_ptr<BrowserSite>::attach(new (std::nothrow) BrowserSite(host));
}

BrowserSite::BrowserSite(HWND host) noexcept : host_(host) { InterlockedIncrement(&g_live_objects); }
BrowserSite::~BrowserSite() { InterlockedDecrement(&g_live_objects); }

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDocHostUIHandler)
        *out = static_cast<IDocHostUIHandler*>(this);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else
        return OutNull(out, E_NOINTERFACE);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) BrowserSite::Release() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

// IOleClientSite: the control is embedded, never saved or linked.
STDMETHODIMP BrowserSite::SaveObject() { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
    return OutNull(reinterpret_cast<void**>(out), E_NOTIMPL);
}
STDMETHODIMP BrowserSite::GetContainer(IOleContainer** out) {
    return OutNull(reinterpret_cast<void**>(out), E_NOINTERFACE);
}
STDMETHODIMP BrowserSite::ShowObject() { return S_OK; }
STDMETHODIMP BrowserSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// IOleWindow: the host window is both the site's and the frame's window.
STDMETHODIMP BrowserSite::GetWindow(HWND* out) {
    if (!out) return E_POINTER;
    *out = host_;
    return host_ ? S_OK : E_FAIL;
}
STDMETHODIMP BrowserSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// IOleInPlaceSite
STDMETHODIMP BrowserSite::CanInPlaceActivate() { return host_ ? S_OK : S_FALSE; }
STDMETHODIMP BrowserSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP BrowserSite::OnUIActivate() { return S_OK; }

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                           LPRECT position, LPRECT clip,
                                           LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !doc || !position || !clip || !info) return E_POINTER;
    *frame = nullptr;
    *doc = nullptr;
    if (!host_) return E_FAIL;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    // The control fills the host's client area.
    GetClientRect(host_, position);
    *clip = *position;
    // Only the size of the structure is the caller's; the rest is ours.
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(host_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP BrowserSite::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::OnPosRectChange(LPCRECT) { return S_OK; }

// IOleInPlaceUIWindow: no toolbars or borders are given to the control.
STDMETHODIMP BrowserSite::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserSite::SetBorderSpace(LPCBORDERWIDTHS) { return OLE_E_INVALIDRECT; }
STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }

// IOleInPlaceFrame: no menus to merge, no status bar of the frame (the
// status text reaches the box through StatusTextChange).
STDMETHODIMP BrowserSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP BrowserSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP BrowserSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

// IDocHostUIHandler: the control's own context menu and UI; no border.
STDMETHODIMP BrowserSite::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

STDMETHODIMP BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    if (info->cbSize < sizeof(DOCHOSTUIINFO)) return E_INVALIDARG;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

STDMETHODIMP BrowserSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                 IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
    return S_FALSE;
}
STDMETHODIMP BrowserSite::HideUI() { return S_OK; }
STDMETHODIMP BrowserSite::UpdateUI() { return S_OK; }
STDMETHODIMP BrowserSite::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
STDMETHODIMP BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    return OutNull(reinterpret_cast<void**>(key), S_FALSE);
}
STDMETHODIMP BrowserSite::GetDropTarget(IDropTarget*, IDropTarget** out) {
    return OutNull(reinterpret_cast<void**>(out), E_NOTIMPL);
}
STDMETHODIMP BrowserSite::GetExternal(IDispatch** out) {
    return OutNull(reinterpret_cast<void**>(out), S_FALSE);
}
STDMETHODIMP BrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
    return OutNull(reinterpret_cast<void**>(out), S_FALSE);
}
STDMETHODIMP BrowserSite::FilterDataObject(IDataObject*, IDataObject** out) {
    return OutNull(reinterpret_cast<void**>(out), S_FALSE);
}

// IDispatch: ambient properties. The control is silent (no script-error or
// other dialogs of its own), online and in user mode; every other ambient
// property keeps the control's default.
STDMETHODIMP BrowserSite::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
STDMETHODIMP BrowserSite::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
    return OutNull(reinterpret_cast<void**>(out), E_NOTIMPL);
}
STDMETHODIMP BrowserSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                 VARIANT* result, EXCEPINFO*, UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
    case DISPID_AMBIENT_SILENT:
    case DISPID_AMBIENT_USERMODE:
        VariantInit(result);
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = VARIANT_TRUE;
        return S_OK;
    case DISPID_AMBIENT_OFFLINEIFNOTCONNECTED:
        VariantInit(result);
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = VARIANT_FALSE;
        return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

// ---- BrowserEvents ----------------------------------------------------------

com_ptr<BrowserEvents> BrowserEvents::Create(BrowserEventSink& sink) {
    return com_ptr<BrowserEvents>::attach(new (std::nothrow) BrowserEvents(sink));
}

BrowserEvents::BrowserEvents(BrowserEventSink& sink) noexcept : sink_(&sink) {
    InterlockedIncrement(&g_live_objects);
}
BrowserEvents::~BrowserEvents() { InterlockedDecrement(&g_live_objects); }

STDMETHODIMP BrowserEvents::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return OutNull(out, E_NOINTERFACE);
}

STDMETHODIMP_(ULONG) BrowserEvents::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) BrowserEvents::Release() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP BrowserEvents::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
STDMETHODIMP BrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
    return OutNull(reinterpret_cast<void**>(out), E_NOTIMPL);
}
STDMETHODIMP BrowserEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP BrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT*, EXCEPINFO*, UINT*) {
    // Arguments arrive last first: arg(0) is the event's first parameter.
    const UINT count = params ? params->cArgs : 0;
    VARIANT* const args = params ? params->rgvarg : nullptr;
    if (count && !args) return E_INVALIDARG;
    auto arg = [&](UINT i) { return &args[count - 1 - i]; };
    auto expect = [&](UINT n) { return count == n; };

    // Which events exist, and how many arguments each takes.
    switch (id) {
    case DISPID_BEFORENAVIGATE2: if (!expect(7)) return DISP_E_BADPARAMCOUNT; break;
    case DISPID_NAVIGATECOMPLETE2:
    case DISPID_DOCUMENTCOMPLETE:
    case DISPID_PROGRESSCHANGE:
    case DISPID_COMMANDSTATECHANGE:
    case DISPID_NEWWINDOW2: if (!expect(2)) return DISP_E_BADPARAMCOUNT; break;
    case DISPID_STATUSTEXTCHANGE:
    case DISPID_TITLECHANGE: if (!expect(1)) return DISP_E_BADPARAMCOUNT; break;
    case DISPID_DOWNLOADBEGIN:
    case DISPID_DOWNLOADCOMPLETE: break;
    default: return DISP_E_MEMBERNOTFOUND;
    }
    // A handler may destroy the browser (and with it this sink's owner).
    com_ptr<BrowserEvents> keep = com_ptr<BrowserEvents>::copy(this);
    BrowserEventSink* const sink = sink_;
    if (!sink) {
        if (id == DISPID_BEFORENAVIGATE2) SetBoolOut(arg(6), true);
        if (id == DISPID_NEWWINDOW2) SetBoolOut(arg(1), true);
        return S_OK;
    }

    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        // (pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
        if (!sink->OnBeforeNavigate(AnsiFromVariant(arg(1)))) SetBoolOut(arg(6), true);
        break;
    case DISPID_NAVIGATECOMPLETE2: sink->OnNavigateComplete(AnsiFromVariant(arg(1))); break;
    case DISPID_DOWNLOADBEGIN: sink->OnDownloadBegin(); break;
    case DISPID_PROGRESSCHANGE:
        sink->OnProgressChange(LongFromVariant(arg(0)), LongFromVariant(arg(1)));
        break;
    case DISPID_DOWNLOADCOMPLETE: sink->OnDownloadComplete(); break;
    case DISPID_DOCUMENTCOMPLETE: sink->OnDocumentComplete(AnsiFromVariant(arg(1))); break;
    case DISPID_STATUSTEXTCHANGE: sink->OnStatusTextChange(AnsiFromVariant(arg(0))); break;
    case DISPID_TITLECHANGE: sink->OnTitleChange(AnsiFromVariant(arg(0))); break;
    case DISPID_COMMANDSTATECHANGE:
        sink->OnCommandStateChange(LongFromVariant(arg(0)), BoolFromVariant(arg(1)));
        break;
    case DISPID_NEWWINDOW2:
        // (ppDisp, Cancel)
        if (!sink->OnNewWindow()) SetBoolOut(arg(1), true);
        break;
    default: break;
    }
    return S_OK;
}

}  // namespace vostrel::form::web
