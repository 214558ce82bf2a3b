// Caption-button layout, hit testing, and what a press on the frame starts.
#include <gtest/gtest.h>
#include <windows.h>

#include "skin/core/caption.h"
#include "skin/core/window_skin.h"
#include "skinned_window.h"

using namespace vostrel::skin;
using vostrel::skin::test::SkinnedWindow;
using vostrel::skin::test::TestSkin;

namespace {

struct ButtonPlace {
    float x, width;
};

void ExpectButtons(const WindowRecord& r, std::initializer_list<ButtonPlace> expected) {
    ASSERT_EQ(static_cast<int>(expected.size()), r.CaptionButtons.Count());
    int i = 1;
    for (const ButtonPlace& p : expected) {
        const CaptionButton& b = *r.CaptionButtons.At(i);
        EXPECT_EQ(p.x, b.Rect.x) << "button " << i;
        EXPECT_EQ(p.width, b.Rect.width) << "button " << i;
        EXPECT_EQ(1.0f, b.Rect.y) << "button " << i;
        EXPECT_EQ(18.0f, b.Rect.height) << "button " << i;
        ++i;
    }
}

TEST(CaptionLayout, MinimiseMaximiseCloseOn600Wide) {
    SkinnedWindow w;
    EXPECT_EQ(95, w.record->StripWidth);
    EXPECT_EQ(506, w.record->StripLeft);
    EXPECT_EQ(22, w.record->StripHeight);
    ExpectButtons(*w.record, {{508, 26}, {535, 26}, {562, 40}});
    const RECT strip = TestSkin().GetCaptionStripRect(w.window);
    EXPECT_EQ(506, strip.left);
    EXPECT_EQ(601, strip.right);
    EXPECT_EQ(22, strip.bottom);
    EXPECT_EQ(2, TestSkin().FindMaximiseButton(w.number));
}

TEST(CaptionLayout, AddedButtonBecomesLeftmost) {
    SkinnedWindow w;
    const auto picture = vostrel::skin::test::Picture(SkinImage::CaptionHelp);
    EXPECT_EQ(1, TestSkin().AddCaptionButton(w.window, picture, "Settings", nullptr));
    EXPECT_EQ(122, w.record->StripWidth);
    EXPECT_EQ(479, w.record->StripLeft);
    ExpectButtons(*w.record, {{481, 26}, {508, 26}, {535, 26}, {562, 40}});
    EXPECT_EQ(kCaptionApplication, w.record->CaptionButtons.At(1)->Kind);
    EXPECT_EQ(3, TestSkin().FindMaximiseButton(w.number));
    // A window without a record takes no button.
    HWND loose = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(0, TestSkin().AddCaptionButton(loose, picture, "x", nullptr));
    DestroyWindow(loose);
}

TEST(CaptionLayout, MainWindowStripOfMinimiseAndClose) {
    SkinnedWindow w({1104, 504, 30, 1, 0, 1, {kCaptionMinimise, kCaptionClose}});
    EXPECT_EQ(68, w.record->StripWidth);
    EXPECT_EQ(1104 - 67, w.record->StripLeft);
    EXPECT_EQ(0, TestSkin().FindMaximiseButton(w.number));
}

TEST(CaptionLayout, ButtonAtExcludesEdges) {
    SkinnedWindow w;  // buttons at 508 (26), 535 (26), 562 (40); y 1..19
    struct Case {
        int x, y, button;
    };
    const Case cases[] = {
        {508, 10, 0},  // on the first button's left edge
        {509, 10, 1},  // one pixel inside
        {533, 10, 1},  {534, 10, 0},  // right edge 534 excluded
        {536, 10, 2},  {563, 10, 3},  {601, 10, 3},  {602, 10, 0},
        {520, 1, 0},   {520, 2, 1},   {520, 18, 1},  {520, 19, 0},
        {505, 10, 0},  // left of the strip
        {520, 23, 0},  // below the strip
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.button, TestSkin().CaptionButtonAt(w.number, c.x, c.y)) << c.x << "," << c.y;
    EXPECT_EQ(0, TestSkin().CaptionButtonAt(0, 520, 10));
}

// The decision behind PressOnFrame and SetFrameCursor (the real press would
// start a modal move or size loop).
TEST(FramePressRules, SizingAndDragging) {
    SkinnedWindow sizable;
    SkinnedWindow fixed({600, 400, 30, 1, 0});
    SkinnedWindow bare({600, 400, 30, 0, 1});
    const int W = 600, H = 400, B = 3;
    struct Case {
        const WindowRecord* record;
        int x, y;
        FramePress action;
        WPARAM command;
        const char* what;
    };
    const Case cases[] = {
        {sizable.record, 2, 100, FramePress::Size, 0xF001, "left band"},
        {sizable.record, 5, 100, FramePress::None, 0, "inside, below the caption"},
        {sizable.record, 597, 100, FramePress::Size, 0xF002, "right band"},
        {sizable.record, 300, 2, FramePress::Size, 0xF003, "top band in the caption"},
        {sizable.record, 300, 398, FramePress::Size, 0xF006, "bottom band"},
        {sizable.record, 2, 2, FramePress::Size, 0xF004, "top-left corner"},
        {sizable.record, 595, 5, FramePress::None, 0, "top-right corner inside the strip"},
        {sizable.record, 598, 2, FramePress::Size, 0xF005, "top-right corner above the strip"},
        {sizable.record, 5, 395, FramePress::Size, 0xF007, "bottom-left corner"},
        {sizable.record, 595, 395, FramePress::Size, 0xF008, "bottom-right corner"},
        {sizable.record, 2, 15, FramePress::Size, 0xF001, "left band from y 11 in the caption"},
        {sizable.record, 100, 15, FramePress::Drag, 0, "caption band"},
        {sizable.record, 520, 10, FramePress::None, 0, "button strip"},
        {fixed.record, 300, 2, FramePress::Drag, 0, "fixed: top band drags"},
        {fixed.record, 2, 2, FramePress::Drag, 0, "fixed: top corner drags"},
        {fixed.record, 2, 100, FramePress::Size, 0xF001, "fixed: left band below the caption"},
        {fixed.record, 300, 398, FramePress::Size, 0xF006, "fixed: bottom band"},
        {fixed.record, 5, 395, FramePress::Size, 0xF007, "fixed: bottom corner"},
        {bare.record, 2, 100, FramePress::None, 0, "no caption"},
    };
    for (const Case& c : cases) {
        const FramePressDecision d = DecideFramePress(*c.record, c.x, c.y, W, H, B);
        EXPECT_EQ(c.action, d.Action) << c.what;
        EXPECT_EQ(c.command, d.Rule.Command) << c.what;
    }
    // The cursor rules alone: a corner square wins only after the side bands.
    EXPECT_EQ(IDC_SIZEWE, FindSizingRule(0, 11, W, H, B).Cursor);
    EXPECT_EQ(IDC_SIZENWSE, FindSizingRule(0, 10, W, H, B).Cursor);
    EXPECT_EQ(IDC_SIZENESW, FindSizingRule(W, 0, W, H, B).Cursor);
    EXPECT_FALSE(FindSizingRule(W / 2, H / 2, W, H, B));
}

}  // namespace
