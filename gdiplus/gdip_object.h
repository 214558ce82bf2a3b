// GDI+ start-up, the status of the last flat call, text and GUID conversions,
// and the common base of the wrapper classes.
//
// Rules every wrapper operation follows:
//  - every flat call stores its status in GdipLastStatus (the last one counts
//    when an operation makes several);
//  - an action returns true exactly when the flat call returned Ok;
//  - a query of one value returns it (0, an empty text or an empty buffer when
//    the call failed); a query of several values writes them to the caller's
//    variables and returns true on Ok;
//  - a create or load releases what the wrapper held, then holds the new
//    object (nothing on failure);
//  - Delete/Dispose of an empty wrapper returns false without calling GDI+;
//    otherwise it releases the object, empties the wrapper and returns true
//    on Ok. The destructor releases what the wrapper still holds;
//  - an operation whose result is a new GDI+ object (clone, thumbnail, a
//    font's family, ...) gives it to a target wrapper, which owns it;
//  - ANSI texts are converted to UTF-16 with the ANSI code page; texts coming
//    back from GDI+ are converted with the same code page;
//  - counts next to arrays come from the arrays themselves; where a caller
//    gives a count too, a count larger than the data is InvalidParameter and
//    nothing is read past the data.
// Wrappers are move-only and used on the GUI thread only.
#pragma once

#include "dll.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vostrel {

namespace gp = ::Gdiplus;

// Status of the most recent flat call made by any wrapper (Ok = 0).
inline gp::GpStatus GdipLastStatus = gp::Ok;

// Stores `status` in GdipLastStatus; true when it is Ok.
inline bool RecordStatus(gp::GpStatus status) noexcept {
    GdipLastStatus = status;
    return status == gp::Ok;
}

// Token of the last start-up (0 while GDI+ is not started by StartGdiplus).
inline ULONG_PTR LastGdiplusToken = 0;

// Starts GDI+ (version 1 unless given) and returns the token (0 on failure).
ULONG_PTR StartGdiplus(std::optional<UINT32> version = std::nullopt);
// Shuts GDI+ down for `token` (default: LastGdiplusToken, which is then
// cleared). Does nothing for token 0, for a token this layer did not start,
// or for a token already shut down: at most one shutdown per start-up.
void StopGdiplus(std::optional<ULONG_PTR> token = std::nullopt);

// ANSI (CP_ACP) to UTF-16. An empty text gives an empty string whose c_str()
// is a lone terminator (length 0).
std::wstring AnsiToWide(std::string_view text);
// UTF-16 (up to its terminator) to ANSI.
std::string WideToAnsi(const wchar_t* text);
std::string WideToAnsi(std::wstring_view text);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
std::string GuidToText(const GUID& guid);
// The GUID of such a text; the all-zero GUID when the text is not one.
GUID TextToGuid(std::string_view text);

// Scale or rotate about a point: three calls, translate(c), op,
// translate(-c) for prepend order and the reverse sequence otherwise, so the
// point stays where it is. `translate(dx, dy)` and `op()` return a status.
template <typename Translate, typename Op>
bool TransformAbout(const gp::PointF& c, gp::MatrixOrder order, Translate&& translate, Op&& op) {
    const float sign = order == gp::MatrixOrderPrepend ? 1.0f : -1.0f;
    const bool a = RecordStatus(translate(sign * c.X, sign * c.Y));
    const bool b = RecordStatus(op());
    const bool d = RecordStatus(translate(-sign * c.X, -sign * c.Y));
    return a && b && d;
}

// Reads a count, then two arrays of that many elements (blends): returns the
// count, or 0 with both arrays untouched when a call fails.
template <typename T, typename U, typename Count, typename Get>
INT ReadPairs(std::vector<T>& first, std::vector<U>& second, Count&& count, Get&& get) {
    INT n = 0;
    if (!RecordStatus(count(&n)) || n < 0) return 0;
    std::vector<T> a(static_cast<size_t>(n));
    std::vector<U> b(static_cast<size_t>(n));
    if (n && !RecordStatus(get(a.data(), b.data(), n))) return 0;
    first = std::move(a);
    second = std::move(b);
    return n;
}

// Common base: owns one native GDI+ handle.
class GdipObject {
public:
    GdipObject(const GdipObject&) = delete;
    GdipObject& operator=(const GdipObject&) = delete;

    [[nodiscard]] void* GetNativeHandle() const noexcept { return handle_; }
    // Stores h as the wrapper's handle without releasing the old one (the
    // wrapper then owns h). Prefer the create, load and clone operations.
    void SetNativeHandle(void* h) noexcept { handle_ = h; }
    // Gives up ownership without releasing.
    [[nodiscard]] void* Detach() noexcept { return std::exchange(handle_, nullptr); }
    [[nodiscard]] bool IsEmpty() const noexcept { return handle_ == nullptr; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    // GdipAlloc / GdipFree.
    void* Alloc(size_t size) const;
    void Free(void* p) const;

    // Releases the current handle (its status is not recorded) and holds h:
    // how a clone or other new object reaches its target wrapper.
    void Adopt(void* h) noexcept;

protected:
    using Releaser = gp::GpStatus (*)(void*);
    explicit GdipObject(Releaser releaser) noexcept : release_(releaser) {}
    GdipObject(GdipObject&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), release_(other.release_) {}
    GdipObject& operator=(GdipObject&& other) noexcept {
        if (this != &other) Adopt(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~GdipObject() { ReleaseHandle(); }

    // The delete rule: false without a call when empty; else releases, empties
    // and returns true on Ok.
    bool ReleaseHandle() noexcept;
    // Runs a create call that writes a T* and holds the result.
    template <typename T, typename F>
    bool CreateWith(F&& call) {
        Adopt(nullptr);
        T* h = nullptr;
        const bool ok = RecordStatus(call(&h));
        handle_ = h;
        return ok;
    }

    void* handle_ = nullptr;

private:
    Releaser release_;
};

// A 3x2 affine matrix (GpMatrix): the transform argument and target of the
// graphics, pens, brushes, paths and regions.
class GdipMatrix : public GdipObject {
public:
    GdipMatrix();
    GdipMatrix(GdipMatrix&&) noexcept = default;
    GdipMatrix& operator=(GdipMatrix&&) noexcept = default;
    [[nodiscard]] gp::GpMatrix* Native() const noexcept { return static_cast<gp::GpMatrix*>(handle_); }

    bool Delete();
    bool Create();  // identity
    bool Create(float m11, float m12, float m21, float m22, float dx, float dy);
    bool Clone(GdipMatrix& target) const;
    // The six elements m11, m12, m21, m22, dx, dy.
    bool GetElements(std::array<float, 6>& elements) const;
    bool SetElements(float m11, float m12, float m21, float m22, float dx, float dy);
    bool Translate(float dx, float dy, gp::MatrixOrder order = gp::MatrixOrderPrepend);
    bool Rotate(float angle, gp::MatrixOrder order = gp::MatrixOrderPrepend);
    bool Scale(float sx, float sy, gp::MatrixOrder order = gp::MatrixOrderPrepend);
    bool Multiply(const GdipMatrix& other, gp::MatrixOrder order = gp::MatrixOrderPrepend);
    bool TransformPoints(std::vector<gp::PointF>& points) const;
};

// A custom line cap (GpCustomLineCap) for the pen's custom caps.
class GdipCustomLineCap : public GdipObject {
public:
    GdipCustomLineCap();
    GdipCustomLineCap(GdipCustomLineCap&&) noexcept = default;
    GdipCustomLineCap& operator=(GdipCustomLineCap&&) noexcept = default;
    [[nodiscard]] gp::GpCustomLineCap* Native() const noexcept {
        return static_cast<gp::GpCustomLineCap*>(handle_);
    }
    bool Delete();
    bool CreateAdjustableArrow(float height, float width, bool filled = true);
    bool Clone(GdipCustomLineCap& target) const;
};

}  // namespace vostrel
