// The real host of the system web browser control: the control is created,
// given our site, activated in place inside the host window and connected
// to our DWebBrowserEvents2 sink; destroying the host object takes all of
// it apart again, in the order that lets the control free itself.
#include "form/web_browser.h"

#include <exdisp.h>

#include <memory>

namespace vostrel::form {

namespace web {
namespace {
ULONG g_last_control_release = 0;
com_ptr<IUnknown>* g_hand_over = nullptr;
}  // namespace

ULONG LastControlReleaseCount() { return g_last_control_release; }
void HandOverNextControl(com_ptr<IUnknown>* keeper) { g_hand_over = keeper; }
}  // namespace web

namespace {

using web::BrowserEvents;
using web::BrowserSite;

class SystemWebBrowser final : public WebBrowser {
public:
    SystemWebBrowser() = default;
    SystemWebBrowser(const SystemWebBrowser&) = delete;
    SystemWebBrowser& operator=(const SystemWebBrowser&) = delete;
    ~SystemWebBrowser() override { Teardown(); }

    // Creates, sites, connects and activates the control; false (with
    // everything done so far undone by the destructor) when any step fails.
    bool Start(HWND host, BrowserEventSink& sink);

    bool Navigate(const std::string& address) override;
    std::string LocationUrl() const override;
    void Resize(int width, int height) override;

private:
    void Teardown() noexcept;

    HWND host_ = nullptr;
    bool ole_started_ = false;
    com_ptr<BrowserSite> site_;
    com_ptr<BrowserEvents> events_;
    com_ptr<IOleObject> object_;
    com_ptr<IWebBrowser2> browser_;
    com_ptr<IConnectionPoint> events_point_;
    DWORD events_cookie_ = 0;
};

bool SystemWebBrowser::Start(HWND host, BrowserEventSink& sink) {
    // In-place activation needs OLE on this (single-threaded) apartment. The
    // call is counted, so a caller that started OLE itself is not disturbed;
    // a thread of the multi-threaded apartment cannot host the control.
    if (FAILED(OleInitialize(nullptr))) return false;
    ole_started_ = true;
    host_ = host;

    site_ = BrowserSite::Create(host);
    events_ = BrowserEvents::Create(sink);
    if (!site_ || !events_) return false;

    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IOleObject, object_.put_void())))
        return false;
    browser_ = object_.query<IWebBrowser2>();
    if (!browser_) return false;

    if (FAILED(object_->SetClientSite(static_cast<IOleClientSite*>(site_.get())))) return false;
    // After SetClientSite: the control reads the ambient properties while it
    // is sited and may reset the flag then. Silent means no script-error
    // dialogs and no other message boxes of the control's own.
    browser_->put_Silent(VARIANT_TRUE);

    auto container = object_.query<IConnectionPointContainer>();
    if (!container ||
        FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, events_point_.put())) ||
        FAILED(events_point_->Advise(static_cast<IDispatch*>(events_.get()), &events_cookie_))) {
        events_cookie_ = 0;
        return false;
    }

    RECT area{};
    GetClientRect(host, &area);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                               static_cast<IOleClientSite*>(site_.get()), 0, host, &area)))
        return false;
    return true;
}

void SystemWebBrowser::Teardown() noexcept {
    // From here on events reach no handler and every navigation they
    // announce is refused.
    if (events_) events_->Disconnect();
    if (browser_) browser_->Stop();
    // A navigation the control has queued for itself (every one after the
    // first) is a message posted to its own window, holding a reference to
    // the control; closed with that message unread, the control is never
    // freed. So the control's queued messages run first: the navigation
    // they start is refused at once. Only the messages of the host and the
    // windows inside it are taken (never WM_QUIT or the application's own),
    // and only a bounded number of them.
    if (host_ && IsWindow(host_)) {
        MSG msg;
        for (int n = 0; n < 256 && PeekMessageA(&msg, host_, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE);
             ++n) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (events_point_ && events_cookie_) events_point_->Unadvise(events_cookie_);
    events_cookie_ = 0;
    events_point_.reset();
    if (object_) {
        object_->SetClientSite(nullptr);
        object_->Close(OLECLOSE_NOSAVE);
    }
    browser_.reset();
    if (object_) {
        if (web::g_hand_over) {
            *web::g_hand_over = com_ptr<IUnknown>::copy(object_.get());
            web::g_hand_over = nullptr;
        }
        web::g_last_control_release = object_.detach()->Release();
    }
    if (site_) site_->Disconnect();
    site_.reset();
    events_.reset();
    if (ole_started_) OleUninitialize();
    ole_started_ = false;
}

bool SystemWebBrowser::Navigate(const std::string& address) {
    // The first navigation of a new control raises its events inside this
    // call, and a handler may destroy this object: only locals are used
    // from here on, and the control is kept alive by its own reference.
    auto browser = com_ptr<IWebBrowser2>::copy(browser_.get());
    if (!browser) return false;
    web::unique_bstr url = web::BstrFromAnsi(address);
    if (!url) return false;
    VARIANT flags, target, post_data, headers;
    VariantInit(&flags);
    V_VT(&flags) = VT_I4;
    V_I4(&flags) = 0;
    VariantInit(&target);
    VariantInit(&post_data);
    VariantInit(&headers);
    return browser->Navigate(url.get(), &flags, &target, &post_data, &headers) == S_OK;
}

std::string SystemWebBrowser::LocationUrl() const {
    if (!browser_) return {};
    web::unique_bstr url;
    if (FAILED(browser_->get_LocationURL(url.put()))) return {};
    return web::AnsiFromBstr(url.get());
}

void SystemWebBrowser::Resize(int width, int height) {
    if (!object_) return;
    auto in_place = object_.query<IOleInPlaceObject>();
    if (!in_place) return;
    RECT area{0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    in_place->SetObjectRects(&area, &area);
}

}  // namespace

std::unique_ptr<WebBrowser> CreateSystemWebBrowser(HWND host, BrowserEventSink& sink) {
    if (!host || !IsWindow(host)) return nullptr;
    auto browser = std::make_unique<SystemWebBrowser>();
    if (!browser->Start(host, sink)) return nullptr;
    return browser;
}

}  // namespace vostrel::form
