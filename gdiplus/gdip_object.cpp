// GDI+ start-up, conversions and the common base of the wrappers.
#include "gdip_object.h"

#include <algorithm>
#include <cstring>

namespace vostrel {

namespace {
// Tokens started by StartGdiplus and not yet shut down: a token is shut down
// at most once however often StopGdiplus is called with it.
std::vector<ULONG_PTR>& LiveTokens() {
    static std::vector<ULONG_PTR> tokens;
    return tokens;
}
}  // namespace

ULONG_PTR StartGdiplus(std::optional<UINT32> version) {
    gp::GdiplusStartupInput input;  // zero-filled apart from the version
    input.GdiplusVersion = version.value_or(1);
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    if (dll::GdiplusStartup(&token, &input, nullptr) != gp::Ok) token = 0;
    LastGdiplusToken = token;
    if (token) LiveTokens().push_back(token);
    return token;
}

void StopGdiplus(std::optional<ULONG_PTR> token) {
    ULONG_PTR t;
    if (token) {
        t = *token;
    } else {
        t = LastGdiplusToken;
        LastGdiplusToken = 0;
    }
    if (!t) return;
    auto& live = LiveTokens();
    const auto it = std::find(live.begin(), live.end(), t);
    if (it == live.end()) return;
    live.erase(it);
    if (LastGdiplusToken == t && std::find(live.begin(), live.end(), t) == live.end())
        LastGdiplusToken = 0;
    dll::GdiplusShutdown(t);
}

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    const int n = dll::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    dll::MultiByteToWideChar(CP_ACP, 0, text.data(), size, out.data(), n);
    return out;
}

std::string WideToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
    const int n = dll::WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    dll::WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string WideToAnsi(const wchar_t* text) {
    return text ? WideToAnsi(std::wstring_view(text, static_cast<size_t>(dll::lstrlenW(text))))
                : std::string();
}

std::string GuidToText(const GUID& guid) {
    wchar_t buffer[39] = {};
    if (dll::StringFromGUID2(guid, buffer, 39) <= 0) return {};
    return WideToAnsi(buffer);
}

GUID TextToGuid(std::string_view text) {
    GUID guid{};
    std::wstring wide = AnsiToWide(text);
    if (wide.empty() || dll::CLSIDFromString(wide.data(), &guid) != NOERROR) guid = GUID{};
    return guid;
}

bool GdipObject::ReleaseHandle() noexcept {
    if (!handle_) return false;
    const gp::GpStatus status = release_ ? release_(handle_) : gp::Ok;
    handle_ = nullptr;
    return RecordStatus(status);
}

void GdipObject::Adopt(void* h) noexcept {
    if (handle_ && handle_ != h && release_) {
        const gp::GpStatus keep = GdipLastStatus;
        release_(handle_);
        GdipLastStatus = keep;
    }
    handle_ = h;
}

void* GdipObject::Alloc(size_t size) const { return dll::GdipAlloc(size); }
void GdipObject::Free(void* p) const { dll::GdipFree(p); }

// ---------------------------------------------------------------------------

GdipMatrix::GdipMatrix()
    : GdipObject([](void* h) { return dll::GdipDeleteMatrix(static_cast<gp::GpMatrix*>(h)); }) {}

bool GdipMatrix::Delete() { return ReleaseHandle(); }
bool GdipMatrix::Create() {
    return CreateWith<gp::GpMatrix>([](gp::GpMatrix** m) { return dll::GdipCreateMatrix(m); });
}
bool GdipMatrix::Create(float m11, float m12, float m21, float m22, float dx, float dy) {
    return CreateWith<gp::GpMatrix>(
        [&](gp::GpMatrix** m) { return dll::GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, m); });
}
bool GdipMatrix::Clone(GdipMatrix& target) const {
    gp::GpMatrix* m = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneMatrix(Native(), &m));
    if (ok) target.Adopt(m);
    return ok;
}
bool GdipMatrix::GetElements(std::array<float, 6>& elements) const {
    return RecordStatus(dll::GdipGetMatrixElements(Native(), elements.data()));
}
bool GdipMatrix::SetElements(float m11, float m12, float m21, float m22, float dx, float dy) {
    return RecordStatus(dll::GdipSetMatrixElements(Native(), m11, m12, m21, m22, dx, dy));
}
bool GdipMatrix::Translate(float dx, float dy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipTranslateMatrix(Native(), dx, dy, order));
}
bool GdipMatrix::Rotate(float angle, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipRotateMatrix(Native(), angle, order));
}
bool GdipMatrix::Scale(float sx, float sy, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipScaleMatrix(Native(), sx, sy, order));
}
bool GdipMatrix::Multiply(const GdipMatrix& other, gp::MatrixOrder order) {
    return RecordStatus(dll::GdipMultiplyMatrix(Native(), other.Native(), order));
}
bool GdipMatrix::TransformPoints(std::vector<gp::PointF>& points) const {
    return RecordStatus(dll::GdipTransformMatrixPoints(Native(), points.data(),
                                                       static_cast<INT>(points.size())));
}

// ---------------------------------------------------------------------------

GdipCustomLineCap::GdipCustomLineCap()
    : GdipObject([](void* h) {
          return dll::GdipDeleteCustomLineCap(static_cast<gp::GpCustomLineCap*>(h));
      }) {}

bool GdipCustomLineCap::Delete() { return ReleaseHandle(); }
bool GdipCustomLineCap::CreateAdjustableArrow(float height, float width, bool filled) {
    gp::GpAdjustableArrowCap* cap = nullptr;
    Adopt(nullptr);
    const bool ok = RecordStatus(dll::GdipCreateAdjustableArrowCap(height, width, filled, &cap));
    handle_ = cap;
    return ok;
}
bool GdipCustomLineCap::Clone(GdipCustomLineCap& target) const {
    gp::GpCustomLineCap* cap = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneCustomLineCap(Native(), &cap));
    if (ok) target.Adopt(cap);
    return ok;
}

}  // namespace vostrel
