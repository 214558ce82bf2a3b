// The browser box: host window, properties and events 0 to 9.
#include "html_viewer.h"

#include <utility>

#include "form_description.h"

namespace vostrel::form {

namespace {

// The control's own command numbers (CSC_NAVIGATEFORWARD, CSC_NAVIGATEBACK).
constexpr long kControlForward = 1;
constexpr long kControlBack = 2;

HtmlViewer* ViewerOf(HWND hwnd) {
    return reinterpret_cast<HtmlViewer*>(GetWindowLongPtrA(hwnd, 0));
}

}  // namespace

HtmlViewer::HtmlViewer(Raiser raise) : raise_(std::move(raise)) {}

HtmlViewer::~HtmlViewer() { Detach(); }

void HtmlViewer::Attach(HWND host, WebBrowserFactory factory) {
    host_ = host;
    if (!factory) return;
    browser_ = factory(host, *this);
    if (browser_) {
        RECT rc{};
        GetClientRect(host, &rc);
        browser_->Resize(rc.right, rc.bottom);
    }
}

void HtmlViewer::Detach() { browser_.reset(); }

std::string HtmlViewer::Address() const {
    if (event_address_) return *event_address_;
    return browser_ ? browser_->LocationUrl() : written_address_;
}

bool HtmlViewer::SetAddress(std::string_view address) {
    written_address_.assign(address);
    // Navigate from a copy: the browser may raise events (and handlers may
    // write the property again) before Navigate returns.
    const std::string target = written_address_;
    return browser_ && browser_->Navigate(target);
}

bool HtmlViewer::Navigate(std::string_view address) {
    const std::string target(address);
    return browser_ && browser_->Navigate(target);
}

long HtmlViewer::Percent(long progress, long maximum) {
    if (maximum == 0) return 100;
    const long long percent = static_cast<long long>(progress) * 100 / maximum;
    return percent < 0 ? 0 : percent > 100 ? 100 : static_cast<long>(percent);
}

bool HtmlViewer::RaiseWithAddress(int ev, const std::string& address) {
    // Events can nest (a handler that navigates raises the next
    // BeforeNavigate inside this one): each restores what it found.
    std::optional<std::string> outer = std::exchange(event_address_, address);
    const bool result = raise_(ev, 0, false, address);
    event_address_ = std::move(outer);
    return result;
}

bool HtmlViewer::OnBeforeNavigate(const std::string& address) {
    return RaiseWithAddress(event::kBeforeNavigate, address);
}

void HtmlViewer::OnNavigateComplete(const std::string& address) {
    RaiseWithAddress(event::kNavigateComplete, address);
}

void HtmlViewer::OnDownloadBegin() { raise_(event::kDownloadBegin, 0, false, {}); }

void HtmlViewer::OnProgressChange(long progress, long maximum) {
    raise_(event::kProgressChange, Percent(progress, maximum), false, {});
}

void HtmlViewer::OnDownloadComplete() { raise_(event::kDownloadComplete, 0, false, {}); }

void HtmlViewer::OnDocumentComplete(const std::string& address) {
    RaiseWithAddress(event::kDocumentComplete, address);
}

void HtmlViewer::OnStatusTextChange(const std::string& text) {
    status_text_ = text;
    raise_(event::kStatusTextChange, 0, false, status_text_);
}

void HtmlViewer::OnTitleChange(const std::string& title) {
    raise_(event::kTitleChange, 0, false, title);
}

void HtmlViewer::OnCommandStateChange(long command, bool enabled) {
    if (command == kControlForward) raise_(event::kCommandStateChange, 0, enabled, {});
    else if (command == kControlBack) raise_(event::kCommandStateChange, 1, enabled, {});
}

bool HtmlViewer::OnNewWindow() { return raise_(event::kNewWindow, 0, false, {}); }

LRESULT CALLBACK HtmlViewer::HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        break;
    }
    case WM_SIZE:
        if (HtmlViewer* v = ViewerOf(hwnd); v && v->browser_)
            v->browser_->Resize(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_LBUTTONDOWN:
        if (HtmlViewer* v = ViewerOf(hwnd); v && !v->raise_(event::kLeftButtonDown, 0, false, {}))
            return 0;
        break;
    case WM_RBUTTONDOWN:
        if (HtmlViewer* v = ViewerOf(hwnd); v && !v->raise_(event::kRightButtonDown, 0, false, {}))
            return 0;
        break;
    case WM_DESTROY:
        // Every COM reference goes with the host window, while the window
        // the control sits in still exists.
        if (HtmlViewer* v = ViewerOf(hwnd)) v->Detach();
        return 0;
    case WM_NCDESTROY:
        if (HtmlViewer* v = ViewerOf(hwnd)) v->host_ = nullptr;
        SetWindowLongPtrA(hwnd, 0, 0);
        break;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace vostrel::form
