// The wrapper classes: life cycle, empty wrappers, counts next to arrays and
// the operations with rules of their own.
#include "gdip_test_util.h"

#include <cmath>
#include <functional>

namespace vostrel::gdiptest {
namespace {

using dll::Row;

// Create, use, clone and delete each class; whatever happens, every object
// made is released again.
TEST(WrapperLifecycle, CreateUseCloneDeleteLeavesNothing) {
    struct Case {
        const char* name;
        std::function<void()> run;
    } const cases[] = {
        {"path", [] {
             GdipPath a, b;
             ASSERT_TRUE(a.Create());
             ASSERT_TRUE(a.AddRectangle(0, 0, 10, 5));
             EXPECT_EQ(4, a.GetPointCount());
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Delete());
             EXPECT_FALSE(a.Delete());
             EXPECT_EQ(4, b.GetPointCount());
         }},
        {"pen", [] {
             GdipPen a, b;
             ASSERT_TRUE(a.Create(0xFF102030, 3));
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Delete());
             EXPECT_EQ(0xFF102030u, b.GetColor());
             EXPECT_FLOAT_EQ(3, b.GetWidth());
             GdipSolidBrush fill;
             EXPECT_TRUE(b.GetBrushFill(fill));  // a new brush, owned by `fill`
             EXPECT_EQ(gp::BrushTypeSolidColor, fill.GetBrushType());
         }},
        {"solid brush", [] {
             GdipSolidBrush a, b;
             ASSERT_TRUE(a.Create(0xFF00FF00));
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Delete());
             EXPECT_EQ(0xFF00FF00u, b.GetColor());  // independent of the deleted one
             EXPECT_TRUE(b.SetColor(0x80000000));
             EXPECT_EQ(0x80000000u, b.GetColor());
         }},
        {"linear brush", [] {
             GdipLinearGradientBrush a, b;
             ASSERT_TRUE(a.Create(gp::PointF(0, 0), gp::PointF(10, 0), 0xFFFF0000, 0xFF0000FF));
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Delete());
             gp::ARGB c1 = 0, c2 = 0;
             EXPECT_TRUE(b.GetColors(c1, c2));
             EXPECT_EQ(0xFFFF0000u, c1);
             EXPECT_EQ(0xFF0000FFu, c2);
             EXPECT_EQ(gp::WrapModeTile, b.GetWrapMode());
         }},
        {"path gradient brush", [] {
             GdipPath path;
             ASSERT_TRUE(path.Create());
             ASSERT_TRUE(path.AddEllipse(0, 0, 20, 20));
             GdipPathGradientBrush a, b;
             ASSERT_TRUE(a.CreateFromPath(path));
             ASSERT_TRUE(a.SetCenterColor(0xFFFFFFFF));
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Delete());
             EXPECT_EQ(0xFFFFFFFFu, b.GetCenterColor());
             GdipPath outline;
             ASSERT_TRUE(outline.Create());
             // Fills the existing path. Wine's GDI+ does not implement this
             // getter (NotImplemented); on Windows the outline comes back.
             if (b.GetPath(outline)) EXPECT_GT(outline.GetPointCount(), 0);
             else EXPECT_EQ(gp::NotImplemented, GdipLastStatus);
         }},
        {"font and family", [] {
             GdipFont a, b;
             ASSERT_TRUE(a.CreateFromName("宋体", 12));
             ASSERT_TRUE(a.Clone(b));
             GdipFontFamily family, copy;
             ASSERT_TRUE(b.GetFamily(family));
             ASSERT_TRUE(family.Clone(copy));
             EXPECT_TRUE(a.Delete());
             EXPECT_FALSE(copy.GetFamilyName().empty());
             EXPECT_FLOAT_EQ(12, b.GetSize());
             // The families are released by their wrappers, Delete or not.
             EXPECT_TRUE(family.Delete());
         }},
        {"string format", [] {
             GdipStringFormat a, b;
             ASSERT_TRUE(a.Create());
             ASSERT_TRUE(a.SetAlignment(gp::StringAlignmentCenter));
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Delete());
             EXPECT_EQ(gp::StringAlignmentCenter, b.GetAlignment());
             GdipStringFormat generic;
             EXPECT_TRUE(generic.GenericTypographic());
         }},
        {"region", [] {
             GdipRegion a, b;
             ASSERT_TRUE(a.CreateFromRect(gp::RectF(0, 0, 10, 10)));
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Delete());
             EXPECT_TRUE(b.IsVisiblePoint(5, 5));
             EXPECT_FALSE(b.IsVisiblePoint(15, 5));
         }},
        {"bitmap", [] {
             GdipBitmap a, b;
             ASSERT_TRUE(a.Create(6, 4));
             ASSERT_TRUE(a.SetPixel(1, 1, 0xFF123456));
             ASSERT_TRUE(a.Clone(b));
             EXPECT_TRUE(a.Dispose());
             EXPECT_EQ(0xFF123456u, b.GetPixel(1, 1));
             GdipBitmap area;
             EXPECT_TRUE(b.CloneAreaI(gp::Rect(1, 1, 2, 2), PixelFormat32bppARGB, area));
             EXPECT_EQ(0xFF123456u, area.GetPixel(0, 0));
             GdipImage thumb;
             EXPECT_TRUE(b.GetThumbnail(3, 2, thumb));
             EXPECT_EQ(3u, thumb.GetWidth());
         }},
        {"graphics", [] {
             GdipBitmap bitmap;
             ASSERT_TRUE(bitmap.Create(8, 8));
             GdipGraphics g;
             ASSERT_TRUE(g.CreateFromImage(bitmap));
             EXPECT_TRUE(g.SetSmoothingMode(gp::SmoothingModeAntiAlias));
             EXPECT_EQ(gp::SmoothingModeAntiAlias, g.GetSmoothingMode());
             HDC dc = g.GetDC();
             EXPECT_NE(nullptr, dc);
             EXPECT_TRUE(g.ReleaseDC(dc));
             EXPECT_TRUE(g.Delete());
             EXPECT_FALSE(g.Delete());
         }},
        {"matrix and caps", [] {
             GdipMatrix m, copy;
             ASSERT_TRUE(m.Create(1, 0, 0, 1, 5, 6));
             ASSERT_TRUE(m.Clone(copy));
             EXPECT_TRUE(m.Delete());
             std::array<float, 6> e{};
             EXPECT_TRUE(copy.GetElements(e));
             EXPECT_FLOAT_EQ(5, e[4]);
             GdipCustomLineCap arrow, got;
             ASSERT_TRUE(arrow.CreateAdjustableArrow(4, 4));
             GdipPen pen;
             ASSERT_TRUE(pen.Create(0xFF000000, 1));
             EXPECT_TRUE(pen.SetCustomEndCap(arrow));
             EXPECT_TRUE(pen.GetCustomEndCap(got));
         }},
        {"font collection", [] {
             GdipFontCollection installed;
             ASSERT_TRUE(installed.CreateInstalled());
             const INT count = installed.GetFamilyCount();
             ASSERT_GT(count, 0);
             std::vector<GdipFontFamily> families;
             EXPECT_EQ(count, installed.GetFamilyList(count, families));
             ASSERT_EQ(static_cast<size_t>(count), families.size());
             EXPECT_FALSE(families[0].GetFamilyName().empty());
             EXPECT_TRUE(families[0].Delete());  // its own copy: the collection keeps its family
             std::vector<GdipFontFamily> again;
             EXPECT_EQ(count, installed.GetFamilyList(count, again));
             EXPECT_EQ(families.size(), again.size());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LeakCheck check;
        c.run();
        EXPECT_EQ("", check.Changes());
    }
}

TEST(WrapperLifecycle, DeleteOfAnEmptyWrapperMakesNoCall) {
    struct Case {
        const char* name;
        Row row;
        std::function<bool()> remove;
    } const cases[] = {
        {"path", Row::GdipDeletePath, [] { return GdipPath().Delete(); }},
        {"pen", Row::GdipDeletePen, [] { return GdipPen().Delete(); }},
        {"brush", Row::GdipDeleteBrush, [] { return GdipSolidBrush().Delete(); }},
        {"font", Row::GdipDeleteFont, [] { return GdipFont().Delete(); }},
        {"family", Row::GdipDeleteFontFamily, [] { return GdipFontFamily().Delete(); }},
        {"format", Row::GdipDeleteStringFormat, [] { return GdipStringFormat().Delete(); }},
        {"region", Row::GdipDeleteRegion, [] { return GdipRegion().Delete(); }},
        {"graphics", Row::GdipDeleteGraphics, [] { return GdipGraphics().Delete(); }},
        {"image", Row::GdipDisposeImage, [] { return GdipImage().Dispose(); }},
        {"bitmap", Row::GdipDisposeImage, [] { return GdipBitmap().Dispose(); }},
    };
    for (const Case& c : cases) {
        const uint64_t calls = dll::CallCount(c.row);
        EXPECT_FALSE(c.remove()) << c.name;
        EXPECT_EQ(calls, dll::CallCount(c.row)) << c.name;
    }
}

TEST(WrapperLifecycle, QueryOnAnEmptyWrapperIsZeroWithInvalidParameter) {
    struct Case {
        const char* name;
        std::function<double()> query;
    } const cases[] = {
        {"image width", [] { return GdipImage().GetWidth(); }},
        {"bitmap pixel", [] { return GdipBitmap().GetPixel(0, 0); }},
        {"path points", [] { return GdipPath().GetPointCount(); }},
        {"pen width", [] { return GdipPen().GetWidth(); }},
        {"brush colour", [] { return GdipSolidBrush().GetColor(); }},
        {"font size", [] { return GdipFont().GetSize(); }},
        {"format flags", [] { return GdipStringFormat().GetFormatFlags(); }},
        {"region data size", [] { return GdipRegion().GetDataSize(); }},
        {"graphics dpi", [] { return GdipGraphics().GetDpiX(); }},
        {"family name", [] { return static_cast<double>(GdipFontFamily().GetFamilyName().size()); }},
        {"raw format", [] { return static_cast<double>(GdipImage().GetRawFormat().size()); }},
        {"HBITMAP", [] { return static_cast<double>(reinterpret_cast<uintptr_t>(GdipBitmap().GetHBITMAP())); }},
    };
    for (const Case& c : cases) {
        GdipLastStatus = gp::Ok;
        EXPECT_EQ(0, c.query()) << c.name;
        EXPECT_EQ(gp::InvalidParameter, GdipLastStatus) << c.name;
    }
}

// Operations that read several values or allocate for GDI+ on an empty
// wrapper: false or 0, outputs untouched, no crash, nothing made.
TEST(WrapperLifecycle, CompoundOperationsOnEmptyWrappersFailCleanly) {
    LeakCheck check;
    GdipPath path;
    GdipPathData data;
    data.types = {1, 2, 3};
    EXPECT_FALSE(path.GetPathData(data));
    EXPECT_EQ(3u, data.types.size());
    GdipImage image;
    GdipPalette palette;
    EXPECT_FALSE(image.GetPalette(palette));
    std::vector<std::string> dims = {"x"};
    EXPECT_EQ(0u, image.GetFrameDimensions(dims));
    EXPECT_EQ(1u, dims.size());
    std::vector<PROPID> ids = {7};
    EXPECT_EQ(0u, image.GetPropertyIdList(ids));
    EXPECT_TRUE(image.SaveToBytes(kImageFormatPNG).empty());
    EXPECT_TRUE(image.SaveToBytes().empty());
    EncoderParameterSet set;
    EXPECT_FALSE(image.GetEncoderParameterList(kImageFormatJPEG, set));
    GdipBitmap bitmap, rotated;
    EXPECT_FALSE(bitmap.RotateToBitmap(30, rotated));
    EXPECT_TRUE(rotated.IsEmpty());
    GdipLinearGradientBrush brush;
    std::vector<float> factors = {0.5f}, positions = {0.5f};
    EXPECT_EQ(0, brush.GetBlend(factors, positions));
    EXPECT_EQ(1u, factors.size());
    GdipGraphics graphics;
    GdipFont font;
    GdipStringFormat format;
    std::vector<GdipRegion> regions;
    EXPECT_EQ(0, graphics.MeasureCharacterRanges("ab", font, gp::RectF(0, 0, 50, 20), format, 2, regions));
    EXPECT_TRUE(regions.empty());
    EXPECT_FALSE(graphics.DrawImageRectRect(bitmap, 0, 0, 10, 10));
    EXPECT_EQ("", check.Changes());
}

TEST(WrapperLifecycle, MovingTransfersOwnership) {
    LeakCheck check;
    GdipPath a;
    ASSERT_TRUE(a.Create());
    GdipPath b(std::move(a));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_FALSE(b.IsEmpty());
    GdipPath c;
    ASSERT_TRUE(c.Create());
    c = std::move(b);  // c's own path is released, b's taken over
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ("GpPath +1 (2 created, 1 deleted)", check.Changes());
    GdipBitmap image;
    ASSERT_TRUE(image.Create(2, 2));
    GdipBitmap moved = std::move(image);
    EXPECT_EQ(2u, moved.GetWidth());
    EXPECT_TRUE(c.Delete());
    EXPECT_TRUE(moved.Dispose());
    EXPECT_EQ("", check.Changes());
}

TEST(WrapperLifecycle, CreatingIntoAFullWrapperReleasesTheOldObject) {
    LeakCheck check;
    GdipPen pen;
    ASSERT_TRUE(pen.Create(0xFF000000, 1));
    ASSERT_TRUE(pen.Create(0xFFFFFFFF, 2));
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(4, 4));
    ASSERT_TRUE(bitmap.Create(5, 5));
    GdipBitmap target;
    ASSERT_TRUE(target.Create(1, 1));
    ASSERT_TRUE(bitmap.Clone(target));  // the clone target's old bitmap goes
    EXPECT_EQ(5u, target.GetWidth());
    EXPECT_EQ("GpImage +2 (4 created, 2 deleted); GpPen +1 (2 created, 1 deleted)", check.Changes());
}

// Counts next to arrays and buffers are checked against the data: a count
// larger than the data is InvalidParameter and GDI+ is not called.
TEST(CountsOnTrust, LargerCountsThanDataAreRefused) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(4, 4, PixelFormat8bppIndexed));
    GdipPath path;
    ASSERT_TRUE(path.Create());
    ASSERT_TRUE(path.AddEllipse(0, 0, 10, 10));
    GdipPathGradientBrush gradient;
    ASSERT_TRUE(gradient.Create({{0, 0}, {10, 0}, {10, 10}}));
    GdipLinearGradientBrush linear;
    ASSERT_TRUE(linear.Create(gp::PointF(0, 0), gp::PointF(10, 0), 0xFF000000, 0xFFFFFFFF));
    GdipGraphics graphics;
    GdipBitmap surface;
    ASSERT_TRUE(surface.Create(20, 20));
    ASSERT_TRUE(graphics.CreateFromImage(surface));
    GdipFont font;
    ASSERT_TRUE(font.CreateFromName("宋体", 10));
    GdipSolidBrush black;
    ASSERT_TRUE(black.Create(0xFF000000));

    struct Case {
        const char* name;
        Row row;
        std::function<bool()> call;
    } const cases[] = {
        {"palette count above entries", Row::GdipSetImagePalette,
         [&] {
             GdipPalette p;
             p.count = 256;
             p.entries = {0xFF000000, 0xFFFFFFFF};
             return bitmap.SetPalette(p);
         }},
        {"property length above value", Row::GdipSetPropertyItem,
         [&] {
             GdipPropertyItem item;
             item.id = 0x010E;
             item.type = 2;
             item.length = 64;
             item.value = {'h', 'i', 0};
             return bitmap.SetPropertyItem(item);
         }},
        {"encoder set count above parameters", Row::GdipSaveImageToStream,
         [&] {
             EncoderParameterSet set;
             set.Count = 3;
             set.Parameters.resize(1);
             set.Parameters[0] = {kEncoderQuality, 1, gp::EncoderParameterValueTypeLong, {90, 0, 0, 0}};
             return !surface.SaveToBytes(kImageFormatJPEG, &set).empty();
         }},
        {"encoder value shorter than its count", Row::GdipSaveImageToStream,
         [&] {
             EncoderParameterSet set;
             set.Count = 1;
             set.Parameters = {{kEncoderQuality, 4, gp::EncoderParameterValueTypeLong, {90, 0, 0, 0}}};
             return !surface.SaveToBytes(kImageFormatJPEG, &set).empty();
         }},
        {"stream length above data", Row::CreateStreamOnHGlobal,
         [&] {
             HGlobalStream stream;
             const std::vector<BYTE> bytes(10, 1);
             return stream.OpenFromBytes(bytes, 11) != nullptr;
         }},
        {"surround colour count above colours", Row::GdipSetPathGradientSurroundColorsWithCount,
         [&] { return gradient.SetSurroundColors({0xFF000000, 0xFF0000FF}, 3); }},
        {"blend positions fewer than factors", Row::GdipSetLineBlend,
         [&] { return linear.SetBlend({0, 0.5f, 1}, {0, 1}); }},
        {"preset positions fewer than colours", Row::GdipSetLinePresetBlend,
         [&] { return linear.SetPresetBlend({0xFF000000, 0xFFFF0000, 0xFFFFFFFF}, {0, 1}); }},
        {"path types fewer than points", Row::GdipCreatePath2,
         [&] {
             GdipPath p;
             return p.CreateFromPoints({{0, 0}, {1, 1}, {2, 0}}, {0, 1});
         }},
        {"driver string positions fewer than characters", Row::GdipDrawDriverString,
         [&] { return graphics.DrawDriverString("abc", font, black, {{0, 10}}); }},
    };
    for (const Case& c : cases) {
        const uint64_t calls = dll::CallCount(c.row);
        GdipLastStatus = gp::Ok;
        EXPECT_FALSE(c.call()) << c.name;
        EXPECT_EQ(gp::InvalidParameter, GdipLastStatus) << c.name;
        EXPECT_EQ(calls, dll::CallCount(c.row)) << c.name;
    }
    // A shorter length is fine: the first bytes.
    HGlobalStream stream;
    ASSERT_NE(nullptr, stream.OpenFromBytes(std::vector<BYTE>{1, 2, 3, 4}, 2));
    EXPECT_EQ((std::vector<BYTE>{1, 2}), stream.GetBytes());
}

// ---------------------------------------------------------------------------
// Operations with rules of their own

TEST(WrapperRules, SurroundColoursUseTheGivenCount) {
    GdipPathGradientBrush brush;
    ASSERT_TRUE(brush.Create({{0, 0}, {10, 0}, {10, 10}}));
    INT used = 0;
    EXPECT_TRUE(brush.SetSurroundColors({0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, std::nullopt, &used));
    EXPECT_EQ(3, used);
    std::vector<gp::ARGB> colours;
    INT count = 0;
    ASSERT_TRUE(brush.GetSurroundColors(colours, count));
    EXPECT_EQ((std::vector<gp::ARGB>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}), colours);
    EXPECT_TRUE(brush.SetSurroundColors({0xFF123456, 0xFF00FF00, 0xFF0000FF}, 1, &used));
    EXPECT_EQ(1, used);
    ASSERT_TRUE(brush.GetSurroundColors(colours, count));
    ASSERT_FALSE(colours.empty());
    for (gp::ARGB c : colours) EXPECT_EQ(0xFF123456u, c);  // one colour for every point
}

TEST(WrapperRules, PresetBlendReadsBackWhatGdiplusReports) {
    GdipLinearGradientBrush brush;
    ASSERT_TRUE(brush.Create(gp::PointF(0, 0), gp::PointF(10, 0), 0xFF000000, 0xFFFFFFFF));
    std::vector<gp::ARGB> colours = {1, 2, 3, 4, 5};
    std::vector<float> positions;
    const INT reported = brush.GetPresetBlendCount();
    EXPECT_EQ(reported, brush.GetPresetBlend(colours, positions));
    EXPECT_EQ(static_cast<size_t>(reported), colours.size());
    EXPECT_EQ(static_cast<size_t>(reported), positions.size());
    ASSERT_TRUE(brush.SetPresetBlend({0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {0, 0.5f, 1}));
    EXPECT_EQ(3, brush.GetPresetBlend(colours, positions));
    EXPECT_EQ((std::vector<gp::ARGB>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}), colours);
    EXPECT_EQ((std::vector<float>{0, 0.5f, 1}), positions);
}

// Rotating about a point keeps the point fixed, in either order.
TEST(WrapperRules, RotateAtTurnsAboutThePoint) {
    for (gp::MatrixOrder order : {gp::MatrixOrderPrepend, gp::MatrixOrderAppend}) {
        GdipPathGradientBrush brush;
        ASSERT_TRUE(brush.Create({{0, 0}, {10, 0}, {10, 10}}));
        ASSERT_TRUE(brush.RotateTransformAt(90, gp::PointF(10, 20), order));
        GdipMatrix m;
        ASSERT_TRUE(m.Create());
        ASSERT_TRUE(brush.GetTransform(m));
        std::vector<gp::PointF> pts = {{10, 20}, {11, 20}};
        ASSERT_TRUE(m.TransformPoints(pts));
        EXPECT_NEAR(10, pts[0].X, 1e-4) << order;
        EXPECT_NEAR(20, pts[0].Y, 1e-4) << order;
        EXPECT_NEAR(10, pts[1].X, 1e-4) << order;
        EXPECT_NEAR(21, pts[1].Y, 1e-4) << order;
    }
    // The same rule for the graphics' world transform and a scale.
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(4, 4));
    GdipGraphics g;
    ASSERT_TRUE(g.CreateFromImage(bitmap));
    ASSERT_TRUE(g.ScaleTransformAt(2, 3, gp::PointF(5, 5)));
    std::vector<gp::PointF> pts = {{5, 5}, {6, 6}};
    ASSERT_TRUE(g.TransformPoints(gp::CoordinateSpaceDevice, gp::CoordinateSpaceWorld, pts));
    EXPECT_NEAR(5, pts[0].X, 1e-4);
    EXPECT_NEAR(5, pts[0].Y, 1e-4);
    EXPECT_NEAR(7, pts[1].X, 1e-4);
    EXPECT_NEAR(8, pts[1].Y, 1e-4);
}

TEST(WrapperRules, RoundRectangleClampsItsRoundness) {
    auto points = [](float roundness) {
        GdipPath p;
        EXPECT_TRUE(p.Create());
        EXPECT_TRUE(p.AddRoundRectangle(10, 10, 100, 50, roundness));
        std::vector<gp::PointF> pts;
        EXPECT_TRUE(p.GetPathPoints(pts));
        return pts;
    };
    const auto zero = points(0), one = points(1), hundred = points(100), more = points(250);
    ASSERT_EQ(zero.size(), one.size());
    for (size_t i = 0; i < zero.size(); ++i) {
        EXPECT_FLOAT_EQ(one[i].X, zero[i].X);
        EXPECT_FLOAT_EQ(one[i].Y, zero[i].Y);
    }
    ASSERT_EQ(hundred.size(), more.size());
    // At 100 the corner boxes are the whole rectangle: an ellipse through the
    // middles of the sides.
    GdipPath p;
    ASSERT_TRUE(p.Create());
    ASSERT_TRUE(p.AddRoundRectangle(10, 10, 100, 50, 100));
    const gp::RectF bounds = p.GetWorldBounds();
    EXPECT_NEAR(10, bounds.X, 0.5);
    EXPECT_NEAR(100, bounds.Width, 0.5);
    EXPECT_TRUE(p.IsVisiblePoint(60, 35));
    EXPECT_FALSE(p.IsVisiblePoint(12, 12));
}

TEST(WrapperRules, FontFromNameUsesTheInstalledFamilyAndKeepsNone) {
    LeakCheck check;
    {
        GdipFont font;
        ASSERT_TRUE(font.CreateFromName("宋体", 12));
        EXPECT_FLOAT_EQ(12, font.GetSize());
        // Wine reports Bold for the face that replaces 宋体 there (its weight
        // is Medium), though no bold was asked for; nothing else may be set.
        EXPECT_EQ(0, font.GetStyle() & ~gp::FontStyleBold);
        EXPECT_EQ(gp::UnitWorld, font.GetUnit());
        // Under Wine the family reads back as the font that replaces 宋体.
        GdipFontFamily family;
        ASSERT_TRUE(font.GetFamily(family));
        const std::string name = family.GetFamilyName();
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name, WideToAnsi(family.GetFamilyNameW()));
        EXPECT_TRUE(family.IsStyleAvailable(gp::FontStyleRegular));
        EXPECT_GT(family.GetEmHeight(gp::FontStyleRegular), 0);
    }
    EXPECT_EQ("", check.Changes());
    GdipFont missing;
    EXPECT_FALSE(missing.CreateFromName("No Such Face 12345", 12));
    EXPECT_TRUE(missing.IsEmpty());
    EXPECT_NE(gp::Ok, GdipLastStatus);
    GdipFont fallback;
    EXPECT_TRUE(fallback.CreateDefault());
    EXPECT_GT(fallback.GetSize(), 0);
    EXPECT_TRUE(fallback.Delete());
    EXPECT_EQ("", check.Changes());
}

TEST(WrapperRules, RegionCombineDefaultsToIntersect) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(4, 4));
    GdipGraphics g;
    ASSERT_TRUE(g.CreateFromImage(bitmap));
    GdipRegion region;
    ASSERT_TRUE(region.CreateFromRect(gp::RectF(0, 0, 10, 10)));
    ASSERT_TRUE(region.CombineRect(gp::RectF(5, 5, 10, 10)));
    const gp::RectF b = region.GetBounds(g);
    EXPECT_FLOAT_EQ(5, b.X);
    EXPECT_FLOAT_EQ(5, b.Y);
    EXPECT_FLOAT_EQ(5, b.Width);
    EXPECT_FLOAT_EQ(5, b.Height);
    std::vector<BYTE> data;
    ASSERT_TRUE(region.GetData(data));
    EXPECT_EQ(region.GetDataSize(), data.size());
    GdipRegion copy;
    ASSERT_TRUE(copy.CreateFromRegionData(data));
    EXPECT_TRUE(copy.IsEqual(region, g));
    LeakCheck check;
    HRGN hrgn = region.GetHRgn(g);
    ASSERT_NE(nullptr, hrgn);
    EXPECT_EQ("Region +1 (1 created, 0 deleted)", check.Changes());
    EXPECT_TRUE(dll::DeleteObject(hrgn));
    EXPECT_EQ("", check.Changes());
}

TEST(WrapperRules, MeasureCharacterRangesNeedsAtLeastOneRegion) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(100, 30));
    GdipGraphics g;
    ASSERT_TRUE(g.CreateFromImage(bitmap));
    GdipFont font;
    ASSERT_TRUE(font.CreateFromName("宋体", 12));
    GdipStringFormat format;
    ASSERT_TRUE(format.Create());
    ASSERT_TRUE(format.SetMeasurableCharacterRanges({gp::CharacterRange(0, 2)}));
    std::vector<GdipRegion> regions;
    const uint64_t calls = dll::CallCount(Row::GdipMeasureCharacterRanges);
    EXPECT_EQ(0, g.MeasureCharacterRanges("ab", font, gp::RectF(0, 0, 100, 30), format, 0, regions));
    EXPECT_EQ(gp::InvalidParameter, GdipLastStatus);
    EXPECT_EQ(calls, dll::CallCount(Row::GdipMeasureCharacterRanges));
    LeakCheck check;
    EXPECT_EQ(1, g.MeasureCharacterRanges("ab", font, gp::RectF(0, 0, 100, 30), format, 1, regions));
    ASSERT_EQ(1u, regions.size());
    EXPECT_GT(regions[0].GetBounds(g).Width, 0);
    regions.clear();
    EXPECT_EQ("", check.Changes());
    // Listing the families of a collection needs a count of at least one too.
    GdipFontCollection installed;
    ASSERT_TRUE(installed.CreateInstalled());
    std::vector<GdipFontFamily> families;
    EXPECT_EQ(0, installed.GetFamilyList(0, families));
    EXPECT_EQ(gp::InvalidParameter, GdipLastStatus);
}

TEST(WrapperRules, RotatedBoundsAreTheRotatedCornerExtents) {
    struct Case {
        INT angle;
        float width, height;
    } const cases[] = {
        {0, 99, 49},
        {90, 49, 99},
        {45, (99 + 49) * 0.70710678f, (99 + 49) * 0.70710678f},
        {180, 99, 49},
    };
    for (const Case& c : cases) {
        float w = 0, h = 0;
        GdipBitmap::RotatedBoundsSize(100, 50, c.angle, w, h);
        EXPECT_NEAR(c.width, w, 1e-3) << c.angle;
        EXPECT_NEAR(c.height, h, 1e-3) << c.angle;
    }
}

TEST(WrapperRules, BitmapDefaultsAndPixelReads) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(26, 18));
    EXPECT_EQ(26u, bitmap.GetWidth());
    EXPECT_EQ(18u, bitmap.GetHeight());
    EXPECT_EQ(static_cast<gp::PixelFormat>(PixelFormat32bppARGB), bitmap.GetPixelFormat());
    EXPECT_EQ(0u, bitmap.GetPixel(26, 0));
    EXPECT_NE(gp::Ok, GdipLastStatus);
    EXPECT_EQ(0u, bitmap.GetPixel(-1, 3));
    std::vector<INT> delays = {42};
    EXPECT_FALSE(bitmap.GetFrameDelays(delays));
    EXPECT_EQ((std::vector<INT>{42}), delays);
    EXPECT_TRUE(bitmap.Dispose());
    EXPECT_FALSE(bitmap.Dispose());
}

TEST(WrapperRules, EmptyStreamHasNoBytes) {
    HGlobalStream stream;
    EXPECT_NE(nullptr, stream.OpenFromBytes(std::vector<BYTE>{}));
    EXPECT_EQ(0u, stream.GetSize());
    EXPECT_TRUE(stream.GetBytes().empty());
    const std::vector<BYTE> bytes = {9, 8, 7};
    ASSERT_NE(nullptr, stream.OpenFromBytes(bytes));
    EXPECT_EQ(3u, stream.GetSize());
    EXPECT_EQ(bytes, stream.GetBytes());
    HGlobalStream other;
    EXPECT_TRUE(other.AttachStream(stream.GetStream()));
    EXPECT_EQ(bytes, other.GetBytes());
    stream.Close();
    EXPECT_EQ(bytes, other.GetBytes());  // the block lives as long as a reference
    other.Close();
    EXPECT_FALSE(other.AttachStream(nullptr));
}

}  // namespace
}  // namespace vostrel::gdiptest
