// The player in-process, with the recording browser behind the browser box:
// the two forms as made, the site table, and the handlers' edge cases.
#include "app/player.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "recording_browser.h"
#include "test_support.h"
#include "ui_helpers.h"

namespace vostrel::app {
namespace {

using form::property::kAddress;
using form::property::kVisible;
using test::FindChildByCaption;
using test::FindMessageBox;
using test::MessageBoxText;
using test::RecordingBrowser;
using test::TextOf;
using test::TimerScript;

// Drops a WM_QUIT left by a closed main window, so the next test's loops
// do not end at once.
void DropQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// The seven prefixes as the site table must give them for the default hosts.
const char* const kPrefix1 = "http://jx1.example/xlls/index.php?url=";
const char* const kPrefix2 = "http://jx2.example/?url=";
const char* const kPrefix3 = "http://jx3.example/index.php?url=";
const char* const kPrefix4 = "http://jx4.example/api/?url=";
const char* const kPrefix5 = "http://jx5.example/jx/ty.php?url=";

// ---- the forms as made --------------------------------------------------------

struct ControlRow {
    const char* name;
    const char* cls;
    DWORD type;  // BS_/SS_ type bits (0 for others)
    const char* parent;
    int x, y, w, h;
    const char* caption;
    bool visible;
};

void CheckControls(const form::Window& w, const std::vector<ControlRow>& rows) {
    for (const ControlRow& r : rows) {
        SCOPED_TRACE(r.name);
        HWND h = w.Handle(r.name);
        ASSERT_NE(nullptr, h);
        EXPECT_STRCASEEQ(r.cls, test::ClassOf(h).c_str());
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE));
        if (std::string(r.cls) == "Button") {
            EXPECT_EQ(r.type, style & BS_TYPEMASK);
        } else if (std::string(r.cls) == "Static") {
            EXPECT_EQ(r.type, style & SS_TYPEMASK);
        }
        EXPECT_EQ(r.visible, (style & WS_VISIBLE) != 0);
        EXPECT_EQ(w.Handle(r.parent), GetParent(h));
        RECT rc{};
        GetWindowRect(h, &rc);
        MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(r.x, rc.left);
        EXPECT_EQ(r.y, rc.top);
        EXPECT_EQ(r.w, rc.right - rc.left);
        EXPECT_EQ(r.h, rc.bottom - rc.top);
        EXPECT_EQ(r.caption, TextOf(h));
    }
}

TEST(AppForms, MainWindowIsMadeAsItsFormSays) {
    Player player({MakeSiteTable(), false});
    std::string error;
    ASSERT_TRUE(player.OpenMainWindow(error)) << error;
    const form::Window& w = *player.MainWindow();
    HWND main = w.Handle();
    EXPECT_EQ("Vostrel V1.0", TextOf(main));
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_CLIPCHILDREN | WS_MINIMIZEBOX), style & (WS_CLIPCHILDREN | WS_MINIMIZEBOX));
    EXPECT_EQ(0u, style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX));
    RECT wr{}, cr{};
    GetWindowRect(main, &wr);
    GetClientRect(main, &cr);
    EXPECT_EQ(1104, wr.right - wr.left);
    EXPECT_EQ(504, wr.bottom - wr.top);
    EXPECT_EQ(1104, cr.right);
    EXPECT_EQ(504, cr.bottom);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 1104) / 2, wr.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 504) / 2, wr.top);

    const DWORD push = BS_PUSHBUTTON;
    CheckControls(w, {
        {"按钮13", "Button", push, "", 0, 461, 128, 43, "使用说明", true},
        {"分组框1", "Button", BS_GROUPBOX, "", 0, 16, 128, 480, "", true},
        {"按钮1", "Button", push, "分组框1", 0, 6, 128, 40, "爱奇艺", true},
        {"按钮2", "Button", push, "分组框1", 0, 45, 128, 40, "芒果", true},
        {"按钮3", "Button", push, "分组框1", 0, 85, 128, 40, "乐视", true},
        {"按钮4", "Button", push, "分组框1", 0, 125, 128, 40, "腾讯", true},
        {"按钮5", "Button", push, "分组框1", 0, 165, 128, 40, "搜狐", true},
        {"按钮6", "Button", push, "分组框1", 0, 205, 128, 40, "优酷", true},
        {"按钮7", "Button", push, "分组框1", 0, 245, 128, 40, "PPTV", true},
        {"按钮8", "Button", push, "分组框1", 0, 285, 128, 40, "自定义输入", true},
        {"按钮9", "Button", push, "分组框1", 0, 325, 128, 40, "更换接口", true},
        {"按钮10", "Button", push, "分组框1", 0, 365, 128, 40, "联系作者", true},
        {"按钮12", "Button", push, "分组框1", 0, 405, 128, 40, "播放视频", true},
        {"超文本浏览框1", "VostrelHtmlViewer", 0, "", 128, 23, 976, 481, "", false},
    });
    player.CloseMainWindow();
    DropQuit();
}

TEST(AppForms, CustomWindowIsMadeAsItsFormSays) {
    Player player({MakeSiteTable(), false});
    std::string error;
    auto form = form::LoadFormDescription(kCustomForm, error);
    ASSERT_TRUE(form) << error;
    auto w = form::Window::Create(*form, player.Handlers(), error, {.show = false});
    ASSERT_TRUE(w) << error;
    HWND h = w->Handle();
    EXPECT_EQ("自定义", TextOf(h));
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE));
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    EXPECT_EQ(0u, style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_POPUP));
    EXPECT_TRUE(ex_style & WS_EX_DLGMODALFRAME);
    RECT cr{}, wr{};
    GetClientRect(h, &cr);
    GetWindowRect(h, &wr);
    EXPECT_EQ(335, cr.right);
    EXPECT_EQ(79, cr.bottom);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (wr.right - wr.left)) / 2, wr.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (wr.bottom - wr.top)) / 2, wr.top);
    CheckControls(*w, {
        {"透明标签1", "Static", SS_LEFT, "", 0, 16, 72, 24, "播放地址：", true},
        {"编辑框1", "Edit", 0, "", 64, 16, 208, 24, "", true},
        {"按钮1", "Button", BS_PUSHBUTTON, "", 272, 16, 56, 24, "发射", true},
    });
}

// ---- the site table ------------------------------------------------------------

TEST(SiteTable, SevenSitesFivePrefixesSharedAsListed) {
    const SiteTable sites = MakeSiteTable();
    struct Row {
        const char* button;
        const char* prefix;
        bool shows_browser;
    } rows[] = {
        {"爱奇艺", kPrefix1, true}, {"芒果", kPrefix2, false},  {"乐视", kPrefix1, false},
        {"腾讯", kPrefix3, false},  {"搜狐", kPrefix4, false},  {"优酷", kPrefix5, false},
        {"PPTV", kPrefix3, false},
    };
    std::set<std::string> prefixes;
    for (size_t i = 0; i < sites.size(); ++i) {
        SCOPED_TRACE(rows[i].button);
        EXPECT_EQ(rows[i].button, std::string(sites[i].button));
        EXPECT_EQ(rows[i].prefix, sites[i].interface_prefix);
        EXPECT_EQ(rows[i].shows_browser, sites[i].extra == ExtraStep::ShowBrowser);
        // A bare host: no scheme, no path, no trailing slash.
        const std::string home = sites[i].home;
        EXPECT_FALSE(home.empty());
        EXPECT_EQ(std::string::npos, home.find_first_of(":/ "));
        prefixes.insert(sites[i].interface_prefix);
    }
    EXPECT_EQ(5u, prefixes.size());
}

TEST(SiteTable, InterfaceHostsCanBeReplaced) {
    const SiteTable sites = MakeSiteTable({"127.0.0.1:8001", "b.test", "c.test", "d.test", "e.test"});
    EXPECT_EQ("http://127.0.0.1:8001/xlls/index.php?url=", sites[0].interface_prefix);
    EXPECT_EQ("http://127.0.0.1:8001/xlls/index.php?url=", sites[2].interface_prefix);
    EXPECT_EQ("http://b.test/?url=", sites[1].interface_prefix);
    EXPECT_EQ("http://c.test/index.php?url=", sites[6].interface_prefix);
    EXPECT_EQ("http://e.test/jx/ty.php?url=", sites[5].interface_prefix);
}

// ---- handlers -----------------------------------------------------------------

// A hidden main window with the recording browser in its box.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        player = std::make_unique<Player>(Player::Options{MakeSiteTable(), false});
        std::string error;
        ASSERT_TRUE(player->OpenMainWindow(error)) << error;
        main = player->MainWindow();
        browser = RecordingBrowser::For(main->Handle(kBrowserBox));
        ASSERT_NE(nullptr, browser);
    }
    void TearDown() override {
        player.reset();
        DropQuit();
    }

    // Clicks the main window's button with this caption, as a user would.
    void Click(const char* caption) {
        HWND button = FindChildByCaption(main->Handle(), caption);
        ASSERT_NE(nullptr, button) << caption;
        SendMessageA(button, BM_CLICK, 0, 0);
    }
    bool BoxVisible() const { return main->ReadValue(kBrowserBox, kVisible) != 0; }

    std::unique_ptr<Player> player;
    form::Window* main = nullptr;
    RecordingBrowser* browser = nullptr;
};

TEST_F(PlayerTest, SiteButtonsOpenTheHomePageAndSelectTheInterface) {
    struct Step {
        const char* button;
        const char* home;
        const char* prefix;
        bool visible_after;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"a site other than 爱奇艺 first navigates while the box stays hidden",
         {{"芒果", "www.mgtv.com", kPrefix2, false}, {"优酷", "www.youku.com", kPrefix5, false}}},
        {"爱奇艺 then 乐视 share one prefix", {{"爱奇艺", "www.iqiyi.com", kPrefix1, true},
                                            {"乐视", "www.le.com", kPrefix1, true}}},
        {"腾讯 then PPTV share one prefix", {{"腾讯", "v.qq.com", kPrefix3, false},
                                           {"PPTV", "www.pptv.com", kPrefix3, false}}},
        {"the same button twice loads the home page again",
         {{"搜狐", "tv.sohu.com", kPrefix4, false}, {"搜狐", "tv.sohu.com", kPrefix4, false}}},
        {"the box stays visible once shown", {{"爱奇艺", "www.iqiyi.com", kPrefix1, true},
                                              {"芒果", "www.mgtv.com", kPrefix2, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        EXPECT_FALSE(BoxVisible());
        EXPECT_EQ("", player->CurrentInterface());
        std::vector<std::string> expected_navigations;
        for (const Step& s : c.steps) {
            Click(s.button);
            expected_navigations.push_back(s.home);
            EXPECT_EQ(expected_navigations, browser->navigations) << s.button;
            EXPECT_EQ(s.prefix, player->CurrentInterface()) << s.button;
            EXPECT_EQ(s.visible_after, BoxVisible()) << s.button;
        }
    }
}

TEST_F(PlayerTest, PlayJoinsTheInterfaceAndTheShownAddressAsTheyAre) {
    struct Case {
        const char* what;
        const char* site;      // null: no site chosen
        const char* location;  // what the box shows when "播放视频" is pressed
        std::vector<std::string> plays;  // LastPlayAddress after each press
    } cases[] = {
        {"before any site the page is reloaded", nullptr, "http://v.test/a?b=1&c=2",
         {"http://v.test/a?b=1&c=2"}},
        {"query characters are left as they are", "搜狐", "http://tv.sohu.test/v/1.html?x=1&y=2#t",
         {std::string(kPrefix4) + "http://tv.sohu.test/v/1.html?x=1&y=2#t"}},
        {"twice in a row gives the prefix twice", "腾讯", "http://v.qq.test/x/cover/1.html",
         {std::string(kPrefix3) + "http://v.qq.test/x/cover/1.html",
          std::string(kPrefix3) + kPrefix3 + "http://v.qq.test/x/cover/1.html"}},
        {"no trimming and no encoding", "优酷", " http://v.youku.test/空 格%20?q=视频 ",
         {std::string(kPrefix5) + " http://v.youku.test/空 格%20?q=视频 "}},
        {"an empty address contributes nothing", "芒果", "", {kPrefix2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (c.site) Click(c.site);
        browser->location = c.location;
        browser->navigations.clear();
        const std::string interface_before = player->CurrentInterface();
        for (const std::string& expected : c.plays) {
            Click("播放视频");
            EXPECT_EQ(expected, player->LastPlayAddress());
            ASSERT_FALSE(browser->navigations.empty());
            EXPECT_EQ(expected, browser->navigations.back());
        }
        EXPECT_EQ(c.plays.size(), browser->navigations.size());
        EXPECT_EQ(interface_before, player->CurrentInterface());
    }
}

TEST_F(PlayerTest, NewWindowOpensTheStatusTextInPlaceAndIsRefused) {
    const char* const cases[] = {"http://link.test/page?a=1&b=2", "", "正在打开网页"};
    for (const char* status : cases) {
        SCOPED_TRACE(status);
        browser->navigations.clear();
        browser->sink.OnStatusTextChange(status);
        EXPECT_FALSE(browser->sink.OnNewWindow());
        EXPECT_EQ(std::vector<std::string>{status}, browser->navigations);
    }
}

TEST_F(PlayerTest, OtherBrowserEventsChangeNothing) {
    browser->location = "http://here.test/";
    EXPECT_TRUE(browser->sink.OnBeforeNavigate("http://elsewhere.test/"));
    browser->sink.OnDownloadComplete();
    browser->sink.OnDocumentComplete("http://here.test/");
    SendMessageA(main->Handle(kBrowserBox), WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_TRUE(browser->navigations.empty());
    EXPECT_FALSE(BoxVisible());
    EXPECT_EQ("", player->CurrentInterface());
}

// Message buttons: the box is read from a timer inside its own loop.
TEST_F(PlayerTest, MessageButtonsShowTheirTextsAndChangeNothing) {
    struct Case {
        const char* button;
        const char* text;
    } cases[] = {
        {"使用说明", kInstructionsText},
        {"更换接口", "当前接口属于自动调整，无需更换接口"},
        {"联系作者", kContactText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        std::string title, text;
        HWND owner = reinterpret_cast<HWND>(1);
        TimerScript script({[&] {
            HWND box = FindMessageBox(0);
            if (!box) return false;
            title = TextOf(box);
            text = MessageBoxText(box);
            owner = GetWindow(box, GW_OWNER);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        }});
        Click(c.button);  // returns when the box is closed
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ("信息：", title);
        EXPECT_EQ(c.text, text);
        EXPECT_EQ(nullptr, owner);
    }
    EXPECT_EQ("", player->CurrentInterface());
    EXPECT_TRUE(browser->navigations.empty());
}

TEST(AppTexts, ContactIsOneLineFollowedBySevenBlanks) {
    const std::string contact = kContactText;
    ASSERT_GT(contact.size(), 7u);
    EXPECT_EQ(std::string::npos, contact.find_first_of("\r\n"));
    EXPECT_EQ("       ", contact.substr(contact.size() - 7));
    EXPECT_NE(' ', contact[contact.size() - 8]);
    EXPECT_EQ(std::string("当前属于Web浏览器提供,打开页面可能会出现卡顿/无响应,嫌麻烦可以自己去官网拿视频连接"
                          "然后打开自定义输入粘贴上去即可播放!"),
              kInstructionsText);
}

// The custom window, opened modally by "自定义输入", driven from a timer
// inside its modal loop.
TEST_F(PlayerTest, CustomWindowSendsWhatIsTypedAndRefusesOnlyAnEmptyText) {
    HWND custom = nullptr, edit = nullptr, send = nullptr;
    std::string message_title, message_text;
    bool open_after_empty_send = false;
    std::vector<std::string> navigations_after_empty;
    auto type = [&](const char* text) {
        return [&, text] {
            SetWindowTextA(edit, text);
            PostMessageA(send, BM_CLICK, 0, 0);
            return true;
        };
    };
    TimerScript script({
        [&] {  // the window is there, with an empty edit box
            custom = test::FindTopLevel(0, nullptr, "自定义");
            if (!custom) return false;
            edit = FindWindowExA(custom, nullptr, "Edit", nullptr);
            send = FindChildByCaption(custom, "发射");
            return edit && send;
        },
        [&] {  // empty: the message, nothing navigated
            PostMessageA(send, BM_CLICK, 0, 0);
            return true;
        },
        [&] {
            HWND box = FindMessageBox(0);
            if (!box) return false;
            message_title = TextOf(box);
            message_text = MessageBoxText(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        [&] {
            if (FindMessageBox(0)) return false;
            open_after_empty_send = IsWindow(custom) != 0;
            navigations_after_empty = browser->navigations;
            return true;
        },
        type("abc"),
        type("   "),  // blanks are sent as they are
        type("http://v.test/play?id=1&t=2"),
        [&] {
            SetWindowTextA(edit, "left behind");
            PostMessageA(custom, WM_CLOSE, 0, 0);
            return true;
        },
    });
    Click("自定义输入");  // returns when the custom window closes
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.TimedOut()) << "stopped after step " << script.StepsDone();
    EXPECT_FALSE(IsWindow(custom));
    EXPECT_EQ("信息：", message_title);
    EXPECT_EQ("请正确输入地址后再发射", message_text);
    EXPECT_TRUE(open_after_empty_send);
    EXPECT_TRUE(navigations_after_empty.empty());
    EXPECT_EQ((std::vector<std::string>{"abc", "   ", "http://v.test/play?id=1&t=2"}), browser->navigations);
    EXPECT_FALSE(BoxVisible());  // sending does not show the box

    // Opened again, the window is new and its edit box empty.
    std::string text_on_reopen = "unset";
    TimerScript again({[&] {
        HWND w = test::FindTopLevel(0, nullptr, "自定义");
        if (!w) return false;
        text_on_reopen = TextOf(FindWindowExA(w, nullptr, "Edit", nullptr));
        PostMessageA(w, WM_CLOSE, 0, 0);
        return true;
    }});
    Click("自定义输入");
    EXPECT_TRUE(again.Finished());
    EXPECT_EQ("", text_on_reopen);
}

}  // namespace
}  // namespace vostrel::app

namespace vostrel::app {
namespace {

// What a user sees of the custom window, shown on the screen: the label's
// text is there; a screenshot goes to the artefacts.
TEST(AppScreens, CustomWindowOnScreen) {
    Player player({MakeSiteTable(), false});
    std::string error;
    auto form = form::LoadFormDescription(kCustomForm, error);
    ASSERT_TRUE(form) << error;
    auto w = form::Window::Create(*form, player.Handlers(), error, {.show = true});
    ASSERT_TRUE(w) << error;
    HWND h = w->Handle();
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    test::FlushEvents(300);
    RECT cr{};
    GetClientRect(h, &cr);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    test::DibCanvas canvas(cr.right, cr.bottom);
    {
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc(), 0, 0, cr.right, cr.bottom, screen, origin.x, origin.y, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    GdiFlush();
    test::SavePng(canvas, test::ArtifactDir() + "/custom_window.png");
    // The label's text is drawn: pixels of its first 60 columns are dark.
    int dark = 0;
    for (int y = 16; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if ((canvas.Pixel(x, y) & 0xFF) < 0x60) ++dark;
    EXPECT_GT(dark, 10);
    ShowWindow(h, SW_HIDE);
}

}  // namespace
}  // namespace vostrel::app
