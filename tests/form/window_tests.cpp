// Windows made from form descriptions, read back with Win32: classes,
// styles, sizes, positions, captions; events reaching their handlers;
// properties; modal loads, the message loop and the message box.
#include "form/form.h"
#include "form/runtime_internal.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_browser.h"
#include "test_support.h"

namespace vostrel::form {
namespace {

using test::FlushEvents;
using test::RecordingBrowser;

// The runtime is set up once for the whole binary, with the recording
// browser behind every browser box.
class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        SetWebBrowserFactory(&RecordingBrowser::Factory);
        ASSERT_TRUE(Initialize());
    }
    void TearDown() override { Shutdown(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

std::string_view U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

FormDescription Parse(const char8_t* text) {
    std::string error;
    auto form = ParseFormDescription("T", U8(text), error);
    EXPECT_TRUE(form) << error;
    return form ? *form : FormDescription{};
}

std::unique_ptr<Window> Make(const FormDescription& form, const HandlerTable& handlers = {}) {
    std::string error;
    auto w = Window::Create(form, handlers, error, {.show = false});
    EXPECT_TRUE(w) << error;
    return w;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Records every event it is bound to, answering as told.
struct Recorder {
    struct Call {
        std::string control;
        int event;
        long value;
        bool enabled;
        std::string text;
        std::string address;  // the box's address property while the handler runs
    };
    std::vector<Call> calls;
    HandlerResult answer = std::nullopt;

    Handler Bind() {
        return [this](const EventArgs& e) -> HandlerResult {
            calls.push_back({std::string(e.control), e.event, e.value, e.enabled, std::string(e.text),
                             e.window.Viewer("box") ? e.window.ReadText("box", property::kAddress)
                                                    : std::string{}});
            return answer;
        };
    }
};

// ---- creation ---------------------------------------------------------------

TEST(FormWindow, BorderStylesGiveTheirWindowStyles) {
    struct Case {
        const char8_t* props;
        DWORD present;
        DWORD absent;
    } cases[] = {
        {u8"border = none\n minbox = yes\n maxbox = no\n",
         WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX,
         WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX},
        {u8"border = fixed\n maxbox = no\n", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
         WS_POPUP | WS_THICKFRAME | WS_MAXIMIZEBOX},
        {u8"border = fixed\n controlbox = no\n", WS_CAPTION, WS_SYSMENU},
        {u8"border = sizable\n", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         WS_POPUP},
    };
    for (const Case& c : cases) {
        std::u8string text = u8"window W\n size = 335, 79\n caption = \"标题\"\n";
        text += c.props;
        auto w = Make(Parse(text.c_str()));
        ASSERT_TRUE(w);
        HWND h = w->Handle();
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE));
        SCOPED_TRACE(std::string(reinterpret_cast<const char*>(c.props)));
        EXPECT_EQ(c.present, style & c.present);
        EXPECT_EQ(0u, style & c.absent);
        EXPECT_EQ("标题", TextOf(h));
        EXPECT_EQ(kFormClass, ClassOf(h));
        RECT rc{};
        GetClientRect(h, &rc);
        EXPECT_EQ(335, rc.right);
        EXPECT_EQ(79, rc.bottom);
    }
}

TEST(FormWindow, FramelessWindowIsItsClientAreaAndIsCentred) {
    auto w = Make(Parse(u8"window W\n size = 1104, 504\n position = 50, 50\n border = none\n centred = yes\n"));
    ASSERT_TRUE(w);
    RECT wr{};
    GetWindowRect(w->Handle(), &wr);
    EXPECT_EQ(1104, wr.right - wr.left);
    EXPECT_EQ(504, wr.bottom - wr.top);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 1104) / 2, wr.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 504) / 2, wr.top);
}

TEST(FormWindow, UncentredWindowUsesItsPosition) {
    auto w = Make(Parse(u8"window W\n size = 100, 50\n position = 70, 90\n border = none\n"));
    ASSERT_TRUE(w);
    RECT wr{};
    GetWindowRect(w->Handle(), &wr);
    EXPECT_EQ(70, wr.left);
    EXPECT_EQ(90, wr.top);
}

TEST(FormWindow, ControlsAreStandardClassesWithTheirStyles) {
    auto w = Make(Parse(
        u8"window W\n size = 400, 300\n border = none\n"
        u8"Button b\n position = 1, 2\n size = 30, 40\n caption = \"按钮\"\n"
        u8"GroupBox g\n position = 10, 20\n size = 200, 200\n caption = \"\"\n"
        u8"Button inner\n parent = g\n position = 3, 6\n size = 50, 20\n caption = \"里面\"\n"
        u8"EditBox e\n position = 64, 16\n size = 208, 24\n"
        u8"TransLabel l\n position = 0, 16\n size = 72, 24\n caption = \"播放地址：\"\n"
        u8"HtmlViewer box\n position = 128, 23\n size = 97, 48\n visible = no\n"));
    ASSERT_TRUE(w);
    struct Case {
        const char* name;
        const char* cls;
        DWORD type_mask;
        DWORD type;
        const char* parent;
        RECT rect;  // in the parent's client area
        const char* caption;
        bool visible;
    } cases[] = {
        {"b", "Button", BS_TYPEMASK, BS_PUSHBUTTON, "", {1, 2, 31, 42}, "按钮", true},
        {"g", "Button", BS_TYPEMASK, BS_GROUPBOX, "", {10, 20, 210, 220}, "", true},
        {"inner", "Button", BS_TYPEMASK, BS_PUSHBUTTON, "g", {3, 6, 53, 26}, "里面", true},
        {"e", "Edit", 0, 0, "", {64, 16, 272, 40}, "", true},
        {"l", "Static", SS_TYPEMASK, SS_LEFT, "", {0, 16, 72, 40}, "播放地址：", true},
        {"box", "VostrelHtmlViewer", 0, 0, "", {128, 23, 225, 71}, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND h = w->Handle(c.name);
        ASSERT_NE(nullptr, h);
        EXPECT_STRCASEEQ(c.cls, ClassOf(h).c_str());
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE));
        EXPECT_EQ(c.type, style & c.type_mask);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_TRUE(style & WS_CLIPSIBLINGS) << "overlapping controls would paint over each other";
        EXPECT_EQ(c.visible, (style & WS_VISIBLE) != 0);
        EXPECT_EQ(w->Handle(c.parent), GetParent(h));
        RECT rc{};
        GetWindowRect(h, &rc);
        MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(c.rect.left, rc.left);
        EXPECT_EQ(c.rect.top, rc.top);
        EXPECT_EQ(c.rect.right, rc.right);
        EXPECT_EQ(c.rect.bottom, rc.bottom);
        EXPECT_EQ(c.caption, TextOf(h));
    }
    EXPECT_EQ(nullptr, w->Handle("nothing"));
}

TEST(FormWindow, MissingHandlerIsReportedWithItsLine) {
    const FormDescription form = Parse(u8"window W\n size = 10, 10\nButton b\n size = 1, 1\n on clicked = Gone\n");
    std::string error;
    EXPECT_FALSE(Window::Create(form, {}, error, {.show = false}));
    EXPECT_EQ("form T, line 5: no handler named 'Gone'", error);
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "W"));
}

TEST(FormWindow, CreatedRunsOnceWithControlsBeforeTheWindowIsShown) {
    const FormDescription form = Parse(
        u8"window W\n size = 50, 50\n border = none\n on created = Made\nButton b\n size = 10, 10\n");
    int calls = 0;
    bool had_button = false, was_visible = true;
    HandlerTable handlers{{"Made", [&](const EventArgs& e) -> HandlerResult {
                               ++calls;
                               had_button = e.window.Handle("b") != nullptr;
                               was_visible = IsWindowVisible(e.window.Handle()) != 0;
                               return std::nullopt;
                           }}};
    std::string error;
    auto w = Window::Create(form, handlers, error, {.show = true});
    ASSERT_TRUE(w) << error;
    EXPECT_EQ(1, calls);
    EXPECT_TRUE(had_button);
    EXPECT_FALSE(was_visible);
    EXPECT_TRUE(IsWindowVisible(w->Handle()));
    ShowWindow(w->Handle(), SW_HIDE);  // hidden windows are destroyed quickly
}

TEST(FormWindow, ClosedWindowAnswersEmptyAndRaisesDestroyingOnce) {
    const FormDescription form = Parse(
        u8"window W\n size = 50, 50\n on destroying = Gone\nEditBox e\n size = 10, 10\n caption = \"x\"\n");
    int destroying = 0;
    bool edit_alive_then = false;
    HandlerTable handlers{{"Gone", [&](const EventArgs& e) -> HandlerResult {
                               ++destroying;
                               edit_alive_then = IsWindow(e.window.Handle("e")) != 0;
                               return std::nullopt;
                           }}};
    auto w = Make(form, handlers);
    ASSERT_TRUE(w);
    SendMessageA(w->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(w->IsOpen());
    EXPECT_EQ(1, destroying);
    EXPECT_TRUE(edit_alive_then);
    EXPECT_EQ(nullptr, w->Handle());
    EXPECT_EQ(nullptr, w->Handle("e"));
    EXPECT_EQ("", w->ReadText("e", property::kContent));
    EXPECT_FALSE(w->WriteText("e", property::kContent, "y"));
    w.reset();
    EXPECT_EQ(1, destroying);
}

// ---- events -----------------------------------------------------------------

TEST(FormWindow, ClicksReachTheButtonsHandlerAlsoInsideAGroupBox) {
    const FormDescription form = Parse(
        u8"window W\n size = 300, 300\n"
        u8"Button top\n size = 50, 20\n on clicked = Click\n"
        u8"GroupBox g\n position = 0, 30\n size = 200, 200\n"
        u8"Button inner\n parent = g\n position = 10, 10\n size = 50, 20\n on clicked = Click\n"
        u8"Button silent\n parent = g\n position = 10, 40\n size = 50, 20\n");
    Recorder rec;
    auto w = Make(form, {{"Click", rec.Bind()}});
    ASSERT_TRUE(w);
    for (const char* name : {"top", "inner", "silent", "inner"})
        SendMessageA(w->Handle(name), BM_CLICK, 0, 0);
    FlushEvents();
    ASSERT_EQ(3u, rec.calls.size());
    EXPECT_EQ("top", rec.calls[0].control);
    EXPECT_EQ("inner", rec.calls[1].control);
    EXPECT_EQ("inner", rec.calls[2].control);
    EXPECT_EQ(event::kClicked, rec.calls[0].event);
}

TEST(FormWindow, EnterAndEscapeClickNoControl) {
    // Dialog navigation turns Enter and Escape into IDOK and IDCANCEL; no
    // control may answer to those.
    const FormDescription form = Parse(u8"window W\n size = 300, 300\nButton first\n size = 50, 20\n on clicked = Click\n");
    Recorder rec;
    auto w = Make(form, {{"Click", rec.Bind()}});
    ASSERT_TRUE(w);
    SendMessageA(w->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageA(w->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_NE(IDOK, GetDlgCtrlID(w->Handle("first")));
}

TEST(FormWindow, MouseHandlersCanRefuseThePress) {
    const FormDescription form = Parse(
        u8"window W\n size = 300, 300\n"
        u8"Button b\n size = 50, 20\n on leftdown = Down\n on rightdown = Down\n on clicked = Click\n"
        u8"GroupBox g\n position = 0, 30\n size = 200, 200\n on leftdown = Down\n");
    Recorder down, click;
    auto w = Make(form, {{"Down", down.Bind()}, {"Click", click.Bind()}});
    ASSERT_TRUE(w);
    HWND b = w->Handle("b");
    // No value: the press goes on and the button is pressed (it takes the capture).
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(b, GetCapture());
    SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1u, click.calls.size());
    // False: the button never sees the press.
    down.answer = false;
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_NE(b, GetCapture());
    SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1u, click.calls.size());
    SendMessageA(b, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    // A group box with a mouse handler takes presses over its own area.
    HWND g = w->Handle("g");
    EXPECT_EQ(HTCLIENT, SendMessageA(g, WM_NCHITTEST, 0, MAKELPARAM(50, 100)));
    SendMessageA(g, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(4u, down.calls.size());
    EXPECT_EQ(event::kLeftButtonDown, down.calls[0].event);
    EXPECT_EQ(event::kRightButtonDown, down.calls[2].event);
    EXPECT_EQ("g", down.calls[3].control);
    ReleaseCapture();
}

// ---- properties -------------------------------------------------------------

TEST(FormWindow, PropertiesReadAndWrite) {
    auto w = Make(Parse(
        u8"window W\n size = 300, 200\n border = none\n position = 10, 20\n caption = \"标题\"\n"
        u8"EditBox e\n position = 5, 6\n size = 100, 24\n caption = \"起始\"\n"
        u8"Button b\n position = 5, 40\n size = 60, 24\n caption = \"按\"\n visible = no\n enabled = no\n"));
    ASSERT_TRUE(w);
    EXPECT_EQ("起始", w->ReadText("e", property::kContent));
    EXPECT_TRUE(w->WriteText("e", property::kContent, "  有 空格  "));
    EXPECT_EQ("  有 空格  ", w->ReadText("e", property::kContent));
    EXPECT_EQ("  有 空格  ", TextOf(w->Handle("e")));
    EXPECT_EQ("", w->ReadText("b", property::kContent));  // a button has no content
    EXPECT_FALSE(w->WriteText("b", property::kContent, "x"));
    EXPECT_EQ("按", w->ReadText("b", property::kCaption));
    EXPECT_TRUE(w->WriteText("b", property::kCaption, "新"));
    EXPECT_EQ("新", TextOf(w->Handle("b")));
    EXPECT_EQ("标题", w->ReadText({}, property::kCaption));

    EXPECT_EQ(0, w->ReadValue("b", property::kVisible));
    EXPECT_EQ(0, w->ReadValue("b", property::kEnabled));
    EXPECT_TRUE(w->WriteValue("b", property::kVisible, 1));
    EXPECT_TRUE(w->WriteValue("b", property::kEnabled, 1));
    EXPECT_EQ(1, w->ReadValue("b", property::kVisible));  // shown though its window is hidden
    EXPECT_EQ(1, w->ReadValue("b", property::kEnabled));

    const long geometry[][4] = {{5, 40, 60, 24}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(geometry[0][i], w->ReadValue("b", property::kLeft + i)) << i;
    EXPECT_TRUE(w->WriteValue("b", property::kWidth, 80));
    EXPECT_EQ(80, w->ReadValue("b", property::kWidth));
    EXPECT_EQ(5, w->ReadValue("b", property::kLeft));
    EXPECT_EQ(10, w->ReadValue({}, property::kLeft));
    EXPECT_EQ(300, w->ReadValue({}, property::kWidth));
    EXPECT_TRUE(w->WriteValue({}, property::kHeight, 150));
    EXPECT_EQ(150, w->ReadValue({}, property::kHeight));
    EXPECT_EQ(20, w->ReadValue({}, property::kTop));

    EXPECT_EQ(0, w->ReadValue("nothing", property::kVisible));
    EXPECT_FALSE(w->WriteValue("b", 77, 1));
    EXPECT_EQ("", w->ReadText("e", property::kAddress));  // only a browser box has an address
}

LRESULT CALLBACK RedBackground(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg != WM_ERASEBKGND) return DefSubclassProc(hwnd, msg, wp, lp);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(reinterpret_cast<HDC>(wp), &rc, red);
    DeleteObject(red);
    return 1;
}

// A TransLabel fills nothing itself: behind its text is whatever its parent
// paints as background (here red instead of the button face).
TEST(FormWindow, TransLabelShowsItsParentsBackground) {
    auto w = Make(Parse(u8"window W\n size = 200, 100\nTransLabel l\n position = 10, 16\n size = 72, 24\n"
                        u8" caption = \"播放地址：\"\n"));
    ASSERT_TRUE(w);
    SetWindowSubclass(w->Handle(), &RedBackground, 1, 0);
    test::DibCanvas canvas(72, 24);
    canvas.Fill(0x00FF00);
    SendMessageA(w->Handle("l"), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    EXPECT_EQ(0xFF0000u, canvas.Pixel(1, 22));   // below the text
    EXPECT_EQ(0xFF0000u, canvas.Pixel(70, 1));   // right of and above it
    int text = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 72; ++x)
            if (canvas.Pixel(x, y) != 0xFF0000u) ++text;
    EXPECT_GT(text, 10) << "the caption is drawn";
    RemoveWindowSubclass(w->Handle(), &RedBackground, 1);
}

// ---- modal load, message loop, exit routine ---------------------------------

// Looks from inside the modal loop (a timer fires there): records whether
// the other window is enabled, then closes the modal window.
HWND g_watched = nullptr;
bool g_watched_enabled_inside = true;
void CALLBACK LookAndCloseModal(HWND, UINT, UINT_PTR, DWORD) {
    HWND modal = FindWindowA(nullptr, "M");
    if (!modal) return;
    g_watched_enabled_inside = IsWindowEnabled(g_watched) != 0;
    PostMessageA(modal, WM_CLOSE, 0, 0);
}

TEST(FormModal, EachLoadIsANewWindowAndDisablesTheOthersUntilItCloses) {
    auto other = Make(Parse(u8"window Other\n size = 50, 50\n"));
    ASSERT_TRUE(other);
    ShowWindow(other->Handle(), SW_SHOWNA);  // only shown windows are put to wait
    const FormDescription form = Parse(
        u8"window M\n size = 100, 50\n border = fixed\n caption = \"M\"\n on created = Made\n"
        u8"EditBox e\n size = 50, 20\n");
    std::vector<std::string> seen;
    HandlerTable handlers{{"Made", [&](const EventArgs& e) -> HandlerResult {
                               seen.push_back(e.window.ReadText("e", property::kContent));
                               e.window.WriteText("e", property::kContent, "typed");
                               return std::nullopt;
                           }}};
    g_watched = other->Handle();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &LookAndCloseModal);
    std::string error;
    for (int i = 0; i < 2; ++i) {
        g_watched_enabled_inside = true;
        ASSERT_TRUE(LoadModal(form, handlers, error, {.show = false})) << error;
        EXPECT_FALSE(g_watched_enabled_inside) << "the other window was not disabled";
        EXPECT_EQ(nullptr, FindWindowA(nullptr, "M")) << "the modal window is gone when the load returns";
        EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ((std::vector<std::string>{"", ""}), seen);  // the typed text does not survive
    ShowWindow(other->Handle(), SW_HIDE);
}

TEST(FormModal, QuitDuringAModalLoadReachesTheOuterLoop) {
    const FormDescription form = Parse(u8"window M\n size = 100, 50\n on created = Made\n");
    HandlerTable handlers{{"Made", [](const EventArgs&) -> HandlerResult {
                               PostQuitMessage(7);
                               return std::nullopt;
                           }}};
    std::string error;
    ASSERT_TRUE(LoadModal(form, handlers, error, {.show = false})) << error;
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST(FormModal, UnreadableFormIsAnErrorNotAWindow) {
    const FormDescription form = Parse(u8"window M\n size = 100, 50\n on created = Missing\n");
    std::string error;
    EXPECT_FALSE(LoadModal(form, {}, error, {.show = false}));
    EXPECT_EQ("form T, line 3: no handler named 'Missing'", error);
}

TEST(FormMessageLoop, EndsAtQuitAndRunsTheExitRoutineOnce) {
    int runs = 0;
    SetExitRoutine([&] { ++runs; });
    auto w = Make(Parse(u8"window W\n size = 10, 10\n"));
    ASSERT_TRUE(w);
    w->SetQuitOnDestroy(true);
    PostMessageA(w->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0, RunMessageLoop());
    EXPECT_EQ(1, runs);
    EXPECT_FALSE(w->IsOpen());
    PostQuitMessage(3);
    EXPECT_EQ(3, RunMessageLoop());
    EXPECT_EQ(1, runs);  // the routine is used up
}

TEST(FormRuntime, DefaultBackColourIsTheButtonFace) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), DefaultBackColour());
    auto w = Make(Parse(u8"window W\n size = 10, 10\n"));
    ASSERT_TRUE(w);
    EXPECT_EQ(COLOR_BTNFACE + 1, static_cast<int>(GetClassLongPtrA(w->Handle(), GCLP_HBRBACKGROUND)));
}

// ---- message box ------------------------------------------------------------

// Reads the message box of this thread from a timer that runs inside its
// modal loop, then presses OK.
struct SeenBox {
    bool found = false;
    std::string title, text;
    HWND owner = nullptr;
    bool other_enabled = true;
};
SeenBox* g_seen = nullptr;
HWND g_other = nullptr;

BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
    if (ClassOf(h) != "#32770") return TRUE;
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
}

void CALLBACK ReadMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&box));
    if (!box || !IsWindowVisible(box)) return;
    KillTimer(nullptr, id);
    g_seen->found = true;
    g_seen->title = TextOf(box);
    g_seen->text = TextOf(GetDlgItem(box, 0xFFFF));
    g_seen->owner = GetWindow(box, GW_OWNER);
    g_seen->other_enabled = IsWindowEnabled(g_other) != 0;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(FormMessageBox, ShowsTextUnderTheRuntimeTitleWithoutOwner) {
    auto other = Make(Parse(u8"window W\n size = 10, 10\n"));
    ASSERT_TRUE(other);
    SeenBox seen;
    g_seen = &seen;
    g_other = other->Handle();
    SetTimer(nullptr, 0, 20, &ReadMessageBox);
    const std::string text = "当前接口属于自动调整，无需更换接口 & more";
    EXPECT_EQ(IDOK, ShowMessage(text));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ("信息：", seen.title);
    EXPECT_EQ(text, seen.text);
    EXPECT_EQ(nullptr, seen.owner);
    // Task-modal: the thread's other windows wait while the box is open.
    EXPECT_FALSE(seen.other_enabled);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
}

}  // namespace
}  // namespace vostrel::form
