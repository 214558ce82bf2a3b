// The real program, started as its own process under Wine: its main window
// is found by its caption and its controls by theirs; the message buttons
// show real message boxes whose title and text are read back from the
// dialog; "自定义输入" opens the custom window, whose "发射" refuses an empty
// address and stays open; closing everything ends the process.
//
// No site button is pressed: that would send the browser to the sites'
// hosts, and no test contacts an outside host.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "test_support.h"
#include "ui_helpers.h"

namespace {

using vostrel::test::FindChildByCaption;
using vostrel::test::FindMessageBox;
using vostrel::test::FindTopLevel;
using vostrel::test::MessageBoxText;
using vostrel::test::TextOf;
using vostrel::test::WaitFor;
using vostrel::test::ColourNear;
using vostrel::test::DibCanvas;

// A copy of what the screen shows of a window (the virtual display shows
// every window as it is drawn: no compositor, nothing on top of it).
class Screenshot {
public:
    explicit Screenshot(HWND window) : rect_(WindowRectOf(window)),
        canvas_(rect_.right - rect_.left, rect_.bottom - rect_.top) {
        HDC screen = GetDC(nullptr);
        BitBlt(canvas_.dc(), 0, 0, canvas_.width(), canvas_.height(), screen, rect_.left,
               rect_.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        GdiFlush();
    }
    uint32_t Pixel(int x, int y) const { return canvas_.Pixel(x, y); }
    const DibCanvas& Canvas() const { return canvas_; }
    void Save(const std::string& name) const {
        vostrel::test::SavePng(canvas_, vostrel::test::ArtifactDir() + "/" + name);
    }
    // Mean colour of a rectangle, 0x00RRGGBB.
    uint32_t Mean(int x, int y, int w, int h) const {
        long long r = 0, g = 0, b = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) {
                const uint32_t p = canvas_.Pixel(i, j);
                r += (p >> 16) & 0xFF;
                g += (p >> 8) & 0xFF;
                b += p & 0xFF;
            }
        const long long n = static_cast<long long>(w) * h;
        return static_cast<uint32_t>(((r / n) << 16) | ((g / n) << 8) | (b / n));
    }

private:
    static RECT WindowRectOf(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    RECT rect_;
    DibCanvas canvas_;
};

// Moves the pointer by `nudge` (a mouse move posted to the window under it,
// as a user's hand would) until the screen shows the look `shown` checks, or
// the step limit has passed; returns the last screenshot either way. Under
// emulation a look can take seconds to come: the program runs its fade on a
// 20 ms timer whose steps are then much slower.
template <typename Nudge, typename Shown>
std::unique_ptr<Screenshot> ShotOnceShown(HWND window, Nudge nudge, Shown shown);

int Red(uint32_t c) { return (c >> 16) & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return c & 0xFF; }

// 32-bit Wine runs under emulation here: its processes start in about a
// minute and run many times slower.
#ifdef _WIN64
constexpr DWORD kStartLimit = 60000, kStepLimit = 15000, kSettle = 1000;
#else
constexpr DWORD kStartLimit = 300000, kStepLimit = 90000, kSettle = 10000;
#endif

// The program's path as Wine sees it (the build gives a Unix path).
std::string ProgramPath() {
    std::string path = VOSTREL_EXE;
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path;
}

// The texts the program must show, written out here rather than taken from the program,
// so a wrong text in the program is caught. The source is compiled to GBK,
// so these are the GBK bytes the program must show.
const char* const kTitle = "信息：";
const char* const kInstructions =
    "当前属于Web浏览器提供,打开页面可能会出现卡顿/无响应,嫌麻烦可以自己去官网拿视频连接然后打开"
    "自定义输入粘贴上去即可播放!";
const char* const kInterface = "当前接口属于自动调整，无需更换接口";
const char* const kEmptyAddress = "请正确输入地址后再发射";

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on a
        // literal + string temporary here.
        std::string command(1, '"');
        command.append(ProgramPath()).push_back('"');
        STARTUPINFOA si{};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &si, &process_))
            << "cannot start " << command << " (error " << GetLastError() << ")";
        CloseHandle(process_.hThread);
        started_ = true;
    }
    void TearDown() override {
        if (!started_) return;
        // A failed test leaves the program running: end it, never hang.
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hProcess);
    }

    DWORD Pid() const { return process_.dwProcessId; }

    // A form window is shown once all its controls exist: wait for that.
    HWND WaitForWindow(const char* caption, DWORD limit) {
        HWND found = nullptr;
        WaitFor(
            [&] {
                found = FindTopLevel(Pid(), "VostrelForm", caption);
                return found && IsWindowVisible(found);
            },
            limit);
        return found && IsWindowVisible(found) ? found : nullptr;
    }

    // Clicks a button and reads the message box it opens, then presses OK
    // and waits for the box to go.
    void ExpectMessage(HWND button, const char* text) {
        ASSERT_NE(nullptr, button);
        PostMessageA(button, BM_CLICK, 0, 0);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(Pid())) != nullptr; }, kStepLimit))
            << "no message box for " << TextOf(button);
        EXPECT_EQ(kTitle, TextOf(box));
        EXPECT_EQ(text, MessageBoxText(box));
        EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kStepLimit));
    }

    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

TEST_F(EndToEnd, MessagesCustomWindowAndShutdown) {
    HWND main = WaitForWindow("Vostrel V1.0", kStartLimit);
    ASSERT_NE(nullptr, main) << "the main window did not appear";
    RECT wr{};
    GetWindowRect(main, &wr);
    EXPECT_EQ(1104, wr.right - wr.left);
    EXPECT_EQ(504, wr.bottom - wr.top);

    for (const char* caption : {"爱奇艺", "芒果", "乐视", "腾讯", "搜狐", "优酷", "PPTV", "自定义输入",
                                "更换接口", "联系作者", "播放视频", "使用说明"})
        EXPECT_NE(nullptr, FindChildByCaption(main, caption)) << caption;

    ExpectMessage(FindChildByCaption(main, "使用说明"), kInstructions);
    ExpectMessage(FindChildByCaption(main, "更换接口"), kInterface);
    {
        // The contact text is the program's own: one line, seven blanks after it.
        HWND button = FindChildByCaption(main, "联系作者");
        ASSERT_NE(nullptr, button);
        PostMessageA(button, BM_CLICK, 0, 0);
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(Pid())) != nullptr; }, kStepLimit));
        EXPECT_EQ(kTitle, TextOf(box));
        const std::string text = MessageBoxText(box);
        ASSERT_GT(text.size(), 7u);
        EXPECT_EQ("       ", text.substr(text.size() - 7));
        EXPECT_EQ(std::string::npos, text.find('\n'));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kStepLimit));
    }

    // The custom window, with an empty address: the message, and it stays.
    PostMessageA(FindChildByCaption(main, "自定义输入"), BM_CLICK, 0, 0);
    HWND custom = WaitForWindow("自定义", kStepLimit);
    ASSERT_NE(nullptr, custom) << "the custom window did not open";
    RECT cr{};
    GetClientRect(custom, &cr);
    EXPECT_EQ(335, cr.right);
    EXPECT_EQ(79, cr.bottom);
    HWND edit = FindWindowExA(custom, nullptr, "Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ("", TextOf(edit));
    EXPECT_NE(nullptr, FindChildByCaption(custom, "播放地址："));
    ExpectMessage(FindChildByCaption(custom, "发射"), kEmptyAddress);
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(IsWindow(custom)) << "the custom window closed after an empty send";
    // While it is open the main window waits.
    EXPECT_FALSE(IsWindowEnabled(main));

    PostMessageA(custom, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(custom); }, kStepLimit));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != 0; }, kStepLimit));

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, kStepLimit + 10000))
        << "the program did not end after its main window closed";
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(0u, code);
}

template <typename Nudge, typename Shown>
std::unique_ptr<Screenshot> ShotOnceShown(HWND window, Nudge nudge, Shown shown) {
    const DWORD start = GetTickCount();
    for (;;) {
        nudge();
        WaitFor([] { return false; }, kSettle);
        auto shot = std::make_unique<Screenshot>(window);
        if (shown(*shot) || GetTickCount() - start > kStepLimit) return shot;
    }
}

// The dressed main window as the user sees it: idle, with a site button
// under the pointer, with the close button lit; then the close caption
// button ends the program. The screenshots are kept as artefacts.
TEST_F(EndToEnd, DressedMainWindowLooksRightAndItsCloseButtonEndsTheProgram) {
    HWND main = WaitForWindow("Vostrel V1.0", kStartLimit);
    ASSERT_NE(nullptr, main) << "the main window did not appear";
    // Park the pointer away from the window, then let it paint.
    SetCursorPos(0, 0);
    SetForegroundWindow(main);
    WaitFor([] { return false; }, kSettle + 500);
    RECT wr{};
    GetWindowRect(main, &wr);
    // The client area is the whole window: no system frame.
    RECT client{};
    GetClientRect(main, &client);
    ASSERT_EQ(1104, client.right);
    ASSERT_EQ(504, client.bottom);

    const Screenshot idle(main);
    idle.Save("vostrel_idle.png");
    // Caption band: the title's white outlined text near the icon, on the
    // darkened top band of the picture; the icon (blue tile) at its left.
    const uint32_t icon = idle.Mean(9, 8, 10, 10);
    EXPECT_GT(Blue(icon), Red(icon) + 40) << std::hex << icon;
    // The two caption buttons: white glyphs at the top right, minimise left
    // of close, and nothing lit while the pointer is away.
    auto brightest = [&](const Screenshot& shot, int x0, int x1, int y0, int y1) {
        int best = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const uint32_t p = shot.Pixel(x, y);
                best = std::max(best, std::min({Red(p), Green(p), Blue(p)}));
            }
        return best;
    };
    const int stripLeft = 1104 - 67;
    EXPECT_GT(brightest(idle, stripLeft, stripLeft + 26, 2, 20), 200) << "minimise glyph";
    EXPECT_GT(brightest(idle, stripLeft + 27, 1104 - 2, 2, 20), 200) << "close glyph";
    // The background picture fills the client area right of the buttons: a
    // dark blue-green picture, not the system's grey or black.
    const uint32_t picture = idle.Mean(500, 200, 100, 100);
    EXPECT_GT(Blue(picture), Red(picture)) << std::hex << picture;
    EXPECT_FALSE(ColourNear(picture, GetSysColor(COLOR_BTNFACE) & 0xFFFFFF, 20));
    EXPECT_GT(Red(picture) + Green(picture) + Blue(picture), 60);
    // The site buttons are the skin's translucent faces over the picture, in
    // the group box at (0, 16): lighter than the picture, with a caption.
    HWND site = FindChildByCaption(main, "爱奇艺");
    ASSERT_NE(nullptr, site);
    RECT sr{};
    GetWindowRect(site, &sr);
    const int sx = sr.left - wr.left, sy = sr.top - wr.top;
    EXPECT_EQ(0, sx);
    EXPECT_EQ(16 + 6, sy);
    const uint32_t face = idle.Mean(sx + 4, sy + 4, 20, 10);
    EXPECT_GT(Red(face), Red(picture) + 30) << std::hex << face;

    // The pointer over the first site button: its hover look (theme-blue
    // outline and shading) replaces the plain face.
    SetCursorPos(sr.left + 20, sr.top + 20);
    const auto hoveredShot = ShotOnceShown(
        main, [&] { PostMessageA(site, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20)); },
        [&](const Screenshot& shot) {
            const uint32_t e = shot.Pixel(sx, sy + 20);
            return Blue(e) > Red(e) + 60;
        });
    const Screenshot& hovered = *hoveredShot;
    hovered.Save("vostrel_site_button_hover.png");
    const uint32_t hoverFace = hovered.Mean(sx + 4, sy + 4, 20, 10);
    EXPECT_NE(face, hoverFace);
    // The theme colour is pure blue: the outline's left edge turns blue.
    const uint32_t edge = hovered.Pixel(sx, sy + 20);
    EXPECT_GT(Blue(edge), Red(edge) + 60) << std::hex << edge;

    // The pointer on the close button: it lights up (a red glow) once the
    // eight fade steps have run.
    const int closeX = stripLeft + 27 + 19, closeY = 10;
    SetCursorPos(wr.left + closeX, wr.top + closeY);
    PostMessageA(site, WM_MOUSELEAVE, 0, 0);
    const uint32_t glowBefore = idle.Mean(stripLeft + 29, 3, 8, 14);
    const auto litShot = ShotOnceShown(
        main, [&] { PostMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(closeX, closeY)); },
        [&](const Screenshot& shot) {
            return Red(shot.Mean(stripLeft + 29, 3, 8, 14)) > Red(glowBefore) + 40;
        });
    const Screenshot& lit = *litShot;
    lit.Save("vostrel_close_lit.png");
    const uint32_t glow = lit.Mean(stripLeft + 29, 3, 8, 14);
    EXPECT_GT(Red(glow), Red(glowBefore) + 40) << std::hex << glow << " / " << glowBefore;
    EXPECT_GT(Red(glow), Blue(glow)) << std::hex << glow;

    // A press and release on the close button closes the window and ends
    // the program cleanly (its exit routine ran once: a second run would
    // free the skin twice and the process would not end with 0).
    PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(closeX, closeY));
    PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(closeX, closeY));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, kStepLimit + 10000))
        << "the program did not end after its close button";
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(0u, code);
    SetCursorPos(0, 0);
}

}  // namespace
