// A web browser double for the browser box: records every call the box
// makes and lets a test raise the control's events through the box's sink.
// Its location follows Navigate, as the real control's does.
#pragma once

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "form/browser.h"

namespace vostrel::test {

class RecordingBrowser final : public form::WebBrowser {
public:
    RecordingBrowser(HWND host, form::BrowserEventSink& sink) : host(host), sink(sink) {
        Live().push_back(this);
    }
    ~RecordingBrowser() override {
        auto& live = Live();
        live.erase(std::remove(live.begin(), live.end(), this), live.end());
    }

    bool Navigate(const std::string& address) override {
        navigations.push_back(address);
        location = address;
        return navigate_result;
    }
    std::string LocationUrl() const override { return location; }
    void Resize(int w, int h) override {
        width = w;
        height = h;
    }

    // The factory the runtime is given in tests.
    static std::unique_ptr<form::WebBrowser> Factory(HWND host, form::BrowserEventSink& sink) {
        return std::make_unique<RecordingBrowser>(host, sink);
    }
    // A factory whose browser cannot be made.
    static std::unique_ptr<form::WebBrowser> FailingFactory(HWND, form::BrowserEventSink&) {
        return nullptr;
    }
    // Every double alive, oldest first.
    static std::vector<RecordingBrowser*>& Live() {
        static std::vector<RecordingBrowser*> live;
        return live;
    }
    // The browser made for `host`, or null.
    static RecordingBrowser* For(HWND host) {
        for (RecordingBrowser* b : Live())
            if (b->host == host) return b;
        return nullptr;
    }

    HWND host;
    form::BrowserEventSink& sink;
    std::vector<std::string> navigations;
    std::string location;
    bool navigate_result = true;
    int width = -1, height = -1;
};

}  // namespace vostrel::test
