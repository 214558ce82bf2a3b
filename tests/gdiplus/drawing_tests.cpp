// Real drawing through the wrappers, checked by pixels of a DIB.
#include "gdip_test_util.h"

namespace vostrel::gdiptest {
namespace {

using test::ColourNear;
using test::DibCanvas;

constexpr uint32_t kWhite = 0xFFFFFF;

// A white canvas with a graphics on its DC; the graphics goes first.
class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        canvas_.Fill(kWhite);
        ASSERT_TRUE(g_.CreateFromHDC(canvas_.dc()));
    }
    // Flushes GDI+ drawing into the DIB before pixels are read.
    uint32_t Pixel(int x, int y) {
        g_.Flush(gp::FlushIntentionSync);
        return canvas_.Pixel(x, y);
    }
    void TearDown() override {
        EXPECT_TRUE(g_.Delete());
        EXPECT_EQ("", check_.Changes());
    }

    LeakCheck check_;
    DibCanvas canvas_{64, 64};
    GdipGraphics g_;
};

class DrawingI686 : public Canvas {};
class Drawing : public Canvas {};

TEST_F(DrawingI686, SolidFillIsExact) {
    GdipSolidBrush brush;
    ASSERT_TRUE(brush.Create(0xFF3366CC));
    ASSERT_TRUE(g_.FillRectangle(brush, 8, 8, 16, 16));
    EXPECT_EQ(0x3366CCu, Pixel(8, 8));
    EXPECT_EQ(0x3366CCu, Pixel(23, 23));
    EXPECT_EQ(kWhite, Pixel(24, 24));
    EXPECT_EQ(kWhite, Pixel(7, 8));
}

TEST_F(Drawing, LinearGradientRunsFromColourToColour) {
    GdipLinearGradientBrush brush;
    ASSERT_TRUE(brush.Create(gp::PointF(0, 0), gp::PointF(64, 0), 0xFFFF0000, 0xFF0000FF));
    ASSERT_TRUE(g_.FillRectangle(brush, 0, 0, 64, 16));
    EXPECT_TRUE(ColourNear(0xFF0000, Pixel(0, 8), 12));
    EXPECT_TRUE(ColourNear(0x0000FF, Pixel(63, 8), 12));
    EXPECT_TRUE(ColourNear(0x800080, Pixel(32, 8), 24));

    // A preset blend puts green in the middle.
    ASSERT_TRUE(brush.SetPresetBlend({0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0, 0.5f, 1}));
    ASSERT_TRUE(g_.FillRectangle(brush, 0, 16, 64, 16));
    EXPECT_TRUE(ColourNear(0x00FF00, Pixel(32, 24), 24));
    EXPECT_TRUE(ColourNear(0xFF0000, Pixel(0, 24), 12));
    EXPECT_TRUE(ColourNear(0x0000FF, Pixel(63, 24), 12));
}

TEST_F(Drawing, PathGradientShadesFromCentreToOutline) {
    GdipPath path;
    ASSERT_TRUE(path.Create());
    ASSERT_TRUE(path.AddEllipse(0, 0, 64, 64));
    GdipPathGradientBrush brush;
    ASSERT_TRUE(brush.CreateFromPath(path));
    ASSERT_TRUE(brush.SetCenterColor(0xFFFFFF00));
    ASSERT_TRUE(brush.SetSurroundColors({0xFF000080}));
    ASSERT_TRUE(g_.FillPath(brush, path));
    EXPECT_TRUE(ColourNear(0xFFFF00, Pixel(32, 32), 24));
    const uint32_t edge = Pixel(32, 2);
    EXPECT_LT((edge >> 16) & 0xFF, 0x50u);  // mostly the dark blue surround
    EXPECT_EQ(kWhite, Pixel(0, 0));          // outside the ellipse
}

TEST_F(Drawing, PathOfArcsAndLinesIsFilledInsideItsOutline) {
    GdipPath path;
    ASSERT_TRUE(path.Create());
    ASSERT_TRUE(path.AddArc(4, 4, 16, 16, 180, 90));
    ASSERT_TRUE(path.AddLine(12, 4, 52, 4));
    ASSERT_TRUE(path.AddArc(44, 4, 16, 16, 270, 90));
    ASSERT_TRUE(path.AddLine(60, 12, 60, 60));
    ASSERT_TRUE(path.AddLine(60, 60, 4, 60));
    ASSERT_TRUE(path.CloseFigure());
    GdipSolidBrush brush;
    ASSERT_TRUE(brush.Create(0xFF008000));
    ASSERT_TRUE(g_.FillPath(brush, path));
    EXPECT_EQ(0x008000u, Pixel(32, 32));
    EXPECT_EQ(0x008000u, Pixel(58, 58));  // square corner
    EXPECT_EQ(kWhite, Pixel(5, 5));       // cut by the arc
    EXPECT_EQ(kWhite, Pixel(58, 5));
    EXPECT_EQ(kWhite, Pixel(62, 32));
}

TEST_F(Drawing, PensStrokeLinesAndOutlines) {
    GdipPen pen;
    ASSERT_TRUE(pen.Create(0xFFC00000, 3));
    ASSERT_TRUE(g_.DrawLine(pen, 4, 10.5f, 60, 10.5f));
    EXPECT_EQ(0xC00000u, Pixel(30, 10));
    EXPECT_EQ(kWhite, Pixel(30, 14));
    ASSERT_TRUE(pen.SetWidth(1));
    ASSERT_TRUE(g_.DrawRectangle(pen, 20, 30, 20, 20));
    EXPECT_TRUE(ColourNear(0xC00000, Pixel(30, 30), 40));
    EXPECT_EQ(kWhite, Pixel(30, 40));  // a rectangle outline, not a fill
    GdipPath path;
    ASSERT_TRUE(path.Create());
    ASSERT_TRUE(path.AddRoundRectangle(2, 52, 60, 10, 50));
    ASSERT_TRUE(g_.SetSmoothingMode(gp::SmoothingModeAntiAlias));
    ASSERT_TRUE(g_.DrawPath(pen, path));
    EXPECT_GT(CountDifferent(canvas_, kWhite, 8, 0, 51, 64, 64), 40);
}

TEST_F(Drawing, ChineseTextDrawsGlyphs) {
    GdipFont font;
    ASSERT_TRUE(font.CreateFromName("宋体", 20, gp::FontStyleRegular, gp::UnitPixel));
    GdipSolidBrush black;
    ASSERT_TRUE(black.Create(0xFF000000));
    GdipStringFormat none;  // an empty format wrapper: GDI+'s default format
    ASSERT_TRUE(g_.DrawString("汉字", font, black, gp::RectF(0, 0, 64, 32), &none));
    const int inked = CountDifferent(canvas_, kWhite, 64, 0, 0, 64, 32);
    EXPECT_GT(inked, 30);
    EXPECT_EQ(0, CountDifferent(canvas_, kWhite, 0, 0, 40, 64, 64));
    gp::RectF bounds;
    ASSERT_TRUE(g_.MeasureString("汉字", font, gp::RectF(0, 0, 200, 50), nullptr, bounds));
    EXPECT_GT(bounds.Width, 30);
    EXPECT_GT(bounds.Height, 15);
}

TEST_F(Drawing, ClipPathLimitsFillsUntilReset) {
    GdipPath circle;
    ASSERT_TRUE(circle.Create());
    ASSERT_TRUE(circle.AddEllipse(16, 16, 32, 32));
    ASSERT_TRUE(g_.SetClipPath(circle));
    GdipSolidBrush brush;
    ASSERT_TRUE(brush.Create(0xFF000000));
    ASSERT_TRUE(g_.FillRectangle(brush, 0, 0, 64, 64));
    EXPECT_EQ(0u, Pixel(32, 32));
    EXPECT_EQ(kWhite, Pixel(17, 17));
    EXPECT_EQ(kWhite, Pixel(2, 2));
    // A clip rectangle without a mode replaces the path.
    ASSERT_TRUE(g_.SetClipRect(0, 0, 8, 8));
    ASSERT_TRUE(brush.SetColor(0xFF0000FF));
    ASSERT_TRUE(g_.FillRectangle(brush, 0, 0, 64, 64));
    EXPECT_EQ(0x0000FFu, Pixel(2, 2));
    EXPECT_EQ(0u, Pixel(32, 32));
    ASSERT_TRUE(g_.ResetClip());
    EXPECT_FALSE(g_.IsClipEmpty());
    ASSERT_TRUE(brush.SetColor(0xFF00FF00));
    ASSERT_TRUE(g_.FillRectangle(brush, 0, 0, 64, 64));
    EXPECT_EQ(0x00FF00u, Pixel(60, 60));
}

TEST_F(Drawing, ImageIsScaledIntoTheDestination) {
    GdipBitmap image;
    ASSERT_TRUE(image.Create(2, 2));
    ASSERT_TRUE(image.SetPixel(0, 0, 0xFFFF0000));
    ASSERT_TRUE(image.SetPixel(1, 0, 0xFF00FF00));
    ASSERT_TRUE(image.SetPixel(0, 1, 0xFF0000FF));
    ASSERT_TRUE(image.SetPixel(1, 1, 0xFF000000));
    ASSERT_TRUE(g_.SetInterpolationMode(gp::InterpolationModeNearestNeighbor));
    ASSERT_TRUE(g_.SetPixelOffsetMode(gp::PixelOffsetModeHalf));
    ASSERT_TRUE(g_.DrawImageRectRect(image, 0, 0, 64, 64));
    EXPECT_EQ(0xFF0000u, Pixel(10, 10));
    EXPECT_EQ(0x00FF00u, Pixel(50, 10));
    EXPECT_EQ(0x0000FFu, Pixel(10, 50));
    EXPECT_EQ(0x000000u, Pixel(50, 50));
}

// A bitmap drawn on, turned into a GDI bitmap and read back by GDI.
TEST(BitmapPixels, HBitmapCarriesThePixels) {
    LeakCheck check;
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(20, 10));
    {
        GdipGraphics g;
        ASSERT_TRUE(g.CreateFromImage(bitmap));
        ASSERT_TRUE(g.Clear(0xFF204060));
        GdipSolidBrush brush;
        ASSERT_TRUE(brush.Create(0xFFFFFF00));
        ASSERT_TRUE(g.FillRectangle(brush, 10, 0, 10, 10));
    }
    EXPECT_EQ(0xFF204060u, bitmap.GetPixel(0, 0));
    EXPECT_EQ(0xFFFFFF00u, bitmap.GetPixel(15, 5));

    HBITMAP hbitmap = bitmap.GetHBITMAP(0xFF000000);
    ASSERT_NE(nullptr, hbitmap);
    BITMAP info{};
    ASSERT_TRUE(dll::GetObjectA(hbitmap, sizeof info, &info));
    EXPECT_EQ(20, info.bmWidth);
    EXPECT_EQ(10, info.bmHeight);
    HDC dc = dll::CreateCompatibleDC(nullptr);
    HGDIOBJ old = dll::SelectObject(dc, hbitmap);
    EXPECT_EQ(RGB(0x20, 0x40, 0x60), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0x00), GetPixel(dc, 15, 5));
    dll::SelectObject(dc, old);
    EXPECT_TRUE(dll::DeleteDC(dc));
    EXPECT_TRUE(dll::DeleteObject(hbitmap));

    // Back again: a bitmap made from the GDI bitmap has the same pixels.
    HICON icon = bitmap.GetHICON();
    ASSERT_NE(nullptr, icon);
    GdipBitmap fromIcon;
    EXPECT_TRUE(fromIcon.CreateFromHICON(icon));
    EXPECT_EQ(20u, fromIcon.GetWidth());
    EXPECT_TRUE(dll::DestroyIcon(icon));
    EXPECT_TRUE(fromIcon.Dispose());
    EXPECT_TRUE(bitmap.Dispose());
    EXPECT_EQ("", check.Changes());
}

TEST(BitmapPixels, RotateFlipMovesPixels) {
    struct Case {
        gp::RotateFlipType type;
        UINT width, height;
        INT x, y;  // where the marked top-left pixel of a 3x2 bitmap goes
    } const cases[] = {
        {gp::RotateNoneFlipNone, 3, 2, 0, 0},
        {gp::Rotate90FlipNone, 2, 3, 1, 0},
        {gp::Rotate180FlipNone, 3, 2, 2, 1},
        {gp::Rotate270FlipNone, 2, 3, 0, 2},
        {gp::RotateNoneFlipX, 3, 2, 2, 0},
        {gp::RotateNoneFlipY, 3, 2, 0, 1},
    };
    for (const Case& c : cases) {
        GdipBitmap bitmap;
        ASSERT_TRUE(bitmap.Create(3, 2));
        for (INT y = 0; y < 2; ++y)
            for (INT x = 0; x < 3; ++x) ASSERT_TRUE(bitmap.SetPixel(x, y, 0xFFFFFFFF));
        ASSERT_TRUE(bitmap.SetPixel(0, 0, 0xFFFF0000));
        ASSERT_TRUE(bitmap.RotateFlip(c.type)) << c.type;
        EXPECT_EQ(c.width, bitmap.GetWidth()) << c.type;
        EXPECT_EQ(c.height, bitmap.GetHeight()) << c.type;
        EXPECT_EQ(0xFFFF0000u, bitmap.GetPixel(c.x, c.y)) << c.type;
    }
}

TEST(BitmapPixels, RotateToBitmapDrawsIntoTheRotatedBounds) {
    LeakCheck check;
    GdipBitmap source;
    ASSERT_TRUE(source.Create(40, 10));
    {
        GdipGraphics g;
        ASSERT_TRUE(g.CreateFromImage(source));
        ASSERT_TRUE(g.Clear(0xFF0000FF));
    }
    GdipBitmap rotated;
    ASSERT_TRUE(source.RotateToBitmap(90, rotated, 0xFFFFFFFF));
    float w = 0, h = 0;
    GdipBitmap::RotatedBoundsSize(40, 10, 90, w, h);
    EXPECT_EQ(static_cast<UINT>(w), rotated.GetWidth());
    EXPECT_EQ(static_cast<UINT>(h), rotated.GetHeight());
    // Upright now: blue down the middle.
    EXPECT_TRUE(ColourNear(0x0000FF, Rgb(rotated.GetPixel(rotated.GetWidth() / 2, rotated.GetHeight() / 2)), 8));
    EXPECT_TRUE(rotated.Dispose());
    EXPECT_TRUE(source.Dispose());
    EXPECT_EQ("", check.Changes());
}

}  // namespace
}  // namespace vostrel::gdiptest
