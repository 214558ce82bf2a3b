// Paths, pens, fonts, font families, string formats, regions and font
// collections.
#pragma once

#include "gdip_object.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel {

class GdipBrush;
class GdipGraphics;
class GdipPen;
class GdipFontFamily;
class GdipStringFormat;

struct GdipPathData {
    std::vector<gp::PointF> points;
    std::vector<BYTE> types;
};

class GdipPath : public GdipObject {
public:
    GdipPath();
    GdipPath(GdipPath&&) noexcept = default;
    GdipPath& operator=(GdipPath&&) noexcept = default;
    [[nodiscard]] gp::GpPath* Native() const noexcept { return static_cast<gp::GpPath*>(handle_); }

    bool Delete();                                                                   // 7
    bool Create(gp::FillMode mode = gp::FillModeAlternate);                          // 8
    // points and types must have the same size.
    bool CreateFromPoints(const std::vector<gp::PointF>& points, const std::vector<BYTE>& types,
                          gp::FillMode mode = gp::FillModeAlternate);                // 9
    bool CreateFromPointsI(const std::vector<gp::Point>& points, const std::vector<BYTE>& types,
                           gp::FillMode mode = gp::FillModeAlternate);               // 10
    bool Clone(GdipPath& target) const;                                              // 11
    bool Reset();                                                                    // 12
    [[nodiscard]] gp::FillMode GetFillMode() const;                                  // 13
    bool SetFillMode(gp::FillMode mode);                                             // 14
    bool GetPathData(GdipPathData& data) const;                                      // 15
    bool GetPathTypes(std::vector<BYTE>& types) const;                               // 16
    bool GetPathPoints(std::vector<gp::PointF>& points) const;                       // 17
    bool GetPathPointsI(std::vector<gp::Point>& points) const;                       // 18
    bool StartFigure();                                                              // 19
    bool CloseFigure();                                                              // 20
    bool CloseAllFigures();                                                          // 21
    bool SetMarker();                                                                // 22
    bool ClearMarkers();                                                             // 23
    bool Reverse();                                                                  // 24
    [[nodiscard]] gp::PointF GetLastPoint() const;                                   // 25
    bool AddLine(float x1, float y1, float x2, float y2);                            // 26
    bool AddLineI(INT x1, INT y1, INT x2, INT y2);                                   // 27
    bool AddLines(const std::vector<gp::PointF>& points);                            // 28
    bool AddLinesI(const std::vector<gp::Point>& points);                            // 29
    bool AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);  // 30
    bool AddArcI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle);         // 31
    bool AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);  // 32
    bool AddBezierI(INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);                 // 33
    bool AddBeziers(const std::vector<gp::PointF>& points);                          // 34
    bool AddBeziersI(const std::vector<gp::Point>& points);                          // 35
    bool AddCurve(const std::vector<gp::PointF>& points);                            // 36
    bool AddCurve2(const std::vector<gp::PointF>& points, float tension);            // 37
    bool AddCurve3(const std::vector<gp::PointF>& points, INT offset, INT segments, float tension);  // 38
    bool AddCurveI(const std::vector<gp::Point>& points);                            // 39
    bool AddCurve2I(const std::vector<gp::Point>& points, float tension);            // 40
    bool AddCurve3I(const std::vector<gp::Point>& points, INT offset, INT segments, float tension);  // 41
    bool AddClosedCurve(const std::vector<gp::PointF>& points);                      // 42
    bool AddClosedCurve2(const std::vector<gp::PointF>& points, float tension);      // 43
    bool AddClosedCurveI(const std::vector<gp::Point>& points);                      // 44
    bool AddClosedCurve2I(const std::vector<gp::Point>& points, float tension);      // 45
    bool AddRectangle(float x, float y, float width, float height);                  // 46
    // Rounded corners of roundness percent (clamped to 1..100) of the size.
    bool AddRoundRectangle(float x, float y, float width, float height, float roundness);  // 47
    bool AddRectangles(const std::vector<gp::RectF>& rects);                         // 48
    bool AddRectangleI(INT x, INT y, INT width, INT height);                         // 49
    bool AddRectanglesI(const std::vector<gp::Rect>& rects);                         // 50
    bool AddEllipse(float x, float y, float width, float height);                    // 51
    bool AddEllipseI(INT x, INT y, INT width, INT height);                           // 52
    bool AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle);  // 53
    bool AddPieI(INT x, INT y, INT width, INT height, float startAngle, float sweepAngle);         // 54
    bool AddPolygon(const std::vector<gp::PointF>& points);                          // 55
    bool AddPolygonI(const std::vector<gp::Point>& points);                          // 56
    bool AddPath(const GdipPath& other, bool connect);                               // 57
    bool AddString(std::string_view text, const GdipFontFamily& family, INT style, float emSize,
                   const gp::RectF& layout, const GdipStringFormat& format);         // 58
    bool AddStringW(std::wstring_view text, const GdipFontFamily& family, INT style, float emSize,
                    const gp::RectF& layout, const GdipStringFormat& format);        // 59
    bool AddStringI(std::string_view text, const GdipFontFamily& family, INT style, float emSize,
                    const gp::Rect& layout, const GdipStringFormat& format);         // 60
    bool AddStringWI(std::wstring_view text, const GdipFontFamily& family, INT style, float emSize,
                     const gp::Rect& layout, const GdipStringFormat& format);        // 61
    bool Transform(const GdipMatrix& matrix);                                        // 62
    // An empty matrix or pen wrapper passes null (no transform, no pen).
    [[nodiscard]] gp::RectF GetWorldBounds(const GdipMatrix* matrix = nullptr,
                                           const GdipPen* pen = nullptr) const;      // 63
    [[nodiscard]] gp::Rect GetWorldBoundsI(const GdipMatrix* matrix = nullptr,
                                           const GdipPen* pen = nullptr) const;      // 64
    bool Flatten(const GdipMatrix* matrix = nullptr, float flatness = 0.25f);        // 65
    bool Widen(const GdipPen& pen, const GdipMatrix* matrix = nullptr, float flatness = 0.25f);  // 66
    bool WindingModeOutline(const GdipMatrix* matrix = nullptr, float flatness = 0.25f);        // 67
    // destination holds 3 or 4 points.
    bool Warp(const std::vector<gp::PointF>& destination, const gp::RectF& source,
              const GdipMatrix* matrix = nullptr, gp::WarpMode mode = gp::WarpModePerspective,
              float flatness = 0.25f);                                               // 68
    [[nodiscard]] INT GetPointCount() const;                                         // 69
    [[nodiscard]] bool IsVisiblePoint(float x, float y, const GdipGraphics* graphics = nullptr) const;  // 70
    [[nodiscard]] bool IsVisiblePointI(INT x, INT y, const GdipGraphics* graphics = nullptr) const;     // 71
    [[nodiscard]] bool IsOutlineVisiblePoint(float x, float y, const GdipPen& pen,
                                             const GdipGraphics* graphics = nullptr) const;            // 72
    [[nodiscard]] bool IsOutlineVisiblePointI(INT x, INT y, const GdipPen& pen,
                                              const GdipGraphics* graphics = nullptr) const;           // 73
};

class GdipPen : public GdipObject {
public:
    GdipPen();
    GdipPen(GdipPen&&) noexcept = default;
    GdipPen& operator=(GdipPen&&) noexcept = default;
    [[nodiscard]] gp::GpPen* Native() const noexcept { return static_cast<gp::GpPen*>(handle_); }

    bool Delete();                                                                   // 7
    bool Create(gp::ARGB colour, float width, gp::Unit unit = gp::UnitWorld);        // 8
    bool CreateFromBrush(const GdipBrush& brush, float width, gp::Unit unit = gp::UnitWorld);  // 9
    bool Clone(GdipPen& target) const;                                               // 10
    [[nodiscard]] float GetWidth() const;                                            // 11
    bool SetWidth(float width);                                                      // 12
    [[nodiscard]] gp::Unit GetUnit() const;                                          // 13
    bool SetUnit(gp::Unit unit);                                                     // 14
    bool SetLineCap(gp::LineCap start, gp::LineCap end, gp::DashCap dash);           // 15, 16
    bool SetStartCap(gp::LineCap cap);                                               // 17
    bool SetEndCap(gp::LineCap cap);                                                 // 18
    bool SetDashCap(gp::DashCap cap);                                                // 19
    [[nodiscard]] gp::LineCap GetStartCap() const;                                   // 20
    [[nodiscard]] gp::LineCap GetEndCap() const;                                     // 21
    [[nodiscard]] gp::DashCap GetDashCap() const;                                    // 22, 23
    bool SetLineJoin(gp::LineJoin join);                                             // 24
    [[nodiscard]] gp::LineJoin GetLineJoin() const;                                  // 25
    bool SetCustomStartCap(const GdipCustomLineCap& cap);                            // 26
    bool GetCustomStartCap(GdipCustomLineCap& target) const;                         // 27
    bool SetCustomEndCap(const GdipCustomLineCap& cap);                              // 28
    bool GetCustomEndCap(GdipCustomLineCap& target) const;                           // 29
    bool SetMiterLimit(float limit);                                                 // 30
    [[nodiscard]] float GetMiterLimit() const;                                       // 31
    bool SetAlignment(gp::PenAlignment alignment);                                   // 32
    [[nodiscard]] gp::PenAlignment GetAlignment() const;                             // 33
    bool SetTransform(const GdipMatrix& matrix);                                     // 34
    bool GetTransform(GdipMatrix& target) const;                                     // 35
    bool ResetTransform();                                                           // 36
    bool MultiplyTransform(const GdipMatrix& matrix, gp::MatrixOrder order = gp::MatrixOrderPrepend);  // 37
    bool RotateTransform(float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend);                 // 38
    bool RotateTransformAt(float angle, const gp::PointF& centre,
                           gp::MatrixOrder order = gp::MatrixOrderPrepend);                            // 39
    bool ScaleTransform(float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend);           // 40
    bool ScaleTransformAt(float sx, float sy, const gp::PointF& centre,
                          gp::MatrixOrder order = gp::MatrixOrderPrepend);                             // 41
    bool TranslateTransform(float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend);       // 42
    [[nodiscard]] gp::ARGB GetColor() const;                                         // 43
    bool SetColor(gp::ARGB colour);                                                  // 44
    bool SetBrushFill(const GdipBrush& brush);                                       // 45
    bool GetBrushFill(GdipBrush& target) const;                                      // 46
    [[nodiscard]] gp::PenType GetFillType() const;                                   // 47
    bool SetDashStyle(gp::DashStyle style);                                          // 48
    [[nodiscard]] gp::DashStyle GetDashStyle() const;                                // 49
    [[nodiscard]] float GetDashOffset() const;                                       // 50
    bool SetDashOffset(float offset);                                                // 51
    bool GetDashArray(std::vector<float>& dashes) const;                             // 52
    bool SetDashArray(const std::vector<float>& dashes);                             // 53
    bool SetCompoundArray(const std::vector<float>& compound);                       // 54
    bool GetCompoundArray(std::vector<float>& compound) const;                       // 55
};

class GdipFont : public GdipObject {
public:
    GdipFont();
    GdipFont(GdipFont&&) noexcept = default;
    GdipFont& operator=(GdipFont&&) noexcept = default;
    [[nodiscard]] gp::GpFont* Native() const noexcept { return static_cast<gp::GpFont*>(handle_); }

    bool Delete();                                                                   // 7
    bool Create(const GdipFontFamily& family, float emSize, INT style = gp::FontStyleRegular,
                gp::Unit unit = gp::UnitWorld);                                      // 8
    // The stock DEFAULT_GUI_FONT on the screen DC.
    bool CreateDefault();                                                            // 9
    // False (wrapper empty) when no installed family has that face name.
    bool CreateFromName(std::string_view face, float emSize, INT style = gp::FontStyleRegular,
                        gp::Unit unit = gp::UnitWorld);                              // 10
    bool CreateFromNameW(std::wstring_view face, float emSize, INT style = gp::FontStyleRegular,
                         gp::Unit unit = gp::UnitWorld);                             // 11
    bool CreateFromDC(HDC dc);                                                       // 12
    bool CreateFromDCFont(HDC dc, HFONT font = nullptr);                             // 13
    bool CreateFromLogFontA(HDC dc, const LOGFONTA* logFont);                        // 14
    bool CreateFromLogFontW(HDC dc, const LOGFONTW* logFont);                        // 15
    bool Clone(GdipFont& target) const;                                              // 16
    bool GetLogFontA(const GdipGraphics& graphics, LOGFONTA& logFont) const;         // 17
    bool GetLogFontW(const GdipGraphics& graphics, LOGFONTW& logFont) const;         // 18
    bool GetFamily(GdipFontFamily& target) const;                                    // 19
    [[nodiscard]] INT GetStyle() const;                                              // 20
    [[nodiscard]] float GetSize() const;                                             // 21
    [[nodiscard]] gp::Unit GetUnit() const;                                          // 22
    [[nodiscard]] float GetHeight(const GdipGraphics& graphics) const;               // 23
    [[nodiscard]] float GetHeightGivenDpi(float dpi) const;                          // 24
};

class GdipFontCollection;

// A font family. Unlike the other wrappers of a bare design, the destructor
// releases the family too, so a family cannot be leaked by a forgotten Delete.
class GdipFontFamily : public GdipObject {
public:
    GdipFontFamily();
    GdipFontFamily(GdipFontFamily&&) noexcept = default;
    GdipFontFamily& operator=(GdipFontFamily&&) noexcept = default;
    [[nodiscard]] gp::GpFontFamily* Native() const noexcept { return static_cast<gp::GpFontFamily*>(handle_); }

    bool Delete();                                                                   // 7
    // collection: null or an empty wrapper for the installed fonts.
    bool CreateFromName(std::string_view name, const GdipFontCollection* collection = nullptr);    // 8
    bool CreateFromNameW(std::wstring_view name, const GdipFontCollection* collection = nullptr);  // 9
    bool GenericSansSerif();                                                         // 10
    bool GenericSerif();                                                             // 11
    bool GenericMonospace();                                                         // 12
    bool Clone(GdipFontFamily& target) const;                                        // 13
    [[nodiscard]] std::string GetFamilyName() const;                                 // 14
    [[nodiscard]] std::wstring GetFamilyNameW() const;                               // 15
    [[nodiscard]] bool IsStyleAvailable(INT style) const;                            // 16
    [[nodiscard]] UINT16 GetEmHeight(INT style) const;                               // 17
    [[nodiscard]] UINT16 GetCellAscent(INT style) const;                             // 18
    [[nodiscard]] UINT16 GetCellDescent(INT style) const;                            // 19
    [[nodiscard]] UINT16 GetLineSpacing(INT style) const;                            // 20
};

class GdipStringFormat : public GdipObject {
public:
    GdipStringFormat();
    GdipStringFormat(GdipStringFormat&&) noexcept = default;
    GdipStringFormat& operator=(GdipStringFormat&&) noexcept = default;
    [[nodiscard]] gp::GpStringFormat* Native() const noexcept { return static_cast<gp::GpStringFormat*>(handle_); }

    bool Delete();                                                                   // 7
    bool Create(INT flags = 0, LANGID language = 0);                                 // 8
    bool GenericDefault();                                                           // 9
    bool GenericTypographic();                                                       // 10
    bool Clone(GdipStringFormat& target) const;                                      // 11
    bool SetFormatFlags(INT flags);                                                  // 12
    [[nodiscard]] INT GetFormatFlags() const;                                        // 13
    bool SetAlignment(gp::StringAlignment alignment);                                // 14
    [[nodiscard]] gp::StringAlignment GetAlignment() const;                          // 15
    bool SetLineAlignment(gp::StringAlignment alignment);                            // 16
    [[nodiscard]] gp::StringAlignment GetLineAlignment() const;                      // 17
    bool SetTrimming(gp::StringTrimming trimming);                                   // 18
    [[nodiscard]] gp::StringTrimming GetTrimming() const;                            // 19
    bool SetHotkeyPrefix(INT prefix);                                                // 20
    [[nodiscard]] INT GetHotkeyPrefix() const;                                       // 21
    bool SetTabStops(float firstTabOffset, const std::vector<float>& tabStops);      // 22
    bool GetTabStops(float& firstTabOffset, std::vector<float>& tabStops) const;     // 23
    bool SetDigitSubstitution(gp::StringDigitSubstitute method, LANGID language);    // 24
    bool GetDigitSubstitution(LANGID& language, gp::StringDigitSubstitute& method) const;  // 25
    bool SetMeasurableCharacterRanges(const std::vector<gp::CharacterRange>& ranges);      // 26
    [[nodiscard]] INT GetMeasurableCharacterRangeCount() const;                      // 27
};

class GdipRegion : public GdipObject {
public:
    GdipRegion();
    GdipRegion(GdipRegion&&) noexcept = default;
    GdipRegion& operator=(GdipRegion&&) noexcept = default;
    [[nodiscard]] gp::GpRegion* Native() const noexcept { return static_cast<gp::GpRegion*>(handle_); }

    bool Delete();                                                                   // 7
    bool Create();  // infinite                                                      // 8
    bool CreateFromRect(const gp::RectF& rect);                                      // 9
    bool CreateFromRectI(const gp::Rect& rect);                                      // 10
    bool CreateFromPath(const GdipPath& path);                                       // 11
    bool CreateFromHrgn(HRGN region);                                                // 12
    bool CreateFromRegionData(const std::vector<BYTE>& data);                        // 13
    bool Clone(GdipRegion& target) const;                                            // 14
    bool MakeInfinite();                                                             // 15
    bool MakeEmpty();                                                                // 16
    bool CombineRect(const gp::RectF& rect, gp::CombineMode mode = gp::CombineModeIntersect);       // 17
    bool CombineRectI(const gp::Rect& rect, gp::CombineMode mode = gp::CombineModeIntersect);       // 18
    bool CombineRegion(const GdipRegion& other, gp::CombineMode mode = gp::CombineModeIntersect);   // 19
    bool CombinePath(const GdipPath& path, gp::CombineMode mode = gp::CombineModeIntersect);        // 20
    bool Translate(float dx, float dy);                                              // 21
    bool TranslateI(INT dx, INT dy);                                                 // 22
    bool Transform(const GdipMatrix& matrix);                                        // 23
    [[nodiscard]] gp::RectF GetBounds(const GdipGraphics& graphics) const;           // 24
    [[nodiscard]] gp::Rect GetBoundsI(const GdipGraphics& graphics) const;           // 25
    [[nodiscard]] UINT GetDataSize() const;                                          // 26
    // Resizes data to the region's data size and fills it.
    bool GetData(std::vector<BYTE>& data) const;                                     // 27
    // A new GDI region owned by the caller (DeleteObject); 0 on failure or for
    // an infinite region.
    [[nodiscard]] HRGN GetHRgn(const GdipGraphics& graphics) const;                  // 28
    [[nodiscard]] bool IsEmpty(const GdipGraphics& graphics) const;                  // 29
    [[nodiscard]] bool IsInfinite(const GdipGraphics& graphics) const;               // 30
    [[nodiscard]] bool IsEqual(const GdipRegion& other, const GdipGraphics& graphics) const;  // 31
    [[nodiscard]] bool IsVisiblePoint(float x, float y, const GdipGraphics* graphics = nullptr) const;  // 32
    [[nodiscard]] bool IsVisiblePointI(INT x, INT y, const GdipGraphics* graphics = nullptr) const;     // 33
    [[nodiscard]] bool IsVisibleRect(const gp::RectF& rect, const GdipGraphics* graphics = nullptr) const;  // 34
    [[nodiscard]] bool IsVisibleRectI(const gp::Rect& rect, const GdipGraphics* graphics = nullptr) const;  // 35
    [[nodiscard]] UINT GetScansCount(const GdipMatrix& matrix) const;                // 36
    bool GetScans(const GdipMatrix& matrix, std::vector<gp::RectF>& rects) const;    // 37
    bool GetScansI(const GdipMatrix& matrix, std::vector<gp::Rect>& rects) const;    // 38
};

// A font collection. An empty wrapper stands for the installed fonts.
class GdipFontCollection : public GdipObject {
public:
    GdipFontCollection();
    GdipFontCollection(GdipFontCollection&&) noexcept = default;
    GdipFontCollection& operator=(GdipFontCollection&&) noexcept = default;
    [[nodiscard]] gp::GpFontCollection* Native() const noexcept {
        return static_cast<gp::GpFontCollection*>(handle_);
    }
    // The installed fonts' collection (owned by GDI+, never released).
    bool CreateInstalled();
    [[nodiscard]] INT GetFamilyCount() const;                                        // 8
    // Resizes families to `count` fresh wrappers, each given its own copy of
    // one family (released by the wrapper); returns how many were found. A
    // count below 1 is InvalidParameter without a call and returns 0.
    INT GetFamilyList(INT count, std::vector<GdipFontFamily>& families) const;       // 9
};

}  // namespace vostrel
