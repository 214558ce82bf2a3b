// Figures of the browser box's host of the system web browser control: what
// making and tearing down one control costs, and one navigation from the
// Navigate call to DownloadComplete (to a loopback port nobody listens on,
// so no outside host is contacted and no server is needed).
#include <windows.h>

#include <memory>
#include <string>

#include "bench.h"
#include "form/web_browser.h"

using namespace vostrel::bench;

namespace {

class CountingSink final : public vostrel::form::BrowserEventSink {
public:
    bool download_complete = false;
    bool OnBeforeNavigate(const std::string&) override { return true; }
    void OnNavigateComplete(const std::string&) override {}
    void OnDownloadBegin() override {}
    void OnProgressChange(long, long) override {}
    void OnDownloadComplete() override { download_complete = true; }
    void OnDocumentComplete(const std::string&) override {}
    void OnStatusTextChange(const std::string&) override {}
    void OnTitleChange(const std::string&) override {}
    void OnCommandStateChange(long, bool) override {}
    bool OnNewWindow() override { return true; }
};

void Pump(const CountingSink& sink, DWORD limit_ms) {
    const DWORD start = GetTickCount();
    while (!sink.download_complete && GetTickCount() - start < limit_ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace

VOSTREL_BENCH(browser_host) {
    HWND host = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!host) return;
    CountingSink sink;
    // The first control of the process loads the browser's libraries.
    double first = Now();
    auto browser = vostrel::form::CreateSystemWebBrowser(host, sink);
    first = Now() - first;
    if (!browser) {
        Report("browser_host.unavailable", 1, "");
        DestroyWindow(host);
        return;
    }
    browser.reset();
    Report("browser_host.first_create_destroy", first * 1000, "ms");

    Report("browser_host.create_destroy", 1000 * TimeEach(10, [&] {
        auto b = vostrel::form::CreateSystemWebBrowser(host, sink);
    }), "ms");

    Report("browser_host.create_navigate_complete_destroy", 1000 * TimeEach(5, [&] {
        CountingSink s;
        auto b = vostrel::form::CreateSystemWebBrowser(host, s);
        if (b) {
            b->Navigate("http://127.0.0.1:9/bench");
            Pump(s, 5000);
        }
    }), "ms");
    DestroyWindow(host);
}
