// The background picture and theme colour, and the composition of a skinned
// window's image: colour sampling, edge fades, every drawing mode, the frame,
// title and caption buttons in their looks, checked by pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

#include "gdiplus/gdip.h"
#include "skin/core/compose.h"
#include "skin/core/primitives.h"
#include "skin/core/skin_images.h"
#include "skin/core/window_skin.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel;
using namespace vostrel::skin;
using vostrel::skin::test::GlobalSettingsGuard;
using vostrel::skin::test::MakePng;
using vostrel::skin::test::SkinnedWindow;
using vostrel::skin::test::SkinnedWindowOptions;
using vostrel::skin::test::TestSkin;
using vostrel::test::ColourNear;
using vostrel::test::DibCanvas;

namespace {

int Red(uint32_t rgb) { return (rgb >> 16) & 0xFF; }
int Green(uint32_t rgb) { return (rgb >> 8) & 0xFF; }
int Blue(uint32_t rgb) { return rgb & 0xFF; }

// ---- Sampling and fading --------------------------------------------------------

TEST(BackgroundPicture, AverageOfSolidPicture) {
    const Bytes solid = MakePng(40, 30, [](int, int) { return 0xFF0A141Eu; });  // RGB(10, 20, 30)
    EXPECT_EQ(0xFF1E140Au, SampleAverageColour({}, solid, 2000));
    // A picture that does not decode counts every sample as black.
    const Bytes corrupt = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    EXPECT_EQ(0xFF000000u, SampleAverageColour({}, corrupt, 2000));
    EXPECT_EQ(0xFF000000u, SampleAverageColour({}, {}, 2000));
}

// A white 100 x 40 picture faded into black: F = 30, so the bottom fade starts
// at row 10 and the left-aligned (right-edge) fade at column 71.
TEST(BackgroundPicture, FadeDepthComesFromTheWidth) {
    const Bytes white = MakePng(100, 40, [](int, int) { return 0xFFFFFFFFu; });
    for (bool rightAligned : {false, true}) {
        const Bytes faded = FadeImageEdges({}, white, 0x000000, rightAligned);
        ASSERT_FALSE(faded.empty());
        GdipBitmap b;
        ASSERT_TRUE(b.CreateFromBytes(faded));
        ASSERT_EQ(100u, b.GetWidth());
        ASSERT_EQ(40u, b.GetHeight());
        const int clearX = rightAligned ? 60 : 20;  // away from the side fade
        for (int y = 0; y <= 10; ++y)
            EXPECT_EQ(0xFFFFFFFFu, b.GetPixel(clearX, y)) << "row " << y;
        // Darker and darker below row 10, nearly the back colour at the end.
        int previous = 256;
        for (int y = 12; y < 40; y += 4) {
            const int level = Red(b.GetPixel(clearX, y));
            EXPECT_LT(level, previous) << "row " << y;
            previous = level;
        }
        EXPECT_LT(Red(b.GetPixel(clearX, 39)), 24);
        // The side fade: the far edge is the back colour, the near side clean.
        const int edgeX = rightAligned ? 0 : 99, innerX = rightAligned ? 40 : 59;
        EXPECT_LT(Red(b.GetPixel(edgeX, 5)), 24) << rightAligned;
        EXPECT_EQ(0xFFFFFFFFu, b.GetPixel(innerX, 5)) << rightAligned;
    }
    EXPECT_TRUE(FadeImageEdges({}, {'x', 'y'}, 0, false).empty());
}

// ---- Drawing modes ------------------------------------------------------------------

class Modes : public ::testing::Test {
protected:
    GlobalSettingsGuard guard_;
};

// A 300 x 100 picture, red on its left half and blue on its right half, so a
// mirrored tile shows blue at its left.
Bytes HalfAndHalf() {
    return MakePng(300, 100, [](int x, int) { return x < 150 ? 0xFFFF0000u : 0xFF0000FFu; });
}

TEST_F(Modes, TileMirrorsEverySecondTile) {
    GlobalBackgroundImage = HalfAndHalf();
    GlobalDrawMode = 4;
    GlobalBackColour = RGB(0, 128, 0);
    SkinnedWindow w({800, 300, 30, 0});
    TestSkin().ComposeWindow(w.number, nullptr, false);
    const auto image = w.Image();
    struct Case {
        int x;
        uint32_t rgb;
    };
    const Case cases[] = {
        {10, 0xFF0000},  {290, 0x0000FF},  // tile at 0, normal
        {310, 0x0000FF}, {590, 0xFF0000},  // tile at 300, mirrored
        {610, 0xFF0000}, {790, 0x0000FF},  // tile at 600, normal
    };
    for (const Case& c : cases)
        EXPECT_TRUE(ColourNear(c.rgb, image->Pixel(c.x, 50), 8))
            << "x " << c.x << ": " << std::hex << image->Pixel(c.x, 50);
    // Below the picture's height the back colour shows.
    EXPECT_TRUE(ColourNear(0x008000, image->Pixel(400, 200), 4));
}

// A picture that does not decode has no width: the tiling must not loop
// forever; no bitmap is made and the back colour shows.
TEST_F(Modes, TileOfUndecodablePictureShowsBackColour) {
    GlobalBackgroundImage = {0xFF, 0xD8, 0xFF, 0xE0, 'b', 'r', 'o', 'k', 'e', 'n'};
    GlobalDrawMode = 4;
    GlobalBackColour = RGB(30, 60, 90);
    SkinnedWindow w({200, 100, 30, 0});
    EXPECT_EQ(nullptr, LoadBackgroundBitmap(w.number, 200));
    const auto start = std::chrono::steady_clock::now();
    TestSkin().ComposeWindow(w.number, nullptr, false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(ColourNear(0x1E3C5A, w.Image()->Pixel(100, 50), 2));
}

TEST_F(Modes, StretchFillsTheClientWithRoundedCorners) {
    GlobalBackgroundImage = LoadSkinImage(SkinImage::Background);
    ASSERT_FALSE(GlobalBackgroundImage.empty());
    GlobalDrawMode = 3;
    GlobalBackColour = RGB(255, 255, 0);
    SkinnedWindow w({400, 250, 30, 0});
    TestSkin().ComposeWindow(w.number, nullptr, false);
    const auto image = w.Image();

    GdipBitmap picture;
    ASSERT_TRUE(picture.CreateFromBytes(GlobalBackgroundImage));
    ASSERT_EQ(850u, picture.GetWidth());
    ASSERT_EQ(531u, picture.GetHeight());
    // The centre and a point near the bottom-right of the client show the
    // picture's matching points (the picture is smooth, so scaling keeps them).
    struct Case {
        int x, y;
    };
    for (const Case& c : {Case{200, 125}, Case{380, 230}, Case{20, 20}}) {
        const uint32_t expected = picture.GetPixel(c.x * 850 / 400, c.y * 531 / 250) & 0xFFFFFF;
        EXPECT_TRUE(ColourNear(expected, image->Pixel(c.x, c.y), 12))
            << c.x << "," << c.y << ": " << std::hex << expected << " vs " << image->Pixel(c.x, c.y);
    }
    // The corner outside the rounded rectangle stays magenta (cut away by the
    // window region), the back colour never shows.
    EXPECT_EQ(0xFF00FFu, image->Pixel(0, 0));
    EXPECT_EQ(0xFF00FFu, image->Pixel(399, 249));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(w.window, region));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 10, 10));
    EXPECT_TRUE(PtInRegion(region, 399, 125));
    DeleteObject(region);
}

// Natural size at the top left (0 and 4), the top right (1), centred (2).
TEST_F(Modes, NaturalSizePlacements) {
    GlobalBackgroundImage = MakePng(60, 40, [](int, int) { return 0xFFFF0000u; });
    GlobalBackColour = RGB(0, 0, 255);
    struct Case {
        int mode;
        int redX, redY, blueX, blueY;
    };
    const Case cases[] = {
        {0, 10, 10, 100, 80},    // top left
        {1, 190, 10, 10, 10},    // top right: (140, 0) .. (200, 40)
        {4, 10, 10, 100, 80},    // tiled from the top left, natural height
        {2, 100, 80, 20, 80},    // centred: (70, 60) .. (130, 100)
        {5, -1, -1, 100, 80},    // other modes draw nothing
    };
    for (const Case& c : cases) {
        GlobalDrawMode = c.mode;
        SkinnedWindow w({200, 160, 30, 0});
        TestSkin().ComposeWindow(w.number, nullptr, false);
        const auto image = w.Image();
        if (c.redX >= 0) {
            EXPECT_EQ(0xFF0000u, image->Pixel(c.redX, c.redY)) << c.mode;
        }
        EXPECT_EQ(0x0000FFu, image->Pixel(c.blueX, c.blueY)) << c.mode;
    }
}

TEST_F(Modes, SetBackgroundWithOnlyAColourRemovesThePicture) {
    GlobalBackgroundImage = HalfAndHalf();
    GlobalDrawMode = 3;
    TestSkin().SetBackground({}, {}, RGB(1, 2, 3), std::nullopt, std::nullopt);
    EXPECT_TRUE(GlobalBackgroundImage.empty());
    EXPECT_EQ(RGB(1, 2, 3), GlobalBackColour);
    EXPECT_EQ(3, GlobalDrawMode);  // kept
    EXPECT_EQ(0xDDCA22u, ThemeColour);  // no theme given: the default

    // A visible window is composed at once: a plain rounded rectangle.
    SkinnedWindow w({200, 100, 30, 0});
    ShowWindow(w.window, SW_SHOWNA);
    TestSkin().SetBackground({}, {}, RGB(200, 10, 10), RGB(0, 0, 255), std::nullopt);
    EXPECT_EQ(0xFF0000u, ThemeColour);
    EXPECT_EQ(0xC80A0Au, w.Image()->Pixel(100, 50));
    EXPECT_EQ(0xFF00FFu, w.Image()->Pixel(0, 0));
    ShowWindow(w.window, SW_HIDE);
}

TEST_F(Modes, SetBackgroundDerivesThemeFromPicture) {
    const Bytes solid = MakePng(30, 30, [](int, int) { return 0xFF0A141Eu; });
    TestSkin().SetBackground({}, solid, std::nullopt, kThemeFromPicture, std::nullopt);
    EXPECT_EQ(0xFF1E140Au, GlobalBackColour);
    EXPECT_EQ(GlobalBackColour, ThemeColour);
    EXPECT_EQ(4, GlobalDrawMode);  // no mode: tiled
    EXPECT_EQ(solid, GlobalBackgroundImage);  // bytes kept as they are

    // Nothing given: only the theme colour goes back to its default.
    TestSkin().SetBackground({}, {}, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(0xDDCA22u, ThemeColour);
    EXPECT_EQ(solid, GlobalBackgroundImage);
}

TEST_F(Modes, WindowPictureWithoutModeKeepsTheWindowsMode) {
    SkinnedWindow w({200, 100, 30, 0});
    w.record->DrawMode = 1;
    const Bytes white = MakePng(100, 40, [](int, int) { return 0xFFFFFFFFu; });
    EXPECT_EQ(1, TestSkin().SetWindowBackground(w.window, white));
    EXPECT_EQ(1, w.record->DrawMode);
    EXPECT_EQ(1, w.record->Recompose);
    EXPECT_EQ(0xFFFFFFFFu, w.record->BackColour);
    // Faded on its left edge: the picture's first column is the back colour.
    GdipBitmap b;
    ASSERT_TRUE(b.CreateFromBytes(w.record->BackgroundImage));
    EXPECT_EQ(0xFFFFFFFFu, b.GetPixel(0, 5));  // white faded into white
    EXPECT_EQ(0, TestSkin().SetWindowBackground(w.window, {}));
    HWND loose = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(0, TestSkin().SetWindowBackground(loose, white));
    DestroyWindow(loose);
}

// ---- The composed main-window image -----------------------------------------------

class Composition : public ::testing::Test {
protected:
    void SetUp() override {
        guard_.UseProgramIcon();
        GlobalBackgroundImage = LoadSkinImage(SkinImage::Background);
        GlobalDrawMode = 3;
        GlobalBackColour = 0;
        ThemeColour = 0xFF0000;  // blue
        w_ = std::make_unique<SkinnedWindow>(
            SkinnedWindowOptions{1104, 504, 30, 1, 1, 1,
                                 {kCaptionMinimise, kCaptionMaximise, kCaptionClose}});
        TestSkin().ComposeWindow(w_->number, nullptr, false);
    }
    void TearDown() override { w_.reset(); }

    const CaptionButton& Button(int k) const { return *w_->record->CaptionButtons.At(k); }
    // The rectangle a hover may change: the button with the restored margin.
    RECT HoverArea(int k) const {
        const int x = static_cast<int>(Button(k).Rect.x - 1);
        return RECT{x - 1, 1, x + Button(k).Width + 2, 1 + 18 + 1};
    }

    // Every pixel that differs between two images lies inside `area`.
    static void ExpectChangesOnlyInside(const DibCanvas& a, const DibCanvas& b, const RECT& area) {
        int outside = 0, inside = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                if (a.Pixel(x, y) == b.Pixel(x, y)) continue;
                const POINT p{x, y};
                (PtInRect(&area, p) ? inside : outside)++;
            }
        EXPECT_EQ(0, outside);
        EXPECT_GT(inside, 0);
    }

    GlobalSettingsGuard guard_;
    std::unique_ptr<SkinnedWindow> w_;
};

TEST_F(Composition, FrameOutlinesAndTitle) {
    const auto image = w_->Image();
    // Outer outline: black at alpha 180 over the picture; inner: white.
    const uint32_t outer = image->Pixel(552, 0), inner = image->Pixel(552, 1);
    const uint32_t inside = image->Pixel(552, 40);
    EXPECT_LT(Red(outer) + Green(outer) + Blue(outer), Red(inside) + Green(inside) + Blue(inside))
        << std::hex << outer;
    EXPECT_GT(Red(inner) + Green(inner) + Blue(inner), 3 * 150) << std::hex << inner;
    const uint32_t left = image->Pixel(0, 250), leftInner = image->Pixel(1, 250);
    EXPECT_LT(Red(left) + Green(left) + Blue(left), 3 * 60) << std::hex << left;
    EXPECT_GT(Red(leftInner), 150) << std::hex << leftInner;
    // Outside the rounded corner: magenta.
    EXPECT_EQ(0xFF00FFu, image->Pixel(0, 0));

    // The title: white strokes with a grey halo, inside the title rectangle
    // (b + 26, b + 5, tw, 32) only.
    const int b = 3;
    int white = 0, grey = 0;
    for (int y = b + 4; y < b + 5 + 20; ++y)
        for (int x = b + 25; x < b + 26 + 150; ++x) {
            const uint32_t p = image->Pixel(x, y);
            if (Red(p) > 240 && Green(p) > 240 && Blue(p) > 240) ++white;
            else if (std::abs(Red(p) - Green(p)) < 25 && std::abs(Green(p) - Blue(p)) < 40 &&
                     Red(p) > 70 && Red(p) < 200)
                ++grey;
        }
    EXPECT_GT(white, 40);
    EXPECT_GT(grey, 20);
    // The icon at (b + 6, b + 2), 17 x 17: not the picture there.
    GdipBitmap picture;
    ASSERT_TRUE(picture.CreateFromBytes(GlobalBackgroundImage));
    int iconPixels = 0;
    for (int y = b + 4; y < b + 17; ++y)
        for (int x = b + 8; x < b + 21; ++x)
            iconPixels += Blue(image->Pixel(x, y)) > 150 && Red(image->Pixel(x, y)) < 80;
    EXPECT_GT(iconPixels, 10);
}

TEST_F(Composition, HoveredButtonGlowsOnlyInItsOwnArea) {
    struct Case {
        int button;
        bool close;
    };
    for (const Case& c : {Case{1, false}, Case{3, true}}) {
        TestSkin().ComposeWindow(w_->number, nullptr, false);
        const auto before = w_->Image();
        TestSkin().DrawCaptionButton(w_->number, c.button, nullptr, false, false, 255);
        const auto after = w_->Image();
        ExpectChangesOnlyInside(*before, *after, HoverArea(c.button));
        // Near the top of the button the glow's colour dominates: blue (the
        // theme) for ordinary buttons, red for the close button.
        const int x = static_cast<int>(Button(c.button).Rect.x) + 2, y = 3;
        const uint32_t was = before->Pixel(x, y), now = after->Pixel(x, y);
        if (c.close) {
            EXPECT_GT(Red(now), Red(was) + 60) << std::hex << was << " -> " << now;
            EXPECT_GT(Red(now), Blue(now)) << std::hex << now;
        } else {
            EXPECT_GT(Blue(now), Red(now) + 60) << std::hex << now;
            EXPECT_GE(Blue(now), Blue(was)) << std::hex << was << " -> " << now;
        }
    }
}

TEST_F(Composition, PressedButtonDarkensOnlyItself) {
    const auto before = w_->Image();
    TestSkin().DrawCaptionButton(w_->number, 1, nullptr, false, true, 0);
    const auto after = w_->Image();
    const CaptionButton& b = Button(1);
    const int x = static_cast<int>(b.Rect.x - 1);
    ExpectChangesOnlyInside(*before, *after, RECT{x, 1, x + b.Width, 1 + 18});
    const uint32_t was = before->Pixel(x + 3, 3), now = after->Pixel(x + 3, 3);
    EXPECT_LT(Red(now) + Green(now) + Blue(now), Red(was) + Green(was) + Blue(was))
        << std::hex << was << " -> " << now;
    // The close button pressed turns red.
    TestSkin().ComposeWindow(w_->number, nullptr, false);
    TestSkin().DrawCaptionButton(w_->number, 3, nullptr, false, true, 0);
    const uint32_t close = w_->Image()->Pixel(static_cast<int>(Button(3).Rect.x) + 1, 3);
    EXPECT_GT(Red(close), 200) << std::hex << close;
    EXPECT_LT(Blue(close), 100) << std::hex << close;
}

TEST_F(Composition, MaximisedWindowShowsTheRestorePicture) {
    const auto normal = w_->Image();
    w_->record->Maximized = 1;
    TestSkin().DrawCaptionButton(w_->number, 2, nullptr, false, false, 0);
    const auto restore = w_->Image();
    const CaptionButton& b = Button(2);
    const int x = static_cast<int>(b.Rect.x - 1);
    int differ = 0;
    for (int y = 1; y < 19; ++y)
        for (int xx = x; xx < x + b.Width; ++xx) differ += normal->Pixel(xx, y) != restore->Pixel(xx, y);
    EXPECT_GT(differ, 10);
}

TEST_F(Composition, RepaintsLeakNothing) {
    const auto before = dll::CountObjects();
    for (int alpha : {0, 120, 255}) TestSkin().DrawCaptionButton(w_->number, 1, nullptr, false, false, alpha);
    TestSkin().DrawCaptionButton(w_->number, 3, nullptr, false, true, 0);
    TestSkin().DrawTitle(w_->number, nullptr, false, std::string("Title"));
    TestSkin().SetTitleStyle(w_->window, std::string("宋体"), 14, RGB(255, 255, 0), std::nullopt,
                             0);
    TestSkin().PresentWindow(w_->number, nullptr);
    EXPECT_EQ("", dll::ObjectChangesSince(before));
    EXPECT_EQ(0, BackdropDcCount());
}

TEST_F(Composition, OutOfRangeNumbersDoNothing) {
    const auto before = w_->Image();
    for (int n : {0, -1, w_->number + 1}) {
        TestSkin().ComposeWindow(n, nullptr, true);
        TestSkin().DrawCaptionButton(n, 1, nullptr, false, true, 0);
        TestSkin().DrawTitle(n, nullptr, false);
        TestSkin().LayoutCaptionButtons(n);
        TestSkin().PresentWindow(n, nullptr);
    }
    for (int k : {0, -1, 4}) {
        TestSkin().DrawCaptionButton(w_->number, k, nullptr, false, true, 0);
        TestSkin().DrawCaptionButton(w_->number, k, nullptr, false, false, 200);
    }
    const auto after = w_->Image();
    for (int y = 0; y < 504; y += 7)
        for (int x = 0; x < 1104; x += 7) ASSERT_EQ(before->Pixel(x, y), after->Pixel(x, y));
}

// The one composition that also runs in the 32-bit build: the main window's
// image with the program's own pictures, saved as a screenshot.
TEST(ComposeI686, MainWindowImage) {
    GlobalSettingsGuard guard;
    guard.UseProgramIcon();
    GlobalBackgroundImage = LoadSkinImage(SkinImage::Background);
    GlobalDrawMode = 3;
    GlobalBackColour = 0;
    ThemeColour = 0xFF0000;
    vostrel::skin::test::EnsureGdiplus();
    const auto objects = dll::CountObjects();
    {
        SkinnedWindow w({1104, 504, 30, 1, 0, 1, {kCaptionMinimise, kCaptionClose}});
        TestSkin().ComposeWindow(w.number, nullptr, false);
        TestSkin().DrawCaptionButton(w.number, 1, nullptr, false, false, 200);
        auto image = w.Image();
        EXPECT_EQ(0xFF00FFu, image->Pixel(0, 0));
        EXPECT_NE(0xFF00FFu, image->Pixel(552, 252));
        const std::string path = vostrel::test::ArtifactDir() + "/skin_main_window.png";
        EXPECT_TRUE(vostrel::test::SavePng(*image, path)) << path;
    }
    // Forgetting the window released its DCs and bitmaps; the drawing made
    // and deleted everything else on the way.
    EXPECT_EQ("", dll::ObjectChangesSince(objects));
}

}  // namespace
