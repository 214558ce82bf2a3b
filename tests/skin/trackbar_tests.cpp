// The trackbar skin: what the installer reads from the style, where the
// channel, the thumb, the theme line and the selection land for each
// orientation and tick placement (by pixels, against the rectangles the
// system reports), ranges with a non-zero or negative minimum and empty
// ranges, the hover protocol, the balance of every GDI and GDI+ object over
// many paints, and the teardown of the subclassing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/trackbar.h"
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

class TrackbarTest : public ControlSkinTest {
protected:
    TrackbarTest() : ControlSkinTest(0) {}
    void SetUp() override {
        ControlSkinTest::SetUp();
        // Without the frame the control's background is the window's own
        // colour, so every mark the skin draws stands out from it.
        TrackbarFrames = 0;
    }

    // A trackbar of the host, skinned, with the range and position given.
    HWND Trackbar(ControlHost& host, DWORD style, int width, int height, int low = 0,
                  int high = 100, int position = 50) {
        HWND t = host.Child(TRACKBAR_CLASSA, style, "", 10, 10, width, height);
        SendMessageA(t, TBM_SETRANGEMIN, FALSE, low);
        SendMessageA(t, TBM_SETRANGEMAX, FALSE, high);
        SendMessageA(t, TBM_SETPOS, TRUE, position);
        return t;
    }
};

TrackbarRecord* RecordOfTrackbar(const ControlHost& host, HWND control) {
    return host.record->Trackbars.Get<TrackbarRecord>(
        static_cast<int>(GetPropValue(control, kPropNumber)));
}

// One skinned paint of the control into a canvas of its window size.
std::unique_ptr<DibCanvas> Paint(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    auto canvas = std::make_unique<DibCanvas>(r.right - r.left, r.bottom - r.top);
    canvas->Fill(0xFF00FF);
    EXPECT_TRUE(DrawTrackbarControl(control, canvas->dc()));
    GdiFlush();
    return canvas;
}

void Save(const DibCanvas& canvas, const std::string& name) {
    vostrel::test::SavePng(canvas, vostrel::test::ArtifactDir() + "/" + name + ".png");
}

int R(uint32_t p) { return (p >> 16) & 0xFF; }
int G(uint32_t p) { return (p >> 8) & 0xFF; }
int B(uint32_t p) { return p & 0xFF; }

// The thumb and the selection are white marks on the dark window colour.
bool IsWhiteMark(uint32_t p) { return std::min({R(p), G(p), B(p)}) > 0x60; }
// The theme line: pure red blended over the window colour.
bool IsThemeLine(uint32_t p) { return R(p) - std::max(G(p), B(p)) > 0x60; }
// The channel: the window colour darkened by a translucent black.
bool IsChannel(uint32_t p) {
    return p != kBackPixel && R(p) <= 0x10 && G(p) <= 0x20 && B(p) <= 0x30 && B(p) < 0x30 - 3;
}

// The centre of the white pixels inside a window of the canvas (the thumb).
struct Centre {
    double x = -1, y = -1;
    int count = 0;
};
Centre WhiteCentre(const DibCanvas& c, int left, int top, int right, int bottom) {
    Centre centre;
    double sx = 0, sy = 0;
    for (int y = std::max(0, top); y < std::min(c.height(), bottom); ++y)
        for (int x = std::max(0, left); x < std::min(c.width(), right); ++x)
            if (IsWhiteMark(c.Pixel(x, y))) {
                // GDI+ puts pixel centres on whole coordinates.
                sx += x;
                sy += y;
                ++centre.count;
            }
    if (centre.count) {
        centre.x = sx / centre.count;
        centre.y = sy / centre.count;
    }
    return centre;
}

struct Geometry {
    RECT channel{}, thumb{};
    // The channel as it lies in the window: along-axis start and length,
    // cross-axis start and thickness.
    int alongStart = 0, alongLength = 0, crossTop = 0, thickness = 0;
    // The skin's bar on it: 4 pixels thick in the middle of a channel that
    // shows a selection range, else the channel itself.
    double barCross = 0, barSize = 0;
};

// Where the system puts the channel and the thumb. The system's trackbar
// reports a vertical channel as if it lay horizontally; Wine reports it as it
// lies (taller than wide). Either way the test takes it as it lies.
Geometry Read(HWND t, bool vertical, bool selection) {
    Geometry g;
    SendMessageA(t, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&g.channel));
    SendMessageA(t, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&g.thumb));
    RECT ch = g.channel;
    const bool reportedUpright = ch.bottom - ch.top > ch.right - ch.left;
    if (vertical && !reportedUpright) ch = RECT{ch.top, ch.left, ch.bottom, ch.right};
    if (vertical) {
        g.alongStart = ch.top;
        g.alongLength = ch.bottom - ch.top;
        g.crossTop = ch.left;
        g.thickness = ch.right - ch.left;
    } else {
        g.alongStart = ch.left;
        g.alongLength = ch.right - ch.left;
        g.crossTop = ch.top;
        g.thickness = ch.bottom - ch.top;
    }
    g.barCross = selection ? g.crossTop + (g.thickness - 4) / 2.0 : g.crossTop;
    g.barSize = selection ? 4 : g.thickness;
    return g;
}

// Pixel at (along, cross) of a trackbar of either orientation.
uint32_t At(const DibCanvas& c, bool vertical, int along, int cross) {
    return vertical ? c.Pixel(cross, along) : c.Pixel(along, cross);
}

// ---------------------------------------------------------------------------
// Installation.

struct StyleCase {
    DWORD style;
    int vertical, ticks, selection;
};

TEST_F(TrackbarTest, InstallerReadsOrientationTicksAndSelectionFromTheStyle) {
    const StyleCase rows[] = {
        {0, 0, kTicksBottomOrRight, 0},
        {TBS_TOP, 0, kTicksTopOrLeft, 0},
        {TBS_BOTH, 0, kTicksBoth, 0},
        {TBS_NOTICKS, 0, kTicksNone, 0},
        // No ticks wins over a side; a side wins over both.
        {TBS_NOTICKS | TBS_TOP | TBS_BOTH, 0, kTicksNone, 0},
        {TBS_TOP | TBS_BOTH, 0, kTicksTopOrLeft, 0},
        {TBS_ENABLESELRANGE, 0, kTicksBottomOrRight, 1},
        {TBS_VERT, 1, kTicksBottomOrRight, 0},
        {TBS_VERT | TBS_LEFT, 1, kTicksTopOrLeft, 0},
        {TBS_VERT | TBS_BOTH | TBS_ENABLESELRANGE, 1, kTicksBoth, 1},
    };
    ControlHost host;
    std::vector<HWND> bars;
    for (const StyleCase& row : rows) bars.push_back(host.Child(TRACKBAR_CLASSA, row.style, ""));
    HWND other = host.Child("STATIC", SS_LEFT, "");
    SkinChildControls(host.number, host.window);
    // The first trackbar fills the empty slot, the others follow in order.
    ASSERT_EQ(static_cast<int>(std::size(rows)), host.record->Trackbars.Count());
    for (size_t i = 0; i < bars.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << rows[i].style);
        TrackbarRecord* t = RecordOfTrackbar(host, bars[i]);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ(bars[i], t->Handle);
        EXPECT_EQ(static_cast<INT_PTR>(i + 1), GetPropValue(bars[i], kPropNumber));
        EXPECT_EQ(host.number, GetPropValue(bars[i], kPropOwnerNumber));
        EXPECT_EQ(reinterpret_cast<INT_PTR>(t->PreviousProc),
                  GetPropValue(bars[i], kPropPreviousProc));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(TrackbarProc), GetWindowLongPtrA(bars[i], GWLP_WNDPROC));
        EXPECT_EQ(rows[i].vertical, t->Vertical);
        EXPECT_EQ(rows[i].ticks, t->TickPlacement);
        EXPECT_EQ(rows[i].selection, t->SelectionRange);
        EXPECT_EQ(0, t->Hover);
    }
    EXPECT_EQ(0, GetPropValue(other, kPropNumber));
    // A second walk takes nothing again: the trackbar still answers through
    // its own procedure instead of calling itself.
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(static_cast<int>(std::size(rows)), host.record->Trackbars.Count());
    EXPECT_NE(reinterpret_cast<INT_PTR>(TrackbarProc), GetPropValue(bars[0], kPropPreviousProc));
    SendMessageA(bars[0], TBM_SETPOS, TRUE, 7);
    EXPECT_EQ(7, SendMessageA(bars[0], TBM_GETPOS, 0, 0));
}

TEST_F(TrackbarTest, SkinControlsOffTakesNoTrackbar) {
    SkinControls = 0;
    ControlHost host;
    HWND t = host.Child(TRACKBAR_CLASSA, 0, "");
    const LONG_PTR own = GetWindowLongPtrA(t, GWLP_WNDPROC);
    InstallTrackbars(host.number, host.window);
    EXPECT_EQ(own, GetWindowLongPtrA(t, GWLP_WNDPROC));
    EXPECT_EQ(0, GetPropValue(t, kPropNumber));
}

TEST_F(TrackbarTest, OutOfRangeNumbersAndHandlesDrawNothing) {
    ControlHost host;
    HWND t = host.Child(TRACKBAR_CLASSA, 0, "");
    InstallTrackbars(host.number, host.window);
    const auto before = vostrel::dll::CountObjects();
    DrawTrackbar(host.number, 0);
    DrawTrackbar(host.number, 2);
    DrawTrackbar(host.number, -1);
    DrawTrackbar(0, 1);
    DrawTrackbar(host.number + 1, 1);
    EXPECT_FALSE(DrawTrackbarControl(nullptr));
    EXPECT_FALSE(DrawTrackbarControl(host.window));
    InstallTrackbars(0, host.window);
    InstallTrackbars(host.number + 1, host.window);
    InstallTrackbars(host.number, nullptr);
    EXPECT_EQ(1, GetPropValue(t, kPropNumber));
    const auto after = vostrel::dll::CountObjects();
    EXPECT_EQ(before.created[vostrel::dll::kWindowDc], after.created[vostrel::dll::kWindowDc]);
    EXPECT_EQ(before.created[vostrel::dll::kDc], after.created[vostrel::dll::kDc]);
}

// ---------------------------------------------------------------------------
// Channel, thumb and theme line, by pixels.

struct PlacementCase {
    const char* name;
    DWORD style;
    int crossAddition;  // added to the knob's cross-axis position
};

const PlacementCase kPlacements[] = {
    {"bottom_or_right", 0, 0},
    {"top_or_left", TBS_TOP, 2},
    {"both", TBS_BOTH, 1},
    {"none", TBS_NOTICKS, 0},
};

TEST_F(TrackbarTest, ChannelThumbAndThemeLineSitWhereTheSystemPutsThemForEachTickPlacement) {
    ControlHost host;
    host.Compose();
    for (const bool vertical : {false, true}) {
        for (const PlacementCase& row : kPlacements) {
            for (const bool hover : {false, true}) {
                const std::string name = std::string("trackbar_") +
                                         (vertical ? "vertical_" : "horizontal_") + row.name +
                                         (hover ? "_hover" : "");
                SCOPED_TRACE(name);
                const DWORD style = row.style | (vertical ? TBS_VERT : 0);
                HWND t = Trackbar(host, style, vertical ? 44 : 200, vertical ? 200 : 44, 0, 100, 50);
                InstallTrackbars(host.number, host.window);
                TrackbarRecord* record = RecordOfTrackbar(host, t);
                ASSERT_NE(nullptr, record);
                record->Hover = hover ? 1 : 0;
                const Geometry g = Read(t, vertical, false);
                SCOPED_TRACE(testing::Message()
                             << "channel " << g.channel.left << "," << g.channel.top << ","
                             << g.channel.right << "," << g.channel.bottom << " thumb "
                             << g.thumb.left << "," << g.thumb.top << "," << g.thumb.right << ","
                             << g.thumb.bottom);
                auto canvas = Paint(t);
                Save(*canvas, name);

                // The channel: darker than the window along its middle past
                // the thumb, the window's own colour two pixels outside it.
                const int past = g.alongStart + g.alongLength * 7 / 8;
                const int middle = static_cast<int>(g.barCross + g.barSize / 2);
                EXPECT_TRUE(IsChannel(At(*canvas, vertical, past, middle)))
                    << std::hex << At(*canvas, vertical, past, middle);
                const int outside = static_cast<int>(g.barCross + g.barSize) + 2;
                EXPECT_EQ(kBackPixel, At(*canvas, vertical, past, outside));
                EXPECT_EQ(kBackPixel, At(*canvas, vertical, past, static_cast<int>(g.barCross) - 2));

                // The thumb: an 11-pixel knob under the pointer, a 4-pixel
                // dot at rest, starting at the system thumb's leading edge.
                const double d = hover ? 11 : 4;
                const double cross = hover ? g.barCross - 4 + row.crossAddition : g.barCross - 0.5;
                const double along = vertical ? g.thumb.top : g.thumb.left;
                const double cx = vertical ? cross + d / 2 : along + d / 2;
                const double cy = vertical ? along + d / 2 : cross + d / 2;
                const Centre c = WhiteCentre(*canvas, static_cast<int>(cx) - 10,
                                             static_cast<int>(cy) - 10, static_cast<int>(cx) + 10,
                                             static_cast<int>(cy) + 10);
                ASSERT_GT(c.count, 0);
                EXPECT_NEAR(cx, c.x, 0.45);
                EXPECT_NEAR(cy, c.y, 0.45);
                EXPECT_GE(c.count, hover ? 60 : 4);
                EXPECT_LE(c.count, hover ? 121 : 16);

                // The theme line runs from the channel's start up to the
                // thumb, one pixel inside the channel, and not beyond it.
                const int lineCross = g.crossTop + 1;
                EXPECT_TRUE(IsThemeLine(At(*canvas, vertical, g.alongStart + 2, lineCross)))
                    << std::hex << At(*canvas, vertical, g.alongStart + 2, lineCross);
                const int thumbStart = static_cast<int>(along);
                EXPECT_TRUE(IsThemeLine(At(*canvas, vertical, thumbStart - 3, lineCross)));
                EXPECT_FALSE(IsThemeLine(At(*canvas, vertical, thumbStart + 14, lineCross)));
                DestroyWindow(t);
            }
        }
    }
}

TEST_F(TrackbarTest, AtTheEndTheDotMovesEightFurtherAndTheLineTenLonger) {
    ControlHost host;
    host.Compose();
    HWND t = Trackbar(host, 0, 200, 44, 0, 100, 100);
    InstallTrackbars(host.number, host.window);
    const Geometry g = Read(t, false, false);
    auto canvas = Paint(t);
    Save(*canvas, "trackbar_at_end");
    const Centre c = WhiteCentre(*canvas, g.thumb.left - 4, 0, canvas->width(), canvas->height());
    EXPECT_NEAR(g.thumb.left + 8 + 2, c.x, 0.45);
    // The line reaches under the dot: t.left - ch.left - 1 + 10 long.
    const int lineCross = g.crossTop + 1;
    EXPECT_TRUE(IsThemeLine(canvas->Pixel(g.thumb.left + 6, lineCross)))
        << std::hex << canvas->Pixel(g.thumb.left + 6, lineCross);
}

TEST_F(TrackbarTest, FrameSwitchDrawsTheRoundedFrameOrLeavesTheWindowColour) {
    ControlHost host;
    host.Compose();
    HWND t = Trackbar(host, 0, 200, 44);
    InstallTrackbars(host.number, host.window);
    const Geometry g = Read(t, false, false);
    for (const int frames : {0, 1}) {
        TrackbarFrames = frames;
        auto canvas = Paint(t);
        // Between the frame's edge and the channel.
        const uint32_t face = canvas->Pixel(100, 3);
        if (frames) {
            Save(*canvas, "trackbar_frame");
            EXPECT_GT(R(face), 0x60) << std::hex << face;
            EXPECT_EQ(kBackPixel, canvas->Pixel(0, 0));  // the rounded corner
        } else {
            EXPECT_EQ(kBackPixel, face);
        }
        EXPECT_TRUE(IsThemeLine(canvas->Pixel(g.alongStart + 2, g.crossTop + 1)));
    }
}

// ---------------------------------------------------------------------------
// The selection range: scaled by the span of the range and placed from its
// minimum, whatever the minimum; nothing when the range is empty.

struct SelectionCase {
    int low, high, start, end;
};

TEST_F(TrackbarTest, SelectionCoversItsShareOfTheChannelWhateverTheMinimum) {
    // Every row selects the middle half of its range.
    const SelectionCase rows[] = {
        {0, 200, 50, 150},
        {100, 300, 150, 250},   // a positive minimum
        {-200, 0, -150, -50},   // a maximum of 0
        {-100, 100, -50, 50},
    };
    ControlHost host;
    host.Compose();
    for (const bool vertical : {false, true}) {
        for (const SelectionCase& row : rows) {
            SCOPED_TRACE(testing::Message() << (vertical ? "vertical " : "horizontal ") << row.low
                                            << ".." << row.high);
            const DWORD style = TBS_ENABLESELRANGE | TBS_BOTH | (vertical ? TBS_VERT : 0);
            // The thumb at the minimum keeps the theme line off the bar.
            HWND t = Trackbar(host, style, vertical ? 44 : 240, vertical ? 240 : 44, row.low,
                              row.high, row.low);
            SendMessageA(t, TBM_SETSEL, FALSE, MAKELPARAM(0, 0));
            SendMessageA(t, TBM_SETSELSTART, FALSE, row.start);
            SendMessageA(t, TBM_SETSELEND, FALSE, row.end);
            ASSERT_EQ(row.start, SendMessageA(t, TBM_GETSELSTART, 0, 0));
            ASSERT_EQ(row.end, SendMessageA(t, TBM_GETSELEND, 0, 0));
            InstallTrackbars(host.number, host.window);
            const Geometry g = Read(t, vertical, true);
            auto canvas = Paint(t);
            if (row.low == 100) Save(*canvas, vertical ? "trackbar_selection_vertical" : "trackbar_selection");
            // The selection's line runs one pixel inside the bar.
            const int cross = static_cast<int>(std::floor(g.barCross + 1.5));
            const int start = g.alongStart + g.alongLength / 4 - 1;
            const int end = start + g.alongLength / 2;
            for (int along : {start + 2, (start + end) / 2, end - 2})
                EXPECT_TRUE(IsWhiteMark(At(*canvas, vertical, along, cross)))
                    << "at " << along << ": " << std::hex << At(*canvas, vertical, along, cross);
            for (int along : {start - 4, end + 4})
                EXPECT_FALSE(IsWhiteMark(At(*canvas, vertical, along, cross)))
                    << "at " << along << ": " << std::hex << At(*canvas, vertical, along, cross);
            DestroyWindow(t);
        }
    }
}

TEST_F(TrackbarTest, EmptyRangeDrawsNoSelectionAndDoesNotCrash) {
    ControlHost host;
    host.Compose();
    for (const int value : {0, 5}) {
        SCOPED_TRACE(value);
        HWND t = Trackbar(host, TBS_ENABLESELRANGE, 240, 44, value, value, value);
        SendMessageA(t, TBM_SETSEL, FALSE, MAKELPARAM(value, value));
        InstallTrackbars(host.number, host.window);
        TrackbarRecord* record = RecordOfTrackbar(host, t);
        ASSERT_NE(nullptr, record);
        const LRESULT low = SendMessageA(t, TBM_GETRANGEMIN, 0, 0);
        const LRESULT high = SendMessageA(t, TBM_GETRANGEMAX, 0, 0);
        EXPECT_EQ(low, high);
        const Geometry g = Read(t, false, true);
        for (const int hover : {0, 1}) {
            record->Hover = hover;
            auto canvas = Paint(t);
            // No white mark on the bar away from the thumb.
            const int cross = static_cast<int>(std::floor(g.barCross + 1.5));
            for (int along = g.thumb.right + 14; along < g.alongStart + g.alongLength; ++along)
                ASSERT_FALSE(IsWhiteMark(canvas->Pixel(along, cross)))
                    << "at " << along << ": " << std::hex << canvas->Pixel(along, cross);
        }
        SendMessageA(t, WM_PAINT, 0, 0);
        DestroyWindow(t);
    }
}

// ---------------------------------------------------------------------------
// Hover: family code 2, one repaint per entry of the pointer.

uint64_t WindowDcsTaken() {
    return vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc];
}

struct HoverStep {
    const char* what;
    int target;       // 0 or 1: which trackbar gets the message
    UINT message;     // WM_MOUSEMOVE or WM_MOUSELEAVE; 0: another family hovers
    int draws;        // window DCs taken by the message
    int hoverA, hoverB;
    int hotControl, hotFamily;
};

TEST_F(TrackbarTest, HoverRepaintsOncePerEntryWithFamilyCodeTwo) {
    const HoverStep steps[] = {
        {"enter A", 0, WM_MOUSEMOVE, 1, 1, 0, 1, kFamilyTrackbars},
        {"move in A", 0, WM_MOUSEMOVE, 0, 1, 0, 1, kFamilyTrackbars},
        {"move in A again", 0, WM_MOUSEMOVE, 0, 1, 0, 1, kFamilyTrackbars},
        {"leave A", 0, WM_MOUSELEAVE, 1, 0, 0, 0, kFamilyTrackbars},
        {"enter A again", 0, WM_MOUSEMOVE, 1, 1, 0, 1, kFamilyTrackbars},
        {"enter B", 1, WM_MOUSEMOVE, 1, 1, 1, 2, kFamilyTrackbars},
        {"move in B", 1, WM_MOUSEMOVE, 0, 1, 1, 2, kFamilyTrackbars},
        {"leave B", 1, WM_MOUSELEAVE, 1, 1, 0, 0, kFamilyTrackbars},
        {"leave A", 0, WM_MOUSELEAVE, 1, 0, 0, 0, kFamilyTrackbars},
        // A button at the same position was hovered last: the family differs.
        {"button 1 hot", 0, 0, 0, 0, 0, 1, kFamilyButtons},
        {"enter A after the button", 0, WM_MOUSEMOVE, 1, 1, 0, 1, kFamilyTrackbars},
    };
    ControlHost host;
    host.Compose();
    HWND bars[2] = {Trackbar(host, 0, 120, 30), Trackbar(host, TBS_VERT, 30, 120)};
    InstallTrackbars(host.number, host.window);
    TrackbarRecord* records[2] = {RecordOfTrackbar(host, bars[0]), RecordOfTrackbar(host, bars[1])};
    ASSERT_NE(nullptr, records[0]);
    ASSERT_NE(nullptr, records[1]);
    for (const HoverStep& step : steps) {
        SCOPED_TRACE(step.what);
        const uint64_t before = WindowDcsTaken();
        if (step.message) {
            SendMessageA(bars[step.target], step.message, 0, MAKELPARAM(5, 5));
        } else {
            host.record->HotControl = 1;
            host.record->HotFamily = kFamilyButtons;
        }
        EXPECT_EQ(static_cast<uint64_t>(step.draws), WindowDcsTaken() - before);
        EXPECT_EQ(step.hoverA, records[0]->Hover);
        EXPECT_EQ(step.hoverB, records[1]->Hover);
        EXPECT_EQ(step.hotControl, host.record->HotControl);
        EXPECT_EQ(step.hotFamily, host.record->HotFamily);
    }
}

TEST_F(TrackbarTest, MessagesTheSkinDrawsForAndTheirResults) {
    ControlHost host;
    host.Compose();
    HWND t = Trackbar(host, 0, 120, 30);
    InstallTrackbars(host.number, host.window);
    struct Row {
        UINT message;
        LRESULT result;  // -1: whatever the system answers
        int draws;
    };
    DibCanvas scratch(4, 4);
    const Row rows[] = {
        {WM_NCPAINT, 1, 1},
        {WM_ERASEBKGND, 1, 0},
        {WM_PAINT, -1, 1},
        {WM_MOVE, -1, 1},
        {TBM_GETPOS, 50, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << row.message);
        const auto before = vostrel::dll::CountObjects();
        const WPARAM w = row.message == WM_ERASEBKGND || row.message == WM_NCPAINT
                             ? reinterpret_cast<WPARAM>(row.message == WM_ERASEBKGND ? scratch.dc() : nullptr)
                             : 0;
        const LRESULT result = SendMessageA(t, row.message, w, 0);
        if (row.result >= 0) {
            EXPECT_EQ(row.result, result);
        }
        const auto after = vostrel::dll::CountObjects();
        EXPECT_EQ(static_cast<uint64_t>(row.draws),
                  after.created[vostrel::dll::kWindowDc] - before.created[vostrel::dll::kWindowDc]);
        EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    }
    EXPECT_EQ(TRANSPARENT, GetBkMode(scratch.dc()));
}

// The one shown window of these tests: the paint that the system asks for
// reaches the screen.
TEST_F(TrackbarTest, ShownTrackbarPaintsItsSkinOnTheScreen) {
    ControlHost host(WS_VISIBLE, 260, 80);
    host.Compose();
    HWND t = Trackbar(host, 0, 200, 44, 0, 100, 50);
    InstallTrackbars(host.number, host.window);
    InvalidateRect(t, nullptr, TRUE);
    UpdateWindow(host.window);
    UpdateWindow(t);
    FlushEvents(50);
    const Geometry g = Read(t, false, false);
    DibCanvas screen(200, 44);
    HDC dc = GetWindowDC(t);
    BitBlt(screen.dc(), 0, 0, 200, 44, dc, 0, 0, SRCCOPY);
    ReleaseDC(t, dc);
    GdiFlush();
    Save(screen, "trackbar_screen");
    EXPECT_TRUE(IsThemeLine(screen.Pixel(g.alongStart + 2, g.crossTop + 1)))
        << std::hex << screen.Pixel(g.alongStart + 2, g.crossTop + 1);
    EXPECT_EQ(kBackPixel, screen.Pixel(100, 2));
    // A new size repaints the whole control: the picture follows its edges.
    SetWindowPos(t, nullptr, 0, 0, 150, 44, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{}, dirty{};
    GetClientRect(t, &client);
    EXPECT_TRUE(GetUpdateRect(t, &dirty, FALSE));
    EXPECT_TRUE(EqualRect(&client, &dirty))
        << dirty.left << "," << dirty.top << "," << dirty.right << "," << dirty.bottom;
    ShowWindow(host.window, SW_HIDE);
}

// ---------------------------------------------------------------------------
// Nothing leaks; the subclassing goes with the control.

TEST_F(TrackbarTest, PaintHoverAndPositionSoakLeavesEveryBalanceUnchanged) {
    ControlHost host;
    host.Compose();
    // Small controls: the soak is about what each paint makes and frees.
    HWND bars[] = {Trackbar(host, TBS_ENABLESELRANGE, 60, 24),
                   Trackbar(host, TBS_VERT | TBS_BOTH, 24, 60)};
    InstallTrackbars(host.number, host.window);
    SendMessageA(bars[0], TBM_SETSEL, FALSE, MAKELPARAM(20, 70));
    auto round = [&](int i) {
        for (HWND t : bars) {
            SendMessageA(t, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            SendMessageA(t, TBM_SETPOS, TRUE, i % 101);
            SendMessageA(t, WM_PAINT, 0, 0);
            SendMessageA(t, WM_MOUSELEAVE, 0, 0);
            SendMessageA(t, WM_NCPAINT, 1, 0);
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

// What the control's previous procedure sees of it at its last message.
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

TEST_F(TrackbarTest, DestroyedTrackbarGetsItsProcedureBackAndLeavesItsRecordEmpty) {
    ControlHost host;
    host.Compose();
    HWND t = Trackbar(host, 0, 120, 30);
    g_last = {};
    g_system = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(t, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    InstallTrackbars(host.number, host.window);
    TrackbarRecord* record = RecordOfTrackbar(host, t);
    ASSERT_NE(nullptr, record);
    SendMessageA(t, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(1, host.record->HotControl);
    const auto before = vostrel::dll::CountObjects();
    DestroyWindow(t);
    EXPECT_TRUE(g_last.seen);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc), g_last.procedure);
    EXPECT_EQ(0, g_last.properties);
    // The record keeps its position but names no window; the hover state
    // no longer points at it.
    EXPECT_EQ(nullptr, record->Handle);
    EXPECT_EQ(0, host.record->HotControl);
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    DrawTrackbar(host.number, 1);  // nothing to draw, nothing taken
    // The next trackbar takes the emptied slot.
    HWND next = Trackbar(host, 0, 120, 30);
    InstallTrackbars(host.number, host.window);
    EXPECT_EQ(1, GetPropValue(next, kPropNumber));
    EXPECT_EQ(1, host.record->Trackbars.Count());
}

// The same subclassing on the 32-bit target: the pointer-sized previous
// procedure goes to the record, the property and back to the window.
TEST(TrackbarSubclassI686, PreviousProcedureRoundTrip) {
    vostrel::skin::test::EnsureGdiplus();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const int skinControls = SkinControls;
    SkinControls = 1;
    {
        ControlHost host;
        HWND t = host.Child(TRACKBAR_CLASSA, TBS_VERT | TBS_ENABLESELRANGE, "", 10, 10, 30, 120);
        const LONG_PTR original = GetWindowLongPtrA(t, GWLP_WNDPROC);
        g_last = {};
        g_system = reinterpret_cast<WNDPROC>(original);
        SetWindowLongPtrA(t, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
        InstallTrackbars(host.number, host.window);
        TrackbarRecord* record = RecordOfTrackbar(host, t);
        ASSERT_NE(nullptr, record);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc),
                  reinterpret_cast<LONG_PTR>(record->PreviousProc));
        EXPECT_EQ(reinterpret_cast<INT_PTR>(RecordingProc), GetPropValue(t, kPropPreviousProc));
        SendMessageA(t, TBM_SETRANGE, TRUE, MAKELPARAM(0, 40));
        SendMessageA(t, TBM_SETPOS, TRUE, 40);
        EXPECT_EQ(40, SendMessageA(t, TBM_GETPOS, 0, 0));
        DestroyWindow(t);
        EXPECT_TRUE(g_last.seen);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc), g_last.procedure);
    }
    SkinControls = skinControls;
}

}  // namespace
