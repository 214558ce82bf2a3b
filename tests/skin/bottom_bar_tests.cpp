// The bottom bar: item layout when set and after a resize, text changes, and
// the inverse text colour.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "skin/core/window_skin.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel;
using namespace vostrel::skin;
using vostrel::skin::test::GlobalSettingsGuard;
using vostrel::skin::test::SkinnedWindow;
using vostrel::skin::test::SkinnedWindowOptions;
using vostrel::skin::test::TestSkin;

namespace {

BarItem Item(int width, const char* text = "", COLORREF colour = 0) {
    BarItem item;
    item.WidthSpec = width;
    item.Text = text;
    item.Colour = colour;
    return item;
}

void ExpectRects(const WindowRecord& r, std::initializer_list<IntRect> expected) {
    ASSERT_EQ(static_cast<int>(expected.size()), r.BarItemRects.Count());
    int i = 1;
    for (const IntRect& e : expected) {
        const IntRect& got = *r.BarItemRects.At(i);
        EXPECT_EQ(e.x, got.x) << "item " << i;
        EXPECT_EQ(e.y, got.y) << "item " << i;
        EXPECT_EQ(e.width, got.width) << "item " << i;
        EXPECT_EQ(e.height, got.height) << "item " << i;
        ++i;
    }
}

TEST(BottomBar, ItemsAreLaidOutLeftToRight) {
    SkinnedWindow w({600, 400, 30, 0});
    TestSkin().SetBottomBar(w.number, 24, {Item(100), Item(-1), Item(80)});
    const IntRect& bar = w.record->BarRect;
    EXPECT_EQ(3, bar.x);
    EXPECT_EQ(372, bar.y);
    EXPECT_EQ(594, bar.width);
    EXPECT_EQ(24, bar.height);
    // The item after the stretching one starts beyond the client area.
    ExpectRects(*w.record, {{3, 372, 100, 24}, {103, 372, 494, 24}, {597, 372, 80, 24}});

    // Resized to 800 wide: only the stretching item changes width.
    SetWindowPos(w.window, nullptr, 0, 0, 800, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TestSkin().LayoutBottomBar(w.number);
    EXPECT_EQ(794, w.record->BarRect.width);
    ExpectRects(*w.record, {{3, 372, 100, 24}, {103, 372, 694, 24}, {797, 372, 80, 24}});
}

TEST(BottomBar, NoItemsMeansOneItemOverTheWholeBar) {
    SkinnedWindow w({600, 400, 30, 0});
    TestSkin().SetBottomBar(w.number, 24);
    ASSERT_EQ(1, w.record->BarItems.Count());
    EXPECT_EQ(-1, w.record->BarItems.At(1)->WidthSpec);
    ExpectRects(*w.record, {{3, 372, 594, 24}});
    // A bar given later keeps the empty font until a style names one.
    EXPECT_TRUE(w.record->BarFontName.empty());
    EXPECT_EQ(1, TestSkin().SetBottomBarStyle(w.window, 0, std::nullopt, std::nullopt,
                                              std::nullopt, std::string("宋体"), 12));
    EXPECT_EQ("宋体", w.record->BarFontName);
    EXPECT_EQ(0xFFFFFFu, w.record->BarGlowColour);
}

TEST(BottomBar, TextChangesOnlyInRange) {
    SkinnedWindow w({600, 400, 30, 0});
    TestSkin().SetBottomBar(w.number, 24, {Item(100, "a"), Item(-1, "b")});
    TestSkin().ComposeWindow(w.number, nullptr, false);
    struct Case {
        int item;
        int result;
    };
    for (const Case& c : {Case{0, 0}, Case{-1, 0}, Case{3, 0}, Case{2, 1}})
        EXPECT_EQ(c.result, TestSkin().SetBottomBarText(w.window, c.item, "new")) << c.item;
    EXPECT_EQ("a", w.record->BarItems.At(1)->Text);
    EXPECT_EQ("new", w.record->BarItems.At(2)->Text);
    HWND loose = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(0, TestSkin().SetBottomBarText(loose, 1, "x"));
    EXPECT_EQ(0, TestSkin().SetBottomBarStyle(loose, 1, 1, 0, 0, std::nullopt, std::nullopt));
    DestroyWindow(loose);
}

// With the inverse-text switch the text takes the inverse of the global back
// colour: white over black, whatever the item's own colour.
TEST(BottomBar, InverseTextOfBlackBackgroundIsWhite) {
    GlobalSettingsGuard guard;
    GlobalBackgroundImage.clear();
    GlobalBackColour = 0x000000;
    SkinnedWindow w({300, 200, 30, 0});
    TestSkin().SetBottomBar(w.number, 24, {Item(-1, "WWWW", RGB(255, 0, 0))});
    TestSkin().SetBottomBarStyle(w.window, 1, 0, std::nullopt, std::nullopt, std::string("宋体"),
                                 12);
    TestSkin().ComposeWindow(w.number, nullptr, false);
    const auto image = w.Image();
    const IntRect r = *w.record->BarItemRects.At(1);
    int white = 0, red = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + 60; ++x) {
            const uint32_t p = image->Pixel(x, y);
            white += ((p >> 16) & 0xFF) > 180 && ((p >> 8) & 0xFF) > 180 && (p & 0xFF) > 180;
            red += ((p >> 16) & 0xFF) > 200 && (p & 0xFF) < 80;
        }
    EXPECT_GT(white, 10);
    EXPECT_EQ(0, red);
    vostrel::test::SavePng(*image, vostrel::test::ArtifactDir() + "/skin_bottom_bar.png");
    // The panel itself is a faint white over the black back colour.
    const uint32_t panel = image->Pixel(r.x + r.width - 5, r.y + 2);
    EXPECT_GT(panel & 0xFF, 20u);
    EXPECT_LT(panel & 0xFF, 90u);
}

TEST(BottomBar, GlowTextDrawsAHaloAroundDarkText) {
    GlobalSettingsGuard guard;
    GlobalBackgroundImage.clear();
    GlobalBackColour = 0x000000;
    for (int glow : {0, 1}) {
        SkinnedWindow w({300, 200, 30, 0});
        TestSkin().SetBottomBar(w.number, 30, {Item(-1, "WWWW", RGB(0, 0, 0))});
        TestSkin().SetBottomBarStyle(w.window, 0, glow, RGB(0, 0, 0), RGB(255, 255, 255),
                                     std::string("宋体"), 12);
        TestSkin().ComposeWindow(w.number, nullptr, false);
        const auto image = w.Image();
        const IntRect r = *w.record->BarItemRects.At(1);
        // Black text over a faint panel on black: only a white halo makes
        // bright pixels.
        int bright = 0;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + 80; ++x) bright += ((image->Pixel(x, y) >> 8) & 0xFF) > 150;
        if (glow)
            EXPECT_GT(bright, 5);
        else
            EXPECT_EQ(0, bright);
    }
}

}  // namespace
