// The browser box (`HtmlViewer`): a host window of the runtime's own class
// holding one web browser, with the box's properties and its events 0 to 9.
//
//   0 BeforeNavigate2     the address property answers the target; false cancels
//   1 NavigateComplete2   the address property answers the new address
//   2 DownloadBegin
//   3 ProgressChange      percent = progress x 100 / maximum, 100 when the maximum is 0
//   4 DownloadComplete
//   5 DocumentComplete    the address property answers the document's address
//   6 StatusTextChange    the text is kept as the status text before the handler runs
//   7 TitleChange         the title
//   8 CommandStateChange  forward (0) and back (1) only, with the enabled flag
//   9 NewWindow2          false cancels the new window
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "browser.h"

namespace vostrel::form {

// The host window class of every browser box.
inline constexpr const char* kHtmlViewerClass = "VostrelHtmlViewer";

class HtmlViewer final : public BrowserEventSink {
public:
    // Raises one of the box's events; returns the handler's answer (true
    // when no handler is bound or it gave no value).
    using Raiser = std::function<bool(int event, long value, bool enabled, std::string_view text)>;

    explicit HtmlViewer(Raiser raise);
    ~HtmlViewer() override;
    HtmlViewer(const HtmlViewer&) = delete;
    HtmlViewer& operator=(const HtmlViewer&) = delete;

    // Makes the browser inside `host` with `factory`. If the factory gives
    // nothing the box stays empty and every operation still answers.
    void Attach(HWND host, WebBrowserFactory factory);
    // Releases the browser (when the host window goes away).
    void Detach();
    HWND Host() const { return host_; }
    bool HasBrowser() const { return browser_ != nullptr; }

    // Address property: while events 0, 1 and 5 run, the address the event
    // concerns; otherwise the browser's location (the last written address
    // when there is no browser).
    std::string Address() const;
    // Writing the address property: keeps the text and navigates there.
    bool SetAddress(std::string_view address);
    bool Navigate(std::string_view address);
    const std::string& StatusText() const { return status_text_; }

    // Percent of a progress report, as event 3 gives it: 100 when the
    // maximum is 0, otherwise progress x 100 / maximum truncated and kept
    // within 0..100 (the control reports -1 when done, and sizes can make
    // the product exceed 32 bits).
    static long Percent(long progress, long maximum);

    // The host window's procedure (registered by the runtime).
    static LRESULT CALLBACK HostProc(HWND, UINT, WPARAM, LPARAM);

    // BrowserEventSink
    bool OnBeforeNavigate(const std::string& address) override;
    void OnNavigateComplete(const std::string& address) override;
    void OnDownloadBegin() override;
    void OnProgressChange(long progress, long maximum) override;
    void OnDownloadComplete() override;
    void OnDocumentComplete(const std::string& address) override;
    void OnStatusTextChange(const std::string& text) override;
    void OnTitleChange(const std::string& title) override;
    void OnCommandStateChange(long command, bool enabled) override;
    bool OnNewWindow() override;

private:
    bool RaiseWithAddress(int event, const std::string& address);

    Raiser raise_;
    HWND host_ = nullptr;
    std::unique_ptr<WebBrowser> browser_;
    std::string written_address_;
    std::string status_text_;
    std::optional<std::string> event_address_;
};

}  // namespace vostrel::form
