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

#include <string>

#include "ui_helpers.h"

namespace {

using vostrel::test::FindChildByCaption;
using vostrel::test::FindMessageBox;
using vostrel::test::FindTopLevel;
using vostrel::test::MessageBoxText;
using vostrel::test::TextOf;
using vostrel::test::WaitFor;

// 32-bit Wine runs under emulation here: its processes start in about a
// minute and run many times slower.
#ifdef _WIN64
constexpr DWORD kStartLimit = 60000, kStepLimit = 15000;
#else
constexpr DWORD kStartLimit = 300000, kStepLimit = 90000;
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

}  // namespace
