// The graphics wrapper: the surface the skin strokes, fills, clips and draws
// text and images on. Delete a graphics before the DC or bitmap it draws on.
#pragma once

#include "gdip_object.h"

#include <array>
#include <string_view>
#include <vector>

namespace vostrel {

class GdipBrush;
class GdipFont;
class GdipImage;
class GdipPath;
class GdipPen;
class GdipRegion;
class GdipStringFormat;

class GdipGraphics : public GdipObject {
public:
    GdipGraphics();
    GdipGraphics(GdipGraphics&&) noexcept = default;
    GdipGraphics& operator=(GdipGraphics&&) noexcept = default;
    [[nodiscard]] gp::GpGraphics* Native() const noexcept { return static_cast<gp::GpGraphics*>(handle_); }

    using Order = gp::MatrixOrder;
    static constexpr Order kPrepend = gp::MatrixOrderPrepend;

    bool Delete();                                                                   // 8
    bool Flush(gp::FlushIntention intention = gp::FlushIntentionFlush);              // 9
    bool CreateFromHWND(HWND hwnd, bool useIcm = false);                             // 10
    // With a device handle: GdipCreateFromHDC2.
    bool CreateFromHDC(HDC dc, std::optional<HANDLE> device = std::nullopt);         // 11
    bool CreateFromImage(const GdipImage& image);                                    // 12
    // A DC for GDI drawing on this graphics; give it back with ReleaseDC.
    [[nodiscard]] HDC GetDC();                                                       // 13
    bool ReleaseDC(HDC dc);                                                          // 14
    bool GetRenderingOrigin(INT& x, INT& y) const;                                   // 15
    bool SetRenderingOrigin(INT x, INT y);                                           // 16
    [[nodiscard]] gp::CompositingMode GetCompositingMode() const;                    // 17
    bool SetCompositingMode(gp::CompositingMode mode);                               // 18
    [[nodiscard]] gp::CompositingQuality GetCompositingQuality() const;              // 19
    bool SetCompositingQuality(gp::CompositingQuality quality);                      // 20
    bool SetTextRenderingHint(gp::TextRenderingHint hint);                           // 21
    [[nodiscard]] gp::TextRenderingHint GetTextRenderingHint() const;                // 22
    bool SetTextContrast(UINT contrast);                                             // 23
    [[nodiscard]] UINT GetTextContrast() const;                                      // 24
    bool SetInterpolationMode(gp::InterpolationMode mode);                           // 25
    [[nodiscard]] gp::InterpolationMode GetInterpolationMode() const;                // 26
    bool SetSmoothingMode(gp::SmoothingMode mode);                                   // 27
    [[nodiscard]] gp::SmoothingMode GetSmoothingMode() const;                        // 28
    bool SetPixelOffsetMode(gp::PixelOffsetMode mode);                               // 29
    [[nodiscard]] gp::PixelOffsetMode GetPixelOffsetMode() const;                    // 30
    bool SetTransform(const GdipMatrix& matrix);                                     // 31
    bool GetTransform(GdipMatrix& target) const;                                     // 32
    bool ResetTransform();                                                           // 33
    bool MultiplyTransform(const GdipMatrix& matrix, Order order = kPrepend);        // 34
    bool TranslateTransform(float dx, float dy, Order order = kPrepend);             // 35
    bool ScaleTransform(float sx, float sy, Order order = kPrepend);                 // 36
    bool ScaleTransformAt(float sx, float sy, const gp::PointF& centre, Order order = kPrepend);  // 37
    bool RotateTransform(float angle, Order order = kPrepend);                       // 38
    bool RotateTransformAt(float angle, const gp::PointF& centre, Order order = kPrepend);       // 39
    bool SetPageUnit(gp::Unit unit);                                                 // 40
    [[nodiscard]] gp::Unit GetPageUnit() const;                                      // 41
    bool SetPageScale(float scale);                                                  // 42
    [[nodiscard]] float GetPageScale() const;                                        // 43
    [[nodiscard]] float GetDpiX() const;                                             // 44
    [[nodiscard]] float GetDpiY() const;                                             // 45
    bool TransformPoints(gp::CoordinateSpace destination, gp::CoordinateSpace source,
                         std::vector<gp::PointF>& points) const;                     // 46
    bool TransformPointsI(gp::CoordinateSpace destination, gp::CoordinateSpace source,
                          std::vector<gp::Point>& points) const;                     // 47
    // Adjusts colour in place and returns it.
    gp::ARGB GetNearestColor(gp::ARGB& colour) const;                                // 48
    bool DrawLine(const GdipPen& pen, float x1, float y1, float x2, float y2);       // 49
    bool DrawLineI(const GdipPen& pen, INT x1, INT y1, INT x2, INT y2);              // 50
    bool DrawLines(const GdipPen& pen, const std::vector<gp::PointF>& points);       // 51
    bool DrawLinesI(const GdipPen& pen, const std::vector<gp::Point>& points);       // 52
    bool DrawArc(const GdipPen& pen, float x, float y, float width, float height, float startAngle,
                 float sweepAngle);                                                  // 53
    bool DrawArcI(const GdipPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                  float sweepAngle);                                                 // 54
    bool DrawBezier(const GdipPen& pen, float x1, float y1, float x2, float y2, float x3, float y3,
                    float x4, float y4);                                             // 55
    bool DrawBezierI(const GdipPen& pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4,
                     INT y4);                                                        // 56
    bool DrawBeziers(const GdipPen& pen, const std::vector<gp::PointF>& points);     // 57
    bool DrawBeziersI(const GdipPen& pen, const std::vector<gp::Point>& points);     // 58
    bool DrawRectangle(const GdipPen& pen, float x, float y, float width, float height);  // 59
    bool DrawRectangleI(const GdipPen& pen, INT x, INT y, INT width, INT height);         // 60
    bool DrawRectangles(const GdipPen& pen, const std::vector<gp::RectF>& rects);    // 61
    bool DrawRectanglesI(const GdipPen& pen, const std::vector<gp::Rect>& rects);    // 62
    bool DrawEllipse(const GdipPen& pen, float x, float y, float width, float height);  // 63
    bool DrawEllipseI(const GdipPen& pen, INT x, INT y, INT width, INT height);         // 64
    bool DrawPie(const GdipPen& pen, float x, float y, float width, float height, float startAngle,
                 float sweepAngle);                                                  // 65
    bool DrawPieI(const GdipPen& pen, INT x, INT y, INT width, INT height, float startAngle,
                  float sweepAngle);                                                 // 66
    bool DrawPolygon(const GdipPen& pen, const std::vector<gp::PointF>& points);     // 67
    bool DrawPolygonI(const GdipPen& pen, const std::vector<gp::Point>& points);     // 68
    bool DrawPath(const GdipPen& pen, const GdipPath& path);                         // 69
    bool DrawCurve(const GdipPen& pen, const std::vector<gp::PointF>& points);       // 70
    bool DrawCurveI(const GdipPen& pen, const std::vector<gp::Point>& points);       // 71
    bool DrawCurve2(const GdipPen& pen, const std::vector<gp::PointF>& points, float tension);  // 72
    bool DrawCurve2I(const GdipPen& pen, const std::vector<gp::Point>& points, float tension);  // 73
    bool DrawCurve3(const GdipPen& pen, const std::vector<gp::PointF>& points, INT offset,
                    INT segments, float tension);                                    // 74
    bool DrawCurve3I(const GdipPen& pen, const std::vector<gp::Point>& points, INT offset,
                     INT segments, float tension);                                   // 75
    bool DrawClosedCurve(const GdipPen& pen, const std::vector<gp::PointF>& points);  // 76
    bool DrawClosedCurveI(const GdipPen& pen, const std::vector<gp::Point>& points);  // 77
    bool DrawClosedCurve2(const GdipPen& pen, const std::vector<gp::PointF>& points, float tension);  // 78
    bool DrawClosedCurve2I(const GdipPen& pen, const std::vector<gp::Point>& points, float tension);  // 79
    bool Clear(gp::ARGB colour);                                                     // 80
    bool FillRectangle(const GdipBrush& brush, float x, float y, float width, float height);  // 81
    bool FillRectangleRecord(const GdipBrush& brush, const gp::RectF& rect);         // 82
    bool FillRectangleI(const GdipBrush& brush, INT x, INT y, INT width, INT height);  // 83
    bool FillRectangles(const GdipBrush& brush, const std::vector<gp::RectF>& rects);  // 84
    bool FillRectanglesI(const GdipBrush& brush, const std::vector<gp::Rect>& rects);  // 85
    bool FillPolygon(const GdipBrush& brush, const std::vector<gp::PointF>& points,
                     gp::FillMode mode = gp::FillModeAlternate);                     // 86
    bool FillPolygonI(const GdipBrush& brush, const std::vector<gp::Point>& points,
                      gp::FillMode mode = gp::FillModeAlternate);                    // 87
    bool FillEllipse(const GdipBrush& brush, float x, float y, float width, float height);  // 88
    bool FillEllipseI(const GdipBrush& brush, INT x, INT y, INT width, INT height);         // 89
    bool FillPie(const GdipBrush& brush, float x, float y, float width, float height,
                 float startAngle, float sweepAngle);                                // 90
    bool FillPieI(const GdipBrush& brush, INT x, INT y, INT width, INT height, float startAngle,
                  float sweepAngle);                                                 // 91
    bool FillPath(const GdipBrush& brush, const GdipPath& path);                     // 92
    bool FillClosedCurve(const GdipBrush& brush, const std::vector<gp::PointF>& points);  // 93
    bool FillClosedCurve2(const GdipBrush& brush, const std::vector<gp::PointF>& points, float tension,
                          gp::FillMode mode = gp::FillModeAlternate);                // 94
    bool FillClosedCurveI(const GdipBrush& brush, const std::vector<gp::Point>& points);  // 95
    bool FillClosedCurve2I(const GdipBrush& brush, const std::vector<gp::Point>& points, float tension,
                           gp::FillMode mode = gp::FillModeAlternate);               // 96
    bool FillRegion(const GdipBrush& brush, const GdipRegion& region);               // 97
    // An empty format wrapper (or none) uses GDI+'s default format.
    bool DrawString(std::string_view text, const GdipFont& font, const GdipBrush& brush,
                    const gp::RectF& layout, const GdipStringFormat* format = nullptr);  // 98
    bool DrawStringW(std::wstring_view text, const GdipFont& font, const GdipBrush& brush,
                     const gp::RectF& layout, const GdipStringFormat* format = nullptr);  // 99
    bool MeasureString(std::string_view text, const GdipFont& font, const gp::RectF& layout,
                       const GdipStringFormat* format, gp::RectF& bounds) const;     // 100
    bool MeasureStringW(std::wstring_view text, const GdipFont& font, const gp::RectF& layout,
                        const GdipStringFormat* format, gp::RectF& bounds) const;    // 101
    // Resizes regions to regionCount fresh regions and has GDI+ fill them;
    // returns regionCount on success, 0 otherwise (InvalidParameter without a
    // call for a count below 1).
    INT MeasureCharacterRanges(std::string_view text, const GdipFont& font, const gp::RectF& layout,
                               const GdipStringFormat& format, INT regionCount,
                               std::vector<GdipRegion>& regions) const;              // 102
    INT MeasureCharacterRangesW(std::wstring_view text, const GdipFont& font, const gp::RectF& layout,
                                const GdipStringFormat& format, INT regionCount,
                                std::vector<GdipRegion>& regions) const;             // 103
    // One position per character (with the default flags) or one in all
    // (DriverStringOptionsRealizedAdvance); fewer is InvalidParameter.
    bool DrawDriverString(std::string_view text, const GdipFont& font, const GdipBrush& brush,
                          const std::vector<gp::PointF>& positions,
                          INT flags = gp::DriverStringOptionsCmapLookup,
                          const GdipMatrix* matrix = nullptr);                       // 104
    bool DrawDriverStringW(std::wstring_view text, const GdipFont& font, const GdipBrush& brush,
                           const std::vector<gp::PointF>& positions,
                           INT flags = gp::DriverStringOptionsCmapLookup,
                           const GdipMatrix* matrix = nullptr);                      // 105
    bool DrawImage(const GdipImage& image, float x, float y);                        // 106
    bool DrawImageI(const GdipImage& image, INT x, INT y);                           // 107
    bool DrawCachedBitmap(gp::GpCachedBitmap* cached, float x, float y);             // 108
    // The whole image scaled into the destination.
    bool DrawImageRectRect(const GdipImage& image, float x, float y, float width, float height,
                           gp::Unit sourceUnit = gp::UnitPixel);                     // 109
    bool DrawImageRectRectI(const GdipImage& image, INT x, INT y, INT width, INT height,
                            gp::Unit sourceUnit = gp::UnitPixel);                    // 110
    bool DrawImagePoints(const GdipImage& image, const std::array<gp::PointF, 3>& points);  // 111
    bool DrawImagePointsI(const GdipImage& image, const std::array<gp::Point, 3>& points);  // 112
    bool DrawImagePointRect(const GdipImage& image, float x, float y, const gp::RectF& source,
                            gp::Unit sourceUnit = gp::UnitPixel);                    // 113
    bool DrawImagePointRectI(const GdipImage& image, INT x, INT y, const gp::Rect& source,
                             gp::Unit sourceUnit = gp::UnitPixel);                   // 114
    bool DrawImageSourceRect(const GdipImage& image, const gp::RectF& destination,
                             const gp::RectF& source, gp::Unit sourceUnit = gp::UnitPixel,
                             const gp::GpImageAttributes* attributes = nullptr);     // 115
    bool DrawImageSourceRectI(const GdipImage& image, const gp::Rect& destination,
                              const gp::Rect& source, gp::Unit sourceUnit = gp::UnitPixel,
                              const gp::GpImageAttributes* attributes = nullptr);    // 116
    bool DrawImagePointsRect(const GdipImage& image, const std::array<gp::PointF, 3>& points,
                             const gp::RectF& source, gp::Unit sourceUnit = gp::UnitPixel,
                             const gp::GpImageAttributes* attributes = nullptr);     // 117
    bool DrawImagePointsRectI(const GdipImage& image, const std::array<gp::Point, 3>& points,
                              const gp::Rect& source, gp::Unit sourceUnit = gp::UnitPixel,
                              const gp::GpImageAttributes* attributes = nullptr);    // 118

    // Metafile enumeration (the metafile is an image wrapper holding one).
    using EnumProc = gp::EnumerateMetafileProc;
    using Attributes = const gp::GpImageAttributes*;
    bool EnumerateMetafileDestPoint(const GdipImage& metafile, const gp::PointF& destination,
                                    EnumProc callback, void* data = nullptr,
                                    Attributes attributes = nullptr);                // 119
    bool EnumerateMetafileDestPointI(const GdipImage& metafile, const gp::Point& destination,
                                     EnumProc callback, void* data = nullptr,
                                     Attributes attributes = nullptr);               // 120
    bool EnumerateMetafileDestPoints(const GdipImage& metafile, const std::vector<gp::PointF>& destination,
                                     EnumProc callback, void* data = nullptr,
                                     Attributes attributes = nullptr);               // 121
    bool EnumerateMetafileDestPointsI(const GdipImage& metafile, const std::vector<gp::Point>& destination,
                                      EnumProc callback, void* data = nullptr,
                                      Attributes attributes = nullptr);              // 122
    bool EnumerateMetafileDestRect(const GdipImage& metafile, const gp::RectF& destination,
                                   EnumProc callback, void* data = nullptr,
                                   Attributes attributes = nullptr);                 // 123
    bool EnumerateMetafileDestRectI(const GdipImage& metafile, const gp::Rect& destination,
                                    EnumProc callback, void* data = nullptr,
                                    Attributes attributes = nullptr);                // 124
    bool EnumerateMetafileSrcRectDestPoint(const GdipImage& metafile, const gp::PointF& destination,
                                           const gp::RectF& source, gp::Unit unit, EnumProc callback,
                                           void* data = nullptr, Attributes attributes = nullptr);  // 125
    bool EnumerateMetafileSrcRectDestPointI(const GdipImage& metafile, const gp::Point& destination,
                                            const gp::Rect& source, gp::Unit unit, EnumProc callback,
                                            void* data = nullptr, Attributes attributes = nullptr);  // 126
    bool EnumerateMetafileSrcRectDestPoints(const GdipImage& metafile,
                                            const std::vector<gp::PointF>& destination,
                                            const gp::RectF& source, gp::Unit unit, EnumProc callback,
                                            void* data = nullptr, Attributes attributes = nullptr);  // 127
    bool EnumerateMetafileSrcRectDestPointsI(const GdipImage& metafile,
                                             const std::vector<gp::Point>& destination,
                                             const gp::Rect& source, gp::Unit unit, EnumProc callback,
                                             void* data = nullptr, Attributes attributes = nullptr);  // 128
    bool EnumerateMetafileSrcRectDestRect(const GdipImage& metafile, const gp::RectF& destination,
                                          const gp::RectF& source, gp::Unit unit, EnumProc callback,
                                          void* data = nullptr, Attributes attributes = nullptr);  // 129
    bool EnumerateMetafileSrcRectDestRectI(const GdipImage& metafile, const gp::Rect& destination,
                                           const gp::Rect& source, gp::Unit unit, EnumProc callback,
                                           void* data = nullptr, Attributes attributes = nullptr);  // 130

    bool SetClipGraphics(const GdipGraphics& other, gp::CombineMode mode = gp::CombineModeReplace);  // 131
    bool SetClipPath(const GdipPath& path, gp::CombineMode mode = gp::CombineModeReplace);           // 132
    bool SetClipRect(float x, float y, float width, float height,
                     gp::CombineMode mode = gp::CombineModeReplace);                 // 133
    bool SetClipRectI(INT x, INT y, INT width, INT height,
                      gp::CombineMode mode = gp::CombineModeReplace);                // 134
    bool SetClipRegion(const GdipRegion& region, gp::CombineMode mode = gp::CombineModeReplace);     // 135
    bool SetClipHrgn(HRGN region, gp::CombineMode mode = gp::CombineModeReplace);    // 136
    bool ResetClip();                                                                // 137
    bool TranslateClip(float dx, float dy);                                          // 138
    bool TranslateClipI(INT dx, INT dy);                                             // 139
    bool GetClip(GdipRegion& target) const;                                          // 140
    [[nodiscard]] gp::RectF GetClipBounds() const;                                   // 141
    [[nodiscard]] gp::Rect GetClipBoundsI() const;                                   // 142
    [[nodiscard]] gp::RectF GetVisibleClipBounds() const;                            // 143
    [[nodiscard]] gp::Rect GetVisibleClipBoundsI() const;                            // 144
    [[nodiscard]] bool IsClipEmpty() const;                                          // 145
    [[nodiscard]] bool IsVisibleClipEmpty() const;                                   // 146
    [[nodiscard]] bool IsVisiblePoint(float x, float y) const;                       // 147
    [[nodiscard]] bool IsVisiblePointI(INT x, INT y) const;                          // 148
    [[nodiscard]] bool IsVisibleRect(float x, float y, float width, float height) const;  // 149
    [[nodiscard]] bool IsVisibleRectI(INT x, INT y, INT width, INT height) const;         // 150
    [[nodiscard]] gp::GraphicsState Save();                                          // 151
    bool Restore(gp::GraphicsState state);                                           // 152
    [[nodiscard]] gp::GraphicsContainer BeginContainer(const gp::RectF& destination, const gp::RectF& source,
                                                       gp::Unit unit);               // 153
    [[nodiscard]] gp::GraphicsContainer BeginContainerI(const gp::Rect& destination, const gp::Rect& source,
                                                        gp::Unit unit);              // 154
    [[nodiscard]] gp::GraphicsContainer BeginContainerPlain();                       // 155
    bool EndContainer(gp::GraphicsContainer state);                                  // 156
    bool Comment(const std::vector<BYTE>& data);                                     // 157
};

}  // namespace vostrel
