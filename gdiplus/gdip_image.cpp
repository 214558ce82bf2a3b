// Images, bitmaps and the memory stream.
#include "gdip_image.h"

#include "gdip_brush.h"
#include "gdip_graphics.h"

#include <cmath>
#include <cstring>

namespace vostrel {

// ---------------------------------------------------------------------------
// HGlobalStream

HGlobalStream::~HGlobalStream() { Close(); }

HGlobalStream::HGlobalStream(HGlobalStream&& other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)), stream_(std::exchange(other.stream_, nullptr)) {}

HGlobalStream& HGlobalStream::operator=(HGlobalStream&& other) noexcept {
    if (this != &other) {
        Close();
        memory_ = std::exchange(other.memory_, nullptr);
        stream_ = std::exchange(other.stream_, nullptr);
    }
    return *this;
}

IStream* HGlobalStream::OpenFromBytes(const void* data, size_t dataSize, std::optional<size_t> length) {
    Close();
    const size_t n = length.value_or(dataSize);
    if (n > dataSize || (n && !data) || n > 0x7FFFFFFF) {
        GdipLastStatus = gp::InvalidParameter;
        return nullptr;
    }
    IStream* stream = nullptr;
    if (FAILED(dll::CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !stream) {
        GdipLastStatus = gp::OutOfMemory;
        return nullptr;
    }
    HGLOBAL memory = nullptr;
    ULARGE_INTEGER size;
    size.QuadPart = n;
    if (FAILED(stream->SetSize(size)) || FAILED(dll::GetHGlobalFromStream(stream, &memory))) {
        stream->Release();
        GdipLastStatus = gp::OutOfMemory;
        return nullptr;
    }
    if (n) {
        void* p = dll::GlobalLock(memory);
        if (!p) {
            stream->Release();
            GdipLastStatus = gp::OutOfMemory;
            return nullptr;
        }
        std::memcpy(p, data, n);
        dll::GlobalUnlock(memory);
    }
    memory_ = memory;
    stream_ = stream;
    return stream_;
}

void HGlobalStream::Close() {
    if (!stream_) return;
    stream_->Release();
    stream_ = nullptr;
    memory_ = nullptr;
}

size_t HGlobalStream::GetSize() const {
    if (!stream_) return 0;
    STATSTG stat{};
    if (SUCCEEDED(stream_->Stat(&stat, STATFLAG_NONAME))) {
        const size_t block = memory_ ? dll::GlobalSize(memory_) : 0;
        return static_cast<size_t>(std::min<ULONGLONG>(stat.cbSize.QuadPart, block));
    }
    return memory_ ? dll::GlobalSize(memory_) : 0;
}

bool HGlobalStream::AttachStream(IStream* stream) {
    Close();
    if (!stream) return false;
    HGLOBAL memory = nullptr;
    if (FAILED(dll::GetHGlobalFromStream(stream, &memory)) || !memory) return false;
    stream->AddRef();
    stream_ = stream;
    memory_ = memory;
    return true;
}

std::vector<BYTE> HGlobalStream::GetBytes() const {
    std::vector<BYTE> bytes;
    const size_t n = GetSize();
    if (!n) return bytes;
    const void* p = dll::GlobalLock(memory_);
    if (!p) return bytes;
    bytes.assign(static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
    dll::GlobalUnlock(memory_);
    return bytes;
}

// ---------------------------------------------------------------------------
// Encoders

size_t EncoderValueSize(ULONG type, ULONG count) {
    switch (type) {
    case gp::EncoderParameterValueTypeByte:
    case gp::EncoderParameterValueTypeASCII:
    case gp::EncoderParameterValueTypeUndefined: return count;
    case gp::EncoderParameterValueTypeShort: return 2ull * count;
    case gp::EncoderParameterValueTypeLong: return 4ull * count;
    case gp::EncoderParameterValueTypeRational:
    case gp::EncoderParameterValueTypeLongRange: return 8ull * count;
    case gp::EncoderParameterValueTypeRationalRange: return 16ull * count;
    default: return 0;
    }
}

namespace {

// An 8-byte aligned scratch buffer for the variable-size GDI+ records.
class Scratch {
public:
    explicit Scratch(size_t bytes) : words_((bytes + 7) / 8 + 1) {}
    template <typename T> T* as() { return reinterpret_cast<T*>(words_.data()); }
    [[nodiscard]] size_t size() const { return (words_.size() - 1) * 8; }

private:
    std::vector<uint64_t> words_;
};

// The native EncoderParameters block for a set, or InvalidParameter when the
// set's count disagrees with its parameters or a value holds fewer bytes than
// its count and type need (GDI+ would read past it).
class NativeParameters {
public:
    explicit NativeParameters(const EncoderParameterSet* set) {
        if (!set) return;
        if (set->Count != set->Parameters.size()) {
            valid_ = false;
            return;
        }
        const size_t n = set->Parameters.size();
        block_.emplace(sizeof(gp::EncoderParameters) + (n ? n - 1 : 0) * sizeof(gp::EncoderParameter));
        auto* p = block_->as<gp::EncoderParameters>();
        p->Count = static_cast<UINT>(n);
        for (size_t i = 0; i < n; ++i) {
            const EncoderParameterRecord& r = set->Parameters[i];
            const size_t need = EncoderValueSize(r.Type, r.NumberOfValues);
            if (need == 0 && r.NumberOfValues != 0) valid_ = false;
            if (r.Value.size() < need) valid_ = false;
            gp::EncoderParameter& e = p->Parameter[i];
            e.Guid = TextToGuid(r.Guid);
            e.NumberOfValues = r.NumberOfValues;
            e.Type = r.Type;
            e.Value = const_cast<BYTE*>(r.Value.data());
        }
    }
    [[nodiscard]] bool valid() const { return valid_; }
    const gp::EncoderParameters* get() { return block_ ? block_->as<gp::EncoderParameters>() : nullptr; }

private:
    std::optional<Scratch> block_;
    bool valid_ = true;
};

}  // namespace

UINT GetImageEncoders(std::vector<ImageCodecRecord>& codecs) {
    UINT count = 0, size = 0;
    if (!RecordStatus(dll::GdipGetImageEncodersSize(&count, &size))) return 0;
    Scratch buffer(size);
    auto* info = buffer.as<gp::ImageCodecInfo>();
    if (count && !RecordStatus(dll::GdipGetImageEncoders(count, size, info))) return 0;
    std::vector<ImageCodecRecord> out(count);
    for (UINT i = 0; i < count; ++i) {
        const gp::ImageCodecInfo& c = info[i];
        ImageCodecRecord& r = out[i];
        r.Clsid = GuidToText(c.Clsid);
        r.FormatId = GuidToText(c.FormatID);
        r.CodecName = WideToAnsi(c.CodecName);
        r.DllName = WideToAnsi(c.DllName);
        r.FormatDescription = WideToAnsi(c.FormatDescription);
        r.FilenameExtension = WideToAnsi(c.FilenameExtension);
        r.MimeType = WideToAnsi(c.MimeType);
        r.Flags = c.Flags;
        r.Version = c.Version;
        r.SigCount = c.SigCount;
        r.SigSize = c.SigSize;
        const size_t sig = static_cast<size_t>(c.SigCount) * c.SigSize;
        if (sig && c.SigPattern) r.SigPattern.assign(c.SigPattern, c.SigPattern + sig);
        if (sig && c.SigMask) r.SigMask.assign(c.SigMask, c.SigMask + sig);
    }
    codecs = std::move(out);
    return count;
}

std::string EncoderClsidForFormat(std::string_view format) {
    std::vector<ImageCodecRecord> codecs;
    GetImageEncoders(codecs);
    for (const ImageCodecRecord& c : codecs)
        if (c.FormatId == format) return c.Clsid;
    return {};
}

namespace {
CLSID EncoderFor(std::string_view format) { return TextToGuid(EncoderClsidForFormat(format)); }
}  // namespace

// ---------------------------------------------------------------------------
// GdipImage

GdipImage::GdipImage()
    : GdipObject([](void* h) { return dll::GdipDisposeImage(static_cast<gp::GpImage*>(h)); }) {}

GdipImage::~GdipImage() { Dispose(); }

GdipImage::GdipImage(GdipImage&& other) noexcept
    : GdipObject(std::move(other)), stream_(std::move(other.stream_)) {}

GdipImage& GdipImage::operator=(GdipImage&& other) noexcept {
    if (this != &other) {
        Adopt(nullptr);
        handle_ = other.Detach();
        stream_ = std::move(other.stream_);
    }
    return *this;
}

void GdipImage::Adopt(void* h) noexcept {
    if (h == handle_) return;
    GdipObject::Adopt(h);
    stream_.Close();  // after the image that read from it is gone
}

bool GdipImage::Dispose() {
    if (!handle_) return false;
    const bool ok = ReleaseHandle();
    stream_.Close();
    return ok;
}

bool GdipImage::LoadFromFile(std::string_view path, bool useIcm) {
    return LoadFromFileW(AnsiToWide(path), useIcm);
}

bool GdipImage::LoadFromFileW(std::wstring_view path, bool useIcm) {
    Adopt(nullptr);
    const std::wstring p(path);
    return CreateWith<gp::GpImage>([&](gp::GpImage** h) {
        return useIcm ? dll::GdipLoadImageFromFileICM(p.c_str(), h) : dll::GdipLoadImageFromFile(p.c_str(), h);
    });
}

bool GdipImage::LoadFromBytes(const std::vector<BYTE>& data, bool useIcm) {
    return LoadFromBytes(data.data(), data.size(), useIcm);
}

bool GdipImage::LoadFromBytes(const void* data, size_t size, bool useIcm) {
    Adopt(nullptr);
    IStream* stream = stream_.OpenFromBytes(data, size);
    if (!stream) return false;
    const bool ok = CreateWith<gp::GpImage>([&](gp::GpImage** h) {
        return useIcm ? dll::GdipLoadImageFromStreamICM(stream, h) : dll::GdipLoadImageFromStream(stream, h);
    });
    if (!handle_) stream_.Close();
    return ok;
}

bool GdipImage::Clone(GdipImage& target) const {
    gp::GpImage* copy = nullptr;
    const bool ok = RecordStatus(dll::GdipCloneImage(NativeImage(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}

bool GdipImage::GetEncoderParameterList(std::string_view format, EncoderParameterSet& set) const {
    const CLSID clsid = EncoderFor(format);
    UINT size = 0;
    if (!RecordStatus(dll::GdipGetEncoderParameterListSize(NativeImage(), &clsid, &size))) return false;
    Scratch buffer(size);
    auto* list = buffer.as<gp::EncoderParameters>();
    if (!RecordStatus(dll::GdipGetEncoderParameterList(NativeImage(), &clsid, size, list))) return false;
    // Never trust the count beyond what the buffer holds.
    const size_t fits = size >= sizeof(UINT) + sizeof(void*)
                            ? (size - offsetof(gp::EncoderParameters, Parameter)) / sizeof(gp::EncoderParameter)
                            : 0;
    const UINT count = static_cast<UINT>(std::min<size_t>(list->Count, fits));
    EncoderParameterSet out;
    out.Count = count;
    out.Parameters.resize(count);
    for (UINT i = 0; i < count; ++i) {
        const gp::EncoderParameter& e = list->Parameter[i];
        EncoderParameterRecord& r = out.Parameters[i];
        r.Guid = GuidToText(e.Guid);
        r.NumberOfValues = e.NumberOfValues;
        r.Type = e.Type;
        const size_t n = EncoderValueSize(e.Type, e.NumberOfValues);
        if (e.Value && n) r.Value.assign(static_cast<const BYTE*>(e.Value), static_cast<const BYTE*>(e.Value) + n);
    }
    set = std::move(out);
    return GdipLastStatus == gp::Ok;
}

bool GdipImage::SaveToFile(std::string_view path, std::string_view format,
                           const EncoderParameterSet* parameters) const {
    return SaveToFileW(AnsiToWide(path), format, parameters);
}

bool GdipImage::SaveToFileW(std::wstring_view path, std::string_view format,
                            const EncoderParameterSet* parameters) const {
    const CLSID clsid = EncoderFor(format);
    NativeParameters block(parameters);
    if (!block.valid()) return RecordStatus(gp::InvalidParameter);
    const std::wstring p(path);
    return RecordStatus(dll::GdipSaveImageToFile(NativeImage(), p.c_str(), &clsid, block.get()));
}

std::vector<BYTE> GdipImage::SaveToBytes(std::optional<std::string_view> format,
                                         const EncoderParameterSet* parameters) const {
    const std::string raw = format ? std::string() : GetRawFormat();
    const CLSID clsid = EncoderFor(format ? *format : std::string_view(raw));
    NativeParameters block(parameters);
    if (!block.valid()) {
        RecordStatus(gp::InvalidParameter);
        return {};
    }
    HGlobalStream stream;
    if (!stream.OpenFromBytes(nullptr, 0)) return {};
    if (!RecordStatus(dll::GdipSaveImageToStream(NativeImage(), stream.GetStream(), &clsid, block.get())))
        return {};  // nothing half-written reaches the caller
    return stream.GetBytes();
}

bool GdipImage::SaveAdd(const EncoderParameterSet& parameters) {
    NativeParameters block(&parameters);
    if (!block.valid()) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(dll::GdipSaveAdd(NativeImage(), block.get()));
}

bool GdipImage::SaveAddImage(const GdipImage& image, const EncoderParameterSet& parameters) {
    NativeParameters block(&parameters);
    if (!block.valid()) return RecordStatus(gp::InvalidParameter);
    return RecordStatus(dll::GdipSaveAddImage(NativeImage(), image.NativeImage(), block.get()));
}

gp::ImageType GdipImage::GetType() const {
    gp::ImageType t{};
    RecordStatus(dll::GdipGetImageType(NativeImage(), &t));
    return t;
}

gp::SizeF GdipImage::GetPhysicalDimension() const {
    float w = 0, h = 0;
    if (!RecordStatus(dll::GdipGetImageDimension(NativeImage(), &w, &h))) w = h = 0;
    return gp::SizeF(w, h);
}

gp::GpStatus GdipImage::GetBounds(gp::RectF& rect, gp::Unit& unit) const {
    RecordStatus(dll::GdipGetImageBounds(NativeImage(), &rect, &unit));
    return GdipLastStatus;
}

UINT GdipImage::GetWidth() const {
    UINT v = 0;
    if (!RecordStatus(dll::GdipGetImageWidth(NativeImage(), &v))) v = 0;
    return v;
}

UINT GdipImage::GetHeight() const {
    UINT v = 0;
    if (!RecordStatus(dll::GdipGetImageHeight(NativeImage(), &v))) v = 0;
    return v;
}

float GdipImage::GetHorizontalResolution() const {
    float v = 0;
    if (!RecordStatus(dll::GdipGetImageHorizontalResolution(NativeImage(), &v))) v = 0;
    return v;
}

float GdipImage::GetVerticalResolution() const {
    float v = 0;
    if (!RecordStatus(dll::GdipGetImageVerticalResolution(NativeImage(), &v))) v = 0;
    return v;
}

UINT GdipImage::GetFlags() const {
    UINT v = 0;
    if (!RecordStatus(dll::GdipGetImageFlags(NativeImage(), &v))) v = 0;
    return v;
}

std::string GdipImage::GetRawFormat() const {
    GUID g{};
    if (!RecordStatus(dll::GdipGetImageRawFormat(NativeImage(), &g))) return {};
    return GuidToText(g);
}

gp::PixelFormat GdipImage::GetPixelFormat() const {
    gp::PixelFormat v = 0;
    if (!RecordStatus(dll::GdipGetImagePixelFormat(NativeImage(), &v))) v = 0;
    return v;
}

bool GdipImage::GetPalette(GdipPalette& palette) const {
    INT size = 0;
    if (!RecordStatus(dll::GdipGetImagePaletteSize(NativeImage(), &size)) || size < 0) return false;
    Scratch buffer(static_cast<size_t>(size) + sizeof(gp::ColorPalette));
    auto* pal = buffer.as<gp::ColorPalette>();
    if (!RecordStatus(dll::GdipGetImagePalette(NativeImage(), pal, size))) return false;
    const size_t fits = static_cast<size_t>(size) > offsetof(gp::ColorPalette, Entries)
                            ? (static_cast<size_t>(size) - offsetof(gp::ColorPalette, Entries)) / sizeof(gp::ARGB)
                            : 0;
    const UINT count = static_cast<UINT>(std::min<size_t>(pal->Count, fits));
    palette.flags = pal->Flags;
    palette.count = count;
    palette.entries.assign(pal->Entries, pal->Entries + count);
    return true;
}

bool GdipImage::SetPalette(const GdipPalette& palette) {
    if (palette.count > palette.entries.size()) return RecordStatus(gp::InvalidParameter);
    Scratch buffer(sizeof(gp::ColorPalette) + palette.count * sizeof(gp::ARGB));
    auto* pal = buffer.as<gp::ColorPalette>();
    pal->Flags = palette.flags;
    pal->Count = palette.count;
    if (palette.count) std::memcpy(pal->Entries, palette.entries.data(), palette.count * sizeof(gp::ARGB));
    return RecordStatus(dll::GdipSetImagePalette(NativeImage(), pal));
}

bool GdipImage::GetThumbnail(UINT width, UINT height, GdipImage& target) const {
    gp::GpImage* thumb = nullptr;
    const bool ok =
        RecordStatus(dll::GdipGetImageThumbnail(NativeImage(), width, height, &thumb, nullptr, nullptr));
    if (ok) target.Adopt(thumb);
    return ok;
}

UINT GdipImage::GetFrameCount(std::string_view dimension) const {
    const GUID g = TextToGuid(dimension);
    UINT n = 0;
    if (!RecordStatus(dll::GdipImageGetFrameCount(NativeImage(), &g, &n))) n = 0;
    return n;
}

UINT GdipImage::GetFrameDimensions(std::vector<std::string>& dimensions) const {
    UINT n = 0;
    if (!RecordStatus(dll::GdipImageGetFrameDimensionsCount(NativeImage(), &n))) return 0;
    std::vector<GUID> ids(n);
    if (n && !RecordStatus(dll::GdipImageGetFrameDimensionsList(NativeImage(), ids.data(), n))) return 0;
    dimensions.resize(n);
    for (UINT i = 0; i < n; ++i) dimensions[i] = GuidToText(ids[i]);
    return n;
}

bool GdipImage::SelectActiveFrame(std::string_view dimension, UINT index) {
    const GUID g = TextToGuid(dimension);
    return RecordStatus(dll::GdipImageSelectActiveFrame(NativeImage(), &g, index));
}

bool GdipImage::RotateFlip(gp::RotateFlipType type) {
    return RecordStatus(dll::GdipImageRotateFlip(NativeImage(), type));
}

bool GdipImage::GetFrameDelays(std::vector<INT>& delays) const {
    GdipPropertyItem item;
    if (!GetPropertyItem(0x5100, item)) return false;
    delays.resize(item.value.size() / 4);
    if (!delays.empty()) std::memcpy(delays.data(), item.value.data(), delays.size() * 4);
    return true;
}

bool GdipImage::GetPropertyItem(PROPID id, GdipPropertyItem& item) const {
    UINT size = 0;
    if (!RecordStatus(dll::GdipGetPropertyItemSize(NativeImage(), id, &size))) return false;
    Scratch buffer(size);
    auto* p = buffer.as<gp::PropertyItem>();
    if (size < sizeof(gp::PropertyItem)) return RecordStatus(gp::GenericError);
    if (!RecordStatus(dll::GdipGetPropertyItem(NativeImage(), id, size, p))) return false;
    item.id = p->id;
    item.type = p->type;
    // The value lies inside the buffer; never copy past it.
    const BYTE* start = static_cast<const BYTE*>(p->value);
    const BYTE* base = buffer.as<BYTE>();
    size_t length = p->length;
    if (!start || start < base || start > base + size) length = 0;
    else length = std::min<size_t>(length, static_cast<size_t>(base + size - start));
    item.length = static_cast<ULONG>(length);
    item.value.assign(start, start + length);
    return true;
}

bool GdipImage::SetPropertyItem(const GdipPropertyItem& item) {
    if (item.length > item.value.size()) return RecordStatus(gp::InvalidParameter);
    gp::PropertyItem p;
    p.id = item.id;
    p.length = item.length;
    p.type = item.type;
    p.value = const_cast<BYTE*>(item.value.data());
    return RecordStatus(dll::GdipSetPropertyItem(NativeImage(), &p));
}

bool GdipImage::RemovePropertyItem(PROPID id) {
    return RecordStatus(dll::GdipRemovePropertyItem(NativeImage(), id));
}

UINT GdipImage::GetPropertyIdList(std::vector<PROPID>& ids) const {
    UINT n = 0;
    if (!RecordStatus(dll::GdipGetPropertyCount(NativeImage(), &n))) return 0;
    std::vector<PROPID> list(n);
    if (n && !RecordStatus(dll::GdipGetPropertyIdList(NativeImage(), n, list.data()))) return 0;
    ids = std::move(list);
    return n;
}

// ---------------------------------------------------------------------------
// GdipBitmap

bool GdipBitmap::CreateFromFile(std::string_view path, bool useIcm) {
    return CreateFromFileW(AnsiToWide(path), useIcm);
}

bool GdipBitmap::CreateFromFileW(std::wstring_view path, bool useIcm) {
    Adopt(nullptr);
    const std::wstring p(path);
    return CreateWith<gp::GpBitmap>([&](gp::GpBitmap** h) {
        return useIcm ? dll::GdipCreateBitmapFromFileICM(p.c_str(), h)
                      : dll::GdipCreateBitmapFromFile(p.c_str(), h);
    });
}

bool GdipBitmap::CreateFromBytes(const std::vector<BYTE>& data, bool useIcm) {
    return CreateFromBytes(data.data(), data.size(), useIcm);
}

bool GdipBitmap::CreateFromBytes(const void* data, size_t size, bool useIcm) {
    Adopt(nullptr);
    IStream* stream = stream_.OpenFromBytes(data, size);
    if (!stream) return false;
    const bool ok = CreateWith<gp::GpBitmap>([&](gp::GpBitmap** h) {
        return useIcm ? dll::GdipCreateBitmapFromStreamICM(stream, h)
                      : dll::GdipCreateBitmapFromStream(stream, h);
    });
    if (!handle_) stream_.Close();
    return ok;
}

bool GdipBitmap::CreateFromScan0(INT width, INT height, INT stride, gp::PixelFormat format, BYTE* scan0) {
    Adopt(nullptr);
    return CreateWith<gp::GpBitmap>([&](gp::GpBitmap** h) {
        return dll::GdipCreateBitmapFromScan0(width, height, stride, format, scan0, h);
    });
}

bool GdipBitmap::Create(INT width, INT height, gp::PixelFormat format) {
    return CreateFromScan0(width, height, 0, format, nullptr);
}

bool GdipBitmap::CreateFromGraphics(INT width, INT height, const GdipGraphics& graphics) {
    Adopt(nullptr);
    return CreateWith<gp::GpBitmap>([&](gp::GpBitmap** h) {
        return dll::GdipCreateBitmapFromGraphics(width, height, graphics.Native(), h);
    });
}

bool GdipBitmap::CreateFromGdiDib(const BITMAPINFO* info, void* bits) {
    Adopt(nullptr);
    return CreateWith<gp::GpBitmap>(
        [&](gp::GpBitmap** h) { return dll::GdipCreateBitmapFromGdiDib(info, bits, h); });
}

bool GdipBitmap::CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette) {
    Adopt(nullptr);
    return CreateWith<gp::GpBitmap>(
        [&](gp::GpBitmap** h) { return dll::GdipCreateBitmapFromHBITMAP(bitmap, palette, h); });
}

bool GdipBitmap::CreateFromHICON(HICON icon) {
    Adopt(nullptr);
    return CreateWith<gp::GpBitmap>([&](gp::GpBitmap** h) { return dll::GdipCreateBitmapFromHICON(icon, h); });
}

bool GdipBitmap::CreateFromResource(HINSTANCE module, std::string_view name) {
    Adopt(nullptr);
    const std::wstring n = AnsiToWide(name);
    return CreateWith<gp::GpBitmap>(
        [&](gp::GpBitmap** h) { return dll::GdipCreateBitmapFromResource(module, n.c_str(), h); });
}

HBITMAP GdipBitmap::GetHBITMAP(gp::ARGB background) const {
    HBITMAP bitmap = nullptr;
    if (!RecordStatus(dll::GdipCreateHBITMAPFromBitmap(NativeBitmap(), &bitmap, background))) return nullptr;
    return bitmap;
}

HICON GdipBitmap::GetHICON() const {
    HICON icon = nullptr;
    if (!RecordStatus(dll::GdipCreateHICONFromBitmap(NativeBitmap(), &icon))) return nullptr;
    return icon;
}

bool GdipBitmap::CloneArea(const gp::RectF& rect, gp::PixelFormat format, GdipBitmap& target) const {
    gp::GpBitmap* copy = nullptr;
    const bool ok = RecordStatus(
        dll::GdipCloneBitmapArea(rect.X, rect.Y, rect.Width, rect.Height, format, NativeBitmap(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}

bool GdipBitmap::CloneAreaI(const gp::Rect& rect, gp::PixelFormat format, GdipBitmap& target) const {
    gp::GpBitmap* copy = nullptr;
    const bool ok = RecordStatus(
        dll::GdipCloneBitmapAreaI(rect.X, rect.Y, rect.Width, rect.Height, format, NativeBitmap(), &copy));
    if (ok) target.Adopt(copy);
    return ok;
}

bool GdipBitmap::LockBits(const gp::Rect& rect, UINT flags, gp::PixelFormat format, gp::BitmapData& data) {
    return RecordStatus(dll::GdipBitmapLockBits(NativeBitmap(), &rect, flags, format, &data));
}

bool GdipBitmap::UnlockBits(gp::BitmapData& data) {
    return RecordStatus(dll::GdipBitmapUnlockBits(NativeBitmap(), &data));
}

gp::ARGB GdipBitmap::GetPixel(INT x, INT y) const {
    gp::ARGB colour = 0;
    if (!RecordStatus(dll::GdipBitmapGetPixel(NativeBitmap(), x, y, &colour))) colour = 0;
    return colour;
}

bool GdipBitmap::SetPixel(INT x, INT y, gp::ARGB colour) {
    return RecordStatus(dll::GdipBitmapSetPixel(NativeBitmap(), x, y, colour));
}

bool GdipBitmap::SetResolution(float dpiX, float dpiY) {
    return RecordStatus(dll::GdipBitmapSetResolution(NativeBitmap(), dpiX, dpiY));
}

bool GdipBitmap::ApplyEffect(GdipEffect& effect, const RECT* rect) {
    if (effect.auxData) {
        dll::GdipFree(effect.auxData);
        effect.auxData = nullptr;
        effect.auxDataSize = 0;
    }
    RECT r{};
    if (rect) r = *rect;
    void* aux = nullptr;
    INT auxSize = 0;
    const bool ok = RecordStatus(dll::GdipBitmapApplyEffect(NativeBitmap(), effect.handle, rect ? &r : nullptr,
                                                            effect.useAuxData, &aux, &auxSize));
    effect.auxData = aux;
    effect.auxDataSize = aux ? auxSize : 0;
    return ok;
}

void GdipBitmap::RotatedBoundsSize(float width, float height, INT angle, float& newWidth, float& newHeight) {
    const double theta = angle * 3.1415926535 / 180.0;
    const double sn = std::sin(theta), cs = std::cos(theta);
    const double a = (static_cast<double>(width) - 1) / 2, b = (static_cast<double>(height) - 1) / 2;
    const double px[4] = {-a, a, -a, a}, py[4] = {b, b, -b, -b};
    double rx[4], ry[4];
    for (int i = 0; i < 4; ++i) {
        rx[i] = cs * px[i] + sn * py[i];
        ry[i] = -sn * px[i] + cs * py[i];
    }
    const double dx0 = std::fabs(rx[3] - rx[0]), dx1 = std::fabs(rx[2] - rx[1]);
    const double dy0 = std::fabs(ry[3] - ry[0]), dy1 = std::fabs(ry[2] - ry[1]);
    newWidth = static_cast<float>(dx0 > dx1 ? dx0 : dx1);
    newHeight = static_cast<float>(dy0 > dy1 ? dy0 : dy1);
}

bool GdipBitmap::RotateToBitmap(float angle, GdipBitmap& target, std::optional<gp::ARGB> background,
                                std::optional<gp::InterpolationMode> interpolation,
                                std::optional<gp::SizeF> size) const {
    UINT w = 0, h = 0;
    RecordStatus(dll::GdipGetImageWidth(NativeImage(), &w));
    RecordStatus(dll::GdipGetImageHeight(NativeImage(), &h));
    float W, H;
    if (size) {
        W = size->Width;
        H = size->Height;
    } else {
        RotatedBoundsSize(static_cast<float>(w), static_cast<float>(h), static_cast<INT>(angle), W, H);
    }
    gp::GpBitmap* bitmap = nullptr;
    if (!RecordStatus(dll::GdipCreateBitmapFromScan0(static_cast<INT>(W), static_cast<INT>(H), 0,
                                                     PixelFormat32bppARGB, nullptr, &bitmap)))
        return false;
    float dpiX = 0, dpiY = 0;
    RecordStatus(dll::GdipGetImageHorizontalResolution(NativeImage(), &dpiX));
    RecordStatus(dll::GdipGetImageVerticalResolution(NativeImage(), &dpiY));
    RecordStatus(dll::GdipBitmapSetResolution(bitmap, dpiX, dpiY));
    gp::GpGraphics* graphics = nullptr;
    if (!RecordStatus(dll::GdipGetImageGraphicsContext(bitmap, &graphics))) {
        dll::GdipDisposeImage(bitmap);
        return false;
    }
    auto fail = [&] {
        const gp::GpStatus keep = GdipLastStatus;
        dll::GdipDeleteGraphics(graphics);
        dll::GdipDisposeImage(bitmap);
        GdipLastStatus = keep;
        return false;
    };
    if (background) {
        gp::GpSolidFill* brush = nullptr;
        if (!RecordStatus(dll::GdipCreateSolidFill(*background, &brush))) return fail();
        RecordStatus(dll::GdipFillRectangle(graphics, brush, 0, 0, W, H));
        dll::GdipDeleteBrush(brush);
    }
    if (interpolation) RecordStatus(dll::GdipSetInterpolationMode(graphics, *interpolation));
    gp::GpMatrix* matrix = nullptr;
    if (!RecordStatus(dll::GdipCreateMatrix(&matrix))) return fail();
    dll::GdipTranslateMatrix(matrix, W / 2, H / 2, gp::MatrixOrderPrepend);
    dll::GdipRotateMatrix(matrix, angle, gp::MatrixOrderPrepend);
    dll::GdipTranslateMatrix(matrix, -W / 2, -H / 2, gp::MatrixOrderPrepend);
    dll::GdipTranslateMatrix(matrix, (W - static_cast<float>(w)) / 2, (H - static_cast<float>(h)) / 2,
                             gp::MatrixOrderPrepend);
    RecordStatus(dll::GdipSetWorldTransform(graphics, matrix));
    const gp::GpStatus drawn = dll::GdipDrawImage(graphics, NativeImage(), 0, 0);
    dll::GdipResetWorldTransform(graphics);
    dll::GdipDeleteMatrix(matrix);
    dll::GdipDeleteGraphics(graphics);
    if (!RecordStatus(drawn)) {
        dll::GdipDisposeImage(bitmap);
        GdipLastStatus = drawn;
        return false;
    }
    target.Adopt(bitmap);
    return true;
}

}  // namespace vostrel
