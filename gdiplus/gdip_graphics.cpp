// The graphics wrapper.
#include "gdip_graphics.h"

#include "gdip_brush.h"
#include "gdip_image.h"
#include "gdip_shapes.h"

#include <algorithm>

namespace vostrel {

namespace {
INT CountOf(size_t n) { return static_cast<INT>(std::min<size_t>(n, INT_MAX)); }
gp::GpMetafile* MetafileOf(const GdipImage& image) { return reinterpret_cast<gp::GpMetafile*>(image.NativeImage()); }
const gp::GpStringFormat* FormatOf(const GdipStringFormat* f) { return f ? f->Native() : nullptr; }

template <typename T, typename F>
T QueryValue(F&& call) {
    T v{};
    if (!RecordStatus(call(&v))) v = T{};
    return v;
}
}  // namespace

GdipGraphics::GdipGraphics()
    : GdipObject([](void* h) { return dll::GdipDeleteGraphics(static_cast<gp::GpGraphics*>(h)); }) {}

bool GdipGraphics::Delete() { return ReleaseHandle(); }
bool GdipGraphics::Flush(gp::FlushIntention intention) { return RecordStatus(dll::GdipFlush(Native(), intention)); }
bool GdipGraphics::CreateFromHWND(HWND hwnd, bool useIcm) {
    return CreateWith<gp::GpGraphics>([&](gp::GpGraphics** h) {
        return useIcm ? dll::GdipCreateFromHWNDICM(hwnd, h) : dll::GdipCreateFromHWND(hwnd, h);
    });
}
bool GdipGraphics::CreateFromHDC(HDC dc, std::optional<HANDLE> device) {
    return CreateWith<gp::GpGraphics>([&](gp::GpGraphics** h) {
        return device ? dll::GdipCreateFromHDC2(dc, *device, h) : dll::GdipCreateFromHDC(dc, h);
    });
}
bool GdipGraphics::CreateFromImage(const GdipImage& image) {
    return CreateWith<gp::GpGraphics>(
        [&](gp::GpGraphics** h) { return dll::GdipGetImageGraphicsContext(image.NativeImage(), h); });
}
HDC GdipGraphics::GetDC() {
    return QueryValue<HDC>([&](HDC* dc) { return dll::GdipGetDC(Native(), dc); });
}
bool GdipGraphics::ReleaseDC(HDC dc) { return RecordStatus(dll::GdipReleaseDC(Native(), dc)); }
bool GdipGraphics::GetRenderingOrigin(INT& x, INT& y) const {
    return RecordStatus(dll::GdipGetRenderingOrigin(Native(), &x, &y));
}
bool GdipGraphics::SetRenderingOrigin(INT x, INT y) { return RecordStatus(dll::GdipSetRenderingOrigin(Native(), x, y)); }
gp::CompositingMode GdipGraphics::GetCompositingMode() const {
    return QueryValue<gp::CompositingMode>(
        [&](gp::CompositingMode* m) { return dll::GdipGetCompositingMode(Native(), m); });
}
bool GdipGraphics::SetCompositingMode(gp::CompositingMode mode) {
    return RecordStatus(dll::GdipSetCompositingMode(Native(), mode));
}
gp::CompositingQuality GdipGraphics::GetCompositingQuality() const {
    return QueryValue<gp::CompositingQuality>(
        [&](gp::CompositingQuality* q) { return dll::GdipGetCompositingQuality(Native(), q); });
}
bool GdipGraphics::SetCompositingQuality(gp::CompositingQuality quality) {
    return RecordStatus(dll::GdipSetCompositingQuality(Native(), quality));
}
bool GdipGraphics::SetTextRenderingHint(gp::TextRenderingHint hint) {
    return RecordStatus(dll::GdipSetTextRenderingHint(Native(), hint));
}
gp::TextRenderingHint GdipGraphics::GetTextRenderingHint() const {
    return QueryValue<gp::TextRenderingHint>(
        [&](gp::TextRenderingHint* h) { return dll::GdipGetTextRenderingHint(Native(), h); });
}
bool GdipGraphics::SetTextContrast(UINT contrast) { return RecordStatus(dll::GdipSetTextContrast(Native(), contrast)); }
UINT GdipGraphics::GetTextContrast() const {
    return QueryValue<UINT>([&](UINT* c) { return dll::GdipGetTextContrast(Native(), c); });
}
bool GdipGraphics::SetInterpolationMode(gp::InterpolationMode mode) {
    return RecordStatus(dll::GdipSetInterpolationMode(Native(), mode));
}
gp::InterpolationMode GdipGraphics::GetInterpolationMode() const {
    return QueryValue<gp::InterpolationMode>(
        [&](gp::InterpolationMode* m) { return dll::GdipGetInterpolationMode(Native(), m); });
}
bool GdipGraphics::SetSmoothingMode(gp::SmoothingMode mode) {
    return RecordStatus(dll::GdipSetSmoothingMode(Native(), mode));
}
gp::SmoothingMode GdipGraphics::GetSmoothingMode() const {
    return QueryValue<gp::SmoothingMode>([&](gp::SmoothingMode* m) { return dll::GdipGetSmoothingMode(Native(), m); });
}
bool GdipGraphics::SetPixelOffsetMode(gp::PixelOffsetMode mode) {
    return RecordStatus(dll::GdipSetPixelOffsetMode(Native(), mode));
}
gp::PixelOffsetMode GdipGraphics::GetPixelOffsetMode() const {
    return QueryValue<gp::PixelOffsetMode>(
        [&](gp::PixelOffsetMode* m) { return dll::GdipGetPixelOffsetMode(Native(), m); });
}
bool GdipGraphics::SetTransform(const GdipMatrix& matrix) {
    return RecordStatus(dll::GdipSetWorldTransform(Native(), matrix.Native()));
}
bool GdipGraphics::GetTransform(GdipMatrix& target) const {
    return RecordStatus(dll::GdipGetWorldTransform(Native(), target.Native()));
}
bool GdipGraphics::ResetTransform() { return RecordStatus(dll::GdipResetWorldTransform(Native())); }
bool GdipGraphics::MultiplyTransform(const GdipMatrix& matrix, Order order) {
    return RecordStatus(dll::GdipMultiplyWorldTransform(Native(), matrix.Native(), order));
}
bool GdipGraphics::TranslateTransform(float dx, float dy, Order order) {
    return RecordStatus(dll::GdipTranslateWorldTransform(Native(), dx, dy, order));
}
bool GdipGraphics::ScaleTransform(float sx, float sy, Order order) {
    return RecordStatus(dll::GdipScaleWorldTransform(Native(), sx, sy, order));
}
bool GdipGraphics::ScaleTransformAt(float sx, float sy, const gp::PointF& centre, Order order) {
    return TransformAbout(
        centre, order, [&](float dx, float dy) { return dll::GdipTranslateWorldTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipScaleWorldTransform(Native(), sx, sy, order); });
}
bool GdipGraphics::RotateTransform(float angle, Order order) {
    return RecordStatus(dll::GdipRotateWorldTransform(Native(), angle, order));
}
bool GdipGraphics::RotateTransformAt(float angle, const gp::PointF& centre, Order order) {
    return TransformAbout(
        centre, order, [&](float dx, float dy) { return dll::GdipTranslateWorldTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipRotateWorldTransform(Native(), angle, order); });
}
bool GdipGraphics::SetPageUnit(gp::Unit unit) { return RecordStatus(dll::GdipSetPageUnit(Native(), unit)); }
gp::Unit GdipGraphics::GetPageUnit() const {
    return QueryValue<gp::Unit>([&](gp::Unit* u) { return dll::GdipGetPageUnit(Native(), u); });
}
bool GdipGraphics::SetPageScale(float scale) { return RecordStatus(dll::GdipSetPageScale(Native(), scale)); }
float GdipGraphics::GetPageScale() const {
    return QueryValue<float>([&](float* s) { return dll::GdipGetPageScale(Native(), s); });
}
float GdipGraphics::GetDpiX() const {
    return QueryValue<float>([&](float* d) { return dll::GdipGetDpiX(Native(), d); });
}
float GdipGraphics::GetDpiY() const {
    return QueryValue<float>([&](float* d) { return dll::GdipGetDpiY(Native(), d); });
}
bool GdipGraphics::TransformPoints(gp::CoordinateSpace destination, gp::CoordinateSpace source,
                                   std::vector<gp::PointF>& points) const {
    return RecordStatus(
        dll::GdipTransformPoints(Native(), destination, source, points.data(), CountOf(points.size())));
}
bool GdipGraphics::TransformPointsI(gp::CoordinateSpace destination, gp::CoordinateSpace source,
                                    std::vector<gp::Point>& points) const {
    return RecordStatus(
        dll::GdipTransformPointsI(Native(), destination, source, points.data(), CountOf(points.size())));
}
gp::ARGB GdipGraphics::GetNearestColor(gp::ARGB& colour) const {
    gp::ARGB c = colour;
    if (RecordStatus(dll::GdipGetNearestColor(Native(), &c))) colour = c;
    return colour;
}
bool GdipGraphics::DrawLine(const GdipPen& pen, float x1, float y1, float x2, float y2) {
    return RecordStatus(dll::GdipDrawLine(Native(), pen.Native(), x1, y1, x2, y2));
}
bool GdipGraphics::DrawLineI(const GdipPen& pen, INT x1, INT y1, INT x2, INT y2) {
    return RecordStatus(dll::GdipDrawLineI(Native(), pen.Native(), x1, y1, x2, y2));
}
bool GdipGraphics::DrawLines(const GdipPen& pen, const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipDrawLines(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawLinesI(const GdipPen& pen, const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipDrawLinesI(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawArc(const GdipPen& pen, float x, float y, float width, float height, float startAngle,
                           float sweepAngle) {
    return RecordStatus(dll::GdipDrawArc(Native(), pen.Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipGraphics::DrawArcI(const GdipPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                            float sweepAngle) {
    return RecordStatus(dll::GdipDrawArcI(Native(), pen.Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipGraphics::DrawBezier(const GdipPen& pen, float x1, float y1, float x2, float y2, float x3, float y3,
                              float x4, float y4) {
    return RecordStatus(dll::GdipDrawBezier(Native(), pen.Native(), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GdipGraphics::DrawBezierI(const GdipPen& pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
    return RecordStatus(dll::GdipDrawBezierI(Native(), pen.Native(), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GdipGraphics::DrawBeziers(const GdipPen& pen, const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipDrawBeziers(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawBeziersI(const GdipPen& pen, const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipDrawBeziersI(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawRectangle(const GdipPen& pen, float x, float y, float width, float height) {
    return RecordStatus(dll::GdipDrawRectangle(Native(), pen.Native(), x, y, width, height));
}
bool GdipGraphics::DrawRectangleI(const GdipPen& pen, INT x, INT y, INT width, INT height) {
    return RecordStatus(dll::GdipDrawRectangleI(Native(), pen.Native(), x, y, width, height));
}
bool GdipGraphics::DrawRectangles(const GdipPen& pen, const std::vector<gp::RectF>& rects) {
    return RecordStatus(dll::GdipDrawRectangles(Native(), pen.Native(), rects.data(), CountOf(rects.size())));
}
bool GdipGraphics::DrawRectanglesI(const GdipPen& pen, const std::vector<gp::Rect>& rects) {
    return RecordStatus(dll::GdipDrawRectanglesI(Native(), pen.Native(), rects.data(), CountOf(rects.size())));
}
bool GdipGraphics::DrawEllipse(const GdipPen& pen, float x, float y, float width, float height) {
    return RecordStatus(dll::GdipDrawEllipse(Native(), pen.Native(), x, y, width, height));
}
bool GdipGraphics::DrawEllipseI(const GdipPen& pen, INT x, INT y, INT width, INT height) {
    return RecordStatus(dll::GdipDrawEllipseI(Native(), pen.Native(), x, y, width, height));
}
bool GdipGraphics::DrawPie(const GdipPen& pen, float x, float y, float width, float height, float startAngle,
                           float sweepAngle) {
    return RecordStatus(dll::GdipDrawPie(Native(), pen.Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipGraphics::DrawPieI(const GdipPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                            float sweepAngle) {
    return RecordStatus(dll::GdipDrawPieI(Native(), pen.Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipGraphics::DrawPolygon(const GdipPen& pen, const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipDrawPolygon(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawPolygonI(const GdipPen& pen, const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipDrawPolygonI(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawPath(const GdipPen& pen, const GdipPath& path) {
    return RecordStatus(dll::GdipDrawPath(Native(), pen.Native(), path.Native()));
}
bool GdipGraphics::DrawCurve(const GdipPen& pen, const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipDrawCurve(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawCurveI(const GdipPen& pen, const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipDrawCurveI(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawCurve2(const GdipPen& pen, const std::vector<gp::PointF>& points, float tension) {
    return RecordStatus(dll::GdipDrawCurve2(Native(), pen.Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipGraphics::DrawCurve2I(const GdipPen& pen, const std::vector<gp::Point>& points, float tension) {
    return RecordStatus(dll::GdipDrawCurve2I(Native(), pen.Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipGraphics::DrawCurve3(const GdipPen& pen, const std::vector<gp::PointF>& points, INT offset, INT segments,
                              float tension) {
    return RecordStatus(dll::GdipDrawCurve3(Native(), pen.Native(), points.data(), CountOf(points.size()), offset,
                                            segments, tension));
}
bool GdipGraphics::DrawCurve3I(const GdipPen& pen, const std::vector<gp::Point>& points, INT offset, INT segments,
                               float tension) {
    return RecordStatus(dll::GdipDrawCurve3I(Native(), pen.Native(), points.data(), CountOf(points.size()), offset,
                                             segments, tension));
}
bool GdipGraphics::DrawClosedCurve(const GdipPen& pen, const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipDrawClosedCurve(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawClosedCurveI(const GdipPen& pen, const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipDrawClosedCurveI(Native(), pen.Native(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::DrawClosedCurve2(const GdipPen& pen, const std::vector<gp::PointF>& points, float tension) {
    return RecordStatus(
        dll::GdipDrawClosedCurve2(Native(), pen.Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipGraphics::DrawClosedCurve2I(const GdipPen& pen, const std::vector<gp::Point>& points, float tension) {
    return RecordStatus(
        dll::GdipDrawClosedCurve2I(Native(), pen.Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipGraphics::Clear(gp::ARGB colour) { return RecordStatus(dll::GdipGraphicsClear(Native(), colour)); }
bool GdipGraphics::FillRectangle(const GdipBrush& brush, float x, float y, float width, float height) {
    return RecordStatus(dll::GdipFillRectangle(Native(), brush.NativeBrush(), x, y, width, height));
}
bool GdipGraphics::FillRectangleRecord(const GdipBrush& brush, const gp::RectF& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}
bool GdipGraphics::FillRectangleI(const GdipBrush& brush, INT x, INT y, INT width, INT height) {
    return RecordStatus(dll::GdipFillRectangleI(Native(), brush.NativeBrush(), x, y, width, height));
}
bool GdipGraphics::FillRectangles(const GdipBrush& brush, const std::vector<gp::RectF>& rects) {
    return RecordStatus(dll::GdipFillRectangles(Native(), brush.NativeBrush(), rects.data(), CountOf(rects.size())));
}
bool GdipGraphics::FillRectanglesI(const GdipBrush& brush, const std::vector<gp::Rect>& rects) {
    return RecordStatus(
        dll::GdipFillRectanglesI(Native(), brush.NativeBrush(), rects.data(), CountOf(rects.size())));
}
bool GdipGraphics::FillPolygon(const GdipBrush& brush, const std::vector<gp::PointF>& points, gp::FillMode mode) {
    return RecordStatus(
        dll::GdipFillPolygon(Native(), brush.NativeBrush(), points.data(), CountOf(points.size()), mode));
}
bool GdipGraphics::FillPolygonI(const GdipBrush& brush, const std::vector<gp::Point>& points, gp::FillMode mode) {
    return RecordStatus(
        dll::GdipFillPolygonI(Native(), brush.NativeBrush(), points.data(), CountOf(points.size()), mode));
}
bool GdipGraphics::FillEllipse(const GdipBrush& brush, float x, float y, float width, float height) {
    return RecordStatus(dll::GdipFillEllipse(Native(), brush.NativeBrush(), x, y, width, height));
}
bool GdipGraphics::FillEllipseI(const GdipBrush& brush, INT x, INT y, INT width, INT height) {
    return RecordStatus(dll::GdipFillEllipseI(Native(), brush.NativeBrush(), x, y, width, height));
}
bool GdipGraphics::FillPie(const GdipBrush& brush, float x, float y, float width, float height, float startAngle,
                           float sweepAngle) {
    return RecordStatus(
        dll::GdipFillPie(Native(), brush.NativeBrush(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipGraphics::FillPieI(const GdipBrush& brush, INT x, INT y, INT width, INT height, float startAngle,
                            float sweepAngle) {
    return RecordStatus(
        dll::GdipFillPieI(Native(), brush.NativeBrush(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipGraphics::FillPath(const GdipBrush& brush, const GdipPath& path) {
    return RecordStatus(dll::GdipFillPath(Native(), brush.NativeBrush(), path.Native()));
}
bool GdipGraphics::FillClosedCurve(const GdipBrush& brush, const std::vector<gp::PointF>& points) {
    return RecordStatus(
        dll::GdipFillClosedCurve(Native(), brush.NativeBrush(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::FillClosedCurve2(const GdipBrush& brush, const std::vector<gp::PointF>& points, float tension,
                                    gp::FillMode mode) {
    return RecordStatus(dll::GdipFillClosedCurve2(Native(), brush.NativeBrush(), points.data(),
                                                  CountOf(points.size()), tension, mode));
}
bool GdipGraphics::FillClosedCurveI(const GdipBrush& brush, const std::vector<gp::Point>& points) {
    return RecordStatus(
        dll::GdipFillClosedCurveI(Native(), brush.NativeBrush(), points.data(), CountOf(points.size())));
}
bool GdipGraphics::FillClosedCurve2I(const GdipBrush& brush, const std::vector<gp::Point>& points, float tension,
                                     gp::FillMode mode) {
    return RecordStatus(dll::GdipFillClosedCurve2I(Native(), brush.NativeBrush(), points.data(),
                                                   CountOf(points.size()), tension, mode));
}
bool GdipGraphics::FillRegion(const GdipBrush& brush, const GdipRegion& region) {
    return RecordStatus(dll::GdipFillRegion(Native(), brush.NativeBrush(), region.Native()));
}
bool GdipGraphics::DrawString(std::string_view text, const GdipFont& font, const GdipBrush& brush,
                              const gp::RectF& layout, const GdipStringFormat* format) {
    return DrawStringW(AnsiToWide(text), font, brush, layout, format);
}
bool GdipGraphics::DrawStringW(std::wstring_view text, const GdipFont& font, const GdipBrush& brush,
                               const gp::RectF& layout, const GdipStringFormat* format) {
    const std::wstring t(text);
    return RecordStatus(dll::GdipDrawString(Native(), t.c_str(), dll::lstrlenW(t.c_str()), font.Native(), &layout,
                                            FormatOf(format), brush.NativeBrush()));
}
bool GdipGraphics::MeasureString(std::string_view text, const GdipFont& font, const gp::RectF& layout,
                                 const GdipStringFormat* format, gp::RectF& bounds) const {
    return MeasureStringW(AnsiToWide(text), font, layout, format, bounds);
}
bool GdipGraphics::MeasureStringW(std::wstring_view text, const GdipFont& font, const gp::RectF& layout,
                                  const GdipStringFormat* format, gp::RectF& bounds) const {
    const std::wstring t(text);
    return RecordStatus(dll::GdipMeasureString(Native(), t.c_str(), dll::lstrlenW(t.c_str()), font.Native(), &layout,
                                               FormatOf(format), &bounds, nullptr, nullptr));
}
INT GdipGraphics::MeasureCharacterRanges(std::string_view text, const GdipFont& font, const gp::RectF& layout,
                                         const GdipStringFormat& format, INT regionCount,
                                         std::vector<GdipRegion>& regions) const {
    if (regionCount < 1) {
        GdipLastStatus = gp::InvalidParameter;
        return 0;
    }
    return MeasureCharacterRangesW(AnsiToWide(text), font, layout, format, regionCount, regions);
}
INT GdipGraphics::MeasureCharacterRangesW(std::wstring_view text, const GdipFont& font, const gp::RectF& layout,
                                          const GdipStringFormat& format, INT regionCount,
                                          std::vector<GdipRegion>& regions) const {
    if (regionCount < 1) {
        GdipLastStatus = gp::InvalidParameter;
        return 0;
    }
    std::vector<GdipRegion> out(static_cast<size_t>(regionCount));
    std::vector<gp::GpRegion*> natives(static_cast<size_t>(regionCount));
    for (size_t i = 0; i < out.size(); ++i) {
        if (!out[i].Create()) return 0;
        natives[i] = out[i].Native();
    }
    const std::wstring t(text);
    if (!RecordStatus(dll::GdipMeasureCharacterRanges(Native(), t.c_str(), dll::lstrlenW(t.c_str()), font.Native(),
                                                      layout, format.Native(), regionCount, natives.data())))
        return 0;
    regions = std::move(out);
    return regionCount;
}
bool GdipGraphics::DrawDriverString(std::string_view text, const GdipFont& font, const GdipBrush& brush,
                                    const std::vector<gp::PointF>& positions, INT flags, const GdipMatrix* matrix) {
    return DrawDriverStringW(AnsiToWide(text), font, brush, positions, flags, matrix);
}
bool GdipGraphics::DrawDriverStringW(std::wstring_view text, const GdipFont& font, const GdipBrush& brush,
                                     const std::vector<gp::PointF>& positions, INT flags,
                                     const GdipMatrix* matrix) {
    const std::wstring t(text);
    const INT length = dll::lstrlenW(t.c_str());
    // GDI+ reads one position per character unless it advances by itself.
    const size_t needed = (flags & gp::DriverStringOptionsRealizedAdvance) ? (length ? 1 : 0)
                                                                           : static_cast<size_t>(length);
    if (positions.size() < needed) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(dll::GdipDrawDriverString(Native(), reinterpret_cast<const UINT16*>(t.c_str()), length,
                                                  font.Native(), brush.NativeBrush(), positions.data(), flags,
                                                  matrix ? matrix->Native() : nullptr));
}
bool GdipGraphics::DrawImage(const GdipImage& image, float x, float y) {
    return RecordStatus(dll::GdipDrawImage(Native(), image.NativeImage(), x, y));
}
bool GdipGraphics::DrawImageI(const GdipImage& image, INT x, INT y) {
    return RecordStatus(dll::GdipDrawImageI(Native(), image.NativeImage(), x, y));
}
bool GdipGraphics::DrawCachedBitmap(gp::GpCachedBitmap* cached, float x, float y) {
    return RecordStatus(dll::GdipDrawCachedBitmap(Native(), cached, static_cast<INT>(x), static_cast<INT>(y)));
}
bool GdipGraphics::DrawImageRectRect(const GdipImage& image, float x, float y, float width, float height,
                                     gp::Unit sourceUnit) {
    const float w = static_cast<float>(image.GetWidth());
    const float h = static_cast<float>(image.GetHeight());
    return RecordStatus(dll::GdipDrawImageRectRect(Native(), image.NativeImage(), x, y, width, height, 0, 0, w, h,
                                                   sourceUnit, nullptr, nullptr, nullptr));
}
bool GdipGraphics::DrawImageRectRectI(const GdipImage& image, INT x, INT y, INT width, INT height,
                                      gp::Unit sourceUnit) {
    const INT w = static_cast<INT>(image.GetWidth());
    const INT h = static_cast<INT>(image.GetHeight());
    return RecordStatus(dll::GdipDrawImageRectRectI(Native(), image.NativeImage(), x, y, width, height, 0, 0, w, h,
                                                    sourceUnit, nullptr, nullptr, nullptr));
}
bool GdipGraphics::DrawImagePoints(const GdipImage& image, const std::array<gp::PointF, 3>& points) {
    return RecordStatus(dll::GdipDrawImagePoints(Native(), image.NativeImage(), points.data(), 3));
}
bool GdipGraphics::DrawImagePointsI(const GdipImage& image, const std::array<gp::Point, 3>& points) {
    return RecordStatus(dll::GdipDrawImagePointsI(Native(), image.NativeImage(), points.data(), 3));
}
bool GdipGraphics::DrawImagePointRect(const GdipImage& image, float x, float y, const gp::RectF& source,
                                      gp::Unit sourceUnit) {
    return RecordStatus(dll::GdipDrawImagePointRect(Native(), image.NativeImage(), x, y, source.X, source.Y,
                                                    source.Width, source.Height, sourceUnit));
}
bool GdipGraphics::DrawImagePointRectI(const GdipImage& image, INT x, INT y, const gp::Rect& source,
                                       gp::Unit sourceUnit) {
    return RecordStatus(dll::GdipDrawImagePointRectI(Native(), image.NativeImage(), x, y, source.X, source.Y,
                                                     source.Width, source.Height, sourceUnit));
}
bool GdipGraphics::DrawImageSourceRect(const GdipImage& image, const gp::RectF& d, const gp::RectF& s,
                                       gp::Unit sourceUnit, const gp::GpImageAttributes* attributes) {
    return RecordStatus(dll::GdipDrawImageRectRect(Native(), image.NativeImage(), d.X, d.Y, d.Width, d.Height, s.X,
                                                   s.Y, s.Width, s.Height, sourceUnit, attributes, nullptr, nullptr));
}
bool GdipGraphics::DrawImageSourceRectI(const GdipImage& image, const gp::Rect& d, const gp::Rect& s,
                                        gp::Unit sourceUnit, const gp::GpImageAttributes* attributes) {
    return RecordStatus(dll::GdipDrawImageRectRectI(Native(), image.NativeImage(), d.X, d.Y, d.Width, d.Height, s.X,
                                                    s.Y, s.Width, s.Height, sourceUnit, attributes, nullptr,
                                                    nullptr));
}
bool GdipGraphics::DrawImagePointsRect(const GdipImage& image, const std::array<gp::PointF, 3>& points,
                                       const gp::RectF& s, gp::Unit sourceUnit,
                                       const gp::GpImageAttributes* attributes) {
    return RecordStatus(dll::GdipDrawImagePointsRect(Native(), image.NativeImage(), points.data(), 3, s.X, s.Y,
                                                     s.Width, s.Height, sourceUnit, attributes, nullptr, nullptr));
}
bool GdipGraphics::DrawImagePointsRectI(const GdipImage& image, const std::array<gp::Point, 3>& points,
                                        const gp::Rect& s, gp::Unit sourceUnit,
                                        const gp::GpImageAttributes* attributes) {
    return RecordStatus(dll::GdipDrawImagePointsRectI(Native(), image.NativeImage(), points.data(), 3, s.X, s.Y,
                                                      s.Width, s.Height, sourceUnit, attributes, nullptr, nullptr));
}
bool GdipGraphics::EnumerateMetafileDestPoint(const GdipImage& metafile, const gp::PointF& destination,
                                              EnumProc callback, void* data, Attributes attributes) {
    return RecordStatus(
        dll::GdipEnumerateMetafileDestPoint(Native(), MetafileOf(metafile), destination, callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileDestPointI(const GdipImage& metafile, const gp::Point& destination,
                                               EnumProc callback, void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileDestPointI(Native(), MetafileOf(metafile), destination, callback,
                                                             data, attributes));
}
bool GdipGraphics::EnumerateMetafileDestPoints(const GdipImage& metafile, const std::vector<gp::PointF>& destination,
                                               EnumProc callback, void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileDestPoints(Native(), MetafileOf(metafile), destination.data(),
                                                             CountOf(destination.size()), callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileDestPointsI(const GdipImage& metafile, const std::vector<gp::Point>& destination,
                                                EnumProc callback, void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileDestPointsI(Native(), MetafileOf(metafile), destination.data(),
                                                              CountOf(destination.size()), callback, data,
                                                              attributes));
}
bool GdipGraphics::EnumerateMetafileDestRect(const GdipImage& metafile, const gp::RectF& destination,
                                             EnumProc callback, void* data, Attributes attributes) {
    return RecordStatus(
        dll::GdipEnumerateMetafileDestRect(Native(), MetafileOf(metafile), destination, callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileDestRectI(const GdipImage& metafile, const gp::Rect& destination,
                                              EnumProc callback, void* data, Attributes attributes) {
    return RecordStatus(
        dll::GdipEnumerateMetafileDestRectI(Native(), MetafileOf(metafile), destination, callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileSrcRectDestPoint(const GdipImage& metafile, const gp::PointF& destination,
                                                     const gp::RectF& source, gp::Unit unit, EnumProc callback,
                                                     void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileSrcRectDestPoint(Native(), MetafileOf(metafile), destination, source,
                                                                   unit, callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileSrcRectDestPointI(const GdipImage& metafile, const gp::Point& destination,
                                                      const gp::Rect& source, gp::Unit unit, EnumProc callback,
                                                      void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileSrcRectDestPointI(Native(), MetafileOf(metafile), destination,
                                                                    source, unit, callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileSrcRectDestPoints(const GdipImage& metafile,
                                                      const std::vector<gp::PointF>& destination,
                                                      const gp::RectF& source, gp::Unit unit, EnumProc callback,
                                                      void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileSrcRectDestPoints(Native(), MetafileOf(metafile), destination.data(),
                                                                    CountOf(destination.size()), source, unit,
                                                                    callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileSrcRectDestPointsI(const GdipImage& metafile,
                                                       const std::vector<gp::Point>& destination,
                                                       const gp::Rect& source, gp::Unit unit, EnumProc callback,
                                                       void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileSrcRectDestPointsI(Native(), MetafileOf(metafile),
                                                                     destination.data(), CountOf(destination.size()),
                                                                     source, unit, callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileSrcRectDestRect(const GdipImage& metafile, const gp::RectF& destination,
                                                    const gp::RectF& source, gp::Unit unit, EnumProc callback,
                                                    void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileSrcRectDestRect(Native(), MetafileOf(metafile), destination, source,
                                                                  unit, callback, data, attributes));
}
bool GdipGraphics::EnumerateMetafileSrcRectDestRectI(const GdipImage& metafile, const gp::Rect& destination,
                                                     const gp::Rect& source, gp::Unit unit, EnumProc callback,
                                                     void* data, Attributes attributes) {
    return RecordStatus(dll::GdipEnumerateMetafileSrcRectDestRectI(Native(), MetafileOf(metafile), destination,
                                                                   source, unit, callback, data, attributes));
}
bool GdipGraphics::SetClipGraphics(const GdipGraphics& other, gp::CombineMode mode) {
    return RecordStatus(dll::GdipSetClipGraphics(Native(), other.Native(), mode));
}
bool GdipGraphics::SetClipPath(const GdipPath& path, gp::CombineMode mode) {
    return RecordStatus(dll::GdipSetClipPath(Native(), path.Native(), mode));
}
bool GdipGraphics::SetClipRect(float x, float y, float width, float height, gp::CombineMode mode) {
    return RecordStatus(dll::GdipSetClipRect(Native(), x, y, width, height, mode));
}
bool GdipGraphics::SetClipRectI(INT x, INT y, INT width, INT height, gp::CombineMode mode) {
    return RecordStatus(dll::GdipSetClipRectI(Native(), x, y, width, height, mode));
}
bool GdipGraphics::SetClipRegion(const GdipRegion& region, gp::CombineMode mode) {
    return RecordStatus(dll::GdipSetClipRegion(Native(), region.Native(), mode));
}
bool GdipGraphics::SetClipHrgn(HRGN region, gp::CombineMode mode) {
    return RecordStatus(dll::GdipSetClipHrgn(Native(), region, mode));
}
bool GdipGraphics::ResetClip() { return RecordStatus(dll::GdipResetClip(Native())); }
bool GdipGraphics::TranslateClip(float dx, float dy) { return RecordStatus(dll::GdipTranslateClip(Native(), dx, dy)); }
bool GdipGraphics::TranslateClipI(INT dx, INT dy) { return RecordStatus(dll::GdipTranslateClipI(Native(), dx, dy)); }
bool GdipGraphics::GetClip(GdipRegion& target) const {
    return RecordStatus(dll::GdipGetClip(Native(), target.Native()));
}
gp::RectF GdipGraphics::GetClipBounds() const {
    gp::RectF r;
    if (!RecordStatus(dll::GdipGetClipBounds(Native(), &r))) r = gp::RectF();
    return r;
}
gp::Rect GdipGraphics::GetClipBoundsI() const {
    gp::Rect r;
    if (!RecordStatus(dll::GdipGetClipBoundsI(Native(), &r))) r = gp::Rect();
    return r;
}
gp::RectF GdipGraphics::GetVisibleClipBounds() const {
    gp::RectF r;
    if (!RecordStatus(dll::GdipGetVisibleClipBounds(Native(), &r))) r = gp::RectF();
    return r;
}
gp::Rect GdipGraphics::GetVisibleClipBoundsI() const {
    gp::Rect r;
    if (!RecordStatus(dll::GdipGetVisibleClipBoundsI(Native(), &r))) r = gp::Rect();
    return r;
}
bool GdipGraphics::IsClipEmpty() const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsClipEmpty(Native(), &v)) && v;
}
bool GdipGraphics::IsVisibleClipEmpty() const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisibleClipEmpty(Native(), &v)) && v;
}
bool GdipGraphics::IsVisiblePoint(float x, float y) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisiblePoint(Native(), x, y, &v)) && v;
}
bool GdipGraphics::IsVisiblePointI(INT x, INT y) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisiblePointI(Native(), x, y, &v)) && v;
}
bool GdipGraphics::IsVisibleRect(float x, float y, float width, float height) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisibleRect(Native(), x, y, width, height, &v)) && v;
}
bool GdipGraphics::IsVisibleRectI(INT x, INT y, INT width, INT height) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisibleRectI(Native(), x, y, width, height, &v)) && v;
}
gp::GraphicsState GdipGraphics::Save() {
    return QueryValue<gp::GraphicsState>([&](gp::GraphicsState* s) { return dll::GdipSaveGraphics(Native(), s); });
}
bool GdipGraphics::Restore(gp::GraphicsState state) { return RecordStatus(dll::GdipRestoreGraphics(Native(), state)); }
gp::GraphicsContainer GdipGraphics::BeginContainer(const gp::RectF& destination, const gp::RectF& source,
                                                   gp::Unit unit) {
    return QueryValue<gp::GraphicsContainer>([&](gp::GraphicsContainer* c) {
        return dll::GdipBeginContainer(Native(), &destination, &source, unit, c);
    });
}
gp::GraphicsContainer GdipGraphics::BeginContainerI(const gp::Rect& destination, const gp::Rect& source,
                                                    gp::Unit unit) {
    return QueryValue<gp::GraphicsContainer>([&](gp::GraphicsContainer* c) {
        return dll::GdipBeginContainerI(Native(), &destination, &source, unit, c);
    });
}
gp::GraphicsContainer GdipGraphics::BeginContainerPlain() {
    return QueryValue<gp::GraphicsContainer>(
        [&](gp::GraphicsContainer* c) { return dll::GdipBeginContainer2(Native(), c); });
}
bool GdipGraphics::EndContainer(gp::GraphicsContainer state) {
    return RecordStatus(dll::GdipEndContainer(Native(), state));
}
bool GdipGraphics::Comment(const std::vector<BYTE>& data) {
    return RecordStatus(dll::GdipComment(Native(), static_cast<UINT>(data.size()), data.data()));
}

}  // namespace vostrel
