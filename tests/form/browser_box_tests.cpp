// The browser box against a recording browser: every event of the control
// reaches its numbered handler with the values the box promises, the address
// and status-text properties answer as promised, and the browser lives and
// dies with the box.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "form/form.h"
#include "form/html_viewer.h"
#include "recording_browser.h"
#include "test_support.h"

namespace vostrel::form {
namespace {

using test::RecordingBrowser;

std::string_view U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// A window with one browser box, every event bound to one recorder.
class BrowserBox : public ::testing::Test {
protected:
    struct Call {
        int event;
        long value;
        bool enabled;
        std::string text;
        std::string address;      // property 11 while the handler runs
        std::string status_text;  // property 12 while the handler runs
    };

    void SetUp() override {
        std::string error;
        auto form = ParseFormDescription("T", U8(
            u8"window W\n size = 400, 300\n"
            u8"HtmlViewer box\n position = 10, 10\n size = 97, 48\n"
            u8" on 0 = E\n on 1 = E\n on 2 = E\n on 3 = E\n on 4 = E\n"
            u8" on 5 = E\n on 6 = E\n on 7 = E\n on 8 = E\n on 9 = E\n"), error);
        ASSERT_TRUE(form) << error;
        HandlerTable handlers{{"E", [this](const EventArgs& e) -> HandlerResult {
            calls.push_back({e.event, e.value, e.enabled, std::string(e.text),
                             e.window.ReadText("box", property::kAddress),
                             e.window.ReadText("box", property::kStatusText)});
            if (during) during(e);
            return answer;
        }}};
        window = Window::Create(*form, handlers, error, {.show = false});
        ASSERT_TRUE(window) << error;
        browser = RecordingBrowser::For(window->Handle("box"));
        ASSERT_NE(nullptr, browser);
        browser->location = "http://here.test/";
    }

    BrowserEventSink& Sink() { return browser->sink; }

    std::unique_ptr<Window> window;
    RecordingBrowser* browser = nullptr;
    std::vector<Call> calls;
    HandlerResult answer = std::nullopt;
    std::function<void(const EventArgs&)> during;
};

TEST_F(BrowserBox, EventsReachHandlersWithTheirValues) {
    struct Case {
        const char* what;
        std::function<void(BrowserEventSink&)> raise;
        int event;  // -1: no event
        long value;
        bool enabled;
        const char* text;
        const char* address;  // what property 11 answers inside the handler
    } cases[] = {
        {"BeforeNavigate2", [](BrowserEventSink& s) { s.OnBeforeNavigate("http://a.test/?x=1&y=2"); },
         0, 0, false, "http://a.test/?x=1&y=2", "http://a.test/?x=1&y=2"},
        {"NavigateComplete2", [](BrowserEventSink& s) { s.OnNavigateComplete("http://b.test/"); },
         1, 0, false, "http://b.test/", "http://b.test/"},
        {"DownloadBegin", [](BrowserEventSink& s) { s.OnDownloadBegin(); }, 2, 0, false, "", "http://here.test/"},
        {"ProgressChange", [](BrowserEventSink& s) { s.OnProgressChange(50, 200); }, 3, 25, false, "",
         "http://here.test/"},
        {"DownloadComplete", [](BrowserEventSink& s) { s.OnDownloadComplete(); }, 4, 0, false, "",
         "http://here.test/"},
        {"DocumentComplete", [](BrowserEventSink& s) { s.OnDocumentComplete("http://c.test/doc"); },
         5, 0, false, "http://c.test/doc", "http://c.test/doc"},
        {"StatusTextChange", [](BrowserEventSink& s) { s.OnStatusTextChange("完成"); }, 6, 0, false, "完成",
         "http://here.test/"},
        {"TitleChange", [](BrowserEventSink& s) { s.OnTitleChange("标题"); }, 7, 0, false, "标题",
         "http://here.test/"},
        {"CommandStateChange forward", [](BrowserEventSink& s) { s.OnCommandStateChange(1, true); },
         8, 0, true, "", "http://here.test/"},
        {"CommandStateChange back", [](BrowserEventSink& s) { s.OnCommandStateChange(2, false); },
         8, 1, false, "", "http://here.test/"},
        {"CommandStateChange update-all is not raised",
         [](BrowserEventSink& s) { s.OnCommandStateChange(-1, true); }, -1, 0, false, "", ""},
        {"NewWindow2", [](BrowserEventSink& s) { s.OnNewWindow(); }, 9, 0, false, "", "http://here.test/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        calls.clear();
        c.raise(Sink());
        if (c.event < 0) {
            EXPECT_TRUE(calls.empty());
            continue;
        }
        ASSERT_EQ(1u, calls.size());
        EXPECT_EQ(c.event, calls[0].event);
        EXPECT_EQ(c.value, calls[0].value);
        EXPECT_EQ(c.enabled, calls[0].enabled);
        EXPECT_EQ(c.text, calls[0].text);
        EXPECT_EQ(c.address, calls[0].address);
        // Outside the event the property answers the browser's location again.
        EXPECT_EQ("http://here.test/", window->ReadText("box", property::kAddress));
    }
}

TEST_F(BrowserBox, StatusTextIsKeptBeforeTheHandlerRuns) {
    EXPECT_EQ("", window->ReadText("box", property::kStatusText));
    Sink().OnStatusTextChange("正在打开 http://a.test/");
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("正在打开 http://a.test/", calls[0].status_text);
    Sink().OnStatusTextChange("");
    EXPECT_EQ("", window->ReadText("box", property::kStatusText));
}

TEST_F(BrowserBox, HandlerAnswerDecidesNavigationAndNewWindow) {
    struct Case {
        HandlerResult answer;
        bool allowed;
    } cases[] = {{std::nullopt, true}, {true, true}, {false, false}};
    for (const Case& c : cases) {
        answer = c.answer;
        EXPECT_EQ(c.allowed, Sink().OnBeforeNavigate("http://a.test/"));
        EXPECT_EQ(c.allowed, Sink().OnNewWindow());
    }
}

TEST_F(BrowserBox, NestedEventsRestoreTheOuterAddress) {
    std::string seen_after_inner;
    during = [&](const EventArgs& e) {
        if (e.event != event::kBeforeNavigate || e.text != "http://outer.test/") return;
        Sink().OnBeforeNavigate("http://inner.test/");
        seen_after_inner = e.window.ReadText("box", property::kAddress);
    };
    Sink().OnBeforeNavigate("http://outer.test/");
    EXPECT_EQ("http://outer.test/", seen_after_inner);
    EXPECT_EQ("http://here.test/", window->ReadText("box", property::kAddress));
}

TEST(BrowserBoxPercent, ProgressBecomesAPercentWithinRange) {
    struct Case {
        long progress, maximum, percent;
    } cases[] = {
        {0, 0, 100},     {7, 0, 100},   {-1, 0, 100},  {0, 100, 0},
        {50, 200, 25},   {1, 3, 33},    {2, 3, 66},    {100, 100, 100},
        {250, 100, 100}, {-1, 1000, 0}, {5, -10, 0},
        {2000000000, 2100000000, 95},  // the product exceeds 32 bits
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.percent, HtmlViewer::Percent(c.progress, c.maximum)) << c.progress << "/" << c.maximum;
}

TEST_F(BrowserBox, WritingTheAddressNavigatesAtOnce) {
    EXPECT_TRUE(window->WriteText("box", property::kAddress, "www.site.test"));
    EXPECT_TRUE(window->Navigate("box", "http://x.test/a?u=http://y.test/b?c=1&d=2"));
    EXPECT_EQ((std::vector<std::string>{"www.site.test", "http://x.test/a?u=http://y.test/b?c=1&d=2"}),
              browser->navigations);
    EXPECT_EQ("http://x.test/a?u=http://y.test/b?c=1&d=2", window->ReadText("box", property::kAddress));
    browser->navigate_result = false;
    EXPECT_FALSE(window->Navigate("box", "x"));
    EXPECT_FALSE(window->Navigate("nothing", "x"));
}

TEST_F(BrowserBox, VisiblePropertyShowsAndHides) {
    EXPECT_EQ(1, window->ReadValue("box", property::kVisible));
    EXPECT_TRUE(window->WriteValue("box", property::kVisible, 0));
    EXPECT_EQ(0, window->ReadValue("box", property::kVisible));
    EXPECT_TRUE(window->WriteValue("box", property::kVisible, 1));
    EXPECT_EQ(1, window->ReadValue("box", property::kVisible));
}

TEST_F(BrowserBox, BrowserFillsTheBoxAndFollowsItsSize) {
    EXPECT_EQ(97, browser->width);
    EXPECT_EQ(48, browser->height);
    window->WriteValue("box", property::kWidth, 200);
    EXPECT_EQ(200, browser->width);
    EXPECT_EQ(48, browser->height);
}

TEST_F(BrowserBox, BrowserGoesWithTheWindow) {
    const size_t before = RecordingBrowser::Live().size();
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(before - 1, RecordingBrowser::Live().size());
    EXPECT_EQ(nullptr, RecordingBrowser::For(browser->host));
    EXPECT_EQ("", window->ReadText("box", property::kAddress));
}

TEST(BrowserBoxLifetime, RepeatedBoxesLeaveNoBrowserBehind) {
    std::string error;
    auto form = ParseFormDescription("T", "window W\n size = 100, 100\nHtmlViewer box\n size = 50, 50\n", error);
    ASSERT_TRUE(form) << error;
    const size_t before = RecordingBrowser::Live().size();
    for (int i = 0; i < 20; ++i) {
        auto w = Window::Create(*form, {}, error, {.show = false});
        ASSERT_TRUE(w) << error;
        EXPECT_EQ(before + 1, RecordingBrowser::Live().size());
        w.reset();
        EXPECT_EQ(before, RecordingBrowser::Live().size());
    }
}

TEST(BrowserBoxWithoutBrowser, EmptyBoxKeepsWorking) {
    SetWebBrowserFactory(&RecordingBrowser::FailingFactory);
    std::string error;
    auto form = ParseFormDescription(
        "T", "window W\n size = 100, 100\nHtmlViewer box\n size = 50, 50\n on 9 = E\nButton b\n size = 5, 5\n",
        error);
    ASSERT_TRUE(form) << error;
    auto w = Window::Create(*form, {{"E", [](const EventArgs&) -> HandlerResult { return false; }}}, error,
                            {.show = false});
    SetWebBrowserFactory(&RecordingBrowser::Factory);
    ASSERT_TRUE(w) << error;
    ASSERT_NE(nullptr, w->Viewer("box"));
    EXPECT_FALSE(w->Viewer("box")->HasBrowser());
    EXPECT_FALSE(w->WriteText("box", property::kAddress, "www.site.test"));
    EXPECT_EQ("www.site.test", w->ReadText("box", property::kAddress));
    EXPECT_FALSE(w->Navigate("box", "x"));
    EXPECT_TRUE(w->WriteValue("box", property::kVisible, 0));
    EXPECT_TRUE(w->WriteText("b", property::kCaption, "ok"));
}

TEST(BrowserBoxFactory, DefaultIsTheSystemBrowser) {
    SetWebBrowserFactory(nullptr);
    EXPECT_EQ(&CreateSystemWebBrowser, CurrentWebBrowserFactory());
    SetWebBrowserFactory(&RecordingBrowser::Factory);
    EXPECT_EQ(&RecordingBrowser::Factory, CurrentWebBrowserFactory());
}

}  // namespace
}  // namespace vostrel::form
