// Brush wrappers: solid, linear gradient and path gradient.
#pragma once

#include "gdip_object.h"

#include <vector>

namespace vostrel {

class GdipPath;

// The brush level shared by the three brush classes (GpBrush).
class GdipBrush : public GdipObject {
public:
    [[nodiscard]] gp::GpBrush* NativeBrush() const noexcept { return static_cast<gp::GpBrush*>(handle_); }
    bool Delete();                                // 8
    bool Clone(GdipBrush& target) const;          // 9
    [[nodiscard]] gp::BrushType GetBrushType() const;  // 10

protected:
    GdipBrush();
    GdipBrush(GdipBrush&&) noexcept = default;
    GdipBrush& operator=(GdipBrush&&) noexcept = default;
};

class GdipSolidBrush : public GdipBrush {
public:
    GdipSolidBrush() = default;
    GdipSolidBrush(GdipSolidBrush&&) noexcept = default;
    GdipSolidBrush& operator=(GdipSolidBrush&&) noexcept = default;
    [[nodiscard]] gp::GpSolidFill* Native() const noexcept { return static_cast<gp::GpSolidFill*>(handle_); }

    bool Create(gp::ARGB colour);            // 11
    bool SetColor(gp::ARGB colour);          // 12
    [[nodiscard]] gp::ARGB GetColor() const;  // 13
};

class GdipLinearGradientBrush : public GdipBrush {
public:
    GdipLinearGradientBrush() = default;
    GdipLinearGradientBrush(GdipLinearGradientBrush&&) noexcept = default;
    GdipLinearGradientBrush& operator=(GdipLinearGradientBrush&&) noexcept = default;
    [[nodiscard]] gp::GpLineGradient* Native() const noexcept { return static_cast<gp::GpLineGradient*>(handle_); }

    // Every create uses WrapModeTile.
    bool Create(const gp::PointF& p1, const gp::PointF& p2, gp::ARGB c1, gp::ARGB c2);   // 11
    bool CreateI(const gp::Point& p1, const gp::Point& p2, gp::ARGB c1, gp::ARGB c2);    // 12
    bool CreateFromRect(const gp::RectF& rect, gp::ARGB c1, gp::ARGB c2, gp::LinearGradientMode mode);  // 13
    bool CreateFromRectI(const gp::Rect& rect, gp::ARGB c1, gp::ARGB c2, gp::LinearGradientMode mode);  // 14
    bool CreateFromRectWithAngle(const gp::RectF& rect, gp::ARGB c1, gp::ARGB c2, float angle,
                                 bool isAngleScalable);  // 15
    bool CreateFromRectWithAngleI(const gp::Rect& rect, gp::ARGB c1, gp::ARGB c2, float angle,
                                  bool isAngleScalable);  // 16
    bool GetColors(gp::ARGB& c1, gp::ARGB& c2) const;     // 17
    bool SetColors(gp::ARGB c1, gp::ARGB c2);             // 18
    [[nodiscard]] gp::RectF GetRectangle() const;         // 19
    [[nodiscard]] gp::Rect GetRectangleI() const;         // 20
    bool SetGammaCorrection(bool use);                    // 21
    [[nodiscard]] bool GetGammaCorrection() const;        // 22
    // factors and positions must have the same size.
    bool SetBlend(const std::vector<float>& factors, const std::vector<float>& positions);  // 23
    [[nodiscard]] INT GetBlendCount() const;              // 24
    INT GetBlend(std::vector<float>& factors, std::vector<float>& positions) const;  // 25
    // colours and positions must have the same size.
    bool SetPresetBlend(const std::vector<gp::ARGB>& colours, const std::vector<float>& positions);  // 26
    [[nodiscard]] INT GetPresetBlendCount() const;        // 27
    INT GetPresetBlend(std::vector<gp::ARGB>& colours, std::vector<float>& positions) const;  // 28
    bool SetSigmaBlend(float focus, float scale);         // 29
    bool SetLinearBlend(float focus, float scale);        // 30
    [[nodiscard]] gp::WrapMode GetWrapMode() const;       // 31
    bool SetWrapMode(gp::WrapMode mode);                  // 32
    bool GetTransform(GdipMatrix& target) const;          // 33
    bool SetTransform(const GdipMatrix& matrix);          // 34
    bool ResetTransform();                                // 35
    bool MultiplyTransform(const GdipMatrix& matrix, gp::MatrixOrder order = gp::MatrixOrderPrepend);  // 36
    bool TranslateTransform(float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend);       // 37
    bool ScaleTransform(float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend);           // 38
    bool ScaleTransformAt(float sx, float sy, const gp::PointF& centre,
                          gp::MatrixOrder order = gp::MatrixOrderPrepend);                             // 39
    bool RotateTransform(float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend);                 // 40
    bool RotateTransformAt(float angle, const gp::PointF& centre,
                           gp::MatrixOrder order = gp::MatrixOrderPrepend);                            // 41
};

class GdipPathGradientBrush : public GdipBrush {
public:
    GdipPathGradientBrush() = default;
    GdipPathGradientBrush(GdipPathGradientBrush&&) noexcept = default;
    GdipPathGradientBrush& operator=(GdipPathGradientBrush&&) noexcept = default;
    [[nodiscard]] gp::GpPathGradient* Native() const noexcept { return static_cast<gp::GpPathGradient*>(handle_); }

    bool Create(const std::vector<gp::PointF>& points, gp::WrapMode mode = gp::WrapModeClamp);  // 11
    bool CreateI(const std::vector<gp::Point>& points, gp::WrapMode mode = gp::WrapModeClamp);  // 12
    bool CreateFromPath(const GdipPath& path);            // 13
    [[nodiscard]] gp::ARGB GetCenterColor() const;        // 14
    bool SetCenterColor(gp::ARGB colour);                 // 15
    [[nodiscard]] INT GetPointCount() const;              // 16
    [[nodiscard]] INT GetSurroundColorCount() const;      // 17
    // Resizes colours to the surround colour count first; count receives how
    // many GDI+ wrote.
    bool GetSurroundColors(std::vector<gp::ARGB>& colours, INT& count) const;  // 18
    // count defaults to colours.size(); a larger count is InvalidParameter.
    // On return *count (when given) holds how many GDI+ used.
    bool SetSurroundColors(const std::vector<gp::ARGB>& colours, std::optional<INT> count = std::nullopt,
                           INT* used = nullptr);          // 19
    bool GetPath(GdipPath& target) const;                 // 20
    bool SetPath(const GdipPath& path);                   // 21
    [[nodiscard]] gp::PointF GetCenterPoint() const;      // 22
    [[nodiscard]] gp::Point GetCenterPointI() const;      // 23
    bool SetCenterPoint(const gp::PointF& point);         // 24
    bool SetCenterPointI(const gp::Point& point);         // 25
    bool GetRectangle(gp::RectF& rect) const;             // 26
    bool GetRectangleI(gp::Rect& rect) const;             // 27
    bool SetGammaCorrection(bool use);                    // 28
    [[nodiscard]] bool GetGammaCorrection() const;        // 29
    [[nodiscard]] INT GetBlendCount() const;              // 30
    bool SetBlend(const std::vector<float>& factors, const std::vector<float>& positions);  // 31
    INT GetBlend(std::vector<float>& factors, std::vector<float>& positions) const;        // 32
    [[nodiscard]] INT GetPresetBlendCount() const;        // 33
    bool SetPresetBlend(const std::vector<gp::ARGB>& colours, const std::vector<float>& positions);  // 34
    INT GetPresetBlend(std::vector<gp::ARGB>& colours, std::vector<float>& positions) const;        // 35
    bool SetSigmaBlend(float focus, float scale);         // 36
    bool SetLinearBlend(float focus, float scale);        // 37
    bool GetFocusScales(float& x, float& y) const;        // 38
    bool SetFocusScales(float x, float y);                // 39
    [[nodiscard]] gp::WrapMode GetWrapMode() const;       // 40
    bool SetWrapMode(gp::WrapMode mode);                  // 41
    bool GetTransform(GdipMatrix& target) const;          // 42
    bool SetTransform(const GdipMatrix& matrix);          // 43
    bool ResetTransform();                                // 44
    bool MultiplyTransform(const GdipMatrix& matrix, gp::MatrixOrder order = gp::MatrixOrderPrepend);  // 45
    bool TranslateTransform(float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend);       // 46
    bool ScaleTransform(float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend);           // 47
    bool ScaleTransformAt(float sx, float sy, const gp::PointF& centre,
                          gp::MatrixOrder order = gp::MatrixOrderPrepend);                             // 48
    bool RotateTransform(float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend);                 // 49
    bool RotateTransformAt(float angle, const gp::PointF& centre,
                           gp::MatrixOrder order = gp::MatrixOrderPrepend);                            // 50
};

}  // namespace vostrel
