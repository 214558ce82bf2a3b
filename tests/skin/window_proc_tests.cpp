// The skinned top-level window's procedure at message level: presses on the
// frame, caption-button press and release, the hover fade timeline on the
// window's timer, sizing and maximising, system commands, control-colour
// replies, deactivation and teardown.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gdiplus/dll.h"
#include "recording_window.h"
#include "skin/core/window_skin.h"

using namespace vostrel::skin;
using vostrel::skin::test::Describe;
using vostrel::skin::test::Point;
using vostrel::skin::test::RecordedMessage;
using vostrel::skin::test::RecordingWindow;
using vostrel::skin::test::TestSkin;
using vostrel::test::FlushEvents;

namespace {

// A hidden window with the skin attached, and its record.
struct Skinned {
    explicit Skinned(int width = 600, int height = 400,
                     DWORD style = WS_MINIMIZEBOX | WS_MAXIMIZEBOX, int resizable = 1)
        : w(width, height, style) {
        AttachOptions o;
        o.CaptionHeight = 30;
        o.Resizable = resizable;
        TestSkin().AttachSkin(w.window, o);
        n = FindWindowNumber(w.window);
        record = RecordOf(n);
        w.log.clear();
    }
    // Composes the window image through the window's own paint.
    void Paint() { SendMessageA(w.window, WM_PAINT, 0, 0); }
    // Centre of caption button k.
    LPARAM ButtonCentre(int k) const {
        const CaptionButton& b = *record->CaptionButtons.At(k);
        return Point(static_cast<int>(b.Rect.x + b.Rect.width / 2), 10);
    }
    // A pixel of the composed image near the top left of caption button k,
    // where the hover glow shows and the glyph does not.
    COLORREF GlowPixel(int k) const {
        const CaptionButton& b = *record->CaptionButtons.At(k);
        return GetPixel(record->BackgroundDC.Dc(), static_cast<int>(b.Rect.x) + 3, 4);
    }
    int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return static_cast<int>(SendMessageA(w.window, message, wParam, lParam));
    }

    RecordingWindow w;
    int n = 0;
    WindowRecord* record = nullptr;
};

// Commands of the sizing family (SC_SIZE + edge) and caption presses: what a
// press on the frame starts.
std::vector<std::string> FrameActions(const RecordingWindow& w) {
    std::vector<RecordedMessage> out;
    for (const RecordedMessage& m : w.log) {
        if (m.message == WM_NCLBUTTONDOWN) out.push_back(m);
        if (m.message == WM_SYSCOMMAND && (m.wParam & 0xFFF0) == SC_SIZE) out.push_back(m);
    }
    return Describe(out);
}

std::vector<std::string> SysCommands(const RecordingWindow& w) {
    return Describe(w.Of({WM_SYSCOMMAND}));
}

int Red(COLORREF c) { return GetRValue(c); }
int Green(COLORREF c) { return GetGValue(c); }
bool Near(COLORREF a, COLORREF b) { return vostrel::test::ColourNear(a, b, 6); }

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// ---- Frame presses --------------------------------------------------------------

TEST(SkinWindowProc, PressOnTheFrameSizesOrDrags) {
    struct Case {
        int x, y;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {1, 100, {"WM_SYSCOMMAND(0xF001)"}},  // left band: size from the left edge
        {2, 5, {"WM_SYSCOMMAND(0xF004)"}},    // corner square: size from the top left
        {5, 100, {}},                         // outside bands, corners and caption
        {500, 20, {"WM_NCLBUTTONDOWN(0x2)"}}, // caption band: drag
    };
    Skinned s(1104, 504);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "press at (" << c.x << ", " << c.y << ")");
        s.w.log.clear();
        s.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(c.x, c.y));
        s.Send(WM_LBUTTONUP, 0, Point(c.x, c.y));
        EXPECT_EQ(c.expected, FrameActions(s.w));
        EXPECT_EQ(0, TestSkin().HotCaptionButton);
    }
    // Maximised or minimised, a press neither moves nor sizes the window.
    for (int* state : {&s.record->Maximized, &s.record->Minimized}) {
        *state = 1;
        s.w.log.clear();
        s.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 100));
        s.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(500, 20));
        EXPECT_EQ(std::vector<std::string>{}, FrameActions(s.w));
        *state = 0;
    }
}

// ---- Caption-button press and release ----------------------------------------------

TEST(SkinWindowProc, PressDrawsPressedAndReleasePerformsTheButtonUnderThePointer) {
    enum { kMin = 1, kMax = 2, kClose = 3 };
    struct Case {
        const char* name;
        int pressed;
        int releasedOver;  // 0: a point of the caption outside the strip
        std::vector<std::string> commands;
    };
    const Case cases[] = {
        {"minimise", kMin, kMin, {"WM_SYSCOMMAND(0xF020)"}},
        {"maximise", kMax, kMax, {"WM_SYSCOMMAND(0xF030)"}},
        {"close", kClose, kClose, {"WM_SYSCOMMAND(0xF060)"}},
        {"pressed minimise, released on close", kMin, kClose, {"WM_SYSCOMMAND(0xF060)"}},
        {"pressed close, released off the strip", kClose, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Skinned s;
        s.Paint();
        const COLORREF before = s.GlowPixel(c.pressed);
        s.Send(WM_MOUSEHOVER);  // the pointer is inside: no leave tracking
        s.Send(WM_LBUTTONDOWN, MK_LBUTTON, s.ButtonCentre(c.pressed));
        EXPECT_EQ(c.pressed, TestSkin().HotCaptionButton);
        // The pressed face is darker (the close button's is red).
        const COLORREF pressed = s.GlowPixel(c.pressed);
        EXPECT_NE(before, pressed);
        if (c.pressed == kClose) {
            EXPECT_GT(Red(pressed), Green(pressed) + 40);
        } else {
            EXPECT_LT(Green(pressed), Green(before));
        }
        // No drag and no sizing from a press on the strip.
        EXPECT_EQ(std::vector<std::string>{}, FrameActions(s.w));
        const LPARAM release = c.releasedOver ? s.ButtonCentre(c.releasedOver) : Point(300, 20);
        s.Send(WM_MOUSEMOVE, MK_LBUTTON, release);
        s.Send(WM_LBUTTONUP, 0, release);
        EXPECT_EQ(c.commands, SysCommands(s.w));
    }
}

TEST(SkinWindowProc, MaximiseButtonTogglesAndDoubleClickOnTheCaptionMaximises) {
    Skinned s;
    const int k = TestSkin().FindMaximiseButton(s.n);
    ASSERT_EQ(2, k);
    TestSkin().CaptionButtonAction(s.n, k);
    EXPECT_EQ(1, s.record->Maximized);
    TestSkin().CaptionButtonAction(s.n, k);
    EXPECT_EQ(0, s.record->Maximized);
    s.Send(WM_LBUTTONDBLCLK, 0, Point(200, 12));   // in the caption
    s.Send(WM_LBUTTONDBLCLK, 0, Point(200, 200));  // below it: nothing
    EXPECT_EQ((std::vector<std::string>{"WM_SYSCOMMAND(0xF030)", "WM_SYSCOMMAND(0xF120)",
                                        "WM_SYSCOMMAND(0xF030)"}),
              SysCommands(s.w));
    // Buttons out of range do nothing.
    s.w.log.clear();
    EXPECT_EQ(0, TestSkin().CaptionButtonAction(s.n, 0));
    EXPECT_EQ(0, TestSkin().CaptionButtonAction(s.n, 4));
    EXPECT_EQ(0, TestSkin().CaptionButtonAction(Windows.Count() + 1, 1));
    EXPECT_TRUE(SysCommands(s.w).empty());

    // A window that cannot be resized ignores the double click.
    Skinned fixed(600, 400, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
    fixed.Send(WM_LBUTTONDBLCLK, 0, Point(200, 12));
    EXPECT_TRUE(SysCommands(fixed.w).empty());
}

int g_helpCalls = 0, g_menuCalls = 0;

TEST(SkinWindowProc, HelpAndMenuButtonsCallTheirRoutines) {
    RecordingWindow w(600, 400, WS_MINIMIZEBOX);
    AttachOptions o;
    o.HelpButton = 1;
    o.MenuButton = 1;
    TestSkin().AttachSkin(w.window, o);
    const int n = FindWindowNumber(w.window);
    g_helpCalls = g_menuCalls = 0;
    TestSkin().CaptionButtonAction(n, 1);  // help, no routine yet
    TestSkin().SetHelpRoutine(w.window, [] { ++g_helpCalls; });
    TestSkin().SetMenuRoutine(w.window, [] { ++g_menuCalls; });
    TestSkin().CaptionButtonAction(n, 1);
    TestSkin().CaptionButtonAction(n, 2);
    TestSkin().CaptionButtonAction(n, 2);
    EXPECT_EQ(1, g_helpCalls);
    EXPECT_EQ(2, g_menuCalls);
}

// ---- The fade timeline ------------------------------------------------------------------

// What one tick of the fade timer left behind.
struct Tick {
    DWORD time;
    FadeState in, out;
    COLORREF closePixel, minimisePixel;
};

TEST(SkinWindowProc, FadeTimelineOnTheWindowsTimer) {
    enum { kMin = 1, kClose = 3 };
    Skinned s;
    s.Paint();
    const COLORREF closeUnlit = s.GlowPixel(kClose);
    const COLORREF minimiseUnlit = s.GlowPixel(kMin);
    std::vector<Tick> ticks;
    const WPARAM timerId = reinterpret_cast<WPARAM>(s.w.window);
    s.w.onMessage = [&](const RecordedMessage& m) {
        if (m.message == WM_TIMER && m.wParam == timerId)
            ticks.push_back({m.time, s.record->FadeIn, s.record->FadeOut, s.GlowPixel(kClose),
                             s.GlowPixel(kMin)});
    };
    auto pumpUntil = [&](auto done) {
        for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < 3000;)
            FlushEvents(5);
    };

    // The pointer rests on the close button: eight draws, alphas 30 to 240.
    s.Send(WM_MOUSEHOVER);
    s.Send(WM_MOUSEMOVE, 0, s.ButtonCentre(kClose));
    EXPECT_EQ(kClose, s.record->LitCaptionButton);
    pumpUntil([&] { return ticks.size() >= 10; });
    ASSERT_GE(ticks.size(), 10u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(kClose, ticks[i].in.Button);
        EXPECT_EQ(i + 1, ticks[i].in.Step);
        // The red glow grows: less green with every step.
        if (i > 0) {
            EXPECT_LT(Green(ticks[i].closePixel), Green(ticks[i - 1].closePixel))
                << "step " << i + 1;
        }
    }
    // 20 ms apart. The timer keeps its rate, so a tick delivered late is
    // followed by an early one: only the whole span is checked.
    EXPECT_GE(ticks[7].time - ticks[0].time, 7u * 15u);
    // Resting in the strip, the timer keeps running and draws nothing new.
    EXPECT_EQ(8, ticks[9].in.Step);
    EXPECT_EQ(ticks[7].closePixel, ticks[9].closePixel);
    const COLORREF closeLit = ticks[7].closePixel;

    // On to the minimise button: close fades out while minimise fades in.
    ticks.clear();
    s.Send(WM_MOUSEMOVE, 0, s.ButtonCentre(kMin));
    pumpUntil([&] { return ticks.size() >= 8; });
    ASSERT_GE(ticks.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(kMin, ticks[i].in.Button);
        EXPECT_EQ(i + 1, ticks[i].in.Step);
        EXPECT_EQ(kClose, ticks[i].out.Button);
        EXPECT_EQ(i + 1, ticks[i].out.Step);
        const COLORREF previousClose = i ? ticks[i - 1].closePixel : closeLit;
        EXPECT_GT(Green(ticks[i].closePixel), Green(previousClose)) << "step " << i + 1;
    }
    // Faded out to alpha 0: the close button looks as it did before.
    EXPECT_TRUE(Near(closeUnlit, ticks[7].closePixel));
    EXPECT_FALSE(Near(minimiseUnlit, ticks[7].minimisePixel));

    // The pointer leaves the window: minimise fades out and the timer stops.
    ticks.clear();
    s.Send(WM_MOUSELEAVE);
    pumpUntil([&] { return !s.record->FadeTimer && ticks.size() >= 8; });
    ASSERT_EQ(8u, ticks.size());
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(kMin, ticks[i].out.Button);
        EXPECT_EQ(i + 1, ticks[i].out.Step);
    }
    // The eighth step drew alpha 0 and stopped the timer, clearing the fades.
    EXPECT_EQ(0, ticks[7].out.Button);
    EXPECT_EQ(0, ticks[7].in.Button);
    EXPECT_TRUE(Near(minimiseUnlit, ticks[7].minimisePixel));
    EXPECT_EQ(0, s.record->FadeTimer);
    EXPECT_EQ(0, s.record->LitCaptionButton);
    FlushEvents(150);
    EXPECT_EQ(8u, ticks.size()) << "WM_TIMER after the last fade-out step";
    EXPECT_FALSE(KillTimer(s.w.window, timerId)) << "the fade timer is still set";
}

TEST(SkinWindowProc, PointerLeavingTheStripForTheClientStopsTheTimer) {
    Skinned s;
    s.Paint();
    s.Send(WM_MOUSEHOVER);
    s.Send(WM_MOUSEMOVE, 0, s.ButtonCentre(3));
    s.Send(WM_MOUSEMOVE, 0, Point(200, 200));
    EXPECT_EQ(0, s.record->FadeTimer);  // no longer wanted, runs out its fade
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000 && s.record->FadeOut.Button;)
        FlushEvents(10);
    EXPECT_EQ(0, s.record->FadeOut.Button);
    s.w.log.clear();
    FlushEvents(100);
    EXPECT_TRUE(s.w.Of({WM_TIMER}).empty());
}

TEST(SkinWindowProc, WindowDestroyedMidFade) {
    const int count = Windows.Count();
    {
        Skinned s;
        s.Paint();
        s.Send(WM_MOUSEHOVER);
        s.Send(WM_MOUSEMOVE, 0, s.ButtonCentre(3));
        FlushEvents(50);
        ASSERT_GT(s.record->FadeIn.Step, 0);
        ASSERT_LT(s.record->FadeIn.Step, 8);
        DestroyWindow(s.w.window);
        EXPECT_EQ(0, FindWindowNumber(s.w.window));
        EXPECT_EQ(0, TestSkin().HotCaptionButton);
    }
    FlushEvents(100);  // a tick left behind would reach a freed record
    EXPECT_EQ(count, Windows.Count());
}

// ---- Size, position and system commands ---------------------------------------------------

TEST(SkinWindowProc, FirstSizeDoesNotRecomposeTheSecondDoes) {
    Skinned s;
    const int saved = FirstSizePending;
    FirstSizePending = 1;
    ASSERT_EQ(1, s.record->Recompose);  // set by attach
    s.record->LitCaptionButton = 2;
    s.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    EXPECT_EQ(0, s.record->Recompose);
    EXPECT_EQ(0, FirstSizePending);
    EXPECT_EQ(0, s.record->LitCaptionButton);
    s.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    EXPECT_EQ(1, s.record->Recompose);
    // The paint after it composes and clears the request; a later one only
    // copies the image.
    s.Paint();
    EXPECT_EQ(0, s.record->Recompose);
    const auto before = vostrel::dll::CountObjects();
    s.Paint();
    EXPECT_EQ(before.created[vostrel::dll::kGpGraphics],
              vostrel::dll::CountObjects().created[vostrel::dll::kGpGraphics]);
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    FirstSizePending = saved;
}

TEST(SkinWindowProc, DockedChildrenFollowTheSize) {
    Skinned s(500, 400);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, s.w.window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    s.record->DockedChildren.Append({child, 40});
    s.record->BarHeight = 20;
    SetWindowPos(s.w.window, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, s.w.window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(Text(RECT{2, 40, 638, 480 - 20 - 3}), Text(r));
    s.record->BarHeight = 0;
}

// Sets the primary screen's work area for the life of the object.
struct WorkAreaGuard {
    RECT saved{};
    bool changed = false;
    explicit WorkAreaGuard(const RECT& area) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved, 0);
        RECT wanted = area;
        changed = SystemParametersInfoA(SPI_SETWORKAREA, 0, &wanted, 0) != FALSE;
        RECT now{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &now, 0);
        changed = changed && EqualRect(&now, &area);
    }
    ~WorkAreaGuard() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0); }
};

TEST(SkinWindowProc, MaximisedToTheWorkAreaWhereverTheTaskbarIs) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const RECT areas[] = {
        {0, 0, cx, cy - 40},   // taskbar at the bottom
        {60, 0, cx, cy},       // on the left: the old rule gave a height of 0
        {0, 30, cx, cy},       // at the top: the old rule covered it
    };
    for (const RECT& area : areas) {
        SCOPED_TRACE(testing::Message() << "work area " << area.left << "," << area.top << ","
                                        << area.right << "," << area.bottom);
        WorkAreaGuard guard(area);
        if (!guard.changed) GTEST_SKIP() << "the work area cannot be set here";
        Skinned s;
        SetWindowPos(s.w.window, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r{};
        GetWindowRect(s.w.window, &r);
        EXPECT_EQ(Text(area), Text(r));
        EXPECT_EQ(1, s.record->Maximized);
        MINMAXINFO info{};
        s.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(area.right - area.left, info.ptMaxTrackSize.x);
        EXPECT_EQ(area.bottom - area.top, info.ptMaxTrackSize.y);
        EXPECT_EQ(200, info.ptMinTrackSize.x);
        EXPECT_EQ(150, info.ptMinTrackSize.y);
    }
}

TEST(SkinWindowProc, ScreenSizedWindowWithoutMaximiseBoxIsLeftAlone) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    Skinned s(600, 400, WS_MINIMIZEBOX);
    SetWindowPos(s.w.window, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    GetWindowRect(s.w.window, &r);
    EXPECT_EQ(Text(RECT{0, 0, cx, cy}), Text(r));
    EXPECT_EQ(0, s.record->Maximized);
    MINMAXINFO info{};
    s.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(cx, info.ptMaxTrackSize.x);
    EXPECT_EQ(cy, info.ptMaxTrackSize.y);
}

TEST(SkinWindowProc, FullScreenWorkAreaDoesNotLoop) {
    // With no taskbar the work area is the whole screen: the window is
    // already there and must not be moved onto itself again and again.
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    WorkAreaGuard guard(RECT{0, 0, cx, cy});
    Skinned s;
    SetWindowPos(s.w.window, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_LE(s.w.Of({WM_WINDOWPOSCHANGED}).size(), 2u);
    EXPECT_EQ(1, s.record->Maximized);
}

TEST(SkinWindowProc, SystemCommandsKeepTheStateFlags) {
    struct Case {
        const char* name;
        int maximized, minimized;
        WPARAM command;
        int maximizedAfter, minimizedAfter;
    };
    const Case cases[] = {
        {"maximise", 0, 0, SC_MAXIMIZE, 1, 0},
        {"maximise by caption double click", 0, 0, SC_MAXIMIZE | HTCAPTION, 1, 0},
        {"minimise", 0, 0, SC_MINIMIZE, 0, 1},
        {"minimise a maximised window", 1, 0, SC_MINIMIZE, 1, 1},
        // A restore of the open window ends the maximised state, so that it
        // can be moved and sized again.
        {"restore a maximised window", 1, 0, SC_RESTORE, 0, 0},
        // From the taskbar it comes back as it was minimised.
        {"restore a minimised maximised window", 1, 1, SC_RESTORE, 1, 0},
        {"restore a minimised window", 0, 1, SC_RESTORE, 0, 0},
        {"move", 1, 0, SC_MOVE, 1, 0},
    };
    Skinned s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.record->Maximized = c.maximized;
        s.record->Minimized = c.minimized;
        s.record->Recompose = 0;
        s.Send(WM_SYSCOMMAND, c.command);
        EXPECT_EQ(c.maximizedAfter, s.record->Maximized);
        EXPECT_EQ(c.minimizedAfter, s.record->Minimized);
        EXPECT_EQ(c.command == SC_MOVE ? 0 : 1, s.record->Recompose);
    }
    s.record->Minimized = 1;
    s.Send(WM_QUERYOPEN);
    EXPECT_EQ(0, s.record->Minimized);
}

TEST(SkinWindowProc, EveryPaintEndsThePaintItBegan) {
    Skinned s;
    const auto before = vostrel::dll::CountObjects();
    s.Paint();                       // composes
    s.Paint();                       // copies
    s.record->Minimized = 1;
    s.Paint();                       // nothing to show
    s.record->Minimized = 0;
    const auto after = vostrel::dll::CountObjects();
    EXPECT_EQ(3u, after.created[vostrel::dll::kPaintDc] - before.created[vostrel::dll::kPaintDc]);
    EXPECT_EQ(after.created[vostrel::dll::kPaintDc] - before.created[vostrel::dll::kPaintDc],
              after.deleted[vostrel::dll::kPaintDc] - before.deleted[vostrel::dll::kPaintDc]);
    EXPECT_EQ(1, s.Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(s.record->BackgroundDC.Dc())));
}

// ---- Control colours, deactivation, foreign numbers ----------------------------------

TEST(SkinWindowProc, ControlColourReplies) {
    const int savedTransparent = TransparentControls;
    Skinned s;
    s.Paint();
    HINSTANCE module = GetModuleHandleA(nullptr);
    HWND label = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 10, 40, 80, 20, s.w.window, nullptr,
                                 module, nullptr);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 10, 70, 80, 60, s.w.window, nullptr,
                                module, nullptr);
    SetPropValue(label, kPropTextColour, 0x123456);
    HDC dc = GetDC(label);
    auto send = [&](UINT message, HWND control) {
        return reinterpret_cast<HGDIOBJ>(
            SendMessageA(s.w.window, message, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(control)));
    };

    TransparentControls = 0;  // the application's setting: plain controls
    s.w.log.clear();
    send(WM_CTLCOLORSTATIC, label);
    EXPECT_EQ(1u, s.w.Of({WM_CTLCOLORSTATIC}).size()) << "passed on";
    EXPECT_EQ(0, GetPropValue(label, kPropColourBrush));

    TransparentControls = 1;
    s.w.log.clear();
    HGDIOBJ veiled = send(WM_CTLCOLORSTATIC, label);
    EXPECT_TRUE(s.w.Of({WM_CTLCOLORSTATIC}).empty()) << "answered by the skin";
    EXPECT_EQ(OBJ_BRUSH, static_cast<int>(GetObjectType(veiled)));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(veiled), GetPropValue(label, kPropColourBrush));
    EXPECT_NE(0, GetPropValue(label, kPropColourBrushBitmap));
    EXPECT_EQ(0x123456u, GetTextColor(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    // The next reply replaces (and frees) the last one.
    const auto before = vostrel::dll::CountObjects();
    send(WM_CTLCOLORSTATIC, label);
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));

    HGDIOBJ hollow = send(WM_CTLCOLORLISTBOX, list);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), hollow);
    hollow = send(WM_CTLCOLORBTN, label);  // replaces the veiled brush
    EXPECT_EQ(GetStockObject(NULL_BRUSH), hollow);
    EXPECT_EQ(0, GetPropValue(label, kPropColourBrushBitmap));

    ReleaseDC(label, dc);
    // Destroying the window frees every brush it handed out, never a stock one.
    send(WM_CTLCOLORSTATIC, label);
    const auto beforeDestroy = vostrel::dll::CountObjects();
    DestroyWindow(s.w.window);
    const auto afterDestroy = vostrel::dll::CountObjects();
    EXPECT_EQ(1u, afterDestroy.deleted[vostrel::dll::kBrush] -
                      beforeDestroy.deleted[vostrel::dll::kBrush]);
    TransparentControls = savedTransparent;
}

TEST(SkinWindowProc, OneTrimThreadPerDeactivation) {
    Skinned s;
    const auto row = vostrel::dll::Row::SHCreateThread;
    const uint64_t before = vostrel::dll::CallCount(row);
    s.Send(WM_ACTIVATEAPP, FALSE);
    s.Send(WM_ACTIVATEAPP, TRUE);
    s.Send(WM_ACTIVATEAPP, FALSE);
    s.Send(WM_ACTIVATEAPP, TRUE);
    EXPECT_EQ(before + 2, vostrel::dll::CallCount(row));
    EXPECT_EQ(4u, s.w.Of({WM_ACTIVATEAPP}).size());
}

TEST(SkinWindowProc, WindowNumberOfAnotherWindowPassesEverythingOn) {
    Skinned a, b;
    // b's procedure with a's number: nothing of a's record may change.
    SetPropValue(b.w.window, kPropNumber, a.n);
    a.record->Recompose = 0;
    b.Send(WM_SIZE, 0, MAKELPARAM(10, 10));
    b.Send(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_EQ(0, a.record->Recompose);
    EXPECT_EQ(0, a.record->Minimized);
    EXPECT_EQ(1u, b.w.Of({WM_SYSCOMMAND}).size());
    SetPropValue(b.w.window, kPropNumber, 0);
    b.Send(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_EQ(2u, b.w.Of({WM_SYSCOMMAND}).size());
    SetPropValue(b.w.window, kPropNumber, b.n);
}

// ---- The 32-bit stubs -------------------------------------------------------------------

TEST(SkinWindowProcI686, MessagesArriveThroughTheBoundStub) {
    Skinned s(1104, 504, WS_MINIMIZEBOX, 0);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(TestSkin().WindowProcedure()),
              GetWindowLongPtrA(s.w.window, GWLP_WNDPROC));
    EXPECT_EQ(68, s.record->StripWidth);
    EXPECT_EQ(1104 - 67, s.record->StripLeft);
    s.Send(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_EQ(1, s.record->Minimized);
    s.Send(WM_QUERYOPEN);
    EXPECT_EQ(0, s.record->Minimized);
    MINMAXINFO info{};
    s.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(200, info.ptMinTrackSize.x);
    EXPECT_EQ((std::vector<std::string>{"WM_SYSCOMMAND(0xF020)"}), SysCommands(s.w));
}

TEST(SkinWindowProcI686, CaptionButtonActionThroughItsStub) {
    Skinned s(1104, 504, WS_MINIMIZEBOX, 0);
    ASSERT_NE(0u, TestSkin().ActionThunkEntry);
    using Action = LRESULT(WINAPI*)(int, int);
    const auto action = reinterpret_cast<Action>(TestSkin().ActionThunkEntry);
    action(s.n, 2);  // close
    action(s.n, 1);  // minimise
    action(s.n, 3);  // out of range
    EXPECT_EQ((std::vector<std::string>{"WM_SYSCOMMAND(0xF060)", "WM_SYSCOMMAND(0xF020)"}),
              SysCommands(s.w));
    EXPECT_EQ(1, s.record->Minimized);
}

}  // namespace

// ---- Soak -----------------------------------------------------------------------------------

namespace {

// One pointer entry to caption button k and its leave; with `steps`, a fade
// step on each side (the steps draw the glow).
void EnterAndLeave(Skinned& s, int k, bool steps) {
    const auto timer = reinterpret_cast<WPARAM>(s.w.window);
    s.Send(WM_MOUSEHOVER);
    s.Send(WM_MOUSEMOVE, 0, s.ButtonCentre(k));
    if (steps) s.Send(WM_TIMER, timer);
    s.Send(WM_MOUSELEAVE);
    if (steps) s.Send(WM_TIMER, timer);
}

}  // namespace

// Pointer entries and leaves over every caption button, and recompositions
// of the window image, leave every GDI and GDI+ balance where the first
// round left it.
TEST(SkinWindowProc, TenThousandCaptionHoversAndAThousandRecompositionsLeaveEveryBalance) {
    Skinned s;
    s.Paint();
    const int buttons = s.record->CaptionButtons.Count();
    ASSERT_GE(buttons, 2);
    for (int k = 1; k <= buttons; ++k) EnterAndLeave(s, k, true);
    s.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    s.Paint();
    FlushEvents();
    const auto after = vostrel::dll::CountObjects();

    // Every tenth cycle also draws its glow steps.
    for (int i = 1; i < 10000; ++i) EnterAndLeave(s, 1 + i % buttons, i % 10 == 0);
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(after)) << "after the hovers";
    for (int i = 1; i < 1000; ++i) {
        s.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
        ASSERT_EQ(1, s.record->Recompose);
        s.Paint();
        ASSERT_EQ(0, s.record->Recompose);
    }
    FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(after)) << "after the recompositions";
}
