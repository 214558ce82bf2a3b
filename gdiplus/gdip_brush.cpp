// Brush wrappers.
#include "gdip_brush.h"

#include "gdip_shapes.h"

namespace vostrel {

namespace {
INT CountOf(size_t n) { return static_cast<INT>(std::min<size_t>(n, INT_MAX)); }
}  // namespace

GdipBrush::GdipBrush()
    : GdipObject([](void* h) { return dll::GdipDeleteBrush(static_cast<gp::GpBrush*>(h)); }) {}

bool GdipBrush::Delete() { return ReleaseHandle(); }

bool GdipBrush::Clone(GdipBrush& target) const {
    gp::GpBrush* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneBrush(NativeBrush(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}

gp::BrushType GdipBrush::GetBrushType() const {
    gp::BrushType t{};
    if (!RecordStatus(dll::GdipGetBrushType(NativeBrush(), &t))) t = gp::BrushType{};
    return t;
}

// ---------------------------------------------------------------------------

bool GdipSolidBrush::Create(gp::ARGB colour) {
    return CreateWith<gp::GpSolidFill>([&](gp::GpSolidFill** h) { return dll::GdipCreateSolidFill(colour, h); });
}
bool GdipSolidBrush::SetColor(gp::ARGB colour) { return RecordStatus(dll::GdipSetSolidFillColor(Native(), colour)); }
gp::ARGB GdipSolidBrush::GetColor() const {
    gp::ARGB c = 0;
    if (!RecordStatus(dll::GdipGetSolidFillColor(Native(), &c))) c = 0;
    return c;
}

// ---------------------------------------------------------------------------

bool GdipLinearGradientBrush::Create(const gp::PointF& p1, const gp::PointF& p2, gp::ARGB c1, gp::ARGB c2) {
    return CreateWith<gp::GpLineGradient>(
        [&](gp::GpLineGradient** h) { return dll::GdipCreateLineBrush(&p1, &p2, c1, c2, gp::WrapModeTile, h); });
}
bool GdipLinearGradientBrush::CreateI(const gp::Point& p1, const gp::Point& p2, gp::ARGB c1, gp::ARGB c2) {
    return CreateWith<gp::GpLineGradient>(
        [&](gp::GpLineGradient** h) { return dll::GdipCreateLineBrushI(&p1, &p2, c1, c2, gp::WrapModeTile, h); });
}
bool GdipLinearGradientBrush::CreateFromRect(const gp::RectF& rect, gp::ARGB c1, gp::ARGB c2,
                                             gp::LinearGradientMode mode) {
    return CreateWith<gp::GpLineGradient>([&](gp::GpLineGradient** h) {
        return dll::GdipCreateLineBrushFromRect(&rect, c1, c2, mode, gp::WrapModeTile, h);
    });
}
bool GdipLinearGradientBrush::CreateFromRectI(const gp::Rect& rect, gp::ARGB c1, gp::ARGB c2,
                                              gp::LinearGradientMode mode) {
    return CreateWith<gp::GpLineGradient>([&](gp::GpLineGradient** h) {
        return dll::GdipCreateLineBrushFromRectI(&rect, c1, c2, mode, gp::WrapModeTile, h);
    });
}
bool GdipLinearGradientBrush::CreateFromRectWithAngle(const gp::RectF& rect, gp::ARGB c1, gp::ARGB c2,
                                                      float angle, bool isAngleScalable) {
    return CreateWith<gp::GpLineGradient>([&](gp::GpLineGradient** h) {
        return dll::GdipCreateLineBrushFromRectWithAngle(&rect, c1, c2, angle, isAngleScalable,
                                                         gp::WrapModeTile, h);
    });
}
bool GdipLinearGradientBrush::CreateFromRectWithAngleI(const gp::Rect& rect, gp::ARGB c1, gp::ARGB c2,
                                                       float angle, bool isAngleScalable) {
    return CreateWith<gp::GpLineGradient>([&](gp::GpLineGradient** h) {
        return dll::GdipCreateLineBrushFromRectWithAngleI(&rect, c1, c2, angle, isAngleScalable,
                                                          gp::WrapModeTile, h);
    });
}
bool GdipLinearGradientBrush::GetColors(gp::ARGB& c1, gp::ARGB& c2) const {
    gp::ARGB colours[2] = {};
    if (!RecordStatus(dll::GdipGetLineColors(Native(), colours))) return false;
    c1 = colours[0];
    c2 = colours[1];
    return true;
}
bool GdipLinearGradientBrush::SetColors(gp::ARGB c1, gp::ARGB c2) {
    return RecordStatus(dll::GdipSetLineColors(Native(), c1, c2));
}
gp::RectF GdipLinearGradientBrush::GetRectangle() const {
    gp::RectF r;
    if (!RecordStatus(dll::GdipGetLineRect(Native(), &r))) r = gp::RectF();
    return r;
}
gp::Rect GdipLinearGradientBrush::GetRectangleI() const {
    gp::Rect r;
    if (!RecordStatus(dll::GdipGetLineRectI(Native(), &r))) r = gp::Rect();
    return r;
}
bool GdipLinearGradientBrush::SetGammaCorrection(bool use) {
    return RecordStatus(dll::GdipSetLineGammaCorrection(Native(), use));
}
bool GdipLinearGradientBrush::GetGammaCorrection() const {
    BOOL use = FALSE;
    return RecordStatus(dll::GdipGetLineGammaCorrection(Native(), &use)) && use;
}
bool GdipLinearGradientBrush::SetBlend(const std::vector<float>& factors, const std::vector<float>& positions) {
    if (factors.size() != positions.size()) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(dll::GdipSetLineBlend(Native(), factors.data(), positions.data(), CountOf(factors.size())));
}
INT GdipLinearGradientBrush::GetBlendCount() const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetLineBlendCount(Native(), &n))) n = 0;
    return n;
}
INT GdipLinearGradientBrush::GetBlend(std::vector<float>& factors, std::vector<float>& positions) const {
    return ReadPairs(
        factors, positions, [&](INT* n) { return dll::GdipGetLineBlendCount(Native(), n); },
        [&](float* f, float* p, INT n) { return dll::GdipGetLineBlend(Native(), f, p, n); });
}
bool GdipLinearGradientBrush::SetPresetBlend(const std::vector<gp::ARGB>& colours,
                                             const std::vector<float>& positions) {
    if (colours.size() != positions.size()) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(
        dll::GdipSetLinePresetBlend(Native(), colours.data(), positions.data(), CountOf(colours.size())));
}
INT GdipLinearGradientBrush::GetPresetBlendCount() const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetLinePresetBlendCount(Native(), &n))) n = 0;
    return n;
}
INT GdipLinearGradientBrush::GetPresetBlend(std::vector<gp::ARGB>& colours, std::vector<float>& positions) const {
    return ReadPairs(
        colours, positions, [&](INT* n) { return dll::GdipGetLinePresetBlendCount(Native(), n); },
        [&](gp::ARGB* c, float* p, INT n) { return dll::GdipGetLinePresetBlend(Native(), c, p, n); });
}
bool GdipLinearGradientBrush::SetSigmaBlend(float focus, float scale) {
    return RecordStatus(dll::GdipSetLineSigmaBlend(Native(), focus, scale));
}
bool GdipLinearGradientBrush::SetLinearBlend(float focus, float scale) {
    return RecordStatus(dll::GdipSetLineLinearBlend(Native(), focus, scale));
}
gp::WrapMode GdipLinearGradientBrush::GetWrapMode() const {
    gp::WrapMode m{};
    if (!RecordStatus(dll::GdipGetLineWrapMode(Native(), &m))) m = gp::WrapMode{};
    return m;
}
bool GdipLinearGradientBrush::SetWrapMode(gp::WrapMode mode) {
    return RecordStatus(dll::GdipSetLineWrapMode(Native(), mode));
}
bool GdipLinearGradientBrush::GetTransform(GdipMatrix& target) const {
    return RecordStatus(dll::GdipGetLineTransform(Native(), target.Native()));
}
bool GdipLinearGradientBrush::SetTransform(const GdipMatrix& matrix) {
    return RecordStatus(dll::GdipSetLineTransform(Native(), matrix.Native()));
}
bool GdipLinearGradientBrush::ResetTransform() { return RecordStatus(dll::GdipResetLineTransform(Native())); }
bool GdipLinearGradientBrush::MultiplyTransform(const GdipMatrix& matrix, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipMultiplyLineTransform(Native(), matrix.Native(), order));
}
bool GdipLinearGradientBrush::TranslateTransform(float dx, float dy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipTranslateLineTransform(Native(), dx, dy, order));
}
bool GdipLinearGradientBrush::ScaleTransform(float sx, float sy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipScaleLineTransform(Native(), sx, sy, order));
}
bool GdipLinearGradientBrush::ScaleTransformAt(float sx, float sy, const gp::PointF& centre,
                                               gp::MatrixOrder order) {
    return TransformAbout(
        centre, order, [&](float dx, float dy) { return dll::GdipTranslateLineTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipScaleLineTransform(Native(), sx, sy, order); });
}
bool GdipLinearGradientBrush::RotateTransform(float angle, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipRotateLineTransform(Native(), angle, order));
}
bool GdipLinearGradientBrush::RotateTransformAt(float angle, const gp::PointF& centre, gp::MatrixOrder order) {
    return TransformAbout(
        centre, order, [&](float dx, float dy) { return dll::GdipTranslateLineTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipRotateLineTransform(Native(), angle, order); });
}

// ---------------------------------------------------------------------------

bool GdipPathGradientBrush::Create(const std::vector<gp::PointF>& points, gp::WrapMode mode) {
    return CreateWith<gp::GpPathGradient>([&](gp::GpPathGradient** h) {
        return dll::GdipCreatePathGradient(points.data(), CountOf(points.size()), mode, h);
    });
}
bool GdipPathGradientBrush::CreateI(const std::vector<gp::Point>& points, gp::WrapMode mode) {
    return CreateWith<gp::GpPathGradient>([&](gp::GpPathGradient** h) {
        return dll::GdipCreatePathGradientI(points.data(), CountOf(points.size()), mode, h);
    });
}
bool GdipPathGradientBrush::CreateFromPath(const GdipPath& path) {
    return CreateWith<gp::GpPathGradient>(
        [&](gp::GpPathGradient** h) { return dll::GdipCreatePathGradientFromPath(path.Native(), h); });
}
gp::ARGB GdipPathGradientBrush::GetCenterColor() const {
    gp::ARGB c = 0;
    if (!RecordStatus(dll::GdipGetPathGradientCenterColor(Native(), &c))) c = 0;
    return c;
}
bool GdipPathGradientBrush::SetCenterColor(gp::ARGB colour) {
    return RecordStatus(dll::GdipSetPathGradientCenterColor(Native(), colour));
}
INT GdipPathGradientBrush::GetPointCount() const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPathGradientPointCount(Native(), &n))) n = 0;
    return n;
}
INT GdipPathGradientBrush::GetSurroundColorCount() const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPathGradientSurroundColorCount(Native(), &n))) n = 0;
    return n;
}
bool GdipPathGradientBrush::GetSurroundColors(std::vector<gp::ARGB>& colours, INT& count) const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPathGradientSurroundColorCount(Native(), &n)) || n < 0) return false;
    std::vector<gp::ARGB> out(static_cast<size_t>(n));
    INT written = n;
    if (!RecordStatus(dll::GdipGetPathGradientSurroundColorsWithCount(Native(), out.data(), &written)))
        return false;
    if (written >= 0 && written < n) out.resize(static_cast<size_t>(written));
    colours = std::move(out);
    count = static_cast<INT>(colours.size());
    return true;
}
bool GdipPathGradientBrush::SetSurroundColors(const std::vector<gp::ARGB>& colours, std::optional<INT> count,
                                              INT* used) {
    const INT n = count.value_or(CountOf(colours.size()));
    if (n < 0 || static_cast<size_t>(n) > colours.size()) return RecordStatus(gp::InvalidParameter);
    INT c = n;
    const bool ok = RecordStatus(dll::GdipSetPathGradientSurroundColorsWithCount(Native(), colours.data(), &c));
    if (used) *used = c;
    return ok;
}
bool GdipPathGradientBrush::GetPath(GdipPath& target) const {
    return RecordStatus(dll::GdipGetPathGradientPath(Native(), target.Native()));
}
bool GdipPathGradientBrush::SetPath(const GdipPath& path) {
    return RecordStatus(dll::GdipSetPathGradientPath(Native(), path.Native()));
}
gp::PointF GdipPathGradientBrush::GetCenterPoint() const {
    gp::PointF p;
    if (!RecordStatus(dll::GdipGetPathGradientCenterPoint(Native(), &p))) p = gp::PointF();
    return p;
}
gp::Point GdipPathGradientBrush::GetCenterPointI() const {
    gp::Point p;
    if (!RecordStatus(dll::GdipGetPathGradientCenterPointI(Native(), &p))) p = gp::Point();
    return p;
}
bool GdipPathGradientBrush::SetCenterPoint(const gp::PointF& point) {
    gp::PointF p = point;
    return RecordStatus(dll::GdipSetPathGradientCenterPoint(Native(), &p));
}
bool GdipPathGradientBrush::SetCenterPointI(const gp::Point& point) {
    gp::Point p = point;
    return RecordStatus(dll::GdipSetPathGradientCenterPointI(Native(), &p));
}
bool GdipPathGradientBrush::GetRectangle(gp::RectF& rect) const {
    return RecordStatus(dll::GdipGetPathGradientRect(Native(), &rect));
}
bool GdipPathGradientBrush::GetRectangleI(gp::Rect& rect) const {
    return RecordStatus(dll::GdipGetPathGradientRectI(Native(), &rect));
}
bool GdipPathGradientBrush::SetGammaCorrection(bool use) {
    return RecordStatus(dll::GdipSetPathGradientGammaCorrection(Native(), use));
}
bool GdipPathGradientBrush::GetGammaCorrection() const {
    BOOL use = FALSE;
    return RecordStatus(dll::GdipGetPathGradientGammaCorrection(Native(), &use)) && use;
}
INT GdipPathGradientBrush::GetBlendCount() const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPathGradientBlendCount(Native(), &n))) n = 0;
    return n;
}
bool GdipPathGradientBrush::SetBlend(const std::vector<float>& factors, const std::vector<float>& positions) {
    if (factors.size() != positions.size()) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(
        dll::GdipSetPathGradientBlend(Native(), factors.data(), positions.data(), CountOf(factors.size())));
}
INT GdipPathGradientBrush::GetBlend(std::vector<float>& factors, std::vector<float>& positions) const {
    return ReadPairs(
        factors, positions, [&](INT* n) { return dll::GdipGetPathGradientBlendCount(Native(), n); },
        [&](float* f, float* p, INT n) { return dll::GdipGetPathGradientBlend(Native(), f, p, n); });
}
INT GdipPathGradientBrush::GetPresetBlendCount() const {
    INT n = 0;
    if (!RecordStatus(dll::GdipGetPathGradientPresetBlendCount(Native(), &n))) n = 0;
    return n;
}
bool GdipPathGradientBrush::SetPresetBlend(const std::vector<gp::ARGB>& colours,
                                           const std::vector<float>& positions) {
    if (colours.size() != positions.size()) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(
        dll::GdipSetPathGradientPresetBlend(Native(), colours.data(), positions.data(), CountOf(colours.size())));
}
INT GdipPathGradientBrush::GetPresetBlend(std::vector<gp::ARGB>& colours, std::vector<float>& positions) const {
    return ReadPairs(
        colours, positions, [&](INT* n) { return dll::GdipGetPathGradientPresetBlendCount(Native(), n); },
        [&](gp::ARGB* c, float* p, INT n) { return dll::GdipGetPathGradientPresetBlend(Native(), c, p, n); });
}
bool GdipPathGradientBrush::SetSigmaBlend(float focus, float scale) {
    return RecordStatus(dll::GdipSetPathGradientSigmaBlend(Native(), focus, scale));
}
bool GdipPathGradientBrush::SetLinearBlend(float focus, float scale) {
    return RecordStatus(dll::GdipSetPathGradientLinearBlend(Native(), focus, scale));
}
bool GdipPathGradientBrush::GetFocusScales(float& x, float& y) const {
    return RecordStatus(dll::GdipGetPathGradientFocusScales(Native(), &x, &y));
}
bool GdipPathGradientBrush::SetFocusScales(float x, float y) {
    return RecordStatus(dll::GdipSetPathGradientFocusScales(Native(), x, y));
}
gp::WrapMode GdipPathGradientBrush::GetWrapMode() const {
    gp::WrapMode m{};
    if (!RecordStatus(dll::GdipGetPathGradientWrapMode(Native(), &m))) m = gp::WrapMode{};
    return m;
}
bool GdipPathGradientBrush::SetWrapMode(gp::WrapMode mode) {
    return RecordStatus(dll::GdipSetPathGradientWrapMode(Native(), mode));
}
bool GdipPathGradientBrush::GetTransform(GdipMatrix& target) const {
    return RecordStatus(dll::GdipGetPathGradientTransform(Native(), target.Native()));
}
bool GdipPathGradientBrush::SetTransform(const GdipMatrix& matrix) {
    return RecordStatus(dll::GdipSetPathGradientTransform(Native(), matrix.Native()));
}
bool GdipPathGradientBrush::ResetTransform() { return RecordStatus(dll::GdipResetPathGradientTransform(Native())); }
bool GdipPathGradientBrush::MultiplyTransform(const GdipMatrix& matrix, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipMultiplyPathGradientTransform(Native(), matrix.Native(), order));
}
bool GdipPathGradientBrush::TranslateTransform(float dx, float dy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipTranslatePathGradientTransform(Native(), dx, dy, order));
}
bool GdipPathGradientBrush::ScaleTransform(float sx, float sy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipScalePathGradientTransform(Native(), sx, sy, order));
}
bool GdipPathGradientBrush::ScaleTransformAt(float sx, float sy, const gp::PointF& centre, gp::MatrixOrder order) {
    return TransformAbout(
        centre, order,
        [&](float dx, float dy) { return dll::GdipTranslatePathGradientTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipScalePathGradientTransform(Native(), sx, sy, order); });
}
bool GdipPathGradientBrush::RotateTransform(float angle, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipRotatePathGradientTransform(Native(), angle, order));
}
bool GdipPathGradientBrush::RotateTransformAt(float angle, const gp::PointF& centre, gp::MatrixOrder order) {
    return TransformAbout(
        centre, order,
        [&](float dx, float dy) { return dll::GdipTranslatePathGradientTransform(Native(), dx, dy, order); },
        [&] { return dll::GdipRotatePathGradientTransform(Native(), angle, order); });
}

}  // namespace vostrel
