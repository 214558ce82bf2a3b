// Paths, pens, fonts, font families, string formats, regions and font
// collections.
#include "gdip_shapes.h"

#include "gdip_brush.h"
#include "gdip_graphics.h"

#include <algorithm>
#include <cmath>

namespace vostrel {

namespace {
INT CountOf(size_t n) { return static_cast<INT>(std::min<size_t>(n, INT_MAX)); }
gp::GpMatrix* MatrixOf(const GdipMatrix* m) { return m ? m->Native() : nullptr; }
gp::GpGraphics* GraphicsOf(const GdipGraphics* g) { return g ? g->Native() : nullptr; }

template <typename T, typename F>
T QueryValue(F&& call) {
    T v{};
    if (!RecordStatus(call(&v))) v = T{};
    return v;
}
}  // namespace

// ---------------------------------------------------------------------------
// GdipPath

GdipPath::GdipPath()
    : GdipObject([](void* h) { return dll::GdipDeletePath(static_cast<gp::GpPath*>(h)); }) {}

bool GdipPath::Delete() { return ReleaseHandle(); }
bool GdipPath::Create(gp::FillMode mode) {
    return CreateWith<gp::GpPath>([&](gp::GpPath** h) { return dll::GdipCreatePath(mode, h); });
}
bool GdipPath::CreateFromPoints(const std::vector<gp::PointF>& points, const std::vector<BYTE>& types,
                                gp::FillMode mode) {
    if (points.size() != types.size()) return RecordStatus(gp::InvalidParameter);
    return CreateWith<gp::GpPath>([&](gp::GpPath** h) {
        return dll::GdipCreatePath2(points.data(), types.data(), CountOf(points.size()), mode, h);
    });
}
bool GdipPath::CreateFromPointsI(const std::vector<gp::Point>& points, const std::vector<BYTE>& types,
                                 gp::FillMode mode) {
    if (points.size() != types.size()) return RecordStatus(gp::InvalidParameter);
    return CreateWith<gp::GpPath>([&](gp::GpPath** h) {
        return dll::GdipCreatePath2I(points.data(), types.data(), CountOf(points.size()), mode, h);
    });
}
bool GdipPath::Clone(GdipPath& target) const {
    gp::GpPath* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipClonePath(Native(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}
bool GdipPath::Reset() { return RecordStatus(dll::GdipResetPath(Native())); }
gp::FillMode GdipPath::GetFillMode() const {
    return QueryValue<gp::FillMode>([&](gp::FillMode* m) { return dll::GdipGetPathFillMode(Native(), m); });
}
bool GdipPath::SetFillMode(gp::FillMode mode) { return RecordStatus(dll::GdipSetPathFillMode(Native(), mode)); }
bool GdipPath::GetPathData(GdipPathData& data) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPointCount(Native(), &n)) || n < 0) return false;
    std::vector<gp::PointF> points(static_cast<size_t>(n));
    std::vector<BYTE> types(static_cast<size_t>(n));
    // The SDK's PathData frees its arrays in its destructor: use the same
    // layout without that, over our own arrays.
    struct {
        INT Count;
        gp::PointF* Points;
        BYTE* Types;
    } native{n, points.data(), types.data()};
    if (n && !RecordStatus(dll::GdipGetPathData(Native(), reinterpret_cast<gp::GpPathData*>(&native))))
        return false;
    data.points = std::move(points);
    data.types = std::move(types);
    return true;
}
bool GdipPath::GetPathTypes(std::vector<BYTE>& types) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPointCount(Native(), &n)) || n < 0) return false;
    std::vector<BYTE> out(static_cast<size_t>(n));
    if (n && !RecordStatus(dll::GdipGetPathTypes(Native(), out.data(), n))) return false;
    types = std::move(out);
    return true;
}
bool GdipPath::GetPathPoints(std::vector<gp::PointF>& points) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPointCount(Native(), &n)) || n < 0) return false;
    std::vector<gp::PointF> out(static_cast<size_t>(n));
    if (n && !RecordStatus(dll::GdipGetPathPoints(Native(), out.data(), n))) return false;
    points = std::move(out);
    return true;
}
bool GdipPath::GetPathPointsI(std::vector<gp::Point>& points) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPointCount(Native(), &n)) || n < 0) return false;
    std::vector<gp::Point> out(static_cast<size_t>(n));
    if (n && !RecordStatus(dll::GdipGetPathPointsI(Native(), out.data(), n))) return false;
    points = std::move(out);
    return true;
}
bool GdipPath::StartFigure() { return RecordStatus(dll::GdipStartPathFigure(Native())); }
bool GdipPath::CloseFigure() { return RecordStatus(dll::GdipClosePathFigure(Native())); }
bool GdipPath::CloseAllFigures() { return RecordStatus(dll::GdipClosePathFigures(Native())); }
bool GdipPath::SetMarker() { return RecordStatus(dll::GdipSetPathMarker(Native())); }
bool GdipPath::ClearMarkers() { return RecordStatus(dll::GdipClearPathMarkers(Native())); }
bool GdipPath::Reverse() { return RecordStatus(dll::GdipReversePath(Native())); }
gp::PointF GdipPath::GetLastPoint() const {
    gp::PointF p;
    if (!RecordStatus(dll::GdipGetPathLastPoint(Native(), &p))) p = gp::PointF();
    return p;
}
bool GdipPath::AddLine(float x1, float y1, float x2, float y2) {
    return RecordStatus(dll::GdipAddPathLine(Native(), x1, y1, x2, y2));
}
bool GdipPath::AddLineI(INT x1, INT y1, INT x2, INT y2) {
    return RecordStatus(dll::GdipAddPathLineI(Native(), x1, y1, x2, y2));
}
bool GdipPath::AddLines(const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipAddPathLine2(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddLinesI(const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipAddPathLine2I(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return RecordStatus(dll::GdipAddPathArc(Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipPath::AddArcI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle) {
    return RecordStatus(dll::GdipAddPathArcI(Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    return RecordStatus(dll::GdipAddPathBezier(Native(), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GdipPath::AddBezierI(INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
    return RecordStatus(dll::GdipAddPathBezierI(Native(), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GdipPath::AddBeziers(const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipAddPathBeziers(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddBeziersI(const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipAddPathBeziersI(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddCurve(const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipAddPathCurve(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddCurve2(const std::vector<gp::PointF>& points, float tension) {
    return RecordStatus(dll::GdipAddPathCurve2(Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipPath::AddCurve3(const std::vector<gp::PointF>& points, INT offset, INT segments, float tension) {
    return RecordStatus(
        dll::GdipAddPathCurve3(Native(), points.data(), CountOf(points.size()), offset, segments, tension));
}
bool GdipPath::AddCurveI(const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipAddPathCurveI(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddCurve2I(const std::vector<gp::Point>& points, float tension) {
    return RecordStatus(dll::GdipAddPathCurve2I(Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipPath::AddCurve3I(const std::vector<gp::Point>& points, INT offset, INT segments, float tension) {
    return RecordStatus(
        dll::GdipAddPathCurve3I(Native(), points.data(), CountOf(points.size()), offset, segments, tension));
}
bool GdipPath::AddClosedCurve(const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipAddPathClosedCurve(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddClosedCurve2(const std::vector<gp::PointF>& points, float tension) {
    return RecordStatus(dll::GdipAddPathClosedCurve2(Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipPath::AddClosedCurveI(const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipAddPathClosedCurveI(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddClosedCurve2I(const std::vector<gp::Point>& points, float tension) {
    return RecordStatus(dll::GdipAddPathClosedCurve2I(Native(), points.data(), CountOf(points.size()), tension));
}
bool GdipPath::AddRectangle(float x, float y, float width, float height) {
    return RecordStatus(dll::GdipAddPathRectangle(Native(), x, y, width, height));
}
bool GdipPath::AddRoundRectangle(float x, float y, float width, float height, float roundness) {
    const double r = std::clamp(static_cast<double>(roundness), 1.0, 100.0);
    const float cw = static_cast<float>(std::trunc(width * r / 100));
    const float ch = static_cast<float>(std::trunc(height * r / 100));
    RecordStatus(dll::GdipAddPathArc(Native(), x + width - cw, y, cw, ch, 270, 90));
    RecordStatus(dll::GdipAddPathArc(Native(), x + width - cw, y + height - ch, cw, ch, 0, 90));
    RecordStatus(dll::GdipAddPathArc(Native(), x, y + height - ch, cw, ch, 90, 90));
    RecordStatus(dll::GdipAddPathArc(Native(), x, y, cw, ch, 180, 90));
    return RecordStatus(dll::GdipClosePathFigure(Native()));
}
bool GdipPath::AddRectangles(const std::vector<gp::RectF>& rects) {
    return RecordStatus(dll::GdipAddPathRectangles(Native(), rects.data(), CountOf(rects.size())));
}
bool GdipPath::AddRectangleI(INT x, INT y, INT width, INT height) {
    return RecordStatus(dll::GdipAddPathRectangleI(Native(), x, y, width, height));
}
bool GdipPath::AddRectanglesI(const std::vector<gp::Rect>& rects) {
    return RecordStatus(dll::GdipAddPathRectanglesI(Native(), rects.data(), CountOf(rects.size())));
}
bool GdipPath::AddEllipse(float x, float y, float width, float height) {
    return RecordStatus(dll::GdipAddPathEllipse(Native(), x, y, width, height));
}
bool GdipPath::AddEllipseI(INT x, INT y, INT width, INT height) {
    return RecordStatus(dll::GdipAddPathEllipseI(Native(), x, y, width, height));
}
bool GdipPath::AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return RecordStatus(dll::GdipAddPathPie(Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipPath::AddPieI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle) {
    return RecordStatus(dll::GdipAddPathPieI(Native(), x, y, width, height, startAngle, sweepAngle));
}
bool GdipPath::AddPolygon(const std::vector<gp::PointF>& points) {
    return RecordStatus(dll::GdipAddPathPolygon(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddPolygonI(const std::vector<gp::Point>& points) {
    return RecordStatus(dll::GdipAddPathPolygonI(Native(), points.data(), CountOf(points.size())));
}
bool GdipPath::AddPath(const GdipPath& other, bool connect) {
    return RecordStatus(dll::GdipAddPathPath(Native(), other.Native(), connect));
}
bool GdipPath::AddString(std::string_view text, const GdipFontFamily& family, INT style, float emSize,
                         const gp::RectF& layout, const GdipStringFormat& format) {
    return AddStringW(AnsiToWide(text), family, style, emSize, layout, format);
}
bool GdipPath::AddStringW(std::wstring_view text, const GdipFontFamily& family, INT style, float emSize,
                          const gp::RectF& layout, const GdipStringFormat& format) {
    const std::wstring t(text);
    return RecordStatus(dll::GdipAddPathString(Native(), t.c_str(), dll::lstrlenW(t.c_str()), family.Native(),
                                               style, emSize, &layout, format.Native()));
}
bool GdipPath::AddStringI(std::string_view text, const GdipFontFamily& family, INT style, float emSize,
                          const gp::Rect& layout, const GdipStringFormat& format) {
    return AddStringWI(AnsiToWide(text), family, style, emSize, layout, format);
}
bool GdipPath::AddStringWI(std::wstring_view text, const GdipFontFamily& family, INT style, float emSize,
                           const gp::Rect& layout, const GdipStringFormat& format) {
    const std::wstring t(text);
    return RecordStatus(dll::GdipAddPathStringI(Native(), t.c_str(), dll::lstrlenW(t.c_str()), family.Native(),
                                                style, emSize, &layout, format.Native()));
}
bool GdipPath::Transform(const GdipMatrix& matrix) {
    return RecordStatus(dll::GdipTransformPath(Native(), matrix.Native()));
}
gp::RectF GdipPath::GetWorldBounds(const GdipMatrix* matrix, const GdipPen* pen) const {
    gp::RectF r;
    if (!RecordStatus(dll::GdipGetPathWorldBounds(Native(), &r, MatrixOf(matrix), pen ? pen->Native() : nullptr)))
        r = gp::RectF();
    return r;
}
gp::Rect GdipPath::GetWorldBoundsI(const GdipMatrix* matrix, const GdipPen* pen) const {
    gp::Rect r;
    if (!RecordStatus(dll::GdipGetPathWorldBoundsI(Native(), &r, MatrixOf(matrix), pen ? pen->Native() : nullptr)))
        r = gp::Rect();
    return r;
}
bool GdipPath::Flatten(const GdipMatrix* matrix, float flatness) {
    return RecordStatus(dll::GdipFlattenPath(Native(), MatrixOf(matrix), flatness));
}
bool GdipPath::Widen(const GdipPen& pen, const GdipMatrix* matrix, float flatness) {
    return RecordStatus(dll::GdipWidenPath(Native(), pen.Native(), MatrixOf(matrix), flatness));
}
bool GdipPath::WindingModeOutline(const GdipMatrix* matrix, float flatness) {
    return RecordStatus(dll::GdipWindingModeOutline(Native(), MatrixOf(matrix), flatness));
}
bool GdipPath::Warp(const std::vector<gp::PointF>& destination, const gp::RectF& source, const GdipMatrix* matrix,
                    gp::WarpMode mode, float flatness) {
    if (destination.size() != 3 && destination.size() != 4) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(dll::GdipWarpPath(Native(), MatrixOf(matrix), destination.data(),
                                          CountOf(destination.size()), source.X, source.Y, source.Width,
                                          source.Height, mode, flatness));
}
INT GdipPath::GetPointCount() const {
    return QueryValue<INT>([&](INT* n) { return dll::GdipGetPointCount(Native(), n); });
}
bool GdipPath::IsVisiblePoint(float x, float y, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisiblePathPoint(Native(), x, y, GraphicsOf(graphics), &v)) && v;
}
bool GdipPath::IsVisiblePointI(INT x, INT y, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisiblePathPointI(Native(), x, y, GraphicsOf(graphics), &v)) && v;
}
bool GdipPath::IsOutlineVisiblePoint(float x, float y, const GdipPen& pen, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsOutlineVisiblePathPoint(Native(), x, y, pen.Native(), GraphicsOf(graphics), &v)) &&
           v;
}
bool GdipPath::IsOutlineVisiblePointI(INT x, INT y, const GdipPen& pen, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(
               dll::GdipIsOutlineVisiblePathPointI(Native(), x, y, pen.Native(), GraphicsOf(graphics), &v)) &&
           v;
}

// ---------------------------------------------------------------------------
// GdipPen

GdipPen::GdipPen() : GdipObject([](void* h) { return dll::GdipDeletePen(static_cast<gp::GpPen*>(h)); }) {}

bool GdipPen::Delete() { return ReleaseHandle(); }
bool GdipPen::Create(gp::ARGB colour, float width, gp::Unit unit) {
    return CreateWith<gp::GpPen>([&](gp::GpPen** h) { return dll::GdipCreatePen1(colour, width, unit, h); });
}
bool GdipPen::CreateFromBrush(const GdipBrush& brush, float width, gp::Unit unit) {
    return CreateWith<gp::GpPen>(
        [&](gp::GpPen** h) { return dll::GdipCreatePen2(brush.NativeBrush(), width, unit, h); });
}
bool GdipPen::Clone(GdipPen& target) const {
    gp::GpPen* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipClonePen(Native(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}
float GdipPen::GetWidth() const {
    return QueryValue<float>([&](float* w) { return dll::GdipGetPenWidth(Native(), w); });
}
bool GdipPen::SetWidth(float width) { return RecordStatus(dll::GdipSetPenWidth(Native(), width)); }
gp::Unit GdipPen::GetUnit() const {
    return QueryValue<gp::Unit>([&](gp::Unit* u) { return dll::GdipGetPenUnit(Native(), u); });
}
bool GdipPen::SetUnit(gp::Unit unit) { return RecordStatus(dll::GdipSetPenUnit(Native(), unit)); }
bool GdipPen::SetLineCap(gp::LineCap start, gp::LineCap end, gp::DashCap dash) {
    return RecordStatus(dll::GdipSetPenLineCap197819(Native(), start, end, dash));
}
bool GdipPen::SetStartCap(gp::LineCap cap) { return RecordStatus(dll::GdipSetPenStartCap(Native(), cap)); }
bool GdipPen::SetEndCap(gp::LineCap cap) { return RecordStatus(dll::GdipSetPenEndCap(Native(), cap)); }
bool GdipPen::SetDashCap(gp::DashCap cap) { return RecordStatus(dll::GdipSetPenDashCap197819(Native(), cap)); }
gp::LineCap GdipPen::GetStartCap() const {
    return QueryValue<gp::LineCap>([&](gp::LineCap* c) { return dll::GdipGetPenStartCap(Native(), c); });
}
gp::LineCap GdipPen::GetEndCap() const {
    return QueryValue<gp::LineCap>([&](gp::LineCap* c) { return dll::GdipGetPenEndCap(Native(), c); });
}
gp::DashCap GdipPen::GetDashCap() const {
    return QueryValue<gp::DashCap>([&](gp::DashCap* c) { return dll::GdipGetPenDashCap197819(Native(), c); });
}
bool GdipPen::SetLineJoin(gp::LineJoin join) { return RecordStatus(dll::GdipSetPenLineJoin(Native(), join)); }
gp::LineJoin GdipPen::GetLineJoin() const {
    return QueryValue<gp::LineJoin>([&](gp::LineJoin* j) { return dll::GdipGetPenLineJoin(Native(), j); });
}
bool GdipPen::SetCustomStartCap(const GdipCustomLineCap& cap) {
    return RecordStatus(dll::GdipSetPenCustomStartCap(Native(), cap.Native()));
}
bool GdipPen::GetCustomStartCap(GdipCustomLineCap& target) const {
    gp::GpCustomLineCap* cap = nullptr;
    const bool ok = RecordStatus(dll::GdipGetPenCustomStartCap(Native(), &cap));
    if (ok) target.Adopt(cap);
    return ok;
}
bool GdipPen::SetCustomEndCap(const GdipCustomLineCap& cap) {
    return RecordStatus(dll::GdipSetPenCustomEndCap(Native(), cap.Native()));
}
bool GdipPen::GetCustomEndCap(GdipCustomLineCap& target) const {
    gp::GpCustomLineCap* cap = nullptr;
    const bool ok = RecordStatus(dll::GdipGetPenCustomEndCap(Native(), &cap));
    if (ok) target.Adopt(cap);
    return ok;
}
bool GdipPen::SetMiterLimit(float limit) { return RecordStatus(dll::GdipSetPenMiterLimit(Native(), limit)); }
float GdipPen::GetMiterLimit() const {
    return QueryValue<float>([&](float* l) { return dll::GdipGetPenMiterLimit(Native(), l); });
}
bool GdipPen::SetAlignment(gp::PenAlignment alignment) {
    return RecordStatus(dll::GdipSetPenMode(Native(), alignment));
}
gp::PenAlignment GdipPen::GetAlignment() const {
    return QueryValue<gp::PenAlignment>([&](gp::PenAlignment* a) { return dll::GdipGetPenMode(Native(), a); });
}
bool GdipPen::SetTransform(const GdipMatrix& matrix) {
    return RecordStatus(dll::GdipSetPenTransform(Native(), matrix.Native()));
}
bool GdipPen::GetTransform(GdipMatrix& target) const {
    return RecordStatus(dll::GdipGetPenTransform(Native(), target.Native()));
}
bool GdipPen::ResetTransform() { return RecordStatus(dll::GdipResetPenTransform(Native())); }
bool GdipPen::MultiplyTransform(const GdipMatrix& matrix, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipMultiplyPenTransform(Native(), matrix.Native(), order));
}
bool GdipPen::RotateTransform(float angle, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipRotatePenTransform(Native(), angle, order));
}
bool GdipPen::RotateTransformAt(float angle, const gp::PointF& centre, gp::MatrixOrder order) {
    return TransformAbout(
        centre, order, [&](float dx, float dy) { return dll::GdipTranslatePenTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipRotatePenTransform(Native(), angle, order); });
}
bool GdipPen::ScaleTransform(float sx, float sy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipScalePenTransform(Native(), sx, sy, order));
}
bool GdipPen::ScaleTransformAt(float sx, float sy, const gp::PointF& centre, gp::MatrixOrder order) {
    return TransformAbout(
        centre, order, [&](float dx, float dy) { return dll::GdipTranslatePenTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipScalePenTransform(Native(), sx, sy, order); });
}
bool GdipPen::TranslateTransform(float dx, float dy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipTranslatePenTransform(Native(), dx, dy, order));
}
gp::ARGB GdipPen::GetColor() const {
    return QueryValue<gp::ARGB>([&](gp::ARGB* c) { return dll::GdipGetPenColor(Native(), c); });
}
bool GdipPen::SetColor(gp::ARGB colour) { return RecordStatus(dll::GdipSetPenColor(Native(), colour)); }
bool GdipPen::SetBrushFill(const GdipBrush& brush) {
    return RecordStatus(dll::GdipSetPenBrushFill(Native(), brush.NativeBrush()));
}
bool GdipPen::GetBrushFill(GdipBrush& target) const {
    gp::GpBrush* brush = nullptr;
    const bool ok = RecordStatus(dll::GdipGetPenBrushFill(Native(), &brush));
    if (ok) target.Adopt(brush);
    return ok;
}
gp::PenType GdipPen::GetFillType() const {
    return QueryValue<gp::PenType>([&](gp::PenType* t) { return dll::GdipGetPenFillType(Native(), t); });
}
bool GdipPen::SetDashStyle(gp::DashStyle style) { return RecordStatus(dll::GdipSetPenDashStyle(Native(), style)); }
gp::DashStyle GdipPen::GetDashStyle() const {
    return QueryValue<gp::DashStyle>([&](gp::DashStyle* s) { return dll::GdipGetPenDashStyle(Native(), s); });
}
float GdipPen::GetDashOffset() const {
    return QueryValue<float>([&](float* o) { return dll::GdipGetPenDashOffset(Native(), o); });
}
bool GdipPen::SetDashOffset(float offset) { return RecordStatus(dll::GdipSetPenDashOffset(Native(), offset)); }
bool GdipPen::GetDashArray(std::vector<float>& dashes) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPenDashCount(Native(), &n)) || n < 0) return false;
    std::vector<float> out(static_cast<size_t>(n));
    if (n && !RecordStatus(dll::GdipGetPenDashArray(Native(), out.data(), n))) return false;
    dashes = std::move(out);
    return true;
}
bool GdipPen::SetDashArray(const std::vector<float>& dashes) {
    return RecordStatus(dll::GdipSetPenDashArray(Native(), dashes.data(), CountOf(dashes.size())));
}
bool GdipPen::SetCompoundArray(const std::vector<float>& compound) {
    return RecordStatus(dll::GdipSetPenCompoundArray(Native(), compound.data(), CountOf(compound.size())));
}
bool GdipPen::GetCompoundArray(std::vector<float>& compound) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPenCompoundCount(Native(), &n)) || n < 0) return false;
    std::vector<float> out(static_cast<size_t>(n));
    if (n && !RecordStatus(dll::GdipGetPenCompoundArray(Native(), out.data(), n))) return false;
    compound = std::move(out);
    return true;
}

// ---------------------------------------------------------------------------
// GdipFont

GdipFont::GdipFont() : GdipObject([](void* h) { return dll::GdipDeleteFont(static_cast<gp::GpFont*>(h)); }) {}

bool GdipFont::Delete() { return ReleaseHandle(); }
bool GdipFont::Create(const GdipFontFamily& family, float emSize, INT style, gp::Unit unit) {
    return CreateWith<gp::GpFont>(
        [&](gp::GpFont** h) { return dll::GdipCreateFont(family.Native(), emSize, style, unit, h); });
}
bool GdipFont::CreateDefault() {
    LOGFONTA lf{};
    if (!dll::GetObjectA(dll::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) return false;
    HDC screen = dll::GetDC(nullptr);
    const bool ok = CreateWith<gp::GpFont>(
        [&](gp::GpFont** h) { return dll::GdipCreateFontFromLogfontA(screen, &lf, h); });
    if (screen) dll::ReleaseDC(nullptr, screen);
    return ok;
}
bool GdipFont::CreateFromName(std::string_view face, float emSize, INT style, gp::Unit unit) {
    return CreateFromNameW(AnsiToWide(face), emSize, style, unit);
}
bool GdipFont::CreateFromNameW(std::wstring_view face, float emSize, INT style, gp::Unit unit) {
    Adopt(nullptr);
    GdipFontFamily family;
    if (!family.CreateFromNameW(face)) return false;
    const bool ok = CreateWith<gp::GpFont>(
        [&](gp::GpFont** h) { return dll::GdipCreateFont(family.Native(), emSize, style, unit, h); });
    const gp::GpStatus keep = GdipLastStatus;
    family.Delete();
    GdipLastStatus = keep;
    return ok;
}
bool GdipFont::CreateFromDC(HDC dc) {
    return CreateWith<gp::GpFont>([&](gp::GpFont** h) { return dll::GdipCreateFontFromDC(dc, h); });
}
bool GdipFont::CreateFromDCFont(HDC dc, HFONT font) {
    LOGFONTA lf{};
    if (font && dll::GetObjectA(font, sizeof lf, &lf))
        return CreateWith<gp::GpFont>([&](gp::GpFont** h) { return dll::GdipCreateFontFromLogfontA(dc, &lf, h); });
    return CreateFromDC(dc);
}
bool GdipFont::CreateFromLogFontA(HDC dc, const LOGFONTA* logFont) {
    if (!logFont) return CreateFromDC(dc);
    LOGFONTA lf = *logFont;
    return CreateWith<gp::GpFont>([&](gp::GpFont** h) { return dll::GdipCreateFontFromLogfontA(dc, &lf, h); });
}
bool GdipFont::CreateFromLogFontW(HDC dc, const LOGFONTW* logFont) {
    if (!logFont) return CreateFromDC(dc);
    LOGFONTW lf = *logFont;
    return CreateWith<gp::GpFont>([&](gp::GpFont** h) { return dll::GdipCreateFontFromLogfontW(dc, &lf, h); });
}
bool GdipFont::Clone(GdipFont& target) const {
    gp::GpFont* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneFont(Native(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}
bool GdipFont::GetLogFontA(const GdipGraphics& graphics, LOGFONTA& logFont) const {
    return RecordStatus(dll::GdipGetLogFontA(Native(), graphics.Native(), &logFont));
}
bool GdipFont::GetLogFontW(const GdipGraphics& graphics, LOGFONTW& logFont) const {
    return RecordStatus(dll::GdipGetLogFontW(Native(), graphics.Native(), &logFont));
}
bool GdipFont::GetFamily(GdipFontFamily& target) const {
    gp::GpFontFamily* family = nullptr;
    const bool ok = RecordStatus(dll::GdipGetFamily(Native(), &family));
    if (ok) target.Adopt(family);
    return ok;
}
INT GdipFont::GetStyle() const {
    return QueryValue<INT>([&](INT* s) { return dll::GdipGetFontStyle(Native(), s); });
}
float GdipFont::GetSize() const {
    return QueryValue<float>([&](float* s) { return dll::GdipGetFontSize(Native(), s); });
}
gp::Unit GdipFont::GetUnit() const {
    return QueryValue<gp::Unit>([&](gp::Unit* u) { return dll::GdipGetFontUnit(Native(), u); });
}
float GdipFont::GetHeight(const GdipGraphics& graphics) const {
    return QueryValue<float>([&](float* h) { return dll::GdipGetFontHeight(Native(), graphics.Native(), h); });
}
float GdipFont::GetHeightGivenDpi(float dpi) const {
    return QueryValue<float>([&](float* h) { return dll::GdipGetFontHeightGivenDPI(Native(), dpi, h); });
}

// ---------------------------------------------------------------------------
// GdipFontFamily

GdipFontFamily::GdipFontFamily()
    : GdipObject([](void* h) { return dll::GdipDeleteFontFamily(static_cast<gp::GpFontFamily*>(h)); }) {}

bool GdipFontFamily::Delete() { return ReleaseHandle(); }
bool GdipFontFamily::CreateFromName(std::string_view name, const GdipFontCollection* collection) {
    return CreateFromNameW(AnsiToWide(name), collection);
}
bool GdipFontFamily::CreateFromNameW(std::wstring_view name, const GdipFontCollection* collection) {
    const std::wstring n(name);
    return CreateWith<gp::GpFontFamily>([&](gp::GpFontFamily** h) {
        return dll::GdipCreateFontFamilyFromName(n.c_str(), collection ? collection->Native() : nullptr, h);
    });
}
bool GdipFontFamily::GenericSansSerif() {
    return CreateWith<gp::GpFontFamily>(
        [](gp::GpFontFamily** h) { return dll::GdipGetGenericFontFamilySansSerif(h); });
}
bool GdipFontFamily::GenericSerif() {
    return CreateWith<gp::GpFontFamily>([](gp::GpFontFamily** h) { return dll::GdipGetGenericFontFamilySerif(h); });
}
bool GdipFontFamily::GenericMonospace() {
    return CreateWith<gp::GpFontFamily>(
        [](gp::GpFontFamily** h) { return dll::GdipGetGenericFontFamilyMonospace(h); });
}
bool GdipFontFamily::Clone(GdipFontFamily& target) const {
    gp::GpFontFamily* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneFontFamily(Native(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}
std::string GdipFontFamily::GetFamilyName() const { return WideToAnsi(GetFamilyNameW()); }
std::wstring GdipFontFamily::GetFamilyNameW() const {
    WCHAR name[LF_FACESIZE + 1] = {};
    if (!RecordStatus(dll::GdipGetFamilyName(Native(), name, 0))) return {};
    name[LF_FACESIZE] = 0;
    return name;
}
bool GdipFontFamily::IsStyleAvailable(INT style) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsStyleAvailable(Native(), style, &v)) && v;
}
UINT16 GdipFontFamily::GetEmHeight(INT style) const {
    return QueryValue<UINT16>([&](UINT16* v) { return dll::GdipGetEmHeight(Native(), style, v); });
}
UINT16 GdipFontFamily::GetCellAscent(INT style) const {
    return QueryValue<UINT16>([&](UINT16* v) { return dll::GdipGetCellAscent(Native(), style, v); });
}
UINT16 GdipFontFamily::GetCellDescent(INT style) const {
    return QueryValue<UINT16>([&](UINT16* v) { return dll::GdipGetCellDescent(Native(), style, v); });
}
UINT16 GdipFontFamily::GetLineSpacing(INT style) const {
    return QueryValue<UINT16>([&](UINT16* v) { return dll::GdipGetLineSpacing(Native(), style, v); });
}

// ---------------------------------------------------------------------------
// GdipStringFormat

GdipStringFormat::GdipStringFormat()
    : GdipObject([](void* h) { return dll::GdipDeleteStringFormat(static_cast<gp::GpStringFormat*>(h)); }) {}

bool GdipStringFormat::Delete() { return ReleaseHandle(); }
bool GdipStringFormat::Create(INT flags, LANGID language) {
    return CreateWith<gp::GpStringFormat>(
        [&](gp::GpStringFormat** h) { return dll::GdipCreateStringFormat(flags, language, h); });
}
bool GdipStringFormat::GenericDefault() {
    return CreateWith<gp::GpStringFormat>(
        [](gp::GpStringFormat** h) { return dll::GdipStringFormatGetGenericDefault(h); });
}
bool GdipStringFormat::GenericTypographic() {
    return CreateWith<gp::GpStringFormat>(
        [](gp::GpStringFormat** h) { return dll::GdipStringFormatGetGenericTypographic(h); });
}
bool GdipStringFormat::Clone(GdipStringFormat& target) const {
    gp::GpStringFormat* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneStringFormat(Native(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}
bool GdipStringFormat::SetFormatFlags(INT flags) {
    return RecordStatus(dll::GdipSetStringFormatFlags(Native(), flags));
}
INT GdipStringFormat::GetFormatFlags() const {
    return QueryValue<INT>([&](INT* f) { return dll::GdipGetStringFormatFlags(Native(), f); });
}
bool GdipStringFormat::SetAlignment(gp::StringAlignment alignment) {
    return RecordStatus(dll::GdipSetStringFormatAlign(Native(), alignment));
}
gp::StringAlignment GdipStringFormat::GetAlignment() const {
    return QueryValue<gp::StringAlignment>(
        [&](gp::StringAlignment* a) { return dll::GdipGetStringFormatAlign(Native(), a); });
}
bool GdipStringFormat::SetLineAlignment(gp::StringAlignment alignment) {
    return RecordStatus(dll::GdipSetStringFormatLineAlign(Native(), alignment));
}
gp::StringAlignment GdipStringFormat::GetLineAlignment() const {
    return QueryValue<gp::StringAlignment>(
        [&](gp::StringAlignment* a) { return dll::GdipGetStringFormatLineAlign(Native(), a); });
}
bool GdipStringFormat::SetTrimming(gp::StringTrimming trimming) {
    return RecordStatus(dll::GdipSetStringFormatTrimming(Native(), trimming));
}
gp::StringTrimming GdipStringFormat::GetTrimming() const {
    return QueryValue<gp::StringTrimming>(
        [&](gp::StringTrimming* t) { return dll::GdipGetStringFormatTrimming(Native(), t); });
}
bool GdipStringFormat::SetHotkeyPrefix(INT prefix) {
    return RecordStatus(dll::GdipSetStringFormatHotkeyPrefix(Native(), prefix));
}
INT GdipStringFormat::GetHotkeyPrefix() const {
    return QueryValue<INT>([&](INT* p) { return dll::GdipGetStringFormatHotkeyPrefix(Native(), p); });
}
bool GdipStringFormat::SetTabStops(float firstTabOffset, const std::vector<float>& tabStops) {
    return RecordStatus(
        dll::GdipSetStringFormatTabStops(Native(), firstTabOffset, CountOf(tabStops.size()), tabStops.data()));
}
bool GdipStringFormat::GetTabStops(float& firstTabOffset, std::vector<float>& tabStops) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetStringFormatTabStopCount(Native(), &n)) || n < 0) return false;
    std::vector<float> out(static_cast<size_t>(n));
    float first = 0;
    if (!RecordStatus(dll::GdipGetStringFormatTabStops(Native(), n, &first, out.data()))) return false;
    firstTabOffset = first;
    tabStops = std::move(out);
    return true;
}
bool GdipStringFormat::SetDigitSubstitution(gp::StringDigitSubstitute method, LANGID language) {
    return RecordStatus(dll::GdipSetStringFormatDigitSubstitution(Native(), language, method));
}
bool GdipStringFormat::GetDigitSubstitution(LANGID& language, gp::StringDigitSubstitute& method) const {
    return RecordStatus(dll::GdipGetStringFormatDigitSubstitution(Native(), &language, &method));
}
bool GdipStringFormat::SetMeasurableCharacterRanges(const std::vector<gp::CharacterRange>& ranges) {
    return RecordStatus(
        dll::GdipSetStringFormatMeasurableCharacterRanges(Native(), CountOf(ranges.size()), ranges.data()));
}
INT GdipStringFormat::GetMeasurableCharacterRangeCount() const {
    return QueryValue<INT>(
        [&](INT* n) { return dll::GdipGetStringFormatMeasurableCharacterRangeCount(Native(), n); });
}

// ---------------------------------------------------------------------------
// GdipRegion

GdipRegion::GdipRegion()
    : GdipObject([](void* h) { return dll::GdipDeleteRegion(static_cast<gp::GpRegion*>(h)); }) {}

bool GdipRegion::Delete() { return ReleaseHandle(); }
bool GdipRegion::Create() {
    return CreateWith<gp::GpRegion>([](gp::GpRegion** h) { return dll::GdipCreateRegion(h); });
}
bool GdipRegion::CreateFromRect(const gp::RectF& rect) {
    return CreateWith<gp::GpRegion>([&](gp::GpRegion** h) { return dll::GdipCreateRegionRect(&rect, h); });
}
bool GdipRegion::CreateFromRectI(const gp::Rect& rect) {
    return CreateWith<gp::GpRegion>([&](gp::GpRegion** h) { return dll::GdipCreateRegionRectI(&rect, h); });
}
bool GdipRegion::CreateFromPath(const GdipPath& path) {
    return CreateWith<gp::GpRegion>([&](gp::GpRegion** h) { return dll::GdipCreateRegionPath(path.Native(), h); });
}
bool GdipRegion::CreateFromHrgn(HRGN region) {
    return CreateWith<gp::GpRegion>([&](gp::GpRegion** h) { return dll::GdipCreateRegionHrgn(region, h); });
}
bool GdipRegion::CreateFromRegionData(const std::vector<BYTE>& data) {
    return CreateWith<gp::GpRegion>([&](gp::GpRegion** h) {
        return dll::GdipCreateRegionRgnData(data.data(), CountOf(data.size()), h);
    });
}
bool GdipRegion::Clone(GdipRegion& target) const {
    gp::GpRegion* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneRegion(Native(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}
bool GdipRegion::MakeInfinite() { return RecordStatus(dll::GdipSetInfinite(Native())); }
bool GdipRegion::MakeEmpty() { return RecordStatus(dll::GdipSetEmpty(Native())); }
bool GdipRegion::CombineRect(const gp::RectF& rect, gp::CombineMode mode) {
    return RecordStatus(dll::GdipCombineRegionRect(Native(), &rect, mode));
}
bool GdipRegion::CombineRectI(const gp::Rect& rect, gp::CombineMode mode) {
    return RecordStatus(dll::GdipCombineRegionRectI(Native(), &rect, mode));
}
bool GdipRegion::CombineRegion(const GdipRegion& other, gp::CombineMode mode) {
    return RecordStatus(dll::GdipCombineRegionRegion(Native(), other.Native(), mode));
}
bool GdipRegion::CombinePath(const GdipPath& path, gp::CombineMode mode) {
    return RecordStatus(dll::GdipCombineRegionPath(Native(), path.Native(), mode));
}
bool GdipRegion::Translate(float dx, float dy) { return RecordStatus(dll::GdipTranslateRegion(Native(), dx, dy)); }
bool GdipRegion::TranslateI(INT dx, INT dy) { return RecordStatus(dll::GdipTranslateRegionI(Native(), dx, dy)); }
bool GdipRegion::Transform(const GdipMatrix& matrix) {
    return RecordStatus(dll::GdipTransformRegion(Native(), matrix.Native()));
}
gp::RectF GdipRegion::GetBounds(const GdipGraphics& graphics) const {
    gp::RectF r;
    if (!RecordStatus(dll::GdipGetRegionBounds(Native(), graphics.Native(), &r))) r = gp::RectF();
    return r;
}
gp::Rect GdipRegion::GetBoundsI(const GdipGraphics& graphics) const {
    gp::Rect r;
    if (!RecordStatus(dll::GdipGetRegionBoundsI(Native(), graphics.Native(), &r))) r = gp::Rect();
    return r;
}
UINT GdipRegion::GetDataSize() const {
    return QueryValue<UINT>([&](UINT* n) { return dll::GdipGetRegionDataSize(Native(), n); });
}
bool GdipRegion::GetData(std::vector<BYTE>& data) const {
    UINT n = 0;
    if (!RecordStatus(dll::GdipGetRegionDataSize(Native(), &n))) return false;
    std::vector<BYTE> out(n);
    UINT filled = 0;
    if (!RecordStatus(dll::GdipGetRegionData(Native(), out.data(), n, &filled))) return false;
    if (filled < n) out.resize(filled);
    data = std::move(out);
    return true;
}
HRGN GdipRegion::GetHRgn(const GdipGraphics& graphics) const {
    HRGN r = nullptr;
    if (!RecordStatus(dll::GdipGetRegionHRgn(Native(), graphics.Native(), &r))) r = nullptr;
    return r;
}
bool GdipRegion::IsEmpty(const GdipGraphics& graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsEmptyRegion(Native(), graphics.Native(), &v)) && v;
}
bool GdipRegion::IsInfinite(const GdipGraphics& graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsInfiniteRegion(Native(), graphics.Native(), &v)) && v;
}
bool GdipRegion::IsEqual(const GdipRegion& other, const GdipGraphics& graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsEqualRegion(Native(), other.Native(), graphics.Native(), &v)) && v;
}
bool GdipRegion::IsVisiblePoint(float x, float y, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisibleRegionPoint(Native(), x, y, GraphicsOf(graphics), &v)) && v;
}
bool GdipRegion::IsVisiblePointI(INT x, INT y, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisibleRegionPointI(Native(), x, y, GraphicsOf(graphics), &v)) && v;
}
bool GdipRegion::IsVisibleRect(const gp::RectF& rect, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisibleRegionRect(Native(), rect.X, rect.Y, rect.Width, rect.Height,
                                                     GraphicsOf(graphics), &v)) &&
           v;
}
bool GdipRegion::IsVisibleRectI(const gp::Rect& rect, const GdipGraphics* graphics) const {
    BOOL v = FALSE;
    return RecordStatus(dll::GdipIsVisibleRegionRectI(Native(), rect.X, rect.Y, rect.Width, rect.Height,
                                                      GraphicsOf(graphics), &v)) &&
           v;
}
UINT GdipRegion::GetScansCount(const GdipMatrix& matrix) const {
    return QueryValue<UINT>([&](UINT* n) { return dll::GdipGetRegionScansCount(Native(), n, matrix.Native()); });
}
bool GdipRegion::GetScans(const GdipMatrix& matrix, std::vector<gp::RectF>& rects) const {
    UINT n = 0;
    if (!RecordStatus(dll::GdipGetRegionScansCount(Native(), &n, matrix.Native()))) return false;
    std::vector<gp::RectF> out(n);
    INT got = static_cast<INT>(n);
    if (n && !RecordStatus(dll::GdipGetRegionScans(Native(), out.data(), &got, matrix.Native()))) return false;
    if (got >= 0 && static_cast<UINT>(got) < n) out.resize(static_cast<size_t>(got));
    rects = std::move(out);
    return true;
}
bool GdipRegion::GetScansI(const GdipMatrix& matrix, std::vector<gp::Rect>& rects) const {
    UINT n = 0;
    if (!RecordStatus(dll::GdipGetRegionScansCount(Native(), &n, matrix.Native()))) return false;
    std::vector<gp::Rect> out(n);
    INT got = static_cast<INT>(n);
    if (n && !RecordStatus(dll::GdipGetRegionScansI(Native(), out.data(), &got, matrix.Native()))) return false;
    if (got >= 0 && static_cast<UINT>(got) < n) out.resize(static_cast<size_t>(got));
    rects = std::move(out);
    return true;
}

// ---------------------------------------------------------------------------
// GdipFontCollection

GdipFontCollection::GdipFontCollection() : GdipObject(nullptr) {}

bool GdipFontCollection::CreateInstalled() {
    gp::GpFontCollection* c = nullptr;
    const bool ok = RecordStatus(dll::GdipNewInstalledFontCollection(&c));
    handle_ = ok ? c : nullptr;
    return ok;
}

INT GdipFontCollection::GetFamilyCount() const {
    return QueryValue<INT>([&](INT* n) { return dll::GdipGetFontCollectionFamilyCount(Native(), n); });
}

INT GdipFontCollection::GetFamilyList(INT count, std::vector<GdipFontFamily>& families) const {
    if (count < 1) {
        GdipLastStatus = gp::InvalidParameter;
        return 0;
    }
    std::vector<gp::GpFontFamily*> list(static_cast<size_t>(count), nullptr);
    INT found = 0;
    if (!RecordStatus(dll::GdipGetFontCollectionFamilyList(Native(), count, list.data(), &found))) return 0;
    found = std::clamp(found, 0, count);
    std::vector<GdipFontFamily> out(static_cast<size_t>(count));
    // The listed families belong to the collection: each wrapper gets its own
    // copy, so deleting a wrapper can never release the collection's family.
    const gp::GpStatus listed = GdipLastStatus;
    for (INT i = 0; i < found; ++i) {
        gp::GpFontFamily* copy = nullptr;
        if (list[static_cast<size_t>(i)] && dll::GdipCloneFontFamily(list[static_cast<size_t>(i)], &copy) == gp::Ok)
            out[static_cast<size_t>(i)].Adopt(copy);
    }
    GdipLastStatus = listed;
    families = std::move(out);
    return found;
}

}  // namespace vostrel
