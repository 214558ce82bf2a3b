// Images, bitmaps, the memory stream they load from and save to, and the
// image encoders.
#pragma once

#include "gdip_object.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel {

class GdipGraphics;

// A COM stream over one movable global memory block.
class HGlobalStream {
public:
    HGlobalStream() = default;
    ~HGlobalStream();
    HGlobalStream(const HGlobalStream&) = delete;
    HGlobalStream& operator=(const HGlobalStream&) = delete;
    HGlobalStream(HGlobalStream&& other) noexcept;
    HGlobalStream& operator=(HGlobalStream&& other) noexcept;

    // The memory block belongs to the stream (it is freed with the stream's
    // last reference), so an image that GDI+ still reads through the stream
    // can never see freed memory, whichever of the two goes first.

    // Closes what was held, copies the first `length` bytes of data (default
    // all) into a new block and returns a stream over it, positioned at the
    // start. A length larger than the data is refused (InvalidParameter in
    // GdipLastStatus, result null, nothing held).
    IStream* OpenFromBytes(const void* data, size_t dataSize,
                           std::optional<size_t> length = std::nullopt);
    IStream* OpenFromBytes(const std::vector<BYTE>& data,
                           std::optional<size_t> length = std::nullopt) {
        return OpenFromBytes(data.data(), data.size(), length);
    }
    // Releases this object's reference to the stream (the block goes with the
    // stream's last reference); nothing when closed.
    void Close();
    // The stream's size in bytes (0 when closed).
    [[nodiscard]] size_t GetSize() const;
    [[nodiscard]] IStream* GetStream() const noexcept { return stream_; }
    [[nodiscard]] HGLOBAL GetMemoryHandle() const noexcept { return memory_; }
    // Closes what was held and keeps `stream` (adding a reference) and the
    // block under it; true when a block was obtained. The block stays the
    // stream's: Close only releases this object's reference.
    bool AttachStream(IStream* stream);
    // A copy of the stream's bytes (empty when closed).
    [[nodiscard]] std::vector<BYTE> GetBytes() const;

private:
    HGLOBAL memory_ = nullptr;
    IStream* stream_ = nullptr;
};

// A palette: flags, count and that many ARGB entries.
struct GdipPalette {
    UINT flags = 0;
    UINT count = 0;
    std::vector<gp::ARGB> entries;
};

// A property item: id, length, type and `length` value bytes.
struct GdipPropertyItem {
    PROPID id = 0;
    ULONG length = 0;
    WORD type = 0;
    std::vector<BYTE> value;
};

// One installed image encoder.
struct ImageCodecRecord {
    std::string Clsid, FormatId;
    std::string CodecName, DllName, FormatDescription, FilenameExtension, MimeType;
    DWORD Flags = 0, Version = 0, SigCount = 0, SigSize = 0;
    std::vector<BYTE> SigPattern, SigMask;
};

// One encoder parameter: its category GUID text, value count, value type
// (EncoderParameterValueType) and value bytes.
struct EncoderParameterRecord {
    std::string Guid;
    ULONG NumberOfValues = 0;
    ULONG Type = 0;
    std::vector<BYTE> Value;
};

struct EncoderParameterSet {
    UINT Count = 0;  // must equal Parameters.size()
    std::vector<EncoderParameterRecord> Parameters;
};

// Bytes that `count` values of encoder value type `type` take (0 for an
// unknown type).
size_t EncoderValueSize(ULONG type, ULONG count);

// Format GUID texts of the common image formats.
inline constexpr const char* kImageFormatBMP = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr const char* kImageFormatJPEG = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr const char* kImageFormatPNG = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr const char* kImageFormatGIF = "{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr const char* kImageFormatTIFF = "{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr const char* kFrameDimensionPage = "{7462DC86-6180-4C7E-8E3F-EE7333A7A483}";
inline constexpr const char* kFrameDimensionTime = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";
inline constexpr const char* kEncoderQuality = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";
inline constexpr const char* kEncoderSaveFlag = "{292266FC-AC40-47BF-8CFC-A85B89A655DE}";

// Fills `codecs` with the installed encoders; returns their number (0 and
// `codecs` untouched when the list cannot be read).
UINT GetImageEncoders(std::vector<ImageCodecRecord>& codecs);
// The CLSID text of the first encoder whose format GUID text equals `format`
// exactly, or "".
std::string EncoderClsidForFormat(std::string_view format);

// A GDI+ effect and its auxiliary data, for GdipBitmap::ApplyEffect.
struct GdipEffect {
    gp::CGpEffect* handle = nullptr;
    bool useAuxData = false;
    void* auxData = nullptr;  // GdipAlloc'd by GDI+; freed by the next ApplyEffect
    INT auxDataSize = 0;
};

// A GDI+ image (GpImage).
class GdipImage : public GdipObject {
public:
    GdipImage();
    ~GdipImage();
    GdipImage(GdipImage&& other) noexcept;
    GdipImage& operator=(GdipImage&& other) noexcept;
    [[nodiscard]] gp::GpImage* NativeImage() const noexcept { return static_cast<gp::GpImage*>(handle_); }
    // Disposes the current image (status not recorded), closes its stream and
    // holds h.
    void Adopt(void* h) noexcept;

    bool Dispose();                                                       // 8
    bool LoadFromFile(std::string_view path, bool useIcm = false);        // 9
    bool LoadFromFileW(std::wstring_view path, bool useIcm = false);      // 10
    // Copies the bytes into the image's own stream, which lives as long as the
    // image; the caller's buffer may go at once.
    bool LoadFromBytes(const std::vector<BYTE>& data, bool useIcm = false);  // 11
    bool LoadFromBytes(const void* data, size_t size, bool useIcm = false);
    bool Clone(GdipImage& target) const;                                  // 12
    bool GetEncoderParameterList(std::string_view format, EncoderParameterSet& set) const;  // 13
    bool SaveToFile(std::string_view path, std::string_view format = kImageFormatBMP,
                    const EncoderParameterSet* parameters = nullptr) const;  // 14
    bool SaveToFileW(std::wstring_view path, std::string_view format = kImageFormatBMP,
                     const EncoderParameterSet* parameters = nullptr) const;  // 15
    // Format default: the image's own raw format. Empty when saving failed
    // (never a half-written file).
    [[nodiscard]] std::vector<BYTE> SaveToBytes(std::optional<std::string_view> format = std::nullopt,
                                                const EncoderParameterSet* parameters = nullptr) const;  // 16
    bool SaveAdd(const EncoderParameterSet& parameters);                  // 17
    bool SaveAddImage(const GdipImage& image, const EncoderParameterSet& parameters);  // 18
    [[nodiscard]] gp::ImageType GetType() const;                          // 19
    [[nodiscard]] gp::SizeF GetPhysicalDimension() const;                 // 20
    // Returns the GDI+ status itself (0 on success).
    gp::GpStatus GetBounds(gp::RectF& rect, gp::Unit& unit) const;        // 21
    [[nodiscard]] UINT GetWidth() const;                                  // 22
    [[nodiscard]] UINT GetHeight() const;                                 // 23
    [[nodiscard]] float GetHorizontalResolution() const;                  // 24
    [[nodiscard]] float GetVerticalResolution() const;                    // 25
    [[nodiscard]] UINT GetFlags() const;                                  // 26
    [[nodiscard]] std::string GetRawFormat() const;                       // 27
    [[nodiscard]] gp::PixelFormat GetPixelFormat() const;                 // 28
    bool GetPalette(GdipPalette& palette) const;                          // 29
    // palette.count must not exceed palette.entries.size().
    bool SetPalette(const GdipPalette& palette);                          // 30
    bool GetThumbnail(UINT width, UINT height, GdipImage& target) const;  // 31
    [[nodiscard]] UINT GetFrameCount(std::string_view dimension) const;   // 32
    UINT GetFrameDimensions(std::vector<std::string>& dimensions) const;  // 33
    bool SelectActiveFrame(std::string_view dimension, UINT index);       // 34
    bool RotateFlip(gp::RotateFlipType type);                             // 35
    bool GetFrameDelays(std::vector<INT>& delays) const;                  // 36
    bool GetPropertyItem(PROPID id, GdipPropertyItem& item) const;        // 37
    // item.length must not exceed item.value.size().
    bool SetPropertyItem(const GdipPropertyItem& item);                   // 38
    bool RemovePropertyItem(PROPID id);                                   // 39
    UINT GetPropertyIdList(std::vector<PROPID>& ids) const;               // 40

protected:
    // Holds the bytes of an image loaded from bytes for as long as the image
    // exists: GDI+ may read them at any time until the image is disposed.
    HGlobalStream stream_;
};

// A GDI+ bitmap (GpBitmap, also a GpImage).
class GdipBitmap : public GdipImage {
public:
    GdipBitmap() = default;
    GdipBitmap(GdipBitmap&&) noexcept = default;
    GdipBitmap& operator=(GdipBitmap&&) noexcept = default;
    [[nodiscard]] gp::GpBitmap* NativeBitmap() const noexcept { return static_cast<gp::GpBitmap*>(handle_); }

    bool CreateFromFile(std::string_view path, bool useIcm = false);                // 9
    bool CreateFromFileW(std::wstring_view path, bool useIcm = false);              // 10
    bool CreateFromBytes(const std::vector<BYTE>& data, bool useIcm = false);       // 11
    bool CreateFromBytes(const void* data, size_t size, bool useIcm = false);
    // The image-level loaders would put a non-bitmap image into a bitmap
    // wrapper: on a bitmap they create bitmaps.
    bool LoadFromFile(std::string_view path, bool useIcm = false) { return CreateFromFile(path, useIcm); }
    bool LoadFromFileW(std::wstring_view path, bool useIcm = false) { return CreateFromFileW(path, useIcm); }
    bool LoadFromBytes(const std::vector<BYTE>& data, bool useIcm = false) { return CreateFromBytes(data, useIcm); }
    bool LoadFromBytes(const void* data, size_t size, bool useIcm = false) { return CreateFromBytes(data, size, useIcm); }

    bool CreateFromScan0(INT width, INT height, INT stride, gp::PixelFormat format, BYTE* scan0);  // 41
    bool Create(INT width, INT height, gp::PixelFormat format = PixelFormat32bppARGB);            // 42
    bool CreateFromGraphics(INT width, INT height, const GdipGraphics& graphics);                 // 43
    bool CreateFromGdiDib(const BITMAPINFO* info, void* bits);                                    // 44
    bool CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette = nullptr);                           // 45
    bool CreateFromHICON(HICON icon);                                                             // 46
    bool CreateFromResource(HINSTANCE module, std::string_view name);                             // 47
    // A new GDI bitmap owned by the caller (DeleteObject), or 0.
    [[nodiscard]] HBITMAP GetHBITMAP(gp::ARGB background = 0) const;                              // 48
    // A new icon owned by the caller (DestroyIcon), or 0.
    [[nodiscard]] HICON GetHICON() const;                                                         // 49
    bool CloneArea(const gp::RectF& rect, gp::PixelFormat format, GdipBitmap& target) const;       // 50
    bool CloneAreaI(const gp::Rect& rect, gp::PixelFormat format, GdipBitmap& target) const;       // 51
    bool LockBits(const gp::Rect& rect, UINT flags, gp::PixelFormat format, gp::BitmapData& data); // 52
    bool UnlockBits(gp::BitmapData& data);                                                        // 53
    [[nodiscard]] gp::ARGB GetPixel(INT x, INT y) const;                                          // 54
    bool SetPixel(INT x, INT y, gp::ARGB colour);                                                 // 55
    bool SetResolution(float dpiX, float dpiY);                                                   // 56
    bool ApplyEffect(GdipEffect& effect, const RECT* rect = nullptr);                             // 57
    // Draws this bitmap rotated by `angle` degrees about its centre into a new
    // 32bpp ARGB bitmap of the rotated bounds (or of `size`), given to target.
    bool RotateToBitmap(float angle, GdipBitmap& target, std::optional<gp::ARGB> background = std::nullopt,
                        std::optional<gp::InterpolationMode> interpolation = std::nullopt,
                        std::optional<gp::SizeF> size = std::nullopt) const;                       // 58
    static void RotatedBoundsSize(float width, float height, INT angle, float& newWidth,
                                  float& newHeight);                                              // 59
};

}  // namespace vostrel
