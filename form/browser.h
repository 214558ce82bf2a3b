// The web browser behind a browser box (`HtmlViewer`), seen through a small
// interface: the box's properties and events are written against it, so the
// application's handlers can be tested against a recording double while the
// real host of the system web browser control is tested on its own.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace vostrel::form {

// Events of the web browser control, one method per event the browser box
// raises (numbered as the box's events 0 to 9). Texts are ANSI (GBK); a NULL
// text from the control arrives as an empty string.
class BrowserEventSink {
public:
    virtual ~BrowserEventSink() = default;
    // 0: returning false cancels the navigation.
    virtual bool OnBeforeNavigate(const std::string& address) = 0;
    // 1
    virtual void OnNavigateComplete(const std::string& address) = 0;
    // 2
    virtual void OnDownloadBegin() = 0;
    // 3: raw values as the control reports them.
    virtual void OnProgressChange(long progress, long maximum) = 0;
    // 4
    virtual void OnDownloadComplete() = 0;
    // 5
    virtual void OnDocumentComplete(const std::string& address) = 0;
    // 6
    virtual void OnStatusTextChange(const std::string& text) = 0;
    // 7
    virtual void OnTitleChange(const std::string& title) = 0;
    // 8: every command the control reports (the box keeps forward and back).
    virtual void OnCommandStateChange(long command, bool enabled) = 0;
    // 9: returning false cancels the new window.
    virtual bool OnNewWindow() = 0;
};

// One web browser, placed in a host window.
class WebBrowser {
public:
    virtual ~WebBrowser() = default;
    // Navigates with flags 0 and no target frame, post data or headers.
    // Returns the control's own result (true on S_OK).
    virtual bool Navigate(const std::string& address) = 0;
    // The control's current location address (ANSI), empty when none.
    virtual std::string LocationUrl() const = 0;
    // Keeps the control filling the host's client area.
    virtual void Resize(int width, int height) = 0;
};

// Makes a web browser inside `host`, reporting to `sink` (which must outlive
// it). Returns null when the browser cannot be made: the box then stays
// empty and everything else goes on working.
using WebBrowserFactory =
    std::unique_ptr<WebBrowser> (*)(HWND host, BrowserEventSink& sink);

// The real host of the system web browser control (OLE in-place activation).
std::unique_ptr<WebBrowser> CreateSystemWebBrowser(HWND host, BrowserEventSink& sink);

}  // namespace vostrel::form
