// Figures of the form runtime: reading the main window's form description,
// making and destroying the main window (hidden, browser box empty), and the
// cost of one event from the system to its handler.
#include <windows.h>

#include <memory>
#include <string>

#include "bench.h"
#include "form/form.h"

using namespace vostrel::bench;
namespace form = vostrel::form;

namespace {

// The browser boxes stay empty: the figures are the runtime's own.
std::unique_ptr<form::WebBrowser> NoBrowser(HWND, form::BrowserEventSink&) { return nullptr; }

// Captures the sink a browser box gives its browser, to raise events by hand.
form::BrowserEventSink* g_sink = nullptr;
class SilentBrowser final : public form::WebBrowser {
public:
    bool Navigate(const std::string&) override { return true; }
    std::string LocationUrl() const override { return "http://here.test/"; }
    void Resize(int, int) override {}
};
std::unique_ptr<form::WebBrowser> KeepSink(HWND, form::BrowserEventSink& sink) {
    g_sink = &sink;
    return std::make_unique<SilentBrowser>();
}

form::HandlerTable AllHandlers(const form::FormDescription& f) {
    form::HandlerTable table;
    auto add = [&](const form::UnitDescription& u) {
        for (const auto& b : u.events)
            table[b.handler] = [](const form::EventArgs&) -> form::HandlerResult { return std::nullopt; };
    };
    add(f.window);
    for (const auto& c : f.controls) add(c);
    return table;
}

}  // namespace

VOSTREL_BENCH(FormRuntime) {
    form::Initialize();
    std::string error;
    const double parse = TimeEach(2000, [&] { form::LoadFormDescription("MAIN_WINDOW", error); });
    Report("form: read and parse the main window's description", parse * 1e6, "us");

    auto description = form::LoadFormDescription("MAIN_WINDOW", error);
    if (!description) return;
    const form::HandlerTable handlers = AllHandlers(*description);
    form::SetWebBrowserFactory(&NoBrowser);
    const double make = TimeEach(50, [&] {
        auto w = form::Window::Create(*description, handlers, error, {.show = false});
    });
    Report("form: make and destroy the hidden main window (14 controls)", make * 1e3, "ms");

    form::SetWebBrowserFactory(&KeepSink);
    auto w = form::Window::Create(*description, handlers, error, {.show = false});
    if (!w) return;
    HWND play = w->Handle("按钮12");
    HWND group = w->Handle("分组框1");
    const int n = 20000;
    const double click = TimeEach(n, [&] {
        SendMessageA(group, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(play), BN_CLICKED),
                     reinterpret_cast<LPARAM>(play));
    });
    Report("form: button click through its group box to the handler", click * 1e6, "us");
    const double before_navigate = TimeEach(n, [&] { g_sink->OnBeforeNavigate("http://a.test/?x=1&y=2"); });
    Report("form: BeforeNavigate2 through the browser box to its handler", before_navigate * 1e6, "us");
    const double read = TimeEach(n, [&] { w->ReadText("超文本浏览框1", form::property::kAddress); });
    Report("form: read the browser box's address property", read * 1e6, "us");
    w.reset();
    form::SetWebBrowserFactory(nullptr);
}
