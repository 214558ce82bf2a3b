// The progress-bar skin: the installer, the filled part for a range and a
// position (horizontal and vertical, non-zero and negative minimums) by
// pixels, empty ranges that draw the frame and the track only, the pointer
// that changes nothing, the balance of every GDI and GDI+ object over many
// paints, and the teardown of the subclassing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/progress_bar.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"
#include "control_host.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel::skin;
using vostrel::skin::test::ControlHost;
using vostrel::skin::test::ControlSkinTest;
using vostrel::skin::test::GlobalSettingsGuard;
using vostrel::skin::test::kBack;
using vostrel::skin::test::kTheme;
using vostrel::test::DibCanvas;
using vostrel::test::FlushEvents;

namespace {

constexpr uint32_t kBackPixel = 0x102030;  // kBack read from a DIB

class ProgressBarTest : public ControlSkinTest {
protected:
    ProgressBarTest() : ControlSkinTest(0) {}

    HWND Bar(ControlHost& host, DWORD style, int width, int height, int low, int high,
             int position) {
        HWND p = host.Child(PROGRESS_CLASSA, style, "", 10, 10, width, height);
        SendMessageA(p, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
        SendMessageA(p, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        return p;
    }
};

ProgressBarRecord* RecordOfBar(const ControlHost& host, HWND control) {
    return host.record->ProgressBars.Get<ProgressBarRecord>(
        static_cast<int>(GetPropValue(control, kPropNumber)));
}

std::unique_ptr<DibCanvas> Paint(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    auto canvas = std::make_unique<DibCanvas>(r.right - r.left, r.bottom - r.top);
    canvas->Fill(0xFF00FF);
    EXPECT_TRUE(DrawProgressBarControl(control, canvas->dc()));
    GdiFlush();
    return canvas;
}

void Save(const DibCanvas& canvas, const std::string& name) {
    vostrel::test::SavePng(canvas, vostrel::test::ArtifactDir() + "/" + name + ".png");
}

int R(uint32_t p) { return (p >> 16) & 0xFF; }
int G(uint32_t p) { return (p >> 8) & 0xFF; }
int B(uint32_t p) { return p & 0xFF; }

// The filled part in the (red) theme colour; the track is a grey veil.
bool IsThemed(uint32_t p) { return R(p) - std::max(G(p), B(p)) > 0x60; }

int CountThemed(const DibCanvas& c) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) n += IsThemed(c.Pixel(x, y)) ? 1 : 0;
    return n;
}

// ---------------------------------------------------------------------------

TEST_F(ProgressBarTest, InstallerTakesEveryProgressBarOnceAndReadsItsOrientation) {
    ControlHost host;
    HWND flat = host.Child(PROGRESS_CLASSA, 0, "");
    HWND upright = host.Child(PROGRESS_CLASSA, PBS_VERTICAL, "");
    HWND smooth = host.Child(PROGRESS_CLASSA, PBS_SMOOTH, "");
    SkinChildControls(host.number, host.window);
    const struct {
        HWND bar;
        int position, vertical;
    } rows[] = {{flat, 1, 0}, {upright, 2, 1}, {smooth, 3, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.position);
        ProgressBarRecord* p = RecordOfBar(host, row.bar);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(row.bar, p->Handle);
        EXPECT_EQ(row.position, GetPropValue(row.bar, kPropNumber));
        EXPECT_EQ(host.number, GetPropValue(row.bar, kPropOwnerNumber));
        EXPECT_EQ(reinterpret_cast<INT_PTR>(p->PreviousProc), GetPropValue(row.bar, kPropPreviousProc));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(ProgressBarProc),
                  GetWindowLongPtrA(row.bar, GWLP_WNDPROC));
        EXPECT_EQ(row.vertical, p->Vertical);
    }
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(3, host.record->ProgressBars.Count());
    EXPECT_NE(reinterpret_cast<INT_PTR>(ProgressBarProc), GetPropValue(flat, kPropPreviousProc));
    SendMessageA(flat, PBM_SETPOS, 30, 0);
    EXPECT_EQ(30, SendMessageA(flat, PBM_GETPOS, 0, 0));

    // Out-of-range numbers and handles do nothing.
    const auto before = vostrel::dll::CountObjects();
    DrawProgressBar(host.number, 0);
    DrawProgressBar(host.number, 4);
    DrawProgressBar(0, 1);
    DrawProgressBar(host.number + 1, 1);
    EXPECT_FALSE(DrawProgressBarControl(nullptr));
    EXPECT_FALSE(DrawProgressBarControl(host.window));
    InstallProgressBars(host.number + 1, host.window);
    InstallProgressBars(host.number, nullptr);
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    EXPECT_EQ(before.created[vostrel::dll::kDc], vostrel::dll::CountObjects().created[vostrel::dll::kDc]);
}

// ---------------------------------------------------------------------------
// The filled part, by pixels.

struct FillCase {
    const char* name;
    bool vertical;
    int width, height, low, high, position;
    int first, last;  // along-axis extent of the rounded part (inclusive)
};

TEST_F(ProgressBarTest, FilledPartFollowsThePositionInItsRange) {
    const FillCase rows[] = {
        // Half of 200 pixels: a part 97 wide from x = 1.
        {"half", false, 200, 20, 0, 100, 50, 1, 98},
        {"half_positive_minimum", false, 200, 20, 100, 300, 200, 1, 98},
        {"half_maximum_zero", false, 200, 20, -100, 0, -50, 1, 98},
        {"quarter", false, 200, 20, 0, 1000, 250, 1, 48},
        {"full", false, 200, 20, 0, 100, 100, 1, 198},
        // Vertical bars grow from the bottom up: a quarter of 200 pixels is
        // the box y = 150..200, inset by one.
        {"vertical_quarter", true, 20, 200, 0, 100, 25, 151, 198},
        {"vertical_half_positive_minimum", true, 20, 200, 10, 30, 20, 101, 198},
        {"vertical_full", true, 20, 200, 0, 100, 100, 1, 198},
    };
    ControlHost host;
    host.Compose();
    for (const FillCase& row : rows) {
        SCOPED_TRACE(row.name);
        HWND p = Bar(host, row.vertical ? PBS_VERTICAL : 0, row.width, row.height, row.low,
                     row.high, row.position);
        InstallProgressBars(host.number, host.window);
        auto canvas = Paint(p);
        Save(*canvas, std::string("progress_") + row.name);
        // Sampled near the theme end of the gradient, across the bar.
        auto at = [&](int along) {
            return row.vertical ? canvas->Pixel(row.width - 4, along)
                                : canvas->Pixel(along, row.height - 4);
        };
        for (int along : {row.first + 2, (row.first + row.last) / 2, row.last - 2})
            EXPECT_TRUE(IsThemed(at(along))) << "at " << along << ": " << std::hex << at(along);
        const int length = row.vertical ? row.height : row.width;
        if (row.last + 3 < length) {
            EXPECT_FALSE(IsThemed(at(row.last + 3))) << std::hex << at(row.last + 3);
        }
        if (row.first - 3 >= 0) {
            EXPECT_FALSE(IsThemed(at(row.first - 3))) << std::hex << at(row.first - 3);
        }
        DestroyWindow(p);
    }
}

TEST_F(ProgressBarTest, FilledPartTakesTheThemeColour) {
    ControlHost host;
    host.Compose();
    HWND p = Bar(host, 0, 200, 20, 0, 100, 50);
    InstallProgressBars(host.number, host.window);
    ThemeColour = 0x0000C000;  // green
    auto canvas = Paint(p);
    const uint32_t px = canvas->Pixel(50, 16);
    EXPECT_GT(G(px) - std::max(R(px), B(px)), 0x40) << std::hex << px;
    EXPECT_EQ(0, CountThemed(*canvas));
}

// Nothing to fill: the position at the start, or a range without a span
// (which the system may hold as given). Frame and track only, no crash.
struct EmptyCase {
    const char* name;
    bool vertical;
    int low, high, position;
};

TEST_F(ProgressBarTest, NothingFilledDrawsTheFrameAndTrackOnly) {
    const EmptyCase rows[] = {
        {"position_zero", false, 0, 100, 0},
        {"position_at_low", true, 40, 90, 40},
        {"empty_range", false, 5, 5, 5},
        {"range_zero", false, 0, 0, 0},
        {"range_zero_vertical", true, 0, 0, 0},
        {"reversed_range", false, 100, 0, 50},
    };
    ControlHost host;
    host.Compose();
    for (const EmptyCase& row : rows) {
        SCOPED_TRACE(row.name);
        HWND p = Bar(host, row.vertical ? PBS_VERTICAL : 0, row.vertical ? 20 : 200,
                     row.vertical ? 200 : 20, row.low, row.high, row.position);
        InstallProgressBars(host.number, host.window);
        auto canvas = Paint(p);
        Save(*canvas, std::string("progress_") + row.name);
        EXPECT_EQ(0, CountThemed(*canvas));
        // The track: a white veil over the window colour.
        const uint32_t track = row.vertical ? canvas->Pixel(3, 100) : canvas->Pixel(100, 3);
        EXPECT_GT(R(track), 0x60) << std::hex << track;
        // The frame's rounded corner leaves the window colour.
        EXPECT_EQ(kBackPixel, canvas->Pixel(0, 0));
        // The system's own paint path takes the same way.
        SendMessageA(p, WM_PAINT, 0, 0);
        SendMessageA(p, WM_NCPAINT, 1, 0);
        DestroyWindow(p);
    }
}

// ---------------------------------------------------------------------------
// Messages.

uint64_t WindowDcsTaken() {
    return vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc];
}

TEST_F(ProgressBarTest, MessagesTheSkinDrawsForAndThePointerChangesNothing) {
    ControlHost host;
    host.Compose();
    HWND p = Bar(host, 0, 120, 16, 0, 100, 40);
    InstallProgressBars(host.number, host.window);
    DibCanvas scratch(4, 4);
    host.record->HotControl = 3;
    host.record->HotFamily = kFamilyEdits;
    host.record->PointerControl = 3;
    struct Row {
        UINT message;
        WPARAM wParam;
        LRESULT result;  // -1: whatever the system answers
        int draws;
    };
    const Row rows[] = {
        {WM_NCPAINT, 1, 1, 1},
        {WM_ERASEBKGND, reinterpret_cast<WPARAM>(scratch.dc()), 1, 0},
        {WM_PAINT, 0, -1, 1},
        {WM_MOVE, 0, -1, 1},
        {WM_MOUSEMOVE, 0, -1, 0},
        {WM_MOUSELEAVE, 0, -1, 0},
        {PBM_GETPOS, 0, 40, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << row.message);
        const auto before = vostrel::dll::CountObjects();
        const uint64_t dcs = WindowDcsTaken();
        const LRESULT result = SendMessageA(p, row.message, row.wParam, MAKELPARAM(4, 4));
        if (row.result >= 0) {
            EXPECT_EQ(row.result, result);
        }
        EXPECT_EQ(static_cast<uint64_t>(row.draws), WindowDcsTaken() - dcs);
        EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    }
    EXPECT_EQ(TRANSPARENT, GetBkMode(scratch.dc()));
    // The hover state belongs to the controls that have a hover look.
    EXPECT_EQ(3, host.record->HotControl);
    EXPECT_EQ(kFamilyEdits, host.record->HotFamily);
    EXPECT_EQ(3, host.record->PointerControl);
}

// The one shown window of these tests: the paint that follows a change of
// position reaches the screen.
TEST_F(ProgressBarTest, ShownProgressBarRepaintsItsSkinWhenThePositionMoves) {
    ControlHost host(WS_VISIBLE, 260, 60);
    host.Compose();
    HWND p = Bar(host, 0, 200, 20, 0, 100, 0);
    InstallProgressBars(host.number, host.window);
    UpdateWindow(host.window);
    FlushEvents(50);
    auto screen = [&] {
        auto canvas = std::make_unique<DibCanvas>(200, 20);
        HDC dc = GetWindowDC(p);
        BitBlt(canvas->dc(), 0, 0, 200, 20, dc, 0, 0, SRCCOPY);
        ReleaseDC(p, dc);
        GdiFlush();
        return canvas;
    };
    EXPECT_FALSE(IsThemed(screen()->Pixel(50, 16)));
    SendMessageA(p, PBM_SETPOS, 50, 0);
    UpdateWindow(p);
    FlushEvents(50);
    auto after = screen();
    Save(*after, "progress_screen");
    EXPECT_TRUE(IsThemed(after->Pixel(50, 16))) << std::hex << after->Pixel(50, 16);
    EXPECT_FALSE(IsThemed(after->Pixel(150, 16))) << std::hex << after->Pixel(150, 16);
    // A new size repaints the whole control: the picture follows its edges.
    SetWindowPos(p, nullptr, 0, 0, 150, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{}, dirty{};
    GetClientRect(p, &client);
    EXPECT_TRUE(GetUpdateRect(p, &dirty, FALSE));
    EXPECT_TRUE(EqualRect(&client, &dirty))
        << dirty.left << "," << dirty.top << "," << dirty.right << "," << dirty.bottom;
    ShowWindow(host.window, SW_HIDE);
}

// ---------------------------------------------------------------------------
// Nothing leaks; the subclassing goes with the control.

TEST_F(ProgressBarTest, PaintAndPositionSoakLeavesEveryBalanceUnchanged) {
    ControlHost host;
    host.Compose();
    HWND bars[] = {Bar(host, 0, 60, 12, 0, 100, 0), Bar(host, PBS_VERTICAL, 12, 60, -50, 50, 0),
                   Bar(host, 0, 60, 12, 7, 7, 7)};
    InstallProgressBars(host.number, host.window);
    auto round = [&](int i) {
        for (HWND p : bars) {
            SendMessageA(p, PBM_SETPOS, static_cast<WPARAM>(i % 101 - 50), 0);
            SendMessageA(p, WM_PAINT, 0, 0);
            SendMessageA(p, WM_NCPAINT, 1, 0);
            SendMessageA(p, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        }
    };
    round(0);
    FlushEvents();
    const auto baseline = vostrel::dll::CountObjects();
    const int backdrops = BackdropDcCount();
    for (int i = 1; i <= 300; ++i) {
        round(i);
        if (i % 100 == 0) FlushEvents();
    }
    FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
    EXPECT_EQ(backdrops, BackdropDcCount());
}

struct LastMessage {
    bool seen = false;
    LONG_PTR procedure = 0;
    INT_PTR properties = 0;
};
LastMessage g_last;
WNDPROC g_system = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        g_last.seen = true;
        g_last.procedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
        g_last.properties = GetPropValue(window, kPropPreviousProc) |
                            GetPropValue(window, kPropNumber) |
                            GetPropValue(window, kPropOwnerNumber);
    }
    return CallWindowProcA(g_system, window, message, wParam, lParam);
}

TEST_F(ProgressBarTest, DestroyedProgressBarGetsItsProcedureBackAndLeavesItsRecordEmpty) {
    ControlHost host;
    host.Compose();
    HWND keep = Bar(host, 0, 120, 16, 0, 100, 10);
    HWND p = Bar(host, 0, 120, 16, 0, 100, 40);
    g_last = {};
    g_system = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(p, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    InstallProgressBars(host.number, host.window);
    ProgressBarRecord* record = RecordOfBar(host, p);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(2, GetPropValue(p, kPropNumber));
    const auto before = vostrel::dll::CountObjects();
    DestroyWindow(p);
    EXPECT_TRUE(g_last.seen);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc), g_last.procedure);
    EXPECT_EQ(0, g_last.properties);
    EXPECT_EQ(nullptr, record->Handle);
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    const uint64_t dcs = WindowDcsTaken();
    DrawProgressBar(host.number, 2);
    EXPECT_EQ(dcs, WindowDcsTaken());
    // The other bar keeps its place and its skin.
    EXPECT_EQ(1, GetPropValue(keep, kPropNumber));
    EXPECT_TRUE(DrawProgressBarControl(keep));
}

}  // namespace
