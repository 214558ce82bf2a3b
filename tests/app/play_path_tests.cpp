// The whole play path through real parts, in this process: the form
// runtime's main window, the system web browser control in its browser box,
// and the player's handlers. Every interface host and every home page is a
// loopback HTTP server started by the test, so what the browser was really
// sent to is read at the server (no outside host is ever contacted).
#include "app/player.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "form/form.h"
#include "loopback_http.h"
#include "test_support.h"
#include "ui_helpers.h"

namespace vostrel::app {
namespace {

using form::property::kAddress;
using test::FindChildByCaption;
using test::LoopbackHttpServer;
using test::WaitFor;

class PlayPath : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.ok());
        origin_ = server_.Origin();
        // The system web browser control behind every browser box made now.
        saved_factory_ = form::CurrentWebBrowserFactory();
        form::SetWebBrowserFactory(nullptr);

        InterfaceHosts hosts;
        hosts.fill("127.0.0.1:" + std::to_string(server_.port()));
        Player::Options options{MakeSiteTable(hosts), false};
        // Home pages on the server too, each holding "?" and "&" of its own
        // (the join must leave them as they are).
        for (size_t i = 0; i < options.sites.size(); ++i) {
            homes_[i] = origin_ + "/home/" + std::to_string(i) + "/show.html?vid=" +
                        std::to_string(100 + i) + "&from=home";
            options.sites[i].home = homes_[i].c_str();
        }
        player_ = std::make_unique<Player>(std::move(options));
        std::string error;
        ASSERT_TRUE(player_->OpenMainWindow(error)) << error;
        main_ = player_->MainWindow();
        ASSERT_NE(main_, nullptr);
    }

    void TearDown() override {
        player_.reset();
        // The closed main window leaves a WM_QUIT for the message loop.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        form::SetWebBrowserFactory(saved_factory_);
    }

    void Click(const char* caption) {
        HWND button = FindChildByCaption(main_->Handle(), caption);
        ASSERT_NE(button, nullptr) << caption;
        SendMessageA(button, BM_CLICK, 0, 0);
    }

    // The next request line the server receives after the `seen` first ones.
    std::string NextRequest(size_t seen) {
        const auto requests = server_.WaitForRequests(seen + 1, 10000);
        return requests.size() > seen ? requests[seen] : std::string("(no request)");
    }

    LoopbackHttpServer server_;
    std::string origin_;
    std::array<std::string, 7> homes_;
    form::WebBrowserFactory saved_factory_ = nullptr;
    std::unique_ptr<Player> player_;
    form::Window* main_ = nullptr;
};

TEST_F(PlayPath, EverySiteThenPlaySendsTheInterfaceTheShownAddressUnencoded) {
    ASSERT_NE(main_->Viewer(kBrowserBox), nullptr);
    ASSERT_TRUE(main_->Viewer(kBrowserBox)->HasBrowser()) << "the system browser was not made";
    size_t seen = 0;
    for (size_t i = 0; i < player_->Sites().size(); ++i) {
        const Site& site = player_->Sites()[i];
        SCOPED_TRACE(site.button);

        // The site button sends the box to the home page.
        Click(site.button);
        EXPECT_EQ(NextRequest(seen), "GET " + homes_[i].substr(origin_.size()) + " HTTP/1.1");
        seen = server_.Requests().size();
        // The address the box shows, read through its address property.
        std::string shown;
        EXPECT_TRUE(WaitFor(
            [&] {
                shown = main_->ReadText(kBrowserBox, kAddress);
                return shown == homes_[i];
            },
            5000))
            << shown;

        // "播放视频": the interface's path, then "url=" and the shown address
        // exactly as shown.
        Click("播放视频");
        const std::string prefix = site.interface_prefix;
        ASSERT_EQ(prefix.rfind(origin_ + "/", 0), 0u) << prefix;
        ASSERT_TRUE(prefix.ends_with("url=")) << prefix;
        EXPECT_EQ(player_->LastPlayAddress(), prefix + shown);
        EXPECT_EQ(NextRequest(seen), "GET " + prefix.substr(origin_.size()) + shown + " HTTP/1.1");
        seen = server_.Requests().size();
    }
}

}  // namespace
}  // namespace vostrel::app
